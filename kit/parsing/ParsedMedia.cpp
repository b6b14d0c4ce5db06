#include "ParsedMedia.h"

ParsedMedia::ParsedMedia(MediaKind kind, const QString &url, const std::optional<QString> &videoURL,
                         std::optional<double> width, std::optional<double> height,
                         std::optional<double> duration)
    : kind(kind), url(normalizedLink(url)), width(width), height(height), duration(duration)
{
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
