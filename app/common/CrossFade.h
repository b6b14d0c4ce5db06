#pragma once

#include <QObject>
#include <QPointer>

class Motion;
class QGraphicsOpacityEffect;
class QLabel;
class QWidget;

// Hands one view's place over to another: a picture of the old view fades
// out where it stood while the new one fades in. The new view takes input
// at once; the fade only follows. It deletes itself when done.
class CrossFade : public QObject {
    Q_OBJECT
public:
    // Call while `from` is still on screen, then swap the two; both share a parent.
    static CrossFade *start(QWidget *from, QWidget *to);
    // The running fade of the view, if any.
    static CrossFade *running(QWidget *to);

    Motion &motion() const { return *m_motion; }

private:
    CrossFade(QWidget *from, QWidget *to);
    void step();
    void end();

    QPointer<QWidget> m_to;
    QPointer<QLabel> m_picture;
    QPointer<QGraphicsOpacityEffect> m_fadeIn;
    QGraphicsOpacityEffect *m_fadeOut;
    Motion *m_motion;
    bool m_ended = false;
};
