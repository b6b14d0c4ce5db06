#pragma once

#include <QString>
#include <QUuid>
#include <memory>
#include <optional>

class QMimeData;

// What a dragged post carries: its id for drops inside the application and
// its link as plain text for any other program.
struct PostDrag {
    // Data of this format is a JSON object with the keys "id" (upper-case
    // UUID text) and "link".
    static const QString mimeType;

    QUuid id;
    QString link;

    std::unique_ptr<QMimeData> mimeData() const;
    // Nothing unless the data has this format with both keys, a readable id
    // and a text link; plain text alone is never taken for a post.
    static std::optional<PostDrag> fromMimeData(const QMimeData &data);
};
