#pragma once

#include <QCoro/QCoroTask>

class PostImporter;

// Brings the channel back in line with the library by walking the ledger:
// messages of deleted and private posts, and messages on record that their
// post no longer holds, are deleted; entries whose key is no post id are
// dropped. Posts being sent are left alone. Never throws; main thread.
QCoro::Task<> cleanUpTelegram(PostImporter &importer);
