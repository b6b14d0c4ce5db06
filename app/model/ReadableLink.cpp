#include "ReadableLink.h"

#include <QRegularExpression>

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
    // A percent sign written in a link ("100%正品") is saved as "%25"; shown
    // as "%" where no escape follows, it reads back to the same link.
    static const QRegularExpression percentSign(QStringLiteral("%25(?![0-9A-Fa-f]{2})"));
    return shown.replace(percentSign, QStringLiteral("%"));
}
