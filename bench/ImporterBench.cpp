// Importing 1,000 posts, each an Open Graph page with 4 images of about
// 200 KB, from a TLS fixture server on loopback, beside the same client
// fetching the same bytes and nothing else. Also the peak memory of a
// process that imports one 500 MB video, beside one that only downloads it.

#include "FixtureServer.h"
#include "Media.h"
#include "ModelContainer.h"
#include "NetworkSession.h"
#include "Post.h"
#include "PostImporter.h"
#include "SettingsKey.h"
#include "TamselStore.h"
#include "TestHome.h"

#include <QBuffer>
#include <QEventLoop>
#include <QFile>
#include <QCoreApplication>
#include <QImage>
#include <QProcess>
#include <QRandomGenerator>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QTemporaryFile>
#include <QCoro/QCoroTask>
#include <benchmark/benchmark.h>

namespace {

constexpr int postCount = 1000;
constexpr int imagesPerPost = 4;
constexpr qint64 videoBytes = qint64(500) * 1024 * 1024;
const QString kSite = QStringLiteral("127.0.0.2");
const QString kVideoHost = QStringLiteral("127.0.0.5");

QByteArray fixtureFile(const char *name)
{
    QFile file(QStringLiteral(KEPSEL_FIXTURES_DIR "/tls/") + QLatin1String(name));
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// Noise compresses badly, so a 450 × 450 JPEG comes to about 200 KB.
QByteArray noisyJPEG(quint32 seed)
{
    QImage image(450, 450, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, random.generate() | 0xFF000000);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 92);
    return bytes;
}

// The site of the 1,000 posts; the image bytes are shared among the posts.
struct Site {
    Site()
    {
        for (int i = 0; i < imagesPerPost; ++i)
            images.append(noisyJPEG(quint32(i)));
        for (int post = 0; post < postCount; ++post) {
            QByteArray head =
                "<meta property=\"og:title\" content=\"Post " + QByteArray::number(post) + "\">";
            for (int i = 0; i < imagesPerPost; ++i) {
                const QString path = QStringLiteral("/img/%1-%2.jpg").arg(post).arg(i);
                server.serve(kSite, path, {200, images[i], {{"Content-Type", "image/jpeg"}}});
                head += "<meta property=\"og:image\" content=\"" + link(path).toUtf8() + "\">";
            }
            server.page(kSite, QStringLiteral("/post/%1").arg(post),
                        "<html><head>" + head + "</head></html>");
        }
    }
    QString link(const QString &path) { return server.origin(kSite) + path; }

    FixtureServer server;
    QList<QByteArray> images;
};

Site &site()
{
    static Site instance;
    return instance;
}

void importPosts(benchmark::State &state)
{
    static TestHome home;
    TamselStore::defaults().setBool(SettingsKey::allowDuplicates, true);
    const auto container = TamselStore::makeContainer(false);
    PostImporter importer(container->mainContext(), HTTPClient());
    Site &fixtures = site();
    qint64 bytes = 0;
    for (auto _ : state) {
        for (int post = 0; post < postCount; ++post) {
            const auto imported = QCoro::waitFor(
                importer.importText(fixtures.link(QStringLiteral("/post/%1").arg(post)), false));
            for (const auto &media : imported->media())
                bytes += media->dataSize();
        }
    }
    state.counters["MB"] = double(bytes) / 1e6;
}
BENCHMARK(importPosts)->Iterations(1)->Unit(benchmark::kMillisecond);

QCoro::Task<qint64> fetchPost(QString page, QList<QString> images)
{
    qint64 bytes = 0;
    images.prepend(page);
    for (const QString &link : images) {
        NetworkRequest request;
        request.url = QUrl(link);
        const NetworkResponse response = co_await NetworkSession::shared().send(std::move(request));
        bytes += response.body.size();
    }
    co_return bytes;
}

void fetchSameBytesBare(benchmark::State &state)
{
    Site &fixtures = site();
    qint64 bytes = 0;
    for (auto _ : state) {
        for (int post = 0; post < postCount; ++post) {
            QList<QString> images;
            for (int i = 0; i < imagesPerPost; ++i)
                images.append(fixtures.link(QStringLiteral("/img/%1-%2.jpg").arg(post).arg(i)));
            bytes += QCoro::waitFor(fetchPost(fixtures.link(QStringLiteral("/post/%1").arg(post)), images));
        }
    }
    state.counters["MB"] = double(bytes) / 1e6;
}
BENCHMARK(fetchSameBytesBare)->Iterations(1)->Unit(benchmark::kMillisecond);

// Serves videoBytes of made-up video to every request, produced as the
// socket drains, so the server itself holds almost nothing.
class VideoServer {
public:
    VideoServer()
    {
        QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
        configuration.setLocalCertificate(QSslCertificate(fixtureFile("server.crt")));
        configuration.setPrivateKey(QSslKey(fixtureFile("server.key"), QSsl::Ec));
        m_server.setSslConfiguration(configuration);
        QObject::connect(&m_server, &QTcpServer::pendingConnectionAvailable, &m_server, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket] { answer(socket); });
        });
        m_server.listen(QHostAddress(kVideoHost));
    }
    QString link() const
    {
        return QStringLiteral("https://%1:%2/v.mp4").arg(kVideoHost).arg(m_server.serverPort());
    }

private:
    static void answer(QTcpSocket *socket)
    {
        if (!socket->readAll().contains("\r\n\r\n"))
            return;
        static const QByteArray chunk(1024 * 1024, 'v');
        auto sent = std::make_shared<qint64>(0);
        const auto pump = [socket, sent] {
            while (*sent < videoBytes && socket->bytesToWrite() < 4 * chunk.size()) {
                socket->write(chunk.left(std::min<qint64>(chunk.size(), videoBytes - *sent)));
                *sent += chunk.size();
            }
            if (*sent >= videoBytes && socket->bytesToWrite() == 0)
                socket->disconnectFromHost();
        };
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: video/mp4\r\nConnection: close\r\nContent-Length: " +
                      QByteArray::number(videoBytes) + "\r\n\r\n");
        QObject::connect(socket, &QIODevice::bytesWritten, socket, pump);
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        pump();
    }

    QSslServer m_server;
};

// Runs this program again in a child mode and returns the peak memory it reports.
double childPeakMB(const QString &mode, const QString &link)
{
    QProcess child;
    QEventLoop loop;
    QObject::connect(&child, &QProcess::finished, &loop, &QEventLoop::quit);
    child.start(QCoreApplication::applicationFilePath(), {mode, link});
    loop.exec();
    return child.readAllStandardOutput().trimmed().toDouble() / 1024.0;
}

void videoImportPeakMemory(benchmark::State &state)
{
    VideoServer video;
    Site &fixtures = site();
    fixtures.server.serve(kSite, "/cover.jpg", {200, fixtures.images[0]});
    fixtures.server.page(kSite, "/video",
                         "<head><meta property=\"og:title\" content=\"Video\">"
                         "<meta property=\"og:image\" content=\"" +
                             fixtures.link("/cover.jpg").toUtf8() +
                             "\"><meta property=\"og:video\" content=\"" + video.link().toUtf8() +
                             "\"></head>");
    for (auto _ : state) {
        state.counters["import_peak_MB"] =
            childPeakMB(QStringLiteral("--import-video"), fixtures.link("/video"));
        state.counters["bare_download_peak_MB"] =
            childPeakMB(QStringLiteral("--download-video"), video.link());
    }
}
BENCHMARK(videoImportPeakMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

// The process's own high-water mark (VmHWM); unlike getrusage it does not
// start from the parent's size at the fork that began this process.
long peakKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

QCoro::Task<> downloadVideo(QString link)
{
    QTemporaryFile file;
    file.open();
    NetworkRequest request{QUrl(link)};
    request.bodyLimit = videoBytes + 1;
    co_await NetworkSession::shared().download(request, &file);
}

// Child modes: import the page's video into a fresh library, or only
// download the video to a file; either prints its peak memory in KB.
int runChild(const QString &mode, const QString &link)
{
    TestHome home;
    NetworkSession::setExtraTrustedCertificates({QSslCertificate(fixtureFile("server.crt"))});
    if (mode == QLatin1String("--import-video")) {
        const auto container = TamselStore::makeContainer(false);
        PostImporter importer(container->mainContext(), HTTPClient());
        const auto post = QCoro::waitFor(importer.importText(link, true));
        if (post->media().value(0)->videoSize() != videoBytes)
            return 1;
    } else {
        QCoro::waitFor(downloadVideo(link));
    }
    printf("%ld\n", peakKilobytes());
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]).startsWith("--"))
        return runChild(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
