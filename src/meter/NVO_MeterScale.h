#pragma once

// The scale rules of the analog meter as pure functions: how a value maps to a
// fraction of the sweep, to an angle and to a pixel, how a pixel maps back to a
// value, where the ticks go and what the labels say. The widget (NVO_Meter.h)
// only wires these to its properties and paints what they return.
//
// Every function is total: NaN, infinities, an empty range (Min = Max) or a
// reversed one never produce a NaN angle, an undefined integer conversion or an
// unbounded loop.

#include "NVO_Global.h"

#include <QtCore/QPoint>
#include <QtCore/QString>

#include <array>
#include <optional>
#include <vector>

namespace nvo {

/// The layout numbers every drawing step works from: the sweep S of the scale in
/// degrees, the needle's pivot (cx, cy) in control pixels (y grows downwards) and
/// the scale's radius R.
struct TMeterGeometry {
    int Sweep = 90;
    int CenterX = 0;
    int CenterY = 0;
    double Radius = 0;
};

/// The value range a scale shows and how values are spread over its sweep.
struct NVO_EXPORT TMeterScale {
    double Min = 0;
    double Max = 1;
    bool Logarithmic = false;
    int Sweep = 90;

    /// Where `value` lies on the sweep, 0 at Min and 1 at Max (not clamped). The
    /// logarithmic spread applies only where value, Min and Max are all positive,
    /// so no logarithm of a non-positive number is ever taken. An empty range
    /// (Min = Max) puts every value at 0, at the scale's left end.
    double Fraction(double value) const;
    /// The drawing angle S/2 + 90 - S * fraction in degrees, counter-clockwise from
    /// the positive x axis: Min at the left end, Max at the right end.
    double DrawingAngle(double value) const;
    /// `value` limited to [Min, Max]; NaN counts as Min.
    double Clamp(double value) const;
    /// The needle's angle in degrees, clockwise from straight down: 180 - S/2 + S * f
    /// of the clamped value.
    double NeedleAngle(double value) const;
    /// The value under the direction from the pivot (cx, cy) to the pixel (x, y), or
    /// nullopt where that direction lies outside the sweep. The pivot itself counts
    /// as straight up, the middle of every sweep.
    std::optional<double> PixelToValue(int cx, int cy, int x, int y) const;
};

/// Rounds to the nearest integer, exact halves to the even neighbour. NaN gives 0
/// and values beyond the int range the nearest int limit, so a pixel computed from
/// a degenerate range is always a valid (if far away) coordinate.
NVO_EXPORT int RoundToInt(double value);

/// The point at `radius` in the drawing direction `angleDeg` from (cx, cy), each
/// coordinate rounded on its own: (round(cx + cos * r), round(cy - sin * r)).
NVO_EXPORT QPoint PointAtAngle(int cx, int cy, double angleDeg, double radius);
/// The same point with the offsets rounded before the pivot is added, as the ends
/// of the scale arc and of the ring's pie segments are placed.
NVO_EXPORT QPoint EndPointAtAngle(int cx, int cy, double angleDeg, double radius);

/// Major tick step, first major tick and minor divisions per major step.
struct TTickStep {
    double First = 0;
    double Step = 0;
    int Divisions = 1;
};

/// The 1-2-5 rule: the interval |Max - Min| / `nrTicks` rounded down to 1, 2 or 5
/// times a power of ten (an interval of exactly 2 or 5 times a power of ten falls
/// to the next smaller mantissa, one of exactly 1 stays), with 5, 4 or 5 minor
/// divisions; the first major tick is the smallest multiple of the step not below
/// Min by more than a thousandth of a step. Min = Max (or a range that is not a
/// finite number) gives step 0, first = Min and one division.
NVO_EXPORT TTickStep CalcTickStep(double min, double max, int nrTicks);

/// No scale draws more ticks than this: a range too narrow for the spacing of
/// doubles still ends its tick list here instead of looping on a step that no
/// longer advances.
inline constexpr int kMaxTicks = 10000;

/// The values of the major ticks first, first + step, ... up to Max (with a
/// thousandth of a step to spare). Each value is computed from its index, not by
/// adding steps, so rounding errors do not pile up. A zero step gives the one
/// value `first`.
NVO_EXPORT std::vector<double> MajorTickValues(const TTickStep &ticks, double max);
/// The minor tick values: the evenly spaced values between the major ones from
/// one step below `first` up to Max, without the major positions and without
/// values below Min; both ends allow a thousandth of a minor step, so a step a
/// rounding error off its round value keeps the ticks at both ends. Empty for a
/// zero step.
NVO_EXPORT std::vector<double> MinorTickValues(const TTickStep &ticks, double min, double max);

/// One long tick of a logarithmic scale over one decade or more.
struct TDecadeTick {
    double Value = 0;
    bool Labelled = false; ///< the mantissa is 1, 2 or 5
};
/// The ticks at 1..9 times each power of ten from Min's decade up to Max, with a
/// relative tolerance of 1e-9 at both ends (a tick at Max itself is kept).
/// Empty unless 0 < Min < Max.
NVO_EXPORT std::vector<TDecadeTick> DecadeTickValues(double min, double max);

/// The label of `value`: fixed-point with exactly `decPlaces` digits after a "."
/// whatever the locale, "-" for negative values, no padding or grouping. A value
/// that rounds to zero is "0.0", never "-0.0".
NVO_EXPORT QString ScaleLabelText(double value, int decPlaces);

/// The seven points of a needle polygon: barb, tip, barb, shaft meets head, base,
/// base, shaft meets head. `angleDeg` is the drawing angle, `length` the distance
/// from the pivot to the tip, `headAngleDeg` the head's full opening angle.
NVO_EXPORT std::array<QPoint, 7> NeedlePolygon(int cx, int cy, double angleDeg, double length,
                                               int headAngleDeg, int thickness, int headSize,
                                               int headMidLeng);

} // namespace nvo
