#pragma once

#include <QList>
#include <QNetworkAccessManager>
#include <QSslCertificate>

// The process's URL session: one QNetworkAccessManager per thread, all
// configured alike. Every request made through one of them also trusts the
// extra certificates set here (tests add their fixture server's).
class NetworkSession : public QNetworkAccessManager {
    Q_OBJECT
public:
    // The calling thread's manager, created on first use; it lives as long as
    // the application (main thread) or the thread.
    static NetworkSession &shared();

    static void setExtraTrustedCertificates(const QList<QSslCertificate> &certificates);
    static QList<QSslCertificate> extraTrustedCertificates();

protected:
    QNetworkReply *createRequest(Operation op, const QNetworkRequest &request,
                                 QIODevice *outgoingData) override;

private:
    NetworkSession() = default;
};
