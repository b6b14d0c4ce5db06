#include "AccountsSheet.h"

#include "CountLabel.h"
#include "AuthorDirectory.h"
#include "AuthorGroup.h"
#include "AuthorIcon.h"
#include "AuthorMerge.h"
#include "ClearLayout.h"
#include "ElidedLabel.h"
#include "ModelContext.h"
#include "PlatformBadge.h"
#include "Post.h"
#include "QuietSave.h"
#include "SecondaryLabel.h"
#include "Symbol.h"
#include "Text.h"
#include "Theme.h"
#include "Typography.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int candidateAvatar = 18;
constexpr int sheetWidth = 480;

// A titled group of rows on a card, as the desktop's grouped forms draw them.
QVBoxLayout *addSection(QVBoxLayout *form, const QString &title, QWidget **section = nullptr)
{
    auto box = new QWidget;
    auto column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);
    column->addWidget(new SecondaryLabel(title, Typography::caption(box->font(), QFont::DemiBold), box));
    auto card = new QFrame(box);
    card->setObjectName(QStringLiteral("card"));
    const auto paintCard = [card] {
        card->setStyleSheet(QStringLiteral("QFrame#card { background: %1; border-radius: 8px; }")
                                .arg(Theme::card().resolved().name()));
    };
    Theme::paintAndFollow(box, paintCard);
    auto rows = new QVBoxLayout(card);
    rows->setContentsMargins(12, 8, 12, 8);
    rows->setSpacing(6);
    column->addWidget(card);
    form->addWidget(box);
    if (section)
        *section = box;
    return rows;
}

QHBoxLayout *rowLayout(QWidget *row)
{
    auto line = new QHBoxLayout(row);
    line->setContentsMargins(0, 2, 0, 2);
    line->setSpacing(8);
    return line;
}

} // namespace

AccountsSheet::AccountsSheet(const AuthorAccount &account, ModelContext &context, QWidget *parent)
    : QDialog(parent), m_account(account), m_context(context), m_scroller(new QScrollArea(this)),
      m_bar(new QHBoxLayout)
{
    setWindowTitle(tr("管理账号"));
    setFixedWidth(sheetWidth);
    auto layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_scroller->setWidgetResizable(true);
    m_scroller->setFrameShape(QFrame::NoFrame);
    m_scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto formWidget = new QWidget(m_scroller);
    auto form = new QVBoxLayout(formWidget);
    form->setContentsMargins(20, 16, 20, 16);
    form->setSpacing(18);

    QVBoxLayout *nameRows = addSection(form, tr("显示名称"), &m_nameSection);
    m_nameField = new QLineEdit(m_nameSection);
    m_nameField->setAccessibleName(tr("显示名称"));
    // Every edit goes straight into the group; "完成" or any later save keeps it.
    connect(m_nameField, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (const auto group = AuthorDirectory(m_context).group(m_account))
            group->setName(text);
    });
    nameRows->addWidget(m_nameField);

    m_accountRows = addSection(form, tr("账号"));

    m_candidateRows = new QVBoxLayout;
    m_candidateRows->setSpacing(6);
    QVBoxLayout *addRows = addSection(form, tr("添加小号"));
    m_searchField = new QLineEdit(formWidget);
    m_searchField->setPlaceholderText(tr("搜索作者"));
    m_searchField->setClearButtonEnabled(true);
    connect(m_searchField, &QLineEdit::textChanged, this, &AccountsSheet::refresh);
    addRows->addWidget(m_searchField);
    addRows->addLayout(m_candidateRows);
    m_empty = new SecondaryLabel({}, font(), formWidget);
    addRows->addWidget(m_empty);
    auto footer = new SecondaryLabel(tr("小号的收藏会算到这个人名下，关联了这个人的合集也会收进小号的收藏。"),
                                     Typography::caption(font()), formWidget);
    footer->setWordWrap(true);
    form->addWidget(footer);
    form->addStretch();
    m_scroller->setWidget(formWidget);
    layout->addWidget(m_scroller, 1);

    m_bar->setContentsMargins(14, 14, 14, 14);
    auto done = new QPushButton(tr("完成"), this);
    done->setDefault(true);
    connect(done, &QPushButton::clicked, this, &AccountsSheet::finish);
    m_bar->addStretch();
    m_bar->addWidget(done);
    layout->addLayout(m_bar);

    connect(&context, &ModelContext::changed, this, &AccountsSheet::refresh);
    refresh();
}

// Before it is placed over its window, so it is centred at its new height.
void AccountsSheet::showEvent(QShowEvent *event)
{
    fitHeight();
    QDialog::showEvent(event);
}

// Tall enough for the whole form, down to the footnote, as far as the screen
// it opens on allows. That screen and the frame's title bar are read off the
// window it opens over, which is framed already where the sheet is not yet.
void AccountsSheet::fitHeight()
{
    const QWidget *form = m_scroller->widget();
    const int formHeight =
        std::max(form->hasHeightForWidth() ? form->heightForWidth(sheetWidth) : form->sizeHint().height(),
                 form->minimumSizeHint().height());
    const QWidget *framed = parentWidget() ? parentWidget()->window() : this;
    const int decoration = framed->frameGeometry().height() - framed->height();
    const int tallest = framed->screen()->availableGeometry().height() - decoration;
    setFixedHeight(std::min(formHeight + m_bar->sizeHint().height(), tallest));
}

QList<AuthorAccount> AccountsSheet::candidates() const
{
    QList<AuthorAccount> mains;
    for (const AuthorIndex::Person &candidate : m_candidates)
        mains.append(candidate.main);
    return mains;
}

QString AccountsSheet::emptyText() const
{
    return m_empty->isHidden() ? QString() : m_empty->text();
}

void AccountsSheet::refresh()
{
    const AuthorDirectory directory(m_context);
    const AuthorIndex index(m_context.fetch<Post>());
    const QList<AuthorAccount> accounts = directory.accounts(m_account);
    const bool grouped = directory.group(m_account) != nullptr;
    const QList<AuthorIndex::Person> candidates = findCandidates(directory, index, accounts);
    showName(directory, accounts);
    // Typing a display name changes the store on every key: rebuild the rows
    // only when what they show changed.
    const QStringList shown = signature(directory, index, accounts, grouped, candidates);
    if (shown == m_shown)
        return;
    m_shown = shown;
    rebuildAccounts(index, accounts, grouped);
    rebuildCandidates(directory, index, candidates);
}

QStringList AccountsSheet::signature(const AuthorDirectory &directory, const AuthorIndex &index,
                                     const QList<AuthorAccount> &accounts, bool grouped,
                                     const QList<AuthorIndex::Person> &candidates) const
{
    QStringList result{grouped ? QStringLiteral("grouped") : QString(), m_searchField->text()};
    for (const AuthorAccount &account : accounts)
        result << account.key() << QString::number(index.count(account));
    for (const AuthorIndex::Person &candidate : candidates.mid(0, candidateLimit)) {
        const QList<AuthorAccount> theirs = directory.accounts(candidate.main);
        result << candidate.main.key() << candidate.name << QString::number(candidate.count)
               << QString::number(theirs.size()) << index.avatar(theirs);
    }
    return result;
}

QList<AuthorIndex::Person> AccountsSheet::findCandidates(const AuthorDirectory &directory,
                                                         const AuthorIndex &index,
                                                         const QList<AuthorAccount> &accounts) const
{
    const QString query = Text::trimmingWhitespace(m_searchField->text());
    const auto named = [&query](const QString &name) { return name.contains(query, Qt::CaseInsensitive); };
    QList<AuthorIndex::Person> result;
    for (const AuthorIndex::Person &person : index.people(directory)) {
        const QList<AuthorAccount> theirs = directory.accounts(person.main);
        if (std::any_of(theirs.cbegin(), theirs.cend(),
                        [&accounts](const AuthorAccount &account) { return accounts.contains(account); }))
            continue;
        if (query.isEmpty() || named(person.name) ||
            std::any_of(theirs.cbegin(), theirs.cend(),
                        [&named](const AuthorAccount &account) { return named(account.name()); }))
            result.append(person);
    }
    return result;
}

void AccountsSheet::showName(const AuthorDirectory &directory, const QList<AuthorAccount> &accounts)
{
    const auto group = directory.group(m_account);
    m_nameSection->setVisible(group && accounts.size() >= 2);
    if (!group)
        return;
    const auto main = group->main();
    m_nameField->setPlaceholderText(main ? main->name().simplified() : QString());
    if (!m_nameField->hasFocus() && m_nameField->text() != group->name())
        m_nameField->setText(group->name());
}

void AccountsSheet::rebuildAccounts(const AuthorIndex &index, const QList<AuthorAccount> &accounts,
                                    bool grouped)
{
    clearLayout(m_accountRows);
    m_accountMenus.clear();
    m_shownAccounts = accounts;
    const bool several = grouped && accounts.size() >= 2;
    m_mainTagShown = accounts.size() >= 2;
    for (int row = 0; row < accounts.size(); ++row)
        m_accountRows->addWidget(makeAccountRow(index, accounts, row, several));
}

QWidget *AccountsSheet::makeAccountRow(const AuthorIndex &index, const QList<AuthorAccount> &accounts,
                                       int row, bool several)
{
    const AuthorAccount &account = accounts[row];
    auto widget = new QWidget;
    QHBoxLayout *line = rowLayout(widget);
    line->addWidget(new PlatformBadge(account.platform(), 12, widget));
    line->addWidget(new ElidedLabel(account.name(), widget), 1);
    if (m_mainTagShown && row == 0) {
        auto tag = new QLabel(tr("主号"), widget);
        tag->setFont(Typography::caption(font(), QFont::Bold));
        tag->setStyleSheet(QStringLiteral("QLabel { color: %1; background: rgba(217,119,87,0.12);"
                                          " border-radius: 7px; padding: 2px 6px; }")
                               .arg(Theme::accent().resolved().name()));
        line->addWidget(tag);
    }
    line->addStretch();
    line->addWidget(new CountLabel(index.count(account), font(), widget));
    if (several) {
        QToolButton *menu = makeAccountMenu(accounts, row, widget);
        line->addWidget(menu);
        m_accountMenus.append(menu);
    }
    return widget;
}

QToolButton *AccountsSheet::makeAccountMenu(const QList<AuthorAccount> &accounts, int row, QWidget *parent)
{
    const AuthorAccount account = accounts[row];
    auto button = new QToolButton(parent);
    button->setAutoRaise(true);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; width: 0; }"));
    auto menu = new QMenu(button);
    QList<std::pair<QAction *, QString>> symbols;
    if (row > 0)
        symbols.append({menu->addAction(tr("设为主号"), this,
                                        [this, accounts, account] { makeMain(accounts, account); }),
                        QStringLiteral("star")});
    symbols.append(
        {menu->addAction(tr("移出"), this, [this, account] { AuthorMerge::split(account, m_context); }),
         QStringLiteral("person.badge.minus")});
    button->setMenu(menu);
    const auto paintIcons = [button, symbols] {
        const QColor ink = button->palette().color(QPalette::ButtonText);
        button->setIcon(Symbol::pixmap(QStringLiteral("ellipsis.circle"), 16, ink, 1, 2));
        for (const auto &[action, symbol] : symbols)
            action->setIcon(Symbol::pixmap(symbol, 16, ink, 1, 2));
    };
    Theme::paintAndFollow(button, paintIcons);
    return button;
}

void AccountsSheet::rebuildCandidates(const AuthorDirectory &directory, const AuthorIndex &index,
                                      const QList<AuthorIndex::Person> &candidates)
{
    clearLayout(m_candidateRows);
    m_addButtons.clear();
    m_candidates = candidates.mid(0, candidateLimit);
    for (const AuthorIndex::Person &candidate : std::as_const(m_candidates))
        m_candidateRows->addWidget(makeCandidateRow(directory, index, candidate));
    m_empty->setText(Text::trimmingWhitespace(m_searchField->text()).isEmpty() ? tr("收藏里没有其他作者")
                                                                               : tr("没有匹配的作者"));
    m_empty->setVisible(m_candidates.isEmpty());
}

QWidget *AccountsSheet::makeCandidateRow(const AuthorDirectory &directory, const AuthorIndex &index,
                                         const AuthorIndex::Person &candidate)
{
    const QList<AuthorAccount> accounts = directory.accounts(candidate.main);
    auto widget = new QWidget;
    QHBoxLayout *line = rowLayout(widget);
    line->addWidget(
        new AuthorIcon(index.avatar(accounts), candidate.main.platform(), candidateAvatar, widget));
    line->addWidget(new ElidedLabel(candidate.name, widget), 1);
    if (accounts.size() >= 2)
        line->addWidget(new SecondaryLabel(tr("%n 个账号", nullptr, int(accounts.size())),
                                           Typography::caption(font()), widget));
    line->addWidget(new CountLabel(candidate.count, font(), widget));
    auto add = new QPushButton(tr("添加"), widget);
    add->setAutoDefault(false);
    connect(add, &QPushButton::clicked, this, [this, candidate] { this->add(candidate); });
    line->addWidget(add);
    m_addButtons.append(add);
    return widget;
}

void AccountsSheet::makeMain(const QList<AuthorAccount> &accounts, const AuthorAccount &account)
{
    const auto group = AuthorDirectory(m_context).group(account);
    if (!group)
        return;
    QList<AuthorAccount> members{account};
    for (const AuthorAccount &other : accounts) {
        if (!(other == account))
            members.append(other);
    }
    group->setMembers(members);
    saveQuietly(m_context);
}

void AccountsSheet::add(const AuthorIndex::Person &candidate)
{
    const AuthorAccount target = m_shownAccounts.value(0, m_account);
    // A refused merge (a name no key list can hold) joined nobody: no toast.
    if (AuthorMerge::merge(candidate.main, target, m_context))
        emit toastRequested(tr("已添加「%1」").arg(candidate.name.simplified()));
}

void AccountsSheet::finish()
{
    saveQuietly(m_context);
    accept();
}
