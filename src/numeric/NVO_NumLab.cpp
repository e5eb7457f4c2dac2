#include "NVO_NumLab.h"

#include "NVO_ControlAccessible_p.h"

#include "NVO_Format.h"

#include <QtGui/QFontMetrics>
#include <QtGui/QMouseEvent>

#include <cmath>
#include <utility>

namespace nvo {

namespace {

using TDisplay = TNumLab::TDisplay;

/// Eight characters chosen for their ascenders and descenders: every line of the
/// control is centred by the height of this text.
const QString kHeightProbe = QStringLiteral("(8g]}\u00DC\u00C4\u00A7");
constexpr int kMaxLabelPrecision = 15;

/// Exact comparison, except that a NaN counts as equal to a NaN: it never equals
/// itself, and every NaN written would otherwise repaint and notify although the
/// display stays the same.
bool SameValue(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

/// The date range FormatDateTime can write: 0001-01-01 up to the end of 9999-12-31.
/// Before 1899-12-30 the integer part counts days backwards and the fraction is
/// still the time, so the first day's values lie in (first - 1, first].
bool IsWritableDate(double value)
{
    static const double first = EncodeDate(1, 1, 1);
    static const double last = EncodeDate(9999, 12, 31);
    return std::isfinite(value) && value > first - 1 && value < last + 1;
}

/// The display types whose text keeps its own characters: no separator choice and
/// no plus sign.
bool KeepsOwnCharacters(TDisplay type)
{
    return type == TNumLab::dtHex || type == TNumLab::dtDateTime || type == TNumLab::dtState
           || type == TNumLab::dtBin;
}

int IntegerBase(TDisplay type)
{
    switch (type) {
    case TNumLab::dtHex: return 16;
    case TNumLab::dtOct: return 8;
    case TNumLab::dtBin: return 2;
    default: return 10;
    }
}

/// Appends the text of every display type but dtState and dtDateTime; false where
/// the value has no text in the display type (an integer is needed and the value
/// has none).
bool AppendValue(TLatin1Text &text, double value, TDisplay type, int precision, char separator)
{
    switch (type) {
    case TNumLab::dtFloat: text.AppendGeneral(value, precision, separator); return true;
    case TNumLab::dtExp: text.AppendScientific(value, precision, separator); return true;
    case TNumLab::dtEEng: text.AppendEngineering(value, precision, separator); return true;
    case TNumLab::dtEEngNoDP: text.AppendEngineeringWhole(value); return true;
    case TNumLab::dtInt:
    case TNumLab::dtZeroInt:
    case TNumLab::dtHex:
    case TNumLab::dtOct:
    case TNumLab::dtBin: {
        const auto integer = RoundToInt64(value);
        if (integer)
            text.AppendInteger(*integer, IntegerBase(type), type == TNumLab::dtInt ? 1 : precision);
        return integer.has_value();
    }
    case TNumLab::dtDeg:
        text.AppendFixed(value, precision, separator);
        if (std::isfinite(value))
            text.Append(kDegreeSign);
        return true;
    case TNumLab::dtDegMin: return text.AppendSexagesimal(value, precision, false, separator);
    case TNumLab::dtDegMinSec: return text.AppendSexagesimal(value, precision, true, separator);
    case TNumLab::dtFixP:
    default:
        // Ordinals beyond the named ones show like the default display type.
        text.AppendFixed(value, precision, separator);
        return true;
    }
}

} // namespace

QString FormatNumLabValue(double value, const TNumLabFormat &format)
{
    // The separator of `Comma` is written directly: the texts have no other "." or
    // "," that a later replacement could meet, and the locale cannot leak in.
    const char separator = format.Comma ? ',' : '.';
    const int precision = qBound(0, format.Precision, kMaxLabelPrecision);
    const bool plusSign =
        format.ForcePlusSign && value > 0 && !KeepsOwnCharacters(format.DisplayType);
    switch (format.DisplayType) {
    case TNumLab::dtState: return format.StateText;
    case TNumLab::dtDateTime:
        return IsWritableDate(value) ? FormatDateTime(format.DTFormat, value) : format.OverflowIndicator;
    default: {
        TLatin1Text text;
        if (plusSign)
            text.Append('+');
        if (!AppendValue(text, value, format.DisplayType, precision, separator))
            return format.OverflowIndicator;
        return text.ToQString();
    }
    }
}

// ---- TNumLab -------------------------------------------------------------------------

struct TNumLab::Private {
    explicit Private(TNumLab *owner) : q(owner) {}

    TNumLabFormat Format() const
    {
        return {FDisplayType, FPrecision, FComma, FForcePlusSign, FOverflowIndicator, FStateText,
                FDTFormat};
    }
    bool ShowsValueText() const { return !FEmpty; }
    bool ShowsSideText() const { return !FLeftText.isEmpty() || !FRightText.isEmpty(); }
    void UpdateOpacity();
    int BoxWidth() const;

    // The steps of a paint, in their order.
    void PaintBackground(TCanvas &canvas) const;
    int LeftTextX(int textWidth) const;
    int RightTextX(int textWidth) const;
    void PaintSideText(TCanvas &canvas, const QString &text, int x, int y) const;
    void PaintValueFrame(TCanvas &canvas) const;
    TColor ValueBoxColor() const;
    /// The text the box shows: the value text after `OnBeforeDisplay`, or the overflow
    /// indicator when it does not fit; with its width.
    std::pair<QString, int> ShownValueText(TCanvas &canvas) const;
    void PaintValueText(TCanvas &canvas, const QString &text, int textWidth) const;
    /// `text` over `ground`, made readable where the palette has turned them alike.
    TColor TextColorOn(TColor text, TColor ground) const;
    void CopyToControl(TCanvas &canvas, const TBitmap &buffer) const;

    TNumLab *const q;
    double FValue = 0;
    TDisplay FDisplayType = dtFixP;
    int FPrecision = 2;
    bool FComma = false;
    bool FForcePlusSign = false;
    bool FEmpty = false;
    int FLeftSpace = 35;
    int FLabelWidth = 80;
    QString FLeftText;
    QString FRightText;
    TAlignment FLeftTextAlignment = taRightJustify;
    TAlignment FRightTextAlignment = taLeftJustify;
    TAlignment FAlignment = taCenter;
    QString FOverflowIndicator = QStringLiteral("*********");
    QString FStateText = QStringLiteral("undefined");
    QString FDTFormat = QStringLiteral("mmm-dd, yyyy");
    TFrameStyle FFrameStyle = fsLowered;
    TColor FColorLabBakG = clr::BtnFace;
    TColor FColorLabText = clr::Black;
    TColor FColorOutBakG = clr::BtnFace;
    TColor FColorOutText = clr::Black;
    bool FTransparent = false;
    int FMouseAreaCode = 0;
    /// What the buffer holds besides the settled picture: the top of the text lines and
    /// the value text last drawn into the box.
    int FTextTop = 0;
    QString FPaintedText;
};

/// A text showing a number: the shown text as the value; the value interface has no
/// range to give but the whole of the doubles.
template<>
struct TControlAccessibility<TNumLab> {
    static constexpr QAccessible::Role Role = QAccessible::StaticText;
    static QString Name(const TNumLab &label)
    {
        return label.GetLeftText().isEmpty() ? TNumLab::tr("Numeric label") : label.GetLeftText();
    }
    static QString Value(const TNumLab &label) { return label.DisplayText(); }
    static double Current(const TNumLab &label) { return label.GetValue(); }
    static double Minimum(const TNumLab &) { return std::numeric_limits<double>::lowest(); }
    static double Maximum(const TNumLab &) { return std::numeric_limits<double>::max(); }
    static double Step(const TNumLab &) { return 0; }
    static void SetCurrent(TNumLab &label, double value) { label.SetValue(value); }
};

TNumLab::TNumLab(QWidget *parent) : TControl(parent), d(std::make_unique<Private>(this))
{
    InstallControlAccessibility(this, &TNumLab::ValueChanged);
    resize(160, 28);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    // Moves without a button count too: MouseAreaCode follows the pointer.
    setMouseTracking(true);
    d->UpdateOpacity();
}

TNumLab::~TNumLab() = default;

QSize TNumLab::sizeHint() const { return minimumSizeHint().expandedTo(QSize(160, 28)); }

QSize TNumLab::minimumSizeHint() const
{
    return {d->FLeftSpace + d->FLabelWidth + QFontMetrics(font()).horizontalAdvance(d->FRightText),
            TextLineHeight()};
}

double TNumLab::GetValue() const { return d->FValue; }
TNumLab::TDisplay TNumLab::GetDisplayType() const { return d->FDisplayType; }
int TNumLab::GetPrecision() const { return d->FPrecision; }
bool TNumLab::GetComma() const { return d->FComma; }
bool TNumLab::GetForcePlusSign() const { return d->FForcePlusSign; }
bool TNumLab::GetEmpty() const { return d->FEmpty; }
int TNumLab::GetLeftSpace() const { return d->FLeftSpace; }
int TNumLab::GetLabelWidth() const { return d->FLabelWidth; }
QString TNumLab::GetLeftText() const { return d->FLeftText; }
QString TNumLab::GetRightText() const { return d->FRightText; }
TAlignment TNumLab::GetLeftTextAlignment() const { return d->FLeftTextAlignment; }
TAlignment TNumLab::GetRightTextAlignment() const { return d->FRightTextAlignment; }
TAlignment TNumLab::GetAlignment() const { return d->FAlignment; }
QString TNumLab::GetOverflowIndicator() const { return d->FOverflowIndicator; }
QString TNumLab::GetStateText() const { return d->FStateText; }
QString TNumLab::GetDTFormat() const { return d->FDTFormat; }
TFrameStyle TNumLab::GetFrameStyle() const { return d->FFrameStyle; }
TColor TNumLab::GetColorLabBakG() const { return d->FColorLabBakG; }
TColor TNumLab::GetColorLabText() const { return d->FColorLabText; }
TColor TNumLab::GetColorOutBakG() const { return d->FColorOutBakG; }
TColor TNumLab::GetColorOutText() const { return d->FColorOutText; }
bool TNumLab::GetTransparent() const { return d->FTransparent; }
int TNumLab::GetMouseAreaCode() const { return d->FMouseAreaCode; }

void TNumLab::SetValue(double value)
{
    if (SameValue(value, d->FValue))
        return;
    d->FValue = value;
    if (d->ShowsValueText())
        PaintValuesNow();
    Q_EMIT ValueChanged(value);
}

void TNumLab::SetDisplayType(TDisplay displayType)
{
    // Not refused outside the enumeration like the other enumerated settings: forms
    // of a later version may carry more display types, and they show like dtFixP.
    Change(d->FDisplayType, displayType, d->ShowsValueText());
}

void TNumLab::SetPrecision(int precision)
{
    if (precision < 0)
        return;
    // A double carries no more than 15 reliable decimal digits.
    Change(d->FPrecision, qMin(precision, kMaxLabelPrecision), d->ShowsValueText());
}

void TNumLab::SetComma(bool comma) { Change(d->FComma, comma, d->ShowsValueText()); }

void TNumLab::SetForcePlusSign(bool forcePlusSign)
{
    Change(d->FForcePlusSign, forcePlusSign, d->ShowsValueText());
}

void TNumLab::SetEmpty(bool empty) { Change(d->FEmpty, empty); }

void TNumLab::SetLeftSpace(int leftSpace)
{
    if (leftSpace < 0)
        return;
    Change(d->FLeftSpace, qMin(leftSpace, width()));
    updateGeometry();
}

void TNumLab::SetLabelWidth(int labelWidth)
{
    Change(d->FLabelWidth, labelWidth);
    updateGeometry();
}

void TNumLab::SetLeftText(const QString &text) { Change(d->FLeftText, text); }

void TNumLab::SetRightText(const QString &text)
{
    Change(d->FRightText, text);
    updateGeometry();
}

void TNumLab::SetLeftTextAlignment(TAlignment alignment)
{
    ChangeEnum(d->FLeftTextAlignment, alignment, "LeftTextAlignment", !d->FLeftText.isEmpty());
}

void TNumLab::SetRightTextAlignment(TAlignment alignment)
{
    ChangeEnum(d->FRightTextAlignment, alignment, "RightTextAlignment", !d->FRightText.isEmpty());
}

void TNumLab::SetAlignment(TAlignment alignment)
{
    ChangeEnum(d->FAlignment, alignment, "Alignment", d->ShowsValueText());
}

void TNumLab::SetOverflowIndicator(const QString &indicator)
{
    Change(d->FOverflowIndicator, indicator, d->ShowsValueText());
}

void TNumLab::SetStateText(const QString &text)
{
    Change(d->FStateText, text, d->ShowsValueText() && d->FDisplayType == dtState);
}

void TNumLab::SetDTFormat(const QString &format)
{
    Change(d->FDTFormat, format, d->ShowsValueText() && d->FDisplayType == dtDateTime);
}

void TNumLab::SetFrameStyle(TFrameStyle style) { ChangeEnum(d->FFrameStyle, style, "FrameStyle"); }
void TNumLab::SetColorLabBakG(TColor color) { Change(d->FColorLabBakG, color); }

void TNumLab::SetColorLabText(TColor color)
{
    // Besides the value text, it decides the ground a transparent copy gives the box.
    Change(d->FColorLabText, color, d->ShowsValueText() || d->FTransparent);
}

void TNumLab::SetColorOutBakG(TColor color) { Change(d->FColorOutBakG, color); }
void TNumLab::SetColorOutText(TColor color) { Change(d->FColorOutText, color, d->ShowsSideText()); }

void TNumLab::SetTransparent(bool transparent)
{
    if (transparent == d->FTransparent)
        return;
    d->FTransparent = transparent;
    d->UpdateOpacity();
    // Becoming transparent needs the parent to paint the background first, which
    // only a repaint from the event loop gives.
    if (transparent)
        Invalidate();
    else
        PaintNow();
}

void TNumLab::Private::UpdateOpacity()
{
    // An opaque control paints every pixel itself, so Qt need not paint the parent
    // beneath it first: a value changing at a high rate repaints only the control.
    q->setAttribute(Qt::WA_OpaquePaintEvent, !FTransparent);
}

int TNumLab::Private::BoxWidth() const
{
    // LabelWidth is stored as given, but the box never reaches beyond the largest
    // widget Qt makes: LeftSpace + LabelWidth must not overflow for any stored value,
    // and nothing wider than that could be seen anyway.
    return qBound(-QWIDGETSIZE_MAX, FLabelWidth, QWIDGETSIZE_MAX);
}

QString TNumLab::DisplayText() const { return FormatNumLabValue(d->FValue, d->Format()); }

void TNumLab::Assign(const QObject *source)
{
    const auto *other = qobject_cast<const TNumLab *>(source);
    if (!other)
        throw EConvertError(msg::CannotAssign(source, this));
    // The fields are copied as they are, without the setters' clamps, and painted once
    // at the end: the copy shows what the source shows. The colour scheme, and with it
    // the frame's line colours, is the control base's, set inside the same bracket.
    const Private &from = *other->d;
    const bool valueChanges = !SameValue(d->FValue, from.FValue);
    BeginUpdate();
    d->FLeftSpace = from.FLeftSpace;
    d->FEmpty = from.FEmpty;
    d->FLabelWidth = from.FLabelWidth;
    d->FPrecision = from.FPrecision;
    d->FLeftText = from.FLeftText;
    d->FRightText = from.FRightText;
    d->FFrameStyle = from.FFrameStyle;
    d->FAlignment = from.FAlignment;
    d->FRightTextAlignment = from.FRightTextAlignment;
    d->FLeftTextAlignment = from.FLeftTextAlignment;
    d->FOverflowIndicator = from.FOverflowIndicator;
    d->FValue = from.FValue;
    d->FStateText = from.FStateText;
    d->FTransparent = from.FTransparent;
    d->FColorLabBakG = from.FColorLabBakG;
    d->FColorLabText = from.FColorLabText;
    d->FColorOutBakG = from.FColorOutBakG;
    d->FColorOutText = from.FColorOutText;
    SetColorScheme(other->GetColorScheme());
    d->FDisplayType = from.FDisplayType;
    d->UpdateOpacity();
    EndUpdate();
    if (valueChanges)
        Q_EMIT ValueChanged(d->FValue);
}

void TNumLab::AssignTo(QObject *dest) const { AssignToSameClass(this, dest); }

// ---- Painting ------------------------------------------------------------------------
//
// The whole picture is composed in the control's off-screen bitmap and copied onto the
// control in one operation. Qt never sends a paint to an invisible widget, and a
// render() or grab() of a hidden one asks for its picture on purpose, so there is no
// visibility test here.

void TNumLab::Paint(TCanvas &canvas)
{
    TBitmap &buffer = Buffer();
    TCanvas &bitmap = buffer.Canvas();
    // The buffer keeps the last picture. While only the value changes, background,
    // side texts and frame stay in it, the value text is drawn anew over its own area
    // (the text cell fills that area first), and a text that stays the same is not
    // drawn at all: a value shown at a high rate costs little more than its copy.
    const bool stale = BufferStale();
    if (stale) {
        const int y = d->FTextTop = (height() - bitmap.TextHeight(kHeightProbe)) / 2;
        d->PaintBackground(bitmap);
        if (!d->FLeftText.isEmpty())
            d->PaintSideText(bitmap, d->FLeftText, d->LeftTextX(bitmap.TextWidth(d->FLeftText)), y);
        if (!d->FRightText.isEmpty())
            d->PaintSideText(bitmap, d->FRightText, d->RightTextX(bitmap.TextWidth(d->FRightText)), y);
        d->PaintValueFrame(bitmap);
    }
    if (d->ShowsValueText()) {
        auto [text, textWidth] = d->ShownValueText(bitmap);
        if (stale || text != d->FPaintedText) {
            d->PaintValueText(bitmap, text, textWidth);
            d->FPaintedText = std::move(text);
        }
    }
    BufferPainted();
    d->CopyToControl(canvas, buffer);
}

bool TNumLab::ShowsColorScheme() const
{
    // The scheme gives the white and gray line of the 3-D frames; the simple frame is
    // black, no frame draws nothing, and under visual styles the style's colours serve.
    switch (d->FFrameStyle) {
    case fsLowered:
    case fsRaised:
    case fsEmbossed:
    case fsEngraved: return !StyledClient();
    default: return false;
    }
}

TColor TNumLab::Private::TextColorOn(TColor text, TColor ground) const
{
    // A transparent label reaches the screen through an AND copy, which shows dark
    // text only: its colours stay as they are set.
    return FTransparent ? text : ReadableTextColor(text, ground, q->palette());
}

void TNumLab::Private::PaintBackground(TCanvas &canvas) const
{
    // White under a transparent control: the AND copy then leaves the parent's pixels.
    const TColor background =
        FTransparent      ? clr::White
        : q->StyledClient() ? StyleServices::GetStyleColor(StyleServices::scWindow, q->palette())
                            : FColorOutBakG;
    // A rectangle whose pen has the brush's colour: one fill gives the same pixels
    // without drawing the outline over them again.
    canvas.Pen.Color = background;
    canvas.Brush.SetColor(background);
    canvas.FillRect(0, 0, q->width(), q->height());
}

int TNumLab::Private::LeftTextX(int textWidth) const
{
    switch (FLeftTextAlignment) {
    case taLeftJustify: return 7;
    case taCenter: return (FLeftSpace - textWidth) / 2;
    case taRightJustify:
    default: return FLeftSpace - textWidth - 5;
    }
}

int TNumLab::Private::RightTextX(int textWidth) const
{
    const int areaLeft = FLeftSpace + BoxWidth();
    switch (FRightTextAlignment) {
    case taRightJustify: return q->width() - textWidth - 6;
    case taCenter: return (q->width() - areaLeft - textWidth) / 2 + areaLeft + 1;
    case taLeftJustify:
    default: return areaLeft + 7;
    }
}

void TNumLab::Private::PaintSideText(TCanvas &canvas, const QString &text, int x, int y) const
{
    const bool styledFont = q->StyledFont();
    // isEnabled(), not the stored flag: a label inside a disabled group looks
    // disabled as well.
    if (q->isEnabled()) {
        canvas.Font.Color =
            styledFont ? StyleServices::GetStyleFontColor(StyleServices::sfPanelTextNormal, q->palette())
                       : TextColorOn(FColorOutText, FColorOutBakG);
        canvas.TextOut(x, y, text);
        return;
    }
    if (!styledFont) {
        canvas.TextOutEngraved(x, y, text);
        return;
    }
    // The style's disabled text colour, at the engraved highlight's place.
    canvas.Brush.SetStyle(bsClear);
    canvas.Font.Color = StyleServices::GetStyleFontColor(StyleServices::sfPanelTextDisabled, q->palette());
    canvas.TextOut(x + 1, y + 1, text);
}

void TNumLab::Private::PaintValueFrame(TCanvas &canvas) const
{
    const bool styled = q->StyledClient();
    const TColor grayLine = q->GrayLine(), whiteLine = q->WhiteLine();
    canvas.Pen.Color = FFrameStyle == fsNone         ? FColorLabBakG
                       : FFrameStyle == fsEmbossed ? whiteLine
                                                   : grayLine;
    // Setting the colour also makes the brush solid again after an engraved text.
    canvas.Brush.SetColor(ValueBoxColor());
    DrawFrame(canvas, FFrameStyle, FLeftSpace + 1, 0, FLeftSpace + BoxWidth(), q->height() - 2,
              styled ? clr::Light3D : whiteLine, styled ? clr::BtnHighlight : clr::Silver,
              styled ? clr::BtnShadow : grayLine, styled ? clr::DkShadow3D : clr::Black, 0,
              fiFillBrush);
}

TColor TNumLab::Private::ValueBoxColor() const
{
    return q->StyledClient() ? StyleServices::GetStyleColor(StyleServices::scGrid, q->palette()) : FColorLabBakG;
}

std::pair<QString, int> TNumLab::Private::ShownValueText(TCanvas &canvas) const
{
    QString text = FormatNumLabValue(FValue, Format());
    if (q->OnBeforeDisplay)
        q->OnBeforeDisplay(q, text);
    int textWidth = canvas.TextWidth(text);
    // A state text is shown clipped rather than replaced: it is words, not a number
    // that a cut would falsify.
    if (textWidth > BoxWidth() - 6 && FDisplayType != dtState) {
        text = FOverflowIndicator;
        textWidth = canvas.TextWidth(text);
    }
    return {text, textWidth};
}

void TNumLab::Private::PaintValueText(TCanvas &canvas, const QString &text, int textWidth) const
{
    // The text cell fills the text area with the box's colour, so this draws over an
    // earlier text as well as over the fresh box.
    canvas.Brush.SetColor(ValueBoxColor());
    if (!q->isEnabled())
        canvas.Font.Color = clr::BtnShadow;
    else if (q->StyledFont())
        canvas.Font.Color = StyleServices::GetStyleFontColor(StyleServices::sfPanelTextNormal, q->palette());
    else
        canvas.Font.Color = TextColorOn(FColorLabText, FColorLabBakG);

    int x;
    switch (FAlignment) {
    case taLeftJustify: x = FLeftSpace + 4; break;
    case taRightJustify: x = FLeftSpace + BoxWidth() - 2 - textWidth; break;
    case taCenter:
    default: x = FLeftSpace + 2 + (BoxWidth() - textWidth) / 2; break;
    }
    // The text area (LS + 3, 2) .. (LS + LW - 1, H - 3), right and bottom excluded.
    const QRect area(FLeftSpace + 3, 2, BoxWidth() - 4, q->height() - 5);
    canvas.TextRect(area, x, FTextTop, text);
}

void TNumLab::Private::CopyToControl(TCanvas &canvas, const TBitmap &buffer) const
{
    if (FTransparent) {
        // The AND copy would darken the value box by whatever lies beneath it: the box
        // gets a white ground (or, under black text, one in its own colour) first.
        const TColor ground = FColorLabText != clr::Black ? clr::White : FColorLabBakG;
        canvas.Pen.Color = ground;
        canvas.Brush.SetColor(ground);
        canvas.Rectangle(FLeftSpace + 2, 2, FLeftSpace + BoxWidth(), q->height() - 2);
        canvas.CopyMode = cmSrcAnd;
    } else {
        canvas.CopyMode = cmSrcCopy;
    }
    canvas.Draw(0, 0, buffer);
}

void TNumLab::mouseMoveEvent(QMouseEvent *event)
{
    const int x = event->position().toPoint().x();
    d->FMouseAreaCode = 0;
    if (x > d->FLeftSpace)
        d->FMouseAreaCode = 1;
    if (x > d->FLeftSpace + d->BoxWidth())
        d->FMouseAreaCode = 2;
    TControl::mouseMoveEvent(event); // fires OnMouseMove
}

} // namespace nvo
