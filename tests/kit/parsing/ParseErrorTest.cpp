#include "ParseError.h"
#include "TestHome.h"

namespace {

TEST(ParseErrorTest, MessagesCarryTheirPayload)
{
    EXPECT_EQ(ParseError::badResponse(404).message(), QStringLiteral("请求失败（HTTP 404）"));
    EXPECT_EQ(ParseError::badResponse(-1).message(), QStringLiteral("请求失败（HTTP -1）"));
    EXPECT_EQ(ParseError::badResponse(-1).status(), -1);
    EXPECT_EQ(ParseError::structureChanged(QStringLiteral("note")).message(),
              QStringLiteral("页面结构变化，解析失败：note"));
    EXPECT_EQ(ParseError::noURL().message(), QStringLiteral("内容中未发现有效链接"));
    EXPECT_EQ(ParseError::notSupported().kind(), ParseError::Kind::notSupported);
    EXPECT_STREQ(ParseError::notSupported().what(), "暂不支持该链接");
}

TEST(ParseErrorTest, LoginRequiredNamesThePlatformTwice)
{
    const ParseError error = ParseError::loginRequired(Platform::xiaohongshu);
    EXPECT_EQ(error.message(),
              QStringLiteral("小红书 拒绝了这次访问，请从 小红书 App 里重新复制分享链接再试"));
    EXPECT_EQ(error.platform(), Platform::xiaohongshu);
}

TEST(ParseErrorTest, APayloadLookingLikeAPlaceholderStaysLiteral)
{
    EXPECT_EQ(ParseError::structureChanged(QStringLiteral("%1 %2")).message(),
              QStringLiteral("页面结构变化，解析失败：%1 %2"));
}

} // namespace
