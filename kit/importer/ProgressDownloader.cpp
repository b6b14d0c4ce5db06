#include "ProgressDownloader.h"

#include "HTTPClient.h"
#include "NetworkError.h"
#include "NetworkSession.h"
#include "PrivateTempFolder.h"

#include <QCoro/QCoroNetworkReply>
#include <chrono>

namespace {

struct LaterDeleter {
    void operator()(QObject *object) const { object->deleteLater(); }
};
using ReplyHandle = std::unique_ptr<QNetworkReply, LaterDeleter>;

// Older leftovers belong to no download still running.
constexpr std::chrono::hours leftoverAge{24};

int statusOf(const QNetworkReply &reply)
{
    return reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

bool isSuccess(int status)
{
    return status >= 200 && status <= 299;
}

// One request and its answer. The body of a 2xx answer goes to the file as
// it arrives; any other body is dropped.
class Transfer {
public:
    Transfer(QNetworkReply &reply, QFile &file, const ProgressDownloader::Progress &progress)
        : m_reply(reply), m_file(file), m_progress(progress)
    {
        reply.setReadBufferSize(ProgressDownloader::readBufferSize);
        QObject::connect(&reply, &QNetworkReply::readyRead, &m_guard, [this] { drain(); });
    }

    // After the reply finished: writes what is left and checks the whole came.
    void finish()
    {
        drain();
        if (m_failed)
            throw NetworkError(NetworkError::Kind::other, m_file.errorString());
        HTTPClient::requireTransportSuccess(m_reply);
        if (isSuccess(statusOf(m_reply)) && expected() >= 0 && m_written != expected())
            throw NetworkError(NetworkError::Kind::cannotConnect, QStringLiteral("body ended early"));
        if (!m_file.flush())
            throw NetworkError(NetworkError::Kind::other, m_file.errorString());
    }

private:
    qint64 expected() const
    {
        const QVariant length = m_reply.header(QNetworkRequest::ContentLengthHeader);
        return length.isValid() ? length.toLongLong() : -1;
    }

    void drain()
    {
        const QByteArray chunk = m_reply.readAll();
        if (chunk.isEmpty() || m_failed || !isSuccess(statusOf(m_reply)))
            return;
        if (m_file.write(chunk) != chunk.size()) {
            m_failed = true;
            m_reply.abort();
            return;
        }
        m_written += chunk.size();
        if (m_progress)
            m_progress(m_written, expected());
    }

    QNetworkReply &m_reply;
    QFile &m_file;
    const ProgressDownloader::Progress &m_progress;
    qint64 m_written = 0;
    bool m_failed = false;
    // Ends the connection with the reply together with the transfer.
    QObject m_guard;
};

struct Answer {
    int status = 0;
    // Where a redirect sends the request; empty for any other answer.
    QByteArray location;
};

QCoro::Task<Answer> transfer(QNetworkAccessManager &session, const QNetworkRequest &request, QFile &file,
                             const ProgressDownloader::Progress &progress, const std::stop_token &stop)
{
    HTTPClient::requireWebScheme(request.url());
    const ReplyHandle reply(session.get(request));
    Transfer body(*reply, file, progress);
    const std::stop_callback cancel(
        stop, [r = reply.get()] { QMetaObject::invokeMethod(r, &QNetworkReply::abort); });
    co_await reply.get();
    if (stop.stop_requested())
        throw NetworkError(NetworkError::Kind::other, QStringLiteral("cancelled"));
    body.finish();
    const int status = statusOf(*reply);
    co_return Answer{status, HTTPClient::isRedirect(status) ? reply->rawHeader("Location") : QByteArray()};
}

} // namespace

ProgressDownloader &ProgressDownloader::shared()
{
    static ProgressDownloader *engine = [] {
        PrivateTempFolder::sweep(filePrefix, leftoverAge);
        return new ProgressDownloader(&NetworkSession::shared());
    }();
    return *engine;
}

ProgressDownloader::ProgressDownloader(QNetworkAccessManager *session) : m_session(session) {}

QCoro::Task<ProgressDownloader::Download>
ProgressDownloader::download(QNetworkRequest request, Progress progress, std::stop_token stop) const
{
    if (!m_session)
        throw NetworkError(NetworkError::Kind::other, QStringLiteral("no network session"));
    File file = std::make_unique<QTemporaryFile>(PrivateTempFolder::fileTemplate(filePrefix));
    if (!file->open())
        throw NetworkError(NetworkError::Kind::other, file->errorString());
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    // Media requests carry no cookie and keep none.
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    for (int redirects = 0;; ++redirects) {
        const Answer answer = co_await transfer(*m_session, request, *file, progress, stop);
        if (answer.location.isEmpty())
            co_return Download{std::move(file), answer.status};
        if (redirects == HTTPClient::maxRedirects)
            throw NetworkError(NetworkError::Kind::tooManyRedirects, request.url().toString());
        request.setUrl(request.url().resolved(QUrl::fromEncoded(answer.location)));
    }
}
