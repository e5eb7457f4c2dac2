// The thumbnail strip's paint: a strip of 10^9 slides (with a selection of many runs)
// against one of 100, which must cost the same since only the slides in view are
// visited; and a strip of 100 slides against a QListView in icon mode showing the
// same 100 pictures with their numbers, as a Qt programmer would build it.
#include "BenchRatio.h"
#include "NVO_Format.h"
#include "NVO_Thumbnails.h"

#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <QtGui/QPixmap>
#include <QtGui/QStandardItemModel>
#include <QtWidgets/QApplication>
#include <QtWidgets/QListView>

#include <memory>

namespace {

constexpr QSize kStripSize(440, 330);

/// One picture for every slide, handed over on every request.
nvo::TBitmap SlidePicture()
{
    nvo::TBitmap picture(160, 120);
    picture.Canvas().Brush.SetColor(nvo::RGBColor(0x60, 0xA0, 0xD0));
    picture.Canvas().FillRect(0, 0, 160, 120);
    picture.Canvas().Brush.SetColor(nvo::RGBColor(0xF0, 0xC0, 0x40));
    picture.Canvas().Ellipse(50, 20, 110, 80);
    return picture;
}

std::unique_ptr<nvo::TThumbnails> MakeStrip(qint64 max, double first, const nvo::TBitmap &picture)
{
    auto strip = std::make_unique<nvo::TThumbnails>();
    strip->resize(kStripSize);
    strip->SetMax(max);
    strip->SetFirstThumbIdx(first);
    strip->SetSlideSelectMode(nvo::TThumbnails::ssmMultiple);
    strip->OnImageRequest = [&picture](QObject *, qint64 n, nvo::TThumbnails::TImageRequestProcessing &how, int &,
                                       nvo::TBitmap &buffer) {
        how = nvo::TThumbnails::irpShowSlide;
        buffer = picture;
    };
    return strip;
}

void BM_ThumbnailsPaintBillionVsHundred(benchmark::State &state)
{
    const nvo::TBitmap picture = SlidePicture();
    auto hundred = MakeStrip(100, 1, picture);
    // A row start (three slides to a row), so that both strips show the same nine slides.
    constexpr qint64 kTop = 500'000'002;
    auto billion = MakeStrip(1'000'000'000, kTop, picture);
    // Every other slide selected around the view and one run over everything after it:
    // thousands of ranges to search.
    for (qint64 n = kTop - 10'000; n < kTop + 10'000; n += 2)
        billion->SetSlideSelected(n, true);
    billion->SetSlidesSelected(500'100'000, 1'000'000'000, true);
    QImage image(kStripSize, QImage::Format_RGB32);
    nvo::bench::MeasureRatio(
        state, 1.1, [&] { hundred->render(&image); }, [&] { billion->render(&image); });
}
BENCHMARK(BM_ThumbnailsPaintBillionVsHundred);

void BM_ThumbnailsPaintVsListView(benchmark::State &state)
{
    const nvo::TBitmap picture = SlidePicture();
    auto strip = MakeStrip(100, 1, picture);
    strip->SetSlideSelected(2, true);
    QStandardItemModel model;
    const QIcon icon(QPixmap::fromImage(picture.Image()));
    for (int n = 1; n <= 100; ++n)
        model.appendRow(new QStandardItem(icon, nvo::FormatInt(n)));
    QListView view;
    view.setViewMode(QListView::IconMode);
    view.setModel(&model);
    view.setIconSize(QSize(120, 120));
    view.setGridSize(QSize(136, 136));
    view.setUniformItemSizes(true);
    view.resize(kStripSize);
    view.selectionModel()->select(model.index(1, 0), QItemSelectionModel::Select);
    view.show();
    strip->show();
    QApplication::processEvents();
    QImage image(kStripSize, QImage::Format_RGB32);
    nvo::bench::MeasureRatio(
        state, 1.0, [&] { view.render(&image); }, [&] { strip->render(&image); });
}
BENCHMARK(BM_ThumbnailsPaintVsListView);

} // namespace
