#include "ParsedMedia.h"

#include <cmath>

ParsedMedia::ParsedMedia(MediaKind kind, const QString &url, const std::optional<QString> &videoURL,
                         std::optional<double> width, std::optional<double> height,
                         std::optional<double> duration)
    : kind(kind), url(normalizedLink(url)), width(width), height(height)
{
    if (duration && std::isfinite(*duration) && *duration >= 0)
        this->duration = duration;
    if (videoURL)
        this->videoURL = normalizedLink(*videoURL);
}

QString ParsedMedia::normalizedLink(const QString &link)
{
    if (link.startsWith(QLatin1String("//")))
        return QStringLiteral("https:") + link;
    if (link.startsWith(QLatin1String("http://")))
        return QStringLiteral("https://") + link.mid(7);
    return link;
}
