#pragma once

#include "JSON.h"
#include "PostParser.h"

// Reads X statuses through a mirror service that re-serves them as JSON, since
// X's own pages need a signed-in browser.
class XParser : public PostParser {
public:
    // Status links only; profiles and searches are left to the fallback.
    bool canHandle(const QUrl &url) const override;
    QCoro::Task<ParsedPost> parse(QUrl url, HTTPClient http) const override;

    // The post in a mirror reply; `user` names the account in the canonical
    // link when the reply does not. Throws ParseError::structureChanged
    // ("fxtwitter") for a reply without the status.
    static ParsedPost post(const JSON &reply, const QString &user, const QString &statusID);
};
