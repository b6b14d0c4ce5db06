#include "TelegramLedger.h"

#include "Post.h"
#include "TamselStore.h"

#include <algorithm>

namespace {

QString joined(const QList<qint64> &ids)
{
    QStringList pieces;
    for (qint64 id : ids)
        pieces.append(QString::number(id));
    return pieces.join(QLatin1Char(','));
}

// The entry becomes the sorted set of its ids and the others.
void joinInto(QList<qint64> &entry, const QList<qint64> &ids)
{
    entry += ids;
    std::sort(entry.begin(), entry.end());
    entry.erase(std::unique(entry.begin(), entry.end()), entry.end());
}

} // namespace

const QString TelegramLedger::settingsKey = QStringLiteral("telegramLedger");

TelegramLedger::Entries TelegramLedger::load()
{
    Entries entries;
    const QMap<QString, QString> stored = texts();
    for (auto it = stored.constBegin(); it != stored.constEnd(); ++it)
        entries.insert(entries.cend(), it.key(), Post::messageIDsFromText(it.value()));
    return entries;
}

QMap<QString, QString> TelegramLedger::texts()
{
    QMap<QString, QString> texts;
    const QVariantMap stored = TamselStore::defaults().dictionary(settingsKey);
    for (auto it = stored.constBegin(); it != stored.constEnd(); ++it) {
        // A value of another type is damage to that entry alone; the other
        // posts' records stay.
        if (it.value().typeId() == QMetaType::QString)
            texts.insert(texts.cend(), it.key(), it.value().toString());
    }
    return texts;
}

void TelegramLedger::store(const Entries &entries)
{
    QVariantMap stored;
    for (auto it = entries.constBegin(); it != entries.constEnd(); ++it)
        stored.insert(it.key(), joined(it.value()));
    TamselStore::defaults().setDictionary(settingsKey, stored);
}

void TelegramLedger::add(const QList<qint64> &ids, const QString &key)
{
    QList<qint64> positive;
    std::copy_if(ids.cbegin(), ids.cend(), std::back_inserter(positive), [](qint64 id) { return id > 0; });
    if (positive.isEmpty())
        return;
    Entries entries = load();
    joinInto(entries[key], positive);
    store(entries);
}

void TelegramLedger::set(const QList<qint64> &ids, const QString &key)
{
    Entries entries = load();
    if (ids.isEmpty())
        entries.remove(key);
    else
        entries.insert(key, ids);
    store(entries);
}

void TelegramLedger::remove(const QString &key)
{
    Entries entries = load();
    entries.remove(key);
    store(entries);
}

void TelegramLedger::merge(const QString &from, const QString &into)
{
    Entries entries = load();
    const QList<qint64> moved = entries.take(from);
    if (moved.isEmpty() || from == into)
        return;
    joinInto(entries[into], moved);
    store(entries);
}

QList<qint64> TelegramLedger::ids(const QString &key)
{
    return load().value(key);
}

QMap<QString, QList<qint64>> TelegramLedger::all()
{
    return load();
}

QList<qint64> TelegramLedger::messageIDs(const JSON &result)
{
    if (const auto id = result["message_id"].intValue())
        return {*id};
    QList<qint64> ids;
    for (const JSON &message : result.array())
        if (const auto id = message["message_id"].intValue())
            ids.append(*id);
    return ids;
}
