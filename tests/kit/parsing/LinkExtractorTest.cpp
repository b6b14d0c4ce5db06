#include "LinkExtractor.h"

#include <gtest/gtest.h>

namespace {

QString found(const QString &text)
{
    const auto url = LinkExtractor::firstURL(text);
    return url ? url->toString(QUrl::FullyEncoded) : QStringLiteral("<none>");
}

TEST(LinkExtractorTest, FindsTheFirstWebLinkInText)
{
    const std::pair<QString, QString> cases[] = {
        // Share texts from phone apps.
        {u"【小红书】周末去哪儿😆 http://xhslink.com/a/AbC123，复制本条信息，打开【小红书】App查看精彩内容！"_qs,
         u"http://xhslink.com/a/AbC123"_qs},
        {u"7.43 复制打开抖音，看看【小王的作品】日落 #旅行 https://v.douyin.com/iRNBho6u/ Xzb:/ m@q.Eh 04/12"_qs,
         u"https://v.douyin.com/iRNBho6u/"_qs},
        {u"看这个（https://weibo.com/123/Nabc）好笑"_qs, u"https://weibo.com/123/Nabc"_qs},
        {u"原文：https://mp.weixin.qq.com/s/xYz_-9。"_qs, u"https://mp.weixin.qq.com/s/xYz_-9"_qs},
        {u"🔥🔥https://a.com/x🔥🔥"_qs, u"https://a.com/x"_qs},
        {u"看 HTTPS://EXAMPLE.COM/AbC 吧"_qs, u"https://example.com/AbC"_qs},
        {u"\n  https://a.com/p?q=1&r=B#Frag \n"_qs, u"https://a.com/p?q=1&r=B#Frag"_qs},
        {u"https://a.com/p[1]?a[b]=c"_qs, u"https://a.com/p[1]?a[b]=c"_qs},
        {u"搜 https://a.com/s?q=%E4%B8%AD&x=%2F 吧"_qs, u"https://a.com/s?q=%E4%B8%AD&x=%2F"_qs},
        // Without a scheme.
        {u"网址 www.example.com/path?x=1。"_qs, u"http://www.example.com/path?x=1"_qs},
        {u"链接:b23.tv/xyz 打开"_qs, u"http://b23.tv/xyz"_qs},
        {u"at example.com:8080/x, then"_qs, u"http://example.com:8080/x"_qs},
        // Trailing punctuation ends the link.
        {u"See https://example.com/a_(b)."_qs, u"https://example.com/a_(b)"_qs},
        {u"said \"https://a.com/x\", and"_qs, u"https://a.com/x"_qs},
        {u"go to https://a.com/dir/: now"_qs, u"https://a.com/dir/"_qs},
        // Earlier non-web links are skipped.
        {u"一 https://one.com/1 二 https://two.com/2"_qs, u"https://one.com/1"_qs},
        {u"联系 me@example.com 或 https://example.org/p"_qs, u"https://example.org/p"_qs},
        {u"打开 snssdk1128://aweme/detail/1 或 https://b.com"_qs, u"https://b.com"_qs},
        {u"http:foo then https://a.com/b"_qs, u"https://a.com/b"_qs},
    };
    for (const auto &[text, link] : cases)
        EXPECT_EQ(found(text), link) << text.toStdString();
}

TEST(LinkExtractorTest, TextsWithoutWebLinkGiveNothing)
{
    QString longText;
    for (int i = 0; i < 2000; ++i)
        longText += u"分享😀 a.b-c_d photo.jpg, "_qs;
    EXPECT_EQ(found(longText + u"https://end.com/z"_qs), u"https://end.com/z"_qs);
    for (const QString &text :
         {u" \n\t "_qs, u"今天天气不错 photo.jpg v1.2.3 e.g. 3.14"_qs, u"mailto:me@example.com"_qs,
          u"myapp://open?url=https://a.com"_qs, u"http:/only/a/path"_qs, u"https://"_qs,
          u"https://中文.com"_qs, u"ftp://files.example.com/a"_qs, u"https://a.com/%zz"_qs,
          QString(100000, u'a') + u".notatld"_qs})
        EXPECT_EQ(found(text), QStringLiteral("<none>")) << text.left(40).toStdString();
}

} // namespace
