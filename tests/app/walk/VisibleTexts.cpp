#include "VisibleTexts.h"

#include "BoardCard.h"
#include "Chip.h"
#include "ElidedLabel.h"
#include "SegmentBar.h"
#include "SidebarRow.h"
#include "TagTile.h"
#include "WrappedLabel.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractProxyModel>
#include <QComboBox>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTextDocument>
#include <QTextEdit>
#include <QWidget>

namespace {

void add(QStringList &texts, const QString &text)
{
    const QString trimmed = text.trimmed();
    if (!trimmed.isEmpty())
        texts.append(trimmed);
}

QString plain(const QString &text)
{
    if (!Qt::mightBeRichText(text))
        return text;
    QTextDocument document;
    document.setHtml(text);
    return document.toPlainText();
}

// File dialogs list the file system through proxies and their own models.
bool listsFiles(const QAbstractItemModel *model)
{
    for (const QAbstractItemModel *step = model; step;) {
        if (qobject_cast<const QFileSystemModel *>(step) ||
            QLatin1String(step->metaObject()->className()) == QLatin1String("QUrlModel"))
            return true;
        const auto *proxy = qobject_cast<const QAbstractProxyModel *>(step);
        step = proxy ? proxy->sourceModel() : nullptr;
    }
    return false;
}

void addModel(QStringList &texts, const QAbstractItemModel &model)
{
    for (int column = 0; column < model.columnCount(); ++column)
        add(texts, model.headerData(column, Qt::Horizontal).toString());
    if (listsFiles(&model))
        return;
    for (int row = 0; row < model.rowCount(); ++row)
        for (int column = 0; column < model.columnCount(); ++column) {
            const QModelIndex index = model.index(row, column);
            add(texts, index.data(Qt::DisplayRole).toString());
            add(texts, index.data(Qt::ToolTipRole).toString());
        }
}

void addActions(QStringList &texts, const QWidget &widget)
{
    for (const QAction *action : widget.actions()) {
        if (!action->isVisible())
            continue;
        add(texts, action->text());
        add(texts, action->toolTip());
        if (action->menu())
            addActions(texts, *action->menu());
    }
}

// Our own widgets paint their texts; they are read from the widgets instead.
void addPaintedTexts(QStringList &texts, const QWidget &widget)
{
    if (const auto *label = qobject_cast<const ElidedLabel *>(&widget))
        add(texts, label->text());
    else if (const auto *wrapped = qobject_cast<const WrappedLabel *>(&widget))
        add(texts, wrapped->text());
    else if (const auto *chip = qobject_cast<const Chip *>(&widget))
        add(texts, chip->text());
    else if (const auto *row = qobject_cast<const SidebarRow *>(&widget))
        add(texts, row->title());
    else if (const auto *segments = qobject_cast<const SegmentBar *>(&widget)) {
        for (const QString &title : segments->titles())
            add(texts, title);
    } else if (const auto *board = qobject_cast<const BoardCard *>(&widget)) {
        add(texts, board->name());
        add(texts, board->authors());
    } else if (const auto *tag = qobject_cast<const TagTile *>(&widget))
        add(texts, tag->name());
}

void addOwnTexts(QStringList &texts, const QWidget &widget)
{
    add(texts, plain(widget.toolTip()));
    add(texts, widget.accessibleName());
    addPaintedTexts(texts, widget);
    if (const auto *label = qobject_cast<const QLabel *>(&widget))
        add(texts, plain(label->text()));
    else if (const auto *button = qobject_cast<const QAbstractButton *>(&widget))
        add(texts, button->text());
    else if (const auto *line = qobject_cast<const QLineEdit *>(&widget))
        add(texts, line->placeholderText());
    else if (const auto *edit = qobject_cast<const QTextEdit *>(&widget))
        add(texts, edit->placeholderText());
    else if (const auto *plainEdit = qobject_cast<const QPlainTextEdit *>(&widget))
        add(texts, plainEdit->placeholderText());
    else if (const auto *group = qobject_cast<const QGroupBox *>(&widget))
        add(texts, group->title());
    else if (const auto *combo = qobject_cast<const QComboBox *>(&widget)) {
        for (int index = 0; index < combo->count(); ++index)
            add(texts, combo->itemText(index));
    } else if (const auto *tabs = qobject_cast<const QTabBar *>(&widget)) {
        for (int index = 0; index < tabs->count(); ++index)
            add(texts, tabs->tabText(index));
    } else if (const auto *view = qobject_cast<const QAbstractItemView *>(&widget)) {
        if (view->model())
            addModel(texts, *view->model());
    } else if (const auto *header = qobject_cast<const QHeaderView *>(&widget)) {
        if (header->model())
            addModel(texts, *header->model());
    }
    // Menus and tool bars show their actions, not child widgets.
    if (qobject_cast<const QMenu *>(&widget) || widget.inherits("QToolBar") || widget.inherits("QMenuBar"))
        addActions(texts, widget);
}

} // namespace

namespace {

// The text a label or button shows, empty for any other widget.
QString shownText(const QWidget &widget)
{
    if (const auto *label = qobject_cast<const QLabel *>(&widget))
        return label->text();
    if (const auto *button = qobject_cast<const QAbstractButton *>(&widget))
        return button->text();
    return {};
}

// The labels and buttons shown in the window that show a text; those of
// dialogs it owns are in windows of their own.
QList<const QWidget *> textWidgets(const QWidget &window)
{
    QList<const QWidget *> found;
    for (const QWidget *child : window.findChildren<QWidget *>())
        if (child->window() == &window && child->isVisibleTo(&window) && !shownText(*child).isEmpty())
            found.append(child);
    return found;
}

bool tooSmallForItsText(const QWidget &widget)
{
    const auto *label = qobject_cast<const QLabel *>(&widget);
    if (label && label->wordWrap())
        return label->height() < label->heightForWidth(label->width());
    return widget.width() < widget.sizeHint().width();
}

// Whether a part of the widget lies outside one of its containers, up to the
// window; what a scroll area holds may reach past its viewport.
bool reachesOutside(const QWidget &widget, const QWidget &window)
{
    for (const QWidget *container = widget.parentWidget(); container && container != &window;
         container = container->parentWidget()) {
        const auto *area = qobject_cast<const QAbstractScrollArea *>(container->parentWidget());
        if (area && area->viewport() == container)
            return false;
        const QRect inContainer(widget.mapTo(container, QPoint(0, 0)), widget.size());
        if (!container->rect().contains(inContainer))
            return true;
    }
    return false;
}

QRect inWindow(const QWidget &widget, const QWidget &window)
{
    return {widget.mapTo(&window, QPoint(0, 0)), widget.size()};
}

} // namespace

QStringList cutOffTexts(const QWidget &window)
{
    QStringList cut;
    for (const QWidget *widget : textWidgets(window))
        if (tooSmallForItsText(*widget) || reachesOutside(*widget, window))
            cut.append(shownText(*widget));
    return cut;
}

QStringList overlappingTexts(const QWidget &window)
{
    QStringList overlapping;
    const QList<const QWidget *> widgets = textWidgets(window);
    for (qsizetype first = 0; first < widgets.size(); ++first)
        for (qsizetype second = first + 1; second < widgets.size(); ++second) {
            const QWidget &one = *widgets[first];
            const QWidget &other = *widgets[second];
            if (one.isAncestorOf(&other) || other.isAncestorOf(&one))
                continue;
            if (inWindow(one, window).intersects(inWindow(other, window)))
                overlapping.append(shownText(one) + QStringLiteral(" / ") + shownText(other));
        }
    return overlapping;
}

QStringList visibleTexts(const QWidget &window)
{
    QStringList texts;
    add(texts, window.windowTitle());
    addOwnTexts(texts, window);
    for (const QWidget *child : window.findChildren<QWidget *>())
        if (child->isVisibleTo(&window))
            addOwnTexts(texts, *child);
    texts.removeDuplicates();
    return texts;
}
