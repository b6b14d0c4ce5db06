#include "CannedNetwork.h"

#include <QNetworkReply>
#include <QTimer>
#include <cstring>

namespace {

// Finishes on the next turn of the event loop, as a real reply would.
class CannedReply : public QNetworkReply {
public:
    CannedReply(QNetworkAccessManager::Operation operation, const QNetworkRequest &request,
                const QByteArray &body, QObject *parent)
        : QNetworkReply(parent), m_body(body)
    {
        setRequest(request);
        setUrl(request.url());
        setOperation(operation);
        setAttribute(QNetworkRequest::HttpStatusCodeAttribute, 200);
        setHeader(QNetworkRequest::ContentTypeHeader, QByteArray("text/html; charset=utf-8"));
        setHeader(QNetworkRequest::ContentLengthHeader, m_body.size());
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        QTimer::singleShot(0, this, &CannedReply::deliver);
    }

    void abort() override {}
    qint64 bytesAvailable() const override
    {
        return m_body.size() - m_read + QNetworkReply::bytesAvailable();
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 count = qMin(maxSize, m_body.size() - m_read);
        std::memcpy(data, m_body.constData() + m_read, size_t(count));
        m_read += count;
        return count;
    }

private:
    void deliver()
    {
        emit metaDataChanged();
        emit downloadProgress(m_body.size(), m_body.size());
        emit readyRead();
        setFinished(true);
        emit finished();
    }

    QByteArray m_body;
    qint64 m_read = 0;
};

} // namespace

QNetworkReply *CannedNetwork::createRequest(Operation operation, const QNetworkRequest &request, QIODevice *)
{
    return new CannedReply(operation, request, m_body, this);
}
