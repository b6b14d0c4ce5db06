#include "Pasteboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <gtest/gtest.h>

namespace {

void putOnClipboard(const QString &format, const QByteArray &bytes)
{
    auto *data = new QMimeData;
    data->setData(format, bytes);
    QGuiApplication::clipboard()->setMimeData(data);
}

TEST(PasteboardTest, EveryChangeOfContentCountsOnce)
{
    Pasteboard &pasteboard = Pasteboard::general();
    const int before = pasteboard.changeCount();
    pasteboard.setString(QStringLiteral("看看这个 https://weibo.com/1"));
    EXPECT_EQ(pasteboard.changeCount(), before + 1);
    EXPECT_EQ(pasteboard.string(), QStringLiteral("看看这个 https://weibo.com/1"));
    EXPECT_EQ(pasteboard.plainText(), pasteboard.string());
}

TEST(PasteboardTest, LinksWithoutTextAreReadAsWrittenAndImagesGiveNothing)
{
    Pasteboard &pasteboard = Pasteboard::general();
    putOnClipboard(QStringLiteral("text/uri-list"),
                   "# copied\r\nhttps://x.com/a%2Fb?q=%E4%B8%AD\r\nhttps://b/\r\n");
    EXPECT_EQ(pasteboard.string(), QStringLiteral("https://x.com/a%2Fb?q=%E4%B8%AD"));
    EXPECT_EQ(pasteboard.plainText(), QString());

    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    QGuiApplication::clipboard()->setImage(image);
    EXPECT_EQ(pasteboard.string(), QString());
}

} // namespace
