#pragma once

#include "Post.h"
#include "PostDrag.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <memory>
#include <utility>

namespace DropEvents {

// What a card of the grid carries when it is dragged.
inline std::unique_ptr<QMimeData> card(const std::shared_ptr<Post> &post)
{
    return PostDrag{post->id(), post->sourceURL()}.mimeData();
}

// Sends a drag's entry, then its drop; whether each was taken.
inline std::pair<bool, bool> drop(QWidget *target, const QMimeData &data)
{
    QDragEnterEvent enter(QPoint(4, 4), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent dropped(QPointF(4, 4), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &dropped);
    return {enter.isAccepted(), dropped.isAccepted()};
}

} // namespace DropEvents
