#include "PostMenu.h"

#include "AuthorAccount.h"
#include "Board.h"
#include "MenuText.h"
#include "NameOrder.h"
#include "ModelContext.h"
#include "Pasteboard.h"
#include "Post.h"
#include "QuietSave.h"
#include "StarAuthorButton.h"
#include "Tag.h"
#include "TelegramSync.h"
#include "UndoableDelete.h"

#include <QDesktopServices>
#include <QUrl>

namespace {

constexpr double deleteDelaySeconds = 5;

bool parsesAsLink(const QString &link)
{
    return !link.isEmpty() && QUrl(link, QUrl::StrictMode).isValid();
}

template <class Record> QList<std::shared_ptr<Record>> related(const Post &post);
template <> QList<std::shared_ptr<Tag>> related(const Post &post)
{
    return post.tags();
}
template <> QList<std::shared_ptr<Board>> related(const Post &post)
{
    return post.boards();
}
void setRelated(Post &post, const QList<std::shared_ptr<Tag>> &tags)
{
    post.setTags(tags);
}
void setRelated(Post &post, const QList<std::shared_ptr<Board>> &boards)
{
    post.setBoards(boards);
}

} // namespace

PostMenu::PostMenu(std::shared_ptr<Post> post, ModelContext &context, UndoableDelete &pendingDelete,
                   QWidget *parent)
    : QMenu(parent), m_post(std::move(post)), m_context(context), m_pendingDelete(pendingDelete)
{
    if (!m_post || m_post->isGone())
        return;
    addLinkActions();
    addToggles(tr("标签"), m_context.fetch<Tag>({{}, NameOrder::less<Tag>}));
    addToggles(tr("合集"), m_context.fetch<Board>({{}, [](const Board &a, const Board &b) {
                                                       return a.createdAt() < b.createdAt();
                                                   }}));
    if (!m_post->authorName().isEmpty())
        addAction(
            StarAuthorButton::menuAction(AuthorAccount::fromPost(*m_post), m_context, this,
                                         [this](const QString &message) { emit toastRequested(message); }));
    addArchive();
    const bool isPrivate = m_post->isPrivate();
    addAction(isPrivate ? tr("移出隐私空间") : tr("移到隐私空间"), this,
              [this, isPrivate] { emit privateRequested(m_post, !isPrivate); });
    addChannel();
    addSeparator();
    addAction(tr("删除"), this, [this] { m_pendingDelete.start({m_post}, deleteDelaySeconds); });
}

bool PostMenu::isOpenable(const QString &link)
{
    if (!parsesAsLink(link))
        return false;
    const QString scheme = QUrl(link).scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

void PostMenu::addLinkActions()
{
    const QString link = m_post->sourceURL();
    if (!parsesAsLink(link))
        return;
    if (isOpenable(link))
        addAction(tr("打开原文"), this, [link] { QDesktopServices::openUrl(QUrl(link)); });
    addAction(tr("复制链接"), this, [this, link] {
        Pasteboard::general().setString(link);
        emit toastRequested(tr("已复制链接"));
    });
    addAction(tr("重新解析"), this, [this] { emit reparseRequested(m_post); });
    addSeparator();
}

template <class Record>
void PostMenu::addToggles(const QString &title, const QList<std::shared_ptr<Record>> &records)
{
    QMenu *submenu = addMenu(title);
    const QList<std::shared_ptr<Record>> current = related<Record>(*m_post);
    for (const std::shared_ptr<Record> &record : records) {
        if (record->isGone())
            continue;
        QAction *toggle = submenu->addAction(menuText(record->name()));
        toggle->setCheckable(true);
        toggle->setChecked(current.contains(record));
        connect(toggle, &QAction::toggled, this, [this, record](bool on) {
            QList<std::shared_ptr<Record>> list = related<Record>(*m_post);
            if (on)
                list.append(record);
            else
                list.removeAll(record);
            setRelated(*m_post, list);
            save();
        });
    }
}

void PostMenu::addArchive()
{
    addAction(m_post->isArchived() ? tr("取消归档") : tr("归档"), this,
              [this] { emit toastRequested(toggleArchive(*m_post, m_context)); });
}

QString PostMenu::toggleArchive(Post &post, ModelContext &context)
{
    post.setIsArchived(!post.isArchived());
    saveQuietly(context);
    return post.isArchived() ? tr("已归档") : tr("已取消归档");
}

void PostMenu::addChannel()
{
    if (!TelegramSync::config() || m_post->isPrivate())
        return;
    addAction(m_post->telegramSyncedAt() ? tr("重新同步到 Telegram") : tr("同步到 Telegram"), this,
              [this] { emit telegramRequested(m_post); });
}

void PostMenu::save()
{
    saveQuietly(m_context);
}
