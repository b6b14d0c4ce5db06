#pragma once

#include <QString>
#include <stdexcept>

// A request that got no usable answer from the transport: no connection, a
// time-out, a refused link, a body that cannot be read or kept. The message is
// the user's, shown on the failed post.
class NetworkError : public std::runtime_error {
public:
    enum class Kind {
        unsupportedScheme, // not an http or https link (also a redirect's target)
        timedOut,
        cannotConnect, // host not found, refused, dropped before an answer
        insecureConnection,
        tooManyRedirects,
        tooLarge, // the body exceeded the request's limit
        cancelled,
        badContent,  // a body that cannot be decoded, such as broken compression
        cannotWrite, // a streamed body could not be written where it was going
        other,
    };

    NetworkError(Kind kind, const QString &detail = {});

    Kind kind() const { return m_kind; }
    // The transport's own description, for the log; may be empty.
    QString detail() const { return m_detail; }
    // The localized user message (also what() as UTF-8).
    QString message() const { return m_message; }

private:
    static QString messageFor(Kind kind);

    Kind m_kind;
    QString m_detail;
    QString m_message;
};
