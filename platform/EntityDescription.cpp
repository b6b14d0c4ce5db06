#include "EntityDescription.h"

#include <algorithm>
#include <array>
#include <sqlite3.h>

namespace {

// Stored times come back in UTC: such a time is held inline, without a zone
// object, so copies and comparisons (sorting a large library by date) cost
// next to nothing. Shown times are converted to local time where they are shown.
QDateTime storedTime(qint64 msecs)
{
    return QDateTime::fromMSecsSinceEpoch(msecs, Qt::UTC);
}

// Short texts recur across a library's rows (kinds, states, platforms,
// authors): a recurring one is held once instead of once per row. The texts
// seen last are kept in a small table placed by a cheap digest of their
// bytes, so a lookup costs a comparison, not a hash of the whole text. Main
// thread only, like the stores.
QString sharedText(QByteArrayView utf8)
{
    constexpr qsizetype longest = 32;
    constexpr size_t tableSize = 256;
    if (utf8.isEmpty() || utf8.size() > longest)
        return QString::fromUtf8(utf8);
    struct Slot {
        QByteArray bytes;
        QString text;
    };
    static std::array<Slot, tableSize> recent;
    const auto byte = [&utf8](qsizetype at) { return size_t(uchar(utf8[at])); };
    Slot &slot = recent[(size_t(utf8.size()) * 131 + byte(0) * 31 + byte(utf8.size() / 2) * 7 +
                         byte(utf8.size() - 1)) %
                        tableSize];
    if (slot.bytes != utf8) {
        slot.bytes = utf8.toByteArray();
        slot.text = QString::fromUtf8(utf8);
    }
    return slot.text;
}

} // namespace

namespace ColumnCodec {

void bind(sqlite3_stmt *statement, int index, const QString &value)
{
    const QByteArray utf8 = value.toUtf8();
    sqlite3_bind_text(statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void bind(sqlite3_stmt *statement, int index, qint64 value)
{
    sqlite3_bind_int64(statement, index, value);
}

void bind(sqlite3_stmt *statement, int index, int value)
{
    sqlite3_bind_int64(statement, index, value);
}

void bind(sqlite3_stmt *statement, int index, double value)
{
    sqlite3_bind_double(statement, index, value);
}

void bind(sqlite3_stmt *statement, int index, bool value)
{
    sqlite3_bind_int(statement, index, value ? 1 : 0);
}

// Times are kept as milliseconds since the epoch, which QDateTime round-trips exactly.
void bind(sqlite3_stmt *statement, int index, const QDateTime &value)
{
    if (value.isValid())
        sqlite3_bind_int64(statement, index, value.toMSecsSinceEpoch());
    else
        sqlite3_bind_null(statement, index);
}

void bind(sqlite3_stmt *statement, int index, const std::optional<QDateTime> &value)
{
    bind(statement, index, value.value_or(QDateTime()));
}

void read(sqlite3_stmt *statement, int index, QString &value)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(statement, index));
    value = sharedText(QByteArrayView(text, sqlite3_column_bytes(statement, index)));
}

void read(sqlite3_stmt *statement, int index, qint64 &value)
{
    value = sqlite3_column_int64(statement, index);
}

void read(sqlite3_stmt *statement, int index, int &value)
{
    value = int(sqlite3_column_int64(statement, index));
}

void read(sqlite3_stmt *statement, int index, double &value)
{
    value = sqlite3_column_double(statement, index);
}

void read(sqlite3_stmt *statement, int index, bool &value)
{
    value = sqlite3_column_int(statement, index) != 0;
}

void read(sqlite3_stmt *statement, int index, QDateTime &value)
{
    value = sqlite3_column_type(statement, index) == SQLITE_NULL
                ? QDateTime()
                : storedTime(sqlite3_column_int64(statement, index));
}

void read(sqlite3_stmt *statement, int index, std::optional<QDateTime> &value)
{
    if (sqlite3_column_type(statement, index) == SQLITE_NULL)
        value.reset();
    else
        value = storedTime(sqlite3_column_int64(statement, index));
}

} // namespace ColumnCodec

namespace {
template <class List> int indexByName(const List &list, const QString &name)
{
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i].name == name)
            return int(i);
    return -1;
}
} // namespace

int EntityDescription::relationshipIndex(const QString &relationship) const
{
    return indexByName(relationships, relationship);
}

int EntityDescription::inverseIndex(const QString &inverse) const
{
    return indexByName(inverses, inverse);
}

int EntityDescription::inverseSlot(int relationship) const
{
    const Relationship &owned = relationships[relationship];
    return owned.target().inverseIndex(owned.inverse);
}

int EntityDescription::sourceRelationship(int inverse) const
{
    const Inverse &end = inverses[inverse];
    return end.source().relationshipIndex(end.relationship);
}

bool EntityDescription::hasDeferredParts() const
{
    return !externalBlobs.isEmpty() || std::any_of(columns.cbegin(), columns.cend(),
                                                   [](const Column &column) { return column.deferred; });
}

QString EntityDescription::linkTable(int relationship) const
{
    return name + QLatin1Char('_') + relationships[relationship].name;
}
