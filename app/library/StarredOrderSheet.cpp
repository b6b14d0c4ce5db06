#include "StarredOrderSheet.h"

#include "AuthorDirectory.h"
#include "AuthorMerge.h"
#include "ModelContext.h"
#include "QuietSave.h"
#include "SecondaryLabel.h"
#include "Symbol.h"
#include "Theme.h"
#include "Typography.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

StarredOrderSheet::StarredOrderSheet(ModelContext &context, QWidget *parent)
    : QDialog(parent), m_context(context), m_list(new QListWidget(this))
{
    setWindowTitle(tr("调整顺序"));
    setFixedSize(360, 420);
    auto layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_list->setDragDropMode(QAbstractItemView::InternalMove);
    m_list->setDefaultDropAction(Qt::MoveAction);
    m_list->setTextElideMode(Qt::ElideRight);
    m_list->setUniformItemSizes(true);
    m_list->installEventFilter(this);
    // Drags and Alt+arrows both end in a row move of the model.
    connect(m_list->model(), &QAbstractItemModel::rowsMoved, this, &StarredOrderSheet::storeShownOrder);
    layout->addWidget(m_list, 1);

    auto bar = new QHBoxLayout;
    bar->setContentsMargins(14, 14, 14, 14);
    bar->addWidget(new SecondaryLabel(tr("拖动调整顺序，iPhone 上的顺序也会跟着变。"),
                                      Typography::caption(font()), this));
    bar->addStretch();
    auto done = new QPushButton(tr("完成"), this);
    done->setDefault(true);
    done->setAutoDefault(true);
    connect(done, &QPushButton::clicked, this, &StarredOrderSheet::finish);
    bar->addWidget(done);
    layout->addLayout(bar);

    connect(&context, &ModelContext::changed, this, &StarredOrderSheet::refresh);
    refresh();
    Theme::followPalette(this, [this] { repaintHandles(); });
}

QList<AuthorAccount> StarredOrderSheet::shownOrder() const
{
    QList<AuthorAccount> order;
    for (int row = 0; row < m_list->count(); ++row) {
        if (const auto account = AuthorAccount::fromKey(m_list->item(row)->data(Qt::UserRole).toString()))
            order.append(*account);
    }
    return order;
}

bool StarredOrderSheet::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() == Qt::AltModifier && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
            moveCurrent(key->key() == Qt::Key_Up ? -1 : 1);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void StarredOrderSheet::refresh()
{
    const AuthorDirectory directory(m_context);
    const QList<AuthorAccount> starred = directory.starred();
    QStringList rows;
    for (const AuthorAccount &account : starred)
        rows << account.key() << directory.displayName(account).simplified();
    QStringList shown;
    for (int row = 0; row < m_list->count(); ++row)
        shown << m_list->item(row)->data(Qt::UserRole).toString() << m_list->item(row)->text();
    if (rows == shown)
        return;
    const QString current =
        m_list->currentItem() ? m_list->currentItem()->data(Qt::UserRole).toString() : QString();
    m_list->clear();
    const QIcon handle = handleIcon();
    for (qsizetype index = 0; index < rows.size(); index += 2) {
        auto item = new QListWidgetItem(handle, rows[index + 1], m_list);
        item->setData(Qt::UserRole, rows[index]);
        if (rows[index] == current)
            m_list->setCurrentItem(item);
    }
    if (!m_list->currentItem() && m_list->count() > 0)
        m_list->setCurrentRow(0);
}

QIcon StarredOrderSheet::handleIcon() const
{
    return Symbol::pixmap(QStringLiteral("line.3.horizontal"), 16, Theme::secondaryText(palette()), 1, 2);
}

void StarredOrderSheet::repaintHandles()
{
    const QIcon handle = handleIcon();
    for (int row = 0; row < m_list->count(); ++row)
        m_list->item(row)->setIcon(handle);
}

void StarredOrderSheet::storeShownOrder()
{
    AuthorMerge::reorderStarred(shownOrder(), m_context);
}

void StarredOrderSheet::moveCurrent(int step)
{
    const int from = m_list->currentRow();
    const int to = from + step;
    if (from < 0 || to < 0 || to >= m_list->count())
        return;
    // moveRow takes the destination before which the row lands.
    m_list->model()->moveRow(QModelIndex(), from, QModelIndex(), step > 0 ? to + 1 : to);
    m_list->setCurrentRow(to);
}

void StarredOrderSheet::finish()
{
    saveQuietly(m_context);
    accept();
}
