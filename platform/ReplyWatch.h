#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>

class QNetworkReply;

// Keeps one reply to its limits: it is aborted when no byte moves for the idle
// time-out, when the deadline passes, when the body grows past its limit, or
// when its owner stops it; the first reason is kept for the error report.
// A child of the reply, so it goes with it.
class ReplyWatch : public QObject {
    Q_OBJECT
public:
    enum class Reason { none, timedOut, tooLarge, cancelled, cannotWrite };

    struct Limits {
        std::chrono::milliseconds idleTimeout;
        std::chrono::milliseconds deadline;
        qint64 bodyLimit;
    };

    static ReplyWatch *attach(QNetworkReply *reply, const Limits &limits);
    // The reply's watch; null for a reply that was not made by NetworkSession.
    static ReplyWatch *of(const QNetworkReply *reply);

    Reason reason() const { return m_reason; }
    // Keeps the first reason and aborts the reply if it still runs.
    void stop(Reason reason);
    // While held the reply is not read on purpose, so the idle time-out waits.
    void setHeld(bool held);

private:
    ReplyWatch(QNetworkReply *reply, const Limits &limits);
    void bodyReceived(qint64 received, qint64 total);

    QNetworkReply *m_reply;
    qint64 m_bodyLimit;
    QTimer m_idle;
    QTimer m_deadline;
    Reason m_reason = Reason::none;
    bool m_held = false;
};
