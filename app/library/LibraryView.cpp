#include "LibraryView.h"

#include "AuthorDirectory.h"
#include "AuthorHeader.h"
#include "Masonry.h"
#include "ModelContext.h"
#include "Motion.h"
#include "Post.h"
#include "PostMenu.h"
#include "PostText.h"
#include "StarredStrip.h"
#include "Symbol.h"
#include "TabOrder.h"
#include "TamselStore.h"
#include "Theme.h"
#include "UndoableDelete.h"

#include <QActionGroup>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStackedLayout>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidgetAction>

const QString LibraryView::sortOrderKey = QStringLiteral("macSortOrder");
const QString LibraryView::cardWidthKey = QStringLiteral("macCardWidth");

namespace {

constexpr qreal spacing = 14;

QString trimmedOfSpaces(const QString &text)
{
    qsizetype start = 0, end = text.size();
    const auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    while (start < end && blank(text[start]))
        ++start;
    while (end > start && blank(text[end - 1]))
        --end;
    return text.mid(start, end - start);
}

} // namespace

LibraryView::LibraryView(ModelContext &context, UndoableDelete &pendingDelete, const SidebarItem &item,
                         QWidget *parent, ImageCache &cache)
    : QWidget(parent), m_context(context), m_pendingDelete(pendingDelete), m_cache(cache), m_item(item)
{
    setAutoFillBackground(true);

    m_pages = new QStackedLayout(this);
    m_headerBox = new QWidget(this);
    m_headerLayout = new QVBoxLayout(m_headerBox);
    m_headerLayout->setContentsMargins(0, 0, 0, 0);
    m_headerLayout->setSpacing(16);
    m_header = new LibraryHeader(context, m_headerBox);
    m_headerLayout->addWidget(m_header);
    connect(m_header, &LibraryHeader::filterChosen, this, &LibraryView::setPlatformFilter);
    connect(m_header->starredStrip(), &StarredStrip::personActivated, this,
            [this](const AuthorAccount &account) { emit itemActivated(SidebarItem::author(account)); });

    buildEmptyState();
    buildToolbar();
    makeMasonry();
    makeAuthorHeader();

    applyAppearance();
    Theme::followPalette(this, [this] {
        applyAppearance();
        if (isEmptyStateShown())
            refresh(); // its symbol is drawn in the text colour
    });
    connect(&context, &ModelContext::changed, this, &LibraryView::reselect);
    connect(&pendingDelete, &UndoableDelete::hiddenChanged, this, &LibraryView::reselect);
    connect(&TamselStore::defaults(), &UserDefaults::changed, this, &LibraryView::settingChanged);
    reselect();
}

void LibraryView::buildEmptyState()
{
    m_emptyPage = new QWidget(this);
    m_emptyLayout = new QVBoxLayout(m_emptyPage);
    m_emptyLayout->setContentsMargins(spacing, spacing, spacing, 0);
    m_emptyLayout->addStretch();
    m_emptyIcon = new QLabel(m_emptyPage);
    m_emptyTitle = new QLabel(m_emptyPage);
    m_emptyText = new QLabel(m_emptyPage);
    Theme::useSecondaryText(m_emptyText);
    QFont titleFont = font();
    titleFont.setPointSizeF(font().pointSizeF() * 1.4);
    titleFont.setBold(true);
    m_emptyTitle->setFont(titleFont);
    for (QLabel *label : {m_emptyIcon, m_emptyTitle, m_emptyText}) {
        label->setAlignment(Qt::AlignCenter);
        m_emptyLayout->addWidget(label);
    }
    m_emptyLayout->addStretch();
    m_pages->addWidget(m_emptyPage);
}

// The page colour is picked here, again after each change of appearance.
void LibraryView::applyAppearance()
{
    QPalette background = palette();
    background.setColor(QPalette::Window, Theme::background().resolved());
    setPalette(background);
}

void LibraryView::buildToolbar()
{
    auto group = new QWidget;
    auto row = new QHBoxLayout(group);
    row->setContentsMargins(0, 0, 0, 0);

    m_clipboardButton = new QToolButton(group);
    m_clipboardButton->setText(tr("收藏剪贴板里的链接"));
    m_clipboardButton->setToolTip(tr("收藏剪贴板里的链接（Shift+Ctrl+V）"));
    m_clipboardButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_clipboardButton->hide();
    connect(m_clipboardButton, &QToolButton::clicked, this, &LibraryView::collectClipboardRequested);

    auto add = new QToolButton(group);
    add->setText(tr("收藏链接"));
    add->setToolTip(tr("收藏链接（Ctrl+N）"));
    connect(add, &QToolButton::clicked, this, &LibraryView::addLinkRequested);

    auto display = new QToolButton(group);
    display->setText(tr("显示"));
    display->setToolTip(tr("显示"));
    display->setPopupMode(QToolButton::InstantPopup);
    display->setMenu(makeDisplayMenu(display));

    const auto paintIcons = [this, group, add, display] {
        const QColor text = group->palette().color(QPalette::ButtonText);
        m_clipboardButton->setIcon(
            Symbol::pixmap(QStringLiteral("link.badge.plus"), 16, Theme::accent().resolved(), 1.3, 2));
        add->setIcon(Symbol::pixmap(QStringLiteral("plus"), 16, text, 1.3, 2));
        display->setIcon(
            Symbol::pixmap(QStringLiteral("line.3.horizontal.decrease.circle"), 16, text, 1.2, 2));
    };
    Theme::paintAndFollow(group, paintIcons);

    m_searchField = new QLineEdit(group);
    m_searchField->setPlaceholderText(tr("搜索标题、正文、笔记、作者、标签"));
    m_searchField->setClearButtonEnabled(true);
    m_searchField->setMinimumWidth(220);
    connect(m_searchField, &QLineEdit::textChanged, this, &LibraryView::refresh);

    for (QWidget *widget : {static_cast<QWidget *>(m_clipboardButton), static_cast<QWidget *>(add),
                            static_cast<QWidget *>(display), static_cast<QWidget *>(m_searchField)})
        row->addWidget(widget);
    m_toolbarAction = new QWidgetAction(this);
    m_toolbarAction->setDefaultWidget(group);
    auto *fade = new QGraphicsOpacityEffect(group);
    fade->setEnabled(false);
    group->setGraphicsEffect(fade);
    m_groupFade = new Motion(Motion::Curve::fold(), 1.0, this);
    connect(m_groupFade, &Motion::valueChanged, this, &LibraryView::followGroupFade);
}

// The group fades out while the bar folds around it and leaves the toolbar
// once gone; it comes back at once to fade in as the bar returns.
void LibraryView::followGroupFade()
{
    const qreal opacity = m_groupFade->value().toReal();
    auto *fade = static_cast<QGraphicsOpacityEffect *>(m_toolbarAction->defaultWidget()->graphicsEffect());
    fade->setOpacity(opacity);
    fade->setEnabled(opacity < 1);
    m_toolbarAction->setVisible(!m_toolbarHidden || opacity > 0);
}

QMenu *LibraryView::makeDisplayMenu(QWidget *parent)
{
    auto menu = new QMenu(parent);
    // Headers are drawn as entries that take no click, so they keep an
    // entry's padding instead of sitting on the edge and the line above.
    const auto addHeader = [menu](const QString &title) { menu->addAction(title)->setEnabled(false); };
    addHeader(tr("排序"));
    auto sorts = new QActionGroup(menu);
    for (SortOrder order : SortOrder::allCases()) {
        QAction *action = menu->addAction(order.label(), this, [this, order] { setSortOrder(order); });
        action->setCheckable(true);
        action->setActionGroup(sorts);
        connect(menu, &QMenu::aboutToShow, action,
                [this, action, order] { action->setChecked(sortOrder() == order); });
    }
    menu->addSeparator();
    addHeader(tr("卡片大小"));
    auto sizes = new QActionGroup(menu);
    for (const auto &[label, size] : {std::pair{tr("小"), 180.0}, {tr("中"), 230.0}, {tr("大"), 300.0}}) {
        const double width = size; // a structured binding cannot be captured before clang 16
        QAction *action = menu->addAction(label, this, [this, width] { setCardWidth(width); });
        action->setCheckable(true);
        action->setActionGroup(sizes);
        connect(menu, &QMenu::aboutToShow, action,
                [this, action, width] { action->setChecked(cardWidth() == width); });
    }
    return menu;
}

void LibraryView::makeMasonry()
{
    auto masonry = new Masonry(this, m_cache);
    masonry->setCardWidth(cardWidth());
    masonry->setHeader(m_headerBox);
    connect(masonry, &Masonry::postActivated, this, &LibraryView::postActivated);
    connect(masonry, &Masonry::menuRequested, this, &LibraryView::showMenu);
    connect(masonry, &Masonry::toolbarHiddenRequested, this,
            [this](bool hidden) { setToolbarHidden(hidden && search().isEmpty()); });
    m_pages->addWidget(masonry);
    delete m_masonry;
    m_masonry = masonry;
}

void LibraryView::makeAuthorHeader()
{
    delete m_authorHeader;
    m_authorHeader = nullptr;
    const auto account = m_item.account();
    if (m_item.kind() != SidebarItem::Kind::author || !account)
        return;
    m_authorHeader = new AuthorHeader(*account, m_context); // placed by the next refresh
    connect(m_authorHeader, &AuthorHeader::filterChosen, this, &LibraryView::setAccountFilter);
    connect(m_authorHeader, &AuthorHeader::toastRequested, this, &LibraryView::toastRequested);
    connect(m_authorHeader, &AuthorHeader::rebuilt, this, &LibraryView::placeAuthorHeaderInTabOrder);
}

// One header serves both pages: above the cards, or above the empty state.
void LibraryView::placeAuthorHeader(bool empty)
{
    if (!m_authorHeader)
        return;
    m_authorHeader->setFilter(m_accountFilter);
    if (empty && m_authorHeader->parentWidget() != m_emptyPage)
        m_emptyLayout->insertWidget(0, m_authorHeader);
    else if (!empty && m_authorHeader->parentWidget() != m_headerBox)
        m_headerLayout->insertWidget(0, m_authorHeader);
    placeAuthorHeaderInTabOrder();
}

// Made before it was placed, or made anew since, the header's widgets come
// last in Tab order; Tab reaches them before the posts below.
void LibraryView::placeAuthorHeaderInTabOrder()
{
    if (m_authorHeader && m_authorHeader->window() == window())
        TabOrder::placeBefore(*m_masonry, TabOrder::stopsIn(*m_authorHeader));
}

void LibraryView::setItem(const SidebarItem &item)
{
    if (item == m_item)
        return;
    m_item = item;
    m_platformFilter.reset();
    m_accountFilter.reset();
    setToolbarHidden(false);
    makeMasonry();
    makeAuthorHeader();
    reselect();
}

QString LibraryView::search() const
{
    return m_searchField->text();
}

void LibraryView::setSearch(const QString &text)
{
    m_searchField->setText(text);
}

SortOrder LibraryView::sortOrder() const
{
    return SortOrder::fromRawValue(TamselStore::defaults().string(sortOrderKey).value_or(QString()));
}

void LibraryView::setSortOrder(SortOrder order)
{
    TamselStore::defaults().setString(sortOrderKey, order.rawValue());
}

qreal LibraryView::cardWidth() const
{
    const UserDefaults &defaults = TamselStore::defaults();
    const double stored = defaults.contains(cardWidthKey) ? defaults.number(cardWidthKey) : 0;
    return stored > 0 ? stored : Masonry::defaultCardWidth;
}

void LibraryView::setCardWidth(qreal width)
{
    TamselStore::defaults().setNumber(cardWidthKey, width);
}

// Every library view follows the stored display settings, wherever they were changed.
void LibraryView::settingChanged(const QString &key)
{
    if (key == sortOrderKey)
        refresh();
    else if (key == cardWidthKey)
        m_masonry->setCardWidth(cardWidth());
}

void LibraryView::setPlatformFilter(std::optional<Platform> platform)
{
    m_platformFilter = platform;
    refresh();
}

void LibraryView::setAccountFilter(const std::optional<AuthorAccount> &account)
{
    m_accountFilter = account;
    reselect();
}

void LibraryView::setClipboardLink(const std::optional<QString> &link)
{
    m_clipboardButton->setVisible(link.has_value());
}

QList<LibraryHeader::PlatformCount> LibraryView::platformCounts(const QList<std::shared_ptr<Post>> &posts)
{
    QHash<Platform, int> counts;
    for (const auto &post : posts)
        ++counts[post->platform()];
    QList<LibraryHeader::PlatformCount> result;
    for (Platform platform : Platform::allCases()) {
        if (const int count = counts.value(platform))
            result.append({platform, count});
    }
    std::stable_sort(result.begin(), result.end(),
                     [](const auto &a, const auto &b) { return a.count > b.count; });
    return result;
}

QList<std::shared_ptr<Post>> LibraryView::searched(const QString &text)
{
    const QString needle = trimmedOfSpaces(text);
    if (needle.isEmpty())
        return m_selection;
    if (m_searchTexts.size() != m_selection.size()) {
        m_searchTexts.clear();
        for (const auto &post : std::as_const(m_selection))
            m_searchTexts.append(PostText::searchText(*post));
    }
    QList<std::shared_ptr<Post>> result;
    for (int index = 0; index < m_selection.size(); ++index) {
        if (m_searchTexts[index].contains(needle, Qt::CaseInsensitive))
            result.append(m_selection[index]);
    }
    return result;
}

QList<std::shared_ptr<Post>> LibraryView::selectionPosts(const AuthorDirectory &directory)
{
    const QList<std::shared_ptr<Post>> all = Post::newestFirst(m_context.fetch<Post>());
    QList<std::shared_ptr<Post>> result;
    if (const auto account = m_item.account(); m_item.kind() == SidebarItem::Kind::author && account) {
        const QList<AuthorAccount> accounts = directory.accounts(*account);
        // A filter for an account that left the person (split off meanwhile)
        // would hide every post with no chip left to clear it.
        if (m_accountFilter && !accounts.contains(*m_accountFilter))
            m_accountFilter.reset();
        for (const auto &post : all) {
            if (post->isGone() || m_pendingDelete.isHidden(*post) || post->isPrivate() ||
                post->isArchived() || post->authorName().isEmpty())
                continue;
            const AuthorAccount author = AuthorAccount::fromPost(*post);
            if (accounts.contains(author) && (!m_accountFilter || author == *m_accountFilter))
                result.append(post);
        }
        return result;
    }
    for (const auto &post : all) {
        if (!post->isGone() && !m_pendingDelete.isHidden(*post) && m_item.contains(*post))
            result.append(post);
    }
    return result;
}

void LibraryView::reselect()
{
    m_selectionStale = true;
    refresh();
}

void LibraryView::refresh()
{
    const AuthorDirectory directory(m_context);
    if (m_selectionStale) {
        m_selection = selectionPosts(directory);
        m_searchTexts.clear();
        m_selectionStale = false;
    }
    m_unfiltered = sortOrder().sorted(searched(search()));
    const QList<LibraryHeader::PlatformCount> counts = platformCounts(m_unfiltered);
    m_shown.clear();
    for (const auto &post : std::as_const(m_unfiltered)) {
        if (!m_platformFilter || post->platform() == *m_platformFilter)
            m_shown.append(post);
    }
    const auto account = m_item.account();
    const QString title = m_item.kind() == SidebarItem::Kind::author && account
                              ? directory.displayName(*account)
                              : m_item.title();
    showContent(counts);
    const QString subtitle = tr("%n 条", nullptr, int(m_shown.size()));
    if (title != m_title || subtitle != m_subtitle) {
        m_title = title;
        m_subtitle = subtitle;
        emit titleChanged();
    }
}

void LibraryView::showContent(const QList<LibraryHeader::PlatformCount> &counts)
{
    placeAuthorHeader(m_unfiltered.isEmpty());
    if (m_unfiltered.isEmpty()) {
        const bool searching = !search().isEmpty();
        m_emptyIcon->setPixmap(
            Symbol::pixmap(searching ? QStringLiteral("magnifyingglass") : QStringLiteral("tray"), 40,
                           Theme::secondaryText(palette()), 1, devicePixelRatioF()));
        m_emptyTitle->setText(searching ? tr("没有匹配的收藏") : tr("这里还没有收藏"));
        m_emptyText->setText(!searching && m_item.kind() == SidebarItem::Kind::all
                                 ? tr("按 Ctrl+N 收藏链接，或复制链接后按 Shift+Ctrl+V")
                                 : QString());
        m_emptyText->setVisible(!m_emptyText->text().isEmpty());
        m_pages->setCurrentWidget(m_emptyPage);
        return;
    }
    // The chip row also stays while a filter is on, so it can always be cleared.
    const bool chips = counts.size() >= 2 || m_platformFilter;
    m_header->setValues(m_item.kind() == SidebarItem::Kind::all && search().isEmpty(),
                        chips ? counts : QList<LibraryHeader::PlatformCount>(), int(m_unfiltered.size()),
                        m_platformFilter);
    m_masonry->setPosts(m_shown);
    m_pages->setCurrentWidget(m_masonry);
}

bool LibraryView::isEmptyStateShown() const
{
    return m_pages->currentWidget() == m_emptyPage;
}

QString LibraryView::emptyTitle() const
{
    return m_emptyTitle->text();
}

void LibraryView::setToolbarHidden(bool hidden)
{
    if (hidden == m_toolbarHidden)
        return;
    m_toolbarHidden = hidden;
    m_groupFade->animateTo(hidden ? 0.0 : 1.0);
    followGroupFade();
    emit toolbarHiddenChanged(hidden);
}

void LibraryView::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    setToolbarHidden(false);
}

void LibraryView::showMenu(const std::shared_ptr<Post> &post, const QPoint &position)
{
    auto menu = new PostMenu(post, m_context, m_pendingDelete, this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    connect(menu, &PostMenu::toastRequested, this, &LibraryView::toastRequested);
    connect(menu, &PostMenu::reparseRequested, this, &LibraryView::reparseRequested);
    connect(menu, &PostMenu::privateRequested, this, &LibraryView::privateRequested);
    connect(menu, &PostMenu::telegramRequested, this, &LibraryView::telegramRequested);
    // Once the menu is gone the pointer may rest on another card, without a move to tell the grid.
    connect(menu, &QMenu::aboutToHide, m_masonry, &Masonry::followPointer, Qt::QueuedConnection);
    menu->popup(position);
}
