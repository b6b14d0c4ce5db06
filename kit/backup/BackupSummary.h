#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>
#include <QUuid>

class ModelContext;

namespace Backup {

// The ids and non-empty links of the library's posts, to tell which posts of
// a document it already has.
class PostKeys {
public:
    explicit PostKeys(ModelContext &context);
    bool has(const QUuid &id, const QString &link) const
    {
        return m_ids.contains(id) || (!link.isEmpty() && m_links.contains(link));
    }

private:
    QSet<QUuid> m_ids;
    QSet<QString> m_links;
};

// What a document holds, for decisions taken without restoring it.
struct Summary {
    struct Key {
        QUuid id;
        QString link;
    };

    QDateTime exportedAt;
    qsizetype postCount = 0;
    QList<Key> keys; // one per post, in document order
    QSet<QUuid> mediaIDs;

    // How many of the document's posts the library has neither by id nor by
    // a non-empty link.
    qsizetype missing(ModelContext &context) const;
};

// Any version is summarised; throws BackupError::unreadable.
Summary summary(const QByteArray &data);

} // namespace Backup
