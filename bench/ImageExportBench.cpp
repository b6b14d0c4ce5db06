// Exporting a 6000 x 6000 PNG as JPEG, as a saved picture is written, beside a
// bare QImage load and JPEG save of the same bytes. Before the reader's limit
// was sized to the export cap, the bare load refused such a picture.

#include "ImageTools.h"
#include "RunBenchmarks.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImageReader>
#include <QLinearGradient>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

constexpr int side = 6000;
constexpr double quality = 0.92;

QByteArray saved(const QImage &image, const char *format, int quality = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return bytes;
}

const QByteArray &largePNG()
{
    static const QByteArray bytes = [] {
        QImage image(side, side, QImage::Format_RGB32);
        QPainter painter(&image);
        QLinearGradient gradient(0, 0, side, side);
        gradient.setColorAt(0, QColor(0xD9, 0x77, 0x57));
        gradient.setColorAt(1, QColor(0x26, 0x40, 0x60));
        painter.fillRect(image.rect(), gradient);
        painter.end();
        return saved(image, "png");
    }();
    return bytes;
}

void JpegDataOfLargePNG(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ImageTools::jpegData(largePNG(), quality));
}
BENCHMARK(JpegDataOfLargePNG)->Unit(benchmark::kMillisecond)->Iterations(3);

void BaselineLoadAndSave(benchmark::State &state)
{
    QImageReader::setAllocationLimit(0);
    for (auto _ : state)
        benchmark::DoNotOptimize(saved(QImage::fromData(largePNG()), "jpeg", qRound(quality * 100)));
}
BENCHMARK(BaselineLoadAndSave)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarks<QGuiApplication>(argc, argv);
}
