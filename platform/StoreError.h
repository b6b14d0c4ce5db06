#pragma once

#include <QString>
#include <stdexcept>

// A failure of the persistent store. what() and message() describe it in
// English for the log; userMessage() is the user's, in the interface language.
class StoreError : public std::runtime_error {
public:
    // Without a user message the user is told in general words that the
    // library could not be read or saved.
    explicit StoreError(const QString &message, const QString &userMessage = {})
        : std::runtime_error(message.toStdString()), m_userMessage(userMessage)
    {
    }

    QString message() const { return QString::fromStdString(what()); }
    QString userMessage() const;

private:
    QString m_userMessage;
};
