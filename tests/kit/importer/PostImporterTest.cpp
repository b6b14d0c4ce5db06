#include "Board.h"
#include "ImportLibrary.h"
#include "ParseError.h"
#include "ParsedPost.h"
#include "SettingsKey.h"
#include "Tag.h"
#include "WaitFor.h"

#include <QSignalSpy>

using namespace std::chrono_literals;

namespace {

using PostImporterTest = ImportLibrary;

TEST_F(PostImporterTest, AShareTextBecomesAParsedPostWithItsMediaStored)
{
    servePage("/note/1", {"/a.png", "/b.jpg"}, "<meta name=\"author\" content=\"Ann&#13;&#10;Lee\">");
    server.serve(site, "/a.png", {200, picture(40, 30)});
    server.serve(site, "/b.jpg", {200, picture(20, 50, "JPEG")});
    QList<ImportProgress::Phase> phases;
    const QObject listening;
    QObject::connect(&ImportProgress::shared(), &ImportProgress::phasesChanged, &listening,
                     [&](const QUuid &id) {
                         if (const auto phase = ImportProgress::shared().phase(id))
                             phases.append(*phase);
                     });

    const auto [post, isNew] =
        importer.enqueueText("【好看】 快来看看 " + link("/note/1") + " 复制这段话打开", false);
    ASSERT_TRUE(isNew);
    EXPECT_EQ(post->sourceURL(), link("/note/1"));
    EXPECT_EQ(post->parseStateRaw(), QStringLiteral("pending"));
    EXPECT_TRUE(ImportProgress::shared().phase(post->id())->isParsing());
    ASSERT_TRUE(waitUntil([&] { return readyCalls.contains(post->id()); }));

    EXPECT_EQ(post->parseStateRaw(), QStringLiteral("parsed"));
    EXPECT_EQ(post->title(), QStringLiteral("A title"));
    EXPECT_EQ(post->authorName(), QStringLiteral("Ann  Lee"));
    const auto media = post->sortedMedia();
    ASSERT_EQ(media.size(), 2);
    EXPECT_EQ(media[0]->data(), picture(40, 30));
    EXPECT_EQ(media[1]->dataSize(), picture(20, 50, "JPEG").size());
    EXPECT_TRUE(media[1]->thumbnail().has_value());
    EXPECT_EQ(media[1]->width(), 20);
    EXPECT_EQ(media[1]->height(), 50);
    EXPECT_FALSE(context.hasChanges());
    EXPECT_FALSE(ImportProgress::shared().phase(post->id()));
    ASSERT_GE(phases.size(), 3);
    EXPECT_TRUE(phases.first().isParsing());
    EXPECT_EQ(phases.last(), ImportProgress::Phase::downloading(1.0));
    EXPECT_EQ(readyCalls.value(post->id()), 1);
    EXPECT_EQ(leftovers(), QStringList());
}

TEST_F(PostImporterTest, ALinkIsSavedOnceUnlessDuplicatesAreAllowed)
{
    servePage("/p", {});
    const auto first = imported("/p");
    const auto again = importer.enqueueText("see " + link("/p"), false);
    EXPECT_FALSE(again.isNew);
    EXPECT_EQ(again.post, first);
    EXPECT_FALSE(ImportProgress::shared().phase(first->id()));
    // Only the exact text counts: another form of the same page is another post.
    EXPECT_NE(imported("/p?"), first);

    TamselStore::defaults().setBool(SettingsKey::allowDuplicates, true);
    EXPECT_TRUE(importer.enqueueText(link("/p"), false).isNew);
    EXPECT_EQ(TestAsync::failureOf<ParseError>(importer.importText("没有链接", false)).kind(),
              ParseError::Kind::noURL);
    EXPECT_EQ(context.fetch(FetchDescriptor<Post>{}).size(), 3);
}

TEST_F(PostImporterTest, AReparseKeepsTheFilesOfMediaThatAreStillThere)
{
    servePage("/p", {"/1.png", "/2.png"});
    server.serve(site, "/1.png", {200, picture(10, 10)});
    server.serve(site, "/2.png", {200, picture(20, 20)});
    const auto post = imported("/p");
    const auto before = post->sortedMedia();

    // Same count and kinds: the records stay in place under their new links.
    servePage("/p", {"/1b.png", "/2b.png"});
    QCoro::waitFor(importer.refresh(post, false));
    EXPECT_EQ(post->sortedMedia(), before);
    EXPECT_EQ(post->sortedMedia()[1]->remoteURL(), link("/2b.png"));
    EXPECT_EQ(post->sortedMedia()[1]->data(), picture(20, 20));
    EXPECT_EQ(requestsFor("/2b.png"), 0);

    // Another shape: records are matched by link, the rest are new or deleted.
    server.serve(site, "/3.png", {200, picture(30, 30)});
    servePage("/p", {"/3.png", "/2b.png", "/4.png"});
    QCoro::waitFor(importer.refresh(post, false));
    const auto after = post->sortedMedia();
    ASSERT_EQ(after.size(), 3);
    EXPECT_EQ(after[1], before[1]);
    EXPECT_EQ(after[1]->order(), 1);
    EXPECT_EQ(after[0]->data(), picture(30, 30));
    EXPECT_TRUE(before[0]->isGone());

    // One link twice: each place gets its own record.
    ParsedPost twice(Platform::web, link("/p"));
    twice.media = {ParsedMedia(MediaKind::image, link("/3.png")),
                   ParsedMedia(MediaKind::video, link("/3.png"))};
    importer.apply(twice, post);
    ASSERT_EQ(post->sortedMedia().size(), 2);
    EXPECT_EQ(post->sortedMedia()[0], after[0]);
    EXPECT_NE(post->sortedMedia()[1], after[0]);
    EXPECT_TRUE(after[2]->isGone());
}

TEST_F(PostImporterTest, AFailedReparseKeepsTheContentAndShowsTheMessage)
{
    servePage("/p", {"/1.png"});
    server.serve(site, "/1.png", {404, "gone"});
    const auto post = imported("/p");
    ASSERT_EQ(post->media().size(), 1);
    EXPECT_FALSE(post->media()[0]->hasImageData());

    server.serve(site, "/p", {500, "down"});
    server.serve(site, "/1.png", {200, picture(10, 10)});
    QCoro::waitFor(importer.refresh(post, false));
    EXPECT_EQ(post->parseStateRaw(), QStringLiteral("failed"));
    EXPECT_EQ(post->parseError(), ParseError::badResponse(500).message());
    EXPECT_EQ(post->title(), QStringLiteral("A title"));
    // Media still missing are fetched after a failure too.
    EXPECT_TRUE(post->media()[0]->hasImageData());
    EXPECT_EQ(readyCalls.value(post->id()), 2);
}

TEST_F(PostImporterTest, BadMediaFailAloneAndTheRestIsKept)
{
    servePage("/p", {"/page.png", "/cut.png", "/fine.png"});
    server.serve(site, "/page.png", {200, "<html>Please sign in</html>", {{"Content-Type", "text/html"}}});
    server.serve(site, "/cut.png", {.raw = "HTTP/1.1 200 OK\r\nContent-Length: 900\r\n\r\n" + picture(9, 9)});
    server.serve(site, "/fine.png", {200, picture(12, 8)});
    const auto post = imported("/p");
    const auto media = post->sortedMedia();
    ASSERT_EQ(media.size(), 3);
    EXPECT_TRUE(media[0]->needsImageDownload());
    EXPECT_TRUE(media[1]->needsImageDownload());
    EXPECT_EQ(media[2]->data(), picture(12, 8));
    EXPECT_EQ(post->parseStateRaw(), QStringLiteral("parsed"));
    EXPECT_EQ(leftovers(), QStringList());
}

TEST_F(PostImporterTest, APostDeletedDuringItsDownloadIsLeftAlone)
{
    servePage("/p", {"/slow.png", "/next.png"});
    server.serve(site, "/slow.png", {.body = QByteArray(100000, 'p'), .trickle = 1ms});
    server.serve(site, "/next.png", {200, picture(10, 10)});
    const auto post = importer.enqueueText(link("/p"), false).post;
    const QUuid id = post->id();
    ASSERT_TRUE(waitUntil([&] { return requestsFor("/slow.png") == 1; }));
    ASSERT_TRUE(waitUntil([&] { return ImportProgress::shared().phase(id)->fraction() > 0; }));

    context.remove(post);
    context.save();
    ASSERT_TRUE(waitUntil([&] { return !ImportProgress::shared().phase(id); }));
    QTest::qWait(50);
    EXPECT_EQ(requestsFor("/next.png"), 0);
    EXPECT_FALSE(readyCalls.contains(id));
    EXPECT_FALSE(context.hasChanges());
    EXPECT_EQ(leftovers(), QStringList());
    EXPECT_TRUE(context.fetch(FetchDescriptor<Media>{}).isEmpty());
}

TEST_F(PostImporterTest, VideosAreDownloadedOnlyWhenAsked)
{
    servePage("/v", {"/cover.png"},
              R"(<meta property="og:video" content=")" + link("/v.mp4").toUtf8() + "\">");
    server.serve(site, "/cover.png", {200, picture(16, 9)});
    server.serve(site, "/v.mp4", {200, QByteArray(200000, 'm')});
    const auto post = imported("/v", false);
    const auto video = post->media().value(0);
    ASSERT_TRUE(video && video->kind() == MediaKind::video);
    EXPECT_TRUE(video->hasImageData());
    EXPECT_FALSE(video->hasVideoData());
    EXPECT_EQ(requestsFor("/v.mp4"), 0);

    QCoro::waitFor(importer.repairAll(true));
    EXPECT_EQ(video->videoSize(), 200000);
    EXPECT_EQ(video->videoData(), QByteArray(200000, 'm'));
    EXPECT_EQ(requestsFor("/cover.png"), 1);
}

TEST_F(PostImporterTest, RepairFetchesWhatIsMissingAndNeverReparsesFailedPosts)
{
    server.serve(site, "/1.png", {200, picture(10, 10)});
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
    context.save();

    QCoro::waitFor(importer.repairAll(false));
    EXPECT_EQ(missing->data(), picture(10, 10));
    EXPECT_EQ(failed->parseStateRaw(), QStringLiteral("failed"));
    EXPECT_EQ(requestsFor("/failed"), 0);
    EXPECT_EQ(pending->parseStateRaw(), QStringLiteral("parsed"));
    EXPECT_EQ(requestsFor("/note"), 0);
    EXPECT_EQ(readyCalls.value(pending->id()), 1);
    EXPECT_FALSE(readyCalls.contains(failed->id()));
}

TEST_F(PostImporterTest, HeldPostsAreNotRefreshedAndBoardsAreFilledOnTheFirstParse)
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
    const int held = TestAsync::waitFor(importer.holding({post->id()}, [&]() -> QCoro::Task<int> {
        co_await importer.refresh(post, false);
        co_return 7;
    }));
    EXPECT_EQ(held, 7);
    EXPECT_EQ(requestsFor("/p"), pageRequests);
    QCoro::waitFor(importer.refresh(post, false));
    EXPECT_EQ(requestsFor("/p"), pageRequests + 1);
}

TEST_F(PostImporterTest, NotesAndTags)
{
    const auto tag = importer.tag(QStringLiteral("  旅行\n"));
    EXPECT_EQ(tag->name(), QStringLiteral("旅行"));
    EXPECT_EQ(tag->colorHex(), QStringLiteral("#D97757"));
    EXPECT_EQ(importer.tag(QStringLiteral("旅行")), tag);
    EXPECT_NE(importer.tag(QStringLiteral("Trip")), importer.tag(QStringLiteral("trip")));

    const auto note = importer.createNote(QStringLiteral("记一笔"), {picture(30, 20), "not an image"}, {tag});
    EXPECT_EQ(note->platform(), Platform::local);
    EXPECT_EQ(note->note(), QStringLiteral("记一笔"));
    EXPECT_EQ(note->parseStateRaw(), QStringLiteral("parsed"));
    const auto media = note->sortedMedia();
    ASSERT_EQ(media.size(), 2);
    EXPECT_EQ(media[0]->width(), 30);
    EXPECT_EQ(media[1]->order(), 1);
    EXPECT_EQ(note->tags(), QList{tag});
    EXPECT_FALSE(context.hasChanges());
    ASSERT_TRUE(waitUntil([&] { return readyCalls.value(note->id()) == 1; }));
    QCoro::waitFor(importer.refresh(note, false));
    EXPECT_EQ(readyCalls.value(note->id()), 1);
}

} // namespace
