#pragma once

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>
#include <QTimer>
#include <memory>

class MacModel;

// The tray item. A click saves the link on the clipboard and answers with a
// short icon change and a bubble; a right click, or a click with nothing to
// save, opens the menu. While posts are being imported the icon shows their
// number.
class MenuBarController : public QObject {
    Q_OBJECT
public:
    explicit MenuBarController(MacModel &model, QObject *parent = nullptr);
    ~MenuBarController() override;

    // The application's tray item, made on first use over MacModel::shared().
    static MenuBarController &shared();

    static constexpr int flashMs = 1600;
    static constexpr int bubbleMs = 2000;

    // Shows the item unless it is shown already.
    void install();
    void remove();
    QSystemTrayIcon *item() const { return m_item.get(); }
    QMenu &menu() { return m_menu; }

    // A click on the item: with Control or Alt held it opens the menu, else
    // it saves the clipboard's link. The keys are read from the window system
    // at the click.
    void clicked();
    void clicked(Qt::KeyboardModifiers modifiers);
    void showMenu();
    // Shows a symbol as the icon for a moment.
    void flash(const QString &symbol);
    void bubble(const QString &title, const QString &detail = {});
    // Brings the count on the icon and the tooltip in line with the imports.
    void showBusy();

    // The symbol in the panel's text colour; a null icon for an unknown symbol.
    static QIcon icon(const QString &symbol);

signals:
    // "退出 Kepsel" was chosen.
    void quitRequested();

private:
    void activated(QSystemTrayIcon::ActivationReason reason);
    void rebuildMenu();
    QIcon normalIcon() const;

    MacModel &m_model;
    std::unique_ptr<QSystemTrayIcon> m_item;
    QMenu m_menu;
    QTimer m_resetIcon;
    int m_shownCount = -1;
    bool m_flashing = false;
};
