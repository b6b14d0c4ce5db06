#include "PostDetailView.h"

#include "DetachedTask.h"
#include "Divider.h"
#include "FileError.h"
#include "FileReveal.h"
#include "InfoPane.h"
#include "KeyboardFocus.h"
#include "KitLog.h"
#include "Media.h"
#include "MediaExport.h"
#include "MediaFocusRing.h"
#include "MediaPane.h"
#include "ModelContext.h"
#include "Post.h"
#include "PostCard.h"
#include "PostMenu.h"
#include "QuickLookWindow.h"
#include "Symbol.h"
#include "Theme.h"
#include "UndoableDelete.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollArea>
#include <QStackedLayout>
#include <QTextEdit>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidgetAction>

namespace {

constexpr int infoWidth = 380;
constexpr int aloneMaximumWidth = 680;
constexpr double deleteDelaySeconds = 5;
constexpr int saveMenuGap = 8;

// The scrolling information column. It never takes the keyboard: a click in
// it leaves the keys with the screen, and keys passing up from its texts go
// on to the screen rather than scrolling it.
class InfoColumn : public QScrollArea {
public:
    explicit InfoColumn(QWidget *content)
    {
        setWidget(content);
        setWidgetResizable(true);
        setFrameShape(QFrame::NoFrame);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void keyPressEvent(QKeyEvent *event) override { event->ignore(); }
};

bool isTextField(const QWidget *widget)
{
    return qobject_cast<const QLineEdit *>(widget) || qobject_cast<const QPlainTextEdit *>(widget) ||
           qobject_cast<const QTextEdit *>(widget);
}

QToolButton *toolButton(QWidget *group, const QString &text)
{
    auto *button = new QToolButton(group);
    button->setText(text);
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    group->layout()->addWidget(button);
    return button;
}

QString typeFilter(const QString &extension)
{
    if (extension == QStringLiteral("mp4"))
        return PostDetailView::tr("MPEG-4 影片 (*.mp4)");
    if (extension == QStringLiteral("mp3"))
        return PostDetailView::tr("MP3 音频 (*.mp3)");
    if (extension == QStringLiteral("jpg"))
        return PostDetailView::tr("JPEG 图像 (*.jpg *.jpeg)");
    return QStringLiteral("*.%1").arg(extension);
}

QWidget *deletedPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    auto *icon = new QLabel;
    const auto paintIcon = [icon] {
        icon->setPixmap(Symbol::pixmap(QStringLiteral("trash"), 48,
                                       icon->palette().color(QPalette::PlaceholderText), 1,
                                       icon->devicePixelRatioF()));
    };
    Theme::paintAndFollow(icon, paintIcon);
    auto *title = new QLabel(PostDetailView::tr("这条收藏已删除"));
    title->setObjectName(QStringLiteral("DeletedTitle"));
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    titleFont.setBold(true);
    title->setFont(titleFont);
    layout->addStretch();
    for (QLabel *label : {icon, title}) {
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
    }
    layout->addStretch();
    return page;
}

} // namespace

PostDetailView::PostDetailView(std::shared_ptr<Post> post, ModelContext &context,
                               UndoableDelete &pendingDelete, QWidget *parent)
    : QWidget(parent), m_post(std::move(post)), m_context(context), m_pendingDelete(pendingDelete),
      m_keyboard(new KeyboardFocus(this)), m_info(new InfoPane(m_post, context)),
      m_side(new InfoColumn(m_info)), m_pages(new QStackedLayout(this))
{
    setObjectName(QStringLiteral("PostDetailView"));
    setAutoFillBackground(true);
    // The column's backdrop shows through it.
    m_info->setAutoFillBackground(false);
    m_content = new QWidget;
    // Owned from the start: a post already gone never lays the column out.
    m_side->setParent(m_content);
    auto *row = new QHBoxLayout(m_content);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    m_pages->addWidget(m_content);
    buildToolbar();
    connect(m_info, &InfoPane::reparseRequested, this, &PostDetailView::reparseRequested);
    connect(m_info, &InfoPane::toastRequested, this, &PostDetailView::toastRequested);
    connect(&context, &ModelContext::changed, this, &PostDetailView::followStore);
    followStore();
    Theme::paintAndFollow(this, [this] { applyAppearance(); });
}

// The page and the column's backdrop are coloured here, again after each change of appearance.
void PostDetailView::applyAppearance()
{
    QPalette background = palette();
    background.setColor(QPalette::Window, Theme::background().resolved());
    setPalette(background);
    // Beside the media the column lies on a faint card; alone, on the page itself.
    QColor card = Theme::card().resolved();
    card.setAlphaF(m_media ? 0.35 : 0);
    QPalette column = m_side->viewport()->palette();
    column.setColor(QPalette::Base, card);
    m_side->viewport()->setPalette(column);
}

// Media may come (a parse, a download) or go (a sync) while the screen is
// open, and the author or the archive flag may change elsewhere: the
// screen follows them.
void PostDetailView::followStore()
{
    showDeletedPageIfGone();
    if (isPostGone())
        return;
    followTitle();
    showArchiveState();
    showMedia(liveMedia());
}

void PostDetailView::followTitle()
{
    const QString title = PostCard::authorText(*m_post);
    if (title == m_title)
        return;
    m_title = title;
    emit titleChanged();
}

void PostDetailView::showMedia(const QList<std::shared_ptr<Media>> &media)
{
    for (QWidget *save : {static_cast<QWidget *>(m_save), m_saveGap})
        save->setVisible(!media.isEmpty());
    if (media.isEmpty()) {
        if (m_media || m_content->layout()->count() == 0)
            layOutAlone();
        return;
    }
    if (!m_media)
        layOutWithMedia();
    m_media->setFileName(fileBase());
    if (m_media->media() != media)
        m_media->setMedia(media);
}

bool PostDetailView::isPostGone() const
{
    return m_post->isGone() || !m_post->context();
}

bool PostDetailView::isDeletedPageShown() const
{
    return m_deletedPage && m_pages->currentWidget() == m_deletedPage;
}

void PostDetailView::showDeletedPageIfGone()
{
    if (!isPostGone() || m_deletedPage)
        return;
    m_deletedPage = deletedPage();
    m_pages->addWidget(m_deletedPage);
    m_pages->setCurrentWidget(m_deletedPage);
    m_toolbarAction->setVisible(false);
    setFocusPolicy(Qt::ClickFocus);
}

void PostDetailView::buildToolbar()
{
    auto *group = new QWidget;
    auto *layout = new QHBoxLayout(group);
    layout->setContentsMargins(0, 0, 0, 0);
    const QString link = m_post->sourceURL();
    // Only web links leave for the browser; others could start local programs.
    if (PostMenu::isOpenable(link)) {
        m_open = toolButton(group, tr("打开原文"));
        m_open->setObjectName(QStringLiteral("OpenSource"));
        m_open->setToolTip(tr("在浏览器里打开原文"));
        connect(m_open, &QToolButton::clicked, this, [this, link] {
            if (!QDesktopServices::openUrl(QUrl(link)))
                emit toastRequested(tr("没有程序能打开 %1").arg(link));
        });
    }
    addSaveMenu(group);
    m_archiveButton = toolButton(group, {});
    m_archiveButton->setObjectName(QStringLiteral("Archive"));
    connect(m_archiveButton, &QToolButton::clicked, this, &PostDetailView::toggleArchive);
    m_more = toolButton(group, tr("更多"));
    m_more->setObjectName(QStringLiteral("More"));
    connect(m_more, &QToolButton::clicked, this, &PostDetailView::showPostMenu);
    m_remove = toolButton(group, tr("删除"));
    m_remove->setObjectName(QStringLiteral("Delete"));
    m_remove->setToolTip(tr("删除（Ctrl+Backspace），几秒内可以撤销"));
    connect(m_remove, &QToolButton::clicked, this, &PostDetailView::deletePost);
    Theme::followPalette(group, [this] { paintToolbarSymbols(); });
    m_toolbarAction = new QWidgetAction(this);
    m_toolbarAction->setDefaultWidget(group);
}

void PostDetailView::addSaveMenu(QWidget *group)
{
    m_save = toolButton(group, tr("保存"));
    m_save->setObjectName(QStringLiteral("Save"));
    m_save->setPopupMode(QToolButton::InstantPopup);
    auto *menu = new QMenu(m_save);
    menu->addAction(tr("保存当前图片…"), this,
                    [this] { DetachedTask::start(saveCurrent(), QStringLiteral("save"), tamselLog()); });
    menu->addAction(tr("导出全部图片和视频…"), this,
                    [this] { DetachedTask::start(exportAll(), QStringLiteral("export"), tamselLog()); });
    m_save->setMenu(menu);
    // The menu's arrow sits at the button's right edge: a little room keeps it off the next button.
    m_saveGap = new QWidget(group);
    m_saveGap->setFixedWidth(saveMenuGap);
    group->layout()->addWidget(m_saveGap);
}

// In the text colour of the appearance, drawn again after each change of it.
void PostDetailView::paintToolbarSymbols()
{
    const QList<std::pair<QToolButton *, QString>> symbols{
        {m_open, QStringLiteral("safari")},
        {m_save, QStringLiteral("square.and.arrow.down")},
        {m_archiveButton,
         m_post->isArchived() ? QStringLiteral("archivebox.fill") : QStringLiteral("archivebox")},
        {m_more, QStringLiteral("ellipsis.circle")},
        {m_remove, QStringLiteral("trash")}};
    // The group's colours are new before its buttons' are.
    const QColor ink = m_toolbarAction->defaultWidget()->palette().color(QPalette::ButtonText);
    for (const auto &[button, symbol] : symbols)
        if (button)
            button->setIcon(Symbol::pixmap(symbol, 16, ink, 1.3, 2));
}

void PostDetailView::showArchiveState()
{
    const bool archived = m_post->isArchived();
    m_archiveButton->setText(archived ? tr("取消归档") : tr("归档"));
    m_archiveButton->setToolTip(archived ? tr("取消归档（Ctrl+E）") : tr("归档（Ctrl+E）"));
    paintToolbarSymbols();
}

// Made afresh each time, so its labels show the post as it is now.
void PostDetailView::showPostMenu()
{
    auto *menu = new PostMenu(m_post, m_context, m_pendingDelete, this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    connect(menu, &PostMenu::toastRequested, this, &PostDetailView::toastRequested);
    connect(menu, &PostMenu::reparseRequested, this, &PostDetailView::reparseRequested);
    connect(menu, &PostMenu::privateRequested, this, &PostDetailView::privateRequested);
    connect(menu, &PostMenu::telegramRequested, this, &PostDetailView::telegramRequested);
    // It drops from the button, as the save menu does, wherever the pointer is.
    menu->popup(m_more->mapToGlobal(QPoint(0, m_more->height())));
}

void PostDetailView::toggleArchive()
{
    emit toastRequested(PostMenu::toggleArchive(*m_post, m_context));
    showArchiveState();
}

void PostDetailView::deletePost()
{
    const auto post = m_post;
    emit dismissRequested();
    m_pendingDelete.start({post}, deleteDelaySeconds);
}

QString PostDetailView::fileBase() const
{
    return MediaExport::fileBase(*m_post);
}

int PostDetailView::currentIndex() const
{
    return m_media ? m_media->index() : 0;
}

void PostDetailView::toggleQuickLook()
{
    if (quickLook()) {
        m_quickLook->close();
        return;
    }
    const auto media = liveMedia();
    const int index = currentIndex();
    if (index >= media.size())
        return;
    const QString name = MediaExport::itemName(fileBase(), index);
    if (!m_quickLook)
        m_quickLook = new QuickLookWindow(this);
    // Videos and songs play from the store's own file: no copy is made.
    if (QuickLookWindow::plays(*media.at(index))) {
        m_quickLook->showMedia(media.at(index), name + QLatin1Char('.') +
                                                    MediaExport::filePayload(*media.at(index))->extension);
        return;
    }
    const std::optional<QString> file = MediaExport::file(*media.at(index), name);
    if (!file) {
        emit toastRequested(tr("还没有下载完成"));
        return;
    }
    m_quickLook->showFile(*file);
}

std::optional<QString> PostDetailView::quickLook() const
{
    if (!m_quickLook || !m_quickLook->isVisible())
        return std::nullopt;
    return m_quickLook->file();
}

QCoro::Task<> PostDetailView::saveCurrent()
{
    const auto media = liveMedia();
    const int index = currentIndex();
    if (index >= media.size())
        co_return;
    std::optional<MediaExport::Payload> payload = MediaExport::savedPayload(*media.at(index));
    if (!payload) {
        emit toastRequested(tr("还没有下载完成"));
        co_return;
    }
    const QString name = MediaExport::itemName(fileBase(), index) + QLatin1Char('.') + payload->extension;
    const QString chosen = m_panels.saveFile(this, name, typeFilter(payload->extension));
    if (chosen.isEmpty())
        co_return;
    // Whatever the panel let through, the file carries its type's extension.
    const QString path = MediaExport::withExtension(chosen, payload->extension);
    const QPointer<PostDetailView> self(this);
    QString message = tr("已保存");
    try {
        QCoro::Task<> writing = MediaExport::writeInBackground(path, std::move(*payload));
        co_await std::move(writing);
    } catch (const FileError &error) {
        message = error.message();
    }
    if (self)
        emit self->toastRequested(message);
}

QCoro::Task<> PostDetailView::exportAll()
{
    const QString parent = m_panels.exportFolder(this);
    if (parent.isEmpty())
        co_return;
    const QPointer<PostDetailView> self(this);
    try {
        const QString folder = MediaExport::newFolder(parent, fileBase());
        QCoro::Task<int> writing = MediaExport::writeAll(liveMedia(), folder);
        const int written = co_await std::move(writing);
        const bool revealed = FileReveal::reveal(folder);
        if (self)
            emit self->toastRequested(
                revealed ? tr("已导出 %n 个文件", nullptr, written)
                         : tr("已导出 %n 个文件，没有程序能打开 %1", nullptr, written).arg(folder));
    } catch (const FileError &error) {
        if (self)
            emit self->toastRequested(error.message());
    }
}

QList<std::shared_ptr<Media>> PostDetailView::liveMedia() const
{
    QList<std::shared_ptr<Media>> live;
    for (const auto &item : m_post->sortedMedia())
        if (!item->isGone() && item->context())
            live.append(item);
    return live;
}

void PostDetailView::layOutWithMedia()
{
    clearContent();
    m_media = new MediaPane;
    auto *ring = new MediaFocusRing(m_media);
    // The ring follows the focus by itself: the screen loses the focus while
    // its destructor runs, when none of its own members may be used.
    const auto showRing = [ring, keyboard = m_keyboard] {
        ring->setVisible(keyboard->ringShown());
        ring->raise();
    };
    connect(m_keyboard, &KeyboardFocus::changed, ring, showRing);
    showRing();
    // With media to page through, Tab stops here too, shown by the ring.
    setFocusPolicy(Qt::StrongFocus);
    m_side->setFixedWidth(infoWidth);
    auto *layout = static_cast<QHBoxLayout *>(m_content->layout());
    layout->addWidget(m_media, 1);
    layout->addWidget(new Divider(Qt::Vertical));
    layout->addWidget(m_side);
    applyAppearance();
}

void PostDetailView::layOutAlone()
{
    clearContent();
    // Nothing to page: Tab passes the screen by, as it would show no focus.
    setFocusPolicy(Qt::ClickFocus);
    m_side->setMinimumWidth(0);
    m_side->setMaximumWidth(aloneMaximumWidth);
    auto *layout = static_cast<QHBoxLayout *>(m_content->layout());
    // The stretches share what is left beyond the column's maximum, centring it.
    layout->addStretch(1);
    layout->addWidget(m_side, 1000);
    layout->addStretch(1);
    applyAppearance();
}

// Empties the content row, keeping the information column for the next arrangement.
void PostDetailView::clearContent()
{
    while (QLayoutItem *item = m_content->layout()->takeAt(0)) {
        if (item->widget() && item->widget() != m_side) {
            item->widget()->hide();
            item->widget()->deleteLater();
        }
        delete item;
    }
    m_media = nullptr;
}

void PostDetailView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    setFocus();
}

void PostDetailView::keyPressEvent(QKeyEvent *event)
{
    if (isTextField(QApplication::focusWidget()) || isDeletedPageShown()) {
        QWidget::keyPressEvent(event);
        return;
    }
    const bool arrow = event->key() == Qt::Key_Left || event->key() == Qt::Key_Right;
    if (arrow) {
        if (m_media)
            m_media->go(event->key() == Qt::Key_Left ? -1 : +1);
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Space) {
        toggleQuickLook();
        event->accept();
        return;
    }
    // The preview does not take the keyboard, so its Escape arrives here.
    if (event->key() == Qt::Key_Escape && quickLook()) {
        m_quickLook->close();
        event->accept();
        return;
    }
    if (!handleCommandKey(event))
        QWidget::keyPressEvent(event);
}

// Ctrl+E and Ctrl+Backspace act only with Ctrl alone and never on repeat.
bool PostDetailView::handleCommandKey(const QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::ControlModifier || event->isAutoRepeat())
        return false;
    if (event->key() == Qt::Key_E) {
        toggleArchive();
        return true;
    }
    if (event->key() == Qt::Key_Backspace) {
        deletePost();
        return true;
    }
    return false;
}
