// The report list view against itself with few rows, against QTableView over a model
// reading the same store, and its header-click sort against a plain stable sort of an
// index: painting must not grow with the row count, painting and scrolling a page may
// not cost more than Qt's own table view, and the view adds little to the store's sort.
// AutoColWidth over a million rows is reported as a time (its bound: 100 ms).
#include "BenchRatio.h"
#include "NVO_replistview.h"
#include "ReferenceTableView.h"

#include <QtCore/QAbstractTableModel>
#include <QtGui/QImage>
#include <QtGui/QMouseEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QTableView>

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

namespace {

using nvo::TReportListView;

constexpr int kWidth = 420;
constexpr int kHeight = 800;
constexpr int kCols = 6;
constexpr int kMillion = 1'000'000;
constexpr int kKeyCol = 2;

/// Mixed texts: a row number, a name with a number, an amount and a check box.
void FillRows(TReportListView &view, int rows)
{
    view.SetNrOfColumns(kCols);
    view.SetColumnCheckMode(5, nvo::TRLData::cmBox);
    view.SetNrOfRows(rows);
    nvo::TStringArray &cells = view.RLData().Strings();
    cells.BeginUpdate();
    for (int r = 1; r <= rows; ++r) {
        const unsigned hash = unsigned(r) * 2654435761u;
        cells.SetString(1, r, QString::number(r));
        cells.SetString(kKeyCol, r, QStringLiteral("Customer %1").arg(hash % 100000));
        cells.SetString(3, r, QString::number(double(hash % 1000000) / 100.0, 'f', 2));
        cells.SetString(4, r, QStringLiteral("Text %1").arg(r % 97));
        cells.SetString(5, r, hash % 3 ? QStringLiteral(" ") : QStringLiteral("X"));
        cells.SetString(6, r, QStringLiteral("Note"));
    }
    cells.EndUpdate();
}

/// A shown view of `rows` rows, made once per row count.
TReportListView &ShownView(int rows)
{
    const auto make = [](int count) {
        auto *view = new TReportListView;
        view->SetBorderStyle(nvo::TCustomGrid::bsNone);
        view->SetScrollBars(nvo::TCustomGrid::ssNone);
        FillRows(*view, count);
        view->resize(kWidth, kHeight);
        view->show();
        return view;
    };
    static TReportListView *hundred = make(100);
    static TReportListView *million = make(kMillion);
    return rows == 100 ? *hundred : *million;
}

/// The view's store as a table model, as an application would show it in Qt's view.
class StoreModel : public QAbstractTableModel
{
public:
    explicit StoreModel(const nvo::TRLData &store) : FStore(store) {}
    int rowCount(const QModelIndex &) const override { return FStore.GetNrOfRows(); }
    int columnCount(const QModelIndex &) const override { return FStore.GetNrOfColumns(); }
    QVariant data(const QModelIndex &index, int role) const override
    {
        return role == Qt::DisplayRole ? QVariant(FStore.GetElem(index.column() + 1, index.row() + 1)) : QVariant();
    }

private:
    const nvo::TRLData &FStore;
};

/// A table view laid out like the report list: 64 x 24 cells and a header row.
class TableView : public QTableView
{
public:
    explicit TableView(const nvo::TRLData &store) : FModel(store)
    {
        nvo::bench::ShowAsReferenceTable(*this, &FModel, QSize(kWidth, kHeight), false);
    }

private:
    StoreModel FModel;
};

void Render(QWidget *widget, QImage &image)
{
    widget->render(&image);
}

void BM_RepListPaintMillionVsHundredRows(benchmark::State &state)
{
    TReportListView &hundred = ShownView(100);
    TReportListView &million = ShownView(kMillion);
    million.SetTopRow(kMillion / 2);
    hundred.SetTopRow(1);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    nvo::bench::MeasureRatio(
        state, 1.1, [&] { Render(hundred.viewport(), image); }, [&] { Render(million.viewport(), image); });
}
BENCHMARK(BM_RepListPaintMillionVsHundredRows);

void BM_RepListPaintVsTableView(benchmark::State &state)
{
    TReportListView &view = ShownView(kMillion);
    TableView table(view.RLData());
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    nvo::bench::MeasureRatio(
        state, 1.0, [&] { Render(table.viewport(), image); }, [&] { Render(view.viewport(), image); });
}
BENCHMARK(BM_RepListPaintVsTableView);

void BM_RepListScrollPageVsTableView(benchmark::State &state)
{
    TReportListView &view = ShownView(kMillion);
    TableView table(view.RLData());
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    const int page = view.GetVisibleRowCount();
    int viewTop = 1, tableTop = 0;
    nvo::bench::MeasureRatio(
        state, 1.0,
        [&] {
            tableTop = (tableTop + page) % (kMillion - page);
            table.scrollTo(table.model()->index(tableTop, 0), QAbstractItemView::PositionAtTop);
            Render(table.viewport(), image);
        },
        [&] {
            viewTop = 1 + (viewTop + page) % (kMillion - page);
            view.SetTopRow(viewTop);
            Render(view.viewport(), image);
        });
}
BENCHMARK(BM_RepListScrollPageVsTableView);

/// A press and release on the header of the key column, as a user sorts.
void ClickKeyHeader(TReportListView &view)
{
    const QPoint header = view.CellRect(kKeyCol - 1, 0).center();
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, header, view.viewport()->mapToGlobal(header), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &event);
    }
}

void BM_RepListHeaderSortVsStableSort(benchmark::State &state)
{
    TReportListView &view = ShownView(kMillion);
    // The keys as the store compares them (case-folded, then exact), taken out once:
    // the reference sorts an index by them.
    struct Key {
        std::string folded, exact;
    };
    std::vector<Key> keys(kMillion);
    for (int r = 1; r <= kMillion; ++r) {
        const QString text = view.RLData().Strings().GetString(kKeyCol, r);
        keys[size_t(r - 1)] = {text.toCaseFolded().toStdString(), text.toStdString()};
    }
    std::vector<int> index(kMillion);
    bool ascending = view.RLData().GetSortToggle();
    nvo::bench::MeasureRatio(
        state, 1.5,
        [&] {
            std::iota(index.begin(), index.end(), 0);
            ascending = !ascending;
            std::stable_sort(index.begin(), index.end(), [&](int a, int b) {
                const Key &x = keys[size_t(ascending ? a : b)], &y = keys[size_t(ascending ? b : a)];
                if (const int c = x.folded.compare(y.folded))
                    return c < 0;
                return x.exact < y.exact;
            });
            benchmark::DoNotOptimize(index.data());
        },
        [&] { ClickKeyHeader(view); });
}
BENCHMARK(BM_RepListHeaderSortVsStableSort)->Unit(benchmark::kMillisecond)->Iterations(4);

/// What the view adds to the store's sort: the click, the restore of the current row
/// and one repaint.
void BM_RepListHeaderSortVsStoreSort(benchmark::State &state)
{
    TReportListView &view = ShownView(kMillion);
    bool ascending = view.RLData().GetSortToggle();
    nvo::bench::MeasureRatio(
        state, 1.1,
        [&] {
            ascending = !ascending;
            view.RLData().Sort(kKeyCol, -1, ascending);
        },
        [&] { ClickKeyHeader(view); });
}
BENCHMARK(BM_RepListHeaderSortVsStoreSort)->Unit(benchmark::kMillisecond)->Iterations(4);

void BM_RepListAutoColWidthMillionRows(benchmark::State &state)
{
    TReportListView &view = ShownView(kMillion);
    for (auto _ : state)
        view.AutoColWidth(kKeyCol, true, 0);
    state.counters["width"] = view.GetColWidths(kKeyCol);
}
BENCHMARK(BM_RepListAutoColWidthMillionRows)->Unit(benchmark::kMillisecond);

} // namespace
