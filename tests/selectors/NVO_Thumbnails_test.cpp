#include "NVO_Thumbnails.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

using namespace nvo;

namespace {

/// The default strip, `width` pixels wide: 120-pixel slides, 2 apart, margin 7 (cell 136).
TThumbGeometry Strip(int width, double first = 1.0, qint64 max = 100)
{
    TThumbGeometry g;
    g.Width = width;
    g.Max = max;
    g.FirstThumbIdx = first;
    return g;
}

using Ranges = std::map<qint64, qint64>;

TSlideSelection Selection(const Ranges &ranges)
{
    TSlideSelection selection;
    for (const auto &[first, last] : ranges)
        selection.Set(first, last, true);
    return selection;
}

} // namespace

// ---- Geometry -------------------------------------------------------------------------

TEST(ThumbGeometry, CellsAndSlidesPerRow)
{
    const struct {
        int width, size, distance, margin;
        int cell, perRow;
    } cases[] = {
        {260, 120, 2, 7, 136, 1}, // (260 + 2 - 20) div 136
        {290, 120, 2, 7, 136, 2},
        {289, 120, 2, 7, 136, 1},
        {10, 120, 2, 7, 136, 1},  // never fewer than one to a row
        {100, 0, 0, 0, 1, 80},    // a cell is at least one pixel
        {400, 50, 100, 100, 350, 1},
    };
    for (const auto &c : cases) {
        TThumbGeometry g;
        g.Width = c.width;
        g.SlideSize = c.size;
        g.SlideDistance = c.distance;
        g.SlideMargin = c.margin;
        EXPECT_EQ(g.Cell(), c.cell) << c.width << " " << c.size;
        EXPECT_EQ(g.SlidesPerRow(), c.perRow) << c.width << " " << c.size;
    }
}

TEST(ThumbGeometry, WritingTheFirstIndexStoresTheRowStartAndThePartOfTheRow)
{
    const struct {
        int width;
        qint64 min, max;
        double written, stored;
    } cases[] = {
        {290, 1, 100, 6, 5.5},     // slides 5 and 6 on top, half a row scrolled out
        {290, 1, 100, 5, 5},
        {290, 1, 100, 6.5, 5.75},
        {290, 1, 100, 0, 1},       // held to Min
        {290, 1, 100, 200, 99.5},  // held to Max, the last slide's row
        {260, 1, 100, 7.25, 7.25}, // one slide to a row: a slide is a row
        {290, 3, 100, 6, 5.5},     // rows start at Min: 3, 5, 7, ...
        {290, 3, 100, 4, 3.5},
        {290, 5, 4, 9, 5},         // no slides at all
        {290, 1, 100, NAN, 1},
        {290, 1, 4'000'000'000, 3'999'999'999, 3'999'999'999},
    };
    for (const auto &c : cases) {
        TThumbGeometry g = Strip(c.width, 1.0, c.max);
        g.Min = c.min;
        EXPECT_DOUBLE_EQ(g.Normalized(c.written), c.stored) << c.width << " " << c.min << " " << c.written;
    }
}

TEST(ThumbGeometry, SlidePositionsFollowTheTopSlideAndTheScrolledPart)
{
    const struct {
        int width;
        double first;
        qint64 slide;
        QPoint corner;
    } cases[] = {
        {260, 1, 1, {10, 12}},
        {260, 1, 2, {10, 148}},
        {290, 5.5, 5, {10, -56}}, // half of 136 scrolled out
        {290, 5.5, 6, {146, -56}},
        {290, 5.5, 7, {10, 80}},
        {290, 5.5, 3, {10, -192}}, // the row above the top one
        {260, 999'999'999, 1'000'000'000, {10, 148}},
        {260, 1, 5'000'000'000, {10, 1 << 30}}, // far below: held
    };
    for (const auto &c : cases)
        EXPECT_EQ(Strip(c.width, c.first, 10'000'000'000).SlidePos(c.slide), c.corner)
            << c.width << " " << c.first << " slide " << c.slide;
}

TEST(ThumbGeometry, TheSlideUnderAPointLeavesGapsAndTheTenPixelEdgeToNone)
{
    // Two to a row: slide 1 covers x 10..144 and y 12..146, slide 2 x 146..280.
    const struct {
        int width;
        double first;
        qint64 max;
        QPoint point;
        qint64 slide;
    } cases[] = {
        {290, 1, 100, {10, 12}, 1},
        {290, 1, 100, {144, 146}, 1},   // the last pixels of the face
        {290, 1, 100, {145, 50}, 0},    // the gap between two slides
        {290, 1, 100, {146, 50}, 2},
        {290, 1, 100, {9, 50}, 0},      // within 10 pixels of the left edge
        {290, 1, 100, {281, 50}, 0},    // ... of the right edge
        {290, 1, 100, {280, 50}, 2},
        {290, 1, 100, {50, 11}, 0},     // the gap above the first row
        {290, 1, 100, {50, 147}, 0},    // the gap below it
        {290, 1, 100, {50, 148}, 3},
        {290, 1, 100, {50, 390}, 5},
        {290, 1, 100, {50, 391}, 0},    // within 10 pixels of the bottom edge
        {290, 1, 4, {50, 390}, 0},      // beyond Max
        {290, 5.5, 100, {50, 10}, 5},   // the top row half scrolled out
        {290, 5.5, 100, {150, 79}, 0},  // just above the second row
        {290, 5.5, 100, {150, 80}, 8},
        {400, 1, 100, {300, 50}, 0},    // right of the last column
        {260, 4'999'999'999, 5'000'000'000, {50, 150}, 5'000'000'000},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Strip(c.width, c.first, c.max).SlideAt(c.point), c.slide)
            << c.width << " " << c.first << " at " << c.point.x() << "," << c.point.y();
}

TEST(ThumbGeometry, RowPositionsRoundTripThroughTheFirstIndex)
{
    TThumbGeometry g = Strip(290, 5.5);
    EXPECT_DOUBLE_EQ(g.RowPosition(), 2.5);
    const struct {
        double rows, written;
    } cases[] = {{2.5, 6}, {0, 1}, {-3, 1}, {1000, 99}, {49, 99}, {NAN, 1}};
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(g.FirstIdxOfRow(c.rows), c.written) << c.rows;
    g.FirstThumbIdx = g.Normalized(g.FirstIdxOfRow(2.25));
    EXPECT_DOUBLE_EQ(g.RowPosition(), 2.25);
    EXPECT_EQ(g.RowOf(100), 49);
    EXPECT_EQ(g.RowOf(1), 0);
}

TEST(ThumbGeometry, RowsPaintedAndRowsWhollyShown)
{
    const struct {
        int height, painted, shown;
    } cases[] = {{400, 3, 2}, {428, 4, 3}, {100, 1, 1}, {0, 1, 1}};
    for (const auto &c : cases) {
        TThumbGeometry g;
        g.Height = c.height;
        EXPECT_EQ(g.RowsPainted(), c.painted) << c.height;
        EXPECT_EQ(g.RowsShown(), c.shown) << c.height;
    }
}

// ---- Selection --------------------------------------------------------------------------

TEST(SlideSelection, SelectingMergesAndDeselectingSplitsRanges)
{
    const struct {
        Ranges before;
        qint64 first, last;
        bool selected;
        Ranges after;
    } cases[] = {
        {{}, 5, 9, true, {{5, 9}}},
        {{{5, 9}}, 10, 12, true, {{5, 12}}},           // touching ranges join
        {{{5, 9}}, 1, 4, true, {{1, 9}}},
        {{{5, 9}, {20, 30}}, 8, 21, true, {{5, 30}}},
        {{{5, 9}, {20, 30}}, 12, 14, true, {{5, 9}, {12, 14}, {20, 30}}},
        {{{5, 9}}, 9, 5, true, {{5, 9}}},              // an empty range
        {{{5, 9}}, 7, 7, false, {{5, 6}, {8, 9}}},
        {{{5, 9}, {20, 30}}, 1, 100, false, {}},
        {{{5, 9}, {20, 30}}, 9, 20, false, {{5, 8}, {21, 30}}},
        {{{5, 9}}, 10, 19, false, {{5, 9}}},
        {{{5, 9}}, 5, 9, false, {}},
    };
    for (const auto &c : cases) {
        TSlideSelection selection = Selection(c.before);
        selection.Set(c.first, c.last, c.selected);
        EXPECT_EQ(selection.Ranges(), c.after) << c.first << ".." << c.last << (c.selected ? " on" : " off");
    }
}

TEST(SlideSelection, AnswersMembershipFirstAndCountFromTheRanges)
{
    const TSlideSelection selection = Selection({{5, 9}, {20, 30}});
    const struct {
        qint64 slide;
        bool in;
    } cases[] = {{4, false}, {5, true}, {9, true}, {10, false}, {19, false}, {20, true}, {30, true}, {31, false}};
    for (const auto &c : cases)
        EXPECT_EQ(selection.Contains(c.slide), c.in) << c.slide;
    EXPECT_EQ(selection.First(), 5);
    EXPECT_EQ(selection.Count(), 16);
    EXPECT_EQ(TSlideSelection().First(), 0); // nothing selected: no slide
    EXPECT_EQ(TSlideSelection().Count(), 0);
}

TEST(SlideSelection, AThousandMillionSlidesAreOneRange)
{
    TSlideSelection selection;
    selection.Set(1, 1'000'000'000, true);
    selection.Set(500, false);
    EXPECT_EQ(selection.RangeCount(), 2);
    EXPECT_EQ(selection.Count(), 999'999'999);
    EXPECT_TRUE(selection.Contains(1'000'000'000));
    EXPECT_FALSE(selection.Contains(500));
}

TEST(SlideSelection, ClippingDropsWhatLiesOutsideTheSlides)
{
    const struct {
        qint64 min, max;
        Ranges after;
    } cases[] = {
        {7, 25, {{7, 9}, {20, 25}}},
        {1, 100, {{5, 9}, {20, 30}}},
        {10, 19, {}},
        {10, 5, {}}, // no slides at all
    };
    for (const auto &c : cases) {
        TSlideSelection selection = Selection({{5, 9}, {20, 30}});
        selection.Clip(c.min, c.max);
        EXPECT_EQ(selection.Ranges(), c.after) << c.min << ".." << c.max;
    }
}
