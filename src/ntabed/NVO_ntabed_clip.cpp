// The table editor's block operations: mirroring and sorting, look-up by name, taking
// over another editor's table, and the exchange of blocks through the clipboard.
#include "NVO_ntabed.h"

#include <QtGui/QClipboard>
#include <QtGui/QGuiApplication>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <climits>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>
#include <utility>

namespace nvo {

namespace {

/// What a cell that holds no number is copied as: "-nan-" or "INF" would be read
/// back as a number (a minus sign starts one), "####" never is.
constexpr std::string_view kNoNumberText = "####";

/// A copied number in full precision: the scientific form, 22 characters wide.
constexpr int kFullPrecisionWidth = 22;

/// Key of a cell in a value sort: NaN for a cell that holds no finite number.
double SortKey(const TDataTable &table, int col, int row)
{
    const double value = table.GetElem(col, row);
    return table.GetIsNumber(col, row) && std::isfinite(value) ? value : std::numeric_limits<double>::quiet_NaN();
}

/// A double as an unsigned number of the same order: the sign bit set for a positive
/// value, every bit flipped for a negative one. -0 counts as 0, as it compares.
uint64_t OrderedBits(double value)
{
    constexpr uint64_t kSign = uint64_t(1) << 63;
    const uint64_t bits = std::bit_cast<uint64_t>(value == 0 ? 0.0 : value);
    return bits & kSign ? ~bits : bits | kSign;
}

/// The indices First..First + n - 1 in the stable order of their values, NaN (cells
/// without a number) last whichever the direction, in their old order, so a
/// descending sort does not bring the gaps to the top. A radix sort, byte by byte
/// from the lowest: stable by construction (descending sorts the flipped bits
/// ascending, so equal values keep their order there too), and about three times
/// as fast as a comparison sort of a million keys.
std::vector<int> StableOrder(int First, const std::vector<double> &Keys, bool Ascending)
{
    struct TItem
    {
        uint64_t Key;
        int Index;
    };
    std::vector<TItem> items;
    std::vector<int> unranked;
    items.reserve(Keys.size());
    for (size_t i = 0; i < Keys.size(); ++i) {
        if (std::isnan(Keys[i]))
            unranked.push_back(First + int(i));
        else
            items.push_back({Ascending ? OrderedBits(Keys[i]) : ~OrderedBits(Keys[i]), First + int(i)});
    }
    constexpr int kBytes = 8;
    std::array<std::array<size_t, 256>, kBytes> counts{};
    for (const TItem &item : items)
        for (int byte = 0; byte < kBytes; ++byte)
            ++counts[size_t(byte)][(item.Key >> (8 * byte)) & 0xFF];
    std::vector<TItem> sorted(items.size());
    for (int byte = 0; byte < kBytes; ++byte) {
        std::array<size_t, 256> &offsets = counts[size_t(byte)];
        // A byte all keys share orders nothing.
        if (std::find(offsets.begin(), offsets.end(), items.size()) != offsets.end())
            continue;
        size_t offset = 0;
        for (size_t &count : offsets)
            offset += std::exchange(count, offset);
        for (const TItem &item : items)
            sorted[offsets[(item.Key >> (8 * byte)) & 0xFF]++] = item;
        items.swap(sorted);
    }
    std::vector<int> order;
    order.reserve(Keys.size());
    for (const TItem &item : items)
        order.push_back(item.Index);
    order.insert(order.end(), unranked.begin(), unranked.end());
    return order;
}

/// The same for keys of any other kind (attribute bytes, names), by their `<`.
template<class Key>
std::vector<int> StableOrder(int First, std::vector<Key> Keys, bool Ascending)
{
    std::vector<int> order(Keys.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    if (Ascending)
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return Keys[size_t(a)] < Keys[size_t(b)]; });
    else
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return Keys[size_t(b)] < Keys[size_t(a)]; });
    for (int &index : order)
        index += First;
    return order;
}

/// A rectangle of data cells kept within a table of `cols` x `rows`; it may come out
/// empty (Left > Right or Top > Bottom).
TGridRect ClipToTable(int Left, int Top, int Right, int Bottom, int cols, int rows)
{
    return {std::max(Left, 1), std::max(Top, 1), std::min(Right, cols), std::min(Bottom, rows)};
}

bool IsEmptyBlock(const TGridRect &block) { return block.Left > block.Right || block.Top > block.Bottom; }

} // namespace

// ---- Reordering -----------------------------------------------------------------------------

void TNTabEd::MirrorRows()
{
    HideEditor();
    ChangeCells([this] { Data().MirrorRows(); });
    ChangedData();
}

void TNTabEd::MirrorColumns()
{
    HideEditor();
    ChangeCells([this] { Data().MirrorColumns(); });
    ChangedData();
}

void TNTabEd::ApplyOrder(Qt::Orientation Orientation, int First, const std::vector<int> &Order, int LowOther,
                         int HighOther, bool Headings)
{
    HideEditor();
    ChangeCells([&] {
        if (Orientation == Qt::Vertical)
            Data().PermuteRows(First, Order, LowOther, HighOther, Headings);
        else
            Data().PermuteColumns(First, Order, LowOther, HighOther, Headings);
    });
    ChangedData();
    if (Headings)
        ChangedHeading();
}

template<class KeyOf>
void TNTabEd::SortBy(Qt::Orientation Orientation, bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow,
                     bool Headings, KeyOf keyOf)
{
    const TGridRect block = ClipToTable(LowCol, LowRow, HighCol, HighRow, GetNrOfColumns(), GetNrOfRows());
    if (IsEmptyBlock(block))
        return;
    const bool columns = Orientation == Qt::Horizontal;
    const int first = columns ? block.Left : block.Top;
    std::vector<decltype(keyOf(first))> keys(size_t((columns ? block.Right : block.Bottom) - first + 1));
    for (size_t i = 0; i < keys.size(); ++i)
        keys[i] = keyOf(first + int(i));
    ApplyOrder(Orientation, first, StableOrder(first, std::move(keys), Ascending), columns ? block.Top : block.Left,
               columns ? block.Bottom : block.Right, Headings);
}

void TNTabEd::SortCols(int SortRowIx, bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow,
                       bool IncludeHeaders)
{
    if (SortRowIx >= 1 && SortRowIx <= GetNrOfRows())
        SortBy(Qt::Horizontal, Ascending, LowCol, LowRow, HighCol, HighRow, IncludeHeaders,
               [&](int col) { return SortKey(Data(), col, SortRowIx); });
}

void TNTabEd::SortRows(int SortColIx, bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow,
                       bool IncludeHeaders)
{
    if (SortColIx >= 1 && SortColIx <= GetNrOfColumns())
        SortBy(Qt::Vertical, Ascending, LowCol, LowRow, HighCol, HighRow, IncludeHeaders,
               [&](int row) { return SortKey(Data(), SortColIx, row); });
}

void TNTabEd::SortNames(Qt::Orientation Orientation, bool Ascending, bool IgnoreCase, int LowCol, int LowRow,
                        int HighCol, int HighRow)
{
    SortBy(Orientation, Ascending, LowCol, LowRow, HighCol, HighRow, true, [&](int index) {
        const QString name = Orientation == Qt::Horizontal ? GetColName(index) : GetRowName(index);
        return IgnoreCase ? name.toCaseFolded() : name;
    });
}

void TNTabEd::SortColAttributes(bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow)
{
    SortBy(Qt::Horizontal, Ascending, LowCol, LowRow, HighCol, HighRow, true,
           [this](int col) { return GetColAttrib(col); });
}

void TNTabEd::SortRowAttributes(bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow)
{
    SortBy(Qt::Vertical, Ascending, LowCol, LowRow, HighCol, HighRow, true,
           [this](int row) { return GetRowAttrib(row); });
}

void TNTabEd::SortColNames(bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow)
{
    SortNames(Qt::Horizontal, Ascending, false, LowCol, LowRow, HighCol, HighRow);
}

void TNTabEd::SortColNames(bool Ascending, bool IgnoreCase, int LowCol, int LowRow, int HighCol, int HighRow)
{
    SortNames(Qt::Horizontal, Ascending, IgnoreCase, LowCol, LowRow, HighCol, HighRow);
}

void TNTabEd::SortRowNames(bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow)
{
    SortNames(Qt::Vertical, Ascending, false, LowCol, LowRow, HighCol, HighRow);
}

void TNTabEd::SortRowNames(bool Ascending, bool IgnoreCase, int LowCol, int LowRow, int HighCol, int HighRow)
{
    SortNames(Qt::Vertical, Ascending, IgnoreCase, LowCol, LowRow, HighCol, HighRow);
}

// ---- Look-up and taking over ----------------------------------------------------------------

namespace {
/// The first index 1..count whose name is `name` cut as names are; 0 when none is.
template<class NameOf>
int FindName(const QString &name, int count, NameOf nameOf)
{
    const QString cut = name.left(TDataTable::NameMax);
    for (int index = 1; index <= count; ++index)
        if (nameOf(index) == cut)
            return index;
    return 0;
}
} // namespace

int TNTabEd::FindColIndex(const QString &ColID) const
{
    return FindName(ColID, GetNrOfColumns(), [this](int col) { return GetColName(col); });
}

int TNTabEd::FindRowIndex(const QString &RowID) const
{
    return FindName(RowID, GetNrOfRows(), [this](int row) { return GetRowName(row); });
}

void TNTabEd::CopyContentsFrom(const TNTabEd &ExtTab)
{
    if (&ExtTab == this)
        return;
    HideEditor();
    ChangeCells([&] {
        Data().Assign(ExtTab.Data());
        for (int col = 1; col <= GetNrOfColumns(); ++col)
            SetDecPlaces(col, ExtTab.GetDecPlaces(col));
    });
    ChangedSetup();
    ChangedData();
}

void TNTabEd::CopyCellStatesFrom(const TNTabEd &ExtTab)
{
    if (&ExtTab == this)
        return;
    const TDataTable &source = ExtTab.Data();
    ChangeStates([&] {
        Data().CopyCells(source, 1, 1, source.NrOfColumns(), source.NrOfRows(), 1, 1, TDataTable::cpStates);
    });
}

void TNTabEd::SetCellState(int ACol, int ARow, uint8_t State)
{
    if (ACol < 1 || ACol > GetNrOfColumns() || ARow < 1 || ARow > GetNrOfRows())
        return;
    ChangeStates([&] { Data().SetCellState(ACol, ARow, State); });
}

// ---- The clipboard --------------------------------------------------------------------------

TGridRect TNTabEd::SelectedDataBlock() const
{
    const TGridRect selection = GetSelection();
    return ClipToTable(selection.Left - ColOffset(), selection.Top - RowOffset(), selection.Right - ColOffset(),
                       selection.Bottom - RowOffset(), GetNrOfColumns(), GetNrOfRows());
}

void TNTabEd::SelectDataBlock(int Left, int Top, int NrCols, int NrRows)
{
    const TGridRect block = ClipToTable(Left, Top, Left + NrCols - 1, Top + NrRows - 1, GetNrOfColumns(),
                                        GetNrOfRows());
    if (IsEmptyBlock(block))
        return;
    SetSelection({block.Left + ColOffset(), block.Top + RowOffset(), block.Right + ColOffset(),
                  block.Bottom + RowOffset()});
    CheckSelection();
}

bool TNTabEd::GetDataCopyAvail() const { return FDataCopyAvail; }

void TNTabEd::PopupMenuClickCopy()
{
    const TGridRect block = SelectedDataBlock();
    if (IsEmptyBlock(block))
        return;
    const int cols = block.Right - block.Left + 1;
    const int rows = block.Bottom - block.Top + 1;
    FDataCopy.Resize(cols, rows);
    FDataCopy.CopyCells(Data(), block.Left, block.Top, cols, rows, 1, 1, TDataTable::cpValuesAndStates);
    std::string text;
    text.reserve(size_t(rows) * (size_t(cols) * (kFullPrecisionWidth + 1) + 2));
    for (int row = 1; row <= rows; ++row) {
        for (int col = 1; col <= cols; ++col) {
            text += col == 1 ? ' ' : '\t';
            const double value = FDataCopy.GetElem(col, row);
            if (!FDataCopy.GetIsNumber(col, row) || !std::isfinite(value)) {
                // An infinite value copied as a number would paste back as one; in the
                // buffer it becomes what it is shown as, not a number.
                if (FDataCopy.GetIsNumber(col, row))
                    FDataCopy.SetCellState(col, row, FDataCopy.GetCellState(col, row) | cellstate::NotANumber);
                text += kNoNumberText;
                continue;
            }
            // FormatNumField's forms for a positive width and a precision of -1 or more
            // are the engine's field text itself: written straight into the one text,
            // without a string per cell.
            TLatin1Text field;
            if (GetClipboardUseFullPrec())
                field.AppendStr(value, kFullPrecisionWidth, -1);
            else
                field.AppendStr(value, 1, GetDecPlaces(block.Left + col - 1));
            text += field.View();
        }
        text += "\r\n";
    }
    QGuiApplication::clipboard()->setText(QString::fromLatin1(text.data(), qsizetype(text.size())));
    FDataCopyAvail = true;
}

void TNTabEd::PopupMenuClickPaste()
{
    if (!FDataCopyAvail || GetDataReadOnly())
        return;
    const TGridRect target = SelectedDataBlock();
    if (IsEmptyBlock(target))
        return;
    ChangeCells([&] {
        Data().CopyCells(FDataCopy, 1, 1, FDataCopy.NrOfColumns(), FDataCopy.NrOfRows(), target.Left, target.Top,
                         TDataTable::cpValuesAndStates);
    });
    ChangedData();
    ChangedCellStates();
    if (OnPaste)
        OnPaste(this);
    SelectDataBlock(target.Left, target.Top, FDataCopy.NrOfColumns(), FDataCopy.NrOfRows());
}

namespace {
int WidestLine(const std::vector<std::vector<double>> &lines)
{
    size_t widest = 0;
    for (const std::vector<double> &line : lines)
        widest = std::max(widest, line.size());
    return int(std::min<size_t>(widest, size_t(std::numeric_limits<int>::max())));
}
} // namespace

void TNTabEd::PopupMenuClickExtClip()
{
    if (GetDataReadOnly())
        return;
    const std::vector<std::vector<double>> lines = ScanClipNumbers(QGuiApplication::clipboard()->text());
    const TGridRect target = SelectedDataBlock();
    if (lines.empty() || IsEmptyBlock(target))
        return;
    ChangeCells([&] { Data().SetElems(target.Left, target.Top, lines); });
    ChangedData();
    if (OnPaste)
        OnPaste(this);
    SelectDataBlock(target.Left, target.Top, WidestLine(lines), int(std::min<size_t>(lines.size(), INT_MAX)));
}

bool TNTabEd::GetClipMatrixSize(int &NCols, int &NRows) const
{
    NCols = 1;
    NRows = 1;
    const std::vector<std::vector<double>> lines = ScanClipNumbers(QGuiApplication::clipboard()->text());
    if (lines.empty())
        return false;
    NCols = WidestLine(lines);
    NRows = int(std::min<size_t>(lines.size(), INT_MAX));
    return true;
}

} // namespace nvo
