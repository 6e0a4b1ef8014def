#pragma once
// main() of the benchmarks that need Qt widgets: a QApplication on the
// offscreen platform with the program's fonts, then every benchmark.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "app/application_setup.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SetUpApplication(app);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
