#pragma once

#include "FixtureServer.h"
#include "ImportProgress.h"
#include "KepselHooks.h"
#include "Media.h"
#include "ModelContainer.h"
#include "Post.h"
#include "PostImporter.h"
#include "PrivateTempFolder.h"
#include "TamselStore.h"
#include "TestHome.h"
#include "WaitFor.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QTest>

// A store on disk, an importer over it and a fixture site that serves Open
// Graph pages and their images; counts the postReady calls per post.
class ImportLibrary : public HomeTest {
protected:
    static inline const QString site = QStringLiteral("127.0.0.2");

    ImportLibrary()
    {
        KepselHooks::postReady().append([this](PostImporter &, std::shared_ptr<Post> post) -> QCoro::Task<> {
            ++readyCalls[post->id()];
            co_return;
        });
    }
    ~ImportLibrary() override { KepselHooks::postReady().clear(); }

    static QByteArray picture(int width, int height, const char *format = "PNG")
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, format);
        return bytes;
    }

    QString link(const QString &path) { return server.origin(site) + path; }

    // A page with the given meta tags and one og:image per image path.
    void servePage(const QString &path, const QStringList &images, const QByteArray &moreTags = {},
                   const QByteArray &title = "A title")
    {
        QByteArray head = "<meta property=\"og:title\" content=\"" + title + "\">" +
                          "<meta property=\"og:description\" content=\"Some text\">" + moreTags;
        for (const QString &image : images)
            head += "<meta property=\"og:image\" content=\"" + link(image).toUtf8() + "\">";
        server.page(site, path, "<html><head>" + head + "</head></html>");
    }

    std::shared_ptr<Post> imported(const QString &path, bool videos = false)
    {
        return TestAsync::waitFor(importer.importText(link(path), videos));
    }

    int requestsFor(const QByteArray &target) const
    {
        return int(std::count_if(server.requests().cbegin(), server.requests().cend(),
                                 [&](const auto &request) { return request.target == target; }));
    }

    static bool waitUntil(const std::function<bool()> &condition) { return QTest::qWaitFor(condition, 5000); }

    static QStringList leftovers()
    {
        return QDir(PrivateTempFolder::path()).entryList({QStringLiteral("dl-*")}, QDir::Files);
    }

    FixtureServer server;
    std::unique_ptr<ModelContainer> container = TamselStore::makeContainer(false);
    ModelContext &context = container->mainContext();
    PostImporter importer{context, HTTPClient()};
    QHash<QUuid, int> readyCalls;
};
