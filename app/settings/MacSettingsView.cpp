#include "MacSettingsView.h"

#include "GeneralSettings.h"
#include "PluginsSettings.h"
#include "Symbol.h"
#include "Theme.h"
#include "SyncSettings.h"

#include <QEvent>
#include <QIcon>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

namespace {

constexpr int windowWidth = 540;
constexpr int tabIconSize = 16;
// Tall enough for any tab, so that only the chrome around the page is measured.
constexpr int measuringHeight = 10000;

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
    // Scrolls only where the screen is too short for the tab.
    auto *scroller = new QScrollArea;
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroller->setWidgetResizable(true);
    scroller->setWidget(page);
    // Tab goes from control to control; the scroll area shows no focus of its own.
    scroller->setFocusPolicy(Qt::NoFocus);
    const int index = addTab(scroller, title);
    const auto paintIcon = [this, index, symbol] {
        setTabIcon(index,
                   QIcon(Symbol::pixmap(symbol, tabIconSize, palette().color(QPalette::WindowText), 1, 2)));
    };
    Theme::paintAndFollow(this, paintIcon);
}

QScrollArea *MacSettingsView::selectedScroller() const
{
    return qobject_cast<QScrollArea *>(currentWidget());
}

bool MacSettingsView::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::LayoutRequest && selectedScroller() &&
        watched == selectedScroller()->widget())
        fitSelectedTab();
    return QTabWidget::eventFilter(watched, event);
}

void MacSettingsView::fitSelectedTab()
{
    // The tab widget would take the tallest tab's height; the selected one's is wanted.
    QScrollArea *scroller = selectedScroller();
    if (!scroller)
        return;
    QWidget *page = scroller->widget();
    QStyleOptionTabWidgetFrame option;
    initStyleOption(&option);
    option.rect = QRect(0, 0, windowWidth, measuringHeight);
    const QRect pageArea = style()->subElementRect(QStyle::SE_TabWidgetTabContents, &option, this);
    const int pageHeight =
        page->hasHeightForWidth() ? page->heightForWidth(pageArea.width()) : page->sizeHint().height();
    const int wanted = measuringHeight - pageArea.height() + pageHeight;
    // Left to itself, the scroll bar can stay where the page fits exactly
    // without it, but not beside it.
    scroller->setVerticalScrollBarPolicy(wanted > tallestOnScreen() ? Qt::ScrollBarAsNeeded
                                                                    : Qt::ScrollBarAlwaysOff);
    const int previous = height();
    setFixedHeight(std::min(wanted, tallestOnScreen()));
    if (isVisible() && height() > previous)
        keepOnScreen();
}

int MacSettingsView::tallestOnScreen() const
{
    const int decoration = frameGeometry().height() - height();
    return screen()->availableGeometry().height() - decoration;
}

void MacSettingsView::keepOnScreen()
{
    const QRect area = screen()->availableGeometry();
    const QRect frame = frameGeometry();
    const int left =
        std::clamp(frame.left(), area.left(), std::max(area.left(), area.right() - frame.width() + 1));
    const int top =
        std::clamp(frame.top(), area.top(), std::max(area.top(), area.bottom() - frame.height() + 1));
    move(left, top);
}
