#include "CookieVault.h"
#include "HostTable.h"
#include "TamselStore.h"
#include "TestHome.h"

namespace {

using CookieVaultTest = HomeTest;

TEST_F(CookieVaultTest, StoresPerPlatformAndEmptyReadsAsNone)
{
    CookieVault::set(QStringLiteral("a=1; b=2"), Platform::weibo);
    EXPECT_EQ(TamselStore::defaults().string(QStringLiteral("cookie.weibo")), QStringLiteral("a=1; b=2"));
    EXPECT_EQ(CookieVault::header(Platform::weibo), QStringLiteral("a=1; b=2"));
    EXPECT_FALSE(CookieVault::header(Platform::douyin).has_value());

    CookieVault::set(QString(), Platform::weibo);
    EXPECT_TRUE(TamselStore::defaults().contains(QStringLiteral("cookie.weibo")));
    EXPECT_FALSE(CookieVault::header(Platform::weibo).has_value());

    CookieVault::set(std::nullopt, Platform::weibo);
    EXPECT_FALSE(TamselStore::defaults().contains(QStringLiteral("cookie.weibo")));
}

TEST_F(CookieVaultTest, HeadersAddOrReplaceTheCookieOnlyWhenOneIsStored)
{
    const HTTPClient::Headers extra{{QStringLiteral("Referer"), QStringLiteral("r")},
                                    {QStringLiteral("cookie"), QStringLiteral("old")}};
    EXPECT_EQ(CookieVault::headers(Platform::douyin, extra), extra);

    CookieVault::set(QStringLiteral("sid=9"), Platform::douyin);
    const HTTPClient::Headers expected{{QStringLiteral("Referer"), QStringLiteral("r")},
                                       {QStringLiteral("Cookie"), QStringLiteral("sid=9")}};
    EXPECT_EQ(CookieVault::headers(Platform::douyin, extra), expected);
}

TEST_F(CookieVaultTest, SignInConstantsComeFromTheHostsTable)
{
    HostTable::setOverride(Host::WeiboMain, QStringLiteral("127.0.0.4"), 4431);
    EXPECT_EQ(CookieVault::domains(Platform::weibo), (QStringList{"127.0.0.4", "weibo.cn"}));
    EXPECT_EQ(CookieVault::domains(Platform::douyin), (QStringList{"douyin.com", "iesdouyin.com"}));
    EXPECT_EQ(CookieVault::domains(Platform::xiaohongshu), QStringList{"xiaohongshu.com"});
    EXPECT_EQ(CookieVault::loginURL(Platform::xiaohongshu), QUrl("https://www.xiaohongshu.com/explore"));
    EXPECT_EQ(CookieVault::loginURL(Platform::douyin), QUrl("https://www.douyin.com/"));
    EXPECT_EQ(CookieVault::loginURL(Platform::weibo), QUrl("https://m.weibo.cn/"));
    for (Platform platform : {Platform::x, Platform::web, Platform::local}) {
        EXPECT_TRUE(CookieVault::domains(platform).isEmpty());
        EXPECT_FALSE(CookieVault::loginURL(platform).has_value());
    }
}

} // namespace
