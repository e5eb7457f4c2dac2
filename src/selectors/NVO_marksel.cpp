#include "NVO_marksel.h"

#include "NVO_Format.h"
#include "NVO_ControlAccessible_p.h"

#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>

#include <algorithm>
#include <vector>

namespace nvo {

namespace {

constexpr int kLastMark = NrOfMarks - 1;
constexpr int kMaxGrid = 51;
/// The frame's width on each side: the cells share what is left.
constexpr int kFrameRoom = 4;
/// The cell size of the default 236 x 178 control with 8 x 6 cells, and the least
/// that holds a 9-pixel symbol with its selection outline.
constexpr int kPreferredCell = 29;
constexpr int kMinimumCell = 14;

/// The colours of one paint.
struct TMarkColors {
    TColor SelPen, Symbol, Ground, SelFill;
};

} // namespace

TMarkLayout MarkSelLayout(QSize size, int columns, int rows, const std::array<bool, NrOfMarks> &visible)
{
    TMarkLayout layout;
    columns = std::max(columns, 1);
    rows = std::max(rows, 1);
    layout.DistHorz = (size.width() - kFrameRoom) / columns;
    layout.DistVert = (size.height() - kFrameRoom) / rows;
    layout.MarginHorz = layout.DistHorz / 2;
    layout.MarginVert = layout.DistVert / 2;
    layout.Shown = visible;
    int cell = 0;
    for (int mark = 0; mark < NrOfMarks; ++mark) {
        if (!visible[mark])
            continue;
        layout.Coords[mark] = QPoint(layout.MarginHorz + layout.DistHorz * (cell % columns),
                                     layout.MarginVert + layout.DistVert * (cell / columns));
        ++cell;
    }
    return layout;
}

int NearestMark(const TMarkLayout &layout, QPoint point)
{
    int nearest = 0;
    qint64 best = -1;
    for (int mark = 0; mark < NrOfMarks; ++mark) {
        if (!layout.Shown[mark])
            continue;
        const qint64 dx = point.x() - layout.Coords[mark].x();
        const qint64 dy = point.y() - layout.Coords[mark].y();
        const qint64 distance = dx * dx + dy * dy;
        // Strictly nearer only: of two at the same distance the lower number stays.
        if (best < 0 || distance < best) {
            best = distance;
            nearest = mark;
        }
    }
    return nearest;
}

// ---- Private -------------------------------------------------------------------------

struct TMarkSel::Private {
    explicit Private(TMarkSel *owner) : q(owner) { FMarkVis.fill(true); }

    TMarkColors Colors() const;
    bool ShowsHighlight() const { return FHovered && FMarkVis[FLastHiLite] && q->isEnabled(); }
    bool ShowsSelection() const { return FSelected >= 0 && FMarkVis[FSelected] && q->isEnabled(); }
    /// The shown symbols in cell order.
    std::vector<int> ShownMarks() const;
    /// Sets a column or row count, 1..51; the size hint follows it.
    void SetGridCount(int &field, int count);
    void ChooseAt(QPoint position, const TMarkClickEvent &event);
    void MoveSelection(int key);

    // The steps of a paint.
    void PaintGround(TCanvas &canvas, const TMarkColors &colors) const;
    void PaintCell(TCanvas &canvas, const TMarkLayout &layout, int mark, const TMarkColors &colors) const;
    void PaintHighlight(TCanvas &canvas, const TMarkLayout &layout, int mark) const;
    void PaintSymbol(TCanvas &canvas, const TMarkLayout &layout, int mark) const;
    void PaintFrame(TCanvas &canvas, const TMarkColors &colors) const;

    TMarkSel *const q;
    std::array<bool, NrOfMarks> FMarkVis{};
    int FNrCols = 8;
    int FNrRows = 6;
    int FSelected = -1;
    /// The symbol under the mouse, shown only while FHovered.
    int FLastHiLite = 0;
    bool FHovered = false;
    bool FZeroAsCross = true;
    TColor FColorBG = clr::BtnFace;
    TColor FColorFG = clr::Black;
    TColor FColorSelFG = clr::Navy;
    TColor FColorSelBG = clr::White;
    TColor FColorHiLite = clr::Red;
    TColor FColorHiSymb = clr::White;
    TFrameStyle FFrameStyle = fsEngraved;
};

TMarkColors TMarkSel::Private::Colors() const
{
    if (q->isEnabled())
        return {FColorSelFG, FColorFG, FColorBG, FColorSelBG};
    return {clr::Gray, clr::Gray, clr::Silver, RGBColor(0xDE, 0xDE, 0xDE)};
}

std::vector<int> TMarkSel::Private::ShownMarks() const
{
    std::vector<int> marks;
    for (int mark = 0; mark < NrOfMarks; ++mark)
        if (FMarkVis[mark])
            marks.push_back(mark);
    return marks;
}

void TMarkSel::Private::SetGridCount(int &field, int count)
{
    if (count < 1 || count > kMaxGrid || count == field)
        return;
    field = count;
    q->updateGeometry();
    q->PaintNow();
}

void TMarkSel::Private::ChooseAt(QPoint position, const TMarkClickEvent &event)
{
    const int mark = NearestMark(q->Layout(), position);
    q->SetSelected(mark);
    if (event)
        event(q, position.x(), position.y(), mark);
    FLastHiLite = mark;
    FHovered = true;
    q->PaintNow();
}

void TMarkSel::Private::MoveSelection(int key)
{
    const std::vector<int> marks = ShownMarks();
    const auto current = std::find(marks.begin(), marks.end(), FSelected);
    const int last = int(marks.size()) - 1;
    // Without a selection (or with a hidden one) any move starts at the first symbol.
    if (current == marks.end()) {
        q->SetSelected(marks.front());
        return;
    }
    const int cell = int(current - marks.begin());
    int target = cell;
    switch (key) {
    case Qt::Key_Left: target = cell - 1; break;
    case Qt::Key_Right: target = cell + 1; break;
    case Qt::Key_Up: target = cell - FNrCols; break;
    case Qt::Key_Down: target = cell + FNrCols; break;
    case Qt::Key_Home: target = 0; break;
    case Qt::Key_End: target = last; break;
    default: break;
    }
    if (target >= 0 && target <= last)
        q->SetSelected(marks[target]);
}

// ---- Painting ------------------------------------------------------------------------

void TMarkSel::Private::PaintGround(TCanvas &canvas, const TMarkColors &colors) const
{
    canvas.Pen.Color = colors.Ground;
    canvas.Brush.SetColor(colors.Ground);
    canvas.Rectangle(0, 0, q->width(), q->height());
    canvas.Pen.Color = colors.Symbol;
    canvas.Pen.Style = psSolid;
    canvas.Pen.Mode = pmCopy;
}

void TMarkSel::Private::PaintCell(TCanvas &canvas, const TMarkLayout &layout, int mark,
                                  const TMarkColors &colors) const
{
    const QPoint p = layout.Coords[mark];
    const int hx = layout.MarginHorz, hy = layout.MarginVert;
    if (mark == FSelected) {
        canvas.Pen.Color = colors.SelPen;
        canvas.Brush.SetColor(colors.SelFill);
        canvas.Rectangle(p.x() + 3 - hx, p.y() + 3 - hy, p.x() + 3 + hx, p.y() + 3 + hy);
    } else {
        canvas.Pen.Color = colors.Symbol;
        canvas.Brush.SetColor(colors.Ground);
    }
    PaintSymbol(canvas, layout, mark);
}

void TMarkSel::Private::PaintHighlight(TCanvas &canvas, const TMarkLayout &layout, int mark) const
{
    const QPoint p = layout.Coords[mark];
    const int hx = layout.MarginHorz, hy = layout.MarginVert;
    canvas.Pen.Color = FColorHiLite;
    canvas.Brush.SetColor(FColorHiLite);
    canvas.Rectangle(p.x() + 4 - hx, p.y() + 4 - hy, p.x() + 2 + hx, p.y() + 2 + hy);
    canvas.Pen.Color = FColorHiSymb;
    PaintSymbol(canvas, layout, mark);
}

void TMarkSel::Private::PaintSymbol(TCanvas &canvas, const TMarkLayout &layout, int mark) const
{
    if (mark == 0 && FZeroAsCross) {
        // Symbol 0 always takes the first cell: the cross spans it.
        canvas.MoveTo(4, 4);
        canvas.LineTo(layout.DistHorz + 1, layout.DistVert + 1);
        canvas.MoveTo(4, layout.DistVert);
        canvas.LineTo(layout.DistHorz + 1, 3);
        return;
    }
    const QPoint p = layout.Coords[mark];
    DrawMarkOnCanvas(canvas, mark, p.x() + 2, p.y() + 2);
}

void TMarkSel::Private::PaintFrame(TCanvas &canvas, const TMarkColors &colors) const
{
    DrawFrame(canvas, FFrameStyle, 0, 0, q->width() - 1, q->height() - 1, clr::White, clr::Silver,
              clr::Gray, clr::Black, colors.Symbol);
}

void TMarkSel::Paint(TCanvas &canvas)
{
    TBitmap &buffer = Buffer();
    TCanvas &bitmap = buffer.Canvas();
    const TMarkLayout layout = Layout();
    const TMarkColors colors = d->Colors();
    d->PaintGround(bitmap, colors);
    for (int mark = 0; mark < NrOfMarks; ++mark)
        if (layout.Shown[mark])
            d->PaintCell(bitmap, layout, mark, colors);
    if (d->ShowsHighlight())
        d->PaintHighlight(bitmap, layout, d->FLastHiLite);
    d->PaintFrame(bitmap, colors);
    canvas.Draw(0, 0, buffer);
    if (OnPaint)
        OnPaint(this);
}

// ---- Accessibility -------------------------------------------------------------------

/// A list whose value is the selected symbol's number ("" for none).
template<>
struct TControlAccessibility<TMarkSel> {
    static constexpr QAccessible::Role Role = QAccessible::List;
    static QString Name(const TMarkSel &) { return TMarkSel::tr("Marker selector"); }
    static QString Value(const TMarkSel &selector)
    {
        return selector.GetSelected() < 0 ? QString() : FormatInt(selector.GetSelected());
    }
};

// ---- TMarkSel ------------------------------------------------------------------------

TMarkSel::TMarkSel(QWidget *parent) : TControl(parent), d(std::make_unique<Private>(this))
{
    InstallControlAccessibility(this, &TMarkSel::SelectedChanged);
    resize(236, 178);
    // The highlight follows the mouse without a button.
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    // Every pixel is painted here: Qt need not paint the parent beneath first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TMarkSel::~TMarkSel() = default;

int TMarkSel::GetSelected() const { return d->FSelected; }

void TMarkSel::SetSelected(int selected)
{
    if (selected < -1 || selected > kLastMark || selected == d->FSelected)
        return;
    d->FSelected = selected;
    PaintNow();
    Q_EMIT SelectedChanged(selected);
}

int TMarkSel::GetNrOfColumns() const { return d->FNrCols; }

void TMarkSel::SetNrOfColumns(int columns) { d->SetGridCount(d->FNrCols, columns); }

int TMarkSel::GetNrOfRows() const { return d->FNrRows; }

void TMarkSel::SetNrOfRows(int rows) { d->SetGridCount(d->FNrRows, rows); }

TColor TMarkSel::GetColorBackGnd() const { return d->FColorBG; }
void TMarkSel::SetColorBackGnd(TColor color) { Change(d->FColorBG, color); }
TColor TMarkSel::GetColorMarks() const { return d->FColorFG; }
void TMarkSel::SetColorMarks(TColor color) { Change(d->FColorFG, color); }
// The highlight and selection colours show only while there is a highlight or a
// selection to see.
TColor TMarkSel::GetColorHiLiteBG() const { return d->FColorHiLite; }
void TMarkSel::SetColorHiLiteBG(TColor color) { Change(d->FColorHiLite, color, d->ShowsHighlight()); }
TColor TMarkSel::GetColorHiLiteSymbol() const { return d->FColorHiSymb; }
void TMarkSel::SetColorHiLiteSymbol(TColor color) { Change(d->FColorHiSymb, color, d->ShowsHighlight()); }
TColor TMarkSel::GetColorSelBG() const { return d->FColorSelBG; }
void TMarkSel::SetColorSelBG(TColor color) { Change(d->FColorSelBG, color, d->ShowsSelection()); }
TColor TMarkSel::GetColorSelFG() const { return d->FColorSelFG; }
void TMarkSel::SetColorSelFG(TColor color) { Change(d->FColorSelFG, color, d->ShowsSelection()); }

TFrameStyle TMarkSel::GetFrameStyle() const { return d->FFrameStyle; }

void TMarkSel::SetFrameStyle(TFrameStyle style) { ChangeEnum(d->FFrameStyle, style, "FrameStyle"); }

bool TMarkSel::GetShowZeroAsCross() const { return d->FZeroAsCross; }

void TMarkSel::SetShowZeroAsCross(bool cross)
{
    if (cross == d->FZeroAsCross)
        return;
    d->FZeroAsCross = cross;
    Invalidate();
}

// The widget's own switch is the stored value; what a paint shows is isEnabled(),
// which a disabled parent turns off as well. Qt asks for the repaint itself.

bool TMarkSel::GetMarkVisible(int Index) const
{
    return d->FMarkVis[Index < 0 || Index > kLastMark ? 0 : Index];
}

void TMarkSel::SetMarkVisible(int Index, bool visible)
{
    if (Index < 1 || Index > kLastMark || visible == d->FMarkVis[Index])
        return;
    d->FMarkVis[Index] = visible;
    PaintNow();
}

void TMarkSel::ShowAllMarks()
{
    std::fill(d->FMarkVis.begin() + 1, d->FMarkVis.end(), true);
    PaintNow();
}

void TMarkSel::HideAllMarks()
{
    std::fill(d->FMarkVis.begin() + 1, d->FMarkVis.end(), false);
    PaintNow();
}

TMarkLayout TMarkSel::Layout() const { return MarkSelLayout(size(), d->FNrCols, d->FNrRows, d->FMarkVis); }

int TMarkSel::HighlightedMark() const { return d->FHovered ? d->FLastHiLite : -1; }

QSize TMarkSel::sizeHint() const
{
    return {d->FNrCols * kPreferredCell + kFrameRoom, d->FNrRows * kPreferredCell + kFrameRoom};
}

QSize TMarkSel::minimumSizeHint() const
{
    return {d->FNrCols * kMinimumCell + kFrameRoom, d->FNrRows * kMinimumCell + kFrameRoom};
}

// ---- Input ---------------------------------------------------------------------------

void TMarkSel::mouseMoveEvent(QMouseEvent *event)
{
    TControl::mouseMoveEvent(event); // fires OnMouseMove
    const int mark = NearestMark(Layout(), event->position().toPoint());
    if (d->FHovered && mark == d->FLastHiLite)
        return;
    d->FLastHiLite = mark;
    d->FHovered = true;
    PaintNow();
}

void TMarkSel::mouseReleaseEvent(QMouseEvent *event)
{
    TControl::mouseReleaseEvent(event); // fires OnClick and OnMouseUp
    const QPoint position = event->position().toPoint();
    if (event->button() == Qt::LeftButton && rect().contains(position))
        Guarded([&] { d->ChooseAt(position, OnMarkClick); });
}

void TMarkSel::mouseDoubleClickEvent(QMouseEvent *event)
{
    TControl::mouseDoubleClickEvent(event); // fires OnMouseDown and OnDblClick
    if (event->button() == Qt::LeftButton)
        Guarded([&] { d->ChooseAt(event->position().toPoint(), OnMarkDblClick); });
}

void TMarkSel::leaveEvent(QEvent *event)
{
    // No highlight stays behind once the mouse has gone.
    if (d->FHovered) {
        d->FHovered = false;
        PaintNow();
    }
    TControl::leaveEvent(event);
}

void TMarkSel::changeEvent(QEvent *event)
{
    // A disabled widget gets no mouse, so no leave either: drop the highlight here.
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        d->FHovered = false;
    TControl::changeEvent(event);
}

void TMarkSel::KeyPressed(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
        d->MoveSelection(event->key());
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (const TMarkLayout layout = Layout(); d->FSelected >= 0 && layout.Shown[d->FSelected] && OnMarkClick) {
            const QPoint p = layout.Coords[d->FSelected];
            Guarded([&] { OnMarkClick(this, p.x(), p.y(), d->FSelected); });
        }
        return;
    default:
        TControl::KeyPressed(event);
    }
}

} // namespace nvo
