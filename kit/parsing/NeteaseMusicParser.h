#pragma once

#include "PostParser.h"

#include <QNetworkAccessManager>
#include <optional>

// Reads NetEase Cloud Music songs: name, artists, album line and lyrics as the
// text, the album cover with the playable audio as the one media item.
class NeteaseMusicParser : public PostParser {
public:
    bool canHandle(const QUrl &url) const override;
    // Throws ParseError::notSupported for a link without a song id, and
    // structureChanged("songs") for a detail answer without the song's name.
    QCoro::Task<ParsedPost> parse(QUrl url, HTTPClient http) const override;

    // The song id of web, player and mobile links ("?id=", "&id=" or "/song/").
    static std::optional<QString> songID(const QUrl &url);
    // Timed lyric lines as plain lines, time tags and blank lines removed.
    static QString plainLyrics(const QString &lyrics);
    // Where the song's outer media link redirects to, read without following
    // it; none unless that is an MP3 on the platform's audio host. Never throws.
    static QCoro::Task<std::optional<QString>> audioURL(QString id, QNetworkAccessManager *session);
};
