#include "InstagramEmbedMarkup.h"

#include "Markup.h"
#include "ParseError.h"

#include <QRegularExpression>

namespace {

constexpr auto kPageOptions =
    QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption;

// The opening tag of an `element` whose class list holds `className`.
QString openingTag(const QString &element, const QString &className)
{
    return QStringLiteral("<%1\\b[^>]*\\bclass=\"[^\"]*\\b%2\\b[^\"]*\"[^>]*>").arg(element, className);
}

QRegularExpression pagePattern(const QString &pattern)
{
    return QRegularExpression(pattern, kPageOptions);
}

std::optional<QString> attribute(const QString &tag, const QString &name)
{
    return Markup::firstCapture(pagePattern(QStringLiteral("\\s%1\\s*=\\s*\"([^\"]*)\"").arg(name)), tag);
}

// The widest srcset candidate of the embedded media image, else its src.
QString pictureLink(const QString &html)
{
    static const QRegularExpression image =
        pagePattern(openingTag(QStringLiteral("img"), QStringLiteral("EmbeddedMediaImage")));
    const std::optional<QString> tag = Markup::firstCapture(image, html, 0);
    if (!tag)
        return {};
    std::optional<QString> link;
    if (const std::optional<QString> srcset = attribute(*tag, QStringLiteral("srcset")))
        link = Markup::widestSrcsetCandidate(*srcset);
    if (!link)
        link = attribute(*tag, QStringLiteral("src"));
    return Markup::htmlDecoded(link.value_or(QString()));
}

// The caption block starts with the owner's link; the text follows it up to
// the comments' block.
QString caption(const QString &html)
{
    static const QRegularExpression block = pagePattern(
        openingTag(QStringLiteral("div"), QStringLiteral("Caption")) + QStringLiteral("(.*?)</?div\\b"));
    static const QRegularExpression ownerLink = pagePattern(
        openingTag(QStringLiteral("a"), QStringLiteral("CaptionUsername")) + QStringLiteral(".*?</a>"));
    return Markup::strippingHTML(Markup::firstCapture(block, html).value_or(QString()).remove(ownerLink));
}

// The header names the owner; the caption's owner link does too.
QString userName(const QString &html)
{
    static const QRegularExpression header = pagePattern(
        openingTag(QStringLiteral("span"), QStringLiteral("UsernameText")) + QStringLiteral("(.*?)</span>"));
    static const QRegularExpression captionOwner = pagePattern(
        openingTag(QStringLiteral("a"), QStringLiteral("CaptionUsername")) + QStringLiteral("(.*?)</a>"));
    for (const QRegularExpression *pattern : {&header, &captionOwner})
        if (const QString name =
                Markup::strippingHTML(Markup::firstCapture(*pattern, html).value_or(QString()));
            !name.isEmpty())
            return name;
    return {};
}

} // namespace

namespace InstagramEmbedMarkup {

bool hasNullContext(const QString &html)
{
    return html.contains(QLatin1String("\"contextJSON\":null"));
}

ParsedPost post(const QString &html, const QString &canonicalURL)
{
    const QString picture = pictureLink(html);
    if (picture.isEmpty())
        throw ParseError::structureChanged(QStringLiteral("embed contextJSON"));
    ParsedPost post(Platform::instagram, canonicalURL);
    post.content = caption(html);
    post.authorName = userName(html);
    post.media = {ParsedMedia(MediaKind::image, picture)};
    return post;
}

} // namespace InstagramEmbedMarkup
