// The progress bar against QProgressBar: a value update with its paint, for a
// 2000-pixel bar with the full colour gradient, grid and value text, against the
// style's own bar of the same size showing the same value.
#include "BenchRatio.h"
#include "NVO_ProgBar.h"

#include <QtGui/QImage>
#include <QtWidgets/QProgressBar>

namespace {

using nvo::TProgBar;

void BM_ProgBarGradientPaint(benchmark::State &state)
{
    TProgBar bar;
    bar.resize(2000, 28);
    bar.SetShowColorGradient(true);
    bar.SetColorMapMode(TProgBar::cgmCover);
    bar.SetGridDist(25);
    QProgressBar reference;
    reference.resize(bar.size());
    reference.setRange(0, 100);
    QImage image(bar.size(), QImage::Format_RGB32);
    int value = 0;
    nvo::bench::MeasureRatio(
        state, 1.0,
        [&] {
            reference.setValue(value);
            reference.render(&image);
        },
        [&] {
            bar.SetValue(value);
            bar.render(&image);
            // 50..100 %: the gradient always covers a thousand pixels or more.
            value = value >= 100 ? 50 : value + 1;
        });
}
BENCHMARK(BM_ProgBarGradientPaint);

} // namespace
