#pragma once

#include "NVO_Global.h"

#include <QtCore/QPoint>

#include <map>

namespace nvo {

/// Where the slides of a thumbnail strip stand, as a value: the control's size and
/// slide settings, its slide range and its scroll position. Slides sit in square
/// cells of `Cell()` pixels, `SlidesPerRow()` to a row, behind a 10-pixel margin on
/// every side; slide `Min` starts the first row and every row holds the next
/// `SlidesPerRow()` numbers. Slide numbers are 64-bit; 0 stands for no slide.
struct NVO_EXPORT TThumbGeometry {
    int Width = 260;
    int Height = 400;
    int SlideSize = 120;
    int SlideDistance = 2;
    int SlideMargin = 7;
    qint64 Min = 1;
    qint64 Max = 100;
    /// The integer part is the first slide of the top row, the fraction the part of
    /// that row scrolled out at the top (a stored value, see `Normalized`).
    double FirstThumbIdx = 1.0;

    /// SlideSize + SlideDistance + 2 x SlideMargin, at least 1: a cell of 0 pixels
    /// would divide by zero in every position.
    int Cell() const;
    /// The edge of a slide: from its corner to the last pixel of its face.
    int SlideEdge() const { return SlideSize + 2 * SlideMargin; }
    /// (Width + SlideDistance - 20) / Cell, at least 1.
    int SlidesPerRow() const;
    /// The rows a paint visits: Height / Cell + 1.
    int RowsPainted() const;
    /// The first slide of the top row.
    qint64 TopSlide() const;
    /// The pixels of the top row scrolled out: the fraction of FirstThumbIdx times the
    /// cell, halves rounded to even.
    int ScrolledOut() const;

    /// The top-left corner of slide `n` (also of slides outside the view, as far as
    /// an int reaches: positions far away are held at +-2^30).
    QPoint SlidePos(qint64 n) const;
    /// The slide under `point`, 0 in a gap between slides, within 10 pixels of the
    /// control's edge and outside [Min, Max].
    qint64 SlideAt(QPoint point) const;

    /// What writing `x` to FirstThumbIdx stores: `x` held to [Min, Max], then the
    /// first slide c of the row holding it plus the part of that row, (x - c) /
    /// SlidesPerRow. Writing 6 with two slides per row stores 5.5: slides 5 and 6 on
    /// top, half a row scrolled out. (The stored value is in rows, the written one in
    /// slides, so writing back what was read scrolls on when there are several
    /// slides to a row; scroll by rows with `RowPosition` and `FirstIdxOfRow`.)
    double Normalized(double x) const;
    /// How many rows the view is scrolled from the first: row of the top slide plus
    /// the part scrolled out.
    double RowPosition() const;
    /// The slide position to write for a view scrolled by `rows` rows, held to the
    /// rows that exist.
    double FirstIdxOfRow(double rows) const;
    /// The row of slide `n` counted from the first row, 0-based.
    qint64 RowOf(qint64 n) const;
    /// The rows wholly inside the view (at least 1).
    int RowsShown() const;
};

/// The selected slides of a thumbnail strip as disjoint, non-adjacent inclusive
/// ranges of slide numbers (1 and up), so that selecting all of 10^9 slides costs
/// one range, not 10^9 bits. Memory grows with the number of separate runs only.
class NVO_EXPORT TSlideSelection
{
public:
    bool Contains(qint64 slide) const;
    /// Selects or deselects `first`..`last` (inclusive); an empty range does nothing.
    void Set(qint64 first, qint64 last, bool selected);
    void Set(qint64 slide, bool selected) { Set(slide, slide, selected); }
    void Clear() { FRanges.clear(); }
    /// Drops every slide outside `min`..`max`.
    void Clip(qint64 min, qint64 max);
    /// The lowest selected slide, 0 when none is.
    qint64 First() const;
    qint64 Count() const;
    int RangeCount() const { return int(FRanges.size()); }
    /// The ranges in order: first slide -> last slide.
    const std::map<qint64, qint64> &Ranges() const { return FRanges; }
    bool operator==(const TSlideSelection &other) const = default;

private:
    /// First slide of each range -> its last slide.
    std::map<qint64, qint64> FRanges;
};

} // namespace nvo
