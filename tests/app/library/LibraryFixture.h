#pragma once

#include "Board.h"
#include "Media.h"
#include "ModelContainer.h"
#include "Post.h"
#include "Tag.h"
#include "TamselStore.h"
#include "TestHome.h"
#include "TestImages.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QThreadPool>
#include <memory>

// A real store on disk in the test's own home, and posts made for the views.
class LibraryFixture : public HomeTest {
protected:
    std::shared_ptr<Post> addPost(const QString &title, Platform platform = Platform::weibo,
                                  const QString &author = QStringLiteral("林"))
    {
        auto post =
            std::make_shared<Post>(QStringLiteral("https://example.com/%1").arg(++m_serial), platform);
        post->setTitle(title);
        post->setAuthorName(author);
        post->setCreatedAt(QDateTime(QDate(2026, 1, 1), QTime(0, 0)).addSecs(m_serial * 60));
        post->setParseState(ParseState::parsed);
        context.insert(post);
        return post;
    }
    std::shared_ptr<Tag> addTag(const QString &name, const QString &color = QStringLiteral("#2980B9"))
    {
        auto tag = std::make_shared<Tag>(name, color);
        context.insert(tag);
        return tag;
    }
    std::shared_ptr<Board> addBoard(const QString &name)
    {
        auto board = std::make_shared<Board>(name, QString());
        context.insert(board);
        return board;
    }

public:
    // A cover of the given stored size with a decodable picture of another colour.
    static std::shared_ptr<Media> addCover(const std::shared_ptr<Post> &post, double width, double height,
                                           const QColor &color = QColor("#5B8DB8"),
                                           MediaKind kind = MediaKind::image)
    {
        auto media = std::make_shared<Media>(kind, int(post->media().size()));
        media->setWidth(width);
        media->setHeight(height);
        if (width > 0 && height > 0)
            media->setImage(
                TestImages::encoded(int(std::min(width, 400.0)), int(std::min(height, 400.0)), color));
        auto list = post->media();
        list.append(media);
        post->setMedia(list);
        return media;
    }

protected:
    void save() { context.save(); }

    // Thumbnails still decoding finish into caches that are still there.
    void TearDown() override
    {
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    std::unique_ptr<ModelContainer> container = TamselStore::makeContainer(false);
    ModelContext &context = container->mainContext();

private:
    int m_serial = 0;
};
