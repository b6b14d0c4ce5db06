#include "AuthorGroup.h"

#include "Clock.h"

AuthorGroup::AuthorGroup() : PersistentModel(entityDescription()), m_createdAt(Clock::now()) {}

AuthorGroup::AuthorGroup(Materializing tag) : PersistentModel(entityDescription(), tag) {}

const EntityDescription &AuthorGroup::entityDescription()
{
    static const EntityDescription entity =
        EntityBuilder<AuthorGroup>(
            QStringLiteral("AuthorGroup"),
            [] { return std::shared_ptr<AuthorGroup>(new AuthorGroup(Materializing{})); })
            .column(QStringLiteral("name"), &AuthorGroup::m_name)
            .column(QStringLiteral("membersRaw"), &AuthorGroup::m_membersRaw)
            .column(QStringLiteral("createdAt"), &AuthorGroup::m_createdAt)
            .column(QStringLiteral("starred"), &AuthorGroup::m_starred)
            .column(QStringLiteral("starredAt"), &AuthorGroup::m_starredAt)
            .build();
    return entity;
}
