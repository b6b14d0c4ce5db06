#include "TelegramSync.h"

#include "BackgroundUploader.h"
#include "BotAnswer.h"
#include "HostTable.h"
#include "NetworkError.h"
#include "Plugins.h"
#include "RequestBody.h"
#include "SettingsKey.h"
#include "SyncError.h"
#include "TamselStore.h"
#include "TelegramLedger.h"
#include "Text.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QCoro/QCoroTimer>
#include <exception>

using namespace Qt::StringLiterals;

namespace {

// A token stands in the request path: only characters that stay themselves
// there are taken, so "/", "?", "#", "%", spaces or anything unprintable can
// neither point the request elsewhere nor reach the network.
bool isUsableToken(const QString &token)
{
    static const QRegularExpression pathSafe(u"^[A-Za-z0-9:_.~-]+$"_s);
    return pathSafe.match(token).hasMatch();
}

std::optional<QString> trimmedSetting(const QString &key)
{
    const auto value = TamselStore::defaults().string(key);
    if (!value)
        return std::nullopt;
    const QString trimmed = Text::trimmingWhitespaceAndNewlines(*value);
    return trimmed.isEmpty() ? std::nullopt : std::optional(trimmed);
}

// "HTTP 502 <first 120 bytes>", for a refusal without description.
QString httpSummary(const BotAnswer &answer)
{
    return u"HTTP %1 %2"_s.arg(answer.status).arg(QString::fromUtf8(answer.body.left(120)));
}

JSON answerJSON(const QByteArray &body)
{
    try {
        return JSON::fromData(body);
    } catch (const JSONError &) {
        return {};
    }
}

} // namespace

const QString TelegramSync::pluginID = u"telegram"_s;

TelegramSync::TelegramSync(Config config, QNetworkAccessManager *session, std::optional<QString> ledgerKey)
    : m_config(std::move(config)), m_session(session), m_ledgerKey(std::move(ledgerKey))
{
}

std::optional<TelegramSync::Config> TelegramSync::config()
{
    if (!Plugins::isInstalledInSettings(pluginID) ||
        !TamselStore::defaults().boolValue(SettingsKey::telegramEnabled))
        return std::nullopt;
    const auto token = trimmedSetting(SettingsKey::telegramToken);
    const auto chatID = trimmedSetting(SettingsKey::telegramChatID);
    if (!token || !chatID)
        return std::nullopt;
    return Config{*token, *chatID};
}

bool TelegramSync::autoSync()
{
    return TamselStore::defaults().boolObject(SettingsKey::telegramAutoSync, true);
}

void TelegramSync::resumeBackgroundUploads()
{
    BackgroundUploader::shared();
}

QCoro::Task<> TelegramSync::realWait(std::chrono::seconds duration)
{
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    timer.start(duration);
    co_await timer;
}

QCoro::Task<JSON> TelegramSync::call(QString method, Fields fields, QList<Part> files) const
{
    const TelegramSync self = *this;
    if (!isUsableToken(self.m_config.token))
        throw SyncError::api(QCoreApplication::translate("Telegram", "Bot Token 格式不对"));
    const bool hasFiles = !files.isEmpty();
    const QString boundary = RequestBody::boundary();
    const QByteArray body =
        hasFiles ? RequestBody::multipart(fields, files, boundary) : RequestBody::form(fields);
    const QByteArray contentType = hasFiles ? RequestBody::multipartType(boundary) : RequestBody::formType;
    files.clear();

    BotAnswer answer = co_await self.deliver(method, body, contentType, hasFiles);
    JSON reply = answerJSON(answer.body);
    const auto retryAfter = reply["parameters"]["retry_after"].intValue();
    if (!reply["ok"].boolValue().value_or(false) && retryAfter && *retryAfter <= 60) {
        co_await self.m_timing.wait(std::chrono::seconds(qMax<qint64>(0, *retryAfter + 1)));
        answer = co_await self.deliver(method, body, contentType, hasFiles);
        reply = answerJSON(answer.body);
    }
    co_return self.accepted(answer, reply);
}

QCoro::Task<BotAnswer> TelegramSync::deliver(const QString &method, const QByteArray &body,
                                             const QByteArray &contentType, bool hasFiles) const
{
    QNetworkRequest request(HostTable::url(Host::TelegramBotAPI, u"/bot%1/%2"_s.arg(m_config.token, method)));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setHeader(QNetworkRequest::ContentTypeHeader, contentType);
    request.setTransferTimeout(int((hasFiles ? m_timing.fileTimeout : m_timing.formTimeout).count()));
    if (hasFiles)
        co_return co_await BackgroundUploader::shared().upload(request, body);
    if (!m_session)
        throw NetworkError(NetworkError::Kind::other, u"no network session"_s);
    co_return co_await BotAnswer::of(m_session->post(request, body));
}

JSON TelegramSync::accepted(const BotAnswer &answer, const JSON &reply) const
{
    if (reply["ok"].boolValue().value_or(false)) {
        // On record before the caller sees it, so the ids survive the
        // caller's own failure.
        if (m_ledgerKey)
            TelegramLedger::add(TelegramLedger::messageIDs(reply["result"]), *m_ledgerKey);
        return reply["result"];
    }
    const bool temporary = reply["parameters"]["retry_after"].intValue().has_value() ||
                           answer.status == 429 || answer.status >= 500;
    // A blank description gives no reason; the HTTP summary at least does.
    if (const QJsonValue description = reply["description"].raw();
        description.isString() && !description.toString().trimmed().isEmpty())
        throw SyncError::api(description.toString(), temporary);
    throw SyncError::api(httpSummary(answer), temporary);
}

QCoro::Task<QString> TelegramSync::test() const
{
    const TelegramSync self = *this;
    const JSON me = co_await self.call(u"getMe"_s, {});
    const auto botID = me["id"].intValue();
    if (!botID)
        throw SyncError::api(QCoreApplication::translate("Telegram", "getMe 返回异常"));
    const QString chatID = self.m_config.chatID;
    // Field lists are built before they are awaited on: gcc 12 cannot keep
    // an initializer list alive across a suspension.
    const Fields chatFields = {{u"chat_id"_s, chatID}};
    const JSON chat = co_await self.call(u"getChat"_s, chatFields);
    const Fields memberFields = {{u"chat_id"_s, chatID}, {u"user_id"_s, QString::number(*botID)}};
    const JSON member = co_await self.call(u"getChatMember"_s, memberFields);
    const QString status = member["status"].stringValue();
    const bool mayPost =
        status == QLatin1String("creator") ||
        (status == QLatin1String("administrator") && member["can_post_messages"].boolValue().value_or(true));
    if (!mayPost)
        throw SyncError::notAdmin();
    const auto title = chat["title"].string();
    co_return u"@%1 → %2"_s.arg(me["username"].stringValue(), title.value_or(chatID));
}

QCoro::Task<QList<qint64>> TelegramSync::send(Payload payload) const
{
    const TelegramSync self = *this;
    QList<qint64> sent;
    std::exception_ptr failure;
    try {
        co_await self.sendAll(payload, sent);
    } catch (...) {
        failure = std::current_exception();
    }
    if (!failure)
        co_return sent;
    // Takes this send's messages back out of the channel; the ledger keeps
    // them, so a later send or the clean-up still knows of them.
    if (!sent.isEmpty()) {
        try {
            co_await self.deleteMessages(sent);
        } catch (...) {
        }
    }
    std::rethrow_exception(failure);
}

QCoro::Task<> TelegramSync::sendAll(const Payload &payload, QList<qint64> &sent) const
{
    const bool textFitsCaption = Text::characterCount(payload.text) <= captionLimit;
    const auto chunks = balancedChunks(payload.items, albumLimit);
    for (qsizetype i = 0; i < chunks.size(); ++i) {
        const bool last = i == chunks.size() - 1;
        const auto caption = last && textFitsCaption ? std::optional(payload.text) : std::nullopt;
        if (chunks[i].size() == 1)
            sent.append(co_await sendSingle(chunks[i].first(), caption));
        else
            sent += co_await sendGroup(chunks[i], caption);
    }
    if (chunks.isEmpty() || !textFitsCaption) {
        const auto replyTo = sent.isEmpty() ? std::nullopt : std::optional(sent.first());
        sent.append(co_await sendMessage(truncate(payload.text, messageLimit), replyTo));
    }
}

QCoro::Task<qint64> TelegramSync::sendMessage(const QString &text, std::optional<qint64> replyTo) const
{
    Fields fields = {{u"chat_id"_s, m_config.chatID},
                     {u"text"_s, text},
                     {u"parse_mode"_s, u"HTML"_s},
                     {u"link_preview_options"_s, u"{\"is_disabled\":true}"_s}};
    if (replyTo)
        fields.append({u"reply_parameters"_s,
                       u"{\"message_id\":%1,\"allow_sending_without_reply\":true}"_s.arg(*replyTo)});
    const JSON result = co_await call(u"sendMessage"_s, fields);
    co_return result["message_id"].intValue().value_or(0);
}

void TelegramSync::addVideoFields(const Payload::Item &item, Fields &fields)
{
    fields.append({u"supports_streaming"_s, u"true"_s});
    const std::pair<const char *, std::optional<qint64>> numbers[] = {
        {"width", item.width}, {"height", item.height}, {"duration", item.duration}};
    for (const auto &[name, value] : numbers)
        if (value)
            fields.append({QString::fromLatin1(name), QString::number(*value)});
}

QCoro::Task<qint64> TelegramSync::sendSingle(const Payload::Item &item,
                                             const std::optional<QString> &caption) const
{
    using Kind = Payload::Item::Kind;
    Fields fields = {{u"chat_id"_s, m_config.chatID}};
    if (caption)
        fields += {{u"caption"_s, *caption}, {u"parse_mode"_s, u"HTML"_s}};
    QList<Part> parts;
    QString method;
    switch (item.kind) {
    case Kind::photo:
        method = u"sendPhoto"_s;
        parts.append({u"photo"_s, u"photo.jpg"_s, u"image/jpeg"_s, item.data});
        break;
    case Kind::video:
        method = u"sendVideo"_s;
        addVideoFields(item, fields);
        parts.append({u"video"_s, u"video.mp4"_s, u"video/mp4"_s, item.data});
        break;
    case Kind::audio: {
        method = u"sendAudio"_s;
        if (item.duration)
            fields.append({u"duration"_s, QString::number(*item.duration)});
        QStringList name;
        for (const auto &[key, value] :
             {std::pair(u"title"_s, item.title), std::pair(u"performer"_s, item.performer)})
            if (value) {
                fields.append({key, *value});
                name.append(*value);
            }
        const QString stem = name.isEmpty() ? u"audio"_s : name.join(u" - "_s);
        parts.append({u"audio"_s, stem + u".mp3"_s, u"audio/mpeg"_s, item.data});
        break;
    }
    }
    if (item.kind != Kind::photo && item.thumbnail)
        parts.append({u"thumbnail"_s, u"thumb.jpg"_s, u"image/jpeg"_s, *item.thumbnail});
    const JSON result = co_await call(method, fields, parts);
    co_return result["message_id"].intValue().value_or(0);
}

QCoro::Task<QList<qint64>> TelegramSync::sendGroup(const QList<Payload::Item> &items,
                                                   const std::optional<QString> &caption) const
{
    QJsonArray media;
    QList<Part> parts;
    for (qsizetype i = 0; i < items.size(); ++i) {
        const Payload::Item &item = items[i];
        const bool video = item.kind == Payload::Item::Kind::video;
        const QString file = u"f%1"_s.arg(i);
        QJsonObject entry{{"type", video ? "video" : "photo"}, {"media", "attach://" + file}};
        parts.append({file, file + (video ? u".mp4"_s : u".jpg"_s), video ? u"video/mp4"_s : u"image/jpeg"_s,
                      item.data});
        if (video) {
            entry.insert("supports_streaming", true);
            for (const auto &[name, value] :
                 {std::pair("width", item.width), std::pair("height", item.height),
                  std::pair("duration", item.duration)})
                if (value)
                    entry.insert(QLatin1String(name), *value);
            if (item.thumbnail) {
                const QString thumb = u"t%1"_s.arg(i);
                entry.insert("thumbnail", "attach://" + thumb);
                parts.append({thumb, thumb + u".jpg"_s, u"image/jpeg"_s, *item.thumbnail});
            }
        }
        if (i == 0 && caption) {
            entry.insert("caption", *caption);
            entry.insert("parse_mode", "HTML");
        }
        media.append(entry);
    }
    const Fields fields = {
        {u"chat_id"_s, m_config.chatID},
        {u"media"_s, QString::fromUtf8(QJsonDocument(media).toJson(QJsonDocument::Compact))}};
    const JSON result = co_await call(u"sendMediaGroup"_s, fields, parts);
    QList<qint64> ids;
    for (const JSON &message : result.array())
        if (const auto id = message["message_id"].intValue())
            ids.append(*id);
    co_return ids;
}

QCoro::Task<> TelegramSync::deleteMessages(QList<qint64> ids) const
{
    const TelegramSync self = *this;
    ids.removeIf([](qint64 id) { return id <= 0; });
    for (qsizetype start = 0; start < ids.size(); start += deleteBatch) {
        QStringList batch;
        for (qint64 id : ids.mid(start, deleteBatch))
            batch.append(QString::number(id));
        const Fields fields = {{u"chat_id"_s, self.m_config.chatID},
                               {u"message_ids"_s, u'[' + batch.join(u',') + u']'}};
        co_await self.call(u"deleteMessages"_s, fields);
    }
}
