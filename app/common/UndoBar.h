#pragma once

#include "FloatingCapsule.h"

class QLabel;
class QToolButton;
class WrappedLabel;

// Tells how many posts were just deleted and offers to bring them back.
class UndoBar : public FloatingCapsule {
    Q_OBJECT
public:
    explicit UndoBar(int count = 1, QWidget *parent = nullptr);

    int count() const { return m_count; }
    void setCount(int count);
    QString text() const;

signals:
    void undo();

protected:
    void changeEvent(QEvent *event) override;

private:
    // In the palette's secondary text colour, so it follows light and dark.
    void paintIcon();

    int m_count = 0;
    QLabel *m_icon;
    WrappedLabel *m_text;
    QToolButton *m_undoButton;
};
