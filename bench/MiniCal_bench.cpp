// The mini calendar against Qt's QCalendarWidget at the same size, and a calendar with
// a thousand holidays against one with the eight defaults: the holidays of the shown
// month are looked up once, so a long holiday list must not slow a paint down.
#include "BenchRatio.h"
#include "NVO_MiniCal.h"

#include <QtGui/QImage>
#include <QtWidgets/QCalendarWidget>

namespace {

constexpr QSize kSize(300, 180);
const QDate kShown(2025, 6, 9);

void Show(QWidget &widget)
{
    widget.resize(kSize);
    widget.show();
}

void BM_MiniCalPaintVsQCalendarWidget(benchmark::State &state)
{
    nvo::TMiniCal calendar;
    calendar.SetSelectedDate(kShown);
    Show(calendar);
    QCalendarWidget reference;
    reference.setSelectedDate(kShown);
    Show(reference);
    QImage image(kSize, QImage::Format_RGB32);
    nvo::bench::MeasureRatio(
        state, 1.0, [&] { reference.render(&image); }, [&] { calendar.render(&image); });
}
BENCHMARK(BM_MiniCalPaintVsQCalendarWidget);

void BM_MiniCalPaintThousandHolidaysVsEight(benchmark::State &state)
{
    nvo::TMiniCal eight;
    eight.SetSelectedDate(kShown);
    Show(eight);
    nvo::TMiniCal thousand;
    thousand.SetSelectedDate(kShown);
    for (int i = 0; i < 992; ++i)
        thousand.AddHoliday(1 + i % 28, 1 + i % 12, 1900 + i, QStringLiteral("Holiday"));
    Show(thousand);
    QImage image(kSize, QImage::Format_RGB32);
    nvo::bench::MeasureRatio(
        state, 1.1, [&] { eight.render(&image); }, [&] { thousand.render(&image); });
}
BENCHMARK(BM_MiniCalPaintThousandHolidaysVsEight);

} // namespace
