#include "FuzzCheck.h"
#include "Markup.h"
#include "Text.h"

namespace {

// The trimming rules remove white space only where they say and never touch
// any other character.
void checkTextRules(const QString &text)
{
    const QString trimmed = Text::trimmingWhitespaceAndNewlines(text);
    Fuzz::require(Text::trimmingWhitespaceAndNewlines(trimmed) == trimmed, "trimming is idempotent");
    Fuzz::require(text.contains(trimmed), "trimming keeps a piece of the text");
    const QString spaceTrimmed = Text::trimmingWhitespace(text);
    Fuzz::require(Text::trimmingWhitespace(spaceTrimmed) == spaceTrimmed, "space trimming is idempotent");
    Fuzz::require(Text::trimmingWhitespaceAndNewlines(spaceTrimmed) == trimmed, "space trimming is weaker");
    const QString compact = Text::removingWhitespace(text);
    Fuzz::require(Text::removingWhitespace(trimmed) == compact, "removal agrees with trimming");
    Fuzz::require(Text::trimmingWhitespaceAndNewlines(compact) == compact, "nothing is left to trim");
}

void checkDecoding(const QString &text)
{
    const QString decoded = Markup::htmlDecoded(text);
    Fuzz::require(decoded.size() <= text.size(), "decoding never lengthens a text");
    if (!text.contains(u'&'))
        Fuzz::require(decoded == text, "decoding text without \"&\" changes nothing");
}

void checkStripping(const QString &text)
{
    const QString plain = Markup::strippingHTML(text);
    Fuzz::require(Text::trimmingWhitespaceAndNewlines(plain) == plain, "stripped text is trimmed");
    Fuzz::require(!plain.contains(u'\t') && !plain.contains(QLatin1String("  ")), "space runs collapse");
    Fuzz::require(!plain.contains(QLatin1String("\n\n\n")), "blank lines collapse");
    if (!text.contains(u'<') && !text.contains(u'&') && !text.contains(u'\t') && !text.contains(u'\n') &&
        !text.contains(QLatin1String("  ")))
        Fuzz::require(plain == Text::trimmingWhitespaceAndNewlines(text), "plain text stays as it is");
}

void checkScriptEscapes(const QString &text)
{
    const QString decoded = Markup::scriptEscapesDecoded(text);
    Fuzz::require(decoded.size() <= text.size(), "unescaping never lengthens a text");
    if (!text.contains(u'\\'))
        Fuzz::require(decoded == text, "a text without backslashes stays as it is");
}

void checkSrcset(const QString &text)
{
    if (const std::optional<QString> link = Markup::widestSrcsetCandidate(text))
        Fuzz::require(!link->isEmpty() && text.contains(*link) && !link->contains(u' '),
                      "a srcset candidate is a piece of the srcset without spaces");
}

void checkScriptState(const QString &text)
{
    const QString marker = QStringLiteral("window.__STATE__");
    const std::optional<JSON> state = Markup::scriptState(text, marker);
    if (!text.contains(marker) || !text.contains(QLatin1String("</script>")))
        Fuzz::require(!state, "no state without its marker and script end");
    Markup::allMatches(text, QStringLiteral("<a href=\"([^\"]*)\"[^>]*>(.*?)</a>"), 2);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = Fuzz::text(data, size);
    checkTextRules(text);
    checkDecoding(text);
    checkStripping(text);
    checkScriptState(text);
    checkScriptEscapes(text);
    checkSrcset(text);
    return 0;
}
