#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

// The meta tags of a page ("og:", "twitter:", "description", "author", ...)
// and its document title, read from the head only.
class OpenGraph {
public:
    // Never fails: a page without tags gives an empty table.
    explicit OpenGraph(const QString &html);

    // The first value under the key when it is not empty (an empty first
    // value hides later ones). Keys are stored lower-case; pass them so.
    std::optional<QString> operator[](const QString &key) const;

    // Every value under each lower-cased key, in document order; "title" also
    // receives the document title after any meta tag named "title".
    const QHash<QString, QStringList> &metaTags() const { return m_metaTags; }

    // Pages without a closed head are scanned this far.
    static constexpr qsizetype unclosedHeadLimit = 200000;

private:
    void addMetaTag(const QString &tag);

    QHash<QString, QStringList> m_metaTags;
};
