#pragma once

#include "SidebarItem.h"

#include <QObject>

class MacModel;
class QDropEvent;
class QWidget;

// Lets a board, tag or archive entry take posts dragged from the grid: a drop
// files them through the model, which says how it went. Anything else, and a
// drag that does not carry a post, is refused without a word.
class PostDropTarget : public QObject {
    Q_OBJECT
public:
    // Whether posts may be dropped on the item at all.
    static bool accepts(const SidebarItem &item);
    // Makes `widget` a drop target for the item when it accepts drops; the
    // target lives as long as the widget. Null for items that take none.
    static PostDropTarget *attach(QWidget *widget, MacModel &model, const SidebarItem &item);

    // True while a post is dragged over the widget.
    bool isTargeted() const { return m_targeted; }

signals:
    void targetedChanged(bool targeted);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    PostDropTarget(QWidget *widget, MacModel &model, const SidebarItem &item);

    void setTargeted(bool targeted);
    bool fileDrop(const QDropEvent &drop);

    MacModel &m_model;
    SidebarItem m_item;
    bool m_targeted = false;
};
