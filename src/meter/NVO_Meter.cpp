#include "NVO_Meter.h"

#include <QtCore/QFileInfo>
#include <QtGui/QMouseEvent>

#include <algorithm>
#include <cmath>
#include <limits>

namespace nvo {

namespace {

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

TNeedleLayout::TNeedleLayout(QObject *parent) : QObject(parent) {}

template<class T>
void TNeedleLayout::Change(T &field, T value)
{
    if (field == value)
        return;
    field = value;
    Changed();
}

void TNeedleLayout::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TNeedleLayout::SetColorBody(TColor color) { Change(FColorFill, color); }
void TNeedleLayout::SetColorOutline(TColor color) { Change(FColorLine, color); }
void TNeedleLayout::SetHeadSize(int size) { Change(FSize1, size); }
void TNeedleLayout::SetThickness(int thickness) { Change(FThickness, thickness); }
void TNeedleLayout::SetPercentNeedleLength(int percent) { Change(FPctNeedleLeng, std::clamp(percent, 0, 100)); }
void TNeedleLayout::SetHeadAngle(int angle) { Change(FAngle1, std::clamp(angle, 0, 180)); }
void TNeedleLayout::SetHeadMidLeng(int length) { Change(FBackShift1, length); }
void TNeedleLayout::SetShadowDx(int dx) { Change(FShadowDx, dx); }
void TNeedleLayout::SetShadowDy(int dy) { Change(FShadowDy, dy); }
void TNeedleLayout::SetShadowColor(TColor color) { Change(FShadowColor, color); }
void TNeedleLayout::SetVisible(bool visible) { Change(FVisible, visible); }

void TNeedleLayout::AssignAppearance(const TNeedleLayout &source)
{
    if (&source == this)
        return;
    // Copied field by field without the setters, so that the owner hears of the
    // change once, not once per field.
    const auto fields = [](const TNeedleLayout &l) {
        return std::tuple(l.FColorFill, l.FColorLine, l.FSize1, l.FThickness, l.FPctNeedleLeng,
                          l.FAngle1, l.FBackShift1, l.FShadowDx, l.FShadowDy, l.FShadowColor,
                          l.FVisible);
    };
    if (fields(source) == fields(*this))
        return;
    std::tie(FColorFill, FColorLine, FSize1, FThickness, FPctNeedleLeng, FAngle1, FBackShift1,
             FShadowDx, FShadowDy, FShadowColor, FVisible) = fields(source);
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
    case TMeter::mlCirc90:
    default: break;
    }
    return g;
}

// ---- TMeter: construction ------------------------------------------------------------

TMeter::TMeter(QWidget *parent)
    : TControl(parent), FNeedleLayout(new TNeedleLayout(this)), FNeedleLayoutSec(new TNeedleLayout(this))
{
    resize(297, 209);
    // Moves without a button count too: OnMouseMoveInMeter follows the pointer.
    setMouseTracking(true);
    FFontCaption = font();
    for (TNeedleLayout *layout : {FNeedleLayout, FNeedleLayoutSec}) {
        layout->SetPercentNeedleLength(100);
        layout->SetColorOutline(clr::Black);
        layout->SetColorBody(clr::Silver);
        layout->SetShadowColor(clr::Gray);
        layout->SetHeadSize(20);
        layout->SetHeadMidLeng(20);
        layout->SetHeadAngle(30);
        layout->OnChange = [this](QObject *sender) { StyleChanged(sender); };
    }
    FNeedleLayout->SetVisible(true);
    CalcMeterLayoutParams();
}

TMeter::~TMeter() = default;

const TMeterGeometry &TMeter::Geo() const
{
    // A resize counts as soon as it is made: Qt delays the resize event of a hidden
    // widget until it is shown, and the mapping methods are used before that.
    if (FGeometrySize != size()) {
        FGeometry = CalcMeterGeometry(FMeterLayout, width(), height(), FRimBottom, FRimTop, FRimSide);
        FGeometrySize = size();
    }
    return FGeometry;
}

void TMeter::CalcMeterLayoutParams()
{
    FGeometry = CalcMeterGeometry(FMeterLayout, width(), height(), FRimBottom, FRimTop, FRimSide);
    FGeometrySize = size();
    // An opaque control paints every pixel itself, so Qt need not paint the parent
    // beneath it first. A meter with no room for its dial paints nothing and must
    // let the parent show through.
    setAttribute(Qt::WA_OpaquePaintEvent, FGeometry.Radius > 0);
}

void TMeter::resizeEvent(QResizeEvent *event)
{
    CalcMeterLayoutParams();
    TControl::resizeEvent(event);
}

void TMeter::StyleChanged(QObject *) { PaintNow(); }

TMeterScale TMeter::Scale() const
{
    return {FMeterMinValue, FMeterMaxValue, FLogarithmic, Geo().Sweep};
}

// ---- Value model ---------------------------------------------------------------------
//
// NaN and infinities are ignored by every setter: a NaN would never compare equal,
// fail every clamp and end as a NaN angle, and an infinite end leaves no scale.

void TMeter::SetMeterMinValue(double value)
{
    if (!std::isfinite(value) || (FLogarithmic && value < kLogFloor))
        return;
    if (FLoading) {
        FMeterMinValue = value;
        return;
    }
    // The largest double has no double above it to be the maximum.
    if (value == FMeterMinValue || value == kMaxDouble)
        return;
    FMeterMinValue = value;
    if (FMeterMaxValue <= value)
        FMeterMaxValue = EndAbove(value);
    const double oldValue = FValue;
    for (double *v : {&FValue, &FValueSec, &FThresholdLow, &FThresholdHigh})
        *v = std::max(*v, value);
    PaintNow();
    if (FValue != oldValue)
        Q_EMIT ValueChanged(FValue);
}

void TMeter::SetMeterMaxValue(double value)
{
    if (!std::isfinite(value) || (FLogarithmic && value < kLogFloor))
        return;
    if (FLoading) {
        FMeterMaxValue = value;
        return;
    }
    if (value == FMeterMaxValue || value == -kMaxDouble)
        return;
    FMeterMaxValue = value;
    if (FMeterMinValue >= value) {
        FMeterMinValue = EndBelow(value);
        if (FLogarithmic && FMeterMinValue <= 0)
            FMeterMinValue = value / 10;
    }
    const double oldValue = FValue;
    for (double *v : {&FValue, &FValueSec, &FThresholdLow, &FThresholdHigh})
        *v = std::min(*v, value);
    PaintNow();
    if (FValue != oldValue)
        Q_EMIT ValueChanged(FValue);
}

void TMeter::SetLogarithmic(bool logarithmic)
{
    if (logarithmic == FLogarithmic)
        return;
    if (FLoading) {
        FLogarithmic = logarithmic;
        return;
    }
    FLogarithmic = FMeterMinValue <= kLogFloor || FMeterMaxValue <= kLogFloor ? false : logarithmic;
    PaintNow();
}

void TMeter::SetThresholdLow(double value)
{
    if (!std::isfinite(value) || (FLogarithmic && value < kLogFloor))
        return;
    if (FLoading) {
        FThresholdLow = value;
        return;
    }
    if (value == FThresholdLow)
        return;
    FThresholdLow = Bounded(value, FMeterMinValue, FMeterMaxValue);
    if (FThresholdLow > FThresholdHigh)
        FThresholdHigh = FThresholdLow;
    FUFL = false;
    if (FValue <= FThresholdLow) {
        FUFL = true;
        if (OnUnderFlow)
            OnUnderFlow(this);
    }
    PaintNow();
}

void TMeter::SetThresholdHigh(double value)
{
    if (!std::isfinite(value) || (FLogarithmic && value < kLogFloor))
        return;
    if (FLoading) {
        FThresholdHigh = value;
        return;
    }
    if (value == FThresholdHigh)
        return;
    FThresholdHigh = Bounded(value, FMeterMinValue, FMeterMaxValue);
    if (FThresholdHigh < FThresholdLow)
        FThresholdLow = FThresholdHigh;
    FOFL = false;
    if (FValue >= FThresholdHigh) {
        FOFL = true;
        if (OnOverFlow)
            OnOverFlow(this);
    }
    PaintNow();
}

void TMeter::WatchLimits(double value, bool visible)
{
    // Either value resets both lamps: the value set last decides them.
    FOFL = false;
    FUFL = false;
    if (!visible)
        return;
    if (value >= FThresholdHigh) {
        FOFL = true;
        if (OnOverFlow)
            OnOverFlow(this);
    } else if (value > FThresholdLow) {
        if (OnNormalRange)
            OnNormalRange(this);
    } else {
        FUFL = true;
        if (OnUnderFlow)
            OnUnderFlow(this);
    }
}

void TMeter::SetValue(double value)
{
    if (!std::isfinite(value))
        return;
    if (FLoading) {
        FValue = value;
        return;
    }
    // Compared before clamping: setting 5 twice on a 0..1 meter watches the limits twice.
    if (value == FValue)
        return;
    const double oldValue = FValue;
    FValue = Bounded(value, FMeterMinValue, FMeterMaxValue);
    WatchLimits(FValue, FNeedleLayout->GetVisible());
    PaintNow();
    if (FValue != oldValue)
        Q_EMIT ValueChanged(FValue);
}

void TMeter::SetValueSec(double value)
{
    if (!std::isfinite(value))
        return;
    if (FLoading) {
        FValueSec = value;
        return;
    }
    if (value == FValueSec)
        return;
    FValueSec = Bounded(value, FMeterMinValue, FMeterMaxValue);
    WatchLimits(FValueSec, FNeedleLayoutSec->GetVisible());
    // An invisible second needle changes nothing on screen but the lamps, which
    // the next repaint shows.
    if (FNeedleLayoutSec->GetVisible())
        PaintNow();
}

// ---- Loading -------------------------------------------------------------------------

void TMeter::BeginLoading() { FLoading = true; }

void TMeter::Loaded()
{
    FLoading = false;
    RestoreValueModel();
    LoadBackground(false);
    LoadAnchorImage();
    PaintNow();
}

void TMeter::RestoreValueModel()
{
    // A stored range may come reversed or empty (written by hand, or by a program
    // that set both ends beyond 2^53): a reversed one most likely has its two ends
    // exchanged, an empty one gets the smallest range the setters would give it.
    if (FMeterMaxValue < FMeterMinValue)
        std::swap(FMeterMinValue, FMeterMaxValue);
    if (FMeterMaxValue == FMeterMinValue) {
        if (FMeterMinValue == kMaxDouble)
            FMeterMinValue = EndBelow(FMeterMaxValue);
        else
            FMeterMaxValue = EndAbove(FMeterMinValue);
    }
    if (FMeterMinValue <= kLogFloor || FMeterMaxValue <= kLogFloor)
        FLogarithmic = false;
    FThresholdLow = Bounded(FThresholdLow, FMeterMinValue, FMeterMaxValue);
    FThresholdHigh = Bounded(FThresholdHigh, FThresholdLow, FMeterMaxValue);
    const double oldValue = FValue;
    FValue = Bounded(FValue, FMeterMinValue, FMeterMaxValue);
    // The second value is held to the range as well: its needle would otherwise
    // point outside the scale.
    FValueSec = Bounded(FValueSec, FMeterMinValue, FMeterMaxValue);
    if (FValue != oldValue)
        Q_EMIT ValueChanged(FValue);
}

// ---- Images --------------------------------------------------------------------------

void TMeter::SetBackGroundImg(const QString &fileName)
{
    FBakGndFName = fileName;
    if (FLoading)
        return;
    LoadBackground(true);
    PaintNow();
}

void TMeter::LoadBackground(bool raise)
{
    FBackgroundImage = QImage();
    FStretchedBackground = QImage();
    if (FBakGndFName.isEmpty())
        return;
    if (!QFileInfo(FBakGndFName).exists()) {
        FBakGndFName.clear();
        return;
    }
    FBackgroundImage = QImage(FBakGndFName).convertToFormat(QImage::Format_RGB32);
    if (!FBackgroundImage.isNull())
        return;
    // Keeping the name of a file that could not be read would show the previous
    // picture (or none) under a name that promises another.
    const QString failed = FBakGndFName;
    FBakGndFName.clear();
    if (raise) {
        PaintNow();
        throw ENVOMeterError(QStringLiteral("Component \"%1\": cannot read image file \"%2\"")
                                 .arg(ComponentName(this), failed));
    }
}

void TMeter::SetAnchorImage(const QString &fileName)
{
    FACoverFName = fileName;
    if (FLoading)
        return;
    LoadAnchorImage();
    PaintNow();
}

void TMeter::LoadAnchorImage()
{
    FAnchorPicture = QImage();
    if (FACoverFName.isEmpty())
        return;
    if (QFileInfo(FACoverFName).exists())
        FAnchorPicture = QImage(FACoverFName).convertToFormat(QImage::Format_RGB32);
    // An anchor picture that cannot be read only loses its name: the meter keeps
    // its drawn anchor.
    if (FAnchorPicture.isNull())
        FACoverFName.clear();
}

// ---- Plain properties ----------------------------------------------------------------

void TMeter::SetMeterLayout(TMeterLayout layout)
{
    if (layout == FMeterLayout)
        return;
    FMeterLayout = layout;
    CalcMeterLayoutParams();
    PaintNow();
}

void TMeter::SetMeterDecPlaces(int decPlaces)
{
    // Compared before clamping, as stored forms rely on: 9 after 4 repaints again.
    if (decPlaces == FMeterDecPlaces)
        return;
    FMeterDecPlaces = std::clamp(decPlaces, 0, 4);
    PaintNow();
}

void TMeter::SetMeterNrTicks(int nrTicks)
{
    if (nrTicks == FMeterNrTicks)
        return;
    FMeterNrTicks = std::clamp(nrTicks, 2, 21);
    PaintNow();
}

void TMeter::SetMeterShortTicks(bool shortTicks) { Change(FMeterShortTicks, shortTicks); }
void TMeter::SetMeterScaleLine(bool scaleLine) { Change(FMeterScaleLine, scaleLine); }

// These few setters store and repaint without comparing, as the control always did.
void TMeter::SetScaleVisible(bool visible)
{
    FScaleVisible = visible;
    PaintNow();
}

void TMeter::SetScaleBkVisible(bool visible)
{
    FScaleBkVisible = visible;
    PaintNow();
}

void TMeter::SetScaleBkWidth(double width)
{
    if (!std::isfinite(width))
        return;
    FScaleBkWidth = std::clamp(width, 0.0, 100.0);
    PaintNow();
}

void TMeter::SetCaption(const QString &caption)
{
    FCaption = caption;
    PaintNow();
}

void TMeter::SetBkgndFillMode(TBkgFill mode)
{
    FBkgndFillMode = mode;
    PaintNow();
}

void TMeter::SetFontCaption(const QFont &font) { Change(FFontCaption, font); }
void TMeter::SetAnchorSize(int size) { Change(FAnchorSize, size); }
void TMeter::SetAnchorCovered(bool covered) { Change(FAnchorCovered, covered); }
void TMeter::SetColorBakG(TColor color) { Change(FColorBakG, color); }
void TMeter::SetColorCover(TColor color) { Change(FColorCover, color); }
void TMeter::SetColorScale(TColor color) { Change(FColorScale, color); }
void TMeter::SetColorSclBkLow(TColor color) { Change(FColorSclBkLow, color); }
void TMeter::SetColorSclBkNorm(TColor color) { Change(FColorSclBkNorm, color); }
void TMeter::SetColorSclBkHigh(TColor color) { Change(FColorSclBkHigh, color); }
void TMeter::SetFrameStyle(TFrameStyle style) { Change(FFrameStyle, style); }
void TMeter::SetLimWatchHighOn(bool on) { Change(FLimWatchHighOn, on); }
void TMeter::SetLimWatchLowOn(bool on) { Change(FLimWatchLowOn, on); }
void TMeter::SetLimWatchActColor(TColor color) { Change(FLimWatchActColor, color); }
void TMeter::SetLimWatchPsvColor(TColor color) { Change(FLimWatchPsvColor, color); }
// The rims enter the geometry at the next resize or layout change, not here.
void TMeter::SetRimBottom(int width) { Change(FRimBottom, width); }
void TMeter::SetRimTop(int width) { Change(FRimTop, width); }
void TMeter::SetRimSide(int width) { Change(FRimSide, width); }

void TMeter::SetColorScheme(TColorScheme scheme)
{
    if (scheme == FColorScheme)
        return;
    FColorScheme = scheme;
    FColGrayLine = GrayLineColor(scheme);
    FColWhiteLine = WhiteLineColor(scheme);
    PaintNow();
}

void TMeter::SetNeedleLayout(const TNeedleLayout *layout)
{
    if (!layout)
        return;
    BeginUpdate();
    FNeedleLayout->AssignAppearance(*layout);
    EndUpdate();
}

void TMeter::SetNeedleLayoutSec(const TNeedleLayout *layout)
{
    if (!layout)
        return;
    BeginUpdate();
    FNeedleLayoutSec->AssignAppearance(*layout);
    EndUpdate();
}

void TMeter::Assign(const QObject *source)
{
    const auto *other = qobject_cast<const TMeter *>(source);
    if (!other)
        throw EConvertError(msg::CannotAssign(source, this));
    if (other == this)
        return;
    const double oldValue = FValue;
    BeginUpdate();
    FMeterMinValue = other->FMeterMinValue;
    FMeterMaxValue = other->FMeterMaxValue;
    FLogarithmic = other->FLogarithmic;
    FThresholdLow = other->FThresholdLow;
    FThresholdHigh = other->FThresholdHigh;
    FValue = other->FValue;
    FValueSec = other->FValueSec;
    FOFL = other->FOFL;
    FUFL = other->FUFL;
    FMeterLayout = other->FMeterLayout;
    FMeterDecPlaces = other->FMeterDecPlaces;
    FMeterNrTicks = other->FMeterNrTicks;
    FMeterShortTicks = other->FMeterShortTicks;
    FMeterScaleLine = other->FMeterScaleLine;
    FScaleVisible = other->FScaleVisible;
    FScaleBkVisible = other->FScaleBkVisible;
    FScaleBkWidth = other->FScaleBkWidth;
    FCaption = other->FCaption;
    FFontCaption = other->FFontCaption;
    FAnchorSize = other->FAnchorSize;
    FAnchorCovered = other->FAnchorCovered;
    FACoverFName = other->FACoverFName;
    FAnchorPicture = other->FAnchorPicture;
    FBakGndFName = other->FBakGndFName;
    FBackgroundImage = other->FBackgroundImage;
    FStretchedBackground = QImage();
    FBkgndFillMode = other->FBkgndFillMode;
    FColorBakG = other->FColorBakG;
    FColorCover = other->FColorCover;
    FColorScale = other->FColorScale;
    FColorScheme = other->FColorScheme;
    FColGrayLine = other->FColGrayLine;
    FColWhiteLine = other->FColWhiteLine;
    FColorSclBkLow = other->FColorSclBkLow;
    FColorSclBkNorm = other->FColorSclBkNorm;
    FColorSclBkHigh = other->FColorSclBkHigh;
    FFrameStyle = other->FFrameStyle;
    FLimWatchHighOn = other->FLimWatchHighOn;
    FLimWatchLowOn = other->FLimWatchLowOn;
    FLimWatchActColor = other->FLimWatchActColor;
    FLimWatchPsvColor = other->FLimWatchPsvColor;
    FRimBottom = other->FRimBottom;
    FRimTop = other->FRimTop;
    FRimSide = other->FRimSide;
    FNeedleLayout->AssignAppearance(*other->FNeedleLayout);
    FNeedleLayoutSec->AssignAppearance(*other->FNeedleLayoutSec);
    CalcMeterLayoutParams();
    EndUpdate();
    if (FValue != oldValue)
        Q_EMIT ValueChanged(FValue);
}

void TMeter::AssignTo(QObject *dest) const
{
    auto *other = qobject_cast<TMeter *>(dest);
    if (!other)
        throw EConvertError(msg::CannotAssign(this, dest));
    other->Assign(this);
}

// ---- Mapping -------------------------------------------------------------------------

double TMeter::CalcNeedleAngle(double value) const { return Scale().NeedleAngle(value); }

void TMeter::ConvertToPixelCoords(double value, double pctradius, int &X, int &Y) const
{
    const double a = (-90 - CalcNeedleAngle(value)) * M_PI / 180;
    const TMeterGeometry &g = Geo();
    const double d = pctradius * 0.01 * g.Radius;
    X = RoundToInt(std::cos(a) * d + g.CenterX);
    Y = RoundToInt(g.CenterY - std::sin(a) * d);
}

bool TMeter::ConvertPixelToValue(int XPos, int YPos, double &MeterValue) const
{
    const TMeterGeometry &g = Geo();
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
    Guarded([&] { MouseMoveInMeter(withinRange, event->modifiers(), meterValue); });
}

void TMeter::MouseMoveInMeter(bool withinRange, Qt::KeyboardModifiers shift, double meterValue)
{
    if (OnMouseMoveInMeter)
        OnMouseMoveInMeter(this, withinRange, shift, meterValue);
}

} // namespace nvo

// ---- Painting ------------------------------------------------------------------------
//
// The whole meter is composed in one off-screen bitmap, step by step in this order,
// and copied onto the control at once, so a needle moving at a high rate never shows
// a half-drawn dial.

namespace nvo {

void TMeter::Paint(TCanvas &canvas)
{
    if (Geo().Radius <= 0)
        return;
    QImage &buffer = Buffer();
    {
        // The bitmap's canvas (and its painter) ends before the picture is copied.
        TCanvas bitmap(&buffer, palette());
        bitmap.Font.Font = font();
        Compose(bitmap);
    }
    canvas.CopyMode = cmSrcCopy;
    canvas.Draw(0, 0, buffer);
}

void TMeter::Compose(TCanvas &bitmap)
{
    const TMeterScale scale = Scale();
    PaintBackground(bitmap);
    if (FScaleBkVisible)
        PaintScaleRing(bitmap, scale);
    // Scale, labels and caption draw over the background as it is.
    bitmap.Brush.SetStyle(bsClear);
    if (FScaleVisible)
        PaintScale(bitmap, scale);
    PaintCaption(bitmap);
    // The second needle lies beneath the first one and beneath whatever an
    // application draws as its own first needle.
    if (FNeedleLayoutSec->GetVisible())
        PaintNeedle(bitmap, scale, *FNeedleLayoutSec, FValueSec);
    bool needleDrawn = false;
    if (OnBeforeDrawNeedle)
        OnBeforeDrawNeedle(this, bitmap, needleDrawn);
    // The first needle is drawn whether or not its layout counts for the limit watch.
    if (!needleDrawn)
        PaintNeedle(bitmap, scale, *FNeedleLayout, FValue);
    PaintCover(bitmap);
    PaintAnchor(bitmap);
    PaintLamps(bitmap);
    if (OnMeterRendered)
        OnMeterRendered(this, bitmap);
    PaintFrame(bitmap);
}

QImage &TMeter::Buffer()
{
    const qreal ratio = devicePixelRatioF();
    const QSize deviceSize(qRound(width() * ratio), qRound(height() * ratio));
    if (FBuffer.size() != deviceSize || FBuffer.devicePixelRatio() != ratio) {
        // No need to clear it: the background step paints every pixel.
        FBuffer = QImage(deviceSize, QImage::Format_RGB32);
        FBuffer.setDevicePixelRatio(ratio);
    }
    return FBuffer;
}

const QImage &TMeter::StretchedBackground(QSize size)
{
    const qreal ratio = devicePixelRatioF();
    const QSize deviceSize(qRound(size.width() * ratio), qRound(size.height() * ratio));
    if (FStretchedBackground.size() != deviceSize) {
        // Nearest-pixel sampling, as a stretched draw of the canvas does it.
        FStretchedBackground = FBackgroundImage.scaled(deviceSize, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        FStretchedBackground.setDevicePixelRatio(ratio);
    }
    return FStretchedBackground;
}

void TMeter::PaintBackground(TCanvas &canvas)
{
    const int w = width(), h = height();
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

void TMeter::PaintScaleRing(TCanvas &canvas, const TMeterScale &scale)
{
    const TMeterGeometry &g = FGeometry;
    const int cx = g.CenterX, cy = g.CenterY;
    const int ro = RoundToInt(g.Radius + 4);
    const int ri = RoundToInt((100 - FScaleBkWidth) * g.Radius / 100);
    const double start = scale.DrawingAngle(FMeterMinValue);
    const double low = scale.DrawingAngle(FThresholdLow);
    const double high = scale.DrawingAngle(FThresholdHigh);
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

void TMeter::PaintScale(TCanvas &canvas, const TMeterScale &scale)
{
    const TMeterGeometry &g = FGeometry;
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

    canvas.Font.Font = font();
    canvas.Font.Color = clr::WindowText;
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

    const bool decades = FLogarithmic && FMeterMinValue > 0
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

void TMeter::PaintLabel(TCanvas &canvas, double value, QPoint at)
{
    // Measured once unless the handler changes the text or the canvas font: text
    // measurement is the dearest part of a scale with many labels.
    QString text = ScaleLabelText(value, FMeterDecPlaces);
    int textWidth = canvas.TextWidth(text);
    int textHeight = canvas.TextHeight(text);
    if (OnBeforeDrawScaleLabel) {
        const QString before = text;
        const QFont fontBefore = canvas.Font.Font;
        OnBeforeDrawScaleLabel(this, canvas, text, at.x() - textWidth / 2, at.y() - textHeight / 2);
        if (text != before || canvas.Font.Font != fontBefore) {
            textWidth = canvas.TextWidth(text);
            textHeight = canvas.TextHeight(text);
        }
    }
    if (!text.isEmpty())
        canvas.TextOut(at.x() - textWidth / 2, at.y() - textHeight / 2, text);
}

void TMeter::PaintCaption(TCanvas &canvas)
{
    if (FCaption.isEmpty())
        return;
    canvas.Font.Font = FFontCaption;
    canvas.Font.Color = clr::WindowText;
    canvas.Brush.SetStyle(bsClear);
    canvas.TextOut(FGeometry.CenterX - canvas.TextWidth(FCaption) / 2,
                   FGeometry.CenterY - RoundToInt(FGeometry.Radius / 3) - canvas.TextHeight(FCaption) / 2,
                   FCaption);
}

void TMeter::PaintNeedle(TCanvas &canvas, const TMeterScale &scale, const TNeedleLayout &layout,
                         double value)
{
    const TMeterGeometry &g = FGeometry;
    const double length = layout.GetPercentNeedleLength() * (g.Radius - 4) * 0.01;
    std::array<QPoint, 7> points =
        NeedlePolygon(g.CenterX, g.CenterY, scale.DrawingAngle(value), length, layout.GetHeadAngle(),
                      layout.GetThickness(), layout.GetHeadSize(), layout.GetHeadMidLeng());
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

void TMeter::PaintCover(TCanvas &canvas)
{
    const int w = width(), h = height();
    canvas.Pen.Color = FColorCover;
    canvas.Brush.SetColor(FColorCover);
    canvas.Rectangle(0, 0, FRimSide - 1, h);
    canvas.Rectangle(0, 0, w, FRimTop);
    canvas.Rectangle(w - FRimSide, 0, w, h);
    canvas.Rectangle(0, h - FRimBottom, w, h);
}

void TMeter::PaintInnerBorder(TCanvas &canvas)
{
    const int w = width(), h = height();
    canvas.Pen.Color = clr::White;
    canvas.MoveTo(FRimSide - 1, h - FRimBottom);
    canvas.LineTo(w - FRimSide, h - FRimBottom);
    canvas.LineTo(w - FRimSide, FRimTop);
    canvas.Pen.Color = clr::Gray;
    canvas.LineTo(FRimSide - 1, FRimTop);
    canvas.LineTo(FRimSide - 1, h - FRimBottom);
}

void TMeter::PaintAnchor(TCanvas &canvas)
{
    const int w = width(), h = height();
    const int cx = FGeometry.CenterX, cy = FGeometry.CenterY, a = FAnchorSize;
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

void TMeter::PaintLamps(TCanvas &canvas)
{
    if (FLimWatchHighOn)
        PaintLamp(canvas, width() - FRimSide - 18, FOFL);
    if (FLimWatchLowOn)
        PaintLamp(canvas, FRimSide + 8, FUFL);
}

void TMeter::PaintLamp(TCanvas &canvas, int left, bool lit)
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

void TMeter::PaintFrame(TCanvas &canvas)
{
    const int w = width(), h = height();
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
    case fsLowered: outline(FColGrayLine, FColWhiteLine); break;
    case fsRaised: outline(FColWhiteLine, FColGrayLine); break;
    case fsEmbossed: doubleLine(FColWhiteLine, FColGrayLine); break;
    case fsEngraved: doubleLine(FColGrayLine, FColWhiteLine); break;
    case fsNone:
    default: break; // ordinals beyond the known styles draw no frame, as style 0
    }
}

} // namespace nvo
