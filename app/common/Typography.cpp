#include "Typography.h"

namespace {

QFont scaled(QFont font, qreal points, QFont::Weight weight)
{
    font.setPointSizeF(font.pointSizeF() * points / 13);
    font.setWeight(weight);
    return font;
}

} // namespace

QFont Typography::callout(const QFont &body, QFont::Weight weight)
{
    return scaled(body, 12, weight);
}

QFont Typography::subheadline(const QFont &body, QFont::Weight weight)
{
    return scaled(body, 11, weight);
}

QFont Typography::caption(const QFont &body, QFont::Weight weight)
{
    return scaled(body, 10, weight);
}
