#include "NVO_Grid.h"

#include <QtCore/QHash>
#include <QtCore/QPointer>
#include <QtGui/QAccessible>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtGui/QWheelEvent>
#include <QtWidgets/QAccessibleWidget>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QScrollBar>

#include <algorithm>
#include <cstdlib>

namespace nvo {

TGridAxis::TGridAxis(int count, int fixed, int defaultSize, int lineWidth)
    : FCount(std::max(count, 1)), FFixed(0), FDefaultSize(std::max(defaultSize, 0)),
      FLineWidth(std::max(lineWidth, 0))
{
    SetFixed(fixed);
}

void TGridAxis::SetCount(int count)
{
    FCount = std::max(count, 1);
    FFixed = std::min(FFixed, FCount - 1);
    FSizes.erase(Find(FCount), FSizes.end());
    Changed();
}

void TGridAxis::SetFixed(int fixed)
{
    FFixed = std::clamp(fixed, 0, FCount - 1);
}

void TGridAxis::SetDefaultSize(int size)
{
    FDefaultSize = std::max(size, 0);
    FSizes.clear();
    Changed();
}

void TGridAxis::SetLineWidth(int width)
{
    FLineWidth = std::max(width, 0);
    Changed();
}

std::vector<TGridAxis::TSize>::const_iterator TGridAxis::Find(int index) const
{
    return std::lower_bound(FSizes.begin(), FSizes.end(), index,
                            [](const TSize &entry, int i) { return entry.Index < i; });
}

int TGridAxis::Size(int index) const
{
    if (index < 0 || index >= FCount)
        return 0;
    const auto it = Find(index);
    return it != FSizes.end() && it->Index == index ? it->Size : FDefaultSize;
}

void TGridAxis::SetSize(int index, int size)
{
    if (index < 0 || index >= FCount)
        return;
    size = std::max(size, 0);
    const auto at = FSizes.begin() + (Find(index) - FSizes.begin());
    const bool present = at != FSizes.end() && at->Index == index;
    if (size == FDefaultSize) {
        if (present)
            FSizes.erase(at);
    } else if (present) {
        at->Size = size;
    } else {
        FSizes.insert(at, TSize{index, size});
    }
    Changed();
}

void TGridAxis::Move(int from, int to)
{
    if (from < 0 || from >= FCount || to < 0 || to >= FCount || from == to)
        return;
    const int moved = Size(from);
    const int step = from < to ? -1 : 1;
    const int low = std::min(from, to), high = std::max(from, to);
    std::vector<TSize> sizes;
    sizes.reserve(FSizes.size() + 1);
    for (const TSize &entry : FSizes) {
        if (entry.Index == from)
            continue;
        const bool between = entry.Index >= low && entry.Index <= high;
        sizes.push_back({between ? entry.Index + step : entry.Index, entry.Size});
    }
    FSizes = std::move(sizes);
    std::sort(FSizes.begin(), FSizes.end(),
              [](const TSize &a, const TSize &b) { return a.Index < b.Index; });
    SetSize(to, moved);
}

qint64 TGridAxis::ExtentOf(int size) const
{
    return size > 0 ? qint64(size) + FLineWidth : 0;
}

qint64 TGridAxis::DefaultExtent() const
{
    return ExtentOf(FDefaultSize);
}

qint64 TGridAxis::Extent(int index) const
{
    return index >= 0 && index < FCount ? ExtentOf(Size(index)) : 0;
}

qint64 TGridAxis::Start(int index) const
{
    index = std::clamp(index, 0, FCount);
    if (!FExtraValid) {
        FExtra.resize(FSizes.size() + 1);
        FExtra[0] = 0;
        for (size_t k = 0; k < FSizes.size(); ++k)
            FExtra[k + 1] = FExtra[k] + ExtentOf(FSizes[k].Size) - DefaultExtent();
        FExtraValid = true;
    }
    return qint64(index) * DefaultExtent() + FExtra[Find(index) - FSizes.begin()];
}

int TGridAxis::IndexAt(qint64 position) const
{
    if (position < 0 || position >= Start(FCount))
        return -1;
    // The last cell that begins at or before the position; it cannot be hidden,
    // since the next cell begins after the position.
    int low = 0, high = FCount - 1;
    while (low < high) {
        const int middle = low + (high - low + 1) / 2;
        if (Start(middle) <= position)
            low = middle;
        else
            high = middle - 1;
    }
    return low;
}

qint64 TGridAxis::ViewStart(int index, int top) const
{
    if (index < 0 || index >= FCount)
        return -1;
    if (index < FFixed)
        return Start(index);
    if (index < top)
        return -1;
    return FixedExtent() + Start(index) - Start(top);
}

int TGridAxis::ViewIndexAt(qint64 position, int top) const
{
    if (position < 0)
        return -1;
    const qint64 fixedExtent = FixedExtent();
    if (position < fixedExtent)
        return IndexAt(position);
    return IndexAt(Start(top) + position - fixedExtent);
}

int TGridAxis::ViewEnd(int top, qint64 length) const
{
    const qint64 scrolled = length - FixedExtent();
    if (scrolled <= 0)
        return top;
    const int last = IndexAt(Start(top) + scrolled - 1);
    return last < 0 ? FCount : last + 1;
}

int TGridAxis::FullyVisible(int top, qint64 length) const
{
    const int end = ViewEnd(top, length);
    int whole = end - top;
    if (whole > 0) {
        const int last = end - 1;
        if (ViewStart(last, top) + Size(last) > length)
            --whole;
    }
    return std::max(whole, 0);
}

int TGridAxis::FirstFrom(qint64 position) const
{
    const int at = IndexAt(std::max<qint64>(position, 0));
    if (at < 0)
        return FCount;
    return Start(at) < position ? at + 1 : at;
}

qint64 TGridAxis::ViewReach(int top, qint64 length) const
{
    const int end = ViewEnd(top, length);
    return end > top ? ViewStart(end - 1, top) + Extent(end - 1) : FixedExtent();
}

int TGridAxis::MaxTop(qint64 length) const
{
    // The last cell's line may fall outside the window.
    const qint64 room = length - FixedExtent() + FLineWidth;
    return std::clamp(FirstFrom(Start(FCount) - room), FFixed, FCount - 1);
}

int TGridAxis::TopToShow(int index, int top, qint64 length) const
{
    if (index < FFixed || index >= FCount)
        return top;
    if (index < top)
        return index;
    const qint64 target = Start(index) + Size(index) - (length - FixedExtent());
    return std::clamp(FirstFrom(target), top, index);
}

int TGridAxis::ClampTop(int top, qint64 length) const
{
    return std::clamp(top, FFixed, MaxTop(length));
}

// ---------------------------------------------------------------------------
// TCustomGrid

namespace {
/// How close to a grid line (in pixels, on either side) a press grabs it for sizing.
constexpr int kSizingReach = 2;
/// Pixel coordinates handed to Qt stay well inside int, whatever the 64-bit layout.
constexpr qint64 kViewLimit = qint64(1) << 30;

qint64 ClampView(qint64 value)
{
    return std::clamp(value, -kViewLimit, kViewLimit);
}

bool IsPrintable(const QKeyEvent *event)
{
    const QString text = event->text();
    return text.size() == 1 && text.front().isPrint()
           && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}
} // namespace

TCustomGrid::TCustomGrid(QWidget *parent) : TScrollControl(parent)
{
    InstallGridAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    setFrameShape(QFrame::StyledPanel);
    for (QScrollBar *bar : {verticalScrollBar(), horizontalScrollBar()}) {
        bar->setSingleStep(1);
        bar->setTracking(false);
    }
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (!FSyncingScrollBars)
            Guarded([&] { SetTopRow(value); });
    });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (!FSyncingScrollBars)
            Guarded([&] { SetLeftCol(value); });
    });
    UpdateScrollBars();
}

TCustomGrid::~TCustomGrid() = default;

// --- properties -------------------------------------------------------------

void TCustomGrid::SetBorderStyle(TBorderStyle style)
{
    if (FBorderStyle == style || !AcceptsEnum(style, "BorderStyle"))
        return;
    FBorderStyle = style;
    setFrameShape(style == bsSingle ? QFrame::StyledPanel : QFrame::NoFrame);
}

void TCustomGrid::SetCol(int col)
{
    MoveCurrent(col, FCurrent.Y, true);
}

void TCustomGrid::SetRow(int row)
{
    MoveCurrent(FCurrent.X, row, true);
}

void TCustomGrid::Reshape(const std::function<void()> &change)
{
    const int oldCols = FCols.Count(), oldRows = FRows.Count();
    change();
    AxesChanged(oldCols, oldRows);
}

void TCustomGrid::SetColCount(int count)
{
    if (std::max(count, 1) != FCols.Count())
        Reshape([&] { FCols.SetCount(count); });
}

void TCustomGrid::SetRowCount(int count)
{
    if (std::max(count, 1) != FRows.Count())
        Reshape([&] { FRows.SetCount(count); });
}

void TCustomGrid::SetFixedCols(int count)
{
    Reshape([&] { FCols.SetFixed(count); });
}

void TCustomGrid::SetFixedRows(int count)
{
    Reshape([&] { FRows.SetFixed(count); });
}

void TCustomGrid::SetColor(TColor color)
{
    Change(FColor, color);
}

void TCustomGrid::SetFixedColor(TColor color)
{
    Change(FFixedColor, color);
}

void TCustomGrid::SetDefaultDrawing(bool on)
{
    Change(FDefaultDrawing, on);
}

void TCustomGrid::SetDropDownRows(int rows)
{
    FDropDownRows = std::max(rows, 1);
}

void TCustomGrid::SetDefaultColWidth(int width)
{
    FCols.SetDefaultSize(width);
    ColWidthsChanged();
    AxesChanged(FCols.Count(), FRows.Count());
}

void TCustomGrid::SetDefaultRowHeight(int height)
{
    FRows.SetDefaultSize(height);
    RowHeightsChanged();
    AxesChanged(FCols.Count(), FRows.Count());
}

void TCustomGrid::SetCellSize(TGridAxis &axis, int index, int size, void (TCustomGrid::*changed)())
{
    if (index < 0 || index >= axis.Count() || axis.Size(index) == std::max(size, 0))
        return;
    axis.SetSize(index, size);
    (this->*changed)();
    AxesChanged(FCols.Count(), FRows.Count());
}

void TCustomGrid::SetColWidths(int col, int width)
{
    SetCellSize(FCols, col, width, &TCustomGrid::ColWidthsChanged);
}

void TCustomGrid::SetRowHeights(int row, int height)
{
    SetCellSize(FRows, row, height, &TCustomGrid::RowHeightsChanged);
}

void TCustomGrid::SetGridLineWidth(int width)
{
    width = std::max(width, 0);
    if (FGridLineWidth == width)
        return;
    FGridLineWidth = width;
    UpdateLineWidths();
}

void TCustomGrid::SetOptions(TGridOptions options)
{
    if (FOptions == options)
        return;
    FOptions = options;
    for (QScrollBar *bar : {verticalScrollBar(), horizontalScrollBar()})
        bar->setTracking(options.testFlag(goThumbTracking));
    if (options.testFlag(goRowSelect) || !options.testFlag(goEditing))
        HideEditor();
    else if (options.testFlag(goAlwaysShowEditor))
        ShowEditor();
    UpdateLineWidths();
}

void TCustomGrid::UpdateLineWidths()
{
    // An axis keeps room for its lines while any of them is drawn.
    const bool vert = FOptions & (goFixedVertLine | goVertLine);
    const bool horz = FOptions & (goFixedHorzLine | goHorzLine);
    FCols.SetLineWidth(vert ? FGridLineWidth : 0);
    FRows.SetLineWidth(horz ? FGridLineWidth : 0);
    AxesChanged(FCols.Count(), FRows.Count());
}

void TCustomGrid::SetScrollBars(TScrollStyle style)
{
    if (FScrollBars == style || !AcceptsEnum(style, "ScrollBars"))
        return;
    FScrollBars = style;
    UpdateScrollBars();
}

void TCustomGrid::SetEditorMode(bool on)
{
    if (on)
        ShowEditor();
    else
        HideEditor();
}

void TCustomGrid::SetTopRow(int row)
{
    SetTopLeft(FTopLeft.X, row);
}

void TCustomGrid::SetLeftCol(int col)
{
    SetTopLeft(col, FTopLeft.Y);
}

int TCustomGrid::GetVisibleColCount() const
{
    return FCols.FullyVisible(FTopLeft.X, viewport()->width());
}

int TCustomGrid::GetVisibleRowCount() const
{
    return FRows.FullyVisible(FTopLeft.Y, viewport()->height());
}

// --- layout upkeep ----------------------------------------------------------

void TCustomGrid::AxesChanged(int oldColCount, int oldRowCount)
{
    const auto inside = [this](TGridCoord cell) {
        return TGridCoord{std::clamp(cell.X, FCols.Fixed(), FCols.Count() - 1),
                          std::clamp(cell.Y, FRows.Fixed(), FRows.Count() - 1)};
    };
    FCurrent = inside(FCurrent);
    FAnchor = inside(FAnchor);
    FTopLeft = {FCols.ClampTop(FTopLeft.X, viewport()->width()),
                FRows.ClampTop(FTopLeft.Y, viewport()->height())};
    if (FCols.Count() != oldColCount || FRows.Count() != oldRowCount)
        SizeChanged(oldColCount, oldRowCount);
    UpdateScrollBars();
    PlaceEditor();
    PaintNow();
}

void TCustomGrid::UpdateScrollBars()
{
    FSyncingScrollBars = true;
    const auto sync = [](QScrollBar *bar, int min, int max, int value, int page) {
        bar->setRange(min, max);
        bar->setPageStep(std::max(page, 1));
        bar->setValue(value);
    };
    sync(verticalScrollBar(), FRows.Fixed(), FRows.MaxTop(viewport()->height()), FTopLeft.Y,
         GetVisibleRowCount());
    sync(horizontalScrollBar(), FCols.Fixed(), FCols.MaxTop(viewport()->width()), FTopLeft.X,
         GetVisibleColCount());
    const bool vert = FScrollBars == ssVertical || FScrollBars == ssBoth;
    const bool horz = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
    setVerticalScrollBarPolicy(vert ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(horz ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    FSyncingScrollBars = false;
}

void TCustomGrid::SetTopLeft(int col, int row)
{
    const TGridCoord topLeft{FCols.ClampTop(col, viewport()->width()),
                             FRows.ClampTop(row, viewport()->height())};
    if (topLeft == FTopLeft)
        return;
    FTopLeft = topLeft;
    UpdateScrollBars();
    PlaceEditor();
    TopLeftChanged();
    PaintNow();
}

void TCustomGrid::ScrollIntoView(int col, int row)
{
    SetTopLeft(FCols.TopToShow(col, FTopLeft.X, viewport()->width()),
               FRows.TopToShow(row, FTopLeft.Y, viewport()->height()));
}

void TCustomGrid::resizeEvent(QResizeEvent *event)
{
    TScrollControl::resizeEvent(event);
    FTopLeft = {FCols.ClampTop(FTopLeft.X, viewport()->width()),
                FRows.ClampTop(FTopLeft.Y, viewport()->height())};
    UpdateScrollBars();
    PlaceEditor();
}

// --- current cell and selection --------------------------------------------

TGridRect TCustomGrid::GetSelection() const
{
    TGridRect r{std::min(FAnchor.X, FCurrent.X), std::min(FAnchor.Y, FCurrent.Y),
                std::max(FAnchor.X, FCurrent.X), std::max(FAnchor.Y, FCurrent.Y)};
    if (FOptions.testFlag(goRowSelect)) {
        r.Left = FCols.Fixed();
        r.Right = FCols.Count() - 1;
    }
    return r;
}

void TCustomGrid::SetSelection(const TGridRect &selection)
{
    FAnchor = {selection.Left, selection.Top};
    FCurrent = {selection.Right, selection.Bottom};
    PaintNow();
}

void TCustomGrid::MoveCurrent(int col, int row, bool moveAnchor)
{
    if (col < FCols.Fixed() || col >= FCols.Count() || row < FRows.Fixed() || row >= FRows.Count())
        return;
    const TGridCoord cell{col, row};
    if (cell != FCurrent && !SelectCell(col, row))
        return;
    if (cell != FCurrent)
        CommitEditor();
    FCurrent = cell;
    if (moveAnchor || !FOptions.testFlag(goRangeSelect))
        FAnchor = cell;
    ScrollIntoView(col, row);
    UpdateEditor();
    PaintNow();
}

// --- geometry ---------------------------------------------------------------

QRect TCustomGrid::ViewRect(qint64 left, qint64 top, qint64 right, qint64 bottom) const
{
    left = ClampView(left);
    top = ClampView(top);
    return QRect(QPoint(int(left), int(top)),
                 QPoint(int(ClampView(right)) - 1, int(ClampView(bottom)) - 1));
}

QRect TCustomGrid::CellRect(int col, int row) const
{
    const qint64 x = FCols.ViewStart(col, FTopLeft.X);
    const qint64 y = FRows.ViewStart(row, FTopLeft.Y);
    if (x < 0 || y < 0 || x >= viewport()->width() || y >= viewport()->height())
        return {};
    return ViewRect(x, y, x + FCols.Size(col), y + FRows.Size(row));
}

TGridCoord TCustomGrid::MouseCoord(int x, int y) const
{
    return {FCols.ViewIndexAt(x, FTopLeft.X), FRows.ViewIndexAt(y, FTopLeft.Y)};
}

void TCustomGrid::MouseToCell(int x, int y, int &col, int &row) const
{
    const TGridCoord cell = MouseCoord(x, y);
    col = cell.X;
    row = cell.Y;
}

void TCustomGrid::InvalidateCell(int col, int row)
{
    const QRect r = CellRect(col, row);
    if (!r.isEmpty())
        viewport()->update(r.adjusted(0, 0, FCols.LineWidth(), FRows.LineWidth()));
}

void TCustomGrid::InvalidateRow(int row)
{
    const qint64 y = FRows.ViewStart(row, FTopLeft.Y);
    if (y >= 0)
        viewport()->update(ViewRect(0, y, viewport()->width(), y + FRows.Extent(row)));
}

void TCustomGrid::InvalidateCol(int col)
{
    const qint64 x = FCols.ViewStart(col, FTopLeft.X);
    if (x >= 0)
        viewport()->update(ViewRect(x, 0, x + FCols.Extent(col), viewport()->height()));
}

void TCustomGrid::InvalidateGrid()
{
    viewport()->update();
}

void TCustomGrid::MoveCell(TGridAxis &axis, int from, int to, void (TCustomGrid::*moved)(int, int))
{
    if (from < 0 || from >= axis.Count() || to < 0 || to >= axis.Count() || from == to)
        return;
    axis.Move(from, to);
    (this->*moved)(from, to);
    AxesChanged(FCols.Count(), FRows.Count());
}

void TCustomGrid::MoveColumn(int from, int to)
{
    MoveCell(FCols, from, to, &TCustomGrid::ColumnMoved);
}

void TCustomGrid::MoveRow(int from, int to)
{
    MoveCell(FRows, from, to, &TCustomGrid::RowMoved);
}

// --- painting ---------------------------------------------------------------

void TCustomGrid::Paint(TCanvas &canvas)
{
    const int colEnd = FCols.ViewEnd(FTopLeft.X, viewport()->width());
    const int rowEnd = FRows.ViewEnd(FTopLeft.Y, viewport()->height());
    FillBackground(canvas);
    // Lines first, as the original grid drew them: a cell that draws beyond its
    // rectangle (a caption over several columns, a button frame on its lines)
    // covers them instead of being crossed by them.
    PaintLines(canvas, colEnd, rowEnd);
    PaintCells(canvas, colEnd, rowEnd);
    PaintFocus(canvas);
}

void TCustomGrid::FillBackground(TCanvas &canvas)
{
    const int w = viewport()->width(), h = viewport()->height();
    canvas.Brush.SetColor(FColor);
    canvas.FillRect(0, 0, w, h);
    // The fixed bands, gaps included, as far as cells reach.
    const qint64 right = FCols.ViewReach(FTopLeft.X, w);
    const qint64 bottom = FRows.ViewReach(FTopLeft.Y, h);
    canvas.Brush.SetColor(FFixedColor);
    canvas.FillRect(ViewRect(0, 0, right, FRows.FixedExtent()));
    canvas.FillRect(ViewRect(0, 0, FCols.FixedExtent(), bottom));
}

TCustomGrid::TGridDrawState TCustomGrid::CellState(int col, int row, const TGridRect &selection) const
{
    if (col < FCols.Fixed() || row < FRows.Fixed())
        return gdFixed;
    TGridDrawState state;
    if (selection.Contains(col, row))
        state |= gdSelected;
    if (FCurrent == TGridCoord{col, row} && HasFocusInside())
        state |= gdFocused;
    return state;
}

void TCustomGrid::PaintCells(TCanvas &canvas, int colEnd, int rowEnd)
{
    const TGridRect selection = GetSelection();
    const bool focusSelected = FOptions & (goDrawFocusSelected | goRowSelect);
    const QFont font = canvas.Font.Font;
    const auto paintRow = [&](int row) {
        const qint64 y = FRows.ViewStart(row, FTopLeft.Y);
        const int height = FRows.Size(row);
        if (height == 0)
            return;
        const auto paintCell = [&](int col) {
            const int width = FCols.Size(col);
            if (width == 0)
                return;
            const qint64 x = FCols.ViewStart(col, FTopLeft.X);
            const QRect rect = ViewRect(x, y, x + width, y + height);
            const TGridDrawState state = CellState(col, row, selection);
            if (FDefaultDrawing) {
                const bool highlight = state.testFlag(gdSelected)
                                       && (!state.testFlag(gdFocused) || focusSelected);
                canvas.Brush.SetColor(state.testFlag(gdFixed) ? FFixedColor
                                      : highlight             ? clr::Highlight
                                                              : FColor);
                canvas.Font.Color = highlight ? clr::HighlightText : clr::WindowText;
                canvas.FillRect(rect);
            }
            canvas.Font.Font = font;
            DrawCell(canvas, col, row, rect, state);
        };
        for (int col = 0; col < FCols.Fixed(); ++col)
            paintCell(col);
        for (int col = FTopLeft.X; col < colEnd; ++col)
            paintCell(col);
    };
    for (int row = 0; row < FRows.Fixed(); ++row)
        paintRow(row);
    for (int row = FTopLeft.Y; row < rowEnd; ++row)
        paintRow(row);
}

void TCustomGrid::PaintLines(TCanvas &canvas, int colEnd, int rowEnd)
{
    const int colLine = FCols.LineWidth(), rowLine = FRows.LineWidth();
    const qint64 fixedRight = FCols.FixedExtent(), fixedBottom = FRows.FixedExtent();
    const qint64 right = FCols.ViewReach(FTopLeft.X, viewport()->width());
    const qint64 bottom = FRows.ViewReach(FTopLeft.Y, viewport()->height());
    const TColor normalLine = ColorToRGB(FColor, canvas.Palette()) == clr::Silver ? clr::Gray
                                                                                   : clr::Silver;
    const auto fill = [&](TColor color, qint64 l, qint64 t, qint64 r, qint64 b) {
        if (l < r && t < b) {
            canvas.Brush.SetColor(color);
            canvas.FillRect(ViewRect(l, t, r, b));
        }
    };
    // Each line runs through the fixed band (fixed lines) and the scrolled part (the
    // fixed option for a line of a fixed cell, the normal one otherwise). Horizontal
    // lines first: where vertical ones are drawn they cross them.
    const auto eachVisible = [](const TGridAxis &axis, int top, int end, auto &&work) {
        for (int i = 0; i < axis.Fixed(); ++i)
            work(i, axis.ViewStart(i, top));
        for (int i = top; i < end; ++i)
            work(i, axis.ViewStart(i, top));
    };
    if (rowLine > 0) {
        eachVisible(FRows, FTopLeft.Y, rowEnd, [&](int row, qint64 y) {
            if (FRows.Size(row) == 0)
                return;
            const qint64 lineTop = y + FRows.Size(row);
            const bool fixedRow = row < FRows.Fixed();
            if (FOptions.testFlag(goFixedHorzLine))
                fill(clr::Black, 0, lineTop, fixedRow ? right : fixedRight, lineTop + rowLine);
            if (FOptions.testFlag(fixedRow ? goFixedHorzLine : goHorzLine))
                fill(fixedRow ? clr::Black : normalLine, fixedRight, lineTop, right,
                     lineTop + rowLine);
        });
    }
    if (colLine > 0) {
        eachVisible(FCols, FTopLeft.X, colEnd, [&](int col, qint64 x) {
            if (FCols.Size(col) == 0)
                return;
            const qint64 lineLeft = x + FCols.Size(col);
            const bool fixedCol = col < FCols.Fixed();
            if (FOptions.testFlag(goFixedVertLine))
                fill(clr::Black, lineLeft, 0, lineLeft + colLine, fixedCol ? bottom : fixedBottom);
            if (FOptions.testFlag(fixedCol ? goFixedVertLine : goVertLine))
                fill(fixedCol ? clr::Black : normalLine, lineLeft, fixedBottom, lineLeft + colLine,
                     bottom);
        });
    }
}

void TCustomGrid::PaintFocus(TCanvas &canvas)
{
    if (!FDefaultDrawing || !hasFocus() || EditorWidget())
        return;
    QRect focus = CellRect(FCurrent.X, FCurrent.Y);
    if (FOptions.testFlag(goRowSelect)) {
        for (int col = FTopLeft.X; col < FCols.Count(); ++col)
            focus |= CellRect(col, FCurrent.Y);
    }
    if (focus.isEmpty())
        return;
    canvas.Brush.SetColor(clr::WindowText);
    canvas.FrameRect(focus.left(), focus.top(), focus.right() + 1, focus.bottom() + 1);
}

// --- keyboard ---------------------------------------------------------------

bool TCustomGrid::event(QEvent *event)
{
    if (event->type() == QEvent::KeyPress && TakesTabKeys()) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return TScrollControl::event(event);
}

void TCustomGrid::KeyPressed(QKeyEvent *event)
{
    Guarded([&] {
        switch (event->key()) {
        case Qt::Key_F2:
            ShowEditor();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (FEditorMode)
                HideEditor();
            else
                ShowEditor();
            return;
        case Qt::Key_Escape:
            CancelEditor();
            return;
        default:
            break;
        }
        if (IsPrintable(event) && FOptions.testFlag(goEditing) && !FEditorMode) {
            ShowEditor();
            if (QLineEdit *edit = InplaceEditor())
                edit->setText(event->text());
            return;
        }
        MoveByKey(event);
    });
}

void TCustomGrid::MoveByKey(QKeyEvent *event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool rowSelect = FOptions.testFlag(goRowSelect);
    const int firstCol = FCols.Fixed(), lastCol = FCols.Count() - 1;
    const int firstRow = FRows.Fixed(), lastRow = FRows.Count() - 1;
    const int page = std::max(GetVisibleRowCount(), 1);
    TGridCoord to = FCurrent;
    int top = FTopLeft.Y;
    switch (event->key()) {
    case Qt::Key_Up: --to.Y; break;
    case Qt::Key_Down: ++to.Y; break;
    case Qt::Key_Left:
    case Qt::Key_Right: {
        const int step = event->key() == Qt::Key_Left ? -1 : 1;
        // A row-selecting grid has no current column to move: it scrolls instead.
        if (rowSelect) {
            SetLeftCol(FTopLeft.X + step);
            return;
        }
        to.X += step;
        break;
    }
    case Qt::Key_PageUp: to.Y -= page; top -= page; break;
    case Qt::Key_PageDown: to.Y += page; top += page; break;
    case Qt::Key_Home:
        if (ctrl || rowSelect)
            to.Y = firstRow;
        to.X = firstCol;
        break;
    case Qt::Key_End:
        if (ctrl || rowSelect)
            to.Y = lastRow;
        to.X = lastCol;
        break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
        if (!TakesTabKeys())
            return;
        const bool back = event->key() == Qt::Key_Backtab || shift;
        // Tab runs along the row and on into the next; at the ends it stays.
        to.X += back ? -1 : 1;
        if (to.X > lastCol && to.Y < lastRow)
            to = {firstCol, to.Y + 1};
        else if (to.X < firstCol && to.Y > firstRow)
            to = {lastCol, to.Y - 1};
        MoveCurrent(std::clamp(to.X, firstCol, lastCol), to.Y, true);
        return;
    }
    default:
        TScrollControl::KeyPressed(event);
        return;
    }
    to.X = std::clamp(to.X, firstCol, lastCol);
    to.Y = std::clamp(to.Y, firstRow, lastRow);
    if (top != FTopLeft.Y)
        SetTopRow(top);
    MoveCurrent(to.X, to.Y, !(shift && FOptions.testFlag(goRangeSelect)));
}

// --- mouse ------------------------------------------------------------------

TCustomGrid::THit TCustomGrid::HitAt(QPoint pos) const
{
    // A line of a column near the point: the cell under it or the one just left of it.
    const auto lineNear = [](const TGridAxis &axis, int top, qint64 p) {
        for (int index : {axis.ViewIndexAt(p, top), axis.ViewIndexAt(p - kSizingReach, top)}) {
            if (index < 0 || axis.Size(index) == 0)
                continue;
            const qint64 lineStart = axis.ViewStart(index, top) + axis.Size(index);
            if (p >= lineStart - kSizingReach && p < lineStart + axis.LineWidth() + kSizingReach)
                return index;
        }
        return -1;
    };
    const bool inFixedRows = pos.y() < FRows.FixedExtent();
    const bool inFixedCols = pos.x() < FCols.FixedExtent();
    if (inFixedRows && FOptions.testFlag(goColSizing)) {
        if (int col = lineNear(FCols, FTopLeft.X, pos.x()); col >= 0)
            return {gsColSizing, col};
    }
    if (inFixedCols && FOptions.testFlag(goRowSizing)) {
        if (int row = lineNear(FRows, FTopLeft.Y, pos.y()); row >= 0)
            return {gsRowSizing, row};
    }
    const TGridCoord cell = MouseCoord(pos.x(), pos.y());
    if (inFixedRows && !inFixedCols && cell.X >= 0 && FOptions.testFlag(goColMoving))
        return {gsColMoving, cell.X};
    if (inFixedCols && !inFixedRows && cell.Y >= 0 && FOptions.testFlag(goRowMoving))
        return {gsRowMoving, cell.Y};
    return {};
}

void TCustomGrid::mousePressEvent(QMouseEvent *event)
{
    TScrollControl::mousePressEvent(event);
    Guarded([&] {
        if (event->button() != Qt::LeftButton)
            return;
        if (!HasFocusInside())
            setFocus(Qt::MouseFocusReason);
        const QPoint pos = event->position().toPoint();
        const THit hit = HitAt(pos);
        if (hit.State != gsNormal) {
            CommitEditor();
            FGridState = hit.State;
            FDragIndex = hit.Index;
            return;
        }
        const TGridCoord cell = MouseCoord(pos.x(), pos.y());
        if (cell.X < FCols.Fixed() || cell.Y < FRows.Fixed())
            return;
        const bool wasCurrent = cell == FCurrent;
        FGridState = gsSelecting;
        MoveCurrent(cell.X, cell.Y, !(event->modifiers() & Qt::ShiftModifier));
        // A press on the cell that already was current opens its editor.
        if (wasCurrent && FOptions.testFlag(goEditing))
            ShowEditor();
    });
}

void TCustomGrid::mouseMoveEvent(QMouseEvent *event)
{
    TScrollControl::mouseMoveEvent(event);
    Guarded([&] {
        const QPoint pos = event->position().toPoint();
        switch (FGridState) {
        case gsColSizing:
            SetColWidths(FDragIndex, std::max<qint64>(pos.x() - FCols.ViewStart(FDragIndex, FTopLeft.X), 1));
            return;
        case gsRowSizing:
            SetRowHeights(FDragIndex, std::max<qint64>(pos.y() - FRows.ViewStart(FDragIndex, FTopLeft.Y), 1));
            return;
        case gsSelecting:
            if (FOptions.testFlag(goRangeSelect)) {
                const TGridCoord cell = MouseCoord(pos.x(), pos.y());
                if (cell.X >= 0 && cell.Y >= 0 && cell != FCurrent)
                    MoveCurrent(cell.X, cell.Y, false);
            }
            return;
        case gsNormal: {
            const TGridState hover = HitAt(pos).State;
            viewport()->setCursor(hover == gsColSizing   ? Qt::SplitHCursor
                                  : hover == gsRowSizing ? Qt::SplitVCursor
                                                         : Qt::ArrowCursor);
            return;
        }
        default:
            return;
        }
    });
}

void TCustomGrid::mouseReleaseEvent(QMouseEvent *event)
{
    const TGridState state = FGridState;
    FGridState = gsNormal;
    Guarded([&] {
        const TGridCoord cell = MouseCoord(event->position().toPoint().x(), event->position().toPoint().y());
        if (state == gsColMoving && cell.X >= FCols.Fixed())
            MoveColumn(FDragIndex, cell.X);
        else if (state == gsRowMoving && cell.Y >= FRows.Fixed())
            MoveRow(FDragIndex, cell.Y);
    });
    TScrollControl::mouseReleaseEvent(event);
}

void TCustomGrid::wheelEvent(QWheelEvent *event)
{
    Guarded([&] {
        FWheelRest += event->angleDelta().y();
        const QPoint pos = event->position().toPoint();
        while (std::abs(FWheelRest) >= QWheelEvent::DefaultDeltasPerStep) {
            const bool down = FWheelRest < 0;
            FWheelRest += down ? QWheelEvent::DefaultDeltasPerStep : -QWheelEvent::DefaultDeltasPerStep;
            const bool handled = down ? DoMouseWheelDown(event->modifiers(), pos)
                                      : DoMouseWheelUp(event->modifiers(), pos);
            if (!handled) {
                const int lines = QApplication::wheelScrollLines();
                SetTopRow(FTopLeft.Y + (down ? lines : -lines));
            }
        }
    });
    event->accept();
}

void TCustomGrid::focusInEvent(QFocusEvent *event)
{
    TScrollControl::focusInEvent(event);
    InvalidateCell(FCurrent.X, FCurrent.Y);
}

void TCustomGrid::focusOutEvent(QFocusEvent *event)
{
    TScrollControl::focusOutEvent(event);
    InvalidateGrid();
}

bool TCustomGrid::HasFocusInside() const
{
    const QWidget *focus = QApplication::focusWidget();
    return focus && (focus == this || isAncestorOf(focus));
}

// --- in-place editor --------------------------------------------------------

bool TCustomGrid::CanEditShow() const
{
    return FOptions.testFlag(goEditing) && !FOptions.testFlag(goRowSelect) && !Designing()
           && FCurrent.X >= FCols.Fixed() && FCurrent.Y >= FRows.Fixed()
           && FCurrent.X < FCols.Count() && FCurrent.Y < FRows.Count();
}

void TCustomGrid::ShowEditor()
{
    if (!CanEditShow())
        return;
    FEditorMode = true;
    UpdateEditor();
}

void TCustomGrid::HideEditor()
{
    CommitEditor();
    FEditorMode = false;
}

QWidget *TCustomGrid::EditorWidget() const
{
    if (FEdit && FEdit->isVisible())
        return FEdit;
    if (FPickList && FPickList->isVisible())
        return FPickList;
    return nullptr;
}

QLineEdit *TCustomGrid::InplaceEditor() const
{
    QWidget *editor = EditorWidget();
    if (!editor)
        return nullptr;
    return editor == FEdit ? FEdit : FPickList->lineEdit();
}

void TCustomGrid::UpdateEditor()
{
    const bool wanted = (FEditorMode || FOptions.testFlag(goAlwaysShowEditor)) && CanEditShow();
    if (!wanted) {
        CommitEditor();
        return;
    }
    if (EditorWidget() && FEditCell == FCurrent)
        return;
    CommitEditor();
    FEditorMode = true;
    FEditCell = FCurrent;
    FEditStyle = GetEditStyle(FCurrent.X, FCurrent.Y);
    FEditStartText = GetEditText(FCurrent.X, FCurrent.Y);
    QWidget *editor = nullptr;
    if (FEditStyle == esPickList) {
        if (!FPickList) {
            FPickList = new QComboBox(viewport());
            FPickList->setEditable(true);
            FPickList->setInsertPolicy(QComboBox::NoInsert);
            FPickList->setFrame(false);
            FPickList->installEventFilter(this);
            FPickList->lineEdit()->installEventFilter(this);
        }
        QStringList items;
        GetPickListItems(FCurrent.X, FCurrent.Y, items);
        FPickList->clear();
        FPickList->addItems(items);
        FPickList->setMaxVisibleItems(FDropDownRows);
        FPickList->setEditText(FEditStartText);
        editor = FPickList;
    } else {
        if (!FEdit) {
            FEdit = new QLineEdit(viewport());
            FEdit->setFrame(false);
            FEdit->installEventFilter(this);
        }
        FEdit->setText(FEditStartText);
        editor = FEdit;
    }
    editor->show();
    PlaceEditor();
    editor->setFocus(Qt::OtherFocusReason);
    InplaceEditor()->selectAll();
    InvalidateCell(FCurrent.X, FCurrent.Y);
}

void TCustomGrid::PlaceEditor()
{
    QWidget *editor = EditorWidget();
    if (!editor)
        return;
    const QRect cell = CellRect(FEditCell.X, FEditCell.Y);
    // Scrolled out of sight, the editor waits (hidden from the mouse) until it shows again.
    editor->setGeometry(cell.isEmpty() ? QRect(-cell.width() - 10, 0, 1, 1) : cell);
}

void TCustomGrid::CommitEditor()
{
    QLineEdit *edit = InplaceEditor();
    if (!edit)
        return;
    const QString text = edit->text();
    const bool hadFocus = EditorWidget()->hasFocus() || edit->hasFocus();
    EditorWidget()->hide();
    if (hadFocus)
        setFocus(Qt::OtherFocusReason);
    if (text != FEditStartText)
        SetEditText(FEditCell.X, FEditCell.Y, text);
    InvalidateCell(FEditCell.X, FEditCell.Y);
}

void TCustomGrid::CancelEditor()
{
    if (QLineEdit *edit = InplaceEditor())
        edit->setText(FEditStartText);
    HideEditor();
}

void TCustomGrid::EditorFocusOut(Qt::FocusReason reason)
{
    // The focus went to another control (a dialog's OK button, say): what was typed is
    // stored now, as the original grid did on exit, rather than left in an editor that
    // the application does not read. A popup (the pick list's own list, a menu) or
    // another window takes the focus only for a while, and the editing goes on.
    if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason || HasFocusInside()
        || FOptions.testFlag(goAlwaysShowEditor))
        return;
    Guarded([this] { HideEditor(); });
}

bool TCustomGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut && EditorWidget())
        EditorFocusOut(static_cast<QFocusEvent *>(event)->reason());
    if (event->type() != QEvent::KeyPress || !EditorWidget())
        return TScrollControl::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    switch (key->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        // The grid's keys, also while editing (Alt+Down opens the pick list).
        if (key->modifiers() & Qt::AltModifier)
            return false;
        keyPressEvent(key);
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (!TakesTabKeys())
            return false;
        keyPressEvent(key);
        return true;
    default:
        return false;
    }
}

// ---------------------------------------------------------------------------
// TCustomDrawGrid

TCustomDrawGrid::TCustomDrawGrid(QWidget *parent) : TCustomGrid(parent) {}
TCustomDrawGrid::~TCustomDrawGrid() = default;

void TCustomDrawGrid::DrawCell(TCanvas &canvas, int col, int row, const QRect &rect,
                               TGridDrawState state)
{
    if (OnDrawCell)
        OnDrawCell(this, canvas, col, row, rect, state);
}

bool TCustomDrawGrid::SelectCell(int col, int row)
{
    bool canSelect = true;
    if (OnSelectCell)
        OnSelectCell(this, col, row, canSelect);
    return canSelect;
}

void TCustomDrawGrid::TopLeftChanged()
{
    if (OnTopLeftChanged)
        OnTopLeftChanged(this);
}

QString TCustomDrawGrid::GetEditText(int col, int row)
{
    QString value = TCustomGrid::GetEditText(col, row);
    if (OnGetEditText)
        OnGetEditText(this, col, row, value);
    return value;
}

void TCustomDrawGrid::SetEditText(int col, int row, const QString &value)
{
    if (OnSetEditText)
        OnSetEditText(this, col, row, value);
}

void TCustomDrawGrid::ColumnMoved(int from, int to)
{
    if (OnColumnMoved)
        OnColumnMoved(this, from, to);
}

void TCustomDrawGrid::RowMoved(int from, int to)
{
    if (OnRowMoved)
        OnRowMoved(this, from, to);
}

// ---------------------------------------------------------------------------
// Accessibility: a grid is a table; its cells are made when asked for, so that a
// grid of millions of rows costs nothing until assistive technology looks.

namespace {

class TGridAccessible;

class TGridCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface
{
public:
    TGridCellAccessible(TGridAccessible *table, TCustomGrid *grid, int col, int row)
        : FTable(table), FGrid(grid), FCol(col), FRow(row)
    {
    }

    bool isValid() const override { return FGrid && FCol < FGrid->GetColCount() && FRow < FGrid->GetRowCount(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return FGrid ? FGrid->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int) const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        return isValid() && (t == QAccessible::Name || t == QAccessible::Value)
                   ? FGrid->GetCellText(FCol, FRow)
                   : QString();
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect r = FGrid->CellRect(FCol, FRow);
        return r.isEmpty() ? QRect() : QRect(FGrid->viewport()->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override
    {
        const bool fixed = FCol < FGrid->GetFixedCols() || FRow < FGrid->GetFixedRows();
        return fixed ? (FRow < FGrid->GetFixedRows() ? QAccessible::ColumnHeader : QAccessible::RowHeader)
                     : QAccessible::Cell;
    }
    QAccessible::State state() const override
    {
        QAccessible::State st;
        st.selectable = true;
        st.focusable = true;
        st.selected = isSelected();
        st.focused = FGrid && FGrid->GetCol() == FCol && FGrid->GetRow() == FRow;
        st.invisible = rect().isEmpty();
        return st;
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface *>(this)
                                                       : nullptr;
    }

    bool isSelected() const override { return FGrid && FGrid->GetSelection().Contains(FCol, FRow); }
    QList<QAccessibleInterface *> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface *> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return FCol; }
    int rowIndex() const override { return FRow; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface *table() const override;

private:
    TGridAccessible *FTable;
    QPointer<TCustomGrid> FGrid;
    int FCol, FRow;
};

class TGridAccessible : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    explicit TGridAccessible(TCustomGrid *grid) : QAccessibleWidget(grid, QAccessible::Table) {}
    ~TGridAccessible() override
    {
        for (QAccessible::Id id : std::as_const(FCells))
            QAccessible::deleteAccessibleInterface(id);
    }

    TCustomGrid *Grid() const { return static_cast<TCustomGrid *>(widget()); }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return Grid()->GetCellText(Grid()->GetCol(), Grid()->GetRow());
        return QAccessibleWidget::text(t);
    }
    QAccessibleInterface *focusChild() const override
    {
        return const_cast<TGridAccessible *>(this)->cellAt(Grid()->GetRow(), Grid()->GetCol());
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessibleInterface *cellAt(int row, int column) const override
    {
        if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount())
            return nullptr;
        const auto key = qMakePair(row, column);
        if (const auto it = FCells.constFind(key); it != FCells.constEnd())
            return QAccessible::accessibleInterface(*it);
        auto *cell = new TGridCellAccessible(const_cast<TGridAccessible *>(this), Grid(), column, row);
        FCells.insert(key, QAccessible::registerAccessibleInterface(cell));
        return cell;
    }
    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QString columnDescription(int) const override { return {}; }
    QString rowDescription(int) const override { return {}; }
    int columnCount() const override { return Grid()->GetColCount(); }
    int rowCount() const override { return Grid()->GetRowCount(); }
    int selectedCellCount() const override
    {
        const TGridRect r = Selection();
        return r.Right < r.Left ? 0 : (r.Right - r.Left + 1) * (r.Bottom - r.Top + 1);
    }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    QList<QAccessibleInterface *> selectedCells() const override
    {
        // Only the current cell is listed: a selection may span millions of rows.
        return {focusChild()};
    }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent *) override {}

private:
    TGridRect Selection() const
    {
        const TCustomGrid *grid = Grid();
        TGridRect r = grid->GetSelection();
        r.Left = std::max(r.Left, 0);
        r.Top = std::max(r.Top, 0);
        r.Right = std::min(r.Right, grid->GetColCount() - 1);
        r.Bottom = std::min(r.Bottom, grid->GetRowCount() - 1);
        return r.Bottom < r.Top ? TGridRect{0, 0, -1, -1} : r;
    }

    mutable QHash<QPair<int, int>, QAccessible::Id> FCells;
};

QAccessibleInterface *TGridCellAccessible::parent() const
{
    return FTable;
}

QAccessibleInterface *TGridCellAccessible::table() const
{
    return FTable;
}

QAccessibleInterface *GridAccessibleFactory(const QString &, QObject *object)
{
    if (auto *grid = qobject_cast<TCustomGrid *>(object))
        return new TGridAccessible(grid);
    return nullptr;
}

} // namespace

void InstallGridAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(GridAccessibleFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace nvo
