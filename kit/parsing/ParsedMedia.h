#pragma once

#include "MediaKind.h"

#include <QString>
#include <optional>

// One media item as a parser found it.
struct ParsedMedia {
    // Stores the arguments as given, except that `url` and `videoURL` are
    // normalised with normalizedLink and a negative or non-finite duration is
    // left out. Later assignments are not checked.
    ParsedMedia(MediaKind kind, const QString &url, const std::optional<QString> &videoURL = std::nullopt,
                std::optional<double> width = std::nullopt, std::optional<double> height = std::nullopt,
                std::optional<double> duration = std::nullopt);

    // The one rule for links handed on to the downloader: a leading "//" gets
    // "https:" in front, a leading "http://" becomes "https://" (both
    // case-sensitive), anything else stays.
    static QString normalizedLink(const QString &link);

    bool operator==(const ParsedMedia &other) const = default;

    MediaKind kind;
    // The still image; for a video its cover (may be empty).
    QString url;
    // The moving picture or sound of a video, live photo or audio item.
    std::optional<QString> videoURL;
    std::optional<double> width;
    std::optional<double> height;
    // Seconds.
    std::optional<double> duration;
};
