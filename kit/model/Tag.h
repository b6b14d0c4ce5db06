#pragma once

#include "PersistentModel.h"

#include <QDateTime>
#include <QString>

class Post;

// A named, coloured label on posts.
class Tag : public PersistentModel {
public:
    Tag(const QString &name, const QString &colorHex);

    static const EntityDescription &entityDescription();

    QString name() const { return m_name; }
    void setName(const QString &value) { write(m_name, value); }
    QString colorHex() const { return m_colorHex; }
    void setColorHex(const QString &value) { write(m_colorHex, value); }
    QDateTime createdAt() const { return m_createdAt; }
    void setCreatedAt(const QDateTime &value) { write(m_createdAt, value); }

    QList<std::shared_ptr<Post>> posts() const;
    void setPosts(const QList<std::shared_ptr<Post>> &posts);

protected:
    explicit Tag(Materializing);

private:
    QString m_name;
    QString m_colorHex = QStringLiteral("#D97757");
    QDateTime m_createdAt;
};
