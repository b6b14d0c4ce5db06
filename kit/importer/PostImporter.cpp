#include "PostImporter.h"

#include "AuthorDirectory.h"
#include "Board.h"
#include "Clock.h"
#include "DetachedTask.h"
#include "ImageTools.h"
#include "ImportProgress.h"
#include "JSON.h"
#include "KepselHooks.h"
#include "KitLog.h"
#include "LinkExtractor.h"
#include "Media.h"
#include "MissingMediaDownload.h"
#include "ModelContext.h"
#include "ParseError.h"
#include "ParsedPost.h"
#include "Parsers.h"
#include "Post.h"
#include "SettingsKey.h"
#include "StoreError.h"
#include "Tag.h"
#include "TamselStore.h"
#include "Text.h"

#include <QCoro/QCoroTimer>
#include <QHash>
#include <chrono>

namespace {

const QString kTagColor = QStringLiteral("#D97757");

// Stored author names become account keys in line-separated lists.
QString singleLine(QString name)
{
    return name.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
}

bool sameShape(const QList<std::shared_ptr<Media>> &existing, const QList<ParsedMedia> &parsed)
{
    if (existing.isEmpty() || existing.size() != parsed.size())
        return false;
    for (qsizetype i = 0; i < parsed.size(); ++i)
        if (existing[i]->kind() != parsed[i].kind)
            return false;
    return true;
}

void fill(Media &media, const ParsedMedia &item, int order)
{
    media.setKind(item.kind);
    media.setOrder(order);
    media.setVideoRemoteURL(item.videoURL.value_or(QString()));
    if (item.width.value_or(0) > 0 && item.height.value_or(0) > 0) {
        media.setWidth(*item.width);
        media.setHeight(*item.height);
    }
    if (item.duration)
        media.setDuration(*item.duration);
}

QList<std::shared_ptr<Media>> liveMedia(const Post &post)
{
    QList<std::shared_ptr<Media>> live;
    for (const auto &media : post.sortedMedia())
        if (!media->isGone())
            live.append(media);
    return live;
}

} // namespace

PostImporter::PostImporter(ModelContext &context, HTTPClient http)
    : m_context(context), m_http(std::move(http))
{
}

PostImporter::Enqueued PostImporter::enqueueText(const QString &text, bool downloadVideos)
{
    Enqueued result = createPending(text);
    if (result.isNew) {
        ImportProgress::shared().startParsing(result.post->id());
        DetachedTask::start(refreshSoon(result.post, downloadVideos), QStringLiteral("import"), tamselLog());
    }
    return result;
}

QCoro::Task<std::shared_ptr<Post>> PostImporter::importText(QString text, bool downloadVideos)
{
    const Enqueued result = createPending(text);
    if (result.isNew)
        co_await refresh(result.post, downloadVideos);
    co_return result.post;
}

PostImporter::Enqueued PostImporter::createPending(const QString &text)
{
    const std::optional<QUrl> url = LinkExtractor::firstURL(text);
    if (!url)
        throw ParseError::noURL();
    const QString link = url->toString(QUrl::FullyEncoded);
    if (!TamselStore::defaults().boolValue(SettingsKey::allowDuplicates)) {
        if (auto saved = find(link))
            return {saved, false};
    }
    auto post = std::make_shared<Post>(link, Platform::detect(*url));
    m_context.insert(post);
    save();
    return {post, true};
}

std::shared_ptr<Post> PostImporter::find(const QString &link) const
{
    FetchDescriptor<Post> descriptor;
    descriptor.predicate = [&link](const Post &post) { return post.sourceURL() == link; };
    descriptor.limit = 1;
    const auto found = m_context.fetch(descriptor);
    return found.isEmpty() ? nullptr : found.first();
}

// Begins once the caller's turn of the event loop is over.
QCoro::Task<> PostImporter::refreshSoon(std::shared_ptr<Post> post, bool downloadVideos)
{
    co_await QCoro::sleepFor(std::chrono::milliseconds(0));
    if (post->isGone())
        ImportProgress::shared().finish(post->id());
    else
        co_await refresh(post, downloadVideos);
}

QCoro::Task<> PostImporter::refresh(std::shared_ptr<Post> post, bool downloadVideos)
{
    if (!post || post->isGone())
        co_return;
    const QUrl url(post->sourceURL());
    const QUuid id = post->id();
    if (!url.isValid() || url.isEmpty() || m_inFlight.contains(id))
        co_return;
    m_inFlight.insert(id);
    const auto release = qScopeGuard([this, id] { m_inFlight.remove(id); });
    ImportProgress::shared().startParsing(id);
    co_await parseAndStore(post, url);
    if (post->isGone()) {
        ImportProgress::shared().finish(id);
        co_return;
    }
    co_await downloadMissingMedia(post, downloadVideos);
    if (!post->isGone())
        co_await KepselHooks::ready(*this, post);
}

QCoro::Task<> PostImporter::parseAndStore(std::shared_ptr<Post> post, QUrl url)
{
    const QString stateBefore = post->parseStateRaw();
    std::optional<ParsedPost> parsed;
    QString failure;
    try {
        parsed = co_await Parsers::parse(url, m_http);
    } catch (const JSONError &error) {
        // The user is told the answer could not be read; the log keeps why.
        qCWarning(tamselLog, "unreadable answer for %s: %s", qUtf8Printable(url.toString(QUrl::FullyEncoded)),
                  qUtf8Printable(error.detail()));
        failure = error.message();
    } catch (const std::exception &error) {
        failure = QString::fromUtf8(error.what());
    }
    if (post->isGone())
        co_return;
    if (parsed)
        storeParsed(*parsed, post, stateBefore);
    else
        storeFailure(*post, failure);
}

void PostImporter::storeParsed(const ParsedPost &parsed, const std::shared_ptr<Post> &post,
                               const QString &stateBefore)
{
    apply(parsed, post);
    post->setParseState(ParseState::parsed);
    post->setParseError(QString());
    // Filed once, when it first becomes parsed: a user who took it off a
    // board later does not see it come back on every re-parse.
    if (stateBefore != ParseStates::rawValue(ParseState::parsed))
        fileIntoLinkedBoards(post);
    post->setUpdatedAt(Clock::now());
    save();
}

// Title, text and media of an earlier parse stay.
void PostImporter::storeFailure(Post &post, const QString &message)
{
    post.setParseState(ParseState::failed);
    post.setParseError(message);
    qCCritical(tamselLog, "parse failed %s: %s", qUtf8Printable(post.sourceURL()), qUtf8Printable(message));
    post.setUpdatedAt(Clock::now());
    save();
}

std::shared_ptr<Post> PostImporter::createNote(const QString &text, const QList<QByteArray> &images,
                                               const QList<std::shared_ptr<Tag>> &tags)
{
    auto post = std::make_shared<Post>(QString(), Platform::local);
    post->setNote(text);
    post->setParseState(ParseState::parsed);
    m_context.insert(post);
    for (qsizetype i = 0; i < images.size(); ++i) {
        auto media = std::make_shared<Media>(MediaKind::image, int(i));
        media->setImage(images[i]);
        if (const auto size = ImageTools::pixelSize(images[i])) {
            media->setWidth(size->width());
            media->setHeight(size->height());
        }
        media->setPost(post);
        m_context.insert(media);
    }
    post->setTags(tags);
    save();
    DetachedTask::start(announceSoon(post), QStringLiteral("postReady"), tamselLog());
    return post;
}

QCoro::Task<> PostImporter::announceSoon(std::shared_ptr<Post> post)
{
    co_await QCoro::sleepFor(std::chrono::milliseconds(0));
    if (!post->isGone())
        co_await KepselHooks::ready(*this, post);
}

QSet<QUuid> PostImporter::hold(const QList<QUuid> &ids)
{
    QSet<QUuid> taken;
    for (const QUuid &id : ids) {
        if (!m_inFlight.contains(id)) {
            m_inFlight.insert(id);
            taken.insert(id);
        }
    }
    return taken;
}

std::shared_ptr<Tag> PostImporter::tag(const QString &named)
{
    return tag(named, m_context);
}

std::shared_ptr<Tag> PostImporter::tag(const QString &named, ModelContext &context)
{
    const QString name = Text::trimmingWhitespaceAndNewlines(named);
    FetchDescriptor<Tag> descriptor;
    descriptor.predicate = [&name](const Tag &tag) { return tag.name() == name; };
    descriptor.limit = 1;
    const auto found = context.fetch(descriptor);
    if (!found.isEmpty())
        return found.first();
    auto created = std::make_shared<Tag>(name, kTagColor);
    context.insert(created);
    return created;
}

void PostImporter::apply(const ParsedPost &parsed, const std::shared_ptr<Post> &post)
{
    post->setPlatform(parsed.platform);
    post->setTitle(parsed.title);
    post->setContent(parsed.content);
    post->setAuthorName(singleLine(parsed.authorName));
    post->setAuthorAvatarURL(ParsedMedia::normalizedLink(parsed.authorAvatar));
    post->setPublishedAt(parsed.publishedAt);

    const QList<std::shared_ptr<Media>> existing = liveMedia(*post);
    const bool keepPositions = sameShape(existing, parsed.media);
    QHash<QString, std::shared_ptr<Media>> byLink;
    for (const auto &media : existing)
        if (!byLink.contains(media->remoteURL()))
            byLink.insert(media->remoteURL(), media);

    QList<std::shared_ptr<Media>> chosen;
    QSet<const Media *> kept;
    for (qsizetype i = 0; i < parsed.media.size(); ++i) {
        const ParsedMedia &item = parsed.media[i];
        std::shared_ptr<Media> media = keepPositions ? existing[i] : byLink.value(item.url);
        // A link listed twice gets a record of its own for the second place.
        if (!media || kept.contains(media.get())) {
            media = std::make_shared<Media>(item.kind, int(i));
            m_context.insert(media);
        }
        media->setRemoteURL(item.url);
        fill(*media, item, int(i));
        chosen.append(media);
        kept.insert(media.get());
    }
    for (const auto &media : post->media())
        if (!kept.contains(media.get()))
            m_context.remove(media);
    post->setMedia(chosen);
}

void PostImporter::fileIntoLinkedBoards(const std::shared_ptr<Post> &post)
{
    if (post->authorName().isEmpty())
        return;
    FetchDescriptor<Board> linked;
    linked.predicate = [](const Board &board) { return !board.authorsRaw().isEmpty(); };
    const auto boards = m_context.fetch(linked);
    if (boards.isEmpty())
        return;
    const AuthorDirectory directory(m_context);
    for (const auto &board : boards) {
        QList<std::shared_ptr<Board>> current = post->boards();
        if (board->links(*post, directory) && !current.contains(board)) {
            current.append(board);
            post->setBoards(current);
        }
    }
}

QCoro::Task<> PostImporter::downloadMissingMedia(std::shared_ptr<Post> post, bool videos)
{
    MissingMediaDownload download(*this, post, videos);
    co_await download.run();
}

QCoro::Task<> PostImporter::repairAll(bool videos)
{
    const auto posts = m_context.fetch(FetchDescriptor<Post>{});
    for (const auto &post : posts) {
        // An earlier post's refresh may have outlived this one.
        if (!post->isGone())
            co_await repair(post, videos);
    }
}

// Failed posts are not parsed again here: only an explicit refresh does that.
QCoro::Task<> PostImporter::repair(std::shared_ptr<Post> post, bool videos)
{
    if (post->platformRaw() == Platform(Platform::local).rawValue())
        co_return;
    const QString state = post->parseStateRaw();
    const bool settled = state == ParseStates::rawValue(ParseState::parsed) ||
                         state == ParseStates::rawValue(ParseState::failed);
    if (!settled) {
        co_await refresh(post, videos);
        co_return;
    }
    const QUuid id = post->id();
    if (m_inFlight.contains(id) || !MissingMediaDownload::isNeeded(*post, videos))
        co_return;
    m_inFlight.insert(id);
    const auto release = qScopeGuard([this, id] { m_inFlight.remove(id); });
    co_await downloadMissingMedia(post, videos);
}

void PostImporter::save()
{
    try {
        m_context.save();
    } catch (const StoreError &) {
    }
}
