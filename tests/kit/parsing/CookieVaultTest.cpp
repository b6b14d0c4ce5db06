#include "CookieVault.h"
#include "TamselStore.h"
#include "TestHome.h"

namespace {

using CookieVaultTest = HomeTest;

TEST_F(CookieVaultTest, AnEmptyCookieIsKeptButReadsAsNone)
{
    CookieVault::set(QStringLiteral("a=1"), Platform::weibo);
    EXPECT_EQ(CookieVault::header(Platform::weibo), QStringLiteral("a=1"));
    EXPECT_FALSE(CookieVault::header(Platform::douyin).has_value());
    CookieVault::set(QString(), Platform::weibo);
    EXPECT_TRUE(TamselStore::defaults().contains("cookie.weibo"));
    EXPECT_FALSE(CookieVault::header(Platform::weibo).has_value());
    CookieVault::set(std::nullopt, Platform::weibo);
    EXPECT_FALSE(TamselStore::defaults().contains("cookie.weibo"));
}

TEST_F(CookieVaultTest, AStoredCookieReplacesTheCallersWhateverItsCase)
{
    const HTTPClient::Headers extra{{"Referer", "r"}, {"cookie", "old"}};
    EXPECT_EQ(CookieVault::headers(Platform::douyin, extra), extra);
    CookieVault::set(QStringLiteral("sid=9"), Platform::douyin);
    EXPECT_EQ(CookieVault::headers(Platform::douyin, extra),
              (HTTPClient::Headers{{"Referer", "r"}, {"Cookie", "sid=9"}}));
}

} // namespace
