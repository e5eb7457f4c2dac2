#pragma once

#include "NVO_Corvane.h"
#include "NVO_DataTable.h"
#include "NVO_Errors.h"
#include "NVO_Format.h"
#include "NVO_Grid.h"

#include <QtCore/QString>

#include <cstdint>
#include <functional>
#include <memory>

class QContextMenuEvent;
class QMenu;
class QPlainTextEdit;

namespace nvo {

NVO_DECLARE_EXCEPTION(ENVONTabedError, Exception);

// ---- Number texts of the table editor, without a widget -----------------------------------

/// The editor's number-to-text routine, "." as decimal point whatever the locale:
/// - `Decimals` >= 0: fixed-point with that many decimals, right-aligned in |Width|
///   characters (a narrower field grows to the text);
/// - -1: the scientific field form of Str with four exponent digits, |Width| wide;
/// - -2: the scientific field form |Width| + 2 wide with the exponent cut to two
///   digits; an exponent that needs three or four digits turns the whole text into
///   "*", so a cell never shows a number that reads as another one.
/// A negative `Width` fills the field with zeros instead of blanks, the sign in front.
/// A value that is not a finite number is "-nan-": "INF" would read back as a number.
NVO_EXPORT QString FormatNumField(double Value, int Width, int Decimals);

/// The text of a number cell and its edit text: fixed-point with `DecPlaces` decimals
/// while 0 <= DecPlaces <= 8 and the value has at most nine digits and shows at least
/// one that is not zero; the scientific form with a two-digit exponent otherwise
/// (precision -1, 9 or 10, values too large or too small).
NVO_EXPORT QString FormatCellValue(int NumWidth, int DecPlaces, double Value);

/// A typed number as the editor accepts it: "," counts as ".", blanks around it are
/// dropped, then one strict grammar (optional sign, digits with an optional fraction,
/// optional exponent). "inf", "nan", hexadecimal and values beyond the double range
/// give nothing: the cell then becomes not-a-number rather than holding +/-Inf.
NVO_EXPORT std::optional<double> ParseTypedNumber(const QString &Text);

/// A spreadsheet-like editor of a numeric data table (`TDataTable`): names for every
/// row and column, attribute bytes, per-cell states (not-a-number, empty, marked A,
/// marked B), identifier-valued columns and a comment.
///
///     grid col:   0          1 (AttribRowVisible)   2 ...
///     row 0       position   "Attrib"               column names
///     row 1       "Attribute"                       column attributes (AttribColVisible)
///     rows ...    row names  row attributes         values
///
/// Data column c is grid column c + ColOffset, data row r grid row r + RowOffset, where
/// the offsets are 1 while the attribute column / row shows and 0 otherwise.
///
/// The table: the editor owns one (3 x 4, all 0) until `AssignAnotherDataMatrix` hands
/// it one of the application's, which stays the application's. The editor listens to the
/// table's signals (values and states, setup, size, exchanges, progress) and drops every
/// one of them when it is destroyed or shown another table: the application's own
/// events on the table are never touched. Values typed into a cell replace the whole
/// state byte, so typing clears the marks and the empty flag of that cell.
///
/// Colours: the data cells paint on `ColorBackground` (initially the palette's Window)
/// with `ColorNormal` text, the headings on `ColorFixed` (the palette's Button); marks,
/// the range selection and the highlighted headings use the fixed colours of their
/// properties. The corner cell shows the selection's position on Window. Nothing is
/// cached between paints: every visible cell is read from the table as it is drawn.
///
/// Painting and the seven change events (OnChange, OnChangeSetup, OnHeadingChanged,
/// OnAttributeChanged, OnLayoutChanged, OnCellStateChanged, OnSelectionChanged) are
/// suppressed while `SuppressPaint` or the editor's own bulk work is on; the editor
/// then does not even listen to value changes, so a loop of a million SetElem calls
/// costs no paint and no event per value.
class NVO_EXPORT TNTabEd : public TCustomGrid
{
    Q_OBJECT
    // Published; the initial values are the constructor's.
    /// Number of data columns; setting it resizes the table.
    Q_PROPERTY(int NrOfColumns READ GetNrOfColumns WRITE SetNrOfColumns)                   // 3
    /// Number of data rows; setting it resizes the table.
    Q_PROPERTY(int NrOfRows READ GetNrOfRows WRITE SetNrOfRows)                            // 4
    /// The column of row attributes is shown.
    Q_PROPERTY(bool AttribRowVisible READ GetAttribRowVisible WRITE SetAttribRowVisible)   // true
    /// The row of column attributes is shown.
    Q_PROPERTY(bool AttribColVisible READ GetAttribColVisible WRITE SetAttribColVisible)   // false
    /// The table's comment (control characters removed).
    Q_PROPERTY(QString Comment READ GetComment WRITE SetComment)                           // ""
    /// The user may edit the comment.
    Q_PROPERTY(bool CommentEditingAllowed READ GetCommentEditingAllowed WRITE SetCommentEditingAllowed) // true
    /// The built-in popup menus stay closed.
    Q_PROPERTY(bool BlockInternalPopup READ GetBlockInternalPopup WRITE SetBlockInternalPopup) // false
    /// Data cells cannot be edited.
    Q_PROPERTY(bool DataReadOnly READ GetDataReadOnly WRITE SetDataReadOnly)               // false
    /// Enter moves the current cell on.
    Q_PROPERTY(bool AutoAdvance READ GetAutoAdvance WRITE SetAutoAdvance)                  // true
    /// Which way Enter moves the current cell: down or right.
    Q_PROPERTY(nvo::TOrientation AutoAdvanceDir READ GetAutoAdvanceDir WRITE SetAutoAdvanceDir) // orVertical
    /// Minimum field width of number texts, 1..20.
    Q_PROPERTY(int NumWidth READ GetNumWidth WRITE SetNumWidth)                            // 1
    /// Width of the data columns.
    Q_PROPERTY(int DefaultColWidth READ GetDefaultColWidth WRITE SetDefaultColWidth)       // 64
    /// The first data column shown.
    Q_PROPERTY(int LeftCol READ GetLeftCol WRITE SetLeftCol STORED false)
    /// The first data row shown.
    Q_PROPERTY(int TopRow READ GetTopRow WRITE SetTopRow STORED false)
    /// Rows the pick list of an identifier column shows without scrolling.
    Q_PROPERTY(int NomEditDropDownCount READ GetNomEditDropDownCount WRITE SetNomEditDropDownCount) // 8
    /// After every paint the rows take the height of their text.
    Q_PROPERTY(bool OptimizeRowHeight READ GetOptimizeRowHeight WRITE SetOptimizeRowHeight) // false
    /// Copies numbers in full precision instead of the column's precision.
    Q_PROPERTY(bool ClipboardUseFullPrec READ GetClipboardUseFullPrec WRITE SetClipboardUseFullPrec) // true
    /// Marked cells drawn in bold.
    Q_PROPERTY(bool BoldMarks READ GetBoldMarks WRITE SetBoldMarks)                        // true
    /// The headings of the current row and column drawn in bold.
    Q_PROPERTY(bool BoldSelHeads READ GetBoldSelHeads WRITE SetBoldSelHeads)               // true
    /// The ground of the data cells.
    Q_PROPERTY(nvo::TColor ColorBackground READ GetColorBackground WRITE SetColorBackground) // clWindow
    /// The ground of the headings.
    Q_PROPERTY(nvo::TColor ColorFixed READ GetColorFixed WRITE SetColorFixed)              // clBtnFace
    /// The text of unmarked cells and headings.
    Q_PROPERTY(nvo::TColor ColorNormal READ GetColorNormal WRITE SetColorNormal)           // 0x002000
    /// The text of the current row's and column's headings.
    Q_PROPERTY(nvo::TColor ColorSelected READ GetColorSelected WRITE SetColorSelected)     // 0x404040
    /// The text of cells marked A.
    Q_PROPERTY(nvo::TColor ColorMarkedA READ GetColorMarkedA WRITE SetColorMarkedA)        // 0x0000FF
    /// The text of cells marked B.
    Q_PROPERTY(nvo::TColor ColorMarkedB READ GetColorMarkedB WRITE SetColorMarkedB)        // 0xFF0000
    /// The text of cells marked A and B.
    Q_PROPERTY(nvo::TColor ColorMarkedBoth READ GetColorMarkedBoth WRITE SetColorMarkedBoth) // 0xCC00BB
    /// The text of unmarked cells in the range selection.
    Q_PROPERTY(nvo::TColor ColorRangeSelFG READ GetColorRangeSelFG WRITE SetColorRangeSelFG) // 0x80552C
    /// The ground of cells in the range selection.
    Q_PROPERTY(nvo::TColor ColorRangeSelBG READ GetColorRangeSelBG WRITE SetColorRangeSelBG) // 0xF8E8E0
    // Public, not streamed.
    /// While on, the editor neither paints nor fires change events.
    Q_PROPERTY(bool SuppressPaint READ GetSuppressPaint WRITE SetSuppressPaint STORED false DESIGNABLE false)

public:
    /// Styles of the font a cell is drawn with, as OnBeforeRenderCell sees them.
    enum TFontStyle { fsBold = 0x1, fsItalic = 0x2, fsUnderline = 0x4, fsStrikeOut = 0x8 };
    Q_DECLARE_FLAGS(TFontStyles, TFontStyle)

    using TBeforeRenderCellEvent = std::function<void(QObject *Sender, int colix, int rowix, QString &Text,
                                                      TColor &ColorText, TColor &ColorBakg,
                                                      TFontStyles &FontStyles)>;
    using TGetEditEvent = TCustomDrawGrid::TGetEditEvent;
    using TSetEditEvent = TCustomDrawGrid::TSetEditEvent;

    /// Identifier-valued columns show identifiers for the ordinals 1..kMaxNominalOrdinal.
    static constexpr int kMaxNominalOrdinal = 150;

    explicit TNTabEd(QWidget *parent = nullptr);
    ~TNTabEd() override;

    int GetNrOfColumns() const;
    /// Resizes the table; below 1 is ignored. New columns take the width and the
    /// precision of the old last column. A table that refuses the size raises its
    /// error and leaves table and grid as they were. Fires OnChangeSetup.
    void SetNrOfColumns(int n);
    int GetNrOfRows() const;
    void SetNrOfRows(int n);
    bool GetAttribRowVisible() const;
    /// Shows or hides the row-attribute column; data columns keep their widths.
    void SetAttribRowVisible(bool on);
    bool GetAttribColVisible() const;
    void SetAttribColVisible(bool on);
    QString GetComment() const;
    /// Stores the text without control characters; fires OnChange.
    void SetComment(const QString &text);
    bool GetCommentEditingAllowed() const;
    void SetCommentEditingAllowed(bool on);
    bool GetBlockInternalPopup() const;
    void SetBlockInternalPopup(bool on);
    bool GetDataReadOnly() const;
    /// A read-only editor takes no typed value: the in-place editor closes.
    void SetDataReadOnly(bool on);
    bool GetAutoAdvance() const;
    /// Enter moves the current cell (down, or right with AutoAdvanceDir orHorizontal).
    void SetAutoAdvance(bool on);
    TOrientation GetAutoAdvanceDir() const;
    void SetAutoAdvanceDir(TOrientation dir);
    int GetNumWidth() const;
    /// The minimum field of number texts, 1..20 (other values ignored); fires
    /// OnLayoutChanged in every case.
    void SetNumWidth(int width);
    int GetDefaultColWidth() const { return TCustomGrid::GetDefaultColWidth(); }
    /// Every column takes the width, except the row names (80) and the attribute
    /// column (its remembered width); fires OnLayoutChanged.
    void SetDefaultColWidth(int width);
    /// The first visible data column / row; writing keeps it within the table.
    int GetLeftCol() const;
    void SetLeftCol(int col);
    int GetTopRow() const;
    void SetTopRow(int row);
    int GetNomEditDropDownCount() const;
    /// Below 1 counts as 1.
    void SetNomEditDropDownCount(int rows);
    bool GetOptimizeRowHeight() const;
    /// After every paint the rows take the height of a text line plus 4 pixels.
    void SetOptimizeRowHeight(bool on);
    bool GetClipboardUseFullPrec() const;
    void SetClipboardUseFullPrec(bool on);
    bool GetBoldMarks() const;
    void SetBoldMarks(bool on);
    bool GetBoldSelHeads() const;
    void SetBoldSelHeads(bool on);
    TColor GetColorBackground() const;
    /// Also the grid's Color; fires no OnLayoutChanged.
    void SetColorBackground(TColor color);
    TColor GetColorFixed() const;
    /// Also the grid's FixedColor; fires no OnLayoutChanged.
    void SetColorFixed(TColor color);
    TColor GetColorNormal() const;
    void SetColorNormal(TColor color);
    TColor GetColorSelected() const;
    void SetColorSelected(TColor color);
    TColor GetColorMarkedA() const;
    void SetColorMarkedA(TColor color);
    TColor GetColorMarkedB() const;
    void SetColorMarkedB(TColor color);
    TColor GetColorMarkedBoth() const;
    void SetColorMarkedBoth(TColor color);
    TColor GetColorRangeSelFG() const;
    void SetColorRangeSelFG(TColor color);
    TColor GetColorRangeSelBG() const;
    void SetColorRangeSelBG(TColor color);
    bool GetSuppressPaint() const;
    /// No painting and no change events while on; switching it off repaints at once.
    void SetSuppressPaint(bool on);

    // ---- Cells, in data numbering (1-based) -------------------------------------------

    /// The table itself: the editor's own, or the one assigned from outside.
    TDataTable &Data() const;
    /// Read and written straight in the table: no repaint or event of the editor's own
    /// (the table's change announcement brings OnChange and the repaint).
    double GetElem(int ACol, int ARow) const;
    /// Inline, as a loop filling the table calls it once per value.
    void SetElem(int ACol, int ARow, double Value) { FTable->SetElem(ACol, ARow, Value); }
    uint8_t GetCellState(int ACol, int ARow) const;
    bool IsNumber(int ACol, int ARow) const;
    bool GetIsEmpty(int ACol, int ARow) const;
    /// Sets or clears only the empty flag; fires OnCellStateChanged.
    void SetIsEmpty(int ACol, int ARow, bool empty);
    bool GetElemMarkedA(int ACol, int ARow) const;
    bool GetElemMarkedB(int ACol, int ARow) const;
    /// Outside the table nothing changes, but the editor repaints and fires
    /// OnCellStateChanged all the same.
    void SetElemMarkedA(int ACol, int ARow, bool marked);
    void SetElemMarkedB(int ACol, int ARow, bool marked);

    /// "" outside the table; names are cut to 50 characters. Writing fires
    /// OnHeadingChanged and repaints.
    QString GetColName(int ColNr) const;
    void SetColName(int ColNr, const QString &name);
    QString GetRowName(int RowNr) const;
    void SetRowName(int RowNr, const QString &name);
    /// 0 outside the table. Writing repaints and fires OnAttributeChanged.
    uint8_t GetColAttrib(int ColNr) const;
    void SetColAttrib(int ColNr, uint8_t attrib);
    uint8_t GetRowAttrib(int RowNr) const;
    void SetRowAttrib(int RowNr, uint8_t attrib);

    /// The display precision of a column: -1 scientific, 0..10 decimals; 0 outside.
    int GetDecPlaces(int ColNr) const;
    /// Kept in -1..10; ignored outside the table; repaints, fires OnLayoutChanged.
    void SetDecPlaces(int ColNr, int Dp);

    /// Index > 0: data column; 0: the row names; < 0: the attribute column (0 while
    /// hidden; a width written there is also remembered for showing it again).
    int GetColWidths(int Index) const;
    void SetColWidths(int Index, int width);
    /// Index > 0: data row; 0: the name row; < 0: the attribute row (0 while hidden).
    int GetRowHeights(int Index) const;
    void SetRowHeights(int Index, int height);

    // ---- Dimensions and bulk work -----------------------------------------------------

    /// Both sizes in one resize of the table (each ignored below 1); repaints.
    void Redimension(int NrCols, int NrRows);
    /// Before index `ix`, 1..count + 1; otherwise ignored. A value being typed is
    /// stored first, so it stays with its cell.
    void InsertRow(int ix);
    void InsertColumn(int ix);
    /// 1..count, never the last one left.
    void RemoveRow(int ix);
    void RemoveColumn(int ix);
    /// Every value and state 0, the names "C-1".., "R-1".., every precision 3.
    void Clear();
    /// Every value `value`; the cell states (empty, not-a-number, marks) stay.
    void Fill(double value);
    /// Fills the cells with a state bit of `Statemask`; returns their number.
    int FillMarkedCells(double value, uint8_t Statemask);

    // ---- Cell-state markings ----------------------------------------------------------

    void MarkAllElemsA();
    void MarkAllElemsB();
    void UnMarkAllElems();
    void ExchangeMarkings();
    void InvertCellStates(uint8_t StateMask);
    int NrOfMarkedDataA() const;
    int NrOfMarkedDataB() const;
    /// Whether a cell of the row / column is marked A or B; false outside the table.
    bool IfRowMarked(int row) const;
    bool IfColumnMarked(int col) const;
    bool IfAnyMarked() const;

    // ---- Layout -----------------------------------------------------------------------

    /// Sets column `ColNr` (-1: attribute column, 0: row names) as wide as its widest
    /// text plus `Addon` + 8 pixels (at least 4) and returns the width; 0 for a column
    /// that does not exist.
    int AutoColWidth(int ColNr, bool IncludeHeader, int Addon);
    /// Sets row `RowNr` (Index as RowHeights) to a text line plus `Addon` + 2 pixels.
    int AutoRowHeight(int RowNr, int Addon);
    /// "column:row" of the selection's top-left data cell, as the corner cell shows it.
    QString PositionIndicator() const;

    /// The editor shows and edits `NewDTab`, which stays the caller's: it is never
    /// freed by the editor, and the editor stops listening to it when destroyed or
    /// shown another table. Null gives the editor a table of its own again.
    void AssignAnotherDataMatrix(TDataTable *NewDTab);

    /// The text of a cell as drawn (headings, attributes, values, "-nan-").
    QString GetCellText(int col, int row) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // ---- Reordering, look-up, taking over and the clipboard (NVO_ntabed_clip.cpp) ------

    /// Reverse the order of the rows / columns with everything that belongs to them
    /// (a column's precision included); one repaint and one OnChange.
    void MirrorRows();
    void MirrorColumns();
    /// Reorder the columns LowCol..HighCol by their values in row `SortRowIx`; only
    /// the cells of rows LowRow..HighRow move, and with `IncludeHeaders` the columns'
    /// names, attributes and precisions as well. Cells that hold no number (empty,
    /// not a number, not finite) go last in either direction; equal keys keep their
    /// order. The ranges are kept within the table; a sort row outside it sorts
    /// nothing. One pass over the table, one repaint, one OnChange (and one
    /// OnHeadingChanged when the headers moved).
    void SortCols(int SortRowIx, bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow,
                  bool IncludeHeaders);
    /// The same for the rows LowRow..HighRow by their values in column `SortColIx`.
    void SortRows(int SortColIx, bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow,
                  bool IncludeHeaders);
    /// Reorder columns / rows by their attribute bytes; headers move with the cells.
    void SortColAttributes(bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow);
    void SortRowAttributes(bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow);
    /// Reorder columns / rows by their names (by character codes, case counting
    /// unless `IgnoreCase`); headers move with the cells.
    void SortColNames(bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow);
    void SortColNames(bool Ascending, bool IgnoreCase, int LowCol, int LowRow, int HighCol, int HighRow);
    void SortRowNames(bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow);
    void SortRowNames(bool Ascending, bool IgnoreCase, int LowCol, int LowRow, int HighCol, int HighRow);
    /// The number of the first column / row with exactly that name (cut to 50
    /// characters as names are); 0 when there is none.
    int FindColIndex(const QString &ColID) const;
    int FindRowIndex(const QString &RowID) const;
    /// Take over the whole table of `ExtTab` (size, cells, names, attributes, scale
    /// types, identifiers, comment) and its precisions / only the states of the cells
    /// both tables have. The other editor is not changed.
    void CopyContentsFrom(const TNTabEd &ExtTab);
    void CopyCellStatesFrom(const TNTabEd &ExtTab);
    /// Sets the whole state byte of a cell; repaints and fires OnCellStateChanged.
    /// Ignored outside the table.
    void SetCellState(int ACol, int ARow, uint8_t State);
    /// Copy: the selected block goes to the clipboard as text (" v\tv\r\n" per row,
    /// "####" for a cell that holds no number or no finite value, full precision
    /// with ClipboardUseFullPrec) and into the editor's copy buffer with its states.
    void PopupMenuClickCopy();
    /// Paste: the copy buffer at the selection's top-left cell, clipped to the table;
    /// the pasted block becomes the selection. Nothing before the first Copy, and
    /// nothing while DataReadOnly. Fires OnChange, OnCellStateChanged, OnPaste.
    void PopupMenuClickPaste();
    /// Extract from Clipboard: the numbers of the clipboard text, line by line, from
    /// the selection's top-left cell on, clipped to the table; the extracted block
    /// becomes the selection. Nothing without text holding a number, and nothing while
    /// DataReadOnly. Fires OnChange and OnPaste.
    void PopupMenuClickExtClip();
    /// The size of the block of numbers on the clipboard (lines up to the last one
    /// holding a number, the longest line's count); true when it holds a number,
    /// otherwise false with 1 x 1.
    bool GetClipMatrixSize(int &NCols, int &NRows) const;
    /// A block was copied, so Paste has something to put back.
    bool GetDataCopyAvail() const;

    // ---- Events -----------------------------------------------------------------------

    TNotifyEvent OnChange;
    TNotifyEvent OnChangeSetup;
    TNotifyEvent OnHeadingChanged;
    TNotifyEvent OnAttributeChanged;
    TNotifyEvent OnLayoutChanged;
    TNotifyEvent OnCellStateChanged;
    TNotifyEvent OnSelectionChanged;
    TNotifyEvent OnTopLeftChanged;
    TNotifyEvent OnPaste;
    /// The table's progress while it copies itself, with the editor as Sender; never
    /// suppressed.
    TOnPercentDoneEvent OnPercentDone;
    TGetEditEvent OnGetEditText;
    TSetEditEvent OnSetEditText;
    /// Before a data cell is drawn: what the handler leaves in Text, the colours and
    /// the styles is drawn; the table is not changed.
    TBeforeRenderCellEvent OnBeforeRenderCell;

    // ---- Popup menus and the in-place editors of headings and the comment -------------
    //
    // A right click on a data cell opens the data menu ("PopupDTAction", items "DIt1"..
    // "DIt12", marking submenus "M1It", "M2It", "U1It", "U2It" 1..4), on a heading the
    // heading menu ("PopupHTAction", "HIt1".."HIt5"); the context-menu key and Shift+F10
    // open the data menu at the current cell. Both menus stay closed with
    // BlockInternalPopup, and while the application handles the editor's context menu
    // itself: any contextMenuPolicy other than Qt::DefaultContextMenu (a
    // customContextMenuRequested handler, the widget's own actions, or none at all).
    // A read-only editor disables Clear, Paste, Extract, Toggle Empty State and every
    // insert and delete, and those commands refuse to run, also from an application's
    // own menu.

    using TBeforePopupEvent = std::function<void(QObject *Sender, QMenu *PMenu)>;

    /// Bit k - 1 enables data-menu item k (1..12); fires OnChangeSetup.
    int GetPopupDMask() const;
    void SetPopupDMask(int mask);
    /// Bit k - 1 enables heading-menu item k (1..5); fires OnChangeSetup.
    int GetPopupHMask() const;
    void SetPopupHMask(int mask);
    /// Captions of data-menu item ix (1..12) and heading-menu item ix (1..5), cut to 50
    /// characters; "" outside, and writing outside is ignored.
    QString GetPopupDCaptions(int ix) const;
    void SetPopupDCaptions(int ix, const QString &caption);
    QString GetPopupHCaptions(int ix) const;
    void SetPopupHCaptions(int ix, const QString &caption);
    /// Item ix (1..4) of both marking submenus / both unmarking submenus.
    QString GetPopupMCaptions(int ix) const;
    void SetPopupMCaptions(int ix, const QString &caption);
    QString GetPopupUCaptions(int ix) const;
    void SetPopupUCaptions(int ix, const QString &caption);
    /// The built-in menus, owned by the editor.
    QMenu *PopupD() const;
    QMenu *PopupH() const;

    // The commands of the menus; they act on the cell of the last mouse-down (or of
    // the context-menu key) and on the selection, and can be attached to an
    // application's own menus: a triggered signal connects to them directly.
    void PopupMenuClickMarkARange();
    void PopupMenuClickMarkAColumn();
    void PopupMenuClickMarkARow();
    void PopupMenuClickMarkAAll();
    void PopupMenuClickMarkBRange();
    void PopupMenuClickMarkBColumn();
    void PopupMenuClickMarkBRow();
    void PopupMenuClickMarkBAll();
    void PopupMenuClickUnMarkARange();
    void PopupMenuClickUnMarkAColumn();
    void PopupMenuClickUnMarkARow();
    void PopupMenuClickUnMarkAAll();
    void PopupMenuClickUnMarkBRange();
    void PopupMenuClickUnMarkBColumn();
    void PopupMenuClickUnMarkBRow();
    void PopupMenuClickUnMarkBAll();
    void PopupMenuClickUnMarkAll();
    /// Value 0 and state 0 in every selected cell; fires OnPaste, OnChange, OnCellStateChanged.
    void PopupMenuClickClear();
    /// Toggles DataReadOnly; fires OnChangeSetup.
    void PopupMenuClickEdit();
    void PopupMenuClickSelAll();
    /// Inverts the empty flag of every selected cell.
    void PopupMenuClickEmptyCells();
    /// Opens the name editor on the clicked heading: name or attribute.
    void PopupMenuClickChangeID();
    /// Steps the clicked column's precision down (10, 9, .., 0, -1, 10, ..) and opens
    /// the heading menu again, so that the user can keep stepping.
    void PopupMenuClickPrecision();
    void PopupMenuClickSelectCol();
    void PopupMenuClickSelectRow();
    /// Inserts a column / row named "(...)" before the clicked one.
    void PopupMenuClickInsertCol();
    void PopupMenuClickInsertRow();
    /// Removes the clicked column / row (never the last one); fires OnChangeSetup.
    void PopupMenuClickDeleteCol();
    void PopupMenuClickDeleteRow();
    /// Before the data menu shows: Paste's enable rule.
    void PopupMenuDLoadPopup();
    /// Enter stores the name editor's text (a name, or an attribute read as a number,
    /// kept in 0..255 and rounded half to even), Escape drops it; both close it.
    /// Returns whether the key closed the editor.
    bool NameEdKeyPress(int Key);
    /// Enter stores the memo's text, lines and all, as the comment (fires OnChange),
    /// Escape drops it; both close it. Returns whether the key closed the memo.
    bool CommentMemoKeyPress(int Key);
    /// The name editor / comment memo, while open; null otherwise.
    QLineEdit *NameEditor() const;
    QPlainTextEdit *CommentMemo() const;

    /// Called with a built-in menu just before it opens; may change its items.
    TBeforePopupEvent OnBeforePopup;

protected:
    void Paint(TCanvas &canvas) override;
    void DrawCell(TCanvas &canvas, int col, int row, const QRect &rect, TGridDrawState state) override;
    void TopLeftChanged() override;
    QString GetEditText(int col, int row) override;
    void SetEditText(int col, int row, const QString &value) override;
    TEditStyle GetEditStyle(int col, int row) override;
    void GetPickListItems(int col, int row, QStringList &items) override;
    bool CanEditShow() const override;
    /// Tab moves along the row, as in a spreadsheet, whatever Options says.
    bool TakesTabKeys() const override { return true; }
    void KeyPressed(QKeyEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    struct Private;
    class TSuppressScope;
    class TDetachDataScope;
    /// One axis of the grid, so that rows and columns share their code.
    struct TAxis;
    static const TAxis kColAxis;
    static const TAxis kRowAxis;

    bool Suppressed() const;
    void Repaint();
    // The one routine per change event, silent while painting is suppressed.
    void ChangedData();
    void ChangedSetup();
    void ChangedHeading();
    void ChangedAttrib();
    void ChangedLayout();
    void ChangedCellStates();
    void ChangedSelection();
    void CheckSelection();

    void AttachTable(TDataTable *table);
    void DetachTable();
    void UpdateDataLink();
    void TableResized(int OldCols, int OldRows, int NewCols, int NewRows);
    void TableExchanged(Qt::Orientation Orientation, int Index1, int Index2);
    void ChangeStates(const std::function<void()> &change);
    void ChangeColor(TColor &field, TColor color);
    void ChangeLayoutFlag(bool &field, bool on);

    int ColOffset() const;
    int RowOffset() const;
    /// The grid index of a data index (> 0), the name cells (0) or the attribute cells
    /// (< 0) of an axis; -1 for a data index beyond the table or a hidden attribute.
    int GridIndex(const TAxis &axis, int Index) const;
    int AxisSize(const TAxis &axis, int Index) const;
    bool SetAxisSize(const TAxis &axis, int Index, int size);
    void ShowAttribCells(const TAxis &axis, bool on, int shownSize);
    /// Moves the cell the table just added at the end of the axis to data index `ix`,
    /// with size `size`; the sizes after it move along.
    void PlaceInsertedCell(const TAxis &axis, int ix, int size);
    /// Removes data index `ix` through `removeFromTable`, the sizes after it moving along.
    void RemoveCellOf(const TAxis &axis, int ix, const std::function<void()> &removeFromTable);
    void SetMark(int ACol, int ARow, uint8_t bit, bool marked);
    bool AnyMarkIn(int FirstCol, int FirstRow, int LastCol, int LastRow) const;
    /// The grid column of the row attributes / the grid row of the column attributes.
    bool IsRowAttribCol(int col) const;
    bool IsColAttribRow(int row) const;
    /// The data columns / rows the grid has room for (the table's size after a resize).
    int GetNrOfColumnsShown() const;
    int GetNrOfRowsShown() const;
    QString DataCellText(int c, int r) const;
    QString NominalText(int c, double value) const;
    void DrawDataCell(TCanvas &canvas, int c, int r, const QRect &rect, TGridDrawState state);
    void DrawFixedCell(TCanvas &canvas, int col, int row, QRect rect);
    void MoveAfterEnter();

    std::unique_ptr<Private> const d;

    // The popup menus, their commands and the two in-place editors (NVO_ntabed_popup.cpp).
    struct TPopup;
    /// Frees the popup state where it is complete, in its own source file.
    struct TPopupDeleter {
        void operator()(TPopup *popup) const;
    };
    std::unique_ptr<TPopup, TPopupDeleter> FPopup;
    void BuildPopupMenus();
    /// After the grid handled a press: the memo, the menus and the corner's indicator.
    void PopupMouseDown(QMouseEvent *event);
    /// The context-menu key or Shift+F10: the data menu at the current cell.
    bool OpenPopupByKey(const QKeyEvent *event);
    bool InternalPopupAllowed() const;
    bool CommentMemoActive() const;
    /// The inverted outline of the heading whose menu is open.
    void PaintHeadingOutline(TCanvas &canvas);
    void ChangeCells(const std::function<void()> &change);

    // ---- Block operations and the clipboard (NVO_ntabed_clip.cpp) ----------------------
    void TablePermuted(Qt::Orientation Orientation, int First, const std::vector<int> &Order, bool Headings);
    /// Applies `Order` to the columns / rows from `First` on as a sort does.
    void ApplyOrder(Qt::Orientation Orientation, int First, const std::vector<int> &Order, int LowOther,
                    int HighOther, bool Headings);
    /// Sorts the columns / rows of the block by `keyOf(index)`, headers along with
    /// `Headings`; the keys of a value sort are NaN for cells without a number.
    template<class KeyOf>
    void SortBy(Qt::Orientation Orientation, bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow,
                bool Headings, KeyOf keyOf);
    void SortNames(Qt::Orientation Orientation, bool Ascending, bool IgnoreCase, int LowCol, int LowRow, int HighCol,
                   int HighRow);
    /// The selection in data numbering, kept within the table.
    TGridRect SelectedDataBlock() const;
    /// Selects data columns Left.. and rows Top.., `NrCols` x `NrRows`, kept within the table.
    void SelectDataBlock(int Left, int Top, int NrCols, int NrRows);
    TDataTable FDataCopy;        ///< the block Copy took, values and states, for Paste
    bool FDataCopyAvail = false; ///< true from the first Copy on
    /// The table shown: the editor's own or one attached. Outside `d`, so that SetElem
    /// is inline.
    TDataTable *FTable = nullptr;
};

} // namespace nvo

Q_DECLARE_OPERATORS_FOR_FLAGS(nvo::TNTabEd::TFontStyles)
