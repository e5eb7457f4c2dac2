#include "NVO_DataTable.h"

#include "NVO_Corvane.h"
#include "NVO_StringArray.h"

#include <QtCore/QMetaMethod>

#include <algorithm>
#include <utility>

namespace nvo {

const QStringList MScaleTypeNames = {QStringLiteral("undefined"), QStringLiteral("nominal"),
                                     QStringLiteral("ordinal"), QStringLiteral("interval"),
                                     QStringLiteral("ratio")};

TDataTable::TDataTable(QObject *AOwner) : QObject(AOwner) {}

void TDataTable::Rebuild(int NrCols, int NrRows, const std::function<int(int)> &SourceCol,
                         const std::function<int(int)> &SourceRow)
{
    // The new table is built aside and swapped in, so a failure keeps the old one.
    std::vector<double> values;
    std::vector<uint8_t> states;
    std::vector<Column> columns;
    std::vector<Row> rows;
    try {
        values.assign(size_t(NrCols) * size_t(NrRows), 0.0);
        states.assign(values.size(), 0);
        columns.resize(size_t(NrCols));
        rows.resize(size_t(NrRows));
    } catch (const std::exception &) {
        throw ENVODStructError(QStringLiteral("TDataTable: not enough memory for %1 x %2").arg(NrCols).arg(NrRows));
    }
    for (int col = 1; col <= NrCols; ++col) {
        const int from = SourceCol(col);
        if (from >= 1)
            columns[size_t(col - 1)] = FColumns[size_t(from - 1)];
    }
    const int step = NrRows / 100 + 1;
    for (int row = 1; row <= NrRows; ++row) {
        if (row % step == 0)
            ReportPercent(int(int64_t(row) * 100 / NrRows));
        const int fromRow = SourceRow(row);
        if (fromRow < 1)
            continue;
        rows[size_t(row - 1)] = FRows[size_t(fromRow - 1)];
        for (int col = 1; col <= NrCols; ++col) {
            const int fromCol = SourceCol(col);
            if (fromCol < 1)
                continue;
            const size_t target = size_t(row - 1) * size_t(NrCols) + size_t(col - 1);
            values[target] = FValues[IndexOf(fromCol, fromRow)];
            states[target] = FStates[IndexOf(fromCol, fromRow)];
        }
    }
    Adopt(values, states, columns, rows, NrCols, NrRows);
}

void TDataTable::Adopt(std::vector<double> &Values, std::vector<uint8_t> &States, std::vector<Column> &Columns,
                       std::vector<Row> &Rows, int NrCols, int NrRows)
{
    const int oldCols = FNrOfCols;
    const int oldRows = FNrOfRows;
    FValues.swap(Values);
    FStates.swap(States);
    FColumns.swap(Columns);
    FRows.swap(Rows);
    FNrOfCols = NrCols;
    FNrOfRows = NrRows;
    if (oldCols != NrCols || oldRows != NrRows)
        AnnounceSize(oldCols, oldRows);
}

void TDataTable::Resize(int NrCols, int NrRows)
{
    NrCols = std::max(0, NrCols);
    NrRows = std::max(0, NrRows);
    if (NrCols == FNrOfCols && NrRows == FNrOfRows)
        return;
    const int oldCols = FNrOfCols;
    const int oldRows = FNrOfRows;
    Rebuild(NrCols, NrRows, [oldCols](int col) { return col <= oldCols ? col : 0; },
            [oldRows](int row) { return row <= oldRows ? row : 0; });
}

void TDataTable::Clear()
{
    std::fill(FValues.begin(), FValues.end(), 0.0);
    std::fill(FStates.begin(), FStates.end(), uint8_t(0));
    AnnounceAllCells();
}

void TDataTable::Fill(double Value)
{
    std::fill(FValues.begin(), FValues.end(), Value);
    AnnounceAllCells();
}

double TDataTable::GetElem(int Col, int Row) const
{
    return ValidCell(Col, Row) ? FValues[IndexOf(Col, Row)] : 0.0;
}

bool TDataTable::GetIsNumber(int Col, int Row) const
{
    return ValidCell(Col, Row) && (FStates[IndexOf(Col, Row)] & (cellstate::NotANumber | cellstate::Empty)) == 0;
}

uint8_t TDataTable::GetCellState(int Col, int Row) const
{
    return ValidCell(Col, Row) ? FStates[IndexOf(Col, Row)] : 0;
}

void TDataTable::SetCellState(int Col, int Row, uint8_t B)
{
    if (!ValidCell(Col, Row))
        return;
    FStates[IndexOf(Col, Row)] = B;
    AnnounceCells(Col, Row, Col, Row);
}

void TDataTable::ForEachState(const std::function<void(uint8_t &)> &Change)
{
    for (uint8_t &state : FStates)
        Change(state);
    AnnounceAllCells();
}

void TDataTable::UnmarkAllCells()
{
    ForEachState([](uint8_t &state) { state &= ~(cellstate::MarkedA | cellstate::MarkedB); });
}

void TDataTable::ExchangeMarkings()
{
    ForEachState([](uint8_t &state) {
        const bool a = state & cellstate::MarkedA;
        const bool b = state & cellstate::MarkedB;
        state &= ~(cellstate::MarkedA | cellstate::MarkedB);
        state |= (a ? cellstate::MarkedB : 0) | (b ? cellstate::MarkedA : 0);
    });
}

void TDataTable::InvertCellStates(uint8_t Mask)
{
    ForEachState([Mask](uint8_t &state) { state ^= Mask; });
}

int TDataTable::FillMarkedCells(double Value, uint8_t Mask)
{
    int filled = 0;
    for (size_t i = 0; i < FStates.size(); ++i) {
        if ((FStates[i] & Mask) == 0)
            continue;
        StoreNumber(i, Value);
        ++filled;
    }
    AnnounceAllCells();
    return filled;
}

QString TDataTable::GetColName(int Col) const
{
    return Col >= 1 && Col <= FNrOfCols ? FColumns[size_t(Col - 1)].name : QString();
}

QString TDataTable::GetRowName(int Row) const
{
    return Row >= 1 && Row <= FNrOfRows ? FRows[size_t(Row - 1)].name : QString();
}

void TDataTable::SetColName(int Col, const QString &Name)
{
    if (Col < 1 || Col > FNrOfCols)
        return;
    FColumns[size_t(Col - 1)].name = CutToLength(Name, NameMax);
    AnnounceSetup(Qt::Horizontal, Col);
}

void TDataTable::SetRowName(int Row, const QString &Name)
{
    if (Row < 1 || Row > FNrOfRows)
        return;
    FRows[size_t(Row - 1)].name = CutToLength(Name, NameMax);
    AnnounceSetup(Qt::Vertical, Row);
}

uint8_t TDataTable::GetColAttrib(int Col) const
{
    return Col >= 1 && Col <= FNrOfCols ? FColumns[size_t(Col - 1)].attrib : 0;
}

uint8_t TDataTable::GetRowAttrib(int Row) const
{
    return Row >= 1 && Row <= FNrOfRows ? FRows[size_t(Row - 1)].attrib : 0;
}

void TDataTable::SetColAttrib(int Col, uint8_t B)
{
    if (Col < 1 || Col > FNrOfCols)
        return;
    FColumns[size_t(Col - 1)].attrib = B;
    AnnounceSetup(Qt::Horizontal, Col);
}

void TDataTable::SetRowAttrib(int Row, uint8_t B)
{
    if (Row < 1 || Row > FNrOfRows)
        return;
    FRows[size_t(Row - 1)].attrib = B;
    AnnounceSetup(Qt::Vertical, Row);
}

void TDataTable::InsertRow(int Row)
{
    if (Row < 1 || Row > FNrOfRows + 1)
        return;
    Rebuild(FNrOfCols, FNrOfRows + 1, [](int col) { return col; },
            [Row](int row) { return row < Row ? row : (row == Row ? 0 : row - 1); });
}

void TDataTable::InsertColumn(int Col)
{
    if (Col < 1 || Col > FNrOfCols + 1)
        return;
    Rebuild(FNrOfCols + 1, FNrOfRows, [Col](int col) { return col < Col ? col : (col == Col ? 0 : col - 1); },
            [](int row) { return row; });
}

void TDataTable::RemoveRow(int Row)
{
    if (Row < 1 || Row > FNrOfRows)
        return;
    Rebuild(FNrOfCols, FNrOfRows - 1, [](int col) { return col; },
            [Row](int row) { return row < Row ? row : row + 1; });
}

void TDataTable::RemoveColumn(int Col)
{
    if (Col < 1 || Col > FNrOfCols)
        return;
    Rebuild(FNrOfCols - 1, FNrOfRows, [Col](int col) { return col < Col ? col : col + 1; },
            [](int row) { return row; });
}

void TDataTable::MirrorRows()
{
    if (FNrOfRows < 2)
        return;
    for (int row = 1; row <= FNrOfRows / 2; ++row)
        SwapRows(row, FNrOfRows + 1 - row);
    AnnounceAllCells();
}

void TDataTable::MirrorColumns()
{
    if (FNrOfCols < 2)
        return;
    for (int col = 1; col <= FNrOfCols / 2; ++col)
        SwapColumns(col, FNrOfCols + 1 - col);
    AnnounceAllCells();
}

void TDataTable::ExchangeRows(int Row1, int Row2)
{
    if (Row1 < 1 || Row1 > FNrOfRows || Row2 < 1 || Row2 > FNrOfRows || Row1 == Row2)
        return;
    SwapRows(Row1, Row2);
    AnnounceCells(1, std::min(Row1, Row2), FNrOfCols, std::max(Row1, Row2));
}

void TDataTable::ExchangeColumns(int Col1, int Col2)
{
    if (Col1 < 1 || Col1 > FNrOfCols || Col2 < 1 || Col2 > FNrOfCols || Col1 == Col2)
        return;
    SwapColumns(Col1, Col2);
    AnnounceCells(std::min(Col1, Col2), 1, std::max(Col1, Col2), FNrOfRows);
}

void TDataTable::SwapRows(int Row1, int Row2)
{
    std::swap(FRows[size_t(Row1 - 1)], FRows[size_t(Row2 - 1)]);
    std::swap_ranges(FValues.begin() + ptrdiff_t(IndexOf(1, Row1)), FValues.begin() + ptrdiff_t(IndexOf(1, Row1 + 1)),
                     FValues.begin() + ptrdiff_t(IndexOf(1, Row2)));
    std::swap_ranges(FStates.begin() + ptrdiff_t(IndexOf(1, Row1)), FStates.begin() + ptrdiff_t(IndexOf(1, Row1 + 1)),
                     FStates.begin() + ptrdiff_t(IndexOf(1, Row2)));
    AnnounceExchange(Qt::Vertical, Row1, Row2);
}

void TDataTable::SwapColumns(int Col1, int Col2)
{
    std::swap(FColumns[size_t(Col1 - 1)], FColumns[size_t(Col2 - 1)]);
    for (int row = 1; row <= FNrOfRows; ++row) {
        std::swap(FValues[IndexOf(Col1, row)], FValues[IndexOf(Col2, row)]);
        std::swap(FStates[IndexOf(Col1, row)], FStates[IndexOf(Col2, row)]);
    }
    AnnounceExchange(Qt::Horizontal, Col1, Col2);
}

int TDataTable::GetMScaleType(int Col) const
{
    return Col >= 1 && Col <= FNrOfCols ? FColumns[size_t(Col - 1)].scaleType : int(mstUndefined);
}

void TDataTable::SetMScaleType(int Col, int ScaleType)
{
    if (Col < 1 || Col > FNrOfCols || ScaleType < 0 || ScaleType >= MScaleTypeNames.size())
        return;
    FColumns[size_t(Col - 1)].scaleType = uint8_t(ScaleType);
    AnnounceSetup(Qt::Horizontal, Col);
}

QString TDataTable::GetNominalID(int Col, int Ordinal) const
{
    if (Col < 1 || Col > FNrOfCols)
        return QString();
    const QStringList &ids = FColumns[size_t(Col - 1)].nominalIDs;
    return Ordinal >= 1 && Ordinal <= ids.size() ? ids[Ordinal - 1] : QString();
}

void TDataTable::SetNominalID(int Col, int Ordinal, const QString &ID)
{
    // Identifiers are numbered densely from 1; 10000 bounds what one column can define.
    if (Col < 1 || Col > FNrOfCols || Ordinal < 1 || Ordinal > 10000)
        return;
    QStringList &ids = FColumns[size_t(Col - 1)].nominalIDs;
    while (ids.size() < Ordinal)
        ids.append(QString());
    ids[Ordinal - 1] = CutToLength(ID, NominalIDMax);
    AnnounceSetup(Qt::Horizontal, Col);
}

int TDataTable::OrdinalOfNominalID(int Col, const QString &ID, bool IgnoreCase) const
{
    if (Col < 1 || Col > FNrOfCols || ID.isEmpty())
        return 0;
    const QStringList &ids = FColumns[size_t(Col - 1)].nominalIDs;
    const Qt::CaseSensitivity cs = IgnoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive;
    for (qsizetype i = 0; i < ids.size(); ++i)
        if (ids[i].compare(ID, cs) == 0)
            return int(i) + 1;
    return 0;
}

void TDataTable::SetFComment(const QString &Text)
{
    FComment = Text;
    AnnounceComment();
}

void TDataTable::connectNotify(const QMetaMethod &Signal)
{
    if (FCellListeners >= 0 && Signal == QMetaMethod::fromSignal(&TDataTable::CellsChanged))
        ++FCellListeners;
}

void TDataTable::disconnectNotify(const QMetaMethod &Signal)
{
    // Qt names no signal when every connection of the table went at once, and names a
    // signal once when one call cut several of its connections: the count is then taken
    // afresh at the next announcement (asking Qt from here would deadlock).
    if (!Signal.isValid() || Signal == QMetaMethod::fromSignal(&TDataTable::CellsChanged))
        FCellListeners = -1;
}

void TDataTable::AnnounceCells(int FirstCol, int FirstRow, int LastCol, int LastRow)
{
    if (FCellListeners < 0)
        FCellListeners = receivers(SIGNAL(CellsChanged(int, int, int, int)));
    // A table without cells has nothing to name, but the operation still happened.
    if (FCellListeners > 0 && FirstCol <= LastCol && FirstRow <= LastRow)
        Q_EMIT CellsChanged(FirstCol, FirstRow, LastCol, LastRow);
    if (OnDataChanged)
        OnDataChanged(this);
}

void TDataTable::AnnounceSetup(Qt::Orientation Orientation, int Index)
{
    Q_EMIT SetupChanged(Orientation, Index);
    if (OnSetupChanged)
        OnSetupChanged(this);
}

void TDataTable::AnnounceComment()
{
    Q_EMIT CommentChanged();
    if (OnSetupChanged)
        OnSetupChanged(this);
}

void TDataTable::AnnounceSize(int OldCols, int OldRows)
{
    Q_EMIT SizeChanged(OldCols, OldRows, FNrOfCols, FNrOfRows);
    if (OnResize)
        OnResize(this, OldCols, OldRows, FNrOfCols, FNrOfRows);
}

void TDataTable::AnnounceExchange(Qt::Orientation Orientation, int Index1, int Index2)
{
    Q_EMIT Exchanged(Orientation, Index1, Index2);
    if (OnSortExchange)
        OnSortExchange(this, Orientation == Qt::Horizontal ? 1 : 0, Index1, Index2, 0, 0);
}

void TDataTable::ReportPercent(int Percent)
{
    Q_EMIT PercentDone(Percent);
    if (OnPercentDone)
        OnPercentDone(this, Percent);
}

// ---- Block operations ---------------------------------------------------------------------

bool TDataTable::IsPermutation(int First, const std::vector<int> &Order, int Count) const
{
    const int64_t last = int64_t(First) + int64_t(Order.size()) - 1;
    if (Order.empty() || First < 1 || last > Count)
        return false;
    std::vector<bool> seen(Order.size(), false);
    for (const int index : Order) {
        if (index < First || index > last || seen[size_t(index - First)])
            return false;
        seen[size_t(index - First)] = true;
    }
    return true;
}

void TDataTable::PermuteRows(int First, const std::vector<int> &Order, int FirstCol, int LastCol, bool Headings)
{
    FirstCol = std::max(FirstCol, 1);
    LastCol = std::min(LastCol, FNrOfCols);
    if (!IsPermutation(First, Order, FNrOfRows) || FirstCol > LastCol)
        return;
    // Everything that can fail (the memory) is had before the table is touched.
    const size_t width = size_t(LastCol - FirstCol + 1);
    std::vector<double> values(Order.size() * width);
    std::vector<uint8_t> states(values.size());
    std::vector<Row> rows(Headings ? Order.size() : 0);
    // Plain loops rather than a copy call per row: a sorted table is often only a few
    // columns wide, and a million calls would cost more than the copying.
    for (size_t i = 0; i < Order.size(); ++i) {
        const size_t from = IndexOf(FirstCol, Order[i]);
        for (size_t k = 0; k < width; ++k) {
            values[i * width + k] = FValues[from + k];
            states[i * width + k] = FStates[from + k];
        }
        if (Headings)
            rows[i] = std::move(FRows[size_t(Order[i] - 1)]);
    }
    for (size_t i = 0; i < Order.size(); ++i) {
        const size_t to = IndexOf(FirstCol, First + int(i));
        for (size_t k = 0; k < width; ++k) {
            FValues[to + k] = values[i * width + k];
            FStates[to + k] = states[i * width + k];
        }
        if (Headings)
            FRows[size_t(First - 1) + i] = std::move(rows[i]);
    }
    AnnouncePermutation(Qt::Vertical, First, Order, Headings);
    AnnounceCells(FirstCol, First, LastCol, First + int(Order.size()) - 1);
}

void TDataTable::PermuteColumns(int First, const std::vector<int> &Order, int FirstRow, int LastRow, bool Headings)
{
    FirstRow = std::max(FirstRow, 1);
    LastRow = std::min(LastRow, FNrOfRows);
    if (!IsPermutation(First, Order, FNrOfCols) || FirstRow > LastRow)
        return;
    std::vector<double> values(Order.size());
    std::vector<uint8_t> states(Order.size());
    std::vector<Column> columns(Headings ? Order.size() : 0);
    for (int row = FirstRow; row <= LastRow; ++row) {
        const size_t start = IndexOf(First, row);
        for (size_t i = 0; i < Order.size(); ++i) {
            values[i] = FValues[IndexOf(Order[i], row)];
            states[i] = FStates[IndexOf(Order[i], row)];
        }
        std::copy(values.begin(), values.end(), FValues.begin() + ptrdiff_t(start));
        std::copy(states.begin(), states.end(), FStates.begin() + ptrdiff_t(start));
    }
    if (Headings) {
        for (size_t i = 0; i < Order.size(); ++i)
            columns[i] = std::move(FColumns[size_t(Order[i] - 1)]);
        std::move(columns.begin(), columns.end(), FColumns.begin() + (First - 1));
    }
    AnnouncePermutation(Qt::Horizontal, First, Order, Headings);
    AnnounceCells(First, FirstRow, First + int(Order.size()) - 1, LastRow);
}

void TDataTable::CopyCells(const TDataTable &Source, int SourceCol, int SourceRow, int NrCols, int NrRows, int Col,
                           int Row, TCellParts Parts)
{
    if (&Source == this)
        return;
    // Clipped at each corner to what both tables hold.
    const int skipCols = std::max({0, 1 - SourceCol, 1 - Col});
    const int skipRows = std::max({0, 1 - SourceRow, 1 - Row});
    SourceCol += skipCols;
    Col += skipCols;
    SourceRow += skipRows;
    Row += skipRows;
    const int64_t cols = std::min({int64_t(NrCols) - skipCols, int64_t(Source.FNrOfCols) - SourceCol + 1,
                                   int64_t(FNrOfCols) - Col + 1});
    const int64_t rows = std::min({int64_t(NrRows) - skipRows, int64_t(Source.FNrOfRows) - SourceRow + 1,
                                   int64_t(FNrOfRows) - Row + 1});
    if (cols <= 0 || rows <= 0)
        return;
    for (int i = 0; i < rows; ++i) {
        const size_t from = Source.IndexOf(SourceCol, SourceRow + i);
        const size_t to = IndexOf(Col, Row + i);
        if (Parts & cpValues)
            std::copy_n(Source.FValues.begin() + ptrdiff_t(from), cols, FValues.begin() + ptrdiff_t(to));
        if (Parts & cpStates)
            std::copy_n(Source.FStates.begin() + ptrdiff_t(from), cols, FStates.begin() + ptrdiff_t(to));
    }
    AnnounceCells(Col, Row, Col + int(cols) - 1, Row + int(rows) - 1);
}

void TDataTable::SetElems(int Col, int Row, const std::vector<std::vector<double>> &Lines)
{
    int lastCol = 0, lastRow = 0;
    for (size_t m = 0; m < Lines.size(); ++m) {
        const int64_t row = int64_t(Row) + int64_t(m);
        if (row < 1)
            continue;
        if (row > FNrOfRows)
            break;
        for (size_t k = 0; k < Lines[m].size(); ++k) {
            const int64_t col = int64_t(Col) + int64_t(k);
            if (col < 1)
                continue;
            if (col > FNrOfCols)
                break;
            StoreNumber(IndexOf(int(col), int(row)), Lines[m][k]);
            lastCol = std::max(lastCol, int(col));
            lastRow = int(row);
        }
    }
    if (lastRow > 0)
        AnnounceCells(std::max(Col, 1), std::max(Row, 1), lastCol, lastRow);
}

void TDataTable::Assign(const TDataTable &Source)
{
    if (&Source == this)
        return;
    // The copies are made before anything changes, so a failure keeps the old table.
    std::vector<double> values = Source.FValues;
    std::vector<uint8_t> states = Source.FStates;
    std::vector<Column> columns = Source.FColumns;
    std::vector<Row> rows = Source.FRows;
    Adopt(values, states, columns, rows, Source.FNrOfCols, Source.FNrOfRows);
    FComment = Source.FComment;
    AnnounceAllCells();
    AnnounceSetup(Qt::Horizontal, 0);
    AnnounceSetup(Qt::Vertical, 0);
    AnnounceComment();
}

void TDataTable::AnnouncePermutation(Qt::Orientation Orientation, int First, const std::vector<int> &Order,
                                     bool Headings)
{
    Q_EMIT Permuted(Orientation, First, Order, Headings);
    if (OnPermute)
        OnPermute(this, Orientation == Qt::Horizontal ? 1 : 0, First, Order);
}

} // namespace nvo
