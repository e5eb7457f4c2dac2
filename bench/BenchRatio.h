#pragma once

// Ratio benchmarks: a subject (our code) timed against a reference (what it is
// measured by, e.g. the plain Qt call it wraps) in the same run, so the verdict
// does not depend on how fast or how loaded the machine is. A benchmark reads:
//
//   void BM_BitmapFill(benchmark::State &state)
//   {
//       ... set-up ...
//       nvo::bench::MeasureRatio(state, 1.5, [&] { reference work; }, [&] { subject work; });
//   }
//   BENCHMARK(BM_BitmapFill);
//
// The run then shows the counters "ratio" (subject time / reference time) and
// "goal" in the benchmark table, and closes with one line per ratio benchmark:
//   RATIO BM_BitmapFill: 1.07 (goal <= 1.50)
// with " OVER GOAL" appended when the ratio exceeds its goal.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace nvo::bench {

/// Times `reference` and `subject` alternately in every iteration (alternating
/// keeps both under the same clock speed, cache state and competing load) and
/// reports their time ratio as the counter "ratio", with `goal` beside it. Each
/// call should take a microsecond or more, so the clock reads stay negligible.
template<class Reference, class Subject>
void MeasureRatio(benchmark::State &state, double goal, Reference &&reference, Subject &&subject)
{
    using Clock = std::chrono::steady_clock;
    Clock::duration referenceTime{}, subjectTime{};
    for (auto _ : state) {
        const auto start = Clock::now();
        reference();
        benchmark::ClobberMemory();
        const auto middle = Clock::now();
        subject();
        benchmark::ClobberMemory();
        const auto end = Clock::now();
        referenceTime += middle - start;
        subjectTime += end - middle;
    }
    if (referenceTime.count() > 0)
        state.counters["ratio"] = double(subjectTime.count()) / double(referenceTime.count());
    state.counters["goal"] = goal;
}

/// The console report plus the closing RATIO lines. It takes the ratios from the
/// reported runs only: Google Benchmark runs each function several times while it
/// settles the iteration count, and those trial runs are not reported.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            const auto ratio = run.counters.find("ratio");
            const auto goal = run.counters.find("goal");
            if (ratio != run.counters.end() && goal != run.counters.end())
                FRatios.push_back({run.benchmark_name(), ratio->second.value, goal->second.value});
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        // Written to the report's own stream, so the lines follow the table in order.
        std::ostream &out = GetOutputStream();
        for (const Ratio &ratio : FRatios) {
            char line[64];
            std::snprintf(line, sizeof line, ": %.2f (goal <= %.2f)", ratio.Value, ratio.Goal);
            out << "RATIO " << ratio.Name << line << (ratio.Value > ratio.Goal ? " OVER GOAL" : "") << '\n';
        }
        out.flush();
    }

private:
    struct Ratio {
        std::string Name;
        double Value;
        double Goal;
    };
    std::vector<Ratio> FRatios;
};

} // namespace nvo::bench
