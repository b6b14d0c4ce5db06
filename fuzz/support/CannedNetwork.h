#pragma once

#include "NetworkSession.h"

#include <QByteArray>

// A network manager that answers every request from memory with status 200
// and the same body, so a parser reads fuzzed bytes without any socket.
class CannedNetwork : public NetworkSession {
public:
    explicit CannedNetwork(const QByteArray &body) : m_body(body) {}

protected:
    QNetworkReply *createRequest(Operation operation, const QNetworkRequest &request,
                                 QIODevice *outgoingData) override;

private:
    QByteArray m_body;
};
