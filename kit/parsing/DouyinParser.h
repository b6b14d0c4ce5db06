#pragma once

#include "PostParser.h"

// Reads Douyin videos and image posts (notes, slides) from the router data of
// the mobile share page, after resolving the shared link to the post's id.
class DouyinParser : public PostParser {
public:
    bool canHandle(const QUrl &url) const override;
    // Throws ParseError::structureChanged with "aweme id", "_ROUTER_DATA" or
    // "item_list" when the link or the page lacks what the post needs.
    QCoro::Task<ParsedPost> parse(QUrl url, HTTPClient http) const override;
};
