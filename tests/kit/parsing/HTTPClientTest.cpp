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
    HTTPClient::Response get(const QUrl &url, const HTTPClient::Headers &headers = {},
                             const QString &ua = QStringLiteral("TestAgent/1"))
    {
        return TestAsync::waitFor(http.get(url, headers, ua));
    }

    template <typename Error> Error failure(const QUrl &url, const HTTPClient &client)
    {
        return TestAsync::failureOf<Error>(client.get(url, {}, QStringLiteral("TestAgent/1")));
    }

    FixtureServer server;
    HTTPClient http;
};

TEST_F(HTTPClientTest, StatusFrom200To399IsSuccessAndAnythingElseCarriesItsStatus)
{
    for (int status : {200, 304, 399}) {
        server.serve(kSite, QStringLiteral("/s%1").arg(status), {status, "body"});
        const auto response = get(server.url(kSite, QStringLiteral("/s%1").arg(status)));
        EXPECT_EQ(response.statusCode, status);
    }
    for (int status : {400, 404, 500}) {
        server.serve(kSite, QStringLiteral("/s%1").arg(status), {status, "body"});
        const auto error = failure<ParseError>(server.url(kSite, QStringLiteral("/s%1").arg(status)), http);
        EXPECT_EQ(error.kind(), ParseError::Kind::badResponse);
        EXPECT_EQ(error.status(), status);
    }
    EXPECT_EQ(get(server.url(kSite, QStringLiteral("/s200"))).body, "body");
}

TEST_F(HTTPClientTest, A199AnswerNeverCountsAsSuccess)
{
    server.serve(kSite, QStringLiteral("/info"), {199, "body"});
    EXPECT_ANY_THROW(get(server.url(kSite, QStringLiteral("/info"))));
}

TEST_F(HTTPClientTest, SendsAgentAndLanguageThatCallerHeadersReplace)
{
    server.page(kSite, QStringLiteral("/"), "ok");
    get(server.url(kSite, QStringLiteral("/")), {{QStringLiteral("Referer"), QStringLiteral("https://r/")}});
    get(server.url(kSite, QStringLiteral("/")), {{QStringLiteral("user-agent"), QStringLiteral("Override/2")},
                                                 {QStringLiteral("Accept-Language"), QStringLiteral("en")}});

    const auto &plain = server.requests().at(0);
    EXPECT_EQ(plain.header("User-Agent"), "TestAgent/1");
    EXPECT_EQ(plain.header("Accept-Language"), "zh-CN,zh;q=0.9,en;q=0.8");
    EXPECT_EQ(plain.header("Referer"), "https://r/");
    const auto &overridden = server.requests().at(1);
    EXPECT_EQ(overridden.header("User-Agent"), "Override/2");
    EXPECT_EQ(overridden.header("Accept-Language"), "en");
    EXPECT_EQ(overridden.headerNames().count("user-agent"), 1);
    EXPECT_EQ(overridden.headerNames().count("accept-language"), 1);
}

TEST_F(HTTPClientTest, HtmlDecodesUTF8AndReplacesInvalidBytes)
{
    server.page(kSite, QStringLiteral("/utf8"), "<p>小红书</p>");
    server.page(kSite, QStringLiteral("/latin1"), "caf\xe9 \xff!", "text/html; charset=iso-8859-1");

    const auto page = TestAsync::waitFor(http.html(server.url(kSite, QStringLiteral("/utf8")), {}, {}));
    EXPECT_EQ(page.text, QStringLiteral("<p>小红书</p>"));
    const auto latin = TestAsync::waitFor(http.html(server.url(kSite, QStringLiteral("/latin1")), {}, {}));
    EXPECT_EQ(latin.text, QStringLiteral("caf\uFFFD \uFFFD!"));
}

TEST_F(HTTPClientTest, JsonReadsFragmentsAndPassesTheReadersError)
{
    server.json(kSite, QStringLiteral("/api"), R"({"data": {"id": 7}})");
    server.json(kSite, QStringLiteral("/fragment"), "\"text\"");
    server.page(kSite, QStringLiteral("/html"), "<html>");
    const auto fetch = [&](const char *path) {
        return http.json(server.url(kSite, QString::fromUtf8(path)), {}, {});
    };
    EXPECT_EQ(TestAsync::waitFor(fetch("/api"))["data"]["id"].intValue(), 7);
    EXPECT_EQ(TestAsync::waitFor(fetch("/fragment")).string(), QStringLiteral("text"));
    EXPECT_NO_THROW(TestAsync::failureOf<JSONError>(fetch("/html")));
}

TEST_F(HTTPClientTest, FollowsRedirectsAndReportsTheFinalAddress)
{
    server.redirect(kSite, QStringLiteral("/short"), server.origin(kOther) + QStringLiteral("/hop"), 301);
    server.redirect(kOther, QStringLiteral("/hop"), QStringLiteral("/final?x=1"), 307);
    server.page(kOther, QStringLiteral("/final"), "done");
    server.page(kSite, QStringLiteral("/still"), "here");

    const auto page = TestAsync::waitFor(http.html(server.url(kSite, QStringLiteral("/short")), {}, {}));
    EXPECT_EQ(page.text, QStringLiteral("done"));
    EXPECT_EQ(page.url, server.url(kOther, QStringLiteral("/final?x=1")));
    const QUrl still = server.url(kSite, QStringLiteral("/still"));
    EXPECT_EQ(TestAsync::waitFor(http.resolve(still, {})), still);
}

TEST_F(HTTPClientTest, ARedirectWithoutLocationOrOfAnotherKindIsTheAnswer)
{
    server.serve(kSite, QStringLiteral("/nowhere"), {302, "moved"});
    server.serve(kSite, QStringLiteral("/choices"), {300, "pick", {{"Location", "/x"}}});
    EXPECT_EQ(get(server.url(kSite, QStringLiteral("/nowhere"))).statusCode, 302);
    EXPECT_EQ(get(server.url(kSite, QStringLiteral("/choices"))).body, "pick");
}

TEST_F(HTTPClientTest, ResolveFailsOnABrokenTarget)
{
    server.redirect(kSite, QStringLiteral("/short"), QStringLiteral("/gone"));
    EXPECT_THROW(TestAsync::waitFor(http.resolve(server.url(kSite, QStringLiteral("/short")), {})),
                 ParseError);
}

TEST_F(HTTPClientTest, OnlyWebSchemesAreFetchedAlsoAfterARedirect)
{
    for (const char *link : {"file:///etc/passwd", "data:text/html,hi", "qrc:/x", "ftp://127.0.0.2/x"}) {
        const auto error = failure<NetworkError>(QUrl(QString::fromUtf8(link)), http);
        EXPECT_EQ(error.kind(), NetworkError::Kind::unsupportedScheme) << link;
    }
    server.redirect(kSite, QStringLiteral("/to-file"), QStringLiteral("file:///etc/passwd"));
    const auto error = failure<NetworkError>(server.url(kSite, QStringLiteral("/to-file")), http);
    EXPECT_EQ(error.kind(), NetworkError::Kind::unsupportedScheme);
    EXPECT_FALSE(error.message().isEmpty());
}

TEST_F(HTTPClientTest, EndlessRedirectsStop)
{
    server.redirect(kSite, QStringLiteral("/loop"), QStringLiteral("/loop"));
    EXPECT_EQ(failure<NetworkError>(server.url(kSite, QStringLiteral("/loop")), http).kind(),
              NetworkError::Kind::tooManyRedirects);
    EXPECT_EQ(server.requests().size(), HTTPClient::maxRedirects + 1);
}

TEST_F(HTTPClientTest, CookieStaysWithinItsPlatformAcrossRedirects)
{
    server.pointAt(Host::WeiboMain, kSite);
    server.pointAt(Host::WeiboCn, kSite);
    server.redirect(kSite, QStringLiteral("/same"), QStringLiteral("/landing"));
    server.redirect(kSite, QStringLiteral("/away"), server.origin(kOther) + QStringLiteral("/back"));
    server.redirect(kOther, QStringLiteral("/back"), server.origin(kSite) + QStringLiteral("/landing"));
    server.page(kSite, QStringLiteral("/landing"), "ok");
    const HTTPClient::Headers cookie{{QStringLiteral("Cookie"), QStringLiteral("SUB=secret")}};

    get(server.url(kSite, QStringLiteral("/same")), cookie);
    ASSERT_EQ(server.requests().size(), 2);
    EXPECT_EQ(server.requests().at(1).header("Cookie"), "SUB=secret");

    get(server.url(kSite, QStringLiteral("/away")), cookie);
    ASSERT_EQ(server.requests().size(), 5);
    EXPECT_EQ(server.requests().at(2).header("Cookie"), "SUB=secret");
    EXPECT_FALSE(server.requests().at(3).hasHeader("Cookie"));
    EXPECT_FALSE(server.requests().at(4).hasHeader("Cookie")) << "once dropped, it stays dropped";
}

TEST_F(HTTPClientTest, CookieFollowRule)
{
    HostTable::setOverride(Host::DouyinMain, QStringLiteral("douyin.test"));
    HostTable::setOverride(Host::DouyinShare, QStringLiteral("share.test"));
    const auto follows = [](const char *from, const char *to) {
        return HTTPClient::cookieMayFollow(QUrl(QString::fromUtf8(from)), QUrl(QString::fromUtf8(to)));
    };
    EXPECT_TRUE(follows("https://www.douyin.test/a", "https://share.test/b"));
    EXPECT_TRUE(follows("https://example.org/a", "https://EXAMPLE.org/b"));
    EXPECT_FALSE(follows("https://example.org/a", "https://example.net/b"));
    EXPECT_FALSE(follows("https://www.douyin.test/a", "https://evil.test/b"));
    EXPECT_FALSE(follows("https://www.douyin.test/a", "http://www.douyin.test/b"));
}

TEST_F(HTTPClientTest, ASilentServerTimesOut)
{
    FixtureServer::Reply slow{200, "late"};
    slow.delay = 10s;
    server.serve(kSite, QStringLiteral("/slow"), slow);
    const auto error =
        failure<NetworkError>(server.url(kSite, QStringLiteral("/slow")), http.withTimeout(100ms));
    EXPECT_EQ(error.kind(), NetworkError::Kind::timedOut);
}

TEST_F(HTTPClientTest, DroppedConnectionAndClosedPortAreTransportErrors)
{
    FixtureServer::Reply drop;
    drop.drop = true;
    server.serve(kSite, QStringLiteral("/drop"), drop);
    EXPECT_EQ(failure<NetworkError>(server.url(kSite, QStringLiteral("/drop")), http).kind(),
              NetworkError::Kind::cannotConnect);
    EXPECT_EQ(failure<NetworkError>(QUrl(QStringLiteral("https://127.0.0.9:9/")), http).kind(),
              NetworkError::Kind::cannotConnect);
}

TEST_F(HTTPClientTest, AnUntrustedCertificateIsRefused)
{
    server.page(kSite, QStringLiteral("/"), "ok");
    NetworkSession::setExtraTrustedCertificates({});
    EXPECT_EQ(failure<NetworkError>(server.url(kSite, QStringLiteral("/")), http).kind(),
              NetworkError::Kind::insecureConnection);
}

TEST_F(HTTPClientTest, OversizedBodiesAreRefused)
{
    server.page(kSite, QStringLiteral("/big"), QByteArray(4096, 'x'));
    EXPECT_EQ(
        failure<NetworkError>(server.url(kSite, QStringLiteral("/big")), http.withBodyLimit(1000)).kind(),
        NetworkError::Kind::tooLarge);
    EXPECT_EQ(get(server.url(kSite, QStringLiteral("/big"))).body.size(), 4096);
}

} // namespace
