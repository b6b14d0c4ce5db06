#include "SyncMerge.h"

#include "AuthorGroup.h"
#include "BackupCoder.h"
#include "BackupExport.h"
#include "BackupJSON.h"
#include "BackupRestore.h"
#include "BackupSettings.h"
#include "Board.h"
#include "KepselHooks.h"
#include "ModelContext.h"
#include "Post.h"
#include "SyncHash.h"
#include "SyncIncoming.h"
#include "SyncState.h"
#include "Tag.h"

#include <algorithm>

namespace Sync {

using Backup::Json::idText;

namespace {

// Tombstones older than this are forgotten on both sides.
constexpr qint64 tombstoneLifetime = 180 * 86400;

// Dates are written in whole seconds; cut there, the records built from the
// library compare equal to the ones read back from the shared document.
void cutToSeconds(QDateTime &date)
{
    if (date.isValid())
        date = QDateTime::fromSecsSinceEpoch(date.toSecsSinceEpoch(), Qt::UTC);
}
void cutToSeconds(std::optional<QDateTime> &date)
{
    if (date)
        cutToSeconds(*date);
}
void cutToSeconds(Backup::File &file)
{
    for (Backup::PostRecord &post : file.posts) {
        cutToSeconds(post.publishedAt);
        cutToSeconds(post.createdAt);
        cutToSeconds(post.updatedAt);
        cutToSeconds(post.telegramSyncedAt);
    }
    for (Backup::TagRecord &tag : file.tags)
        cutToSeconds(tag.createdAt);
    for (Backup::BoardRecord &board : file.boards)
        cutToSeconds(board.createdAt);
    if (file.authorGroups)
        for (Backup::AuthorGroupRecord &group : *file.authorGroups) {
            cutToSeconds(group.createdAt);
            cutToSeconds(group.starredAt);
        }
}

// Whether the shared document already holds the built one (already encoded,
// so every date in it is writable) apart from its export time: the same test
// as comparing fingerprints, without reading either document again.
bool sameContent(Backup::File shared, Backup::File built)
{
    shared.exportedAt = built.exportedAt;
    cutToSeconds(built);
    return Backup::sameEncoding(shared, built);
}

// The fields of tags and boards that a newer remote record overwrites.
QStringList syncedFields(const Tag &tag)
{
    return {tag.name(), tag.colorHex()};
}
QStringList syncedFields(const Backup::TagRecord &record)
{
    return {record.name, record.colorHex};
}
void writeFields(Tag &tag, const Backup::TagRecord &record)
{
    tag.setName(record.name);
    tag.setColorHex(record.colorHex);
}
QStringList syncedFields(const Board &board)
{
    return {board.name(), board.summary(), board.authorsRaw()};
}
QStringList syncedFields(const Backup::BoardRecord &record)
{
    return {record.name, record.summary, record.authors.value_or(QString())};
}
void writeFields(Board &board, const Backup::BoardRecord &record)
{
    board.setName(record.name);
    board.setSummary(record.summary);
    board.setAuthorsRaw(record.authors.value_or(QString()));
}

template <class Model> void dropGone(QList<std::shared_ptr<Model>> &models)
{
    models.removeIf([](const auto &model) { return model->isGone(); });
}

// Each id to the first of the models carrying it.
template <class Model> QHash<QUuid, std::shared_ptr<Model>> byID(const QList<std::shared_ptr<Model>> &models)
{
    QHash<QUuid, std::shared_ptr<Model>> index;
    index.reserve(models.size());
    for (auto model = models.crbegin(); model != models.crend(); ++model)
        index.insert((*model)->id(), *model);
    return index;
}

// Appends a model made here, which is the first to carry its id.
template <class Model>
void appendNew(QList<std::shared_ptr<Model>> &models, QHash<QUuid, std::shared_ptr<Model>> &index,
               const std::shared_ptr<Model> &model)
{
    models.append(model);
    if (!index.contains(model->id()))
        index.insert(model->id(), model);
}

template <class Model>
std::shared_ptr<Model> findByName(const QList<std::shared_ptr<Model>> &models, const QString &name)
{
    for (const auto &model : models)
        if (model->name() == name)
            return model;
    return nullptr;
}

// One run of the merge over one context.
class MergeRun {
public:
    MergeRun(ModelContext &context, const QString &stateURL, const QDateTime &now)
        : m_context(context), m_stateURL(stateURL),
          // Stamps travel in whole seconds; comparing them in whole seconds
          // keeps equal stamps equal after a round trip.
          m_now(QDateTime::fromSecsSinceEpoch(now.toSecsSinceEpoch(), Qt::UTC))
    {
    }

    Result run(const std::optional<QByteArray> &data);

private:
    QDateTime remoteStamp(const QUuid &id) const { return m_remoteStamps.value(idText(id), distantPast()); }
    QDateTime localStamp(const QUuid &id) const { return m_state.stamps.value(idText(id), distantPast()); }
    bool isDead(const QUuid &id, const QDateTime &stamp) const
    {
        const auto tombstone = m_state.tombstones.constFind(idText(id));
        return tombstone != m_state.tombstones.cend() && stamp <= *tombstone;
    }
    void setStamp(const QUuid &id, const QDateTime &stamp) { m_state.stamps.insert(idText(id), stamp); }

    void noteLocalChanges(const Snapshot &snapshot);
    void mergeTombstones(const Backup::DateMap &remote);
    void fetchAll();
    template <class Model> void deleteDead(QList<std::shared_ptr<Model>> &models);
    template <class Model, class Record>
    void mergeNamed(const QList<Record> &records, QList<std::shared_ptr<Model>> &models,
                    QHash<QUuid, std::shared_ptr<Model>> &map);
    void mergeGroups(const QList<Backup::AuthorGroupRecord> &records);
    void mergePosts(const Backup::File &file);
    void mergePost(const Backup::PostRecord &record, const QDateTime &stamp);
    bool mayAdopt(const QUuid &id) const;
    void adopt(const std::shared_ptr<Post> &post, const QUuid &id);
    void insertPost(const Backup::PostRecord &record, const QDateTime &stamp);
    bool apply(const Backup::PostRecord &record, Post &post) const;
    void prune(const Snapshot &snapshot);
    Backup::File document() const;

    ModelContext &m_context;
    QString m_stateURL;
    QDateTime m_now;
    State m_state;
    Backup::DateMap m_remoteStamps;
    QHash<QUuid, int> m_remoteIDUses; // every id of the shared document, with how many records carry it
    QList<std::shared_ptr<Post>> m_posts;
    QList<std::shared_ptr<Tag>> m_tags;
    QList<std::shared_ptr<Board>> m_boards;
    QList<std::shared_ptr<AuthorGroup>> m_groups;
    Backup::TagMap m_tagMap;
    Backup::BoardMap m_boardMap;
    QHash<QUuid, std::shared_ptr<Post>> m_postsByID;
    QHash<QString, std::shared_ptr<Post>> m_postsByLink;
    QSet<QString> m_incoming;
    Result m_result;
};

Result MergeRun::run(const std::optional<QByteArray> &data)
{
    m_state = State::read(m_stateURL);
    noteLocalChanges(snapshot(m_context));

    std::optional<Backup::File> file;
    if (data) {
        file = Backup::decode(*data);
        Backup::requireKnownVersion(*file);
        m_remoteStamps = file->syncStamps.value_or(Backup::DateMap());
        mergeTombstones(file->tombstones.value_or(Backup::DateMap()));
    }

    fetchAll();
    deleteDead(m_posts);
    deleteDead(m_tags);
    deleteDead(m_boards);
    deleteDead(m_groups);

    if (file) {
        mergeNamed(file->tags, m_tags, m_tagMap);
        mergeNamed(file->boards, m_boards, m_boardMap);
        mergeGroups(file->authorGroups.value_or(QList<Backup::AuthorGroupRecord>()));
        mergePosts(*file);
        setIncomingPosts(m_incoming);
        m_result.settingsRestored =
            Backup::restoreSettings(file->settings.value_or(QMap<QString, Backup::SettingValue>()));
    }
    m_context.save();

    prune(snapshot(m_context));
    const Backup::File built = document();
    m_result.document = Backup::encode(built);
    if (!file || !sameContent(*file, built))
        m_result.output = m_result.document;
    m_state.write(m_stateURL);
    return m_result;
}

// A record whose hash changed since the last run was edited here now; one
// that vanished was deleted here now.
void MergeRun::noteLocalChanges(const Snapshot &snapshot)
{
    for (auto entry = snapshot.cbegin(); entry != snapshot.cend(); ++entry)
        if (m_state.hashes.value(entry.key(), QString()) != entry.value())
            m_state.stamps.insert(entry.key(), m_now);
    for (auto entry = m_state.hashes.cbegin(); entry != m_state.hashes.cend(); ++entry) {
        if (snapshot.contains(entry.key()) || m_state.tombstones.contains(entry.key()))
            continue;
        m_state.tombstones.insert(entry.key(), m_now);
        m_state.stamps.remove(entry.key());
    }
}

// The later tombstone wins; on equal dates the local one stays.
void MergeRun::mergeTombstones(const Backup::DateMap &remote)
{
    for (auto entry = remote.cbegin(); entry != remote.cend(); ++entry) {
        QDateTime &local = m_state.tombstones[entry.key()];
        if (!local.isValid() || local < entry.value())
            local = entry.value();
    }
}

void MergeRun::fetchAll()
{
    m_posts = m_context.fetch<Post>();
    m_tags = m_context.fetch<Tag>();
    m_boards = m_context.fetch<Board>();
    m_groups = m_context.fetch<AuthorGroup>();
}

// A record changed here after its deletion elsewhere survives, and its
// tombstone stops travelling.
template <class Model> void MergeRun::deleteDead(QList<std::shared_ptr<Model>> &models)
{
    for (const auto &model : models) {
        const QString key = idText(model->id());
        if (!m_state.tombstones.contains(key))
            continue;
        if (!isDead(model->id(), localStamp(model->id()))) {
            m_state.tombstones.remove(key);
            continue;
        }
        if constexpr (std::is_same_v<Model, Post>)
            for (const auto &hook : KepselHooks::postDeletedBySync())
                hook(model->id());
        m_context.remove(model);
        ++m_result.deleted;
    }
    dropGone(models);
}

// Tags and boards: matched by id, else by exact name (which only maps the
// remote id to the local model), else created.
template <class Model, class Record>
void MergeRun::mergeNamed(const QList<Record> &records, QList<std::shared_ptr<Model>> &models,
                          QHash<QUuid, std::shared_ptr<Model>> &map)
{
    auto ids = byID(models);
    for (const Record &record : records) {
        const QDateTime stamp = remoteStamp(record.id);
        if (isDead(record.id, stamp))
            continue;
        auto model = ids.value(record.id);
        if (model) {
            if (stamp > localStamp(record.id) && syncedFields(*model) != syncedFields(record)) {
                writeFields(*model, record);
                setStamp(record.id, stamp);
                ++m_result.updated;
            }
        } else if (!(model = findByName(models, record.name))) {
            model = std::make_shared<Model>(record.name, QString());
            writeFields(*model, record);
            model->setId(record.id);
            model->setCreatedAt(record.createdAt);
            m_context.insert(model);
            appendNew(models, ids, model);
            setStamp(record.id, stamp);
            ++m_result.added;
        }
        map.insert(record.id, model);
    }
}

void MergeRun::mergeGroups(const QList<Backup::AuthorGroupRecord> &records)
{
    auto ids = byID(m_groups);
    for (const Backup::AuthorGroupRecord &record : records) {
        const QDateTime stamp = remoteStamp(record.id);
        if (isDead(record.id, stamp))
            continue;
        const bool starred = record.starred.value_or(false);
        auto group = ids.value(record.id);
        if (group) {
            if (stamp <= localStamp(record.id) ||
                (group->name() == record.name && group->membersRaw() == record.members &&
                 group->starred() == starred && group->starredAt() == record.starredAt))
                continue;
            ++m_result.updated;
        } else {
            group = std::make_shared<AuthorGroup>(record.name, QList<AuthorAccount>{});
            group->setId(record.id);
            group->setCreatedAt(record.createdAt);
            m_context.insert(group);
            appendNew(m_groups, ids, group);
            ++m_result.added;
        }
        group->setName(record.name);
        group->setMembersRaw(record.members);
        group->setStarred(starred);
        group->setStarredAt(record.starredAt);
        setStamp(record.id, stamp);
    }
}

void MergeRun::mergePosts(const Backup::File &file)
{
    // The first of two posts sharing an id or a link wins: insert() replaces,
    // so walk backwards.
    for (auto post = m_posts.crbegin(); post != m_posts.crend(); ++post) {
        m_postsByID.insert((*post)->id(), *post);
        if (!(*post)->sourceURL().isEmpty())
            m_postsByLink.insert((*post)->sourceURL(), *post);
    }
    for (const Backup::PostRecord &record : file.posts)
        ++m_remoteIDUses[record.id];
    for (const Backup::TagRecord &record : file.tags)
        ++m_remoteIDUses[record.id];
    for (const Backup::BoardRecord &record : file.boards)
        ++m_remoteIDUses[record.id];
    for (const Backup::AuthorGroupRecord &record :
         file.authorGroups.value_or(QList<Backup::AuthorGroupRecord>()))
        ++m_remoteIDUses[record.id];
    m_incoming = incomingPosts();

    for (const Backup::PostRecord &record : file.posts) {
        const QDateTime stamp = remoteStamp(record.id);
        if (!isDead(record.id, stamp))
            mergePost(record, stamp);
    }
}

void MergeRun::mergePost(const Backup::PostRecord &record, const QDateTime &stamp)
{
    auto post = m_postsByID.value(record.id);
    if (!post && !record.sourceURL.isEmpty())
        post = m_postsByLink.value(record.sourceURL);
    if (!post)
        return insertPost(record, stamp);
    if (post->id() != record.id) {
        // One link, two identities: the side holding the larger id takes the
        // smaller one, the other waits for it.
        if (idText(record.id) >= idText(post->id()))
            return;
        if (!mayAdopt(record.id))
            return insertPost(record, stamp);
        adopt(post, record.id);
    }
    if (stamp > localStamp(record.id)) {
        if (apply(record, *post))
            ++m_result.updated;
        setStamp(record.id, stamp);
    }
}

// An id that another record of the shared document also carries, or that a
// tombstone names, would make the adopting post lose its content to that
// record or be deleted by the tombstone in a later run.
bool MergeRun::mayAdopt(const QUuid &id) const
{
    return m_remoteIDUses.value(id) == 1 && !m_state.tombstones.contains(idText(id));
}

void MergeRun::adopt(const std::shared_ptr<Post> &post, const QUuid &id)
{
    const QUuid old = post->id();
    m_postsByID.remove(old);
    post->setId(id);
    m_postsByID.insert(id, post);
    for (const auto &hook : KepselHooks::postIDChanged())
        hook(old, id);
    const QString oldKey = idText(old), newKey = idText(id);
    if (m_state.stamps.contains(oldKey))
        m_state.stamps.insert(newKey, m_state.stamps.take(oldKey));
    if (m_state.hashes.contains(oldKey))
        m_state.hashes.insert(newKey, m_state.hashes.take(oldKey));
    // Every list handed out names the post by the id it now has.
    if (m_incoming.remove(oldKey))
        m_incoming.insert(newKey);
    // The posts to refresh are the keys of the original states: only one of
    // those needs the walk through the list.
    if (m_result.originalStates.contains(old)) {
        std::replace(m_result.toRefresh.begin(), m_result.toRefresh.end(), old, id);
        m_result.originalStates.insert(id, m_result.originalStates.take(old));
    }
}

void MergeRun::insertPost(const Backup::PostRecord &record, const QDateTime &stamp)
{
    const auto post = Backup::insert(record, m_tagMap, m_boardMap, m_context);
    m_postsByID.insert(record.id, post);
    if (!record.sourceURL.isEmpty() && !m_postsByLink.contains(record.sourceURL))
        m_postsByLink.insert(record.sourceURL, post);
    Backup::settleParseState(*post, record, m_result.toRefresh, m_result.originalStates);
    m_incoming.insert(idText(record.id));
    m_state.tombstones.remove(idText(record.id));
    setStamp(record.id, stamp);
    ++m_result.added;
}

// Takes the user's side of a newer remote record: note, flags, tags, boards,
// channel data, and the text of a local note. Returns whether the post's
// content hash changed.
bool MergeRun::apply(const Backup::PostRecord &record, Post &post) const
{
    const QString before = postHash(post);
    post.setNote(record.note);
    post.setIsArchived(record.isArchived);
    post.setIsPrivate(record.isPrivate.value_or(false));
    post.setTags(Backup::linked(record.tagIDs, m_tagMap));
    post.setBoards(Backup::linked(record.boardIDs, m_boardMap));
    // A record without channel data never clears the data of a post sent from here.
    if (!record.telegramMessageIDs.isEmpty() || record.telegramSyncedAt || !post.telegramSyncedAt()) {
        post.setTelegramMessageIDs(record.telegramMessageIDs);
        post.setTelegramSyncedAt(record.telegramSyncedAt);
        if (record.telegramSyncedAt)
            post.setTelegramQueued(false);
    }
    if (Platform::fromRawValue(post.platformRaw()) == Platform::local) {
        post.setTitle(record.title);
        post.setContent(record.content);
    }
    return postHash(post) != before;
}

void MergeRun::prune(const Snapshot &snapshot)
{
    m_state.hashes = snapshot;
    m_state.stamps.removeIf([&](Backup::DateMap::iterator entry) { return !snapshot.contains(entry.key()); });
    m_state.tombstones.removeIf(
        [&](Backup::DateMap::iterator entry) { return entry.value().secsTo(m_now) >= tombstoneLifetime; });
    for (auto entry = snapshot.cbegin(); entry != snapshot.cend(); ++entry)
        if (!m_state.stamps.contains(entry.key()))
            m_state.stamps.insert(entry.key(), m_now);
}

Backup::File MergeRun::document() const
{
    Backup::File file = Backup::makeFile(m_context);
    file.syncStamps = m_state.stamps;
    if (!m_state.tombstones.isEmpty())
        file.tombstones = m_state.tombstones;
    return file;
}

} // namespace

Result merge(const std::optional<QByteArray> &data, ModelContext &context, const QString &stateURL,
             const QDateTime &now)
{
    return MergeRun(context, stateURL, now).run(data);
}

} // namespace Sync
