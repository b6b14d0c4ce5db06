#pragma once

#include <QString>
#include <stdexcept>

namespace Backup {

// Why a backup document could not be read or written. The message is the
// user's; what() is the English detail for the log where there is one.
class BackupError : public std::runtime_error {
public:
    enum class Kind { newerFormat, unreadable, unwritable };

    static BackupError newerFormat();
    // `detail` says in short English where and why, e.g. "posts[3].id: not a UUID".
    static BackupError unreadable(const QString &detail);
    static BackupError unwritable(const QString &detail);
    // As unwritable, naming the post that holds the value, so the user can
    // find and mend it.
    static BackupError unwritablePost(const QString &post, const QString &detail);

    Kind kind() const { return m_kind; }
    QString detail() const { return m_detail; }
    QString message() const { return m_message; }

    bool operator==(const BackupError &other) const
    {
        return m_kind == other.m_kind && m_detail == other.m_detail;
    }

private:
    BackupError(Kind kind, const QString &detail, const QString &message);

    Kind m_kind;
    QString m_detail;
    QString m_message;
};

size_t qHash(const BackupError &error, size_t seed = 0);

} // namespace Backup
