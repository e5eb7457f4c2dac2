#pragma once

#include "NVO_Control.h"
#include "NVO_Global.h"

#include <QtCore/QStringList>
#include <QtCore/QtGlobal>

#include <functional>
#include <vector>

class QComboBox;
class QLineEdit;
class QScrollBar;

namespace nvo {

/// One axis of a grid, its columns or its rows: how many cells there are, how many
/// of them are fixed (never scroll), each cell's size and the grid line that follows
/// it, and the pixel positions that follow from those.
///
/// Rules kept from the original control framework's grid:
/// - an axis has at least one cell, and at least one cell that is not fixed: the
///   fixed count shrinks with the count;
/// - a cell's room is its size plus the line after it; a cell of size 0 is hidden
///   and takes no room, its line included; sizes are never negative;
/// - setting the default size gives every cell that size again.
///
/// Sizes that differ from the default are kept in a sorted list, so an axis of ten
/// million cells costs memory only for its exceptions, and positions are 64-bit, so
/// no sum of sizes overflows.
///
/// Viewed in a window, the fixed cells come first, from position 0, and the cells
/// from the first scrolled one (`top`) follow right after them.
class NVO_EXPORT TGridAxis
{
public:
    TGridAxis(int count, int fixed, int defaultSize, int lineWidth);

    int Count() const { return FCount; }
    void SetCount(int count);
    int Fixed() const { return FFixed; }
    void SetFixed(int fixed);
    int DefaultSize() const { return FDefaultSize; }
    void SetDefaultSize(int size);
    int LineWidth() const { return FLineWidth; }
    void SetLineWidth(int width);

    /// The size of cell `index`; 0 outside the axis.
    int Size(int index) const;
    /// Ignored outside the axis; a negative size counts as 0 (hidden).
    void SetSize(int index, int size);
    /// Moves cell `from` to place `to`, its size with it (the cells between shift by one).
    void Move(int from, int to);
    /// How many cells have a size of their own (what the axis spends memory on).
    int IndividualSizes() const { return int(FSizes.size()); }

    /// The room of cell `index`: its size and the line after it, 0 when hidden.
    qint64 Extent(int index) const;
    /// Where cell `index` (0..Count) begins with all cells laid end to end from 0.
    qint64 Start(int index) const;
    /// The cell whose room holds `position`, or -1 beyond the last cell (or below 0).
    int IndexAt(qint64 position) const;

    /// The room of the fixed cells.
    qint64 FixedExtent() const { return Start(FFixed); }
    /// Where cell `index` begins in a window scrolled to `top`; -1 when scrolled out.
    qint64 ViewStart(int index, int top) const;
    /// The cell at window position `position` when scrolled to `top`; -1 where no cell is.
    int ViewIndexAt(qint64 position, int top) const;
    /// One past the last cell that shows (perhaps in part) in a window of `length`.
    int ViewEnd(int top, qint64 length) const;
    /// Where the room of the last cell that shows ends (its line included).
    qint64 ViewReach(int top, qint64 length) const;
    /// How many scrolled cells from `top` show whole (their line may be cut).
    int FullyVisible(int top, qint64 length) const;
    /// The largest first scrolled cell that still fills a window of `length`: from
    /// there the last cell shows whole at the end of the window.
    int MaxTop(qint64 length) const;
    /// `top` kept inside Fixed..MaxTop(length).
    int ClampTop(int top, qint64 length) const;
    /// The first scrolled cell after the least scrolling from `top` that shows cell
    /// `index` whole (as far as the window is long enough).
    int TopToShow(int index, int top, qint64 length) const;

private:
    struct TSize {
        int Index;
        int Size;
    };
    qint64 DefaultExtent() const;
    /// The first cell that begins at or after `position` (Count when none).
    int FirstFrom(qint64 position) const;
    qint64 ExtentOf(int size) const;
    std::vector<TSize>::const_iterator Find(int index) const;
    void Changed() { FExtraValid = false; }

    int FCount;
    int FFixed;
    int FDefaultSize;
    int FLineWidth;
    std::vector<TSize> FSizes; ///< the cells not of the default size, by index
    /// FExtra[k]: what the first k entries of FSizes add to the default room; made
    /// again on the first position asked after a change.
    mutable std::vector<qint64> FExtra;
    mutable bool FExtraValid = false;
};

/// A cell of a grid: column X, row Y.
struct TGridCoord {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TGridCoord &, const TGridCoord &) = default;
};

/// A block of cells, both corners included.
struct TGridRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool Contains(int col, int row) const
    {
        return col >= Left && col <= Right && row >= Top && row <= Bottom;
    }
    friend bool operator==(const TGridRect &, const TGridRect &) = default;
};

/// The owner-drawn grid the report list, the table editor and the mini calendar are
/// built on, behaving as the original control framework's grid: fixed rows and
/// columns that never scroll, per-column widths and per-row heights, grid lines,
/// scrolling by whole cells, a current cell with a selection, keyboard and mouse
/// navigation, sizing and moving by dragging, and a hosted in-place editor (a line
/// edit, or an editable combo box for pick lists).
///
/// Geometry lives in two TGridAxis values, so a grid of ten million rows costs no
/// more memory or paint time than one of a hundred: only visible cells are painted,
/// and only rows or columns of a size of their own are stored.
///
/// A cell's rectangle excludes the grid line that follows it. An axis keeps room for
/// lines (`GridLineWidth`) while any of its two line options is on, so the gaps stay
/// where the lines of the other region are switched off; such gaps show the
/// background. Fixed lines are drawn black, normal lines silver (grey on a silver
/// background), all before the cells, so a cell may draw over the lines of its
/// neighbours (a caption across several columns). With `DefaultDrawing`, cells are filled before `DrawCell`: fixed
/// cells with `FixedColor`, selected ones with the highlight colour (the focused cell
/// only with `goDrawFocusSelected` or `goRowSelect`), the others with `Color`; the
/// canvas font colour is set to match, and a focus rectangle marks the current cell
/// while the grid has the focus and no editor shows.
///
/// The scroll bars' values are cell indices (`TopRow`, `LeftCol`), not pixels.
class NVO_EXPORT TCustomGrid : public TScrollControl
{
    Q_OBJECT
    /// A sunken border around the grid, or none.
    Q_PROPERTY(TBorderStyle BorderStyle READ GetBorderStyle WRITE SetBorderStyle)
    /// The current cell's column.
    Q_PROPERTY(int Col READ GetCol WRITE SetCol)
    /// Number of columns, fixed ones included.
    Q_PROPERTY(int ColCount READ GetColCount WRITE SetColCount)
    /// The ground of the normal cells.
    Q_PROPERTY(nvo::TColor Color READ GetColor WRITE SetColor)
    /// Width of every column that has no width of its own.
    Q_PROPERTY(int DefaultColWidth READ GetDefaultColWidth WRITE SetDefaultColWidth)
    /// Cells filled (and the current one marked) before DrawCell paints them.
    Q_PROPERTY(bool DefaultDrawing READ GetDefaultDrawing WRITE SetDefaultDrawing)
    /// Height of every row that has no height of its own.
    Q_PROPERTY(int DefaultRowHeight READ GetDefaultRowHeight WRITE SetDefaultRowHeight)
    /// Rows a pick list shows without scrolling, at least 1.
    Q_PROPERTY(int DropDownRows READ GetDropDownRows WRITE SetDropDownRows)
    /// The in-place editor shows on the current cell.
    Q_PROPERTY(bool EditorMode READ GetEditorMode WRITE SetEditorMode)
    /// The ground of the fixed cells.
    Q_PROPERTY(nvo::TColor FixedColor READ GetFixedColor WRITE SetFixedColor)
    /// Columns at the left that never scroll.
    Q_PROPERTY(int FixedCols READ GetFixedCols WRITE SetFixedCols)
    /// Rows at the top that never scroll.
    Q_PROPERTY(int FixedRows READ GetFixedRows WRITE SetFixedRows)
    /// Width of the grid lines in pixels.
    Q_PROPERTY(int GridLineWidth READ GetGridLineWidth WRITE SetGridLineWidth)
    /// The first scrolling column shown.
    Q_PROPERTY(int LeftCol READ GetLeftCol WRITE SetLeftCol)
    /// Grid lines, selection, sizing, moving and editing switches.
    Q_PROPERTY(TGridOptions Options READ GetOptions WRITE SetOptions)
    /// The current cell's row.
    Q_PROPERTY(int Row READ GetRow WRITE SetRow)
    /// Number of rows, fixed ones included.
    Q_PROPERTY(int RowCount READ GetRowCount WRITE SetRowCount)
    /// Which scroll bars the grid may show.
    Q_PROPERTY(TScrollStyle ScrollBars READ GetScrollBars WRITE SetScrollBars)
    /// The first scrolling row shown.
    Q_PROPERTY(int TopRow READ GetTopRow WRITE SetTopRow)
    /// Scrolling columns shown in full.
    Q_PROPERTY(int VisibleColCount READ GetVisibleColCount)
    /// Scrolling rows shown in full.
    Q_PROPERTY(int VisibleRowCount READ GetVisibleRowCount)

public:
    enum TGridOption {
        goFixedVertLine = 0x1,       ///< lines between the fixed columns and cells
        goFixedHorzLine = 0x2,       ///< lines between the fixed rows and cells
        goVertLine = 0x4,            ///< lines between the scrolled columns
        goHorzLine = 0x8,            ///< lines between the scrolled rows
        goRangeSelect = 0x10,        ///< Shift+keys and dragging select a block
        goDrawFocusSelected = 0x20,  ///< the focused cell is painted as selected too
        goRowSizing = 0x40,          ///< dragging a line in the fixed columns sizes a row
        goColSizing = 0x80,          ///< dragging a line in the fixed rows sizes a column
        goRowMoving = 0x100,         ///< dragging a fixed-column cell moves its row
        goColMoving = 0x200,         ///< dragging a fixed-row cell moves its column
        goEditing = 0x400,           ///< cells can be edited in place
        goTabs = 0x800,              ///< Tab and Shift+Tab move between cells
        goRowSelect = 0x1000,        ///< whole rows are selected
        goAlwaysShowEditor = 0x2000, ///< the editor shows without F2 or Enter
        goThumbTracking = 0x4000,    ///< scroll while the thumb is dragged, not after
    };
    Q_DECLARE_FLAGS(TGridOptions, TGridOption)
    Q_FLAG(TGridOptions)

    enum TScrollStyle : quint8 { ssNone, ssHorizontal, ssVertical, ssBoth };
    Q_ENUM(TScrollStyle)
    enum TBorderStyle : quint8 { bsNone, bsSingle };
    Q_ENUM(TBorderStyle)
    /// The in-place editor of a cell: a line edit, or a line edit with a pick list.
    enum TEditStyle : quint8 { esSimple, esPickList };
    Q_ENUM(TEditStyle)

    enum TGridDrawStateFlag { gdSelected = 0x1, gdFocused = 0x2, gdFixed = 0x4 };
    Q_DECLARE_FLAGS(TGridDrawState, TGridDrawStateFlag)

    static constexpr TGridOptions kDefaultOptions{goFixedVertLine | goFixedHorzLine | goVertLine
                                                  | goHorzLine | goRangeSelect};

    explicit TCustomGrid(QWidget *parent = nullptr);
    ~TCustomGrid() override;

    TBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle style);
    int GetCol() const { return FCurrent.X; }
    /// Refused onto a fixed column, outside the grid and when SelectCell says no.
    void SetCol(int col);
    int GetColCount() const { return FCols.Count(); }
    /// At least 1; the fixed columns shrink so that one scrolled column stays.
    void SetColCount(int count);
    TColor GetColor() const { return FColor; }
    void SetColor(TColor color);
    int GetDefaultColWidth() const { return FCols.DefaultSize(); }
    /// Every column takes the new width.
    void SetDefaultColWidth(int width);
    bool GetDefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool on);
    int GetDefaultRowHeight() const { return FRows.DefaultSize(); }
    /// Every row takes the new height.
    void SetDefaultRowHeight(int height);
    int GetDropDownRows() const { return FDropDownRows; }
    void SetDropDownRows(int rows);
    bool GetEditorMode() const { return FEditorMode; }
    void SetEditorMode(bool on);
    TColor GetFixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor color);
    int GetFixedCols() const { return FCols.Fixed(); }
    /// Kept below ColCount.
    void SetFixedCols(int count);
    int GetFixedRows() const { return FRows.Fixed(); }
    void SetFixedRows(int count);
    int GetGridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int width);
    int GetLeftCol() const { return FTopLeft.X; }
    /// Kept between the first scrolled column and the last that still fills the window.
    void SetLeftCol(int col);
    TGridOptions GetOptions() const { return FOptions; }
    void SetOptions(TGridOptions options);
    int GetRow() const { return FCurrent.Y; }
    void SetRow(int row);
    int GetRowCount() const { return FRows.Count(); }
    void SetRowCount(int count);
    TScrollStyle GetScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle style);
    int GetTopRow() const { return FTopLeft.Y; }
    void SetTopRow(int row);
    /// The scrolled columns / rows that show whole.
    int GetVisibleColCount() const;
    int GetVisibleRowCount() const;

    int GetColWidths(int col) const { return FCols.Size(col); }
    /// Ignored outside the grid; a width of 0 hides the column, a negative one counts as 0.
    void SetColWidths(int col, int width);
    int GetRowHeights(int row) const { return FRows.Size(row); }
    void SetRowHeights(int row, int height);

    /// The selected block: from the anchor to the current cell, whole rows with
    /// goRowSelect. A block set outside the cells selects none (controls use that to
    /// show no selection); the current cell becomes its bottom-right corner.
    TGridRect GetSelection() const;
    void SetSelection(const TGridRect &selection);

    /// The cell's rectangle on the viewport, without the line after it; empty when
    /// the cell does not show.
    QRect CellRect(int col, int row) const;
    /// The cell under a viewport point; -1 for a coordinate where no cell is.
    TGridCoord MouseCoord(int x, int y) const;
    void MouseToCell(int x, int y, int &col, int &row) const;

    void InvalidateCell(int col, int row);
    void InvalidateRow(int row);
    void InvalidateCol(int col);
    void InvalidateGrid();

    /// Moves column / row `from` to place `to`, with its width / height; fires
    /// ColumnMoved / RowMoved so that the control moves its content along.
    void MoveColumn(int from, int to);
    void MoveRow(int from, int to);

    /// Shows the editor on the current cell when CanEditShow allows, and keeps the
    /// grid in editor mode (the editor follows the current cell) until HideEditor.
    void ShowEditor();
    /// Hands the edited text to SetEditText, hides the editor, leaves editor mode.
    void HideEditor();
    /// The line edit of the shown editor (the pick list's own line edit), or null.
    QLineEdit *InplaceEditor() const;

    /// The text of a cell as screen readers hear it; a control overrides this.
    virtual QString GetCellText(int col, int row) const { return {}; }

protected:
    /// Draws one visible cell on `canvas` (the grid already filled it with
    /// DefaultDrawing). `rect` excludes the line after the cell.
    virtual void DrawCell(TCanvas &canvas, int col, int row, const QRect &rect,
                          TGridDrawState state) = 0;
    /// Asked before a cell becomes current; false keeps the current cell.
    virtual bool SelectCell(int col, int row) { return true; }
    virtual void TopLeftChanged() {}
    virtual void SizeChanged(int oldColCount, int oldRowCount) {}
    virtual void ColWidthsChanged() {}
    virtual void RowHeightsChanged() {}
    virtual void ColumnMoved(int from, int to) {}
    virtual void RowMoved(int from, int to) {}
    /// The text the editor starts with, and where the edited text goes.
    virtual QString GetEditText(int col, int row) { return GetCellText(col, row); }
    virtual void SetEditText(int col, int row, const QString &value) {}
    virtual bool CanEditShow() const;
    virtual TEditStyle GetEditStyle(int col, int row) { return esSimple; }
    /// The items of a pick-list editor.
    virtual void GetPickListItems(int col, int row, QStringList &items) {}
    /// One notch of the wheel; true when handled, else the grid scrolls.
    virtual bool DoMouseWheelDown(Qt::KeyboardModifiers shift, QPoint pos) { return false; }
    virtual bool DoMouseWheelUp(Qt::KeyboardModifiers shift, QPoint pos) { return false; }
    /// Tab and Shift+Tab move between cells (and the focus stays) rather than to the
    /// next control: with goTabs, or always in a grid that wants the keys regardless.
    virtual bool TakesTabKeys() const { return FOptions.testFlag(goTabs); }

    void Paint(TCanvas &canvas) override;
    void KeyPressed(QKeyEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void scrollContentsBy(int dx, int dy) override {}

private:
    enum TGridState : quint8 { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving,
                               gsColMoving };
    /// What a press at a viewport point would start.
    struct THit {
        TGridState State = gsNormal;
        int Index = -1; ///< the line's cell for sizing, the moved cell for moving
    };

    void FillBackground(TCanvas &canvas);
    void PaintCells(TCanvas &canvas, int colEnd, int rowEnd);
    void PaintLines(TCanvas &canvas, int colEnd, int rowEnd);
    void PaintFocus(TCanvas &canvas);
    TGridDrawState CellState(int col, int row, const TGridRect &selection) const;
    QRect ViewRect(qint64 left, qint64 top, qint64 right, qint64 bottom) const;

    void MoveCurrent(int col, int row, bool moveAnchor);
    void ScrollIntoView(int col, int row);
    void SetTopLeft(int col, int row);
    void AxesChanged(int oldColCount, int oldRowCount);
    /// Runs `change` on the axes, then keeps cells, scrolling and editor inside them.
    void Reshape(const std::function<void()> &change);
    void SetCellSize(TGridAxis &axis, int index, int size, void (TCustomGrid::*changed)());
    void MoveCell(TGridAxis &axis, int from, int to, void (TCustomGrid::*moved)(int, int));
    void UpdateLineWidths();
    void UpdateScrollBars();
    void MoveByKey(QKeyEvent *event);
    THit HitAt(QPoint pos) const;
    void UpdateEditor();
    void PlaceEditor();
    void CancelEditor();
    void CommitEditor();
    void EditorFocusOut(Qt::FocusReason reason);
    QWidget *EditorWidget() const;
    bool HasFocusInside() const;

    TGridAxis FCols{5, 1, 64, 1};
    TGridAxis FRows{5, 1, 24, 1};
    TGridCoord FCurrent{1, 1};
    TGridCoord FAnchor{1, 1};
    TGridCoord FTopLeft{1, 1};
    TGridOptions FOptions = kDefaultOptions;
    TColor FColor = clr::Window;
    TColor FFixedColor = clr::BtnFace;
    int FGridLineWidth = 1;
    bool FDefaultDrawing = true;
    TBorderStyle FBorderStyle = bsSingle;
    TScrollStyle FScrollBars = ssBoth;
    int FDropDownRows = 8;

    TGridState FGridState = gsNormal;
    int FDragIndex = -1;
    int FWheelRest = 0;
    bool FSyncingScrollBars = false;

    bool FEditorMode = false;
    TGridCoord FEditCell;
    QString FEditStartText;
    QLineEdit *FEdit = nullptr;     ///< made on first use, a child of the viewport
    QComboBox *FPickList = nullptr; ///< made on first use
    TEditStyle FEditStyle = esSimple;
};

/// A grid whose cells the application draws in `OnDrawCell`, with the cell
/// selection, scrolling, editing and moving reported through events.
class NVO_EXPORT TCustomDrawGrid : public TCustomGrid
{
    Q_OBJECT

public:
    using TDrawCellEvent = std::function<void(QObject *Sender, TCanvas &Canvas, int ACol, int ARow,
                                              const QRect &Rect, TGridDrawState State)>;
    using TSelectCellEvent = std::function<void(QObject *Sender, int ACol, int ARow, bool &CanSelect)>;
    using TGetEditEvent = std::function<void(QObject *Sender, int ACol, int ARow, QString &Value)>;
    using TSetEditEvent = std::function<void(QObject *Sender, int ACol, int ARow, const QString &Value)>;
    using TMovedEvent = std::function<void(QObject *Sender, int FromIndex, int ToIndex)>;

    explicit TCustomDrawGrid(QWidget *parent = nullptr);
    ~TCustomDrawGrid() override;

    TDrawCellEvent OnDrawCell;
    TSelectCellEvent OnSelectCell;
    TNotifyEvent OnTopLeftChanged;
    TGetEditEvent OnGetEditText;
    TSetEditEvent OnSetEditText;
    TMovedEvent OnColumnMoved;
    TMovedEvent OnRowMoved;

protected:
    void DrawCell(TCanvas &canvas, int col, int row, const QRect &rect, TGridDrawState state) override;
    bool SelectCell(int col, int row) override;
    void TopLeftChanged() override;
    QString GetEditText(int col, int row) override;
    void SetEditText(int col, int row, const QString &value) override;
    void ColumnMoved(int from, int to) override;
    void RowMoved(int from, int to) override;
};

/// Makes the grids answer assistive technology as tables (installed once, when the
/// first grid is made).
NVO_EXPORT void InstallGridAccessibility();

} // namespace nvo

Q_DECLARE_OPERATORS_FOR_FLAGS(nvo::TCustomGrid::TGridOptions)
Q_DECLARE_OPERATORS_FOR_FLAGS(nvo::TCustomGrid::TGridDrawState)
