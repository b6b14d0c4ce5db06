#pragma once

#include "ParsedMedia.h"
#include "Platform.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

// What a parser read from a link, before the importer applies it to a post.
struct ParsedPost {
    ParsedPost(Platform platform, const QString &canonicalURL)
        : platform(platform), canonicalURL(canonicalURL)
    {
    }

    Platform platform;
    // The post's canonical web link as the parser built it.
    QString canonicalURL;
    QString title;
    QString content;
    QString authorName;
    // Link of the author's picture.
    QString authorAvatar;
    std::optional<QDateTime> publishedAt;
    // In display order.
    QList<ParsedMedia> media;
};
