#include "OpenGraph.h"
#include "TestHome.h"

namespace {

OpenGraph scan(const char *html)
{
    return OpenGraph(QString::fromUtf8(html));
}

TEST(OpenGraphTest, ReadsAttributesInAnyOrderAndEitherQuoteStyle)
{
    const OpenGraph tags = scan(R"(<html><head>
        <meta content="First &amp; best" property="og:title">
        <meta property='og:description' content='single quoted'>
        <META NAME="Author" CONTENT="Someone">
        <meta itemprop="image" content="/a.jpg" />
        <meta name="keywords" content=unquoted>
        <meta charset="utf-8">
        </head><body><meta property="og:title" content="in the body"></body></html>)");
    EXPECT_EQ(tags[QStringLiteral("og:title")], QStringLiteral("First & best"));
    EXPECT_EQ(tags[QStringLiteral("og:description")], QStringLiteral("single quoted"));
    EXPECT_EQ(tags[QStringLiteral("author")], QStringLiteral("Someone"));
    EXPECT_EQ(tags[QStringLiteral("image")], QStringLiteral("/a.jpg"));
    EXPECT_FALSE(tags[QStringLiteral("keywords")].has_value());
    EXPECT_FALSE(tags[QStringLiteral("Author")].has_value()) << "keys are looked up exactly";
    EXPECT_EQ(tags.metaTags().value(QStringLiteral("og:title")).size(), 1) << "only the head is read";
}

TEST(OpenGraphTest, KeepsEveryValueButAnEmptyFirstOneHidesTheRest)
{
    const OpenGraph tags = scan(R"(<head><meta property="og:image" content="">
        <meta property="og:image" content="https://a/1.jpg"><meta property="og:image" content="https://a/2.jpg">
        </head>)");
    EXPECT_EQ(tags.metaTags().value(QStringLiteral("og:image")),
              (QStringList{"", "https://a/1.jpg", "https://a/2.jpg"}));
    EXPECT_FALSE(tags[QStringLiteral("og:image")].has_value());
}

TEST(OpenGraphTest, TheDocumentTitleComesAfterATitleTag)
{
    const OpenGraph tags = scan(R"(<head><title lang="en">Doc <b>title</b></title>
        <meta name="title" content="Meta title"></head>)");
    EXPECT_EQ(tags.metaTags().value(QStringLiteral("title")), (QStringList{"Meta title", "Doc title"}));
}

TEST(OpenGraphTest, WithoutAClosedHeadTheStartOfThePageIsScanned)
{
    QString page = QStringLiteral("<HTML><HEAD><META PROPERTY=\"OG:TITLE\" CONTENT=\"Loud\"></HEAD>");
    page += QString(OpenGraph::unclosedHeadLimit, QLatin1Char(' '));
    page += QStringLiteral("<meta property=\"og:image\" content=\"https://a/late.jpg\">");
    const OpenGraph tags(page);
    EXPECT_EQ(tags[QStringLiteral("og:title")], QStringLiteral("Loud"));
    EXPECT_FALSE(tags[QStringLiteral("og:image")].has_value());
}

TEST(OpenGraphTest, BrokenMarkupGivesWhatCanBeRead)
{
    const OpenGraph tags = scan("<head><meta property=\"og:title\" content=\"&#xZZ; &bogus; &#99999999;\">"
                                "<meta property=\"og:x\" content=\"never closed <title>open");
    EXPECT_TRUE(tags[QStringLiteral("og:title")].has_value());
    EXPECT_TRUE(scan("").metaTags().isEmpty());
    EXPECT_TRUE(scan("<head").metaTags().isEmpty());
}

// Each would take minutes with a scan that backtracks over the whole head.
TEST(OpenGraphTest, HostilePagesFinish)
{
    OpenGraph(QStringLiteral("<head>") + QStringLiteral("<meta ").repeated(30000) +
              QStringLiteral("</head>"));
    OpenGraph(QStringLiteral("<head><title>") + QStringLiteral("<title>").repeated(30000));
    const OpenGraph tags(QStringLiteral("<head><meta ") + QStringLiteral("content=\"").repeated(30000) +
                         QStringLiteral(">"));
    EXPECT_TRUE(tags.metaTags().isEmpty());
}

} // namespace
