#include "NetworkSession.h"

#include <QCoreApplication>
#include <QMutex>
#include <QPointer>
#include <QSslConfiguration>
#include <QThread>

namespace {

QMutex &trustLock()
{
    static QMutex lock;
    return lock;
}

QList<QSslCertificate> &extraCertificates()
{
    static QList<QSslCertificate> certificates;
    return certificates;
}

// Ties a new manager's life to its thread: the application owns the main
// thread's manager, any other thread's goes when that thread finishes.
void bindToThread(QObject *manager)
{
    QThread *thread = QThread::currentThread();
    QCoreApplication *app = QCoreApplication::instance();
    if (app && app->thread() == thread)
        manager->setParent(app);
    else
        QObject::connect(thread, &QThread::finished, manager, &QObject::deleteLater);
}

} // namespace

NetworkSession &NetworkSession::shared()
{
    thread_local QPointer<NetworkSession> manager;
    if (!manager) {
        manager = new NetworkSession;
        bindToThread(manager);
    }
    return *manager;
}

void NetworkSession::setExtraTrustedCertificates(const QList<QSslCertificate> &certificates)
{
    QMutexLocker locker(&trustLock());
    extraCertificates() = certificates;
}

QList<QSslCertificate> NetworkSession::extraTrustedCertificates()
{
    QMutexLocker locker(&trustLock());
    return extraCertificates();
}

QNetworkReply *NetworkSession::createRequest(Operation op, const QNetworkRequest &request,
                                             QIODevice *outgoingData)
{
    const QList<QSslCertificate> extra = extraTrustedCertificates();
    if (extra.isEmpty() || request.url().scheme() != QLatin1String("https"))
        return QNetworkAccessManager::createRequest(op, request, outgoingData);
    QNetworkRequest trusting(request);
    QSslConfiguration ssl = trusting.sslConfiguration();
    ssl.addCaCertificates(extra);
    trusting.setSslConfiguration(ssl);
    return QNetworkAccessManager::createRequest(op, trusting, outgoingData);
}
