#pragma once

#include "PersistentModel.h"

#include <QDateTime>
#include <QString>

class Post;

// A named collection of posts with a summary and the authors whose posts
// belong on it.
class Board : public PersistentModel {
public:
    Board(const QString &name, const QString &summary);

    static const EntityDescription &entityDescription();

    QString name() const { return m_name; }
    void setName(const QString &value) { write(m_name, value); }
    QString summary() const { return m_summary; }
    void setSummary(const QString &value) { write(m_summary, value); }
    QDateTime createdAt() const { return m_createdAt; }
    void setCreatedAt(const QDateTime &value) { write(m_createdAt, value); }
    // Author account keys, one per line.
    QString authorsRaw() const { return m_authorsRaw; }
    void setAuthorsRaw(const QString &value) { write(m_authorsRaw, value); }

    QList<std::shared_ptr<Post>> posts() const;
    void setPosts(const QList<std::shared_ptr<Post>> &posts);

private:
    explicit Board(Materializing);

    QString m_name;
    QString m_summary;
    QDateTime m_createdAt;
    QString m_authorsRaw;
};
