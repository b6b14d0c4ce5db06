#include <QColor>
#include <QMap>
#include <QSize>
#include <QStringList>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

// A failing comparison of Qt values reads as text, not as the objects' bytes.
TEST(QtPrintersTest, QtValuesPrintAsText)
{
    using testing::PrintToString;
    EXPECT_EQ(PrintToString(QStringLiteral("海滩 \"v1.2\".jpg")), R"("海滩 \"v1.2\".jpg")");
    EXPECT_EQ(PrintToString(QStringList{u"a"_qs, u"b"_qs}), R"({ "a", "b" })");
    EXPECT_EQ(PrintToString(QByteArray("\x89PNG")), R"("\x89PNG")");
    EXPECT_EQ(PrintToString(QUrl(u"https://example.com/a b"_qs)), R"(QUrl("https://example.com/a b"))");
    EXPECT_EQ(PrintToString(QSize(6000, 4000)), "QSize(6000, 4000)");
    EXPECT_EQ(PrintToString(QColor(0x11, 0x22, 0x33)), "QColor(#ff112233)");
    EXPECT_EQ(PrintToString(QMap<QString, int>{{u"a"_qs, 1}, {u"b"_qs, 2}}), R"({ ("a", 1), ("b", 2) })");
}

} // namespace
