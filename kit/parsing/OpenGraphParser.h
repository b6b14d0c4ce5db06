#pragma once

#include "PostParser.h"

// Reads any web page through its meta tags; the fallback of every other parser.
class OpenGraphParser : public PostParser {
public:
    bool canHandle(const QUrl &url) const override;
    // Throws ParseError::notSupported for a page without title and media.
    QCoro::Task<ParsedPost> parse(QUrl url, HTTPClient http) const override;
};
