#include "ParsedMedia.h"
#include "TestHome.h"

namespace {

TEST(ParsedMediaTest, ConstructorNormalisesBothLinks)
{
    const ParsedMedia media(MediaKind::video, QStringLiteral("//img.example/a.jpg"),
                            QStringLiteral("http://v.example/a.mp4"), 640, 480, 12.5);
    EXPECT_EQ(media.url, QStringLiteral("https://img.example/a.jpg"));
    EXPECT_EQ(media.videoURL, QStringLiteral("https://v.example/a.mp4"));
    EXPECT_EQ(media.width, 640);
    EXPECT_EQ(media.duration, 12.5);
}

TEST(ParsedMediaTest, OtherLinksAndLaterAssignmentsStayAsGiven)
{
    for (const char *link : {"HTTP://a.example/x", "", "https://a.example/x", "/relative", "ftp://a/x"})
        EXPECT_EQ(ParsedMedia::normalizedLink(QString::fromUtf8(link)), QString::fromUtf8(link));
    ParsedMedia media(MediaKind::image, QString());
    EXPECT_FALSE(media.videoURL.has_value());
    media.url = QStringLiteral("http://a.example/x");
    EXPECT_EQ(media.url, QStringLiteral("http://a.example/x"));
}

TEST(ParsedMediaTest, EqualityCoversEveryField)
{
    const ParsedMedia a(MediaKind::image, QStringLiteral("https://a/1.jpg"), std::nullopt, 1, 2);
    ParsedMedia b = a;
    EXPECT_EQ(a, b);
    b.height = 3;
    EXPECT_NE(a, b);
    EXPECT_EQ(ParsedMedia(MediaKind::image, QStringLiteral("http://a/1.jpg"), std::nullopt, 1, 2), a);
}

} // namespace
