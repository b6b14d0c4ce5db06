#pragma once

#include "FakeBotAPI.h"
#include "NetworkSession.h"
#include "SyncError.h"
#include "TelegramSync.h"
#include "TestHome.h"
#include "WaitFor.h"

#include <vector>

// The ledger key of the post the tests send for.
inline const QString kPost = QStringLiteral("6F9619FF-8B86-D011-B42D-00C04FC964FF");

// A client of the fake Bot API whose rate-limit waits are recorded, not slept.
class BotClientTest : public HomeTest {
protected:
    TelegramSync client(std::optional<QString> ledgerKey = std::nullopt,
                        const QString &token = FakeBotAPI::token)
    {
        TelegramSync sync({token, FakeBotAPI::chatID}, &NetworkSession::shared(), std::move(ledgerKey));
        TelegramSync::Timing timing;
        timing.wait = [waits = &waits](std::chrono::seconds duration) -> QCoro::Task<> {
            waits->push_back(duration);
            co_return;
        };
        sync.setTiming(timing);
        return sync;
    }

    JSON call(const QString &method, const TelegramSync::Fields &fields,
              const QList<TelegramSync::Part> &files = {})
    {
        return TestAsync::waitFor(client().call(method, fields, files));
    }

    template <typename T> TelegramSync::SyncError refusal(QCoro::Task<T> task)
    {
        return TestAsync::failureOf<TelegramSync::SyncError>(std::move(task));
    }

    FakeBotAPI bot;
    std::vector<std::chrono::seconds> waits;
};
