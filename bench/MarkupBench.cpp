#include "Markup.h"

#include <benchmark/benchmark.h>

namespace {

// Some sites write their whole Chinese text as numeric references.
QString pageOfNumericReferences()
{
    QString page;
    for (char32_t code = 0x4E00; code < 0x4E00 + 20000; ++code)
        page += QStringLiteral("&#x%1;").arg(uint(code), 0, 16);
    return page;
}

void decodeNumericReferences(benchmark::State &state)
{
    const QString page = pageOfNumericReferences();
    for (auto _ : state)
        benchmark::DoNotOptimize(Markup::htmlDecoded(page).size());
}
BENCHMARK(decodeNumericReferences);

} // namespace

BENCHMARK_MAIN();
