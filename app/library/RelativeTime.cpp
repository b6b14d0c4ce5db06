#include "RelativeTime.h"

QString RelativeTime::text(const QDateTime &then, const QDateTime &now)
{
    constexpr qint64 minute = 60;
    constexpr qint64 hour = 60 * minute;
    constexpr qint64 day = 24 * hour;
    const qint64 seconds = then.secsTo(now);
    if (seconds < minute)
        return tr("刚刚");
    if (seconds < hour)
        return tr("%n 分钟前", nullptr, int(seconds / minute));
    if (seconds < day)
        return tr("%n 小时前", nullptr, int(seconds / hour));
    const qint64 days = then.date().daysTo(now.date());
    if (days <= 1)
        return tr("昨天");
    if (days < 7)
        return tr("%n 天前", nullptr, int(days));
    if (days < 30)
        return tr("%n 周前", nullptr, int(days / 7));
    if (days < 365)
        return tr("%n 个月前", nullptr, int(days / 30));
    return tr("%n 年前", nullptr, int(days / 365));
}
