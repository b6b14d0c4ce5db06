#include "SecondaryLabel.h"

#include "Theme.h"

SecondaryLabel::SecondaryLabel(const QString &text, const QFont &font, QWidget *parent) : QLabel(text, parent)
{
    setFont(font);
    Theme::useSecondaryText(this);
}
