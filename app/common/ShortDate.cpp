#include "ShortDate.h"

#include <QRegularExpression>

namespace {

// The locale's long date format without the weekday and with the month
// abbreviated, with or without the year.
QString dateFormat(const QLocale &locale, bool withYear)
{
    static const QRegularExpression weekday(QStringLiteral("[,\\s]*dddd[,\\s]*"));
    static const QRegularExpression fullMonth(QStringLiteral("(?<!M)MMMM(?!M)"));
    static const QRegularExpression year(QStringLiteral("(\\s*'[^']*')?[\\s,.]*y+[年년]?\\s*"));
    QString format = locale.dateFormat(QLocale::LongFormat);
    format.replace(weekday, QStringLiteral(" "));
    format.replace(fullMonth, QStringLiteral("MMM"));
    if (!withYear)
        format.replace(year, QStringLiteral(" "));
    return format.trimmed();
}

} // namespace

QString shortDisplay(const QDateTime &date, const QLocale &locale, const QDateTime &now)
{
    const bool sameYear = date.toLocalTime().date().year() == now.toLocalTime().date().year();
    return locale.toString(date.toLocalTime().date(), dateFormat(locale, !sameYear));
}
