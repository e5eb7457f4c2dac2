// The numeric fields' number texts against the bare standard conversions: a field
// scans its whole text after every keystroke, and the report list's row form and
// the custom numeric field write values through FormatNumStr, so the state machine
// and the Str rules must cost little more than the digit conversion itself.
// Each benchmark handles about a million texts or values (1024 per iteration).
#include "BenchRatio.h"
#include "NVO_NumIO.h"

#include <QtCore/QString>

#include <charconv>
#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr int kBatch = 1024;
constexpr int kIterations = 1000;

/// Number texts of every shape a user types: integers, fractions, exponents,
/// signs, a lone point.
std::vector<std::string> SampleTexts()
{
    static const char *const shapes[] = {"12.5", "-0.000123", "1.5e3", "123456789", "-7.25e-12",
                                         ".5", "3.14159265358979", "42", "+6.02214076e23", "0.1"};
    std::vector<std::string> texts;
    for (int i = 0; i < kBatch; ++i) {
        std::string text = shapes[i % std::size(shapes)];
        if (i % 3 == 1)
            text.insert(text.find_first_of("0123456789"), std::to_string(i % 97));
        texts.push_back(text);
    }
    return texts;
}

/// Values of the magnitudes a field shows, signs mixed.
std::vector<double> SampleValues()
{
    std::vector<double> values;
    for (int i = 0; i < kBatch; ++i)
        values.push_back((i % 2 ? -1.0 : 1.0) * std::pow(10.0, double(i % 12) - 5.0) * (1.0 + i / 7.0));
    return values;
}

void BM_ScanFloatNum(benchmark::State &state)
{
    const std::vector<std::string> texts = SampleTexts();
    std::vector<QString> qtexts;
    for (const std::string &text : texts)
        qtexts.push_back(QString::fromStdString(text));
    double sum = 0;
    nvo::bench::MeasureRatio(
        state, 3.0,
        [&] {
            for (const std::string &text : texts) {
                // from_chars takes no "+": the reference skips it, as a caller must.
                const char *first = text.data() + (text[0] == '+');
                double value = 0;
                std::from_chars(first, text.data() + text.size(), value);
                sum += value;
            }
        },
        [&] {
            for (const QString &text : qtexts) {
                int pos = 1;
                sum += nvo::ScanFloatNum(text, true, 1, pos);
            }
        });
    benchmark::DoNotOptimize(sum);
}
BENCHMARK(BM_ScanFloatNum)->Iterations(kIterations);

void BM_FormatNumStr(benchmark::State &state)
{
    // Alternately the fields' exponent notation (6 significant digits) and their
    // fixed notation with 8 decimals.
    const std::vector<double> values = SampleValues();
    qsizetype length = 0;
    nvo::bench::MeasureRatio(
        state, 3.0,
        [&] {
            for (size_t i = 0; i < values.size(); ++i) {
                char buffer[400];
                const auto result = i % 2
                    ? std::to_chars(buffer, buffer + sizeof buffer, values[i], std::chars_format::fixed, 8)
                    : std::to_chars(buffer, buffer + sizeof buffer, values[i], std::chars_format::scientific, 5);
                length += result.ptr - buffer;
            }
        },
        [&] {
            for (size_t i = 0; i < values.size(); ++i)
                length += (i % 2 ? nvo::FormatNumStr(1, 8, values[i]) : nvo::FormatNumStr(12, -2, values[i])).size();
        });
    benchmark::DoNotOptimize(length);
}
BENCHMARK(BM_FormatNumStr)->Iterations(kIterations);

} // namespace
