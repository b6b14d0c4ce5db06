#pragma once

#include "NetworkRequest.h"

#include <QCoro/QCoroTask>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QUrl>
#include <memory>
#include <vector>

class Cancellation;
class QTcpSocket;

// Serves one remote media file to the player on 127.0.0.1. The player sends
// none of our request headers, so the relay fetches the file through the
// network session with the platform's own (Referer and the like), passes each
// Range request on and streams the answer back as it arrives. Only the one
// file is ever fetched, and only under a path nobody can guess.
class MediaRelay : public QObject {
    Q_OBJECT
public:
    // The request's link must already be checked to be http or https.
    explicit MediaRelay(NetworkRequest request, QObject *parent = nullptr);
    // Stops the transfers still running.
    ~MediaRelay() override;

    // The address the player opens; empty when no port could be had.
    QUrl url() const;

private:
    void accept();
    void answer(QTcpSocket *socket, const QByteArray &head);
    static QCoro::Task<> relay(NetworkRequest request, QPointer<QTcpSocket> socket,
                               std::shared_ptr<Cancellation> cancellation);

    NetworkRequest m_request;
    QTcpServer m_server;
    QString m_path;
    std::vector<std::weak_ptr<Cancellation>> m_transfers;
};
