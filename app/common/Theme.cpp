#include "Theme.h"

#include "HexColor.h"

#include <QEvent>
#include <QWidget>

namespace {

QColor withAlpha(QColor color, int alpha)
{
    color.setAlpha(alpha);
    return color;
}

// Lives as long as its widget and calls back after each palette change.
class PaletteWatch : public QObject {
public:
    PaletteWatch(QWidget *widget, std::function<void()> repaint)
        : QObject(widget), m_repaint(std::move(repaint))
    {
        widget->installEventFilter(this);
    }

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::PaletteChange)
            m_repaint();
        return false;
    }

private:
    std::function<void()> m_repaint;
};

} // namespace

QColor Theme::Color::light() const
{
    return hexColor(QString::fromLatin1(m_light));
}

QColor Theme::Color::dark() const
{
    return hexColor(QString::fromLatin1(m_dark));
}

QColor Theme::Color::resolved(const QPalette &palette) const
{
    return isDark(palette) ? dark() : light();
}

QColor Theme::secondaryText(const QPalette &palette)
{
    QColor color = palette.color(QPalette::WindowText);
    color.setAlphaF(0.55);
    return color;
}

bool Theme::isDark(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightness() < 128;
}

QPalette Theme::palette(Appearance appearance)
{
    const auto pick = [appearance](const Color &color) {
        return appearance == Appearance::dark ? color.dark() : color.light();
    };
    const QColor text = pick(Theme::text());
    const QColor card = pick(Theme::card());
    QPalette palette(card, pick(background()));
    for (const auto role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::ToolTipText})
        palette.setColor(role, text);
    palette.setColor(QPalette::Base, card);
    palette.setColor(QPalette::AlternateBase, pick(placeholder()));
    palette.setColor(QPalette::ToolTipBase, card);
    palette.setColor(QPalette::Link, pick(accent()));
    palette.setColor(QPalette::PlaceholderText, withAlpha(text, 110));
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, withAlpha(text, 100));
    return withAccentHighlight(palette);
}

QPalette Theme::withAccentHighlight(QPalette palette)
{
    palette.setColor(QPalette::Highlight, accent().resolved(palette));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    return palette;
}

void Theme::followPalette(QWidget *widget, std::function<void()> repaint)
{
    new PaletteWatch(widget, std::move(repaint));
}

void Theme::paintAndFollow(QWidget *widget, const std::function<void()> &paint)
{
    paint();
    followPalette(widget, paint);
}

void Theme::useSecondaryText(QWidget *widget)
{
    const auto fade = [widget] {
        QPalette faded = widget->palette();
        faded.setColor(QPalette::WindowText, secondaryText(QGuiApplication::palette()));
        widget->setPalette(faded);
    };
    paintAndFollow(widget, fade);
}
