// The numeric table editor against Qt's table view showing the same formatted numbers,
// and a million values set through the editor (painting suppressed) against the same
// doubles written into a plain vector.
#include "BenchRatio.h"
#include "NVO_ntabed.h"

#include <QtCore/QAbstractTableModel>
#include <QtGui/QImage>
#include <QtWidgets/QTableView>

#include <vector>

namespace {

constexpr int kTableSize = 1000;
constexpr QSize kViewport(1000, 800);

double Sample(int col, int row) { return col * 1.25 + row * 0.001; }

/// The reference model: the same numbers, formatted as the editor's cells are.
class TNumberModel : public QAbstractTableModel
{
public:
    int rowCount(const QModelIndex &) const override { return kTableSize; }
    int columnCount(const QModelIndex &) const override { return kTableSize; }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole)
            return {};
        return nvo::FormatCellValue(1, 3, Sample(index.column() + 1, index.row() + 1));
    }
    QVariant headerData(int section, Qt::Orientation, int role) const override
    {
        return role == Qt::DisplayRole ? QVariant(QStringLiteral("N %1").arg(section + 1)) : QVariant();
    }
};

void BM_NTabEdPaintVsQTableView(benchmark::State &state)
{
    nvo::TNTabEd editor;
    editor.SetSuppressPaint(true);
    editor.Redimension(kTableSize, kTableSize);
    for (int row = 1; row <= kTableSize; ++row)
        for (int col = 1; col <= kTableSize; ++col)
            editor.SetElem(col, row, Sample(col, row));
    editor.SetSuppressPaint(false);
    editor.resize(kViewport);
    editor.show();
    TNumberModel model;
    QTableView reference;
    reference.setModel(&model);
    reference.resize(kViewport);
    reference.show();
    QImage image(kViewport, QImage::Format_RGB32);
    nvo::bench::MeasureRatio(
        state, 1.0, [&] { reference.render(&image); }, [&] { editor.render(&image); });
}
BENCHMARK(BM_NTabEdPaintVsQTableView)->Unit(benchmark::kMillisecond);

void BM_NTabEdSetMillionValuesVsVector(benchmark::State &state)
{
    nvo::TNTabEd editor;
    editor.Redimension(kTableSize, kTableSize);
    editor.SetSuppressPaint(true);
    std::vector<double> plain(size_t(kTableSize) * kTableSize);
    double value = 0;
    nvo::bench::MeasureRatio(
        state, 5.0,
        [&] {
            for (int row = 1; row <= kTableSize; ++row)
                for (int col = 1; col <= kTableSize; ++col)
                    plain[size_t(row - 1) * kTableSize + size_t(col - 1)] = value;
            benchmark::DoNotOptimize(plain.data());
            value += 1;
        },
        [&] {
            for (int row = 1; row <= kTableSize; ++row)
                for (int col = 1; col <= kTableSize; ++col)
                    editor.SetElem(col, row, value);
        });
}
BENCHMARK(BM_NTabEdSetMillionValuesVsVector)->Unit(benchmark::kMillisecond);

} // namespace
