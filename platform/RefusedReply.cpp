#include "RefusedReply.h"

#include <QTimer>

RefusedReply::RefusedReply(const QNetworkRequest &request, QNetworkAccessManager::Operation operation,
                           QObject *parent)
    : QNetworkReply(parent)
{
    setRequest(request);
    setUrl(request.url());
    setOperation(operation);
    setOpenMode(QIODevice::ReadOnly);
    setError(ProtocolUnknownError, tr("Only http and https links are fetched"));
    QTimer::singleShot(0, this, [this] {
        setFinished(true);
        emit errorOccurred(ProtocolUnknownError);
        emit finished();
    });
}
