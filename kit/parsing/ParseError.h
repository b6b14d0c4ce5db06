#pragma once

#include "Platform.h"

#include <QString>
#include <optional>
#include <stdexcept>

// Why a parser could not read a post. The message is the user's: the importer
// stores it on the failed post and the application shows it.
class ParseError : public std::runtime_error {
public:
    enum class Kind { badResponse, structureChanged, loginRequired, noURL, notSupported };

    // The HTTP status, or -1 when the response was not an HTTP response.
    static ParseError badResponse(int status);
    // `token` names in short English what the page or reply was missing.
    static ParseError structureChanged(const QString &token);
    static ParseError loginRequired(Platform platform);
    static ParseError noURL();
    static ParseError notSupported();

    Kind kind() const { return m_kind; }
    // The payload of badResponse; 0 for the other kinds.
    int status() const { return m_status; }
    // The payload of structureChanged; empty for the other kinds.
    QString token() const { return m_token; }
    // The payload of loginRequired.
    std::optional<Platform> platform() const { return m_platform; }

    // The localized user message (also what() as UTF-8).
    QString message() const { return m_message; }

private:
    ParseError(Kind kind, const QString &message);

    Kind m_kind;
    QString m_message;
    int m_status = 0;
    QString m_token;
    std::optional<Platform> m_platform;
};
