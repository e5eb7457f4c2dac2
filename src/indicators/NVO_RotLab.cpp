#include "NVO_RotLab.h"

#include "NVO_ControlAccessible_p.h"

#include <QtGui/QFontMetrics>
#include <QtGui/QTransform>

#include <algorithm>
#include <cmath>

namespace nvo {

namespace {

/// The frame's two lines on each side and one pixel of air.
constexpr int kFrameRoom = 3;

} // namespace

// ---- Accessibility -------------------------------------------------------------------

/// Static text named by its caption, as a screen reader reads any label.
template<>
struct TControlAccessibility<TRotLab> {
    static constexpr QAccessible::Role Role = QAccessible::StaticText;
    static QString Name(const TRotLab &label)
    {
        return label.GetCaption().isEmpty() ? TRotLab::tr("Rotated label") : label.GetCaption();
    }
    static QString Value(const TRotLab &) { return QString(); }
};

// ---- TRotLab -------------------------------------------------------------------------

struct TRotLab::Private {
    explicit Private(TRotLab *owner) : q(owner) {}

    /// The widget's font, smoothed or not as AntiAlias says.
    QFont TextFont() const;
    /// The reference point the text is drawn about. Under AutoCenter it is the
    /// centre of the control's present size: Qt holds back the resize event of a
    /// hidden widget until it is shown, and the point must not lag behind meanwhile.
    /// An application's OnResize takes the centring over, and the stored point holds.
    QPoint Reference() const;
    void StoreCentre();
    void PaintIfMoved(QPoint before) const;

    // The steps of a paint, in their order.
    void PaintBackground(TCanvas &canvas) const;
    void PaintText(TCanvas &canvas) const;
    void PaintFrame(TCanvas &canvas) const;

    TRotLab *const q;
    QString FCaption;
    TAlignment FAlignment = taCenter;
    bool FAntiAlias = true;
    bool FAutoCenter = true;
    TColor FColor = clr::BtnFace;
    TFrameStyle FFrameStyle = fsLowered;
    int FPosX = 10;
    int FPosY = 10;
    int FTextAngle = 0;
    bool FTransparent = true;
};

TRotLab::TRotLab(QWidget *parent) : TControl(parent), d(std::make_unique<Private>(this))
{
    InstallControlAccessibility<TRotLab>();
    QFont labelFont = font();
    labelFont.setFamily(QStringLiteral("Arial"));
    labelFont.setPointSize(11);
    setFont(labelFont);
    resize(200, 200);
    d->StoreCentre();
}

TRotLab::~TRotLab() = default;

QString TRotLab::GetCaption() const { return d->FCaption; }
TAlignment TRotLab::GetAlignment() const { return d->FAlignment; }
bool TRotLab::GetAntiAlias() const { return d->FAntiAlias; }
bool TRotLab::GetAutoCenter() const { return d->FAutoCenter; }
TColor TRotLab::GetColor() const { return d->FColor; }
TFrameStyle TRotLab::GetFrameStyle() const { return d->FFrameStyle; }
int TRotLab::GetPosX() const { return d->Reference().x(); }
int TRotLab::GetPosY() const { return d->Reference().y(); }
int TRotLab::GetTextAngle() const { return d->FTextAngle; }
bool TRotLab::GetTransparent() const { return d->FTransparent; }

void TRotLab::SetCaption(const QString &caption)
{
    if (caption == d->FCaption)
        return;
    d->FCaption = caption;
    updateGeometry();
    PaintNow();
    // The caption is the label's accessible name: a screen reader reads it anew.
    QAccessibleEvent nameChanged(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&nameChanged);
    Q_EMIT CaptionChanged(caption);
}

void TRotLab::SetAlignment(TAlignment alignment)
{
    ChangeEnum(d->FAlignment, alignment, "Alignment", !d->FCaption.isEmpty());
}

void TRotLab::SetAntiAlias(bool antiAlias) { Change(d->FAntiAlias, antiAlias, !d->FCaption.isEmpty()); }

void TRotLab::SetAutoCenter(bool autoCenter)
{
    if (autoCenter == d->FAutoCenter)
        return;
    const QPoint before = d->Reference();
    d->FAutoCenter = autoCenter;
    if (autoCenter)
        d->StoreCentre();
    d->PaintIfMoved(before);
}

void TRotLab::SetColor(TColor color) { Change(d->FColor, color, !d->FTransparent); }
void TRotLab::SetFrameStyle(TFrameStyle style) { ChangeEnum(d->FFrameStyle, style, "FrameStyle"); }

// Under AutoCenter the centre is shown and read back, and the point set is held
// for when AutoCenter is switched off: a form gives the same label whether it sets
// the point before or after it switches AutoCenter off.
void TRotLab::SetPosX(int x)
{
    const QPoint before = d->Reference();
    d->FPosX = x;
    d->PaintIfMoved(before);
}

void TRotLab::SetPosY(int y)
{
    const QPoint before = d->Reference();
    d->FPosY = y;
    d->PaintIfMoved(before);
}

void TRotLab::SetTextAngle(int angle)
{
    if (angle == d->FTextAngle)
        return;
    d->FTextAngle = angle;
    updateGeometry();
    if (!d->FCaption.isEmpty())
        PaintNow();
}

void TRotLab::SetTransparent(bool transparent)
{
    if (transparent == d->FTransparent)
        return;
    d->FTransparent = transparent;
    // An opaque label paints every pixel itself, so Qt need not paint the parent first.
    setAttribute(Qt::WA_OpaquePaintEvent, !transparent);
    // Becoming transparent needs the parent painted beneath, which only a repaint
    // from the event loop gives.
    if (transparent)
        Invalidate();
    else
        PaintNow();
}

QPoint TRotLab::Private::Reference() const
{
    return FAutoCenter && !q->OnResize ? QPoint(q->width() / 2, q->height() / 2) : QPoint(FPosX, FPosY);
}

void TRotLab::Private::StoreCentre()
{
    FPosX = q->width() / 2;
    FPosY = q->height() / 2;
}

void TRotLab::Private::PaintIfMoved(QPoint before) const
{
    if (Reference() != before && !FCaption.isEmpty())
        q->PaintNow();
}

void TRotLab::resizeEvent(QResizeEvent *event)
{
    TControl::resizeEvent(event);
    // A top-level label is centred too: in Qt a resize before the label has a parent
    // is its real size, not a step of building a form.
    // Qt repaints a resized widget anyway: only the point needs keeping.
    if (OnResize)
        OnResize(this);
    else if (d->FAutoCenter)
        d->StoreCentre();
}

void TRotLab::Assign(const QObject *source)
{
    const auto *other = qobject_cast<const TRotLab *>(source);
    if (!other)
        throw EConvertError(msg::CannotAssign(source, this));
    const Private &from = *other->d;
    d->FAutoCenter = from.FAutoCenter;
    d->FFrameStyle = from.FFrameStyle;
    d->FTextAngle = from.FTextAngle;
    d->FPosX = from.FPosX;
    d->FPosY = from.FPosY;
    d->FAntiAlias = from.FAntiAlias;
    // The copied reference point belongs to the source's size; under AutoCenter the
    // centre of this label is meant.
    if (d->FAutoCenter)
        d->StoreCentre();
    updateGeometry();
    PaintNow();
}

void TRotLab::AssignTo(QObject *dest) const { AssignToSameClass(this, dest); }

QFont TRotLab::Private::TextFont() const
{
    QFont font = q->font();
    const auto others = QFont::StyleStrategy(font.styleStrategy() & ~(QFont::PreferAntialias | QFont::NoAntialias));
    font.setStyleStrategy(QFont::StyleStrategy(others | (FAntiAlias ? QFont::PreferAntialias : QFont::NoAntialias)));
    return font;
}

QSize TRotLab::minimumSizeHint() const
{
    const int side = QFontMetrics(d->TextFont()).height() + 2 * kFrameRoom;
    return QSize(side, side);
}

QSize TRotLab::sizeHint() const
{
    if (d->FCaption.isEmpty())
        return minimumSizeHint();
    const QFontMetrics metrics(d->TextFont());
    const int width = metrics.horizontalAdvance(d->FCaption), height = metrics.height();
    const QPoint corner = RotatedTextOffset(d->FAlignment, width / 2, height / 2, d->FTextAngle);
    // The text's corners around the reference point, turned as the paint turns them.
    QTransform turn;
    turn.translate(corner.x(), corner.y());
    turn.rotate(-d->FTextAngle);
    const QRect bounds = turn.mapRect(QRect(0, 0, width, height));
    const int reachX = std::max(std::abs(bounds.left()), std::abs(bounds.right() + 1));
    const int reachY = std::max(std::abs(bounds.top()), std::abs(bounds.bottom() + 1));
    // The reference point sits at the centre: each side needs the larger reach.
    return QSize(2 * (reachX + kFrameRoom), 2 * (reachY + kFrameRoom));
}

// ---- Painting --------------------------------------------------------------------------

void TRotLab::Paint(TCanvas &canvas)
{
    if (!d->FTransparent)
        d->PaintBackground(canvas);
    d->PaintText(canvas);
    d->PaintFrame(canvas);
}

void TRotLab::Private::PaintBackground(TCanvas &canvas) const
{
    canvas.Brush.SetColor(q->StyledClient() ? StyleServices::GetStyleColor(StyleServices::scWindow, q->palette())
                                            : FColor);
    canvas.FillRect(0, 0, q->width(), q->height());
}

void TRotLab::Private::PaintText(TCanvas &canvas) const
{
    if (FCaption.isEmpty())
        return;
    canvas.Font = TFont(TextFont(), q->StyledFont() ? StyleServices::GetStyleFontColor(
                                                          StyleServices::sfPanelTextNormal, q->palette())
                                                    : FromQColor(q->palette().color(q->foregroundRole())));
    const QPoint offset = RotatedTextOffset(FAlignment, canvas.TextWidth(FCaption) / 2,
                                            canvas.TextHeight(FCaption) / 2, FTextAngle);
    const QPoint reference = Reference();
    const int x = reference.x() + offset.x(), y = reference.y() + offset.y();
    // isEnabled(), not the stored switch: a label inside a disabled group looks
    // disabled as well. The highlight's offset is on the screen, not along the text.
    if (!q->isEnabled()) {
        canvas.Font.Color = clr::BtnHighlight;
        canvas.TextOutAngled(x + 1, y + 1, FCaption, FTextAngle);
        canvas.Font.Color = clr::BtnShadow;
    }
    canvas.TextOutAngled(x, y, FCaption, FTextAngle);
}

void TRotLab::Private::PaintFrame(TCanvas &canvas) const
{
    const bool styled = q->StyledClient();
    DrawFrame(canvas, FFrameStyle, 0, 0, q->width() - 1, q->height() - 1,
              styled ? clr::Light3D : clr::White, styled ? clr::BtnHighlight : clr::Silver,
              styled ? clr::BtnShadow : clr::Gray, styled ? clr::DkShadow3D : clr::Black,
              styled ? clr::DkShadow3D : clr::Black);
}

} // namespace nvo
