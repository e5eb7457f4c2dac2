#include "NVO_Grid.h"
#include "PixelProbe.h"

#include <QtGui/QAccessible>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QScrollBar>

#include <gtest/gtest.h>

#include <limits>
#include <malloc.h>

using namespace nvo;

namespace {

/// An axis of `count` cells of 10 pixels and 1-pixel lines, `fixed` of them fixed.
TGridAxis Axis(int count, int fixed = 0)
{
    return TGridAxis(count, fixed, 10, 1);
}

} // namespace

TEST(GridAxis, CountsClampAndFixedCellsShrinkWithTheAxis)
{
    struct Case {
        int count, fixed;
        int setCount, setFixed;
        int wantCount, wantFixed;
    };
    const Case cases[] = {
        {5, 1, 5, 1, 5, 1},
        {5, 2, 2, 2, 2, 1},   // fewer cells than fixed ones: one scrolled cell stays
        {5, 2, 0, 0, 1, 0},   // at least one cell
        {5, 2, -7, 2, 1, 0},
        {5, 0, 5, 9, 5, 4},   // fixed beyond the count
        {5, 1, 5, -3, 5, 0},
    };
    for (const Case &c : cases) {
        TGridAxis axis = Axis(c.count, c.fixed);
        axis.SetCount(c.setCount);
        axis.SetFixed(c.setFixed);
        EXPECT_EQ(axis.Count(), c.wantCount) << c.setCount << " " << c.setFixed;
        EXPECT_EQ(axis.Fixed(), c.wantFixed) << c.setCount << " " << c.setFixed;
    }
}

TEST(GridAxis, SizesAreNeverNegativeAndIgnoredOutsideTheAxis)
{
    TGridAxis axis = Axis(5);
    axis.SetSize(1, -4);
    axis.SetSize(5, 30);
    axis.SetSize(-1, 30);
    EXPECT_EQ(axis.Size(1), 0);
    EXPECT_EQ(axis.Size(5), 0);
    EXPECT_EQ(axis.Size(-1), 0);
    EXPECT_EQ(axis.Start(5), 4 * 11); // the hidden cell takes no room, line included
    EXPECT_EQ(axis.IndividualSizes(), 1);
    axis.SetSize(1, 10); // back to the default: no longer kept
    EXPECT_EQ(axis.IndividualSizes(), 0);
}

TEST(GridAxis, PositionsAddSizesAndTheLineAfterEachCell)
{
    TGridAxis axis = Axis(6);
    axis.SetSize(2, 20);
    axis.SetSize(4, 0);
    const qint64 starts[] = {0, 11, 22, 43, 54, 54, 65};
    for (int i = 0; i <= 6; ++i)
        EXPECT_EQ(axis.Start(i), starts[i]) << i;
    struct Hit {
        qint64 position;
        int index;
    };
    // The line after a cell belongs to that cell; a hidden cell is never hit.
    const Hit hits[] = {{0, 0}, {9, 0}, {10, 0}, {11, 1}, {42, 2}, {43, 3}, {53, 3},
                        {54, 5}, {64, 5}, {65, -1}, {-1, -1}};
    for (const Hit &h : hits)
        EXPECT_EQ(axis.IndexAt(h.position), h.index) << h.position;
}

TEST(GridAxis, DefaultSizeResetsEveryCellAndLineWidthMovesPositions)
{
    TGridAxis axis = Axis(4);
    axis.SetSize(1, 30);
    axis.SetLineWidth(2);
    EXPECT_EQ(axis.Start(2), 12 + 32);
    axis.SetDefaultSize(5);
    EXPECT_EQ(axis.Size(1), 5);
    EXPECT_EQ(axis.Start(4), 4 * 7);
    axis.SetLineWidth(0);
    EXPECT_EQ(axis.Start(4), 4 * 5);
}

TEST(GridAxis, ShrinkingDropsTheSizesBeyondTheEnd)
{
    TGridAxis axis = Axis(10);
    axis.SetSize(8, 40);
    axis.SetSize(2, 40);
    axis.SetCount(5);
    axis.SetCount(10);
    EXPECT_EQ(axis.Size(8), 10);
    EXPECT_EQ(axis.Size(2), 40);
}

TEST(GridAxis, MovingACellTakesItsSizeAlong)
{
    TGridAxis axis = Axis(5);
    axis.SetSize(1, 11);
    axis.SetSize(3, 33);
    axis.Move(1, 3);
    const int forward[] = {10, 10, 33, 11, 10};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(axis.Size(i), forward[i]) << i;
    axis.Move(3, 0);
    const int backward[] = {11, 10, 10, 33, 10};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(axis.Size(i), backward[i]) << i;
}

TEST(GridAxis, AWindowShowsFixedCellsThenTheCellsFromTop)
{
    TGridAxis axis = Axis(20, 2);
    EXPECT_EQ(axis.FixedExtent(), 22);
    EXPECT_EQ(axis.ViewStart(1, 5), 11);
    EXPECT_EQ(axis.ViewStart(5, 5), 22);
    EXPECT_EQ(axis.ViewStart(7, 5), 44);
    EXPECT_EQ(axis.ViewStart(4, 5), -1); // scrolled out
    EXPECT_EQ(axis.ViewIndexAt(21, 5), 1);
    EXPECT_EQ(axis.ViewIndexAt(22, 5), 5);
    EXPECT_EQ(axis.ViewIndexAt(1000, 5), -1);
    // A window of 70: 22 fixed, then 48 for cells 5.. (four whole, a fifth in part).
    EXPECT_EQ(axis.ViewEnd(5, 70), 10);
    EXPECT_EQ(axis.FullyVisible(5, 70), 4);
    // The line of a whole cell may be cut off: 22 + 4 * 11 - 1.
    EXPECT_EQ(axis.FullyVisible(5, 65), 4);
    EXPECT_EQ(axis.FullyVisible(5, 64), 3);
}

TEST(GridAxis, TopIsClampedSoThatTheLastPageIsFull)
{
    TGridAxis axis = Axis(20, 2);
    // 20 cells, 2 fixed (22 pixels); a window of 66 leaves room for 4 cells.
    EXPECT_EQ(axis.MaxTop(66), 16);
    EXPECT_EQ(axis.ClampTop(100, 66), 16);
    EXPECT_EQ(axis.ClampTop(0, 66), 2);
    EXPECT_EQ(axis.ClampTop(9, 66), 9);
    // A window larger than all cells: nothing to scroll.
    EXPECT_EQ(axis.MaxTop(1000), 2);
    // A window too small for even the last cell still shows it first.
    EXPECT_EQ(axis.MaxTop(25), 19);
}

TEST(GridAxis, TenMillionTallCellsNeitherOverflowNorCostMemory)
{
    const int count = 10'000'000;
    const int tall = std::numeric_limits<int>::max() / 2;
    TGridAxis axis(count, 1, tall, 2);
    axis.SetSize(count - 1, 7);
    EXPECT_EQ(axis.IndividualSizes(), 1);
    const qint64 total = qint64(count - 1) * (qint64(tall) + 2) + 9;
    EXPECT_EQ(axis.Start(count), total);
    EXPECT_EQ(axis.IndexAt(total - 1), count - 1);
    EXPECT_EQ(axis.IndexAt(total - 10), count - 2);
    EXPECT_EQ(axis.MaxTop(100), count - 1);
}

namespace {

using nvo::test::Grab;
using nvo::test::PixelAt;
using Grid = TCustomGrid;

/// A draw grid whose viewport is the whole widget (no frame, no scroll bars), with
/// cells of 20 x 10 on white and fixed cells on yellow, shown at 200 x 100.
class TestGrid : public TCustomDrawGrid
{
public:
    explicit TestGrid(int width = 200, int height = 100)
    {
        SetBorderStyle(bsNone);
        SetScrollBars(ssNone);
        SetDefaultColWidth(20);
        SetDefaultRowHeight(10);
        SetColor(clr::White);
        SetFixedColor(clr::Yellow);
        resize(width, height);
        show();
    }
    using TCustomGrid::GetEditStyle;
};

TColor Highlight(const QWidget &widget)
{
    return FromQColor(widget.palette().color(QPalette::Active, QPalette::Highlight));
}

void Focus(QWidget &widget)
{
    widget.activateWindow();
    QApplication::setActiveWindow(&widget);
    widget.setFocus();
}

} // namespace

TEST(Grid, CellRectanglesExcludeTheLineAfterThem)
{
    struct Case {
        int lineWidth;
        Grid::TGridOptions options;
        QRect cell11, cell22;
    };
    const Grid::TGridOptions fixedOnly = Grid::goFixedVertLine | Grid::goFixedHorzLine;
    const Case cases[] = {
        {1, Grid::kDefaultOptions, QRect(21, 11, 20, 10), QRect(42, 22, 20, 10)},
        {0, Grid::kDefaultOptions, QRect(20, 10, 20, 10), QRect(40, 20, 20, 10)},
        {2, Grid::kDefaultOptions, QRect(22, 12, 20, 10), QRect(44, 24, 20, 10)},
        // Fixed lines only: the scrolled cells keep their gaps.
        {1, fixedOnly, QRect(21, 11, 20, 10), QRect(42, 22, 20, 10)},
        // No line on an axis: no gap on it.
        {1, Grid::goFixedHorzLine, QRect(20, 11, 20, 10), QRect(40, 22, 20, 10)},
    };
    for (const Case &c : cases) {
        TestGrid grid;
        grid.SetGridLineWidth(c.lineWidth);
        grid.SetOptions(c.options);
        EXPECT_EQ(grid.CellRect(1, 1), c.cell11) << c.lineWidth << " " << int(c.options);
        EXPECT_EQ(grid.CellRect(2, 2), c.cell22) << c.lineWidth << " " << int(c.options);
    }
}

TEST(Grid, FixedLinesAreBlackNormalLinesSilverAndGapsShowTheBackground)
{
    struct Probe {
        int lineWidth;
        Grid::TGridOptions options;
        QPoint at;
        TColor want;
    };
    const Grid::TGridOptions fixedOnly = Grid::goFixedVertLine | Grid::goFixedHorzLine;
    const Probe probes[] = {
        {1, Grid::kDefaultOptions, {20, 5}, clr::Black},   // after fixed column 0
        {1, Grid::kDefaultOptions, {41, 5}, clr::Black},   // between fixed-row cells
        {1, Grid::kDefaultOptions, {30, 10}, clr::Black},  // under fixed row 0
        {1, Grid::kDefaultOptions, {10, 21}, clr::Black},  // in the fixed column
        {1, Grid::kDefaultOptions, {41, 15}, clr::Silver}, // between scrolled cells
        {1, Grid::kDefaultOptions, {30, 21}, clr::Silver},
        {1, Grid::kDefaultOptions, {72, 35}, clr::White},  // a cell
        {1, Grid::kDefaultOptions, {10, 5}, clr::Yellow},  // a fixed cell
        {1, fixedOnly, {41, 15}, clr::White},              // a gap without its line
        {1, fixedOnly, {30, 21}, clr::White},
        {1, fixedOnly, {41, 5}, clr::Black},
        {0, Grid::kDefaultOptions, {20, 5}, clr::Yellow},  // no line at all
        {0, Grid::kDefaultOptions, {20, 35}, clr::White},
        {2, Grid::kDefaultOptions, {21, 5}, clr::Black},
        {2, Grid::kDefaultOptions, {43, 15}, clr::Silver},
        {2, Grid::kDefaultOptions, {44, 37}, clr::White},
        {1, Grid::kDefaultOptions, {150, 80}, clr::White}, // beyond the last cell
    };
    for (const Probe &p : probes) {
        TestGrid grid;
        grid.SetGridLineWidth(p.lineWidth);
        grid.SetOptions(p.options);
        EXPECT_EQ(PixelAt(Grab(&grid), p.at.x(), p.at.y()), p.want)
            << p.lineWidth << " " << int(p.options) << " " << p.at.x() << "," << p.at.y();
    }
}

TEST(Grid, ACellMayDrawOverTheLinesOfItsNeighbours)
{
    // Cell (2, 1) paints itself across column 1 as well, as a caption over several
    // columns does: the lines are drawn first, so none crosses it.
    TestGrid grid;
    grid.OnDrawCell = [&](QObject *, TCanvas &canvas, int col, int row, const QRect &rect,
                          Grid::TGridDrawState) {
        if (col == 2 && row == 1) {
            canvas.Brush.SetColor(clr::Red);
            canvas.FillRect(QRect(grid.CellRect(1, 1).topLeft(), rect.bottomRight()));
        }
    };
    const QImage image = Grab(&grid);
    EXPECT_EQ(PixelAt(image, 41, 15), clr::Red);    // the line between columns 1 and 2
    EXPECT_EQ(PixelAt(image, 62, 15), clr::Silver); // the line after the cell stays
}

TEST(Grid, OnlyVisibleCellsAreDrawnWithTheirStates)
{
    TestGrid grid;
    grid.SetRowCount(1'000'000);
    QList<TGridCoord> cells;
    int fixed = 0;
    grid.OnDrawCell = [&](QObject *, TCanvas &, int col, int row, const QRect &rect,
                          Grid::TGridDrawState state) {
        cells << TGridCoord{col, row};
        EXPECT_EQ(rect, grid.CellRect(col, row));
        fixed += state.testFlag(Grid::gdFixed);
        EXPECT_EQ(state.testFlag(Grid::gdFixed), col == 0 || row == 0);
    };
    grid.SetTopRow(500'000);
    cells.clear();
    fixed = 0;
    Grab(&grid);
    // 5 columns; rows 0 and 500000..500008 (10 rows of 11 pixels in 100, the last in part).
    EXPECT_EQ(cells.size(), 5 * 10);
    EXPECT_EQ(fixed, 5 + 9);
    EXPECT_TRUE(cells.contains(TGridCoord{4, 500'008}));
}

TEST(Grid, SelectedCellsAreHighlightedAndTheFocusedOneOnlyWhenAsked)
{
    TestGrid grid;
    Focus(grid);
    ASSERT_TRUE(grid.hasFocus());
    QTest::keyClick(&grid, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(&grid, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(grid.GetSelection(), (TGridRect{1, 1, 2, 2}));
    const TColor highlight = Highlight(grid);
    QImage image = Grab(&grid);
    EXPECT_EQ(PixelAt(image, 30, 15), highlight);
    EXPECT_EQ(PixelAt(image, 52, 15), highlight);
    EXPECT_EQ(PixelAt(image, 30, 26), highlight);
    EXPECT_EQ(PixelAt(image, 52, 26), clr::White); // the focused cell
    EXPECT_EQ(PixelAt(image, 73, 26), clr::White); // outside the selection
    EXPECT_EQ(PixelAt(image, 42, 22), clr::Black); // the focus rectangle's corner
    grid.SetOptions(grid.GetOptions() | Grid::goDrawFocusSelected);
    EXPECT_EQ(PixelAt(Grab(&grid), 52, 26), highlight);
}

TEST(Grid, CountsAndSizesAreClampedNeverOutOfRange)
{
    TestGrid grid;
    grid.SetFixedRows(9);
    EXPECT_EQ(grid.GetFixedRows(), 4);
    grid.SetRowCount(2);
    EXPECT_EQ(grid.GetFixedRows(), 1);
    grid.SetColCount(-3);
    EXPECT_EQ(grid.GetColCount(), 1);
    EXPECT_EQ(grid.GetFixedCols(), 0);
    EXPECT_EQ(grid.GetCol(), 0);
    grid.SetRowCount(0);
    EXPECT_EQ(grid.GetRowCount(), 1);
    EXPECT_EQ(grid.GetRow(), 0);

    TestGrid hidden;
    hidden.SetColWidths(1, -5);
    EXPECT_EQ(hidden.GetColWidths(1), 0);
    EXPECT_TRUE(hidden.CellRect(1, 1).isEmpty());
    EXPECT_EQ(hidden.CellRect(2, 1).left(), 21); // the hidden column takes no room
}

TEST(Grid, CurrentCellRefusesFixedAndOutsideCellsAndAsksSelectCell)
{
    TestGrid grid;
    grid.SetCol(0);
    grid.SetRow(99);
    EXPECT_EQ(grid.GetCol(), 1);
    EXPECT_EQ(grid.GetRow(), 1);
    grid.OnSelectCell = [](QObject *, int col, int, bool &canSelect) { canSelect = col != 3; };
    grid.SetCol(3);
    EXPECT_EQ(grid.GetCol(), 1);
    grid.SetCol(4);
    EXPECT_EQ(grid.GetCol(), 4);
}

TEST(Grid, TopRowIsClampedSoThatTheLastPageIsFull)
{
    TestGrid grid;
    grid.SetRowCount(20);
    int changes = 0;
    grid.OnTopLeftChanged = [&](QObject *) { ++changes; };
    grid.SetTopRow(1000);
    // 100 pixels: row 0 and 8 whole rows of 11 (the last line falls outside).
    EXPECT_EQ(grid.GetTopRow(), 12);
    EXPECT_EQ(grid.CellRect(0, 19).bottom(), 97);
    EXPECT_EQ(grid.GetVisibleRowCount(), 8);
    grid.SetTopRow(-4);
    EXPECT_EQ(grid.GetTopRow(), 1);
    EXPECT_EQ(changes, 2);
    grid.SetLeftCol(99); // every column shows: nothing to scroll
    EXPECT_EQ(grid.GetLeftCol(), 1);
}

TEST(Grid, TenMillionRowsAreCheapAndScrollToTheEnd)
{
    TestGrid grid;
    grid.SetRowCount(10'000'000);
    grid.SetRowHeights(9'999'998, 1'000'000'000);
    grid.SetRowHeights(5, 1'000'000'000);
    QTest::keyClick(&grid, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(grid.GetRow(), 9'999'999);
    EXPECT_EQ(grid.GetCol(), 4);
    EXPECT_EQ(grid.GetTopRow(), 9'999'999 - grid.GetVisibleRowCount() + 1);
    EXPECT_FALSE(grid.CellRect(4, 9'999'999).isEmpty());
    int drawn = 0;
    grid.OnDrawCell = [&](QObject *, TCanvas &, int, int, const QRect &, Grid::TGridDrawState) { ++drawn; };
    Grab(&grid);
    EXPECT_LE(drawn, 5 * 10);
    QTest::keyClick(&grid, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(grid.GetTopRow(), 1);
}

TEST(Grid, KeysMoveTheCurrentCellAsTheOriginalGrid)
{
    struct Case {
        TGridCoord from;
        int key;
        Qt::KeyboardModifiers modifiers;
        Grid::TGridOptions extra;
        TGridCoord want;
    };
    const Case cases[] = {
        {{1, 1}, Qt::Key_Down, {}, {}, {1, 2}},
        {{1, 1}, Qt::Key_Right, {}, {}, {2, 1}},
        {{1, 1}, Qt::Key_Up, {}, {}, {1, 1}},
        {{1, 1}, Qt::Key_Left, {}, {}, {1, 1}},
        {{2, 3}, Qt::Key_End, {}, {}, {4, 3}},
        {{3, 3}, Qt::Key_Home, {}, {}, {1, 3}},
        {{2, 2}, Qt::Key_End, Qt::ControlModifier, {}, {4, 49}},
        {{3, 3}, Qt::Key_Home, Qt::ControlModifier, {}, {1, 1}},
        {{1, 1}, Qt::Key_PageDown, {}, {}, {1, 9}},
        {{1, 20}, Qt::Key_PageUp, {}, {}, {1, 12}},
        {{1, 1}, Qt::Key_Tab, {}, Grid::goTabs, {2, 1}},
        {{4, 1}, Qt::Key_Tab, {}, Grid::goTabs, {1, 2}},
        {{1, 2}, Qt::Key_Backtab, {}, Grid::goTabs, {4, 1}},
        {{4, 49}, Qt::Key_Tab, {}, Grid::goTabs, {4, 49}},
        {{1, 1}, Qt::Key_Tab, {}, {}, {1, 1}},
        {{2, 3}, Qt::Key_Right, {}, Grid::goRowSelect, {2, 3}},
        {{2, 3}, Qt::Key_End, {}, Grid::goRowSelect, {4, 49}},
    };
    for (const Case &c : cases) {
        TestGrid grid;
        grid.SetRowCount(50);
        grid.SetOptions(grid.GetOptions() | c.extra);
        grid.SetCol(c.from.X);
        grid.SetRow(c.from.Y);
        Focus(grid);
        QTest::keyClick(&grid, Qt::Key(c.key), c.modifiers);
        EXPECT_EQ(grid.GetCol(), c.want.X) << c.key << " from " << c.from.X << "," << c.from.Y;
        EXPECT_EQ(grid.GetRow(), c.want.Y) << c.key << " from " << c.from.X << "," << c.from.Y;
    }
}

TEST(Grid, ShiftExtendsTheSelectionOnlyWithRangeSelect)
{
    TestGrid grid;
    QTest::keyClick(&grid, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(grid.GetSelection(), (TGridRect{1, 1, 1, 2}));
    grid.SetOptions(grid.GetOptions() & ~Grid::goRangeSelect);
    QTest::keyClick(&grid, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(grid.GetSelection(), (TGridRect{1, 3, 1, 3}));
    grid.SetOptions(grid.GetOptions() | Grid::goRowSelect);
    EXPECT_EQ(grid.GetSelection(), (TGridRect{1, 3, 4, 3}));
}

TEST(Grid, MouseClicksSelectAndDragsExtendTheRange)
{
    TestGrid grid;
    QWidget *view = grid.viewport();
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(50, 35)); // cell (2, 3)
    EXPECT_EQ(grid.GetCol(), 2);
    EXPECT_EQ(grid.GetRow(), 3);
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(5, 35)); // a fixed cell
    EXPECT_EQ(grid.GetCol(), 2);
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(25, 15));
    QTest::mouseMove(view, QPoint(70, 25));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(70, 25));
    EXPECT_EQ(grid.GetSelection(), (TGridRect{1, 1, 3, 2}));
    QTest::mouseClick(view, Qt::LeftButton, Qt::ShiftModifier, QPoint(90, 45));
    EXPECT_EQ(grid.GetSelection(), (TGridRect{1, 1, 4, 4}));
}

TEST(Grid, DraggingAFixedLineSizesWhenAllowed)
{
    TestGrid grid;
    QWidget *view = grid.viewport();
    const auto drag = [&](QPoint from, QPoint to) {
        QTest::mousePress(view, Qt::LeftButton, {}, from);
        QTest::mouseMove(view, to);
        QTest::mouseRelease(view, Qt::LeftButton, {}, to);
    };
    drag({41, 5}, {60, 5});
    EXPECT_EQ(grid.GetColWidths(1), 20); // not allowed
    grid.SetOptions(grid.GetOptions() | Grid::goColSizing | Grid::goRowSizing);
    drag({41, 5}, {60, 5});
    EXPECT_EQ(grid.GetColWidths(1), 39);
    drag({5, 21}, {5, 40});
    EXPECT_EQ(grid.GetRowHeights(1), 29);
    drag({80, 35}, {99, 35}); // not on a fixed row: selects instead
    EXPECT_EQ(grid.GetColWidths(2), 20);
}

TEST(Grid, DraggingAFixedCellMovesItsColumnOrRow)
{
    TestGrid grid;
    grid.SetOptions(grid.GetOptions() | Grid::goColMoving | Grid::goRowMoving);
    grid.SetColWidths(1, 30);
    QList<QPair<int, int>> moves;
    grid.OnColumnMoved = [&](QObject *, int from, int to) { moves << qMakePair(from, to); };
    grid.OnRowMoved = [&](QObject *, int from, int to) { moves << qMakePair(-from, -to); };
    QWidget *view = grid.viewport();
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(30, 5));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(85, 5));
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(5, 15));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(5, 40));
    EXPECT_EQ(moves, (QList<QPair<int, int>>{{1, 3}, {-1, -3}}));
    EXPECT_EQ(grid.GetColWidths(3), 30);
    EXPECT_EQ(grid.GetColWidths(1), 20);
}

TEST(Grid, TheWheelScrollsUnlessAControlTakesIt)
{
    TestGrid grid;
    grid.SetRowCount(100);
    const auto wheel = [&](int delta) {
        QWheelEvent event(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid.viewport(), &event);
    };
    wheel(-120);
    EXPECT_EQ(grid.GetTopRow(), 1 + QApplication::wheelScrollLines());
    wheel(120);
    EXPECT_EQ(grid.GetTopRow(), 1);
}

TEST(Grid, ScrollBarsMoveByWholeCells)
{
    TestGrid grid;
    grid.SetScrollBars(Grid::ssBoth);
    grid.SetRowCount(100);
    QScrollBar *bar = grid.verticalScrollBar();
    EXPECT_EQ(bar->minimum(), 1);
    EXPECT_EQ(bar->maximum(), grid.GetRowCount() - grid.GetVisibleRowCount());
    bar->setValue(40);
    EXPECT_EQ(grid.GetTopRow(), 40);
    grid.SetTopRow(7);
    EXPECT_EQ(bar->value(), 7);
    EXPECT_FALSE(bar->hasTracking());
    grid.SetOptions(grid.GetOptions() | Grid::goThumbTracking);
    EXPECT_TRUE(bar->hasTracking());
}

TEST(Grid, TheEditorOpensWithF2AndHandsBackItsTextOnEnter)
{
    TestGrid grid;
    grid.SetOptions(grid.GetOptions() | Grid::goEditing);
    QStringList stored;
    grid.OnGetEditText = [](QObject *, int col, int row, QString &value) {
        value = QStringLiteral("%1:%2").arg(col).arg(row);
    };
    grid.OnSetEditText = [&](QObject *, int col, int row, const QString &value) {
        stored << QStringLiteral("%1:%2=%3").arg(col).arg(row).arg(value);
    };
    Focus(grid);
    QTest::keyClick(&grid, Qt::Key_F2);
    ASSERT_TRUE(grid.GetEditorMode());
    QLineEdit *edit = grid.InplaceEditor();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), QStringLiteral("1:1"));
    EXPECT_EQ(edit->geometry(), grid.CellRect(1, 1));
    QTest::keyClicks(edit, QStringLiteral("xy"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_FALSE(grid.GetEditorMode());
    EXPECT_EQ(grid.InplaceEditor(), nullptr);
    EXPECT_EQ(stored, QStringList{QStringLiteral("1:1=xy")});

    // Escape leaves the cell as it was; Down carries the editor to the next cell.
    QTest::keyClick(&grid, Qt::Key_Return);
    QTest::keyClicks(grid.InplaceEditor(), QStringLiteral("zz"));
    QTest::keyClick(grid.InplaceEditor(), Qt::Key_Escape);
    EXPECT_FALSE(grid.GetEditorMode());
    EXPECT_EQ(stored, QStringList{QStringLiteral("1:1=xy")});
    QTest::keyClick(&grid, Qt::Key_F2);
    QTest::keyClicks(grid.InplaceEditor(), QStringLiteral("q"));
    QTest::keyClick(grid.InplaceEditor(), Qt::Key_Down);
    EXPECT_EQ(grid.GetRow(), 2);
    EXPECT_TRUE(grid.GetEditorMode());
    EXPECT_EQ(grid.InplaceEditor()->text(), QStringLiteral("1:2"));
    EXPECT_EQ(stored.last(), QStringLiteral("1:1=q"));
}

TEST(Grid, LeavingForAnotherControlStoresWhatWasTyped)
{
    QWidget form;
    TestGrid grid;
    grid.setParent(&form);
    QLineEdit other(&form);
    other.move(0, 150);
    form.resize(220, 200);
    form.show();
    grid.SetOptions(grid.GetOptions() | Grid::goEditing);
    QStringList stored;
    grid.OnSetEditText = [&](QObject *, int col, int row, const QString &value) {
        stored << QStringLiteral("%1:%2=%3").arg(col).arg(row).arg(value);
    };
    Focus(form);
    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_F2);
    ASSERT_NE(grid.InplaceEditor(), nullptr);
    QTest::keyClicks(grid.InplaceEditor(), QStringLiteral("xy"));
    other.setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(stored, QStringList{QStringLiteral("1:1=xy")});
    EXPECT_FALSE(grid.GetEditorMode());
    EXPECT_EQ(grid.InplaceEditor(), nullptr);
    EXPECT_TRUE(other.hasFocus()); // storing does not call the focus back
}

TEST(Grid, TheEditorNeedsTheEditingOptionAndNoRowSelect)
{
    TestGrid grid;
    QTest::keyClick(&grid, Qt::Key_F2);
    EXPECT_FALSE(grid.GetEditorMode());
    grid.SetOptions(grid.GetOptions() | Grid::goEditing | Grid::goRowSelect);
    QTest::keyClick(&grid, Qt::Key_F2);
    EXPECT_FALSE(grid.GetEditorMode());
    grid.SetOptions(Grid::goEditing | Grid::goAlwaysShowEditor);
    EXPECT_TRUE(grid.GetEditorMode());
    QTest::keyClick(&grid, Qt::Key_Right);
    ASSERT_NE(grid.InplaceEditor(), nullptr);
    EXPECT_EQ(grid.InplaceEditor()->geometry(), grid.CellRect(2, 1));
}

namespace {
/// A grid whose column 2 edits with a pick list.
class PickGrid : public TestGrid
{
protected:
    TEditStyle GetEditStyle(int col, int row) override { return col == 2 ? esPickList : esSimple; }
    void GetPickListItems(int col, int row, QStringList &items) override
    {
        items = {QStringLiteral("low"), QStringLiteral("high")};
    }
};
} // namespace

TEST(Grid, APickListEditorOffersTheControlsItems)
{
    PickGrid grid;
    grid.SetOptions(grid.GetOptions() | Grid::goEditing);
    grid.SetDropDownRows(5);
    grid.SetCol(2);
    QTest::keyClick(&grid, Qt::Key_F2);
    QLineEdit *edit = grid.InplaceEditor();
    ASSERT_NE(edit, nullptr);
    auto *combo = qobject_cast<QComboBox *>(edit->parentWidget());
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(1), QStringLiteral("high"));
    EXPECT_EQ(combo->maxVisibleItems(), 5);
    QTest::keyClick(edit, Qt::Key_Up); // the grid's key while the list is closed
    EXPECT_EQ(grid.GetRow(), 1);
}

namespace {
/// A grid whose cells read "col,row".
class TextGrid : public TestGrid
{
public:
    QString GetCellText(int col, int row) const override
    {
        return QStringLiteral("%1,%2").arg(col).arg(row);
    }
};
} // namespace

TEST(Grid, AssistiveTechnologySeesATableWithTheCurrentCellsText)
{
    TextGrid grid;
    grid.SetRowCount(10'000'000);
    grid.SetCol(3);
    grid.SetRow(7);
    QAccessibleInterface *table = QAccessible::queryAccessibleInterface(&grid);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->role(), QAccessible::Table);
    EXPECT_EQ(table->text(QAccessible::Value), QStringLiteral("3,7"));
    QAccessibleTableInterface *cells = table->tableInterface();
    ASSERT_NE(cells, nullptr);
    EXPECT_EQ(cells->rowCount(), 10'000'000);
    EXPECT_EQ(cells->columnCount(), 5);
    QAccessibleInterface *cell = cells->cellAt(9'999'999, 4);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->text(QAccessible::Name), QStringLiteral("4,9999999"));
    EXPECT_EQ(cell->role(), QAccessible::Cell);
    EXPECT_EQ(cells->cellAt(0, 2)->role(), QAccessible::ColumnHeader);
    EXPECT_EQ(table->focusChild()->text(QAccessible::Name), QStringLiteral("3,7"));
    EXPECT_EQ(cells->cellAt(10'000'000, 0), nullptr);
}

TEST(Grid, ATenMillionRowGridCostsUnderAMegabyte)
{
    const size_t before = mallinfo2().uordblks;
    {
        TestGrid grid;
        grid.SetRowCount(10'000'000);
        grid.SetTopRow(9'999'000);
        Grab(&grid);
        EXPECT_LT(mallinfo2().uordblks - before, size_t(1) << 20);
    }
}
