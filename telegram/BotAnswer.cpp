#include "BotAnswer.h"

#include "NetworkError.h"
#include "NetworkSession.h"

#include <QMetaEnum>
#include <QCoro/QCoroNetworkReply>
#include <memory>

namespace {

struct LaterDeleter {
    void operator()(QObject *object) const { object->deleteLater(); }
};

// Cuts the answer off once it passes the limit; the bytes read so far stay.
void capSize(QNetworkReply *reply, const std::shared_ptr<bool> &cut)
{
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply,
                     [reply, cut](qint64 received, qint64 total) {
                         if (!*cut && (received > BotAnswer::sizeLimit || total > BotAnswer::sizeLimit)) {
                             *cut = true;
                             reply->abort();
                         }
                     });
}

} // namespace

QCoro::Task<BotAnswer> BotAnswer::of(QNetworkReply *replyPointer)
{
    const std::unique_ptr<QNetworkReply, LaterDeleter> reply(replyPointer);
    const auto cut = std::make_shared<bool>(false);
    capSize(reply.get(), cut);
    co_await reply.get();
    BotAnswer answer;
    answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (*cut)
        co_return answer;
    // The reply's own error text names the address, and with it the token:
    // only the error's name goes along.
    if (const auto failure = NetworkSession::failureKind(*reply))
        throw NetworkError(
            *failure, QString::fromLatin1(
                          QMetaEnum::fromType<QNetworkReply::NetworkError>().valueToKey(reply->error())));
    answer.body = reply->readAll();
    co_return answer;
}
