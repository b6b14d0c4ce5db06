#include "SecondaryLabel.h"

#include "Theme.h"

SecondaryLabel::SecondaryLabel(const QString &text, const QFont &font, QWidget *parent) : QLabel(text, parent)
{
    setFont(font);
    QPalette faded = palette();
    faded.setColor(QPalette::WindowText, Theme::secondaryText(parent->palette()));
    setPalette(faded);
}
