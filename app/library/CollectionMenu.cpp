#include "CollectionMenu.h"

#include "Board.h"
#include "HexColor.h"
#include "MacModel.h"
#include "ModelContainer.h"
#include "QuietSave.h"
#include "Symbol.h"
#include "Tag.h"
#include "TagPalette.h"

#include <QWidget>

namespace {

QString currentName(const SidebarItem &item)
{
    if (const auto board = item.boardObject(); board && !board->isGone())
        return board->name();
    if (const auto tag = item.tagObject(); tag && !tag->isGone())
        return tag->name();
    return {};
}

} // namespace

CollectionMenu::CollectionMenu(MacModel &model, const SidebarItem &item, QWidget *parent)
    : QMenu(parent), m_model(model), m_item(item)
{
    addAction(tr("重命名…"), this, [this] {
        m_model.setNamingText(currentName(m_item));
        m_model.setNaming(Naming::rename(m_item));
    });
    if (const auto tag = item.tagObject(); tag && !tag->isGone())
        addColors(tag);
    addSeparator();
    addAction(tr("删除…"), this, [this] { m_model.setDeleting(m_item); });
}

// Only an exact match of a palette string is checked: a colour in other
// letter case or by name is one the palette does not offer.
void CollectionMenu::addColors(const std::shared_ptr<Tag> &tag)
{
    m_colorMenu = addMenu(tr("颜色"));
    for (const QString &color : TagPalette::colors()) {
        const bool current = color == tag->colorHex();
        const QIcon icon =
            Symbol::pixmap(current ? QStringLiteral("checkmark.circle.fill") : QStringLiteral("circle.fill"),
                           16, hexColor(color), 1, devicePixelRatioF());
        QAction *action = m_colorMenu->addAction(icon, TagPalette::name(color));
        action->setCheckable(true);
        action->setChecked(current);
        connect(action, &QAction::triggered, this, [this, tag, color] {
            if (tag->isGone())
                return;
            tag->setColorHex(color);
            saveQuietly(m_model.container().mainContext());
        });
    }
}

CollectionMenu *CollectionMenu::open(QWidget *widget, MacModel &model, const SidebarItem &item,
                                     const QPoint &position)
{
    auto *menu = new CollectionMenu(model, item, widget);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(widget->mapToGlobal(position));
    return menu;
}

void CollectionMenu::attach(QWidget *widget, MacModel &model, const SidebarItem &item)
{
    widget->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(widget, &QWidget::customContextMenuRequested, widget,
            [widget, &model, item](const QPoint &position) { open(widget, model, item, position); });
}
