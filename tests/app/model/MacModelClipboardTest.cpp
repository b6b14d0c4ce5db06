#include "ModelFixture.h"
#include "Pasteboard.h"
#include "SettingsKey.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <gtest/gtest.h>

namespace {

class MacModelClipboardTest : public ModelTest {
protected:
    MacModelClipboardTest() { makeModel(); }

    static void copy(const QString &text) { Pasteboard::general().setString(text); }
    qsizetype postCount() { return context().fetch<Post>().size(); }

    const QString share = QStringLiteral("看看这个 https://127.0.0.1:9/note/1 太好笑了");
};

TEST_F(MacModelClipboardTest, OffersANewLinkOnceAndForgetsItWhenSaved)
{
    copy(share);
    model->checkClipboard();
    EXPECT_EQ(model->clipboardLink(), share);
    // The same clipboard content is looked at once only.
    model->setClipboardLink(std::nullopt);
    model->checkClipboard();
    EXPECT_FALSE(model->clipboardLink());

    copy(share);
    model->checkClipboard();
    model->collectClipboard();
    EXPECT_FALSE(model->clipboardLink());
    EXPECT_EQ(postCount(), 1);
    // A saved link is not offered again, even where duplicates are allowed.
    TamselStore::defaults().setBool(SettingsKey::allowDuplicates, true);
    copy(QStringLiteral("https://127.0.0.1:9/note/1"));
    model->checkClipboard();
    EXPECT_FALSE(model->clipboardLink());
    EXPECT_FALSE(model->clipboardPreview());
}

// Qt decodes a host by itself only under some top-level domains; the
// preview names hosts as written under those and under all others.
TEST_F(MacModelClipboardTest, NamesAHostInAnotherScriptAsWritten)
{
    for (const QString &host : {QStringLiteral("例子.测试"), QStringLiteral("例子.cn"),
                                QStringLiteral("例え.jp"), QStringLiteral("пример.рф")}) {
        copy(QStringLiteral("看 https://%1/路径 好").arg(host));
        EXPECT_EQ(model->clipboardPreview(), host);
    }
}

TEST_F(MacModelClipboardTest, FollowsTheClipboardWhileTheApplicationStaysActive)
{
    model->applicationStateChanged(Qt::ApplicationActive);
    copy(share);
    EXPECT_TRUE(settle([&] { return model->clipboardLink() == share; }));

    const QString newer = QStringLiteral("https://127.0.0.1:9/note/2");
    copy(newer);
    EXPECT_TRUE(settle([&] { return model->clipboardLink() == newer; }));
    model->collectClipboard();
    ASSERT_EQ(postCount(), 1);
    EXPECT_EQ(context().fetch<Post>().first()->sourceURL(), newer) << "the link copied last is saved";

    copy(QStringLiteral("没有链接"));
    copy(share);
    copy(QStringLiteral("也没有链接"));
    EXPECT_TRUE(settle([&] { return !model->clipboardLink(); }));
}

TEST_F(MacModelClipboardTest, OffersNothingForImagesFileLinksOrHugeTexts)
{
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QGuiApplication::clipboard()->setImage(image);
    model->checkClipboard();
    EXPECT_FALSE(model->clipboardLink());

    for (const QString &text :
         {QStringLiteral("file:///etc/passwd"),
          QString(3'000'000, QLatin1Char('a')) + QStringLiteral(" https://127.0.0.1:9/x")}) {
        copy(text);
        model->checkClipboard();
        EXPECT_FALSE(model->clipboardLink());
        EXPECT_EQ(model->collectFromMenuBar(), MacModel::MenuBarResult::noLink());
    }
    EXPECT_EQ(postCount(), 0);
}

} // namespace
