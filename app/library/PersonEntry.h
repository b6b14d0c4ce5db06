#pragma once

#include "AuthorAccount.h"

#include <QWidget>
#include <functional>

class KeyboardFocus;
class QMenu;

// One person in a list of persons: a click, Return or Space opens it, the
// arrow keys move on like Tab, and its context menu (also on the menu key)
// offers one action. Behind its content
// it draws a card, a card only while hovered, or nothing; focus the keyboard
// put there is ringed in the accent colour.
class PersonEntry : public QWidget {
    Q_OBJECT
public:
    enum class Background { none, card, hoverCard };
    struct Action {
        QString symbol;
        QString text;
        std::function<void()> run;
    };

    PersonEntry(const AuthorAccount &account, Background background, qreal radius, const Action &action,
                QWidget *parent = nullptr);

    AuthorAccount account() const { return m_account; }
    QMenu *menu() const { return m_menu; }
    bool focusRingShown() const;

signals:
    void activated(const AuthorAccount &account);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    AuthorAccount m_account;
    Background m_background;
    qreal m_radius;
    QMenu *m_menu;
    bool m_hovering = false;
    KeyboardFocus *m_keyboard;
};
