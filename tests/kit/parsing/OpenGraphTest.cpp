#include "OpenGraph.h"
#include "TestHome.h"

namespace {

TEST(OpenGraphTest, ReadsAttributesInAnyOrderAndEitherQuoteStyleFromTheHeadOnly)
{
    const OpenGraph tags(QStringLiteral(R"(<html><head><title lang="en">Doc <b>title</b></title>
        <meta content="First &amp; best" property="og:title">
        <meta property='og:description' content='single quoted'>
        <META NAME="Author" CONTENT="Someone">
        <meta itemprop="image" content="/a.jpg" /><meta name="keywords" content=unquoted>
        <meta name="title" content="Meta title">
        <meta property="og:image" content=""><meta property="og:image" content="https://a/1.jpg">
        </head><body><meta property="og:title" content="in the body"></body></html>)"));
    EXPECT_EQ(tags["og:title"], QStringLiteral("First & best"));
    EXPECT_EQ(tags["og:description"], QStringLiteral("single quoted"));
    EXPECT_EQ(tags["author"], QStringLiteral("Someone"));
    EXPECT_EQ(tags["image"], QStringLiteral("/a.jpg"));
    EXPECT_FALSE(tags["keywords"].has_value());
    EXPECT_EQ(tags.metaTags().value("og:title").size(), 1) << "only the head is read";
    EXPECT_EQ(tags.metaTags().value("title"), (QStringList{"Meta title", "Doc title"}));
    EXPECT_EQ(tags.metaTags().value("og:image"), (QStringList{"", "https://a/1.jpg"}));
    EXPECT_FALSE(tags["og:image"].has_value()) << "an empty first value hides the rest";
}

TEST(OpenGraphTest, WithoutAClosedHeadTheStartOfThePageIsScanned)
{
    QString page = QStringLiteral("<HTML><HEAD><META PROPERTY=\"OG:TITLE\" CONTENT=\"Loud\"></HEAD>");
    page += QString(OpenGraph::unclosedHeadLimit, QLatin1Char(' '));
    page += QStringLiteral("<meta property=\"og:image\" content=\"https://a/late.jpg\">");
    const OpenGraph tags(page);
    EXPECT_EQ(tags["og:title"], QStringLiteral("Loud"));
    EXPECT_FALSE(tags["og:image"].has_value());
}

// Each would take minutes with a scan that backtracks over the whole head.
TEST(OpenGraphTest, BrokenAndHostilePagesFinish)
{
    EXPECT_TRUE(
        OpenGraph(QStringLiteral("<head><meta property=\"og:title\" content=\"&#xZZ; &#99999999;\">"
                                 "<meta property=\"og:x\" content=\"never closed <title>open"))["og:title"]);
    EXPECT_TRUE(OpenGraph(QStringLiteral("<head")).metaTags().isEmpty());
    OpenGraph(QStringLiteral("<head>") + QStringLiteral("<meta ").repeated(30000) +
              QStringLiteral("</head>"));
    OpenGraph(QStringLiteral("<head><title>") + QStringLiteral("<title>").repeated(30000));
    const OpenGraph tags(QStringLiteral("<head><meta ") + QStringLiteral("content=\"").repeated(30000) + ">");
    EXPECT_TRUE(tags.metaTags().isEmpty());
}

} // namespace
