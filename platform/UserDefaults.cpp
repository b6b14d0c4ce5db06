#include "UserDefaults.h"

#include "Text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>
#include <QStandardPaths>
#include <memory>

namespace {

// JSON has no date or byte type: such values are wrapped in a one-member
// object whose key names the type.
const QString kDateTag = QStringLiteral("$date");
const QString kDataTag = QStringLiteral("$data");

QJsonValue encode(const QVariant &value);

QJsonValue encodeList(const QVariantList &list)
{
    QJsonArray array;
    for (const QVariant &item : list)
        array.append(encode(item));
    return array;
}

QJsonValue encodeMap(const QVariantMap &map)
{
    QJsonObject object;
    for (auto it = map.begin(); it != map.end(); ++it)
        object.insert(it.key(), encode(it.value()));
    return object;
}

QJsonValue encode(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return value.toLongLong();
    case QMetaType::Double:
    case QMetaType::Float:
        return value.toDouble();
    case QMetaType::QString:
        return value.toString();
    case QMetaType::QDateTime:
        return QJsonObject{{kDateTag, value.toDateTime().toUTC().toString(Qt::ISODateWithMs)}};
    case QMetaType::QByteArray:
        return QJsonObject{{kDataTag, QString::fromLatin1(value.toByteArray().toBase64())}};
    case QMetaType::QStringList:
        return QJsonArray::fromStringList(value.toStringList());
    case QMetaType::QVariantList:
        return encodeList(value.toList());
    case QMetaType::QVariantMap:
        return encodeMap(value.toMap());
    default:
        return QJsonValue::Null;
    }
}

QVariant decode(const QJsonValue &value)
{
    if (value.isBool())
        return value.toBool();
    if (value.isDouble()) {
        const double d = value.toDouble();
        const qint64 i = value.toInteger();
        return double(i) == d ? QVariant(i) : QVariant(d);
    }
    if (value.isString())
        return value.toString();
    if (value.isArray()) {
        QVariantList list;
        for (const QJsonValue &item : value.toArray())
            list.append(decode(item));
        return list;
    }
    if (value.isObject()) {
        const QJsonObject object = value.toObject();
        if (object.size() == 1 && object.contains(kDateTag))
            return QDateTime::fromString(object.value(kDateTag).toString(), Qt::ISODateWithMs);
        if (object.size() == 1 && object.contains(kDataTag))
            return QByteArray::fromBase64(object.value(kDataTag).toString().toLatin1());
        QVariantMap map;
        // The object's keys come in order: each goes in at the end, without
        // a search (a large dictionary decodes in linear time).
        for (auto it = object.begin(); it != object.end(); ++it)
            map.insert(map.cend(), it.key(), decode(it.value()));
        return map;
    }
    return {};
}

QString standardPath()
{
    return UserDefaults::configFolder() + QStringLiteral("/settings.json");
}

std::unique_ptr<UserDefaults> &standardInstance()
{
    static std::unique_ptr<UserDefaults> instance;
    return instance;
}

} // namespace

UserDefaults::UserDefaults(const QString &filePath, QObject *parent)
    : QObject(parent), m_filePath(filePath)
{
    load();
}

UserDefaults &UserDefaults::standard()
{
    auto &instance = standardInstance();
    if (!instance)
        instance = std::make_unique<UserDefaults>(standardPath());
    return *instance;
}

void UserDefaults::reopenStandard()
{
    standardInstance() = std::make_unique<UserDefaults>(standardPath());
}

QString UserDefaults::configFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/Kepsel");
}

QJsonValue UserDefaults::Values::value(const QString &key) const
{
    QMutexLocker locker(&m_lock);
    return m_values.value(key);
}

bool UserDefaults::Values::contains(const QString &key) const
{
    QMutexLocker locker(&m_lock);
    return m_values.contains(key);
}

QStringList UserDefaults::Values::keys() const
{
    QMutexLocker locker(&m_lock);
    return m_values.keys();
}

void UserDefaults::Values::reset(const QJsonObject &values)
{
    QMutexLocker locker(&m_lock);
    m_values = values;
}

bool UserDefaults::Values::update(const QString &key, const std::optional<QJsonValue> &value)
{
    QMutexLocker locker(&m_lock);
    const bool present = m_values.contains(key);
    if (!value) {
        m_values.remove(key);
        return present;
    }
    if (present && m_values.value(key) == *value)
        return false;
    m_values.insert(key, *value);
    return true;
}

QJsonObject UserDefaults::Values::all() const
{
    QMutexLocker locker(&m_lock);
    return m_values;
}

void UserDefaults::load()
{
    QFile file(m_filePath);
    if (!file.open(QIODevice::ReadOnly))
        return;
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QJsonDocument document = QJsonDocument::fromJson(Text::jsonKeepingZeroWidthNoBreakSpaces(file.readAll()));
    if (document.isObject())
        m_values.reset(document.object());
}

bool UserDefaults::contains(const QString &key) const
{
    return m_values.contains(key);
}

QVariant UserDefaults::object(const QString &key) const
{
    return decode(m_values.value(key));
}

bool UserDefaults::boolValue(const QString &key) const
{
    const QJsonValue value = m_values.value(key);
    if (value.isBool())
        return value.toBool();
    if (value.isDouble())
        return value.toDouble() != 0;
    if (value.isString()) {
        const QString text = value.toString().trimmed().toLower();
        return text == QLatin1String("true") || text == QLatin1String("yes") || text == QLatin1String("1");
    }
    return false;
}

bool UserDefaults::boolObject(const QString &key, bool fallback) const
{
    const QJsonValue value = m_values.value(key);
    return value.isBool() ? value.toBool() : fallback;
}

std::optional<QString> UserDefaults::string(const QString &key) const
{
    const QJsonValue value = m_values.value(key);
    if (value.isString())
        return value.toString();
    if (value.isDouble())
        return object(key).toString();
    return std::nullopt;
}

qint64 UserDefaults::integer(const QString &key) const
{
    const QJsonValue value = m_values.value(key);
    if (value.isBool())
        return value.toBool() ? 1 : 0;
    if (value.isString())
        return value.toString().toLongLong();
    if (!value.isDouble())
        return 0;
    // A whole number keeps all 64 bits; going through a double would round
    // anything past 2^53. A number outside the 64-bit range reads as absent.
    constexpr double twoTo63 = 9223372036854775808.0;
    const double number = value.toDouble();
    const bool fits = number >= -twoTo63 && number < twoTo63;
    return value.toInteger(fits ? qint64(number) : 0);
}

double UserDefaults::number(const QString &key) const
{
    const QJsonValue value = m_values.value(key);
    if (value.isBool())
        return value.toBool() ? 1 : 0;
    if (value.isString())
        return value.toString().toDouble();
    return value.toDouble();
}

std::optional<QDateTime> UserDefaults::date(const QString &key) const
{
    const QVariant value = object(key);
    if (value.typeId() != QMetaType::QDateTime)
        return std::nullopt;
    return value.toDateTime();
}

std::optional<QByteArray> UserDefaults::data(const QString &key) const
{
    const QVariant value = object(key);
    if (value.typeId() != QMetaType::QByteArray)
        return std::nullopt;
    return value.toByteArray();
}

std::optional<QStringList> UserDefaults::stringList(const QString &key) const
{
    const QJsonValue value = m_values.value(key);
    if (!value.isArray())
        return std::nullopt;
    QStringList list;
    for (const QJsonValue &item : value.toArray()) {
        if (!item.isString())
            return std::nullopt;
        list.append(item.toString());
    }
    return list;
}

QVariantMap UserDefaults::dictionary(const QString &key) const
{
    const QVariant value = object(key);
    return value.typeId() == QMetaType::QVariantMap ? value.toMap() : QVariantMap{};
}

void UserDefaults::setBool(const QString &key, bool value) { store(key, value); }
void UserDefaults::setString(const QString &key, const QString &value) { store(key, value); }
void UserDefaults::setInteger(const QString &key, qint64 value) { store(key, value); }
void UserDefaults::setNumber(const QString &key, double value) { store(key, value); }
void UserDefaults::setDate(const QString &key, const QDateTime &value) { store(key, encode(value)); }
void UserDefaults::setData(const QString &key, const QByteArray &value) { store(key, encode(value)); }
void UserDefaults::setStringList(const QString &key, const QStringList &value)
{
    store(key, QJsonArray::fromStringList(value));
}
void UserDefaults::setDictionary(const QString &key, const QVariantMap &value) { store(key, encode(value)); }

void UserDefaults::setObject(const QString &key, const QVariant &value)
{
    if (!value.isValid()) {
        remove(key);
        return;
    }
    store(key, encode(value));
}

void UserDefaults::remove(const QString &key)
{
    store(key, std::nullopt);
}

QStringList UserDefaults::keys() const
{
    return m_values.keys();
}

void UserDefaults::store(const QString &key, const std::optional<QJsonValue> &value)
{
    {
        QMutexLocker locker(&m_writeLock);
        if (!m_values.update(key, value))
            return;
        writeFile();
    }
    emit changed(key);
}

// Owner-only from the start: the temporary file gets its permissions before
// any value is written to it.
void UserDefaults::writeFile() const
{
    const QString folder = QFileInfo(m_filePath).absolutePath();
    QDir().mkpath(folder);
    QSaveFile file(m_filePath);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    file.write(QJsonDocument(m_values.all()).toJson(QJsonDocument::Indented));
    file.commit();
}
