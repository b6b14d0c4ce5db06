#include "OpenGraph.h"
#include "TestHome.h"

namespace {

TEST(OpenGraphTest, ReadsAttributesInAnyOrderAndEitherQuoteStyleFromTheHeadOnly)
{
    const OpenGraph tags(QStringLiteral(R"(<html><head><title lang="en">Doc <b>title</b></title>
        <meta content="First &amp; best" property="og:title">
        <meta property='og:description' content='single quoted'><META NAME="Author" CONTENT="Someone">
        <meta property="og:image" content=""><meta property="og:image" content="https://a/1.jpg">
        </head><body><meta property="og:title" content="in the body"></body></html>)"));
    EXPECT_EQ(tags["og:title"], QStringLiteral("First & best"));
    EXPECT_EQ(tags["author"], QStringLiteral("Someone"));
    EXPECT_EQ(tags["og:description"], QStringLiteral("single quoted"));
    EXPECT_EQ(tags.metaTags().value("og:title").size(), 1) << "only the head is read";
    EXPECT_FALSE(tags["og:image"].has_value()) << "an empty first value hides the rest";
}

// Each would take minutes with a scan that backtracks over the whole head.
TEST(OpenGraphTest, BrokenAndHostilePagesFinish)
{
    QString unclosed = QStringLiteral("<HTML><HEAD><META PROPERTY=\"OG:TITLE\" CONTENT=\"Loud\">");
    unclosed += QString(OpenGraph::unclosedHeadLimit, QLatin1Char(' '));
    const OpenGraph tags(unclosed +
                         QStringLiteral("<meta property=\"og:image\" content=\"https://a/late.jpg\">"));
    EXPECT_EQ(tags["og:title"], QStringLiteral("Loud"));
    EXPECT_FALSE(tags["og:image"].has_value()) << "only the start of a page without a closed head is read";

    EXPECT_TRUE(
        OpenGraph(QStringLiteral("<head><meta property=\"og:title\" content=\"&#xZZ; &#99999999;\">"
                                 "<meta property=\"og:x\" content=\"never closed <title>open"))["og:title"]);
    EXPECT_TRUE(OpenGraph(QStringLiteral("<head")).metaTags().isEmpty());
    OpenGraph(QStringLiteral("<head>") + QStringLiteral("<meta ").repeated(30000) +
              QStringLiteral("</head>"));
    OpenGraph(QStringLiteral("<head><title>") + QStringLiteral("<title>").repeated(30000));
    EXPECT_TRUE(OpenGraph(QStringLiteral("<head><meta ") + QStringLiteral("content=\"").repeated(30000) + ">")
                    .metaTags()
                    .isEmpty());
}

} // namespace
