#pragma once

#include "Platform.h"

#include <QList>
#include <QString>
#include <optional>

class Post;

// One author on one platform, named as the platform shows the name. Its key,
// the platform's raw value, a tab and the name, is the account's stored form;
// stored lists hold one key per line.
//
// Names come from pages: a name is cut to Text::keyLengthLimit, and its
// canonical form is computed once, when the name is set, for every comparison
// and hash after.
class AuthorAccount {
public:
    AuthorAccount(Platform platform, const QString &name);

    // Nothing when no tab follows the platform part, the platform part names
    // no platform exactly, or the name is empty. Leading tabs are ignored; the
    // name is everything after the first tab that follows the platform part.
    static std::optional<AuthorAccount> fromKey(const QString &key);

    // The post's author: its platform (web for an unknown raw value) and its
    // author name as stored, which may be empty.
    static AuthorAccount fromPost(const Post &post);

    // Keys joined by single line feeds. An account whose name holds a line
    // feed or a carriage return is left out: its key would break the list
    // into lines that read back as other accounts (see isStorable).
    static QString keyList(const QList<AuthorAccount> &accounts);
    // The accounts of a key list in stored order; blank lines and lines that
    // are no key are skipped, repeats are kept.
    static QList<AuthorAccount> fromKeyList(const QString &text);

    Platform platform() const { return m_platform; }
    void setPlatform(Platform platform) { m_platform = platform; }
    QString name() const { return m_name; }
    void setName(const QString &name);
    // The name in canonical-equivalence form: equal for equivalent names.
    const QString &canonicalName() const { return m_canonicalName; }

    QString key() const;
    QString id() const { return key(); }
    // False when the name holds a line break, which no key list can carry.
    bool isStorable() const;

    // Names compare by canonical equivalence, so one name typed in composed
    // or decomposed form is one account.
    bool operator==(const AuthorAccount &other) const;

private:
    Platform m_platform;
    QString m_name;
    QString m_canonicalName;
};

size_t qHash(const AuthorAccount &account, size_t seed = 0);
