#include "MacModel.h"

#include "Board.h"
#include "Clock.h"
#include "ErrorMessage.h"
#include "LinkExtractor.h"
#include "ModelContainer.h"
#include "Pasteboard.h"
#include "Post.h"
#include "PostImporter.h"
#include "QuietSave.h"
#include "ReadableLink.h"
#include "Tag.h"
#include "UndoableDelete.h"

#include <QSet>

namespace {

// Share texts are a few lines; a clipboard of megabytes holds no link to
// save, and searching it would stall the interface.
constexpr qsizetype clipboardTextLimit = 100'000;

QString clipboardText()
{
    const QString text = Pasteboard::general().string();
    return text.size() > clipboardTextLimit ? QString() : text;
}

// As the importer stores it, so a lookup finds the saved post.
QString absoluteText(const QUrl &url)
{
    return url.toString(QUrl::FullyEncoded);
}

QString hostOrLink(const QUrl &url)
{
    const QString host = ReadableLink::host(url);
    return host.isEmpty() ? absoluteText(url) : host;
}

template <typename T>
bool appendMissing(Post &post, QList<std::shared_ptr<T>> list, const std::shared_ptr<T> &item,
                   void (Post::*set)(const QList<std::shared_ptr<T>> &))
{
    if (list.contains(item))
        return false;
    list.append(item);
    (post.*set)(list);
    return true;
}

} // namespace

std::shared_ptr<Post> MacModel::importText(const QString &text)
{
    PostImporter::Enqueued enqueued;
    try {
        enqueued = m_importer->enqueueText(text, downloadVideos());
    } catch (const std::exception &error) {
        show(errorMessage(error));
        return nullptr;
    }
    show(enqueued.isNew ? tr("已收藏，正在解析…") : tr("已经收藏过了"));
    startDetached(syncSoon(m_delays.syncAfterSave, false), QStringLiteral("sync"));
    return enqueued.post;
}

void MacModel::checkClipboard()
{
    const int changeCount = Pasteboard::general().changeCount();
    if (changeCount == m_lastChangeCount)
        return;
    m_lastChangeCount = changeCount;
    const QString text = clipboardText();
    const std::optional<QUrl> link = LinkExtractor::firstURL(text);
    // A saved link is never offered again, even where duplicates are allowed.
    if (link && !m_importer->find(absoluteText(*link)))
        setClipboardLink(text);
    else
        setClipboardLink(std::nullopt);
}

void MacModel::collectClipboard()
{
    const QString text = m_clipboardLink.value_or(clipboardText());
    setClipboardLink(std::nullopt);
    m_lastChangeCount = Pasteboard::general().changeCount();
    if (text.isEmpty())
        show(tr("剪贴板里没有链接"));
    else
        importText(text);
}

MacModel::MenuBarResult MacModel::collectFromMenuBar()
{
    const QString text = clipboardText();
    const std::optional<QUrl> link = LinkExtractor::firstURL(text);
    if (!link)
        return MenuBarResult::noLink();
    PostImporter::Enqueued enqueued;
    try {
        enqueued = m_importer->enqueueText(text, downloadVideos());
    } catch (const std::exception &error) {
        return MenuBarResult::failed(errorMessage(error));
    }
    setClipboardLink(std::nullopt);
    m_lastChangeCount = Pasteboard::general().changeCount();
    if (!enqueued.isNew)
        return MenuBarResult::duplicate();
    startDetached(syncSoon(m_delays.syncAfterSave, false), QStringLiteral("sync"));
    return MenuBarResult::saved(hostOrLink(*link));
}

std::optional<QString> MacModel::clipboardPreview() const
{
    const std::optional<QUrl> link = LinkExtractor::firstURL(clipboardText());
    if (!link || m_importer->find(absoluteText(*link)))
        return std::nullopt;
    return hostOrLink(*link);
}

bool MacModel::file(const QList<QUuid> &ids, const SidebarItem &into)
{
    const QSet<QUuid> wanted(ids.cbegin(), ids.cend());
    FetchDescriptor<Post> descriptor;
    descriptor.predicate = [&](const Post &post) {
        return wanted.contains(post.id()) && !m_pendingDelete->isHidden(post);
    };
    const auto posts = m_container->mainContext().fetch(descriptor);
    if (posts.isEmpty())
        return false;
    const QDateTime now = Clock::now();
    const int count = int(posts.size());
    QString message;
    if (const auto tag = into.tagObject(); tag && !tag->isGone()) {
        for (const auto &post : posts) {
            if (appendMissing(*post, post->tags(), tag, &Post::setTags))
                post->setUpdatedAt(now);
        }
        message = posts.size() == 1 ? tr("已添加标签 #%1").arg(tag->name())
                                    : tr("%n 条已添加标签 #%1", nullptr, count).arg(tag->name());
    } else if (const auto board = into.boardObject(); board && !board->isGone()) {
        for (const auto &post : posts) {
            if (appendMissing(*post, post->boards(), board, &Post::setBoards))
                post->setUpdatedAt(now);
        }
        message = posts.size() == 1 ? tr("已加入合集「%1」").arg(board->name())
                                    : tr("%n 条已加入合集「%1」", nullptr, count).arg(board->name());
    } else if (into.kind() == SidebarItem::Kind::archived) {
        for (const auto &post : posts) {
            if (!post->isArchived()) {
                post->setIsArchived(true);
                post->setUpdatedAt(now);
            }
        }
        message = posts.size() == 1 ? tr("已归档") : tr("已归档 %n 条", nullptr, count);
    } else {
        return false;
    }
    show(message);
    saveQuietly(m_container->mainContext());
    return true;
}
