#include "BackupExport.h"

#include "AuthorGroup.h"
#include "BackupCoder.h"
#include "BackupSettings.h"
#include "Board.h"
#include "Clock.h"
#include "Media.h"
#include "ModelContext.h"
#include "Post.h"
#include "Tag.h"

namespace Backup {

namespace {

template <class Model> QList<std::shared_ptr<Model>> oldestFirst(ModelContext &context)
{
    FetchDescriptor<Model> descriptor;
    descriptor.sortedBy = [](const Model &a, const Model &b) { return a.createdAt() < b.createdAt(); };
    return context.fetch(descriptor);
}

template <class Model> QList<QUuid> idsOf(const QList<std::shared_ptr<Model>> &records)
{
    QList<QUuid> ids;
    ids.reserve(records.size());
    for (const auto &record : records)
        ids.append(record->id());
    return ids;
}

MediaRecord mediaRecord(const Media &media)
{
    return {media.id(),    media.kindRaw(), media.order(),   media.remoteURL(), media.videoRemoteURL(),
            media.width(), media.height(),  media.duration()};
}

TagRecord tagRecord(const Tag &tag)
{
    return {tag.id(), tag.name(), tag.colorHex(), tag.createdAt()};
}

BoardRecord boardRecord(const Board &board)
{
    return {board.id(), board.name(), board.summary(), board.createdAt(),
            board.authorsRaw().isEmpty() ? std::nullopt : std::optional(board.authorsRaw())};
}

AuthorGroupRecord groupRecord(const AuthorGroup &group)
{
    return {group.id(),
            group.name(),
            group.membersRaw(),
            group.createdAt(),
            group.starred() ? std::optional(true) : std::nullopt,
            group.starredAt()};
}

template <class Model, class Record>
QList<Record> recordsOf(ModelContext &context, Record (*toRecord)(const Model &))
{
    QList<Record> records;
    for (const auto &model : oldestFirst<Model>(context))
        records.append(toRecord(*model));
    return records;
}

} // namespace

PostRecord record(const Post &post)
{
    PostRecord record{post.id(),
                      post.sourceURL(),
                      post.platformRaw(),
                      post.title(),
                      post.content(),
                      post.note(),
                      post.authorName(),
                      post.authorAvatarURL(),
                      post.publishedAt(),
                      post.createdAt(),
                      post.updatedAt(),
                      post.parseStateRaw(),
                      post.parseError(),
                      post.isArchived(),
                      post.isPrivate(),
                      post.telegramMessageIDs(),
                      post.telegramSyncedAt(),
                      {},
                      idsOf(post.tags()),
                      idsOf(post.boards())};
    for (const auto &media : post.sortedMedia())
        record.media.append(mediaRecord(*media));
    return record;
}

File makeFile(ModelContext &context)
{
    File file;
    file.exportedAt = Clock::now();
    file.posts = recordsOf<Post, PostRecord>(context, record);
    file.tags = recordsOf<Tag, TagRecord>(context, tagRecord);
    file.boards = recordsOf<Board, BoardRecord>(context, boardRecord);
    file.settings = exportSettings();
    file.authorGroups = recordsOf<AuthorGroup, AuthorGroupRecord>(context, groupRecord);
    return file;
}

QByteArray exportLibrary(ModelContext &context)
{
    return encode(makeFile(context));
}

} // namespace Backup
