#pragma once

#include "ChannelOperations.h"
#include "Clock.h"
#include "FakeBotAPI.h"
#include "HTTPClient.h"
#include "HostTable.h"
#include "ModelContainer.h"
#include "Plugins.h"
#include "PostImporter.h"
#include "PostMaker.h"
#include "SettingsKey.h"
#include "SyncError.h"
#include "TamselStore.h"
#include "TelegramLedger.h"
#include "TestHome.h"
#include "Text.h"
#include "WaitFor.h"

// A library on disk with its importer, a configured channel on the fake Bot
// API and a clock that stands still until a test moves it.
class ChannelTest : public HomeTest {
protected:
    ChannelTest()
    {
        Plugins::shared().setInstalled(TelegramSync::pluginID, true);
        settings.setBool(SettingsKey::telegramEnabled, true);
        settings.setString(SettingsKey::telegramToken, FakeBotAPI::token);
        settings.setString(SettingsKey::telegramChatID, FakeBotAPI::chatID);
        Clock::setSource([this] { return now; });
    }
    ~ChannelTest() override
    {
        HostTable::clearOverrides();
        Clock::setSource({});
        Plugins::shared().setInstalled(TelegramSync::pluginID, false);
    }

    // A parsed post, saved, with `images` pictures.
    std::shared_ptr<Post> addPost(const QString &title, int images = 0)
    {
        auto post = PostMaker::post();
        post->setTitle(title);
        post->setParseState(ParseState::parsed);
        post->setCreatedAt(now);
        for (int i = 0; i < images; ++i)
            PostMaker::add(post, MediaKind::image, PostMaker::png(8, 8));
        context.insert(post);
        context.save();
        return post;
    }
    static QString key(const std::shared_ptr<Post> &post) { return Text::uuidText(post->id()); }
    TelegramSyncResult sync(const std::shared_ptr<Post> &post)
    {
        return TestAsync::waitFor(syncToTelegram(importer, post));
    }
    QString syncFailure(const std::shared_ptr<Post> &post)
    {
        return TestAsync::failureOf<TelegramSync::SyncError>(syncToTelegram(importer, post)).text();
    }
    QList<qint64> channel() const { return bot.channel().keys(); }
    QStringList deletions() const
    {
        QStringList batches;
        for (const auto &call : bot.calls(QStringLiteral("deleteMessages")))
            batches.append(call.field(QStringLiteral("message_ids")));
        return batches;
    }
    // Points the Bot API at an address where nobody listens, and back.
    static void cutOff() { HostTable::setOverride(Host::TelegramBotAPI, QStringLiteral("127.0.0.21"), 9); }
    void reconnect() { bot.server().pointAt(Host::TelegramBotAPI, FakeBotAPI::address); }

    UserDefaults &settings = TamselStore::defaults();
    QDateTime now{QDate(2026, 5, 1), QTime(9, 0), Qt::UTC};
    FakeBotAPI bot;
    std::unique_ptr<ModelContainer> container = TamselStore::makeContainer(false);
    ModelContext &context = container->mainContext();
    PostImporter importer{context, HTTPClient()};
};
