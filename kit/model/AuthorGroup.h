#pragma once

#include "PersistentModel.h"

#include <QDateTime>
#include <QString>
#include <optional>

// One person made of several platform accounts; the first member is the main one.
class AuthorGroup : public PersistentModel {
public:
    AuthorGroup();

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

private:
    explicit AuthorGroup(Materializing);

    QString m_name;
    QString m_membersRaw;
    QDateTime m_createdAt;
    bool m_starred = false;
    std::optional<QDateTime> m_starredAt;
};
