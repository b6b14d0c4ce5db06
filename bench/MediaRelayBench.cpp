// Peak memory of playing a 400 MiB remote file through the media relay to a
// player that pauses for 10 s after its first MiB, beside the same bytes read
// straight from the server by the same reader. Both run against a server on
// loopback that sends only as fast as its connection takes the bytes.

#include "MediaRelay.h"
#include "RunBenchmarks.h"
#include "StreamReader.h"
#include "StreamingOrigin.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {

constexpr qint64 mebibyte = 1024 * 1024;
constexpr qint64 fileSize = 400 * mebibyte;
constexpr int pauseMilliseconds = 10000;
constexpr int patienceMilliseconds = 10 * 60 * 1000;

// A field of /proc/self/status in MiB ("VmHWM" is the peak resident set).
double statusMiB(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QRegularExpression line(QStringLiteral("^%1:\\s+(\\d+) kB").arg(QLatin1String(field)),
                                  QRegularExpression::MultilineOption);
    return line.match(QString::fromLatin1(status.readAll())).captured(1).toDouble() / 1024;
}

// Starts the peak over from the present resident set.
void resetPeak()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

void readWithPause(benchmark::State &state, StreamReader &reader, const StreamingOrigin &origin)
{
    if (!QTest::qWaitFor([&] { return reader.received() >= mebibyte; }, patienceMilliseconds)) {
        state.SkipWithError("the body did not start");
        return;
    }
    reader.pause();
    QTest::qWait(pauseMilliseconds);
    reader.resume();
    const bool finished = QTest::qWaitFor([&] { return reader.isFinished(); }, patienceMilliseconds);
    if (!finished || reader.received() != origin.size() || reader.isDamaged())
        state.SkipWithError("the body did not arrive whole");
}

template <typename Setup> void measure(benchmark::State &state, Setup readThrough)
{
    for (auto _ : state) {
        const double start = statusMiB("VmRSS");
        resetPeak();
        StreamingOrigin origin(fileSize);
        readThrough(state, origin);
        state.counters["peak_MiB"] = statusMiB("VmHWM");
        state.counters["above_start_MiB"] = statusMiB("VmHWM") - start;
    }
}

void plainClient(benchmark::State &state)
{
    measure(state, [](benchmark::State &state, StreamingOrigin &origin) {
        StreamReader reader(origin.url());
        readWithPause(state, reader, origin);
    });
}

void throughRelay(benchmark::State &state)
{
    measure(state, [](benchmark::State &state, StreamingOrigin &origin) {
        NetworkRequest request;
        request.url = origin.url();
        request.bodyLimit = origin.size();
        MediaRelay relay(request);
        StreamReader reader(relay.url());
        readWithPause(state, reader, origin);
    });
}

} // namespace

BENCHMARK(plainClient)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(throughRelay)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

int main(int argc, char **argv)
{
    return runBenchmarks<QCoreApplication>(argc, argv);
}
