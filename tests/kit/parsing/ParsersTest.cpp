#include "OpenGraphParser.h"
#include "ParseError.h"
#include "Parsers.h"
#include "TestHome.h"
#include "WaitFor.h"

#include <functional>

namespace {

// A parser that takes links by host and answers with a fixed post or error.
class FakeParser : public PostParser {
public:
    FakeParser(QString host, std::optional<ParsedPost> post, std::function<void()> fail = {})
        : m_host(std::move(host)), m_post(std::move(post)), m_fail(std::move(fail))
    {
    }

    bool canHandle(const QUrl &url) const override { return m_host.isEmpty() || url.host() == m_host; }

    QCoro::Task<ParsedPost> parse(QUrl, HTTPClient) const override
    {
        ++*m_calls;
        if (m_fail)
            m_fail();
        co_return *m_post;
    }

    int calls() const { return *m_calls; }

private:
    QString m_host;
    std::optional<ParsedPost> m_post;
    std::function<void()> m_fail;
    std::shared_ptr<int> m_calls = std::make_shared<int>(0);
};

ParsedPost post(const char *title, int images)
{
    ParsedPost result(Platform::web, QStringLiteral("https://example.org/"));
    result.title = QString::fromUtf8(title);
    for (int i = 0; i < images; ++i)
        result.media.append(
            ParsedMedia(MediaKind::image, QStringLiteral("https://example.org/%1.jpg").arg(i)));
    return result;
}

auto failing(ParseError error)
{
    return [error] { throw error; };
}

class ParsersTest : public HomeTest {
protected:
    QCoro::Task<ParsedPost> dispatch(const char *link)
    {
        return Parsers::parse(QUrl(QString::fromUtf8(link)), HTTPClient(), {first, second}, fallbackParser);
    }

    ParsedPost parse(const char *link) { return TestAsync::waitFor(dispatch(link)); }

    template <typename Error = ParseError> Error failure(const char *link)
    {
        return TestAsync::failureOf<Error>(dispatch(link));
    }

    void givenFallback(std::optional<ParsedPost> result, std::function<void()> fail = {})
    {
        fallback = std::make_shared<FakeParser>(QString(), std::move(result), std::move(fail));
        fallbackParser = fallback;
    }

    std::shared_ptr<FakeParser> first =
        std::make_shared<FakeParser>(QStringLiteral("a.test"), post("first", 0));
    std::shared_ptr<FakeParser> second =
        std::make_shared<FakeParser>(QStringLiteral("a.test"), post("second", 0));
    std::shared_ptr<FakeParser> fallback = std::make_shared<FakeParser>(QString(), post("fallback", 1));
    Parsers::Parser fallbackParser = fallback;
};

TEST_F(ParsersTest, TheFirstParserThatTakesTheLinkParsesIt)
{
    EXPECT_EQ(parse("https://a.test/1").title, QStringLiteral("first"));
    EXPECT_EQ(second->calls(), 0);
    EXPECT_EQ(fallback->calls(), 0);
}

TEST_F(ParsersTest, ALinkNoOneTakesGoesToTheFallbackOnce)
{
    givenFallback(std::nullopt, failing(ParseError::notSupported()));
    EXPECT_EQ(failure("https://b.test/1").kind(), ParseError::Kind::notSupported);
    EXPECT_EQ(fallback->calls(), 1);
    EXPECT_EQ(first->calls(), 0);
}

TEST_F(ParsersTest, AFailedParserIsRescuedOnlyByAFallbackWithMedia)
{
    first = std::make_shared<FakeParser>(QStringLiteral("a.test"), std::nullopt,
                                         failing(ParseError::structureChanged(QStringLiteral("note"))));
    EXPECT_EQ(parse("https://a.test/1").title, QStringLiteral("fallback"));

    givenFallback(post("title only", 0));
    EXPECT_EQ(failure("https://a.test/1").token(), QStringLiteral("note"));

    givenFallback(std::nullopt, failing(ParseError::badResponse(500)));
    EXPECT_EQ(failure("https://a.test/1").kind(), ParseError::Kind::structureChanged)
        << "the first error wins";
}

TEST_F(ParsersTest, ErrorsOfOtherTypesPassUnchanged)
{
    first = std::make_shared<FakeParser>(QStringLiteral("a.test"), std::nullopt,
                                         [] { throw std::runtime_error("socket gone"); });
    givenFallback(post("no media", 0));
    EXPECT_STREQ(failure<std::runtime_error>("https://a.test/1").what(), "socket gone");
}

TEST_F(ParsersTest, TheRegistryEndsWithTheOpenGraphParser)
{
    ASSERT_FALSE(Parsers::all().isEmpty());
    EXPECT_EQ(Parsers::all().last(), Parsers::fallback());
    EXPECT_NE(dynamic_cast<const OpenGraphParser *>(Parsers::fallback().get()), nullptr);
    EXPECT_TRUE(Parsers::fallback()->canHandle(QUrl(QStringLiteral("https://anything.example/"))));
}

} // namespace
