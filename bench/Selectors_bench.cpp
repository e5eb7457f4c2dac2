// The two selectors against what a Qt programmer would write instead: the entries of
// the colour selector's open list against those of a QComboBox whose items carry
// coloured icons (47 each, the most the selector holds), and the marker selector's
// paint against a widget that draws 52 QPainterPaths of like shapes.
#include "BenchRatio.h"
#include "NVO_Colsel.h"
#include "NVO_marksel.h"

#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <QtGui/QPainterPath>
#include <QtGui/QPixmap>
#include <QtWidgets/QAbstractItemView>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QStyleOption>

#include <array>

namespace {

/// Paints every item of the open list of `combo` into `image`, one below the other,
/// through the list's own delegate, as the list does when it opens.
void PaintList(QComboBox &combo, QImage &image, int itemHeight)
{
    QPainter painter(&image);
    QStyleOptionViewItem option;
    option.initFrom(combo.view());
    option.font = combo.font();
    option.decorationSize = combo.iconSize();
    for (int row = 0; row < combo.count(); ++row) {
        option.rect = QRect(0, row * itemHeight, image.width(), itemHeight);
        option.state = row == combo.currentIndex() ? QStyle::State_Selected | QStyle::State_Enabled
                                                   : QStyle::State_Enabled;
        combo.itemDelegate()->paint(&painter, option, combo.model()->index(row, 0));
    }
}

void BM_ColSelListPaint(benchmark::State &state)
{
    // The most entries the selector holds: the standard palette.
    nvo::TColSel selector;
    selector.LoadStandardPalette();
    QComboBox reference;
    QPixmap swatch(30, 14);
    for (int i = 1; i <= selector.GetNumColors(); ++i) {
        swatch.fill(nvo::ToQColor(selector.GetColors(i)));
        reference.addItem(QIcon(swatch), selector.GetColorNames(i));
    }
    reference.setIconSize(swatch.size());
    const int itemHeight = selector.fontMetrics().height() + 6;
    QImage image(220, selector.GetNumColors() * itemHeight, QImage::Format_RGB32);
    nvo::bench::MeasureRatio(
        state, 1.0, [&] { PaintList(reference, image, itemHeight); },
        [&] { PaintList(selector, image, itemHeight); });
}
BENCHMARK(BM_ColSelListPaint);

/// A widget that draws one path per marker cell, as a plain Qt marker grid would.
class PathGrid : public QWidget
{
public:
    PathGrid()
    {
        resize(236, 178);
        for (int mark = 0; mark < nvo::NrOfMarks; ++mark) {
            const QPointF centre(16 + 29 * (mark % 8), 16 + 29 * (mark / 8));
            QPainterPath &path = FPaths[size_t(mark)];
            switch (mark % 4) {
            case 0: path.addRect(QRectF(centre - QPointF(4, 4), QSizeF(8, 8))); break;
            case 1: path.addEllipse(centre, 4, 4); break;
            case 2:
                path.moveTo(centre + QPointF(0, -4));
                path.lineTo(centre + QPointF(4, 4));
                path.lineTo(centre + QPointF(-4, 4));
                path.closeSubpath();
                break;
            default:
                path.moveTo(centre + QPointF(-4, -4));
                path.lineTo(centre + QPointF(4, 4));
                path.moveTo(centre + QPointF(4, -4));
                path.lineTo(centre + QPointF(-4, 4));
                break;
            }
        }
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().button());
        painter.setPen(Qt::black);
        painter.setBrush(palette().button());
        for (const QPainterPath &path : FPaths)
            painter.drawPath(path);
    }

private:
    std::array<QPainterPath, nvo::NrOfMarks> FPaths;
};

void BM_MarkSelPaint(benchmark::State &state)
{
    nvo::TMarkSel selector;
    selector.SetSelected(12);
    PathGrid reference;
    QImage image(selector.size(), QImage::Format_RGB32);
    nvo::bench::MeasureRatio(
        state, 1.5, [&] { reference.render(&image); }, [&] { selector.render(&image); });
}
BENCHMARK(BM_MarkSelPaint);

} // namespace
