#include "NVO_ProgBar.h"

#include "NVO_Format.h"

#include <QtGui/QFontMetrics>

#include <algorithm>
#include <cmath>

namespace nvo {

namespace {

/// The longest bar length kept: far beyond any screen, and every integer up to it
/// is exact in a double, so the gradient's index arithmetic stays exact too.
constexpr double kMaxBarLength = 1e15;

int RoundToIntHalfEven(double value) { return int(RoundHalfEven(value)); }

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

TProgBar::TProgBar(QWidget *parent)
    : TControl(parent), FTimer(this, [this] { DoTimer(); }), AuxBmp(10, 10)
{
    resize(300, 28);
    // Every pixel is painted by the control: Qt need not paint the parent first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    FBarColorArray[0] = clr::Blue;
    FBarColorArray[kBarColorCount - 1] = clr::Red;
    FillBarColors();
}

TProgBar::~TProgBar() = default;

void TProgBar::FillBarColors()
{
    // The ends are mixed as the colours they show: mixing the index bytes of a
    // system colour would give an unrelated colour.
    const TColor first = ColorToRGB(FBarColorArray[0], palette());
    const TColor last = ColorToRGB(FBarColorArray[kBarColorCount - 1], palette());
    for (int i = 1; i < kBarColorCount - 1; ++i)
        FBarColorArray[i] = InterpolateColor(first, last, i / double(kBarColorCount - 1));
}

void TProgBar::InitTimer()
{
    FIsStart = true;
    FTimer.Stop();
    if (FStartInterval > 0 && FTimerEnabled)
        FTimer.Start<ENVOProgBar>(FStartInterval);
}

void TProgBar::UpdateTimer()
{
    FIsStart = false;
    FTimer.Stop();
    if (FRepeatInterval > 0 && FTimerEnabled)
        FTimer.Start<ENVOProgBar>(FRepeatInterval);
}

void TProgBar::DoTimer()
{
    if (FIsStart)
        UpdateTimer();
    AutoIncEvent();
    if (OnAutoInc)
        OnAutoInc(this);
}

void TProgBar::AutoIncEvent()
{
    FValue += FAutoIncStep;
    PaintNow();
    Q_EMIT ValueChanged(FValue);
}

// ---- Properties ----------------------------------------------------------------------------

void TProgBar::SetAutoInc(bool autoInc)
{
    if (autoInc == FTimerEnabled)
        return;
    FTimerEnabled = autoInc;
    if (Designing())
        return;
    if (autoInc)
        InitTimer();
    else
        FTimer.Stop();
}

void TProgBar::SetAutoIncStep(double step)
{
    if (step == 0 || std::isnan(step) || step == FAutoIncStep)
        return;
    FAutoIncStep = step;
}

void TProgBar::SetBackGroundImg(const QString &fileName)
{
    if (fileName.isEmpty())
        FBackGroundImg.clear();
    else if (AuxBmp.LoadFromFile(fileName))
        FBackGroundImg = fileName;
    PaintNow();
}

void TProgBar::SetColorBackGnd(TColor color) { Change(FColorBackGnd, color); }
void TProgBar::SetColorMapMode(TColorMapping mode) { Change(FColorMapMode, mode); }
void TProgBar::SetColorGrid(TColor color) { Change(FColorGrid, color); }
void TProgBar::SetColorMargin(TColor color) { Change(FColorMargin, color); }

void TProgBar::SetColorScheme(TColorScheme scheme)
{
    if (scheme == FColorScheme)
        return;
    FColorScheme = scheme;
    FColGrayLine = GrayLineColor(scheme);
    FColWhiteLine = WhiteLineColor(scheme);
    PaintNow();
}

void TProgBar::SetColorMin(TColor color)
{
    if (color == FBarColorArray[0])
        return;
    FBarColorArray[0] = color;
    FillBarColors();
    PaintNow();
}

void TProgBar::SetColorMax(TColor color)
{
    if (color == FBarColorArray[kBarColorCount - 1])
        return;
    FBarColorArray[kBarColorCount - 1] = color;
    FillBarColors();
    PaintNow();
}

void TProgBar::SetFrameStyleOuter(TFrameStyle style) { Change(FFrameStyleOuter, style); }
void TProgBar::SetFrameStyleInner(TFrameStyle style) { Change(FFrameStyleInner, style); }
void TProgBar::SetGridDist(int dist) { Change(FGridDist, dist); }
void TProgBar::SetMarginBottom(int margin) { Change(FMarginBottom, margin); }
void TProgBar::SetMarginLeft(int margin) { Change(FMarginLeft, margin); }
void TProgBar::SetMarginRight(int margin) { Change(FMarginRight, margin); }
void TProgBar::SetMarginTop(int margin) { Change(FMarginTop, margin); }
void TProgBar::SetMax(double max) { Change(FMax, max); }
void TProgBar::SetMin(double min) { Change(FMin, min); }
void TProgBar::SetDirection(TDirection direction) { Change(FDirection, direction); }

void TProgBar::SetRepeatInterval(int interval)
{
    interval = std::max(interval, 10);
    if (interval == FRepeatInterval)
        return;
    FRepeatInterval = interval;
    if (!Designing())
        UpdateTimer();
}

void TProgBar::SetShowColorGradient(bool show) { Change(FShowColorGradient, show); }

void TProgBar::SetStartInterval(int interval)
{
    interval = std::max(interval, 10);
    if (interval == FStartInterval)
        return;
    FStartInterval = interval;
    if (!Designing())
        InitTimer();
}

void TProgBar::SetTextAlignment(TAlignment alignment) { Change(FTextAlignment, alignment); }

// The text setters store and repaint without comparing: a repeated assignment
// redraws the text, as an application may rely on after drawing over the bar.
void TProgBar::SetTextAngle(int angle)
{
    FTextAngle = std::clamp(angle, 0, 360);
    PaintNow();
}

void TProgBar::SetTextDecPlaces(int decPlaces)
{
    FTextDecPlaces = std::clamp(decPlaces, -2, 10);
    PaintNow();
}

void TProgBar::SetTextPosX(int x)
{
    FTextPosX = std::clamp(x, 0, std::max(0, width()));
    PaintNow();
}

void TProgBar::SetTextPosY(int y)
{
    FTextPosY = std::clamp(y, 0, std::max(0, height()));
    PaintNow();
}

void TProgBar::SetTextVisible(bool visible)
{
    FTextVisible = visible;
    PaintNow();
}

void TProgBar::SetValue(double value)
{
    if (value == FValue)
        return;
    FValue = value;
    PaintNow();
    Q_EMIT ValueChanged(FValue);
}

void TProgBar::SetRange(double a, double b)
{
    FMin = std::min(a, b);
    FMax = std::max(a, b);
    PaintNow();
}

TColor TProgBar::GetBarColorElem(int ix) const
{
    return ix >= 0 && ix < kBarColorCount ? FBarColorArray[ix] : 0;
}

void TProgBar::SetBarColorElem(int ix, TColor color)
{
    if (ix >= 0 && ix < kBarColorCount)
        FBarColorArray[ix] = color;
}

void TProgBar::Assign(const QObject *source)
{
    const auto *other = qobject_cast<const TProgBar *>(source);
    if (!other)
        throw EConvertError(msg::CannotAssign(source, this));
    if (other == this)
        return;
    const double oldValue = FValue;
    FFrameStyleOuter = other->FFrameStyleOuter;
    FFrameStyleInner = other->FFrameStyleInner;
    FValue = other->FValue;
    FMin = other->FMin;
    FMax = other->FMax;
    FColorMargin = other->FColorMargin;
    FColBlackLine = other->FColBlackLine;
    FColGrayLine = other->FColGrayLine;
    FColWhiteLine = other->FColWhiteLine;
    FColorScheme = other->FColorScheme;
    FDirection = other->FDirection;
    FBarColorArray = other->FBarColorArray;
    AuxBmp = other->AuxBmp;
    FColorBackGnd = other->FColorBackGnd;
    FShowColorGradient = other->FShowColorGradient;
    FColorGrid = other->FColorGrid;
    FGridDist = other->FGridDist;
    FColorMapMode = other->FColorMapMode;
    FMarginBottom = other->FMarginBottom;
    FMarginLeft = other->FMarginLeft;
    FMarginRight = other->FMarginRight;
    FMarginTop = other->FMarginTop;
    FBackGroundImg = other->FBackGroundImg;
    FTextPosX = other->FTextPosX;
    FTextPosY = other->FTextPosY;
    FTextDecPlaces = other->FTextDecPlaces;
    FTextAngle = other->FTextAngle;
    FTextAlignment = other->FTextAlignment;
    OnShowValue = other->OnShowValue;
    FTextVisible = other->FTextVisible;
    PaintNow();
    if (!(FValue == oldValue))
        Q_EMIT ValueChanged(FValue);
}

void TProgBar::AssignTo(QObject *dest) const
{
    auto *other = qobject_cast<TProgBar *>(dest);
    if (!other)
        throw EConvertError(msg::CannotAssign(this, dest));
    other->Assign(this);
}

// ---- Painting ------------------------------------------------------------------------------
//
// Margins, plot area (and background image), bar, grid, inner and outer frame, value
// text: each step draws over the previous ones in one off-screen bitmap, which is then
// copied onto the control at once.

void TProgBar::Paint(TCanvas &canvas)
{
    const int w = width(), h = height();
    TBitmap &buffer = Buffer();
    TCanvas &bitmap = buffer.Canvas();

    bitmap.Pen.Color = FColorMargin;
    bitmap.Brush.SetColor(FColorMargin);
    bitmap.Rectangle(0, 0, w, h);

    const QRect plot(QPoint(FMarginLeft, FMarginTop), QPoint(w - FMarginRight - 1, h - FMarginBottom - 1));
    bitmap.Pen.Color = FColorBackGnd;
    bitmap.Brush.SetColor(FColorBackGnd);
    bitmap.Rectangle(FMarginLeft, FMarginTop, w - FMarginRight, h - FMarginBottom);
    // An empty picture has nothing to stretch: the plain plot area stays.
    if (!FBackGroundImg.isEmpty() && !AuxBmp.Empty() && plot.isValid())
        bitmap.StretchDraw(plot, AuxBmp);

    const TBarAxis axis = CalcBarAxis(FDirection, w, h, FMarginLeft, FMarginTop, FMarginRight,
                                      FMarginBottom, FValue, FMin, FMax);
    PaintBar(bitmap, axis);
    if (FGridDist > 1)
        PaintGrid(bitmap, axis);

    PaintFrame(bitmap, FFrameStyleInner, FMarginLeft, FMarginTop, w - FMarginRight, h - FMarginBottom);
    PaintFrame(bitmap, FFrameStyleOuter, 0, 0, w, h);
    if (FTextVisible)
        PaintText(bitmap);

    canvas.CopyMode = cmSrcCopy;
    canvas.Draw(0, 0, buffer);
}

QRect TProgBar::BarRect(const TBarAxis &axis, int from, int to) const
{
    const int lo = std::min(from, to - axis.Step), hi = std::max(from, to - axis.Step) + 1;
    return axis.Vertical ? QRect(axis.CrossFrom, lo, axis.CrossTo - axis.CrossFrom, hi - lo)
                         : QRect(lo, axis.CrossFrom, hi - lo, axis.CrossTo - axis.CrossFrom);
}

void TProgBar::PaintBar(TCanvas &canvas, const TBarAxis &axis)
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

void TProgBar::PaintGradient(TCanvas &canvas, const TBarAxis &axis)
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

void TProgBar::PaintGrid(TCanvas &canvas, const TBarAxis &axis)
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

void TProgBar::PaintFrame(TCanvas &canvas, TFrameStyle style, int left, int top, int right, int bottom)
{
    if (style == fsNone)
        return;
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
        const TColor shadow = style == fsLowered ? FColBlackLine : FColWhiteLine;
        const TColor light = style == fsLowered ? FColWhiteLine : FColBlackLine;
        line(shadow, {{left + 1, bottom - 3}, {left + 1, top + 1}, {right - 1, top + 1}});
        line(light, {{left + 1, bottom - 1}, {right - 1, bottom - 1}, {right - 1, top}});
        canvas.Pen.Color = FColGrayLine;
        canvas.Rectangle(left, top, right - 1, bottom - 1);
        fixCorners();
        break;
    }
    case fsEmbossed:
    case fsEngraved: {
        const bool embossed = style == fsEmbossed;
        canvas.Pen.Color = embossed ? FColGrayLine : FColWhiteLine;
        canvas.Rectangle(left + 1, top + 1, right, bottom);
        canvas.Pen.Color = embossed ? FColWhiteLine : FColGrayLine;
        canvas.Rectangle(left, top, right - 1, bottom - 1);
        fixCorners();
        break;
    }
    case fsSimple:
    default:
        // Ordinals without a style of their own draw the single line, as DrawFrame
        // does, so that a frame stays visible.
        canvas.Pen.Color = FColGrayLine;
        canvas.Rectangle(left, top, right, bottom);
        break;
    }
}

void TProgBar::PaintText(TCanvas &canvas)
{
    canvas.Font = TFont(font(), clr::WindowText);
    canvas.Brush.SetStyle(bsClear);
    QString text = FormatProgBarValue(FValue, FTextDecPlaces);
    if (OnShowValue)
        OnShowValue(this, text);
    const double m = canvas.TextWidth(text) / 2, t = canvas.TextHeight(text) / 2;
    const double a = FTextAngle * M_PI / 180;
    const double s = std::sin(a), c = std::cos(a);
    // The top-left corner of the text for each anchor on the text's middle line.
    double dx = s * -t, dy = c * -t;
    if (FTextAlignment == taCenter) {
        dx = c * -m - s * t;
        dy = s * m - c * t;
    } else if (FTextAlignment == taRightJustify) {
        dx = c * (-2 * m) - s * t;
        dy = s * 2 * m - c * t;
    }
    const int x = FTextPosX + RoundToIntHalfEven(dx), y = FTextPosY + RoundToIntHalfEven(dy);
    // The canvas draws only upright text; a rotated line goes through its painter,
    // turned about the text's top-left corner (counter-clockwise on screen).
    QPainter &painter = canvas.Painter();
    painter.save();
    painter.translate(x, y);
    painter.rotate(-FTextAngle);
    painter.setFont(canvas.Font.Font);
    painter.setPen(canvas.Resolve(canvas.Font.Color));
    painter.drawText(QPoint(0, QFontMetrics(canvas.Font.Font, canvas.Device()).ascent()), text);
    painter.restore();
}

} // namespace nvo
