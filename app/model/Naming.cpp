#include "Naming.h"

#include "Board.h"
#include "ModelContext.h"
#include "QuietSave.h"
#include "Tag.h"
#include "Text.h"

QString Naming::title() const
{
    switch (m_kind) {
    case Kind::rename: return tr("重命名");
    case Kind::newTag: return tr("新建标签");
    case Kind::newBoard: return tr("新建合集");
    }
    return {};
}

QString Naming::id() const
{
    switch (m_kind) {
    case Kind::rename: return QStringLiteral("rename-") + m_item->title();
    case Kind::newTag: return QStringLiteral("newTag");
    case Kind::newBoard: return QStringLiteral("newBoard");
    }
    return {};
}

std::optional<SidebarItem> Naming::commit(const QString &text, ModelContext &context,
                                          const TagNamed &tagNamed) const
{
    const QString name = Text::trimmingWhitespaceAndNewlines(text);
    if (name.isEmpty())
        return std::nullopt;
    const auto result = apply(name, context, tagNamed);
    saveQuietly(context);
    return result;
}

std::optional<SidebarItem> Naming::apply(const QString &name, ModelContext &context,
                                         const TagNamed &tagNamed) const
{
    switch (m_kind) {
    case Kind::newTag: return SidebarItem::tag(tagNamed(name));
    case Kind::newBoard: {
        auto board = std::make_shared<Board>(name, QString());
        context.insert(board);
        return SidebarItem::board(board);
    }
    case Kind::rename:
        if (const auto tag = m_item->tagObject())
            tag->setName(name);
        else if (const auto board = m_item->boardObject())
            board->setName(name);
        return std::nullopt;
    }
    return std::nullopt;
}

void Naming::commitDelete(const SidebarItem &item, ModelContext &context)
{
    if (const auto tag = item.tagObject())
        context.remove(tag);
    else if (const auto board = item.boardObject())
        context.remove(board);
    saveQuietly(context);
}
