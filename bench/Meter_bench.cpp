// The meter against QDial, the analog control Qt itself paints: a value update
// with its paint, at the default size, at 1200 x 900 over a stretched background
// picture, and with a logarithmic scale over four hundred decades. The large meter
// also reports how many updates with a synchronous repaint it manages per second.
#include "BenchRatio.h"
#include "NVO_Meter.h"

#include <QtCore/QTemporaryDir>
#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <QtGui/QWindow>
#include <QtCore/QCoreApplication>
#include <QtWidgets/QDial>

namespace {

using nvo::TMeter;

/// A picture with detail everywhere, so that stretching it is real work.
QString SaveBackground(const QTemporaryDir &dir)
{
    QImage image(320, 240, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(200 + x % 56, 210 + y % 46, 230 + (x ^ y) % 26));
    const QString path = dir.filePath(QStringLiteral("background.png"));
    image.save(path, "PNG");
    return path;
}

/// A meter and a QDial of the same size, both updated and rendered into one image.
void CompareWithDial(benchmark::State &state, TMeter &meter, double goal)
{
    QDial dial;
    dial.resize(meter.size());
    dial.setRange(0, 1000);
    dial.setNotchesVisible(true);
    QImage image(meter.size(), QImage::Format_RGB32);
    const double min = meter.GetMeterMinValue(), max = meter.GetMeterMaxValue();
    int step = 0;
    nvo::bench::MeasureRatio(
        state, goal,
        [&] {
            dial.setValue(step % 1000);
            dial.render(&image);
        },
        [&] {
            meter.SetValue(min + (max - min) * (step % 1000) / 1000.0);
            meter.render(&image);
            ++step;
        });
}

/// A large meter with a stretched background picture and a scale ring.
void SetUpLarge(TMeter &meter, const QString &background)
{
    meter.resize(1200, 900);
    meter.SetBackGroundImg(background);
    meter.SetBkgndFillMode(nvo::bfStretch);
    meter.SetScaleBkVisible(true);
    meter.SetScaleBkWidth(10);
}

void BM_MeterDefault(benchmark::State &state)
{
    TMeter meter;
    meter.SetCaption(QStringLiteral("Volt"));
    CompareWithDial(state, meter, 1.0);
}
BENCHMARK(BM_MeterDefault);

void BM_MeterLargeStretchedBackground(benchmark::State &state)
{
    QTemporaryDir dir;
    TMeter meter;
    SetUpLarge(meter, SaveBackground(dir));
    CompareWithDial(state, meter, 1.0);
}
BENCHMARK(BM_MeterLargeStretchedBackground)->Unit(benchmark::kMicrosecond);

void BM_MeterLogOverFourHundredDecades(benchmark::State &state)
{
    TMeter meter;
    meter.SetMeterMaxValue(1e300);
    meter.SetMeterMinValue(1);
    meter.SetLogarithmic(true);
    meter.SetMeterMinValue(1e-100);
    // 3601 long ticks and 1201 labels of up to 302 digits, shaped and drawn once into
    // the kept dial; a value update draws the needle over it.
    CompareWithDial(state, meter, 10.0);
}
BENCHMARK(BM_MeterLogOverFourHundredDecades)->Unit(benchmark::kMicrosecond);

/// A value update against a paint of the whole meter, which a change of any other
/// setting asks for: the update draws needle, cover, lamps and frame over the kept dial.
void BM_MeterLargeValueUpdateVsUncachedPaint(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString background = SaveBackground(dir);
    TMeter uncached, cached;
    SetUpLarge(uncached, background);
    SetUpLarge(cached, background);
    QImage image(cached.size(), QImage::Format_RGB32);
    int step = 0;
    nvo::bench::MeasureRatio(
        state, 0.3,
        [&] {
            uncached.SetColorScale(step % 2 ? nvo::clr::Navy : nvo::clr::Blue);
            uncached.render(&image);
        },
        [&] {
            cached.SetValue((++step % 1000) / 1000.0);
            cached.render(&image);
        });
}
BENCHMARK(BM_MeterLargeValueUpdateVsUncachedPaint)->Unit(benchmark::kMicrosecond);

/// A meter that counts its paints, to prove that every update was painted.
class CountingMeter : public TMeter
{
public:
    int Paints = 0;

protected:
    void Paint(nvo::TCanvas &canvas) override
    {
        ++Paints;
        TMeter::Paint(canvas);
    }
};

/// Updates per second of a shown 1200 x 900 meter whose every value change
/// repaints at once, as the setters do on screen.
void BM_MeterLargeUpdateRate(benchmark::State &state)
{
    QTemporaryDir dir;
    CountingMeter meter;
    meter.resize(1200, 900);
    meter.SetBackGroundImg(SaveBackground(dir));
    meter.SetBkgndFillMode(nvo::bfStretch);
    meter.show();
    while (!meter.windowHandle() || !meter.windowHandle()->isExposed())
        QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    const int paintsBefore = meter.Paints;
    int step = 0;
    for (auto _ : state)
        meter.SetValue((++step % 1000) / 1000.0);
    state.counters["updates_per_s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["paints_per_update"] = double(meter.Paints - paintsBefore) / double(state.iterations());
}
BENCHMARK(BM_MeterLargeUpdateRate)->Unit(benchmark::kMicrosecond);

} // namespace
