// The grid base against the same grid with few rows and against QTableView over a
// model with the same texts: painting must not grow with the row count, and neither
// painting nor scrolling a page may cost more than Qt's own table view.
#include "BenchRatio.h"
#include "NVO_Grid.h"
#include "ReferenceTableView.h"

#include <QtCore/QAbstractTableModel>
#include <QtGui/QImage>
#include <QtWidgets/QTableView>

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 800;
constexpr int kCols = 20;
constexpr int kMillion = 1'000'000;

/// The same texts at any row count, so that the row count alone makes a difference.
QString CellText(int col, int row)
{
    return QStringLiteral("R%1 C%2").arg(row % 100).arg(col);
}

/// A grid that writes each cell's text, as the report list does.
class TextGrid : public nvo::TCustomGrid
{
public:
    explicit TextGrid(int rows)
    {
        SetBorderStyle(bsNone);
        SetScrollBars(ssNone);
        SetColCount(kCols);
        SetRowCount(rows);
        resize(kWidth, kHeight);
        show();
    }

protected:
    void DrawCell(nvo::TCanvas &canvas, int col, int row, const QRect &rect, TGridDrawState) override
    {
        canvas.TextRect(rect, rect.left() + 2, rect.top() + 2, CellText(col, row));
    }
};

class TextModel : public QAbstractTableModel
{
public:
    explicit TextModel(int rows) : FRows(rows) {}
    int rowCount(const QModelIndex &) const override { return FRows; }
    int columnCount(const QModelIndex &) const override { return kCols; }
    QVariant data(const QModelIndex &index, int role) const override
    {
        return role == Qt::DisplayRole ? QVariant(CellText(index.column(), index.row())) : QVariant();
    }

private:
    int FRows;
};

/// A table view laid out like the grid: 64 x 24 cells, no scroll bars or frame.
class TableView : public QTableView
{
public:
    explicit TableView(int rows) : FModel(rows)
    {
        nvo::bench::ShowAsReferenceTable(*this, &FModel, QSize(kWidth, kHeight), true);
    }

private:
    TextModel FModel;
};

void Render(QWidget *widget, QImage &image)
{
    widget->render(&image);
}

void BM_GridPaintMillionVsHundredRows(benchmark::State &state)
{
    TextGrid hundred(100), million(kMillion);
    million.SetTopRow(kMillion / 2);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    nvo::bench::MeasureRatio(
        state, 1.1, [&] { Render(hundred.viewport(), image); },
        [&] { Render(million.viewport(), image); });
}
BENCHMARK(BM_GridPaintMillionVsHundredRows);

void BM_GridPaintVsTableView(benchmark::State &state)
{
    TextGrid grid(kMillion);
    TableView view(kMillion);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    nvo::bench::MeasureRatio(
        state, 1.0, [&] { Render(view.viewport(), image); },
        [&] { Render(grid.viewport(), image); });
}
BENCHMARK(BM_GridPaintVsTableView);

void BM_GridScrollPageVsTableView(benchmark::State &state)
{
    TextGrid grid(kMillion);
    TableView view(kMillion);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    const int page = grid.GetVisibleRowCount();
    int gridTop = 1, viewTop = 0;
    nvo::bench::MeasureRatio(
        state, 1.0,
        [&] {
            viewTop = (viewTop + page) % (kMillion - page);
            view.scrollTo(view.model()->index(viewTop, 0), QAbstractItemView::PositionAtTop);
            Render(view.viewport(), image);
        },
        [&] {
            gridTop = 1 + (gridTop + page) % (kMillion - page);
            grid.SetTopRow(gridTop);
            Render(grid.viewport(), image);
        });
}
BENCHMARK(BM_GridScrollPageVsTableView);

} // namespace
