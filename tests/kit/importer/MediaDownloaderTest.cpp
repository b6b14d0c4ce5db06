#include "Cancellation.h"
#include "FixtureServer.h"
#include "MediaDownloader.h"
#include "NetworkError.h"
#include "ParseError.h"
#include "PrivateTempFolder.h"
#include "TestHome.h"
#include "WaitFor.h"

#include <QDir>

using namespace std::chrono_literals;

namespace {

const QString kSite = QStringLiteral("127.0.0.2");

class MediaDownloaderTest : public HomeTest {
protected:
    QString link(const QString &path) { return server.origin(kSite) + path; }
    QCoro::Task<MediaDownloader::File> fetchTask(const QString &url, MediaDownloader::Progress progress = {},
                                                 std::shared_ptr<Cancellation> cancellation = {})
    {
        return MediaDownloader::fetch(url, Platform::x, 5s, std::move(progress), std::move(cancellation));
    }
    QByteArray fetched(const QString &url, MediaDownloader::Progress progress = {})
    {
        const MediaDownloader::File file = TestAsync::waitFor(fetchTask(url, std::move(progress)));
        file->seek(0);
        return file->readAll();
    }
    template <typename Error> Error failure(const QString &url)
    {
        return TestAsync::failureOf<Error>(fetchTask(url));
    }
    static QStringList leftovers()
    {
        return QDir(PrivateTempFolder::path()).entryList({QStringLiteral("dl-*")}, QDir::Files);
    }

    FixtureServer server;
};

TEST_F(MediaDownloaderTest, LinksAreNormalisedAndCarryOnlyTheAgentAndPlatformHeaders)
{
    server.serve(kSite, "/a.jpg", {200, "image"});
    const QString authority = server.origin(kSite).mid(QStringLiteral("https:").size());
    EXPECT_EQ(fetched("http:" + authority + "/a.jpg"), "image");
    const auto &sent = server.requests().at(0);
    EXPECT_EQ(sent.header("User-Agent"), QList{UserAgent::iPhone.toUtf8()});
    EXPECT_TRUE(sent.header("Referer").isEmpty() && sent.header("Cookie").isEmpty());

    TestAsync::waitFor(MediaDownloader::fetch(link("/a.jpg"), Platform::douyin, 5s));
    EXPECT_EQ(server.requests().last().header("Referer").size(), 1);
}

TEST_F(MediaDownloaderTest, LinksThatAreNoWebLinksFailBeforeAnyRequest)
{
    for (const QString &bad : {QStringLiteral("img/a.jpg"), link("/") + QString(9000, QLatin1Char('a'))})
        EXPECT_EQ(failure<ParseError>(bad).kind(), ParseError::Kind::noURL);
    EXPECT_EQ(failure<NetworkError>(QStringLiteral("file:///etc/passwd")).kind(),
              NetworkError::Kind::unsupportedScheme);
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(MediaDownloaderTest, OnlyAWhole2xxBodyIsAFileAndNothingElseStays)
{
    server.serve(kSite, "/304", {304, {}});
    EXPECT_EQ(failure<ParseError>(link("/304")).status(), 304);
    server.serve(kSite, "/over", {.raw = "HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\nfour and more"});
    EXPECT_EQ(fetched(link("/over")), "four");
    server.serve(kSite, "/cut", {.raw = "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\nonly this"});
    EXPECT_EQ(failure<NetworkError>(link("/cut")).kind(), NetworkError::Kind::cannotConnect);
    EXPECT_EQ(leftovers(), QStringList());
}

TEST_F(MediaDownloaderTest, CancellingWhileBytesArriveLeavesNothing)
{
    server.serve(kSite, "/slow", {.body = QByteArray(100000, 'v'), .trickle = 1ms});
    const auto cancellation = std::make_shared<Cancellation>();
    const auto cancel = [&](qint64, qint64) { cancellation->cancel(); };
    EXPECT_EQ(TestAsync::failureOf<NetworkError>(fetchTask(link("/slow"), cancel, cancellation)).kind(),
              NetworkError::Kind::cancelled);
    EXPECT_EQ(leftovers(), QStringList());
}

TEST_F(MediaDownloaderTest, TwoDownloadsAtOnceReportOnlyTheirOwnBytes)
{
    server.serve(kSite, "/small", {200, QByteArray(3000, 's'), {}, 50ms});
    server.serve(kSite, "/large", {200, QByteArray(3'000'000, 'l'), {}, 20ms});
    QList<qint64> small, large;
    auto first = fetchTask(link("/small"), [&](qint64 received, qint64 total) {
        EXPECT_EQ(total, 3000);
        small.append(received);
    });
    auto second = fetchTask(link("/large"), [&](qint64 received, qint64 total) {
        EXPECT_EQ(total, 3'000'000);
        large.append(received);
    });
    EXPECT_EQ(TestAsync::waitFor(std::move(second))->size(), 3'000'000);
    EXPECT_EQ(TestAsync::waitFor(std::move(first))->size(), 3000);
    EXPECT_EQ(small.last(), 3000);
    EXPECT_EQ(large.last(), 3'000'000);
}

} // namespace
