#pragma once

#include <QStringList>

// Finds the texts of one interface language that show words of the other.
// `names` are the user's own texts (titles, authors, folder names), which may
// be in any language and are left out before looking.
class ForeignText {
public:
    explicit ForeignText(const QStringList &names) : m_names(names) {}

    // Latin words in a Chinese interface, other than the product and
    // platform names, key names, links, paths and file names.
    QStringList inChinese(const QStringList &texts) const;
    // Chinese characters and punctuation in an English interface.
    QStringList inEnglish(const QStringList &texts) const;

private:
    QString withoutNames(QString text) const;

    QStringList m_names;
};
