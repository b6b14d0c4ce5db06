#include "LinkExtractor.h"

#include <gtest/gtest.h>

namespace {

TEST(LinkExtractorTest, FindsTheFirstWebLinkInShareTexts)
{
    const QString none = QStringLiteral("<none>");
    QString longText;
    for (int i = 0; i < 2000; ++i)
        longText += u"分享😀 a.b-c_d photo.jpg, "_qs;
    const std::pair<QString, QString> cases[] = {
        {u"【小红书】周末去哪儿😆 http://xhslink.com/a/AbC123，复制本条信息，打开【小红书】App查看精彩内容！"_qs,
         u"http://xhslink.com/a/AbC123"_qs},
        {u"7.43 复制打开抖音，看看【小王的作品】日落 #旅行 https://v.douyin.com/iRNBho6u/ Xzb:/ m@q.Eh 04/12"_qs,
         u"https://v.douyin.com/iRNBho6u/"_qs},
        {u"网址 www.example.com/path?x=1。"_qs, u"http://www.example.com/path?x=1"_qs},
        {u"See https://example.com/a_(b)."_qs, u"https://example.com/a_(b)"_qs},
        {u"打开 snssdk1128://aweme/detail/1 或 https://b.com"_qs, u"https://b.com"_qs},
        {longText + u"https://end.com/z"_qs, u"https://end.com/z"_qs},
        {u"https://中文.com"_qs, none},
        {u"ftp://files.example.com/a"_qs, none},
        {QString(100000, u'a') + u".notatld"_qs, none},
    };
    for (const auto &[text, link] : cases) {
        const auto url = LinkExtractor::firstURL(text);
        EXPECT_EQ(url ? url->toString(QUrl::FullyEncoded) : none, link) << text.left(60).toStdString();
    }
}

} // namespace
