#pragma once

#include "NVO_Corvane.h"
#include "NVO_Events.h"
#include "NVO_Global.h"

#include <QtCore/QObject>
#include <QtCore/QRect>
#include <QtCore/QString>
#include <QtCore/QStringView>

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

namespace nvo {

/// The longest text a short-string cell holds, in UTF-16 code units.
inline constexpr int ShortStringMax = 255;

/// `S` cut to at most `MaxLen` UTF-16 code units; a surrogate pair that would be cut in
/// half is dropped whole, so cutting never produces a broken character.
NVO_EXPORT QString CutToLength(const QString &S, int MaxLen);

/// Whether the bytes are strict UTF-8: no overlong forms, no surrogates, nothing beyond
/// U+10FFFF.
NVO_EXPORT bool IsValidUtf8(std::string_view Bytes);

/// Reads a cell text as a number: blanks (character 32 only) around it are ignored, ","
/// counts as the decimal point, the rest must be the plain decimal float syntax (sign,
/// digits, fraction, exponent). Infinities, NaN, hexadecimal and thousands separators are
/// refused. An empty text is not a number here; callers decide what it means to them.
NVO_EXPORT bool ReadCellNumber(QStringView Text, double &Value);

/// A matrix of short strings: columns 0..NrOfColumns, rows 1..NrOfRows, one attribute
/// byte per row and per column, and a display order over the stored rows.
///
/// Storage: every row is one block of 16-byte cells, allocated only once a cell of the row
/// is written; a cell keeps up to 15 bytes of UTF-8 in place and longer texts in one heap
/// block of exactly their size. So the memory a table costs follows its content, and a
/// sort or a row insertion moves row pointers, never texts.
///
/// Row addressing: `GetString`, `SetString`, the row attributes, `InsertRow` and
/// `RemoveRow` take display positions; a display position maps to a stored row through the
/// sort order. The row attribute byte lives with the stored row, so it follows its row
/// through every sort, commit, insertion and removal.
///
/// Sorting: a stable sort of the display mapping, starting from entry order. Keys are
/// compared by class first: empty texts, then numbers (`ReadCellNumber`) in numeric order,
/// then other texts, compared case-insensitively (Unicode case folding) with the exact
/// text as tie-break. Mixed number/text keys get a class order instead of comparing a
/// number as text against a number as number, which would not be a consistent order.
/// Descending reverses the comparison; rows with equal keys keep their entry order in
/// both directions. The rows are put in order by radix passes over a fixed-width part of
/// each key (its class and eight case-folded bytes, or a number's bits in numeric order);
/// whole keys are compared only where those parts tie.
///
/// Notifications: every change is announced once, by the signals (any number of
/// listeners: the report store, a grid view, the application) and then by the event the
/// application assigns, from one place. A size change comes as `SizeChanged`, cells that
/// show other texts as `CellsChanged` with the rectangle that holds them, and both as one
/// `OnChange`. Row and column attribute bytes are the view's own state and are not
/// announced. Changes made between `BeginUpdate` and `EndUpdate` are announced once, at
/// the end. A matrix whose signals are blocked (`QSignalBlocker`) announces nothing,
/// through neither path: a holder that rewrites cells without changing what they mean
/// keeps it quiet that way.
class NVO_EXPORT TStringArray : public QObject
{
    Q_OBJECT

public:
    explicit TStringArray(QObject *AOwner = nullptr);
    ~TStringArray() override;

    int NrOfColumns() const { return FNrOfCols; }
    int NrOfRows() const { return FNrOfRows; }
    int AllocRowsBy() const { return FAllocRowsBy; }
    /// The smallest step by which row storage grows; it grows geometrically beyond it.
    void SetAllocRowsBy(int Step);

    /// Columns 0..Cols and rows 1..Rows; keeps the cells inside the new size (by display
    /// position). Raises and keeps the old size when the memory cannot
    /// be had or the size is impossible (`ENVODStructError`, the containers' error).
    void Resize(int Cols, int Rows);
    /// Empties every cell; size, attributes and order stay.
    void Clear();
    /// Copies size, cells, attributes, allocation step and both orders; the events stay.
    void Assign(const TStringArray &Source);

    /// Exchanges size, cells, attributes, allocation step and both orders with `Other`;
    /// the events and connections stay with their objects, so whoever listens to this
    /// matrix still does, and hears of the exchange. The exchange itself cannot fail.
    void Swap(TStringArray &Other);

    /// Gathers the changes until the matching `EndUpdate` (calls nest), which announces
    /// them once: the size before the outermost `BeginUpdate` against the size after it,
    /// and the smallest rectangle holding every cell changed. For holders that edit many
    /// cells one by one.
    void BeginUpdate();
    void EndUpdate();

    QString GetString(int Col, int Row) const;
    void SetString(int Col, int Row, const QString &S);
    /// The cell as UTF-8, valid until the cell or the matrix shape changes; for bulk
    /// readers (file writers, sorting) that need no QString per cell.
    /// Inline, as the bulk readers call it once per cell.
    std::string_view GetUtf8(int Col, int Row) const
    {
        const Cell *cell = CellAt(Col, Row);
        return cell ? cell->Bytes() : std::string_view();
    }
    /// The texts of display row `Row` as UTF-8: `Utf8[c]` is column c, for c from 0 to
    /// NrOfColumns; valid as `GetUtf8`'s. For writers that go through a whole row at a
    /// time. A row out of range gives no texts.
    void GetRowUtf8(int Row, std::vector<std::string_view> &Utf8) const;
    /// Stores UTF-8 text; invalid sequences become U+FFFD. Returns true when the text was
    /// longer than a cell holds and had to be cut. A reader that has checked its whole
    /// input with `IsValidUtf8` passes `CheckedUtf8` and spares the check per text.
    bool SetUtf8(int Col, int Row, std::string_view Utf8, bool CheckedUtf8 = false);
    /// Stores `Utf8[i]` in column i + 1 of display row `Row`, as `SetUtf8` would one by
    /// one (texts beyond the last column are left out); returns how many had to be cut.
    /// For readers that fill a whole row at a time: one that has checked its whole input
    /// with `IsValidUtf8` passes `CheckedUtf8` and spares the check per text.
    int SetRowUtf8(int Row, const std::vector<std::string_view> &Utf8, bool CheckedUtf8 = false);
    /// The stored length of a cell in UTF-16 code units, without building the text.
    int GetLength(int Col, int Row) const;
    /// Whether the cell is empty, without building the text.
    bool IsEmpty(int Col, int Row) const;

    uint8_t GetRowAttrib(int Row) const;
    void SetRowAttrib(int Row, uint8_t B);
    uint8_t GetColAttrib(int Col) const;
    void SetColAttrib(int Col, uint8_t B);

    /// Inserts an empty row before display position `Row` (1..NrOfRows + 1). The current
    /// display order becomes the entry order first: an insertion into a sorted view has
    /// no other meaningful entry position.
    void InsertRow(int Row);
    /// Removes the row shown at `Row`, after making the display order the entry order.
    void RemoveRow(int Row);
    /// Removes every row whose `Doomed(displayRow)` is true in one pass; the display
    /// order becomes the entry order. Returns the number of rows removed.
    int RemoveRowsIf(const std::function<bool(int Row)> &Doomed);

    void Sort(int Col, int ColSec, bool Ascending);
    void UnSort();
    void CommitSorting();
    bool IsSorted() const;
    /// The stored row shown at display position `Pos`; -1 out of range.
    int GetSortOrder(int Pos) const;
    /// Writes one entry of the mapping. A mapping that is no permutation while being
    /// written is tolerated: reads then see the same stored row twice, and a commit copies
    /// such a row instead of moving it.
    void SetSortOrder(int Pos, int Row);

    TNotifyEvent OnChange;
    TOnPercentDoneEvent OnPercentDone;
    /// Raised once per row and sort column while a sort reads its keys: the text is the
    /// cell, the var text starts as the cell and may be replaced by the handler to sort
    /// the row by another text (a date re-written year first, for instance). A stable sort
    /// of an index exchanges no cells one by one, so the keys are where a handler can act.
    TBeforeSortExchgEvent OnBeforeSortExchange;

Q_SIGNALS:
    /// The cells from column `FirstCol` to `LastCol` and display row `FirstRow` to
    /// `LastRow`, both corners included, may show other texts: written, cleared, or moved
    /// there by a sort, an insertion or a removal. Comes after `SizeChanged` when the
    /// same change also resized the matrix.
    void CellsChanged(int FirstCol, int FirstRow, int LastCol, int LastRow);
    /// The matrix has other column or row counts; kept cells stay where they were shown.
    void SizeChanged(int OldCols, int OldRows, int NewCols, int NewRows);
    /// Progress of a sort, 0..100, with `OnPercentDone`.
    void PercentDone(int Percent);
    /// A sort key being read, with `OnBeforeSortExchange` (which comes last): a direct
    /// connection may replace `ExchgText`.
    void BeforeSortExchange(const QString &Text, QString &ExchgText);

protected:
    void connectNotify(const QMetaMethod &Signal) override;

private:
    /// A 16-byte cell: up to 15 bytes of UTF-8 in place (length in the last byte), longer
    /// texts in a heap block of exactly their size (pointer and length in place, last byte
    /// 0xFF). Its reading half is here, so that `GetUtf8` inlines into the readers.
    class Cell
    {
    public:
        Cell() noexcept;
        ~Cell();
        Cell(const Cell &) = delete;
        Cell &operator=(const Cell &) = delete;

        void MoveFrom(Cell &other) noexcept;
        void Set(std::string_view bytes);

        std::string_view Bytes() const noexcept
        {
            if (!OnHeap())
                return {reinterpret_cast<const char *>(FRaw), FRaw[InlineMax]};
            return {HeapPointer(), HeapLength()};
        }
        bool Empty() const noexcept { return !OnHeap() && FRaw[InlineMax] == 0; }

    private:
        static constexpr size_t InlineMax = 15;
        static constexpr unsigned char HeapTag = 0xFF;

        bool OnHeap() const noexcept { return FRaw[InlineMax] == HeapTag; }
        char *HeapPointer() const noexcept
        {
            char *block;
            std::memcpy(&block, FRaw, sizeof block);
            return block;
        }
        size_t HeapLength() const noexcept
        {
            uint16_t length;
            std::memcpy(&length, FRaw + sizeof(char *), sizeof length);
            return length;
        }
        void CopyShort(std::string_view bytes) noexcept;
        void Release() noexcept;

        alignas(8) unsigned char FRaw[16];
    };

    bool ValidCell(int Col, int Row) const
    {
        return Col >= 0 && Col <= FNrOfCols && Row >= 1 && Row <= FNrOfRows;
    }
    const Cell *CellAt(int Col, int Row) const
    {
        if (!ValidCell(Col, Row))
            return nullptr;
        const Cell *row = FRows[size_t(FOrder[size_t(Row - 1)])].get();
        return row ? &row[Col] : nullptr;
    }
    Cell &WritableCell(int Col, int Row);
    void ReserveRows(size_t Rows);
    /// The one place changes are announced: the signals, then `OnChange`; gathered
    /// instead while an update is open. `Cells` holds columns as x and display rows as
    /// y; the part outside the matrix is left out. A matrix with nobody to tell (one a
    /// reader fills aside) returns at once, without a call per cell.
    void Announce(const QRect &Cells, int OldCols, int OldRows)
    {
        if (FChangesConnected || FUpdateDepth > 0 || OnChange)
            Tell(Cells, OldCols, OldRows);
    }
    void Announce(const QRect &Cells) { Announce(Cells, FNrOfCols, FNrOfRows); }
    void Tell(QRect Cells, int OldCols, int OldRows);
    /// Every cell of the matrix, as `Announce` takes it.
    QRect AllCells() const { return QRect(0, 1, FNrOfCols + 1, FNrOfRows); }
    void ReportPercent(int Percent);
    /// Lets the listeners and then the event replace a sort key.
    void RewriteSortKey(const QString &Text, QString &ExchgText);

    int FNrOfCols = 0;
    int FNrOfRows = 0;
    int FAllocRowsBy = 1;
    /// Stored rows in entry order; a null block is a row whose cells are all empty.
    std::vector<std::unique_ptr<Cell[]>> FRows;
    std::vector<uint8_t> FRowAttrib;
    std::vector<uint8_t> FColAttrib;
    /// Display position - 1 -> stored row index (0-based).
    std::vector<int32_t> FOrder;
    /// An open update: its depth, the size before it, the cells changed since and
    /// whether anything changed at all (a size change may leave no cell to name).
    int FUpdateDepth = 0;
    int FUpdateCols = 0;
    int FUpdateRows = 0;
    QRect FUpdateCells;
    bool FUpdateChanged = false;
    /// Whether a listener was ever connected to `CellsChanged` or `SizeChanged`. An
    /// emission costs a call into Qt even when nobody listens, as much as storing a short
    /// text does; a matrix nobody watches (one a reader fills aside) spares it per cell.
    /// Never cleared: Qt does not tell of every disconnection.
    bool FChangesConnected = false;
};

} // namespace nvo
