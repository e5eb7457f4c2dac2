#include "NVO_MeterScale.h"

#include "NVO_Corvane.h"
#include "NVO_Format.h"
#include "NVO_Tessane.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>

namespace nvo {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegPerRad = 57.29577951308232;
constexpr double kLg2 = 0.3010299956639812;
constexpr double kLg5 = 0.6989700043360189;
/// The relative tolerance of the decade ticks at both ends of the range.
constexpr double kDecadeSlack = 0.999999999;
/// More decades than doubles have (about 632): the decade loop's own bound.
constexpr int kMaxDecades = 700;

double Radians(double degrees) { return degrees * kPi / 180.0; }

/// `offset / span` for two differences that may have overflowed (a range from
/// -1e308 to 1e308 is wider than the largest double): then both are taken at half
/// size. Anything that is still not a finite number gives 0.
double SafeRatio(double value, double min, double max)
{
    double span = max - min;
    double offset = value - min;
    if (!std::isfinite(span) || !std::isfinite(offset)) {
        span = max / 2 - min / 2;
        offset = value / 2 - min / 2;
    }
    if (span == 0)
        return 0;
    const double ratio = offset / span;
    return std::isfinite(ratio) ? ratio : 0;
}

/// How far, in steps, a tick may lie beyond an end of the range and still count.
constexpr double kTickSlack = 0.001;

/// How many loop steps "start + k * step, continue while start + (k + 1) * step - end
/// <= 0.001 * step" makes: at least one, at most kMaxTicks.
int TickCount(double start, double step, double end)
{
    const double last = std::floor((end - start) / step + kTickSlack);
    if (!(last >= 0)) // also NaN
        return 1;
    return int(std::min(last, double(kMaxTicks - 1))) + 1;
}

} // namespace

int RoundToInt(double value)
{
    if (std::isnan(value))
        return 0;
    const double rounded = RoundHalfEven(value);
    if (rounded >= double(INT_MAX))
        return INT_MAX;
    if (rounded <= double(INT_MIN))
        return INT_MIN;
    return int(rounded);
}

// ---- TMeterScale -------------------------------------------------------------------

double TMeterScale::Fraction(double value) const
{
    if (Logarithmic && value > 0 && Min > 0 && Max > 0)
        return SafeRatio(std::log(value), std::log(Min), std::log(Max));
    return SafeRatio(value, Min, Max);
}

double TMeterScale::DrawingAngle(double value) const
{
    return Sweep / 2.0 + 90 - Sweep * Fraction(value);
}

double TMeterScale::Clamp(double value) const
{
    if (std::isnan(value))
        return Min;
    if (value > Max)
        return Max;
    if (value < Min)
        return Min;
    return value;
}

double TMeterScale::NeedleAngle(double value) const
{
    return 180 - Sweep / 2.0 + Sweep * Fraction(Clamp(value));
}

std::optional<double> TMeterScale::PixelToValue(int cx, int cy, int x, int y) const
{
    if (Sweep <= 0)
        return std::nullopt;
    const double dx = double(x) - cx;
    const double dy = double(y) - cy;
    double t;
    if (dx == 0) {
        t = dy <= 0 ? 3 * kPi / 2 : kPi / 2;
    } else {
        t = std::atan(dy / dx);
        if (dx < 0)
            t += kPi;
    }
    if (t < 0)
        t += 2 * kPi;
    if (t > 2 * kPi)
        t -= 2 * kPi;
    double d = t * kDegPerRad - 90; // clockwise from straight down
    if (d < 0)
        d += 360;
    const double begin = 180 - Sweep / 2.0;
    const double end = 180 + Sweep / 2.0;
    if (d < begin || d > end)
        return std::nullopt;
    const double part = (d - begin) / Sweep;
    // The logarithmic mapping only where both ends have a logarithm.
    if (Logarithmic && Min > 0 && Max > 0) {
        const double lnMin = std::log(Min);
        return std::exp((std::log(Max) - lnMin) * part + lnMin);
    }
    return Min + part * (Max - Min);
}

// ---- Points --------------------------------------------------------------------------

QPoint PointAtAngle(int cx, int cy, double angleDeg, double radius)
{
    const double phi = Radians(angleDeg);
    return {RoundToInt(cx + std::cos(phi) * radius), RoundToInt(cy - std::sin(phi) * radius)};
}

QPoint EndPointAtAngle(int cx, int cy, double angleDeg, double radius)
{
    const double phi = Radians(angleDeg);
    return {RoundToInt(std::cos(phi) * radius) + cx, cy - RoundToInt(std::sin(phi) * radius)};
}

// ---- Ticks ---------------------------------------------------------------------------

TTickStep CalcTickStep(double min, double max, int nrTicks)
{
    const TTickStep none{min, 0, 1};
    if (!std::isfinite(min) || !std::isfinite(max) || min == max || nrTicks <= 0)
        return none;
    const double dir = min < max ? 1 : -1;
    // A range wider than the largest double is as wide as the largest double.
    const double range = std::min(std::fabs(max - min), std::numeric_limits<double>::max());

    double g = std::log10(range / nrTicks);
    double h = g - std::trunc(g);
    if (std::fabs(h) < 1e-10 || std::fabs(h) > 0.9999999999) {
        h = 0;
        g = std::round(g);
    }
    if (g < 0 && h != 0)
        g -= 1;
    if (h < 0)
        h += 1;
    int divisions;
    if (h < kLg2 + 1e-10) {
        g = std::trunc(g);
        divisions = 5;
    } else if (h < kLg5 + 1e-10) {
        g = std::trunc(g) + kLg2;
        divisions = 4;
    } else {
        g = std::trunc(g) + kLg5;
        divisions = 5;
    }
    const double step = dir * std::exp(g * uc_ln10);
    if (step == 0 || !std::isfinite(step))
        return none;
    // The smallest multiple of the step not below Min by more than a thousandth of
    // a step, computed at once: stepping up to it would never arrive when the step
    // is smaller than the spacing of doubles near Min.
    const double first = std::ceil(min / step - 0.001) * step;
    return {std::isfinite(first) ? first : min, step, divisions};
}

std::vector<double> MajorTickValues(const TTickStep &ticks, double max)
{
    if (!(ticks.Step > 0))
        return {ticks.First};
    const int count = TickCount(ticks.First, ticks.Step, max);
    std::vector<double> values;
    values.reserve(count);
    for (int k = 0; k < count; ++k)
        values.push_back(ticks.First + k * ticks.Step);
    return values;
}

std::vector<double> MinorTickValues(const TTickStep &ticks, double min, double max)
{
    if (!(ticks.Step > 0) || ticks.Divisions <= 0)
        return {};
    const double minor = ticks.Step / ticks.Divisions;
    const double base = ticks.First - ticks.Step;
    const int count = TickCount(base, minor, max);
    // The lower end allows a thousandth of a minor step, as TickCount allows at the
    // upper end: a step computed a hair above its round value (20.000000000000007
    // for -50..50) puts the tick at Min a hair below it.
    const double lowest = min - kTickSlack * minor;
    std::vector<double> values;
    values.reserve(count);
    for (int k = 0; k < count; ++k) {
        const double value = base + k * minor;
        const double steps = (value - ticks.First) / ticks.Step;
        // A major position whatever side of the whole number rounding put it on.
        const bool major = std::fabs(steps - std::round(steps)) <= 1e-5;
        if (!major && value >= lowest)
            values.push_back(value);
    }
    return values;
}

std::vector<TDecadeTick> DecadeTickValues(double min, double max)
{
    if (!(min > 0 && max > min && std::isfinite(max)))
        return {};
    const int firstExponent = IntNeg(std::log10(kDecadeSlack * min));
    std::vector<TDecadeTick> ticks;
    for (int decade = 0; decade < kMaxDecades; ++decade) {
        const double power = std::pow(10.0, double(firstExponent) + decade);
        for (int k = 1; k <= 9; ++k) {
            const double value = k * power;
            if (value / kDecadeSlack > min && value * kDecadeSlack < max)
                ticks.push_back({value, k == 1 || k == 2 || k == 5});
        }
        if (!(kDecadeSlack * power * 10 <= max) || int(ticks.size()) >= kMaxTicks)
            break;
    }
    return ticks;
}

QString ScaleLabelText(double value, int decPlaces)
{
    // Str writes a text that shows zero without its sign: no "-0.0" under a needle
    // that rests at a slightly negative zero.
    return Str(value, 1, std::max(0, decPlaces));
}

// ---- Needle --------------------------------------------------------------------------

std::array<QPoint, 7> NeedlePolygon(int cx, int cy, double angleDeg, double length,
                                    int headAngleDeg, int thickness, int headSize, int headMidLeng)
{
    const double theta = Radians(angleDeg);
    const double alpha = Radians(headAngleDeg);
    const double cosT = std::cos(theta), sinT = std::sin(theta);
    const int tx = RoundToInt(cx + cosT * length);
    const int ty = RoundToInt(cy - sinT * length);
    const double s = sinT * thickness / 2.0;
    const double c = cosT * thickness / 2.0;
    return {{
        {RoundToInt(tx - std::cos(theta + alpha / 2) * headSize),
         RoundToInt(ty + std::sin(theta + alpha / 2) * headSize)},
        {tx, ty},
        {RoundToInt(tx - std::cos(theta - alpha / 2) * headSize),
         RoundToInt(ty + std::sin(theta - alpha / 2) * headSize)},
        {RoundToInt(tx - s - cosT * headMidLeng), RoundToInt(ty - c + sinT * headMidLeng)},
        {RoundToInt(cx - s), RoundToInt(cy - c)},
        {RoundToInt(cx + s), RoundToInt(cy + c)},
        {RoundToInt(tx + s - cosT * headMidLeng), RoundToInt(ty + c + sinT * headMidLeng)},
    }};
}

} // namespace nvo
