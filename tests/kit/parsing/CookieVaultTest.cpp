#include "CookieVault.h"
#include "HostTable.h"
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

TEST_F(CookieVaultTest, DomainsFollowTheHostsTable)
{
    HostTable::setOverride(Host::WeiboMain, "127.0.0.4", 4431);
    EXPECT_EQ(CookieVault::domains(Platform::weibo), (QStringList{"127.0.0.4", "weibo.cn"}));
    EXPECT_TRUE(CookieVault::domains(Platform::web).isEmpty());
    EXPECT_FALSE(CookieVault::loginURL(Platform::web).has_value());
}

} // namespace
