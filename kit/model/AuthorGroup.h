#pragma once

#include "AuthorAccount.h"
#include "PersistentModel.h"

#include <QDateTime>
#include <QString>
#include <optional>

// One person made of several platform accounts; the first member is the main one.
class AuthorGroup : public PersistentModel {
public:
    AuthorGroup();
    // Keeps the members as given, repeats included; the caller inserts it.
    AuthorGroup(const QString &name, const QList<AuthorAccount> &members);

    static const EntityDescription &entityDescription();

    QString name() const { return m_name; }
    void setName(const QString &value) { write(m_name, value); }
    // Member account keys, one per line.
    QString membersRaw() const { return m_membersRaw; }
    void setMembersRaw(const QString &value) { write(m_membersRaw, value); }
    QDateTime createdAt() const { return m_createdAt; }
    void setCreatedAt(const QDateTime &value) { write(m_createdAt, value); }
    bool starred() const { return m_starred; }
    void setStarred(bool value) { write(m_starred, value); }
    std::optional<QDateTime> starredAt() const { return m_starredAt; }
    void setStarredAt(const std::optional<QDateTime> &value) { write(m_starredAt, value); }

    // Parsed from the member text on every read; lines that are no key are
    // skipped. The setter keeps only the first of repeated accounts.
    QList<AuthorAccount> members() const;
    void setMembers(const QList<AuthorAccount> &members);
    // The main account: the first member.
    std::optional<AuthorAccount> main() const;

protected:
    explicit AuthorGroup(Materializing);

private:
    QString m_name;
    QString m_membersRaw;
    QDateTime m_createdAt;
    bool m_starred = false;
    std::optional<QDateTime> m_starredAt;
};
