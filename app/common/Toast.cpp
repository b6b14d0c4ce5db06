#include "Toast.h"

#include "Typography.h"
#include "WrappedLabel.h"

Toast::Toast(const QString &message, QWidget *parent)
    : FloatingCapsule(parent), m_label(new WrappedLabel(message, this))
{
    m_label->setFont(Typography::callout(font(), QFont::Medium));
    row().addWidget(m_label);
}

QString Toast::message() const
{
    return m_label->text();
}

void Toast::setMessage(const QString &message)
{
    m_label->setText(message);
}
