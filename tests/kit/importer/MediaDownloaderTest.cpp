#include "Cancellation.h"
#include "FixtureServer.h"
#include "MediaDownloader.h"
#include "NetworkError.h"
#include "ParseError.h"
#include "PrivateTempFolder.h"
#include "TestHome.h"
#include "WaitFor.h"

#include <QDir>
#include <QTimer>

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
        EXPECT_TRUE(file->fileName().contains(QStringLiteral("/dl-")));
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
    EXPECT_EQ(fetched("//" + authority.mid(2) + "/a.jpg"), "image");
    EXPECT_EQ(fetched("http:" + authority + "/a.jpg"), "image");
    const auto &plain = server.requests().at(1);
    EXPECT_EQ(plain.header("User-Agent"), QList{UserAgent::iPhone.toUtf8()});
    EXPECT_TRUE(plain.header("Referer").isEmpty());
    EXPECT_TRUE(plain.header("Cookie").isEmpty());

    TestAsync::waitFor(MediaDownloader::fetch(link("/a.jpg"), Platform::douyin, 5s));
    const auto &douyin = server.requests().last();
    EXPECT_EQ(douyin.header("Referer").size(), 1);
    EXPECT_EQ(douyin.header("User-Agent"), QList{UserAgent::iPhone.toUtf8()});
}

TEST_F(MediaDownloaderTest, LinksThatAreNoWebLinksFailBeforeAnyRequest)
{
    for (const QString &bad : {QString(), QStringLiteral("/img/a.jpg"), QStringLiteral("img/a.jpg"),
                               QStringLiteral("https:///a.jpg"), link("/") + QString(9000, QLatin1Char('a'))})
        EXPECT_EQ(failure<ParseError>(bad).kind(), ParseError::Kind::noURL) << bad.left(40).toStdString();
    for (const QString &other : {QStringLiteral("file:///etc/passwd"), QStringLiteral("ftp://example.com/a"),
                                 QStringLiteral("data:image/png;base64,AAAA")})
        EXPECT_EQ(failure<NetworkError>(other).kind(), NetworkError::Kind::unsupportedScheme);
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(MediaDownloaderTest, OnlyA2xxAnswerAfterRedirectsIsABody)
{
    server.redirect(kSite, "/moved", "/a.jpg");
    server.serve(kSite, "/a.jpg", {200, "image"});
    EXPECT_EQ(fetched(link("/moved")), "image");

    EXPECT_EQ(failure<ParseError>(link("/missing")).status(), 404);
    server.serve(kSite, "/304", {304, {}});
    EXPECT_EQ(failure<ParseError>(link("/304")).status(), 304);
    server.redirect(kSite, "/local", "file:///etc/passwd");
    EXPECT_EQ(failure<NetworkError>(link("/local")).kind(), NetworkError::Kind::unsupportedScheme);
    server.redirect(kSite, "/loop", "/loop");
    EXPECT_EQ(failure<NetworkError>(link("/loop")).kind(), NetworkError::Kind::tooManyRedirects);
    EXPECT_EQ(leftovers(), QStringList());
}

TEST_F(MediaDownloaderTest, BodiesWithoutOrBeyondTheirLengthAndCutOffOnes)
{
    server.serve(kSite, "/unsized", {.raw = "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\nno length given"});
    EXPECT_EQ(fetched(link("/unsized")), "no length given");

    server.serve(kSite, "/over", {.raw = "HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\nfour and more"});
    EXPECT_EQ(fetched(link("/over")), "four");

    server.serve(kSite, "/cut", {.raw = "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\nonly this"});
    EXPECT_EQ(failure<NetworkError>(link("/cut")).kind(), NetworkError::Kind::cannotConnect);
    EXPECT_EQ(leftovers(), QStringList());
}

TEST_F(MediaDownloaderTest, CancellingWhileBytesArriveEndsWithNothingLeft)
{
    server.serve(kSite, "/stall", {.body = QByteArray(100000, 'v'), .trickle = 1ms});
    const auto cancellation = std::make_shared<Cancellation>();
    auto progress = [&](qint64, qint64) { cancellation->cancel(); };
    const NetworkError error =
        TestAsync::failureOf<NetworkError>(fetchTask(link("/stall"), progress, cancellation));
    EXPECT_EQ(error.kind(), NetworkError::Kind::cancelled);
    EXPECT_EQ(leftovers(), QStringList());
}

TEST_F(MediaDownloaderTest, TwoDownloadsAtOnceReportOnlyTheirOwnBytes)
{
    server.serve(kSite, "/small", {200, QByteArray(3000, 's'), {}, 50ms});
    server.serve(kSite, "/large", {200, QByteArray(3'000'000, 'l'), {}, 20ms});
    QList<qint64> small, large;
    auto first = fetchTask(link("/small"), [&](qint64 written, qint64 total) {
        EXPECT_EQ(total, 3000);
        small.append(written);
    });
    auto second = fetchTask(link("/large"), [&](qint64 written, qint64 total) {
        EXPECT_EQ(total, 3'000'000);
        large.append(written);
    });
    EXPECT_EQ(TestAsync::waitFor(std::move(second))->size(), 3'000'000);
    EXPECT_EQ(TestAsync::waitFor(std::move(first))->size(), 3000);
    EXPECT_EQ(small.last(), 3000);
    EXPECT_EQ(large.last(), 3'000'000);
    EXPECT_TRUE(std::is_sorted(large.cbegin(), large.cend()));
}

} // namespace
