#include "NVO_NumLab.h"

#include "NVO_Format.h"

#include <QtGui/QMouseEvent>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>

namespace nvo {

namespace {

using TDisplay = TNumLab::TDisplay;

/// Eight characters chosen for their ascenders and descenders: every line of the
/// control is centred by the height of this text.
const QString kHeightProbe = QStringLiteral("(8g]}\u00DC\u00C4\u00A7");
constexpr QChar kDegreeSign(0x00B0);
constexpr int kMaxLabelPrecision = 15;
/// 2^63: the first double beyond the qint64 range.
constexpr double kInt64Limit = 9223372036854775808.0;

/// The text of a value that is not a finite number, as the frame's formatters write it.
QString NonFiniteText(double value)
{
    if (std::isnan(value))
        return QString::fromUtf16(kNaNText);
    return QString::fromUtf16(value > 0 ? kInfText : kMinusInfText);
}

/// "E", the exponent's sign and at least three digits, as dtExp writes it.
void AppendExponent(QString &text, int exponent)
{
    text += QLatin1Char('E');
    text += QLatin1Char(exponent < 0 ? '-' : '+');
    const QString digits = QString::number(std::abs(exponent));
    text += QString(qMax(0, 3 - int(digits.size())), QLatin1Char('0'));
    text += digits;
}

/// `value` in base 2, 8 or 16 (upper case), at least `minDigits` digits, a negative
/// value as "-" and its magnitude.
QString IntegerDigits(qint64 value, int base, int minDigits)
{
    // The magnitude in unsigned arithmetic: -2^63 has no positive qint64.
    const quint64 magnitude = value < 0 ? 0 - quint64(value) : quint64(value);
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude, base);
    QString text;
    if (value < 0)
        text += QLatin1Char('-');
    const int digits = int(result.ptr - buffer);
    text += QString(qMax(0, minDigits - digits), QLatin1Char('0'));
    text += QLatin1String(buffer, digits).toString().toUpper();
    return text;
}

/// The digits and decimal exponent of `value` rounded to `significant` digits.
struct TDecimalDigits {
    bool Negative = false;
    QByteArray Digits;
    int Exponent = 0;
};

TDecimalDigits RoundToSignificant(double value, int significant)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::scientific, significant - 1);
    TDecimalDigits decimal;
    const char *p = buffer;
    if (*p == '-') {
        decimal.Negative = true;
        ++p;
    }
    for (; p < result.ptr && *p != 'e'; ++p)
        if (*p != '.')
            decimal.Digits += *p;
    std::from_chars(p + 1 + (p[1] == '+'), result.ptr, decimal.Exponent);
    return decimal;
}

/// Engineering notation: the exponent a multiple of three, one to three integer
/// digits. `significant` digits are kept; without `fraction` the digits after the
/// point are dropped, so the caller rounds to exactly the integer digits.
QString Engineering(const TDecimalDigits &decimal, bool fraction, QChar separator)
{
    const int shift = ((decimal.Exponent % 3) + 3) % 3;
    QByteArray digits = decimal.Digits;
    // A rounding carry (99.6 -> 1.0E2) or few significant digits leave fewer digits
    // than the integer part needs: the missing ones are zeros.
    while (digits.size() < shift + 1)
        digits += '0';
    QString text;
    if (decimal.Negative)
        text += QLatin1Char('-');
    text += QLatin1String(digits.left(shift + 1));
    if (fraction && digits.size() > shift + 1) {
        text += separator;
        text += QLatin1String(digits.mid(shift + 1));
    }
    AppendExponent(text, decimal.Exponent - shift);
    return text;
}

QString FormatEngineering(double value, int precision, QChar separator)
{
    if (!std::isfinite(value))
        return NonFiniteText(value);
    return Engineering(RoundToSignificant(value, qMax(1, precision)), true, separator);
}

QString FormatEngineeringNoPoint(double value)
{
    if (!std::isfinite(value))
        return NonFiniteText(value);
    // How many integer digits the mantissa gets depends on the exponent, which the
    // rounding itself may raise (999.7 -> 1000): round to three digits to learn the
    // exponent, then to exactly the integer digits. A second carry only appends zeros.
    const int exponent = RoundToSignificant(value, 3).Exponent;
    const int integerDigits = ((exponent % 3) + 3) % 3 + 1;
    return Engineering(RoundToSignificant(value, integerDigits), false, QChar());
}

QString TwoDigits(qint64 value)
{
    return QString::number(value).rightJustified(2, QLatin1Char('0'));
}

/// Degrees with minutes (`withSeconds` false: d°mm.mm') or with minutes and seconds
/// (d°mm'ss.ss"), the last field with `precision` decimals. nullopt when the whole
/// units do not fit a qint64.
std::optional<QString> FormatSexagesimal(double value, int precision, bool withSeconds,
                                         QChar separator)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double total = std::fabs(value) * (withSeconds ? 3600.0 : 60.0);
    if (total >= kInt64Limit)
        return std::nullopt;
    // Rounding the fraction of the last field may carry into the whole units
    // (59.996' -> 60.00'): the carry goes into the count before it is split.
    double whole = std::floor(total);
    QString fraction = FormatFixed(total - whole, precision, separator);
    qint64 units = qint64(whole);
    if (fraction.startsWith(QLatin1Char('1'))) {
        ++units;
        fraction = FormatFixed(0.0, precision, separator);
    }
    fraction.remove(0, 1); // the leading "0"
    QString text;
    if (value < 0)
        text += QLatin1Char('-');
    if (withSeconds) {
        text += QString::number(units / 3600) + kDegreeSign + TwoDigits(units / 60 % 60)
                + QLatin1Char('\'') + TwoDigits(units % 60) + fraction + QLatin1Char('"');
    } else {
        text += QString::number(units / 60) + kDegreeSign + TwoDigits(units % 60) + fraction
                + QLatin1Char('\'');
    }
    return text;
}

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

/// The value text before the plus sign; nullopt where the value has no text in the
/// display type (an integer is needed and the value has none).
std::optional<QString> FormatValue(double value, const TNumLabFormat &format, QChar separator)
{
    const int precision = qBound(0, format.Precision, kMaxLabelPrecision);
    switch (format.DisplayType) {
    case TNumLab::dtFloat: return FormatGeneral(value, precision, separator);
    case TNumLab::dtExp: return FormatExp(value, precision, separator);
    case TNumLab::dtInt:
        if (const auto integer = RoundToInt64(value))
            return FormatInt(*integer);
        return std::nullopt;
    case TNumLab::dtZeroInt:
        if (const auto integer = RoundToInt64(value))
            return IntegerDigits(*integer, 10, precision);
        return std::nullopt;
    case TNumLab::dtHex:
    case TNumLab::dtOct:
    case TNumLab::dtBin:
        if (const auto integer = RoundToInt64(value)) {
            const int base = format.DisplayType == TNumLab::dtHex   ? 16
                             : format.DisplayType == TNumLab::dtOct ? 8
                                                                    : 2;
            return IntegerDigits(*integer, base, precision);
        }
        return std::nullopt;
    case TNumLab::dtDateTime:
        if (IsWritableDate(value))
            return FormatDateTime(format.DTFormat, value);
        return std::nullopt;
    case TNumLab::dtState: return format.StateText;
    case TNumLab::dtDeg:
        if (!std::isfinite(value))
            return NonFiniteText(value);
        return FormatFixed(value, precision, separator) + kDegreeSign;
    case TNumLab::dtDegMin: return FormatSexagesimal(value, precision, false, separator);
    case TNumLab::dtDegMinSec: return FormatSexagesimal(value, precision, true, separator);
    case TNumLab::dtEEng: return FormatEngineering(value, precision, separator);
    case TNumLab::dtEEngNoDP: return FormatEngineeringNoPoint(value);
    case TNumLab::dtFixP:
    default:
        // Ordinals beyond the named ones show like the default display type.
        return FormatFixed(value, precision, separator);
    }
}

} // namespace

QString FormatNumLabValue(double value, const TNumLabFormat &format)
{
    // The separator of `Comma` is written directly: the text has no other "." or ","
    // that a later replacement could meet, and the locale cannot leak in.
    const QChar separator = QLatin1Char(format.Comma ? ',' : '.');
    std::optional<QString> text = FormatValue(value, format, separator);
    if (!text)
        return format.OverflowIndicator;
    if (format.ForcePlusSign && value > 0 && !KeepsOwnCharacters(format.DisplayType))
        text->prepend(QLatin1Char('+'));
    return *text;
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

template<class T>
void TNumLab::Change(T &field, const T &value)
{
    if (field == value)
        return;
    field = value;
    PaintNow();
}

void TNumLab::SetValue(double value)
{
    // A NaN never equals itself; without this test every NaN written would repaint
    // and notify although the display stays the same.
    if (value == FValue || (std::isnan(value) && std::isnan(FValue)))
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
    FGrayLineColor = UsesSystemColors(scheme) ? clr::BtnShadow : clr::Gray;
    FWhiteLineColor = UsesSystemColors(scheme) ? clr::BtnHighlight : clr::White;
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
    const bool valueChanges = FValue != other->FValue;
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
    TBitmap buffer = MakeBuffer();
    TCanvas &bitmap = buffer.Canvas();
    const int y = (height() - bitmap.TextHeight(kHeightProbe)) / 2;

    PaintBackground(bitmap);
    PaintSideText(bitmap, FLeftText, LeftTextX(bitmap.TextWidth(FLeftText)), y);
    PaintSideText(bitmap, FRightText, RightTextX(bitmap.TextWidth(FRightText)), y);
    PaintValueFrame(bitmap);
    if (!FEmpty)
        PaintValueText(bitmap, y);
    CopyToControl(canvas, buffer);
}

void TNumLab::PaintBackground(TCanvas &canvas)
{
    // White under a transparent control: the AND copy then leaves the parent's pixels.
    const TColor background =
        FTransparent   ? clr::White
        : StyledClient() ? StyleServices::GetStyleColor(StyleServices::scWindow, palette())
                         : FColorOutBakG;
    canvas.Pen.Color = background;
    canvas.Brush.SetColor(background);
    canvas.Rectangle(0, 0, width(), height());
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
    const int areaLeft = FLeftSpace + FLabelWidth;
    switch (FRightTextAlignment) {
    case taRightJustify: return width() - textWidth - 6;
    case taCenter: return (width() - areaLeft - textWidth) / 2 + areaLeft + 1;
    case taLeftJustify:
    default: return areaLeft + 7;
    }
}

void TNumLab::PaintSideText(TCanvas &canvas, const QString &text, int x, int y)
{
    if (text.isEmpty())
        return;
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
    DrawFrame(canvas, FFrameStyle, FLeftSpace + 1, 0, FLeftSpace + FLabelWidth, height() - 2,
              styled ? clr::Light3D : clr::White, styled ? clr::BtnHighlight : clr::Silver,
              styled ? clr::BtnShadow : clr::Gray, styled ? clr::DkShadow3D : clr::Black, 0,
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
    if (textWidth > FLabelWidth - 6 && FDisplayType != dtState) {
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
    case taRightJustify: x = FLeftSpace + FLabelWidth - 2 - textWidth; break;
    case taCenter:
    default: x = FLeftSpace + 2 + (FLabelWidth - textWidth) / 2; break;
    }
    // The text area (LS + 3, 2) .. (LS + LW - 1, H - 3), right and bottom excluded.
    const QRect area(FLeftSpace + 3, 2, FLabelWidth - 4, height() - 5);
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
        canvas.Rectangle(FLeftSpace + 2, 2, FLeftSpace + FLabelWidth, height() - 2);
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
    if (x > FLeftSpace + FLabelWidth)
        FMouseAreaCode = 2;
    if (OnMouseMove)
        Guarded([&] { OnMouseMove(this, event->modifiers(), x, event->position().toPoint().y()); });
    TControl::mouseMoveEvent(event);
}

} // namespace nvo
