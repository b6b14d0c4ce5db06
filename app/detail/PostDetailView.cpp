#include "PostDetailView.h"

#include "FileError.h"
#include "FileReveal.h"
#include "InfoPane.h"
#include "Media.h"
#include "MediaExport.h"
#include "MediaPane.h"
#include "ModelContext.h"
#include "Post.h"
#include "PostMenu.h"
#include "QuickLookWindow.h"
#include "Symbol.h"
#include "Theme.h"
#include "UndoableDelete.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
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

QScrollArea *scrolling(QWidget *content)
{
    auto *area = new QScrollArea;
    area->setWidget(content);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return area;
}

bool isTextField(const QWidget *widget)
{
    return qobject_cast<const QLineEdit *>(widget) || qobject_cast<const QPlainTextEdit *>(widget) ||
           qobject_cast<const QTextEdit *>(widget);
}

QToolButton *toolButton(QWidget *group, const QString &text, const QString &symbol = {})
{
    auto *button = new QToolButton(group);
    button->setText(text);
    button->setAutoRaise(true);
    if (!symbol.isEmpty()) {
        button->setIcon(Symbol::pixmap(symbol, 16, group->palette().color(QPalette::WindowText), 1.3, 2));
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    }
    group->layout()->addWidget(button);
    return button;
}

QString typeFilter(const QString &extension)
{
    if (extension == QStringLiteral("mp4"))
        return PostDetailView::tr("MPEG-4 影片 (*.mp4)");
    if (extension == QStringLiteral("mp3"))
        return PostDetailView::tr("MP3 音频 (*.mp3)");
    return PostDetailView::tr("JPEG 图像 (*.jpg *.jpeg)");
}

QWidget *deletedPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    auto *icon = new QLabel;
    icon->setPixmap(Symbol::pixmap(QStringLiteral("trash"), 48,
                                   page->palette().color(QPalette::PlaceholderText), 1,
                                   page->devicePixelRatioF()));
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
      m_info(new InfoPane(m_post, context)), m_pages(new QStackedLayout(this))
{
    setObjectName(QStringLiteral("PostDetailView"));
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, Theme::background().resolved());
    setPalette(background);
    m_pages->addWidget(makeContent());
    buildToolbar();
    connect(m_info, &InfoPane::reparseRequested, this, &PostDetailView::reparseRequested);
    connect(m_info, &InfoPane::toastRequested, this, &PostDetailView::toastRequested);
    connect(&context, &ModelContext::changed, this, &PostDetailView::showDeletedPageIfGone);
    showDeletedPageIfGone();
}

QWidget *PostDetailView::makeContent()
{
    auto *content = new QWidget;
    const auto media = liveMedia();
    if (media.isEmpty()) {
        layOutAlone(content);
        return content;
    }
    m_media = new MediaPane;
    m_media->setFileName(fileBase());
    m_media->setMedia(media);
    layOutWithMedia(content);
    return content;
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
}

void PostDetailView::buildToolbar()
{
    auto *group = new QWidget;
    auto *layout = new QHBoxLayout(group);
    layout->setContentsMargins(0, 0, 0, 0);
    const QString link = m_post->sourceURL();
    // Only web links leave for the browser; others could start local programs.
    if (PostMenu::isOpenable(link)) {
        QToolButton *open = toolButton(group, tr("打开原文"), QStringLiteral("globe"));
        open->setObjectName(QStringLiteral("OpenSource"));
        open->setToolTip(tr("在浏览器里打开原文"));
        connect(open, &QToolButton::clicked, this, [link] { QDesktopServices::openUrl(QUrl(link)); });
    }
    if (!liveMedia().isEmpty())
        addSaveMenu(group);
    m_archiveButton = toolButton(group, {}, QStringLiteral("archivebox"));
    m_archiveButton->setObjectName(QStringLiteral("Archive"));
    connect(m_archiveButton, &QToolButton::clicked, this, &PostDetailView::toggleArchive);
    showArchiveState();
    QToolButton *more = toolButton(group, tr("更多"));
    more->setObjectName(QStringLiteral("More"));
    connect(more, &QToolButton::clicked, this, &PostDetailView::showPostMenu);
    QToolButton *remove = toolButton(group, tr("删除"), QStringLiteral("trash"));
    remove->setObjectName(QStringLiteral("Delete"));
    remove->setToolTip(tr("删除（Ctrl+Backspace），几秒内可以撤销"));
    connect(remove, &QToolButton::clicked, this, &PostDetailView::deletePost);
    m_toolbarAction = new QWidgetAction(this);
    m_toolbarAction->setDefaultWidget(group);
}

void PostDetailView::addSaveMenu(QWidget *group)
{
    QToolButton *save = toolButton(group, tr("保存"));
    save->setObjectName(QStringLiteral("Save"));
    save->setPopupMode(QToolButton::InstantPopup);
    auto *menu = new QMenu(save);
    menu->addAction(tr("保存当前图片…"), this, &PostDetailView::saveCurrent);
    menu->addAction(tr("导出全部图片和视频…"), this, &PostDetailView::exportAll);
    save->setMenu(menu);
}

void PostDetailView::showArchiveState()
{
    const bool archived = m_post->isArchived();
    m_archiveButton->setText(archived ? tr("取消归档") : tr("归档"));
    m_archiveButton->setToolTip(archived ? tr("取消归档（Ctrl+E）") : tr("归档（Ctrl+E）"));
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
    menu->popup(QCursor::pos());
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
    const std::optional<QString> file =
        MediaExport::file(*media.at(index), MediaExport::itemName(fileBase(), index));
    if (!file) {
        emit toastRequested(tr("还没有下载完成"));
        return;
    }
    if (!m_quickLook)
        m_quickLook = new QuickLookWindow(this);
    m_quickLook->showFile(*file);
}

std::optional<QString> PostDetailView::quickLook() const
{
    if (!m_quickLook || !m_quickLook->isVisible())
        return std::nullopt;
    return m_quickLook->file();
}

void PostDetailView::saveCurrent()
{
    const auto media = liveMedia();
    const int index = currentIndex();
    if (index >= media.size())
        return;
    const std::optional<MediaExport::Payload> payload = MediaExport::savedPayload(*media.at(index));
    if (!payload) {
        emit toastRequested(tr("还没有下载完成"));
        return;
    }
    const QString name = MediaExport::itemName(fileBase(), index) + QLatin1Char('.') + payload->extension;
    const QString path = m_panels.saveFile(this, name, typeFilter(payload->extension));
    if (path.isEmpty())
        return;
    try {
        MediaExport::write(path, payload->bytes);
        emit toastRequested(tr("已保存"));
    } catch (const FileError &error) {
        emit toastRequested(error.message());
    }
}

void PostDetailView::exportAll()
{
    const QString parent = m_panels.exportFolder(this);
    if (parent.isEmpty())
        return;
    try {
        const QString folder = MediaExport::newFolder(parent, fileBase());
        const int written = MediaExport::writeAll(liveMedia(), folder);
        emit toastRequested(tr("已导出 %n 个文件", nullptr, written));
        FileReveal::reveal(folder);
    } catch (const FileError &error) {
        emit toastRequested(error.message());
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

void PostDetailView::layOutWithMedia(QWidget *content)
{
    auto *side = scrolling(m_info);
    side->setFixedWidth(infoWidth);
    QColor card = Theme::card().resolved();
    card.setAlphaF(0.35);
    side->setStyleSheet(QStringLiteral("QScrollArea, QScrollArea > QWidget > QWidget { background: %1; }")
                            .arg(card.name(QColor::HexArgb)));
    auto *line = new QFrame;
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Plain);
    line->setStyleSheet(QStringLiteral("color: rgba(0,0,0,30);"));
    auto *layout = new QHBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_media, 1);
    layout->addWidget(line);
    layout->addWidget(side);
}

void PostDetailView::layOutAlone(QWidget *content)
{
    auto *column = scrolling(m_info);
    column->setMaximumWidth(aloneMaximumWidth);
    auto *layout = new QHBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    // The stretches share what is left beyond the column's maximum, centring it.
    layout->addStretch(1);
    layout->addWidget(column, 1000);
    layout->addStretch(1);
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
