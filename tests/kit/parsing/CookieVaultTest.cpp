#include "CookieVault.h"
#include "TestHome.h"

namespace {

using CookieVaultTest = HomeTest;

TEST_F(CookieVaultTest, AStoredCookieReplacesTheCallersWhateverItsCase)
{
    const HTTPClient::Headers extra{{"Referer", "r"}, {"cookie", "old"}};
    EXPECT_EQ(CookieVault::headers(Platform::douyin, extra), extra);
    CookieVault::set(QStringLiteral("sid=9"), Platform::douyin);
    EXPECT_EQ(CookieVault::headers(Platform::douyin, extra),
              (HTTPClient::Headers{{"Referer", "r"}, {"Cookie", "sid=9"}}));
}

TEST_F(CookieVaultTest, AnEmptyStoredCookieIsNoCookie)
{
    CookieVault::set(QString(), Platform::weibo);
    EXPECT_EQ(CookieVault::header(Platform::weibo), std::nullopt);
    const HTTPClient::Headers extra{{"Referer", "r"}};
    EXPECT_EQ(CookieVault::headers(Platform::weibo, extra), extra);
}

} // namespace
