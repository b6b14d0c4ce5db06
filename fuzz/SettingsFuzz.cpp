#include "FuzzCheck.h"
#include "UserDefaults.h"

#include <QFile>
#include <QTemporaryDir>
#include <cmath>

namespace {

// Every write goes to disk, so only the first keys are copied.
constexpr int keyBudget = 32;

const QTemporaryDir &folder()
{
    static const QTemporaryDir dir;
    return dir;
}

QString fileNamed(const char *name)
{
    return folder().filePath(QString::fromLatin1(name));
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    Fuzz::require(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "the settings file can be written");
    file.write(bytes);
}

void checkReaders(const UserDefaults &settings, const QString &key)
{
    const QVariant object = settings.object(key);
    const qint64 integer = settings.integer(key);
    if (object.typeId() == QMetaType::LongLong)
        Fuzz::require(integer == object.toLongLong(), "a stored integer reads exactly");
    if (object.typeId() == QMetaType::Double && std::fabs(object.toDouble()) >= 9223372036854775808.0)
        Fuzz::require(integer == 0, "a number past 64 bits reads as absent");
    settings.boolValue(key);
    settings.boolObject(key);
    settings.string(key);
    settings.number(key);
    settings.date(key);
    settings.data(key);
    settings.stringList(key);
    settings.dictionary(key);
}

// Values copied through the typed interface come back alike after a reopen.
void checkCopy(const UserDefaults &settings, const QStringList &keys)
{
    const QString copyPath = fileNamed("copy.json");
    QFile::remove(copyPath);
    {
        UserDefaults copy(copyPath);
        for (const QString &key : keys)
            copy.setObject(key, settings.object(key));
    }
    const UserDefaults reopened(copyPath);
    for (const QString &key : keys) {
        Fuzz::require(reopened.object(key) == settings.object(key), "a value copied reads back equal");
        Fuzz::require(reopened.integer(key) == settings.integer(key), "a copied integer reads alike");
        Fuzz::require(reopened.stringList(key) == settings.stringList(key), "a copied list reads alike");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fileNamed("settings.json");
    writeFile(path, Fuzz::bytes(data, size));
    const UserDefaults settings(path);
    const QStringList keys = settings.keys().mid(0, keyBudget);
    for (const QString &key : keys) {
        Fuzz::require(settings.contains(key), "a listed key is present");
        checkReaders(settings, key);
    }
    checkCopy(settings, keys);
    return 0;
}
