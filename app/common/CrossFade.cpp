#include "CrossFade.h"

#include "Motion.h"

#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QWidget>

CrossFade *CrossFade::start(QWidget *from, QWidget *to)
{
    // A newer fade takes over from a running one.
    if (CrossFade *previous = running(to))
        previous->end();
    if (CrossFade *previous = running(from))
        previous->end();
    return new CrossFade(from, to);
}

CrossFade *CrossFade::running(QWidget *to)
{
    return to ? to->findChild<CrossFade *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

CrossFade::CrossFade(QWidget *from, QWidget *to)
    : QObject(to), m_to(to), m_picture(new QLabel(to->parentWidget())), m_fadeIn(new QGraphicsOpacityEffect),
      m_fadeOut(new QGraphicsOpacityEffect(m_picture)),
      m_motion(new Motion(Motion::Curve::spring(0.3, 0.85), 0.0, this))
{
    m_picture->setPixmap(from->grab());
    m_picture->setGeometry(from->geometry());
    m_picture->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_picture->setGraphicsEffect(m_fadeOut);
    m_picture->show();
    m_picture->raise();
    to->setGraphicsEffect(m_fadeIn);
    step();
    connect(m_motion, &Motion::valueChanged, this, &CrossFade::step);
    connect(m_motion, &Motion::finished, this, &CrossFade::end);
    m_motion->animateTo(1.0);
}

void CrossFade::step()
{
    const qreal shown = std::clamp(m_motion->value().toReal(), 0.0, 1.0);
    m_fadeOut->setOpacity(1 - shown);
    if (m_fadeIn)
        m_fadeIn->setOpacity(shown);
    if (m_motion->state() != Motion::Running && m_motion->value().toReal() >= 1)
        end();
}

// Opacity effects slow every paint, so none outlives the fade.
void CrossFade::end()
{
    if (m_ended)
        return;
    m_ended = true;
    m_motion->stop();
    delete m_picture;
    if (m_to && m_to->graphicsEffect() == m_fadeIn)
        m_to->setGraphicsEffect(nullptr);
    setParent(nullptr);
    deleteLater();
}
