#include "PostDrag.h"

#include "Text.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QMimeData>

const QString PostDrag::mimeType = QStringLiteral("app.kepsel.post");

std::unique_ptr<QMimeData> PostDrag::mimeData() const
{
    const QJsonObject body{{QStringLiteral("id"), Text::uuidText(id)}, {QStringLiteral("link"), link}};
    auto data = std::make_unique<QMimeData>();
    data->setData(mimeType, QJsonDocument(body).toJson(QJsonDocument::Compact));
    data->setText(link);
    return data;
}

std::optional<PostDrag> PostDrag::fromMimeData(const QMimeData &data)
{
    if (!data.hasFormat(mimeType))
        return std::nullopt;
    const QJsonObject body = QJsonDocument::fromJson(data.data(mimeType)).object();
    const QJsonValue id = body.value(QStringLiteral("id"));
    const QJsonValue link = body.value(QStringLiteral("link"));
    if (!id.isString() || !link.isString())
        return std::nullopt;
    const QUuid uuid = QUuid::fromString(id.toString());
    if (uuid.isNull())
        return std::nullopt;
    return PostDrag{uuid, link.toString()};
}
