#pragma once

#include <QString>
#include <stdexcept>

// A failed file operation. what() and description() name the action, the
// path and the cause in English for the log; message() says the same to the
// user in the interface language.
class FileError : public std::runtime_error {
public:
    enum class Action { read, write, lock, move, create };

    // `errorNumber` is the system's (errno) at the failure, 0 when unknown.
    FileError(Action action, const QString &path, int errorNumber);
    // A cause the system has no number for, in English and in the user's words.
    FileError(Action action, const QString &path, const QString &cause, const QString &userCause);
    // A failure only the log sees: the description serves as the message too.
    explicit FileError(const QString &description);

    QString description() const { return QString::fromStdString(what()); }
    QString message() const { return m_message; }

    // The cause of a failure with this system error number, in the user's words.
    static QString reason(int errorNumber);

private:
    QString m_message;
};
