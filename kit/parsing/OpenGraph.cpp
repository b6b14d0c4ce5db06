#include "OpenGraph.h"

#include "Markup.h"

#include <QRegularExpression>

namespace {

constexpr auto kOptions =
    QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption;

QString head(const QString &html)
{
    const qsizetype start = html.indexOf(QLatin1String("<head"));
    const qsizetype end = start < 0 ? -1 : html.indexOf(QLatin1String("</head>"), start);
    if (end < 0)
        return html.left(OpenGraph::unclosedHeadLimit);
    const qsizetype from = start + 5;
    return html.mid(from, end - from);
}

std::optional<QString> contentValue(const QString &tag)
{
    static const QRegularExpression doubleQuoted(QStringLiteral("content\\s*=\\s*\"([^\"]*)\""), kOptions);
    static const QRegularExpression singleQuoted(QStringLiteral("content\\s*=\\s*'([^']*)'"), kOptions);
    if (auto value = Markup::firstCapture(doubleQuoted, tag))
        return value;
    return Markup::firstCapture(singleQuoted, tag);
}

} // namespace

OpenGraph::OpenGraph(const QString &html)
{
    static const QRegularExpression title(QStringLiteral("<title[^>]*>(.*?)</title>"), kOptions);
    const QString region = head(html);
    for (const QString &tag : Markup::allMatches(region, QStringLiteral("(<meta\\s[^>]*>)"), 1))
        addMetaTag(tag);
    if (const auto documentTitle = Markup::firstCapture(title, region))
        m_metaTags[QStringLiteral("title")].append(Markup::strippingHTML(*documentTitle));
}

void OpenGraph::addMetaTag(const QString &tag)
{
    static const QRegularExpression keyPattern(
        QStringLiteral("(?:property|name|itemprop)\\s*=\\s*[\"']([^\"']+)[\"']"), kOptions);
    const std::optional<QString> key = Markup::firstCapture(keyPattern, tag);
    if (!key)
        return;
    const std::optional<QString> value = contentValue(tag);
    if (!value)
        return;
    m_metaTags[key->toLower()].append(Markup::htmlDecoded(*value));
}

std::optional<QString> OpenGraph::operator[](const QString &key) const
{
    const QStringList values = m_metaTags.value(key);
    if (values.isEmpty() || values.first().isEmpty())
        return std::nullopt;
    return values.first();
}
