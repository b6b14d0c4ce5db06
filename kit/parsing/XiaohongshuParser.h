#pragma once

#include "JSON.h"
#include "PostParser.h"

#include <optional>

// Reads Xiaohongshu notes (images, live photos, videos) from the state the web
// page embeds: the desktop page first, with the stored sign-in cookie, then the
// mobile page.
class XiaohongshuParser : public PostParser {
public:
    bool canHandle(const QUrl &url) const override;
    // Throws ParseError::loginRequired, or structureChanged("noteDetailMap")
    // when a cookie is stored, for a page that holds no note.
    QCoro::Task<ParsedPost> parse(QUrl url, HTTPClient http) const override;

    // The note text without topic marks ("[话题]#") and bracketed codes such as "[笑哭R]".
    static QString cleanTopics(const QString &text);

    // The note in a desktop page's state: the one under the page's id, else
    // the first that carries a "noteId". None without state or note.
    static std::optional<JSON> desktopNote(const QString &html, const QUrl &pageURL);
    // The post of an accepted note, found on `pageURL`.
    static ParsedPost post(const JSON &note, const QUrl &pageURL);
};
