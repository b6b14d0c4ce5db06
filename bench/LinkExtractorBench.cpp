#include "LinkExtractor.h"

#include <QUrl>
#include <benchmark/benchmark.h>

namespace {

// A phone share text: words, emoji and full-width punctuation around the link.
const QString shareText =
    QStringLiteral("【小红书】周末去哪儿😆 #旅行 #日落 看看 photo.jpg v1.2 "
                   "http://xhslink.com/a/AbC123，复制本条信息，打开【小红书】App查看精彩内容！");

void BM_ShareText(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(LinkExtractor::firstURL(shareText));
}
BENCHMARK(BM_ShareText);

// The bare work on the same text: find the scheme, cut at the comma, parse.
void BM_ShareTextBaseline(benchmark::State &state)
{
    for (auto _ : state) {
        const qsizetype start = shareText.indexOf(QStringLiteral("http://"));
        const qsizetype end = shareText.indexOf(QChar(0xFF0C), start);
        benchmark::DoNotOptimize(QUrl(shareText.mid(start, end - start)));
    }
}
BENCHMARK(BM_ShareTextBaseline);

// A long run of link characters without a link must stay linear.
void BM_LongRunWithoutLink(benchmark::State &state)
{
    const QString text = QStringLiteral("a+").repeated(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(LinkExtractor::firstURL(text));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LongRunWithoutLink)->Range(1 << 10, 1 << 16)->Complexity();

// A link copied from a chat with a path in another script, words after it:
// the extractor reads through the path and stops at the full-width comma.
QString chatText(qsizetype pathLength)
{
    return QStringLiteral("看看这个 https://zh.wikipedia.org/wiki/") +
           QStringLiteral("北京").repeated(pathLength / 2) + QStringLiteral("，很有意思");
}

void BM_NonAsciiPath(benchmark::State &state)
{
    const QString text = chatText(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(LinkExtractor::firstURL(text));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_NonAsciiPath)->Range(1 << 6, 1 << 12)->Complexity();

// The bare work on the same text: find the scheme, cut at the comma, parse.
void BM_NonAsciiPathBaseline(benchmark::State &state)
{
    const QString text = chatText(state.range(0));
    for (auto _ : state) {
        const qsizetype start = text.indexOf(QStringLiteral("https://"));
        const qsizetype end = text.indexOf(QChar(0xFF0C), start);
        benchmark::DoNotOptimize(QUrl(text.mid(start, end - start)));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_NonAsciiPathBaseline)->Range(1 << 6, 1 << 12)->Complexity();

} // namespace

BENCHMARK_MAIN();
