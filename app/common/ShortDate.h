#pragma once

#include "Clock.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

// A date as abbreviated month and day, with the year only when it is not the
// current year; the locale decides order and punctuation ("3月5日",
// "2025年3月5日", "Mar 5", "Mar 5, 2025").
QString shortDisplay(const QDateTime &date, const QLocale &locale = QLocale(),
                     const QDateTime &now = Clock::now());
