#pragma once

#include <benchmark/benchmark.h>

// The body of a benchmark program's main(): runs the registered benchmarks
// under an application object of type App (QCoreApplication, QGuiApplication
// or QApplication).
template <typename App> int runBenchmarks(int argc, char **argv)
{
    App app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
