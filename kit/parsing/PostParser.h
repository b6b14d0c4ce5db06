#pragma once

#include "HTTPClient.h"
#include "ParsedPost.h"

#include <QUrl>
#include <QCoro/QCoroTask>

// One platform's reader: whether it takes a link, and the post behind it.
// Parsers keep no state; one instance of each serves the whole process.
class PostParser {
public:
    virtual ~PostParser() = default;

    // Synchronous, without network access.
    virtual bool canHandle(const QUrl &url) const = 0;
    // Throws ParseError, NetworkError or JSONError.
    virtual QCoro::Task<ParsedPost> parse(QUrl url, HTTPClient http) const = 0;
};
