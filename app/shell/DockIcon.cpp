#include "DockIcon.h"

#include "Symbol.h"
#include "Theme.h"
#include "UserDefaults.h"

#include <QApplication>

namespace {

const QString iconKey = QStringLiteral("macAppIcon");

// The basket light on the accent colour, or glowing accent on a dark tile.
QPixmap tile(int size, const QColor &background, const QColor &glyph)
{
    return Symbol::tile(QStringLiteral("basket"), size, background, glyph);
}

} // namespace

QString DockIcon::rawValue() const
{
    return m_value == glow ? QStringLiteral("glow") : QStringLiteral("basket");
}

QString DockIcon::title() const
{
    return m_value == glow ? QApplication::translate("DockIcon", "一粒光")
                           : QApplication::translate("DockIcon", "拾进篮子");
}

DockIcon DockIcon::current()
{
    const QString stored = UserDefaults::standard().string(iconKey).value_or(QString());
    return stored == DockIcon(glow).rawValue() ? glow : basket;
}

QIcon DockIcon::icon() const
{
    QIcon icon;
    for (const int size : {16, 32, 64, 128, 256}) {
        icon.addPixmap(m_value == glow ? tile(size, Theme::background().dark(), Theme::accent().light())
                                       : tile(size, Theme::accent().light(), Qt::white));
    }
    return icon;
}

void DockIcon::applyCurrent()
{
    QApplication::setWindowIcon(current().icon());
}
