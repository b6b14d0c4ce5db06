#pragma once

#include "HostTable.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPair>
#include <QSet>
#include <QSslServer>
#include <QString>
#include <QUrl>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>

// An HTTPS server on loopback addresses for the parser and importer tests.
// Each platform gets its own address (127.0.0.2, 127.0.0.3, ...), so the
// host-based rules still tell platforms apart. Answers are set per address and
// path; every request is recorded, headers included. While it exists, the
// network session trusts its test certificate.
class FixtureServer {
public:
    using HeaderList = QList<QPair<QByteArray, QByteArray>>;

    struct Request {
        QString address;
        // Path and query as sent.
        QByteArray target;
        // In the order sent.
        HeaderList headers;
        QByteArray body;

        // The values of every header of that name (case-insensitive), in the order sent.
        QList<QByteArray> header(const QByteArray &name) const;
    };

    struct Reply {
        int status = 200;
        QByteArray body;
        HeaderList headers;
        // Wait this long before answering.
        std::chrono::milliseconds delay{0};
        // Close the connection without answering.
        bool drop = false;
        // Send the body one byte at a time at this interval.
        std::chrono::milliseconds trickle{0};
        // Sent as it is in place of a composed answer: for servers that lie
        // about the length, send none or stop half-way.
        std::optional<QByteArray> raw;
    };

    FixtureServer();
    ~FixtureServer();
    FixtureServer(const FixtureServer &) = delete;
    FixtureServer &operator=(const FixtureServer &) = delete;

    // "https://address:port"; starts listening on the address on first use.
    QString origin(const QString &address);
    QUrl url(const QString &address, const QString &pathAndQuery)
    {
        return QUrl(origin(address) + pathAndQuery);
    }
    // Points a hosts-table role at the listener on the address.
    void pointAt(Host role, const QString &address);

    // `pathAndQuery` matches a request's exact target, or its path when no
    // answer is set for the whole target. Anything else gets 404.
    void serve(const QString &address, const QString &pathAndQuery, const Reply &reply);
    void page(const QString &address, const QString &pathAndQuery, const QByteArray &html,
              const QByteArray &contentType = "text/html; charset=utf-8")
    {
        serve(address, pathAndQuery, {200, html, {{"Content-Type", contentType}}});
    }
    void redirect(const QString &address, const QString &pathAndQuery, const QString &location,
                  int status = 302)
    {
        serve(address, pathAndQuery, {status, {}, {{"Location", location.toUtf8()}}});
    }

    // Answers every request for the path (any query) by calling the handler;
    // a handler wins over a fixed answer.
    using Handler = std::function<Reply(const Request &)>;
    void handle(const QString &address, const QString &path, Handler handler);
    // Closes the connection of requests for the path once their head is in,
    // while the client is still sending the body.
    void dropMidBody(const QString &address, const QString &path);
    // Keeps the answers to requests for the path until release(), so a test
    // sees the moment when several requests are in and none is answered.
    void hold(const QString &address, const QString &path);
    // Sends the answers kept so far, each after its own delay, and keeps no more.
    void release();

    const QList<Request> &requests() const { return m_requests; }
    void forgetRequests() { m_requests.clear(); }

private:
    QSslServer &listener(const QString &address);
    void answer(QTcpSocket *socket, QByteArray &buffer, const QString &address);
    static void send(QTcpSocket *socket, const QByteArray &head, const Reply &reply);
    static void sendLater(QTcpSocket *socket, const Reply &reply);

    Reply replyFor(const Request &request) const;

    QHash<QString, Reply> m_replies;
    QHash<QString, Handler> m_handlers;
    QSet<QString> m_dropMidBody;
    QSet<QString> m_held;
    QList<std::function<void()>> m_heldAnswers;
    QList<Request> m_requests;
    std::map<QString, std::unique_ptr<QSslServer>> m_listeners;
};
