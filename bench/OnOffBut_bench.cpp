// The on/off button against the Qt widgets it stands in for: a state change with its
// paint, at the same size and with the same text, against a QCheckBox and a
// checkable QPushButton toggled and painted the same way. The button keeps its style
// pictures with a transparent background, so a paint fills, writes and copies only.
// The check box is what the button replaces (goal 1x); a push button paints one bevel
// and its text but no picture, so the button may take half as long again.
#include "BenchRatio.h"
#include "NVO_onoffbut.h"

#include <QtGui/QImage>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QPushButton>

#include <memory>

namespace {

using nvo::TOnOffBut;

template<class Reference>
void MeasureOnOffButPaint(benchmark::State &state, double goal)
{
    const auto reference = std::make_unique<Reference>();
    TOnOffBut button;
    button.SetButtonStyle(TOnOffBut::oobsCheckbox);
    button.SetRightText(QStringLiteral("Enabled"));
    reference->setText(QStringLiteral("Enabled"));
    reference->setCheckable(true);
    reference->resize(button.size());
    QImage image(button.size(), QImage::Format_RGB32);
    nvo::bench::MeasureRatio(
        state, goal,
        [&] {
            reference->toggle();
            reference->render(&image);
        },
        [&] {
            button.SetOnOff(!button.GetOnOff());
            button.render(&image);
        });
}
void BM_OnOffButPaintVsCheckBox(benchmark::State &state) { MeasureOnOffButPaint<QCheckBox>(state, 1.0); }
BENCHMARK(BM_OnOffButPaintVsCheckBox);

void BM_OnOffButPaintVsPushButton(benchmark::State &state) { MeasureOnOffButPaint<QPushButton>(state, 1.5); }
BENCHMARK(BM_OnOffButPaintVsPushButton);

} // namespace
