#include "QtPrinters.h"

#include <QColor>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QImage>
#include <QJsonObject>
#include <QRectF>
#include <QUrl>
#include <QUuid>
#include <QVariant>

namespace {

// Qt's own debug text: quoted and escaped strings, named fields.
template <typename T> void printDebugText(const T &value, std::ostream *os)
{
    QString text;
    QDebug(&text).nospace() << value;
    *os << text.toStdString();
}

} // namespace

void PrintTo(const QString &value, std::ostream *os)
{
    printDebugText(value, os);
}

void PrintTo(const QLatin1String &value, std::ostream *os)
{
    printDebugText(value, os);
}

void PrintTo(const QByteArray &value, std::ostream *os)
{
    printDebugText(value, os);
}

void PrintTo(const QUrl &value, std::ostream *os)
{
    printDebugText(value, os);
}

void PrintTo(const QUuid &value, std::ostream *os)
{
    printDebugText(value, os);
}

void PrintTo(const QDateTime &value, std::ostream *os)
{
    printDebugText(value, os);
}

void PrintTo(const QDir &value, std::ostream *os)
{
    printDebugText(value, os);
}

void PrintTo(const QSize &value, std::ostream *os)
{
    printDebugText(value, os);
}

void PrintTo(const QSizeF &value, std::ostream *os)
{
    printDebugText(value, os);
}

void PrintTo(const QPoint &value, std::ostream *os)
{
    printDebugText(value, os);
}

void PrintTo(const QPointF &value, std::ostream *os)
{
    printDebugText(value, os);
}

void PrintTo(const QRectF &value, std::ostream *os)
{
    printDebugText(value, os);
}

void PrintTo(const QImage &value, std::ostream *os)
{
    printDebugText(value, os);
}

void PrintTo(const QVariant &value, std::ostream *os)
{
    printDebugText(value, os);
}

void PrintTo(const QJsonObject &value, std::ostream *os)
{
    printDebugText(value, os);
}

// Colours are written in hex in the code and the tests, not as Qt's fractions.
void PrintTo(const QColor &value, std::ostream *os)
{
    *os << "QColor("
        << (value.isValid() ? value.name(QColor::HexArgb) : QStringLiteral("Invalid")).toStdString() << ')';
}
