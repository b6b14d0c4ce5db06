#include "Post.h"

#include "Board.h"
#include "Clock.h"
#include "Media.h"
#include "Tag.h"

namespace {
enum Relationship { mediaRelationship, tagsRelationship, boardsRelationship };
} // namespace

Post::Post(const QString &sourceURL, Platform platform)
    : PersistentModel(entityDescription()), m_sourceURL(sourceURL), m_platformRaw(platform.rawValue()),
      m_createdAt(Clock::now()), m_updatedAt(Clock::now())
{
}

Post::Post(Materializing tag) : PersistentModel(entityDescription(), tag) {}

const EntityDescription &Post::entityDescription()
{
    static const EntityDescription entity =
        EntityBuilder<Post>(QStringLiteral("Post"),
                            [] { return std::shared_ptr<Post>(new Post(Materializing{})); })
            .column(QStringLiteral("sourceURL"), &Post::m_sourceURL)
            .column(QStringLiteral("platformRaw"), &Post::m_platformRaw)
            .column(QStringLiteral("title"), &Post::m_title)
            .column(QStringLiteral("content"), &Post::m_content)
            .column(QStringLiteral("note"), &Post::m_note)
            .column(QStringLiteral("authorName"), &Post::m_authorName)
            .column(QStringLiteral("authorAvatarURL"), &Post::m_authorAvatarURL)
            .column(QStringLiteral("publishedAt"), &Post::m_publishedAt)
            .column(QStringLiteral("createdAt"), &Post::m_createdAt)
            .column(QStringLiteral("updatedAt"), &Post::m_updatedAt)
            .column(QStringLiteral("parseStateRaw"), &Post::m_parseStateRaw)
            .column(QStringLiteral("parseError"), &Post::m_parseError)
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
