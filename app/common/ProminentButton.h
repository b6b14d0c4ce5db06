#pragma once

#include <QPushButton>

class KeyboardFocus;

// The button of a screen's main action: filled with the accent colour and
// lettered in white, in either appearance. Disabled, it fades into what lies
// behind it; holding focus the keyboard brought, it shows a white ring inside
// its edge.
class ProminentButton : public QPushButton {
    Q_OBJECT
public:
    explicit ProminentButton(const QString &text, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    KeyboardFocus *m_keyboard;
};
