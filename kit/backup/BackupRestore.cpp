#include "BackupRestore.h"

#include "AuthorDirectory.h"
#include "AuthorGroup.h"
#include "BackupCoder.h"
#include "BackupSettings.h"
#include "BackupSummary.h"
#include "Board.h"
#include "Clock.h"
#include "Media.h"
#include "ModelContext.h"
#include "Post.h"
#include "Tag.h"
#include "TamselStore.h"

#include <QSet>

namespace Backup {

namespace {

// An unknown recorded state counts as parsed.
ParseState recordedState(const QString &raw)
{
    if (raw == ParseStates::rawValue(ParseState::pending))
        return ParseState::pending;
    if (raw == ParseStates::rawValue(ParseState::failed))
        return ParseState::failed;
    return ParseState::parsed;
}

template <class Model>
std::shared_ptr<Model> matching(const QList<std::shared_ptr<Model>> &fetched, const QUuid &id,
                                const QString &name)
{
    for (const auto &model : fetched)
        if (model->id() == id)
            return model;
    for (const auto &model : fetched)
        if (model->name() == name)
            return model;
    return nullptr;
}

// Each record stands for the fetched model of its id, else of its exact
// name, else for a new one. Models created here match no later record.
template <class Model, class Record, class Create>
QHash<QUuid, std::shared_ptr<Model>> matchOrCreate(const QList<Record> &records, ModelContext &context,
                                                   Create create)
{
    const auto fetched = context.fetch<Model>();
    QHash<QUuid, std::shared_ptr<Model>> models;
    for (const Record &record : records) {
        auto model = matching(fetched, record.id, record.name);
        if (!model) {
            model = create(record);
            model->setId(record.id);
            model->setCreatedAt(record.createdAt);
            context.insert(model);
        }
        models.insert(record.id, model);
    }
    return models;
}

TagMap restoreTags(const QList<TagRecord> &records, ModelContext &context)
{
    return matchOrCreate<Tag>(records, context, [](const TagRecord &record) {
        return std::make_shared<Tag>(record.name, record.colorHex);
    });
}

// A matched board without linked authors takes the document's.
BoardMap restoreBoards(const QList<BoardRecord> &records, ModelContext &context)
{
    const BoardMap boards = matchOrCreate<Board>(records, context, [](const BoardRecord &record) {
        return std::make_shared<Board>(record.name, record.summary);
    });
    for (const BoardRecord &record : records) {
        const auto &board = boards[record.id];
        if (board->authorsRaw().isEmpty() && record.authors)
            board->setAuthorsRaw(*record.authors);
    }
    return boards;
}

// A group worth keeping names enough people (one when starred, else two)
// and none of them already belongs to a person here.
bool isNewPerson(const AuthorGroup &group, const AuthorDirectory &directory)
{
    const QList<AuthorAccount> members = group.members();
    if (members.size() < (group.starred() ? 1 : 2))
        return false;
    return std::none_of(members.cbegin(), members.cend(),
                        [&](const AuthorAccount &member) { return directory.group(member) != nullptr; });
}

void restoreGroups(const QList<AuthorGroupRecord> &records, ModelContext &context)
{
    const AuthorDirectory directory(context);
    QSet<QUuid> existing;
    for (const auto &group : context.fetch<AuthorGroup>())
        existing.insert(group->id());
    for (const AuthorGroupRecord &record : records) {
        if (existing.contains(record.id))
            continue;
        auto group = std::make_shared<AuthorGroup>(record.name, QList<AuthorAccount>{});
        group->setMembersRaw(record.members);
        group->setStarred(record.starred.value_or(false));
        group->setStarredAt(record.starredAt);
        if (!isNewPerson(*group, directory))
            continue;
        group->setId(record.id);
        group->setCreatedAt(record.createdAt);
        context.insert(group);
    }
}

void restorePosts(const File &file, const TagMap &tags, const BoardMap &boards, ModelContext &context,
                  RestoreResult &result)
{
    // Posts added here are not consulted for later records.
    const PostKeys library(context);
    for (const PostRecord &record : file.posts) {
        if (library.has(record.id, record.sourceURL)) {
            ++result.skipped;
            continue;
        }
        const auto post = insert(record, tags, boards, context);
        settleParseState(*post, record, result.toRefresh, result.originalStates);
        ++result.added;
    }
}

} // namespace

RestoreResult restore(const QByteArray &data, ModelContext &context)
{
    const File file = decode(data);
    requireKnownVersion(file);
    const TagMap tags = restoreTags(file.tags, context);
    const BoardMap boards = restoreBoards(file.boards, context);
    restoreGroups(file.authorGroups.value_or(QList<AuthorGroupRecord>()), context);
    RestoreResult result;
    restorePosts(file, tags, boards, context, result);
    context.save();
    result.settingsRestored = restoreSettings(file.settings.value_or(QMap<QString, SettingValue>()));
    if (result.added >= 1)
        TamselStore::defaults().setNumber(restoredAtKey, double(Clock::now().toMSecsSinceEpoch()) / 1000.0);
    return result;
}

std::shared_ptr<Post> insert(const PostRecord &record, const TagMap &tags, const BoardMap &boards,
                             ModelContext &context)
{
    auto post = std::make_shared<Post>(record.sourceURL, Platform::web);
    post->setId(record.id);
    post->setPlatformRaw(record.platform);
    post->setTitle(record.title);
    post->setContent(record.content);
    post->setNote(record.note);
    post->setAuthorName(record.authorName);
    post->setAuthorAvatarURL(record.authorAvatarURL);
    post->setPublishedAt(record.publishedAt);
    post->setCreatedAt(record.createdAt);
    post->setUpdatedAt(record.updatedAt);
    post->setIsArchived(record.isArchived);
    post->setIsPrivate(record.isPrivate.value_or(false));
    post->setTelegramMessageIDs(record.telegramMessageIDs);
    post->setTelegramSyncedAt(record.telegramSyncedAt);
    context.insert(post);

    QList<std::shared_ptr<Media>> media;
    for (const MediaRecord &item : record.media) {
        auto medium = std::make_shared<Media>(MediaKind::fromRawValue(item.kind).value_or(MediaKind::image),
                                              item.order);
        medium->setId(item.id);
        medium->setRemoteURL(item.remoteURL);
        medium->setVideoRemoteURL(item.videoRemoteURL);
        medium->setWidth(item.width);
        medium->setHeight(item.height);
        medium->setDuration(item.duration);
        context.insert(medium);
        media.append(medium);
    }
    post->setMedia(media);

    post->setTags(linked(record.tagIDs, tags));
    post->setBoards(linked(record.boardIDs, boards));
    return post;
}

void settleParseState(Post &post, const PostRecord &record, QList<QUuid> &toRefresh,
                      QHash<QUuid, ParseState> &originalStates)
{
    if (!record.sourceURL.isEmpty() && Platform::fromRawValue(post.platformRaw()) != Platform::local) {
        post.setParseState(ParseState::pending);
        toRefresh.append(post.id());
        originalStates.insert(post.id(), recordedState(record.parseState));
    } else {
        post.setParseStateRaw(record.parseState);
        post.setParseError(record.parseError);
    }
}

} // namespace Backup
