#pragma once

#include "NVO_Corvane.h"
#include "NVO_Grid.h"
#include "NVO_RowFilter.h"
#include "NVO_replist.h"

#include <QtCore/QString>

class QDialog;

#include <functional>
#include <memory>
#include <vector>

namespace nvo {

/// The report list view's own error.
NVO_DECLARE_EXCEPTION(ENVORepListError, Exception);

/// Which data column each grid column shows, and back. Grid columns are 0-based,
/// data columns 1-based. Every per-column lookup of the view (width, alignment,
/// editability, password) starts from a data column and finds its grid column through
/// `GridColumn`, or starts from a grid column and finds its data column through
/// `DataColumn`: the order list itself is never read the other way round, so a column
/// order that is not its own inverse (a 3-cycle) still gives each column its own
/// settings.
class NVO_EXPORT TRLColumnOrder
{
public:
    explicit TRLColumnOrder(int count = 0) { Reset(count); }

    int Count() const { return int(FOrder.size()); }
    /// The identity order over `count` columns.
    void Reset(int count);
    /// The data column shown at grid column `gridCol`; 0 outside.
    int DataColumn(int gridCol) const;
    /// The grid column that shows data column `dataCol` (the first one when a list with
    /// duplicates shows it twice); -1 when none does.
    int GridColumn(int dataCol) const;
    /// Takes a list of 1-based data columns, one per grid column. A list of the wrong
    /// length changes nothing and gives false; an entry outside 1..Count keeps its place
    /// and makes the result false; duplicates are taken as given.
    bool Set(const std::vector<int> &ColList);

private:
    void Invert();

    std::vector<int> FOrder;   ///< 0-based data column at each grid column
    std::vector<int> FInverse; ///< grid column of each 0-based data column, -1 when none
};

/// How the view's grid rows relate to the store's data rows: 0..2 head rows (the
/// common header above the column headers), then one grid row per data row, and at
/// least one data row even when the store is empty.
struct NVO_EXPORT TRLRowMap {
    bool CommonHeaderVisible = false;
    bool ColumnHeadersVisible = true;

    int HeadRows() const { return (CommonHeaderVisible ? 1 : 0) + (ColumnHeadersVisible ? 1 : 0); }
    int GridRowCount(int NrOfRows) const { return HeadRows() + std::max(NrOfRows, 1); }
    int DataRow(int GridRow) const { return GridRow - HeadRows() + 1; }
    int GridRow(int DataRow) const { return DataRow + HeadRows() - 1; }
    /// The grid row of the column headers; -1 when they are hidden.
    int ColumnHeaderRow() const { return ColumnHeadersVisible ? (CommonHeaderVisible ? 1 : 0) : -1; }
    /// The grid row of the common header; -1 when it is hidden.
    int CommonHeaderRow() const { return CommonHeaderVisible ? 0 : -1; }
};

/// "first F characters..." or, right-aligned, "first character...last F characters":
/// a text cut for a cell `avail` pixels wide whose measured width is `width`, with F the
/// share of characters that fit less `margin`, rounded half to even and at least 1.
NVO_EXPORT QString TruncatedCellText(const QString &Text, int width, int avail, int margin, bool rightAligned);

/// The visible report list: a grid over an owned `TRLData` with column headers, an
/// optional common header, check boxes and radio marks, row and column selection,
/// shaded row groups, a highlighted row or column, a sort triangle, an empty-list
/// message and an inter-row indicator line.
///
/// Colours: every colour is a property (plain or system colour); system colours
/// resolve through the palette at paint time: the headers paint with Button and
/// ButtonText, the empty-list message with WindowText on the grid's `Color` (Base),
/// the check boxes' outline with the button shadow (Dark) and a disabled view's text
/// with the inactive caption colour. The data rows keep their own plain colours. The
/// raised header frames are white and gray 0x808080.
///
/// Cache: the picture of the last paint is kept in the control's buffer, so while
/// `SuppressPaint` is on the view keeps showing it; nothing else is kept between
/// paints, and a paint reads only the visible cells, so a million rows paint as fast
/// as a hundred.
///
/// Coordinates: data rows and data columns are 1-based as in the store; grid rows and
/// columns are the grid's 0-based indices. `TRLRowMap` and `TRLColumnOrder` convert.
class NVO_EXPORT TReportListView : public TCustomDrawGrid
{
    Q_OBJECT
    // Published; initial values set by the constructor.
    /// Number of data columns.
    Q_PROPERTY(int NrOfColumns READ GetNrOfColumns WRITE SetNrOfColumns)                      // 5
    /// Number of data rows.
    Q_PROPERTY(int NrOfRows READ GetNrOfRows WRITE SetNrOfRows NOTIFY NrOfRowsChanged USER true) // 4
    /// Enter in the in-place editor moves on to the next cell.
    Q_PROPERTY(bool AutoAdvance READ GetAutoAdvance WRITE SetAutoAdvance)                     // false
    /// The ground of the highlighted row and column.
    Q_PROPERTY(nvo::TColor ColorHigh READ GetColorHigh WRITE SetColorHigh)                    // 0xCC9966
    /// The text of normal cells.
    Q_PROPERTY(nvo::TColor ColorText READ GetColorText WRITE SetColorText)                    // 0x002000
    /// The ground of normal rows.
    Q_PROPERTY(nvo::TColor ColorBkgdNormal READ GetColorBkgdNormal WRITE SetColorBkgdNormal)  // 0xFFFFFF
    /// The ground of shaded rows (see RowColPattern).
    Q_PROPERTY(nvo::TColor ColorBkgdShaded READ GetColorBkgdShaded WRITE SetColorBkgdShaded)  // 0xF0EFE8
    /// The ground of the column headers; FixedColor is the same colour.
    Q_PROPERTY(nvo::TColor ColorColumnHd READ GetColorColumnHd WRITE SetColorColumnHd)        // clBtnFace
    /// The ground of the column headers; the same as ColorColumnHd.
    Q_PROPERTY(nvo::TColor FixedColor READ GetColorColumnHd WRITE SetColorColumnHd STORED false)
    /// The column header texts.
    Q_PROPERTY(nvo::TColor ColorColumnHdText READ GetColorColumnHdText WRITE SetColorColumnHdText) // clBtnText
    /// The ground of the common header.
    Q_PROPERTY(nvo::TColor ColorCommonHd READ GetColorCommonHd WRITE SetColorCommonHd)        // clBtnFace
    /// The common header's text.
    Q_PROPERTY(nvo::TColor ColorCommonHdText READ GetColorCommonHdText WRITE SetColorCommonHdText) // clBtnText
    /// The ground of disabled rows.
    Q_PROPERTY(nvo::TColor ColorDisabledBkgd READ GetColorDisabledBkgd WRITE SetColorDisabledBkgd) // 0xF0F0F0
    /// The text of disabled rows.
    Q_PROPERTY(nvo::TColor ColorDisabledText READ GetColorDisabledText WRITE SetColorDisabledText) // 0xC0C0C0
    /// The text of the empty-list message.
    Q_PROPERTY(nvo::TColor ColorEmptyMsg READ GetColorEmptyMsg WRITE SetColorEmptyMsg)        // clWindowText
    /// The text of the highlighted row and column.
    Q_PROPERTY(nvo::TColor ColorHighText READ GetColorHighText WRITE SetColorHighText)        // 0xFFFFFF
    /// The ground of selected rows.
    Q_PROPERTY(nvo::TColor ColorSelectedRow READ GetColorSelectedRow WRITE SetColorSelectedRow) // 0x94BAED
    /// The text of selected rows.
    Q_PROPERTY(nvo::TColor ColorSelectedRowText READ GetColorSelectedRowText WRITE SetColorSelectedRowText) // 0x800000
    /// The ground of selected columns.
    Q_PROPERTY(nvo::TColor ColorSelectedCol READ GetColorSelectedCol WRITE SetColorSelectedCol) // 0
    /// The text of selected columns.
    Q_PROPERTY(nvo::TColor ColorSelectedColText READ GetColorSelectedColText WRITE SetColorSelectedColText) // 0
    /// The ground of cells whose row and column are both selected.
    Q_PROPERTY(nvo::TColor ColorSelectedBoth READ GetColorSelectedBoth WRITE SetColorSelectedBoth) // 0
    /// The text of cells whose row and column are both selected.
    Q_PROPERTY(nvo::TColor ColorSelectedBothText READ GetColorSelectedBothText WRITE SetColorSelectedBothText) // 0
    /// The title across all columns above the column headers (kept in the store).
    Q_PROPERTY(QString CommonHeader READ GetCommonHeader WRITE SetCommonHeader)               // "NVO Report Listview"
    /// Alignment of the common header's text.
    Q_PROPERTY(nvo::TAlignment CommonHeaderAlignment READ GetCommonHeaderAlignment WRITE SetCommonHeaderAlignment) // taCenter
    /// The common header is shown.
    Q_PROPERTY(bool CommonHeaderVisible READ GetCommonHeaderVisible WRITE SetCommonHeaderVisible) // false
    /// Height of the common header, 8..127.
    Q_PROPERTY(int CommonHeaderHeight READ GetCommonHeaderHeight WRITE SetCommonHeaderHeight) // 20
    /// The column headers are shown.
    Q_PROPERTY(bool ColumnHeadersVisible READ GetColumnHeadersVisible WRITE SetColumnHeadersVisible) // true
    /// Height of the column headers, 8..127.
    Q_PROPERTY(int ColumnHeadersHeight READ GetColumnHeadersHeight WRITE SetColumnHeadersHeight) // 20
    /// Width of every column that has no width of its own.
    Q_PROPERTY(int DefaultColWidth READ GetDefaultColWidth WRITE SetDefaultColWidth)          // 64
    /// Height of the data rows.
    Q_PROPERTY(int DefaultRowHeight READ GetDefaultRowHeight WRITE SetDefaultRowHeight)       // 24
    /// The grid fills cells before the list draws them.
    Q_PROPERTY(bool DefaultDrawing READ GetDefaultDrawing WRITE SetDefaultDrawing)            // false
    /// Shown in the list's area when it has no rows.
    Q_PROPERTY(QString EmptyMessage READ GetEmptyMessage WRITE SetEmptyMessage)               // ""
    /// False draws the list greyed and takes no mouse or keys.
    Q_PROPERTY(bool Enabled READ GetEnabled WRITE SetEnabled)                                 // true
    /// The highlighted row and column drawn in bold.
    Q_PROPERTY(bool HighLightBold READ GetHighLightBold WRITE SetHighLightBold)               // false
    /// The highlighted data row, 0 for none.
    Q_PROPERTY(int HighLightRow READ GetHighLightRow WRITE SetHighLightRow)                   // 0
    /// The highlighted data column, 0 for none.
    Q_PROPERTY(int HighLightColumn READ GetHighLightColumn WRITE SetHighLightColumn)          // 0
    /// The line drawn between two rows (see InterRowIndicatorPos).
    Q_PROPERTY(nvo::TColor InterRowIndicatorColor READ GetInterRowIndicatorColor WRITE SetInterRowIndicatorColor) // clRed
    /// Width of the line between two rows in pixels.
    Q_PROPERTY(int InterRowIndicatorWidth READ GetInterRowIndicatorWidth WRITE SetInterRowIndicatorWidth) // 3
    /// The first scrolled column shown.
    Q_PROPERTY(int LeftCol READ GetLeftCol WRITE SetLeftCol STORED false)
    /// The data row at the top of the scrolled rows.
    Q_PROPERTY(int TopRow READ GetTopRow WRITE SetTopRow STORED false)                        // 1
    /// 0 no row selection, 1 single rows, 2 several rows.
    Q_PROPERTY(int RowSelectMode READ GetRowSelectMode WRITE SetRowSelectMode)                // 1
    /// Rows per shading group: groups alternate between the normal and the shaded ground; 0
    /// shades no row.
    Q_PROPERTY(int RowColPattern READ GetRowColPattern WRITE SetRowColPattern)                // 1
    /// Unchecked check-mark cells show an empty box.
    Q_PROPERTY(bool ShowEmptyCheckBoxes READ GetShowEmptyCheckBoxes WRITE SetShowEmptyCheckBoxes) // true
    /// The first column does not scroll.
    Q_PROPERTY(bool FixedFirstColumn READ GetFixedFirstColumn WRITE SetFixedFirstColumn)      // false
    /// A click on a column header sorts by that column.
    Q_PROPERTY(bool SortEnabled READ GetSortEnabled WRITE SetSortEnabled)                     // true
    /// In multiple row selection, Ctrl+click toggles a row; off, a plain click does.
    Q_PROPERTY(bool UseCtrlForMultiSel READ GetUseCtrlForMultiSel WRITE SetUseCtrlForMultiSel) // true
    // Public, not streamed.
    /// Check marks cannot be changed by mouse.
    Q_PROPERTY(bool CheckMarksReadOnly READ GetCheckMarksReadOnly WRITE SetCheckMarksReadOnly STORED false)
    /// The data row on whose upper border the indicator line is drawn; 0 for none.
    Q_PROPERTY(int InterRowIndicatorPos READ GetInterRowIndicatorPos WRITE SetInterRowIndicatorPos STORED false)
    /// The column that decides between equal texts of the sort column, -1 for none.
    Q_PROPERTY(int SecondarySortColumn READ GetSecondarySortColumn WRITE SetSecondarySortColumn STORED false)
    /// While on, the list keeps showing its last picture; switching it off repaints.
    Q_PROPERTY(bool SuppressPaint READ GetSuppressPaint WRITE SetSuppressPaint STORED false DESIGNABLE false)
    /// A comment kept with the list's data (in the store).
    Q_PROPERTY(QString Comment READ GetComment WRITE SetComment STORED false DESIGNABLE false)
    /// An identifier kept with the list's data (in the store).
    Q_PROPERTY(QString DataID READ GetDataID WRITE SetDataID STORED false DESIGNABLE false)
    /// The rows the last filter left in view (data rows 1..NrOfShownRows); NrOfRows while no
    /// filter holds.
    Q_PROPERTY(int NrOfShownRows READ GetNrOfShownRows STORED false DESIGNABLE false)

public:
    enum TFontStyle { fsBold = 0x1, fsItalic = 0x2, fsUnderline = 0x4, fsStrikeOut = 0x8 };
    Q_DECLARE_FLAGS(TFontStyles, TFontStyle)
    Q_FLAG(TFontStyles)

    using TCheckMode = TRLData::TCheckMode;
    static constexpr quint8 RowSelectedBit = 0x80;
    static constexpr quint8 RowDisabledBit = 0x40;
    static constexpr quint8 ColSelectedBit = 0x80;
    /// The width a check box or radio mark takes in front of a cell's text.
    static constexpr int CheckMarkSpace = 16;

    using TRenderCellEvent = std::function<void(QObject *Sender, int ACol, int ARow, TColor &PenColor,
                                                TColor &BrushColor, TColor &FontColor, TFontStyles &FontStyles,
                                                QString &Text)>;
    using TReadCellEvent = std::function<void(QObject *Sender, int ACol, int ARow, QString &Text)>;
    using TCheckStateChangeEvent = std::function<void(QObject *Sender, bool &State, int Col, int Row)>;
    /// `Key` is the Qt key code (Qt::Key_Down for the cursor-down key).
    using TCursorKeyActionEvent = std::function<void(QObject *Sender, int Key)>;
    using TRequestEditFormatEvent = std::function<void(QObject *Sender, int Col, int Row, QString &Format)>;
    using TBeforeFilterEvent = std::function<void(QObject *Sender, int Row, bool &Found,
                                                  TLogicOp &CombineWithInternalSearch)>;
    using TMouseWheelUpDownEvent = std::function<void(QObject *Sender, Qt::KeyboardModifiers Shift,
                                                      QPoint MousePos, bool &Handled)>;

    explicit TReportListView(QWidget *parent = nullptr);
    ~TReportListView() override;

    // ---- published --------------------------------------------------------------------
    int GetNrOfColumns() const;
    /// Keeps the last column's width for new columns; resets the column order and the
    /// new columns' alignment, password and editable flags.
    void SetNrOfColumns(int n);
    int GetNrOfRows() const;
    /// Resets the grid selection; a negative count counts as 0.
    void SetNrOfRows(int n);
    bool GetAutoAdvance() const;
    void SetAutoAdvance(bool on);
    TColor GetColorHigh() const;
    void SetColorHigh(TColor c);
    TColor GetColorText() const;
    void SetColorText(TColor c);
    TColor GetColorBkgdNormal() const;
    void SetColorBkgdNormal(TColor c);
    TColor GetColorBkgdShaded() const;
    void SetColorBkgdShaded(TColor c);
    TColor GetColorColumnHd() const;
    void SetColorColumnHd(TColor c);
    TColor GetColorColumnHdText() const;
    void SetColorColumnHdText(TColor c);
    TColor GetColorCommonHd() const;
    void SetColorCommonHd(TColor c);
    TColor GetColorCommonHdText() const;
    void SetColorCommonHdText(TColor c);
    TColor GetColorDisabledBkgd() const;
    void SetColorDisabledBkgd(TColor c);
    TColor GetColorDisabledText() const;
    void SetColorDisabledText(TColor c);
    TColor GetColorEmptyMsg() const;
    void SetColorEmptyMsg(TColor c);
    TColor GetColorHighText() const;
    void SetColorHighText(TColor c);
    TColor GetColorSelectedRow() const;
    void SetColorSelectedRow(TColor c);
    TColor GetColorSelectedRowText() const;
    void SetColorSelectedRowText(TColor c);
    TColor GetColorSelectedCol() const;
    void SetColorSelectedCol(TColor c);
    TColor GetColorSelectedColText() const;
    void SetColorSelectedColText(TColor c);
    TColor GetColorSelectedBoth() const;
    void SetColorSelectedBoth(TColor c);
    TColor GetColorSelectedBothText() const;
    void SetColorSelectedBothText(TColor c);
    QString GetCommonHeader() const;
    void SetCommonHeader(const QString &Text);
    TAlignment GetCommonHeaderAlignment() const;
    /// Values beyond taCenter are refused.
    void SetCommonHeaderAlignment(TAlignment a);
    bool GetCommonHeaderVisible() const;
    void SetCommonHeaderVisible(bool on);
    int GetCommonHeaderHeight() const;
    /// Kept in 8..127.
    void SetCommonHeaderHeight(int h);
    bool GetColumnHeadersVisible() const;
    void SetColumnHeadersVisible(bool on);
    int GetColumnHeadersHeight() const;
    /// Kept in 8..127.
    void SetColumnHeadersHeight(int h);
    /// Every data row takes the height; the header rows keep theirs.
    void SetDefaultRowHeight(int h);
    QString GetEmptyMessage() const;
    /// Lines separated by "|", centred below the headers while the list has no rows.
    void SetEmptyMessage(const QString &Text);
    bool GetHighLightBold() const;
    void SetHighLightBold(bool on);
    int GetHighLightRow() const;
    void SetHighLightRow(int Row);
    int GetHighLightColumn() const;
    void SetHighLightColumn(int Col);
    TColor GetInterRowIndicatorColor() const;
    void SetInterRowIndicatorColor(TColor c);
    int GetInterRowIndicatorWidth() const;
    void SetInterRowIndicatorWidth(int w);
    /// The grid's left column + 1.
    int GetLeftCol() const;
    void SetLeftCol(int n);
    /// The data row at the top of the scrolled rows.
    int GetTopRow() const;
    void SetTopRow(int n);
    int GetRowSelectMode() const;
    /// 0 none, 1 single, 2 multiple; any other mode deselects every row.
    void SetRowSelectMode(int Mode);
    int GetRowColPattern() const;
    /// Rows per shading group; 0 shades no row.
    void SetRowColPattern(int n);
    bool GetShowEmptyCheckBoxes() const;
    void SetShowEmptyCheckBoxes(bool on);
    bool GetFixedFirstColumn() const;
    void SetFixedFirstColumn(bool on);
    bool GetSortEnabled() const;
    void SetSortEnabled(bool on);
    bool GetUseCtrlForMultiSel() const;
    void SetUseCtrlForMultiSel(bool on);

    // ---- public properties -------------------------------------------------------------
    bool GetCheckMarksReadOnly() const;
    void SetCheckMarksReadOnly(bool on);
    int GetInterRowIndicatorPos() const;
    /// The data row on whose upper border the line is drawn; 0 = none.
    void SetInterRowIndicatorPos(int Row);
    int GetSecondarySortColumn() const;
    /// Accepted for -1..NrOfColumns.
    void SetSecondarySortColumn(int Col);
    bool GetSuppressPaint() const;
    /// While on, the view keeps showing its last picture; switching it off repaints.
    void SetSuppressPaint(bool on);
    QString GetComment() const;
    void SetComment(const QString &Text);
    QString GetDataID() const;
    void SetDataID(const QString &ID);

    /// The cell text after `OnReadCell`; the store's setters and check marks.
    QString GetElem(int ACol, int ARow) const;
    void SetElem(int ACol, int ARow, const QString &Value);
    bool GetElemChecked(int ACol, int ARow) const;
    void SetElemChecked(int ACol, int ARow, bool Value);
    /// The cell as a number; "Class TReportListView: invalid numeric string: ..." otherwise.
    double GetAsNumber(int ACol, int ARow) const;
    QString GetDefaultValue(int ACol, int ARow) const;
    QString GetHeader(int ColNr) const;
    void SetHeader(int ColNr, const QString &Name);
    QString GetColumnFormat(int ColNr) const;
    void SetColumnFormat(int ColNr, const QString &Format);
    TCheckMode GetColumnCheckMode(int ColNr) const;
    void SetColumnCheckMode(int ColNr, TCheckMode Mode);
    bool GetIsCheckedColumn(int ColNr) const;
    void SetIsCheckedColumn(int ColNr, bool On);
    int GetLastSortColumn() const;
    bool GetLastSortOrder() const;
    /// The data column shown at grid column ColNr - 1; 0 outside.
    int GetColumnOrder(int ColNr) const;
    /// The width of data column `Index` wherever it is shown; 0 outside.
    int GetColWidths(int Index) const;
    /// Ignored outside 1..NrOfColumns; fires OnChangeSetup in every case.
    void SetColWidths(int Index, int Width);
    TAlignment GetColumnAlignment(int ColNr) const;
    void SetColumnAlignment(int ColNr, TAlignment a);
    bool GetColumnEditable(int ColNr) const;
    void SetColumnEditable(int ColNr, bool on);
    bool GetColumnIsPwd(int ColNr) const;
    void SetColumnIsPwd(int ColNr, bool on);
    bool GetColumnSelected(int ColNr) const;
    void SetColumnSelected(int ColNr, bool on);
    bool GetRowSelected(int Row) const;
    void SetRowSelected(int Row, bool on);
    bool GetRowEnabled(int Row) const;
    void SetRowEnabled(int Row, bool on);

    /// The store the view owns; what the view shows and keeps.
    TRLData &RLData() { return *FRLData; }
    const TRLData &RLData() const { return *FRLData; }

    // ---- methods ------------------------------------------------------------------------
    /// Copies another view's settings, columns and store; EConvertError for other classes.
    void Assign(const QObject *Source);
    int AddRow();
    int InsertRow(int r);
    /// Removes a data row through the store (a pending sort is committed first; the
    /// last row is emptied, never removed from the matrix).
    void RemoveRow(int r);
    void RemoveEmptyRows();
    void Fill(const QString &s);
    void Clear();
    /// The widest text of a column plus 10 (10 outside the columns). Every cell is
    /// measured up to `kMeasuredCells` rows; beyond, only the longest `kMeasuredCells`
    /// cells (by their UTF-8 length) are, which bounds the time on any table: in a
    /// proportional font a shorter text is wider only when it holds far wider letters.
    int DetermineMaxColWidth(int ColNr, bool IncludeHeader);
    void AutoColWidth(int ColNr, bool IncludeHeader, int Addon);
    void AutoColWidth(int ColNr, bool IncludeHeader, int Addon, int MaxWidth);
    void ExpandColWidth(int ColIx, int RightMargin);
    void FitAllColWidths(int ExpandColumn, bool IncludeHeader, int Addon, int MaxWidth, int RightMargin);
    bool SetColumnOrder(const std::vector<int> &ColList);
    int CountHeadRows() const;
    void Changed();
    void ChangedSetup();
    void ChangedSelection();

    void SelectRow(int RowNr);
    void SelectAllRows();
    void DeselectAllRows();
    void EnableAllRows();
    void DisableAllRows();
    void SelectColumn(int ColNr);
    void SelectAllColumns();
    void DeselectAllColumns();
    int NumSelectedRows() const;
    int NumEnabledRows() const;
    int NumSelectedColumns() const;
    int FirstSelectedRow() const;
    int FirstSelectedColumn() const;
    int CountCheckedElemsInCol(int Column) const;
    void SetAllCheckmarksOfCol(int Column, bool Checked, bool AffectEnabledRowsOnly = false);
    void InvertAllCheckmarksOfCol(int Column, bool AffectEnabledRowsOnly = false);
    void CenterScrollAndSelect(int Row);
    /// Column + 1 under a viewport point (0 outside) and the data row (0 outside, -1
    /// the column headers, -2 the common header).
    TGridCoord MouseCell(int X, int Y) const;
    void CursorKeyAction(int Key);

    int ColumnIndex(const QString &Head, bool PartialMatch) const;
    QString GetCellDefaultValue(int ACol, int ARow) const;
    int CountCheckedElemsInRow(int Row) const;
    int FirstCheckedElemInCol(int ColNr) const;
    int FirstCheckedElemInRow(int RowNr) const;
    // The store's exchange operations, applied to the view's store; an import resizes
    // the grid with the store and repaints.
    void CopyToClipBoard(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader, bool UseTabs) const;
    void CopyToClipBoard(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader,
                         const QString &Separator) const;
    int ImportCSV(const QString &FName, TCSVDelimiters Delimiter, bool IncludeColHeaders);
    int ExportCSV(const QString &FName, TCSVDelimiters Delimiter, bool IncludeColHeaders, bool IncludeCommonHeader,
                  int FirstCol, int FirstRow, int LastCol, int LastRow);
    int LoadLinesFromFile(int Column, int FirstRow, const QString &FName);
    void ExportHTMLTable(const QString &FName, int LoC, int LoR, int HiC, int HiR,
                         const std::vector<int> &ColumnSelection, int Border, int CellSpacing, int Cellpadding,
                         bool IncludeHeader, const QString &HeadClass, const QString &CellClass,
                         const QString &TableClass);
    /// The store's sort with the view's sort-key event, then a repaint.
    void Sort(int Col, int ColSec, bool Ascending);
    void UnSort();

    // ---- row-entry form -----------------------------------------------------------------
    /// What EditRowEntries returns: the form's modal result, or mrNone when no form
    /// was shown (a row outside the table). A supplied form closed with another
    /// result passes that result on.
    enum TModalResult { mrNone = 0, mrOK = 1, mrCancel = 2 };
    Q_ENUM(TModalResult)
    /// Edits data row `Row` in a modal form of its own at (PosLeft, PosTop) on the
    /// screen: one labelled editor per column, chosen by the column format (after
    /// OnRequestEditFormat), holding the cell text as GetElem reads it or, for an empty
    /// cell, the column's default. On OK every editable editor whose text differs from
    /// what its cell held is written back (a default accepted with OK fills its empty
    /// cell); read-only columns and untouched editors leave their cells as they are. A
    /// changed date that does not read by its format keeps the form open with a message.
    int EditRowEntries(int Row, int PosLeft, int PosTop);
    /// The same with the form's caption and the captions of its OK and Cancel buttons.
    int EditRowEntries(int Row, int PosLeft, int PosTop, const QString &FormCaption, const QString &ButOKCaption,
                       const QString &ButCancelCaption);
    /// The same with the editors built into `ContainerForm` at the offset (PosLeft,
    /// PosTop), no buttons (Enter in an editor accepts), the form's caption emptied and
    /// its size raised to hold the editors; its own widgets are left alone. A null form
    /// shows nothing and gives mrNone.
    int EditRowEntries(int Row, QDialog *ContainerForm, int PosLeft, int PosTop);
    // ---- filtering ------------------------------------------------------------------------
    using TFilterMode = TRowFilter::TFilterMode;
    /// Shows only the rows that pass `FilterExp` (syntax by `FilterMode`, see `TRowFilter`)
    /// in the data columns `FilterColumns` (all data columns when empty; numbers outside
    /// 0..NrOfColumns are passed over; password columns are never searched, so a filter
    /// cannot tell their texts), then sorts them by `SortColumn` with the secondary sort
    /// column, or returns them to entry order when `SortColumn` is no data column. The
    /// cells searched are the stored texts without their check state.
    ///
    /// `OnBeforeFilter` is asked for each row with `Found` set to the search's verdict and
    /// `CombineWithInternalSearch` to loAND: a handler that only sets `Found` narrows the
    /// search, one that also sets loReplace decides alone.
    ///
    /// Rows that fail are hidden, not removed: they keep their texts, check marks and
    /// attribute bytes (selection included) and follow the shown rows as data rows
    /// NrOfShownRows + 1..NrOfRows, where the methods that take a row number still reach
    /// them and the counts and whole-list operations (NumSelectedRows, SelectAllRows, ...)
    /// include them; the grid, the mouse and the keys see only the shown ones. The filter holds
    /// through `Sort`, `UnSort` and header clicks, and ends (every row shows again, in the
    /// order it has) when the row or column count changes or the store's rows are replaced
    /// or reordered by other means (`Clear`, a file read, a sort of the store itself);
    /// an empty simple filter shows every row. The grid's current row stays on its row
    /// when that row is shown and goes to the first row otherwise.
    ///
    /// A malformed expression raises `ENVORepListError` ("Component "NAME": " and
    /// `TRowFilter::ErrorString`) and changes nothing.
    void FilterAndSort(const QString &FilterExp, const std::vector<int> &FilterColumns, bool IgnoreCase,
                       TFilterMode FilterMode, int SortColumn, bool Ascending);
    int GetNrOfShownRows() const;

    /// The cell's text for screen readers: names in the header rows, the stored text
    /// (marked "checked"/"unchecked" in check-mark columns, hidden in password columns).
    QString GetCellText(int col, int row) const override;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    static constexpr int kMeasuredCells = 2000;

    // ---- events -------------------------------------------------------------------------
    TNotifyEvent OnChange;
    TNotifyEvent OnChangeSetup;
    TNotifyEvent OnSelectedChange;
    TRenderCellEvent OnBeforeRenderCell;
    TReadCellEvent OnReadCell;
    TCheckStateChangeEvent OnCheckedChange;
    TCheckStateChangeEvent OnBeforeCheckedChange;
    TCursorKeyActionEvent OnCursorKeyAction;
    TRequestEditFormatEvent OnRequestEditFormat;
    TBeforeFilterEvent OnBeforeFilter;
    TMouseWheelUpDownEvent OnMouseWheelDown;
    TMouseWheelUpDownEvent OnMouseWheelUp;
    TOnPercentDoneEvent OnPercentDone;
    TBeforeSortExchgEvent OnBeforeSortExchange;
    TRLData::TBeforeHTMLExportEvent OnBeforeHTMLExport;

Q_SIGNALS:
    void NrOfRowsChanged(int NrOfRows);

protected:
    void Paint(TCanvas &canvas) override;
    void DrawCell(TCanvas &canvas, int col, int row, const QRect &rect, TGridDrawState state) override;
    bool SelectCell(int col, int row) override;
    void ColWidthsChanged() override;
    QString GetEditText(int col, int row) override;
    void SetEditText(int col, int row, const QString &value) override;
    TEditStyle GetEditStyle(int col, int row) override;
    void GetPickListItems(int col, int row, QStringList &items) override;
    bool DoMouseWheelDown(Qt::KeyboardModifiers shift, QPoint pos) override;
    bool DoMouseWheelUp(Qt::KeyboardModifiers shift, QPoint pos) override;
    void KeyPressed(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    struct Private;
    friend struct Private;

    std::unique_ptr<Private> const d;
    std::unique_ptr<TRLData> const FRLData;
};

} // namespace nvo

Q_DECLARE_OPERATORS_FOR_FLAGS(nvo::TReportListView::TFontStyles)
