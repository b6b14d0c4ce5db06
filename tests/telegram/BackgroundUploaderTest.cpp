#include "BackgroundUploader.h"
#include "BotClient.h"
#include "NetworkError.h"
#include "PrivateTempFolder.h"
#include "TelegramLedger.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

class BackgroundUploaderTest : public BotClientTest {
protected:
    static QStringList bodyFiles()
    {
        return QDir(PrivateTempFolder::path())
            .entryList({BackgroundUploader::filePrefix + u'*'}, QDir::Files);
    }

    QCoro::Task<JSON> sendPhoto(const TelegramSync &sync, const QByteArray &bytes = QByteArray(300'000, 'p'))
    {
        return sync.call(u"sendPhoto"_s, {{u"chat_id"_s, FakeBotAPI::chatID}},
                         {{u"photo"_s, u"photo.jpg"_s, u"image/jpeg"_s, bytes}});
    }

    static FixtureServer::Reply answer(int id)
    {
        return FakeBotAPI::json(QStringLiteral(R"({"ok":true,"result":{"message_id":%1}})").arg(id).toUtf8());
    }
};

TEST_F(BackgroundUploaderTest, ConcurrentUploadsGetTheirOwnAnswersAndLeaveNoBodyFile)
{
    bot.script(u"sendPhoto"_s, {answer(1), answer(2)});
    bot.server().hold(FakeBotAPI::address, u"/bot%1/sendPhoto"_s.arg(FakeBotAPI::token));
    auto first = sendPhoto(client(), QByteArray(300'000, 'a'));
    auto second = sendPhoto(client(), QByteArray(200'000, 'b'));
    ASSERT_TRUE(QTest::qWaitFor([this] { return bot.calls().size() == 2; }, 10000));
    EXPECT_EQ(bodyFiles().size(), 2);
    bot.server().release();

    const qint64 firstID = TestAsync::waitFor(std::move(first))["message_id"].intValue().value_or(0);
    const qint64 secondID = TestAsync::waitFor(std::move(second))["message_id"].intValue().value_or(0);
    // Answers follow the order the bodies arrived in; each upload gets the one to its own body.
    const qint64 bigFirst = bot.calls().at(0).files.value(0).data.startsWith('a') ? 1 : 2;
    EXPECT_EQ(firstID, bigFirst);
    EXPECT_EQ(secondID, 3 - bigFirst);
    EXPECT_TRUE(bodyFiles().isEmpty());
}

TEST_F(BackgroundUploaderTest, AnUploadNobodyAwaitsStillRecordsItsIdsAndCleansUp)
{
    sendPhoto(client(kPost));
    ASSERT_TRUE(QTest::qWaitFor([] { return !TelegramLedger::ids(kPost).isEmpty(); }, 10000));
    EXPECT_EQ(TelegramLedger::ids(kPost), QList<qint64>{100});
    EXPECT_TRUE(QTest::qWaitFor([] { return bodyFiles().isEmpty(); }, 10000));
}

TEST_F(BackgroundUploaderTest, AConnectionDroppedMidUploadFailsAndRemovesTheBody)
{
    bot.server().dropMidBody(FakeBotAPI::address, u"/bot%1/sendPhoto"_s.arg(FakeBotAPI::token));
    const auto error = TestAsync::failureOf<NetworkError>(sendPhoto(client(), QByteArray(4'000'000, 'x')));
    EXPECT_EQ(error.kind(), NetworkError::Kind::cannotConnect);
    EXPECT_TRUE(bodyFiles().isEmpty());
    EXPECT_TRUE(bot.channel().isEmpty());
}

} // namespace
