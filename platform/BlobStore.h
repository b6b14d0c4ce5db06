#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>
#include <optional>

// The folder of byte values kept outside the database rows, one file each.
// A value is never rewritten in place: every write makes a new file.
class BlobStore {
public:
    explicit BlobStore(const QString &folder) : m_folder(folder) {}

    QString folder() const { return m_folder; }
    // Writes the bytes to a new file (temporary file, then rename) and returns
    // its name. Throws StoreError when the file cannot be written.
    QString write(const QByteArray &bytes) const;
    // Moves a file into the folder under a new name and returns the name. On
    // one file system it is renamed, never read. Throws StoreError.
    QString adopt(const QString &sourcePath) const;
    // Nothing, with a log line, when the file has gone missing.
    std::optional<QByteArray> read(const QString &file) const;
    // The file's length; -1 when it is missing.
    qint64 size(const QString &file) const;
    void remove(const QString &file) const;
    QString path(const QString &file) const;
    // Removes the files named like the folder's own (a UUID) that are not
    // kept; other files in the folder are left alone.
    void sweep(const QSet<QString> &kept) const;

private:
    void makeFolder() const;

    QString m_folder;
};
