#pragma once

#include <QNetworkReply>

// The answer to a request for a link that is not http or https: it sends
// nothing and finishes, on the next turn of the event loop, with
// ProtocolUnknownError, as any failed request would.
class RefusedReply : public QNetworkReply {
    Q_OBJECT
public:
    RefusedReply(const QNetworkRequest &request, QNetworkAccessManager::Operation operation, QObject *parent);

    void abort() override {}

protected:
    qint64 readData(char *, qint64) override { return -1; }
};
