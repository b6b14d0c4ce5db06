#pragma once

#include "FixtureServer.h"

#include <QByteArray>
#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QString>
#include <functional>
#include <optional>
#include <utility>

// A Telegram Bot API on the fixture server for one bot token: it reads the
// form and multipart bodies it gets, numbers the messages it posts and keeps
// the channel's contents, so tests check what really stands in the channel.
// Answers can be scripted per method to play refusals and failures.
class FakeBotAPI {
public:
    struct File {
        QString field;
        QString filename;
        QString mime;
        QByteArray data;
    };

    struct Call {
        QString method;
        QByteArray contentType;
        QByteArray body;
        QList<std::pair<QString, QString>> fields;
        QList<File> files;

        QString field(const QString &name) const;
        bool has(const QString &name) const;
    };

    struct Message {
        QString method;
        // The text of a text message, else the caption (empty when none).
        QString text;
        QList<File> files;
        std::optional<qint64> replyTo;
    };

    static const QString address;
    static const QString token;
    static const QString chatID;

    FakeBotAPI();

    FixtureServer &server() { return m_server; }
    const QList<Call> &calls() const { return m_calls; }
    QList<Call> calls(const QString &method) const;
    const QMap<qint64, Message> &channel() const { return m_channel; }
    // Drops the record of calls and the channel's contents (ids go on counting).
    void forget();

    // The following requests of the method get these answers, in turn,
    // instead of being carried out; an empty entry lets one request through.
    void script(const QString &method, const QList<std::optional<FixtureServer::Reply>> &replies);
    // Called as each request arrives, before it is answered: the moment to
    // change things while the client waits.
    void onCall(std::function<void(const Call &)> callback) { m_onCall = std::move(callback); }
    // The "result" of getMe, getChat and getChatMember.
    void setResult(const QString &method, const QJsonObject &result) { m_results.insert(method, result); }

    static FixtureServer::Reply json(const QByteArray &body, int status = 200);
    static Call parse(const QString &method, const FixtureServer::Request &request);

private:
    FixtureServer::Reply carryOut(const Call &call);
    qint64 post(const QString &method, const QString &text, const QList<File> &files,
                std::optional<qint64> replyTo = std::nullopt);
    QJsonValue sendGroup(const Call &call);
    void deleteMessages(const Call &call);

    FixtureServer m_server;
    QList<Call> m_calls;
    QMap<qint64, Message> m_channel;
    QHash<QString, QList<std::optional<FixtureServer::Reply>>> m_scripted;
    QHash<QString, QJsonObject> m_results;
    std::function<void(const Call &)> m_onCall;
    qint64 m_nextID = 100;
};
