#include "ModelFixture.h"
#include "Pasteboard.h"
#include "SettingsKey.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QSignalSpy>
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
    EXPECT_EQ(model->clipboardPreview(), QStringLiteral("127.0.0.1"));
    // The same clipboard content is looked at once only.
    model->setClipboardLink(std::nullopt);
    model->checkClipboard();
    EXPECT_FALSE(model->clipboardLink());

    copy(share);
    model->checkClipboard();
    model->collectClipboard();
    EXPECT_FALSE(model->clipboardLink());
    EXPECT_EQ(model->toast(), QStringLiteral("已收藏，正在解析…"));
    EXPECT_EQ(postCount(), 1);
    // A saved link is not offered again, even where duplicates are allowed.
    TamselStore::defaults().setBool(SettingsKey::allowDuplicates, true);
    copy(QStringLiteral("https://127.0.0.1:9/note/1"));
    model->checkClipboard();
    EXPECT_FALSE(model->clipboardLink());
    EXPECT_FALSE(model->clipboardPreview());
}

TEST_F(MacModelClipboardTest, OffersNothingForImagesFileLinksOrHugeTexts)
{
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QGuiApplication::clipboard()->setImage(image);
    model->checkClipboard();
    EXPECT_FALSE(model->clipboardLink());
    model->collectClipboard();
    EXPECT_EQ(model->toast(), QStringLiteral("剪贴板里没有链接"));

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

TEST_F(MacModelClipboardTest, TheTraySyncsOnlyNewPostsTheAddSheetEveryAcceptedText)
{
    chooseFolder();
    QSignalSpy syncing(model.get(), &MacModel::syncingChanged);
    copy(share);
    EXPECT_EQ(model->collectFromMenuBar(), MacModel::MenuBarResult::saved(QStringLiteral("127.0.0.1")));
    EXPECT_FALSE(model->toast());
    EXPECT_TRUE(settle([&] { return syncing.count() == 2; }));
    EXPECT_EQ(model->collectFromMenuBar(), MacModel::MenuBarResult::duplicate());
    idle();
    EXPECT_EQ(syncing.count(), 2);

    EXPECT_TRUE(model->importText(share));
    EXPECT_EQ(model->toast(), QStringLiteral("已经收藏过了"));
    EXPECT_TRUE(settle([&] { return syncing.count() == 4; }));
    EXPECT_FALSE(model->importText(QStringLiteral("没有链接")));
    EXPECT_EQ(model->toast(), QStringLiteral("内容中未发现有效链接"));
    EXPECT_EQ(postCount(), 1);
}

} // namespace
