#include "StoreMigration.h"

#include "FileError.h"
#include "KitLog.h"
#include "LockFiles.h"
#include "TamselStore.h"
#include "Text.h"
#include "UserDefaults.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QUuid>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString migratingPrefix = QStringLiteral("Kepsel.migrating-");
const QString safetyRoot = QStringLiteral("Plumvat-sync-safety");
const QString datedSuffix = QStringLiteral("-store-rename");

// The store items that carry the folder's name, in the order they are renamed.
const std::pair<QString, QString> renamePairs[] = {
    {QStringLiteral("Plumvat.store"), QStringLiteral("Kepsel.store")},
    {QStringLiteral("Plumvat.store-wal"), QStringLiteral("Kepsel.store-wal")},
    {QStringLiteral("Plumvat.store-shm"), QStringLiteral("Kepsel.store-shm")},
    {QStringLiteral(".Plumvat_SUPPORT"), QStringLiteral(".Kepsel_SUPPORT")},
};

[[noreturn]] void fail(const QString &action, const QString &path, int error = errno)
{
    throw FileError(QStringLiteral("%1 %2: %3").arg(action, path, qt_error_string(error)));
}

QString child(const QString &folder, const QString &name)
{
    return folder + QLatin1Char('/') + name;
}

// Any kind of item counts, a dangling link too.
bool itemExists(const QString &path)
{
    struct stat info;
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

// Never replaces an item at the destination.
void moveItem(const QString &from, const QString &to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    const QString action = QStringLiteral("cannot move %1 to").arg(from);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return;
    if (errno != EINVAL && errno != ENOSYS)
        fail(action, to);
    // A file system without no-replace renames: look first.
    if (itemExists(to))
        fail(action, to, EEXIST);
    if (::rename(source.constData(), target.constData()) != 0)
        fail(action, to);
}

void copyItem(const QString &from, const QString &to, const struct stat &info);

void copyTimes(const QString &to, const struct stat &info)
{
    const struct timespec times[2] = {info.st_atim, info.st_mtim};
    ::utimensat(AT_FDCWD, QFile::encodeName(to).constData(), times, AT_SYMLINK_NOFOLLOW);
}

void copyFile(const QString &from, const QString &to, const struct stat &info)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("cannot read %1: %2").arg(from, source.errorString()));
    QFile target(to);
    if (!target.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        throw FileError(QStringLiteral("cannot create %1: %2").arg(to, target.errorString()));
    constexpr qint64 chunkSize = 1 << 20;
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(chunkSize);
        if (source.error() != QFileDevice::NoError)
            throw FileError(QStringLiteral("cannot read %1: %2").arg(from, source.errorString()));
        if (target.write(chunk) != chunk.size())
            throw FileError(QStringLiteral("cannot write %1: %2").arg(to, target.errorString()));
    }
    if (!target.flush())
        throw FileError(QStringLiteral("cannot write %1: %2").arg(to, target.errorString()));
    ::fchmod(target.handle(), info.st_mode & 07777);
    target.close();
    copyTimes(to, info);
}

// The link itself is copied, as it is written; a relative link keeps
// pointing into the copy.
void copyLink(const QString &from, const QString &to, const struct stat &info)
{
    QByteArray target(info.st_size + 1, Qt::Uninitialized);
    const ssize_t length = ::readlink(QFile::encodeName(from).constData(), target.data(), target.size());
    if (length < 0 || length >= target.size())
        fail(QStringLiteral("cannot read link"), from, length < 0 ? errno : EOVERFLOW);
    target.truncate(length);
    if (::symlink(target.constData(), QFile::encodeName(to).constData()) != 0)
        fail(QStringLiteral("cannot create"), to);
    copyTimes(to, info);
}

QStringList entryNames(const QString &folder)
{
    const std::unique_ptr<DIR, int (*)(DIR *)> dir(::opendir(QFile::encodeName(folder).constData()),
                                                   ::closedir);
    if (!dir)
        fail(QStringLiteral("cannot read"), folder);
    QStringList names;
    errno = 0;
    while (const dirent *entry = ::readdir(dir.get())) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names << QFile::decodeName(name);
    }
    if (errno != 0)
        fail(QStringLiteral("cannot read"), folder);
    return names;
}

// Hidden items included. The folder is made writable while it fills and
// gets the source's permissions at the end.
void copyFolder(const QString &from, const QString &to, const struct stat &info)
{
    if (::mkdir(QFile::encodeName(to).constData(), 0700) != 0)
        fail(QStringLiteral("cannot create"), to);
    for (const QString &name : entryNames(from)) {
        struct stat entry;
        if (::lstat(QFile::encodeName(child(from, name)).constData(), &entry) != 0)
            fail(QStringLiteral("cannot read"), child(from, name));
        copyItem(child(from, name), child(to, name), entry);
    }
    ::chmod(QFile::encodeName(to).constData(), info.st_mode & 07777);
    copyTimes(to, info);
}

void copyItem(const QString &from, const QString &to, const struct stat &info)
{
    if (S_ISDIR(info.st_mode))
        copyFolder(from, to, info);
    else if (S_ISREG(info.st_mode))
        copyFile(from, to, info);
    else if (S_ISLNK(info.st_mode))
        copyLink(from, to, info);
    else
        throw FileError(QStringLiteral("cannot copy %1: not a file, folder or link").arg(from));
}

// A former folder that is a link is copied as the folder it points to, so
// the renames in the copy never reach the original.
void copyLibrary(const QString &from, const QString &to)
{
    struct stat info;
    if (::stat(QFile::encodeName(from).constData(), &info) != 0)
        fail(QStringLiteral("cannot read"), from);
    copyItem(from, to, info);
}

void renameStoreItems(const QString &folder)
{
    for (const auto &[oldName, newName] : renamePairs) {
        if (itemExists(child(folder, oldName)))
            moveItem(child(folder, oldName), child(folder, newName));
    }
}

QString makeDatedFolder(const QString &base, const QDateTime &now)
{
    const QString dated =
        child(child(base, safetyRoot), now.toLocalTime().date().toString(Qt::ISODate) + datedSuffix);
    if (!QDir().mkpath(dated))
        throw FileError(QStringLiteral("cannot create folder %1").arg(dated));
    return dated;
}

QString keptPlace(const QString &datedFolder)
{
    const QString plain = child(datedFolder, StoreMigration::legacyName);
    if (!itemExists(plain))
        return plain;
    return plain + QLatin1Char('-') + Text::uuidText(QUuid::createUuid()).left(8);
}

QString instanceLockPath()
{
    return child(UserDefaults::configFolder(), QStringLiteral("instance.lock"));
}

// Without a stale time only a dead holder makes a lock stale, however long
// the running instance has held it.
std::unique_ptr<QLockFile> instanceLock()
{
    QDir().mkpath(QFileInfo(instanceLockPath()).path());
    auto lock = std::make_unique<QLockFile>(instanceLockPath());
    lock->setStaleLockTime(0);
    return lock;
}

} // namespace

const QString StoreMigration::name = QStringLiteral("Kepsel");
const QString StoreMigration::legacyName = QStringLiteral("Plumvat");

QString StoreMigration::macBundleID()
{
    return TamselStore::baseIdentifier + QStringLiteral(".mac");
}

QString StoreMigration::currentDirectory(const QString &base)
{
    // The same test as the migration's: a link to a drive that is not
    // mounted still names the current library, not the former one.
    const QString current = child(base, name);
    if (itemExists(current))
        return current;
    const QString legacy = child(base, legacyName);
    if (itemExists(legacy))
        return legacy;
    return current;
}

StoreMigration::Outcome StoreMigration::migrateMac(const QString &base, bool otherInstanceRunning,
                                                   const QDateTime &now)
{
    const QString former = child(base, legacyName);
    const QString current = child(base, name);
    if (!itemExists(former) || itemExists(current))
        return Outcome::nothingToDo();
    if (otherInstanceRunning) {
        qCInfo(tamselLog, "store migration skipped: another Kepsel is running");
        return Outcome::skipped(QStringLiteral("another instance is running"));
    }

    const QString work = child(base, migratingPrefix + Text::uuidText(QUuid::createUuid()));
    QString kept;
    try {
        copyLibrary(former, work);
        renameStoreItems(work);
        kept = keptPlace(makeDatedFolder(base, now));
        moveItem(work, current);
    } catch (const FileError &error) {
        QDir(work).removeRecursively();
        qCCritical(tamselLog, "store migration failed, staying on Plumvat: %s",
                   qUtf8Printable(error.description()));
        return Outcome::failed(error.description());
    }

    try {
        moveItem(former, kept);
    } catch (const FileError &error) {
        qCCritical(tamselLog, "store migration: old folder left in place: %s",
                   qUtf8Printable(error.description()));
    }
    qCInfo(tamselLog, "store migration: Plumvat → Kepsel, original kept at %s", qUtf8Printable(kept));
    return Outcome::migrated(kept);
}

std::unique_ptr<QLockFile> StoreMigration::takeInstanceLock(std::chrono::milliseconds holderWait)
{
    // One killed while it took the lock leaves the file empty: not a holder.
    auto lock = instanceLock();
    const auto holder = holderWait > std::chrono::milliseconds::zero() ? LockFiles::Holder::outwait
                                                                       : LockFiles::Holder::refuse;
    if (!LockFiles::lock(*lock, instanceLockPath(), std::max(holderWait, LockFiles::takingTime), holder))
        return nullptr;
    return lock;
}

bool StoreMigration::otherInstanceRunning()
{
    const auto probe = instanceLock();
    if (LockFiles::tryLock(*probe, instanceLockPath()))
        return false;
    if (probe->error() != QLockFile::LockFailedError)
        return false;
    qint64 holder = 0;
    QString host;
    QString application;
    if (!probe->getLockInfo(&holder, &host, &application))
        return true;
    return holder != QCoreApplication::applicationPid();
}
