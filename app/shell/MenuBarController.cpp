#include "MenuBarController.h"

#include "BackupFolder.h"
#include "ImportProgress.h"
#include "MacModel.h"
#include "MenuText.h"
#include "Symbol.h"
#include "Theme.h"

#include <QApplication>
#include <QCoro/QCoroTask>
#include <QCursor>
#include <QPainter>

namespace {

constexpr int iconSize = 64;

// White on the accent colour, which reads on light and dark panels.
QPixmap tile(const QString &symbol)
{
    return Symbol::tile(symbol, iconSize, Theme::accent().light(), Qt::white);
}

// The count in a round badge over the icon's lower right corner.
QPixmap withCount(QPixmap pixmap, int count)
{
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF badge(iconSize * 0.42, iconSize * 0.42, iconSize * 0.58, iconSize * 0.58);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Theme::text().light());
    painter.drawEllipse(badge);
    QFont font = QApplication::font();
    font.setPixelSize(count > 9 ? iconSize / 4 : iconSize / 3);
    font.setWeight(QFont::DemiBold);
    font.setStyleHint(QFont::Monospace);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(badge, Qt::AlignCenter, count > 99 ? QStringLiteral("99+") : QString::number(count));
    return pixmap;
}

} // namespace

MenuBarController::MenuBarController(MacModel &model, QObject *parent) : QObject(parent), m_model(model)
{
    m_resetIcon.setSingleShot(true);
    m_resetIcon.setInterval(flashMs);
    connect(&m_resetIcon, &QTimer::timeout, this, [this] {
        m_flashing = false;
        if (m_item)
            m_item->setIcon(normalIcon());
    });
    connect(&m_menu, &QMenu::aboutToShow, this, &MenuBarController::rebuildMenu);
    connect(&ImportProgress::shared(), &ImportProgress::phasesChanged, this, &MenuBarController::showBusy);
}

MenuBarController::~MenuBarController() = default;

MenuBarController &MenuBarController::shared()
{
    static MenuBarController *instance = new MenuBarController(MacModel::shared(), qApp);
    return *instance;
}

void MenuBarController::install()
{
    if (m_item)
        return;
    m_item = std::make_unique<QSystemTrayIcon>();
    m_item->setIcon(normalIcon());
    m_item->setToolTip(tr("Kepsel：点一下收藏剪贴板里的链接，右键打开菜单"));
    m_item->setContextMenu(&m_menu);
    connect(m_item.get(), &QSystemTrayIcon::activated, this, &MenuBarController::activated);
    m_item->show();
    showBusy();
}

void MenuBarController::remove()
{
    m_item.reset();
    m_shownCount = -1;
}

void MenuBarController::activated(QSystemTrayIcon::ActivationReason reason)
{
    // The context menu opens by itself on a right click.
    if (reason == QSystemTrayIcon::Trigger)
        clicked();
}

void MenuBarController::clicked()
{
    // The tray's click carries no modifiers, and no key event reached the
    // application while the pointer was over the panel.
    clicked(QGuiApplication::queryKeyboardModifiers());
}

void MenuBarController::clicked(Qt::KeyboardModifiers modifiers)
{
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier)) {
        showMenu();
        return;
    }
    const MacModel::MenuBarResult result = m_model.collectFromMenuBar();
    switch (result.kind) {
    case MacModel::MenuBarResult::Kind::saved:
        flash(QStringLiteral("checkmark.circle.fill"));
        bubble(tr("已收藏，正在解析…"), result.text);
        break;
    case MacModel::MenuBarResult::Kind::duplicate:
        flash(QStringLiteral("checkmark.circle"));
        bubble(tr("已经收藏过了"));
        break;
    case MacModel::MenuBarResult::Kind::failed: bubble(tr("收藏失败"), result.text); break;
    case MacModel::MenuBarResult::Kind::noLink: showMenu(); break;
    }
}

void MenuBarController::showMenu()
{
    if (!m_item)
        return;
    m_menu.popup(QCursor::pos());
}

void MenuBarController::rebuildMenu()
{
    m_menu.clear();
    if (const std::optional<QString> host = m_model.clipboardPreview())
        m_menu.addAction(tr("收藏剪贴板里的链接（%1）").arg(menuText(*host)), this,
                         qOverload<>(&MenuBarController::clicked));
    else
        m_menu.addAction(tr("剪贴板里没有新链接"))->setEnabled(false);
    m_menu.addAction(tr("收藏链接…"), this, [this] {
        m_model.openMainWindow();
        m_model.setShowAdd(true);
    });
    m_menu.addSeparator();
    m_menu.addAction(tr("打开 Kepsel"), this, [this] { m_model.openMainWindow(); });
    QAction *sync =
        m_menu.addAction(tr("立即同步"), this, [this] { QCoro::connect(m_model.sync(true), this, [] {}); });
    sync->setEnabled(BackupFolder::isConfigured());
    m_menu.addSeparator();
    m_menu.addAction(tr("设置…"), QKeySequence(Qt::CTRL | Qt::Key_Comma), this, [this] {
        if (const auto &open = m_model.openSettingsWindow())
            open();
    });
    m_menu.addAction(tr("退出 Kepsel"), QKeySequence::Quit, this, &MenuBarController::quitRequested);
}

void MenuBarController::flash(const QString &symbol)
{
    if (!m_item)
        return;
    m_flashing = true;
    m_item->setIcon(icon(symbol));
    m_resetIcon.start();
}

void MenuBarController::bubble(const QString &title, const QString &detail)
{
    if (!m_item)
        return;
    m_item->showMessage(title, detail, QSystemTrayIcon::Information, bubbleMs);
}

void MenuBarController::showBusy()
{
    if (!m_item)
        return;
    const int count = int(ImportProgress::shared().phases().size());
    if (count == m_shownCount)
        return;
    m_shownCount = count;
    if (!m_flashing)
        m_item->setIcon(normalIcon());
    m_item->setToolTip(count > 0 ? tr("正在解析 %n 条收藏", nullptr, count)
                                 : tr("Kepsel：点一下收藏剪贴板里的链接，右键打开菜单"));
}

QIcon MenuBarController::icon(const QString &symbol)
{
    if (!Symbol::exists(symbol))
        return {};
    return QIcon(tile(symbol));
}

QIcon MenuBarController::normalIcon() const
{
    const QPixmap basket = tile(QStringLiteral("basket"));
    return QIcon(m_shownCount > 0 ? withCount(basket, m_shownCount) : basket);
}
