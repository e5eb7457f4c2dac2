#include "NVO_Thumbnails.h"

#include "NVO_ControlAccessible_p.h"
#include "NVO_Format.h"

#include <QtCore/QScopedValueRollback>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtGui/QWheelEvent>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <utility>

namespace nvo {

namespace {

/// The room around the slides on every side.
constexpr int kEdge = 10;
/// How far off-view positions are held, so that they still fit an int with room to add.
constexpr qint64 kFarAway = qint64(1) << 30;

/// Division rounding toward negative infinity, so that slides before the top one
/// land in the rows above it rather than mirrored into the top row.
qint64 FloorDiv(qint64 a, qint64 b)
{
    const qint64 q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

int HeldToInt(qint64 v) { return int(std::clamp(v, -kFarAway, kFarAway)); }

} // namespace

// ---- TThumbGeometry ------------------------------------------------------------------

int TThumbGeometry::Cell() const { return std::max(1, SlideSize + SlideDistance + 2 * SlideMargin); }

int TThumbGeometry::SlidesPerRow() const { return std::max(1, (Width + SlideDistance - 2 * kEdge) / Cell()); }

int TThumbGeometry::RowsPainted() const
{
    // Height / Cell + 1 alone misses the row that a part scrolled out at the top brings
    // into view at the bottom: count every row that starts above the bottom margin.
    const int reaching = (Height - 2 * kEdge - 1 - SlideDistance + ScrolledOut()) / Cell() + 1;
    return std::max(std::max(0, Height) / Cell() + 1, reaching);
}

qint64 TThumbGeometry::TopSlide() const { return qint64(std::trunc(FirstThumbIdx)); }

int TThumbGeometry::ScrolledOut() const
{
    return int(std::nearbyint((FirstThumbIdx - std::trunc(FirstThumbIdx)) * Cell()));
}

QPoint TThumbGeometry::SlidePos(qint64 n) const
{
    const qint64 perRow = SlidesPerRow();
    const qint64 offset = n - TopSlide();
    const qint64 row = FloorDiv(offset, perRow);
    const qint64 column = offset - row * perRow;
    return {HeldToInt(Cell() * column + kEdge),
            HeldToInt(std::clamp(row, -kFarAway, kFarAway) * Cell() + SlideDistance - ScrolledOut() + kEdge)};
}

qint64 TThumbGeometry::SlideAt(QPoint point) const
{
    const int cell = Cell();
    const int x = point.x(), y = point.y();
    if (x < kEdge || x > Width - kEdge || y < kEdge || y > Height - kEdge)
        return 0;
    // A point belongs to a slide when it lies on the slide's face, its last row and
    // column included; the gap after it belongs to none.
    const qint64 column = FloorDiv(x - kEdge, cell);
    const qint64 left = cell * column + kEdge;
    if (x > left + SlideEdge() || column + 1 > SlidesPerRow())
        return 0;
    const qint64 row = FloorDiv(qint64(y) + ScrolledOut() - SlideDistance - kEdge, cell);
    const qint64 top = cell * row + SlideDistance - ScrolledOut() + kEdge;
    if (y > top + SlideEdge() || y < top || row < 0)
        return 0;
    const qint64 n = TopSlide() + SlidesPerRow() * row + column;
    return n < Min || n > Max ? 0 : n;
}

double TThumbGeometry::Normalized(double x) const
{
    if (Max < Min || std::isnan(x))
        return double(Min);
    x = std::clamp(x, double(Min), double(Max));
    const qint64 perRow = SlidesPerRow();
    const qint64 rowStart = Min + FloorDiv(qint64(std::trunc(x)) - Min, perRow) * perRow;
    return double(rowStart) + (x - double(rowStart)) / double(perRow);
}

double TThumbGeometry::RowPosition() const
{
    return double(RowOf(TopSlide())) + (FirstThumbIdx - std::trunc(FirstThumbIdx));
}

double TThumbGeometry::FirstIdxOfRow(double rows) const
{
    const double lastRow = Max < Min ? 0.0 : double(RowOf(Max));
    rows = std::isnan(rows) ? 0.0 : std::clamp(rows, 0.0, lastRow);
    const double whole = std::floor(rows);
    const double perRow = SlidesPerRow();
    return double(Min) + whole * perRow + (rows - whole) * perRow;
}

qint64 TThumbGeometry::RowOf(qint64 n) const { return FloorDiv(n - Min, SlidesPerRow()); }

int TThumbGeometry::RowsShown() const
{
    return std::max(1, (Height - 2 * kEdge - SlideDistance - SlideEdge()) / Cell() + 1);
}

// ---- TSlideSelection -----------------------------------------------------------------

bool TSlideSelection::Contains(qint64 slide) const
{
    auto after = FRanges.upper_bound(slide);
    return after != FRanges.begin() && std::prev(after)->second >= slide;
}

void TSlideSelection::Set(qint64 first, qint64 last, bool selected)
{
    if (last < first)
        return;
    // The ranges that overlap first..last, and for selecting also those that touch it.
    auto from = FRanges.upper_bound(first);
    if (from != FRanges.begin()) {
        const auto before = std::prev(from);
        if (before->second >= first || (selected && before->second == first - 1))
            from = before;
    }
    auto to = from;
    while (to != FRanges.end() && (to->first <= last || (selected && to->first - 1 == last)))
        ++to;
    if (from == to && !selected)
        return;
    const qint64 low = from == to ? first : from->first;
    const qint64 high = from == to ? last : std::prev(to)->second;
    FRanges.erase(from, to);
    if (selected) {
        FRanges.emplace(std::min(low, first), std::max(high, last));
        return;
    }
    if (low < first)
        FRanges.emplace(low, first - 1);
    if (high > last)
        FRanges.emplace(last + 1, high);
}

void TSlideSelection::Clip(qint64 min, qint64 max)
{
    if (FRanges.empty())
        return;
    if (max < min) {
        FRanges.clear();
        return;
    }
    if (FRanges.begin()->first < min)
        Set(FRanges.begin()->first, min - 1, false);
    if (!FRanges.empty() && FRanges.rbegin()->second > max)
        Set(max + 1, FRanges.rbegin()->second, false);
}

qint64 TSlideSelection::First() const { return FRanges.empty() ? 0 : FRanges.begin()->first; }

qint64 TSlideSelection::Count() const
{
    qint64 count = 0;
    for (const auto &[first, last] : FRanges)
        count += last - first + 1;
    return count;
}

// ---- TThumbnails: private state ---------------------------------------------------------

namespace {

/// The highest slide number: FirstThumbIdx is a double, exact for integers up to 2^53.
constexpr qint64 kLastSlide = qint64(1) << 53;
constexpr int kMinSlideSize = 50;
constexpr int kMaxSlideSize = 10000;
constexpr int kMaxSpacing = 100;
constexpr int kMaxFocusLines = 10;
/// The placeholder leaves this much of the slide's image area free above and below.
constexpr int kPlaceholderInset = 20;
/// Where a marker symbol stands from the slide's corner.
constexpr QPoint kMarkOffset{10, 12};

/// How a click or a key changes the selection in ssmMultiple mode.
enum class TPick { Only, Toggle, Run, AddRun, Nothing };

TPick PickOf(Qt::KeyboardModifiers modifiers)
{
    const bool shift = modifiers & Qt::ShiftModifier, ctrl = modifiers & Qt::ControlModifier;
    if (shift)
        return ctrl ? TPick::AddRun : TPick::Run;
    return ctrl ? TPick::Toggle : TPick::Only;
}

} // namespace

struct TThumbnails::Private {
    explicit Private(TThumbnails *owner) : q(owner) {}

    TThumbGeometry Geometry() const;
    /// Stores what writing `x` to FirstThumbIdx stores, and signals a change; true
    /// when the value changed. The caller repaints.
    bool StoreFirstIdx(double x);
    /// The top-left corner of the view as a slide position (slide number plus the
    /// part of its row scrolled out, in slides), which survives a new row length.
    double TopLeftPosition() const;
    /// Re-normalises the first index when the slides to a row have changed, keeping
    /// the view where it was; the caller repaints.
    void SyncColumns();
    /// Makes `selection` the selection; repaints and signals when it differs.
    void ChangeSelection(const TSlideSelection &selection);
    /// Selects as a click on slide `n` (0: none) with `pick` does in the current mode.
    void Pick(qint64 n, TPick pick);
    /// Moves the focus frame to `n` and tells the application.
    void SetFocused(qint64 n);
    void ScrollToShow(qint64 n);
    void ScrollByRows(double rows);
    /// The slide a navigation key moves the focus to, 0 for a key that does not.
    qint64 KeyTarget(int key) const;
    void SetSpacing(int &field, int value, int min, int max);
    void SlidesChanged();

    // The steps of a paint: the slides into the off-screen bitmap, then on the control
    // the focus frame, the margins and the control's frame.
    void ComposeSlides(TCanvas &canvas, const TThumbGeometry &g);
    void PaintSlide(TCanvas &canvas, const TThumbGeometry &g, qint64 n, QPoint corner);
    void PaintPlaceholder(TCanvas &canvas, QPoint corner, int edge, qint64 n) const;
    void PaintPicture(TCanvas &canvas, QPoint corner) const;
    void PaintFocus(TCanvas &canvas, const TThumbGeometry &g) const;
    void PaintMarginsAndFrame(TCanvas &canvas) const;

    TThumbnails *const q;
    double FFirstThumbIx = 1.0;
    qint64 FMin = 1;
    qint64 FMax = 100;
    /// The slides to a row that the stored first index counts its part of a row in.
    int FNumSldX = 1;
    int FThumbBaseSize = 120;
    int FSlideDist = 2;
    int FSlideMargin = 7;
    TSlideSelection FSelectedSlide;
    TSlideSelectMode FSelectMode = ssmSingle;
    qint64 FLastHiLite = 0;
    qint64 FLastClickedSlide = 0;
    int FHiliteThickness = 1;
    TColor FColorBG = clr::BtnFace;
    TColor FColorCover = clr::Silver;
    TColor FColorSelected = clr::Navy;
    TColor FColorHilite = clr::Blue;
    TColor FMarkColor = clr::Black;
    TFrameStyle FFrameStyle = fsLowered;
    TFrameStyle FOuterFrameStyle = fsRaised;
    TFrameStyle FInnerFrameStyle = fsLowered;
    bool FAntiAlias = false;
    /// The request bitmap of the running paint; empty between paints.
    TBitmap FImgBuffer;
    /// The next paint only moves the focus frame: the slides in the buffer still hold.
    bool FFocusOnly = false;
    /// The buffer's picture key when it last received all the slides.
    qint64 FComposedKey = -1;
    /// A paint is running: a handler that grabs the control gets no second one inside.
    bool FIsWorking = false;
};

TThumbGeometry TThumbnails::Private::Geometry() const
{
    TThumbGeometry g;
    g.Width = q->width();
    g.Height = q->height();
    g.SlideSize = FThumbBaseSize;
    g.SlideDistance = FSlideDist;
    g.SlideMargin = FSlideMargin;
    g.Min = FMin;
    g.Max = FMax;
    g.FirstThumbIdx = FFirstThumbIx;
    return g;
}

bool TThumbnails::Private::StoreFirstIdx(double x)
{
    const TThumbGeometry g = Geometry();
    const double stored = g.Normalized(x);
    FNumSldX = g.SlidesPerRow();
    if (stored == FFirstThumbIx)
        return false;
    FFirstThumbIx = stored;
    Q_EMIT q->FirstThumbIdxChanged(stored);
    return true;
}

double TThumbnails::Private::TopLeftPosition() const
{
    return std::trunc(FFirstThumbIx) + (FFirstThumbIx - std::trunc(FFirstThumbIx)) * FNumSldX;
}

void TThumbnails::Private::SyncColumns()
{
    if (Geometry().SlidesPerRow() != FNumSldX)
        StoreFirstIdx(TopLeftPosition());
}

void TThumbnails::Private::ChangeSelection(const TSlideSelection &selection)
{
    if (selection == FSelectedSlide)
        return;
    FSelectedSlide = selection;
    q->PaintNow();
    Q_EMIT q->SelectionChanged();
}

void TThumbnails::Private::Pick(qint64 n, TPick pick)
{
    if (FSelectMode == ssmDisabled || pick == TPick::Nothing)
        return;
    TSlideSelection selection = FSelectedSlide;
    if (FSelectMode == ssmSingle)
        pick = TPick::Only;
    const qint64 anchor = FLastClickedSlide != 0 ? FLastClickedSlide : n;
    switch (pick) {
    case TPick::Only:
        selection.Clear();
        selection.Set(n, n != 0);
        FLastClickedSlide = n;
        break;
    case TPick::Toggle:
        if (n != 0)
            selection.Set(n, !selection.Contains(n));
        FLastClickedSlide = n;
        break;
    case TPick::Run:
    case TPick::AddRun:
        if (pick == TPick::Run)
            selection.Clear();
        if (n != 0)
            selection.Set(std::min(anchor, n), std::max(anchor, n), true);
        break;
    case TPick::Nothing: break;
    }
    ChangeSelection(selection);
}

void TThumbnails::Private::SetFocused(qint64 n)
{
    if (n == FLastHiLite)
        return;
    FLastHiLite = n;
    if (FHiliteThickness > 0) {
        // Outside a paint and while painting is not held back, the slides in the buffer
        // are those on screen: only the frame moves.
        FFocusOnly = q->isVisible() && !InsidePaint() && !q->Updating();
        q->PaintNow();
    }
    if (q->OnFocusChange)
        q->OnFocusChange(q);
}

void TThumbnails::Private::ScrollToShow(qint64 n)
{
    const TThumbGeometry g = Geometry();
    const double row = double(g.RowOf(n));
    const double top = g.RowPosition();
    if (row < top)
        q->SetFirstThumbIdx(g.FirstIdxOfRow(row));
    else if (row + 1 > top + g.RowsShown())
        q->SetFirstThumbIdx(g.FirstIdxOfRow(row + 1 - g.RowsShown()));
}

void TThumbnails::Private::ScrollByRows(double rows)
{
    const TThumbGeometry g = Geometry();
    q->SetFirstThumbIdx(g.FirstIdxOfRow(g.RowPosition() + rows));
}

qint64 TThumbnails::Private::KeyTarget(int key) const
{
    static constexpr int kMoves[] = {Qt::Key_Left,   Qt::Key_Right,    Qt::Key_Up,   Qt::Key_Down,
                                      Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End};
    if (FMax < FMin || std::find(std::begin(kMoves), std::end(kMoves), key) == std::end(kMoves))
        return 0;
    const TThumbGeometry g = Geometry();
    // Without a focused slide the first key only puts the frame on the top slide.
    const qint64 current = FLastHiLite;
    if (current == 0)
        return std::clamp(g.TopSlide(), FMin, FMax);
    const qint64 row = g.SlidesPerRow();
    qint64 target = current;
    switch (key) {
    case Qt::Key_Left: target = current - 1; break;
    case Qt::Key_Right: target = current + 1; break;
    case Qt::Key_Up: target = current - row; break;
    case Qt::Key_Down: target = current + row; break;
    case Qt::Key_PageUp: target = current - row * g.RowsShown(); break;
    case Qt::Key_PageDown: target = current + row * g.RowsShown(); break;
    case Qt::Key_Home: target = FMin; break;
    case Qt::Key_End: target = FMax; break;
    default: break;
    }
    return std::clamp(target, FMin, FMax);
}

void TThumbnails::Private::SetSpacing(int &field, int value, int min, int max)
{
    value = std::clamp(value, min, max);
    if (value == field)
        return;
    q->BeginUpdate();
    field = value;
    SyncColumns();
    q->updateGeometry();
    q->EndUpdate();
}

void TThumbnails::Private::SlidesChanged()
{
    q->BeginUpdate();
    TSlideSelection selection = FSelectedSlide;
    selection.Clip(FMin, FMax);
    ChangeSelection(selection);
    if (FLastHiLite != 0 && (FLastHiLite < FMin || FLastHiLite > FMax))
        SetFocused(0);
    if (FLastClickedSlide < FMin || FLastClickedSlide > FMax)
        FLastClickedSlide = 0;
    StoreFirstIdx(TopLeftPosition());
    q->EndUpdate();
}

// ---- Painting --------------------------------------------------------------------------

void TThumbnails::Private::ComposeSlides(TCanvas &canvas, const TThumbGeometry &g)
{
    canvas.Font = TFont(q->font());
    canvas.Pen.Color = FColorBG;
    canvas.Brush.SetColor(FColorBG);
    canvas.Rectangle(0, 0, g.Width, g.Height);
    if (q->OnFirstImageRequest)
        q->OnFirstImageRequest(q);
    const int perRow = g.SlidesPerRow();
    const qint64 top = g.TopSlide();
    // Column by column, as the application has always been asked.
    for (int i = 0; i < perRow; ++i)
        for (int j = 0; j < g.RowsPainted(); ++j) {
            const qint64 n = top + qint64(perRow) * j + i;
            if (n >= FMin && n <= FMax)
                PaintSlide(canvas, g, n, g.SlidePos(n));
        }
    if (q->OnLastImageRequest)
        q->OnLastImageRequest(q);
    FImgBuffer = TBitmap();
}

void TThumbnails::Private::PaintSlide(TCanvas &canvas, const TThumbGeometry &g, qint64 n, QPoint corner)
{
    TImageRequestProcessing how = irpShowEmpty;
    int mark = -1;
    if (q->OnImageRequest)
        q->OnImageRequest(q, n, how, mark, FImgBuffer);
    const int x = corner.x(), y = corner.y(), edge = g.SlideEdge();
    if (how != irpShowNothing) {
        const TColor face = FSelectedSlide.Contains(n) ? FColorSelected : FColorCover;
        canvas.Pen.Color = face;
        canvas.Brush.SetColor(face);
        canvas.Rectangle(x, y, x + edge + 1, y + edge + 1);
        DrawFrame(canvas, FOuterFrameStyle, x, y, x + edge, y + edge, clr::White, clr::Silver, clr::Gray, clr::Black,
                  clr::Black);
        canvas.Pen.Color = clr::Black;
    }
    if (how == irpShowEmpty)
        PaintPlaceholder(canvas, corner, edge, n);
    else if (how == irpShowSlide)
        PaintPicture(canvas, corner);
    if (mark >= 0 && mark < NrOfMarks) {
        canvas.Pen.Color = FMarkColor;
        canvas.Brush.SetStyle(bsClear);
        DrawMarkOnCanvas(canvas, mark, x + kMarkOffset.x(), y + kMarkOffset.y());
    }
    if (q->OnSlideRendered)
        q->OnSlideRendered(q, canvas, x, y, n);
}

void TThumbnails::Private::PaintPlaceholder(TCanvas &canvas, QPoint corner, int edge, qint64 n) const
{
    const int x = corner.x(), y = corner.y(), m = FSlideMargin;
    canvas.Brush.SetColor(clr::White);
    canvas.Rectangle(x + m, y + m + kPlaceholderInset, x + edge - m, y + edge - m - kPlaceholderInset);
    canvas.Font.Color = clr::Black;
    const QString text = FormatInt(n);
    const int centreX = (2 * x + edge) / 2, centreY = (2 * y + edge) / 2;
    canvas.TextOut(centreX - canvas.TextWidth(text) / 2, centreY - canvas.TextHeight(text) / 2, text);
}

void TThumbnails::Private::PaintPicture(TCanvas &canvas, QPoint corner) const
{
    const qint64 w = FImgBuffer.Width(), h = FImgBuffer.Height();
    if (FImgBuffer.Empty() || w <= 0 || h <= 0)
        return;
    const int size = FThumbBaseSize, m = FSlideMargin;
    QRect area;
    // The longer side fills the image area; the other keeps the picture's aspect.
    if (h > w) {
        const int scaled = int(std::nearbyint(double(w) * size / double(h)));
        area = QRect(corner.x() + m + (size - scaled) / 2, corner.y() + m, scaled, size);
    } else {
        const int scaled = int(std::nearbyint(double(h) * size / double(w)));
        area = QRect(corner.x() + m, corner.y() + m + (size - scaled) / 2, size, scaled);
    }
    canvas.StretchDraw(area, FImgBuffer, FAntiAlias ? smSmooth : smNearest);
    DrawFrame(canvas, FInnerFrameStyle, area.left(), area.top(), area.left() + area.width(), area.top() + area.height(),
              clr::White, clr::Silver, clr::Gray, clr::Black, clr::Black);
}

void TThumbnails::Private::PaintFocus(TCanvas &canvas, const TThumbGeometry &g) const
{
    if (FHiliteThickness == 0 || FLastHiLite < FMin || FLastHiLite > FMax)
        return;
    const QPoint corner = g.SlidePos(FLastHiLite);
    const int left = corner.x() + 2, right = corner.x() + g.SlideEdge() - 2;
    const int top = std::max(2, corner.y() + 2), bottom = std::min(g.Height - 3, corner.y() + g.SlideEdge() - 2);
    canvas.Pen.Color = FColorHilite;
    canvas.Pen.Width = 1;
    for (int k = 0; k < FHiliteThickness; ++k)
        DrawRectangle(canvas, left + k, top + k, right - k, bottom - k);
}

void TThumbnails::Private::PaintMarginsAndFrame(TCanvas &canvas) const
{
    // Slides scrolled into the top and bottom margins, and the focus frame with them,
    // are covered.
    const int w = q->width(), h = q->height();
    canvas.Pen.Color = FColorBG;
    canvas.Brush.SetColor(FColorBG);
    canvas.Rectangle(0, 0, w, 10);
    canvas.Rectangle(0, h - 10, w, h);
    DrawFrame(canvas, FFrameStyle, 0, 0, w - 2, h - 2, clr::White, clr::Silver, clr::Gray, clr::Black, clr::Black);
}

void TThumbnails::Paint(TCanvas &canvas)
{
    if (d->FIsWorking)
        return;
    const QScopedValueRollback working(d->FIsWorking, true);
    // A size Qt has not announced yet (a hidden control resized) takes effect here.
    d->SyncColumns();
    TBitmap &buffer = Buffer();
    const TThumbGeometry g = d->Geometry();
    const bool focusOnly = std::exchange(d->FFocusOnly, false) && buffer.Image().cacheKey() == d->FComposedKey;
    if (!focusOnly) {
        // A handler that throws leaves the slides half drawn: no later paint may reuse them.
        d->FComposedKey = -1;
        d->ComposeSlides(buffer.Canvas(), g);
        d->FComposedKey = buffer.Image().cacheKey();
    }
    canvas.Draw(0, 0, buffer);
    d->PaintFocus(canvas, g);
    d->PaintMarginsAndFrame(canvas);
}

// ---- Accessibility ---------------------------------------------------------------------

/// A list whose value is the first selected slide's number ("" for none).
template<>
struct TControlAccessibility<TThumbnails> {
    static constexpr QAccessible::Role Role = QAccessible::List;
    static QString Name(const TThumbnails &) { return TThumbnails::tr("Thumbnail strip"); }
    static QString Value(const TThumbnails &strip)
    {
        return strip.FirstSelectedSlide() == 0 ? QString() : FormatInt(strip.FirstSelectedSlide());
    }
};

// ---- TThumbnails -----------------------------------------------------------------------

TThumbnails::TThumbnails(QWidget *parent) : TControl(parent), d(std::make_unique<Private>(this))
{
    InstallControlAccessibility<TThumbnails>();
    resize(260, 400);
    // The focus frame follows the mouse without a button.
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TThumbnails::~TThumbnails() = default;

double TThumbnails::GetFirstThumbIdx() const { return d->FFirstThumbIx; }

void TThumbnails::SetFirstThumbIdx(double x)
{
    if (d->StoreFirstIdx(x))
        PaintNow();
}

TThumbnails::TSlideSelectMode TThumbnails::GetSlideSelectMode() const { return d->FSelectMode; }

void TThumbnails::SetSlideSelectMode(TSlideSelectMode mode)
{
    if (mode == d->FSelectMode || !IsEnumValue(QMetaEnum::fromType<TSlideSelectMode>(), mode, "SlideSelectMode"))
        return;
    BeginUpdate();
    d->FSelectMode = mode;
    d->FLastClickedSlide = 0;
    d->ChangeSelection({});
    EndUpdate();
}

bool TThumbnails::GetAntiAlias() const { return d->FAntiAlias; }
void TThumbnails::SetAntiAlias(bool on) { Change(d->FAntiAlias, on); }
TColor TThumbnails::GetColorBackGnd() const { return d->FColorBG; }
void TThumbnails::SetColorBackGnd(TColor color) { Change(d->FColorBG, color); }
TColor TThumbnails::GetColorCover() const { return d->FColorCover; }
void TThumbnails::SetColorCover(TColor color) { Change(d->FColorCover, color); }
TColor TThumbnails::GetColorSelected() const { return d->FColorSelected; }
void TThumbnails::SetColorSelected(TColor color) { Change(d->FColorSelected, color, d->FSelectedSlide.First() != 0); }
TColor TThumbnails::GetColorFocus() const { return d->FColorHilite; }
void TThumbnails::SetColorFocus(TColor color)
{
    Change(d->FColorHilite, color, d->FLastHiLite != 0 && d->FHiliteThickness > 0);
}
TColor TThumbnails::GetColorMark() const { return d->FMarkColor; }
void TThumbnails::SetColorMark(TColor color) { Change(d->FMarkColor, color); }
TFrameStyle TThumbnails::GetFrameStyle() const { return d->FFrameStyle; }
void TThumbnails::SetFrameStyle(TFrameStyle style) { ChangeEnum(d->FFrameStyle, style, "FrameStyle"); }
TFrameStyle TThumbnails::GetOuterFrameStyle() const { return d->FOuterFrameStyle; }
void TThumbnails::SetOuterFrameStyle(TFrameStyle style) { ChangeEnum(d->FOuterFrameStyle, style, "OuterFrameStyle"); }
TFrameStyle TThumbnails::GetInnerFrameStyle() const { return d->FInnerFrameStyle; }
void TThumbnails::SetInnerFrameStyle(TFrameStyle style) { ChangeEnum(d->FInnerFrameStyle, style, "InnerFrameStyle"); }
int TThumbnails::GetFocusLinewidth() const { return d->FHiliteThickness; }
void TThumbnails::SetFocusLinewidth(int width)
{
    Change(d->FHiliteThickness, std::clamp(width, 0, kMaxFocusLines), d->FLastHiLite != 0);
}
qint64 TThumbnails::GetFocusedSlide() const { return d->FLastHiLite; }
qint64 TThumbnails::GetMin() const { return d->FMin; }

void TThumbnails::SetMin(qint64 min)
{
    min = std::clamp<qint64>(min, 1, kLastSlide);
    if (min == d->FMin)
        return;
    d->FMin = min;
    d->SlidesChanged();
}

qint64 TThumbnails::GetMax() const { return d->FMax; }

void TThumbnails::SetMax(qint64 max)
{
    max = std::clamp<qint64>(max, 1, kLastSlide);
    if (max == d->FMax)
        return;
    d->FMax = max;
    d->SlidesChanged();
}

int TThumbnails::GetSlideSize() const { return d->FThumbBaseSize; }
void TThumbnails::SetSlideSize(int size) { d->SetSpacing(d->FThumbBaseSize, size, kMinSlideSize, kMaxSlideSize); }
int TThumbnails::GetSlideDistance() const { return d->FSlideDist; }
void TThumbnails::SetSlideDistance(int distance) { d->SetSpacing(d->FSlideDist, distance, 0, kMaxSpacing); }
int TThumbnails::GetSlideMargin() const { return d->FSlideMargin; }
void TThumbnails::SetSlideMargin(int margin) { d->SetSpacing(d->FSlideMargin, margin, 0, kMaxSpacing); }

int TThumbnails::NumSlidesHoriz() const { return d->Geometry().SlidesPerRow(); }
int TThumbnails::NumSlidesVert() const { return d->Geometry().RowsPainted(); }

bool TThumbnails::GetSlideSelected(qint64 sldnum) const { return d->FSelectedSlide.Contains(sldnum); }

void TThumbnails::SetSlideSelected(qint64 sldnum, bool selected) { SetSlidesSelected(sldnum, sldnum, selected); }

void TThumbnails::SetSlidesSelected(qint64 first, qint64 last, bool selected)
{
    TSlideSelection selection = d->FSelectedSlide;
    selection.Set(std::max(first, d->FMin), std::min(last, d->FMax), selected);
    d->ChangeSelection(selection);
}

void TThumbnails::ResetAllSelections() { d->ChangeSelection({}); }
qint64 TThumbnails::FirstSelectedSlide() const { return d->FSelectedSlide.First(); }
qint64 TThumbnails::NumSlidesSelected() const { return d->FSelectedSlide.Count(); }
const TSlideSelection &TThumbnails::Selection() const { return d->FSelectedSlide; }

void TThumbnails::CalcSlidePos(qint64 SldNum, int &XPos, int &YPos) const
{
    const QPoint corner = d->Geometry().SlidePos(SldNum);
    XPos = corner.x();
    YPos = corner.y();
}

qint64 TThumbnails::CalcSlideIndex(int XPos, int YPos) const { return d->Geometry().SlideAt({XPos, YPos}); }

TThumbGeometry TThumbnails::Geometry() const { return d->Geometry(); }

void TThumbnails::Assign(const QObject *source)
{
    const auto *other = qobject_cast<const TThumbnails *>(source);
    if (!other)
        throw EConvertError(msg::CannotAssign(source, this));
    if (other == this)
        return;
    const Private &o = *other->d;
    BeginUpdate();
    d->FFrameStyle = o.FFrameStyle;
    d->FOuterFrameStyle = o.FOuterFrameStyle;
    d->FInnerFrameStyle = o.FInnerFrameStyle;
    d->FColorBG = o.FColorBG;
    SetColorScheme(other->GetColorScheme());
    d->FMin = o.FMin;
    d->FMax = o.FMax;
    d->FThumbBaseSize = o.FThumbBaseSize;
    d->FSlideDist = o.FSlideDist;
    d->FSlideMargin = o.FSlideMargin;
    d->FAntiAlias = o.FAntiAlias;
    d->FColorCover = o.FColorCover;
    d->FColorSelected = o.FColorSelected;
    d->FColorHilite = o.FColorHilite;
    d->FMarkColor = o.FMarkColor;
    d->FHiliteThickness = o.FHiliteThickness;
    d->FLastHiLite = o.FLastHiLite;
    d->FSelectMode = o.FSelectMode;
    d->FLastClickedSlide = o.FLastClickedSlide;
    OnImageRequest = other->OnImageRequest;
    OnSlideRendered = other->OnSlideRendered;
    OnImageClick = other->OnImageClick;
    OnImageDblClick = other->OnImageDblClick;
    OnFocusChange = other->OnFocusChange;
    OnFirstImageRequest = other->OnFirstImageRequest;
    OnLastImageRequest = other->OnLastImageRequest;
    d->ChangeSelection(o.FSelectedSlide);
    // The other control's view, re-normalised to this one's width.
    d->StoreFirstIdx(o.TopLeftPosition());
    updateGeometry();
    EndUpdate();
}

void TThumbnails::AssignTo(QObject *dest) const { AssignToSameClass(this, dest); }

QSize TThumbnails::sizeHint() const
{
    // Two slides to a row, three rows.
    const TThumbGeometry g = d->Geometry();
    return {2 * g.Cell() + 20 - g.SlideDistance, 3 * g.Cell() + 20};
}

QSize TThumbnails::minimumSizeHint() const
{
    const TThumbGeometry g = d->Geometry();
    return {g.Cell() + 20 - g.SlideDistance, g.Cell() + 20};
}

// ---- Input -------------------------------------------------------------------------------

void TThumbnails::mouseMoveEvent(QMouseEvent *event)
{
    TControl::mouseMoveEvent(event); // fires OnMouseMove
    if (d->FHiliteThickness == 0)
        return;
    const QPoint p = event->position().toPoint();
    Guarded([&] { d->SetFocused(CalcSlideIndex(p.x(), p.y())); });
}

void TThumbnails::mouseReleaseEvent(QMouseEvent *event)
{
    TControl::mouseReleaseEvent(event); // fires OnClick and OnMouseUp
    const QPoint p = event->position().toPoint();
    if (event->button() != Qt::LeftButton || !rect().contains(p))
        return;
    Guarded([&] {
        const qint64 n = CalcSlideIndex(p.x(), p.y());
        // A click on no slide with Ctrl or Shift keeps the selection; a plain one clears it.
        d->Pick(n, n == 0 && event->modifiers() != Qt::NoModifier ? TPick::Nothing : PickOf(event->modifiers()));
        if (OnImageClick)
            OnImageClick(this, p.x(), p.y(), n);
    });
}

void TThumbnails::mouseDoubleClickEvent(QMouseEvent *event)
{
    TControl::mouseDoubleClickEvent(event); // fires OnMouseDown and OnDblClick
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton && OnImageDblClick)
        Guarded([&] { OnImageDblClick(this, p.x(), p.y(), CalcSlideIndex(p.x(), p.y())); });
}

void TThumbnails::wheelEvent(QWheelEvent *event)
{
    // A touch pad's pixels move the slides as far; a wheel's notch moves one row.
    const double rows = event->pixelDelta().isNull() ? -event->angleDelta().y() / 120.0
                                                     : -double(event->pixelDelta().y()) / d->Geometry().Cell();
    Guarded([&] { d->ScrollByRows(rows); });
    event->accept();
}

void TThumbnails::resizeEvent(QResizeEvent *event)
{
    TControl::resizeEvent(event);
    // Qt paints the new size next.
    Guarded([&] { d->SyncColumns(); });
}

void TThumbnails::KeyPressed(QKeyEvent *event)
{
    const int key = event->key();
    if (key == Qt::Key_Space) {
        Guarded([&] { d->Pick(d->FLastHiLite, d->FLastHiLite == 0 ? TPick::Nothing : TPick::Toggle); });
        return;
    }
    const qint64 target = d->KeyTarget(key);
    if (target == 0) {
        TControl::KeyPressed(event);
        return;
    }
    Guarded([&] {
        const bool firstFocus = d->FLastHiLite == 0;
        d->ScrollToShow(target);
        d->SetFocused(target);
        const Qt::KeyboardModifiers modifiers = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
        d->Pick(target, firstFocus || modifiers == Qt::ControlModifier ? TPick::Nothing : PickOf(modifiers));
    });
}

} // namespace nvo
