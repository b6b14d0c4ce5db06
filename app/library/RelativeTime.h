#pragma once

#include <QCoreApplication>
#include <QDateTime>
#include <QString>

// How long ago a moment was, in words ("刚刚", "5 分钟前", "昨天"), for lines
// that say when something last happened. Qt has no such formatter.
class RelativeTime {
    Q_DECLARE_TR_FUNCTIONS(RelativeTime)
public:
    // `then` as seen from `now`; a moment in the future reads as now.
    static QString text(const QDateTime &then, const QDateTime &now);
};
