// The dot-matrix label scrolling texts of very different lengths: one scroll step
// with its paint must cost the same for 100k characters as for 10, since only the
// visible characters are drawn.
#include "BenchRatio.h"
#include "NVO_RasterLab.h"

#include <QtGui/QImage>

#include <memory>

namespace {

using nvo::TRasterLab;

/// A label scrolling `length` characters of running text to the left every 10 ms.
std::unique_ptr<TRasterLab> ScrollingLabel(int length)
{
    static const QString sample = QStringLiteral("The quick brown fox jumps over the lazy dog. 0123456789 ");
    QString text;
    text.reserve(length);
    while (text.size() < length)
        text += sample;
    text.truncate(length);
    auto label = std::make_unique<TRasterLab>();
    label->SetText(text);
    label->SetScrollInterval(10);
    label->SetScrollMode(TRasterLab::rdsmLeft);
    return label;
}

/// One timer tick as the label lives it: the scroll step, then the paint.
void Tick(TRasterLab &label, QImage &image)
{
    label.DoTimer();
    label.render(&image);
}

/// Ticks per second a label can take (the counter "items_per_second").
void BM_RasterLabTickRate(benchmark::State &state)
{
    const auto label = ScrollingLabel(int(state.range(0)));
    QImage image(label->size(), QImage::Format_RGB32);
    for (auto _ : state)
        Tick(*label, image);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RasterLabTickRate)->Arg(10)->Arg(1000)->Arg(100000);

/// The cost of a tick for a long text against the same for a 10-character text.
void BM_RasterLabTickLongVsShort(benchmark::State &state)
{
    const auto shortLabel = ScrollingLabel(10);
    const auto longLabel = ScrollingLabel(int(state.range(0)));
    QImage image(shortLabel->size(), QImage::Format_RGB32);
    nvo::bench::MeasureRatio(
        state, 1.5, [&] { Tick(*shortLabel, image); }, [&] { Tick(*longLabel, image); });
}
BENCHMARK(BM_RasterLabTickLongVsShort)->Arg(1000)->Arg(100000);

} // namespace
