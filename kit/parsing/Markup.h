#pragma once

#include "JSON.h"

#include <QString>
#include <QStringList>
#include <optional>

class QRegularExpression;

// Helpers that cut data out of web pages.
namespace Markup {

// The given capture group of every match, case-insensitive and with "."
// matching line breaks. Matches without that group are skipped; an invalid
// pattern gives an empty list.
QStringList allMatches(const QString &text, const QString &pattern, int group);

// The given capture group of the first match, even when empty; none without
// a match.
std::optional<QString> firstCapture(const QRegularExpression &pattern, const QString &text, int group = 1);

// Decodes the common named entities and every numeric reference to a Unicode
// scalar value; other named entities stay as they are.
QString htmlDecoded(const QString &text);

// Decodes the "\xHH" escapes and the escaped backslashes and quotes of a
// script string that a page wrote out as text; any other backslash stays.
QString scriptEscapesDecoded(const QString &text);

// The link of the widest "w" candidate of an image's srcset (the first of
// equals); none when no candidate gives a width.
std::optional<QString> widestSrcsetCandidate(const QString &srcset);

// An HTML fragment as plain text: block ends become line breaks, tags go,
// entities are decoded and runs of blank lines collapse to one.
QString strippingHTML(const QString &text);

// The JSON a page script assigns after `marker`, read up to the closing
// script tag. Script `undefined` values after ":", "[" or "," become null.
std::optional<JSON> scriptState(const QString &html, const QString &marker);

} // namespace Markup
