#include "PostDropTarget.h"

#include "MacModel.h"
#include "PostDrag.h"

#include <QDropEvent>
#include <QWidget>

bool PostDropTarget::accepts(const SidebarItem &item)
{
    using Kind = SidebarItem::Kind;
    return item.kind() == Kind::board || item.kind() == Kind::tag || item.kind() == Kind::archived;
}

PostDropTarget *PostDropTarget::attach(QWidget *widget, MacModel &model, const SidebarItem &item)
{
    if (!accepts(item))
        return nullptr;
    return new PostDropTarget(widget, model, item);
}

PostDropTarget::PostDropTarget(QWidget *widget, MacModel &model, const SidebarItem &item)
    : QObject(widget), m_model(model), m_item(item)
{
    widget->setAcceptDrops(true);
    widget->installEventFilter(this);
}

void PostDropTarget::setTargeted(bool targeted)
{
    if (targeted == m_targeted)
        return;
    m_targeted = targeted;
    emit targetedChanged(targeted);
}

bool PostDropTarget::fileDrop(const QDropEvent &drop)
{
    const auto post = PostDrag::fromMimeData(*drop.mimeData());
    return post && m_model.file({post->id}, m_item);
}

bool PostDropTarget::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        const bool post = PostDrag::fromMimeData(*drag->mimeData()).has_value();
        setTargeted(post);
        if (post)
            drag->acceptProposedAction();
        else
            drag->ignore();
        return true;
    }
    case QEvent::DragLeave: setTargeted(false); return true;
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        setTargeted(false);
        if (fileDrop(*drop))
            drop->acceptProposedAction();
        else
            drop->ignore();
        return true;
    }
    default: return QObject::eventFilter(watched, event);
    }
}
