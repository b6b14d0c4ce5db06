#pragma once

#include "HTTPClient.h"

#include <QByteArray>
#include <QList>
#include <QScopeGuard>
#include <QSet>
#include <QString>
#include <QUrl>
#include <QUuid>
#include <QCoro/QCoroTask>
#include <memory>
#include <type_traits>

class Media;
class ModelContext;
class Post;
class Tag;
struct ParsedPost;

// Turns links into stored posts: finds the link in a pasted text, refuses a
// link already saved (unless duplicates are allowed), parses the post, applies
// the result, files it into its author's boards, downloads its media and tells
// the plug-ins. One importer lives on the main thread for the whole process.
//
// A post is worked on by one operation at a time: refresh, holding and the
// repair pass share one in-flight set of post ids. A post deleted while an
// operation waits is left alone from then on.
class PostImporter {
public:
    struct Enqueued {
        std::shared_ptr<Post> post;
        // False when the link was already saved and that post is returned.
        bool isNew = false;
    };

    PostImporter(ModelContext &context, HTTPClient http);

    ModelContext &context() const { return m_context; }

    // Saves a pending post for the text's first web link and parses it in the
    // background, after the caller's turn of the event loop. Throws
    // ParseError::noURL for a text without a link, storing nothing.
    Enqueued enqueueText(const QString &text, bool downloadVideos);
    // The same, but waits for the parse and media and returns the post as the
    // refresh left it; a link already saved returns that post at once.
    QCoro::Task<std::shared_ptr<Post>> importText(QString text, bool downloadVideos);
    // The first post saved from exactly this link text.
    std::shared_ptr<Post> find(const QString &link) const;
    // Parses the post again, stores the result (or the failure, keeping the
    // earlier content), downloads what is missing and runs the postReady
    // hooks. Does nothing for a post without a web link or one in flight.
    QCoro::Task<> refresh(std::shared_ptr<Post> post, bool downloadVideos);
    // A local note with the given images (in order) and tags, already parsed.
    std::shared_ptr<Post> createNote(const QString &text, const QList<QByteArray> &images,
                                     const QList<std::shared_ptr<Tag>> &tags);
    // Keeps refreshes and the repair pass away from the posts while `body`
    // runs; ids already in flight before stay in flight after.
    template <typename Body, typename Result = std::invoke_result_t<Body>>
    Result holding(QList<QUuid> ids, Body body)
    {
        const QSet<QUuid> taken = hold(ids);
        const auto release = qScopeGuard([this, taken] { m_inFlight.subtract(taken); });
        co_return co_await body();
    }
    // The tag of the trimmed name, created (unsaved) when there is none.
    std::shared_ptr<Tag> tag(const QString &named);
    // The same in any context, for views that hold no importer.
    static std::shared_ptr<Tag> tag(const QString &named, ModelContext &context);

    // Copies the parsed fields into the post and rebuilds its media, keeping
    // the records (and their downloaded files) of media that are still there:
    // by position when count and kinds are unchanged, else by remote link.
    void apply(const ParsedPost &parsed, const std::shared_ptr<Post> &post);
    // Adds the post to every board linked to its author's person.
    void fileIntoLinkedBoards(const std::shared_ptr<Post> &post);

    // Fetches the post's missing images (and videos when asked), one after
    // the other, saving after each and reporting progress; always ends the
    // post's progress.
    QCoro::Task<> downloadMissingMedia(std::shared_ptr<Post> post, bool videos);
    // Parses pending posts again and fetches the missing media of parsed and
    // failed ones; notes and posts in flight are left alone.
    QCoro::Task<> repairAll(bool videos);

private:
    friend class MissingMediaDownload;

    Enqueued createPending(const QString &text);
    QCoro::Task<> refreshSoon(std::shared_ptr<Post> post, bool downloadVideos);
    QCoro::Task<> parseAndStore(std::shared_ptr<Post> post, QUrl url);
    void storeParsed(const ParsedPost &parsed, const std::shared_ptr<Post> &post, const QString &stateBefore);
    void storeFailure(Post &post, const QString &message);
    QCoro::Task<> announceSoon(std::shared_ptr<Post> post);
    QCoro::Task<> repair(std::shared_ptr<Post> post, bool videos);
    QSet<QUuid> hold(const QList<QUuid> &ids);
    // Save errors leave the changes in the context for the next save.
    void save();

    ModelContext &m_context;
    HTTPClient m_http;
    QSet<QUuid> m_inFlight;
};
