#include "OpenGraph.h"

#include <benchmark/benchmark.h>

namespace {

QString typicalPage()
{
    QString head = QStringLiteral("<html><head><title>A post</title>");
    for (int i = 0; i < 60; ++i)
        head +=
            QStringLiteral("<meta property=\"og:image\" content=\"https://cdn.example/%1.jpg?a=1&amp;b=2\">\n"
                           "<script>var x = \"%1\";</script>\n")
                .arg(i);
    head += QStringLiteral("</head><body>");
    return head + QString(500000, QLatin1Char('x')) + QStringLiteral("</body></html>");
}

void scanTypicalPage(benchmark::State &state)
{
    const QString page = typicalPage();
    for (auto _ : state)
        benchmark::DoNotOptimize(OpenGraph(page).metaTags().size());
}
BENCHMARK(scanTypicalPage);

// A page without a closed head is cut before the expressions run.
void scanUnclosedHead(benchmark::State &state)
{
    const QString page =
        QStringLiteral("<HEAD><META NAME=\"x\" CONTENT=\"y\">") + QString(4000000, QLatin1Char('<'));
    for (auto _ : state)
        benchmark::DoNotOptimize(OpenGraph(page).metaTags().size());
}
BENCHMARK(scanUnclosedHead);

} // namespace

BENCHMARK_MAIN();
