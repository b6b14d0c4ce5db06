#include "LinkExtractor.h"

#include <gtest/gtest.h>

namespace {

// Each row is a text and the link it holds, "<none>" where it holds none.
void expectLinks(std::initializer_list<std::pair<QString, QString>> cases)
{
    const QString none = QStringLiteral("<none>");
    for (const auto &[text, link] : cases) {
        const auto url = LinkExtractor::firstURL(text);
        const QString expected = link == none ? none : QUrl(link).toString(QUrl::FullyEncoded);
        EXPECT_EQ(url ? url->toString(QUrl::FullyEncoded) : none, expected) << text.left(200).toStdString();
    }
}

TEST(LinkExtractorTest, FindsTheFirstWebLinkInShareTexts)
{
    QString longText;
    for (int i = 0; i < 2000; ++i)
        longText += u"分享😀 a.b-c_d photo.jpg, "_qs;
    expectLinks({
        {u"【小红书】周末去哪儿😆 http://xhslink.com/a/AbC123，复制本条信息，打开【小红书】App查看精彩内容！"_qs,
         u"http://xhslink.com/a/AbC123"_qs},
        {u"7.43 复制打开抖音，看看【小王的作品】日落 #旅行 https://v.douyin.com/iRNBho6u/ Xzb:/ m@q.Eh 04/12"_qs,
         u"https://v.douyin.com/iRNBho6u/"_qs},
        {u"网址 www.example.com/path?x=1。"_qs, u"http://www.example.com/path?x=1"_qs},
        {u"See https://example.com/a_(b)."_qs, u"https://example.com/a_(b)"_qs},
        {u"打开 snssdk1128://aweme/detail/1 或 https://b.com"_qs, u"https://b.com"_qs},
        {longText + u"https://end.com/z"_qs, u"https://end.com/z"_qs},
        {u"1.https://a.example.com/x 2.https://b.example.com/y"_qs, u"https://a.example.com/x"_qs},
        {u"ftp://files.example.com/a"_qs, u"<none>"_qs},
        {QString(100000, u'a') + u".notatld"_qs, u"<none>"_qs},
    });
}

// Chat programs copy links whose path, query or fragment is in another
// script; the platforms' apps write their words straight after their links.
TEST(LinkExtractorTest, KeepsNonAsciiPathsWholeButEndsPlatformLinksAtTheirWords)
{
    expectLinks({
        {u"https://zh.wikipedia.org/wiki/北京"_qs, u"https://zh.wikipedia.org/wiki/北京"_qs},
        {u"  https://baike.baidu.com/item/长城/14251\n"_qs, u"https://baike.baidu.com/item/长城/14251"_qs},
        {u"https://www.google.com/search?q=北京天气#结果２"_qs,
         u"https://www.google.com/search?q=北京天气#结果２"_qs},
        {u"https://ja.wikipedia.org/wiki/𠮷野家"_qs, u"https://ja.wikipedia.org/wiki/𠮷野家"_qs},
        {u"https://hi.wikipedia.org/wiki/हिन्दी"_qs, u"https://hi.wikipedia.org/wiki/हिन्दी"_qs},
        {u"看看 https://zh.wikipedia.org/wiki/北京，很好"_qs, u"https://zh.wikipedia.org/wiki/北京"_qs},
        {u"https://zh.wikipedia.org/wiki/北京。"_qs, u"https://zh.wikipedia.org/wiki/北京"_qs},
        {u"https://zh.wikipedia.org/wiki/北京【推荐】"_qs, u"https://zh.wikipedia.org/wiki/北京"_qs},
        {u"https://zh.wikipedia.org/wiki/北京😀好 上海"_qs, u"https://zh.wikipedia.org/wiki/北京"_qs},
        {u"https://zh.wikipedia.org/wiki/北京❤️"_qs, u"https://zh.wikipedia.org/wiki/北京"_qs},
        {u"https://zh.wikipedia.org/wiki/北京1️⃣ 好"_qs, u"https://zh.wikipedia.org/wiki/北京"_qs},
        {u"https://example.com/step1️⃣"_qs, u"https://example.com/step"_qs},
        {u"https://zh.wikipedia.org/wiki/北京ℹ️"_qs, u"https://zh.wikipedia.org/wiki/北京"_qs},
        {u"https://example.com/step1\u20E3 好"_qs, u"https://example.com/step"_qs},
        {u"https://example.com/a#️⃣话题"_qs, u"https://example.com/a"_qs},
        {u"https://example.com/step1\uFE0E 好"_qs, u"https://example.com/step1"_qs},
        {u"https://zh.wikipedia.org/wiki/北京👨\u200D👩\u200D👧"_qs, u"https://zh.wikipedia.org/wiki/北京"_qs},
        // Every ASCII character a link holds unescaped keeps it going.
        {u"看 https://www.example.edu/~lee/notes 好"_qs, u"https://www.example.edu/~lee/notes"_qs},
        {u"看 https://example.com/a-b_c.d~e!f$g&h'i(j)k*l+m,n;o=p:q@r[0]?s=t#u 好"_qs,
         u"https://example.com/a-b_c.d~e!f$g&h'i(j)k*l+m,n;o=p:q@r[0]?s=t#u"_qs},
        {u"（https://zh.wikipedia.org/wiki/北京）"_qs, u"https://zh.wikipedia.org/wiki/北京"_qs},
        {u"(https://zh.wikipedia.org/wiki/北京)"_qs, u"https://zh.wikipedia.org/wiki/北京"_qs},
        {u"“https://zh.wikipedia.org/wiki/北京”"_qs, u"https://zh.wikipedia.org/wiki/北京"_qs},
        {u"https://zh.wikipedia.org/wiki/北京_(消歧义)"_qs,
         u"https://zh.wikipedia.org/wiki/北京_(消歧义)"_qs},
        {u"见zh.wikipedia.org/wiki/北京。"_qs, u"http://zh.wikipedia.org/wiki/北京"_qs},
        {u"https://example.com北京"_qs, u"https://example.com"_qs},
        // Share texts of the platforms' apps.
        {u"复制链接https://v.douyin.com/Ab3dEf/打开抖音，看看【小王的作品】"_qs,
         u"https://v.douyin.com/Ab3dEf/"_qs},
        {u"【小红书】周末 http://xhslink.com/a/AbC123复制本条信息，打开【小红书】App查看"_qs,
         u"http://xhslink.com/a/AbC123"_qs},
        {u"【#话题#】今天 http://t.cn/A6abcDEf来自微博"_qs, u"http://t.cn/A6abcDEf"_qs},
        {u"https://weibo.com/1234567890/NabcD12ef转发微博"_qs, u"https://weibo.com/1234567890/NabcD12ef"_qs},
        {u"https://x.com/someone/status/1790000000000000000?s=46&t=AbCd看看"_qs,
         u"https://x.com/someone/status/1790000000000000000?s=46&t=AbCd"_qs},
        {u"【日落-哔哩哔哩】https://b23.tv/AbCdEf1哔哩哔哩"_qs, u"https://b23.tv/AbCdEf1"_qs},
        {u"https://mp.weixin.qq.com/s/AbCdEfGh公众号文章"_qs, u"https://mp.weixin.qq.com/s/AbCdEfGh"_qs},
        {u"https://www.instagram.com/p/C1a2b3c4d5e/?igsh=MWQ1ZGU=看"_qs,
         u"https://www.instagram.com/p/C1a2b3c4d5e/?igsh=MWQ1ZGU="_qs},
        {u"https://www.threads.net/@someone/post/C1a2b3?xmt=AQGz看"_qs,
         u"https://www.threads.net/@someone/post/C1a2b3?xmt=AQGz"_qs},
        {u"https://pin.it/1AbCdEf看看"_qs, u"https://pin.it/1AbCdEf"_qs},
        {u"http://music.163.com/song?id=186016&userid=1歌"_qs,
         u"http://music.163.com/song?id=186016&userid=1"_qs},
    });
}

// A host may be written in any script; words glued to an ASCII host are not
// part of it, whatever script a link's path is in.
TEST(LinkExtractorTest, KeepsHostsInOtherScriptsWholeAndTheWordsAfterAnAsciiHostOut)
{
    expectLinks({
        {u"https://münchen.de/"_qs, u"https://münchen.de/"_qs},
        {u" https://例子.测试/路径?q=值#片段.\n"_qs, u"https://例子.测试/路径?q=值#片段."_qs},
        {u"HTTPS://Пример.рф"_qs, u"https://пример.рф"_qs},
        {u"看 https://www.例子.com/a，好"_qs, u"https://www.例子.com/a"_qs},
        {u"看 https://mädchen.de。"_qs, u"https://mädchen.de"_qs},
        {u"链接https://例子.测试/路径😀好"_qs, u"https://例子.测试/路径"_qs},
        {u"链接https://user@例子.测试:8080看看"_qs, u"https://user@例子.测试:8080"_qs},
        {u"链接https://example.com看看"_qs, u"https://example.com"_qs},
        {u"链接https://例子.com看看"_qs, u"https://例子.com"_qs},
        {u"https://münchen.de/看看"_qs, u"https://münchen.de/看看"_qs},
        {u"看 https://mu\u0308nchen.de/ 好"_qs, u"https://münchen.de/"_qs},
        {u"看 https://bio-äpfel.de/ 好"_qs, u"https://bio-äpfel.de/"_qs},
        {u"复制链接https://v.douyin.com/Ab3dEf/打开抖音"_qs, u"https://v.douyin.com/Ab3dEf/"_qs},
        {u"https://v.douyin.com/Ab3dEf/打开抖音"_qs, u"https://v.douyin.com/Ab3dEf/"_qs},
    });
    // Saved links are compared in this form: two hosts stay two links.
    EXPECT_NE(LinkExtractor::firstURL(u"https://münchen.de/"_qs)->toString(QUrl::FullyEncoded),
              LinkExtractor::firstURL(u"https://mädchen.de/"_qs)->toString(QUrl::FullyEncoded));
}

// A label is read whole, whatever its hyphens, digits and scripts; only
// letters of another script glued to the host's last label stay out.
TEST(LinkExtractorTest, ReadsAHostLabelByLabel)
{
    expectLinks({
        {u"https://интернет-магазин.рф/каталог"_qs, u"https://интернет-магазин.рф/каталог"_qs},
        {u"看 https://интернет-аптека.рф/ 好"_qs, u"https://интернет-аптека.рф/"_qs},
        {u"https://2гис.рф/москва"_qs, u"https://2гис.рф/москва"_qs},
        {u"https://example-例子.cn/a"_qs, u"https://example-例子.cn/a"_qs},
        {u"https://例子-2.cn/a"_qs, u"https://例子-2.cn/a"_qs},
        {u"https://می\u200Cخواهم.ir/"_qs, u"https://می\u200Cخواهم.ir/"_qs},
        {u"https://пример.рф看看"_qs, u"https://пример.рф"_qs},
        {u"https://例え.jpです"_qs, u"https://例え.jp"_qs},
        {u"https://例子.中国です"_qs, u"https://例子.中国"_qs},
        {u"https://example.com-看看"_qs, u"https://example.com"_qs},
        // No label ends in a hyphen: one after the host is a dash.
        {u"见 https://example.com- 很好"_qs, u"https://example.com"_qs},
        {u"链接https://例子.中国-，看看"_qs, u"https://例子.中国"_qs},
        {u"https://a-b-c.example.com/ 好"_qs, u"https://a-b-c.example.com/"_qs},
        // Labels IDNA forbids, though Qt encodes them: a leading hyphen, one
        // before a dot, a mark first, mixed directions, joiners out of place.
        {u"看 https://-链接.cn/a 或 https://例子-.cn/a 或 https://\u0301例.cn/a 好"_qs, u"<none>"_qs},
        {u"看 https://4س.com/a 或 https://x.comבnnn.com/a 或 https://a\u200Cb.com/a 好"_qs, u"<none>"_qs},
        {u"看 https://2³1111111111111111111111/a 或 http://[fe80::1%1]:80/ 好"_qs, u"<none>"_qs},
        // A name that stops before a mark or a joiner is not whole.
        {u"看 https://zh\u0488.example.com/a 或 https://ی\u200C.com/a 好"_qs, u"<none>"_qs},
        {u"看 https://葛\U000E0100飾.jp/ 或 https://ja.wik\uFE0Fi/ 好"_qs, u"<none>"_qs},
        // At most 253 characters in the ASCII form, which is longer for other scripts.
        {u"看 https://"_qs + u"例."_qs.repeated(100) + u"cn/ 好"_qs, u"<none>"_qs},
        {u"看 https://"_qs + u"a."_qs.repeated(125) + u"cn/ 好"_qs,
         u"https://"_qs + u"a."_qs.repeated(125) + u"cn/"_qs},
        {u"https://-example.com/a 看 https://b.example.com"_qs, u"https://b.example.com"_qs},
        // A name that QUrl would read as a number is no host as written.
        {u"https://2看看"_qs, u"https://2看看"_qs},
        {u"https://2，看看"_qs, u"<none>"_qs},
        {u"https://1.2.3/a 或 https://1.2.3.4:8080/a"_qs, u"https://1.2.3.4:8080/a"_qs},
        {u"https://0x7f.1/a 或 https://[::1]/a"_qs, u"https://[::1]/a"_qs},
        {u"https://a.example.com:65536/ 或 https://b.example.com:65535/"_qs,
         u"https://b.example.com:65535/"_qs},
    });
}

// A host written without a scheme is ASCII and begins and ends where a word
// does: never a tail or a head of a word in Latin letters.
TEST(LinkExtractorTest, TakesAHostWithoutSchemeOnlyAsAWholeWord)
{
    expectLinks({
        {u"münchen.de"_qs, u"<none>"_qs},
        {u"www.münchen.de/kultur"_qs, u"<none>"_qs},
        {u"bücher.de 或 köcher.de"_qs, u"<none>"_qs},
        {u"Straße.de"_qs, u"<none>"_qs},
        {u"mu\u0308nchen.de"_qs, u"<none>"_qs},
        {u"www.ab.bücher.de"_qs, u"<none>"_qs},
        {u"见 example.deü"_qs, u"<none>"_qs},
        {u"写信 john.de@example.com"_qs, u"<none>"_qs},
        {u"链接example.com/a 看看"_qs, u"http://example.com/a"_qs},
        {u"сайтexample.com/a"_qs, u"http://example.com/a"_qs},
        {u"看example.com看看"_qs, u"http://example.com"_qs},
        {u"看 example.com例.cn 或 e.com看看链ple.com 好"_qs, u"<none>"_qs},
        {u"见 example.com\u0488 好"_qs, u"<none>"_qs},
        {u"visit example.com.Thanks"_qs, u"http://example.com"_qs},
        {u"见 www.example.zz/a 或 example.zz/b"_qs, u"http://www.example.zz/a"_qs},
        {u"见 example.com:8080/a。"_qs, u"http://example.com:8080/a"_qs},
    });
}

// Shop texts write "100%正品"; a "%" that starts no escape loses no link.
TEST(LinkExtractorTest, ReadsAPercentSignThatStartsNoEscape)
{
    expectLinks({
        {u"推荐https://example.com/商品100%正品"_qs, u"https://example.com/商品100%25正品"_qs},
        {u"看 https://example.com/a%zz 好"_qs, u"https://example.com/a%25zz"_qs},
        {u"看 https://example.com/a%2 好"_qs, u"https://example.com/a%252"_qs},
        {u"看 https://example.com/a%20b 好"_qs, u"https://example.com/a%20b"_qs},
        {u"涨了 https://example.com/50%，好"_qs, u"https://example.com/50"_qs},
        {u"https://v.douyin.com/Ab3dEf/100%好评"_qs, u"https://v.douyin.com/Ab3dEf/100"_qs},
        {u"https://example.com/路%https://example.com/路%"_qs,
         u"https://example.com/路%25https://example.com/路%25"_qs},
    });
}

// Persian writes U+200C inside words, Japanese place names pick a kanji's
// form with a selector, names are written with middle dots: none ends a link.
TEST(LinkExtractorTest, KeepsJoinersAndLetterSelectorsInWords)
{
    expectLinks({
        {u"https://fa.wikipedia.org/wiki/می\u200Cخواهم"_qs,
         u"https://fa.wikipedia.org/wiki/می\u200Cخواهم"_qs},
        {u"看 https://fa.wikipedia.org/wiki/می\u200Cخواهم، خوب"_qs,
         u"https://fa.wikipedia.org/wiki/می\u200Cخواهم"_qs},
        {u"https://ja.wikipedia.org/wiki/葛\U000E0100飾区"_qs,
         u"https://ja.wikipedia.org/wiki/葛\U000E0100飾区"_qs},
        {u"https://hi.wikipedia.org/wiki/क\u200Dष"_qs, u"https://hi.wikipedia.org/wiki/क\u200Dष"_qs},
        {u"https://example.com/路\u200C 好"_qs, u"https://example.com/路"_qs},
        // Punctuation written inside words keeps a path going; around it, it ends it.
        {u"https://zh.wikipedia.org/wiki/列夫·托尔斯泰，很好"_qs,
         u"https://zh.wikipedia.org/wiki/列夫·托尔斯泰"_qs},
        {u"「https://ja.wikipedia.org/wiki/ドナルド・トランプ」を見て"_qs,
         u"https://ja.wikipedia.org/wiki/ドナルド・トランプ"_qs},
        {u"https://he.wikipedia.org/wiki/צה״ל"_qs, u"https://he.wikipedia.org/wiki/צה״ל"_qs},
        {u"Voir https://fr.wikipedia.org/wiki/L’Été ici"_qs, u"https://fr.wikipedia.org/wiki/L’Été"_qs},
        {u"‘https://fr.wikipedia.org/wiki/Été’"_qs, u"https://fr.wikipedia.org/wiki/Été"_qs},
        {u"https://zh.wikipedia.org/wiki/北京· 上海"_qs, u"https://zh.wikipedia.org/wiki/北京"_qs},
        {u"https://v.douyin.com/Ab3dEf/·好"_qs, u"https://v.douyin.com/Ab3dEf/"_qs},
    });
}

// Words, a host label and a top-level domain of one script; `group` tells
// the script of the domain and of the words' first letter (Persian is
// written in Arabic letters).
struct ScriptSample {
    int group;
    QString word;
    QString label;
    QString topLevel;
    bool rightToLeft = false;
};

const ScriptSample scriptSamples[] = {
    {0, u"Grüße"_qs, u"bücher-straße"_qs, u"de"_qs},
    {1, u"смотри"_qs, u"интернет-магазин"_qs, u"рф"_qs},
    {2, u"δείτε"_qs, u"παράδειγμα"_qs, u"ελ"_qs},
    {3, u"انظر"_qs, u"مثال"_qs, u"مصر"_qs, true},
    {3, u"ببین"_qs, u"می\u200Cخواهم"_qs, u"ایران"_qs, true},
    {4, u"ראה"_qs, u"דוגמה"_qs, u"ישראל"_qs, true},
    {5, u"ดูนี่"_qs, u"ตัวอย่าง"_qs, u"ไทย"_qs},
    {6, u"देखें"_qs, u"उदाहरण"_qs, u"भारत"_qs},
    {7, u"看看"_qs, u"例子"_qs, u"中国"_qs},
    {9, u"ここ見て"_qs, u"例え"_qs, u"みんな"_qs},
    {8, u"보세요"_qs, u"예시"_qs, u"한국"_qs},
};

// A host label as names are written: whole, with a hyphen and digits, after
// a digit, or after an ASCII word and a hyphen. A name with a label written
// right to left has neither of the last two: IDNA forbids them there.
QString labelForm(const QString &label, int form, bool rightToLeft)
{
    const QString forms[] = {label, label + u"-24"_qs, u"2"_qs + label, u"shop-"_qs + label};
    return forms[form % (rightToLeft ? 2 : 4)];
}

// Texts composed from parts in every script: words before, a host whose
// labels mix scripts, hyphens and digits, a path and query in other scripts,
// then white space or punctuation and words after. The link found is the
// link composed.
TEST(LinkExtractorTest, FindsTheLinkComposedInEveryScript)
{
    const QString before[] = {u" "_qs, u"："_qs, u"\n"_qs, QString()};
    const QString after[] = {u" "_qs, u"，"_qs, u"。"_qs, u"! "_qs, u"\n"_qs, u"、"_qs, u". "_qs, u"）"_qs};
    const qsizetype count = std::size(scriptSamples);
    for (qsizetype a = 0; a < count; ++a) {
        for (qsizetype b = 0; b < count; ++b) {
            const ScriptSample &first = scriptSamples[a], &last = scriptSamples[b];
            const ScriptSample &path = scriptSamples[(a + 1) % count],
                               &query = scriptSamples[(b + 2) % count];
            const ScriptSample &words = scriptSamples[(a + b + 3) % count];
            const QString host = labelForm(first.label, int(a + b), first.rightToLeft || last.rightToLeft) +
                                 u"."_qs + last.topLevel;
            const QString links[] = {u"https://"_qs + host, u"https://"_qs + host + u"/"_qs + path.word +
                                                                u"/a-1?q="_qs + query.word};
            // Words are glued to the link only where they cannot be read as part of it.
            const QString lead = words.group == 0 && before[b % 4].isEmpty() ? u" "_qs : before[b % 4];
            for (const QString &link : links) {
                const QString text = words.word + lead + link + after[(a + b) % 8] + words.word;
                const auto url = LinkExtractor::firstURL(text);
                ASSERT_TRUE(url) << text.toStdString();
                EXPECT_EQ(url->toString(QUrl::FullyEncoded), QUrl(link).toString(QUrl::FullyEncoded))
                    << text.toStdString();
            }
            if (words.group != last.group) {
                const QString glued = words.word + lead + links[0] + words.word;
                const auto url = LinkExtractor::firstURL(glued);
                ASSERT_TRUE(url) << glued.toStdString();
                EXPECT_EQ(url->toString(QUrl::FullyEncoded), QUrl(links[0]).toString(QUrl::FullyEncoded))
                    << glued.toStdString();
            }
        }
    }
}

} // namespace
