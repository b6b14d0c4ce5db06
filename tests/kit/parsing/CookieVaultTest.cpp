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

} // namespace
