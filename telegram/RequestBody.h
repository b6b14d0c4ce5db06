#pragma once

#include "TelegramSync.h"

#include <QByteArray>
#include <QString>

// The two body encodings of a Bot API request.
namespace RequestBody {

inline const QByteArray formType = QByteArrayLiteral("application/x-www-form-urlencoded");

// "key=value" pairs joined by "&", both percent-encoded.
QByteArray form(const TelegramSync::Fields &fields);
// Letters, marks and digits of every script and "-._~" stay as they are
// (UTF-8); every other character becomes "%XX" per UTF-8 byte.
QByteArray percentEncoded(const QString &text);

// A fresh "Kepsel-<UUID>" boundary.
QString boundary();
QByteArray multipartType(const QString &boundary);
// The fields, then the files, each under the boundary, then the closing line.
QByteArray multipart(const TelegramSync::Fields &fields, const QList<TelegramSync::Part> &files,
                     const QString &boundary);
// A field or file name as it may stand between quotes in a part header:
// quotes, backslashes and line breaks become "_", so post data cannot add
// headers or parts of its own.
QString headerSafe(const QString &name);

} // namespace RequestBody
