#include "NVO_CorvaneDraw.h"

#include <initializer_list>

namespace nvo {

// ---- Drawing ----------------------------------------------------------------------------

namespace {

/// Restores the pen and brush a helper changed, so the caller's canvas state survives.
class ToolKeeper
{
public:
    explicit ToolKeeper(TCanvas &canvas) : FCanvas(canvas), FPen(canvas.Pen), FBrush(canvas.Brush) {}
    ~ToolKeeper()
    {
        FCanvas.Pen = FPen;
        FCanvas.Brush = FBrush;
    }
    ToolKeeper(const ToolKeeper &) = delete;
    ToolKeeper &operator=(const ToolKeeper &) = delete;

private:
    TCanvas &FCanvas;
    TPen FPen;
    TBrush FBrush;
};

/// Pixels (left..right, top..bottom), all inclusive, in `color`.
void FillInclusive(TCanvas &canvas, int left, int top, int right, int bottom, TColor color)
{
    if (right < left || bottom < top)
        return;
    canvas.Brush.SetColor(color);
    canvas.FillRect(left, top, right + 1, bottom + 1);
}

/// A one-pixel outline of an inclusive rectangle: top and left edges in `topLeft`,
/// right and bottom edges (with the top-right and bottom-left corners) in `bottomRight`.
void Outline(TCanvas &canvas, int left, int top, int right, int bottom, TColor topLeft,
             TColor bottomRight)
{
    if (right < left || bottom < top)
        return;
    FillInclusive(canvas, left, top, right - 1, top, topLeft);
    FillInclusive(canvas, left, top, left, bottom - 1, topLeft);
    FillInclusive(canvas, right, top, right, bottom, bottomRight);
    FillInclusive(canvas, left, bottom, right, bottom, bottomRight);
}

} // namespace

void DrawFrame(TCanvas &Canvas, TFrameStyle Style, int Left, int Top, int Right, int Bottom,
               TColor Light, TColor Highlight, TColor Shadow, TColor DarkShadow, TColor Extra,
               TFrameInside Inside)
{
    if (Right < Left || Bottom < Top)
        return;
    ToolKeeper keep(Canvas);
    if (Inside == fiFillBrush && Canvas.Brush.GetStyle() != bsClear)
        Canvas.FillRect(Left, Top, Right + 1, Bottom + 1);

    const auto ring = [&](int inset, TColor topLeft, TColor bottomRight) {
        Outline(Canvas, Left + inset, Top + inset, Right - inset, Bottom - inset, topLeft,
                bottomRight);
    };
    // The two outlines of a double line are offset by one pixel; on a rectangle one
    // pixel wide or high they collapse onto it instead of leaving it.
    const auto doubleLine = [&](TColor first, TColor second) {
        Outline(Canvas, Left, Top, std::max(Left, Right - 1), std::max(Top, Bottom - 1), first,
                first);
        Outline(Canvas, std::min(Left + 1, Right), std::min(Top + 1, Bottom), Right, Bottom,
                second, second);
    };

    switch (Style) {
    case fsNone:
        break;
    case fsLowered:
        ring(0, Shadow, Light);
        ring(1, DarkShadow, Highlight);
        break;
    case fsRaised:
        ring(0, Light, DarkShadow);
        ring(1, Highlight, Shadow);
        break;
    case fsEmbossed:
        doubleLine(Light, Shadow);
        break;
    case fsEngraved:
        doubleLine(Shadow, Light);
        break;
    case fsSimple:
    default:
        ring(0, Extra, Extra);
        break;
    }
}

void DrawRectangle(TCanvas &Canvas, int Left, int Top, int Right, int Bottom)
{
    if (Right < Left || Bottom < Top)
        return;
    ToolKeeper keep(Canvas);
    Canvas.Brush.SetStyle(bsClear);
    Canvas.Rectangle(Left, Top, Right + 1, Bottom + 1);
}

namespace {

enum class MarkShape : quint8 {
    Dot, Square, Circle, Diamond, TriangleUp, TriangleDown, TriangleLeft, TriangleRight,
    Hexagon, Cross, Plus, Star, HorizontalBar, VerticalBar, BowTie, HourGlass, Target,
};

struct MarkSpec {
    MarkShape shape;
    int radius; ///< half the symbol's size: the symbol spans centre ± radius
    bool solid; ///< filled in the pen colour rather than with the brush
};

constexpr int LargeMark = 4;
constexpr int SmallMark = 3;

// The numbering: 0 a dot; 1..16 the closed shapes large, outlined then solid; 17..32
// the same small; 33..42 the line symbols large then small; 43..50 the bow tie and
// hour glass large then small, outlined then solid; 51 a target.
constexpr std::array<MarkSpec, NrOfMarks> MakeMarkTable()
{
    std::array<MarkSpec, NrOfMarks> marks{};
    int n = 0;
    marks[n++] = {MarkShape::Dot, 1, true};
    constexpr MarkShape closed[] = {MarkShape::Square,       MarkShape::Circle,
                                    MarkShape::Diamond,      MarkShape::TriangleUp,
                                    MarkShape::TriangleDown, MarkShape::TriangleLeft,
                                    MarkShape::TriangleRight, MarkShape::Hexagon};
    constexpr MarkShape lines[] = {MarkShape::Cross, MarkShape::Plus, MarkShape::Star,
                                   MarkShape::HorizontalBar, MarkShape::VerticalBar};
    constexpr MarkShape crossed[] = {MarkShape::BowTie, MarkShape::HourGlass};
    for (int radius : {LargeMark, SmallMark})
        for (MarkShape shape : closed)
            for (bool solid : {false, true})
                marks[n++] = {shape, radius, solid};
    for (int radius : {LargeMark, SmallMark})
        for (MarkShape shape : lines)
            marks[n++] = {shape, radius, false};
    for (int radius : {LargeMark, SmallMark})
        for (MarkShape shape : crossed)
            for (bool solid : {false, true})
                marks[n++] = {shape, radius, solid};
    marks[n++] = {MarkShape::Target, LargeMark, false};
    return marks;
}

constexpr std::array<MarkSpec, NrOfMarks> MarkTable = MakeMarkTable();

/// A line from `from` to `to` with both end points, which `LineTo` alone leaves out.
void LineWithEnds(TCanvas &canvas, QPoint from, QPoint to)
{
    const QPoint step((to.x() > from.x()) - (to.x() < from.x()),
                      (to.y() > from.y()) - (to.y() < from.y()));
    canvas.MoveTo(from.x(), from.y());
    canvas.LineTo(to.x() + step.x(), to.y() + step.y());
}

void DrawPolygon(TCanvas &canvas, std::initializer_list<QPoint> points)
{
    canvas.Polygon(std::span<const QPoint>(points.begin(), points.size()));
}

void DrawMark(TCanvas &canvas, const MarkSpec &mark, int x, int y)
{
    const int r = mark.radius;
    const int h = r / 2;
    switch (mark.shape) {
    case MarkShape::Dot:
    case MarkShape::Square:
        canvas.Rectangle(x - r, y - r, x + r + 1, y + r + 1);
        break;
    case MarkShape::Circle:
        canvas.Ellipse(x - r, y - r, x + r + 1, y + r + 1);
        break;
    case MarkShape::Diamond:
        DrawPolygon(canvas, {{x, y - r}, {x + r, y}, {x, y + r}, {x - r, y}});
        break;
    case MarkShape::TriangleUp:
        DrawPolygon(canvas, {{x, y - r}, {x + r, y + r}, {x - r, y + r}});
        break;
    case MarkShape::TriangleDown:
        DrawPolygon(canvas, {{x - r, y - r}, {x + r, y - r}, {x, y + r}});
        break;
    case MarkShape::TriangleLeft:
        DrawPolygon(canvas, {{x - r, y}, {x + r, y - r}, {x + r, y + r}});
        break;
    case MarkShape::TriangleRight:
        DrawPolygon(canvas, {{x - r, y - r}, {x + r, y}, {x - r, y + r}});
        break;
    case MarkShape::Hexagon:
        DrawPolygon(canvas, {{x - h, y - r}, {x + h, y - r}, {x + r, y}, {x + h, y + r},
                             {x - h, y + r}, {x - r, y}});
        break;
    case MarkShape::BowTie:
        DrawPolygon(canvas, {{x - r, y - r}, {x + r, y + r}, {x + r, y - r}, {x - r, y + r}});
        break;
    case MarkShape::HourGlass:
        DrawPolygon(canvas, {{x - r, y - r}, {x + r, y - r}, {x - r, y + r}, {x + r, y + r}});
        break;
    case MarkShape::Cross:
        LineWithEnds(canvas, {x - r, y - r}, {x + r, y + r});
        LineWithEnds(canvas, {x + r, y - r}, {x - r, y + r});
        break;
    case MarkShape::Plus:
    case MarkShape::HorizontalBar:
    case MarkShape::VerticalBar:
    case MarkShape::Star:
        if (mark.shape != MarkShape::VerticalBar)
            LineWithEnds(canvas, {x - r, y}, {x + r, y});
        if (mark.shape != MarkShape::HorizontalBar)
            LineWithEnds(canvas, {x, y - r}, {x, y + r});
        if (mark.shape == MarkShape::Star) {
            LineWithEnds(canvas, {x - h, y - h}, {x + h, y + h});
            LineWithEnds(canvas, {x + h, y - h}, {x - h, y + h});
        }
        break;
    case MarkShape::Target:
        canvas.Ellipse(x - r, y - r, x + r + 1, y + r + 1);
        LineWithEnds(canvas, {x - h, y}, {x + h, y});
        LineWithEnds(canvas, {x, y - h}, {x, y + h});
        break;
    }
}

} // namespace

void DrawMarkOnCanvas(TCanvas &Canvas, int Mark, int X, int Y)
{
    if (Mark < 0 || Mark >= NrOfMarks)
        return;
    const MarkSpec &mark = MarkTable[Mark];
    ToolKeeper keep(Canvas);
    // Solid symbols fill in the pen colour: callers set only the pen to the symbol
    // colour and leave the brush at the cell's background.
    if (mark.solid)
        Canvas.Brush.SetColor(Canvas.Pen.Color);
    DrawMark(Canvas, mark, X, Y);
}

} // namespace nvo
