#include "SlideIn.h"

#include "Motion.h"

#include <QGraphicsOpacityEffect>
#include <QWidget>

SlideIn::SlideIn(QWidget *widget)
    : QObject(widget), m_widget(widget), m_presence(new Motion(Motion::Curve::spring(0.3, 1.0), 0.0, this)),
      m_place(new Motion(Motion::Curve::spring(0.3, 1.0), QPointF(), this))
{
    for (Motion *motion : {m_presence, m_place}) {
        connect(motion, &Motion::valueChanged, this, &SlideIn::step);
        connect(motion, &Motion::finished, this, &SlideIn::step);
    }
}

void SlideIn::showAt(const QPoint &resting)
{
    if (!m_shown || !m_widget->isVisible()) {
        // It comes in straight to its place, not from where it last stood.
        m_place->jumpTo(QPointF(resting));
        m_shown = true;
        m_widget->show();
    } else {
        m_place->animateTo(QPointF(resting));
    }
    m_presence->animateTo(1.0);
    step();
}

void SlideIn::hide()
{
    if (!m_shown)
        return;
    m_shown = false;
    m_presence->animateTo(0.0);
    step();
}

void SlideIn::step()
{
    const qreal presence = std::clamp(m_presence->value().toReal(), 0.0, 1.0);
    const bool moving = m_presence->state() == Motion::Running;
    if (!m_shown && !moving && presence <= 0) {
        m_widget->hide();
        return;
    }
    const QPointF resting = m_place->value().toPointF();
    const int parentHeight = m_widget->parentWidget() ? m_widget->parentWidget()->height() : 0;
    const qreal below = std::max(parentHeight - resting.y(), 0.0);
    m_widget->move(resting.toPoint() + QPoint(0, qRound((1 - presence) * below)));
    // An opacity effect slows every paint, so it lives only while fading.
    if (moving && !m_fade) {
        m_fade = new QGraphicsOpacityEffect(m_widget);
        m_widget->setGraphicsEffect(m_fade);
    } else if (!moving && m_fade) {
        m_widget->setGraphicsEffect(nullptr);
        m_fade = nullptr;
    }
    if (m_fade)
        m_fade->setOpacity(presence);
}
