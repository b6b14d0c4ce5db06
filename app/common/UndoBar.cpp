#include "UndoBar.h"

#include "Symbol.h"
#include "Theme.h"
#include "Typography.h"
#include "WrappedLabel.h"

#include <QEvent>
#include <QLabel>
#include <QToolButton>

UndoBar::UndoBar(int count, QWidget *parent)
    : FloatingCapsule(parent), m_icon(new QLabel(this)), m_text(new WrappedLabel({}, this)),
      m_undoButton(new QToolButton(this))
{
    paintIcon();
    m_text->setFont(Typography::callout(font()));
    m_undoButton->setText(tr("撤销"));
    m_undoButton->setFont(Typography::callout(font(), QFont::DemiBold));
    m_undoButton->setAutoRaise(true);
    m_undoButton->setCursor(Qt::PointingHandCursor);
    connect(m_undoButton, &QToolButton::clicked, this, &UndoBar::undo);

    row().setSpacing(12);
    row().addWidget(m_icon);
    row().addWidget(m_text);
    row().addWidget(m_undoButton);
    setCount(count);
}

void UndoBar::setCount(int count)
{
    m_count = count;
    m_text->setText(tr("已删除 %n 条收藏", nullptr, count));
}

QString UndoBar::text() const
{
    return m_text->text();
}

void UndoBar::changeEvent(QEvent *event)
{
    FloatingCapsule::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        paintIcon();
}

void UndoBar::paintIcon()
{
    QColor secondary = Theme::text().resolved(palette());
    secondary.setAlphaF(0.55);
    const int size = QFontMetrics(Typography::callout(font())).height();
    m_icon->setPixmap(Symbol::pixmap(QStringLiteral("trash"), size, secondary, 1, devicePixelRatioF()));
}
