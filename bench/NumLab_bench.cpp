// The numeric label against the plain means it competes with: its value texts
// against std::to_chars on the same values, and a value update with its paint
// against a QLabel's setNum with its paint.
#include "BenchRatio.h"
#include "NVO_NumLab.h"

#include <QtCore/QMetaEnum>
#include <QtGui/QImage>
#include <QtWidgets/QLabel>

#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace {

using nvo::TNumLab;

/// Values of every magnitude a label meets, positive and negative, all within the
/// integer range so that the integer types format rather than show the indicator.
std::array<double, 64> SampleValues()
{
    std::array<double, 64> values{};
    for (int i = 0; i < int(values.size()); ++i)
        values[i] = (i - 31.5) * 1.37 * std::pow(10.0, i % 9 - 3);
    return values;
}

/// std::to_chars on the same double, in the notation nearest to what the display
/// type writes: general, scientific, or fixed (with no decimals for the integer
/// types, which is the decimal integer text of the value).
int ReferenceText(char *buffer, double value, TNumLab::TDisplay type)
{
    char *const end = buffer + 64;
    switch (type) {
    case TNumLab::dtFloat:
        return int(std::to_chars(buffer, end, value, std::chars_format::general, 4).ptr - buffer);
    case TNumLab::dtExp:
    case TNumLab::dtEEng:
    case TNumLab::dtEEngNoDP:
        return int(std::to_chars(buffer, end, value, std::chars_format::scientific, 3).ptr - buffer);
    case TNumLab::dtHex:
    case TNumLab::dtZeroInt:
    case TNumLab::dtInt:
    case TNumLab::dtBin:
    case TNumLab::dtOct:
        return int(std::to_chars(buffer, end, value, std::chars_format::fixed, 0).ptr - buffer);
    default:
        return int(std::to_chars(buffer, end, value, std::chars_format::fixed, 4).ptr - buffer);
    }
}

void BM_NumLabFormat(benchmark::State &state, TNumLab::TDisplay type)
{
    const std::array<double, 64> values = SampleValues();
    nvo::TNumLabFormat format;
    format.DisplayType = type;
    format.Precision = 4;
    format.DTFormat = QStringLiteral("yyyy-mm-dd");
    char buffer[64];
    nvo::bench::MeasureRatio(
        state, 2.0,
        [&] {
            for (const double value : values)
                benchmark::DoNotOptimize(ReferenceText(buffer, value, type));
        },
        [&] {
            for (const double value : values)
                benchmark::DoNotOptimize(nvo::FormatNumLabValue(value, format));
        });
}

const bool gFormatBenchmarks = [] {
    const QMetaEnum types = QMetaEnum::fromType<TNumLab::TDisplay>();
    for (int type = 0; type < types.keyCount(); ++type)
        benchmark::RegisterBenchmark((std::string("BM_NumLabFormat/") + types.valueToKey(type)).c_str(),
                                     BM_NumLabFormat, TNumLab::TDisplay(type));
    return true;
}();

void BM_NumLabUpdateAndPaint(benchmark::State &state)
{
    TNumLab label;
    QLabel reference;
    reference.resize(label.size());
    reference.setAlignment(Qt::AlignCenter);
    QImage image(label.size(), QImage::Format_RGB32);
    double value = 0;
    nvo::bench::MeasureRatio(
        state, 1.0,
        [&] {
            reference.setNum(value);
            reference.render(&image);
        },
        [&] {
            label.SetValue(value);
            label.render(&image);
            value += 0.25;
        });
}
BENCHMARK(BM_NumLabUpdateAndPaint);

} // namespace
