#pragma once

#include <QColor>
#include <QWidget>

class QToolButton;

// A small capsule label in a colour, with an optional symbol before the text
// and an optional remove button after it.
class Chip : public QWidget {
    Q_OBJECT
public:
    Chip(const QString &text, const QColor &color, const QString &systemImage = {}, bool removable = false,
         QWidget *parent = nullptr);

    QString text() const { return m_text; }
    QColor color() const { return m_color; }
    // Null without a remove button.
    QToolButton *removeButton() const { return m_removeButton; }

signals:
    void removeClicked();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
    QColor m_color;
    QToolButton *m_removeButton = nullptr;
};
