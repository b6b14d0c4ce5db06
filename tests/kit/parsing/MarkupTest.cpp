#include "Markup.h"

#include <gtest/gtest.h>

namespace {

using namespace Markup;

TEST(MarkupTest, HtmlDecodedDecodesEachReferenceOnce)
{
    EXPECT_EQ(htmlDecoded(u"&lt;b&gt; &quot;x&quot; &#39;&#x27;&apos; a&nbsp;b &amp;"_qs),
              u"<b> \"x\" ''' a b &"_qs);
    EXPECT_EQ(htmlDecoded(u"&#x4E2D;&#X4E2D;&#20013;&#x1F600;"_qs), u"中中中😀"_qs);
    const QString invalid = u"&#xD800; &#x110000; &#99999999999; &#x; &#12a; &copy;"_qs;
    EXPECT_EQ(htmlDecoded(invalid), invalid);
    EXPECT_EQ(htmlDecoded(u"&amp;lt;"_qs), u"&lt;"_qs);
    EXPECT_EQ(htmlDecoded(u"&#38;#65; &#65;"_qs), u"&#65; A"_qs);
    EXPECT_EQ(htmlDecoded(u"&#xFEFF;x"_qs), u"\uFEFFx"_qs);
}

TEST(MarkupTest, StrippingHTMLKeepsLinesAndParagraphs)
{
    EXPECT_EQ(strippingHTML(u"<p>One &amp; <b>two</b></p><p>Three</p>"_qs), u"One & two\nThree"_qs);
    EXPECT_EQ(strippingHTML(u"a<br>b<br/>c<br />d<BR>e"_qs), u"a\nb\nc\nde"_qs);
    EXPECT_EQ(strippingHTML(u"\n\n<h1>T</h1>\n \n\t\n<li>x \t y</li>\n\n"_qs), u"T\n\nx y"_qs);
    EXPECT_EQ(strippingHTML(u"<p>\uFEFF\tx</p>"_qs), u"\uFEFF x"_qs);
}

TEST(MarkupTest, ScriptEscapesDecodeOnlyHexBytesBackslashesAndQuotes)
{
    EXPECT_EQ(scriptEscapesDecoded(u"a\\x0d\\x0Ab \\x26amp; C:\\\\x41 \\\"\\'"_qs),
              u"a\r\nb &amp; C:\\x41 \"'"_qs);
    const QString untouched = u"\\n \\u4E2D \\x4 \\xZZ \\"_qs;
    EXPECT_EQ(scriptEscapesDecoded(untouched), untouched);
}

TEST(MarkupTest, TheWidestSrcsetCandidateWins)
{
    EXPECT_EQ(widestSrcsetCandidate(u"https://c.test/640.jpg?a=1,2 640w, https://c.test/1080.jpg 1080w,"
                                    u"https://c.test/750.jpg 750w,https://c.test/other.jpg 1080w"_qs),
              u"https://c.test/1080.jpg"_qs);
    EXPECT_EQ(widestSrcsetCandidate(u"https://c.test/a.jpg 2x, https://c.test/b.jpg"_qs), std::nullopt);
}

TEST(MarkupTest, ScriptStateReadsTheAssignedObject)
{
    const auto state = scriptState(
        u"<script>window.S= {\"note\":undefined,\"list\":[undefined,1]};</script>"_qs, u"window.S"_qs);
    ASSERT_TRUE(state);
    EXPECT_TRUE((*state)["note"].raw().isNull() && (*state)["list"][0].raw().isNull());
    EXPECT_EQ((*state)["list"][1].intValue(), 1);
    EXPECT_FALSE(scriptState(u"<script>window._ROUTER_DATA = {}"_qs, u"window._ROUTER_DATA"_qs));
}

} // namespace
