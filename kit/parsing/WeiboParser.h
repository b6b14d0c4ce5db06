#pragma once

#include "JSON.h"
#include "PostParser.h"

// Reads Weibo posts through the web API: text (long texts in full), author,
// time, pictures, live photos and the video card. Every API request carries the
// stored Weibo cookie, or a visitor cookie fetched for this parse alone.
class WeiboParser : public PostParser {
public:
    bool canHandle(const QUrl &url) const override;
    // Throws ParseError::structureChanged with "status id" for a link without a
    // plain post id, "weibo visitor" or "statuses/show" for unusable answers.
    QCoro::Task<ParsedPost> parse(QUrl url, HTTPClient http) const override;

    // "SUB=…; SUBP=…" from the visitor endpoint; never stored.
    static QCoro::Task<QString> visitorCookie(HTTPClient http);
};
