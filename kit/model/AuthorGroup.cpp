#include "AuthorGroup.h"

#include "Clock.h"

#include <QSet>

AuthorGroup::AuthorGroup() : PersistentModel(entityDescription()), m_createdAt(Clock::now()) {}

AuthorGroup::AuthorGroup(const QString &name, const QList<AuthorAccount> &members) : AuthorGroup()
{
    m_name = name;
    m_membersRaw = AuthorAccount::keyList(members);
}

AuthorGroup::AuthorGroup(Materializing tag) : PersistentModel(entityDescription(), tag) {}

const EntityDescription &AuthorGroup::entityDescription()
{
    static const EntityDescription entity =
        EntityBuilder<AuthorGroup>(QStringLiteral("AuthorGroup"), &materialized<AuthorGroup>)
            .column(QStringLiteral("name"), &AuthorGroup::m_name)
            .column(QStringLiteral("membersRaw"), &AuthorGroup::m_membersRaw)
            .column(QStringLiteral("createdAt"), &AuthorGroup::m_createdAt)
            .column(QStringLiteral("starred"), &AuthorGroup::m_starred)
            .column(QStringLiteral("starredAt"), &AuthorGroup::m_starredAt)
            .build();
    return entity;
}

QList<AuthorAccount> AuthorGroup::members() const
{
    return AuthorAccount::fromKeyList(m_membersRaw);
}

void AuthorGroup::setMembers(const QList<AuthorAccount> &members)
{
    QList<AuthorAccount> unique;
    QSet<AuthorAccount> seen;
    for (const AuthorAccount &member : members) {
        if (!seen.contains(member)) {
            seen.insert(member);
            unique.append(member);
        }
    }
    setMembersRaw(AuthorAccount::keyList(unique));
}

std::optional<AuthorAccount> AuthorGroup::main() const
{
    const QList<AuthorAccount> all = members();
    if (all.isEmpty())
        return std::nullopt;
    return all.first();
}
