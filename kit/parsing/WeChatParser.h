#pragma once

#include "PostParser.h"

// Reads WeChat official-account articles from their web page: markup and
// inline script variables first, the page's Open Graph tags where those lack.
class WeChatParser : public PostParser {
public:
    bool canHandle(const QUrl &url) const override;
    QCoro::Task<ParsedPost> parse(QUrl url, HTTPClient http) const override;

    // The article in a page reached at `pageURL`. Throws
    // ParseError::structureChanged ("article") for a page without title, text
    // and pictures, such as a deleted article or a verification page.
    static ParsedPost post(const QString &html, const QUrl &pageURL);
};
