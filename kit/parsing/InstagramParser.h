#pragma once

#include "JSON.h"
#include "PostParser.h"

#include <optional>

// Reads Instagram posts, reels and carousels from the embed page of a post,
// which carries the post's data as escaped JSON inside a script; a page whose
// script context is null is read from its markup instead.
class InstagramParser : public PostParser {
public:
    // The part after the first "p", "reel", "reels" or "tv" part of the path.
    static std::optional<QString> shortcode(const QUrl &url);
    // The escaped JSON text after "contextJSON" in an embed page, decoded.
    static std::optional<JSON> contextJSON(const QString &html);
    // The post in an embed page's context. Throws ParseError::structureChanged
    // when the context lacks the post or its media.
    static ParsedPost post(const JSON &context, const QString &canonicalURL);

    bool canHandle(const QUrl &url) const override;
    QCoro::Task<ParsedPost> parse(QUrl url, HTTPClient http) const override;
};
