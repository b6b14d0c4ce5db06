#include "Board.h"
#include "FixtureServer.h"
#include "HostTable.h"
#include "ImportProgress.h"
#include "KepselHooks.h"
#include "Media.h"
#include "ModelContainer.h"
#include "ParsedPost.h"
#include "Post.h"
#include "PostImporter.h"
#include "PrivateTempFolder.h"
#include "SettingsKey.h"
#include "Tag.h"
#include "TamselStore.h"
#include "TestHome.h"
#include "TestImages.h"
#include "WaitFor.h"

#include <QDir>
#include <QTest>

using namespace std::chrono_literals;

namespace {

const QString kSite = QStringLiteral("127.0.0.2");

QByteArray picture(int width, int height, const char *format = "png")
{
    return TestImages::encoded(width, height, Qt::darkCyan, format);
}

bool waitUntil(const std::function<bool()> &condition)
{
    return QTest::qWaitFor(condition, 10000);
}

// A library on disk, an importer over it and a site of Open Graph pages.
class PostImporterTest : public HomeTest {
protected:
    PostImporterTest()
    {
        KepselHooks::postReady().append([this](PostImporter &, std::shared_ptr<Post> post) -> QCoro::Task<> {
            ++readyCalls[post->id()];
            co_return;
        });
    }
    ~PostImporterTest() override { KepselHooks::postReady().clear(); }

    QString link(const QString &path) { return server.origin(kSite) + path; }
    void servePage(const QString &path, const QStringList &images, const QByteArray &moreTags = {},
                   std::chrono::milliseconds delay = 0ms)
    {
        QByteArray head = "<meta property=\"og:title\" content=\"A title\">" + moreTags;
        for (const QString &image : images)
            head += "<meta property=\"og:image\" content=\"" + link(image).toUtf8() + "\">";
        server.serve(
            kSite, path,
            {200, "<head>" + head + "</head>", {{"Content-Type", "text/html; charset=utf-8"}}, delay});
    }
    std::shared_ptr<Post> imported(const QString &path, bool videos = false)
    {
        return TestAsync::waitFor(importer.importText(link(path), videos));
    }
    int requestsFor(const QByteArray &target) const
    {
        return int(std::count_if(server.requests().cbegin(), server.requests().cend(),
                                 [&](const auto &request) { return request.target == target; }));
    }
    static QStringList leftovers()
    {
        return QDir(PrivateTempFolder::path()).entryList({QStringLiteral("dl-*")}, QDir::Files);
    }

    FixtureServer server;
    std::unique_ptr<ModelContainer> container = TamselStore::makeContainer(false);
    ModelContext &context = container->mainContext();
    PostImporter importer{context, HTTPClient()};
    QHash<QUuid, int> readyCalls;
};

TEST_F(PostImporterTest, AShareTextBecomesAParsedPostWithItsMediaStored)
{
    servePage("/note/1", {"/a.png", "/b.jpg"}, "<meta name=\"author\" content=\"Ann&#13;&#10;Lee\">");
    server.serve(kSite, "/a.png", {200, picture(40, 30)});
    server.serve(kSite, "/b.jpg", {200, picture(20, 50, "JPEG")});
    const auto [post, isNew] =
        importer.enqueueText("【好看】 快来看看 " + link("/note/1") + " 复制打开", false);
    ASSERT_TRUE(isNew);
    EXPECT_EQ(post->sourceURL(), link("/note/1"));
    const QUuid id = post->id();
    ASSERT_TRUE(waitUntil([&] { return readyCalls.contains(id); }));

    EXPECT_EQ(post->authorName(), QStringLiteral("Ann  Lee"));
    const auto media = post->sortedMedia();
    ASSERT_EQ(media.size(), 2);
    EXPECT_EQ(media[0]->data(), picture(40, 30));
    EXPECT_FALSE(context.hasChanges());
    EXPECT_EQ(leftovers(), QStringList());
}

TEST_F(PostImporterTest, ALinkIsSavedOnceUnlessDuplicatesAreAllowed)
{
    servePage("/p", {});
    const auto first = imported("/p");
    const auto again = importer.enqueueText("see " + link("/p"), false);
    EXPECT_FALSE(again.isNew);
    EXPECT_EQ(again.post, first);

    TamselStore::defaults().setBool(SettingsKey::allowDuplicates, true);
    EXPECT_TRUE(importer.enqueueText(link("/p"), false).isNew);
}

TEST_F(PostImporterTest, AReparseKeepsTheFilesOfMediaThatAreStillThere)
{
    servePage("/p", {"/1.png", "/2.png"});
    server.serve(kSite, "/1.png", {200, picture(10, 10)});
    server.serve(kSite, "/2.png", {200, picture(20, 20)});
    const auto post = imported("/p");
    const auto before = post->sortedMedia();

    // Same count and kinds: the records stay in place under their new links.
    servePage("/p", {"/1b.png", "/2b.png"});
    QCoro::waitFor(importer.refresh(post, false));
    EXPECT_EQ(post->sortedMedia(), before);
    EXPECT_EQ(before[1]->data(), picture(20, 20));

    // Another shape: matched by link; the others are new or deleted, and a
    // link listed twice gets a record for each place.
    ParsedPost reshaped(Platform::web, link("/p"));
    reshaped.media = {ParsedMedia(MediaKind::image, link("/2b.png")),
                      ParsedMedia(MediaKind::video, link("/2b.png")),
                      ParsedMedia(MediaKind::image, link("/3.png"))};
    importer.apply(reshaped, post);
    const auto after = post->sortedMedia();
    ASSERT_EQ(after.size(), 3);
    EXPECT_EQ(after[0], before[1]);
    EXPECT_NE(after[1], before[1]);
}

TEST_F(PostImporterTest, AFailedReparseKeepsTheContentAndShowsTheMessage)
{
    servePage("/p", {"/1.png"});
    server.serve(kSite, "/1.png", {404, "gone"});
    const auto post = imported("/p");
    EXPECT_FALSE(post->media().value(0)->hasImageData());

    server.serve(kSite, "/p", {500, "down"});
    server.serve(kSite, "/1.png", {200, picture(10, 10)});
    QCoro::waitFor(importer.refresh(post, false));
    EXPECT_EQ(post->parseStateRaw(), QStringLiteral("failed"));
    EXPECT_EQ(post->title(), QStringLiteral("A title"));
    EXPECT_TRUE(post->media().value(0)->hasImageData());
}

// An API answered with a page (a sign-in wall, an error page) or with nothing:
// the user reads it in their words, and the log keeps the reader's.
TEST_F(PostImporterTest, AnAPIAnswerThatIsNoJSONFailsInTheUsersWordsAndIsLoggedInTheReaders)
{
    const QString x = QStringLiteral("127.0.0.4"), mirror = QStringLiteral("127.0.0.5");
    server.pointAt(Host::XMain, x);
    server.pointAt(Host::XMirrorAPI, mirror);
    static QStringList logged;
    const auto previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext &, const QString &message) { logged.append(message); });
    const std::pair<QByteArray, QString> answers[] = {
        {"<!DOCTYPE html><html><body>请登录</body></html>", QStringLiteral("illegal number at offset 0")},
        {"", QStringLiteral("expected exactly one JSON value")},
    };
    for (const auto &[body, detail] : answers) {
        logged.clear();
        server.serve(mirror, "/someone/status/1", {200, body, {{"Content-Type", "text/html"}}});
        const auto post =
            TestAsync::waitFor(importer.importText(server.origin(x) + "/someone/status/1", false));
        EXPECT_EQ(post->parseStateRaw(), QStringLiteral("failed"));
        EXPECT_EQ(post->parseError(), QStringLiteral("无法读取平台返回的内容"));
        EXPECT_TRUE(logged.filter(detail).size() == 1) << logged.join(u'\n').toStdString();
        context.remove(post);
    }
    qInstallMessageHandler(previous);
}

// WeChat answers an article's link with a verification page when it suspects
// a robot, and with a notice once the article is removed; both have a title.
TEST_F(PostImporterTest, AWeChatPageWithoutTheArticleLeavesTheSavedOneAlone)
{
    const QString articles = QStringLiteral("127.0.0.10"), images = QStringLiteral("127.0.0.11");
    server.pointAt(Host::WeChatArticles, articles);
    server.pointAt(Host::WeChatImages, images);
    server.serve(images, "/mmbiz_jpg/a/640", {200, picture(30, 20, "JPEG")});
    const QByteArray picture = server.origin(images).toUtf8() + "/mmbiz_jpg/a/640?wx_fmt=jpeg";
    const QByteArray head = R"(<!DOCTYPE html><html><head><meta charset="utf-8">
        <meta name="viewport" content="width=device-width,initial-scale=1.0,maximum-scale=1.0,user-scalable=0">)";
    const QByteArray weuiMessage =
        R"(<link rel="stylesheet" href="//res.wx.qq.com/open/libs/weui/2.4.4/weui.min.css">
        </head><body><div class="weui-msg"><div class="weui-msg__icon-area"><i class="weui-icon-warn weui-icon_msg"></i></div>
        <div class="weui-msg__text-area"><h2 class="weui-msg__title">%1</h2><p class="weui-msg__desc">%2</p></div>)";
    server.page(articles, "/s/Xk3",
                head + R"(<meta property="og:title" content="周末去哪儿">
        <meta property="og:description" content="近郊的三条徒步线路"><title>周末去哪儿</title></head>
        <body id="activity-detail"><div id="page-content" class="rich_media_area_primary">
        <h1 class="rich_media_title" id="activity-name">周末去哪儿</h1><a id="js_name">城市漫步</a>
        <div class="rich_media_content js_underline_content" id="js_content" style="visibility: hidden;">
        <p>第一条线路沿河而行。</p><p><img class="rich_pages wxw-img" data-src=")" +
                    picture + R"(" data-type="jpeg"></p>
        </div></div><script nonce="7">var nickname = htmlDecode("城市漫步"); var ct = "1700000000";</script>)");
    const auto post = TestAsync::waitFor(importer.importText(server.origin(articles) + "/s/Xk3", false));
    ASSERT_EQ(post->content(), QStringLiteral("第一条线路沿河而行。"));
    const auto media = post->sortedMedia();
    ASSERT_EQ(media.size(), 1);
    ASSERT_TRUE(media[0]->hasImageData());

    const QByteArray verification =
        head + "<title>环境异常</title>" +
        QString::fromUtf8(weuiMessage).arg("环境异常", "当前环境异常，完成验证后即可继续访问。").toUtf8() +
        R"(<div class="weui-msg__opr-area"><a href="javascript:;" id="js_verify" class="weui-btn weui-btn_primary">去验证</a>
        </div></div><script src="https://res.wx.qq.com/mmbizappmsg/zh_CN/htmledition/js/verify.js"></script>)";
    const QByteArray removed =
        head + "<title>周末去哪儿</title>" +
        QString::fromUtf8(weuiMessage).arg("该内容已被发布者删除", "").toUtf8() +
        R"(</div><script>var nickname = "城市漫步"; var msg_title = "周末去哪儿";</script>)";
    for (const QByteArray &page : {verification, removed}) {
        server.page(articles, "/s/Xk3", page);
        QCoro::waitFor(importer.refresh(post, false));
        EXPECT_EQ(post->parseStateRaw(), QStringLiteral("failed"));
        EXPECT_EQ(post->title(), QStringLiteral("周末去哪儿"));
        EXPECT_EQ(post->content(), QStringLiteral("第一条线路沿河而行。"));
        EXPECT_EQ(post->sortedMedia(), media);
        EXPECT_TRUE(media[0]->hasImageData());
    }
}

TEST_F(PostImporterTest, BadMediaFailAloneAndTheRestIsKept)
{
    servePage("/p", {"/page.png", "/cut.png", "/fine.png"});
    server.serve(kSite, "/page.png", {200, "<html>Please sign in</html>", {{"Content-Type", "text/html"}}});
    server.serve(kSite, "/cut.png",
                 {.raw = "HTTP/1.1 200 OK\r\nContent-Length: 900\r\n\r\n" + picture(9, 9)});
    server.serve(kSite, "/fine.png", {200, picture(12, 8)});
    const auto media = imported("/p")->sortedMedia();
    ASSERT_EQ(media.size(), 3);
    EXPECT_TRUE(media[0]->needsImageDownload());
    EXPECT_TRUE(media[1]->needsImageDownload());
    EXPECT_EQ(media[2]->data(), picture(12, 8));
    EXPECT_EQ(leftovers(), QStringList());
}

TEST_F(PostImporterTest, APostDeletedDuringItsDownloadIsLeftAlone)
{
    servePage("/p", {"/slow.png", "/next.png"});
    server.serve(kSite, "/slow.png", {.body = QByteArray(100000, 'p'), .trickle = 1ms});
    const auto post = importer.enqueueText(link("/p"), false).post;
    const QUuid id = post->id();
    ASSERT_TRUE(waitUntil([&] {
        return ImportProgress::shared().phase(id).value_or(ImportProgress::Phase::parsing()).fraction() > 0;
    }));

    context.remove(post);
    context.save();
    // The download stops at once rather than after its last byte.
    ASSERT_TRUE(waitUntil([&] { return !ImportProgress::shared().phase(id); }));
    EXPECT_EQ(requestsFor("/next.png"), 0);
    EXPECT_FALSE(context.hasChanges());
}

TEST_F(PostImporterTest, APostDeletedWhileItsPageLoadsGetsNoMedia)
{
    servePage("/p", {"/a.png"}, {}, 300ms);
    const auto post = importer.enqueueText(link("/p"), false).post;
    const QUuid id = post->id();
    ASSERT_TRUE(waitUntil([&] { return !server.requests().isEmpty(); }));
    context.remove(post);
    context.save();
    ASSERT_TRUE(waitUntil([&] { return !ImportProgress::shared().phase(id); }));
    EXPECT_TRUE(context.fetch<Media>().isEmpty());
    EXPECT_FALSE(context.hasChanges());
}

TEST_F(PostImporterTest, AMediumDeletedWhileItsFileArrivesDoesNotTakeIt)
{
    servePage("/p", {"/slow.png"});
    server.serve(kSite, "/slow.png", {.body = picture(40, 30), .delay = 500ms});
    const auto post = importer.enqueueText(link("/p"), false).post;
    const QUuid id = post->id();
    ASSERT_TRUE(waitUntil([&] { return requestsFor("/slow.png") == 1; }));
    const auto medium = post->media().first();
    {
        // Unheard by the download, which therefore runs to its end.
        const QSignalBlocker unheard(context);
        context.remove(medium);
        context.save();
        ASSERT_TRUE(waitUntil([&] { return !ImportProgress::shared().phase(id); }));
    }
    EXPECT_FALSE(medium->dataFilePath());
    EXPECT_TRUE(QDir(ModelContainer::supportDirectory(container->storePath())).isEmpty());
    EXPECT_EQ(leftovers(), QStringList());
}

TEST_F(PostImporterTest, RepairFetchesWhatIsMissingAndNeverReparsesFailedPosts)
{
    server.serve(kSite, "/1.png", {200, picture(10, 10)});
    auto failed = std::make_shared<Post>(link("/failed"), Platform::web);
    failed->setParseState(ParseState::failed);
    auto missing = std::make_shared<Media>(MediaKind::image, 0);
    missing->setRemoteURL(link("/1.png"));
    missing->setPost(failed);
    auto pending = std::make_shared<Post>(link("/pending"), Platform::web);
    servePage("/pending", {});
    auto note = std::make_shared<Post>(link("/note"), Platform::local);
    for (const auto &post : {failed, pending, note})
        context.insert(post);

    QCoro::waitFor(importer.repairAll(false));
    EXPECT_EQ(missing->data(), picture(10, 10));
    EXPECT_EQ(failed->parseStateRaw(), QStringLiteral("failed"));
    EXPECT_EQ(requestsFor("/failed") + requestsFor("/note"), 0);
}

TEST_F(PostImporterTest, BoardsAreFilledOnTheFirstParseAndHeldPostsAreLeftAlone)
{
    auto board = std::make_shared<Board>(QStringLiteral("Ann"), QString());
    board->setLinkedAuthors({AuthorAccount(Platform::web, QStringLiteral("Ann"))});
    context.insert(board);
    servePage("/p", {}, "<meta name=\"author\" content=\"Ann\">");
    const auto post = imported("/p");
    EXPECT_EQ(post->boards(), QList{board});
    post->setBoards({});
    QCoro::waitFor(importer.refresh(post, false));
    EXPECT_TRUE(post->boards().isEmpty());

    const int pageRequests = requestsFor("/p");
    QCoro::waitFor(importer.holding({post->id()}, [&] { return importer.refresh(post, false); }));
    EXPECT_EQ(requestsFor("/p"), pageRequests);
}

TEST_F(PostImporterTest, ANoteIsReadyOnceAndNeverReparsed)
{
    const auto note = importer.createNote(QStringLiteral("记一笔"), {picture(30, 20)}, {});
    ASSERT_TRUE(waitUntil([&] { return readyCalls.value(note->id()) == 1; }));
    QCoro::waitFor(importer.refresh(note, false));
    EXPECT_EQ(readyCalls.value(note->id()), 1);
}

} // namespace
