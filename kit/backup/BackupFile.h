#pragma once

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QUuid>
#include <optional>
#include <variant>

// The backup document shared with the phone application, as plain values.
// Optional fields without a value are left out of the written document.
namespace Backup {

// The current format; documents of a later version are refused.
inline constexpr qint64 formatVersion = 1;

// A carried setting: a Bool or a text, written as the bare JSON value.
using SettingValue = std::variant<bool, QString>;

// Id text (upper-case UUID) to time.
using DateMap = QHash<QString, QDateTime>;

struct MediaRecord {
    QUuid id;
    QString kind;
    qint64 order = 0;
    QString remoteURL;
    QString videoRemoteURL;
    double width = 0;
    double height = 0;
    double duration = 0;

    bool operator==(const MediaRecord &) const = default;
};

struct PostRecord {
    QUuid id;
    QString sourceURL;
    QString platform;
    QString title;
    QString content;
    QString note;
    QString authorName;
    QString authorAvatarURL;
    std::optional<QDateTime> publishedAt;
    QDateTime createdAt;
    QDateTime updatedAt;
    QString parseState;
    QString parseError;
    bool isArchived = false;
    std::optional<bool> isPrivate;
    QList<qint64> telegramMessageIDs;
    std::optional<QDateTime> telegramSyncedAt;
    QList<MediaRecord> media;
    QList<QUuid> tagIDs;
    QList<QUuid> boardIDs;

    bool operator==(const PostRecord &) const = default;
};

struct TagRecord {
    QUuid id;
    QString name;
    QString colorHex;
    QDateTime createdAt;

    bool operator==(const TagRecord &) const = default;
};

struct BoardRecord {
    QUuid id;
    QString name;
    QString summary;
    QDateTime createdAt;
    std::optional<QString> authors;

    bool operator==(const BoardRecord &) const = default;
};

struct AuthorGroupRecord {
    QUuid id;
    QString name;
    QString members;
    QDateTime createdAt;
    std::optional<bool> starred;
    std::optional<QDateTime> starredAt;

    bool operator==(const AuthorGroupRecord &) const = default;
};

struct File {
    qint64 version = formatVersion;
    QDateTime exportedAt;
    QList<PostRecord> posts;
    QList<TagRecord> tags;
    QList<BoardRecord> boards;
    std::optional<QMap<QString, SettingValue>> settings;
    std::optional<QList<AuthorGroupRecord>> authorGroups;
    std::optional<DateMap> syncStamps;
    std::optional<DateMap> tombstones;

    bool operator==(const File &) const = default;
};

} // namespace Backup
