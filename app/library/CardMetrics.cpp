#include "CardMetrics.h"

#include "Typography.h"

#include <QFontMetricsF>
#include <algorithm>

CardMetrics CardMetrics::measure(const QFont &body)
{
    CardMetrics metrics;
    metrics.headlineFont = Typography::callout(body, QFont::Medium);
    metrics.detailFont = Typography::caption(body);
    metrics.textFont = Typography::callout(body);
    metrics.headlineHeight = headlineLines * QFontMetricsF(metrics.headlineFont).lineSpacing();
    metrics.detailHeight = std::max(QFontMetricsF(metrics.detailFont).height(), badgeSize);
    metrics.caption =
        captionTop + metrics.headlineHeight + captionSpacing + metrics.detailHeight + captionBottom;
    const qreal lines = textBlockLines * QFontMetricsF(metrics.textFont).lineSpacing();
    metrics.textBlock = std::max(lines, textMinimum) + 2 * textPadding;
    return metrics;
}
