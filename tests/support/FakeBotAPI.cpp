#include "FakeBotAPI.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

namespace {

const QStringList methods = {"getMe",     "getChat",   "getChatMember",  "sendMessage",   "sendPhoto",
                             "sendVideo", "sendAudio", "sendMediaGroup", "deleteMessages"};

QList<std::pair<QString, QString>> formFields(const QByteArray &body)
{
    QList<std::pair<QString, QString>> fields;
    for (const QByteArray &pair : body.split('&')) {
        const qsizetype equals = pair.indexOf('=');
        if (equals < 0)
            continue;
        fields.append({QString::fromUtf8(QByteArray::fromPercentEncoding(pair.left(equals))),
                       QString::fromUtf8(QByteArray::fromPercentEncoding(pair.mid(equals + 1)))});
    }
    return fields;
}

QString quoted(const QByteArray &header, const char *name)
{
    const QRegularExpression pattern(QStringLiteral("; %1=\"([^\"]*)\"").arg(QLatin1String(name)));
    return pattern.match(QString::fromUtf8(header)).captured(1);
}

void readMultipart(FakeBotAPI::Call &call)
{
    const QByteArray boundary = "--" + call.contentType.split('=').value(1);
    qsizetype at = call.body.indexOf(boundary + "\r\n");
    while (at >= 0) {
        const qsizetype headStart = at + boundary.size() + 2;
        const qsizetype headEnd = call.body.indexOf("\r\n\r\n", headStart);
        const qsizetype next = call.body.indexOf("\r\n" + boundary, headEnd);
        if (headEnd < 0 || next < 0)
            return;
        const QByteArray head = call.body.mid(headStart, headEnd - headStart);
        const QByteArray content = call.body.mid(headEnd + 4, next - headEnd - 4);
        const QList<QByteArray> lines = head.split('\n');
        const QByteArray disposition = lines.value(0).trimmed();
        if (disposition.contains("filename=")) {
            const QByteArray type = lines.value(1).trimmed().mid(qstrlen("Content-Type: "));
            call.files.append({quoted(disposition, "name"), quoted(disposition, "filename"),
                               QString::fromUtf8(type), content});
        } else {
            call.fields.append({quoted(disposition, "name"), QString::fromUtf8(content)});
        }
        at = QByteArrayView(call.body).sliced(next + 2).startsWith(boundary + "--") ? -1 : next + 2;
    }
}

} // namespace

const QString FakeBotAPI::address = QStringLiteral("127.0.0.20");
const QString FakeBotAPI::token = QStringLiteral("123456:AAE-test_token");
const QString FakeBotAPI::chatID = QStringLiteral("@kepsel_channel");

QString FakeBotAPI::Call::field(const QString &name) const
{
    for (const auto &[key, value] : fields)
        if (key == name)
            return value;
    return {};
}

bool FakeBotAPI::Call::has(const QString &name) const
{
    return std::any_of(fields.cbegin(), fields.cend(), [&](const auto &pair) { return pair.first == name; });
}

FakeBotAPI::FakeBotAPI()
{
    m_server.pointAt(Host::TelegramBotAPI, address);
    m_results.insert("getMe", QJsonObject{{"id", 42}, {"is_bot", true}, {"username", "kepsel_bot"}});
    m_results.insert("getChat", QJsonObject{{"id", -1001}, {"title", "我的频道"}});
    m_results.insert("getChatMember", QJsonObject{{"status", "administrator"}, {"can_post_messages", true}});
    for (const QString &method : methods)
        m_server.handle(address, QStringLiteral("/bot%1/%2").arg(token, method),
                        [this, method](const FixtureServer::Request &request) {
                            m_calls.append(parse(method, request));
                            if (m_onCall)
                                m_onCall(m_calls.last());
                            auto &scripted = m_scripted[method];
                            const auto next = scripted.isEmpty() ? std::nullopt : scripted.takeFirst();
                            return next ? *next : carryOut(m_calls.last());
                        });
}

QList<FakeBotAPI::Call> FakeBotAPI::calls(const QString &method) const
{
    QList<Call> matching;
    for (const Call &call : m_calls)
        if (call.method == method)
            matching.append(call);
    return matching;
}

void FakeBotAPI::forget()
{
    m_calls.clear();
    m_channel.clear();
    m_server.forgetRequests();
}

void FakeBotAPI::script(const QString &method, const QList<std::optional<FixtureServer::Reply>> &replies)
{
    m_scripted[method] += replies;
}

FixtureServer::Reply FakeBotAPI::json(const QByteArray &body, int status)
{
    return {status, body, {{"Content-Type", "application/json"}}};
}

FakeBotAPI::Call FakeBotAPI::parse(const QString &method, const FixtureServer::Request &request)
{
    Call call{method, request.header("Content-Type").value(0), request.body, {}, {}};
    if (call.contentType.startsWith("multipart/form-data"))
        readMultipart(call);
    else
        call.fields = formFields(request.body);
    return call;
}

FixtureServer::Reply FakeBotAPI::carryOut(const Call &call)
{
    QJsonValue result = m_results.value(call.method);
    if (call.method == QLatin1String("sendMessage")) {
        const QJsonObject reply = QJsonDocument::fromJson(call.field("reply_parameters").toUtf8()).object();
        const auto replyTo =
            reply.contains("message_id") ? std::optional(reply["message_id"].toInteger()) : std::nullopt;
        result = QJsonObject{{"message_id", post(call.method, call.field("text"), {}, replyTo)}};
    } else if (call.method.startsWith(QLatin1String("send")) &&
               call.method != QLatin1String("sendMediaGroup")) {
        result = QJsonObject{{"message_id", post(call.method, call.field("caption"), call.files)}};
    } else if (call.method == QLatin1String("sendMediaGroup")) {
        result = sendGroup(call);
    } else if (call.method == QLatin1String("deleteMessages")) {
        deleteMessages(call);
        result = true;
    }
    return json(QJsonDocument(QJsonObject{{"ok", true}, {"result", result}}).toJson(QJsonDocument::Compact));
}

qint64 FakeBotAPI::post(const QString &method, const QString &text, const QList<File> &files,
                        std::optional<qint64> replyTo)
{
    const qint64 id = m_nextID++;
    m_channel.insert(id, {method, text, files, replyTo});
    return id;
}

QJsonValue FakeBotAPI::sendGroup(const Call &call)
{
    QJsonArray messages;
    const QJsonArray media = QJsonDocument::fromJson(call.field("media").toUtf8()).array();
    for (const QJsonValue &entry : media) {
        const QString attached = entry["media"].toString().mid(QStringLiteral("attach://").size());
        QList<File> files;
        for (const File &file : call.files)
            if (file.field == attached)
                files.append(file);
        const qint64 id = post(call.method, entry["caption"].toString(), files);
        messages.append(QJsonObject{{"message_id", id}});
    }
    return messages;
}

void FakeBotAPI::deleteMessages(const Call &call)
{
    const QJsonArray ids = QJsonDocument::fromJson(call.field("message_ids").toUtf8()).array();
    for (const QJsonValue &id : ids)
        m_channel.remove(id.toInteger());
}
