#include "NVO_Canvas.h"

#include "NVO_Bitmap.h"
#include "NVO_Format.h"

#include <QtGui/QFontMetrics>
#include <QtGui/QImage>
#include <QtWidgets/QWidget>

#include <cmath>
#include <cstdlib>

namespace nvo {

void TBrush::SetColor(TColor color)
{
    FColor = color;
    if (FStyle == bsClear)
        FStyle = bsSolid;
}

namespace {

Qt::BrushStyle QtBrushStyle(TBrushStyle style)
{
    switch (style) {
    case bsSolid: return Qt::SolidPattern;
    case bsClear: return Qt::NoBrush;
    case bsHorizontal: return Qt::HorPattern;
    case bsVertical: return Qt::VerPattern;
    case bsFDiagonal: return Qt::FDiagPattern;
    case bsBDiagonal: return Qt::BDiagPattern;
    case bsCross: return Qt::CrossPattern;
    case bsDiagCross: return Qt::DiagCrossPattern;
    }
    return Qt::SolidPattern;
}

Qt::PenStyle QtPenStyle(TPenStyle style)
{
    switch (style) {
    case psSolid:
    case psInsideFrame: return Qt::SolidLine;
    case psDash: return Qt::DashLine;
    case psDot: return Qt::DotLine;
    case psDashDot: return Qt::DashDotLine;
    case psDashDotDot: return Qt::DashDotDotLine;
    case psClear: return Qt::NoPen;
    }
    return Qt::SolidLine;
}

QPainter::CompositionMode CopyComposition(TCopyMode mode)
{
    switch (mode) {
    case cmSrcCopy: return QPainter::CompositionMode_Source;
    case cmSrcAnd: return QPainter::RasterOp_SourceAndDestination;
    case cmSrcPaint: return QPainter::RasterOp_SourceOrDestination;
    case cmSrcInvert: return QPainter::RasterOp_SourceXorDestination;
    case cmDstInvert: return QPainter::RasterOp_NotDestination;
    case cmNotSrcCopy: return QPainter::RasterOp_NotSource;
    case cmBlackness:
    case cmWhiteness: return QPainter::CompositionMode_Source;
    case cmSrcOver: return QPainter::CompositionMode_SourceOver;
    }
    return QPainter::CompositionMode_Source;
}

/// Angle in 1/16 degree of the ray from the centre of `box` through `p`, taken on the
/// ellipse's own parameter so that Qt's arc meets the ray where the classic canvas's arc does.
int RayAngle16(const QRectF &box, QPointF p)
{
    const double a = box.width() / 2.0;
    const double b = box.height() / 2.0;
    const QPointF c = box.center();
    const double dx = p.x() - c.x();
    const double dy = c.y() - p.y(); // y grows downwards on screen
    if (a <= 0 || b <= 0 || (dx == 0 && dy == 0))
        return 0;
    const double t = std::atan2(a * dy, b * dx);
    return int(std::lround(t * 180.0 / M_PI * 16.0));
}

/// Counter-clockwise span in 1/16 degree from `start` to `end`; equal rays mean a full turn.
int SpanAngle16(int start, int end)
{
    int span = end - start;
    while (span <= 0)
        span += 360 * 16;
    return span;
}

} // namespace

QPoint RotatedTextOffset(TAlignment alignment, int halfWidth, int halfHeight, double angle)
{
    const double a = angle * M_PI / 180, s = std::sin(a), c = std::cos(a);
    const double m = halfWidth, t = halfHeight;
    // The corner lies half a line height above the middle line and, along the line,
    // nothing, half or all of the width before the anchor.
    const double along = alignment == taCenter ? m : alignment == taRightJustify ? 2 * m : 0;
    const double dx = c * -along - s * t, dy = s * along - c * t;
    return QPoint(int(RoundHalfEven(dx)), int(RoundHalfEven(dy)));
}

TCanvas::TCanvas(QPaintDevice *device, const QPalette &palette)
    : FDevice(device), FPalette(palette), FOwnPainter(std::in_place, device), FPainter(&*FOwnPainter)
{
    SetPixelRules();
}

TCanvas::TCanvas(QPainter &painter, const QPalette &palette)
    : FDevice(painter.device()), FPalette(palette), FPainter(&painter)
{
    // The painter's owner goes on drawing after us: leave its state as we found it.
    FPainter->save();
    Font.Font = painter.font();
    SetPixelRules();
}

void TCanvas::SetPixelRules()
{
    FPainter->setRenderHint(QPainter::Antialiasing, false);
    FPainter->setRenderHint(QPainter::TextAntialiasing, false);
    FPainter->setRenderHint(QPainter::SmoothPixmapTransform, false);
}

TCanvas::TCanvas(QWidget *widget) : TCanvas(widget, widget->palette())
{
    Font.Font = widget->font();
}

TCanvas::~TCanvas()
{
    if (!FOwnPainter)
        FPainter->restore();
}

void TCanvas::FillSpan(int left, int top, int right, int bottom, const QColor &color)
{
    if (right > left && bottom > top)
        FPainter->fillRect(QRect(left, top, right - left, bottom - top), color);
}

void TCanvas::FillWithBrush(const QRect &r, bool withPenMode)
{
    if (Brush.GetStyle() == bsClear || r.isEmpty())
        return;
    // Figures mix their fill with the pen mode; FillRect and text cells always copy.
    if (withPenMode)
        ApplyPenMode();
    else
        FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (Brush.GetStyle() == bsSolid) {
        FPainter->fillRect(r, Resolve(Brush.GetColor()));
    } else {
        // Hatched brushes leave the gaps between their lines untouched.
        FPainter->setBackgroundMode(Qt::TransparentMode);
        FPainter->fillRect(r, QBrush(Resolve(Brush.GetColor()), QtBrushStyle(Brush.GetStyle())));
    }
    FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::ApplyPenMode()
{
    switch (Pen.Mode) {
    case pmCopy: FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver); break;
    case pmNot: FPainter->setCompositionMode(QPainter::RasterOp_NotDestination); break;
    case pmXor: FPainter->setCompositionMode(QPainter::RasterOp_SourceXorDestination); break;
    case pmMask: FPainter->setCompositionMode(QPainter::RasterOp_SourceAndDestination); break;
    case pmMerge: FPainter->setCompositionMode(QPainter::RasterOp_SourceOrDestination); break;
    case pmNotCopy: FPainter->setCompositionMode(QPainter::RasterOp_NotSource); break;
    }
}

void TCanvas::ApplyPenAndBrush()
{
    ApplyPenMode();
    if (Pen.Style == psClear) {
        FPainter->setPen(Qt::NoPen);
    } else {
        QPen pen(Resolve(Pen.Color), qMax(1, Pen.Width), QtPenStyle(Pen.Style), Qt::SquareCap,
                 Qt::MiterJoin);
        FPainter->setPen(pen);
    }
    if (Brush.GetStyle() == bsClear)
        FPainter->setBrush(Qt::NoBrush);
    else
        FPainter->setBrush(QBrush(Resolve(Brush.GetColor()), QtBrushStyle(Brush.GetStyle())));
    FPainter->setBackgroundMode(Qt::TransparentMode);
}

void TCanvas::Rectangle(int left, int top, int right, int bottom)
{
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    if (Pen.Style == psClear) {
        // Without a pen the figure loses its right and bottom line, as the outline
        // would have covered them.
        FillWithBrush(QRect(QPoint(left, top), QPoint(right - 2, bottom - 2)), true);
        return;
    }
    FillWithBrush(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), true);
    // The outline lies inside the figure: `Width` pixels from each edge inwards.
    const int w = qMax(1, Pen.Width);
    ApplyPenMode();
    const QColor color = Resolve(Pen.Color);
    if (Pen.Style == psSolid || Pen.Style == psInsideFrame) {
        // Four bands that do not overlap: a corner painted twice would come out
        // unchanged under the inverting and XOR pen modes.
        const int innerTop = qMin(bottom, top + w), innerBottom = qMax(innerTop, bottom - w);
        FillSpan(left, top, right, innerTop, color);
        FillSpan(left, innerBottom, right, bottom, color);
        FillSpan(left, innerTop, qMin(right, left + w), innerBottom, color);
        FillSpan(qMax(left + w, right - w), innerTop, right, innerBottom, color);
    } else {
        ApplyPenAndBrush();
        FPainter->setBrush(Qt::NoBrush);
        FPainter->drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
    }
    FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::FillRect(int left, int top, int right, int bottom)
{
    // An empty or reversed rectangle fills nothing; it is not turned around.
    if (right > left && bottom > top)
        FillWithBrush(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), false);
}

void TCanvas::FrameRect(int left, int top, int right, int bottom)
{
    if (right <= left || bottom <= top)
        return;
    const QColor color = Resolve(Brush.GetColor());
    FillSpan(left, top, right, top + 1, color);
    FillSpan(left, bottom - 1, right, bottom, color);
    FillSpan(left, top, left + 1, bottom, color);
    FillSpan(right - 1, top, right, bottom, color);
}

void TCanvas::Ellipse(int left, int top, int right, int bottom)
{
    ApplyPenAndBrush();
    // Qt's aliased outline covers one pixel more than the rectangle it is given.
    const int inset = Pen.Style == psClear ? 0 : 1;
    FPainter->drawEllipse(QRect(left, top, right - left - inset, bottom - top - inset));
    FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::Arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4)
{
    ApplyPenAndBrush();
    const QRect box(left, top, right - left - 1, bottom - top - 1);
    const int start = RayAngle16(box, QPointF(x3, y3));
    FPainter->drawArc(box, start, SpanAngle16(start, RayAngle16(box, QPointF(x4, y4))));
    FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::Pie(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4)
{
    ApplyPenAndBrush();
    const QRect box(left, top, right - left - 1, bottom - top - 1);
    const int start = RayAngle16(box, QPointF(x3, y3));
    FPainter->drawPie(box, start, SpanAngle16(start, RayAngle16(box, QPointF(x4, y4))));
    FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::Polygon(std::span<const QPoint> points)
{
    if (points.empty())
        return;
    ApplyPenAndBrush();
    FPainter->drawPolygon(points.data(), int(points.size()), Qt::OddEvenFill);
    FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::Polyline(std::span<const QPoint> points)
{
    if (points.empty())
        return;
    MoveTo(points.front().x(), points.front().y());
    for (const QPoint &p : points.subspan(1))
        LineTo(p.x(), p.y());
}

void TCanvas::PlotSolidLine(QPoint from, QPoint to, const QColor &color)
{
    // Bresenham from `from` towards `to`, end point excluded; runs of pixels on one
    // row or column are filled as one span, so a device pixel ratio above 1 widens
    // the line evenly.
    int x = from.x(), y = from.y();
    const int dx = std::abs(to.x() - x), dy = -std::abs(to.y() - y);
    const int sx = x < to.x() ? 1 : -1, sy = y < to.y() ? 1 : -1;
    if (dx == 0 && dy == 0)
        return;
    if (dy == 0) {
        FillSpan(qMin(x, to.x() - sx), y, qMax(x, to.x() - sx) + 1, y + 1, color);
        return;
    }
    if (dx == 0) {
        FillSpan(x, qMin(y, to.y() - sy), x + 1, qMax(y, to.y() - sy) + 1, color);
        return;
    }
    int err = dx + dy;
    int runStartX = x, runStartY = y;
    const bool xMajor = dx >= -dy;
    auto flush = [&](int endX, int endY) {
        FillSpan(qMin(runStartX, endX), qMin(runStartY, endY), qMax(runStartX, endX) + 1,
                 qMax(runStartY, endY) + 1, color);
    };
    while (true) {
        const int px = x, py = y;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
        const bool done = x == to.x() && y == to.y();
        // A run ends when the minor coordinate changes (or at the end).
        const bool runBreaks = xMajor ? (y != py) : (x != px);
        if (runBreaks || done) {
            flush(px, py);
            runStartX = x;
            runStartY = y;
        }
        if (done)
            return;
    }
}

void TCanvas::LineTo(int x, int y)
{
    const QPoint from = FPenPos;
    const QPoint to(x, y);
    FPenPos = to;
    if (Pen.Style == psClear)
        return;
    ApplyPenMode();
    if (Pen.Width <= 1 && (Pen.Style == psSolid || Pen.Style == psInsideFrame)) {
        PlotSolidLine(from, to, Resolve(Pen.Color));
    } else {
        ApplyPenAndBrush();
        FPainter->drawLine(from, to);
    }
    FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

const QFontMetrics &TCanvas::Metrics()
{
    if (!FMetrics || FMetricsFont != Font.Font) {
        FMetrics.emplace(Font.Font, FDevice);
        FMetricsFont = Font.Font;
    }
    return *FMetrics;
}

QTextLine TCanvas::ShapedLine(const QString &text)
{
    const Qt::LayoutDirection direction = FPainter->layoutDirection();
    if (FLine && FLine->text() == text && FLineFont == Font.Font
        && FLine->textOption().textDirection() == direction)
        return FLine->lineAt(0);
    if (!FLine || FLineFont != Font.Font) {
        if (!FLine) {
            FLine.emplace();
            // Without the cache a layout frees its glyphs when it ends, and the draw
            // shapes the text again.
            FLine->setCacheEnabled(true);
        }
        FLine->setFont(QFont(Font.Font, FDevice));
        FLineFont = Font.Font;
    }
    // One unbroken line from the left, in the painter's direction: what drawText at a
    // point draws, to the pixel.
    QTextOption option(Qt::AlignLeft | Qt::AlignAbsolute);
    option.setTextDirection(direction);
    option.setWrapMode(QTextOption::NoWrap);
    FLine->setTextOption(option);
    FLine->setText(text);
    FLine->beginLayout();
    FLine->createLine();
    FLine->endLayout();
    return FLine->lineAt(0);
}

void TCanvas::DrawLine(const QTextLine &line, int x, int y)
{
    // The baseline lies the font's rounded ascent below the top, as with drawText;
    // the line's own ascent is exact, so the subtraction loses nothing.
    FPainter->setPen(Resolve(Font.Color));
    line.draw(FPainter, QPointF(x, y + Metrics().ascent() - line.ascent()));
}

int TCanvas::TextWidth(const QString &text)
{
    return text.isEmpty() ? 0 : qRound(ShapedLine(text).horizontalAdvance());
}

int TCanvas::TextHeight(const QString &)
{
    // The height of a text line in this font, whatever the characters: the classic canvas's
    // measure, and what the controls centre their lines by.
    return Metrics().height();
}

void TCanvas::TextOutAngled(int x, int y, const QString &text, double angle)
{
    // The canvas draws only upright text; a turned line goes through the painter,
    // rotated about the line's top-left corner (counter-clockwise on screen).
    FPainter->save();
    FPainter->setRenderHint(QPainter::TextAntialiasing,
                            Font.Font.styleStrategy() & QFont::PreferAntialias);
    FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    FPainter->translate(x, y);
    FPainter->rotate(-angle);
    FPainter->setFont(Font.Font);
    FPainter->setPen(Resolve(Font.Color));
    FPainter->drawText(QPoint(0, Metrics().ascent()), text);
    FPainter->restore();
}

void TCanvas::TextOut(int x, int y, const QString &text)
{
    const int width = TextWidth(text);
    FillWithBrush(QRect(x, y, width, Metrics().height()), false);
    FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (!text.isEmpty())
        DrawLine(ShapedLine(text), x, y);
    FPenPos = QPoint(x + width, y);
}

void TCanvas::TextOutEngraved(int x, int y, const QString &text)
{
    Brush.SetStyle(bsClear);
    Font.Color = clr::White;
    TextOut(x + 1, y + 1, text);
    Font.Color = clr::Gray;
    TextOut(x, y, text);
}

void TCanvas::TextRect(const QRect &rect, int x, int y, const QString &text)
{
    FillWithBrush(rect, false);
    if (text.isEmpty())
        return;
    const bool wasClipping = FPainter->hasClipping();
    // Reading the clip back builds a region: only for a clip that is to be restored.
    const QRegion oldClip = wasClipping ? FPainter->clipRegion() : QRegion();
    FPainter->setClipRect(rect, wasClipping ? Qt::IntersectClip : Qt::ReplaceClip);
    DrawLine(ShapedLine(text), x, y);
    if (wasClipping)
        FPainter->setClipRegion(oldClip);
    else
        FPainter->setClipping(false);
}

TColor TCanvas::GetPixel(int x, int y) const
{
    const auto *image = dynamic_cast<const QImage *>(FDevice);
    if (!image)
        return 0xFFFFFFFF;
    const qreal ratio = image->devicePixelRatio();
    const int px = int(x * ratio), py = int(y * ratio);
    if (x < 0 || y < 0 || !image->valid(px, py))
        return 0xFFFFFFFF;
    const QRgb rgb = image->pixel(px, py);
    return RGBColor(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

void TCanvas::SetPixel(int x, int y, TColor color)
{
    FillSpan(x, y, x + 1, y + 1, Resolve(color));
}

void TCanvas::DrawImage(const QRect &dest, const QImage &image, const QRect &source, TStretchMode mode)
{
    if (dest.isEmpty() || image.isNull())
        return;
    if (CopyMode == cmBlackness || CopyMode == cmWhiteness) {
        FillSpan(dest.left(), dest.top(), dest.right() + 1, dest.bottom() + 1,
                 CopyMode == cmBlackness ? Qt::black : Qt::white);
        return;
    }
    FPainter->setCompositionMode(CopyComposition(CopyMode));
    FPainter->setRenderHint(QPainter::SmoothPixmapTransform, mode == smSmooth);
    if (mode == smSmooth && (dest.width() < source.width() || dest.height() < source.height())) {
        // Averaging, not sampling, when a picture is reduced: Qt's smooth scaling
        // reads every source pixel, its smooth painter transform only a few.
        const qreal ratio = FPainter->device()->devicePixelRatioF();
        QImage reduced = image.copy(source).scaled(QSize(qRound(dest.width() * ratio),
                                                         qRound(dest.height() * ratio)),
                                                   Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        reduced.setDevicePixelRatio(ratio);
        FPainter->drawImage(dest.topLeft(), reduced);
    } else {
        FPainter->drawImage(dest, image, source);
    }
    FPainter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::Draw(int x, int y, const TBitmap &bitmap)
{
    Draw(x, y, bitmap.Image());
}

void TCanvas::Draw(int x, int y, const QImage &image)
{
    const qreal ratio = image.devicePixelRatio();
    const QSize logical(qRound(image.width() / ratio), qRound(image.height() / ratio));
    DrawImage(QRect(QPoint(x, y), logical), image, image.rect(), smNearest);
}

void TCanvas::StretchDraw(const QRect &dest, const TBitmap &bitmap, TStretchMode mode)
{
    StretchDraw(dest, bitmap.Image(), mode);
}

void TCanvas::StretchDraw(const QRect &dest, const QImage &image, TStretchMode mode)
{
    DrawImage(dest, image, image.rect(), mode);
}

void TCanvas::CopyRect(const QRect &dest, const TBitmap &bitmap, const QRect &source, TStretchMode mode)
{
    const qreal ratio = bitmap.DevicePixelRatio();
    const QRect deviceSource(QPoint(qRound(source.left() * ratio), qRound(source.top() * ratio)),
                             QSize(qRound(source.width() * ratio), qRound(source.height() * ratio)));
    DrawImage(dest, bitmap.Image(), deviceSource, mode);
}

void TCanvas::SetClipRect(const QRect &rect)
{
    FPainter->setClipRect(rect);
}

void TCanvas::ClearClipRect()
{
    FPainter->setClipping(false);
}

} // namespace nvo
