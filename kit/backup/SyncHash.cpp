#include "SyncHash.h"

#include "AuthorGroup.h"
#include "BackupJSON.h"
#include "Board.h"
#include "ModelContext.h"
#include "Post.h"
#include "Tag.h"

#include <QCryptographicHash>
#include <QLocale>
#include <algorithm>

namespace Sync {

using Backup::Json::idText;

namespace {

QString flag(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

// Seconds since 1970 in the shortest text that reads back to the same
// double; a whole number keeps one decimal zero.
QString secondsText(const std::optional<QDateTime> &date)
{
    if (!date)
        return {};
    QString text =
        QString::number(double(date->toMSecsSinceEpoch()) / 1000.0, 'f', QLocale::FloatingPointShortest);
    if (!text.contains(QLatin1Char('.')))
        text += QStringLiteral(".0");
    return text;
}

template <class Record> QString sortedIDs(const QList<std::shared_ptr<Record>> &records)
{
    QStringList ids;
    ids.reserve(records.size());
    for (const auto &record : records)
        ids.append(idText(record->id()));
    std::sort(ids.begin(), ids.end());
    return ids.join(QLatin1Char(','));
}

QString messageIDsText(const QList<qint64> &ids)
{
    QStringList texts;
    texts.reserve(ids.size());
    for (qint64 id : ids)
        texts.append(QString::number(id));
    return texts.join(QLatin1Char(','));
}

template <class Record>
void addLive(Snapshot &snapshot, ModelContext &context, QString (*hashOf)(const Record &))
{
    const auto records = context.fetch<Record>();
    snapshot.reserve(snapshot.size() + records.size());
    for (const auto &record : records)
        if (!record->isGone())
            snapshot.insert(idText(record->id()), hashOf(*record));
}

} // namespace

QString hash(const QStringList &parts)
{
    // One digest object reused: a snapshot hashes every record of the library.
    static thread_local QCryptographicHash digest(QCryptographicHash::Sha256);
    digest.reset();
    digest.addData(parts.join(QChar(0x1F)).toUtf8());
    return QString::fromLatin1(digest.resultView().first(12).toByteArray().toHex());
}

QString postHash(const Post &post)
{
    QStringList parts{post.note(),
                      flag(post.isArchived()),
                      flag(post.isPrivate()),
                      sortedIDs(post.tags()),
                      sortedIDs(post.boards()),
                      messageIDsText(post.telegramMessageIDs()),
                      secondsText(post.telegramSyncedAt())};
    if (Platform::fromRawValue(post.platformRaw()) == Platform::local)
        parts << post.title() << post.content();
    return hash(parts);
}

QString tagHash(const Tag &tag)
{
    return hash({tag.name(), tag.colorHex()});
}

QString boardHash(const Board &board)
{
    return hash({board.name(), board.summary(), board.authorsRaw()});
}

QString groupHash(const AuthorGroup &group)
{
    QStringList parts{group.name(), group.membersRaw()};
    if (group.starred())
        parts << QStringLiteral("starred")
              << secondsText(group.starredAt().value_or(QDateTime::fromSecsSinceEpoch(0)));
    return hash(parts);
}

Snapshot snapshot(ModelContext &context)
{
    Snapshot snapshot;
    addLive<Post>(snapshot, context, postHash);
    addLive<Tag>(snapshot, context, tagHash);
    addLive<Board>(snapshot, context, boardHash);
    addLive<AuthorGroup>(snapshot, context, groupHash);
    return snapshot;
}

} // namespace Sync
