#pragma once

#include "HTTPClient.h"
#include "Platform.h"

#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

// The user's sign-in cookies of the platforms that refuse anonymous visitors,
// one "Cookie" header text per platform under "cookie.<raw value>".
class CookieVault {
public:
    static QString key(Platform platform);

    // The stored text; none when absent or empty.
    static std::optional<QString> header(Platform platform);
    // Stores the text as given; none removes it.
    static void set(const std::optional<QString> &cookie, Platform platform);

    // The cookie domains a sign-in screen captures, in order; empty for a
    // platform without sign-in.
    static QStringList domains(Platform platform);
    static std::optional<QUrl> loginURL(Platform platform);

    // `extra` with "Cookie" set to the stored cookie (replacing one already
    // there) when there is one, else `extra` unchanged.
    static HTTPClient::Headers headers(Platform platform, const HTTPClient::Headers &extra);
};
