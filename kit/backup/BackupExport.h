#pragma once

#include "BackupFile.h"

#include <QByteArray>

class ModelContext;
class Post;

// The library as a backup document.
namespace Backup {

// Every post, tag, board and author group, oldest first, with the carried
// settings; no stamps and no tombstones.
File makeFile(ModelContext &context);
PostRecord record(const Post &post);
// makeFile, encoded.
QByteArray exportLibrary(ModelContext &context);

} // namespace Backup
