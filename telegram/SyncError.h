#pragma once

#include "TelegramSync.h"

#include <QString>
#include <stdexcept>

// A failure of a channel operation, with the message the user sees (also
// what() as UTF-8): the Bot API's refusal or a local failure in words, or a
// bot that may not post in the channel.
class TelegramSync::SyncError : public std::runtime_error {
public:
    enum class Kind { api, notAdmin };

    // `temporary`: the API asked to wait or failed on its side, so the same
    // request may well succeed later.
    static SyncError api(const QString &text, bool temporary = false);
    static SyncError notAdmin();

    Kind kind() const { return m_kind; }
    bool isTemporary() const { return m_temporary; }
    // The API's description or the local text; empty for notAdmin.
    QString text() const { return m_text; }
    QString message() const { return QString::fromUtf8(what()); }

private:
    SyncError(Kind kind, const QString &text);
    static QString messageFor(Kind kind, const QString &text);

    Kind m_kind;
    QString m_text;
    bool m_temporary = false;
};
