// The benchmark runner: one QApplication (offscreen unless the caller chose a
// platform), then every registered benchmark with the ratio report.
#include "BenchRatio.h"

#include <QtWidgets/QApplication>

int main(int argc, char **argv)
{
    // Widgets and fonts need an application; benchmarks must not need a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    nvo::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
