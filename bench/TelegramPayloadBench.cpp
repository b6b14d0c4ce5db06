// Making the payloads of 1,000 posts of four 200 KB photos, beside bare
// re-encodings of the same photos.
#include "ImageTools.h"
#include "Media.h"
#include "Post.h"
#include "RunBenchmarks.h"
#include "TelegramSync.h"

#include <QBuffer>
#include <QCoro/QCoroTask>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <benchmark/benchmark.h>

namespace {

constexpr int postCount = 1000;
constexpr int photosPerPost = 4;

// A photo-like JPEG of about 200 KB: gradients with grain.
QByteArray photo()
{
    QImage image(1280, 960, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 1280, 960);
    gradient.setColorAt(0, Qt::darkBlue);
    gradient.setColorAt(1, QColor(230, 160, 90));
    painter.fillRect(image.rect(), gradient);
    painter.end();
    auto *random = QRandomGenerator::global();
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grain = int(random->bounded(24)) - 12;
            const QColor c(line[x]);
            line[x] = qRgb(qBound(0, c.red() + grain, 255), qBound(0, c.green() + grain, 255),
                           qBound(0, c.blue() + grain, 255));
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 80);
    return bytes;
}

const QByteArray &photoBytes()
{
    static const QByteArray bytes = photo();
    return bytes;
}

QList<std::shared_ptr<Post>> posts()
{
    QList<std::shared_ptr<Post>> list;
    for (int i = 0; i < postCount; ++i) {
        auto post = std::make_shared<Post>(QStringLiteral("https://weibo.com/%1").arg(i), Platform::weibo);
        post->setTitle(QStringLiteral("第 %1 篇").arg(i));
        QList<std::shared_ptr<Media>> media;
        for (int order = 0; order < photosPerPost; ++order) {
            media.append(std::make_shared<Media>(MediaKind::image, order));
            media.last()->setData(photoBytes());
        }
        post->setMedia(media);
        list.append(post);
    }
    return list;
}

void payloads(benchmark::State &state)
{
    const auto library = posts();
    for (auto _ : state)
        for (const auto &post : library)
            benchmark::DoNotOptimize(QCoro::waitFor(TelegramSync::payload(post)));
    state.counters["photo_kB"] = double(photoBytes().size()) / 1024;
}
BENCHMARK(payloads)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void payloadsBareThumbnails(benchmark::State &state)
{
    const QByteArray bytes = photoBytes();
    for (auto _ : state)
        for (int i = 0; i < postCount * photosPerPost; ++i)
            benchmark::DoNotOptimize(ImageTools::thumbnail(bytes, 2560, 0.9));
}
BENCHMARK(payloadsBareThumbnails)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return runBenchmarks<QGuiApplication>(argc, argv);
}
