#include "MacSettingsView.h"

#include "GeneralSettings.h"
#include "PluginsSettings.h"
#include "Symbol.h"
#include "Theme.h"
#include "SyncSettings.h"

#include <QEvent>
#include <QIcon>
#include <QStyle>
#include <QTabBar>

namespace {

constexpr int windowWidth = 540;
constexpr int tabIconSize = 16;

} // namespace

MacSettingsView::MacSettingsView(MacModel &model, MenuBarController &menuBar, Plugins &plugins,
                                 QWidget *parent)
    : QTabWidget(parent)
{
    addPage(new SyncSettings(model), tr("同步"), QStringLiteral("icloud"));
    addPage(new GeneralSettings(menuBar), tr("通用"), QStringLiteral("gearshape"));
    addPage(new PluginsSettings(plugins), tr("插件"), QStringLiteral("puzzlepiece.extension"));
    setFixedWidth(windowWidth);
    connect(this, &QTabWidget::currentChanged, this, &MacSettingsView::fitSelectedTab);
    fitSelectedTab();
}

void MacSettingsView::addPage(QWidget *page, const QString &title, const QString &symbol)
{
    page->installEventFilter(this);
    const int index = addTab(page, title);
    const auto paintIcon = [this, index, symbol] {
        setTabIcon(index,
                   QIcon(Symbol::pixmap(symbol, tabIconSize, palette().color(QPalette::WindowText), 1, 2)));
    };
    paintIcon();
    Theme::followPalette(this, paintIcon);
}

bool MacSettingsView::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::LayoutRequest && watched == currentWidget())
        fitSelectedTab();
    return QTabWidget::eventFilter(watched, event);
}

void MacSettingsView::fitSelectedTab()
{
    // The tab widget would take the tallest tab's height; the selected one's is wanted.
    QWidget *page = currentWidget();
    if (!page)
        return;
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    const int pageWidth = windowWidth - 2 * frame;
    const int pageHeight =
        page->hasHeightForWidth() ? page->heightForWidth(pageWidth) : page->sizeHint().height();
    setFixedHeight(tabBar()->sizeHint().height() + pageHeight + 2 * frame);
}
