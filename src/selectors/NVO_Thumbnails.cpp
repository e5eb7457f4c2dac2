#include "NVO_Thumbnails.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace nvo {

namespace {

/// The room around the slides on every side.
constexpr int kEdge = 10;
/// How far off-view positions are held, so that they still fit an int with room to add.
constexpr qint64 kFarAway = qint64(1) << 30;

/// Division rounding toward negative infinity, so that slides before the top one
/// land in the rows above it rather than mirrored into the top row.
qint64 FloorDiv(qint64 a, qint64 b)
{
    const qint64 q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

int HeldToInt(qint64 v) { return int(std::clamp(v, -kFarAway, kFarAway)); }

} // namespace

// ---- TThumbGeometry ------------------------------------------------------------------

int TThumbGeometry::Cell() const { return std::max(1, SlideSize + SlideDistance + 2 * SlideMargin); }

int TThumbGeometry::SlidesPerRow() const { return std::max(1, (Width + SlideDistance - 2 * kEdge) / Cell()); }

int TThumbGeometry::RowsPainted() const { return std::max(0, Height) / Cell() + 1; }

qint64 TThumbGeometry::TopSlide() const { return qint64(std::trunc(FirstThumbIdx)); }

int TThumbGeometry::ScrolledOut() const
{
    return int(std::nearbyint((FirstThumbIdx - std::trunc(FirstThumbIdx)) * Cell()));
}

QPoint TThumbGeometry::SlidePos(qint64 n) const
{
    const qint64 perRow = SlidesPerRow();
    const qint64 offset = n - TopSlide();
    const qint64 row = FloorDiv(offset, perRow);
    const qint64 column = offset - row * perRow;
    return {HeldToInt(Cell() * column + kEdge),
            HeldToInt(std::clamp(row, -kFarAway, kFarAway) * Cell() + SlideDistance - ScrolledOut() + kEdge)};
}

qint64 TThumbGeometry::SlideAt(QPoint point) const
{
    const int cell = Cell();
    const int x = point.x(), y = point.y();
    if (x < kEdge || x > Width - kEdge || y < kEdge || y > Height - kEdge)
        return 0;
    // A point belongs to a slide when it lies on the slide's face, its last row and
    // column included; the gap after it belongs to none.
    const qint64 column = FloorDiv(x - kEdge, cell);
    const qint64 left = cell * column + kEdge;
    if (x > left + SlideEdge() || column + 1 > SlidesPerRow())
        return 0;
    const qint64 row = FloorDiv(qint64(y) + ScrolledOut() - SlideDistance - kEdge, cell);
    const qint64 top = cell * row + SlideDistance - ScrolledOut() + kEdge;
    if (y > top + SlideEdge() || y < top || row < 0)
        return 0;
    const qint64 n = TopSlide() + SlidesPerRow() * row + column;
    return n < Min || n > Max ? 0 : n;
}

double TThumbGeometry::Normalized(double x) const
{
    if (Max < Min || std::isnan(x))
        return double(Min);
    x = std::clamp(x, double(Min), double(Max));
    const qint64 perRow = SlidesPerRow();
    const qint64 rowStart = Min + FloorDiv(qint64(std::trunc(x)) - Min, perRow) * perRow;
    return double(rowStart) + (x - double(rowStart)) / double(perRow);
}

double TThumbGeometry::RowPosition() const
{
    return double(RowOf(TopSlide())) + (FirstThumbIdx - std::trunc(FirstThumbIdx));
}

double TThumbGeometry::FirstIdxOfRow(double rows) const
{
    const double lastRow = Max < Min ? 0.0 : double(RowOf(Max));
    rows = std::isnan(rows) ? 0.0 : std::clamp(rows, 0.0, lastRow);
    const double whole = std::floor(rows);
    const double perRow = SlidesPerRow();
    return double(Min) + whole * perRow + (rows - whole) * perRow;
}

qint64 TThumbGeometry::RowOf(qint64 n) const { return FloorDiv(n - Min, SlidesPerRow()); }

int TThumbGeometry::RowsShown() const
{
    return std::max(1, (Height - 2 * kEdge - SlideDistance - SlideEdge()) / Cell() + 1);
}

// ---- TSlideSelection -----------------------------------------------------------------

bool TSlideSelection::Contains(qint64 slide) const
{
    auto after = FRanges.upper_bound(slide);
    return after != FRanges.begin() && std::prev(after)->second >= slide;
}

void TSlideSelection::Set(qint64 first, qint64 last, bool selected)
{
    if (last < first)
        return;
    // The ranges that overlap first..last, and for selecting also those that touch it.
    auto from = FRanges.upper_bound(first);
    if (from != FRanges.begin()) {
        const auto before = std::prev(from);
        if (before->second >= first || (selected && before->second == first - 1))
            from = before;
    }
    auto to = from;
    while (to != FRanges.end() && (to->first <= last || (selected && to->first - 1 == last)))
        ++to;
    if (from == to && !selected)
        return;
    const qint64 low = from == to ? first : from->first;
    const qint64 high = from == to ? last : std::prev(to)->second;
    FRanges.erase(from, to);
    if (selected) {
        FRanges.emplace(std::min(low, first), std::max(high, last));
        return;
    }
    if (low < first)
        FRanges.emplace(low, first - 1);
    if (high > last)
        FRanges.emplace(last + 1, high);
}

void TSlideSelection::Clip(qint64 min, qint64 max)
{
    if (FRanges.empty())
        return;
    if (max < min) {
        FRanges.clear();
        return;
    }
    if (FRanges.begin()->first < min)
        Set(FRanges.begin()->first, min - 1, false);
    if (!FRanges.empty() && FRanges.rbegin()->second > max)
        Set(max + 1, FRanges.rbegin()->second, false);
}

qint64 TSlideSelection::First() const { return FRanges.empty() ? 0 : FRanges.begin()->first; }

qint64 TSlideSelection::Count() const
{
    qint64 count = 0;
    for (const auto &[first, last] : FRanges)
        count += last - first + 1;
    return count;
}

} // namespace nvo
