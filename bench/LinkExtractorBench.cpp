#include "LinkExtractor.h"

#include <benchmark/benchmark.h>

namespace {

// A phone share text: words, emoji and full-width punctuation around the link.
void BM_ShareText(benchmark::State &state)
{
    const QString text =
        QStringLiteral("【小红书】周末去哪儿😆 #旅行 #日落 看看 photo.jpg v1.2 "
                       "http://xhslink.com/a/AbC123，复制本条信息，打开【小红书】App查看精彩内容！");
    for (auto _ : state)
        benchmark::DoNotOptimize(LinkExtractor::firstURL(text));
}
BENCHMARK(BM_ShareText);

// A long run of link characters without a link must stay linear.
void BM_LongRunWithoutLink(benchmark::State &state)
{
    const QString text = QStringLiteral("a+").repeated(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(LinkExtractor::firstURL(text));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LongRunWithoutLink)->Range(1 << 10, 1 << 16)->Complexity();

} // namespace

BENCHMARK_MAIN();
