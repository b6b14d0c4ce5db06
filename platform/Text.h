#pragma once

#include <QByteArray>
#include <QString>
#include <QUuid>

// Text rules shared by the whole code: Unicode-aware equality, character
// counting and the orders used for sorting.
namespace Text {

// Canonical-equivalence form: equal texts in any composition give the same
// value, so it serves both for equality and as a hash key.
QString canonical(const QString &text);
// Texts from pages that become keys (author names) are cut to this many UTF-16
// code units before use: normalisation is slow on long runs of combining
// marks, and a hostile page must not stall the application.
constexpr qsizetype keyLengthLimit = 256;
// The text cut to keyLengthLimit, without splitting a surrogate pair.
QString cappedKey(const QString &text);

// User-perceived characters (grapheme clusters): a combined emoji is one.
qsizetype characterCount(const QString &text);
QString characterPrefix(const QString &text, qsizetype count);

// Trims spaces and tabs (white space without line breaks) at both ends.
QString trimmingWhitespace(const QString &text);
// Trims white space and line breaks at both ends.
QString trimmingWhitespaceAndNewlines(const QString &text);
// Trims every `character` at both ends.
QString trimmingCharacter(const QString &text, QChar character);
// Removes every white-space and line-break character, wherever it stands.
QString removingWhitespace(const QString &text);

// Order of Unicode scalar values (not UTF-16 code units). Returns <0, 0, >0.
int compareScalars(const QString &a, const QString &b);
inline bool scalarLess(const QString &a, const QString &b)
{
    return compareScalars(a, b) < 0;
}

// Locale-aware order for names shown to the user: case-insensitive, with
// digit runs compared by their numeric value ("9" before "10").
int compareLocalizedStandard(const QString &a, const QString &b);
inline bool localizedStandardLess(const QString &a, const QString &b)
{
    return compareLocalizedStandard(a, b) < 0;
}

// UUIDs are written upper-case with hyphens and without braces everywhere.
QString uuidText(const QUuid &uuid);

// JSON text ready for Qt's reader without losing a character: a leading
// byte-order mark is dropped, and every other U+FEFF written as raw bytes is
// escaped, since Qt would take one that starts a string or a member name for
// a byte-order mark and drop it. Outside strings the bytes are not JSON anyway.
QByteArray jsonKeepingZeroWidthNoBreakSpaces(const QByteArray &json);
// JSON text whose unpaired surrogate escapes ("\uD800" without its partner)
// are rewritten to U+FFFD. Qt would read one into a QString that no UTF-8 can
// hold; platforms emit them when they cut a text inside an emoji, and a string
// read that way could not be written back as it was read.
QByteArray jsonReplacingLoneSurrogates(QByteArray json);

} // namespace Text
