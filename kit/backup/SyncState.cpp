#include "SyncState.h"

#include "BackupError.h"
#include "BackupJSON.h"
#include "Clock.h"
#include "FileCoordinator.h"
#include "FileError.h"
#include "KitLog.h"
#include "TamselStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

namespace Sync {

using namespace Backup::Json;

namespace {

QString asideName(const QString &path)
{
    const QFileInfo info(path);
    return info.dir().filePath(QStringLiteral("%1.unreadable-%2.%3")
                                   .arg(info.completeBaseName(),
                                        Clock::now().toUTC().toString(QStringLiteral("yyyyMMdd-HHmmss")),
                                        info.suffix()));
}

void keepAside(const QString &path, const QString &reason)
{
    const QString aside = asideName(path);
    if (QFile::rename(path, aside))
        qCWarning(tamselLog, "sync state unreadable, kept as %s: %s", qUtf8Printable(aside),
                  qUtf8Printable(reason));
    else
        qCWarning(tamselLog, "sync state unreadable and could not be kept aside: %s", qUtf8Printable(reason));
}

} // namespace

QDateTime distantPast()
{
    static const QDateTime past(QDate(1, 1, 1), QTime(0, 0), Qt::UTC);
    return past;
}

QString stateURL()
{
    return QDir(TamselStore::storeDirectory()).filePath(QStringLiteral("SyncState.json"));
}

State State::read(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly)) {
        keepAside(path, file.errorString());
        return {};
    }
    const QByteArray bytes = file.readAll();
    file.close();
    try {
        return decode(bytes);
    } catch (const Backup::BackupError &error) {
        keepAside(path, error.detail());
        return {};
    }
}

State State::decode(const QByteArray &bytes)
{
    const ObjectReader in(parseObject(bytes), {});
    State state;
    const QJsonObject hashes = in.required<QJsonObject>(
        "hashes",
        [](const QJsonValue &v) { return v.isObject() ? std::optional(v.toObject()) : std::nullopt; },
        "not an object");
    for (auto entry = hashes.constBegin(); entry != hashes.constEnd(); ++entry) {
        const auto hash = toText(entry.value());
        if (!hash)
            in.fail(QStringLiteral("hashes.%1").arg(entry.key()), "not a text");
        state.hashes.insert(entry.key().toUpper(), *hash);
    }
    state.stamps = in.dateMap("stamps");
    state.tombstones = in.dateMap("tombstones");
    return state;
}

QByteArray State::encode() const
{
    Backup::JsonWriter out;
    out.beginObject();
    writeSortedMap(out, "hashes", hashes, [&](const QString &hash) { out.string(hash); });
    writeDateMap(out, "stamps", stamps);
    writeDateMap(out, "tombstones", tombstones);
    out.endObject();
    return out.take();
}

void State::write(const QString &path) const
{
    const QByteArray bytes = encode();
    const QString folder = QFileInfo(path).absolutePath();
    errno = 0;
    if (!QDir().mkpath(folder))
        throw FileError(FileError::Action::create, folder, errno);
    FileCoordinator::replace(bytes, path);
}

} // namespace Sync
