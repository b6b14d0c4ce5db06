#pragma once

#include <QtContainerFwd>
#include <gtest/gtest-printers.h>
#include <ostream>

// gtest printers for the Qt types the tests compare, so a failing EXPECT_EQ
// shows "beach.jpg" or QSize(6000, 4000) instead of the objects' bytes. They
// live in the global namespace, as the Qt types do, for gtest to find them by
// argument-dependent lookup. Every test source includes this header first
// (tests/CMakeLists.txt), so all of a program's units print a type alike.

class QByteArray;
class QColor;
class QDateTime;
class QDir;
class QImage;
class QJsonObject;
class QLatin1String;
class QPoint;
class QPointF;
class QRectF;
class QSize;
class QSizeF;
class QString;
class QUrl;
class QUuid;
class QVariant;

void PrintTo(const QString &value, std::ostream *os);
void PrintTo(const QLatin1String &value, std::ostream *os);
void PrintTo(const QByteArray &value, std::ostream *os);
void PrintTo(const QUrl &value, std::ostream *os);
void PrintTo(const QUuid &value, std::ostream *os);
void PrintTo(const QDateTime &value, std::ostream *os);
void PrintTo(const QDir &value, std::ostream *os);
void PrintTo(const QSize &value, std::ostream *os);
void PrintTo(const QSizeF &value, std::ostream *os);
void PrintTo(const QPoint &value, std::ostream *os);
void PrintTo(const QPointF &value, std::ostream *os);
void PrintTo(const QRectF &value, std::ostream *os);
void PrintTo(const QColor &value, std::ostream *os);
void PrintTo(const QImage &value, std::ostream *os);
void PrintTo(const QVariant &value, std::ostream *os);
void PrintTo(const QJsonObject &value, std::ostream *os);

namespace QtPrinters {

// Keys with their values, as gtest prints a std::map; iterating a Qt map
// yields only the values.
template <typename Map> void printEntries(const Map &map, std::ostream *os)
{
    *os << '{';
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        *os << (it == map.cbegin() ? " (" : ", (") << testing::PrintToString(it.key()) << ", "
            << testing::PrintToString(it.value()) << ')';
    *os << (map.isEmpty() ? "}" : " }");
}

} // namespace QtPrinters

template <typename Key, typename T> void PrintTo(const QMap<Key, T> &value, std::ostream *os)
{
    QtPrinters::printEntries(value, os);
}

template <typename Key, typename T> void PrintTo(const QHash<Key, T> &value, std::ostream *os)
{
    QtPrinters::printEntries(value, os);
}
