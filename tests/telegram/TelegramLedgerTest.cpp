#include "BotClient.h"
#include "TamselStore.h"
#include "TelegramLedger.h"

using namespace Qt::StringLiterals;

namespace {

const QString kOther = u"0D4F8D32-1B7A-4C1E-9A7E-5B7F7A3C2E10"_s;

class TelegramLedgerTest : public HomeTest {
protected:
    static QVariantMap stored() { return TamselStore::defaults().dictionary(TelegramLedger::settingsKey); }
    static void store(const QVariantMap &value)
    {
        TamselStore::defaults().setDictionary(TelegramLedger::settingsKey, value);
    }
};

TEST_F(TelegramLedgerTest, AddKeepsASortedSetOfPositiveIdsAndSetReplaces)
{
    TelegramLedger::add({5, 3}, kPost);
    TelegramLedger::add({4, 5, 0, -2}, kPost);
    EXPECT_EQ(stored().value(kPost), u"3,4,5"_s);
    TelegramLedger::set({1}, kOther);
    TelegramLedger::set({}, kPost);
    EXPECT_EQ(TelegramLedger::all(), (QMap<QString, QList<qint64>>{{kOther, {1}}}));

    // Nothing positive to add writes nothing, so an absent ledger stays absent.
    TamselStore::defaults().remove(TelegramLedger::settingsKey);
    TelegramLedger::add({0, -1}, kPost);
    EXPECT_FALSE(TamselStore::defaults().contains(TelegramLedger::settingsKey));
}

TEST_F(TelegramLedgerTest, DamagedPiecesAndEntriesAreDroppedAloneAndRewrittenClean)
{
    store({{kPost, u"12,,abc, 7,15"_s},
           {kOther, u"x,y"_s},
           {u"numeric"_s, 42},
           {u"list"_s, QVariantList{1, 2}}});
    EXPECT_EQ(TelegramLedger::ids(kPost), (QList<qint64>{12, 15}));
    // A value that is not text costs only its own entry.
    EXPECT_EQ(TelegramLedger::all().keys(), (QStringList{kOther, kPost}));

    TelegramLedger::add({20}, u"new"_s);
    const QVariantMap after = stored();
    EXPECT_EQ(after.value(kPost), u"12,15"_s);
    EXPECT_EQ(after.value(kOther), QString(""));
    EXPECT_FALSE(after.contains(u"numeric"_s));
    EXPECT_EQ(after.value(u"new"_s), u"20"_s);
}

} // namespace
