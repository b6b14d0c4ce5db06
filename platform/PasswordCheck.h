#pragma once

#include <QCoro/QCoroTask>
#include <QString>
#include <stdexcept>

// Checks a password against the current user's login password. The private
// space unlocks through it; tests put a fake in its place.
class PasswordCheck {
public:
    // The check could not be made at all (no authentication service, a
    // broken configuration); what() carries the message for the user.
    class CheckError : public std::runtime_error {
    public:
        explicit CheckError(const QString &message) : std::runtime_error(message.toStdString()) {}

        QString message() const { return QString::fromStdString(what()); }
    };

    virtual ~PasswordCheck() = default;

    // Resolves on the calling (main) thread: whether the password is right.
    // Throws CheckError.
    virtual QCoro::Task<bool> verify(QString password) = 0;
};
