// The report list view's FilterAndSort over a million rows against what Qt offers for
// the same job: a QSortFilterProxyModel filtering and sorting a QStandardItemModel that
// holds the same texts (goal: half its time at most), and a regular-expression filter
// against a plain loop of QRegularExpression::match over the column's texts (goal: the
// view's bookkeeping adds at most a fifth).
#include "BenchRatio.h"
#include "NVO_replistview.h"

#include <QtCore/QRegularExpression>
#include <QtCore/QSortFilterProxyModel>
#include <QtGui/QStandardItemModel>

#include <vector>

namespace {

using nvo::TReportListView;

constexpr int kMillion = 1'000'000;
constexpr int kCols = 3;
constexpr int kNameCol = 1;
constexpr int kAmountCol = 2;

/// Row `r`'s texts: a customer name with a number, an amount and a note.
QString CellText(int col, int r)
{
    const unsigned hash = unsigned(r) * 2654435761u;
    switch (col) {
    case kNameCol: return QStringLiteral("Customer %1").arg(hash % 100000);
    case kAmountCol: return QString::number(double(hash % 1000000) / 100.0, 'f', 2);
    default: return QStringLiteral("Text %1").arg(r % 97);
    }
}

/// A view of a million rows, made once.
TReportListView &MillionRowView()
{
    static TReportListView *view = [] {
        auto *v = new TReportListView;
        v->SetNrOfColumns(kCols);
        v->SetNrOfRows(kMillion);
        nvo::TStringArray &cells = v->RLData().Strings();
        cells.BeginUpdate();
        for (int r = 1; r <= kMillion; ++r)
            for (int c = 1; c <= kCols; ++c)
                cells.SetString(c, r, CellText(c, r));
        cells.EndUpdate();
        v->resize(420, 800);
        v->show();
        return v;
    }();
    return *view;
}

void BM_RepListFilterAndSortVsSortFilterProxy(benchmark::State &state)
{
    TReportListView &view = MillionRowView();
    QStandardItemModel model(kMillion, kCols);
    for (int r = 1; r <= kMillion; ++r)
        for (int c = 1; c <= kCols; ++c)
            model.setItem(r - 1, c - 1, new QStandardItem(CellText(c, r)));
    const QString pattern = QStringLiteral("12");
    int shown = 0;
    nvo::bench::MeasureRatio(
        state, 0.5,
        [&] {
            QSortFilterProxyModel proxy;
            proxy.setSourceModel(&model);
            proxy.setFilterKeyColumn(kNameCol - 1);
            proxy.setFilterFixedString(pattern);
            proxy.sort(kAmountCol - 1, Qt::AscendingOrder);
            shown = proxy.rowCount();
        },
        [&] {
            view.FilterAndSort(pattern, {kNameCol}, false, TReportListView::TFilterMode::fmSimple, kAmountCol, true);
        });
    if (view.GetNrOfShownRows() != shown)
        state.SkipWithError("the two filters disagree");
}
BENCHMARK(BM_RepListFilterAndSortVsSortFilterProxy)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RepListRegexFilterVsMatchLoop(benchmark::State &state)
{
    TReportListView &view = MillionRowView();
    // From the entry order, whatever an earlier benchmark left.
    view.FilterAndSort(QString(), {}, false, TReportListView::TFilterMode::fmSimple, -1, true);
    QStringList names;
    names.reserve(kMillion);
    for (int r = 1; r <= kMillion; ++r)
        names << view.GetElem(kNameCol, r);
    const QString pattern = QStringLiteral("^Customer 1\\d*7$");
    const QRegularExpression expression(pattern);
    int matched = 0;
    nvo::bench::MeasureRatio(
        state, 1.2,
        [&] {
            matched = 0;
            for (const QString &name : names)
                matched += expression.match(name).hasMatch() ? 1 : 0;
        },
        [&] { view.FilterAndSort(pattern, {kNameCol}, false, TReportListView::TFilterMode::fmGrep, -1, true); });
    if (view.GetNrOfShownRows() != matched)
        state.SkipWithError("the two filters disagree");
}
BENCHMARK(BM_RepListRegexFilterVsMatchLoop)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
