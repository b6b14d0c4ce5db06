#pragma once

#include <QWidget>

class QPushButton;

// Stands in the detail column for the private posts while the private space
// is locked. Its one button asks for the unlock.
class PrivateLockView : public QWidget {
    Q_OBJECT
public:
    explicit PrivateLockView(QWidget *parent = nullptr);

signals:
    void unlockRequested();

private:
    QPushButton *m_unlock;
};
