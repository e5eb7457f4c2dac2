// The frame's bitmap canvas against the QPainter fill it is built on: the canvas
// adds the framework's rectangle rules and colour resolution, which must stay cheap.
#include "BenchRatio.h"
#include "NVO_Bitmap.h"

#include <QtGui/QImage>
#include <QtGui/QPainter>

namespace {

constexpr int Width = 200;
constexpr int Height = 60;

void BM_BitmapFill(benchmark::State &state)
{
    QImage image(Width, Height, QImage::Format_RGB32);
    QPainter painter(&image);
    nvo::TBitmap bitmap(Width, Height);
    nvo::TCanvas &canvas = bitmap.Canvas();
    canvas.Brush.SetColor(nvo::clr::Navy);
    const QColor navy = nvo::ToQColor(nvo::clr::Navy);

    nvo::bench::MeasureRatio(
        state, 1.5,
        [&] { painter.fillRect(0, 0, Width, Height, navy); },
        [&] { canvas.FillRect(0, 0, Width, Height); });
}
BENCHMARK(BM_BitmapFill);

} // namespace
