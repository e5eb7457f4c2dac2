#pragma once

#include "NVO_Corvane.h"
#include "NVO_Events.h"
#include "NVO_Global.h"

#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QStringList>

#include <cstdint>
#include <functional>
#include <vector>

namespace nvo {

/// Measurement scale of a data table column. Nominal and ordinal columns hold
/// identifier values: the value n stands for the column's n-th nominal identifier.
enum TMScaleType : uint8_t { mstUndefined = 0, mstNominal = 1, mstOrdinal = 2, mstInterval = 3, mstRatio = 4 };

/// A name per scale type, indexed by its ordinal.
NVO_EXPORT extern const QStringList MScaleTypeNames;

/// Bits of a cell state byte.
namespace cellstate {
inline constexpr uint8_t NotANumber = 0x01;
inline constexpr uint8_t Empty = 0x02;
inline constexpr uint8_t MarkedA = 0x40;
inline constexpr uint8_t MarkedB = 0x80;
} // namespace cellstate

/// A matrix of doubles, columns and rows counted from 1, with a name (at most 50
/// characters) and an attribute byte per column and row, a state byte per cell, a scale
/// type and nominal identifiers (at most 10 characters, numbered from 1) per column, and a
/// comment. Reads outside the table give 0, "" or false; writes there change nothing.
///
/// Notifications: each change is announced by a signal, for any number of listeners (an
/// editor's grid, the application), and then by the matching event, from one place:
/// - values or cell states: `CellsChanged` with the rectangle of the cells changed, then
///   `OnDataChanged`; once per operation, so a bulk operation is one announcement;
/// - a name, attribute byte, scale type or identifier: `SetupChanged` with the column or
///   row concerned, the comment: `CommentChanged`; either then `OnSetupChanged`;
/// - the size (insertions and removals included): `SizeChanged`, then `OnResize`;
/// - two rows (kind 0) or columns (kind 1) exchanged: `Exchanged`, then `OnSortExchange`;
/// - progress while a size change copies the table: `PercentDone`, then `OnPercentDone`.
/// An event is fired only while assigned; a holder detaches one by clearing it.
class NVO_EXPORT TDataTable : public QObject
{
    Q_OBJECT

public:
    static constexpr int NameMax = 50;
    static constexpr int NominalIDMax = 10;

    using TResizeEvent = std::function<void(QObject *Sender, int OldCols, int OldRows, int NewCols, int NewRows)>;
    using TSortExchangeEvent = std::function<void(QObject *Sender, int Kind, int Index1, int Index2, int Extra1, int Extra2)>;

    explicit TDataTable(QObject *AOwner = nullptr);

    int NrOfColumns() const { return FNrOfCols; }
    int NrOfRows() const { return FNrOfRows; }
    /// Keeps what lies inside both sizes; new cells are 0 with state 0, new names empty.
    /// Raises `ENVODStructError` and keeps the old size when the memory cannot be had.
    void Resize(int NrCols, int NrRows);
    /// Every value 0 and every cell state 0; names, attributes, scale types, identifiers
    /// and the comment stay.
    void Clear();
    /// Every value `Value`, as a plain matrix fills; the cell states stay as they were,
    /// so a cell left empty or not-a-number is not made to show the filled value.
    void Fill(double Value);

    double GetElem(int Col, int Row) const;
    /// Stores the value and makes the cell a number again (markings stay). Inline, as a
    /// loop over a million cells calls it once per value.
    void SetElem(int Col, int Row, double Value)
    {
        if (!ValidCell(Col, Row))
            return;
        StoreNumber(IndexOf(Col, Row), Value);
        if (FCellListeners != 0 || OnDataChanged)
            AnnounceCells(Col, Row, Col, Row);
    }
    bool GetIsNumber(int Col, int Row) const;
    uint8_t GetCellState(int Col, int Row) const;
    void SetCellState(int Col, int Row, uint8_t B);
    void UnmarkAllCells();
    void ExchangeMarkings();
    void InvertCellStates(uint8_t Mask);
    /// Fills every cell with a state bit of `Mask` set; returns their number.
    int FillMarkedCells(double Value, uint8_t Mask);

    QString GetColName(int Col) const;
    QString GetRowName(int Row) const;
    void SetColName(int Col, const QString &Name);
    void SetRowName(int Row, const QString &Name);
    uint8_t GetColAttrib(int Col) const;
    uint8_t GetRowAttrib(int Row) const;
    void SetColAttrib(int Col, uint8_t B);
    void SetRowAttrib(int Row, uint8_t B);

    /// Insert before the index, which may be the count + 1; other indices are ignored.
    void InsertRow(int Row);
    void InsertColumn(int Col);
    void RemoveRow(int Row);
    void RemoveColumn(int Col);
    void MirrorRows();
    void MirrorColumns();
    /// Exchange two rows / columns with everything that belongs to them.
    void ExchangeRows(int Row1, int Row2);
    void ExchangeColumns(int Col1, int Col2);

    int GetMScaleType(int Col) const;
    void SetMScaleType(int Col, int ScaleType);
    /// "" when the column defines no identifier with this ordinal.
    QString GetNominalID(int Col, int Ordinal) const;
    void SetNominalID(int Col, int Ordinal, const QString &ID);
    /// The ordinal of `ID` in the column's identifiers, 0 when it is none of them.
    int OrdinalOfNominalID(int Col, const QString &ID, bool IgnoreCase) const;

    const QString &Comment() const { return FComment; }
    void SetFComment(const QString &Text);

    // ---- Block operations: reordering, copying, taking over ----------------------------

    /// Which parts of a cell `CopyCells` copies.
    enum TCellParts : uint8_t { cpValues = 1, cpStates = 2, cpValuesAndStates = 3 };
    using TPermuteEvent = std::function<void(QObject *Sender, int Kind, int First, const std::vector<int> &Order)>;

    /// Reorders rows First..First + n - 1 in one pass: row `Order[i]` comes to row
    /// `First + i`. Only the cells of columns FirstCol..LastCol (kept within the table)
    /// move; with `Headings` the rows' names and attribute bytes move as well. An order
    /// that is not a permutation of rows inside the table is ignored. The new order is
    /// built aside and swapped in, so a failure leaves the table as it was; it is
    /// announced once (`Permuted`, `OnPermute`, then the cells), never per exchange.
    void PermuteRows(int First, const std::vector<int> &Order, int FirstCol, int LastCol, bool Headings);
    /// The same for columns First..First + n - 1, moving the cells of rows
    /// FirstRow..LastRow; with `Headings` names, attribute bytes, scale types and
    /// identifiers move as well.
    void PermuteColumns(int First, const std::vector<int> &Order, int FirstRow, int LastRow, bool Headings);
    /// Copies `NrCols` x `NrRows` cells of `Source` from (SourceCol, SourceRow) on to
    /// this table from (Col, Row) on: values, states or both. Cells outside either
    /// table are skipped; the cells written are announced once. A table does not copy
    /// onto itself (ignored).
    void CopyCells(const TDataTable &Source, int SourceCol, int SourceRow, int NrCols, int NrRows, int Col, int Row,
                   TCellParts Parts);
    /// Stores `Lines[m][k]` at (Col + k, Row + m), lines of any length; what falls
    /// outside the table is skipped. The cells written become numbers (markings stay),
    /// announced once.
    void SetElems(int Col, int Row, const std::vector<std::vector<double>> &Lines);
    /// Becomes a copy of `Source`: size, cells, names, attribute bytes, scale types,
    /// identifiers and comment. Built aside, so a failure keeps the old table; announced
    /// as a size change (when the size differs), all cells, `SetupChanged` with index 0
    /// for each orientation (every column, every row) and the comment. Itself: ignored.
    void Assign(const TDataTable &Source);

    TPermuteEvent OnPermute;

    TNotifyEvent OnDataChanged;
    TNotifyEvent OnSetupChanged;
    TOnPercentDoneEvent OnPercentDone;
    TResizeEvent OnResize;
    TSortExchangeEvent OnSortExchange;

Q_SIGNALS:
    /// The values or states of the cells from column `FirstCol` to `LastCol` and row
    /// `FirstRow` to `LastRow`, both corners included, may have changed.
    void CellsChanged(int FirstCol, int FirstRow, int LastCol, int LastRow);
    /// The name, attribute byte, scale type or identifiers of column `Index`
    /// (`Qt::Horizontal`, as the header above the columns) or row `Index`
    /// (`Qt::Vertical`) changed.
    void SetupChanged(Qt::Orientation Orientation, int Index);
    void CommentChanged();
    void SizeChanged(int OldCols, int OldRows, int NewCols, int NewRows);
    /// Rows (`Qt::Vertical`, kind 0) or columns (`Qt::Horizontal`, kind 1) `Index1` and
    /// `Index2` exchanged everything that belongs to them.
    void Exchanged(Qt::Orientation Orientation, int Index1, int Index2);
    void PercentDone(int Percent);
    /// Rows (`Qt::Vertical`) or columns (`Qt::Horizontal`) from `First` on were
    /// reordered in one pass: the one at `Order[i]` is now at `First + i`. `Headings`:
    /// names and attribute bytes moved with the cells, so whatever else belongs to a
    /// column or row (an editor's precision) moves too.
    void Permuted(Qt::Orientation Orientation, int First, const std::vector<int> &Order, bool Headings);

protected:
    void connectNotify(const QMetaMethod &Signal) override;
    void disconnectNotify(const QMetaMethod &Signal) override;

private:
    struct Column
    {
        QString name;
        uint8_t attrib = 0;
        uint8_t scaleType = mstUndefined;
        QStringList nominalIDs;
    };
    struct Row
    {
        QString name;
        uint8_t attrib = 0;
    };

    bool ValidCell(int Col, int Row) const
    {
        return Col >= 1 && Col <= FNrOfCols && Row >= 1 && Row <= FNrOfRows;
    }
    size_t IndexOf(int Col, int Row) const { return size_t(Row - 1) * size_t(FNrOfCols) + size_t(Col - 1); }
    /// A value stored makes its cell a number again; the markings stay.
    void StoreNumber(size_t Index, double Value)
    {
        FValues[Index] = Value;
        FStates[Index] &= uint8_t(~(cellstate::NotANumber | cellstate::Empty));
    }
    void ForEachState(const std::function<void(uint8_t &)> &Change);
    void Rebuild(int NrCols, int NrRows, const std::function<int(int)> &SourceCol,
                 const std::function<int(int)> &SourceRow);
    /// Takes contents built aside (a failure while building them kept the table) and
    /// announces a size change.
    void Adopt(std::vector<double> &Values, std::vector<uint8_t> &States, std::vector<Column> &Columns,
               std::vector<Row> &Rows, int NrCols, int NrRows);
    /// The exchanges without the cell announcement, which a mirror makes once for all.
    void SwapRows(int Row1, int Row2);
    void SwapColumns(int Col1, int Col2);
    // The one place each kind of change is announced: the signal, then the event.
    void AnnounceCells(int FirstCol, int FirstRow, int LastCol, int LastRow);
    void AnnounceAllCells() { AnnounceCells(1, 1, FNrOfCols, FNrOfRows); }
    void AnnounceSetup(Qt::Orientation Orientation, int Index);
    void AnnounceComment();
    void AnnounceSize(int OldCols, int OldRows);
    void AnnounceExchange(Qt::Orientation Orientation, int Index1, int Index2);
    void ReportPercent(int Percent);
    bool IsPermutation(int First, const std::vector<int> &Order, int Count) const;
    void AnnouncePermutation(Qt::Orientation Orientation, int First, const std::vector<int> &Order, bool Headings);

    int FNrOfCols = 0;
    int FNrOfRows = 0;
    std::vector<double> FValues; // row-major
    std::vector<uint8_t> FStates;
    std::vector<Column> FColumns;
    std::vector<Row> FRows;
    QString FComment;
    /// The connections to `CellsChanged`, or -1 while unknown. An emission costs a call
    /// into Qt even when nobody listens, several times what storing a value costs; a
    /// table filled while no view listens (a suppressed editor, one built aside) spares
    /// it per value.
    int FCellListeners = 0;
};

} // namespace nvo
