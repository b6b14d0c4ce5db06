#include "AuthorDirectory.h"

#include "AuthorLibrary.h"

namespace {

class AuthorDirectoryTest : public AuthorLibrary {
protected:
    const AuthorAccount weiboLin = account(Platform::weibo, "Lin");
    const AuthorAccount xLin = account(Platform::x, "Lin");
    const AuthorAccount douyinAmy = account(Platform::douyin, "Amy");

    static QDateTime at(const char *time)
    {
        return QDateTime::fromString(QStringLiteral("2024-05-01T%1Z").arg(QLatin1String(time)), Qt::ISODate);
    }
    std::shared_ptr<AuthorGroup> starredWithId(const char *id, std::optional<QDateTime> starredAt,
                                               const QDateTime &createdAt)
    {
        auto group = addGroup({account(Platform::weibo, id)}, true, starredAt);
        group->setId(QUuid::fromString(QLatin1String(id)));
        group->setCreatedAt(createdAt);
        return group;
    }
};

TEST_F(AuthorDirectoryTest, FirstGroupWinsAnAccountAndGoneGroupsCountForNothing)
{
    const auto first = addGroup({weiboLin, xLin});
    const auto second = addGroup({douyinAmy, weiboLin});
    const auto removed = addGroup({account(Platform::bilibili, "Gone")}, true);
    context.remove(removed);
    const auto detached = std::make_shared<AuthorGroup>(QString(), QList<AuthorAccount>{douyinAmy});
    detached->setStarred(true);

    const AuthorDirectory directory({detached, removed, first, second});
    EXPECT_EQ(directory.group(weiboLin), first);
    EXPECT_EQ(directory.group(douyinAmy), second);
    EXPECT_EQ(directory.group(account(Platform::bilibili, "Gone")), nullptr);
    EXPECT_TRUE(directory.starredGroups().isEmpty());
    EXPECT_EQ(AuthorDirectory(context).group(weiboLin), first);
}

TEST_F(AuthorDirectoryTest, PersonsAccountsAltsAndNames)
{
    const auto group = addGroup({weiboLin, xLin});
    addGroup({douyinAmy, account(Platform::x, "Amy")})->setName(QStringLiteral(" "));
    const AuthorDirectory directory(context);

    EXPECT_EQ(directory.accounts(xLin), QList<AuthorAccount>({weiboLin, xLin}));
    EXPECT_EQ(directory.accounts(account(Platform::web, "Solo")),
              QList<AuthorAccount>({account(Platform::web, "Solo")}));
    EXPECT_EQ(directory.expand(QList<AuthorAccount>{xLin, douyinAmy}).size(), 4);

    EXPECT_TRUE(directory.isAlt(xLin));
    EXPECT_FALSE(directory.isAlt(weiboLin));
    EXPECT_FALSE(directory.isAlt(account(Platform::web, "Solo")));

    EXPECT_EQ(directory.displayName(xLin), QStringLiteral("Lin"));
    group->setName(QStringLiteral("Lin Yi"));
    EXPECT_EQ(directory.displayName(xLin), QStringLiteral("Lin Yi"));
    EXPECT_EQ(directory.displayName(douyinAmy), QStringLiteral(" "));

    // A name written in another composition finds the same person.
    const AuthorAccount composed = account(Platform::x, "Zo\u00eb");
    addGroup({composed, account(Platform::weibo, "Zoe")});
    EXPECT_EQ(AuthorDirectory(context).accounts(account(Platform::x, "Zoe\u0308")).first(), composed);
}

TEST_F(AuthorDirectoryTest, StarredShowsLatestFirstThenByIdTextAndSkipsEmptyGroups)
{
    const auto b = starredWithId("B0000000-0000-0000-0000-000000000000", at("12:00:05"), at("11:00:00"));
    const auto late = starredWithId("F0000000-0000-0000-0000-000000000000", std::nullopt, at("12:00:09"));
    const auto nine = starredWithId("90000000-0000-0000-0000-000000000000", at("12:00:05"), at("11:00:00"));
    const auto empty = addGroup({}, true, at("13:00:00"));
    empty->setMembersRaw(QStringLiteral("myspace\tLin\nweibo\t"));
    addGroup({douyinAmy, xLin}, false, at("14:00:00"));

    const AuthorDirectory directory(context);
    EXPECT_EQ(directory.starredGroups(), QList<std::shared_ptr<AuthorGroup>>({empty, late, nine, b}));
    EXPECT_EQ(directory.starred(),
              QList<AuthorAccount>({late->main().value(), nine->main().value(), b->main().value()}));
    EXPECT_TRUE(directory.isStarred(late->main().value()));
    EXPECT_FALSE(directory.isStarred(douyinAmy));
    EXPECT_FALSE(directory.isStarred(account(Platform::web, "Solo")));
}

TEST_F(AuthorDirectoryTest, SameNameSuggestionsOfferOneAccountPerOtherPerson)
{
    addGroup({weiboLin, xLin});
    const AuthorAccount xhsLin = account(Platform::xiaohongshu, "Lin");
    const AuthorAccount biliLin = account(Platform::bilibili, "Lin");
    const AuthorAccount douyinLin = account(Platform::douyin, "Lin");
    const AuthorAccount instaLin = account(Platform::instagram, "Lin");
    addGroup({instaLin, douyinLin});
    const QList<AuthorAccount> library = {xLin,     xhsLin,  douyinAmy, weiboLin,
                                          instaLin, biliLin, douyinLin, xhsLin};

    EXPECT_EQ(AuthorDirectory(context).sameNameSuggestions(weiboLin, library),
              QList<AuthorAccount>({biliLin, douyinLin, xhsLin}));
}

// Names sort by scalar value: no locale rules (Z before É) and no UTF-16
// surrogate order (U+FF21 before U+1F600).
TEST_F(AuthorDirectoryTest, SameNameSuggestionsSortNamesByScalarValue)
{
    const QList<const char *> names = {"\U0001F600", "\u00c9mile", "\uff21", "Zed"};
    QList<AuthorAccount> own;
    QList<AuthorAccount> library;
    for (const char *name : names) {
        own.append(account(Platform::x, name));
        library.append(account(Platform::bilibili, name));
    }
    addGroup(own);
    library.append(account(Platform::bilibili, "E\u0301mile"));

    EXPECT_EQ(AuthorDirectory(context).sameNameSuggestions(own.first(), library),
              QList<AuthorAccount>({library[3], library[1], library[2], library[0]}));
}

} // namespace
