#include "ImageTools.h"
#include "PostMaker.h"
#include "ResourceLimit.h"
#include "Tag.h"
#include "TamselStore.h"
#include "TelegramSync.h"
#include "TestHome.h"
#include "WaitFor.h"

#include <QFile>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

using Kind = TelegramSync::Payload::Item::Kind;
using PostMaker::add;
using PostMaker::png;

class PayloadTest : public HomeTest {
protected:
    TelegramSync::Payload payloadOf() { return TestAsync::waitFor(TelegramSync::payload(post)); }
    static QSize sizeOf(const QByteArray &jpeg)
    {
        return ImageTools::pixelSize(jpeg).value_or(QSizeF()).toSize();
    }

    std::shared_ptr<Post> post = PostMaker::post();
};

TEST_F(PayloadTest, TextHasEachBlockEscapedInOrder)
{
    post->setTitle(u"A & B"_s);
    post->setContent(u"x < y\n第二行 'q'"_s);
    post->setNote(u"记 \"住\""_s);
    post->setAuthorName(u"<作者>"_s);
    post->setSourceURL(u"https://weibo.com/1?a=\"b\"&c"_s);
    QList<std::shared_ptr<Tag>> tags;
    for (const char *name : {"旅行", "", "A-B 入门", "!"})
        tags.append(std::make_shared<Tag>(QString::fromUtf8(name), u"#D97757"_s));
    post->setTags(tags);
    const QHash<QString, QString> hashtags = {
        {u"旅行"_s, u"#旅行"_s}, {u"A-B 入门"_s, u"#A_B_入门"_s}, {u"!"_s, u"#_"_s}};
    QStringList tagLine;
    for (const auto &tag : post->sortedTags())
        if (hashtags.contains(tag->name()))
            tagLine.append(hashtags.value(tag->name()));

    EXPECT_EQ(TelegramSync::text(*post, u"注意"_s),
              QStringList({u"<b>A &amp; B</b>"_s, u"x &lt; y\n第二行 'q'"_s, u"📝 记 &quot;住&quot;"_s,
                           u"👤 &lt;作者&gt; · 微博"_s, tagLine.join(u' '), u"⚠️ 注意"_s,
                           u"<a href=\"https://weibo.com/1?a=&quot;b&quot;&amp;c\">🔗 原文</a>"_s})
                  .join(u"\n\n"_s));
}

TEST_F(PayloadTest, TruncateNeverLeavesHalfATagOrEntity)
{
    // A family emoji is one character.
    EXPECT_EQ(TelegramSync::truncate(u"👨‍👩‍👧abc"_s, 3), u"👨‍👩‍👧a…"_s);

    const QString body(4090, u'x');
    const QString link = u"<a href=\"https://x.y/\">原文 link</a>"_s;
    EXPECT_EQ(TelegramSync::truncate(body + link, 4096), body + u"…"_s);
    const QString labelCut = QString(4070, u'x') + link;
    EXPECT_EQ(TelegramSync::truncate(labelCut, 4096), labelCut.left(4095) + u"</a>…"_s);
    EXPECT_EQ(TelegramSync::truncate(QString(4092, u'x') + u"&amp;yyyy"_s, 4096),
              QString(4092, u'x') + u"…"_s);
    EXPECT_EQ(TelegramSync::truncate(u"<b>title</b>"_s, 6), u"<b>ti</b>…"_s);
}

TEST_F(PayloadTest, PhotosAreReEncodedAndUndecodableMediaSkipped)
{
    add(post, MediaKind::image, png(3000, 1000));
    add(post, MediaKind::livePhoto, png(40, 30), QByteArray("motion"));
    add(post, MediaKind::image, QByteArray("not an image"));
    add(post, MediaKind::image, std::nullopt);
    const auto payload = payloadOf();
    ASSERT_EQ(payload.items.size(), 2);
    EXPECT_EQ(sizeOf(payload.items[0].data), QSize(2560, 853));
    EXPECT_EQ(sizeOf(payload.items[1].data), QSize(40, 30));
}

TEST_F(PayloadTest, VideosUpToTheLimitGoAsFilesLargerOnesAsTheirCover)
{
    const auto video = add(post, MediaKind::video, png(1080, 1920), QByteArray(TelegramSync::fileLimit, 'v'));
    video->setWidth(1080.7);
    video->setHeight(1920);
    video->setDuration(15.9);
    add(post, MediaKind::video, png(100, 100));
    auto payload = payloadOf();
    ASSERT_EQ(payload.items.size(), 2);
    const auto &item = payload.items[0];
    EXPECT_EQ(item.kind, Kind::video);
    EXPECT_EQ(item.data.size(), TelegramSync::fileLimit);
    EXPECT_EQ(std::tuple(item.width, item.height, item.duration), std::tuple(1080, 1920, 15));
    // A video never downloaded goes as its cover, without a warning.
    EXPECT_EQ(payload.items[1].kind, Kind::photo);
    EXPECT_EQ(payload.text, TelegramSync::text(*post, std::nullopt));

    video->setVideoData(QByteArray(TelegramSync::fileLimit + 1, 'v'));
    payload = payloadOf();
    EXPECT_EQ(payload.items[0].kind, Kind::photo);
    EXPECT_TRUE(payload.text.contains(u"\n\n⚠️ 视频超过 50MB，见原文\n\n"_s));
}

TEST_F(PayloadTest, ALoneAudioGoesAsAudioWithItsCoverAsThumbnail)
{
    post->setTitle(u"歌"_s);
    post->setAuthorName(u"歌手"_s);
    const auto audio = add(post, MediaKind::audio, png(1000, 1000), QByteArray(10'000'000, 'a'));
    audio->setDuration(200.5);
    auto payload = payloadOf();
    ASSERT_EQ(payload.items.size(), 1);
    const auto &item = payload.items[0];
    EXPECT_EQ(item.kind, Kind::audio);
    EXPECT_EQ(std::tuple(item.duration, item.title, item.performer),
              std::tuple(std::optional<qint64>(200), std::optional(u"歌"_s), std::optional(u"歌手"_s)));

    // Too large: its cover as a photo, and no warning, since it is no video.
    audio->setVideoData(QByteArray(TelegramSync::fileLimit + 1, 'a'));
    payload = payloadOf();
    ASSERT_EQ(payload.items.size(), 1);
    EXPECT_EQ(payload.items[0].kind, Kind::photo);
    EXPECT_FALSE(payload.text.contains(u"⚠️"_s));
}

qint64 mappedBytes()
{
    QFile statm(u"/proc/self/statm"_s);
    statm.open(QIODevice::ReadOnly);
    return statm.readAll().split(' ').value(0).toLongLong() * sysconf(_SC_PAGESIZE);
}

TEST_F(PayloadTest, AStoredVideoIsSizedWithoutBeingRead)
{
    const auto container = TamselStore::makeContainer(false);
    const auto video = add(post, MediaKind::video, png(100, 100));
    container->mainContext().insert(post);
    container->mainContext().save();
    const QString download = home.path() + u"/video.mp4"_s;
    QFile file(download);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(qint64(2) << 30)) << "a sparse 2 GiB file";
    file.close();
    video->adoptVideo(download);
    container->mainContext().save();

    std::optional<TelegramSync::Payload> payload;
    {
        // Reading the video would need far more than this.
        const ResourceLimit limit(RLIMIT_AS, rlim_t(mappedBytes() + (qint64(256) << 20)));
        payload = payloadOf();
    }
    ASSERT_EQ(payload->items.size(), 1);
    EXPECT_EQ(payload->items[0].kind, Kind::photo);
    EXPECT_TRUE(payload->text.contains(u"⚠️ 视频超过 50MB，见原文"_s));
}

} // namespace
