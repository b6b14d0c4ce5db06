#pragma once

#include "MediaDownloader.h"

#include <QObject>
#include <QUuid>
#include <QCoro/QCoroTask>
#include <memory>

class Cancellation;
class Media;
class Post;
class PostImporter;

// One pass over the media of a post that still lack their files: images,
// and videos when asked, fetched one after the other in display order, each
// stored and saved as it arrives, with the post's progress shown throughout.
// A file that fails is logged and left for the next pass. When the post or
// a medium is deleted meanwhile, its download is cancelled and nothing more
// is stored for it.
class MissingMediaDownload {
public:
    MissingMediaDownload(PostImporter &importer, std::shared_ptr<Post> post, bool videos);

    // Whether any medium of the post lacks a file this pass would fetch.
    static bool isNeeded(const Post &post, bool videos);

    QCoro::Task<> run();

private:
    QCoro::Task<> fetchImage(std::shared_ptr<Media> media, bool withProgress);
    QCoro::Task<> fetchVideo(std::shared_ptr<Media> media);
    MediaDownloader::Progress progressOf(const Media &media) const;
    // Makes the medium the one whose deletion cancels the file in flight.
    void watch(const std::shared_ptr<Media> &media);
    // Cancels the file in flight when its post or medium was deleted.
    void cancelIfGone();
    bool isGone(const Media &media) const;

    PostImporter &m_importer;
    std::shared_ptr<Post> m_post;
    QUuid m_postID;
    Platform m_platform;
    bool m_videos;
    std::shared_ptr<Media> m_current;
    std::shared_ptr<Cancellation> m_cancellation;
    // Ends the watch on the context together with the pass.
    QObject m_watch;
};
