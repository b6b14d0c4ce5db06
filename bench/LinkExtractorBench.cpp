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

// A text of `length` characters: `head`, then `unit` over and over, cut at
// the length.
QString textOf(qsizetype length, const QString &unit, const QString &head = {})
{
    QString text = head + unit.repeated((length - head.size()) / unit.size() + 1);
    text.truncate(length);
    return text;
}

// Long texts, each read at 64K, 256K and 1M characters: 4 times the text
// should take about 4 times as long, and no shape much longer than plain
// glued links of the same length.
void longTexts(benchmark::internal::Benchmark *benchmark)
{
    benchmark->RangeMultiplier(4)->Range(1 << 16, 1 << 20)->Complexity()->Unit(benchmark::kMillisecond);
}

void extractFrom(benchmark::State &state, const QString &text)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(LinkExtractor::firstURL(text));
    state.SetComplexityN(state.range(0));
}

QString gluedLinks(qsizetype length)
{
    return textOf(length, QStringLiteral("https://example.com/a"));
}

// Plain glued links: the measure the other long texts are held to.
void BM_GluedLinks(benchmark::State &state)
{
    extractFrom(state, gluedLinks(state.range(0)));
}
BENCHMARK(BM_GluedLinks)->Apply(longTexts);

// The bare work on the same text: it is one web link, parsed whole.
void BM_GluedLinksBaseline(benchmark::State &state)
{
    const QString text = gluedLinks(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(QUrl(text, QUrl::StrictMode));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_GluedLinksBaseline)->Apply(longTexts);

// Glued links with a stray "%" after a path in another script.
void BM_GluedLinksWithStrayPercent(benchmark::State &state)
{
    extractFrom(state, textOf(state.range(0), QStringLiteral("https://example.com/路%")));
}
BENCHMARK(BM_GluedLinksWithStrayPercent)->Apply(longTexts);

// One host as long as the text.
void BM_HugeHost(benchmark::State &state)
{
    extractFrom(state, textOf(state.range(0), QStringLiteral("example"), QStringLiteral("https://")));
}
BENCHMARK(BM_HugeHost)->Apply(longTexts);

// A host of many one-letter labels in another script.
void BM_ShortLabelsInAnotherScript(benchmark::State &state)
{
    extractFrom(state, textOf(state.range(0), QStringLiteral("例."), QStringLiteral("https://")));
}
BENCHMARK(BM_ShortLabelsInAnotherScript)->Apply(longTexts);

} // namespace

BENCHMARK_MAIN();
