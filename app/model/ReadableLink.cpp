#include "ReadableLink.h"

QString ReadableLink::host(const QUrl &url)
{
    return QUrl::fromAce(url.host(QUrl::FullyEncoded).toLatin1(), QUrl::IgnoreIDNWhitelist);
}

QString ReadableLink::text(const QString &link)
{
    const QUrl url(link);
    if (!url.isValid() || url.host().isEmpty())
        return link;
    QString shown = url.toDisplayString();
    const QString encodedHost = url.host(QUrl::FullyEncoded);
    if (const qsizetype at = shown.indexOf(encodedHost); at >= 0)
        shown.replace(at, encodedHost.size(), host(url));
    return shown;
}
