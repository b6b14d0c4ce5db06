#include "ParseError.h"
#include "Parsers.h"
#include "TestHome.h"
#include "WaitFor.h"

#include <functional>

namespace {

// Takes the links of its host (any link when it has none) and answers by calling `answer`.
struct FakeParser : PostParser {
    FakeParser(QString h, std::function<ParsedPost()> a) : host(std::move(h)), answer(std::move(a)) {}
    bool canHandle(const QUrl &url) const override { return host.isEmpty() || url.host() == host; }
    QCoro::Task<ParsedPost> parse(QUrl, HTTPClient) const override
    {
        ++calls;
        co_return answer();
    }
    QString host;
    std::function<ParsedPost()> answer;
    mutable int calls = 0;
};

std::shared_ptr<FakeParser> answering(const QString &host, const char *title, int images)
{
    ParsedPost post(Platform::web, "https://example.org/");
    post.title = title;
    for (int i = 0; i < images; ++i)
        post.media.append(ParsedMedia(MediaKind::image, QStringLiteral("https://example.org/%1.jpg").arg(i)));
    return std::make_shared<FakeParser>(host, [post] { return post; });
}

std::shared_ptr<FakeParser> failing(const QString &host, auto error)
{
    return std::make_shared<FakeParser>(host, [error]() -> ParsedPost { throw error; });
}

class ParsersTest : public HomeTest {
protected:
    QCoro::Task<ParsedPost> dispatch(const char *link)
    {
        return Parsers::parse(QUrl(link), HTTPClient(), {first, second}, fallback);
    }
    template <typename Error = ParseError> Error failure(const char *link)
    {
        return TestAsync::failureOf<Error>(dispatch(link));
    }

    std::shared_ptr<FakeParser> first = answering("a.test", "first", 0);
    std::shared_ptr<FakeParser> second = answering("a.test", "second", 0);
    std::shared_ptr<FakeParser> fallback = answering(QString(), "fallback", 1);
};

TEST_F(ParsersTest, TheFirstParserThatTakesTheLinkParsesItAndOthersGoToTheFallbackOnce)
{
    EXPECT_EQ(TestAsync::waitFor(dispatch("https://a.test/1")).title, QStringLiteral("first"));
    EXPECT_EQ(second->calls + fallback->calls, 0);
    fallback = failing(QString(), ParseError::notSupported());
    EXPECT_EQ(failure("https://b.test/1").kind(), ParseError::Kind::notSupported);
    EXPECT_EQ(fallback->calls + first->calls, 2);
}

TEST_F(ParsersTest, AFailedParserIsRescuedOnlyByAFallbackWithMedia)
{
    first = failing("a.test", ParseError::structureChanged("note"));
    EXPECT_EQ(TestAsync::waitFor(dispatch("https://a.test/1")).title, QStringLiteral("fallback"));
    fallback = answering(QString(), "title only", 0);
    EXPECT_EQ(failure("https://a.test/1").token(), QStringLiteral("note"));
    fallback = failing(QString(), ParseError::badResponse(500));
    EXPECT_EQ(failure("https://a.test/1").kind(), ParseError::Kind::structureChanged)
        << "the first error wins";

    first = failing("a.test", std::runtime_error("socket gone"));
    fallback = answering(QString(), "no media", 0);
    EXPECT_STREQ(failure<std::runtime_error>("https://a.test/1").what(), "socket gone")
        << "errors of other types pass unchanged";
}

} // namespace
