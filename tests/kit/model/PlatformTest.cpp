#include "HostTable.h"
#include "Platform.h"
#include "TestHome.h"

namespace {

Platform detect(const char *link)
{
    return Platform::detect(QUrl(QString::fromUtf8(link)));
}

TEST(PlatformTest, DetectsHostsAndSubdomainsButNotGluedNamesNorLocal)
{
    const std::pair<const char *, Platform> cases[] = {
        {"https://m.weibo.cn/status/1", Platform::weibo},
        {"https://aweibo.com/1", Platform::web},
        // A music-site subdomain that also contains the pin board name: the earlier rule wins.
        {"https://pinterest.music.163.com/", Platform::pinterest},
        {"https://local/", Platform::web},
    };
    for (const auto &[link, platform] : cases)
        EXPECT_EQ(detect(link), platform) << link;
}

TEST(PlatformTest, DetectionFollowsTheHostTable)
{
    TestHome home;
    HostTable::setOverride(Host::WeiboCn, QStringLiteral("127.0.0.4"), 4433);
    EXPECT_EQ(detect("https://127.0.0.4:4433/status/1"), Platform::weibo);
    EXPECT_EQ(detect("https://m.weibo.cn/status/1"), Platform::web);
}

} // namespace
