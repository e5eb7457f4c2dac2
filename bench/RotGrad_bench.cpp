// The rotated label and the gradient fill against the plain Qt means they compete
// with: a turned caption's paint against a QLabel painting the same text upright,
// and a gradient fill's paint of a large area against a QPainter filling it with a
// QLinearGradient.
#include "BenchRatio.h"
#include "NVO_RotLab.h"
#include "NVO_gradfl.h"

#include <QtGui/QImage>
#include <QtGui/QLinearGradient>
#include <QtGui/QPainter>
#include <QtWidgets/QLabel>

namespace {

void BM_RotLabPaint(benchmark::State &state)
{
    const QString caption = QStringLiteral("Rotated label 123");
    nvo::TRotLab label;
    label.resize(160, 160);
    label.SetCaption(caption);
    label.SetTextAngle(30);
    label.SetTransparent(false);
    QLabel reference(caption);
    reference.setFont(label.font());
    reference.resize(label.size());
    reference.setAlignment(Qt::AlignCenter);
    reference.setFrameStyle(QFrame::Panel | QFrame::Sunken);
    reference.setAutoFillBackground(true);
    QImage image(label.size(), QImage::Format_RGB32);
    nvo::bench::MeasureRatio(
        state, 2.0, [&] { reference.render(&image); }, [&] { label.render(&image); });
}
BENCHMARK(BM_RotLabPaint);

void BM_GradFillPaint(benchmark::State &state)
{
    nvo::TGradFill fill;
    fill.resize(1000, 1000);
    fill.SetNrColors(255);
    QImage image(fill.size(), QImage::Format_RGB32);
    QLinearGradient gradient(0, 0, 0, 1000);
    gradient.setColorAt(0, nvo::ToQColor(fill.GetColorFirst()));
    gradient.setColorAt(1, nvo::ToQColor(fill.GetColorLast()));
    nvo::bench::MeasureRatio(
        state, 2.0,
        [&] {
            QPainter painter(&image);
            painter.fillRect(image.rect(), gradient);
        },
        [&] { fill.render(&image); });
}
BENCHMARK(BM_GradFillPaint);

} // namespace
