#pragma once

#include "Platform.h"
#include "Theme.h"

#include <QAbstractButton>
#include <QColor>
#include <optional>

class Motion;

// A capsule button that narrows a list: an optional platform badge, a title
// and an optional count, drawn filled while it is the chosen one. Being
// chosen or left fades over a fifth of a second.
class FilterChip : public QAbstractButton {
    Q_OBJECT
public:
    // Colours are picked when drawn, so a chip follows the appearance.
    struct Style {
        int badgeSize;
        QMargins padding;
        Theme::Color onBackground, onForeground, offBackground, offForeground;
    };

    FilterChip(const QString &title, std::optional<Platform> platform, std::optional<int> count,
               const Style &style, QWidget *parent = nullptr);

    std::optional<Platform> platform() const { return m_platform; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // The title as shown, each doubled "&" drawn as one.
    int titleWidth() const;
    QString countText() const;
    // 0 drawn as left, 1 as chosen; between while it fades.
    qreal onAmount() const;

    std::optional<Platform> m_platform;
    std::optional<int> m_count;
    Style m_style;
    Motion *m_fill;
};
