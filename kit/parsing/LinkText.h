#pragma once

#include <QChar>
#include <QString>

// A pasted text as the link finder reads it, one code point at a time: which
// characters a link may hold, where an emoji begins and which script a letter
// is written in. Positions are UTF-16 indexes; every question about a
// position past the end answers no.
class LinkText {
public:
    explicit LinkText(const QString &text) : m_text(text) {}

    qsizetype size() const { return m_text.size(); }
    QChar charAt(qsizetype at) const { return at < m_text.size() ? m_text[at] : QChar(); }
    bool is(qsizetype at, char16_t c) const { return at < m_text.size() && m_text[at] == c; }
    bool isOneOf(qsizetype at, QStringView characters) const
    {
        return at < m_text.size() && characters.contains(m_text[at]);
    }
    QStringView mid(qsizetype from, qsizetype to) const { return QStringView(m_text).mid(from, to - from); }

    // 2 where a surrogate pair begins, else 1. Inline, as every character of
    // a text is asked.
    qsizetype lengthAt(qsizetype at) const
    {
        return m_text[at].isHighSurrogate() && at + 1 < m_text.size() && m_text[at + 1].isLowSurrogate() ? 2
                                                                                                         : 1;
    }

    bool isAsciiAlphanumericAt(qsizetype at) const;
    // ASCII characters a URL holds unescaped, but for the digit, "#" or "*"
    // that begins a keycap emoji.
    bool isAsciiLinkAt(qsizetype at) const;
    // Letters, digits and marks beyond ASCII in any script, the joiners
    // between letters (Persian writes U+200C inside words) and the variation
    // selectors that pick a letter's form, as a path or host in another
    // script is written; never the start of an emoji.
    bool isWordAt(qsizetype at) const;
    // A word character of a host name: IDNA drops variation selectors from
    // a name, so a host that holds one would not be the host written.
    bool isNameWordAt(qsizetype at) const;
    // A word character, or punctuation written inside a word between two
    // letters: the middle dots of Chinese and Japanese names ("列夫·托尔斯泰",
    // "ドナルド・トランプ"), Hebrew geresh and gershayim, a typographic
    // apostrophe ("L’Été").
    bool isPathWordAt(qsizetype at) const;
    // A mark, joiner or selector, which belongs to the character before it:
    // a name that stops before one is not whole.
    bool isAttachedAt(qsizetype at) const;
    // What a word in Latin script goes on with beyond ASCII: accented
    // letters, marks, joiners and selectors, digits of other scripts.
    bool continuesLatinWordAt(qsizetype at) const;
    // Whether the code point ending just before `at` goes on a Latin word.
    bool continuesLatinWordBefore(qsizetype at) const;
    // A letter's script; QChar::Script_Common for digits, marks and
    // punctuation.
    QChar::Script scriptAt(qsizetype at) const;

private:
    char32_t codePointAt(qsizetype at) const
    {
        return lengthAt(at) == 2 ? QChar::surrogateToUcs4(m_text[at], m_text[at + 1])
                                 : char32_t(m_text[at].unicode());
    }
    qsizetype startOfCodePointBefore(qsizetype at) const;
    // A character before an emoji variation selector or the keycap mark is
    // an emoji ("1️⃣", "ℹ️").
    bool isEmojiAt(qsizetype at) const;
    bool isBetweenLettersAt(qsizetype at) const;

    const QString &m_text;
};
