#include "BotClient.h"
#include "NetworkError.h"
#include "TelegramLedger.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

using namespace std::chrono_literals;

namespace {

const QString kPost = QStringLiteral("6F9619FF-8B86-D011-B42D-00C04FC964FF");

class TelegramSyncTest : public BotClientTest {
protected:
    TelegramSync::SyncError refusedWith(const FixtureServer::Reply &reply)
    {
        bot.script(QStringLiteral("sendMessage"), {reply});
        return refusal(
            client().call(QStringLiteral("sendMessage"), {{QStringLiteral("text"), QStringLiteral("x")}}));
    }
};

TEST_F(TelegramSyncTest, FormBodyEncodesAllButLettersDigitsAndFourMarks)
{
    call(QStringLiteral("sendMessage"), {{QStringLiteral("chat_id"), QStringLiteral("a&text=x")},
                                         {QStringLiteral("text"), QStringLiteral("中文 é&=+/?#%\n-._~")}});
    const auto &sent = bot.calls().last();
    EXPECT_EQ(sent.contentType, "application/x-www-form-urlencoded");
    EXPECT_EQ(QString::fromUtf8(sent.body),
              QStringLiteral("chat_id=a%26text%3Dx&text=中文%20é%26%3D%2B%2F%3F%23%25%0A-._~"));
    // A chat id that is none stays one field.
    EXPECT_EQ(sent.fields.size(), 2);
    EXPECT_EQ(sent.field(QStringLiteral("chat_id")), QStringLiteral("a&text=x"));
}

TEST_F(TelegramSyncTest, MultipartBodyHasFieldsThenFilesUnderAFreshBoundary)
{
    call(QStringLiteral("sendPhoto"), {{QStringLiteral("chat_id"), QStringLiteral("@c")}},
         {{QStringLiteral("photo"), QStringLiteral("photo.jpg"), QStringLiteral("image/jpeg"),
           "\xFF\xD8raw\r\n"}});
    call(QStringLiteral("sendPhoto"), {},
         {{QStringLiteral("photo"), QStringLiteral("p.jpg"), QStringLiteral("image/jpeg"), "x"}});
    const auto first = bot.calls().at(0), second = bot.calls().at(1);
    const QRegularExpression type(QStringLiteral("^multipart/form-data; boundary=(Kepsel-[0-9A-F-]{36})$"));
    const QByteArray boundary = type.match(QString::fromUtf8(first.contentType)).captured(1).toUtf8();
    ASSERT_FALSE(boundary.isEmpty());
    EXPECT_EQ(first.body, "--" + boundary +
                              "\r\nContent-Disposition: form-data; name=\"chat_id\"\r\n\r\n@c\r\n--" +
                              boundary +
                              "\r\nContent-Disposition: form-data; name=\"photo\"; filename=\"photo.jpg\"\r\n"
                              "Content-Type: image/jpeg\r\n\r\n\xFF\xD8raw\r\n\r\n--" +
                              boundary + "--\r\n");
    EXPECT_TRUE(second.body.startsWith("--Kepsel-"));
    EXPECT_NE(second.contentType, first.contentType);
}

TEST_F(TelegramSyncTest, NamesInPartHeadersCannotAddHeadersOrParts)
{
    const QString hostile = QStringLiteral("a\"; x=\"y\\\r\nContent-Type: text/html\r\n\r\nevil");
    call(QStringLiteral("sendAudio"), {{hostile, QStringLiteral("v")}},
         {{hostile, hostile + QStringLiteral(".mp3"), QStringLiteral("audio/mpeg"), "sound"}});
    const auto &sent = bot.calls().last();
    ASSERT_EQ(sent.fields.size(), 1);
    ASSERT_EQ(sent.files.size(), 1);
    const QString safe = QStringLiteral("a_; x=_y___Content-Type: text/html____evil");
    EXPECT_EQ(sent.fields.first().first, safe);
    EXPECT_EQ(sent.files.first().filename, safe + QStringLiteral(".mp3"));
    EXPECT_EQ(sent.files.first().mime, QStringLiteral("audio/mpeg"));
    EXPECT_EQ(sent.files.first().data, "sound");
}

TEST_F(TelegramSyncTest, RefusalsCarryTheUserMessageOfTheirDescription)
{
    const std::pair<const char *, QString> table[] = {
        {"Unauthorized", QStringLiteral("Bot Token 不正确")},
        {"Unauthorized: x", QStringLiteral("Telegram：Unauthorized: x")},
        {"Bad Request: chat not found", QStringLiteral("找不到这个频道：检查频道名，并确认 Bot 已加入频道")},
        {"Bad Request: not enough rights to send", QStringLiteral("Bot 没有在频道发消息的权限")},
        {"Forbidden: need administrator rights", QStringLiteral("Bot 没有在频道发消息的权限")},
        {"message can't be deleted",
         QStringLiteral("频道里的消息超过 48 小时，Bot 删不掉，请在频道里手动删除")},
        {"message to delete not found",
         QStringLiteral("频道里的消息超过 48 小时，Bot 删不掉，请在频道里手动删除")},
        {"Chat Not Found", QStringLiteral("Telegram：Chat Not Found")},
    };
    for (const auto &[description, message] : table) {
        const QByteArray body =
            QJsonDocument(QJsonObject{{"ok", false}, {"description", description}}).toJson();
        const auto error = refusedWith(FakeBotAPI::json(body, 400));
        EXPECT_EQ(error.kind(), TelegramSync::SyncError::Kind::api);
        EXPECT_EQ(error.message(), message) << description;
    }
    EXPECT_EQ(TelegramSync::SyncError::notAdmin().message(),
              QStringLiteral("Bot 不是这个频道的管理员，或者没有发消息权限"));
}

TEST_F(TelegramSyncTest, UnreadableAnswersAreRefusalsWithTheHttpSummary)
{
    const QByteArray page = "<html><body>" + QByteArray(200, 'x') + "</body></html>";
    EXPECT_EQ(refusedWith({502, page}).text(),
              QStringLiteral("HTTP 502 ") + QString::fromUtf8(page.left(120)));
    EXPECT_EQ(refusedWith({200, ""}).text(), QStringLiteral("HTTP 200 "));
    EXPECT_EQ(refusedWith({200, "\xC3("}).text(), QStringLiteral("HTTP 200 \uFFFD("));
    // Redirects are answers too; the request goes nowhere else.
    EXPECT_EQ(refusedWith({302, "", {{"Location", "https://127.0.0.21/"}}}).text(),
              QStringLiteral("HTTP 302 "));
    const QByteArray nested = QByteArray(5000, '[') + QByteArray(5000, ']');
    EXPECT_TRUE(refusedWith({200, nested}).text().startsWith(QStringLiteral("HTTP 200 [[[")));
    EXPECT_EQ(refusedWith(FakeBotAPI::json(R"({"ok":false,"description":7})", 400)).text(),
              QStringLiteral("HTTP 400 {\"ok\":false,\"description\":7}"));
    const QByteArray huge = R"({"ok":true,"result":")" + QByteArray(5 * 1024 * 1024, 'a') + R"("})";
    EXPECT_EQ(refusedWith(FakeBotAPI::json(huge)).text(), QStringLiteral("HTTP 200 "));
}

TEST_F(TelegramSyncTest, OkIsReadLeniently)
{
    for (const char *ok : {"true", "1", "\"true\"", "\"1\""}) {
        bot.script(QStringLiteral("getMe"),
                   {FakeBotAPI::json(QByteArray(R"({"ok":)") + ok + R"(,"result":5})")});
        EXPECT_EQ(call(QStringLiteral("getMe"), {}).intValue(), 5) << ok;
    }
}

TEST_F(TelegramSyncTest, RateLimitIsWaitedOutOnceUpToSixtySeconds)
{
    const auto limited = [](const char *after) {
        return FakeBotAPI::json(
            QByteArray(R"({"ok":false,"description":"Too Many Requests","parameters":{"retry_after":)") +
                after + "}}",
            429);
    };
    const auto send = [this] {
        return client().call(QStringLiteral("sendMessage"), {{QStringLiteral("text"), QStringLiteral("x")}});
    };
    bot.script(QStringLiteral("sendMessage"), {limited("5")});
    EXPECT_EQ(TestAsync::waitFor(send())["message_id"].intValue(), 100);
    bot.script(QStringLiteral("sendMessage"), {limited("0"), limited("0")});
    EXPECT_EQ(refusal(send()).message(), QStringLiteral("Telegram：Too Many Requests"));
    bot.script(QStringLiteral("sendMessage"), {limited("\"60\"")});
    EXPECT_EQ(TestAsync::waitFor(send())["message_id"].intValue(), 101);
    EXPECT_EQ(waits, (std::vector<std::chrono::seconds>{6s, 1s, 61s}));
    EXPECT_EQ(bot.calls().size(), 6);

    // Longer waits are not waited for, and a negative one is no wait.
    for (const char *after : {"61", "1e30", "\"soon\""}) {
        bot.script(QStringLiteral("sendMessage"), {limited(after)});
        EXPECT_EQ(refusal(send()).text(), QStringLiteral("Too Many Requests")) << after;
    }
    EXPECT_EQ(bot.calls().size(), 9);
    waits.clear();
    bot.script(QStringLiteral("sendMessage"), {limited("-3")});
    TestAsync::waitFor(send());
    EXPECT_EQ(waits, std::vector<std::chrono::seconds>{0s});
}

TEST_F(TelegramSyncTest, TransportFailureIsThrownWithoutTheToken)
{
    FixtureServer::Reply dropped;
    dropped.drop = true;
    // Qt itself sends a request again on a fresh connection, up to three
    // times, when one closes before any answer.
    bot.script(QStringLiteral("sendMessage"), {dropped, dropped, dropped, dropped});
    const auto error = TestAsync::failureOf<NetworkError>(
        client().call(QStringLiteral("sendMessage"), {{QStringLiteral("text"), QStringLiteral("x")}}));
    EXPECT_EQ(error.kind(), NetworkError::Kind::cannotConnect);
    EXPECT_FALSE(error.detail().contains(FakeBotAPI::token));
    EXPECT_FALSE(QString::fromUtf8(error.what()).contains(FakeBotAPI::token));
}

TEST_F(TelegramSyncTest, ATokenThatIsNoPathPieceSendsNothing)
{
    for (const char *token : {"12/34", "12?x", "12#x", "12%41", "12 34", "12\x01", "12é", ""}) {
        const QString text = QString::fromUtf8(token);
        const auto error = refusal(client(std::nullopt, text).test());
        EXPECT_EQ(error.message(), QStringLiteral("Telegram：Bot Token 格式不对")) << token;
    }
    EXPECT_TRUE(bot.server().requests().isEmpty());
}

TEST_F(TelegramSyncTest, ConfirmedIdsOfAPostAreOnRecordAtOnce)
{
    TestAsync::waitFor(client(kPost).call(QStringLiteral("sendMessage"), {}));
    EXPECT_EQ(TelegramLedger::ids(kPost), QList<qint64>{100});
    bot.script(QStringLiteral("sendMessage"),
               {FakeBotAPI::json(R"({"ok":true,"result":{"message_id":-4}})")});
    TestAsync::waitFor(client(kPost).call(QStringLiteral("sendMessage"), {}));
    TestAsync::waitFor(client().call(QStringLiteral("sendMessage"), {}));
    EXPECT_EQ(TelegramLedger::all(), (QMap<QString, QList<qint64>>{{kPost, {100}}}));
}

TEST_F(TelegramSyncTest, ConnectionTestNamesBotAndChannel)
{
    EXPECT_EQ(TestAsync::waitFor(client().test()), QStringLiteral("@kepsel_bot → 我的频道"));
    const auto member = bot.calls(QStringLiteral("getChatMember")).last();
    EXPECT_EQ(member.field(QStringLiteral("chat_id")), FakeBotAPI::chatID);
    EXPECT_EQ(member.field(QStringLiteral("user_id")), QStringLiteral("42"));

    bot.setResult(QStringLiteral("getChat"), {{"id", -1001}});
    bot.setResult(QStringLiteral("getChatMember"), {{"status", "administrator"}});
    EXPECT_EQ(TestAsync::waitFor(client().test()), QStringLiteral("@kepsel_bot → ") + FakeBotAPI::chatID);
    bot.setResult(QStringLiteral("getChatMember"), {{"status", "creator"}, {"can_post_messages", false}});
    EXPECT_NO_THROW(TestAsync::waitFor(client().test()));

    const QJsonObject refused[] = {{{"status", "administrator"}, {"can_post_messages", false}},
                                   {{"status", "member"}},
                                   {{"status", "left"}},
                                   {}};
    for (const QJsonObject &result : refused) {
        bot.setResult(QStringLiteral("getChatMember"), result);
        EXPECT_EQ(refusal(client().test()).kind(), TelegramSync::SyncError::Kind::notAdmin);
    }
    bot.setResult(QStringLiteral("getMe"), {{"username", "kepsel_bot"}});
    EXPECT_EQ(refusal(client().test()).message(), QStringLiteral("Telegram：getMe 返回异常"));
}

} // namespace
