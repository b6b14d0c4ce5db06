#include "Pasteboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <gtest/gtest.h>

namespace {

void putOnClipboard(const QString &format, const QByteArray &bytes)
{
    auto *data = new QMimeData;
    data->setData(format, bytes);
    QGuiApplication::clipboard()->setMimeData(data);
}

TEST(PasteboardTest, LinksWithoutTextAreReadAsWritten)
{
    Pasteboard &pasteboard = Pasteboard::general();
    putOnClipboard(QStringLiteral("text/uri-list"),
                   "# copied\r\nhttps://x.com/a%2Fb?q=%E4%B8%AD\r\nhttps://b/\r\n");
    EXPECT_EQ(pasteboard.string(), QStringLiteral("https://x.com/a%2Fb?q=%E4%B8%AD"));
    EXPECT_EQ(pasteboard.plainText(), QString());
}

} // namespace
