#include "NVO_ProgBar.h"

#include "NVO_ControlAccessible_p.h"

#include "NVO_Format.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace nvo {

namespace {

/// The longest bar length kept: far beyond any screen, and every integer up to it
/// is exact in a double, so the gradient's index arithmetic stays exact too.
constexpr double kMaxBarLength = 1e15;

} // namespace

// ---- Pure rules ------------------------------------------------------------------------

TColor InterpolateColor(TColor c1, TColor c2, double x)
{
    x = std::isnan(x) ? 0.0 : std::clamp(x, 0.0, 1.0);
    TColor result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int b1 = int((c1 >> shift) & 0xFF), b2 = int((c2 >> shift) & 0xFF);
        result |= TColor(std::trunc(b1 + (b2 - b1) * x)) << shift;
    }
    return result;
}

QString FormatProgBarValue(double value, int decPlaces)
{
    decPlaces = std::clamp(decPlaces, -2, 10);
    TLatin1Text text;
    if (decPlaces >= 0)
        text.AppendFixed(value, decPlaces, '.');
    else if (decPlaces == -1)
        text.AppendScientificOrAsterisks(value, 5, '.', 2);
    else
        text.AppendScientific(value, 15, '.', 4);
    return text.ToQString();
}

TBarAxis CalcBarAxis(TDirection direction, int width, int height, int marginLeft, int marginTop,
                     int marginRight, int marginBottom, double value, double min, double max)
{
    TBarAxis axis;
    axis.Vertical = direction == drBottomUp || direction == drTopDown;
    axis.Extent = axis.Vertical ? height : width;
    axis.Full = axis.Vertical ? height - marginTop - marginBottom : width - marginLeft - marginRight;
    axis.CrossFrom = axis.Vertical ? marginLeft : marginTop;
    axis.CrossTo = axis.Vertical ? width - marginRight : height - marginBottom;
    switch (direction) {
    case drBottomUp: axis.Root = height - marginBottom - 1; axis.Step = -1; break;
    case drTopDown: axis.Root = marginTop; axis.Step = 1; break;
    case drRightLeft: axis.Root = width - marginRight - 1; axis.Step = -1; break;
    case drLeftRight: axis.Root = marginLeft; axis.Step = 1; break;
    default: return axis; // an ordinal no direction stands for draws no bar
    }

    // A range of zero width (or a NaN anywhere) would divide by zero; a value below
    // the range would give a negative length, which a rectangle would draw backwards
    // over the margin and the frame. Both show an empty bar.
    const double length = axis.Full * (value - min) / (max - min);
    if (max != min && length > 0) // false for NaN too
        axis.Length = qint64(RoundHalfEven(std::min(length, kMaxBarLength)));

    // Pixel Root + Step n must lie in [0, Extent).
    const qint64 firstInside = axis.Step > 0 ? -axis.Root : axis.Root - axis.Extent + 1;
    const qint64 endInside = axis.Step > 0 ? axis.Extent - axis.Root : axis.Root + 1;
    axis.VisibleFrom = std::max<qint64>(0, firstInside);
    axis.VisibleTo = std::max(axis.VisibleFrom, std::min(axis.Length, endInside));
    // The horizontal bar's grid reaches the pixel just past its tip, the vertical
    // bar's stops at the tip; the mirrored directions keep their axis' rule.
    axis.GridReach = axis.Vertical ? axis.Length - 1 : axis.Length;
    return axis;
}

int GradientIndex(TProgBar::TColorMapping mode, qint64 n, qint64 length, int full)
{
    const auto scaled = [](double numerator, double denominator) {
        return denominator > 0 ? RoundHalfEven(numerator * 1023.0 / denominator) : 0.0;
    };
    double k = 0;
    switch (mode) {
    case TProgBar::cgmCover: k = scaled(double(n), full); break;
    // The tip (n = length - 1) shows the last entry. A bar of full length therefore
    // shows the covering table shifted by round(1023 / full) entries, less than one
    // line's worth of colours: the tip's colour is the mapping's promise.
    case TProgBar::cgmMove: k = scaled(double(n), full) - scaled(double(length - 1), full) + 1023; break;
    case TProgBar::cgmStretch:
    default: k = scaled(double(n), double(length)); break;
    }
    return int(std::clamp(k, 0.0, 1023.0));
}

// ---- TProgBar: construction, timer -------------------------------------------------------

struct TProgBar::Private {
    explicit Private(TProgBar *owner);

    void FillBarColors();
    void InitTimer();
    void UpdateTimer();
    void AutoIncEvent();
    /// The value text's settings show only while the text does.
    void RepaintText();

    // The steps of a paint, in their order.
    void PaintBar(TCanvas &canvas, const TBarAxis &axis) const;
    void PaintGradient(TCanvas &canvas, const TBarAxis &axis) const;
    void PaintGrid(TCanvas &canvas, const TBarAxis &axis) const;
    void PaintFrame(TCanvas &canvas, TFrameStyle style, int left, int top, int right, int bottom) const;
    void PaintText(TCanvas &canvas) const;
    /// The rectangle from axis pixel `from` to `to` (exclusive) across the plot area.
    static QRect BarRect(const TBarAxis &axis, int from, int to);
    bool Vertical() const;
    /// A size of `length` along the bar and `thickness` across it.
    QSize AlongDirection(int length, int thickness) const;
    /// Fixed across the bar: a layout stretches a bar only along it.
    void FitPolicyToDirection();

    TProgBar *const q;
    bool FTimerEnabled = false;
    double FAutoIncStep = 1.0;
    QString FBackGroundImg;
    TColor FColorBackGnd = clr::Silver;
    TColorMapping FColorMapMode = cgmStretch;
    TColor FColorGrid = clr::Black;
    TColor FColorMargin = clr::Silver;
    TFrameStyle FFrameStyleOuter = fsRaised;
    TFrameStyle FFrameStyleInner = fsLowered;
    int FGridDist = 0;
    int FMarginBottom = 4;
    int FMarginLeft = 4;
    int FMarginRight = 4;
    int FMarginTop = 4;
    double FMax = 100.0;
    double FMin = 0.0;
    TDirection FDirection = drLeftRight;
    int FRepeatInterval = 700;
    bool FShowColorGradient = false;
    int FStartInterval = 1500;
    TAlignment FTextAlignment = taCenter;
    int FTextAngle = 0;
    int FTextDecPlaces = 0;
    int FTextPosX = 14;
    int FTextPosY = 14;
    bool FTextVisible = true;
    double FValue = 10.0;

    THiddenTimer FTimer;
    bool FIsStart = true;
    std::array<TColor, kBarColorCount> FBarColorArray{};
    TBitmap AuxBmp{10, 10};
};

TProgBar::Private::Private(TProgBar *owner) : q(owner), FTimer(owner, [owner] { owner->DoTimer(); })
{
    FBarColorArray[0] = clr::Blue;
    FBarColorArray[kBarColorCount - 1] = clr::Red;
}

/// A progress bar: the value reads as the bar's own text.
template<>
struct TControlAccessibility<TProgBar> {
    static constexpr QAccessible::Role Role = QAccessible::ProgressBar;
    static QString Name(const TProgBar &) { return TProgBar::tr("Progress bar"); }
    static QString Value(const TProgBar &bar) { return FormatProgBarValue(bar.GetValue(), bar.GetTextDecPlaces()); }
    static double Current(const TProgBar &bar) { return bar.GetValue(); }
    static double Minimum(const TProgBar &bar) { return bar.GetMin(); }
    static double Maximum(const TProgBar &bar) { return bar.GetMax(); }
    static double Step(const TProgBar &) { return 0; }
    static void SetCurrent(TProgBar &bar, double value) { bar.SetValue(value); }
};

TProgBar::TProgBar(QWidget *parent)
    : TControl(parent), OnAutoInc([this] {
          if (!Designing())
              d->UpdateTimer();
      }),
      d(std::make_unique<Private>(this))
{
    InstallControlAccessibility(this, &TProgBar::ValueChanged);
    resize(300, 28);
    // Every pixel is painted by the control: Qt need not paint the parent first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    d->FillBarColors();
    d->FitPolicyToDirection();
}

QSize TProgBar::sizeHint() const { return d->AlongDirection(300, std::max(28, TextLineHeight())); }
QSize TProgBar::minimumSizeHint() const { return d->AlongDirection(TextLineHeight(), TextLineHeight()); }

TProgBar::~TProgBar() = default;

void TProgBar::Private::FillBarColors()
{
    // The ends are mixed as the colours they show: mixing the index bytes of a
    // system colour would give an unrelated colour.
    const TColor first = ColorToRGB(FBarColorArray[0], q->palette());
    const TColor last = ColorToRGB(FBarColorArray[kBarColorCount - 1], q->palette());
    for (int i = 1; i < kBarColorCount - 1; ++i)
        FBarColorArray[i] = InterpolateColor(first, last, i / double(kBarColorCount - 1));
}

void TProgBar::Private::InitTimer()
{
    FIsStart = true;
    FTimer.Stop();
    if (FStartInterval > 0 && FTimerEnabled)
        FTimer.Start<ENVOProgBar>(FStartInterval);
}

void TProgBar::Private::UpdateTimer()
{
    FIsStart = false;
    FTimer.Stop();
    if (FRepeatInterval > 0 && FTimerEnabled)
        FTimer.Start<ENVOProgBar>(FRepeatInterval);
}

void TProgBar::DoTimer()
{
    if (d->FIsStart)
        d->UpdateTimer();
    d->AutoIncEvent();
    if (OnAutoInc)
        OnAutoInc(this);
}

void TProgBar::Private::AutoIncEvent()
{
    FValue += FAutoIncStep;
    q->PaintNow();
    Q_EMIT q->ValueChanged(FValue);
}

bool TProgBar::TimerActive() const { return d->FTimer.Active(); }
int TProgBar::TimerInterval() const { return d->FTimer.Interval(); }

// ---- Properties ----------------------------------------------------------------------------

bool TProgBar::GetAutoInc() const { return d->FTimerEnabled; }
double TProgBar::GetAutoIncStep() const { return d->FAutoIncStep; }
QString TProgBar::GetBackGroundImg() const { return d->FBackGroundImg; }
TColor TProgBar::GetColorBackGnd() const { return d->FColorBackGnd; }
TProgBar::TColorMapping TProgBar::GetColorMapMode() const { return d->FColorMapMode; }
TColor TProgBar::GetColorGrid() const { return d->FColorGrid; }
TColor TProgBar::GetColorMargin() const { return d->FColorMargin; }
TColor TProgBar::GetColorMin() const { return d->FBarColorArray[0]; }
TColor TProgBar::GetColorMax() const { return d->FBarColorArray[kBarColorCount - 1]; }
TFrameStyle TProgBar::GetFrameStyleOuter() const { return d->FFrameStyleOuter; }
TFrameStyle TProgBar::GetFrameStyleInner() const { return d->FFrameStyleInner; }
int TProgBar::GetGridDist() const { return d->FGridDist; }
int TProgBar::GetMarginBottom() const { return d->FMarginBottom; }
int TProgBar::GetMarginLeft() const { return d->FMarginLeft; }
int TProgBar::GetMarginRight() const { return d->FMarginRight; }
int TProgBar::GetMarginTop() const { return d->FMarginTop; }
double TProgBar::GetMax() const { return d->FMax; }
double TProgBar::GetMin() const { return d->FMin; }
TDirection TProgBar::GetDirection() const { return d->FDirection; }
int TProgBar::GetRepeatInterval() const { return d->FRepeatInterval; }
bool TProgBar::GetShowColorGradient() const { return d->FShowColorGradient; }
int TProgBar::GetStartInterval() const { return d->FStartInterval; }
TAlignment TProgBar::GetTextAlignment() const { return d->FTextAlignment; }
int TProgBar::GetTextAngle() const { return d->FTextAngle; }
int TProgBar::GetTextDecPlaces() const { return d->FTextDecPlaces; }
int TProgBar::GetTextPosX() const { return d->FTextPosX; }
int TProgBar::GetTextPosY() const { return d->FTextPosY; }
bool TProgBar::GetTextVisible() const { return d->FTextVisible; }
double TProgBar::GetValue() const { return d->FValue; }

void TProgBar::SetAutoInc(bool autoInc)
{
    if (autoInc == d->FTimerEnabled)
        return;
    d->FTimerEnabled = autoInc;
    if (Designing())
        return;
    if (autoInc)
        d->InitTimer();
    else
        d->FTimer.Stop();
}

void TProgBar::SetAutoIncStep(double step)
{
    if (step != 0 && !std::isnan(step))
        d->FAutoIncStep = step;
}

void TProgBar::SetBackGroundImg(const QString &fileName)
{
    const QImage picture = ReadPictureFile<ENVOProgBar>(this, fileName);
    if (picture.isNull()) {
        Change(d->FBackGroundImg, QString());
        return;
    }
    // A readable file repaints even under the same name: the file may have changed.
    d->AuxBmp.SetImage(picture);
    d->FBackGroundImg = fileName;
    PaintNow();
}

void TProgBar::SetColorBackGnd(TColor color) { Change(d->FColorBackGnd, color); }
void TProgBar::SetColorMapMode(TColorMapping mode)
{
    ChangeEnum(d->FColorMapMode, mode, "ColorMapMode", d->FShowColorGradient);
}
void TProgBar::SetColorGrid(TColor color) { Change(d->FColorGrid, color, d->FGridDist > 1); }
void TProgBar::SetColorMargin(TColor color) { Change(d->FColorMargin, color); }

bool TProgBar::ShowsColorScheme() const
{
    // Every frame style but none draws gray or white lines.
    return d->FFrameStyleOuter != fsNone || d->FFrameStyleInner != fsNone;
}

void TProgBar::SetColorMin(TColor color)
{
    if (color == d->FBarColorArray[0])
        return;
    d->FBarColorArray[0] = color;
    d->FillBarColors();
    PaintNow();
}

void TProgBar::SetColorMax(TColor color)
{
    if (color == d->FBarColorArray[kBarColorCount - 1])
        return;
    d->FBarColorArray[kBarColorCount - 1] = color;
    d->FillBarColors();
    // A bar of one colour shows the table's first entry only.
    if (d->FShowColorGradient)
        PaintNow();
}

void TProgBar::SetFrameStyleOuter(TFrameStyle style) { ChangeEnum(d->FFrameStyleOuter, style, "FrameStyleOuter"); }
void TProgBar::SetFrameStyleInner(TFrameStyle style) { ChangeEnum(d->FFrameStyleInner, style, "FrameStyleInner"); }

void TProgBar::SetGridDist(int dist)
{
    // Spacings of 0 and 1 draw no grid alike.
    Change(d->FGridDist, dist, dist > 1 || d->FGridDist > 1);
}

void TProgBar::SetMarginBottom(int margin) { Change(d->FMarginBottom, margin); }
void TProgBar::SetMarginLeft(int margin) { Change(d->FMarginLeft, margin); }
void TProgBar::SetMarginRight(int margin) { Change(d->FMarginRight, margin); }
void TProgBar::SetMarginTop(int margin) { Change(d->FMarginTop, margin); }
void TProgBar::SetMax(double max) { Change(d->FMax, max); }
void TProgBar::SetMin(double min) { Change(d->FMin, min); }
void TProgBar::SetDirection(TDirection direction)
{
    ChangeEnum(d->FDirection, direction, "Direction");
    d->FitPolicyToDirection();
}

bool TProgBar::Private::Vertical() const { return FDirection == drBottomUp || FDirection == drTopDown; }

QSize TProgBar::Private::AlongDirection(int length, int thickness) const
{
    return Vertical() ? QSize(thickness, length) : QSize(length, thickness);
}

void TProgBar::Private::FitPolicyToDirection()
{
    q->setSizePolicy(Vertical() ? QSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred)
                                : QSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed));
}

void TProgBar::SetRepeatInterval(int interval)
{
    interval = std::max(interval, 10);
    if (interval == d->FRepeatInterval)
        return;
    d->FRepeatInterval = interval;
    if (!Designing())
        d->UpdateTimer();
}

void TProgBar::SetShowColorGradient(bool show) { Change(d->FShowColorGradient, show); }

void TProgBar::SetStartInterval(int interval)
{
    interval = std::max(interval, 10);
    if (interval == d->FStartInterval)
        return;
    d->FStartInterval = interval;
    if (!Designing())
        d->InitTimer();
}

void TProgBar::SetTextAlignment(TAlignment alignment)
{
    ChangeEnum(d->FTextAlignment, alignment, "TextAlignment", d->FTextVisible);
}

// The text setters store and repaint without comparing: a repeated assignment
// redraws the text, as an application may rely on after drawing over the bar.
void TProgBar::Private::RepaintText()
{
    if (FTextVisible)
        q->PaintNow();
}

void TProgBar::SetTextAngle(int angle)
{
    d->FTextAngle = std::clamp(angle, 0, 360);
    d->RepaintText();
}

void TProgBar::SetTextDecPlaces(int decPlaces)
{
    d->FTextDecPlaces = std::clamp(decPlaces, -2, 10);
    d->RepaintText();
}

void TProgBar::SetTextPosX(int x)
{
    d->FTextPosX = std::clamp(x, 0, std::max(0, width()));
    d->RepaintText();
}

void TProgBar::SetTextPosY(int y)
{
    d->FTextPosY = std::clamp(y, 0, std::max(0, height()));
    d->RepaintText();
}

void TProgBar::SetTextVisible(bool visible)
{
    // A text that was hidden and stays hidden has nothing to redraw.
    const bool wasVisible = d->FTextVisible;
    d->FTextVisible = visible;
    if (visible || wasVisible)
        PaintNow();
}

void TProgBar::SetValue(double value)
{
    if (value == d->FValue)
        return;
    d->FValue = value;
    PaintNow();
    Q_EMIT ValueChanged(value);
}

void TProgBar::SetRange(double a, double b)
{
    const double min = std::min(a, b), max = std::max(a, b);
    if (min == d->FMin && max == d->FMax)
        return;
    d->FMin = min;
    d->FMax = max;
    PaintNow();
}

TColor TProgBar::GetBarColorElem(int ix) const
{
    return ix >= 0 && ix < kBarColorCount ? d->FBarColorArray[ix] : 0;
}

void TProgBar::SetBarColorElem(int ix, TColor color)
{
    if (ix >= 0 && ix < kBarColorCount)
        d->FBarColorArray[ix] = color;
}

void TProgBar::Assign(const QObject *source)
{
    const auto *other = qobject_cast<const TProgBar *>(source);
    if (!other)
        throw EConvertError(msg::CannotAssign(source, this));
    if (other == this)
        return;
    const Private &o = *other->d;
    const double oldValue = d->FValue;
    BeginUpdate();
    d->FFrameStyleOuter = o.FFrameStyleOuter;
    d->FFrameStyleInner = o.FFrameStyleInner;
    d->FValue = o.FValue;
    d->FMin = o.FMin;
    d->FMax = o.FMax;
    d->FColorMargin = o.FColorMargin;
    SetColorScheme(other->GetColorScheme());
    d->FDirection = o.FDirection;
    d->FitPolicyToDirection();
    d->FBarColorArray = o.FBarColorArray;
    d->AuxBmp = o.AuxBmp;
    d->FColorBackGnd = o.FColorBackGnd;
    d->FShowColorGradient = o.FShowColorGradient;
    d->FColorGrid = o.FColorGrid;
    d->FGridDist = o.FGridDist;
    d->FColorMapMode = o.FColorMapMode;
    d->FMarginBottom = o.FMarginBottom;
    d->FMarginLeft = o.FMarginLeft;
    d->FMarginRight = o.FMarginRight;
    d->FMarginTop = o.FMarginTop;
    d->FBackGroundImg = o.FBackGroundImg;
    d->FTextPosX = o.FTextPosX;
    d->FTextPosY = o.FTextPosY;
    d->FTextDecPlaces = o.FTextDecPlaces;
    d->FTextAngle = o.FTextAngle;
    d->FTextAlignment = o.FTextAlignment;
    OnShowValue = other->OnShowValue;
    d->FTextVisible = o.FTextVisible;
    EndUpdate();
    if (!(d->FValue == oldValue))
        Q_EMIT ValueChanged(d->FValue);
}

void TProgBar::AssignTo(QObject *dest) const { AssignToSameClass(this, dest); }

// ---- Painting ------------------------------------------------------------------------------
//
// Margins, plot area (and background image), bar, grid, inner and outer frame, value
// text: each step draws over the previous ones in the off-screen buffer, which is then
// copied onto the control at once. The buffer is kept from paint to paint; the first
// step covers every pixel of it, so nothing of the last picture shows through.

void TProgBar::Paint(TCanvas &canvas)
{
    const int w = width(), h = height();
    TBitmap &buffer = Buffer();
    TCanvas &bitmap = buffer.Canvas();

    bitmap.Pen.Color = d->FColorMargin;
    bitmap.Brush.SetColor(d->FColorMargin);
    bitmap.Rectangle(0, 0, w, h);

    const int ml = d->FMarginLeft, mt = d->FMarginTop, mr = d->FMarginRight, mb = d->FMarginBottom;
    const QRect plot(QPoint(ml, mt), QPoint(w - mr - 1, h - mb - 1));
    bitmap.Pen.Color = d->FColorBackGnd;
    bitmap.Brush.SetColor(d->FColorBackGnd);
    bitmap.Rectangle(ml, mt, w - mr, h - mb);
    // An empty picture has nothing to stretch: the plain plot area stays.
    if (!d->FBackGroundImg.isEmpty() && !d->AuxBmp.Empty() && plot.isValid())
        bitmap.StretchDraw(plot, d->AuxBmp);

    const TBarAxis axis = CalcBarAxis(d->FDirection, w, h, ml, mt, mr, mb, d->FValue, d->FMin, d->FMax);
    d->PaintBar(bitmap, axis);
    if (d->FGridDist > 1)
        d->PaintGrid(bitmap, axis);

    d->PaintFrame(bitmap, d->FFrameStyleInner, ml, mt, w - mr, h - mb);
    d->PaintFrame(bitmap, d->FFrameStyleOuter, 0, 0, w, h);
    if (d->FTextVisible)
        d->PaintText(bitmap);

    canvas.CopyMode = cmSrcCopy;
    canvas.Draw(0, 0, buffer);
}

QRect TProgBar::Private::BarRect(const TBarAxis &axis, int from, int to)
{
    const int lo = std::min(from, to - axis.Step), hi = std::max(from, to - axis.Step) + 1;
    return axis.Vertical ? QRect(axis.CrossFrom, lo, axis.CrossTo - axis.CrossFrom, hi - lo)
                         : QRect(lo, axis.CrossFrom, hi - lo, axis.CrossTo - axis.CrossFrom);
}

void TProgBar::Private::PaintBar(TCanvas &canvas, const TBarAxis &axis) const
{
    if (axis.VisibleTo <= axis.VisibleFrom || axis.CrossTo <= axis.CrossFrom)
        return;
    if (FShowColorGradient) {
        PaintGradient(canvas, axis);
        return;
    }
    const QRect bar = BarRect(axis, axis.Pixel(axis.VisibleFrom), axis.Pixel(axis.VisibleTo));
    canvas.Pen.Color = FBarColorArray[0];
    canvas.Brush.SetColor(FBarColorArray[0]);
    canvas.Rectangle(bar);
}

void TProgBar::Private::PaintGradient(TCanvas &canvas, const TBarAxis &axis) const
{
    // One line of colours along the bar, stretched across the plot area: the same
    // pixels as one line per colour, at the cost of one picture copy.
    const int count = int(axis.VisibleTo - axis.VisibleFrom);
    QImage strip(axis.Vertical ? QSize(1, count) : QSize(count, 1), QImage::Format_RGB32);
    auto *pixels = reinterpret_cast<QRgb *>(strip.bits());
    // Strip pixel i lies at the lower axis end plus i; the bar's line n at Root + Step n.
    const int lowPixel = std::min(axis.Pixel(axis.VisibleFrom), axis.Pixel(axis.VisibleTo - 1));
    for (int i = 0; i < count; ++i) {
        const qint64 n = qint64(lowPixel + i - axis.Root) * axis.Step;
        const int k = GradientIndex(FColorMapMode, n, axis.Length, axis.Full);
        pixels[i] = canvas.Resolve(FBarColorArray[k]).rgb();
    }
    canvas.CopyMode = cmSrcCopy;
    canvas.StretchDraw(BarRect(axis, axis.Pixel(axis.VisibleFrom), axis.Pixel(axis.VisibleTo)), strip);
}

void TProgBar::Private::PaintGrid(TCanvas &canvas, const TBarAxis &axis) const
{
    canvas.Pen.Color = FColorGrid;
    // Start at the first grid line inside the control; the loop then ends at the
    // control's edge or the bar's reach, whichever comes first.
    const qint64 firstInside = axis.Step > 0 ? -axis.Root : axis.Root - axis.Extent + 1;
    qint64 n = firstInside > 0 ? (firstInside + FGridDist - 1) / FGridDist * FGridDist : 0;
    for (; n <= axis.GridReach; n += FGridDist) {
        const qint64 p = axis.Root + axis.Step * n;
        if (p < 0 || p >= axis.Extent)
            break;
        if (axis.Vertical) {
            canvas.MoveTo(axis.CrossFrom, int(p));
            canvas.LineTo(axis.CrossTo, int(p));
        } else {
            canvas.MoveTo(int(p), axis.CrossFrom);
            canvas.LineTo(int(p), axis.CrossTo);
        }
    }
}

void TProgBar::Private::PaintFrame(TCanvas &canvas, TFrameStyle style, int left, int top, int right,
                                   int bottom) const
{
    if (style == fsNone)
        return;
    const TColor black = clr::Black, gray = q->GrayLine(), white = q->WhiteLine();
    canvas.Brush.SetStyle(bsClear);
    const auto line = [&](TColor color, std::initializer_list<QPoint> points) {
        canvas.Pen.Color = color;
        auto p = points.begin();
        canvas.MoveTo(p->x(), p->y());
        for (++p; p != points.end(); ++p)
            canvas.LineTo(p->x(), p->y());
    };
    const auto fixCorners = [&] {
        canvas.SetPixel(left, bottom - 1, FColorMargin);
        canvas.SetPixel(right - 1, top, FColorMargin);
    };
    switch (style) {
    case fsLowered:
    case fsRaised: {
        const TColor shadow = style == fsLowered ? black : white;
        const TColor light = style == fsLowered ? white : black;
        line(shadow, {{left + 1, bottom - 3}, {left + 1, top + 1}, {right - 1, top + 1}});
        line(light, {{left + 1, bottom - 1}, {right - 1, bottom - 1}, {right - 1, top}});
        canvas.Pen.Color = gray;
        canvas.Rectangle(left, top, right - 1, bottom - 1);
        fixCorners();
        break;
    }
    case fsEmbossed:
    case fsEngraved: {
        const bool embossed = style == fsEmbossed;
        canvas.Pen.Color = embossed ? gray : white;
        canvas.Rectangle(left + 1, top + 1, right, bottom);
        canvas.Pen.Color = embossed ? white : gray;
        canvas.Rectangle(left, top, right - 1, bottom - 1);
        fixCorners();
        break;
    }
    case fsSimple:
    default:
        // Ordinals without a style of their own draw the single line, as DrawFrame
        // does, so that a frame stays visible.
        canvas.Pen.Color = gray;
        canvas.Rectangle(left, top, right, bottom);
        break;
    }
}

void TProgBar::Private::PaintText(TCanvas &canvas) const
{
    canvas.Font = TFont(q->font(), clr::WindowText);
    canvas.Brush.SetStyle(bsClear);
    QString text = FormatProgBarValue(FValue, FTextDecPlaces);
    if (q->OnShowValue)
        q->OnShowValue(q, text);
    const QPoint offset = RotatedTextOffset(FTextAlignment, canvas.TextWidth(text) / 2,
                                            canvas.TextHeight(text) / 2, FTextAngle);
    canvas.TextOutAngled(FTextPosX + offset.x(), FTextPosY + offset.y(), text, FTextAngle);
}

} // namespace nvo
