#include "NVO_replistview.h"

#include "NVO_Format.h"

#include <QtCore/QScopeGuard>
#include <QtCore/QStringDecoder>
#include <QtCore/QStringView>
#include <QtGui/QFontMetrics>
#include <QtGui/QGuiApplication>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtWidgets/QApplication>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numeric>
#include <span>

namespace nvo {

// ---- Column order ---------------------------------------------------------------------------

void TRLColumnOrder::Reset(int count)
{
    FOrder.resize(size_t(std::max(count, 0)));
    for (size_t i = 0; i < FOrder.size(); ++i)
        FOrder[i] = int(i);
    Invert();
}

int TRLColumnOrder::DataColumn(int gridCol) const
{
    return gridCol >= 0 && gridCol < Count() ? FOrder[size_t(gridCol)] + 1 : 0;
}

int TRLColumnOrder::GridColumn(int dataCol) const
{
    return dataCol >= 1 && dataCol <= Count() ? FInverse[size_t(dataCol - 1)] : -1;
}

bool TRLColumnOrder::Set(const std::vector<int> &ColList)
{
    if (int(ColList.size()) != Count())
        return false;
    bool allValid = true;
    for (size_t i = 0; i < ColList.size(); ++i) {
        if (ColList[i] >= 1 && ColList[i] <= Count())
            FOrder[i] = ColList[i] - 1;
        else
            allValid = false;
    }
    Invert();
    return allValid;
}

void TRLColumnOrder::Invert()
{
    FInverse.assign(FOrder.size(), -1);
    // From the right, so that a data column shown twice maps to its first grid column.
    for (size_t i = FOrder.size(); i-- > 0;)
        FInverse[size_t(FOrder[i])] = int(i);
}

// ---- Cell texts -------------------------------------------------------------------------------

QString TruncatedCellText(const QString &Text, int width, int avail, int margin, bool rightAligned)
{
    if (width <= 0 || avail >= width)
        return Text;
    // Halves go to the even neighbour, as every rounding of the original controls did.
    const int keep = std::max(1, int(std::lrint(double(Text.size()) * avail / width - margin)));
    const QString dots = QStringLiteral("...");
    if (rightAligned)
        return Text.left(1) + dots + Text.right(keep);
    return Text.left(keep) + dots;
}

// ---- Private state ----------------------------------------------------------------------------

namespace {

constexpr int kHeaderMinHeight = 8;
constexpr int kHeaderMaxHeight = 127;
/// A click closer than this to a header cell's edge sizes the column instead of sorting.
constexpr int kHeaderEdgeReach = 4;
constexpr int kSortIndicatorSpace = 13;
constexpr TColor kFrameGray = 0x808080;
const QString kPasswordText = QStringLiteral("******");

bool IsCursorKey(int key)
{
    switch (key) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_End:
    case Qt::Key_Home:
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
        return true;
    default:
        return false;
    }
}

/// The white top-left and gray bottom-right edge of a raised cell from (l, t) to
/// (r, b), both right and bottom excluded.
void RaisedFrame(TCanvas &canvas, int l, int t, int r, int b)
{
    canvas.Pen.Width = 1;
    canvas.Pen.Color = clr::White;
    canvas.MoveTo(l, b - 1);
    canvas.LineTo(l, t);
    canvas.LineTo(r, t);
    canvas.Pen.Color = kFrameGray;
    canvas.MoveTo(l + 1, b - 1);
    canvas.LineTo(r - 1, b - 1);
    canvas.LineTo(r - 1, t - 1);
}

/// The x of a text `width` wide in [left, right) after `alignment`.
int AlignedX(TAlignment alignment, int left, int right, int width)
{
    switch (alignment) {
    case taRightJustify: return right - width;
    case taCenter: return (left + right) / 2 - width / 2;
    default: return left;
    }
}

QFont FontWithStyles(QFont font, TReportListView::TFontStyles styles)
{
    font.setBold(styles.testFlag(TReportListView::fsBold));
    font.setItalic(styles.testFlag(TReportListView::fsItalic));
    font.setUnderline(styles.testFlag(TReportListView::fsUnderline));
    font.setStrikeOut(styles.testFlag(TReportListView::fsStrikeOut));
    return font;
}

TReportListView::TFontStyles StylesOf(const QFont &font)
{
    TReportListView::TFontStyles styles;
    styles.setFlag(TReportListView::fsBold, font.bold());
    styles.setFlag(TReportListView::fsItalic, font.italic());
    styles.setFlag(TReportListView::fsUnderline, font.underline());
    styles.setFlag(TReportListView::fsStrikeOut, font.strikeOut());
    return styles;
}

/// The rows of the `limit` longest cells of column `col` (by UTF-8 bytes, which a
/// cell holds at hand), all rows when there are no more than `limit`. One pass over
/// the cells and one over their lengths, no sort, so a million rows take a few milliseconds.
std::vector<int> LongestCells(const TStringArray &matrix, int col, int rows, int limit)
{
    std::vector<int> result;
    if (rows <= limit) {
        result.resize(size_t(std::max(rows, 0)));
        std::iota(result.begin(), result.end(), 1);
        return result;
    }
    std::vector<quint16> lengths(static_cast<size_t>(rows)); // a cell holds at most 255 characters
    std::vector<int> countOfLength;
    for (int r = 1; r <= rows; ++r) {
        const size_t length = matrix.GetUtf8(col, r).size();
        lengths[size_t(r - 1)] = quint16(length);
        if (length >= countOfLength.size())
            countOfLength.resize(length + 1);
        ++countOfLength[length];
    }
    // The shortest length still among the longest `limit`: every longer cell is taken,
    // and cells of that length as far as room is left.
    size_t threshold = countOfLength.size() - 1;
    int longer = 0;
    while (threshold > 0 && longer + countOfLength[threshold] < limit)
        longer += countOfLength[threshold--];
    int ofThreshold = limit - longer;
    result.reserve(size_t(limit));
    for (int r = 1; r <= rows; ++r) {
        const size_t length = lengths[size_t(r - 1)];
        if (length > threshold || (length == threshold && ofThreshold-- > 0))
            result.push_back(r);
    }
    return result;
}

/// The texts of a row's searched cells, decoded into buffers kept from row to row, so
/// that a filter over a million rows builds no string per cell. A check-mark cell is
/// searched without its state character. Decoded from UTF-8, a text never holds a lone
/// surrogate.
class TSearchedCells
{
public:
    TSearchedCells(const TStringArray &matrix, std::vector<int> columns, std::vector<bool> checkColumns)
        : FMatrix(matrix), FColumns(std::move(columns)), FCheckColumns(std::move(checkColumns)),
          FBuffers(FColumns.size()), FViews(FColumns.size())
    {
    }

    std::span<const QStringView> Read(int row)
    {
        for (size_t i = 0; i < FColumns.size(); ++i) {
            std::string_view utf8 = FMatrix.GetUtf8(FColumns[i], row);
            if (FCheckColumns[i] && !utf8.empty()) {
                // The state character is one character, whatever its UTF-8 length.
                utf8.remove_prefix(1);
                while (!utf8.empty() && (uchar(utf8.front()) & 0xC0) == 0x80)
                    utf8.remove_prefix(1);
            }
            QString &buffer = FBuffers[i];
            const qsizetype room = FDecoder.requiredSpace(qsizetype(utf8.size()));
            if (buffer.size() < room)
                buffer.resize(room);
            QChar *begin = buffer.data();
            FViews[i] = QStringView(begin, Decode(utf8, begin) - begin);
        }
        return FViews;
    }

private:
    /// Most cells are ASCII, which widens byte by byte faster than a decoder call costs.
    QChar *Decode(std::string_view utf8, QChar *out)
    {
        QChar *const begin = out;
        for (const char byte : utf8) {
            if (uchar(byte) >= 0x80)
                return FDecoder.appendToBuffer(begin, QByteArrayView(utf8.data(), qsizetype(utf8.size())));
            *out++ = QChar(uchar(byte));
        }
        return out;
    }

    const TStringArray &FMatrix;
    std::vector<int> FColumns;
    std::vector<bool> FCheckColumns;
    std::vector<QString> FBuffers;
    std::vector<QStringView> FViews;
    // Each cell is whole, so the decoder needs no state; a cell that begins with a byte
    // order mark keeps it.
    QStringDecoder FDecoder{QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom};
};

} // namespace

struct TReportListView::Private {
    explicit Private(TReportListView *view) : q(view) {}

    TReportListView *q;
    bool FAutoAdvance = false;
    int FLastMousePosX = 0;
    int FLastMousePosY = 0;
    std::vector<TAlignment> FColAlignment;
    TAlignment FHeaderAlignment = taCenter;
    QString FEmptyMsg;
    std::vector<bool> FColumnEditable;
    std::vector<bool> FColumnIsPwd;
    TRLColumnOrder FColOrder;
    TRLRowMap FRows;
    // The header texts and the empty-list message start in the system colours that
    // go with the header face and the window: black under the default palette as
    // the original controls drew them, and readable under a dark one.
    TColor FComHdColor = clr::BtnFace;
    TColor FComHdTxtColor = clr::BtnText;
    int FComHdHgt = 20;
    TColor FColHdColor = clr::BtnFace;
    TColor FColHdTxtColor = clr::BtnText;
    int FColHdHgt = 20;
    TColor FColorEmptyMsg = clr::WindowText;
    TColor FDisabledTextColor = 0xC0C0C0;
    TColor FDisabledBkgdColor = 0xF0F0F0;
    int FSelectAnchor = 1;
    int FRowSelectMode = 1;
    bool FCtrlForMultiSel = true;
    bool FSortEnabled = true;
    TColor FSelRowColor = 0x94BAED;
    TColor FSelRowTextColor = 0x800000;
    TColor FSelColColor = 0;
    TColor FSelColTextColor = 0;
    TColor FSelBothColor = 0;
    TColor FSelBothTextColor = 0;
    bool FShowEmptyCBx = true;
    bool FROCheckMarks = false;
    TColor FHiLgtColor = 0xCC9966;
    TColor FHiLgtTextColor = clr::White;
    bool FHiLgtBold = false;
    int FHiLgtRow = 0;
    int FHiLgtColumn = 0;
    bool FSuppressPaint = false;
    TColor FColorNormal = 0x002000;
    TColor FRColorNormal = 0xFFFFFF;
    TColor FRColorShaded = 0xF0EFE8;
    int FRowColPattern = 1;
    int FInterRowIndi = 0;
    TColor FInterRowColor = clr::Red;
    int FInterRowWidth = 3;
    bool FFixedColOne = false;
    bool FSizingNewColumns = false;
    /// The last filter: the display order keeps the rows it passed first, so data rows
    /// 1..FShownRows show and the rest are hidden. `FFilteredOut` marks the hidden ones
    /// by stored row (0-based), which they keep through every sort, so that a sort can put
    /// them last again. -1: no filter holds.
    int FShownRows = -1;
    std::vector<bool> FFilteredOut;
    /// Set while the view itself reorders the store: its announcement does not end the
    /// filter.
    bool FReordering = false;

    TRLData &Store() const { return *q->FRLData; }
    TStringArray &Matrix() const { return q->FRLData->Strings(); }
    int NrOfRows() const { return q->FRLData->GetNrOfRows(); }
    int NrOfCols() const { return q->FRLData->GetNrOfColumns(); }
    bool ValidCol(int c) const { return c >= 1 && c <= NrOfCols(); }
    bool ValidRow(int r) const { return r >= 1 && r <= NrOfRows(); }
    bool RowDisabled(int r) const { return Matrix().GetRowAttrib(r) & RowDisabledBit; }
    bool IsCheckColumn(int c) const { return Store().GetColCheckMode(c) != TRLData::cmNone; }
    /// The data rows the grid shows: all of them unless a filter hides some.
    int ShownRows() const { return FShownRows < 0 ? NrOfRows() : FShownRows; }
    bool ShownRow(int r) const { return r >= 1 && r <= ShownRows(); }

    // Filtering steps
    std::vector<int> SearchedColumns(const std::vector<int> &FilterColumns) const;
    std::vector<bool> FilteredOut(const TRowFilter &filter, const std::vector<int> &FilterColumns) const;
    void SortStore(int Col, int ColSec, bool Ascending);
    void Reorder(const std::function<void()> &reorder);
    void KeepFilteredOutLast();
    void EndFilter();
    /// Ends the filter when the whole matrix was announced as changed by anyone but the
    /// view's own sorting: its rows were replaced or reordered.
    void MatrixCellsChanged(int FirstCol, int FirstRow, int LastCol, int LastRow);
    /// The stored row at the top of the grid's selection; 0 when that row is not shown.
    int CurrentStoredRow() const;
    /// The shown data row that holds stored row `stored`; 0 when none does.
    int ShownRowOf(int stored) const;
    void MoveCursorTo(int dataRow);

    /// Grid rows, fixed rows and header heights after the store's row count or the
    /// header visibility.
    void SyncRows()
    {
        q->BeginUpdate();
        q->TCustomGrid::SetRowCount(FRows.GridRowCount(ShownRows()));
        q->SetFixedRows(FRows.HeadRows());
        SetHeaderHeights();
        q->EndUpdate();
    }

    void SetHeaderHeights()
    {
        const int rowHeight = q->GetDefaultRowHeight();
        q->SetRowHeights(0, FRows.CommonHeaderVisible    ? FComHdHgt
                            : FRows.ColumnHeadersVisible ? FColHdHgt
                                                         : rowHeight);
        // Whether grid row 1 exists, not whether the store has two rows: a store with
        // one row under two headers has its column headers in grid row 1 all the same.
        if (q->GetRowCount() > 1)
            q->SetRowHeights(1, FRows.CommonHeaderVisible && FRows.ColumnHeadersVisible ? FColHdHgt : rowHeight);
    }

    void ChangeHeaderVisible(bool &flag, bool on)
    {
        if (on == flag)
            return;
        flag = on;
        SyncRows();
        q->Changed();
        q->PaintNow();
    }
    void ChangeHeaderHeight(int &field, int height)
    {
        field = std::clamp(height, kHeaderMinHeight, kHeaderMaxHeight);
        SetHeaderHeights();
        q->Changed();
        q->PaintNow();
    }

    /// The grid columns and the column arrays after the store's column count changed
    /// from `oldCount`; new columns take the width of the old last one.
    void SyncColumns(int count)
    {
        const int oldCount = q->GetColCount();
        const int lastWidth = q->TCustomGrid::GetColWidths(oldCount - 1);
        q->BeginUpdate();
        FSizingNewColumns = true;
        const auto sized = qScopeGuard([this] { FSizingNewColumns = false; });
        q->SetColCount(count);
        for (int col = std::max(oldCount - 1, 0); col < count; ++col)
            q->TCustomGrid::SetColWidths(col, lastWidth);
        SizeColumnArrays(count);
        q->SetFixedCols(FFixedColOne ? 1 : 0);
        q->SetTopRow(0);
        q->EndUpdate();
    }

    /// The per-column arrays for `count` columns (new ones left-aligned, not editable,
    /// no password) and the identity column order; "not enough memory on heap" when
    /// they cannot grow.
    void SizeColumnArrays(int count)
    {
        try {
            FColAlignment.resize(size_t(count), taLeftJustify);
            FColumnEditable.resize(size_t(count), false);
            FColumnIsPwd.resize(size_t(count), false);
            FColOrder.Reset(count);
        } catch (const std::bad_alloc &) {
            throw ENVORepListError(msg::NotEnoughMemory(q));
        }
    }

    /// The data row the grid's selection starts in.
    int SelectionTopRow() const { return FRows.DataRow(q->GetSelection().Top); }

    /// Whether the grid cell may be edited in place: a data cell of an editable
    /// column (the column shown there) in a row that is not disabled.
    bool EditingAllowed(int gridCol, int gridRow) const
    {
        const int dataRow = FRows.DataRow(gridRow);
        return gridRow >= q->GetFixedRows() && q->GetColumnEditable(FColOrder.DataColumn(gridCol))
               && !(ShownRow(dataRow) && RowDisabled(dataRow));
    }
    void SetEditingOption(bool on)
    {
        TGridOptions options = q->GetOptions();
        options.setFlag(goEditing, on);
        q->SetOptions(options);
    }

    void SetRowBits(int r, quint8 bits, bool on)
    {
        const quint8 attrib = Matrix().GetRowAttrib(r);
        Matrix().SetRowAttrib(r, on ? attrib | bits : attrib & ~bits);
    }
    void SetAllRowBits(quint8 bits, bool on)
    {
        for (int r = 1; r <= NrOfRows(); ++r)
            SetRowBits(r, bits, on);
    }
    void SetAllColBits(quint8 bits, bool on)
    {
        for (int c = 1; c <= NrOfCols(); ++c) {
            const quint8 attrib = Matrix().GetColAttrib(c);
            Matrix().SetColAttrib(c, on ? attrib | bits : attrib & ~bits);
        }
    }
    int CountRows(const std::function<bool(quint8)> &test) const
    {
        int n = 0;
        for (int r = 1; r <= NrOfRows(); ++r)
            n += test(Matrix().GetRowAttrib(r)) ? 1 : 0;
        return n;
    }

    /// Runs `change` with painting suppressed, restores the flag (repainting when it was
    /// off) and fires OnSelectedChange.
    void SelectionChange(const std::function<void()> &change)
    {
        WithoutPaint(change);
        q->ChangedSelection();
    }
    void WithoutPaint(const std::function<void()> &work)
    {
        const bool saved = FSuppressPaint;
        FSuppressPaint = true;
        const auto restore = qScopeGuard([&] { q->SetSuppressPaint(saved); });
        work();
    }

    int HeadRowsHeight() const
    {
        const bool lines = q->GetOptions() & (goFixedHorzLine | goHorzLine);
        int height = 0;
        for (int row = 0; row < FRows.HeadRows(); ++row)
            height += q->GetRowHeights(row) + (lines ? q->GetGridLineWidth() : 0);
        return height;
    }

    // Painting steps
    void PaintEmptyList(TCanvas &canvas, int width, int height);
    void PaintInterRowIndicator(TCanvas &canvas, int width);
    void DrawDataCell(TCanvas &canvas, int col, int row, int dataCol, QRect back, QRect text);
    void DrawCheckMark(TCanvas &canvas, const QRect &back, TCheckMode mode, bool checked, TColor penColor,
                       TColor fontColor, bool rowDisabled);
    void DrawCommonHeader(TCanvas &canvas, const QRect &back, const QRect &text);
    void DrawColumnHeader(TCanvas &canvas, int col, int dataCol, const QRect &back, const QRect &text);
    int HeaderRightEdge() const;

    // Input steps
    void HeaderSort(int dataCol);
    void ClickDataCell(int gridCol, int row, int dataCol, int x, Qt::KeyboardModifiers shift);
    void ToggleCheckMark(int dataCol, int row);
    void SelectByMode(Qt::KeyboardModifiers shift);
    bool FireWheel(const TMouseWheelUpDownEvent &event, Qt::KeyboardModifiers shift, QPoint pos);
};

// ---- Construction -----------------------------------------------------------------------------

TReportListView::TReportListView(QWidget *parent)
    : TCustomDrawGrid(parent), d(std::make_unique<Private>(this)), FRLData(std::make_unique<TRLData>())
{
    BeginUpdate();
    SetDefaultDrawing(false);
    SetFixedCols(0);
    FRLData->SetNrCols(GetColCount());
    FRLData->SetNrRows(GetRowCount() - 1);
    try {
        d->SizeColumnArrays(GetColCount());
    } catch (const ENVORepListError &) {
        throw ENVORepListError(msg::FailedToInitializeTableEditor(this));
    }
    d->SyncRows();

    TStringArray &matrix = FRLData->Strings();
    const auto contentChanged = [this] {
        Changed();
        PaintNow();
    };
    connect(&matrix, &TStringArray::CellsChanged, this, contentChanged);
    connect(&matrix, &TStringArray::SizeChanged, this, [this] { d->EndFilter(); });
    connect(&matrix, &TStringArray::CellsChanged, this,
            [this](int FirstCol, int FirstRow, int LastCol, int LastRow) {
                d->MatrixCellsChanged(FirstCol, FirstRow, LastCol, LastRow);
            });
    connect(&matrix, &TStringArray::PercentDone, this, [this](int percent) {
        if (OnPercentDone)
            OnPercentDone(this, percent);
    });
    FRLData->OnPercentDone = [this](QObject *, int percent) {
        if (OnPercentDone)
            OnPercentDone(this, percent);
    };
    FRLData->OnBeforeHTMLExport = [this](QObject *, QString &Text, int Col, int Row) {
        if (OnBeforeHTMLExport)
            OnBeforeHTMLExport(this, Text, Col, Row);
    };
    // The store's own row and column counts drive the grid, also when the application
    // resizes the store directly (an import, an XML file).
    connect(FRLData.get(), &TRLData::NrOfRowsChanged, this, [this](int rows) {
        d->SyncRows();
        Q_EMIT NrOfRowsChanged(rows);
    });
    connect(FRLData.get(), &TRLData::NrOfColumnsChanged, this, [this](int cols) { d->SyncColumns(cols); });

    SetOptions(TGridOptions(goFixedVertLine | goFixedHorzLine | goColSizing | goRowSelect | goThumbTracking));
    TCustomGrid::SetTopRow(d->FRows.HeadRows());
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    EndUpdate();
}

TReportListView::~TReportListView() = default;

// ---- Published properties ---------------------------------------------------------------------

int TReportListView::GetNrOfColumns() const { return FRLData->GetNrOfColumns(); }
void TReportListView::SetNrOfColumns(int n)
{
    FRLData->SetNrCols(n);
    PaintNow();
    ChangedSetup();
}

int TReportListView::GetNrOfRows() const { return FRLData->GetNrOfRows(); }
void TReportListView::SetNrOfRows(int n)
{
    FRLData->SetNrRows(n);
    SetSelection({0, 0, 0, 0});
    PaintNow();
    ChangedSetup();
}

bool TReportListView::GetAutoAdvance() const { return d->FAutoAdvance; }
void TReportListView::SetAutoAdvance(bool on) { d->FAutoAdvance = on; }

#define NVO_SETUP_COLOR(Name, Field)                                                                     \
    TColor TReportListView::Get##Name() const { return d->Field; }                                    \
    void TReportListView::Set##Name(TColor c)                                                          \
    {                                                                                                  \
        if (c == d->Field)                                                                             \
            return;                                                                                    \
        Change(d->Field, c);                                                                           \
        ChangedSetup();                                                                                \
    }
NVO_SETUP_COLOR(ColorHigh, FHiLgtColor)
NVO_SETUP_COLOR(ColorText, FColorNormal)
NVO_SETUP_COLOR(ColorBkgdNormal, FRColorNormal)
NVO_SETUP_COLOR(ColorBkgdShaded, FRColorShaded)
NVO_SETUP_COLOR(ColorColumnHd, FColHdColor)
NVO_SETUP_COLOR(ColorColumnHdText, FColHdTxtColor)
NVO_SETUP_COLOR(ColorCommonHd, FComHdColor)
NVO_SETUP_COLOR(ColorCommonHdText, FComHdTxtColor)
NVO_SETUP_COLOR(ColorDisabledBkgd, FDisabledBkgdColor)
NVO_SETUP_COLOR(ColorDisabledText, FDisabledTextColor)
NVO_SETUP_COLOR(ColorEmptyMsg, FColorEmptyMsg)
NVO_SETUP_COLOR(ColorHighText, FHiLgtTextColor)
NVO_SETUP_COLOR(ColorSelectedRow, FSelRowColor)
NVO_SETUP_COLOR(ColorSelectedRowText, FSelRowTextColor)
NVO_SETUP_COLOR(ColorSelectedCol, FSelColColor)
NVO_SETUP_COLOR(ColorSelectedColText, FSelColTextColor)
NVO_SETUP_COLOR(ColorSelectedBoth, FSelBothColor)
NVO_SETUP_COLOR(ColorSelectedBothText, FSelBothTextColor)
NVO_SETUP_COLOR(InterRowIndicatorColor, FInterRowColor)
#undef NVO_SETUP_COLOR

QString TReportListView::GetCommonHeader() const { return FRLData->GetCommonHeader(); }
void TReportListView::SetCommonHeader(const QString &Text)
{
    if (Text == FRLData->GetCommonHeader())
        return;
    FRLData->SetCommonHeader(Text);
    Changed();
    PaintNow();
}

TAlignment TReportListView::GetCommonHeaderAlignment() const { return d->FHeaderAlignment; }
void TReportListView::SetCommonHeaderAlignment(TAlignment a)
{
    if (a == d->FHeaderAlignment || !IsEnumValue(QMetaEnum::fromType<TAlignment>(), a, "CommonHeaderAlignment"))
        return;
    d->FHeaderAlignment = a;
    Changed();
    PaintNow();
}

bool TReportListView::GetCommonHeaderVisible() const { return d->FRows.CommonHeaderVisible; }
void TReportListView::SetCommonHeaderVisible(bool on) { d->ChangeHeaderVisible(d->FRows.CommonHeaderVisible, on); }

int TReportListView::GetCommonHeaderHeight() const { return d->FComHdHgt; }
void TReportListView::SetCommonHeaderHeight(int h) { d->ChangeHeaderHeight(d->FComHdHgt, h); }

bool TReportListView::GetColumnHeadersVisible() const { return d->FRows.ColumnHeadersVisible; }
void TReportListView::SetColumnHeadersVisible(bool on) { d->ChangeHeaderVisible(d->FRows.ColumnHeadersVisible, on); }

int TReportListView::GetColumnHeadersHeight() const { return d->FColHdHgt; }
void TReportListView::SetColumnHeadersHeight(int h) { d->ChangeHeaderHeight(d->FColHdHgt, h); }

void TReportListView::SetDefaultRowHeight(int h)
{
    BeginUpdate();
    TCustomGrid::SetDefaultRowHeight(h);
    d->SetHeaderHeights();
    EndUpdate();
    ChangedSetup();
}

QString TReportListView::GetEmptyMessage() const { return d->FEmptyMsg; }
void TReportListView::SetEmptyMessage(const QString &Text)
{
    if (Text == d->FEmptyMsg)
        return;
    Change(d->FEmptyMsg, Text, d->ShownRows() == 0);
    ChangedSetup();
}

bool TReportListView::GetHighLightBold() const { return d->FHiLgtBold; }
void TReportListView::SetHighLightBold(bool on)
{
    if (on == d->FHiLgtBold)
        return;
    Change(d->FHiLgtBold, on);
    ChangedSetup();
}

int TReportListView::GetHighLightRow() const { return d->FHiLgtRow; }
void TReportListView::SetHighLightRow(int Row)
{
    if (Row == d->FHiLgtRow)
        return;
    Change(d->FHiLgtRow, Row);
    ChangedSetup();
}

int TReportListView::GetHighLightColumn() const { return d->FHiLgtColumn; }
void TReportListView::SetHighLightColumn(int Col)
{
    if (Col == d->FHiLgtColumn)
        return;
    Change(d->FHiLgtColumn, Col);
    ChangedSetup();
}

int TReportListView::GetInterRowIndicatorWidth() const { return d->FInterRowWidth; }
void TReportListView::SetInterRowIndicatorWidth(int w)
{
    if (w == d->FInterRowWidth)
        return;
    Change(d->FInterRowWidth, w, d->FInterRowIndi != 0);
    ChangedSetup();
}

int TReportListView::GetLeftCol() const { return TCustomGrid::GetLeftCol() + 1; }
void TReportListView::SetLeftCol(int n)
{
    n = std::max(std::min(n, GetNrOfColumns()), GetFixedCols() + 1);
    TCustomGrid::SetLeftCol(n - 1);
}

int TReportListView::GetTopRow() const { return d->FRows.DataRow(TCustomGrid::GetTopRow()); }
void TReportListView::SetTopRow(int n)
{
    const int head = d->FRows.HeadRows();
    TCustomGrid::SetTopRow(std::max(std::min(d->FRows.GridRow(n), head + d->ShownRows() - 1), head));
}

int TReportListView::GetRowSelectMode() const { return d->FRowSelectMode; }
void TReportListView::SetRowSelectMode(int Mode)
{
    d->FRowSelectMode = Mode;
    if (Mode == 2)
        return;
    d->SelectionChange([&] {
        d->SetAllRowBits(RowSelectedBit, false);
        if (Mode == 0) {
            // Outside the cells, so that no cell shows as selected.
            const int col = GetNrOfColumns() + 1, row = d->FRows.GridRow(d->ShownRows() + 1);
            SetSelection({col, row, col, row});
        }
    });
}

int TReportListView::GetRowColPattern() const { return d->FRowColPattern; }
void TReportListView::SetRowColPattern(int n)
{
    if (n == d->FRowColPattern)
        return;
    Change(d->FRowColPattern, n);
    ChangedSetup();
}

bool TReportListView::GetShowEmptyCheckBoxes() const { return d->FShowEmptyCBx; }
void TReportListView::SetShowEmptyCheckBoxes(bool on) { Change(d->FShowEmptyCBx, on); }

bool TReportListView::GetFixedFirstColumn() const { return d->FFixedColOne; }
void TReportListView::SetFixedFirstColumn(bool on)
{
    d->FFixedColOne = on;
    SetFixedCols(on ? 1 : 0);
    Changed();
    PaintNow();
}

bool TReportListView::GetSortEnabled() const { return d->FSortEnabled; }
void TReportListView::SetSortEnabled(bool on) { d->FSortEnabled = on; }
bool TReportListView::GetUseCtrlForMultiSel() const { return d->FCtrlForMultiSel; }
void TReportListView::SetUseCtrlForMultiSel(bool on) { d->FCtrlForMultiSel = on; }

// ---- Public properties ------------------------------------------------------------------------

bool TReportListView::GetCheckMarksReadOnly() const { return d->FROCheckMarks; }
void TReportListView::SetCheckMarksReadOnly(bool on) { Change(d->FROCheckMarks, on); }

int TReportListView::GetInterRowIndicatorPos() const { return d->FInterRowIndi; }
void TReportListView::SetInterRowIndicatorPos(int Row)
{
    if (Row == d->FInterRowIndi)
        return;
    Change(d->FInterRowIndi, Row);
    ChangedSetup();
}

int TReportListView::GetSecondarySortColumn() const { return FRLData->GetSortColumnSec(); }
void TReportListView::SetSecondarySortColumn(int Col)
{
    if (Col < -1 || Col > GetNrOfColumns())
        return;
    FRLData->SetSortColumnSec(Col);
    ChangedSetup();
}

bool TReportListView::GetSuppressPaint() const { return d->FSuppressPaint; }
void TReportListView::SetSuppressPaint(bool on)
{
    if (on == d->FSuppressPaint)
        return;
    d->FSuppressPaint = on;
    if (!on)
        PaintNow();
}

QString TReportListView::GetComment() const { return FRLData->GetComment(); }
void TReportListView::SetComment(const QString &Text) { FRLData->SetComment(Text); }
QString TReportListView::GetDataID() const { return FRLData->GetDataID(); }
void TReportListView::SetDataID(const QString &ID) { FRLData->SetDataID(ID); }

QString TReportListView::GetElem(int ACol, int ARow) const
{
    QString text = FRLData->GetElem(ACol, ARow);
    if (OnReadCell)
        OnReadCell(const_cast<TReportListView *>(this), ACol, ARow, text);
    return text;
}
void TReportListView::SetElem(int ACol, int ARow, const QString &Value) { FRLData->SetElem(ACol, ARow, Value); }
bool TReportListView::GetElemChecked(int ACol, int ARow) const { return FRLData->GetElemChecked(ACol, ARow); }
void TReportListView::SetElemChecked(int ACol, int ARow, bool Value)
{
    FRLData->SetElemChecked(ACol, ARow, Value);
}

double TReportListView::GetAsNumber(int ACol, int ARow) const
{
    try {
        return FRLData->GetAsNumber(ACol, ARow);
    } catch (const ENVODStructError &) {
        throw ENVODStructError(QStringLiteral("Class TReportListView: invalid numeric string: [%1,%2]: %3")
                                   .arg(FormatInt(ACol), FormatInt(ARow), FRLData->Strings().GetString(ACol, ARow)));
    }
}

QString TReportListView::GetDefaultValue(int ACol, int ARow) const { return FRLData->GetCellDefaultValue(ACol, ARow); }

QString TReportListView::GetHeader(int ColNr) const { return FRLData->GetColName(ColNr); }
void TReportListView::SetHeader(int ColNr, const QString &Name)
{
    if (!d->ValidCol(ColNr))
        return;
    FRLData->SetColName(ColNr, Name);
    Changed();
    PaintNow();
}

QString TReportListView::GetColumnFormat(int ColNr) const { return FRLData->GetColumnFormat(ColNr); }
void TReportListView::SetColumnFormat(int ColNr, const QString &Format)
{
    if (!d->ValidCol(ColNr))
        return;
    FRLData->SetColumnFormat(ColNr, Format);
    Changed();
    PaintNow();
}

TReportListView::TCheckMode TReportListView::GetColumnCheckMode(int ColNr) const
{
    return FRLData->GetColCheckMode(ColNr);
}
void TReportListView::SetColumnCheckMode(int ColNr, TCheckMode Mode)
{
    if (!d->ValidCol(ColNr) || !IsEnumValue(QMetaEnum::fromType<TCheckMode>(), Mode, "ColumnCheckMode"))
        return;
    FRLData->SetColCheckMode(ColNr, Mode);
    Changed();
    PaintNow();
}

bool TReportListView::GetIsCheckedColumn(int ColNr) const { return FRLData->GetCheckedCol(ColNr); }
void TReportListView::SetIsCheckedColumn(int ColNr, bool On)
{
    SetColumnCheckMode(ColNr, On ? TRLData::cmBox : TRLData::cmNone);
}

int TReportListView::GetLastSortColumn() const { return FRLData->GetLastSortColumn(); }
bool TReportListView::GetLastSortOrder() const { return FRLData->GetLastSortOrder(); }

int TReportListView::GetColumnOrder(int ColNr) const { return d->FColOrder.DataColumn(ColNr - 1); }

int TReportListView::GetColWidths(int Index) const
{
    const int gridCol = d->FColOrder.GridColumn(Index);
    return gridCol < 0 ? 0 : TCustomGrid::GetColWidths(gridCol);
}

void TReportListView::SetColWidths(int Index, int Width)
{
    // A width that changes reports itself through ColWidthsChanged.
    const int gridCol = d->FColOrder.GridColumn(Index);
    if (gridCol >= 0 && TCustomGrid::GetColWidths(gridCol) != std::max(Width, 0))
        TCustomGrid::SetColWidths(gridCol, Width);
    else
        ChangedSetup();
}

void TReportListView::ColWidthsChanged()
{
    // Also a column the user sizes with the mouse; the column-count change that sizes
    // its new columns reports once for all of them.
    if (!d->FSizingNewColumns)
        ChangedSetup();
}

TAlignment TReportListView::GetColumnAlignment(int ColNr) const
{
    return d->ValidCol(ColNr) ? d->FColAlignment[size_t(ColNr - 1)] : taLeftJustify;
}
void TReportListView::SetColumnAlignment(int ColNr, TAlignment a)
{
    if (!d->ValidCol(ColNr) || !IsEnumValue(QMetaEnum::fromType<TAlignment>(), a, "ColumnAlignment")
        || d->FColAlignment[size_t(ColNr - 1)] == a)
        return;
    d->FColAlignment[size_t(ColNr - 1)] = a;
    Changed();
    PaintNow();
}

bool TReportListView::GetColumnEditable(int ColNr) const
{
    return d->ValidCol(ColNr) && d->FColumnEditable[size_t(ColNr - 1)];
}
void TReportListView::SetColumnEditable(int ColNr, bool on)
{
    if (d->ValidCol(ColNr))
        d->FColumnEditable[size_t(ColNr - 1)] = on;
}

bool TReportListView::GetColumnIsPwd(int ColNr) const { return d->ValidCol(ColNr) && d->FColumnIsPwd[size_t(ColNr - 1)]; }
void TReportListView::SetColumnIsPwd(int ColNr, bool on)
{
    if (!d->ValidCol(ColNr) || d->FColumnIsPwd[size_t(ColNr - 1)] == on)
        return;
    d->FColumnIsPwd[size_t(ColNr - 1)] = on;
    Changed();
    PaintNow();
}

bool TReportListView::GetColumnSelected(int ColNr) const
{
    return d->ValidCol(ColNr) && (FRLData->Strings().GetColAttrib(ColNr) & ColSelectedBit);
}
void TReportListView::SetColumnSelected(int ColNr, bool on)
{
    if (!d->ValidCol(ColNr))
        return;
    const quint8 attrib = FRLData->Strings().GetColAttrib(ColNr);
    FRLData->Strings().SetColAttrib(ColNr, on ? attrib | ColSelectedBit : attrib & ~ColSelectedBit);
    ChangedSelection();
    PaintNow();
}

bool TReportListView::GetRowSelected(int Row) const
{
    return d->ValidRow(Row) && (FRLData->Strings().GetRowAttrib(Row) & RowSelectedBit);
}
void TReportListView::SetRowSelected(int Row, bool on)
{
    if (!d->ValidRow(Row))
        return;
    d->SetRowBits(Row, RowSelectedBit, on);
    ChangedSelection();
    PaintNow();
}

bool TReportListView::GetRowEnabled(int Row) const { return d->ValidRow(Row) && !d->RowDisabled(Row); }
void TReportListView::SetRowEnabled(int Row, bool on)
{
    if (!d->ValidRow(Row))
        return;
    d->SetRowBits(Row, RowDisabledBit, !on);
    ChangedSelection();
    PaintNow();
}

// ---- Methods ----------------------------------------------------------------------------------

void TReportListView::Assign(const QObject *Source)
{
    const auto *source = qobject_cast<const TReportListView *>(Source);
    if (!source)
        throw EConvertError(msg::CannotAssign(Source, this));
    d->WithoutPaint([&] {
        FRLData->Assign(source->FRLData.get());
        // Every setting but the back pointer and the suppression flag, which stay ours.
        const bool suppressed = d->FSuppressPaint;
        *d = *source->d;
        d->q = this;
        d->FSuppressPaint = suppressed;
        OnChange = source->OnChange;
        OnChangeSetup = source->OnChangeSetup;
        OnSelectedChange = source->OnSelectedChange;
        OnBeforeRenderCell = source->OnBeforeRenderCell;
        OnReadCell = source->OnReadCell;
        OnCheckedChange = source->OnCheckedChange;
        OnBeforeCheckedChange = source->OnBeforeCheckedChange;
        OnCursorKeyAction = source->OnCursorKeyAction;
        OnRequestEditFormat = source->OnRequestEditFormat;
        OnBeforeFilter = source->OnBeforeFilter;
        OnMouseWheelDown = source->OnMouseWheelDown;
        OnMouseWheelUp = source->OnMouseWheelUp;
        OnPercentDone = source->OnPercentDone;
        OnBeforeSortExchange = source->OnBeforeSortExchange;
        OnBeforeHTMLExport = source->OnBeforeHTMLExport;
        SetColCount(GetNrOfColumns());
        for (int col = 0; col < GetNrOfColumns(); ++col)
            TCustomGrid::SetColWidths(col, source->TCustomGrid::GetColWidths(col));
        SetFixedCols(d->FFixedColOne ? 1 : 0);
        d->SyncRows();
    });
}

int TReportListView::AddRow()
{
    HideEditor();
    SetNrOfRows(GetNrOfRows() + 1);
    return GetNrOfRows();
}

int TReportListView::InsertRow(int r)
{
    HideEditor();
    d->WithoutPaint([&] {
        if (r >= 1 && r <= GetNrOfRows()) {
            FRLData->Strings().InsertRow(r);
            FRLData->SetNrRows(GetNrOfRows() + 1);
            SetSelection({0, 0, 0, 0});
            ChangedSetup();
        } else if (r > GetNrOfRows()) {
            r = AddRow();
        }
        FRLData->MarkUnsorted();
    });
    return r;
}

void TReportListView::RemoveRow(int r)
{
    if (!d->ValidRow(r))
        return;
    HideEditor();
    // The store commits a pending sort first and keeps its last matrix row; the grid
    // follows its row count.
    FRLData->RemoveRow(r);
    ChangedSetup();
    PaintNow();
}

void TReportListView::RemoveEmptyRows()
{
    d->WithoutPaint([&] {
        for (int r = GetNrOfRows(); r >= 1; --r) {
            bool empty = true;
            for (int c = 0; c <= GetNrOfColumns() && empty; ++c)
                empty = FRLData->GetElem(c, r).isEmpty();
            if (empty)
                RemoveRow(r);
        }
    });
}

void TReportListView::Fill(const QString &s)
{
    HideEditor();
    d->WithoutPaint([&] { FRLData->Fill(s); });
}

void TReportListView::Clear()
{
    HideEditor();
    FRLData->Clear();
    std::fill(d->FColAlignment.begin(), d->FColAlignment.end(), taLeftJustify);
    std::fill(d->FColumnIsPwd.begin(), d->FColumnIsPwd.end(), false);
    std::fill(d->FColumnEditable.begin(), d->FColumnEditable.end(), false);
    d->FColOrder.Reset(GetNrOfColumns());
    PaintNow();
}

int TReportListView::DetermineMaxColWidth(int ColNr, bool IncludeHeader)
{
    if (!d->ValidCol(ColNr))
        return 10;
    const QFontMetrics metrics(font());
    const int italic = font().italic() ? 2 : 0;
    const int mark = d->IsCheckColumn(ColNr) ? CheckMarkSpace : 0;
    const TStringArray &matrix = FRLData->Strings();
    const std::vector<int> measured = LongestCells(matrix, ColNr, GetNrOfRows(), kMeasuredCells);
    int widest = 0;
    for (int r : measured)
        widest = std::max(widest, metrics.horizontalAdvance(matrix.GetString(ColNr, r)) + mark + italic);
    if (IncludeHeader) {
        const int sort = FRLData->GetLastSortColumn() == ColNr ? kSortIndicatorSpace : 0;
        widest = std::max(widest, metrics.horizontalAdvance(FRLData->GetColName(ColNr)) + sort + italic);
    }
    return widest + 10;
}

void TReportListView::AutoColWidth(int ColNr, bool IncludeHeader, int Addon)
{
    SetColWidths(ColNr, std::max(4, DetermineMaxColWidth(ColNr, IncludeHeader) + Addon));
}

void TReportListView::AutoColWidth(int ColNr, bool IncludeHeader, int Addon, int MaxWidth)
{
    SetColWidths(ColNr, std::min(std::max(4, DetermineMaxColWidth(ColNr, IncludeHeader) + Addon), MaxWidth));
}

void TReportListView::ExpandColWidth(int ColIx, int RightMargin)
{
    if (d->ValidCol(ColIx)) {
        int others = 0;
        for (int c = 1; c <= GetNrOfColumns(); ++c)
            others += c == ColIx ? 0 : GetColWidths(c);
        const int width = viewport()->width() - RightMargin - others;
        SetColWidths(ColIx, width <= 15 ? 16 : width);
    }
    ChangedSetup();
}

void TReportListView::FitAllColWidths(int ExpandColumn, bool IncludeHeader, int Addon, int MaxWidth, int RightMargin)
{
    d->WithoutPaint([&] {
        for (int c = 1; c <= GetNrOfColumns(); ++c)
            if (c != ExpandColumn)
                AutoColWidth(c, IncludeHeader, Addon, MaxWidth);
        ExpandColWidth(ExpandColumn, RightMargin);
    });
}

bool TReportListView::SetColumnOrder(const std::vector<int> &ColList) { return d->FColOrder.Set(ColList); }

int TReportListView::CountHeadRows() const { return d->FRows.HeadRows(); }

void TReportListView::Changed()
{
    if (OnChange)
        OnChange(this);
}
void TReportListView::ChangedSetup()
{
    if (OnChangeSetup)
        OnChangeSetup(this);
}
void TReportListView::ChangedSelection()
{
    if (OnSelectedChange)
        OnSelectedChange(this);
}

// ---- Selection --------------------------------------------------------------------------------

void TReportListView::SelectRow(int RowNr)
{
    d->SelectionChange([&] {
        d->SetAllRowBits(RowSelectedBit, false);
        if (d->ValidRow(RowNr))
            d->SetRowBits(RowNr, RowSelectedBit, true);
    });
}
void TReportListView::SelectAllRows() { d->SelectionChange([&] { d->SetAllRowBits(RowSelectedBit, true); }); }
void TReportListView::DeselectAllRows() { d->SelectionChange([&] { d->SetAllRowBits(RowSelectedBit, false); }); }
void TReportListView::EnableAllRows() { d->SelectionChange([&] { d->SetAllRowBits(RowDisabledBit, false); }); }
void TReportListView::DisableAllRows() { d->SelectionChange([&] { d->SetAllRowBits(RowDisabledBit, true); }); }
void TReportListView::SelectColumn(int ColNr)
{
    d->SelectionChange([&] {
        d->SetAllColBits(ColSelectedBit, false);
        if (d->ValidCol(ColNr))
            FRLData->Strings().SetColAttrib(ColNr, FRLData->Strings().GetColAttrib(ColNr) | ColSelectedBit);
    });
}
void TReportListView::SelectAllColumns() { d->SelectionChange([&] { d->SetAllColBits(ColSelectedBit, true); }); }
void TReportListView::DeselectAllColumns() { d->SelectionChange([&] { d->SetAllColBits(ColSelectedBit, false); }); }

int TReportListView::NumSelectedRows() const
{
    return d->CountRows([](quint8 attrib) { return attrib & RowSelectedBit; });
}
int TReportListView::NumEnabledRows() const
{
    return d->CountRows([](quint8 attrib) { return !(attrib & RowDisabledBit); });
}
int TReportListView::NumSelectedColumns() const
{
    int n = 0;
    for (int c = 1; c <= GetNrOfColumns(); ++c)
        n += GetColumnSelected(c) ? 1 : 0;
    return n;
}

int TReportListView::FirstSelectedRow() const
{
    for (int r = 1; r <= GetNrOfRows(); ++r)
        if (GetRowSelected(r))
            return d->RowDisabled(r) ? 0 : r;
    return 0;
}

int TReportListView::FirstSelectedColumn() const
{
    for (int c = 1; c <= GetNrOfColumns(); ++c)
        if (GetColumnSelected(c))
            return c;
    return 0;
}

int TReportListView::CountCheckedElemsInCol(int Column) const
{
    int n = 0;
    for (int r = 1; r <= GetNrOfRows(); ++r)
        n += !d->RowDisabled(r) && FRLData->GetElemChecked(Column, r) ? 1 : 0;
    return n;
}

void TReportListView::SetAllCheckmarksOfCol(int Column, bool Checked, bool AffectEnabledRowsOnly)
{
    d->WithoutPaint([&] {
        if (!AffectEnabledRowsOnly) {
            FRLData->SetAllCheckmarksOfCol(Column, Checked);
            return;
        }
        const TCheckMode mode = FRLData->GetColCheckMode(Column);
        if (mode == TRLData::cmNone || (Checked && mode != TRLData::cmBox))
            return;
        for (int r = 1; r <= GetNrOfRows(); ++r)
            if (!d->RowDisabled(r))
                FRLData->SetElemChecked(Column, r, Checked);
    });
}

void TReportListView::InvertAllCheckmarksOfCol(int Column, bool AffectEnabledRowsOnly)
{
    d->WithoutPaint([&] {
        if (!AffectEnabledRowsOnly) {
            FRLData->InvertAllCheckmarksOfCol(Column);
            return;
        }
        if (FRLData->GetColCheckMode(Column) != TRLData::cmBox)
            return;
        for (int r = 1; r <= GetNrOfRows(); ++r)
            if (!d->RowDisabled(r))
                FRLData->SetElemChecked(Column, r, !FRLData->GetElemChecked(Column, r));
    });
}

void TReportListView::CenterScrollAndSelect(int Row)
{
    d->WithoutPaint([&] {
        SelectRow(Row);
        const int v = GetVisibleRowCount();
        const int n = d->ShownRows();
        SetTopRow(std::max(Row > n - v / 2 ? n - v + 1 : Row - v / 2, 1));
        // The data row converted to its grid row: the head rows come first.
        if (d->ShownRow(Row)) {
            const int gridRow = d->FRows.GridRow(Row);
            SetSelection({GetFixedCols(), gridRow, GetColCount() - 1, gridRow});
        }
    });
}

TGridCoord TReportListView::MouseCell(int X, int Y) const
{
    const TGridCoord cell = MouseCoord(X, Y);
    TGridCoord result{cell.X >= 0 ? cell.X + 1 : 0, 0};
    const int head = d->FRows.HeadRows();
    if (cell.Y >= head)
        result.Y = d->FRows.DataRow(cell.Y);
    else if (cell.Y >= 0)
        result.Y = head == 2 ? cell.Y - 2 : (d->FRows.CommonHeaderVisible ? -2 : -1);
    return result;
}

void TReportListView::CursorKeyAction(int Key)
{
    if (OnCursorKeyAction)
        OnCursorKeyAction(this, Key);
}

// ---- Store forwards ---------------------------------------------------------------------------

int TReportListView::ColumnIndex(const QString &Head, bool PartialMatch) const
{
    return FRLData->ColumnIndex(Head, PartialMatch);
}
QString TReportListView::GetCellDefaultValue(int ACol, int ARow) const
{
    return FRLData->GetCellDefaultValue(ACol, ARow);
}
int TReportListView::CountCheckedElemsInRow(int Row) const { return FRLData->CountCheckedElemsInRow(Row); }
int TReportListView::FirstCheckedElemInCol(int ColNr) const { return FRLData->FirstCheckedElemInCol(ColNr); }
int TReportListView::FirstCheckedElemInRow(int RowNr) const { return FRLData->FirstCheckedElemInRow(RowNr); }
void TReportListView::CopyToClipBoard(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader,
                                      bool UseTabs) const
{
    FRLData->CopyToClipBoard(LeftCol, TopRow, RightCol, BottomRow, AddHeader, UseTabs);
}

void TReportListView::CopyToClipBoard(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader,
                                      const QString &Separator) const
{
    FRLData->CopyToClipBoard(LeftCol, TopRow, RightCol, BottomRow, AddHeader, Separator);
}

int TReportListView::ImportCSV(const QString &FName, TCSVDelimiters Delimiter, bool IncludeColHeaders)
{
    HideEditor();
    const int status = FRLData->ImportCSV(FName, Delimiter, IncludeColHeaders);
    PaintNow();
    return status;
}

int TReportListView::ExportCSV(const QString &FName, TCSVDelimiters Delimiter, bool IncludeColHeaders,
                               bool IncludeCommonHeader, int FirstCol, int FirstRow, int LastCol, int LastRow)
{
    return FRLData->ExportCSV(FName, Delimiter, IncludeColHeaders, IncludeCommonHeader, FirstCol, FirstRow, LastCol,
                              LastRow);
}

int TReportListView::LoadLinesFromFile(int Column, int FirstRow, const QString &FName)
{
    HideEditor();
    const int status = FRLData->LoadLinesFromFile(Column, FirstRow, FName);
    PaintNow();
    return status;
}

void TReportListView::ExportHTMLTable(const QString &FName, int LoC, int LoR, int HiC, int HiR,
                                      const std::vector<int> &ColumnSelection, int Border, int CellSpacing,
                                      int Cellpadding, bool IncludeHeader, const QString &HeadClass,
                                      const QString &CellClass, const QString &TableClass)
{
    FRLData->ExportHTMLTable(FName, LoC, LoR, HiC, HiR, ColumnSelection, Border, CellSpacing, Cellpadding,
                             IncludeHeader, HeadClass, CellClass, TableClass);
}

void TReportListView::Sort(int Col, int ColSec, bool Ascending)
{
    d->Reorder([&] { d->SortStore(Col, ColSec, Ascending); });
    PaintNow();
}

void TReportListView::UnSort()
{
    d->Reorder([&] { FRLData->UnSort(); });
    PaintNow();
}

void TReportListView::Private::SortStore(int Col, int ColSec, bool Ascending)
{
    // The store listens for sort keys only while someone may rewrite them.
    if (q->OnBeforeSortExchange)
        Store().OnBeforeSortExchange = [this](QObject *, const QString &Text, QString &ExchgText) {
            q->OnBeforeSortExchange(q, Text, ExchgText);
        };
    const auto detach = qScopeGuard([this] { Store().OnBeforeSortExchange = nullptr; });
    Store().Sort(Col, ColSec, Ascending);
}

// ---- Filtering --------------------------------------------------------------------------------

void TReportListView::FilterAndSort(const QString &FilterExp, const std::vector<int> &FilterColumns, bool IgnoreCase,
                                    TFilterMode FilterMode, int SortColumn, bool Ascending)
{
    const TRowFilter filter(FilterExp, FilterMode, IgnoreCase);
    if (!filter.IsValid())
        throw ENVORepListError(QStringLiteral("Component \"%1\": %2").arg(ComponentName(this), filter.ErrorString()));
    HideEditor();
    // One picture at the end, not one per step.
    d->WithoutPaint([&] {
        const int current = d->CurrentStoredRow();
        std::vector<bool> filteredOut = d->FilteredOut(filter, FilterColumns);
        // A handler that changed the row count has ended the filter and left rows the
        // verdicts no longer describe.
        if (int(filteredOut.size()) != GetNrOfRows())
            return;
        d->Reorder([&] {
            if (d->ValidCol(SortColumn))
                d->SortStore(SortColumn, FRLData->GetSortColumnSec(), Ascending);
            else
                FRLData->UnSort();
            d->FFilteredOut = std::move(filteredOut);
            d->FShownRows = 0;
        });
        d->SyncRows();
        // The current row stays on its row while that shows; otherwise the list starts
        // over at its first row.
        const int row = std::max(d->ShownRowOf(current), 1);
        d->MoveCursorTo(row);
        if (row < GetTopRow() || row >= GetTopRow() + GetVisibleRowCount())
            SetTopRow(row);
    });
    ChangedSetup();
}

int TReportListView::GetNrOfShownRows() const { return d->ShownRows(); }

std::vector<int> TReportListView::Private::SearchedColumns(const std::vector<int> &FilterColumns) const
{
    std::vector<int> columns;
    if (FilterColumns.empty()) {
        for (int c = 1; c <= NrOfCols(); ++c)
            columns.push_back(c);
    } else {
        std::copy_if(FilterColumns.begin(), FilterColumns.end(), std::back_inserter(columns),
                     [this](int c) { return c >= 0 && c <= NrOfCols(); });
    }
    std::erase_if(columns, [this](int c) { return c >= 1 && FColumnIsPwd[size_t(c - 1)]; });
    return columns;
}

std::vector<bool> TReportListView::Private::FilteredOut(const TRowFilter &filter,
                                                        const std::vector<int> &FilterColumns) const
{
    std::vector<int> columns = SearchedColumns(FilterColumns);
    std::vector<bool> checkColumns;
    for (int c : columns)
        checkColumns.push_back(c >= 1 && IsCheckColumn(c));
    TSearchedCells cells(Matrix(), std::move(columns), std::move(checkColumns));
    const int rows = NrOfRows();
    // The rows are read in the order they are stored, which is the order their cells lie
    // in memory: read in a sorted order, a million rows would cost a cache miss each.
    std::vector<int> shownAt(static_cast<size_t>(rows));
    for (int pos = 1; pos <= rows; ++pos)
        shownAt[size_t(Matrix().GetSortOrder(pos) - 1)] = pos;
    std::vector<bool> filteredOut(static_cast<size_t>(rows));
    for (int stored = 1; stored <= rows; ++stored) {
        const int r = shownAt[size_t(stored - 1)];
        bool found = filter.Matches(cells.Read(r), true);
        if (q->OnBeforeFilter) {
            bool verdict = found;
            TLogicOp combine = loAND;
            q->OnBeforeFilter(q, r, verdict, combine);
            if (NrOfRows() != rows)
                return {};
            found = CombineVerdicts(combine, verdict, found);
        }
        filteredOut[size_t(stored - 1)] = !found;
    }
    return filteredOut;
}

void TReportListView::Private::Reorder(const std::function<void()> &reorder)
{
    {
        FReordering = true;
        const auto done = qScopeGuard([this] { FReordering = false; });
        reorder();
    }
    KeepFilteredOutLast();
}

void TReportListView::Private::KeepFilteredOutLast()
{
    if (FShownRows < 0)
        return;
    const int rows = NrOfRows();
    std::vector<int> order(static_cast<size_t>(rows));
    for (int pos = 1; pos <= rows; ++pos)
        order[size_t(pos - 1)] = Matrix().GetSortOrder(pos);
    // Stable: the shown rows keep the order the sort gave them, and so do the hidden ones.
    const auto hidden = std::stable_partition(order.begin(), order.end(),
                                              [this](int stored) { return !FFilteredOut[size_t(stored - 1)]; });
    FShownRows = int(hidden - order.begin());
    for (int pos = 1; pos <= rows; ++pos)
        Matrix().SetSortOrder(pos, order[size_t(pos - 1)]);
}

void TReportListView::Private::EndFilter()
{
    if (FShownRows < 0)
        return;
    FShownRows = -1;
    FFilteredOut.clear();
    SyncRows();
}

void TReportListView::Private::MatrixCellsChanged(int FirstCol, int FirstRow, int LastCol, int LastRow)
{
    if (!FReordering && FirstCol == 0 && FirstRow == 1 && LastCol == Matrix().NrOfColumns()
        && LastRow == Matrix().NrOfRows())
        EndFilter();
}

int TReportListView::Private::CurrentStoredRow() const
{
    const int shown = SelectionTopRow();
    return ShownRow(shown) ? Matrix().GetSortOrder(shown) : 0;
}

int TReportListView::Private::ShownRowOf(int stored) const
{
    for (int r = 1; r <= ShownRows(); ++r)
        if (Matrix().GetSortOrder(r) == stored)
            return r;
    return 0;
}

void TReportListView::Private::MoveCursorTo(int dataRow)
{
    TGridRect selection = q->GetSelection();
    selection.Top = selection.Bottom = FRows.GridRow(dataRow);
    q->SetSelection(selection);
}

// ---- Accessibility and size -------------------------------------------------------------------

QString TReportListView::GetCellText(int col, int row) const
{
    const int dataCol = d->FColOrder.DataColumn(col);
    if (dataCol == 0 || row < 0 || row >= GetRowCount())
        return {};
    if (row == d->FRows.CommonHeaderRow())
        return GetCommonHeader();
    if (row == d->FRows.ColumnHeaderRow())
        return GetHeader(dataCol);
    const int dataRow = d->FRows.DataRow(row);
    if (!d->ShownRow(dataRow))
        return {};
    if (GetColumnIsPwd(dataCol))
        return QStringLiteral("password");
    const QString text = GetElem(dataCol, dataRow);
    if (!d->IsCheckColumn(dataCol))
        return text;
    const QString mark = GetElemChecked(dataCol, dataRow) ? QStringLiteral("checked") : QStringLiteral("unchecked");
    return text.isEmpty() ? mark : text + QStringLiteral(", ") + mark;
}

QSize TReportListView::sizeHint() const
{
    const int frame = 2 * frameWidth();
    const int line = GetGridLineWidth();
    int width = frame;
    for (int col = 0; col < GetColCount(); ++col)
        width += TCustomGrid::GetColWidths(col) + line;
    // Room for the head rows and eight data rows, so that the empty-list message has
    // space below the headers.
    int height = frame + d->HeadRowsHeight() + 8 * (GetDefaultRowHeight() + line);
    return {std::min(width, 640), height};
}

QSize TReportListView::minimumSizeHint() const
{
    const QFontMetrics metrics(font());
    const int frame = 2 * frameWidth();
    return {metrics.horizontalAdvance(QStringLiteral("C-1")) * 4 + frame, metrics.height() * 4 + frame};
}

// ---- Painting ---------------------------------------------------------------------------------

void TReportListView::Paint(TCanvas &canvas)
{
    // The picture is composed in the buffer, which keeps the last one while painting
    // is suppressed.
    TBitmap &buffer = Buffer();
    if (!d->FSuppressPaint) {
        TCanvas &bitmap = buffer.Canvas();
        TCustomDrawGrid::Paint(bitmap);
        const int width = viewport()->width(), height = viewport()->height();
        if (d->ShownRows() == 0)
            d->PaintEmptyList(bitmap, width, height);
        d->PaintInterRowIndicator(bitmap, width);
    }
    canvas.Draw(0, 0, buffer);
}

void TReportListView::Private::PaintEmptyList(TCanvas &canvas, int width, int height)
{
    const int headHeight = HeadRowsHeight();
    canvas.Pen.Color = q->GetColor();
    canvas.Brush.SetColor(q->GetColor());
    canvas.FillRect(0, headHeight, width, height);
    if (FEmptyMsg.isEmpty())
        return;
    const QStringList lines = FEmptyMsg.split(QLatin1Char('|'));
    canvas.Font.Color = FColorEmptyMsg;
    const int h = canvas.TextHeight(FEmptyMsg);
    const int y0 = headHeight - h * int(lines.size());
    const int b = height - y0 - h;
    // In a view too short for the message to be centred, it starts right below the
    // headers instead of running over them.
    const int top = std::max(y0 + b / 2 - 2, headHeight);
    for (int k = 0; k < lines.size(); ++k)
        canvas.TextOut((width - canvas.TextWidth(lines[k])) / 2, top + h * k, lines[k]);
}

void TReportListView::Private::PaintInterRowIndicator(TCanvas &canvas, int width)
{
    const int p = FInterRowIndi;
    const int head = FRows.HeadRows();
    const int gridTop = q->TCustomGrid::GetTopRow();
    if (p == 0 || p < gridTop - head + 1 || p > ShownRows() + 1)
        return;
    const bool lines = q->GetOptions() & (goFixedHorzLine | goHorzLine);
    const int pitch = q->GetDefaultRowHeight() + (lines ? q->GetGridLineWidth() : 0);
    const int y = (head + p - gridTop - 1) * pitch + HeadRowsHeight();
    canvas.Pen.Color = FInterRowColor;
    canvas.Pen.Width = FInterRowWidth;
    canvas.MoveTo(0, y);
    canvas.LineTo(width, y);
    canvas.Pen.Width = 1;
}

void TReportListView::DrawCell(TCanvas &canvas, int col, int row, const QRect &rect, TGridDrawState state)
{
    const int dataCol = d->FColOrder.DataColumn(col);
    if (dataCol == 0)
        return; // a grid column the column arrays do not know yet
    QRect back = rect;
    if (!state.testFlag(gdFixed)) {
        // Without lines between the data cells, a cell covers the gap after it.
        back.adjust(0, 0, GetOptions().testFlag(goVertLine) ? 0 : 1, GetOptions().testFlag(goHorzLine) ? 0 : 1);
    }
    const QRect text = rect.adjusted(4, 2, -6, 0);
    canvas.Font.Font = font();
    if (row >= GetFixedRows())
        d->DrawDataCell(canvas, col, row, dataCol, back, text);
    else if (state.testFlag(gdFixed) && row == d->FRows.CommonHeaderRow())
        d->DrawCommonHeader(canvas, back, text);
    else if (state.testFlag(gdFixed) && row == d->FRows.ColumnHeaderRow())
        d->DrawColumnHeader(canvas, col, dataCol, back, text);
    TCustomDrawGrid::DrawCell(canvas, col, row, text, state);
}

void TReportListView::Private::DrawDataCell(TCanvas &canvas, int col, int row, int dataCol, QRect back, QRect textRect)
{
    const int r = FRows.DataRow(row);
    const TCheckMode mode = Store().GetColCheckMode(dataCol);
    QString text = Matrix().GetString(dataCol, r);
    if (FColumnIsPwd[size_t(dataCol - 1)])
        text = mode != TRLData::cmNone && !text.isEmpty() ? text.left(1) + kPasswordText : kPasswordText;

    TColor fontColor = FColorNormal;
    const int fixedRows = q->GetFixedRows();
    const bool shaded = FRowColPattern > 0 && ((row - fixedRows) / FRowColPattern) % 2 == 0;
    TColor brushColor = shaded ? FRColorShaded : FRColorNormal;
    TFontStyles styles = StylesOf(q->font());
    const bool enabled = q->isEnabled();
    const quint8 rowAttrib = Matrix().GetRowAttrib(r);
    const bool rowDisabled = rowAttrib & RowDisabledBit;
    if (enabled && rowDisabled) {
        brushColor = FDisabledBkgdColor;
        fontColor = FDisabledTextColor;
    } else if (enabled) {
        const bool colSelected = Matrix().GetColAttrib(dataCol) & ColSelectedBit;
        const bool rowSelected = rowAttrib & RowSelectedBit;
        if (colSelected && rowSelected) {
            brushColor = FSelBothColor;
            fontColor = FSelBothTextColor;
        } else if (colSelected) {
            brushColor = FSelColColor;
            fontColor = FSelColTextColor;
        } else if (rowSelected) {
            brushColor = FSelRowColor;
            fontColor = FSelRowTextColor;
        }
        if (r == FHiLgtRow || dataCol == FHiLgtColumn) {
            brushColor = FHiLgtColor;
            fontColor = FHiLgtTextColor;
            styles.setFlag(fsBold, FHiLgtBold || styles.testFlag(fsBold));
        }
    }
    const bool fixedColumn = col < q->GetFixedCols();
    if (fixedColumn)
        brushColor = FColHdColor;
    if (!enabled)
        fontColor = clr::InactiveCaption;
    TColor penColor = brushColor;
    if (q->OnBeforeRenderCell)
        q->OnBeforeRenderCell(q, dataCol, r, penColor, brushColor, fontColor, styles, text);

    canvas.Font.Font = FontWithStyles(q->font(), styles);
    canvas.Font.Color = fontColor;
    canvas.Brush.SetColor(brushColor);

    // Only the visible text is measured and cut: the state character of a check-mark
    // cell stays in front of it.
    const bool checkColumn = mode != TRLData::cmNone;
    const QString state = checkColumn ? text.left(1) : QString();
    QString visible = checkColumn ? text.mid(1) : text;
    const TAlignment alignment = FColAlignment[size_t(dataCol - 1)];
    const int avail = q->TCustomGrid::GetColWidths(col) - (checkColumn ? CheckMarkSpace : 0) - 9;
    visible = TruncatedCellText(visible, canvas.TextWidth(visible), avail, 4, alignment == taRightJustify);

    canvas.Pen.Width = 1;
    canvas.Pen.Color = brushColor;
    canvas.Rectangle(back);
    canvas.Pen.Color = penColor;

    const int italic = canvas.Font.Font.italic() ? 2 : 0;
    const auto place = [&](const QRect &rect) {
        // A left-aligned text needs no second measuring.
        const int width = alignment == taLeftJustify ? 0 : canvas.TextWidth(visible) + italic;
        const int x = AlignedX(alignment, rect.left(), rect.right() + 1, width);
        canvas.TextRect(rect, x, rect.top() - 1, visible);
    };
    if (!checkColumn) {
        place(textRect);
    } else if (text.size() > 1 || FShowEmptyCBx) {
        place(textRect.adjusted(CheckMarkSpace, 0, 0, 0));
        const bool checked = !state.isEmpty() && state != QStringLiteral(" ");
        DrawCheckMark(canvas, back, mode, checked, penColor, fontColor, rowDisabled);
    }
    if (fixedColumn)
        RaisedFrame(canvas, back.left(), back.top(), back.right() + 1, back.bottom() + 1);
}

void TReportListView::Private::DrawCheckMark(TCanvas &canvas, const QRect &back, TCheckMode mode, bool checked,
                                             TColor penColor, TColor fontColor, bool rowDisabled)
{
    const bool enabled = q->isEnabled();
    const int x = back.left(), y = back.top();
    if (!FROCheckMarks) {
        canvas.Pen.Color = !enabled ? clr::InactiveCaption : rowDisabled ? penColor : clr::BtnShadow;
        if (mode == TRLData::cmRadio)
            canvas.Ellipse(x + 4, y + 4, x + 15, y + 15);
        else
            canvas.Rectangle(x + 4, y + 4, x + 15, y + 15);
    }
    if (!checked)
        return;
    canvas.Pen.Color = enabled ? fontColor : clr::InactiveCaption;
    const auto stroke = [&](int x1, int y1, int x2, int y2) {
        canvas.MoveTo(x + x1, y + y1);
        canvas.LineTo(x + x2, y + y2);
    };
    if (mode == TRLData::cmRadio) {
        stroke(8, 7, 11, 7);
        for (int k = 0; k < 3; ++k)
            stroke(7, 8 + k, 12, 8 + k);
        stroke(8, 11, 11, 11);
    } else {
        for (int k = 0; k < 3; ++k) {
            stroke(6, 8 + k, 9, 11 + k);
            stroke(8, 10 + k, 13, 5 + k);
        }
    }
}

int TReportListView::Private::HeaderRightEdge() const
{
    int edge = 0;
    const auto take = [&](int col) {
        const QRect cell = q->CellRect(col, 0);
        if (!cell.isEmpty())
            edge = std::max(edge, cell.right() + 1);
    };
    for (int col = 0; col < q->GetFixedCols(); ++col)
        take(col);
    for (int col = q->TCustomGrid::GetLeftCol(); col < q->GetColCount(); ++col) {
        const int before = edge;
        take(col);
        if (edge == before && q->TCustomGrid::GetColWidths(col) > 0)
            break; // past the right end of the window
    }
    return edge;
}

void TReportListView::Private::DrawCommonHeader(TCanvas &canvas, const QRect &back, const QRect &textRect)
{
    const int e = HeaderRightEdge();
    const int top = back.top(), bottom = back.bottom() + 1;
    canvas.Brush.SetColor(FComHdColor);
    canvas.FillRect(0, top, e, bottom);
    canvas.Font.Color = FComHdTxtColor;
    const QString header = Store().GetCommonHeader();
    const QStringList lines = header.split(QLatin1Char('\n'));
    const int h = canvas.TextHeight(header);
    for (int k = 0; k < lines.size(); ++k) {
        const int y = textRect.top() + k * h;
        const int lineBottom = k == 0 ? bottom : std::min(y + h, bottom);
        const int width = canvas.TextWidth(lines[k]);
        const int x = FHeaderAlignment == taLeftJustify    ? 4
                      : FHeaderAlignment == taRightJustify ? e - width - 6
                                                           : e / 2 - width / 2;
        if (lineBottom > y)
            canvas.TextRect(QRect(QPoint(0, y), QPoint(e - 1, lineBottom - 1)), x, y, lines[k]);
    }
    RaisedFrame(canvas, 0, top, e, bottom);
    canvas.Pen.Color = kFrameGray;
    canvas.MoveTo(e - 1, bottom - 1);
    canvas.LineTo(e - 1, top - 1);
    canvas.Pen.Color = clr::Black;
    canvas.MoveTo(e, bottom - 1);
    canvas.LineTo(e, top - 1);
}

void TReportListView::Private::DrawColumnHeader(TCanvas &canvas, int col, int dataCol, const QRect &back,
                                                const QRect &textRect)
{
    canvas.Brush.SetColor(FColHdColor);
    canvas.FillRect(back);
    canvas.Font.Color = FColHdTxtColor;
    const QString name = Store().GetColName(dataCol);
    const QStringList lines = name.split(QLatin1Char('\n'));
    const bool sorted = Store().GetLastSortColumn() == dataCol;
    const int colWidth = q->TCustomGrid::GetColWidths(col);
    const int avail = colWidth - (sorted ? kSortIndicatorSpace : 0) - 9;
    const int h = canvas.TextHeight(name);
    const int italic = canvas.Font.Font.italic() ? 2 : 0;
    const int left = textRect.left(), right = textRect.right() + 1, bottom = back.bottom() + 1;
    const TAlignment alignment = FColAlignment[size_t(dataCol - 1)];
    int indicator = 0;
    for (int k = 0; k < lines.size(); ++k) {
        const QString line = TruncatedCellText(lines[k], canvas.TextWidth(lines[k]), avail, 3, false);
        const int width = canvas.TextWidth(line) + italic;
        const int y = textRect.top() + k * h;
        const int x = AlignedX(alignment, left, right, width);
        if (k == 0) {
            indicator = alignment == taLeftJustify    ? width + 10
                        : alignment == taRightJustify ? right - left - width - 12
                                                      : (right - left) / 2 + width / 2 + 10;
        }
        const int lineBottom = std::min(y + h, bottom);
        if (lineBottom > y)
            canvas.TextRect(QRect(QPoint(left, y), QPoint(right - 1, lineBottom - 1)), x, y, line);
    }
    if (sorted) {
        const int x0 = left + std::min(indicator, colWidth - 12);
        const int y0 = textRect.top() + h / 2;
        const auto line = [&](TColor color, int x1, int y1, int x2, int y2) {
            canvas.Pen.Color = color;
            canvas.MoveTo(x1, y1);
            canvas.LineTo(x2, y2);
        };
        if (Store().GetLastSortOrder()) {
            line(kFrameGray, x0 - 4, y0 + 3, x0, y0 - 3);
            line(clr::White, x0, y0 - 3, x0 + 4, y0 + 3);
            line(clr::White, x0 + 4, y0 + 3, x0 - 4, y0 + 3);
        } else {
            line(clr::White, x0 + 4, y0 - 3, x0, y0 + 3);
            line(kFrameGray, x0, y0 + 3, x0 - 4, y0 - 3);
            line(kFrameGray, x0 - 4, y0 - 3, x0 + 4, y0 - 3);
        }
    }
    RaisedFrame(canvas, back.left(), back.top(), back.right() + 1, bottom);
}

// ---- Input ------------------------------------------------------------------------------------

bool TReportListView::SelectCell(int col, int row)
{
    d->SetEditingOption(d->EditingAllowed(col, row));
    return TCustomDrawGrid::SelectCell(col, row);
}

QString TReportListView::GetEditText(int col, int row)
{
    // The column shown at the cell, not the grid column's number.
    const int dataCol = d->FColOrder.DataColumn(col);
    const int dataRow = d->FRows.DataRow(row);
    QString value = d->ShownRow(dataRow) ? FRLData->Strings().GetString(dataCol, dataRow) : QString();
    if (d->IsCheckColumn(dataCol) && !value.isEmpty())
        value.remove(0, 1);
    if (OnGetEditText)
        OnGetEditText(this, col, dataRow, value);
    return value;
}

void TReportListView::SetEditText(int col, int row, const QString &value)
{
    const int dataCol = d->FColOrder.DataColumn(col);
    const int dataRow = d->FRows.DataRow(row);
    if (!d->ValidCol(dataCol) || !d->ShownRow(dataRow))
        return;
    QString stored = value;
    if (d->IsCheckColumn(dataCol)) {
        const QString old = FRLData->Strings().GetString(dataCol, dataRow);
        const bool unchecked = old.isEmpty() || old.front() == QLatin1Char(' ');
        stored.prepend(unchecked ? QLatin1Char(' ') : QLatin1Char('X'));
    }
    FRLData->Strings().SetString(dataCol, dataRow, stored.left(255));
    InvalidateCell(col, row);
    if (OnSetEditText)
        OnSetEditText(this, col, dataRow, value);
}

TCustomGrid::TEditStyle TReportListView::GetEditStyle(int col, int row)
{
    QStringList items;
    GetPickListItems(col, row, items);
    return items.isEmpty() ? esSimple : esPickList;
}

void TReportListView::GetPickListItems(int col, int row, QStringList &items)
{
    // Combo-box and list columns (kinds c and l) offer their items in the editor.
    const int dataCol = d->FColOrder.DataColumn(col);
    QString format = FRLData->GetColumnFormat(dataCol);
    if (OnRequestEditFormat)
        OnRequestEditFormat(this, dataCol, d->FRows.DataRow(row), format);
    const TColumnFormatParts parts = ParseColumnFormat(format);
    if (parts.Kind == QLatin1Char('c') || parts.Kind == QLatin1Char('l'))
        items = parts.Default.split(QLatin1Char('|'));
}

bool TReportListView::Private::FireWheel(const TMouseWheelUpDownEvent &event, Qt::KeyboardModifiers shift, QPoint pos)
{
    bool handled = false;
    if (event)
        event(q, shift, pos, handled);
    return handled;
}

// The view replaces the grid's wheel scrolling: a notch only fires the wheel events.
bool TReportListView::DoMouseWheelDown(Qt::KeyboardModifiers shift, QPoint pos)
{
    d->FireWheel(OnMouseWheelDown, shift, pos);
    return true;
}

bool TReportListView::DoMouseWheelUp(Qt::KeyboardModifiers shift, QPoint pos)
{
    d->FireWheel(OnMouseWheelUp, shift, pos);
    return true;
}

void TReportListView::KeyPressed(QKeyEvent *event)
{
    const int key = event->key();
    TCustomDrawGrid::KeyPressed(event);
    Guarded([&] {
        if (IsCursorKey(key)) {
            d->WithoutPaint([&] {
                d->SetAllRowBits(RowSelectedBit, false);
                const int r = d->SelectionTopRow();
                if (d->ShownRow(r))
                    d->SetRowBits(r, RowSelectedBit, true);
            });
            CursorKeyAction(key);
            ChangedSelection();
        } else if (d->FAutoAdvance && IsEnterKey(key)) {
            QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
            KeyPressed(&down);
        }
    });
}

void TReportListView::mouseMoveEvent(QMouseEvent *event)
{
    d->FLastMousePosX = int(event->position().x());
    d->FLastMousePosY = int(event->position().y());
    TCustomDrawGrid::mouseMoveEvent(event);
}

void TReportListView::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    d->FLastMousePosX = pos.x();
    d->FLastMousePosY = pos.y();
    const TGridCoord cell = MouseCoord(pos.x(), pos.y());
    // The editing switch is set for the cell under the mouse before the grid handles
    // the press, so that the grid opens the editor by the clicked cell's rule.
    if (event->button() == Qt::LeftButton && cell.Y >= GetFixedRows() && cell.X >= 0)
        Guarded([&] { d->SetEditingOption(d->EditingAllowed(cell.X, cell.Y)); });
    TCustomDrawGrid::mousePressEvent(event);
    Guarded([&] {
        if (event->button() != Qt::LeftButton || pos.x() <= 0 || pos.y() <= 0 || pos.x() >= viewport()->width()
            || pos.y() >= viewport()->height() || cell.X < 0 || cell.Y < 0)
            return;
        const int dataCol = d->FColOrder.DataColumn(cell.X);
        if (cell.Y == d->FRows.ColumnHeaderRow()) {
            const QRect rect = CellRect(cell.X, cell.Y);
            if (d->FSortEnabled && pos.x() - rect.left() > kHeaderEdgeReach && rect.right() + 1 - pos.x() > kHeaderEdgeReach)
                d->HeaderSort(dataCol);
        } else if (cell.Y >= GetFixedRows()) {
            d->ClickDataCell(cell.X, cell.Y, dataCol, pos.x(), event->modifiers());
        }
    });
}

void TReportListView::Private::HeaderSort(int dataCol)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restoreCursor = qScopeGuard([] { QGuiApplication::restoreOverrideCursor(); });
    // The grid's top selected row is a grid row: converted to its data row before the
    // store's order is asked, and back after the sort.
    const int stored = CurrentStoredRow();
    const bool ascending = !Store().GetSortToggle();
    Store().SetSortToggle(ascending);
    q->Sort(dataCol, Store().GetSortColumnSec(), ascending);
    if (const int r = ShownRowOf(stored))
        MoveCursorTo(r);
}

void TReportListView::Private::ClickDataCell(int gridCol, int row, int dataCol, int x, Qt::KeyboardModifiers shift)
{
    const int r = FRows.DataRow(row);
    WithoutPaint([&] {
        SetEditingOption(EditingAllowed(gridCol, row));
        const TCheckMode mode = Store().GetColCheckMode(dataCol);
        if (mode != TRLData::cmNone && x - q->CellRect(gridCol, row).left() < 18 && !FROCheckMarks && ShownRow(r)
            && !RowDisabled(r) && (Matrix().GetLength(dataCol, r) > 1 || FShowEmptyCBx))
            ToggleCheckMark(dataCol, r);
        SelectByMode(shift);
    });
}

void TReportListView::Private::ToggleCheckMark(int dataCol, int row)
{
    bool state = !Store().GetElemChecked(dataCol, row);
    if (q->OnBeforeCheckedChange)
        q->OnBeforeCheckedChange(q, state, dataCol, row);
    // A radio mark is set whatever the handler says: a click never clears the one mark.
    Store().SetElemChecked(dataCol, row, Store().GetColCheckMode(dataCol) == TRLData::cmRadio || state);
    // The handler hears the state the cell now has.
    bool now = Store().GetElemChecked(dataCol, row);
    if (q->OnCheckedChange)
        q->OnCheckedChange(q, now, dataCol, row);
}

void TReportListView::Private::SelectByMode(Qt::KeyboardModifiers shift)
{
    const int r = SelectionTopRow();
    if (!ShownRow(r) || (FRowSelectMode != 1 && FRowSelectMode != 2))
        return;
    if (FRowSelectMode == 1) {
        SetAllRowBits(RowSelectedBit, false);
        SetRowBits(r, RowSelectedBit, true);
    } else if (shift.testFlag(Qt::ShiftModifier)) {
        // Only the anchor's selection bit spreads over the range: a disabled row stays
        // disabled and an enabled one enabled, whatever the anchor row is.
        const bool selected = ValidRow(FSelectAnchor) && (Matrix().GetRowAttrib(FSelectAnchor) & RowSelectedBit);
        // Rows a filter hides keep their bits, also when the anchor is one of them.
        for (int row = std::min(FSelectAnchor, r); row <= std::min(std::max(FSelectAnchor, r), ShownRows()); ++row)
            SetRowBits(row, RowSelectedBit, selected);
    } else {
        FSelectAnchor = r;
        if (shift.testFlag(Qt::ControlModifier) || !FCtrlForMultiSel) {
            SetRowBits(r, RowSelectedBit, !(Matrix().GetRowAttrib(r) & RowSelectedBit));
        } else {
            SetAllRowBits(RowSelectedBit, false);
            SetRowBits(r, RowSelectedBit, true);
        }
    }
    q->ChangedSelection();
}

void TReportListView::mouseReleaseEvent(QMouseEvent *event)
{
    TCustomDrawGrid::mouseReleaseEvent(event);
    Guarded([&] {
        const QPoint pos = event->position().toPoint();
        const bool outside = pos.x() > viewport()->width() || pos.y() > viewport()->height();
        if (d->FRowSelectMode == 2 && outside && event->button() == Qt::LeftButton)
            d->SelectionChange([&] { d->SetAllRowBits(RowSelectedBit, false); });
    });
}

void TReportListView::mouseDoubleClickEvent(QMouseEvent *event)
{
    const int x = d->FLastMousePosX = int(event->position().x());
    const int y = d->FLastMousePosY = int(event->position().y());
    const TGridCoord cell = MouseCoord(x, y);
    if (y >= viewport()->height() || cell.X < 0 || cell.Y != d->FRows.ColumnHeaderRow()) {
        TCustomDrawGrid::mouseDoubleClickEvent(event);
        return;
    }
    Guarded([&] {
        const QRect rect = CellRect(cell.X, cell.Y);
        if (x - rect.left() >= 5 && rect.right() + 1 - x > kHeaderEdgeReach)
            return;
        // The border's left column, by position; hidden columns are skipped.
        int position = x > rect.center().x() ? cell.X + 1 : cell.X;
        while (position > 1 && TCustomGrid::GetColWidths(position - 1) < 1)
            --position;
        if (position >= 1)
            AutoColWidth(d->FColOrder.DataColumn(position - 1), true, 0);
    });
}

} // namespace nvo
