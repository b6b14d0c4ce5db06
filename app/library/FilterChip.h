#pragma once

#include "Platform.h"

#include <QAbstractButton>
#include <QColor>
#include <optional>

// A capsule button that narrows a list: an optional platform badge, a title
// and an optional count, drawn filled while it is the chosen one.
class FilterChip : public QAbstractButton {
    Q_OBJECT
public:
    struct Style {
        int badgeSize;
        QMargins padding;
        QColor onBackground, onForeground, offBackground, offForeground;
    };

    FilterChip(const QString &title, std::optional<Platform> platform, std::optional<int> count,
               const Style &style, QWidget *parent = nullptr);

    std::optional<Platform> platform() const { return m_platform; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString countText() const;

    std::optional<Platform> m_platform;
    std::optional<int> m_count;
    Style m_style;
};
