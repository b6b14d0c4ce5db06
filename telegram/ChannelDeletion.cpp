#include "ChannelDeletion.h"

#include "NetworkError.h"
#include "SyncError.h"
#include "TelegramLedger.h"

QCoro::Task<> ChannelDeletion::run(TelegramSync client, QList<qint64> ids, Owners owners)
{
    std::exception_ptr failure;
    try {
        co_await client.deleteMessages(ids);
    } catch (...) {
        failure = std::current_exception();
    }
    if (!failure)
        co_return;
    if (isTemporary(failure))
        for (const auto &[key, kept] : owners)
            TelegramLedger::add(kept, key);
    std::rethrow_exception(failure);
}

QCoro::Task<> ChannelDeletion::runQuietly(TelegramSync client, QList<qint64> ids, Owners owners)
{
    try {
        co_await run(std::move(client), std::move(ids), std::move(owners));
    } catch (...) {
    }
}

bool ChannelDeletion::isTemporary(const std::exception_ptr &failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const NetworkError &) {
        return true;
    } catch (const TelegramSync::SyncError &error) {
        return error.isTemporary();
    } catch (...) {
        return false;
    }
}
