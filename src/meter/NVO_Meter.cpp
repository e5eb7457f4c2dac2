#include "NVO_Meter.h"

#include "NVO_ControlAccessible_p.h"

#include <QtGui/QFontMetrics>
#include <QtGui/QMouseEvent>

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>
#include <vector>

namespace nvo {

namespace {

/// Appends rectangles inside `bounds` that together cover the polygon with its
/// outline: one per band of 16 rows, as wide as the polygon's edges reach inside the
/// band, and a pixel more all round. A long needle across the dial covers a small
/// part of its bounding rectangle.
void CoverPolygon(std::span<const QPoint> points, const QRect &bounds, std::vector<QRect> &cover)
{
    constexpr int Band = 16;
    const auto [lowest, highest] = std::minmax_element(points.begin(), points.end(),
                                                       [](QPoint a, QPoint b) { return a.y() < b.y(); });
    for (int top = lowest->y(); top <= highest->y(); top += Band) {
        const int bottom = std::min(top + Band - 1, highest->y());
        double left = std::numeric_limits<double>::infinity();
        double right = -left;
        for (size_t i = 0; i < points.size(); ++i) {
            const QPointF a = points[i], b = points[(i + 1) % points.size()];
            // The part of edge a-b inside the band, by its two ends.
            const double from = std::max<double>(top, std::min(a.y(), b.y()));
            const double to = std::min<double>(bottom, std::max(a.y(), b.y()));
            if (from > to)
                continue;
            for (const double y : {from, to}) {
                const double x = a.y() == b.y() ? (y == from ? a.x() : b.x())
                                                : a.x() + (b.x() - a.x()) * (y - a.y()) / (b.y() - a.y());
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
        const QRect band = QRect(QPoint(int(std::floor(left)) - 1, top - 1), QPoint(int(std::ceil(right)) + 1, bottom + 1)) & bounds;
        if (!band.isEmpty())
            cover.push_back(band);
    }
}


/// The smallest value a logarithmic scale accepts at either end.
constexpr double kLogFloor = 1e-100;
constexpr double kMaxDouble = std::numeric_limits<double>::max();

/// A value above `x` for a new range end: x + 1 as long as the sum still differs
/// from x, else the next double (beyond 2^53 adding 1 changes nothing, and an
/// empty range would follow).
double EndAbove(double x)
{
    const double above = x + 1;
    return above > x ? above : std::nextafter(x, kMaxDouble);
}

double EndBelow(double x)
{
    const double below = x - 1;
    return below < x ? below : std::nextafter(x, -kMaxDouble);
}

double Bounded(double value, double min, double max)
{
    return value > max ? max : value < min ? min : value;
}

/// The fixed line colours of the limit-watch lamps' bevel.
constexpr TColor kLampWhite = clr::White;
constexpr TColor kLampSilver = clr::Silver;
constexpr TColor kLampGray = clr::Gray;

} // namespace

// ---- TNeedleLayout -------------------------------------------------------------------

struct TNeedleLayout::Private {
    TColor FColorFill = 0;
    TColor FColorLine = 0;
    int FSize1 = 0;
    int FThickness = 0;
    int FPctNeedleLeng = 0;
    int FAngle1 = 0;
    int FBackShift1 = 0;
    int FShadowDx = 0;
    int FShadowDy = 0;
    TColor FShadowColor = 0;
    bool FVisible = false;

    bool operator==(const Private &) const = default;

    /// The layout's setter convention: compare, store, tell the owner.
    template<class T>
    void Change(TNeedleLayout *q, T &field, T value)
    {
        if (field == value)
            return;
        field = value;
        q->Changed();
    }
};

TNeedleLayout::TNeedleLayout(QObject *parent) : QObject(parent), d(std::make_unique<Private>()) {}
TNeedleLayout::~TNeedleLayout() = default;

void TNeedleLayout::Changed()
{
    if (OnChange)
        OnChange(this);
}

TColor TNeedleLayout::GetColorBody() const { return d->FColorFill; }
TColor TNeedleLayout::GetColorOutline() const { return d->FColorLine; }
int TNeedleLayout::GetHeadSize() const { return d->FSize1; }
int TNeedleLayout::GetThickness() const { return d->FThickness; }
int TNeedleLayout::GetPercentNeedleLength() const { return d->FPctNeedleLeng; }
int TNeedleLayout::GetHeadAngle() const { return d->FAngle1; }
int TNeedleLayout::GetHeadMidLeng() const { return d->FBackShift1; }
int TNeedleLayout::GetShadowDx() const { return d->FShadowDx; }
int TNeedleLayout::GetShadowDy() const { return d->FShadowDy; }
TColor TNeedleLayout::GetShadowColor() const { return d->FShadowColor; }
bool TNeedleLayout::GetVisible() const { return d->FVisible; }

void TNeedleLayout::SetColorBody(TColor color) { d->Change(this, d->FColorFill, color); }
void TNeedleLayout::SetColorOutline(TColor color) { d->Change(this, d->FColorLine, color); }
void TNeedleLayout::SetHeadSize(int size) { d->Change(this, d->FSize1, size); }
void TNeedleLayout::SetThickness(int thickness) { d->Change(this, d->FThickness, thickness); }
void TNeedleLayout::SetPercentNeedleLength(int percent) { d->Change(this, d->FPctNeedleLeng, std::clamp(percent, 0, 100)); }
void TNeedleLayout::SetHeadAngle(int angle) { d->Change(this, d->FAngle1, std::clamp(angle, 0, 180)); }
void TNeedleLayout::SetHeadMidLeng(int length) { d->Change(this, d->FBackShift1, length); }
void TNeedleLayout::SetShadowDx(int dx) { d->Change(this, d->FShadowDx, dx); }
void TNeedleLayout::SetShadowDy(int dy) { d->Change(this, d->FShadowDy, dy); }
void TNeedleLayout::SetShadowColor(TColor color) { d->Change(this, d->FShadowColor, color); }
void TNeedleLayout::SetVisible(bool visible) { d->Change(this, d->FVisible, visible); }

void TNeedleLayout::AssignAppearance(const TNeedleLayout &source)
{
    // Copied as a whole, not through the setters, so that the owner hears of the
    // change once, not once per field.
    if (*source.d == *d)
        return;
    *d = *source.d;
    Changed();
}

// ---- Geometry ------------------------------------------------------------------------

TMeterGeometry CalcMeterGeometry(TMeter::TMeterLayout layout, int width, int height,
                                 int rimBottom, int rimTop, int rimSide)
{
    const double r0 = height - rimBottom - rimTop - 16;
    // Half the width between the side rims, less the 8-pixel margin every layout keeps.
    const int halfInside = width / 2 - rimSide - 8;
    TMeterGeometry g{90, width / 2, height - rimBottom - 8, r0};
    // The dial layouts whose pivot lies inside the dial: the dial reaches R above the
    // pivot and `below` x R under it, and is centred between the top and bottom rims.
    const auto dial = [&](int sweep, double below) {
        g.Sweep = sweep;
        g.Radius = halfInside;
        if (r0 / below < g.Radius)
            g.Radius = r0 / below;
        g.CenterY = RoundToInt(rimTop + 8 + g.Radius);
    };
    switch (layout) {
    case TMeter::mlCirc120: {
        g.Sweep = 120;
        const double limit = (width / 2.0 - rimSide - 8) * 1.1547;
        if (limit < r0)
            g.Radius = limit;
        break;
    }
    case TMeter::mlCirc180: {
        // A half circle standing on the pivot: its two ends lie level with the pivot,
        // so the width limits the radius as much as the height does.
        g.Sweep = 180;
        const double limit = width / 2.0 - rimSide - 8;
        if (limit < r0)
            g.Radius = limit;
        break;
    }
    // The ends of a 270-degree scale lie 45 degrees below the horizontal (sin 45 under
    // the pivot); the 300-degree ends lie 60 degrees below (sin 60; 1.866 as the
    // original instrument was drawn); a full circle reaches R below.
    case TMeter::mlCirc270: dial(270, 1.7071); break;
    case TMeter::mlCirc300: dial(300, 1.866); break;
    case TMeter::mlCirc360: dial(360, 2.0); break;
    case TMeter::mlCirc90: {
        // The ends of a 90-degree scale lie 45 degrees off the vertical (1 / sin 45):
        // in a narrow or tall cell the width limits the radius, or the ends are cut.
        const double limit = (width / 2.0 - rimSide - 8) * 1.4142;
        if (limit < r0)
            g.Radius = limit;
        break;
    }
    default: break;
    }
    return g;
}

// ---- TMeter: state -------------------------------------------------------------------

namespace {

enum TWatched : quint8 { wtNone, wtFirst, wtSecond };

/// Everything Assign copies: the properties, the limit watch and the loaded pictures.
struct TMeterFields {
    double FMeterMinValue = 0.0;
    double FMeterMaxValue = 1.0;
    // The next five are kept as they were set; the getters hold them to the range
    // (see the class comment), which makes the order of the setters irrelevant.
    bool FLogarithmic = false;
    double FThresholdLow = 0.0; ///< never above FThresholdHigh
    double FThresholdHigh = 1.0;
    double FValue = 0.0;
    double FValueSec = 0.0;
    TMeter::TMeterLayout FMeterLayout = TMeter::mlCirc90;
    int FMeterDecPlaces = 1;
    int FMeterNrTicks = 3;
    bool FMeterShortTicks = true;
    bool FMeterScaleLine = true;
    bool FScaleVisible = true;
    bool FScaleBkVisible = false;
    double FScaleBkWidth = 0.0;
    QString FCaption;
    QFont FFontCaption;
    int FAnchorSize = 24;
    bool FAnchorCovered = true;
    QString FACoverFName;
    QString FBakGndFName;
    TBkgFill FBkgndFillMode = TBkgFill(0);
    TColor FColorBakG = clr::White;
    TColor FColorCover = clr::BtnFace;
    TColor FColorScale = clr::Navy;
    TColor FColorSclBkLow = clr::Lime;
    TColor FColorSclBkNorm = 0x0080FF;
    TColor FColorSclBkHigh = clr::Red;
    TFrameStyle FFrameStyle = TFrameStyle(3);
    bool FLimWatchHighOn = true;
    bool FLimWatchLowOn = true;
    TColor FLimWatchActColor = clr::Red;
    TColor FLimWatchPsvColor = clr::Gray;
    int FRimBottom = 10;
    int FRimTop = 8;
    int FRimSide = 10;
    bool FOFL = false;
    bool FUFL = false;
    /// The needle whose value was set last is the one the lamps watch; none until a
    /// value or a threshold is set.
    TWatched FWatched = wtNone;
    QImage FBackgroundImage; ///< the picture of BackGroundImg (AuxBGBmp)
    QImage FAnchorPicture;   ///< the picture of AnchorImage (AuxACBmp)
};

} // namespace

struct TMeter::Private : TMeterFields {
    explicit Private(TMeter *meter);

    // The value model as shown.
    double Held(double value) const { return Bounded(value, FMeterMinValue, FMeterMaxValue); }
    bool LogarithmicAllowed() const { return FMeterMinValue >= kLogFloor && FMeterMaxValue >= kLogFloor; }
    /// A finite number that a logarithmic scale, if shown, can take as a range end or
    /// threshold.
    bool AcceptsRangeValue(double value) const;
    void ChangeRange(double min, double max);
    bool SetWatchedValue(double &field, TWatched needle, double value);
    /// Lights the lamps as `needle`'s value and layout, the range and the thresholds say.
    void WatchLimits(TWatched needle);
    void Fire(const TNotifyEvent &event) const;

    const TMeterGeometry &Geo() const;
    void CalcMeterLayoutParams();
    bool BackgroundShown() const { return !FBakGndFName.isEmpty() && !FBackgroundImage.isNull(); }
    bool AnchorDrawn() const { return FAnchorCovered && FAnchorPicture.isNull(); }
    bool LampShown(bool lit) const
    {
        return (FLimWatchHighOn && FOFL == lit) || (FLimWatchLowOn && FUFL == lit);
    }

    // The paint steps, in their order: the dial, then what the values move over it.
    void ComposeDial(TCanvas &dial, const TMeterScale &scale);
    void ComposeOverDial(TCanvas &bitmap, const TMeterScale &scale);
    const QImage &StretchedBackground(QSize size);
    void PaintBackground(TCanvas &canvas);
    void PaintScaleRing(TCanvas &canvas, const TMeterScale &scale);
    void PaintScale(TCanvas &canvas, const TMeterScale &scale);
    void PaintLabel(TCanvas &canvas, double value, QPoint at);
    void PaintCaption(TCanvas &canvas);
    std::array<QPoint, 7> NeedlePoints(const TMeterScale &scale, const TNeedleLayout &layout, double value) const;
    /// Rectangles covering where the needles of the values now, shadows included, draw.
    std::vector<QRect> NeedleArea(const TMeterScale &scale) const;
    void PaintNeedle(TCanvas &canvas, const TMeterScale &scale, const TNeedleLayout &layout, double value);
    void PaintCover(TCanvas &canvas);
    void PaintInnerBorder(TCanvas &canvas);
    void PaintAnchor(TCanvas &canvas);
    void PaintLamps(TCanvas &canvas);
    void PaintLamp(TCanvas &canvas, int left, bool lit);
    void PaintFrame(TCanvas &canvas);

    TMeter *const q;
    TNeedleLayout *const FNeedleLayout;
    TNeedleLayout *const FNeedleLayoutSec;
    // Derived from the size, layout and rims; recomputed when the size differs from
    // the one it was made for, since a hidden widget gets no resize event.
    mutable TMeterGeometry FGeometry;
    mutable QSize FGeometrySize;
    /// The background picture scaled to the control for the stretch mode, made once
    /// per size rather than on every paint.
    QImage FStretchedBackground;
    /// The dial as the last change of a setting left it: background, ring, scale and
    /// caption. A value change draws needles, cover, anchor, lamps and frame over a
    /// copy of it; drawing the dial itself is most of a paint, and all of it for a
    /// scale with thousands of labels.
    TBitmap FDial;
    /// The canvas state the dial's steps end with, which the steps over the dial and
    /// the application's handlers start from.
    struct {
        TPen Pen;
        TBrush Brush;
        TFont Font;
        TCopyMode CopyMode = cmSrcCopy;
        QPoint PenPos;
    } FDialEnd;
    /// Whether the dial was drawn with labels an application handler may have
    /// rewritten: a handler gives no notice when it would write them otherwise, or
    /// when it is taken away, so such a dial is drawn anew with every paint.
    bool FDialLabelsRewritten = false;
    /// What the buffer holds over the dial since the last paint: needles inside
    /// `FNeedleArea` and the fixed parts (cover, anchor, lamps, frame) that every paint
    /// draws alike; or anything anywhere, when an application handler drew over it.
    std::vector<QRect> FNeedleArea;
    bool FDrawnByHandler = true;
};

TMeter::Private::Private(TMeter *meter)
    : q(meter), FNeedleLayout(new TNeedleLayout(meter)), FNeedleLayoutSec(new TNeedleLayout(meter))
{
}

// ---- TMeter: construction ------------------------------------------------------------

/// A dial: the caption names it; the value reads as a scale label would.
template<>
struct TControlAccessibility<TMeter> {
    static constexpr QAccessible::Role Role = QAccessible::Dial;
    static QString Name(const TMeter &meter)
    {
        return meter.GetCaption().isEmpty() ? TMeter::tr("Meter") : meter.GetCaption();
    }
    static QString Value(const TMeter &meter) { return ScaleLabelText(meter.GetValue(), meter.GetMeterDecPlaces()); }
    static double Current(const TMeter &meter) { return meter.GetValue(); }
    static double Minimum(const TMeter &meter) { return meter.GetMeterMinValue(); }
    static double Maximum(const TMeter &meter) { return meter.GetMeterMaxValue(); }
    static double Step(const TMeter &) { return 0; }
    static void SetCurrent(TMeter &meter, double value) { meter.SetValue(value); }
};

TMeter::TMeter(QWidget *parent) : TControl(parent), d(std::make_unique<Private>(this))
{
    InstallControlAccessibility(this, &TMeter::ValueChanged);
    resize(297, 209);
    // Moves without a button count too: OnMouseMoveInMeter follows the pointer.
    setMouseTracking(true);
    d->FFontCaption = font();
    for (TNeedleLayout *layout : {d->FNeedleLayout, d->FNeedleLayoutSec}) {
        layout->SetPercentNeedleLength(100);
        layout->SetColorOutline(clr::Black);
        layout->SetColorBody(clr::Silver);
        layout->SetShadowColor(clr::Gray);
        layout->SetHeadSize(20);
        layout->SetHeadMidLeng(20);
        layout->SetHeadAngle(30);
        layout->OnChange = [this](QObject *) { PaintNow(); };
    }
    d->FNeedleLayout->SetVisible(true);
    d->CalcMeterLayoutParams();
}

TMeter::~TMeter() = default;

const TMeterGeometry &TMeter::Private::Geo() const
{
    // A resize counts as soon as it is made: Qt delays the resize event of a hidden
    // widget until it is shown, and the mapping methods are used before that.
    if (FGeometrySize != q->size()) {
        FGeometry = CalcMeterGeometry(FMeterLayout, q->width(), q->height(), FRimBottom, FRimTop, FRimSide);
        FGeometrySize = q->size();
    }
    return FGeometry;
}

void TMeter::Private::CalcMeterLayoutParams()
{
    FGeometry = CalcMeterGeometry(FMeterLayout, q->width(), q->height(), FRimBottom, FRimTop, FRimSide);
    FGeometrySize = q->size();
    // An opaque control paints every pixel itself, so Qt need not paint the parent
    // beneath it first. A meter with no room for its dial paints nothing and must
    // let the parent show through.
    q->setAttribute(Qt::WA_OpaquePaintEvent, FGeometry.Radius > 0);
}

void TMeter::resizeEvent(QResizeEvent *event)
{
    d->CalcMeterLayoutParams();
    TControl::resizeEvent(event);
}

TMeterGeometry TMeter::Geometry() const { return d->Geo(); }

QSize TMeter::minimumSizeHint() const
{
    // Six lines of the font across the dial and four up it leave room for the labels
    // at the ends of the scale and the caption between them.
    const int line = QFontMetrics(font()).height();
    return {2 * (d->FRimSide + 8) + 6 * line, d->FRimTop + d->FRimBottom + 16 + 4 * line};
}

TMeterScale TMeter::Scale() const
{
    return {d->FMeterMinValue, d->FMeterMaxValue, GetLogarithmic(), d->Geo().Sweep};
}

bool TMeter::Overflow() const { return d->FOFL; }
bool TMeter::Underflow() const { return d->FUFL; }

// ---- Value model ---------------------------------------------------------------------
//
// NaN and infinities are ignored by every setter: a NaN would never compare equal,
// fail every clamp and end as a NaN angle, and an infinite end leaves no scale.

double TMeter::GetMeterMinValue() const { return d->FMeterMinValue; }
double TMeter::GetMeterMaxValue() const { return d->FMeterMaxValue; }
bool TMeter::GetLogarithmic() const { return d->FLogarithmic && d->LogarithmicAllowed(); }
double TMeter::GetThresholdLow() const { return d->Held(d->FThresholdLow); }
double TMeter::GetThresholdHigh() const { return d->Held(d->FThresholdHigh); }
double TMeter::GetValue() const { return d->Held(d->FValue); }
double TMeter::GetValueSec() const { return d->Held(d->FValueSec); }

bool TMeter::Private::AcceptsRangeValue(double value) const
{
    return std::isfinite(value) && !(q->GetLogarithmic() && value < kLogFloor);
}

void TMeter::Private::ChangeRange(double min, double max)
{
    const double oldValue = q->GetValue();
    FMeterMinValue = min;
    FMeterMaxValue = max;
    // The values and thresholds the range moved are watched again, without events.
    WatchLimits(FWatched);
    q->PaintNow();
    if (q->GetValue() != oldValue)
        Q_EMIT q->ValueChanged(q->GetValue());
}

void TMeter::SetMeterMinValue(double value)
{
    // The largest double has no double above it to be the maximum.
    if (!d->AcceptsRangeValue(value) || value == d->FMeterMinValue || value == kMaxDouble)
        return;
    d->ChangeRange(value, d->FMeterMaxValue <= value ? EndAbove(value) : d->FMeterMaxValue);
}

void TMeter::SetMeterMaxValue(double value)
{
    if (!d->AcceptsRangeValue(value) || value == d->FMeterMaxValue || value == -kMaxDouble)
        return;
    double min = d->FMeterMinValue;
    if (min >= value) {
        min = EndBelow(value);
        if (GetLogarithmic() && min <= 0)
            min = value / 10;
    }
    d->ChangeRange(min, value);
}

void TMeter::SetLogarithmic(bool logarithmic)
{
    // Kept even where the range has no logarithm yet (it shows once the range has one).
    Change(d->FLogarithmic, logarithmic, d->LogarithmicAllowed());
}

void TMeter::SetThresholdLow(double value)
{
    if (!d->AcceptsRangeValue(value))
        return;
    const double before = GetThresholdLow();
    d->FThresholdLow = value;
    d->FThresholdHigh = std::max(d->FThresholdHigh, value);
    if (value == before)
        return;
    d->WatchLimits(d->FWatched == wtNone ? wtFirst : d->FWatched);
    if (GetValue() <= GetThresholdLow())
        d->Fire(OnUnderFlow);
    PaintNow();
}

void TMeter::SetThresholdHigh(double value)
{
    if (!d->AcceptsRangeValue(value))
        return;
    const double before = GetThresholdHigh();
    d->FThresholdHigh = value;
    d->FThresholdLow = std::min(d->FThresholdLow, value);
    if (value == before)
        return;
    d->WatchLimits(d->FWatched == wtNone ? wtFirst : d->FWatched);
    if (GetValue() >= GetThresholdHigh())
        d->Fire(OnOverFlow);
    PaintNow();
}

void TMeter::Private::WatchLimits(TWatched needle)
{
    FWatched = needle;
    const bool watching = needle != wtNone && (needle == wtSecond ? FNeedleLayoutSec : FNeedleLayout)->GetVisible();
    const double value = Held(needle == wtSecond ? FValueSec : FValue);
    FOFL = watching && value >= Held(FThresholdHigh);
    FUFL = watching && !FOFL && value <= Held(FThresholdLow);
}

void TMeter::Private::Fire(const TNotifyEvent &event) const
{
    if (event)
        event(q);
}

/// Stores a needle's value and, when it differs from the value shown, watches that
/// needle and fires its range event. True when the picture changes: always for the
/// first needle, which is drawn whether or not it is watched, and for the second
/// only when it is visible.
bool TMeter::Private::SetWatchedValue(double &field, TWatched needle, double value)
{
    if (!std::isfinite(value))
        return false;
    const double before = Held(field);
    field = value;
    // Compared before holding: setting 5 twice on a 0..1 meter watches the limits twice.
    if (value == before)
        return false;
    WatchLimits(needle);
    const bool visible = (needle == wtSecond ? FNeedleLayoutSec : FNeedleLayout)->GetVisible();
    if (visible)
        Fire(FOFL ? q->OnOverFlow : FUFL ? q->OnUnderFlow : q->OnNormalRange);
    return visible || needle == wtFirst;
}

void TMeter::SetValue(double value)
{
    const double oldValue = GetValue();
    if (!d->SetWatchedValue(d->FValue, wtFirst, value))
        return;
    PaintValuesNow();
    if (GetValue() != oldValue)
        Q_EMIT ValueChanged(GetValue());
}

void TMeter::SetValueSec(double value)
{
    // An invisible second needle changes nothing on screen but the lamps, which the
    // next repaint shows.
    if (d->SetWatchedValue(d->FValueSec, wtSecond, value))
        PaintValuesNow();
}

// ---- Images --------------------------------------------------------------------------

QString TMeter::GetBackGroundImg() const { return d->FBakGndFName; }
QString TMeter::GetAnchorImage() const { return d->FACoverFName; }

void TMeter::SetBackGroundImg(const QString &fileName)
{
    d->FBackgroundImage = ReadPictureFile<ENVOMeterError>(this, fileName).convertToFormat(QImage::Format_RGB32);
    d->FStretchedBackground = QImage();
    d->FBakGndFName = d->FBackgroundImage.isNull() ? QString() : fileName;
    PaintNow();
}

void TMeter::SetAnchorImage(const QString &fileName)
{
    d->FAnchorPicture = ReadPictureFile<ENVOMeterError>(this, fileName).convertToFormat(QImage::Format_RGB32);
    d->FACoverFName = d->FAnchorPicture.isNull() ? QString() : fileName;
    PaintNow();
}

// ---- Plain properties ----------------------------------------------------------------

TMeter::TMeterLayout TMeter::GetMeterLayout() const { return d->FMeterLayout; }
int TMeter::GetMeterDecPlaces() const { return d->FMeterDecPlaces; }
int TMeter::GetMeterNrTicks() const { return d->FMeterNrTicks; }
bool TMeter::GetMeterShortTicks() const { return d->FMeterShortTicks; }
bool TMeter::GetMeterScaleLine() const { return d->FMeterScaleLine; }
bool TMeter::GetScaleVisible() const { return d->FScaleVisible; }
bool TMeter::GetScaleBkVisible() const { return d->FScaleBkVisible; }
double TMeter::GetScaleBkWidth() const { return d->FScaleBkWidth; }
QString TMeter::GetCaption() const { return d->FCaption; }
QFont TMeter::GetFontCaption() const { return d->FFontCaption; }
int TMeter::GetAnchorSize() const { return d->FAnchorSize; }
bool TMeter::GetAnchorCovered() const { return d->FAnchorCovered; }
TBkgFill TMeter::GetBkgndFillMode() const { return d->FBkgndFillMode; }
TColor TMeter::GetColorBakG() const { return d->FColorBakG; }
TColor TMeter::GetColorCover() const { return d->FColorCover; }
TColor TMeter::GetColorScale() const { return d->FColorScale; }
TColor TMeter::GetColorSclBkLow() const { return d->FColorSclBkLow; }
TColor TMeter::GetColorSclBkNorm() const { return d->FColorSclBkNorm; }
TColor TMeter::GetColorSclBkHigh() const { return d->FColorSclBkHigh; }
TFrameStyle TMeter::GetFrameStyle() const { return d->FFrameStyle; }
bool TMeter::GetLimWatchHighOn() const { return d->FLimWatchHighOn; }
bool TMeter::GetLimWatchLowOn() const { return d->FLimWatchLowOn; }
TColor TMeter::GetLimWatchActColor() const { return d->FLimWatchActColor; }
TColor TMeter::GetLimWatchPsvColor() const { return d->FLimWatchPsvColor; }
int TMeter::GetRimBottom() const { return d->FRimBottom; }
int TMeter::GetRimTop() const { return d->FRimTop; }
int TMeter::GetRimSide() const { return d->FRimSide; }
TNeedleLayout *TMeter::GetNeedleLayout() const { return d->FNeedleLayout; }
TNeedleLayout *TMeter::GetNeedleLayoutSec() const { return d->FNeedleLayoutSec; }

void TMeter::SetMeterLayout(TMeterLayout layout)
{
    if (layout == d->FMeterLayout || !AcceptsEnum(layout, "MeterLayout"))
        return;
    d->FMeterLayout = layout;
    d->CalcMeterLayoutParams();
    PaintNow();
}

// The scale's settings show only with the scale, the ring's only with the ring.
void TMeter::SetMeterDecPlaces(int decPlaces)
{
    Change(d->FMeterDecPlaces, std::clamp(decPlaces, 0, 4), d->FScaleVisible);
}

void TMeter::SetMeterNrTicks(int nrTicks)
{
    Change(d->FMeterNrTicks, std::clamp(nrTicks, 2, 21), d->FScaleVisible);
}

void TMeter::SetMeterShortTicks(bool shortTicks) { Change(d->FMeterShortTicks, shortTicks, d->FScaleVisible); }
void TMeter::SetMeterScaleLine(bool scaleLine) { Change(d->FMeterScaleLine, scaleLine, d->FScaleVisible); }
void TMeter::SetColorScale(TColor color) { Change(d->FColorScale, color, d->FScaleVisible); }
void TMeter::SetScaleVisible(bool visible) { Change(d->FScaleVisible, visible); }
void TMeter::SetScaleBkVisible(bool visible) { Change(d->FScaleBkVisible, visible); }

void TMeter::SetScaleBkWidth(double width)
{
    if (std::isfinite(width))
        Change(d->FScaleBkWidth, std::clamp(width, 0.0, 100.0), d->FScaleBkVisible);
}

void TMeter::SetColorSclBkLow(TColor color) { Change(d->FColorSclBkLow, color, d->FScaleBkVisible); }
void TMeter::SetColorSclBkNorm(TColor color) { Change(d->FColorSclBkNorm, color, d->FScaleBkVisible); }
void TMeter::SetColorSclBkHigh(TColor color) { Change(d->FColorSclBkHigh, color, d->FScaleBkVisible); }
void TMeter::SetCaption(const QString &caption) { Change(d->FCaption, caption); }
void TMeter::SetFontCaption(const QFont &font) { Change(d->FFontCaption, font, !d->FCaption.isEmpty()); }
void TMeter::SetBkgndFillMode(TBkgFill mode)
{
    ChangeEnum(d->FBkgndFillMode, mode, "BkgndFillMode", d->BackgroundShown());
}
void TMeter::SetAnchorSize(int size) { Change(d->FAnchorSize, size, d->AnchorDrawn()); }
void TMeter::SetAnchorCovered(bool covered) { Change(d->FAnchorCovered, covered); }
void TMeter::SetColorBakG(TColor color) { Change(d->FColorBakG, color); }
void TMeter::SetColorCover(TColor color) { Change(d->FColorCover, color); }
void TMeter::SetFrameStyle(TFrameStyle style) { ChangeEnum(d->FFrameStyle, style, "FrameStyle"); }

bool TMeter::ShowsColorScheme() const
{
    // None and the single line (drawn in ColorBakG) use neither scheme colour; the
    // inner border, anchor and lamps keep their fixed gray and white.
    return d->FFrameStyle >= fsLowered && d->FFrameStyle <= fsEngraved;
}
void TMeter::SetLimWatchHighOn(bool on) { Change(d->FLimWatchHighOn, on); }
void TMeter::SetLimWatchLowOn(bool on) { Change(d->FLimWatchLowOn, on); }
// A lamp's colour shows only on a lamp that is shown and lit (or unlit).
void TMeter::SetLimWatchActColor(TColor color) { Change(d->FLimWatchActColor, color, d->LampShown(true)); }
void TMeter::SetLimWatchPsvColor(TColor color) { Change(d->FLimWatchPsvColor, color, d->LampShown(false)); }
// The rims enter the geometry at the next resize or layout change, not here.
void TMeter::SetRimBottom(int width) { Change(d->FRimBottom, width); }
void TMeter::SetRimTop(int width) { Change(d->FRimTop, width); }
void TMeter::SetRimSide(int width) { Change(d->FRimSide, width); }

void TMeter::SetNeedleLayout(const TNeedleLayout *layout)
{
    if (layout)
        d->FNeedleLayout->AssignAppearance(*layout);
}

void TMeter::SetNeedleLayoutSec(const TNeedleLayout *layout)
{
    if (layout)
        d->FNeedleLayoutSec->AssignAppearance(*layout);
}

void TMeter::Assign(const QObject *source)
{
    const auto *other = qobject_cast<const TMeter *>(source);
    if (!other)
        throw EConvertError(msg::CannotAssign(source, this));
    if (other == this)
        return;
    const double oldValue = GetValue();
    BeginUpdate();
    static_cast<TMeterFields &>(*d) = *other->d;
    d->FStretchedBackground = QImage();
    SetColorScheme(other->GetColorScheme());
    d->FNeedleLayout->AssignAppearance(*other->d->FNeedleLayout);
    d->FNeedleLayoutSec->AssignAppearance(*other->d->FNeedleLayoutSec);
    d->CalcMeterLayoutParams();
    EndUpdate();
    if (GetValue() != oldValue)
        Q_EMIT ValueChanged(GetValue());
}

void TMeter::AssignTo(QObject *dest) const { AssignToSameClass(this, dest); }

// ---- Mapping -------------------------------------------------------------------------

double TMeter::CalcNeedleAngle(double value) const { return Scale().NeedleAngle(value); }

void TMeter::ConvertToPixelCoords(double value, double pctradius, int &X, int &Y) const
{
    const double a = (-90 - CalcNeedleAngle(value)) * M_PI / 180;
    const TMeterGeometry &g = d->Geo();
    const double distance = pctradius * 0.01 * g.Radius;
    X = RoundToInt(std::cos(a) * distance + g.CenterX);
    Y = RoundToInt(g.CenterY - std::sin(a) * distance);
}

bool TMeter::ConvertPixelToValue(int XPos, int YPos, double &MeterValue) const
{
    const TMeterGeometry &g = d->Geo();
    const std::optional<double> value = Scale().PixelToValue(g.CenterX, g.CenterY, XPos, YPos);
    MeterValue = value.value_or(0.0);
    return value.has_value();
}

void TMeter::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    TControl::mouseMoveEvent(event); // fires OnMouseMove
    // Qt gives the position as full integers: no 16-bit wrap of far coordinates.
    double meterValue = 0;
    const bool withinRange = ConvertPixelToValue(pos.x(), pos.y(), meterValue);
    if (OnMouseMoveInMeter)
        Guarded([&] { OnMouseMoveInMeter(this, withinRange, event->modifiers(), meterValue); });
}

} // namespace nvo

// ---- Painting ------------------------------------------------------------------------
//
// The whole meter is composed in the control's off-screen buffer, step by step in
// this order, and copied onto the control at once, so a needle moving at a high rate
// never shows a half-drawn dial.

namespace nvo {

void TMeter::Paint(TCanvas &canvas)
{
    if (d->Geo().Radius <= 0)
        return;
    TBitmap &buffer = Buffer();
    const TMeterScale scale = Scale();
    const bool dialNew = BufferStale() || d->FDialLabelsRewritten || OnBeforeDrawScaleLabel;
    if (dialNew) {
        // A canvas of its own over the bitmap's painter: the steps start every dial
        // from a fresh pen, brush, font and copy mode.
        if (d->FDial.Width() != buffer.Width() || d->FDial.Height() != buffer.Height()
            || d->FDial.DevicePixelRatio() != buffer.DevicePixelRatio())
            d->FDial = TBitmap::ForWidget(this);
        TCanvas dial(d->FDial.Canvas().Painter(), palette());
        dial.Font.Font = font();
        d->ComposeDial(dial, scale);
        d->FDialEnd = {dial.Pen, dial.Brush, dial.Font, dial.CopyMode, dial.PenPos()};
        d->FDialLabelsRewritten = bool(OnBeforeDrawScaleLabel);
        BufferPainted();
    }
    {
        // Whatever a handler does to the painter ends with the paint.
        TCanvas bitmap(buffer.Canvas().Painter(), palette());
        bitmap.CopyMode = cmSrcCopy;
        // Over an unchanged dial only the needles' old and new places need the dial
        // back: the fixed parts are drawn over themselves in the same pixels.
        const bool handlers = OnBeforeDrawNeedle || OnMeterRendered;
        std::vector<QRect> needles = handlers ? std::vector<QRect>() : d->NeedleArea(scale);
        if (dialNew || handlers || d->FDrawnByHandler) {
            bitmap.Draw(0, 0, d->FDial);
        } else {
            for (const auto &area : {d->FNeedleArea, needles})
                for (const QRect &r : area)
                    bitmap.CopyRect(r, d->FDial, r);
        }
        d->FNeedleArea = std::move(needles);
        d->FDrawnByHandler = handlers;
        bitmap.Pen = d->FDialEnd.Pen;
        bitmap.Brush = d->FDialEnd.Brush;
        bitmap.Font = d->FDialEnd.Font;
        bitmap.CopyMode = d->FDialEnd.CopyMode;
        bitmap.MoveTo(d->FDialEnd.PenPos.x(), d->FDialEnd.PenPos.y());
        d->ComposeOverDial(bitmap, scale);
    }
    canvas.CopyMode = cmSrcCopy;
    canvas.Draw(0, 0, buffer);
}

void TMeter::Private::ComposeDial(TCanvas &dial, const TMeterScale &scale)
{
    PaintBackground(dial);
    if (FScaleBkVisible)
        PaintScaleRing(dial, scale);
    // Scale, labels and caption draw over the background as it is.
    dial.Brush.SetStyle(bsClear);
    if (FScaleVisible)
        PaintScale(dial, scale);
    PaintCaption(dial);
}

void TMeter::Private::ComposeOverDial(TCanvas &bitmap, const TMeterScale &scale)
{
    // The second needle lies beneath the first one and beneath whatever an
    // application draws as its own first needle.
    if (FNeedleLayoutSec->GetVisible())
        PaintNeedle(bitmap, scale, *FNeedleLayoutSec, q->GetValueSec());
    bool needleDrawn = false;
    if (q->OnBeforeDrawNeedle)
        q->OnBeforeDrawNeedle(q, bitmap, needleDrawn);
    // The first needle is drawn whether or not its layout counts for the limit watch.
    if (!needleDrawn)
        PaintNeedle(bitmap, scale, *FNeedleLayout, q->GetValue());
    PaintCover(bitmap);
    PaintAnchor(bitmap);
    PaintLamps(bitmap);
    if (q->OnMeterRendered)
        q->OnMeterRendered(q, bitmap);
    PaintFrame(bitmap);
}

const QImage &TMeter::Private::StretchedBackground(QSize size)
{
    const qreal ratio = q->devicePixelRatioF();
    const QSize deviceSize(qRound(size.width() * ratio), qRound(size.height() * ratio));
    if (FStretchedBackground.size() != deviceSize) {
        // Nearest-pixel sampling, as a stretched draw of the canvas does it.
        FStretchedBackground = FBackgroundImage.scaled(deviceSize, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        FStretchedBackground.setDevicePixelRatio(ratio);
    }
    return FStretchedBackground;
}

void TMeter::Private::PaintBackground(TCanvas &canvas)
{
    const int w = q->width(), h = q->height();
    const auto fillWithColour = [&] {
        canvas.Pen.Color = FColorBakG;
        canvas.Brush.SetColor(FColorBakG);
        canvas.Rectangle(0, 0, w, h);
    };
    const QImage &image = FBackgroundImage;
    if (FBakGndFName.isEmpty() || image.isNull()) {
        fillWithColour();
        return;
    }
    const int iw = image.width(), ih = image.height();
    switch (FBkgndFillMode) {
    case bfOwnSize:
        canvas.Pen = TPen();
        canvas.Brush = TBrush();
        canvas.Rectangle(0, 0, w, h);
        canvas.StretchDraw(QRect(0, 0, iw, ih), image);
        break;
    case bfStretch: canvas.Draw(0, 0, StretchedBackground(QSize(w, h))); break;
    case bfTile:
        for (int y = 0; y < h; y += ih)
            for (int x = 0; x < w; x += iw)
                canvas.Draw(x, y, image);
        break;
    default:
        // A fill mode this version does not know still gives a defined background.
        fillWithColour();
        break;
    }
}

void TMeter::Private::PaintScaleRing(TCanvas &canvas, const TMeterScale &scale)
{
    const TMeterGeometry &g = Geo();
    const int cx = g.CenterX, cy = g.CenterY;
    const int ro = RoundToInt(g.Radius + 4);
    const int ri = RoundToInt((100 - FScaleBkWidth) * g.Radius / 100);
    const double start = scale.DrawingAngle(FMeterMinValue);
    const double low = scale.DrawingAngle(Held(FThresholdLow));
    const double high = scale.DrawingAngle(Held(FThresholdHigh));
    const double end = scale.DrawingAngle(FMeterMaxValue);
    // One pie segment per range, counter-clockwise from `from` to `to`; a segment of
    // no width is left out (a pie between equal rays would be a full disc).
    const auto segment = [&](TColor color, double from, double to) {
        if (std::fabs(from - to) * M_PI / 180 <= 1e-6)
            return;
        canvas.Pen.Color = color;
        canvas.Brush.SetColor(color);
        const QPoint p1 = EndPointAtAngle(cx, cy, from, g.Radius);
        const QPoint p2 = EndPointAtAngle(cx, cy, to, g.Radius);
        canvas.Pie(cx - ro, cy - ro, cx + ro + 1, cy + ro, p1.x(), p1.y(), p2.x(), p2.y());
    };
    segment(FColorSclBkLow, low, start);
    segment(FColorSclBkNorm, high, low);
    segment(FColorSclBkHigh, end, high);
    canvas.Pen.Color = FColorBakG;
    canvas.Brush.SetColor(FColorBakG);
    canvas.Ellipse(cx - ri, cy - ri, cx + ri + 1, cy + ri);
}

void TMeter::Private::PaintScale(TCanvas &canvas, const TMeterScale &scale)
{
    const TMeterGeometry &g = Geo();
    const int cx = g.CenterX, cy = g.CenterY;
    const double r = g.Radius;
    canvas.Pen.Color = FColorScale;
    canvas.Brush.SetStyle(bsClear);
    if (FMeterScaleLine) {
        const int rr = RoundToInt(r);
        const QPoint right = EndPointAtAngle(cx, cy, scale.DrawingAngle(FMeterMaxValue), r);
        const QPoint left = EndPointAtAngle(cx, cy, scale.DrawingAngle(FMeterMinValue), r);
        canvas.Arc(cx - rr, cy - rr, cx + rr + 1, cy + rr, right.x(), right.y(), left.x(), left.y());
    }
    const auto tick = [&](double value, double length) {
        const double phi = scale.DrawingAngle(value);
        const QPoint outer = PointAtAngle(cx, cy, phi, r);
        const QPoint inner = PointAtAngle(cx, cy, phi, r - length);
        canvas.MoveTo(outer.x(), outer.y());
        canvas.LineTo(inner.x(), inner.y());
    };

    const TTickStep ticks = CalcTickStep(FMeterMinValue, FMeterMaxValue, FMeterNrTicks);
    if (FMeterShortTicks)
        for (double value : MinorTickValues(ticks, FMeterMinValue, FMeterMaxValue))
            tick(value, 4);

    canvas.Font.Font = q->font();
    canvas.Font.Color = ReadableTextColor(clr::WindowText, FColorBakG, canvas.Palette());
    // Labels stand inwards of their ticks by half the size of the widest label plus
    // 15 pixels, measured on the label of the maximum.
    const QString maxLabel = ScaleLabelText(FMeterMaxValue, FMeterDecPlaces);
    const double ox = canvas.TextWidth(maxLabel) / 2.0 + 15;
    const double oy = canvas.TextHeight(maxLabel) / 2.0 + 15;
    const auto labelPoint = [&](double value) {
        const double phi = scale.DrawingAngle(value) * M_PI / 180;
        return QPoint(RoundToInt(cx + std::cos(phi) * (r - ox)), RoundToInt(cy - std::sin(phi) * (r - oy)));
    };
    // On a full circle the maximum's label would be written over the minimum's.
    const auto sharesMinimumLabel = [&](double value) {
        return g.Sweep >= 360 && std::fabs(scale.Fraction(value) - 1) < 1e-9;
    };

    const bool decades = scale.Logarithmic && FMeterMinValue > 0
                         && std::fabs(std::log10(FMeterMaxValue / FMeterMinValue)) >= 1;
    if (decades) {
        for (const TDecadeTick &t : DecadeTickValues(FMeterMinValue, FMeterMaxValue)) {
            tick(t.Value, 8);
            if (t.Labelled && !sharesMinimumLabel(t.Value))
                PaintLabel(canvas, t.Value, labelPoint(t.Value));
        }
        return;
    }
    // Linear, or logarithmic within one decade: evenly spaced values, each placed
    // by the scale's own spread.
    for (double value : MajorTickValues(ticks, FMeterMaxValue)) {
        tick(value, 8);
        if (!sharesMinimumLabel(value))
            PaintLabel(canvas, value, labelPoint(value));
    }
}

void TMeter::Private::PaintLabel(TCanvas &canvas, double value, QPoint at)
{
    // Measured once unless the handler changes the text or the canvas font: text
    // measurement is the dearest part of a scale with many labels.
    QString text = ScaleLabelText(value, FMeterDecPlaces);
    int textWidth = canvas.TextWidth(text);
    int textHeight = canvas.TextHeight(text);
    if (q->OnBeforeDrawScaleLabel) {
        const QString before = text;
        const QFont fontBefore = canvas.Font.Font;
        q->OnBeforeDrawScaleLabel(q, canvas, text, at.x() - textWidth / 2, at.y() - textHeight / 2);
        if (text != before || canvas.Font.Font != fontBefore) {
            textWidth = canvas.TextWidth(text);
            textHeight = canvas.TextHeight(text);
        }
    }
    if (!text.isEmpty())
        canvas.TextOut(at.x() - textWidth / 2, at.y() - textHeight / 2, text);
}

void TMeter::Private::PaintCaption(TCanvas &canvas)
{
    if (FCaption.isEmpty())
        return;
    canvas.Font.Font = FFontCaption;
    canvas.Font.Color = ReadableTextColor(clr::WindowText, FColorBakG, canvas.Palette());
    canvas.Brush.SetStyle(bsClear);
    canvas.TextOut(Geo().CenterX - canvas.TextWidth(FCaption) / 2,
                   Geo().CenterY - RoundToInt(Geo().Radius / 3) - canvas.TextHeight(FCaption) / 2,
                   FCaption);
}

std::array<QPoint, 7> TMeter::Private::NeedlePoints(const TMeterScale &scale, const TNeedleLayout &layout,
                                                   double value) const
{
    const TMeterGeometry &g = Geo();
    const double length = layout.GetPercentNeedleLength() * (g.Radius - 4) * 0.01;
    return NeedlePolygon(g.CenterX, g.CenterY, scale.DrawingAngle(value), length, layout.GetHeadAngle(),
                         layout.GetThickness(), layout.GetHeadSize(), layout.GetHeadMidLeng());
}

std::vector<QRect> TMeter::Private::NeedleArea(const TMeterScale &scale) const
{
    std::vector<QRect> area;
    const QRect control = q->rect();
    const auto add = [&](const TNeedleLayout &layout, double value) {
        std::array<QPoint, 7> points = NeedlePoints(scale, layout, value);
        CoverPolygon(points, control, area);
        const QPoint shadowOffset(layout.GetShadowDx(), layout.GetShadowDy());
        if (!shadowOffset.isNull()) {
            for (QPoint &p : points)
                p -= shadowOffset;
            CoverPolygon(points, control, area);
        }
    };
    if (FNeedleLayoutSec->GetVisible())
        add(*FNeedleLayoutSec, q->GetValueSec());
    add(*FNeedleLayout, q->GetValue());
    return area;
}

void TMeter::Private::PaintNeedle(TCanvas &canvas, const TMeterScale &scale, const TNeedleLayout &layout,
                         double value)
{
    const std::array<QPoint, 7> points = NeedlePoints(scale, layout, value);
    const QPoint shadowOffset(layout.GetShadowDx(), layout.GetShadowDy());
    if (!shadowOffset.isNull()) {
        std::array<QPoint, 7> shadow = points;
        for (QPoint &p : shadow)
            p -= shadowOffset;
        canvas.Pen.Color = layout.GetShadowColor();
        canvas.Brush.SetColor(layout.GetShadowColor());
        canvas.Polygon(shadow);
    }
    canvas.Pen.Color = layout.GetColorOutline();
    canvas.Brush.SetColor(layout.GetColorBody());
    canvas.Polygon(points);
}

void TMeter::Private::PaintCover(TCanvas &canvas)
{
    const int w = q->width(), h = q->height();
    canvas.Pen.Color = FColorCover;
    canvas.Brush.SetColor(FColorCover);
    canvas.Rectangle(0, 0, FRimSide - 1, h);
    canvas.Rectangle(0, 0, w, FRimTop);
    canvas.Rectangle(w - FRimSide, 0, w, h);
    canvas.Rectangle(0, h - FRimBottom, w, h);
}

void TMeter::Private::PaintInnerBorder(TCanvas &canvas)
{
    const int w = q->width(), h = q->height();
    canvas.Pen.Color = clr::White;
    canvas.MoveTo(FRimSide - 1, h - FRimBottom);
    canvas.LineTo(w - FRimSide, h - FRimBottom);
    canvas.LineTo(w - FRimSide, FRimTop);
    canvas.Pen.Color = clr::Gray;
    canvas.LineTo(FRimSide - 1, FRimTop);
    canvas.LineTo(FRimSide - 1, h - FRimBottom);
}

void TMeter::Private::PaintAnchor(TCanvas &canvas)
{
    const int w = q->width(), h = q->height();
    const int cx = Geo().CenterX, cy = Geo().CenterY, a = FAnchorSize;
    const int sd = FRimSide, t = FRimTop, b = FRimBottom;
    if (!FAnchorCovered) {
        PaintInnerBorder(canvas);
        return;
    }
    if (!FACoverFName.isEmpty() && !FAnchorPicture.isNull()) {
        PaintInnerBorder(canvas);
        // Opaque at its own size, centred on the pivot.
        canvas.CopyMode = cmSrcCopy;
        canvas.Draw(cx - FAnchorPicture.width() / 2, cy - FAnchorPicture.height() / 2, FAnchorPicture);
        return;
    }
    canvas.Pen.Color = FColorCover;
    canvas.Brush.SetColor(FColorCover);
    if (FMeterLayout == mlCirc270 || FMeterLayout == mlCirc300 || FMeterLayout == mlCirc360) {
        // The pivot lies inside the dial: a round boss with a lit upper-left edge.
        canvas.Ellipse(cx - a, cy - a, cx + a, cy + a);
        PaintInnerBorder(canvas);
        canvas.Pen.Color = clr::White;
        canvas.Arc(cx - a, cy - a, cx + a, cy + a, cx + a, cy - a, cx - a, cy + a);
        canvas.Pen.Color = clr::Gray;
        canvas.Arc(cx - a, cy - a, cx + a, cy + a, cx - a, cy + a, cx + a, cy - a);
        return;
    }
    // The pivot sits just above the bottom rim: a half disc on a pedestal down to the
    // rim, its outline joined to the inner border.
    canvas.Pie(cx - a, cy - a, cx + a, cy + a, w, cy, 0, cy);
    canvas.Rectangle(cx - a, h - b, cx + a, cy);
    canvas.Pen.Color = clr::Gray;
    canvas.MoveTo(cx + a - 1, cy);
    canvas.LineTo(cx + a - 1, h - b);
    canvas.Pen.Color = clr::White;
    canvas.LineTo(w - sd, h - b);
    canvas.LineTo(w - sd, t);
    canvas.Pen.Color = clr::Gray;
    canvas.LineTo(sd - 1, t);
    canvas.LineTo(sd - 1, h - b);
    canvas.Pen.Color = clr::White;
    canvas.LineTo(cx - a, h - b);
    canvas.LineTo(cx - a, cy - 1);
    canvas.Arc(cx - a, cy - a, cx + a, cy + a, w, cy, 0, cy);
    canvas.Pen.Color = clr::Gray;
    canvas.Arc(cx - a, cy - a, cx + a, cy + a, cx + a, cy, cx + a, cy - a);
}

void TMeter::Private::PaintLamps(TCanvas &canvas)
{
    if (FLimWatchHighOn)
        PaintLamp(canvas, q->width() - FRimSide - 18, FOFL);
    if (FLimWatchLowOn)
        PaintLamp(canvas, FRimSide + 8, FUFL);
}

void TMeter::Private::PaintLamp(TCanvas &canvas, int left, bool lit)
{
    // A 10 x 10 square with a sunken bevel, 8 pixels below the top rim.
    const int t = FRimTop;
    canvas.Brush.SetColor(lit ? FLimWatchActColor : FLimWatchPsvColor);
    canvas.Pen.Color = clr::Black;
    canvas.Rectangle(left, t + 18, left + 10, t + 8);
    canvas.Pen.Color = kLampWhite;
    canvas.MoveTo(left + 1, t + 17);
    canvas.LineTo(left + 9, t + 17);
    canvas.LineTo(left + 9, t + 8);
    canvas.Pen.Color = kLampSilver;
    canvas.MoveTo(left + 2, t + 16);
    canvas.LineTo(left + 8, t + 16);
    canvas.LineTo(left + 8, t + 9);
    canvas.Pen.Color = kLampGray;
    canvas.MoveTo(left + 1, t + 16);
    canvas.LineTo(left + 1, t + 9);
    canvas.LineTo(left + 9, t + 9);
}

void TMeter::Private::PaintFrame(TCanvas &canvas)
{
    const int w = q->width(), h = q->height();
    const auto outline = [&](TColor topLeft, TColor bottomRight) {
        canvas.Pen.Color = topLeft;
        canvas.MoveTo(0, h - 1);
        canvas.LineTo(0, 0);
        canvas.LineTo(w - 1, 0);
        canvas.Pen.Color = bottomRight;
        canvas.LineTo(w - 1, h - 1);
        canvas.LineTo(0, h - 1);
    };
    // A rectangle one pixel short of the right and bottom edges, then an inner
    // corner at (1, 1) and an outer one at the right and bottom edges.
    const auto doubleLine = [&](TColor first, TColor second) {
        canvas.Pen.Color = first;
        canvas.MoveTo(0, 0);
        canvas.LineTo(w - 2, 0);
        canvas.LineTo(w - 2, h - 2);
        canvas.LineTo(0, h - 2);
        canvas.LineTo(0, 0);
        canvas.Pen.Color = second;
        canvas.MoveTo(1, h - 3);
        canvas.LineTo(1, 1);
        canvas.LineTo(w - 2, 1);
        canvas.MoveTo(1, h - 1);
        canvas.LineTo(w - 1, h - 1);
        canvas.LineTo(w - 1, 0);
    };
    switch (FFrameStyle) {
    case fsSimple: outline(FColorBakG, FColorBakG); break;
    case fsLowered: outline(q->GrayLine(), q->WhiteLine()); break;
    case fsRaised: outline(q->WhiteLine(), q->GrayLine()); break;
    case fsEmbossed: doubleLine(q->WhiteLine(), q->GrayLine()); break;
    case fsEngraved: doubleLine(q->GrayLine(), q->WhiteLine()); break;
    case fsNone:
    default: break; // ordinals beyond the known styles draw no frame, as style 0
    }
}

} // namespace nvo
