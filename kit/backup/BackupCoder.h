#pragma once

#include "BackupFile.h"

#include <QByteArray>
#include <QString>

// The one reader and writer of the backup document.
namespace Backup {

// Longer lists are refused as hostile; a real library stays well below.
inline constexpr qsizetype maxListEntries = 1'000'000;

// Pretty-printed, keys sorted, "/" unescaped, dates in whole seconds, absent
// optionals left out: equal content gives equal bytes. Throws
// BackupError::unwritable for a value JSON or the date form cannot hold.
QByteArray encode(const File &file);

// Throws BackupError::unreadable naming the first bad member. The version is
// read first: a newer document that does not read as this version's format
// throws BackupError::newerFormat instead. A readable newer document is
// returned; importers refuse it with requireKnownVersion().
File decode(const QByteArray &bytes);

// Throws BackupError::newerFormat for a version above formatVersion.
void requireKnownVersion(const File &file);

// SHA-256 in lower-case hex of the document re-encoded with exportedAt at
// 1970-01-01T00:00:00Z, so two documents that differ only in their export
// time (or whitespace, key order, unknown keys) agree; of the bytes as given
// when they are not a readable document.
QString fingerprint(const QByteArray &bytes);

} // namespace Backup
