#pragma once

#include <QString>
#include <QUrl>

// A saved link as a person reads it. Links are saved fully encoded, so a host
// in another script is in its "xn--" form and a path in another script is
// percent-escaped; QUrl decodes hosts only for some top-level domains.
namespace ReadableLink {

// The host in the script it was written in ("例子.测试").
QString host(const QUrl &url);

// The link with its host, its escaped letters and its percent signs decoded;
// a text that is no link comes back as it is.
QString text(const QString &link);

} // namespace ReadableLink
