#include "HorizontalStrip.h"

#include <QHBoxLayout>

HorizontalStrip::HorizontalStrip(int spacing, QWidget *parent) : QScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
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
}

void HorizontalStrip::fitHeight()
{
    setFixedHeight(widget()->sizeHint().height());
}
