#include "ParsedMedia.h"
#include "TestHome.h"

namespace {

TEST(ParsedMediaTest, OnlyProtocolRelativeAndHttpLinksBecomeHttps)
{
    const ParsedMedia media(MediaKind::video, "//img.example/a.jpg",
                            QStringLiteral("http://v.example/a.mp4"));
    EXPECT_EQ(media.url, QStringLiteral("https://img.example/a.jpg"));
    EXPECT_EQ(media.videoURL, QStringLiteral("https://v.example/a.mp4"));
    for (const char *link : {"HTTP://a.example/x", "", "https://a.example/x", "/relative", "ftp://a/x"})
        EXPECT_EQ(ParsedMedia::normalizedLink(link), QString::fromUtf8(link));
}

} // namespace
