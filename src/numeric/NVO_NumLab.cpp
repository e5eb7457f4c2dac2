#include "NVO_NumLab.h"

#include "NVO_Format.h"

#include <QtGui/QMouseEvent>

#include <cmath>

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

TNumLab::TNumLab(QWidget *parent) : TControl(parent)
{
    resize(160, 28);
    // Moves without a button count too: MouseAreaCode follows the pointer.
    setMouseTracking(true);
    UpdateOpacity();
}

TNumLab::~TNumLab() = default;

void TNumLab::SetValue(double value)
{
    if (SameValue(value, FValue))
        return;
    FValue = value;
    PaintNow();
    Q_EMIT ValueChanged(FValue);
}

void TNumLab::SetDisplayType(TDisplay displayType) { Change(FDisplayType, displayType); }

void TNumLab::SetPrecision(int precision)
{
    if (precision < 0)
        return;
    // A double carries no more than 15 reliable decimal digits.
    Change(FPrecision, qMin(precision, kMaxLabelPrecision));
}

void TNumLab::SetComma(bool comma) { Change(FComma, comma); }
void TNumLab::SetForcePlusSign(bool forcePlusSign) { Change(FForcePlusSign, forcePlusSign); }
void TNumLab::SetEmpty(bool empty) { Change(FEmpty, empty); }

void TNumLab::SetLeftSpace(int leftSpace)
{
    if (leftSpace < 0)
        return;
    Change(FLeftSpace, qMin(leftSpace, width()));
}

void TNumLab::SetLabelWidth(int labelWidth) { Change(FLabelWidth, labelWidth); }

int TNumLab::BoxWidth() const
{
    // LabelWidth is stored as given, but the box never reaches beyond the largest
    // widget Qt makes: LeftSpace + LabelWidth must not overflow for any stored value,
    // and nothing wider than that could be seen anyway.
    return qBound(-QWIDGETSIZE_MAX, FLabelWidth, QWIDGETSIZE_MAX);
}
void TNumLab::SetLeftText(const QString &text) { Change(FLeftText, text); }
void TNumLab::SetRightText(const QString &text) { Change(FRightText, text); }
void TNumLab::SetLeftTextAlignment(TAlignment alignment) { Change(FLeftTextAlignment, alignment); }
void TNumLab::SetRightTextAlignment(TAlignment alignment) { Change(FRightTextAlignment, alignment); }
void TNumLab::SetAlignment(TAlignment alignment) { Change(FAlignment, alignment); }
void TNumLab::SetOverflowIndicator(const QString &indicator) { Change(FOverflowIndicator, indicator); }
void TNumLab::SetStateText(const QString &text) { Change(FStateText, text); }
void TNumLab::SetDTFormat(const QString &format) { Change(FDTFormat, format); }
void TNumLab::SetFrameStyle(TFrameStyle style) { Change(FFrameStyle, style); }
void TNumLab::SetColorLabBakG(TColor color) { Change(FColorLabBakG, color); }
void TNumLab::SetColorLabText(TColor color) { Change(FColorLabText, color); }
void TNumLab::SetColorOutBakG(TColor color) { Change(FColorOutBakG, color); }
void TNumLab::SetColorOutText(TColor color) { Change(FColorOutText, color); }

void TNumLab::SetColorScheme(TColorScheme scheme)
{
    if (scheme == FColorScheme)
        return;
    FColorScheme = scheme;
    FGrayLineColor = GrayLineColor(scheme);
    FWhiteLineColor = WhiteLineColor(scheme);
    PaintNow();
}

void TNumLab::SetTransparent(bool transparent)
{
    if (transparent == FTransparent)
        return;
    FTransparent = transparent;
    UpdateOpacity();
    // Becoming transparent needs the parent to paint the background first, which
    // only a deferred update through the parent gives.
    if (transparent)
        update();
    else
        PaintNow();
}

void TNumLab::SetEnabled(bool enabled)
{
    if (enabled == FEnabled)
        return;
    FEnabled = enabled;
    setEnabled(enabled);
    PaintNow();
}

void TNumLab::UpdateOpacity()
{
    // An opaque control paints every pixel itself, so Qt need not paint the parent
    // beneath it first: a value changing at a high rate repaints only the control.
    setAttribute(Qt::WA_OpaquePaintEvent, !FTransparent);
}

TNumLabFormat TNumLab::Format() const
{
    return {FDisplayType, FPrecision, FComma, FForcePlusSign, FOverflowIndicator, FStateText,
            FDTFormat};
}

QString TNumLab::DisplayText() const { return FormatNumLabValue(FValue, Format()); }

void TNumLab::Assign(const QObject *source)
{
    const auto *other = qobject_cast<const TNumLab *>(source);
    if (!other)
        throw EConvertError(msg::CannotAssign(source, this));
    // The fields are copied as they are, without the setters' clamps and repaints:
    // the copy shows what the source shows, painted once at the end.
    const bool valueChanges = !SameValue(FValue, other->FValue);
    FLeftSpace = other->FLeftSpace;
    FEmpty = other->FEmpty;
    FLabelWidth = other->FLabelWidth;
    FPrecision = other->FPrecision;
    FLeftText = other->FLeftText;
    FRightText = other->FRightText;
    FFrameStyle = other->FFrameStyle;
    FAlignment = other->FAlignment;
    FRightTextAlignment = other->FRightTextAlignment;
    FLeftTextAlignment = other->FLeftTextAlignment;
    FOverflowIndicator = other->FOverflowIndicator;
    FValue = other->FValue;
    FStateText = other->FStateText;
    FTransparent = other->FTransparent;
    FColorLabBakG = other->FColorLabBakG;
    FColorLabText = other->FColorLabText;
    FColorOutBakG = other->FColorOutBakG;
    FColorOutText = other->FColorOutText;
    FGrayLineColor = other->FGrayLineColor;
    FWhiteLineColor = other->FWhiteLineColor;
    FColorScheme = other->FColorScheme;
    FDisplayType = other->FDisplayType;
    UpdateOpacity();
    PaintNow();
    if (valueChanges)
        Q_EMIT ValueChanged(FValue);
}

void TNumLab::AssignTo(QObject *dest) const
{
    auto *other = qobject_cast<TNumLab *>(dest);
    if (!other)
        throw EConvertError(msg::CannotAssign(this, dest));
    other->Assign(this);
}

// ---- Painting ------------------------------------------------------------------------
//
// The whole picture is composed in one off-screen bitmap and copied onto the control
// in one operation. Qt never sends a paint to an invisible widget, and a render() or
// grab() of a hidden one asks for its picture on purpose, so there is no visibility
// test here.

void TNumLab::Paint(TCanvas &canvas)
{
    TBitmap &buffer = Buffer();
    TCanvas &bitmap = buffer.Canvas();
    const int y = (height() - bitmap.TextHeight(kHeightProbe)) / 2;

    PaintBackground(bitmap);
    if (!FLeftText.isEmpty())
        PaintSideText(bitmap, FLeftText, LeftTextX(bitmap.TextWidth(FLeftText)), y);
    if (!FRightText.isEmpty())
        PaintSideText(bitmap, FRightText, RightTextX(bitmap.TextWidth(FRightText)), y);
    PaintValueFrame(bitmap);
    if (!FEmpty)
        PaintValueText(bitmap, y);
    CopyToControl(canvas, buffer);
}

void TNumLab::changeEvent(QEvent *event)
{
    // Enabled is the control's own switch; code that calls QWidget::setEnabled
    // directly must not leave it stale. A disabled parent does not change it.
    if (event->type() == QEvent::EnabledChange)
        FEnabled = !testAttribute(Qt::WA_ForceDisabled);
    TControl::changeEvent(event);
}

void TNumLab::PaintBackground(TCanvas &canvas)
{
    // White under a transparent control: the AND copy then leaves the parent's pixels.
    const TColor background =
        FTransparent   ? clr::White
        : StyledClient() ? StyleServices::GetStyleColor(StyleServices::scWindow, palette())
                         : FColorOutBakG;
    // A rectangle whose pen has the brush's colour: one fill gives the same pixels
    // without drawing the outline over them again.
    canvas.Pen.Color = background;
    canvas.Brush.SetColor(background);
    canvas.FillRect(0, 0, width(), height());
}

int TNumLab::LeftTextX(int textWidth) const
{
    switch (FLeftTextAlignment) {
    case taLeftJustify: return 7;
    case taCenter: return (FLeftSpace - textWidth) / 2;
    case taRightJustify:
    default: return FLeftSpace - textWidth - 5;
    }
}

int TNumLab::RightTextX(int textWidth) const
{
    const int areaLeft = FLeftSpace + BoxWidth();
    switch (FRightTextAlignment) {
    case taRightJustify: return width() - textWidth - 6;
    case taCenter: return (width() - areaLeft - textWidth) / 2 + areaLeft + 1;
    case taLeftJustify:
    default: return areaLeft + 7;
    }
}

void TNumLab::PaintSideText(TCanvas &canvas, const QString &text, int x, int y)
{
    // isEnabled(), not the stored flag: a label inside a disabled group looks
    // disabled as well.
    if (isEnabled()) {
        canvas.Font.Color =
            StyledFont() ? StyleServices::GetStyleFontColor(StyleServices::sfPanelTextNormal, palette())
                         : FColorOutText;
        canvas.TextOut(x, y, text);
        return;
    }
    // Engraved: a white highlight one pixel right and down, the gray text over it.
    canvas.Brush.SetStyle(bsClear);
    canvas.Font.Color =
        StyledFont() ? StyleServices::GetStyleFontColor(StyleServices::sfPanelTextDisabled, palette())
                     : clr::White;
    canvas.TextOut(x + 1, y + 1, text);
    if (!StyledFont()) {
        canvas.Font.Color = clr::Gray;
        canvas.TextOut(x, y, text);
    }
}

void TNumLab::PaintValueFrame(TCanvas &canvas)
{
    canvas.Pen.Color = FFrameStyle == fsNone         ? FColorLabBakG
                       : FFrameStyle == fsEmbossed ? FWhiteLineColor
                                                   : FGrayLineColor;
    // Setting the colour also makes the brush solid again after an engraved text.
    canvas.Brush.SetColor(StyledClient()
                              ? StyleServices::GetStyleColor(StyleServices::scGrid, palette())
                              : FColorLabBakG);
    const bool styled = StyledClient();
    DrawFrame(canvas, FFrameStyle, FLeftSpace + 1, 0, FLeftSpace + BoxWidth(), height() - 2,
              styled ? clr::Light3D : FWhiteLineColor, styled ? clr::BtnHighlight : clr::Silver,
              styled ? clr::BtnShadow : FGrayLineColor, styled ? clr::DkShadow3D : clr::Black, 0,
              fiFillBrush);
}

void TNumLab::PaintValueText(TCanvas &canvas, int y)
{
    QString text = DisplayText();
    if (OnBeforeDisplay)
        OnBeforeDisplay(this, text);
    int textWidth = canvas.TextWidth(text);
    // A state text is shown clipped rather than replaced: it is words, not a number
    // that a cut would falsify.
    if (textWidth > BoxWidth() - 6 && FDisplayType != dtState) {
        text = FOverflowIndicator;
        textWidth = canvas.TextWidth(text);
    }
    if (!isEnabled())
        canvas.Font.Color = clr::BtnShadow;
    else if (StyledFont())
        canvas.Font.Color = StyleServices::GetStyleFontColor(StyleServices::sfPanelTextNormal, palette());
    else
        canvas.Font.Color = FColorLabText;

    int x;
    switch (FAlignment) {
    case taLeftJustify: x = FLeftSpace + 4; break;
    case taRightJustify: x = FLeftSpace + BoxWidth() - 2 - textWidth; break;
    case taCenter:
    default: x = FLeftSpace + 2 + (BoxWidth() - textWidth) / 2; break;
    }
    // The text area (LS + 3, 2) .. (LS + LW - 1, H - 3), right and bottom excluded.
    const QRect area(FLeftSpace + 3, 2, BoxWidth() - 4, height() - 5);
    canvas.TextRect(area, x, y, text);
}

void TNumLab::CopyToControl(TCanvas &canvas, const TBitmap &buffer)
{
    if (FTransparent) {
        // The AND copy would darken the value box by whatever lies beneath it: the box
        // gets a white ground (or, under black text, one in its own colour) first.
        const TColor ground = FColorLabText != clr::Black ? clr::White : FColorLabBakG;
        canvas.Pen.Color = ground;
        canvas.Brush.SetColor(ground);
        canvas.Rectangle(FLeftSpace + 2, 2, FLeftSpace + BoxWidth(), height() - 2);
        canvas.CopyMode = cmSrcAnd;
    } else {
        canvas.CopyMode = cmSrcCopy;
    }
    canvas.Draw(0, 0, buffer);
}

void TNumLab::mouseMoveEvent(QMouseEvent *event)
{
    const int x = event->position().toPoint().x();
    FMouseAreaCode = 0;
    if (x > FLeftSpace)
        FMouseAreaCode = 1;
    if (x > FLeftSpace + BoxWidth())
        FMouseAreaCode = 2;
    TControl::mouseMoveEvent(event); // fires OnMouseMove
}

} // namespace nvo
