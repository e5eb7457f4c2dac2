#include "NVO_Grid.h"

#include <gtest/gtest.h>

#include <limits>

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
