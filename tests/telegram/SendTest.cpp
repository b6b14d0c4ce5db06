#include "BotClient.h"
#include "TelegramLedger.h"

#include <QJsonArray>
#include <QJsonDocument>

using namespace Qt::StringLiterals;

namespace {

using Item = TelegramSync::Payload::Item;

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
    return QJsonDocument::fromJson(call.field(u"media"_s).toUtf8()).array();
}

// Each file of a call as "field filename type".
QStringList filesOf(const FakeBotAPI::Call &call)
{
    QStringList files;
    for (const auto &file : call.files)
        files.append(file.field + u' ' + file.filename + u' ' + file.mime);
    return files;
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
    EXPECT_EQ(methods(), QStringList{u"sendMediaGroup"_s});
    const QJsonArray media = mediaOf(bot.calls().first());
    EXPECT_EQ(media.at(0).toObject(),
              (QJsonObject{
                  {"type", "photo"}, {"media", "attach://f0"}, {"caption", text}, {"parse_mode", "HTML"}}));
}

TEST_F(SendTest, LongerTextFollowsAsAReplyToTheFirstMessage)
{
    const QString text(TelegramSync::captionLimit + 1, u'字');
    EXPECT_EQ(send(photos(3, text)), (QList<qint64>{100, 101, 102, 103}));
    EXPECT_TRUE(bot.channel().value(100).text.isEmpty());
    const auto reply = bot.calls().last();
    EXPECT_EQ(reply.field(u"text"_s), text);
    EXPECT_EQ(reply.field(u"reply_parameters"_s), R"({"message_id":100,"allow_sending_without_reply":true})");

    // Text alone is one message, shortened, replying to nothing.
    send({QString(5000, u'x'), {}});
    const auto alone = bot.calls().last();
    EXPECT_EQ(alone.field(u"text"_s), QString(4095, u'x') + u"…"_s);
    EXPECT_FALSE(alone.has(u"reply_parameters"_s));
}

TEST_F(SendTest, ElevenPhotosGoAsBalancedAlbumsWithTheCaptionOnTheLast)
{
    EXPECT_EQ(send(photos(11, u"短"_s)).size(), 11);
    const auto albums = bot.calls(u"sendMediaGroup"_s);
    ASSERT_EQ(albums.size(), 2);
    EXPECT_EQ(mediaOf(albums[0]).size(), 6);
    EXPECT_FALSE(mediaOf(albums[0]).at(0).toObject().contains("caption"));
    EXPECT_EQ(mediaOf(albums[1]).at(0)["caption"].toString(), u"短"_s);
}

TEST_F(SendTest, AVideoCarriesItsNumbersAndThumbnail)
{
    const Item video{Item::Kind::video, "mp4", QByteArray("thumb"), 720, {}, 9, {}, {}};
    send({u"cap"_s, {video}});
    const auto call = bot.calls().last();
    EXPECT_EQ(call.method, u"sendVideo"_s);
    EXPECT_EQ(call.fields, (QList<std::pair<QString, QString>>{{"chat_id", FakeBotAPI::chatID},
                                                               {"caption", "cap"},
                                                               {"parse_mode", "HTML"},
                                                               {"supports_streaming", "true"},
                                                               {"width", "720"},
                                                               {"duration", "9"}}));
    EXPECT_EQ(filesOf(call), (QStringList{"video video.mp4 video/mp4", "thumbnail thumb.jpg image/jpeg"}));
}

TEST_F(SendTest, AudioIsNamedAfterTitleAndPerformerSafely)
{
    const auto audioNamed = [this](std::optional<QString> title, std::optional<QString> performer) {
        send({{}, {{Item::Kind::audio, "mp3", {}, {}, {}, 200, title, performer}}});
        return bot.calls().last().files.value(0).filename;
    };
    EXPECT_EQ(audioNamed(u"歌"_s, u"歌手"_s), u"歌 - 歌手.mp3"_s);
    EXPECT_EQ(audioNamed(u"a\"b\\c\r\nd"_s, std::nullopt), u"a_b_c__d.mp3"_s);
}

TEST_F(SendTest, AFailedSendTakesItsMessagesOutOfTheChannelButNotTheLedger)
{
    bot.script(u"sendMediaGroup"_s,
               {std::nullopt, FakeBotAPI::json(R"({"ok":false,"description":"Bad Request: boom"})", 400)});
    const auto error = refusal(client(kPost).send(photos(21, u"t"_s)));
    EXPECT_TRUE(bot.channel().isEmpty());
    EXPECT_EQ(TelegramLedger::ids(kPost), (QList<qint64>{100, 101, 102, 103, 104, 105, 106}));
    EXPECT_EQ(methods(), (QStringList{"sendMediaGroup", "sendMediaGroup", "deleteMessages"}));

    // Nothing sent yet: nothing to take back.
    bot.script(u"sendPhoto"_s, {FakeBotAPI::json(R"({"ok":false,"description":"no"})", 400)});
    EXPECT_EQ(refusal(client().send(photos(1, {}))).text(), u"no"_s);
    EXPECT_EQ(methods().last(), u"sendPhoto"_s);
}

TEST_F(SendTest, DeleteSendsPositiveIdsInBatchesOfAHundred)
{
    TestAsync::waitFor(client().deleteMessages({0, -3}));
    EXPECT_TRUE(bot.calls().isEmpty());
    TestAsync::waitFor(client().deleteMessages({0, -3, 5, 5}));
    EXPECT_EQ(bot.calls().last().field(u"message_ids"_s), u"[5,5]"_s);

    QList<qint64> ids;
    for (int i = 1; i <= 250; ++i)
        ids.append(i);
    TestAsync::waitFor(client().deleteMessages(ids));
    const auto batches = bot.calls(u"deleteMessages"_s).mid(1);
    ASSERT_EQ(batches.size(), 3);
    EXPECT_TRUE(batches[2].field(u"message_ids"_s).endsWith(u",249,250]"_s));

    // The first failing batch ends the deletion.
    bot.script(u"deleteMessages"_s, {FakeBotAPI::json(R"({"ok":false,"description":"x"})", 400)});
    refusal(client().deleteMessages(ids));
    EXPECT_EQ(bot.calls(u"deleteMessages"_s).size(), 5);
}

} // namespace
