#pragma once

#include "ParseState.h"
#include "PersistentModel.h"
#include "Platform.h"

#include <QDateTime>
#include <QString>
#include <optional>

class Board;
class Media;
class Tag;

// One saved post: its link, what was parsed from it, the user's note and
// flags, its parse and channel state, and its media, tags and boards.
// Deleting a post deletes its media and only unlinks its tags and boards.
class Post : public PersistentModel {
public:
    Post(const QString &sourceURL, Platform platform);

    static const EntityDescription &entityDescription();

    QString sourceURL() const { return m_sourceURL; }
    void setSourceURL(const QString &value) { write(m_sourceURL, value); }
    QString platformRaw() const { return m_platformRaw; }
    void setPlatformRaw(const QString &value) { write(m_platformRaw, value); }
    QString title() const { return m_title; }
    void setTitle(const QString &value) { write(m_title, value); }
    QString content() const { return deferred(m_content); }
    void setContent(const QString &value) { write(m_content, value); }
    QString note() const { return deferred(m_note); }
    void setNote(const QString &value) { write(m_note, value); }
    QString authorName() const { return m_authorName; }
    void setAuthorName(const QString &value) { write(m_authorName, value); }
    QString authorAvatarURL() const { return m_authorAvatarURL; }
    void setAuthorAvatarURL(const QString &value) { write(m_authorAvatarURL, value); }
    std::optional<QDateTime> publishedAt() const { return m_publishedAt; }
    void setPublishedAt(const std::optional<QDateTime> &value) { write(m_publishedAt, utc(value)); }
    QDateTime createdAt() const { return m_createdAt; }
    void setCreatedAt(const QDateTime &value) { write(m_createdAt, value.toUTC()); }
    QDateTime updatedAt() const { return m_updatedAt; }
    void setUpdatedAt(const QDateTime &value) { write(m_updatedAt, value.toUTC()); }
    QString parseStateRaw() const { return m_parseStateRaw; }
    void setParseStateRaw(const QString &value) { write(m_parseStateRaw, value); }
    QString parseError() const { return deferred(m_parseError); }
    void setParseError(const QString &value) { write(m_parseError, value); }
    bool isArchived() const { return m_isArchived; }
    void setIsArchived(bool value) { write(m_isArchived, value); }
    bool isPrivate() const { return m_isPrivate; }
    void setIsPrivate(bool value) { write(m_isPrivate, value); }
    qint64 telegramMessageID() const { return m_telegramMessageID; }
    void setTelegramMessageID(qint64 value) { write(m_telegramMessageID, value); }
    QString telegramMessageIDsRaw() const { return m_telegramMessageIDsRaw; }
    void setTelegramMessageIDsRaw(const QString &value) { write(m_telegramMessageIDsRaw, value); }
    std::optional<QDateTime> telegramSyncedAt() const { return m_telegramSyncedAt; }
    void setTelegramSyncedAt(const std::optional<QDateTime> &value) { write(m_telegramSyncedAt, utc(value)); }
    bool telegramQueued() const { return m_telegramQueued; }
    void setTelegramQueued(bool value) { write(m_telegramQueued, value); }

    QList<std::shared_ptr<Media>> media() const;
    void setMedia(const QList<std::shared_ptr<Media>> &media);
    QList<std::shared_ptr<Tag>> tags() const;
    void setTags(const QList<std::shared_ptr<Tag>> &tags);
    QList<std::shared_ptr<Board>> boards() const;
    void setBoards(const QList<std::shared_ptr<Board>> &boards);

    // Read from and written to the raw values; unknown raw values read as
    // web and pending.
    Platform platform() const;
    void setPlatform(Platform platform);
    ParseState parseState() const;
    void setParseState(ParseState state);

    // The channel message ids: the stored list, or for a post that only has
    // a first id, one id per medium (at least 1, at most 10) counted from it.
    QList<qint64> telegramMessageIDs() const;
    // Stores the list and its first id (0 for none).
    void setTelegramMessageIDs(const QList<qint64> &ids);
    // The ids of a text of decimal ids joined by ",": pieces that are not a
    // whole decimal integer (sign allowed) within 64 bits are skipped.
    static QList<qint64> messageIDsFromText(const QString &text);

    // Media by order; equal orders keep their place in the list.
    QList<std::shared_ptr<Media>> sortedMedia() const;
    // Tags by name in the user's locale order (numbers by value).
    QList<std::shared_ptr<Tag>> sortedTags() const;
    std::shared_ptr<Media> cover() const;
    // The title, else the first 60 characters of the text or the note, else the link.
    QString displayTitle() const;

    // Newest first by creation date; equal dates keep their order in the
    // list. A list in creation order, as a store holds its posts, is turned
    // round in one pass instead of sorted.
    static QList<std::shared_ptr<Post>> newestFirst(QList<std::shared_ptr<Post>> posts);

protected:
    explicit Post(Materializing);

private:
    // Times are held in UTC, as they come from the store: cheap to copy and
    // to compare, whatever zone they were made in.
    static std::optional<QDateTime> utc(const std::optional<QDateTime> &time);

    QList<qint64> storedMessageIDs() const;
    QList<qint64> messageIDRun() const;

    QString m_sourceURL;
    QString m_platformRaw = QStringLiteral("web");
    QString m_title;
    QString m_content;
    QString m_note;
    QString m_authorName;
    QString m_authorAvatarURL;
    std::optional<QDateTime> m_publishedAt;
    QDateTime m_createdAt;
    QDateTime m_updatedAt;
    QString m_parseStateRaw = QStringLiteral("pending");
    QString m_parseError;
    bool m_isArchived = false;
    bool m_isPrivate = false;
    qint64 m_telegramMessageID = 0;
    QString m_telegramMessageIDsRaw;
    std::optional<QDateTime> m_telegramSyncedAt;
    bool m_telegramQueued = false;
};
