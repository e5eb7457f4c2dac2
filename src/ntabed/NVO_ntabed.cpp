#include "NVO_ntabed.h"

#include "NVO_Tessane.h"

#include <QtCore/QScopeGuard>
#include <QtGui/QFontMetrics>
#include <QtGui/QKeyEvent>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace nvo {

namespace {

constexpr int kRowNameWidth = 80;
constexpr int kInitialPrecision = 3;
constexpr int kMinPrecision = -1;
constexpr int kMaxCellPrecision = 10;
constexpr int kMaxNumWidth = 20;
constexpr uint8_t kMarks = cellstate::MarkedA | cellstate::MarkedB;
const QString kNaNCellText = QStringLiteral("-nan-");

/// The largest and smallest magnitudes the fixed-point form shows with d decimals
/// (d = 0..8): nine digits in all, and at least one digit that is not zero.
constexpr std::array<double, 9> kFixedUpper{999999999.0, 9999999.9, 999999.99, 99999.999, 9999.9999,
                                            999.99999, 99.999999, 9.9999999, 0.99999999};
constexpr std::array<double, 9> kFixedLower{1.0, 0.1, 0.01, 1e-3, 1e-4, 1e-5, 1e-6, 1e-7, 1e-8};

bool IsNominalScale(int scaleType) { return scaleType == mstNominal || scaleType == mstOrdinal; }

} // namespace

// ---- Number texts -------------------------------------------------------------------------

QString FormatNumField(double Value, int Width, int Decimals)
{
    if (!std::isfinite(Value))
        return kNaNCellText;
    const int width = std::min(std::abs(Width), 255);
    TLatin1Text field;
    field.AppendStr(Value, Decimals == -2 ? width + 2 : width, Decimals < 0 ? -1 : Decimals);
    std::string text(field.View());
    if (Decimals == -2) {
        // The field form has four exponent digits after "E" and its sign; the cell keeps
        // two. An exponent that needs more would be cut into another number.
        const size_t e = text.find('E');
        if (e != std::string::npos && text.size() == e + 6) {
            const bool fits = text[e + 2] == '0' && text[e + 3] == '0';
            text.erase(e + 2, 2);
            if (!fits)
                text.assign(text.size(), '*');
        }
    }
    if (Width < 0) {
        const size_t digitsFrom = std::min(text.find_first_not_of(' '), text.size());
        std::fill_n(text.begin(), digitsFrom, '0');
        if (digitsFrom < text.size() && text[digitsFrom] == '-') {
            text[digitsFrom] = '0';
            text[0] = '-';
        }
    }
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

QString FormatCellValue(int NumWidth, int DecPlaces, double Value)
{
    if (!std::isfinite(Value))
        return kNaNCellText;
    if (DecPlaces >= 0 && DecPlaces <= 8) {
        const double magnitude = std::abs(Value);
        if (magnitude <= kFixedUpper[size_t(DecPlaces)]
            && !(Value != 0 && magnitude < kFixedLower[size_t(DecPlaces)]))
            return FormatNumField(Value, NumWidth, DecPlaces);
    }
    return FormatNumField(Value, NumWidth + 6, -2);
}

std::optional<double> ParseTypedNumber(const QString &Text)
{
    QString text = Text;
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    const std::optional<double> value = Val(QStringView(text).trimmed());
    // Val reads a magnitude beyond the double range as infinity; a cell must not
    // store a number the user never typed.
    if (!value || !std::isfinite(*value))
        return std::nullopt;
    return value;
}

// ---- State --------------------------------------------------------------------------------

struct TNTabEd::Private {
    std::unique_ptr<TDataTable> FOwnData;
    bool FExtMatAssigned = false;
    std::vector<int8_t> FDecP;
    int FColOffset = 1;
    int FRowOffset = 0;
    int FClassColWidth = 32;
    int FNumWidth = 1;
    bool FAutoAdvance = true;
    TOrientation FAutoAdvDir = orVertical;
    bool FReadOnly = false;
    bool FSuppressPaint = false;
    int FInternSuppPaint = 0; ///< depth of the editor's own bulk work
    int FDataDetached = 0;    ///< depth of the scopes that do not listen to value changes
    bool FOptRowHeight = false;
    bool FClipUseFullPrec = true;
    bool FBlockIntPopup = false;
    bool FCommEdAllowed = true;
    bool FBoldMarks = true;
    bool FBoldSelHeads = true;
    TColor FColorBkgnd = clr::Window;
    TColor FColorFixed = clr::BtnFace;
    TColor FColorNormal = 0x002000;
    TColor FColorSelected = 0x404040;
    TColor FColorMarked1 = 0x0000FF;
    TColor FColorMarked2 = 0xFF0000;
    TColor FColorMarkedBoth = 0xCC00BB;
    TColor FColorRngSelFG = 0x80552C;
    TColor FColorRngSelBG = 0xF8E8E0;
    TGridRect FOldSel{-1, -1, -1, -1};
    int FDropdownCount = 8;

    std::vector<QMetaObject::Connection> FTableLinks;
    QMetaObject::Connection FDataLink;
};

/// The editor's own bulk work: painting and change events stay off until the scope
/// ends, also when the table or a handler throws.
class TNTabEd::TSuppressScope
{
public:
    explicit TSuppressScope(TNTabEd &editor) : FEditor(editor) { ++FEditor.d->FInternSuppPaint; }
    ~TSuppressScope() { --FEditor.d->FInternSuppPaint; }
    TSuppressScope(const TSuppressScope &) = delete;
    TSuppressScope &operator=(const TSuppressScope &) = delete;

private:
    TNTabEd &FEditor;
};

/// Work that changes many cells: the editor stops listening to the table's value
/// changes and announces the whole once afterwards; listening resumes when the scope
/// ends, also when the table or a handler throws.
class TNTabEd::TDetachDataScope
{
public:
    explicit TDetachDataScope(TNTabEd &editor) : FEditor(editor)
    {
        ++FEditor.d->FDataDetached;
        FEditor.UpdateDataLink();
    }
    ~TDetachDataScope()
    {
        --FEditor.d->FDataDetached;
        FEditor.UpdateDataLink();
    }
    TDetachDataScope(const TDetachDataScope &) = delete;
    TDetachDataScope &operator=(const TDetachDataScope &) = delete;

private:
    TNTabEd &FEditor;
};

TNTabEd::TNTabEd(QWidget *parent) : TCustomGrid(parent), d(std::make_unique<Private>())
{
    TSuppressScope constructing(*this);
    BuildPopupMenus();
    BeginUpdate();
    SetColCount(5);
    SetRowCount(5);
    SetFixedCols(2);
    SetFixedRows(1);
    SetOptions(kDefaultOptions | goEditing);
    SetColor(d->FColorBkgnd);
    SetFixedColor(d->FColorFixed);
    TCustomGrid::SetColWidths(0, kRowNameWidth);
    TCustomGrid::SetColWidths(1, d->FClassColWidth);
    try {
        d->FOwnData = std::make_unique<TDataTable>();
        d->FOwnData->Resize(3, 4);
        d->FDecP.assign(3, kInitialPrecision);
    } catch (const std::exception &) {
        throw ENVONTabedError(
            QStringLiteral("Component \"%1\": failed to initialize table editor (out of memory)").arg(ComponentName(this)));
    }
    AttachTable(d->FOwnData.get());
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    EndUpdate();
}

TNTabEd::~TNTabEd()
{
    DetachTable();
}

// ---- The table and its signals ------------------------------------------------------------

TDataTable &TNTabEd::Data() const { return *FTable; }

void TNTabEd::AttachTable(TDataTable *table)
{
    const int oldCols = GetColCount() - ColOffset() - 1;
    const int oldRows = GetRowCount() - RowOffset() - 1;
    DetachTable();
    FTable = table;
    d->FTableLinks = {
        connect(table, &TDataTable::SetupChanged, this, [this] {
            ChangedSetup();
            Repaint();
        }),
        connect(table, &TDataTable::CommentChanged, this, [this] { ChangedSetup(); }),
        connect(table, &TDataTable::SizeChanged, this, &TNTabEd::TableResized),
        connect(table, &TDataTable::Exchanged, this, &TNTabEd::TableExchanged),
        connect(table, &TDataTable::Permuted, this, &TNTabEd::TablePermuted),
        connect(table, &TDataTable::PercentDone, this, [this](int percent) {
            if (OnPercentDone)
                OnPercentDone(this, percent);
        }),
        // An application that frees the table it lent the editor leaves the editor
        // with a table of its own rather than a dangling one.
        connect(table, &QObject::destroyed, this, [this] {
            d->FTableLinks.clear();
            d->FDataLink = {};
            FTable = nullptr;
            d->FExtMatAssigned = false;
            d->FOwnData = std::make_unique<TDataTable>();
            d->FOwnData->Resize(GetNrOfColumnsShown(), GetNrOfRowsShown());
            AttachTable(d->FOwnData.get());
        }),
    };
    UpdateDataLink();
    TableResized(oldCols, oldRows, table->NrOfColumns(), table->NrOfRows());
}

void TNTabEd::DetachTable()
{
    for (const QMetaObject::Connection &link : d->FTableLinks)
        disconnect(link);
    d->FTableLinks.clear();
    disconnect(d->FDataLink);
    d->FDataLink = {};
}

void TNTabEd::UpdateDataLink()
{
    const bool listen = FTable && d->FDataDetached == 0 && !d->FSuppressPaint;
    if (listen && !d->FDataLink) {
        d->FDataLink = connect(FTable, &TDataTable::CellsChanged, this, [this] {
            ChangedData();
            Repaint();
        });
    } else if (!listen && d->FDataLink) {
        disconnect(d->FDataLink);
        d->FDataLink = {};
    }
}

void TNTabEd::AssignAnotherDataMatrix(TDataTable *NewDTab)
{
    // Null while the editor shows its own table already: nothing to give back.
    if (NewDTab == FTable || (!NewDTab && !d->FExtMatAssigned))
        return;
    HideEditor();
    if (!NewDTab) {
        d->FOwnData = std::make_unique<TDataTable>();
        d->FOwnData->Resize(GetNrOfColumns(), GetNrOfRows());
        NewDTab = d->FOwnData.get();
    }
    const bool external = NewDTab != d->FOwnData.get();
    AttachTable(NewDTab);
    d->FExtMatAssigned = external;
    if (external)
        d->FOwnData.reset();
    ChangedSetup();
    Repaint();
}

int TNTabEd::GetNrOfColumnsShown() const { return GetColCount() - ColOffset() - 1; }
int TNTabEd::GetNrOfRowsShown() const { return GetRowCount() - RowOffset() - 1; }

void TNTabEd::TableResized(int OldCols, int OldRows, int NewCols, int NewRows)
{
    Q_UNUSED(OldRows);
    BeginUpdate();
    const auto endUpdate = qScopeGuard([this] { EndUpdate(); });
    const int lastWidth = TCustomGrid::GetColWidths(GetColCount() - 1);
    SetColCount(NewCols + ColOffset() + 1);
    SetFixedCols(ColOffset() + 1);
    for (int col = std::max(OldCols, 1); col <= NewCols; ++col)
        TCustomGrid::SetColWidths(col + ColOffset(), lastWidth);
    SetRowCount(NewRows + RowOffset() + 1);
    SetFixedRows(RowOffset() + 1);
    try {
        const int8_t last = d->FDecP.empty() ? int8_t(kInitialPrecision) : d->FDecP.back();
        d->FDecP.resize(size_t(std::max(NewCols, 0)), last);
    } catch (const std::exception &) {
        throw ENVONTabedError(QStringLiteral("Component \"%1\": not enough memory on heap").arg(ComponentName(this)));
    }
    Repaint();
}

void TNTabEd::TableExchanged(Qt::Orientation Orientation, int Index1, int Index2)
{
    // A precision belongs to its column as its name does, so it moves along.
    if (Orientation == Qt::Horizontal && Index1 >= 1 && Index2 >= 1 && Index1 <= int(d->FDecP.size())
        && Index2 <= int(d->FDecP.size()))
        std::swap(d->FDecP[size_t(Index1 - 1)], d->FDecP[size_t(Index2 - 1)]);
    Repaint();
}

void TNTabEd::TablePermuted(Qt::Orientation Orientation, int First, const std::vector<int> &Order, bool Headings)
{
    // Columns that moved with their headers take their precisions along, as in an
    // exchange; a block sort without the headers leaves the precisions where they are.
    const size_t end = size_t(First - 1) + Order.size();
    if (Orientation != Qt::Horizontal || !Headings || First < 1 || end > d->FDecP.size())
        return;
    std::vector<int8_t> precisions(Order.size());
    for (size_t i = 0; i < Order.size(); ++i)
        precisions[i] = d->FDecP[size_t(Order[i] - 1)];
    std::copy(precisions.begin(), precisions.end(), d->FDecP.begin() + (First - 1));
}

// ---- Painting and change events -----------------------------------------------------------

bool TNTabEd::Suppressed() const { return d->FSuppressPaint || d->FInternSuppPaint > 0; }

void TNTabEd::Repaint()
{
    if (!Suppressed())
        PaintNow();
}

namespace {
void Fire(const TNotifyEvent &event, QObject *sender, bool suppressed)
{
    if (event && !suppressed)
        event(sender);
}
} // namespace

void TNTabEd::ChangedData() { Fire(OnChange, this, Suppressed()); }
void TNTabEd::ChangedSetup() { Fire(OnChangeSetup, this, Suppressed()); }
void TNTabEd::ChangedHeading() { Fire(OnHeadingChanged, this, Suppressed()); }
void TNTabEd::ChangedAttrib() { Fire(OnAttributeChanged, this, Suppressed()); }
void TNTabEd::ChangedLayout() { Fire(OnLayoutChanged, this, Suppressed()); }
void TNTabEd::ChangedCellStates() { Fire(OnCellStateChanged, this, Suppressed()); }
void TNTabEd::ChangedSelection() { Fire(OnSelectionChanged, this, Suppressed()); }

void TNTabEd::CheckSelection()
{
    const TGridRect selection = GetSelection();
    if (selection == d->FOldSel)
        return;
    d->FOldSel = selection;
    ChangedSelection();
}

bool TNTabEd::GetSuppressPaint() const { return d->FSuppressPaint; }

void TNTabEd::SetSuppressPaint(bool on)
{
    if (on == d->FSuppressPaint)
        return;
    d->FSuppressPaint = on;
    UpdateDataLink();
    Repaint();
}

// ---- Dimensions ---------------------------------------------------------------------------

int TNTabEd::ColOffset() const { return d->FColOffset; }
int TNTabEd::RowOffset() const { return d->FRowOffset; }
bool TNTabEd::IsRowAttribCol(int col) const { return col == 1 && d->FColOffset == 1; }
bool TNTabEd::IsColAttribRow(int row) const { return row == 1 && d->FRowOffset == 1; }

int TNTabEd::GetNrOfColumns() const { return FTable->NrOfColumns(); }
int TNTabEd::GetNrOfRows() const { return FTable->NrOfRows(); }

void TNTabEd::SetNrOfColumns(int n)
{
    Redimension(n, GetNrOfRows());
}

void TNTabEd::SetNrOfRows(int n)
{
    Redimension(GetNrOfColumns(), n);
}

void TNTabEd::Redimension(int NrCols, int NrRows)
{
    // Sizes below 1 are refused before the table is touched: the original resized the
    // table to nothing first and only then found that the grid cannot show it.
    const int cols = NrCols >= 1 ? NrCols : GetNrOfColumns();
    const int rows = NrRows >= 1 ? NrRows : GetNrOfRows();
    if (cols == GetNrOfColumns() && rows == GetNrOfRows())
        return;
    {
        TSuppressScope resizing(*this);
        FTable->Resize(cols, rows);
    }
    ChangedSetup();
    Repaint();
}

void TNTabEd::InsertRow(int ix)
{
    if (ix < 1 || ix > GetNrOfRows() + 1)
        return;
    // What is being typed goes into its cell first: the cell moves, the editor would not.
    HideEditor();
    {
        TSuppressScope inserting(*this);
        const int height = GetRowHeights(std::min(ix, GetNrOfRows()));
        FTable->InsertRow(ix);
        PlaceInsertedCell(kRowAxis, ix, height);
    }
    Repaint();
}

void TNTabEd::InsertColumn(int ix)
{
    if (ix < 1 || ix > GetNrOfColumns() + 1)
        return;
    HideEditor();
    {
        TSuppressScope inserting(*this);
        // The new column's precision is that of the column it is inserted before.
        const int8_t precision = d->FDecP[size_t(std::min(ix, GetNrOfColumns()) - 1)];
        const int width = GetColWidths(std::min(ix, GetNrOfColumns()));
        FTable->InsertColumn(ix);
        PlaceInsertedCell(kColAxis, ix, width);
        d->FDecP.pop_back();
        d->FDecP.insert(d->FDecP.begin() + (ix - 1), precision);
    }
    Repaint();
}

void TNTabEd::RemoveRow(int ix)
{
    if (ix < 1 || ix > GetNrOfRows() || GetNrOfRows() < 2)
        return;
    HideEditor();
    {
        TSuppressScope removing(*this);
        RemoveCellOf(kRowAxis, ix, [&] { FTable->RemoveRow(ix); });
    }
    Repaint();
}

void TNTabEd::RemoveColumn(int ix)
{
    if (ix < 1 || ix > GetNrOfColumns() || GetNrOfColumns() < 2)
        return;
    HideEditor();
    {
        TSuppressScope removing(*this);
        // The removed column takes its precision with it.
        std::vector<int8_t> precisions = d->FDecP;
        precisions.erase(precisions.begin() + (ix - 1));
        RemoveCellOf(kColAxis, ix, [&] { FTable->RemoveColumn(ix); });
        d->FDecP = std::move(precisions);
    }
    Repaint();
}

void TNTabEd::Clear()
{
    {
        TSuppressScope clearing(*this);
        TDetachDataScope detached(*this);
        FTable->Clear();
        for (int col = 1; col <= GetNrOfColumns(); ++col)
            FTable->SetColName(col, QStringLiteral("C-") + FormatInt(col));
        for (int row = 1; row <= GetNrOfRows(); ++row)
            FTable->SetRowName(row, QStringLiteral("R-") + FormatInt(row));
        std::fill(d->FDecP.begin(), d->FDecP.end(), int8_t(kInitialPrecision));
    }
    Repaint();
}

void TNTabEd::Fill(double value) { FTable->Fill(value); }

int TNTabEd::FillMarkedCells(double value, uint8_t Statemask)
{
    int filled = 0;
    {
        TSuppressScope filling(*this);
        filled = FTable->FillMarkedCells(value, Statemask);
    }
    Repaint();
    return filled;
}

// ---- Layout properties --------------------------------------------------------------------

struct TNTabEd::TAxis {
    bool Horizontal;
    int (TCustomGrid::*Count)() const;
    void (TCustomGrid::*SetCount)(int);
    int (TCustomGrid::*Size)(int) const;
    void (TCustomGrid::*SetSize)(int, int);
    void (TCustomGrid::*SetFixed)(int);
    int TNTabEd::Private::*Offset;
    int (TNTabEd::*DataCount)() const;
    void (TCustomGrid::*Move)(int, int);
};

const TNTabEd::TAxis TNTabEd::kColAxis{true, &TCustomGrid::GetColCount, &TCustomGrid::SetColCount,
                                       &TCustomGrid::GetColWidths, &TCustomGrid::SetColWidths,
                                       &TCustomGrid::SetFixedCols, &Private::FColOffset,
                                       &TNTabEd::GetNrOfColumns, &TCustomGrid::MoveColumn};
const TNTabEd::TAxis TNTabEd::kRowAxis{false, &TCustomGrid::GetRowCount, &TCustomGrid::SetRowCount,
                                       &TCustomGrid::GetRowHeights, &TCustomGrid::SetRowHeights,
                                       &TCustomGrid::SetFixedRows, &Private::FRowOffset,
                                       &TNTabEd::GetNrOfRows, &TCustomGrid::MoveRow};

bool TNTabEd::GetAttribRowVisible() const { return d->FColOffset == 1; }
void TNTabEd::SetAttribRowVisible(bool on)
{
    if (on != GetAttribRowVisible())
        ShowAttribCells(kColAxis, on, d->FClassColWidth);
}

bool TNTabEd::GetAttribColVisible() const { return d->FRowOffset == 1; }
void TNTabEd::SetAttribColVisible(bool on)
{
    if (on != GetAttribColVisible())
        ShowAttribCells(kRowAxis, on, TCustomGrid::GetRowHeights(0));
}

void TNTabEd::ShowAttribCells(const TAxis &axis, bool on, int shownSize)
{
    HideEditor();
    const TGridRect selection = GetSelection();
    BeginUpdate();
    const auto endUpdate = qScopeGuard([this] { EndUpdate(); });
    const int dataCount = (this->*axis.DataCount)();
    // The sizes move with their cells: data columns and rows keep theirs.
    if (on) {
        (this->*axis.SetCount)(dataCount + 2);
        for (int i = (this->*axis.Count)() - 1; i >= 2; --i)
            (this->*axis.SetSize)(i, (this->*axis.Size)(i - 1));
        (this->*axis.SetSize)(1, shownSize);
        d.get()->*axis.Offset = 1;
        (this->*axis.SetFixed)(2);
    } else {
        (this->*axis.SetFixed)(1);
        d.get()->*axis.Offset = 0;
        for (int i = 1; i < (this->*axis.Count)() - 1; ++i)
            (this->*axis.SetSize)(i, (this->*axis.Size)(i + 1));
        (this->*axis.SetCount)(dataCount + 1);
    }
    const int shift = on ? 1 : -1;
    const int dx = axis.Horizontal ? shift : 0, dy = axis.Horizontal ? 0 : shift;
    SetSelection({selection.Left + dx, selection.Top + dy, selection.Right + dx, selection.Bottom + dy});
    ChangedLayout();
}

// The table adds and drops cells at the end of an axis, as far as the grid can tell; a
// width or height belongs to its column or row, so the sizes move with them. (The grid's
// moves tell no one here: the editor does not let columns or rows be dragged.)
void TNTabEd::PlaceInsertedCell(const TAxis &axis, int ix, int size)
{
    const int at = ix + d.get()->*axis.Offset;
    (this->*axis.Move)((this->*axis.Count)() - 1, at);
    (this->*axis.SetSize)(at, size);
}

void TNTabEd::RemoveCellOf(const TAxis &axis, int ix, const std::function<void()> &removeFromTable)
{
    const int at = ix + d.get()->*axis.Offset;
    const int last = (this->*axis.Count)() - 1;
    (this->*axis.Move)(at, last);
    // A table that refuses leaves every size where it was.
    auto restore = qScopeGuard([&] { (this->*axis.Move)(last, at); });
    removeFromTable();
    restore.dismiss();
}

void TNTabEd::SetDefaultColWidth(int width)
{
    BeginUpdate();
    TCustomGrid::SetDefaultColWidth(width);
    TCustomGrid::SetColWidths(0, kRowNameWidth);
    if (GetAttribRowVisible())
        TCustomGrid::SetColWidths(1, d->FClassColWidth);
    EndUpdate();
    ChangedLayout();
}

int TNTabEd::GetLeftCol() const { return TCustomGrid::GetLeftCol() - ColOffset(); }
void TNTabEd::SetLeftCol(int col)
{
    TCustomGrid::SetLeftCol(std::clamp(col, 1, GetNrOfColumns()) + ColOffset());
}

int TNTabEd::GetTopRow() const { return TCustomGrid::GetTopRow() - RowOffset(); }
void TNTabEd::SetTopRow(int row)
{
    TCustomGrid::SetTopRow(std::clamp(row, 1, GetNrOfRows()) + RowOffset());
    InvalidateGrid();
}

int TNTabEd::GridIndex(const TAxis &axis, int Index) const
{
    const int offset = d.get()->*axis.Offset;
    if (Index > 0)
        return Index <= (this->*axis.DataCount)() ? Index + offset : -1;
    if (Index == 0)
        return 0;
    return offset == 1 ? 1 : -1;
}

int TNTabEd::AxisSize(const TAxis &axis, int Index) const
{
    const int index = GridIndex(axis, Index);
    return index >= 0 ? (this->*axis.Size)(index) : 0;
}

bool TNTabEd::SetAxisSize(const TAxis &axis, int Index, int size)
{
    const int index = GridIndex(axis, Index);
    if (index < 0)
        return false;
    (this->*axis.SetSize)(index, size);
    return true;
}

int TNTabEd::GetColWidths(int Index) const { return AxisSize(kColAxis, Index); }

void TNTabEd::SetColWidths(int Index, int width)
{
    if (!SetAxisSize(kColAxis, Index, width))
        return;
    if (Index < 0)
        d->FClassColWidth = TCustomGrid::GetColWidths(1);
    ChangedLayout();
}

int TNTabEd::GetRowHeights(int Index) const { return AxisSize(kRowAxis, Index); }
void TNTabEd::SetRowHeights(int Index, int height) { SetAxisSize(kRowAxis, Index, height); }

int TNTabEd::GetNumWidth() const { return d->FNumWidth; }

void TNTabEd::SetNumWidth(int width)
{
    if (width >= 1 && width <= kMaxNumWidth && width != d->FNumWidth) {
        d->FNumWidth = width;
        Repaint();
    }
    ChangedLayout();
}

int TNTabEd::GetDecPlaces(int ColNr) const
{
    return ColNr >= 1 && ColNr <= int(d->FDecP.size()) ? d->FDecP[size_t(ColNr - 1)] : 0;
}

void TNTabEd::SetDecPlaces(int ColNr, int Dp)
{
    if (ColNr < 1 || ColNr > int(d->FDecP.size()))
        return;
    const auto precision = int8_t(std::clamp(Dp, kMinPrecision, kMaxCellPrecision));
    if (precision == d->FDecP[size_t(ColNr - 1)])
        return;
    d->FDecP[size_t(ColNr - 1)] = precision;
    Repaint();
    ChangedLayout();
}

void TNTabEd::ChangeColor(TColor &field, TColor color)
{
    if (field == color)
        return;
    field = color;
    Repaint();
    ChangedLayout();
}

void TNTabEd::ChangeLayoutFlag(bool &field, bool on)
{
    if (field == on)
        return;
    field = on;
    // The original left the picture to the next paint; a stale picture would show
    // marks in the wrong weight, so it repaints as every other setter does.
    Repaint();
    ChangedLayout();
}

TColor TNTabEd::GetColorBackground() const { return d->FColorBkgnd; }
void TNTabEd::SetColorBackground(TColor color)
{
    d->FColorBkgnd = color;
    SetColor(color);
}
TColor TNTabEd::GetColorFixed() const { return d->FColorFixed; }
void TNTabEd::SetColorFixed(TColor color)
{
    d->FColorFixed = color;
    SetFixedColor(color);
}
TColor TNTabEd::GetColorNormal() const { return d->FColorNormal; }
void TNTabEd::SetColorNormal(TColor color) { ChangeColor(d->FColorNormal, color); }
TColor TNTabEd::GetColorSelected() const { return d->FColorSelected; }
void TNTabEd::SetColorSelected(TColor color) { ChangeColor(d->FColorSelected, color); }
TColor TNTabEd::GetColorMarkedA() const { return d->FColorMarked1; }
void TNTabEd::SetColorMarkedA(TColor color) { ChangeColor(d->FColorMarked1, color); }
TColor TNTabEd::GetColorMarkedB() const { return d->FColorMarked2; }
void TNTabEd::SetColorMarkedB(TColor color) { ChangeColor(d->FColorMarked2, color); }
TColor TNTabEd::GetColorMarkedBoth() const { return d->FColorMarkedBoth; }
void TNTabEd::SetColorMarkedBoth(TColor color) { ChangeColor(d->FColorMarkedBoth, color); }
TColor TNTabEd::GetColorRangeSelFG() const { return d->FColorRngSelFG; }
void TNTabEd::SetColorRangeSelFG(TColor color) { ChangeColor(d->FColorRngSelFG, color); }
TColor TNTabEd::GetColorRangeSelBG() const { return d->FColorRngSelBG; }
void TNTabEd::SetColorRangeSelBG(TColor color) { ChangeColor(d->FColorRngSelBG, color); }
bool TNTabEd::GetBoldMarks() const { return d->FBoldMarks; }
void TNTabEd::SetBoldMarks(bool on) { ChangeLayoutFlag(d->FBoldMarks, on); }
bool TNTabEd::GetBoldSelHeads() const { return d->FBoldSelHeads; }
void TNTabEd::SetBoldSelHeads(bool on) { ChangeLayoutFlag(d->FBoldSelHeads, on); }

bool TNTabEd::GetOptimizeRowHeight() const { return d->FOptRowHeight; }
void TNTabEd::SetOptimizeRowHeight(bool on)
{
    if (on == d->FOptRowHeight)
        return;
    d->FOptRowHeight = on;
    Repaint();
}

QString TNTabEd::GetComment() const { return FTable->Comment(); }
void TNTabEd::SetComment(const QString &text)
{
    FTable->SetFComment(RemoveControlChars(text));
    ChangedData();
}

bool TNTabEd::GetCommentEditingAllowed() const { return d->FCommEdAllowed; }
void TNTabEd::SetCommentEditingAllowed(bool on) { d->FCommEdAllowed = on; }
bool TNTabEd::GetBlockInternalPopup() const { return d->FBlockIntPopup; }
void TNTabEd::SetBlockInternalPopup(bool on) { d->FBlockIntPopup = on; }
bool TNTabEd::GetClipboardUseFullPrec() const { return d->FClipUseFullPrec; }
void TNTabEd::SetClipboardUseFullPrec(bool on) { d->FClipUseFullPrec = on; }
bool TNTabEd::GetAutoAdvance() const { return d->FAutoAdvance; }
void TNTabEd::SetAutoAdvance(bool on) { d->FAutoAdvance = on; }
TOrientation TNTabEd::GetAutoAdvanceDir() const { return d->FAutoAdvDir; }
void TNTabEd::SetAutoAdvanceDir(TOrientation dir)
{
    ChangeEnum(d->FAutoAdvDir, dir, "AutoAdvanceDir", false);
}
int TNTabEd::GetNomEditDropDownCount() const { return d->FDropdownCount; }
void TNTabEd::SetNomEditDropDownCount(int rows)
{
    // A list shows one row at least; what is read back is what the list will show.
    d->FDropdownCount = std::max(rows, 1);
    SetDropDownRows(d->FDropdownCount);
}

bool TNTabEd::GetDataReadOnly() const { return d->FReadOnly; }
void TNTabEd::SetDataReadOnly(bool on)
{
    if (on == d->FReadOnly)
        return;
    if (on)
        HideEditor();
    d->FReadOnly = on;
    SetOptions(on ? GetOptions() & ~TGridOptions(goEditing) : GetOptions() | goEditing);
}

// ---- Cells --------------------------------------------------------------------------------

double TNTabEd::GetElem(int ACol, int ARow) const { return FTable->GetElem(ACol, ARow); }
uint8_t TNTabEd::GetCellState(int ACol, int ARow) const { return FTable->GetCellState(ACol, ARow); }
bool TNTabEd::IsNumber(int ACol, int ARow) const { return FTable->GetIsNumber(ACol, ARow); }

bool TNTabEd::GetIsEmpty(int ACol, int ARow) const
{
    return FTable->GetCellState(ACol, ARow) & cellstate::Empty;
}

void TNTabEd::SetIsEmpty(int ACol, int ARow, bool empty)
{
    const uint8_t state = FTable->GetCellState(ACol, ARow);
    FTable->SetCellState(ACol, ARow, empty ? state | cellstate::Empty : state & ~cellstate::Empty);
    ChangedCellStates();
}

bool TNTabEd::GetElemMarkedA(int ACol, int ARow) const
{
    return FTable->GetCellState(ACol, ARow) & cellstate::MarkedA;
}

bool TNTabEd::GetElemMarkedB(int ACol, int ARow) const
{
    return FTable->GetCellState(ACol, ARow) & cellstate::MarkedB;
}

void TNTabEd::ChangeCells(const std::function<void()> &change)
{
    {
        TSuppressScope changing(*this);
        TDetachDataScope detached(*this);
        change();
    }
    Repaint();
}

void TNTabEd::ChangeStates(const std::function<void()> &change)
{
    ChangeCells(change);
    ChangedCellStates();
}

void TNTabEd::SetMark(int ACol, int ARow, uint8_t bit, bool marked)
{
    ChangeStates([&] {
        const uint8_t state = FTable->GetCellState(ACol, ARow);
        FTable->SetCellState(ACol, ARow, marked ? state | bit : state & ~bit);
    });
}

void TNTabEd::SetElemMarkedA(int ACol, int ARow, bool marked) { SetMark(ACol, ARow, cellstate::MarkedA, marked); }
void TNTabEd::SetElemMarkedB(int ACol, int ARow, bool marked) { SetMark(ACol, ARow, cellstate::MarkedB, marked); }

namespace {
void MarkAll(TDataTable &table, uint8_t bit)
{
    // The table has no "mark all"; the editor is not listening meanwhile (see
    // ChangeStates), so the cells cost no event each.
    for (int row = 1; row <= table.NrOfRows(); ++row)
        for (int col = 1; col <= table.NrOfColumns(); ++col)
            table.SetCellState(col, row, table.GetCellState(col, row) | bit);
}
} // namespace

void TNTabEd::MarkAllElemsA()
{
    ChangeStates([this] { MarkAll(*FTable, cellstate::MarkedA); });
}

void TNTabEd::MarkAllElemsB()
{
    ChangeStates([this] { MarkAll(*FTable, cellstate::MarkedB); });
}

void TNTabEd::UnMarkAllElems()
{
    ChangeStates([this] { FTable->UnmarkAllCells(); });
}

void TNTabEd::ExchangeMarkings()
{
    ChangeStates([this] { FTable->ExchangeMarkings(); });
}

void TNTabEd::InvertCellStates(uint8_t StateMask)
{
    ChangeStates([&] { FTable->InvertCellStates(StateMask); });
}

namespace {
int CountStates(const TDataTable &table, uint8_t bit)
{
    int count = 0;
    for (int row = 1; row <= table.NrOfRows(); ++row)
        for (int col = 1; col <= table.NrOfColumns(); ++col)
            count += (table.GetCellState(col, row) & bit) != 0;
    return count;
}
} // namespace

int TNTabEd::NrOfMarkedDataA() const { return CountStates(*FTable, cellstate::MarkedA); }
int TNTabEd::NrOfMarkedDataB() const { return CountStates(*FTable, cellstate::MarkedB); }

bool TNTabEd::AnyMarkIn(int FirstCol, int FirstRow, int LastCol, int LastRow) const
{
    for (int row = FirstRow; row <= LastRow; ++row)
        for (int col = FirstCol; col <= LastCol; ++col)
            if (FTable->GetCellState(col, row) & kMarks)
                return true;
    return false;
}

bool TNTabEd::IfRowMarked(int row) const
{
    return row >= 1 && row <= GetNrOfRows() && AnyMarkIn(1, row, GetNrOfColumns(), row);
}

bool TNTabEd::IfColumnMarked(int col) const
{
    return col >= 1 && col <= GetNrOfColumns() && AnyMarkIn(col, 1, col, GetNrOfRows());
}

bool TNTabEd::IfAnyMarked() const
{
    for (int row = 1; row <= GetNrOfRows(); ++row)
        if (IfRowMarked(row))
            return true;
    return false;
}

// ---- Names and attributes -----------------------------------------------------------------

QString TNTabEd::GetColName(int ColNr) const { return FTable->GetColName(ColNr); }
QString TNTabEd::GetRowName(int RowNr) const { return FTable->GetRowName(RowNr); }
uint8_t TNTabEd::GetColAttrib(int ColNr) const { return FTable->GetColAttrib(ColNr); }
uint8_t TNTabEd::GetRowAttrib(int RowNr) const { return FTable->GetRowAttrib(RowNr); }

void TNTabEd::SetColName(int ColNr, const QString &name)
{
    if (ColNr < 1 || ColNr > GetNrOfColumns())
        return;
    FTable->SetColName(ColNr, name.left(TDataTable::NameMax));
    ChangedHeading();
}

void TNTabEd::SetRowName(int RowNr, const QString &name)
{
    if (RowNr < 1 || RowNr > GetNrOfRows())
        return;
    FTable->SetRowName(RowNr, name.left(TDataTable::NameMax));
    ChangedHeading();
}

void TNTabEd::SetColAttrib(int ColNr, uint8_t attrib)
{
    if (ColNr < 1 || ColNr > GetNrOfColumns())
        return;
    FTable->SetColAttrib(ColNr, attrib);
    ChangedAttrib();
}

void TNTabEd::SetRowAttrib(int RowNr, uint8_t attrib)
{
    if (RowNr < 1 || RowNr > GetNrOfRows())
        return;
    FTable->SetRowAttrib(RowNr, attrib);
    ChangedAttrib();
}

// ---- Texts --------------------------------------------------------------------------------

QString TNTabEd::NominalText(int c, double value) const
{
    const std::optional<qint64> ordinal = RoundToInt64(value);
    const QString scaleName = MScaleTypeNames.value(FTable->GetMScaleType(c));
    if (!ordinal)
        return scaleName + QLatin1Char(':') + FormatCellValue(d->FNumWidth, GetDecPlaces(c), value);
    if (*ordinal >= 1 && *ordinal <= kMaxNominalOrdinal) {
        const QString id = FTable->GetNominalID(c, int(*ordinal));
        if (!id.isEmpty())
            return id;
    }
    return scaleName + QLatin1Char(':') + FormatInt(*ordinal);
}

QString TNTabEd::DataCellText(int c, int r) const
{
    const uint8_t state = FTable->GetCellState(c, r);
    if (state & cellstate::Empty)
        return {};
    if (state & cellstate::NotANumber)
        return kNaNCellText;
    const double value = FTable->GetElem(c, r);
    if (IsNominalScale(FTable->GetMScaleType(c)))
        return NominalText(c, value);
    return FormatCellValue(d->FNumWidth, GetDecPlaces(c), value);
}

QString TNTabEd::PositionIndicator() const
{
    const TGridRect selection = GetSelection();
    return FormatInt(selection.Left - ColOffset()) + QLatin1Char(':') + FormatInt(selection.Top - RowOffset());
}

QString TNTabEd::GetCellText(int col, int row) const
{
    const int c = col - ColOffset(), r = row - RowOffset();
    if (col < 0 || row < 0 || c > GetNrOfColumns() || r > GetNrOfRows())
        return {};
    if (c >= 1 && r >= 1)
        return DataCellText(c, r);
    if (col == 0 && row == 0)
        return PositionIndicator();
    if (col == 0 && r >= 1)
        return GetRowName(r);
    if (row == 0 && c >= 1)
        return GetColName(c);
    if (IsRowAttribCol(col) && r >= 1)
        return FormatInt(GetRowAttrib(r));
    if (IsColAttribRow(row) && c >= 1)
        return FormatInt(GetColAttrib(c));
    if (row == 0 && IsRowAttribCol(col))
        return QStringLiteral("Attrib");
    if (col == 0 && IsColAttribRow(row))
        return QStringLiteral("Attribute");
    return {};
}

// ---- Painting -----------------------------------------------------------------------------

void TNTabEd::Paint(TCanvas &canvas)
{
    if (Suppressed())
        return;
    TCustomGrid::Paint(canvas);
    PaintHeadingOutline(canvas);
    if (d->FOptRowHeight) {
        const int height = AutoRowHeight(-1, 2);
        if (height != GetDefaultRowHeight())
            SetDefaultRowHeight(height);
    }
}

void TNTabEd::DrawCell(TCanvas &canvas, int col, int row, const QRect &rect, TGridDrawState state)
{
    if (col > ColOffset() && row > RowOffset())
        DrawDataCell(canvas, col - ColOffset(), row - RowOffset(), rect, state);
    else
        DrawFixedCell(canvas, col, row, rect);
}

namespace {
void ApplyStyles(QFont &font, TNTabEd::TFontStyles styles)
{
    font.setBold(styles.testFlag(TNTabEd::fsBold));
    font.setItalic(styles.testFlag(TNTabEd::fsItalic));
    font.setUnderline(styles.testFlag(TNTabEd::fsUnderline));
    font.setStrikeOut(styles.testFlag(TNTabEd::fsStrikeOut));
}

TNTabEd::TFontStyles StylesOf(const QFont &font)
{
    TNTabEd::TFontStyles styles;
    styles.setFlag(TNTabEd::fsBold, font.bold());
    styles.setFlag(TNTabEd::fsItalic, font.italic());
    styles.setFlag(TNTabEd::fsUnderline, font.underline());
    styles.setFlag(TNTabEd::fsStrikeOut, font.strikeOut());
    return styles;
}
} // namespace

void TNTabEd::DrawDataCell(TCanvas &canvas, int c, int r, const QRect &rect, TGridDrawState state)
{
    const bool inRange = state.testFlag(gdSelected);
    QString text = DataCellText(c, r);
    TFontStyles styles = StylesOf(canvas.Font.Font);
    TColor textColor = inRange ? d->FColorRngSelFG : d->FColorNormal;
    switch (FTable->GetCellState(c, r) & kMarks) {
    case cellstate::MarkedA: textColor = d->FColorMarked1; break;
    case cellstate::MarkedB: textColor = d->FColorMarked2; break;
    case kMarks: textColor = d->FColorMarkedBoth; break;
    default: break;
    }
    if ((FTable->GetCellState(c, r) & kMarks) && d->FBoldMarks)
        styles |= fsBold;
    TColor background = inRange ? d->FColorRngSelBG : GetColor();
    if (OnBeforeRenderCell)
        OnBeforeRenderCell(this, c, r, text, textColor, background, styles);
    canvas.Brush.SetColor(background);
    ApplyStyles(canvas.Font.Font, styles);
    // The plain text keeps to what the palette makes of the ground; the marking colours
    // are signals of their own and stay as set.
    canvas.Font.Color = textColor == d->FColorNormal ? ReadableTextColor(textColor, background, canvas.Palette())
                                                     : textColor;
    canvas.TextRect(rect, rect.left() + 2, rect.top() + 1, text);
}

void TNTabEd::DrawFixedCell(TCanvas &canvas, int col, int row, QRect rect)
{
    if (col == 0 && row == 0 && CommentMemoActive()) {
        canvas.Brush.SetColor(clr::Teal);
        canvas.Font.Color = clr::White;
        canvas.TextRect(rect, rect.left() + 2, rect.top() + 1, QStringLiteral("Comment:"));
        return;
    }
    if (col == 0 && row == 0) {
        canvas.Brush.SetColor(clr::Window);
        canvas.Font.Color = ReadableTextColor(d->FColorNormal, clr::Window, canvas.Palette());
        canvas.TextRect(rect, rect.left() + 3, rect.top() + 2, PositionIndicator());
        return;
    }
    if (rect.width() > 0)
        rect.adjust(1, 0, -1, 0);
    if (rect.height() > 0)
        rect.adjust(0, 1, 0, -1);
    // The name row's cell above the attribute column keeps its full width.
    if (!(row == 0 && col == 1 && GetAttribRowVisible()))
        rect.setRight(rect.right() - 2);
    canvas.Brush.SetColor(d->FColorFixed);
    canvas.Font.Color = ReadableTextColor(d->FColorNormal, d->FColorFixed, canvas.Palette());
    const TGridRect selection = GetSelection();
    const auto heading = [&](bool highlighted) {
        if (!highlighted)
            return;
        canvas.Font.Color = ReadableTextColor(d->FColorSelected, d->FColorFixed, canvas.Palette());
        canvas.Font.Font.setBold(d->FBoldSelHeads);
    };
    const int c = col - ColOffset(), r = row - RowOffset();
    QString text;
    int top = rect.top() + 1;
    if (col == 0 && r >= 1) {
        heading(selection.Top == row);
        text = GetRowName(r);
        top = rect.top();
    } else if (IsRowAttribCol(col) && r >= 1) {
        heading(selection.Top == row);
        text = FormatInt(GetRowAttrib(r));
    } else if (IsColAttribRow(row) && c >= 1) {
        heading(selection.Left == col);
        text = FormatInt(GetColAttrib(c));
    } else if (row == 0 && c >= 1) {
        heading(selection.Left == col);
        text = GetColName(c);
    } else if (col == 0 && IsColAttribRow(row)) {
        text = QStringLiteral("Attribute");
    } else if (row == 0 && IsRowAttribCol(col)) {
        text = QStringLiteral("Attrib");
    } else {
        return; // the cell where the attribute row meets the attribute column
    }
    canvas.TextRect(rect, rect.left() + 2, top, text);
}

// ---- Layout helpers -----------------------------------------------------------------------

int TNTabEd::AutoColWidth(int ColNr, bool IncludeHeader, int Addon)
{
    const QFontMetrics metrics(font());
    int width = 0;
    if (ColNr == -1) {
        width = metrics.horizontalAdvance(IncludeHeader ? QStringLiteral("Attrib") : QStringLiteral("255"));
    } else if (ColNr == 0) {
        width = metrics.horizontalAdvance(QStringLiteral("999:9999"));
        for (int row = 1; row <= GetNrOfRows(); ++row)
            width = std::max(width, metrics.horizontalAdvance(GetRowName(row)));
    } else if (ColNr >= 1 && ColNr <= GetNrOfColumns()) {
        if (IncludeHeader)
            width = metrics.horizontalAdvance(GetColName(ColNr));
        width = std::max(width, metrics.horizontalAdvance(FormatInt(GetColAttrib(ColNr))));
        // What the cells show, identifiers and "-nan-" included, must fit.
        for (int row = 1; row <= GetNrOfRows(); ++row)
            width = std::max(width, metrics.horizontalAdvance(DataCellText(ColNr, row)));
    } else {
        return 0;
    }
    const int result = std::max(4, width + Addon + 8);
    if (ColNr == -1)
        d->FClassColWidth = result;
    SetColWidths(ColNr, result);
    return result;
}

int TNTabEd::AutoRowHeight(int RowNr, int Addon)
{
    const int height = std::max(8, QFontMetrics(font()).height() + Addon + 2);
    SetRowHeights(RowNr, height);
    return height;
}

QSize TNTabEd::sizeHint() const
{
    // Room for the headings and a few columns and rows, as far as the table has them.
    int width = 2 * frameWidth();
    for (int col = 0; col < std::min(GetColCount(), 8); ++col)
        width += TCustomGrid::GetColWidths(col) + GetGridLineWidth();
    int height = 2 * frameWidth();
    for (int row = 0; row < std::min(GetRowCount(), 12); ++row)
        height += TCustomGrid::GetRowHeights(row) + GetGridLineWidth();
    return {width, height};
}

QSize TNTabEd::minimumSizeHint() const
{
    const int line = GetGridLineWidth();
    const int width = 2 * frameWidth() + TCustomGrid::GetColWidths(0) + TCustomGrid::GetColWidths(ColOffset() + 1) + 2 * line;
    const int height = 2 * frameWidth() + TCustomGrid::GetRowHeights(0) + TCustomGrid::GetRowHeights(RowOffset() + 1) + 2 * line;
    return {width, height};
}

// ---- Editing ------------------------------------------------------------------------------

bool TNTabEd::CanEditShow() const
{
    return !d->FReadOnly && TCustomGrid::CanEditShow();
}

QString TNTabEd::GetEditText(int col, int row)
{
    const int c = col - ColOffset(), r = row - RowOffset();
    const double value = FTable->GetElem(c, r);
    QString text;
    if (IsNominalScale(FTable->GetMScaleType(c))) {
        const std::optional<qint64> ordinal = RoundToInt64(value);
        if (ordinal && *ordinal >= 1 && *ordinal <= kMaxNominalOrdinal)
            text = FTable->GetNominalID(c, int(*ordinal));
        if (text.isEmpty())
            text = ordinal ? FormatInt(*ordinal) : FormatCellValue(d->FNumWidth, GetDecPlaces(c), value);
    } else {
        text = FormatCellValue(d->FNumWidth, GetDecPlaces(c), value);
    }
    if (OnGetEditText)
        OnGetEditText(this, col, row, text);
    return text;
}

void TNTabEd::SetEditText(int col, int row, const QString &value)
{
    const int c = col - ColOffset(), r = row - RowOffset();
    // A read-only editor takes nothing typed, whatever brought the text here.
    if (d->FReadOnly || c < 1 || r < 1 || c > GetNrOfColumns() || r > GetNrOfRows())
        return;
    std::optional<double> number;
    if (IsNominalScale(FTable->GetMScaleType(c))) {
        const int ordinal = FTable->OrdinalOfNominalID(c, value.left(TDataTable::NominalIDMax), true);
        if (ordinal > 0)
            number = ordinal;
        else if (const std::optional<int> integer = DecIntValue(value))
            number = *integer;
    } else {
        number = ParseTypedNumber(value);
    }
    {
        // One value and one state byte, announced as one change. The whole byte is
        // written: a typed value clears the marks and the empty flag.
        TDetachDataScope storing(*this);
        if (number)
            FTable->SetElem(c, r, *number);
        FTable->SetCellState(c, r, number ? 0 : cellstate::NotANumber);
    }
    ChangedData();
    Repaint();
    if (OnSetEditText)
        OnSetEditText(this, col, row, value);
}

TCustomGrid::TEditStyle TNTabEd::GetEditStyle(int col, int)
{
    return IsNominalScale(FTable->GetMScaleType(col - ColOffset())) ? esPickList : esSimple;
}

void TNTabEd::GetPickListItems(int col, int, QStringList &items)
{
    const int c = col - ColOffset();
    for (int ordinal = 1; ordinal <= kMaxNominalOrdinal; ++ordinal) {
        const QString id = FTable->GetNominalID(c, ordinal);
        if (!id.isEmpty())
            items << id;
    }
}

// ---- Input --------------------------------------------------------------------------------

void TNTabEd::MoveAfterEnter()
{
    QKeyEvent arrow(QEvent::KeyPress, d->FAutoAdvDir == orVertical ? Qt::Key_Down : Qt::Key_Right,
                    Qt::NoModifier);
    TCustomGrid::KeyPressed(&arrow);
}

void TNTabEd::KeyPressed(QKeyEvent *event)
{
    Guarded([&] {
        if (OpenPopupByKey(event))
            return;
        const bool enter = IsEnterKey(event->key());
        if (enter && d->FAutoAdvance) {
            // Enter stores what was typed and moves on, so a column of numbers is
            // typed as number, Enter, number, Enter.
            if (GetEditorMode())
                HideEditor();
            MoveAfterEnter();
        } else {
            TCustomGrid::KeyPressed(event);
        }
        d->FOldSel = GetSelection();
        ChangedSelection();
        InvalidateCell(0, 0);
    });
}

void TNTabEd::mouseMoveEvent(QMouseEvent *event)
{
    TCustomGrid::mouseMoveEvent(event);
    Guarded([this] { CheckSelection(); });
}

void TNTabEd::mousePressEvent(QMouseEvent *event)
{
    TCustomGrid::mousePressEvent(event);
    Guarded([&] { PopupMouseDown(event); });
}

void TNTabEd::mouseReleaseEvent(QMouseEvent *event)
{
    TCustomGrid::mouseReleaseEvent(event);
    Guarded([this] {
        CheckSelection();
        InvalidateCell(0, 0);
    });
}

void TNTabEd::wheelEvent(QWheelEvent *event)
{
    TCustomGrid::wheelEvent(event);
    Guarded([this] {
        d->FOldSel = GetSelection();
        ChangedSelection();
        InvalidateCell(0, 0);
    });
}

void TNTabEd::TopLeftChanged()
{
    CheckSelection();
    if (OnTopLeftChanged)
        OnTopLeftChanged(this);
}

} // namespace nvo
