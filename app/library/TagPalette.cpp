#include "TagPalette.h"

#include <array>
#include <utility>

namespace {

struct NamedColor {
    const char *color;
    const char *name;
};

constexpr std::array<NamedColor, 9> palette{{
    {"#D97757", QT_TRANSLATE_NOOP("TagPalette", "陶土")},
    {"#E5534B", QT_TRANSLATE_NOOP("TagPalette", "红")},
    {"#E3A008", QT_TRANSLATE_NOOP("TagPalette", "黄")},
    {"#3FA34D", QT_TRANSLATE_NOOP("TagPalette", "绿")},
    {"#2F9E9E", QT_TRANSLATE_NOOP("TagPalette", "青")},
    {"#3B82F6", QT_TRANSLATE_NOOP("TagPalette", "蓝")},
    {"#8B5CF6", QT_TRANSLATE_NOOP("TagPalette", "紫")},
    {"#DB2777", QT_TRANSLATE_NOOP("TagPalette", "粉")},
    {"#6B7280", QT_TRANSLATE_NOOP("TagPalette", "灰")},
}};

} // namespace

const QStringList &TagPalette::colors()
{
    static const QStringList list = [] {
        QStringList colors;
        for (const NamedColor &entry : palette)
            colors.append(QLatin1String(entry.color));
        return colors;
    }();
    return list;
}

QString TagPalette::name(const QString &color)
{
    for (const NamedColor &entry : palette) {
        if (color == QLatin1String(entry.color))
            return tr(entry.name);
    }
    return color;
}
