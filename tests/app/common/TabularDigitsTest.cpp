#include "TabularDigits.h"

#include <QFont>
#include <QFontMetricsF>
#include <gtest/gtest.h>

namespace {

TEST(TabularDigitsTest, EveryDigitTakesTheWidestDigitsCell)
{
    const QFontMetricsF metrics(QFont(QStringLiteral("DejaVu Serif"), 14));
    const qreal one = TabularDigits::width(metrics, QStringLiteral("1"));
    for (const char *number : {"0", "4", "7", "8"})
        EXPECT_EQ(TabularDigits::width(metrics, QString::fromLatin1(number)), one) << number;
    EXPECT_EQ(TabularDigits::width(metrics, QStringLiteral("111")), 3 * one);
    EXPECT_GE(one, metrics.horizontalAdvance(QLatin1Char('8')));
    EXPECT_EQ(TabularDigits::width(metrics, QStringLiteral("a")),
              metrics.horizontalAdvance(QLatin1Char('a')));
}

} // namespace
