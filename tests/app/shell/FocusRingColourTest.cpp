#include "../model/ModelFixture.h"
#include "AuthorMerge.h"
#include "ContentView.h"
#include "KepselMacApp.h"
#include "MainWindow.h"
#include "Media.h"
#include "MenuBarController.h"
#include "NavigationStack.h"
#include "Screenshot.h"
#include "SettingsKey.h"
#include "Tag.h"
#include "Theme.h"

#include <QApplication>
#include <QStyle>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

// The style's own colours, as on a desktop that sets none: a blue highlight.
QPalette lightDesktop()
{
    return QApplication::style()->standardPalette();
}

// A desktop in the dark, with a blue highlight of its own.
QPalette darkDesktop()
{
    QPalette palette(QColor(0x35, 0x35, 0x35), QColor(0x2b, 0x2b, 0x2b));
    palette.setColor(QPalette::Highlight, QColor(0x3d, 0xae, 0xe9));
    return palette;
}

struct Appearance {
    const char *name;
    const char *setting;
    QPalette (*desktop)();
};

void PrintTo(const Appearance &appearance, std::ostream *out)
{
    *out << appearance.name;
}

// What a focus ring adds to a widget: the pixels that change when the
// keyboard's focus leaves it, told by hue. Only pixels at least a little
// coloured count, so the page's greys, text and caret never do.
struct RingPixels {
    int accent = 0;
    // Pixels in the hue of the desktop's highlight.
    int highlight = 0;
};

bool isNearHue(const QColor &pixel, int hue)
{
    const int apart = std::abs(pixel.hsvHue() - hue) % 360;
    return pixel.hsvSaturation() >= 40 && pixel.value() >= 60 && std::min(apart, 360 - apart) <= 20;
}

RingPixels ringPixels(const QImage &with, const QImage &without, const QColor &highlight)
{
    RingPixels ring;
    for (int y = 0; y < with.height(); ++y)
        for (int x = 0; x < with.width(); ++x) {
            const QColor pixel = with.pixelColor(x, y);
            if (pixel == without.pixelColor(x, y))
                continue;
            ring.accent += isNearHue(pixel, Theme::accent().light().hsvHue());
            ring.highlight += isNearHue(pixel, highlight.hsvHue());
        }
    return ring;
}

class FocusRingColourTest : public ModelTest, public testing::WithParamInterface<Appearance> {
protected:
    FocusRingColourTest()
    {
        makeModel();
        // Two platforms and a starred author bring the filter chips and the
        // person; a picture the picture's ring, a tag a chip to remove.
        auto tag = std::make_shared<Tag>(QStringLiteral("咖啡"), QStringLiteral("#2980B9"));
        context().insert(tag);
        // The starred author's post comes first, so its star lies under the toolbar's focus.
        for (const Platform platform : {Platform::x, Platform::weibo}) {
            auto post = addPost(QStringLiteral("https://example.com/") + platform.displayName());
            post->setCreatedAt(QDateTime(QDate(2026, 1, 1), QTime(0, platform == Platform::weibo ? 1 : 0)));
            post->setAuthorName(QStringLiteral("林"));
            post->setPlatform(platform);
            auto picture = std::make_shared<Media>(MediaKind::image, 0);
            picture->setWidth(300);
            picture->setHeight(200);
            post->setMedia({picture});
            post->setTags({tag});
        }
        context().save();
        AuthorMerge::setStarred(AuthorAccount(Platform::weibo, QStringLiteral("林")), true, context());
        TamselStore::defaults().setString(SettingsKey::appearance, QString::fromLatin1(GetParam().setting));
        QApplication::setPalette(GetParam().desktop());
        menuBar = std::make_unique<MenuBarController>(*model);
        app = std::make_unique<KepselMacApp>(*model, *menuBar);
        // A caret that stays lit changes no pixels of its own between two grabs.
        QApplication::setCursorFlashTime(0);
    }
    ~FocusRingColourTest() override
    {
        app.reset();
        QApplication::setPalette(Theme::palette(Theme::Appearance::light));
        QApplication::setCursorFlashTime(flashTime);
    }

    // Grabs the focused widget as Tab left it, then without the focus, and
    // gives the focus back as Tab would.
    static RingPixels focusedRing()
    {
        QWidget &focused = *QApplication::focusWidget();
        const QImage with = focused.grab().toImage();
        focused.clearFocus();
        const QImage without = focused.grab().toImage();
        focused.setFocus(Qt::TabFocusReason);
        return ringPixels(with, without, GetParam().desktop().color(QPalette::Highlight));
    }

    // Tabs round the window from the focused widget back to it, checking
    // the ring at each stop; text boxes show the focus by their caret.
    void walk(QWidget &window, const QString &screen)
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QWidget *first = QApplication::focusWidget();
        for (int stop = 0; stop < 30; ++stop) {
            QWidget &focused = *QApplication::focusWidget();
            const QString name = QString::fromLatin1(focused.metaObject()->className()) + QLatin1Char(' ') +
                                 focused.objectName();
            if (!focused.inherits("QPlainTextEdit")) {
                const RingPixels ring = focusedRing();
                EXPECT_GE(ring.accent, 12) << qPrintable(name) << " rings in the accent";
                EXPECT_EQ(ring.highlight, 0) << qPrintable(name) << " shows none of the desktop's highlight";
                saveScreenshot(window,
                               QStringLiteral("focus-ring-%1-%2-%3-%4")
                                   .arg(QString::fromLatin1(GetParam().name), screen)
                                   .arg(stop, 2, 10, QLatin1Char('0'))
                                   .arg(name.simplified().replace(QLatin1Char(' '), QLatin1Char('-'))));
            }
            QTest::keyClick(&focused, Qt::Key_Tab);
            if (QApplication::focusWidget() == first)
                return;
        }
        ADD_FAILURE() << "Tab never came back round on " << qPrintable(screen);
    }

    const int flashTime = QApplication::cursorFlashTime();
    std::unique_ptr<MenuBarController> menuBar;
    std::unique_ptr<KepselMacApp> app;
};

TEST_P(FocusRingColourTest, EveryStopOfTheLibraryAndThePostScreenRingsInTheAccent)
{
    app->showMainWindow();
    MainWindow &window = *app->mainWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_Tab);
    walk(window, QStringLiteral("library"));

    for (int stop = 0; stop < 30 && !QApplication::focusWidget()->inherits("Masonry"); ++stop)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_EQ(window.content().stack().depth(), 1) << "the post opened";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    walk(window, QStringLiteral("post"));
}

INSTANTIATE_TEST_SUITE_P(, FocusRingColourTest,
                         testing::Values(Appearance{"desktop-light", "system", lightDesktop},
                                         Appearance{"desktop-dark", "system", darkDesktop},
                                         Appearance{"light", "light", lightDesktop},
                                         Appearance{"dark", "dark", lightDesktop}),
                         [](const testing::TestParamInfo<Appearance> &info) {
                             std::string name = info.param.name;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

} // namespace
