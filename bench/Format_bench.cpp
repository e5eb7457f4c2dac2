// The number texts against the bare std::to_chars they are built on: labels and
// grids format values on every paint, so the separator, sign and exponent rules
// and the one QString per text must cost no more than the digit conversion again.
#include "BenchRatio.h"
#include "NVO_Format.h"

#include <array>
#include <charconv>
#include <cmath>

namespace {

/// Values of every magnitude a display meets, signs mixed.
std::array<double, 64> SampleValues()
{
    std::array<double, 64> values;
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = (i % 2 ? -1.0 : 1.0) * std::pow(10.0, double(i % 16) - 6.0) * (1.0 + double(i) / 7.0);
    return values;
}

template<class Subject>
void MeasureAgainstToChars(benchmark::State &state, std::chars_format form, int precision,
                           Subject &&subject)
{
    const std::array<double, 64> values = SampleValues();
    qsizetype length = 0;
    nvo::bench::MeasureRatio(
        state, 2.0,
        [&] {
            for (double value : values) {
                char buffer[64];
                length += std::to_chars(buffer, buffer + sizeof buffer, value, form, precision).ptr
                          - buffer;
            }
        },
        [&] {
            for (double value : values)
                length += subject(value).size();
        });
    benchmark::DoNotOptimize(length);
}

void BM_FormatFixed(benchmark::State &state)
{
    MeasureAgainstToChars(state, std::chars_format::fixed, 2, [](double value) {
        return nvo::FormatFixed(value, 2, QLatin1Char(','));
    });
}
BENCHMARK(BM_FormatFixed);

void BM_FormatExp(benchmark::State &state)
{
    MeasureAgainstToChars(state, std::chars_format::scientific, 5, [](double value) {
        return nvo::FormatExp(value, 6, QLatin1Char(','));
    });
}
BENCHMARK(BM_FormatExp);

void BM_FormatGeneral(benchmark::State &state)
{
    MeasureAgainstToChars(state, std::chars_format::general, 6, [](double value) {
        return nvo::FormatGeneral(value, 6, QLatin1Char(','));
    });
}
BENCHMARK(BM_FormatGeneral);

} // namespace
