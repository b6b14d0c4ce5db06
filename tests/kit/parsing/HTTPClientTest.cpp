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
    template <typename Error = NetworkError> Error failure(const QUrl &url, const HTTPClient &client)
    {
        return TestAsync::failureOf<Error>(client.get(url, {}, "TestAgent/1"));
    }
    NetworkError::Kind failureKind(const QUrl &url) { return failure(url, http).kind(); }

    FixtureServer server;
    HTTPClient http;
};

TEST_F(HTTPClientTest, OnlyStatusFrom200To399IsSuccess)
{
    for (int status : {199, 200, 304, 399, 400, 404, 500}) {
        const QString path = QStringLiteral("/s%1").arg(status);
        server.serve(kSite, path, {status, "body"});
        if (status >= 200 && status <= 399)
            EXPECT_EQ(get(at(path)).statusCode, status);
        else
            EXPECT_EQ(failure<ParseError>(at(path), http).status(), status);
    }
}

TEST_F(HTTPClientTest, CallerHeadersReplaceTheDefaultsWhateverTheirCase)
{
    server.page(kSite, "/", "ok");
    get(at("/"), {{"Referer", "https://r/"}});
    get(at("/"), {{"user-agent", "Override/2"}, {"Accept-Language", "en"}});

    const auto &plain = server.requests().at(0), &overridden = server.requests().at(1);
    EXPECT_EQ(plain.header("User-Agent"), "TestAgent/1");
    EXPECT_EQ(plain.header("Accept-Language"), "zh-CN,zh;q=0.9,en;q=0.8");
    EXPECT_EQ(plain.header("Referer"), "https://r/");
    EXPECT_EQ(overridden.header("User-Agent"), "Override/2");
    EXPECT_EQ(overridden.header("Accept-Language"), "en");
    EXPECT_EQ(overridden.headerNames().count("user-agent"), 1);
}

TEST_F(HTTPClientTest, HtmlReplacesInvalidBytesAndJsonPassesTheReadersError)
{
    server.page(kSite, "/latin1", "caf\xe9 \xff!", "text/html; charset=iso-8859-1");
    EXPECT_EQ(TestAsync::waitFor(http.html(at("/latin1"), {}, {})).text, QStringLiteral("caf\uFFFD \uFFFD!"));

    server.page(kSite, "/html", "<html>");
    EXPECT_NO_THROW(TestAsync::failureOf<JSONError>(http.json(at("/html"), {}, {})));
}

TEST_F(HTTPClientTest, FollowsRedirectsAndReportsTheFinalAddress)
{
    server.redirect(kSite, "/short", server.origin(kOther) + "/hop", 301);
    server.redirect(kOther, "/hop", "/final?x=1", 307);
    server.page(kOther, "/final", "done");
    server.serve(kSite, "/nowhere", {302, "moved"});
    server.redirect(kSite, "/broken", "/gone");

    const auto page = TestAsync::waitFor(http.html(at("/short"), {}, {}));
    EXPECT_EQ(page.text, QStringLiteral("done"));
    EXPECT_EQ(page.url, at("/final?x=1", kOther));
    EXPECT_EQ(get(at("/nowhere")).statusCode, 302);
    EXPECT_THROW(TestAsync::waitFor(http.resolve(at("/broken"), {})), ParseError);

    server.redirect(kSite, "/loop", "/loop");
    const auto before = server.requests().size();
    EXPECT_EQ(failureKind(at("/loop")), NetworkError::Kind::tooManyRedirects);
    EXPECT_EQ(server.requests().size() - before, HTTPClient::maxRedirects + 1);
}

TEST_F(HTTPClientTest, OnlyWebSchemesAreFetchedAlsoAfterARedirect)
{
    for (const char *link : {"file:///etc/passwd", "data:text/html,hi", "qrc:/x", "ftp://127.0.0.2/x"})
        EXPECT_EQ(failureKind(QUrl(link)), NetworkError::Kind::unsupportedScheme) << link;
    server.redirect(kSite, "/to-file", "file:///etc/passwd");
    EXPECT_EQ(failureKind(at("/to-file")), NetworkError::Kind::unsupportedScheme);
}

TEST_F(HTTPClientTest, CookieIsDroppedForGoodOnARedirectToAnotherHost)
{
    server.redirect(kSite, "/away", server.origin(kOther) + "/back");
    server.redirect(kOther, "/back", server.origin(kSite) + "/landing");
    server.page(kSite, "/landing", "ok");
    get(at("/away"), {{"Cookie", "SUB=secret"}});
    const auto &sent = server.requests();
    ASSERT_EQ(sent.size(), 3);
    EXPECT_EQ(sent.at(0).header("Cookie"), "SUB=secret");
    EXPECT_FALSE(sent.at(1).hasHeader("Cookie"));
    EXPECT_FALSE(sent.at(2).hasHeader("Cookie")) << "once dropped, it stays dropped";

    HostTable::setOverride(Host::DouyinMain, "douyin.test");
    HostTable::setOverride(Host::DouyinShare, "share.test");
    for (const auto &[from, to, follows] :
         {std::tuple{"https://www.douyin.test/a", "https://share.test/b", true},
          {"https://www.douyin.test/a", "https://evil.test/b", false},
          {"https://www.douyin.test/a", "http://www.douyin.test/b", false}})
        EXPECT_EQ(HTTPClient::cookieMayFollow(QUrl(from), QUrl(to)), follows) << from << " -> " << to;
}

TEST_F(HTTPClientTest, TransportFailures)
{
    server.serve(kSite, "/slow", {.body = "late", .delay = 10s});
    EXPECT_EQ(failure(at("/slow"), http.withTimeout(100ms)).kind(), NetworkError::Kind::timedOut);

    server.serve(kSite, "/drop", {.drop = true});
    EXPECT_EQ(failureKind(at("/drop")), NetworkError::Kind::cannotConnect);
    EXPECT_EQ(failureKind(QUrl("https://127.0.0.9:9/")), NetworkError::Kind::cannotConnect);

    server.page(kSite, "/big", QByteArray(4096, 'x'));
    EXPECT_EQ(failure(at("/big"), http.withBodyLimit(1000)).kind(), NetworkError::Kind::tooLarge);
    EXPECT_EQ(get(at("/big")).body.size(), 4096);
}

TEST_F(HTTPClientTest, AnUntrustedCertificateIsRefused)
{
    server.page(kSite, "/", "ok");
    NetworkSession::setExtraTrustedCertificates({});
    EXPECT_EQ(failureKind(at("/")), NetworkError::Kind::insecureConnection);
}

} // namespace
