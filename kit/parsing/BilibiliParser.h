#pragma once

#include "JSON.h"
#include "PostParser.h"

#include <optional>

// Reads Bilibili videos: details from the view API, one progressive MP4 file
// of the chosen page from the player API, or the cover when there is none.
class BilibiliParser : public PostParser {
public:
    struct MP4 {
        QString url;
        // Seconds.
        std::optional<double> duration;
    };

    // What the view API says of a link's video.
    struct View {
        // Without media: the cover or the video joins once the player has answered.
        ParsedPost post;
        // The cover picture with the video's size; its link may be empty.
        ParsedMedia cover;
        // The ids the player API needs, when the reply gives them.
        std::optional<qint64> aid;
        std::optional<qint64> cid;
        // Seconds.
        std::optional<double> duration;
    };

    bool canHandle(const QUrl &url) const override;
    QCoro::Task<ParsedPost> parse(QUrl url, HTTPClient http) const override;

    // The player API's MP4 file of a page of a video; none when it offers
    // none. Request and JSON errors are thrown.
    static QCoro::Task<std::optional<MP4>> mp4(qint64 aid, qint64 cid, HTTPClient http);
    // Reads a view API reply for `link`, whose "p" query item chooses the
    // page. Throws ParseError::structureChanged for a reply without "data".
    static View view(const JSON &reply, const QUrl &link);
};
