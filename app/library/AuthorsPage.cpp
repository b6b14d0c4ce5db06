#include "AuthorsPage.h"

#include "CountLabel.h"
#include "AdaptiveGrid.h"
#include "AuthorDirectory.h"
#include "AuthorIcon.h"
#include "AuthorMerge.h"
#include "ClearLayout.h"
#include "ElidedLabel.h"
#include "FilterChip.h"
#include "HorizontalStrip.h"
#include "ModelContext.h"
#include "PersonEntry.h"
#include "PlatformBadge.h"
#include "Post.h"
#include "SecondaryLabel.h"
#include "SidebarItem.h"
#include "StarAuthorButton.h"
#include "StarredOrderSheet.h"
#include "StarredStrip.h"
#include "Text.h"
#include "Theme.h"
#include "Typography.h"
#include "UndoableDelete.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int tileAvatar = 56;
constexpr int rowAvatar = 30;

} // namespace

AuthorsPage::AuthorsPage(ModelContext &context, UndoableDelete &pendingDelete, QWidget *parent)
    : QWidget(parent), m_context(context), m_pendingDelete(pendingDelete)
{
    auto layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(18);

    m_chips = new HorizontalStrip(6, this);
    layout->addWidget(m_chips);

    m_starredHeading = StarredStrip::makeHeading(this);
    m_reorder = new QToolButton(m_starredHeading);
    m_reorder->setText(tr("调整顺序…"));
    m_reorder->setAutoRaise(true);
    m_reorder->setCursor(Qt::PointingHandCursor);
    m_reorder->setFont(Typography::caption(font()));
    m_reorder->setStyleSheet(QStringLiteral("QToolButton { color: %1; border: none; padding: 0; }")
                                 .arg(Theme::accent().resolved(palette()).name()));
    connect(m_reorder, &QToolButton::clicked, this, &AuthorsPage::openOrderSheet);
    m_starredHeading->layout()->addWidget(m_reorder);
    layout->addWidget(m_starredHeading);
    m_starredGrid = new QWidget(this);
    new AdaptiveGrid({120, 160, 12}, 12, m_starredGrid);
    layout->addWidget(m_starredGrid);

    m_othersTitle = new SecondaryLabel({}, Typography::caption(font(), QFont::DemiBold), this);
    layout->addWidget(m_othersTitle);
    m_othersGrid = new QWidget(this);
    new AdaptiveGrid({220, 320, 8}, 2, m_othersGrid);
    layout->addWidget(m_othersGrid);

    m_empty = new SecondaryLabel({}, font(), this);
    layout->addWidget(m_empty);
    layout->addStretch();

    connect(&context, &ModelContext::changed, this, &AuthorsPage::refresh);
    connect(&pendingDelete, &UndoableDelete::hiddenChanged, this, &AuthorsPage::refresh);
    refresh();
}

void AuthorsPage::setSearch(const QString &text)
{
    if (text == m_search)
        return;
    m_search = text;
    refresh();
}

void AuthorsPage::setPlatformFilter(std::optional<Platform> platform)
{
    m_platform = platform;
    for (FilterChip *chip : chips())
        chip->setChecked(chip->platform() == m_platform);
    refresh();
}

QList<FilterChip *> AuthorsPage::chips() const
{
    QList<FilterChip *> result;
    for (QWidget *item : m_chips->items())
        result.append(static_cast<FilterChip *>(item));
    return result;
}

QString AuthorsPage::othersTitle() const
{
    return m_othersTitle->isHidden() ? QString() : m_othersTitle->text();
}

QString AuthorsPage::emptyText() const
{
    return m_empty->isHidden() ? QString() : m_empty->text();
}

void AuthorsPage::refresh()
{
    const AuthorDirectory directory(m_context);
    QList<std::shared_ptr<Post>> posts = m_context.fetch<Post>();
    posts.removeIf([this](const auto &post) { return m_pendingDelete.isHidden(*post); });
    const AuthorIndex index(posts);
    const Listing shown = listing(directory, index);
    // Chips change only with the persons, never with the filter a chip sets.
    QStringList chips{QString::number(shown.personCount)};
    for (Platform platform : shown.platforms)
        chips << platform.rawValue();
    if (chips != m_shownChips) {
        m_shownChips = chips;
        rebuildChips(shown);
    }
    const QStringList now = signature(directory, index, shown);
    if (now == m_shown)
        return;
    m_shown = now;

    m_starredEntries = fillSection(*m_starredGrid, *m_starredHeading, shown.starred,
                                   [&](const auto &person) { return makeTile(directory, index, person); });
    m_reorder->setVisible(shown.starredCount >= 2);
    m_otherEntries = fillSection(*m_othersGrid, *m_othersTitle, shown.others,
                                 [&](const auto &person) { return makeRow(directory, index, person); });
    m_othersTitle->setText(shown.starred.isEmpty() ? tr("全部作者 · 按收藏数") : tr("其他作者 · 按收藏数"));
    const bool nobody = shown.starred.isEmpty() && shown.others.isEmpty();
    m_empty->setText(shown.personCount == 0 ? tr("收藏里还没有作者") : tr("没有匹配的作者"));
    m_empty->setVisible(nobody);
}

AuthorsPage::Listing AuthorsPage::listing(const AuthorDirectory &directory, const AuthorIndex &index) const
{
    Listing result;
    const QList<AuthorIndex::Person> people = index.people(directory);
    result.personCount = int(people.size());
    QHash<AuthorAccount, AuthorIndex::Person> byMain;
    QSet<Platform::Case> platforms;
    for (const AuthorIndex::Person &person : people) {
        byMain.insert(person.main, person);
        for (const AuthorAccount &account : directory.accounts(person.main))
            platforms.insert(account.platform());
        if (!directory.isStarred(person.main) && matches(directory, person))
            result.others.append(person);
    }
    for (Platform platform : Platform::allCases()) {
        if (platforms.contains(platform))
            result.platforms.append(platform);
    }
    const QList<AuthorAccount> starred = directory.starred();
    result.starredCount = int(starred.size());
    for (const AuthorAccount &account : starred) {
        const auto person = byMain.constFind(account);
        if (person != byMain.cend() && matches(directory, *person))
            result.starred.append(*person);
    }
    return result;
}

bool AuthorsPage::matches(const AuthorDirectory &directory, const AuthorIndex::Person &person) const
{
    const QList<AuthorAccount> accounts = directory.accounts(person.main);
    if (m_platform && std::none_of(accounts.cbegin(), accounts.cend(), [this](const AuthorAccount &account) {
            return account.platform() == *m_platform;
        }))
        return false;
    const QString needle = Text::trimmingWhitespace(m_search);
    if (needle.isEmpty() || person.name.contains(needle, Qt::CaseInsensitive))
        return true;
    return std::any_of(accounts.cbegin(), accounts.cend(), [&needle](const AuthorAccount &account) {
        return account.name().contains(needle, Qt::CaseInsensitive);
    });
}

QStringList AuthorsPage::signature(const AuthorDirectory &directory, const AuthorIndex &index,
                                   const Listing &listing) const
{
    QStringList result{QString::number(listing.personCount), QString::number(listing.starredCount)};
    for (const auto *list : {&listing.starred, &listing.others}) {
        result << QStringLiteral("|");
        for (const AuthorIndex::Person &person : *list) {
            const QList<AuthorAccount> accounts = directory.accounts(person.main);
            result << person.main.key() << person.name << QString::number(person.count)
                   << index.avatar(accounts);
            for (Platform platform : AuthorIndex::platformsOf(accounts))
                result << platform.rawValue();
        }
    }
    return result;
}

void AuthorsPage::rebuildChips(const Listing &listing)
{
    m_chips->clear();
    const FilterChip::Style style{
        10, QMargins(11, 5, 11, 5), Theme::text(), Theme::background(), Theme::card(), Theme::text()};
    const auto add = [this, &style](const QString &title, std::optional<Platform> platform) {
        auto chip = new FilterChip(title, platform, std::nullopt, style, m_chips->widget());
        chip->setChecked(platform == m_platform);
        // Choosing the chosen chip again keeps it chosen.
        connect(chip, &FilterChip::clicked, this, [this, platform] { setPlatformFilter(platform); });
        m_chips->add(chip);
    };
    add(tr("全部 %1").arg(listing.personCount), std::nullopt);
    for (Platform platform : listing.platforms)
        add(platform.displayName(), platform);
}

// Fills a section's grid with one entry per person; the section shows only
// while it lists someone.
QList<PersonEntry *>
AuthorsPage::fillSection(QWidget &grid, QWidget &heading, const QList<AuthorIndex::Person> &people,
                         const std::function<PersonEntry *(const AuthorIndex::Person &)> &make)
{
    clearLayout(grid.layout());
    QList<PersonEntry *> entries;
    for (const AuthorIndex::Person &person : people) {
        entries.append(make(person));
        grid.layout()->addWidget(entries.last());
    }
    heading.setVisible(!people.isEmpty());
    grid.setVisible(!people.isEmpty());
    return entries;
}

PersonEntry *AuthorsPage::makeTile(const AuthorDirectory &directory, const AuthorIndex &index,
                                   const AuthorIndex::Person &person)
{
    const AuthorAccount main = person.main;
    const PersonEntry::Action unstar{QStringLiteral("star.slash"), tr("取消星标"),
                                     [this, main] { AuthorMerge::setStarred(main, false, m_context); }};
    auto tile = new PersonEntry(main, PersonEntry::Background::card, 12, unstar, m_starredGrid);
    connect(tile, &PersonEntry::activated, this,
            [this](const AuthorAccount &account) { emit itemActivated(SidebarItem::author(account)); });
    auto column = new QVBoxLayout(tile);
    column->setContentsMargins(8, 14, 8, 14);
    column->setSpacing(7);
    auto icon = new AuthorIcon(index.avatar(directory.accounts(main)), main.platform(), tileAvatar, tile);
    icon->setTilt(FocusTilt(tileAvatar / 2.0, 1.08));
    column->addWidget(icon, 0, Qt::AlignHCenter);
    auto name = new ElidedLabel(person.name, tile);
    name->setFont(Typography::callout(font(), QFont::Medium));
    name->setAlignment(Qt::AlignHCenter);
    column->addWidget(name);
    auto count = new SecondaryLabel(tr("%n 条", nullptr, person.count), Typography::caption(font()), tile);
    count->setAlignment(Qt::AlignHCenter);
    column->addWidget(count);
    return tile;
}

PersonEntry *AuthorsPage::makeRow(const AuthorDirectory &directory, const AuthorIndex &index,
                                  const AuthorIndex::Person &person)
{
    const AuthorAccount main = person.main;
    const PersonEntry::Action star{QStringLiteral("star"), tr("设为星标博主"), [this, main] {
                                       if (const QString message = StarAuthorButton::toggle(main, m_context);
                                           !message.isEmpty())
                                           emit toastRequested(message);
                                   }};
    auto row = new PersonEntry(main, PersonEntry::Background::hoverCard, 8, star, m_othersGrid);
    connect(row, &PersonEntry::activated, this,
            [this](const AuthorAccount &account) { emit itemActivated(SidebarItem::author(account)); });
    auto line = new QHBoxLayout(row);
    line->setContentsMargins(10, 7, 10, 7);
    line->setSpacing(10);
    const QList<AuthorAccount> accounts = directory.accounts(main);
    line->addWidget(new AuthorIcon(index.avatar(accounts), main.platform(), rowAvatar, row));
    line->addWidget(new ElidedLabel(person.name, row), 1);
    for (Platform platform : AuthorIndex::platformsOf(accounts))
        line->addWidget(new PlatformBadge(platform, 10, row));
    line->addWidget(new CountLabel(person.count, font(), row));
    return row;
}

void AuthorsPage::openOrderSheet()
{
    auto sheet = new StarredOrderSheet(m_context, this);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->open();
}
