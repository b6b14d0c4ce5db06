#include "FixtureServer.h"
#include "HTTPClient.h"
#include "NetworkError.h"
#include "NetworkSession.h"
#include "ParseError.h"
#include "TestHome.h"
#include "WaitFor.h"

using namespace std::chrono_literals;

namespace {

const QString kSite = QStringLiteral("127.0.0.2");
const QString kOther = QStringLiteral("127.0.0.3");

class HTTPClientTest : public HomeTest {
protected:
    QUrl at(const QString &path, const QString &host = kSite) { return server.url(host, path); }
    HTTPClient::Response get(const QUrl &url, const HTTPClient::Headers &headers = {})
    {
        return TestAsync::waitFor(http.get(url, headers, "TestAgent/1"));
    }
    template <typename Error = NetworkError>
    Error failure(const QUrl &url, const HTTPClient &client = HTTPClient())
    {
        return TestAsync::failureOf<Error>(client.get(url, {}, "TestAgent/1"));
    }

    FixtureServer server;
    HTTPClient http;
};

TEST_F(HTTPClientTest, OnlyStatusFrom200To399IsSuccess)
{
    for (int status : {199, 200, 399, 400}) {
        const QString path = QStringLiteral("/s%1").arg(status);
        server.serve(kSite, path, {status, "body"});
        if (status >= 200 && status <= 399)
            EXPECT_EQ(get(at(path)).statusCode, status);
        else
            EXPECT_EQ(failure<ParseError>(at(path)).status(), status);
    }
}

TEST_F(HTTPClientTest, CallerHeadersReplaceTheDefaultsWhateverTheirCase)
{
    server.page(kSite, "/", "ok");
    get(at("/"));
    get(at("/"), {{"user-agent", "Override/2"}});
    const auto &plain = server.requests().at(0), &overridden = server.requests().at(1);
    EXPECT_EQ(plain.header("User-Agent"), QList<QByteArray>{"TestAgent/1"});
    EXPECT_EQ(overridden.header("User-Agent"), QList<QByteArray>{"Override/2"});
}

// The session drops a cookie at any other host; a platform's sign-in
// cookie may follow within that platform's own domains only.
TEST_F(HTTPClientTest, ACookieFollowsRedirectsOnlyWithinItsPlatformsDomains)
{
    HostTable::setOverride(Host::DouyinMain, "douyin.test");
    HostTable::setOverride(Host::DouyinShare, "share.test");
    for (const auto &[from, to, follows] :
         {std::tuple{"https://www.douyin.test/a", "https://share.test/b", true},
          {"https://www.douyin.test/a", "http://www.douyin.test/b", false},
          {"https://www.pinterest.com/a", "https://pinterest.attacker.example/b", false},
          {"https://x.com/a", "https://fxtwitter.com/b", false}})
        EXPECT_EQ(HTTPClient::cookieMayFollow(QUrl(from), QUrl(to)), follows) << from << " " << to;
}

TEST_F(HTTPClientTest, SignInCookieFollowsRedirectsAcrossItsPlatformsCookieDomains)
{
    server.pointAt(Host::WeiboMain, kSite);
    server.pointAt(Host::WeiboCn, kOther);
    server.redirect(kSite, "/status", server.origin(kOther) + "/detail");
    server.page(kOther, "/detail", "ok");
    get(HostTable::url(Host::WeiboMain, "/status"), {{"Cookie", "SUB=secret"}});
    ASSERT_EQ(server.requests().size(), 2);
    EXPECT_EQ(server.requests().at(1).header("Cookie"), QList<QByteArray>{"SUB=secret"});
}

TEST_F(HTTPClientTest, TransportFailures)
{
    server.serve(kSite, "/slow", {.body = "late", .delay = 10s});
    EXPECT_EQ(failure(at("/slow"), http.withTimeout(100ms)).kind(), NetworkError::Kind::timedOut);
    server.page(kSite, "/big", QByteArray(4096, 'x'));
    EXPECT_EQ(failure(at("/big"), http.withBodyLimit(1000)).kind(), NetworkError::Kind::tooLarge);

    server.page(kOther, "/", "ok");
    NetworkSession::setExtraTrustedCertificates({});
    EXPECT_EQ(failure(at("/", kOther)).kind(), NetworkError::Kind::insecureConnection);
}

} // namespace
