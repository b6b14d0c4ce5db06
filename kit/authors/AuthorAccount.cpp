#include "AuthorAccount.h"

#include "Post.h"
#include "Text.h"

#include <QHash>

namespace {

const QChar kTab = QLatin1Char('\t');
const QChar kLineFeed = QLatin1Char('\n');

} // namespace

AuthorAccount::AuthorAccount(Platform platform, const QString &name) : m_platform(platform)
{
    setName(name);
}

void AuthorAccount::setName(const QString &name)
{
    m_name = Text::cappedKey(name);
    m_canonicalName = Text::canonical(m_name);
}

std::optional<AuthorAccount> AuthorAccount::fromKey(const QString &key)
{
    qsizetype start = 0;
    while (start < key.size() && key.at(start) == kTab)
        ++start;
    const qsizetype tab = key.indexOf(kTab, start);
    if (tab < 0)
        return std::nullopt;
    const QString name = key.mid(tab + 1);
    const std::optional<Platform> platform = Platform::fromRawValue(key.mid(start, tab - start));
    if (!platform || name.isEmpty())
        return std::nullopt;
    return AuthorAccount(*platform, name);
}

AuthorAccount AuthorAccount::fromPost(const Post &post)
{
    return AuthorAccount(post.platform(), post.authorName());
}

QString AuthorAccount::keyList(const QList<AuthorAccount> &accounts)
{
    QStringList keys;
    keys.reserve(accounts.size());
    for (const AuthorAccount &account : accounts) {
        if (account.isStorable())
            keys.append(account.key());
    }
    return keys.join(kLineFeed);
}

QList<AuthorAccount> AuthorAccount::fromKeyList(const QString &text)
{
    QList<AuthorAccount> accounts;
    for (const QString &line : text.split(kLineFeed, Qt::SkipEmptyParts)) {
        if (std::optional<AuthorAccount> account = fromKey(line))
            accounts.append(*account);
    }
    return accounts;
}

QString AuthorAccount::key() const
{
    return m_platform.rawValue() + kTab + m_name;
}

bool AuthorAccount::isStorable() const
{
    return !m_name.contains(kLineFeed) && !m_name.contains(QLatin1Char('\r'));
}

bool AuthorAccount::operator==(const AuthorAccount &other) const
{
    return m_platform == other.m_platform && m_canonicalName == other.m_canonicalName;
}

size_t qHash(const AuthorAccount &account, size_t seed)
{
    return qHashMulti(seed, account.platform().rawValue(), account.canonicalName());
}
