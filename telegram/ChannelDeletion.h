#pragma once

#include "TelegramSync.h"

#include <QList>
#include <QString>
#include <QCoro/QCoroTask>
#include <exception>
#include <utility>

// Deletes channel messages whose ledger record the caller has already taken
// off. When the Bot API gave no answer or asked to wait, the ids go back on
// record under their post's key, so the next clean-up tries again; a refusal
// (too old, already gone) leaves them off, since asking again cannot help.
class ChannelDeletion {
public:
    // Ledger key and the ids to put back under it.
    using Owners = QList<std::pair<QString, QList<qint64>>>;

    // Throws what the deletion threw, after putting the ids back.
    static QCoro::Task<> run(TelegramSync client, QList<qint64> ids, Owners owners);
    // The same, for callers to whom a failed deletion changes nothing.
    static QCoro::Task<> runQuietly(TelegramSync client, QList<qint64> ids, Owners owners);
    // No answer, or the API asked to wait or failed on its side.
    static bool isTemporary(const std::exception_ptr &failure);
};
