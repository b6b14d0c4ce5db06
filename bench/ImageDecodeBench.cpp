// Decoding a 12-megapixel JPEG for a 720-pixel grid thumbnail, beside a bare
// full-size QImage load of the same bytes.

#include "ImageCache.h"
#include "RunBenchmarks.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>
#include <benchmark/benchmark.h>

namespace {

// A photo-like 4000 x 3000 picture: gradients with noise, so the encoder
// cannot shortcut flat areas.
const QByteArray &photo()
{
    static const QByteArray bytes = [] {
        QImage image(4000, 3000, QImage::Format_RGB32);
        QPainter painter(&image);
        QLinearGradient gradient(0, 0, 4000, 3000);
        gradient.setColorAt(0, QColor(0xD9, 0x77, 0x57));
        gradient.setColorAt(1, QColor(0x26, 0x40, 0x60));
        painter.fillRect(image.rect(), gradient);
        painter.end();
        QRandomGenerator random(7);
        for (int y = 0; y < image.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                line[x] ^= random.bounded(8) * 0x010101;
        }
        QByteArray encoded;
        QBuffer buffer(&encoded);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        writer.setQuality(90);
        writer.write(image);
        return encoded;
    }();
    return bytes;
}

void ScaledDecode720(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ImageCache::decode(photo(), ImageCache::thumbPixels));
}
BENCHMARK(ScaledDecode720)->Unit(benchmark::kMillisecond);

void BaselineFullLoad(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(QImage::fromData(photo()));
}
BENCHMARK(BaselineFullLoad)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return runBenchmarks<QGuiApplication>(argc, argv);
}
