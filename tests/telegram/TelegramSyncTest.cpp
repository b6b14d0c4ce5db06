#include "BotClient.h"
#include "NetworkError.h"
#include "TelegramLedger.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

using namespace std::chrono_literals;

using namespace Qt::StringLiterals;

namespace {

class TelegramSyncTest : public BotClientTest {
protected:
    TelegramSync::SyncError refusedWith(const FixtureServer::Reply &reply)
    {
        bot.script(u"sendMessage"_s, {reply});
        return refusal(client().call(u"sendMessage"_s, {{u"text"_s, u"x"_s}}));
    }
};

TEST_F(TelegramSyncTest, FormBodyEncodesAllButLettersDigitsAndFourMarks)
{
    call(u"sendMessage"_s, {{u"chat_id"_s, u"a&text=x"_s}, {u"text"_s, u"中文 é&=+/?#%\n-._~"_s}});
    const auto &sent = bot.calls().last();
    EXPECT_EQ(QString::fromUtf8(sent.body),
              u"chat_id=a%26text%3Dx&text=中文%20é%26%3D%2B%2F%3F%23%25%0A-._~"_s);
}

TEST_F(TelegramSyncTest, MultipartBodyHasFieldsThenFiles)
{
    call(u"sendPhoto"_s, {{u"chat_id"_s, u"@c"_s}},
         {{u"photo"_s, u"photo.jpg"_s, u"image/jpeg"_s, "\xFF\xD8raw\r\n"}});
    const auto first = bot.calls().at(0);
    const QRegularExpression type(u"^multipart/form-data; boundary=(Kepsel-[0-9A-F-]{36})$"_s);
    const QByteArray boundary = type.match(QString::fromUtf8(first.contentType)).captured(1).toUtf8();
    ASSERT_FALSE(boundary.isEmpty());
    EXPECT_EQ(first.body, "--" + boundary +
                              "\r\nContent-Disposition: form-data; name=\"chat_id\"\r\n\r\n@c\r\n--" +
                              boundary +
                              "\r\nContent-Disposition: form-data; name=\"photo\"; filename=\"photo.jpg\"\r\n"
                              "Content-Type: image/jpeg\r\n\r\n\xFF\xD8raw\r\n\r\n--" +
                              boundary + "--\r\n");
}

TEST_F(TelegramSyncTest, RefusalsCarryTheUserMessageOfTheirDescription)
{
    const std::pair<const char *, QString> table[] = {
        {"Unauthorized", u"Bot Token 不正确"_s},
        {"Chat Not Found", u"Telegram：Chat Not Found"_s},
    };
    for (const auto &[description, message] : table) {
        const QByteArray body =
            QJsonDocument(QJsonObject{{"ok", false}, {"description", description}}).toJson();
        const auto error = refusedWith(FakeBotAPI::json(body, 400));
        EXPECT_EQ(error.kind(), TelegramSync::SyncError::Kind::api);
        EXPECT_EQ(error.message(), message) << description;
    }
}

TEST_F(TelegramSyncTest, UnreadableAnswersAreRefusalsWithTheHttpSummary)
{
    const QByteArray page = "<html><body>" + QByteArray(200, 'x') + "</body></html>";
    EXPECT_EQ(refusedWith({502, page}).text(), u"HTTP 502 "_s + QString::fromUtf8(page.left(120)));
    const QByteArray blank = R"({"ok":false,"description":" "})";
    EXPECT_EQ(refusedWith(FakeBotAPI::json(blank, 400)).text(), u"HTTP 400 "_s + QString::fromUtf8(blank))
        << "a blank description says nothing";
    // Redirects are answers too; the request goes nowhere else.
    EXPECT_EQ(refusedWith({302, "", {{"Location", "https://127.0.0.21/"}}}).text(), u"HTTP 302 "_s);
    const QByteArray nested = QByteArray(5000, '[') + QByteArray(5000, ']');
    EXPECT_TRUE(refusedWith({200, nested}).text().startsWith(u"HTTP 200 [[["_s));
    const QByteArray huge = R"({"ok":true,"result":")" + QByteArray(5 * 1024 * 1024, 'a') + R"("})";
    EXPECT_EQ(refusedWith(FakeBotAPI::json(huge)).text(), u"HTTP 200 "_s);
}

TEST_F(TelegramSyncTest, RateLimitIsWaitedOutOnceUpToSixtySeconds)
{
    const auto limited = [](const char *after) {
        return FakeBotAPI::json(
            QByteArray(R"({"ok":false,"description":"Too Many Requests","parameters":{"retry_after":)") +
                after + "}}",
            429);
    };
    const auto send = [this] { return client().call(u"sendMessage"_s, {{u"text"_s, u"x"_s}}); };
    bot.script(u"sendMessage"_s, {limited("5")});
    EXPECT_EQ(TestAsync::waitFor(send())["message_id"].intValue(), 100);
    bot.script(u"sendMessage"_s, {limited("0"), limited("0")});
    EXPECT_EQ(refusal(send()).message(), u"Telegram：Too Many Requests"_s);
    bot.script(u"sendMessage"_s, {limited("\"60\"")});
    EXPECT_EQ(TestAsync::waitFor(send())["message_id"].intValue(), 101);
    EXPECT_EQ(waits, (std::vector<std::chrono::seconds>{6s, 1s, 61s}));

    // Longer waits are not waited for.
    for (const char *after : {"61", "1e30"}) {
        bot.script(u"sendMessage"_s, {limited(after)});
        EXPECT_EQ(refusal(send()).text(), u"Too Many Requests"_s) << after;
    }
    EXPECT_EQ(bot.calls().size(), 8);
}

TEST_F(TelegramSyncTest, TransportFailureIsThrownWithoutTheToken)
{
    FixtureServer::Reply dropped;
    dropped.drop = true;
    // Qt itself sends a request again on a fresh connection, up to three
    // times, when one closes before any answer.
    bot.script(u"sendMessage"_s, {dropped, dropped, dropped, dropped});
    const auto error =
        TestAsync::failureOf<NetworkError>(client().call(u"sendMessage"_s, {{u"text"_s, u"x"_s}}));
    EXPECT_EQ(error.kind(), NetworkError::Kind::cannotConnect);
    EXPECT_FALSE(error.detail().contains(FakeBotAPI::token));
    EXPECT_FALSE(QString::fromUtf8(error.what()).contains(FakeBotAPI::token));
}

TEST_F(TelegramSyncTest, ATokenThatIsNoPathPieceSendsNothing)
{
    for (const char *token : {"12/34", "12?x", "12#x", "12%41", "12 34", "12\x01", "12é", ""}) {
        const QString text = QString::fromUtf8(token);
        const auto error = refusal(client(std::nullopt, text).test());
        EXPECT_EQ(error.message(), u"Telegram：Bot Token 格式不对"_s) << token;
    }
    EXPECT_TRUE(bot.server().requests().isEmpty());
}

TEST_F(TelegramSyncTest, ConfirmedIdsOfAPostAreOnRecordAtOnce)
{
    TestAsync::waitFor(client(kPost).call(u"sendMessage"_s, {}));
    EXPECT_EQ(TelegramLedger::ids(kPost), QList<qint64>{100});
    bot.script(u"sendMessage"_s, {FakeBotAPI::json(R"({"ok":true,"result":{"message_id":-4}})")});
    TestAsync::waitFor(client(kPost).call(u"sendMessage"_s, {}));
    TestAsync::waitFor(client().call(u"sendMessage"_s, {}));
    EXPECT_EQ(TelegramLedger::all(), (QMap<QString, QList<qint64>>{{kPost, {100}}}));
}

TEST_F(TelegramSyncTest, ConnectionTestNamesBotAndChannel)
{
    EXPECT_EQ(TestAsync::waitFor(client().test()), u"@kepsel_bot → 我的频道"_s);
    bot.setResult(u"getChatMember"_s, {{"status", "administrator"}, {"can_post_messages", false}});
    EXPECT_EQ(refusal(client().test()).kind(), TelegramSync::SyncError::Kind::notAdmin);
}

} // namespace
