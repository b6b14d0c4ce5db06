#pragma once

#include "SidebarItem.h"

#include <QMenu>

class MacModel;

// The context menu of a board or tag: rename, the tag's colour from the
// palette (the current one checked) and delete. Renaming and deleting go
// through the model's naming alert and delete confirmation.
class CollectionMenu : public QMenu {
    Q_OBJECT
public:
    CollectionMenu(MacModel &model, const SidebarItem &item, QWidget *parent = nullptr);

    // Opens the item's menu at `position` in the widget's coordinates; it
    // deletes itself once closed.
    static CollectionMenu *open(QWidget *widget, MacModel &model, const SidebarItem &item,
                                const QPoint &position);
    // A right-click on the widget opens the item's menu.
    static void attach(QWidget *widget, MacModel &model, const SidebarItem &item);

    // The colour entries in palette order; null without a tag.
    QMenu *colorMenu() const { return m_colorMenu; }

private:
    void addColors(const std::shared_ptr<Tag> &tag);

    MacModel &m_model;
    SidebarItem m_item;
    QMenu *m_colorMenu = nullptr;
};
