#include "Post.h"

#include "Board.h"
#include "Clock.h"
#include "Media.h"
#include "Tag.h"
#include "Text.h"

#include <QStringTokenizer>
#include <algorithm>
#include <limits>

namespace {
enum Relationship { mediaRelationship, tagsRelationship, boardsRelationship };
} // namespace

Post::Post(const QString &sourceURL, Platform platform)
    : PersistentModel(entityDescription()), m_sourceURL(sourceURL), m_platformRaw(platform.rawValue()),
      m_createdAt(Clock::now().toUTC()), m_updatedAt(Clock::now().toUTC())
{
}

Post::Post(Materializing tag) : PersistentModel(entityDescription(), tag) {}

const EntityDescription &Post::entityDescription()
{
    static const EntityDescription entity =
        EntityBuilder<Post>(QStringLiteral("Post"), &materialized<Post>)
            .column(QStringLiteral("sourceURL"), &Post::m_sourceURL)
            .column(QStringLiteral("platformRaw"), &Post::m_platformRaw)
            .column(QStringLiteral("title"), &Post::m_title)
            .deferredColumn(QStringLiteral("content"), &Post::m_content)
            .deferredColumn(QStringLiteral("note"), &Post::m_note)
            .column(QStringLiteral("authorName"), &Post::m_authorName)
            .column(QStringLiteral("authorAvatarURL"), &Post::m_authorAvatarURL)
            .column(QStringLiteral("publishedAt"), &Post::m_publishedAt)
            .column(QStringLiteral("createdAt"), &Post::m_createdAt)
            .column(QStringLiteral("updatedAt"), &Post::m_updatedAt)
            .column(QStringLiteral("parseStateRaw"), &Post::m_parseStateRaw)
            .deferredColumn(QStringLiteral("parseError"), &Post::m_parseError)
            .column(QStringLiteral("isArchived"), &Post::m_isArchived)
            .column(QStringLiteral("isPrivate"), &Post::m_isPrivate)
            .column(QStringLiteral("telegramMessageID"), &Post::m_telegramMessageID)
            .column(QStringLiteral("telegramMessageIDsRaw"), &Post::m_telegramMessageIDsRaw)
            .column(QStringLiteral("telegramSyncedAt"), &Post::m_telegramSyncedAt)
            .column(QStringLiteral("telegramQueued"), &Post::m_telegramQueued)
            .toMany(QStringLiteral("media"), &Media::entityDescription, DeleteRule::cascade,
                    QStringLiteral("post"))
            .toMany(QStringLiteral("tags"), &Tag::entityDescription, DeleteRule::nullify,
                    QStringLiteral("posts"))
            .toMany(QStringLiteral("boards"), &Board::entityDescription, DeleteRule::nullify,
                    QStringLiteral("posts"))
            .indexedForOpen()
            .build();
    return entity;
}

QList<std::shared_ptr<Media>> Post::media() const
{
    return downcast<Media>(related(mediaRelationship));
}

void Post::setMedia(const QList<std::shared_ptr<Media>> &media)
{
    setRelated(mediaRelationship, upcast(media));
}

QList<std::shared_ptr<Tag>> Post::tags() const
{
    return downcast<Tag>(related(tagsRelationship));
}

void Post::setTags(const QList<std::shared_ptr<Tag>> &tags)
{
    setRelated(tagsRelationship, upcast(tags));
}

QList<std::shared_ptr<Board>> Post::boards() const
{
    return downcast<Board>(related(boardsRelationship));
}

void Post::setBoards(const QList<std::shared_ptr<Board>> &boards)
{
    setRelated(boardsRelationship, upcast(boards));
}

std::optional<QDateTime> Post::utc(const std::optional<QDateTime> &time)
{
    return time ? std::optional(time->toUTC()) : std::nullopt;
}

Platform Post::platform() const
{
    return Platform::fromRawValueOrWeb(m_platformRaw);
}

void Post::setPlatform(Platform platform)
{
    setPlatformRaw(platform.rawValue());
}

ParseState Post::parseState() const
{
    return ParseStates::fromRawValue(m_parseStateRaw);
}

void Post::setParseState(ParseState state)
{
    setParseStateRaw(ParseStates::rawValue(state));
}

QList<qint64> Post::telegramMessageIDs() const
{
    const QList<qint64> stored = storedMessageIDs();
    if (!stored.isEmpty())
        return stored;
    return m_telegramMessageID == 0 ? QList<qint64>{} : messageIDRun();
}

QList<qint64> Post::storedMessageIDs() const
{
    return messageIDsFromText(m_telegramMessageIDsRaw);
}

namespace {
// An optional sign and ASCII digits only: " 7", "7x" or "7\n" are no id.
bool isDecimal(QStringView piece)
{
    const QStringView digits = piece.startsWith(u'+') || piece.startsWith(u'-') ? piece.mid(1) : piece;
    return !digits.isEmpty() &&
           std::all_of(digits.cbegin(), digits.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}
} // namespace

// Checked by hand: the clean-up walk reads every post's and every ledger
// entry's ids.
QList<qint64> Post::messageIDsFromText(const QString &text)
{
    QList<qint64> ids;
    for (const QStringView piece : qTokenize(text, u',', Qt::SkipEmptyParts)) {
        if (!isDecimal(piece))
            continue;
        bool fits = false;
        const qint64 id = piece.toLongLong(&fits);
        if (fits)
            ids.append(id);
    }
    return ids;
}

// One id per medium from the first id on; the run stops at the largest
// 64-bit id instead of wrapping round to negative ids.
QList<qint64> Post::messageIDRun() const
{
    const qsizetype count = std::clamp(related(mediaRelationship).size(), qsizetype(1), qsizetype(10));
    QList<qint64> ids{m_telegramMessageID};
    while (ids.size() < count && ids.last() < std::numeric_limits<qint64>::max())
        ids.append(ids.last() + 1);
    return ids;
}

void Post::setTelegramMessageIDs(const QList<qint64> &ids)
{
    QStringList pieces;
    for (qint64 id : ids)
        pieces.append(QString::number(id));
    setTelegramMessageIDsRaw(pieces.join(QLatin1Char(',')));
    setTelegramMessageID(ids.isEmpty() ? 0 : ids.first());
}

QList<std::shared_ptr<Media>> Post::sortedMedia() const
{
    auto sorted = media();
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const auto &a, const auto &b) { return a->order() < b->order(); });
    return sorted;
}

QList<std::shared_ptr<Tag>> Post::sortedTags() const
{
    auto sorted = tags();
    std::stable_sort(sorted.begin(), sorted.end(), [](const auto &a, const auto &b) {
        return Text::localizedStandardLess(a->name(), b->name());
    });
    return sorted;
}

// The first of the lowest order, found without copying or sorting the list:
// the grid asks this of every card.
std::shared_ptr<Media> Post::cover() const
{
    const auto &media = relatedList(mediaRelationship);
    const auto first = std::min_element(media.cbegin(), media.cend(), [](const auto &a, const auto &b) {
        return static_cast<const Media &>(*a).order() < static_cast<const Media &>(*b).order();
    });
    return first == media.cend() ? nullptr : std::static_pointer_cast<Media>(*first);
}

QList<std::shared_ptr<Post>> Post::newestFirst(QList<std::shared_ptr<Post>> posts)
{
    const auto older = [](const auto &a, const auto &b) { return a->m_createdAt < b->m_createdAt; };
    if (!std::is_sorted(posts.cbegin(), posts.cend(), older)) {
        std::stable_sort(posts.begin(), posts.end(),
                         [&](const auto &a, const auto &b) { return older(b, a); });
        return posts;
    }
    std::reverse(posts.begin(), posts.end());
    // Runs of equal dates came out reversed: they go back to the list's order.
    for (auto run = posts.begin(); run != posts.end();) {
        const auto end = std::find_if(run, posts.end(), [&](const auto &post) { return older(post, *run); });
        std::reverse(run, end);
        run = end;
    }
    return posts;
}

QString Post::displayTitle() const
{
    constexpr qsizetype length = 60;
    if (!m_title.isEmpty())
        return m_title;
    if (const QString text = content(); !text.isEmpty())
        return Text::characterPrefix(text, length);
    if (const QString written = note(); !written.isEmpty())
        return Text::characterPrefix(written, length);
    return m_sourceURL;
}
