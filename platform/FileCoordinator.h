#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>
#include <memory>

class QLockFile;

// Reads, writes and moves files that another process may use at the same
// time (the shared backup folder). Each operation holds an advisory lock file
// beside the item for its duration; writes replace the file atomically, so a
// reader sees the old content or the new, never half of either. Failures
// throw FileError.
class FileCoordinator {
public:
    static constexpr std::chrono::milliseconds lockTimeout{10000};

    static QByteArray read(const QString &path);
    static void write(const QByteArray &data, const QString &path);
    // Replaces the file atomically without the lock, for a file no other
    // process uses.
    static void replace(const QByteArray &data, const QString &path);
    // Moves a file or a folder; an existing file at the target is replaced.
    static void move(const QString &source, const QString &target);

    // Holds the lock of `path` until the returned lock is destroyed, for work
    // that spans several operations.
    static std::unique_ptr<QLockFile> hold(const QString &path);

    // The lock file that guards `path`: a hidden file beside it.
    static QString lockPath(const QString &path);
};
