#include "HorizontalStrip.h"

#include "TabOrder.h"

#include <QEvent>
#include <QHBoxLayout>

HorizontalStrip::HorizontalStrip(int spacing, QWidget *parent) : QScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    // Tab goes to the widgets of the row; the strip itself shows no focus.
    setFocusPolicy(Qt::NoFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setWidgetResizable(true);
    viewport()->setAutoFillBackground(false);
    auto content = new QWidget(this);
    m_row = new QHBoxLayout(content);
    m_row->setContentsMargins(0, 0, 0, 0);
    m_row->setSpacing(spacing);
    m_row->addStretch();
    setWidget(content);
    // setWidget fills the content's background; the strip shows its holder's.
    content->setAutoFillBackground(false);
    content->installEventFilter(this);
}

QList<QWidget *> HorizontalStrip::items() const
{
    QList<QWidget *> result;
    for (int index = 0; index < m_row->count() - 1; ++index)
        result.append(m_row->itemAt(index)->widget());
    return result;
}

void HorizontalStrip::clear()
{
    while (m_row->count() > 1)
        delete m_row->takeAt(0)->widget();
}

void HorizontalStrip::add(QWidget *widget)
{
    m_row->insertWidget(m_row->count() - 1, widget);
    TabOrder::placeIn(*this, items());
    // A layout shows a widget added to a shown row only one event later; a
    // hidden one has no height, and the strip would take none.
    if (!widget->testAttribute(Qt::WA_WState_ExplicitShowHide))
        widget->show();
}

QSize HorizontalStrip::sizeHint() const
{
    return {QScrollArea::sizeHint().width(), widget()->sizeHint().height()};
}

QSize HorizontalStrip::minimumSizeHint() const
{
    return {QScrollArea::minimumSizeHint().width(), widget()->sizeHint().height()};
}

bool HorizontalStrip::eventFilter(QObject *watched, QEvent *event)
{
    // The row changed: its height may have, and the strip's with it.
    if (watched == widget() && event->type() == QEvent::LayoutRequest)
        updateGeometry();
    return QScrollArea::eventFilter(watched, event);
}
