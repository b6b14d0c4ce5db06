#include "ContentView.h"

#include "AddLinkSheet.h"
#include "DropHighlight.h"
#include "FitWindowTitle.h"
#include "LibraryView.h"
#include "MacModel.h"
#include "ModelContainer.h"
#include "NameDialog.h"
#include "NavigationStack.h"
#include "OrganizeView.h"
#include "PlayerControls.h"
#include "PostDetailView.h"
#include "PrivateLockView.h"
#include "Sidebar.h"
#include "SlideIn.h"
#include "Theme.h"
#include "Toast.h"
#include "ToolbarFade.h"
#include "UndoBar.h"
#include "UndoableDelete.h"
#include "WindowChrome.h"

#include <QCoro/QCoroTask>
#include <QDragEnterEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSplitter>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

constexpr int overlayPadding = 24;
constexpr int undoBarOverToast = 76;

// Checks the clipboard, then syncs and repairs; the content may go away
// while the sync waits, and the repair then belongs to the next content.
QCoro::Task<> startUpWork(MacModel &model, QPointer<QObject> content)
{
    model.checkClipboard();
    co_await model.sync(false);
    if (!content)
        co_return;
    co_await model.repair();
}

// The top of an overlay whose capsule, not its shadow, stands on the floor.
int restingTop(const QWidget &overlay, int floor)
{
    return floor + FloatingCapsule::shadowMargins().bottom() - overlay.height();
}

} // namespace

ContentView::ContentView(MacModel &model, QWidget *parent)
    : QWidget(parent), m_model(model), m_split(new QSplitter(this)), m_toast(new Toast({}, this)),
      m_undoBar(new UndoBar(1, this))
{
    auto *sidebar = new Sidebar(model);
    connect(sidebar, &Sidebar::selectionChosen, this, &ContentView::setSelection);
    connect(this, &ContentView::selectionChanged, sidebar,
            [this, sidebar] { sidebar->setSelection(m_selection); });
    sidebar->setMinimumWidth(190);
    sidebar->setMaximumWidth(300);
    m_split->addWidget(sidebar);
    m_split->addWidget(makeDetailColumn());
    m_split->setStretchFactor(1, 1);
    m_split->setSizes({220, 1060});
    m_split->setChildrenCollapsible(false);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_split);
    new WindowChrome(this);

    m_toast->hide();
    m_undoBar->hide();
    m_toastSlide = new SlideIn(m_toast);
    m_undoSlide = new SlideIn(m_undoBar);
    connect(m_undoBar, &UndoBar::undo, this, [this] { m_model.pendingDelete().undo(); });
    connect(&m_model, &MacModel::toastChanged, this, &ContentView::placeOverlays);
    connect(&m_model.pendingDelete(), &UndoableDelete::postsChanged, this, &ContentView::placeOverlays);
    connect(&m_model, &MacModel::toolbarHiddenChanged, this, [this] {
        m_fade->setVisible(!m_model.toolbarHidden());
        m_stack->setBarHidden(m_model.toolbarHidden());
    });
    connect(&m_model, &MacModel::privateUnlockedChanged, this, &ContentView::privateLockChanged);
    connect(&m_model, &MacModel::namingChanged, this, &ContentView::showNamingAlert);
    connect(&m_model, &MacModel::deletingChanged, this, &ContentView::showDeleteConfirmation);
    connect(&m_model, &MacModel::showAddChanged, this, &ContentView::showAddSheet);
    showRoot();
    placeOverlays();
    showNamingAlert();
    showDeleteConfirmation();
    showAddSheet();
}

QWidget *ContentView::makeDetailColumn()
{
    m_detail = new QWidget;
    m_detail->setAcceptDrops(true);
    m_detail->installEventFilter(this);
    m_stack = new NavigationStack(m_detail);
    m_toolbar = new QToolBar;
    m_toolbar->setMovable(false);
    m_stack->setToolbar(m_toolbar);
    connect(m_stack, &NavigationStack::depthChanged, this, &ContentView::showTopToolbar);
    m_fade = new ToolbarFade(NavigationStack::barHeight);
    m_fade->setVisible(!m_model.toolbarHidden());
    m_stack->setBarOverlay(m_fade);
    m_dropHighlight = new DropHighlight(m_detail);
    m_dropHighlight->hide();
    auto *layout = new QVBoxLayout(m_detail);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_stack);
    return m_detail;
}

void ContentView::setSelection(const SidebarItem &item)
{
    if (item == m_selection)
        return;
    m_selection = item;
    m_stack->clear();
    showRoot();
    emit selectionChanged();
}

void ContentView::push(const SidebarItem &item)
{
    m_stack->push(makeLibrary(item));
}

void ContentView::push(const std::shared_ptr<Post> &post)
{
    auto *detail = new PostDetailView(post, m_model.container().mainContext(), m_model.pendingDelete());
    connectPostActions(*detail);
    connect(detail, &PostDetailView::dismissRequested, m_stack, &NavigationStack::pop);
    const auto showTitle = [stack = m_stack, detail] { stack->setTitle(detail, detail->title()); };
    connect(detail, &PostDetailView::titleChanged, m_stack, showTitle);
    showTitle();
    m_stack->push(detail);
}

LibraryView *ContentView::makeLibrary(const SidebarItem &item)
{
    auto *library = new LibraryView(m_model.container().mainContext(), m_model.pendingDelete(), item);
    library->setObjectName(QStringLiteral("LibraryView"));
    connectLibrary(*library);
    const auto showTitles = [stack = m_stack, library] {
        stack->setTitle(library, library->title(), library->subtitle());
    };
    connect(library, &LibraryView::titleChanged, m_stack, showTitles);
    showTitles();
    return library;
}

template <class View> void ContentView::connectPostActions(View &view)
{
    MacModel *model = &m_model;
    connect(&view, &View::toastRequested, model, &MacModel::show);
    connect(&view, &View::reparseRequested, model, &MacModel::reparse);
    connect(
        &view, &View::privateRequested, model,
        [model](const std::shared_ptr<Post> &post, bool isPrivate) { model->setPrivate({post}, isPrivate); });
    connect(&view, &View::telegramRequested, model, [model](const std::shared_ptr<Post> &post) {
        QCoro::connect(model->syncToTelegram(post), model, [] {});
    });
}

void ContentView::connectLibrary(LibraryView &library)
{
    MacModel *model = &m_model;
    connectPostActions(library);
    connect(&library, &LibraryView::toolbarHiddenChanged, model, &MacModel::setToolbarHidden);
    connect(&library, &LibraryView::collectClipboardRequested, model, &MacModel::collectClipboard);
    connect(&library, &LibraryView::addLinkRequested, model, [model] { model->setShowAdd(true); });
    library.setClipboardLink(m_model.clipboardLink());
    connect(model, &MacModel::clipboardLinkChanged, &library,
            [model, view = &library] { view->setClipboardLink(model->clipboardLink()); });
    connect(&library, &LibraryView::postActivated, this,
            [this](const std::shared_ptr<Post> &post) { push(post); });
    connect(&library, &LibraryView::itemActivated, this, [this](const SidebarItem &item) { push(item); });
}

void ContentView::showTopToolbar()
{
    m_toolbar->clear();
    if (const auto *library = qobject_cast<LibraryView *>(m_stack->top()))
        m_toolbar->addAction(library->toolbarAction());
    if (const auto *detail = qobject_cast<PostDetailView *>(m_stack->top()))
        m_toolbar->addAction(detail->toolbarAction());
    if (const auto *organize = qobject_cast<OrganizeView *>(m_stack->top()))
        m_toolbar->addAction(organize->toolbarAction());
    m_toolbar->setVisible(!m_toolbar->actions().isEmpty());
    m_stack->setToolbar(m_toolbar); // placed at its new size at once
}

bool ContentView::showsLibrary() const
{
    const SidebarItem::Kind kind = m_selection.kind();
    return kind != SidebarItem::Kind::organize &&
           (kind != SidebarItem::Kind::privateSpace || m_model.privateUnlocked());
}

QWidget *ContentView::makeRoot()
{
    if (m_selection.kind() == SidebarItem::Kind::privateSpace && !m_model.privateUnlocked()) {
        auto *lock = new PrivateLockView;
        connect(lock, &PrivateLockView::unlockRequested, &m_model,
                [model = &m_model] { QCoro::connect(model->unlockPrivate(), model, [] {}); });
        return lock;
    }
    if (m_selection.kind() == SidebarItem::Kind::organize) {
        auto *organize = new OrganizeView(m_model);
        m_stack->setTitle(organize, OrganizeView::navigationTitle());
        connect(organize, &OrganizeView::itemActivated, this,
                [this](const SidebarItem &item) { push(item); });
        return organize;
    }
    return makeLibrary(m_selection);
}

// A library at the root takes the new selection itself, so the search text
// typed there stays.
void ContentView::showRoot()
{
    auto *library = qobject_cast<LibraryView *>(m_stack->root());
    if (library && showsLibrary())
        library->setItem(m_selection);
    else
        m_stack->setRoot(makeRoot());
    showTopToolbar();
}

void ContentView::privateLockChanged()
{
    if (m_selection.kind() != SidebarItem::Kind::privateSpace)
        return;
    // No private post stays open over the lock screen.
    if (!m_model.privateUnlocked())
        m_stack->clear();
    showRoot();
}

QStringList ContentView::webLinks(const QList<QUrl> &urls)
{
    QStringList links;
    for (const QUrl &url : urls) {
        const QString scheme = url.scheme().toLower();
        if (!url.isLocalFile() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")))
            links.append(url.toString(QUrl::FullyEncoded));
    }
    return links;
}

bool ContentView::dropLinks(const QList<QUrl> &urls)
{
    const QStringList links = webLinks(urls);
    for (const QString &link : links)
        m_model.importText(link);
    return !links.isEmpty();
}

void ContentView::setDropTargeted(bool targeted)
{
    m_dropHighlight->setGeometry(m_detail->rect());
    m_dropHighlight->setVisible(targeted);
    m_dropHighlight->raise();
}

bool ContentView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_detail)
        return false;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        const bool links = !webLinks(drag->mimeData()->urls()).isEmpty();
        drag->setAccepted(links);
        setDropTargeted(links);
        return true;
    }
    case QEvent::DragLeave: setDropTargeted(false); return true;
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        setDropTargeted(false);
        drop->setAccepted(dropLinks(drop->mimeData()->urls()));
        return true;
    }
    default: return false;
    }
}

void ContentView::showNamingAlert()
{
    const std::optional<Naming> &naming = m_model.naming();
    if (!naming) {
        if (m_namingAlert)
            m_namingAlert->close();
        return;
    }
    if (m_namingAlert)
        return;
    auto *alert = new NameDialog(naming->title(), tr("名称"), tr("好"), this);
    m_namingAlert = alert;
    alert->setAttribute(Qt::WA_DeleteOnClose);
    alert->field()->setText(m_model.namingText());
    connect(alert->field(), &QLineEdit::textChanged, &m_model, &MacModel::setNamingText);
    connect(alert, &QDialog::accepted, this, &ContentView::commitNaming);
    connect(alert, &QDialog::finished, this, [this] {
        m_namingAlert = nullptr;
        m_model.setNaming(std::nullopt);
    });
    alert->open();
}

void ContentView::commitNaming()
{
    const std::optional<SidebarItem> created = m_model.commitName();
    if (!created)
        return;
    if (m_selection.kind() == SidebarItem::Kind::organize)
        push(*created);
    else if (created->kind() == SidebarItem::Kind::board)
        setSelection(*created);
}

void ContentView::showDeleteConfirmation()
{
    const std::optional<SidebarItem> &deleting = m_model.deleting();
    if (!deleting) {
        if (m_deleteConfirmation)
            m_deleteConfirmation->close();
        return;
    }
    if (m_deleteConfirmation)
        return;
    const QString question = tr("删除「%1」？").arg(deleting->title());
    auto *dialog = new QMessageBox(QMessageBox::Warning, question, question, QMessageBox::NoButton, this);
    m_deleteConfirmation = dialog;
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setInformativeText(tr("里面的收藏不会被删除。"));
    // After the last change that lays the box out anew.
    fitMessageBoxTitle(*dialog);
    QPushButton *remove = dialog->addButton(tr("删除"), QMessageBox::DestructiveRole);
    dialog->addButton(tr("取消"), QMessageBox::RejectRole);
    connect(dialog, &QMessageBox::buttonClicked, this, [this, remove](QAbstractButton *clicked) {
        if (clicked != remove)
            return;
        if (m_model.deleting() == m_selection)
            setSelection(SidebarItem::all());
        m_model.commitDelete();
    });
    connect(dialog, &QDialog::finished, this, [this] {
        m_deleteConfirmation = nullptr;
        m_model.setDeleting(std::nullopt);
    });
    dialog->open();
}

void ContentView::showAddSheet()
{
    if (!m_model.showAdd()) {
        if (m_addSheet)
            m_addSheet->close();
        return;
    }
    if (m_addSheet)
        return;
    m_addSheet = new AddLinkSheet(this);
    m_addSheet->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_addSheet, &AddLinkSheet::saveRequested, &m_model,
            [model = &m_model](const QString &text) { model->importText(text); });
    connect(m_addSheet, &QDialog::finished, this, [this] {
        m_addSheet = nullptr;
        m_model.setShowAdd(false);
    });
    m_addSheet->open();
}

// The lowest point an overlay may reach: above the window's bottom margin
// and above any player controls there, so a toast never hides a seek bar.
int ContentView::overlayFloor(int overlayWidth) const
{
    int floor = height() - overlayPadding;
    const QRect lane((width() - overlayWidth) / 2, 0, overlayWidth, height());
    if (QWidget *page = m_stack->top()) {
        for (const PlayerControls *controls : page->findChildren<PlayerControls *>()) {
            if (!controls->isVisible())
                continue;
            const QRect rect(controls->mapTo(this, QPoint()), controls->size());
            // The shadow stays off the controls too: it would keep the pointer from them.
            if (rect.intersects(lane) && rect.bottom() >= floor - 80)
                floor = std::min(floor, rect.top() - 8 - FloatingCapsule::shadowMargins().bottom());
        }
    }
    return floor;
}

void ContentView::placeOverlays()
{
    const std::optional<QString> &toast = m_model.toast();
    int bottom = 0;
    if (toast) {
        m_toast->setMessage(*toast);
        m_toast->adjustSize();
        bottom = overlayFloor(m_toast->width());
        m_toastSlide->showAt(QPoint((width() - m_toast->width()) / 2, restingTop(*m_toast, bottom)));
        m_toast->raise();
        bottom -= undoBarOverToast - overlayPadding;
    } else {
        m_toastSlide->hide();
    }
    const int pending = int(m_model.pendingDelete().posts().size());
    if (pending > 0) {
        m_undoBar->setCount(pending);
        m_undoBar->adjustSize();
        if (!toast)
            bottom = overlayFloor(m_undoBar->width());
        m_undoSlide->showAt(QPoint((width() - m_undoBar->width()) / 2, restingTop(*m_undoBar, bottom)));
        m_undoBar->raise();
    } else {
        m_undoSlide->hide();
    }
}

void ContentView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeOverlays();
}

void ContentView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_started)
        return;
    m_started = true;
    QCoro::connect(startUpWork(m_model, this), &m_model, [] {});
}
