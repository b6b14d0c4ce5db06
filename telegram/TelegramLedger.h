#pragma once

#include "JSON.h"

#include <QList>
#include <QMap>
#include <QString>

// The durable record of which channel messages were posted for which post:
// post id text (upper-case UUID) to message ids, kept in the settings under
// "telegramLedger" as texts of decimal ids joined by ",". Each operation reads
// the stored value afresh and rewrites it whole, so no copy goes stale.
// Main thread only, like the settings it lives in.
class TelegramLedger {
public:
    static const QString settingsKey;

    // Adds the positive ids to the key's entry (a sorted set); with no
    // positive id nothing is written.
    static void add(const QList<qint64> &ids, const QString &key);
    // Replaces the key's entry by the ids as given; an empty list removes it.
    static void set(const QList<qint64> &ids, const QString &key);
    static void remove(const QString &key);
    // Moves the ids of `from` into the entry of `into` (the sorted set of
    // both) in one rewrite; nothing happens when `from` holds no id.
    static void merge(const QString &from, const QString &into);
    static QList<qint64> ids(const QString &key);
    static QMap<QString, QList<qint64>> all();
    // Every entry's stored text, undecoded, for a walk that decodes only the
    // entries it needs (Post::messageIDsFromText).
    static QMap<QString, QString> texts();

    // The message ids a Bot API "result" holds: its own "message_id", or those
    // of the messages of an album, in order.
    static QList<qint64> messageIDs(const JSON &result);

private:
    using Entries = QMap<QString, QList<qint64>>;

    static Entries load();
    static void store(const Entries &entries);
};
