// The auto-repeat button against the QToolButton with auto-repeat a user would take
// instead: both paint through the Qt style, so the control base must add nothing
// worth measuring to a paint (goal 1.1x, the noise of a shared machine).
#include "BenchRatio.h"
#include "NVO_repsbut.h"

#include <QtGui/QImage>
#include <QtWidgets/QToolButton>

namespace {

void BM_RepSpeedButtonPaintVsToolButton(benchmark::State &state)
{
    QToolButton reference;
    reference.setAutoRepeat(true);
    nvo::TRepSpeedButton button;
    for (QToolButton *b : {static_cast<QToolButton *>(&button), &reference}) {
        b->setText(QStringLiteral("+"));
        b->resize(40, 28);
    }
    QImage image(button.size(), QImage::Format_RGB32);
    nvo::bench::MeasureRatio(
        state, 1.1, [&] { reference.render(&image); }, [&] { button.render(&image); });
}
BENCHMARK(BM_RepSpeedButtonPaintVsToolButton);

} // namespace
