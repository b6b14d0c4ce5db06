#include "ReplyWatch.h"

#include <QNetworkReply>

ReplyWatch *ReplyWatch::attach(QNetworkReply *reply, const Limits &limits)
{
    return new ReplyWatch(reply, limits);
}

ReplyWatch *ReplyWatch::of(const QNetworkReply *reply)
{
    return reply->findChild<ReplyWatch *>(QString(), Qt::FindDirectChildrenOnly);
}

ReplyWatch::ReplyWatch(QNetworkReply *reply, const Limits &limits)
    : QObject(reply), m_reply(reply), m_bodyLimit(limits.bodyLimit)
{
    m_idle.setSingleShot(true);
    m_idle.setInterval(limits.idleTimeout);
    m_deadline.setSingleShot(true);
    m_deadline.setInterval(limits.deadline);
    const auto timeOut = [this] { stop(Reason::timedOut); };
    connect(&m_idle, &QTimer::timeout, this, timeOut);
    connect(&m_deadline, &QTimer::timeout, this, timeOut);
    const auto moved = [this] {
        if (!m_held)
            m_idle.start();
    };
    connect(reply, &QNetworkReply::uploadProgress, this, moved);
    connect(reply, &QNetworkReply::metaDataChanged, this, moved);
    connect(reply, &QNetworkReply::downloadProgress, this, &ReplyWatch::bodyReceived);
    connect(reply, &QNetworkReply::finished, this, [this] {
        m_idle.stop();
        m_deadline.stop();
    });
    m_idle.start();
    m_deadline.start();
}

void ReplyWatch::bodyReceived(qint64 received, qint64 total)
{
    if (!m_held)
        m_idle.start();
    if (received > m_bodyLimit || total > m_bodyLimit)
        stop(Reason::tooLarge);
}

void ReplyWatch::setHeld(bool held)
{
    if (held == m_held || m_reply->isFinished())
        return;
    m_held = held;
    if (held)
        m_idle.stop();
    else
        m_idle.start();
}

void ReplyWatch::stop(Reason reason)
{
    if (m_reason != Reason::none)
        return;
    // A body may be over its limit only once it has all arrived.
    m_reason = reason;
    if (!m_reply->isFinished())
        m_reply->abort();
}
