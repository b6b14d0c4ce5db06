#include "ParseError.h"
#include "TestHome.h"

namespace {

TEST(ParseErrorTest, MessagesCarryTheirPayloadLiterally)
{
    EXPECT_EQ(ParseError::structureChanged("%1 %2").message(),
              QStringLiteral("页面结构变化，解析失败：%1 %2"));
    EXPECT_EQ(ParseError::loginRequired(Platform::xiaohongshu).message(),
              QStringLiteral("小红书 拒绝了这次访问，请从 小红书 App 里重新复制分享链接再试"));
}

} // namespace
