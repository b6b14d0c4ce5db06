#include "HostTable.h"
#include "Platform.h"
#include "TestHome.h"

namespace {

Platform detect(const char *link)
{
    return Platform::detect(QUrl(QString::fromUtf8(link)));
}

TEST(PlatformTest, RawValuesRoundTripExactlyAndNothingElse)
{
    for (Platform platform : Platform::allCases())
        EXPECT_EQ(Platform::fromRawValue(platform.rawValue()), platform);
    EXPECT_EQ(Platform::allCases().size(), 12);
    EXPECT_FALSE(Platform::fromRawValue(QStringLiteral("Weibo")).has_value());
    EXPECT_FALSE(Platform::fromRawValue(QStringLiteral(" weibo")).has_value());
    EXPECT_EQ(Platform::fromRawValueOrWeb(QStringLiteral("myspace")), Platform::web);
}

TEST(PlatformTest, DetectsHostsAndSubdomainsButNotGluedNames)
{
    EXPECT_EQ(detect("https://WWW.XIAOHONGSHU.COM/explore/1"), Platform::xiaohongshu);
    EXPECT_EQ(detect("https://m.weibo.cn/status/1"), Platform::weibo);
    EXPECT_EQ(detect("https://aweibo.com/1"), Platform::web);
    EXPECT_EQ(detect("https://twitter.com/a/status/1"), Platform::x);
    EXPECT_EQ(detect("https://b23.tv/abc"), Platform::bilibili);
    EXPECT_EQ(detect("https://mp.weixin.qq.com/s/abc"), Platform::wechat);
    EXPECT_EQ(detect("https://weixin.qq.com/s/abc"), Platform::web);
    EXPECT_EQ(detect("https://www.threads.net/@a/post/1"), Platform::threads);
    EXPECT_EQ(detect("https://music.163.com/song?id=1"), Platform::netease);
    EXPECT_EQ(detect("https://example.com/"), Platform::web);
    EXPECT_EQ(detect("file:///tmp/a.html"), Platform::web);
}

TEST(PlatformTest, RegionalPinterestDomainsAndTheRuleOrder)
{
    EXPECT_EQ(detect("https://www.pinterest.co.uk/pin/1"), Platform::pinterest);
    EXPECT_EQ(detect("https://pin.it/abc"), Platform::pinterest);
    // A music-site subdomain that also contains the pin board name: the earlier rule wins.
    EXPECT_EQ(detect("https://pinterest.music.163.com/"), Platform::pinterest);
}

TEST(PlatformTest, DetectNeverYieldsLocal)
{
    for (const char *link : {"local://note", "https://local/", "kepsel://local"})
        EXPECT_NE(detect(link), Platform::local);
}

TEST(PlatformTest, DetectionFollowsTheHostTable)
{
    TestHome home;
    HostTable::setOverride(Host::WeiboCn, QStringLiteral("127.0.0.4"), 4433);
    EXPECT_EQ(detect("https://127.0.0.4:4433/status/1"), Platform::weibo);
    EXPECT_EQ(detect("https://m.weibo.cn/status/1"), Platform::web);
}

TEST(PlatformTest, MediaHeadersAndNames)
{
    EXPECT_EQ(Platform(Platform::douyin).mediaHeaders().size(), 2);
    EXPECT_EQ(Platform(Platform::douyin).mediaHeaders().value(QStringLiteral("User-Agent")), UserAgent::iPhone);
    EXPECT_EQ(Platform(Platform::weibo).mediaHeaders().value(QStringLiteral("Referer")),
              QStringLiteral("https://weibo.com/"));
    for (Platform p : {Platform::x, Platform::wechat, Platform::instagram, Platform::threads,
                       Platform::pinterest, Platform::web, Platform::local})
        EXPECT_TRUE(p.mediaHeaders().isEmpty()) << p.rawValue().toStdString();
    EXPECT_EQ(Platform(Platform::x).displayName(), QStringLiteral("X"));
    EXPECT_EQ(Platform(Platform::netease).displayName(), QStringLiteral("网易云音乐"));
    EXPECT_EQ(Platform(Platform::pinterest).tintHex(), QStringLiteral("#E60023"));
}

} // namespace
