#include "Cancellation.h"
#include "FixtureServer.h"
#include "NetworkError.h"
#include "NetworkSession.h"
#include "TestHome.h"
#include "WaitFor.h"

#include <QBuffer>
#include <QCoro/QCoroNetworkReply>
#include <QTimer>
#include <algorithm>

using namespace std::chrono_literals;

namespace {

const QString kSite = QStringLiteral("127.0.0.2");
const QString kOther = QStringLiteral("127.0.0.3");

class NetworkSessionTest : public HomeTest {
protected:
    NetworkRequest request(const QString &path, const QString &host = kSite)
    {
        NetworkRequest request;
        request.url = server.url(host, path);
        return request;
    }
    NetworkResponse send(const NetworkRequest &request) { return TestAsync::waitFor(session.send(request)); }
    NetworkError::Kind failure(const NetworkRequest &request)
    {
        return TestAsync::failureOf<NetworkError>(session.send(request)).kind();
    }
    // A request made through the manager's own interface, awaited to its end.
    std::unique_ptr<QNetworkReply> plain(QNetworkReply *reply)
    {
        std::unique_ptr<QNetworkReply> owned(reply);
        QCoro::waitFor(qCoro(reply).waitForFinished());
        return owned;
    }

    FixtureServer server;
    NetworkSession &session = NetworkSession::shared();
};

TEST_F(NetworkSessionTest, CallersCookieIsSentAsGivenAndServerCookiesAreNeverKept)
{
    server.serve(kSite, "/set", {200, "ok", {{"Set-Cookie", "sid=server; Path=/"}}});
    server.page(kSite, "/next", "ok");
    NetworkRequest signedIn = request("/next");
    signedIn.headers = {{"Cookie", "sid=mine"}};
    send(request("/set"));
    send(signedIn);
    send(request("/next"));
    plain(session.get(QNetworkRequest(server.url(kSite, "/next"))));
    const auto &sent = server.requests();
    ASSERT_EQ(sent.size(), 4);
    EXPECT_EQ(sent[1].header("Cookie"), QList<QByteArray>{"sid=mine"});
    EXPECT_TRUE(sent[2].header("Cookie").isEmpty());
    EXPECT_TRUE(sent[3].header("Cookie").isEmpty());
}

TEST_F(NetworkSessionTest, PlainRequestsKeepTheRulesToo)
{
    server.redirect(kSite, "/form", server.origin(kOther) + "/landing");
    QNetworkRequest form(server.url(kSite, "/form"));
    form.setRawHeader("Cookie", "sid=secret");
    form.setRawHeader("X-Note", "line\r\nInjected: yes");
    const auto posted = plain(session.post(form, QByteArray("a=1")));
    EXPECT_EQ(posted->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 302);
    ASSERT_EQ(server.requests().size(), 1) << "Qt must not follow the redirect with the cookie";
    EXPECT_TRUE(server.requests()[0].header("Injected").isEmpty());

    for (const char *link : {"file:///etc/passwd", "qrc:/x"})
        EXPECT_EQ(plain(session.get(QNetworkRequest(QUrl(link))))->error(),
                  QNetworkReply::ProtocolUnknownError)
            << link;

    server.serve(kSite, "/slow", {.body = "late", .delay = 10s});
    QNetworkRequest impatient(server.url(kSite, "/slow"));
    impatient.setTransferTimeout(100);
    // The late answer would be a success: an error means the timeout ended it.
    EXPECT_NE(plain(session.get(impatient))->error(), QNetworkReply::NoError);
}

TEST_F(NetworkSessionTest, CookieFollowsRedirectsOnlyWithinItsCookieDomains)
{
    const QStringList douyin{"douyin.com", "iesdouyin.com"};
    const QUrl origin("https://www.douyin.com/video/1");
    for (const auto &[target, follows] : {std::pair{"https://www.douyin.com/b", true},
                                          {"http://www.douyin.com/b", false},
                                          {"https://evil-douyin.com/b", false},
                                          {"https://douyin.com.attacker.example/b", false}})
        EXPECT_EQ(NetworkSession::cookieMayFollow(origin, QUrl(target), douyin), follows) << target;
    EXPECT_FALSE(
        NetworkSession::cookieMayFollow(QUrl("https://x.com/a"), QUrl("https://mirror.example/a"), {}));

    server.redirect(kSite, "/away", server.origin(kOther) + "/back");
    server.redirect(kOther, "/back", server.origin(kSite) + "/landing");
    server.page(kSite, "/landing", "ok");
    NetworkRequest away = request("/away");
    away.headers = {{"Cookie", "SUB=secret"}, {"Authorization", "Bearer t"}};
    EXPECT_EQ(send(away).url, server.url(kSite, "/landing"));
    const auto &sent = server.requests();
    ASSERT_EQ(sent.size(), 3);
    EXPECT_EQ(sent[0].header("Cookie"), QList<QByteArray>{"SUB=secret"});
    for (const auto &later : {sent[1], sent[2]})
        EXPECT_TRUE(later.header("Cookie").isEmpty() && later.header("Authorization").isEmpty());
}

TEST_F(NetworkSessionTest, RedirectsStopAtTheLimitAndNeverLeaveTheWeb)
{
    server.redirect(kSite, "/loop", "/loop");
    NetworkRequest loop = request("/loop");
    loop.maxRedirects = 3;
    EXPECT_EQ(failure(loop), NetworkError::Kind::tooManyRedirects);
    EXPECT_EQ(server.requests().size(), 4);
    server.redirect(kSite, "/to-file", "file:///etc/passwd");
    EXPECT_EQ(failure(request("/to-file")), NetworkError::Kind::unsupportedScheme);
}

TEST_F(NetworkSessionTest, ADeadlineEndsATrickleAndCancellingEndsAnyRequest)
{
    const FixtureServer::Reply trickling{.body = QByteArray(400, 'x'), .trickle = 20ms};
    server.serve(kSite, "/trickle", trickling);
    NetworkRequest trickle = request("/trickle");
    // Bytes keep coming, so only the deadline can end it before the body is whole.
    trickle.idleTimeout = 1min;
    trickle.deadline = 300ms;
    EXPECT_EQ(failure(trickle), NetworkError::Kind::timedOut);

    // Cancelled once the server has the request, while the answer trickles in.
    NetworkRequest slow = request("/cancelled");
    slow.cancellation = std::make_shared<Cancellation>();
    server.handle(kSite, "/cancelled", [&](const FixtureServer::Request &) {
        QTimer::singleShot(100ms, slow.cancellation.get(), &Cancellation::cancel);
        return trickling;
    });
    EXPECT_EQ(failure(slow), NetworkError::Kind::cancelled);
    EXPECT_EQ(failure(slow), NetworkError::Kind::cancelled) << "a cancelled request sends nothing more";
    const auto &sent = server.requests();
    EXPECT_EQ(
        std::count_if(sent.cbegin(), sent.cend(), [](const auto &one) { return one.target == "/cancelled"; }),
        1);
}

TEST_F(NetworkSessionTest, UnreadableBodiesAreFailures)
{
    server.serve(kSite, "/broken-gzip", {200, "definitely not gzip", {{"Content-Encoding", "gzip"}}});
    EXPECT_EQ(failure(request("/broken-gzip")), NetworkError::Kind::badContent);
    server.serve(kSite, "/missing", {404, "gone"});
    EXPECT_EQ(send(request("/missing")).body, "gone") << "an error status is an answer, not a failure";
}

TEST_F(NetworkSessionTest, DownloadStreamsTheFinalBodyToTheDevice)
{
    const QByteArray bytes(300000, 'v');
    server.redirect(kSite, "/file", server.origin(kOther) + "/file.mp4");
    server.page(kOther, "/file.mp4", bytes, "video/mp4");
    QByteArray written;
    QBuffer sink(&written);
    sink.open(QIODevice::WriteOnly);
    TestAsync::waitFor(session.download(request("/file"), &sink));
    EXPECT_TRUE(written == bytes) << "only the final answer's body, whole";

    QBuffer readOnly;
    readOnly.open(QIODevice::ReadOnly);
    EXPECT_EQ(TestAsync::failureOf<NetworkError>(session.download(request("/file"), &readOnly)).kind(),
              NetworkError::Kind::cannotWrite);
}

} // namespace
