#include "AuthorDirectory.h"

#include "AuthorLibrary.h"

namespace {

class AuthorDirectoryTest : public AuthorLibrary {
protected:
    static QDateTime at(const char *time)
    {
        return QDateTime::fromString(QStringLiteral("2024-05-01T%1Z").arg(QLatin1String(time)), Qt::ISODate);
    }
    std::shared_ptr<AuthorGroup> starredWithId(const char *id, std::optional<QDateTime> starredAt)
    {
        auto group = addGroup({account(Platform::weibo, id)}, true, starredAt);
        group->setId(QUuid::fromString(QLatin1String(id)));
        group->setCreatedAt(at("11:00:00"));
        return group;
    }
};

// Ties in star time fall back to the id's text; a group whose members all
// failed to read is listed but gives no account.
TEST_F(AuthorDirectoryTest, StarredShowsLatestFirstThenByIdTextAndSkipsEmptyGroups)
{
    const auto b = starredWithId("B0000000-0000-0000-0000-000000000000", at("12:00:05"));
    const auto nine = starredWithId("90000000-0000-0000-0000-000000000000", at("12:00:05"));
    const auto late = starredWithId("F0000000-0000-0000-0000-000000000000", std::nullopt);
    late->setCreatedAt(at("12:00:09"));
    const auto empty = addGroup({}, true, at("13:00:00"));
    empty->setMembersRaw(QStringLiteral("myspace\tLin\nweibo\t"));
    addGroup({account(Platform::douyin, "Amy")}, false, at("14:00:00"));

    const AuthorDirectory directory(context);
    EXPECT_EQ(directory.starredGroups(), QList<std::shared_ptr<AuthorGroup>>({empty, late, nine, b}));
    EXPECT_EQ(directory.starred(), QList<AuthorAccount>({*late->main(), *nine->main(), *b->main()}));
}

// Names sorted by scalar value: no locale rules (Z before É) and no UTF-16
// surrogate order (U+FF21 before U+1F600).
TEST_F(AuthorDirectoryTest, SameNameSuggestionsComeInScalarOrder)
{
    QList<AuthorAccount> own;
    QList<AuthorAccount> others;
    for (const char *name : {"\U0001F600", "\u00c9mile", "\uff21", "Zed"}) {
        own.append(account(Platform::x, name));
        others.append(account(Platform::bilibili, name));
    }
    addGroup(own);
    others.append(account(Platform::bilibili, "E\u0301mile"));
    EXPECT_EQ(AuthorDirectory(context).sameNameSuggestions(own.first(), others),
              QList<AuthorAccount>({others[3], others[1], others[2], others[0]}));
}

// Many candidates named with long runs of combining marks, as a hostile page
// could name its author: they are one capped name, found and sorted promptly.
TEST_F(AuthorDirectoryTest, SameNameSuggestionsAmongLongHostileNames)
{
    const QString hostile = QStringLiteral("a") + QStringLiteral("\u0316\u0301").repeated(32768);
    const AuthorAccount own(Platform::x, hostile);
    addGroup({own});
    QList<AuthorAccount> among;
    for (int i = 0; i < 200; ++i)
        among.append(
            AuthorAccount(i % 2 ? Platform::bilibili : Platform::weibo, hostile + QString::number(i)));
    EXPECT_EQ(AuthorDirectory(context).sameNameSuggestions(own, among),
              QList<AuthorAccount>(
                  {AuthorAccount(Platform::bilibili, hostile), AuthorAccount(Platform::weibo, hostile)}));
}

} // namespace
