#include "AuthorAccount.h"
#include "FuzzCheck.h"
#include "Text.h"

namespace {

QList<AuthorAccount> storable(const QList<AuthorAccount> &accounts)
{
    QList<AuthorAccount> kept;
    for (const AuthorAccount &account : accounts)
        if (account.isStorable())
            kept.append(account);
    return kept;
}

bool sameNamesAndPlatforms(const QList<AuthorAccount> &a, const QList<AuthorAccount> &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a[i].platform() != b[i].platform() || a[i].name() != b[i].name())
            return false;
    return true;
}

// Equal accounts hash alike, whichever pair of the list is taken.
void checkHashing(const QList<AuthorAccount> &accounts)
{
    const qsizetype count = qMin<qsizetype>(accounts.size(), 16);
    for (qsizetype i = 0; i < count; ++i)
        for (qsizetype j = 0; j < count; ++j)
            if (accounts[i] == accounts[j])
                Fuzz::require(qHash(accounts[i]) == qHash(accounts[j]), "equal accounts hash alike");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QList<AuthorAccount> accounts = AuthorAccount::fromKeyList(Fuzz::text(data, size));
    for (const AuthorAccount &account : accounts) {
        Fuzz::require(!account.name().isEmpty() && account.name().size() <= Text::keyLengthLimit,
                      "a name is present and capped");
        Fuzz::require(!account.name().contains(u'\n'), "a name holds no line feed");
        Fuzz::require(AuthorAccount::fromKey(account.key()) == account, "a key reads back as its account");
    }
    const QList<AuthorAccount> kept = storable(accounts);
    Fuzz::require(sameNamesAndPlatforms(AuthorAccount::fromKeyList(AuthorAccount::keyList(accounts)), kept),
                  "a key list written and read back is equal");
    checkHashing(accounts);
    return 0;
}
