#include "NVO_gradfl.h"

#include "NVO_ControlAccessible_p.h"
#include "NVO_Tessane.h"

#include <QtCore/QtGlobal>

namespace nvo {

namespace {

constexpr int kMaxColors = 255;

bool HasHorizontalBands(TGradFill::TGradType type)
{
    return type == TGradFill::gtHoriz || type == TGradFill::gtMidBandHoriz;
}

/// The first pixel of step `k` of `n` along an axis of `size` pixels.
int StepStart(int k, int size, int n) { return MulDiv(k, size, n); }

} // namespace

// ---- Pure rules ------------------------------------------------------------------------

QRect GradBandRect(TGradFill::TGradType Type, int Band, int NrColors, int Width, int Height)
{
    if (HasHorizontalBands(Type)) {
        const int top = StepStart(Band, Height, NrColors);
        return QRect(0, top, Width, StepStart(Band + 1, Height, NrColors) - top);
    }
    const int left = StepStart(Band, Width, NrColors);
    return QRect(left, 0, StepStart(Band + 1, Width, NrColors) - left, Height);
}

TColor GradBandColor(TGradFill::TGradType Type, int Band, int NrColors, TColor First, TColor Last)
{
    if (Type == TGradFill::gtHoriz || Type == TGradFill::gtVert)
        return NrColors < 2 ? First & 0xFFFFFF : StepColor(First, Last, Band, NrColors);
    // StepColor stays at First when half is 0: one band has no middle to run to.
    const int half = NrColors / 2;
    return StepColor(First, Last, Band > half ? NrColors - Band - 1 : Band, half);
}

// ---- Accessibility -------------------------------------------------------------------

/// A picture whose value names the two colours it runs between.
template<>
struct TControlAccessibility<TGradFill> {
    static constexpr QAccessible::Role Role = QAccessible::Graphic;
    static QString Name(const TGradFill &) { return TGradFill::tr("Gradient fill"); }
    static QString Value(const TGradFill &fill)
    {
        return TGradFill::tr("%1 to %2").arg(ColorToString(fill.GetColorFirst()), ColorToString(fill.GetColorLast()));
    }
};

// ---- TGradFill -------------------------------------------------------------------------

struct TGradFill::Private {
    void Draw(TCanvas &canvas, int width, int height) const;
    void PaintBands(TCanvas &canvas, int width, int height) const;
    void PaintGrid(TCanvas &canvas, int width, int height) const;

    TColor FColorFirst = clr::Maroon;
    TColor FColorLast = clr::Yellow;
    /// The two colours in their unflipped order.
    TColor FColFirstOrg = clr::Maroon;
    TColor FColLastOrg = clr::Yellow;
    bool FColorFlipped = false;
    TGradType FFillType = gtHoriz;
    TFrameStyle FFrameStyle = fsNone;
    TColor FGridColor = clr::Navy;
    TGridMode FGridMode = gmNone;
    int FNrColors = 16;
};

TGradFill::TGradFill(QWidget *parent) : TControl(parent), d(std::make_unique<Private>())
{
    InstallControlAccessibility<TGradFill>();
    resize(121, 121);
    // Every pixel is the control's own: Qt need not paint the parent beneath it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

TGradFill::~TGradFill() = default;

TColor TGradFill::GetColorFirst() const { return d->FColorFirst; }
TColor TGradFill::GetColorLast() const { return d->FColorLast; }
bool TGradFill::GetColorFlipped() const { return d->FColorFlipped; }
TGradFill::TGradType TGradFill::GetFillType() const { return d->FFillType; }
TFrameStyle TGradFill::GetFrameStyle() const { return d->FFrameStyle; }
TColor TGradFill::GetGridColor() const { return d->FGridColor; }
TGradFill::TGridMode TGradFill::GetGridMode() const { return d->FGridMode; }
int TGradFill::GetNrColors() const { return d->FNrColors; }

void TGradFill::SetColorFirst(TColor color)
{
    (d->FColorFlipped ? d->FColLastOrg : d->FColFirstOrg) = color;
    Change(d->FColorFirst, color);
}

void TGradFill::SetColorLast(TColor color)
{
    (d->FColorFlipped ? d->FColFirstOrg : d->FColLastOrg) = color;
    Change(d->FColorLast, color);
}

void TGradFill::SetColorFlipped(bool flipped)
{
    if (flipped == d->FColorFlipped)
        return;
    d->FColorFlipped = flipped;
    d->FColorFirst = flipped ? d->FColLastOrg : d->FColFirstOrg;
    d->FColorLast = flipped ? d->FColFirstOrg : d->FColLastOrg;
    PaintNow();
}

void TGradFill::SetFillType(TGradType type) { ChangeEnum(d->FFillType, type, "FillType"); }
void TGradFill::SetFrameStyle(TFrameStyle style) { ChangeEnum(d->FFrameStyle, style, "FrameStyle"); }
void TGradFill::SetGridColor(TColor color) { Change(d->FGridColor, color, d->FGridMode != gmNone); }
void TGradFill::SetGridMode(TGridMode mode) { ChangeEnum(d->FGridMode, mode, "GridMode"); }
void TGradFill::SetNrColors(int count) { Change(d->FNrColors, qBound(1, count, kMaxColors)); }

void TGradFill::Assign(const QObject *source)
{
    const auto *other = qobject_cast<const TGradFill *>(source);
    if (!other)
        throw EConvertError(msg::CannotAssign(source, this));
    const Private &from = *other->d;
    d->FColorFirst = from.FColorFirst;
    d->FColorLast = from.FColorLast;
    d->FColFirstOrg = from.FColFirstOrg;
    d->FColLastOrg = from.FColLastOrg;
    d->FColorFlipped = from.FColorFlipped;
    d->FFillType = from.FFillType;
    d->FFrameStyle = from.FFrameStyle;
    d->FGridColor = from.FGridColor;
    d->FGridMode = from.FGridMode;
    d->FNrColors = from.FNrColors;
    PaintNow();
}

void TGradFill::AssignTo(QObject *dest) const { AssignToSameClass(this, dest); }

// ---- Painting --------------------------------------------------------------------------

// The control draws straight onto its surface: Qt composes every widget's paint off
// the screen already, so a bitmap of its own would only copy each pixel once more
// (a large fill spent over half its time on that copy).
void TGradFill::Paint(TCanvas &canvas)
{
    d->Draw(canvas, width(), height());
    if (OnPaint)
        OnPaint(this);
}

void TGradFill::DrawGradient(TBitmap &bitmap)
{
    // A picture of no extent stays as it is (and a null image takes no painter).
    if (bitmap.Width() > 0 && bitmap.Height() > 0)
        d->Draw(bitmap.Canvas(), bitmap.Width(), bitmap.Height());
}

void TGradFill::Private::Draw(TCanvas &canvas, int width, int height) const
{
    PaintBands(canvas, width, height);
    PaintGrid(canvas, width, height);
    // The frame closes the picture it is drawn into, whatever its size.
    DrawFrame(canvas, FFrameStyle, 0, 0, width - 1, height - 1, clr::White, clr::Silver, clr::Gray,
              clr::Black, clr::Black);
}

void TGradFill::Private::PaintBands(TCanvas &canvas, int width, int height) const
{
    const TColor first = ColorToRGB(FColorFirst, canvas.Palette());
    const TColor last = ColorToRGB(FColorLast, canvas.Palette());
    for (int band = 0; band < FNrColors; ++band) {
        canvas.Brush.SetColor(GradBandColor(FFillType, band, FNrColors, first, last));
        canvas.FillRect(GradBandRect(FFillType, band, FNrColors, width, height));
    }
}

void TGradFill::Private::PaintGrid(TCanvas &canvas, int width, int height) const
{
    canvas.Brush.SetColor(FGridColor);
    for (int k = 1; k < FNrColors; ++k) {
        if (FGridMode == gmHoriz || FGridMode == gmBoth) {
            const int y = StepStart(k, height, FNrColors);
            canvas.FillRect(0, y, width, y + 1);
        }
        if (FGridMode == gmVert || FGridMode == gmBoth) {
            const int x = StepStart(k, width, FNrColors);
            canvas.FillRect(x, 0, x + 1, height);
        }
    }
}

} // namespace nvo
