// The custom numeric field with a long buffer: typing, dragging a selection and
// painting must cost at most in proportion to the buffer's length. Each benchmark
// times the same event on a 1k-character buffer (reference) and a 100k-character
// buffer (subject); a linear cost gives a ratio of about 100, a quadratic one
// about 10000. The goal leaves room for cache effects on the long buffer.
#include "BenchRatio.h"
#include "NVO_NumIO2.h"

#include <QtGui/QImage>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtWidgets/QApplication>

#include <memory>

namespace {

constexpr int kShort = 1000;
constexpr int kLong = 100000;
constexpr double kLinearGoal = 150.0;

std::unique_ptr<nvo::TNumIO2> MakeField(int length)
{
    auto field = std::make_unique<nvo::TNumIO2>();
    field->SetInputFormat(nvo::TNumIO2::itInt);
    field->SetText(QString(length, QLatin1Char('1')));
    field->SetHideSelection(false);
    return field;
}

void Send(QWidget *widget, QEvent &&event) { QApplication::sendEvent(widget, &event); }

/// One keystroke that edits and one that undoes it, at the end of the buffer.
void TypeAndErase(nvo::TNumIO2 &field)
{
    Send(&field, QKeyEvent(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier));
    Send(&field, QKeyEvent(QEvent::KeyPress, Qt::Key_1, Qt::NoModifier, QStringLiteral("1")));
    Send(&field, QKeyEvent(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier));
}

/// A press and a drag of the mouse across the text box.
void Drag(nvo::TNumIO2 &field)
{
    const QPointF from(40, 10), to(100, 10);
    Send(&field, QMouseEvent(QEvent::MouseButtonPress, from, from, Qt::LeftButton, Qt::LeftButton,
                             Qt::NoModifier));
    Send(&field, QMouseEvent(QEvent::MouseMove, to, to, Qt::NoButton, Qt::LeftButton, Qt::NoModifier));
    Send(&field, QMouseEvent(QEvent::MouseButtonRelease, to, to, Qt::LeftButton, Qt::NoButton,
                             Qt::NoModifier));
}

void BM_NumIO2TypingLongBuffer(benchmark::State &state)
{
    auto shortField = MakeField(kShort);
    auto longField = MakeField(kLong);
    nvo::bench::MeasureRatio(state, kLinearGoal, [&] { TypeAndErase(*shortField); },
                             [&] { TypeAndErase(*longField); });
}
BENCHMARK(BM_NumIO2TypingLongBuffer)->Iterations(200);

void BM_NumIO2DragLongBuffer(benchmark::State &state)
{
    auto shortField = MakeField(kShort);
    auto longField = MakeField(kLong);
    nvo::bench::MeasureRatio(state, kLinearGoal, [&] { Drag(*shortField); }, [&] { Drag(*longField); });
}
BENCHMARK(BM_NumIO2DragLongBuffer)->Iterations(50);

void BM_NumIO2PaintLongBuffer(benchmark::State &state)
{
    auto shortField = MakeField(kShort);
    auto longField = MakeField(kLong);
    shortField->SetSelEnd(kShort / 2);
    longField->SetSelEnd(kLong / 2);
    QImage image(shortField->size(), QImage::Format_ARGB32_Premultiplied);
    nvo::bench::MeasureRatio(state, kLinearGoal, [&] { shortField->render(&image); },
                             [&] { longField->render(&image); });
}
BENCHMARK(BM_NumIO2PaintLongBuffer)->Iterations(20);

} // namespace
