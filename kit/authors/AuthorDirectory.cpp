#include "AuthorDirectory.h"

#include "AuthorGroup.h"
#include "ModelContext.h"
#include "StoreError.h"
#include "Text.h"

#include <algorithm>

namespace {

using GroupList = QList<std::shared_ptr<AuthorGroup>>;

QDateTime starKey(const AuthorGroup &group)
{
    return group.starredAt().value_or(group.createdAt());
}

// Latest star first; equal times by id text, so the order is strict.
bool showsBefore(const std::shared_ptr<AuthorGroup> &a, const std::shared_ptr<AuthorGroup> &b)
{
    const QDateTime keyA = starKey(*a);
    const QDateTime keyB = starKey(*b);
    if (keyA != keyB)
        return keyA > keyB;
    return Text::scalarLess(Text::uuidText(a->id()), Text::uuidText(b->id()));
}

// Names compare in canonical form, so names that are one account sort as equal.
bool platformThenNameLess(const AuthorAccount &a, const AuthorAccount &b)
{
    if (const int order = Text::compareScalars(a.platform().rawValue(), b.platform().rawValue()))
        return order < 0;
    return Text::scalarLess(a.canonicalName(), b.canonicalName());
}

GroupList fetchGroups(ModelContext &context)
{
    try {
        return context.fetch<AuthorGroup>();
    } catch (const StoreError &) {
        return {};
    }
}

} // namespace

AuthorDirectory::AuthorDirectory(const GroupList &groups)
{
    for (const std::shared_ptr<AuthorGroup> &group : groups) {
        if (group->isGone())
            continue;
        for (const AuthorAccount &member : group->members()) {
            if (!m_groupOf.contains(member))
                m_groupOf.insert(member, group);
        }
        if (group->starred())
            m_starredGroups.append(group);
    }
    std::sort(m_starredGroups.begin(), m_starredGroups.end(), showsBefore);
}

AuthorDirectory::AuthorDirectory(ModelContext &context) : AuthorDirectory(fetchGroups(context)) {}

std::shared_ptr<AuthorGroup> AuthorDirectory::group(const AuthorAccount &of) const
{
    return m_groupOf.value(of);
}

QList<AuthorAccount> AuthorDirectory::accounts(const AuthorAccount &with) const
{
    if (const std::shared_ptr<AuthorGroup> owner = group(with))
        return owner->members();
    return {with};
}

bool AuthorDirectory::isAlt(const AuthorAccount &account) const
{
    const std::shared_ptr<AuthorGroup> owner = group(account);
    if (!owner)
        return false;
    const std::optional<AuthorAccount> main = owner->main();
    return main && *main != account;
}

// A candidate whose group lost all members since the directory was built
// stands for itself.
AuthorAccount AuthorDirectory::personOf(const AuthorAccount &account) const
{
    const QList<AuthorAccount> person = accounts(account);
    return person.isEmpty() ? account : person.first();
}

QList<AuthorAccount> AuthorDirectory::sameNameSuggestions(const AuthorAccount &account,
                                                          const QList<AuthorAccount> &among) const
{
    const QList<AuthorAccount> ownList = accounts(account);
    const QSet<AuthorAccount> own(ownList.cbegin(), ownList.cend());
    QSet<QString> ownNames;
    for (const AuthorAccount &mine : own)
        ownNames.insert(mine.canonicalName());

    QList<AuthorAccount> candidates;
    for (const AuthorAccount &other : among) {
        if (ownNames.contains(other.canonicalName()) && !own.contains(other))
            candidates.append(other);
    }
    std::stable_sort(candidates.begin(), candidates.end(), platformThenNameLess);

    QList<AuthorAccount> kept;
    QSet<AuthorAccount> keptPersons;
    for (const AuthorAccount &candidate : candidates) {
        const AuthorAccount person = personOf(candidate);
        if (keptPersons.contains(person))
            continue;
        keptPersons.insert(person);
        kept.append(candidate);
    }
    return kept;
}

QString AuthorDirectory::displayName(const AuthorAccount &of) const
{
    const std::shared_ptr<AuthorGroup> owner = group(of);
    if (owner && !owner->name().isEmpty())
        return owner->name();
    return of.name();
}

bool AuthorDirectory::isStarred(const AuthorAccount &account) const
{
    const std::shared_ptr<AuthorGroup> owner = group(account);
    return owner && owner->starred();
}

QList<AuthorAccount> AuthorDirectory::starred() const
{
    QList<AuthorAccount> mains;
    for (const std::shared_ptr<AuthorGroup> &group : m_starredGroups) {
        if (const std::optional<AuthorAccount> main = group->main())
            mains.append(*main);
    }
    return mains;
}
