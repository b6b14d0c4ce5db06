#pragma once

#include <QFont>

// Heights of the parts of a card that do not depend on the post: the caption
// strip below the cover (with its space above and below) and the text block
// that stands in for a missing cover. Cards reserve their full line counts, so
// these two values and the cover's proportions fix every card's height.
struct CardMetrics {
    static constexpr int headlineLines = 2;
    static constexpr int textBlockLines = 5;
    static constexpr qreal captionTop = 7;
    static constexpr qreal captionSpacing = 7;
    static constexpr qreal captionBottom = 4;
    static constexpr qreal textPadding = 12;
    static constexpr qreal textMinimum = 90;
    static constexpr qreal badgeSize = 11;

    QFont headlineFont;
    QFont detailFont;
    QFont textFont;
    qreal headlineHeight = 0;
    qreal detailHeight = 0;
    qreal caption = 62;
    qreal textBlock = 114;

    // Measured from the fonts derived from the body font.
    static CardMetrics measure(const QFont &body);
};
