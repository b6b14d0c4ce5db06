#include "HexColor.h"

#include "Text.h"

#include <limits>

namespace {

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// Leading spaces and a "0x" are allowed; too many digits saturate.
quint64 leadingHexNumber(QStringView text)
{
    text = text.trimmed();
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        text = text.sliced(2);
    quint64 value = 0;
    for (const QChar c : text) {
        const int digit = hexDigit(c);
        if (digit < 0)
            break;
        if (value > (std::numeric_limits<quint64>::max() >> 4))
            return std::numeric_limits<quint64>::max();
        value = (value << 4) | quint64(digit);
    }
    return value;
}

} // namespace

QColor hexColor(const QString &text)
{
    const quint64 value = leadingHexNumber(Text::trimmingCharacter(text, QLatin1Char('#')));
    return QColor::fromRgb(int((value >> 16) & 0xFF), int((value >> 8) & 0xFF), int(value & 0xFF));
}
