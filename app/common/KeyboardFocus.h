#pragma once

#include <QObject>

class QWidget;

// Whether a widget's focus ring shows: only while the keyboard brought the
// focus there (Tab, Backtab) or moves it within the widget. A press of any
// mouse button on the widget hides the ring, and so does focus handed on to
// the widget because the one holding it went out of sight; focus coming back
// from a menu or a dialog brings back what was shown before.
class KeyboardFocus : public QObject {
    Q_OBJECT
public:
    // Watches the widget and, for a scroll area, the viewport that takes its clicks.
    explicit KeyboardFocus(QWidget *widget);

    bool ringShown() const;
    // The keyboard moved within the widget (true), or the pointer or a
    // change made elsewhere took over (false).
    void setByKeyboard(bool byKeyboard);
    bool isByKeyboard() const { return m_byKeyboard; }

signals:
    // The ring may have come or gone.
    void changed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void followFocusChange(QWidget *old, QWidget *now);

    QWidget *m_widget;
    bool m_byKeyboard = false;
};
