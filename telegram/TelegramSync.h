#pragma once

#include "JSON.h"

#include <QByteArray>
#include <QList>
#include <QNetworkAccessManager>
#include <QPointer>
#include <QString>
#include <QCoro/QCoroTask>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

class BotAnswer;
class Post;

// The plug-in's client of the Telegram Bot API for one channel: one request
// path (form-encoded, or multipart through the background uploader), answers
// read with one rate-limit retry, the connection test, sending a payload as
// albums, files and text, and deleting messages. When made for a post (a
// ledger key), every confirmed message id is put on record at once.
//
// Operations copy the client and their arguments when they start, so neither
// needs to outlive the returned task. Main thread.
class TelegramSync {
public:
    struct Config {
        QString token;
        QString chatID;
    };

    // One file of a multipart request.
    struct Part {
        QString name;
        QString filename;
        QString mime;
        QByteArray data;
    };

    // Form fields in the order they are sent.
    using Fields = QList<std::pair<QString, QString>>;

    struct Timing {
        std::chrono::milliseconds formTimeout{std::chrono::seconds(30)};
        std::chrono::milliseconds fileTimeout{std::chrono::seconds(600)};
        // Waits out a rate limit; tests replace it so that nobody sleeps.
        std::function<QCoro::Task<>(std::chrono::seconds)> wait = realWait;
    };

    // A post made ready to send: the message text (HTML) and its media files
    // in the post's order.
    struct Payload {
        struct Item {
            enum class Kind { photo, video, audio };

            Kind kind = Kind::photo;
            // JPEG for a photo, the stored file for a video or audio item.
            QByteArray data;
            std::optional<QByteArray> thumbnail;
            std::optional<qint64> width;
            std::optional<qint64> height;
            std::optional<qint64> duration;
            std::optional<QString> title;
            std::optional<QString> performer;
        };

        QString text;
        QList<Item> items;
    };

    class SyncError;

    static const QString pluginID;
    // Counted in user-perceived characters.
    static constexpr int captionLimit = 1024;
    static constexpr int messageLimit = 4096;
    static constexpr int albumLimit = 10;
    static constexpr int deleteBatch = 100;
    // Larger video and audio files are not sent.
    static constexpr qint64 fileLimit = 52'428'800;

    TelegramSync(Config config, QNetworkAccessManager *session, std::optional<QString> ledgerKey);

    // The channel configuration, when the plug-in is installed and switched
    // on and both token and chat id are non-empty after trimming; the trimmed
    // values are the ones used.
    static std::optional<Config> config();
    // Whether newly parsed posts are sent on their own (on unless switched off).
    static bool autoSync();
    // Makes the shared uploader, which clears old leftovers of its files.
    static void resumeBackgroundUploads();

    void setTiming(Timing timing) { m_timing = std::move(timing); }

    // One Bot API request; gives the answer's "result". Throws SyncError for
    // a refusal or a token that cannot form an address, NetworkError for the
    // transport, never retried.
    QCoro::Task<JSON> call(QString method, Fields fields, QList<Part> files = {}) const;
    // Checks token and channel; gives "@bot → channel".
    QCoro::Task<QString> test() const;
    // Sends the media as albums of at most ten, the text as the last album's
    // caption or as a message of its own; gives every message id in sending
    // order. A failure takes this send's messages back out of the channel.
    QCoro::Task<QList<qint64>> send(Payload payload) const;
    // Deletes the messages with positive ids, 100 a request.
    QCoro::Task<> deleteMessages(QList<qint64> ids) const;

    // A post as message text and media files; images are re-encoded in a worker.
    static QCoro::Task<Payload> payload(std::shared_ptr<Post> post);
    // The post's message text in Telegram's HTML, with an extra warning line.
    static QString text(const Post &post, const std::optional<QString> &note);
    // At most limit - 1 characters of HTML, neither a tag nor an entity cut in
    // half, open links and bold closed, and "…" when it was cut.
    static QString truncate(const QString &text, int limit);

    // Consecutive runs of at most `limit` items, as even as can be, larger first.
    template <typename T> static QList<QList<T>> balancedChunks(const QList<T> &items, int limit)
    {
        QList<QList<T>> chunks;
        if (items.isEmpty() || limit <= 0)
            return chunks;
        const qsizetype count = (items.size() + limit - 1) / limit;
        const qsizetype base = items.size() / count;
        const qsizetype larger = items.size() - base * count;
        qsizetype start = 0;
        for (qsizetype i = 0; i < count; ++i) {
            const qsizetype size = base + (i < larger ? 1 : 0);
            chunks.append(items.mid(start, size));
            start += size;
        }
        return chunks;
    }

private:
    static QCoro::Task<> realWait(std::chrono::seconds duration);

    QCoro::Task<BotAnswer> deliver(const QString &method, const QByteArray &body,
                                   const QByteArray &contentType, bool hasFiles) const;
    // The answer's "result" when "ok", its ids on record; the refusal thrown otherwise.
    JSON accepted(const BotAnswer &answer, const JSON &reply) const;
    QCoro::Task<qint64> sendSingle(const Payload::Item &item, const std::optional<QString> &caption) const;
    QCoro::Task<QList<qint64>> sendGroup(const QList<Payload::Item> &items,
                                         const std::optional<QString> &caption) const;
    QCoro::Task<qint64> sendMessage(const QString &text, std::optional<qint64> replyTo) const;
    // Every message of the payload, ids appended to `sent` as they come.
    QCoro::Task<> sendAll(const Payload &payload, QList<qint64> &sent) const;
    static void addVideoFields(const Payload::Item &item, Fields &fields);

    Config m_config;
    QPointer<QNetworkAccessManager> m_session;
    std::optional<QString> m_ledgerKey;
    Timing m_timing;
};
