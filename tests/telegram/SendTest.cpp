#include "BotClient.h"
#include "TelegramLedger.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

using Item = TelegramSync::Payload::Item;

const QString kPost = QStringLiteral("6F9619FF-8B86-D011-B42D-00C04FC964FF");

Item photo(int i)
{
    return {Item::Kind::photo, "jpeg" + QByteArray::number(i), {}, {}, {}, {}, {}, {}};
}

TelegramSync::Payload photos(int count, const QString &text)
{
    TelegramSync::Payload payload{text, {}};
    for (int i = 0; i < count; ++i)
        payload.items.append(photo(i));
    return payload;
}

QJsonArray mediaOf(const FakeBotAPI::Call &call)
{
    return QJsonDocument::fromJson(call.field(QStringLiteral("media")).toUtf8()).array();
}

class SendTest : public BotClientTest {
protected:
    QList<qint64> send(const TelegramSync::Payload &payload, std::optional<QString> key = std::nullopt)
    {
        return TestAsync::waitFor(client(std::move(key)).send(payload));
    }
    QStringList methods() const
    {
        QStringList names;
        for (const auto &call : bot.calls())
            names.append(call.method);
        return names;
    }
};

TEST_F(SendTest, TextUpToTheCaptionLimitRidesOnTheAlbum)
{
    const QString text(TelegramSync::captionLimit, u'字');
    EXPECT_EQ(send(photos(3, text)), (QList<qint64>{100, 101, 102}));
    EXPECT_EQ(methods(), QStringList{QStringLiteral("sendMediaGroup")});
    const QJsonArray media = mediaOf(bot.calls().first());
    EXPECT_EQ(media.at(0).toObject(),
              (QJsonObject{
                  {"type", "photo"}, {"media", "attach://f0"}, {"caption", text}, {"parse_mode", "HTML"}}));
    EXPECT_EQ(media.at(2).toObject(), (QJsonObject{{"type", "photo"}, {"media", "attach://f2"}}));
    EXPECT_FALSE(bot.calls().first().field(QStringLiteral("media")).contains(u' '));
    EXPECT_EQ(bot.channel().value(100).text, text);
    EXPECT_EQ(bot.channel().value(102).files.value(0).data, "jpeg2");
}

TEST_F(SendTest, LongerTextFollowsAsAReplyToTheFirstMessage)
{
    const QString text(TelegramSync::captionLimit + 1, u'字');
    EXPECT_EQ(send(photos(3, text)), (QList<qint64>{100, 101, 102, 103}));
    EXPECT_TRUE(bot.channel().value(100).text.isEmpty());
    const auto reply = bot.calls().last();
    EXPECT_EQ(reply.fields,
              (QList<std::pair<QString, QString>>{
                  {"chat_id", FakeBotAPI::chatID},
                  {"text", text},
                  {"parse_mode", "HTML"},
                  {"link_preview_options", R"({"is_disabled":true})"},
                  {"reply_parameters", R"({"message_id":100,"allow_sending_without_reply":true})"}}));

    // Text alone is one message, shortened, replying to nothing.
    send({QString(5000, u'x'), {}});
    const auto alone = bot.calls().last();
    EXPECT_EQ(alone.field(QStringLiteral("text")), QString(4095, u'x') + QStringLiteral("…"));
    EXPECT_FALSE(alone.has(QStringLiteral("reply_parameters")));
}

TEST_F(SendTest, ElevenPhotosGoAsBalancedAlbumsWithTheCaptionOnTheLast)
{
    EXPECT_EQ(send(photos(11, QStringLiteral("短"))).size(), 11);
    const auto albums = bot.calls(QStringLiteral("sendMediaGroup"));
    ASSERT_EQ(albums.size(), 2);
    EXPECT_EQ(mediaOf(albums[0]).size(), 6);
    EXPECT_EQ(mediaOf(albums[1]).size(), 5);
    EXPECT_FALSE(mediaOf(albums[0]).at(0).toObject().contains("caption"));
    EXPECT_EQ(mediaOf(albums[1]).at(0)["caption"].toString(), QStringLiteral("短"));
    EXPECT_EQ(bot.calls().size(), 2);
}

TEST_F(SendTest, ASingleVideoCarriesItsNumbersAndThumbnail)
{
    send({QStringLiteral("cap"), {{Item::Kind::video, "mp4", QByteArray("thumb"), 1080, 1920, 15, {}, {}}}});
    const auto call = bot.calls().last();
    EXPECT_EQ(call.method, QStringLiteral("sendVideo"));
    EXPECT_EQ(call.fields, (QList<std::pair<QString, QString>>{{"chat_id", FakeBotAPI::chatID},
                                                               {"caption", "cap"},
                                                               {"parse_mode", "HTML"},
                                                               {"supports_streaming", "true"},
                                                               {"width", "1080"},
                                                               {"height", "1920"},
                                                               {"duration", "15"}}));
    ASSERT_EQ(call.files.size(), 2);
    EXPECT_EQ(std::tuple(call.files[0].field, call.files[0].filename, call.files[0].mime, call.files[0].data),
              std::tuple(QStringLiteral("video"), QStringLiteral("video.mp4"), QStringLiteral("video/mp4"),
                         QByteArray("mp4")));
    EXPECT_EQ(std::tuple(call.files[1].field, call.files[1].filename, call.files[1].data),
              std::tuple(QStringLiteral("thumbnail"), QStringLiteral("thumb.jpg"), QByteArray("thumb")));
}

TEST_F(SendTest, VideosInAnAlbumCarryTheirNumbersAndThumbnails)
{
    send({{}, {{Item::Kind::video, "mp4", QByteArray("thumb"), 720, {}, 9, {}, {}}, photo(1)}});
    const auto call = bot.calls().last();
    EXPECT_EQ(mediaOf(call).at(0).toObject(), (QJsonObject{{"type", "video"},
                                                           {"media", "attach://f0"},
                                                           {"supports_streaming", true},
                                                           {"width", 720},
                                                           {"duration", 9},
                                                           {"thumbnail", "attach://t0"},
                                                           {"caption", ""},
                                                           {"parse_mode", "HTML"}}));
    QStringList files;
    for (const auto &file : call.files)
        files.append(file.field + u' ' + file.filename + u' ' + file.mime);
    EXPECT_EQ(files, (QStringList{"f0 f0.mp4 video/mp4", "t0 t0.jpg image/jpeg", "f1 f1.jpg image/jpeg"}));
}

TEST_F(SendTest, AudioIsNamedAfterTitleAndPerformerSafely)
{
    const auto audioNamed = [this](std::optional<QString> title, std::optional<QString> performer) {
        send({{}, {{Item::Kind::audio, "mp3", {}, {}, {}, 200, title, performer}}});
        return bot.calls().last().files.value(0).filename;
    };
    EXPECT_EQ(audioNamed(QStringLiteral("歌"), QStringLiteral("歌手")), QStringLiteral("歌 - 歌手.mp3"));
    EXPECT_EQ(audioNamed(std::nullopt, QStringLiteral("歌手")), QStringLiteral("歌手.mp3"));
    EXPECT_EQ(audioNamed(std::nullopt, std::nullopt), QStringLiteral("audio.mp3"));
    EXPECT_EQ(audioNamed(QStringLiteral("a\"b\\c\r\nd"), std::nullopt), QStringLiteral("a_b_c__d.mp3"));
    const auto call = bot.calls().last();
    EXPECT_EQ(call.method, QStringLiteral("sendAudio"));
    EXPECT_EQ(call.field(QStringLiteral("title")), QStringLiteral("a\"b\\c\r\nd"));
    EXPECT_EQ(call.field(QStringLiteral("duration")), QStringLiteral("200"));
    EXPECT_EQ(call.files.size(), 1);
}

TEST_F(SendTest, AFailedSendTakesItsMessagesOutOfTheChannelButNotTheLedger)
{
    bot.script(QStringLiteral("sendMediaGroup"),
               {std::nullopt, FakeBotAPI::json(R"({"ok":false,"description":"Bad Request: boom"})", 400)});
    const auto error = refusal(client(kPost).send(photos(21, QStringLiteral("t"))));
    EXPECT_EQ(error.text(), QStringLiteral("Bad Request: boom"));
    EXPECT_TRUE(bot.channel().isEmpty());
    EXPECT_EQ(TelegramLedger::ids(kPost), (QList<qint64>{100, 101, 102, 103, 104, 105, 106}));
    EXPECT_EQ(methods(), (QStringList{"sendMediaGroup", "sendMediaGroup", "deleteMessages"}));

    // Nothing sent yet: nothing to take back.
    bot.script(QStringLiteral("sendPhoto"), {FakeBotAPI::json(R"({"ok":false,"description":"no"})", 400)});
    EXPECT_EQ(refusal(client().send(photos(1, {}))).text(), QStringLiteral("no"));
    EXPECT_EQ(methods().last(), QStringLiteral("sendPhoto"));
}

TEST_F(SendTest, AnswersWithoutIdsGiveZeroOrNothing)
{
    bot.script(QStringLiteral("sendPhoto"), {FakeBotAPI::json(R"({"ok":true,"result":{}})")});
    bot.script(QStringLiteral("sendMediaGroup"),
               {FakeBotAPI::json(R"({"ok":true,"result":[{"message_id":"7"},{},{"message_id":1.5}]})")});
    EXPECT_EQ(send(photos(1, {})), QList<qint64>{0});
    EXPECT_EQ(send(photos(3, {})), (QList<qint64>{7, 1}));
}

TEST_F(SendTest, DeleteSendsPositiveIdsInBatchesOfAHundred)
{
    TestAsync::waitFor(client().deleteMessages({}));
    TestAsync::waitFor(client().deleteMessages({0, -3}));
    EXPECT_TRUE(bot.calls().isEmpty());
    TestAsync::waitFor(client().deleteMessages({0, -3, 5, 5}));
    EXPECT_EQ(bot.calls().last().field(QStringLiteral("message_ids")), QStringLiteral("[5,5]"));

    QList<qint64> ids;
    for (int i = 1; i <= 250; ++i)
        ids.append(i);
    TestAsync::waitFor(client().deleteMessages(ids));
    const auto batches = bot.calls(QStringLiteral("deleteMessages")).mid(1);
    ASSERT_EQ(batches.size(), 3);
    EXPECT_TRUE(batches[0].field(QStringLiteral("message_ids")).startsWith(QStringLiteral("[1,2,")));
    EXPECT_TRUE(batches[2].field(QStringLiteral("message_ids")).endsWith(QStringLiteral(",249,250]")));
    EXPECT_EQ(batches[2].field(QStringLiteral("message_ids")).count(u','), 49);

    // The first failing batch ends the deletion.
    bot.script(QStringLiteral("deleteMessages"),
               {FakeBotAPI::json(R"({"ok":false,"description":"x"})", 400)});
    refusal(client().deleteMessages(ids));
    EXPECT_EQ(bot.calls(QStringLiteral("deleteMessages")).size(), 5);
}

TEST_F(SendTest, BalancedChunksAreEvenLargerFirst)
{
    const std::pair<int, QList<qsizetype>> table[] = {{0, {}},         {1, {1}},          {10, {10}},
                                                      {11, {6, 5}},    {20, {10, 10}},    {21, {7, 7, 7}},
                                                      {23, {8, 8, 7}}, {35, {9, 9, 9, 8}}};
    for (const auto &[count, sizes] : table) {
        QList<int> items(count);
        std::iota(items.begin(), items.end(), 0);
        const auto chunks = TelegramSync::balancedChunks(items, 10);
        QList<qsizetype> actual;
        QList<int> joined;
        for (const auto &chunk : chunks) {
            actual.append(chunk.size());
            joined += chunk;
        }
        EXPECT_EQ(actual, sizes) << count;
        EXPECT_EQ(joined, items);
    }
}

} // namespace
