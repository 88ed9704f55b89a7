#pragma once
// The start shared by the benchmark programs: the application object on the offscreen platform
// (unless another platform is asked for), the catalogue and what the program draws with, then
// the benchmarks the command line selects.

#include "engine/BuiltInFunctions.h"
#include "model/Catalogue.h"

#include <QByteArray>

#include <benchmark/benchmark.h>

template <class Application> int RunBenchmarks(int argc, char** argv, void (*setUp)()) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    flow::RegisterCatalogue();
    setUp();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
