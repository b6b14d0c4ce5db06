#include "LinkText.h"

#include <array>
#include <string_view>

namespace {

constexpr char32_t zeroWidthNonJoiner = 0x200C;
constexpr char32_t zeroWidthJoiner = 0x200D;
constexpr char32_t emojiSelector = 0xFE0F;
constexpr char32_t keycapMark = 0x20E3;

bool isJoiner(char32_t c)
{
    return c == zeroWidthNonJoiner || c == zeroWidthJoiner;
}

// U+FE00 to U+FE0E pick a letter's form (or a text style); U+FE0F makes an
// emoji of the character before it.
bool isTextSelector(char32_t c)
{
    return c >= 0xFE00 && c < emojiSelector;
}

// U+E0100–E01EF pick a Han character's form ("葛󠄀").
bool isIdeographSelector(char32_t c)
{
    return c >= 0xE0100 && c <= 0xE01EF;
}

// Letters, digits and combining marks beyond ASCII, the selectors
// U+E0100–E01EF included (they are marks), the emoji selector not.
bool isNonAsciiLetterDigitOrMark(char32_t c)
{
    if (c < 0x80 || c == emojiSelector)
        return false;
    switch (QChar::category(c)) {
    case QChar::Letter_Uppercase:
    case QChar::Letter_Lowercase:
    case QChar::Letter_Titlecase:
    case QChar::Letter_Modifier:
    case QChar::Letter_Other:
    case QChar::Number_DecimalDigit:
    case QChar::Number_Letter:
    case QChar::Number_Other:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining: return true;
    default: return false;
    }
}

bool isInWordPunctuation(char32_t c)
{
    switch (c) {
    case 0x00B7: // middle dot
    case 0x05F3: // Hebrew geresh
    case 0x05F4: // Hebrew gershayim
    case 0x2019: // right single quotation mark, the typographic apostrophe
    case 0x30FB: // katakana middle dot
        return true;
    default: return false;
    }
}

bool isLetterOrMark(char32_t c)
{
    return QChar::isLetter(c) || QChar::isMark(c);
}

// Looked up in a table, as every character of a text is asked about.
bool isAsciiLinkCharacter(char16_t c)
{
    static constexpr auto table = [] {
        std::array<bool, 0x80> table{};
        for (const char mark : std::string_view("-._~:/?#[]@!$&'()*+,;=%"))
            table[mark] = true;
        for (char letter = 'a'; letter <= 'z'; ++letter)
            table[letter] = table[letter - 'a' + 'A'] = true;
        for (char digit = '0'; digit <= '9'; ++digit)
            table[digit] = true;
        return table;
    }();
    return c < 0x80 && table[c];
}

} // namespace

qsizetype LinkText::startOfCodePointBefore(qsizetype at) const
{
    return at >= 2 && m_text[at - 1].isLowSurrogate() && m_text[at - 2].isHighSurrogate() ? at - 2 : at - 1;
}

bool LinkText::isAsciiAlphanumericAt(qsizetype at) const
{
    if (at >= m_text.size())
        return false;
    const char16_t c = m_text[at].unicode();
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool LinkText::isAsciiLinkAt(qsizetype at) const
{
    if (at >= m_text.size() || !isAsciiLinkCharacter(m_text[at].unicode()))
        return false;
    const QChar c = m_text[at];
    return !(c.isDigit() || c == u'#' || c == u'*') || !isEmojiAt(at);
}

bool LinkText::isWordAt(qsizetype at) const
{
    if (at >= m_text.size() || m_text[at].unicode() < 0x80)
        return false;
    const char32_t c = codePointAt(at);
    if (isTextSelector(c))
        return isNonAsciiLetterDigitOrMark(codePointAt(startOfCodePointBefore(at)));
    if (isNonAsciiLetterDigitOrMark(c))
        return !isEmojiAt(at);
    return isJoiner(c) && isBetweenLettersAt(at);
}

bool LinkText::isNameWordAt(qsizetype at) const
{
    if (!isWordAt(at))
        return false;
    const char32_t c = codePointAt(at);
    return !isTextSelector(c) && !isIdeographSelector(c);
}

bool LinkText::isPathWordAt(qsizetype at) const
{
    return isWordAt(at) ||
           (at < m_text.size() && isInWordPunctuation(codePointAt(at)) && isBetweenLettersAt(at));
}

bool LinkText::isAttachedAt(qsizetype at) const
{
    if (at >= m_text.size())
        return false;
    const char32_t c = codePointAt(at);
    return isJoiner(c) || isTextSelector(c) || QChar::isMark(c);
}

bool LinkText::continuesLatinWordAt(qsizetype at) const
{
    if (at >= m_text.size())
        return false;
    const char32_t c = codePointAt(at);
    if (isJoiner(c) || isTextSelector(c))
        return true;
    if (!isNonAsciiLetterDigitOrMark(c))
        return false;
    return QChar::isMark(c) || QChar::category(c) == QChar::Number_DecimalDigit ||
           QChar::script(c) == QChar::Script_Latin;
}

bool LinkText::continuesLatinWordBefore(qsizetype at) const
{
    return at > 0 && continuesLatinWordAt(startOfCodePointBefore(at));
}

QChar::Script LinkText::scriptAt(qsizetype at) const
{
    const char32_t c = codePointAt(at);
    if (!QChar::isLetter(c))
        return QChar::Script_Common;
    const QChar::Script script = QChar::script(c);
    return script == QChar::Script_Inherited ? QChar::Script_Common : script;
}

bool LinkText::isEmojiAt(qsizetype at) const
{
    const qsizetype next = at + lengthAt(at);
    return next < m_text.size() &&
           (m_text[next] == QChar(emojiSelector) || m_text[next] == QChar(keycapMark));
}

bool LinkText::isBetweenLettersAt(qsizetype at) const
{
    const qsizetype next = at + 1;
    return at > 0 && next < m_text.size() && isLetterOrMark(codePointAt(startOfCodePointBefore(at))) &&
           isLetterOrMark(codePointAt(next)) && !isEmojiAt(next);
}
