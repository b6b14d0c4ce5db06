#include "AuthorHeader.h"

#include "AccountsSheet.h"
#include "AuthorDirectory.h"
#include "AuthorIcon.h"
#include "AuthorIndex.h"
#include "AuthorMerge.h"
#include "FilterChip.h"
#include "HorizontalStrip.h"
#include "MenuText.h"
#include "ModelContext.h"
#include "Post.h"
#include "StarAuthorButton.h"
#include "Symbol.h"
#include "Theme.h"
#include "Typography.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int avatarSize = 52;

// Names come from pages: one line on screen, whatever they hold.
QString oneLine(const QString &text)
{
    return text.simplified();
}

} // namespace

AuthorHeader::AuthorHeader(const AuthorAccount &account, ModelContext &context, QWidget *parent)
    : QWidget(parent), m_account(account), m_context(context)
{
    auto layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 0);
    connect(&context, &ModelContext::changed, this, &AuthorHeader::rebuild);
    rebuild();
}

void AuthorHeader::setFilter(const std::optional<AuthorAccount> &filter)
{
    m_filter = filter;
    for (int index = 0; index < m_chips.size(); ++index) {
        // The first chip stands for all accounts.
        const auto account = m_chips[index]->property("account");
        m_chips[index]->setChecked(index == 0 ? !filter : filter && filter->key() == account.toString());
    }
}

QString AuthorHeader::name() const
{
    return m_name;
}

QString AuthorHeader::countLine() const
{
    return m_countLine;
}

QList<FilterChip *> AuthorHeader::chips() const
{
    return m_chips;
}

QList<QToolButton *> AuthorHeader::mergeButtons() const
{
    return m_mergeButtons;
}

void AuthorHeader::rebuild()
{
    const AuthorDirectory directory(m_context);
    const AuthorIndex index(m_context.fetch<Post>());
    const QList<AuthorAccount> accounts = directory.accounts(m_account);
    int count = 0;
    for (const AuthorAccount &account : accounts)
        count += index.count(account);
    QList<AuthorAccount> mains;
    for (const AuthorIndex::Person &person : index.people(directory))
        mains.append(person.main);
    const QList<AuthorAccount> suggestions = directory.sameNameSuggestions(m_account, mains);
    // A star given or a post of someone else keeps the header, and the
    // motion of its star button, as they are.
    const QStringList shown = signature(directory, index, accounts, suggestions);
    if (shown == m_shown)
        return;
    m_shown = shown;

    delete m_content;
    m_chips.clear();
    m_mergeButtons.clear();
    m_content = new QWidget(this);
    auto column = new QVBoxLayout(m_content);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);
    layout()->addWidget(m_content);
    buildTitleRow(directory, accounts, count, index.avatar(accounts));
    if (accounts.size() > 1 || !suggestions.isEmpty())
        buildChipRow(directory, accounts, suggestions, index.counts());
    setFilter(m_filter);
    // Shown now: a layout shows a widget added to a shown one an event later.
    m_content->show();
    emit rebuilt();
}

QStringList AuthorHeader::signature(const AuthorDirectory &directory, const AuthorIndex &index,
                                    const QList<AuthorAccount> &accounts,
                                    const QList<AuthorAccount> &suggestions) const
{
    QStringList result{directory.displayName(m_account), index.avatar(accounts)};
    for (const AuthorAccount &account : accounts)
        result << account.key() << QString::number(index.count(account));
    result << QStringLiteral("|");
    for (const AuthorAccount &suggestion : suggestions)
        result << suggestion.key() << directory.displayName(suggestion)
               << (directory.group(suggestion) ? QStringLiteral("grouped") : QString());
    return result;
}

void AuthorHeader::buildTitleRow(const AuthorDirectory &directory, const QList<AuthorAccount> &accounts,
                                 int count, const QString &avatar)
{
    auto row = new QHBoxLayout;
    row->setSpacing(14);
    row->addWidget(new AuthorIcon(avatar, m_account.platform(), avatarSize, m_content));

    QStringList platformNames;
    for (Platform platform : AuthorIndex::platformsOf(accounts))
        platformNames << platform.displayName();
    m_name = directory.displayName(m_account);
    m_countLine = tr("%n 条收藏 · ", nullptr, count) + platformNames.join(QStringLiteral(" · "));

    auto texts = new QVBoxLayout;
    texts->setSpacing(3);
    // The name comes from a page: shown as written, never as markup.
    auto title = new QLabel(oneLine(m_name), m_content);
    title->setTextFormat(Qt::PlainText);
    QFont titleFont = font();
    titleFont.setPointSizeF(font().pointSizeF() * 15 / 13);
    titleFont.setBold(true);
    title->setFont(titleFont);
    auto line = new QLabel(m_countLine, m_content);
    line->setFont(Typography::callout(font()));
    Theme::useSecondaryText(line);
    texts->addWidget(title);
    texts->addWidget(line);
    row->addLayout(texts);

    auto star = new StarAuthorButton(m_account, m_context, m_content);
    connect(star, &StarAuthorButton::toastRequested, this, &AuthorHeader::toastRequested);
    row->addWidget(star);
    row->addStretch();

    const bool several = accounts.size() >= 2;
    m_manage = new QToolButton(m_content);
    m_manage->setText(several ? tr("管理账号…") : tr("添加小号…"));
    const auto paintIcon = [manage = m_manage, several] {
        manage->setIcon(
            Symbol::pixmap(several ? QStringLiteral("person.2") : QStringLiteral("person.badge.plus"), 16,
                           manage->palette().color(QPalette::ButtonText), 1, 2));
    };
    Theme::paintAndFollow(m_manage, paintIcon);
    m_manage->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    connect(m_manage, &QToolButton::clicked, this, &AuthorHeader::openAccountsSheet);
    row->addWidget(m_manage);
    static_cast<QVBoxLayout *>(m_content->layout())->addLayout(row);
}

void AuthorHeader::buildChipRow(const AuthorDirectory &directory, const QList<AuthorAccount> &accounts,
                                const QList<AuthorAccount> &suggestions,
                                const QHash<AuthorAccount, int> &counts)
{
    auto strip = new HorizontalStrip(8, m_content);
    if (accounts.size() >= 2) {
        strip->add(makeChip(tr("全部"), std::nullopt));
        for (const AuthorAccount &account : accounts)
            strip->add(
                makeChip(oneLine(account.name()) + QLatin1Char(' ') + QString::number(counts.value(account)),
                         account));
    }
    const bool join = accounts.size() == 1;
    for (const AuthorAccount &suggestion : suggestions)
        strip->add(makeMergeButton(directory, suggestion, join && directory.group(suggestion)));
    static_cast<QVBoxLayout *>(m_content->layout())->addWidget(strip);
}

FilterChip *AuthorHeader::makeChip(const QString &title, std::optional<AuthorAccount> account)
{
    const FilterChip::Style style{10,
                                  QMargins(10, 5, 10, 5),
                                  Theme::accent(),
                                  Theme::Color("#FFFFFF", "#FFFFFF"),
                                  Theme::placeholder(),
                                  Theme::text()};
    auto chip = new FilterChip(title, account ? std::optional(account->platform()) : std::nullopt,
                               std::nullopt, style, m_content);
    chip->setProperty("account", account ? account->key() : QString());
    connect(chip, &FilterChip::clicked, this, [this, account] {
        // Choosing the chosen account again goes back to all of them.
        const bool again = account && m_filter && *m_filter == *account;
        setFilter(again ? std::nullopt : account);
        emit filterChosen(m_filter);
    });
    m_chips.append(chip);
    return chip;
}

void AuthorHeader::openAccountsSheet()
{
    // A child of the header, not of its content, which each store change rebuilds.
    auto sheet = new AccountsSheet(m_account, m_context, this);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    connect(sheet, &AccountsSheet::toastRequested, this, &AuthorHeader::toastRequested);
    sheet->open();
}

QToolButton *AuthorHeader::makeMergeButton(const AuthorDirectory &directory, const AuthorAccount &suggestion,
                                           bool join)
{
    auto button = new QToolButton(m_content);
    button->setText(menuText(
        join ? tr("并入「%1」").arg(oneLine(directory.displayName(suggestion)))
             : tr("合并 %1·%2").arg(suggestion.platform().displayName(), oneLine(suggestion.name()))));
    button->setIcon(
        Symbol::pixmap(QStringLiteral("arrow.triangle.merge"), 14, Theme::accent().resolved(), 1.3, 2));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setToolTip(tr("看起来是同一个人在另一个平台的账号"));
    // The focus rings the capsule in the accent, in the room its border keeps.
    button->setStyleSheet(QStringLiteral("QToolButton { color: %1; background: rgba(217,119,87,0.12);"
                                         " border: 2px solid transparent; border-radius: 11px;"
                                         " padding: 2px 8px; } QToolButton:focus { border-color: %1; }")
                              .arg(Theme::accent().resolved().name()));
    connect(button, &QToolButton::clicked, this, [this, suggestion, join] {
        const auto merged = join ? AuthorMerge::merge(m_account, suggestion, m_context)
                                 : AuthorMerge::merge(suggestion, m_account, m_context);
        if (!merged)
            return;
        m_filter.reset();
        emit filterChosen(std::nullopt);
        emit toastRequested(tr("已合并"));
    });
    m_mergeButtons.append(button);
    return button;
}
