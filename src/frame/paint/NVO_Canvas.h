#pragma once

#include "NVO_Color.h"
#include "NVO_Corvane.h"

#include <QtCore/QPoint>
#include <QtCore/QRect>
#include <QtGui/QFont>
#include <QtGui/QFontMetrics>
#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <QtGui/QPalette>
#include <QtGui/QTextLayout>

#include <optional>
#include <span>

class QWidget;

namespace nvo {

class TBitmap;

enum TPenStyle : quint8 { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
/// How the pen combines with what is already there.
enum TPenMode : quint8 { pmCopy, pmNot, pmXor, pmMask, pmMerge, pmNotCopy };
enum TBrushStyle : quint8 {
    bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross
};
/// How `Draw`, `StretchDraw` and `CopyRect` combine the source with the destination.
enum TCopyMode : quint8 {
    cmSrcCopy,    ///< source
    cmSrcAnd,     ///< source AND destination
    cmSrcPaint,   ///< source OR destination
    cmSrcInvert,  ///< source XOR destination
    cmDstInvert,  ///< NOT destination
    cmNotSrcCopy, ///< NOT source
    cmBlackness,
    cmWhiteness,
    cmSrcOver,    ///< source laid over the destination by its alpha (pictures with a transparent background)
};
/// How a stretched copy samples its source: nearest pixel, or averaged (smooth).
enum TStretchMode : quint8 { smNearest, smSmooth };

/// The canvas's pen: colour, width in pixels, dash style and how it combines with
/// the pixels below.
class NVO_EXPORT TPen
{
public:
    TColor Color = clr::Black;
    int Width = 1;
    TPenStyle Style = psSolid;
    TPenMode Mode = pmCopy;
};

/// The fill of closed figures and text backgrounds. Setting a colour makes a clear
/// brush solid again, as the controls' paint steps rely on.
class NVO_EXPORT TBrush
{
public:
    TColor GetColor() const { return FColor; }
    void SetColor(TColor color);
    TBrushStyle GetStyle() const { return FStyle; }
    void SetStyle(TBrushStyle style) { FStyle = style; }

private:
    TColor FColor = clr::White;
    TBrushStyle FStyle = bsSolid;
};

/// A font with its colour, as the canvas draws text with it.
class NVO_EXPORT TFont
{
public:
    TFont() = default;
    TFont(const QFont &font, TColor color = clr::Black) : Font(font), Color(color) {}
    QFont Font;
    TColor Color = clr::Black;
};

/// Where a line of text `angle` degrees counter-clockwise must start (the top-left
/// corner of the line, relative to an anchor) for the anchor to lie on the line's
/// vertical middle line: at its left end, its middle or its right end by
/// `alignment`, rotated with the text. `halfWidth` and `halfHeight` are the line's
/// width and height div 2; the offset is rounded halves to even.
NVO_EXPORT QPoint RotatedTextOffset(TAlignment alignment, int halfWidth, int halfHeight, double angle);

/// The drawing surface of a control or bitmap with the pixel rules the controls were
/// designed for (those of the classic desktop canvas), laid over a QPainter with
/// antialiasing off:
/// - rectangles are given as (Left, Top, Right, Bottom) and exclude their right and
///   bottom edges; `Rectangle` outlines with the pen and fills with the brush;
/// - `LineTo` draws from the pen position and excludes the end point, so a polyline
///   never paints a joint twice;
/// - text is placed by the top-left corner of its line, not by its baseline, and an
///   opaque brush fills the text cell first;
/// - all coordinates are logical pixels; a device pixel ratio above 1 only makes
///   every logical pixel a block of device pixels.
/// A TCanvas lives for one paint (on a widget) or as long as its bitmap.
class NVO_EXPORT TCanvas
{
public:
    /// A canvas on `device`; system colours resolve through `palette`.
    TCanvas(QPaintDevice *device, const QPalette &palette);
    /// A canvas on a widget during its paint event, with the widget's palette and font.
    explicit TCanvas(QWidget *widget);
    /// A canvas over a painter that is already active (an item delegate's, a combo
    /// box's): drawing goes through `painter`, whose state is restored when the
    /// canvas ends; the font starts as the painter's.
    TCanvas(QPainter &painter, const QPalette &palette);
    ~TCanvas();
    TCanvas(const TCanvas &) = delete;
    TCanvas &operator=(const TCanvas &) = delete;

    TPen Pen;
    TBrush Brush;
    TFont Font;
    TCopyMode CopyMode = cmSrcCopy;

    const QPalette &Palette() const { return FPalette; }
    QColor Resolve(TColor color) const { return ToQColor(color, FPalette); }

    // Figures
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const QRect &r) { Rectangle(r.left(), r.top(), r.right() + 1, r.bottom() + 1); }
    /// Fills [left, right) x [top, bottom) with the brush; the pen is not used.
    void FillRect(int left, int top, int right, int bottom);
    void FillRect(const QRect &r) { FillRect(r.left(), r.top(), r.right() + 1, r.bottom() + 1); }
    /// A one-pixel border of [left, right) x [top, bottom) in the brush colour.
    void FrameRect(int left, int top, int right, int bottom);
    void Ellipse(int left, int top, int right, int bottom);
    /// Counter-clockwise arc of the ellipse in the bounding box, from the ray through
    /// (x3, y3) to the ray through (x4, y4), both taken from the box's centre.
    void Arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4);
    void Pie(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4);
    void Polygon(std::span<const QPoint> points);
    void Polyline(std::span<const QPoint> points);

    // Lines
    QPoint PenPos() const { return FPenPos; }
    void MoveTo(int x, int y) { FPenPos = QPoint(x, y); }
    void LineTo(int x, int y);

    // Text
    void TextOut(int x, int y, const QString &text);
    /// The disabled look of a text: a white highlight one pixel right and down, the
    /// gray text over it, on a clear background (the brush is left clear).
    void TextOutEngraved(int x, int y, const QString &text);
    /// Fills `rect` with the brush (unless clear), then draws `text` at (x, y) clipped to it.
    void TextRect(const QRect &rect, int x, int y, const QString &text);
    int TextWidth(const QString &text);
    int TextHeight(const QString &text);
    /// Draws `text` turned `angle` degrees counter-clockwise about (x, y), the
    /// top-left corner of its line, with a clear background. A font that prefers
    /// antialiasing (QFont::PreferAntialias) is drawn smoothed, any other unsmoothed
    /// like all text of the canvas.
    void TextOutAngled(int x, int y, const QString &text, double angle);

    // Pixels
    /// The colour at (x, y) as a plain RGB TColor; 0xFFFFFFFF outside the surface or
    /// where the surface cannot be read back (a widget).
    TColor GetPixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);

    // Pictures
    void Draw(int x, int y, const TBitmap &bitmap);
    void Draw(int x, int y, const QImage &image);
    void StretchDraw(const QRect &dest, const TBitmap &bitmap, TStretchMode mode = smNearest);
    void StretchDraw(const QRect &dest, const QImage &image, TStretchMode mode = smNearest);
    /// Copies `source` of `bitmap` into `dest`, stretching when the sizes differ.
    void CopyRect(const QRect &dest, const TBitmap &bitmap, const QRect &source,
                  TStretchMode mode = smNearest);

    // Clipping
    void SetClipRect(const QRect &rect);
    void ClearClipRect();

    /// The painter underneath, for the rare drawing that needs more than the canvas
    /// (rotated text, antialiased shapes where a control asks for them).
    QPainter &Painter() { return *FPainter; }
    QPaintDevice *Device() const { return FDevice; }

private:
    void SetPixelRules();
    void FillSpan(int left, int top, int right, int bottom, const QColor &color);
    void FillWithBrush(const QRect &r, bool withPenMode);
    void ApplyPenAndBrush();
    void ApplyPenMode();
    void PlotSolidLine(QPoint from, QPoint to, const QColor &color);
    const QFontMetrics &Metrics();
    QTextLine ShapedLine(const QString &text);
    void DrawLine(const QTextLine &line, int x, int y);
    void DrawImage(const QRect &dest, const QImage &image, const QRect &source, TStretchMode mode);

    QPaintDevice *FDevice;
    QPalette FPalette;
    std::optional<QPainter> FOwnPainter; ///< set when the canvas made its painter
    QPainter *FPainter;
    QPoint FPenPos;
    // Text-heavy paints (scales, tables) measure many strings in one font; the
    // metrics are made again only when the font changes.
    std::optional<QFontMetrics> FMetrics;
    QFont FMetricsFont;
    // Text placed by its width (a text cell, an aligned value) is measured and then
    // drawn; the last line laid out is kept, so shaping, the dearest step of text
    // output, runs once for both. Made on the first text: a canvas that only copies
    // a picture (a control's paint from its buffer) needs none.
    std::optional<QTextLayout> FLine;
    QFont FLineFont;
};

} // namespace nvo
