// The seven-segment display against QLCDNumber: a caption change with its paint,
// both showing the same text at the same size. The display copies glyphs from its
// cache; the cache itself is built only on colour, size or layout changes, which
// the second benchmark prices on its own.
#include "BenchRatio.h"
#include "NVO_sevenseg.h"

#include <QtGui/QImage>
#include <QtWidgets/QLCDNumber>

#include <array>

namespace {

using nvo::TSevenSeg;

const std::array<QString, 4> kTexts = {QStringLiteral("12.34"), QStringLiteral("-5.678"),
                                       QStringLiteral("90:12"), QStringLiteral("8.8.8.8.")};

void BM_SevenSegPaint(benchmark::State &state)
{
    TSevenSeg display;
    display.SetNumDigits(5);
    QLCDNumber reference(5);
    reference.resize(display.size());
    QImage image(display.size(), QImage::Format_RGB32);
    size_t i = 0;
    nvo::bench::MeasureRatio(
        state, 1.0,
        [&] {
            reference.display(kTexts[i % kTexts.size()]);
            reference.render(&image);
        },
        [&] {
            display.SetCaption(kTexts[i % kTexts.size()]);
            display.render(&image);
            ++i;
        });
}
BENCHMARK(BM_SevenSegPaint);

/// What one colour change costs: the 21 glyphs composed and reduced again by the
/// next paint.
void BM_SevenSegCacheRebuild(benchmark::State &state)
{
    TSevenSeg display;
    QImage image(display.size(), QImage::Format_RGB32);
    bool red = false;
    for (auto _ : state) {
        display.SetColorText(red ? nvo::clr::Red : nvo::clr::Lime);
        display.render(&image);
        red = !red;
    }
}
BENCHMARK(BM_SevenSegCacheRebuild)->Unit(benchmark::kMillisecond);

} // namespace
