#pragma once

#include "SidebarItem.h"

#include <QCoreApplication>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class ModelContext;
class Tag;

// The naming alert: a new tag, a new board, or a new name for a board or tag,
// and what committing it or the delete confirmation does to the library.
class Naming {
    Q_DECLARE_TR_FUNCTIONS(Naming)
public:
    enum class Kind { rename, newTag, newBoard };
    // The tag of that name, found or created and inserted.
    using TagNamed = std::function<std::shared_ptr<Tag>(const QString &name)>;

    static Naming rename(const SidebarItem &item) { return Naming(Kind::rename, item); }
    static Naming newTag() { return Naming(Kind::newTag, std::nullopt); }
    static Naming newBoard() { return Naming(Kind::newBoard, std::nullopt); }

    Kind kind() const { return m_kind; }
    // The item being renamed; nothing for a new tag or board.
    std::optional<SidebarItem> item() const { return m_item; }
    QString title() const;
    // Tells one alert from another.
    QString id() const;

    // Applies the typed name, trimmed of white space and line breaks, and
    // saves. Returns the new board, or the tag of that name, for the caller
    // to select; nothing for a rename. A blank name changes and saves nothing.
    std::optional<SidebarItem> commit(const QString &text, ModelContext &context,
                                      const TagNamed &tagNamed) const;

    // Deletes the item's board or tag and saves; its posts only lose it. Any
    // other item deletes nothing.
    static void commitDelete(const SidebarItem &item, ModelContext &context);

private:
    Naming(Kind kind, std::optional<SidebarItem> item) : m_kind(kind), m_item(std::move(item)) {}

    std::optional<SidebarItem> apply(const QString &name, ModelContext &context,
                                     const TagNamed &tagNamed) const;

    Kind m_kind;
    std::optional<SidebarItem> m_item;
};
