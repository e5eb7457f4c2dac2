#include "NVO_NumLab.h"

#include "NVO_Format.h"

#include <QtGui/QMouseEvent>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
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
constexpr char kDegreeSign = '\xB0'; // in Latin-1
constexpr int kMaxLabelPrecision = 15;
/// 2^63: the first double beyond the qint64 range.
constexpr double kInt64Limit = 9223372036854775808.0;

/// A value text under construction: Latin-1 characters in a stack buffer that become
/// one QString at the end, so that a text costs a single allocation (a label may be
/// updated thousands of times a second). The longest text, a fixed 1e308 with 15
/// decimals, a sign and a degree sign, takes 328 characters.
class TLatin1Text
{
public:
    TLatin1Text() = default;
    TLatin1Text(const TLatin1Text &) = delete; // FEnd points into this object
    TLatin1Text &operator=(const TLatin1Text &) = delete;

    // Each append works on a local copy of the end: a store through a char pointer
    // may alias any member, so writing through FEnd itself would reload it for
    // every character.
    void Append(char c) { *FEnd++ = c; }
    void Append(const char *first, const char *last)
    {
        char *out = FEnd;
        while (first != last)
            *out++ = *first++;
        FEnd = out;
    }
    void AppendZeros(int count)
    {
        char *out = FEnd;
        for (; count > 0; --count)
            *out++ = '0';
        FEnd = out;
    }
    /// Appends `first`..`last` with its "." written as `separator`.
    void AppendNumber(const char *first, const char *last, char separator)
    {
        char *out = FEnd;
        for (; first != last; ++first)
            *out++ = *first == '.' ? separator : *first;
        FEnd = out;
    }
    /// Lets a writer such as std::to_chars fill the free space in place.
    char *End() const { return FEnd; }
    char *Limit() { return FChars.data() + FChars.size(); }
    void SetEnd(char *end) { FEnd = end; }
    QString ToQString() const { return QString::fromLatin1(FChars.data(), FEnd - FChars.data()); }

private:
    std::array<char, 400> FChars;
    char *FEnd = FChars.data();
};

/// Exact comparison, except that a NaN counts as equal to a NaN: it never equals
/// itself, and every NaN written would otherwise repaint and notify although the
/// display stays the same.
bool SameValue(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

bool ShowsOnlyZeros(const char *first, const char *last)
{
    return std::none_of(first, last, [](char c) { return c >= '1' && c <= '9'; });
}

/// A value that is not a finite number, written as the frame's formatters write it.
void AppendNonFinite(TLatin1Text &text, double value)
{
    const char *word = std::isnan(value) ? "NAN" : value > 0 ? "INF" : "-INF";
    text.Append(word, word + std::strlen(word));
}

/// Fixed notation with `decimals` decimals, rounded on the exact binary value, and,
/// as the frame's FormatFixed writes it, no "-" on a text that shows only zeros.
void AppendFixed(TLatin1Text &text, double value, int decimals, char separator)
{
    if (!std::isfinite(value)) {
        AppendNonFinite(text, value);
        return;
    }
    char digits[400];
    const char *end = std::to_chars(digits, digits + sizeof digits, std::fabs(value),
                                    std::chars_format::fixed, decimals).ptr;
    if (std::signbit(value) && !ShowsOnlyZeros(digits, end))
        text.Append('-');
    text.AppendNumber(digits, end, separator);
}

/// `value` in base 2, 8, 10 or 16 (upper case), at least `minDigits` digits, a
/// negative value as "-" and its magnitude.
void AppendInteger(TLatin1Text &text, qint64 value, int base, int minDigits)
{
    // The magnitude in unsigned arithmetic: -2^63 has no positive qint64.
    const quint64 magnitude = value < 0 ? 0 - quint64(value) : quint64(value);
    char digits[64];
    char *const end = std::to_chars(digits, digits + sizeof digits, magnitude, base).ptr;
    std::transform(digits, end, digits, [](char c) { return c >= 'a' ? char(c - 'a' + 'A') : c; });
    if (value < 0)
        text.Append('-');
    text.AppendZeros(minDigits - int(end - digits));
    text.Append(digits, end);
}

/// The decimal exponent of a scientific text as std::to_chars writes it,
/// "d[.ddd]e(+|-)dd[d]", with `e` at its "e". A double's exponent has at most three
/// digits (-324 .. 308), so the texts below always write three.
int ExponentOf(const char *e, const char *end)
{
    int exponent = 0;
    for (const char *p = e + 2; p != end; ++p)
        exponent = exponent * 10 + (*p - '0');
    return e[1] == '-' ? -exponent : exponent;
}

/// Scientific notation of a finite `value` with `significant` digits, the exponent
/// a multiple of `exponentStep`: 1 for dtExp's one integer digit, 3 for engineering
/// notation with one to three integer digits. Without `fraction` the digits after
/// the point are dropped: the caller rounded to exactly the integer digits.
/// std::to_chars writes straight into the text, and the mantissa is rearranged in
/// place: a label's value text is mostly this conversion.
void AppendScientific(TLatin1Text &text, double value, int significant, int exponentStep,
                      bool fraction, char separator)
{
    // Rounded to significant digits, only zero shows only zeros: it gets no "-".
    if (value < 0)
        text.Append('-');
    char *const start = text.End();
    char *const end = std::to_chars(start, text.Limit(), std::fabs(value),
                                    std::chars_format::scientific, significant - 1).ptr;
    char *const e = std::find(start, end, 'e');
    const int exponent = ExponentOf(e, end);
    const int shift = exponentStep == 1 ? 0 : ((exponent % 3) + 3) % 3;
    // The digits: start[0], then start[2] .. e[-1] after the point.
    const int digits = e - start > 1 ? int(e - start) - 1 : 1;
    char *out = start + 1;
    // Moving the point right by `shift`; a rounding carry (99.6 -> 1.0e2) or few
    // significant digits leave fewer digits than the integer part needs: zeros.
    for (int i = 1; i <= shift; ++i)
        *out++ = i < digits ? start[i + 1] : '0';
    if (fraction && digits > shift + 1) {
        *out++ = separator;
        out += digits - shift - 1; // the remaining digits already stand here
    }
    text.SetEnd(out);
    text.Append('E');
    text.Append(exponent - shift < 0 ? '-' : '+');
    const int magnitude = std::abs(exponent - shift);
    text.Append(char('0' + magnitude / 100));
    text.Append(char('0' + magnitude / 10 % 10));
    text.Append(char('0' + magnitude % 10));
}

void AppendScientific(TLatin1Text &text, double value, int precision, int exponentStep, char separator)
{
    if (!std::isfinite(value)) {
        AppendNonFinite(text, value);
        return;
    }
    AppendScientific(text, value, qMax(1, precision), exponentStep, true, separator);
}

void AppendEngineeringNoPoint(TLatin1Text &text, double value)
{
    if (!std::isfinite(value)) {
        AppendNonFinite(text, value);
        return;
    }
    // How many integer digits the mantissa gets depends on the exponent, which the
    // rounding itself may raise (999.7 -> 1000): round to three digits to learn the
    // exponent, then to exactly the integer digits. A second carry only appends zeros.
    char probe[32];
    char *const end = std::to_chars(probe, probe + sizeof probe, value, std::chars_format::scientific, 2).ptr;
    const int exponent = ExponentOf(std::find(probe, end, 'e'), end);
    AppendScientific(text, value, ((exponent % 3) + 3) % 3 + 1, 3, false, '.');
}

void AppendTwoDigits(TLatin1Text &text, qint64 value)
{
    text.Append(char('0' + value / 10));
    text.Append(char('0' + value % 10));
}

/// Degrees with minutes (`withSeconds` false: d°mm.mm') or with minutes and seconds
/// (d°mm'ss.ss"), the last field with `precision` decimals. False when the whole
/// units do not fit a qint64.
bool AppendSexagesimal(TLatin1Text &text, double value, int precision, bool withSeconds,
                       char separator)
{
    if (!std::isfinite(value))
        return false;
    const double total = std::fabs(value) * (withSeconds ? 3600.0 : 60.0);
    if (total >= kInt64Limit)
        return false;
    // Rounding the fraction of the last field may carry into the whole units
    // (59.996' -> 60.00'): the carry goes into the count before it is split.
    const double whole = std::floor(total);
    char fraction[32];
    char *fractionEnd = std::to_chars(fraction, fraction + sizeof fraction, total - whole,
                                      std::chars_format::fixed, precision).ptr;
    qint64 units = qint64(whole);
    if (fraction[0] == '1') {
        ++units;
        fractionEnd = std::to_chars(fraction, fraction + sizeof fraction, 0.0,
                                    std::chars_format::fixed, precision).ptr;
    }
    if (std::signbit(value) && (units != 0 || !ShowsOnlyZeros(fraction, fractionEnd)))
        text.Append('-');
    const qint64 lastField = units % 60;
    const qint64 degrees = units / (withSeconds ? 3600 : 60);
    char digits[24];
    text.Append(digits, std::to_chars(digits, digits + sizeof digits, degrees).ptr);
    text.Append(kDegreeSign);
    if (withSeconds) {
        AppendTwoDigits(text, units / 60 % 60);
        text.Append('\'');
    }
    AppendTwoDigits(text, lastField);
    text.AppendNumber(fraction + 1, fractionEnd, separator); // without the leading "0"
    text.Append(withSeconds ? '"' : '\'');
    return true;
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

int IntegerBase(TDisplay type)
{
    switch (type) {
    case TNumLab::dtHex: return 16;
    case TNumLab::dtOct: return 8;
    case TNumLab::dtBin: return 2;
    default: return 10;
    }
}

/// Appends the text of the display types written here; false where the value has no
/// text in the display type (an integer is needed and the value has none).
bool AppendValue(TLatin1Text &text, double value, TDisplay type, int precision, char separator)
{
    switch (type) {
    case TNumLab::dtExp: AppendScientific(text, value, precision, 1, separator); return true;
    case TNumLab::dtEEng: AppendScientific(text, value, precision, 3, separator); return true;
    case TNumLab::dtEEngNoDP: AppendEngineeringNoPoint(text, value); return true;
    case TNumLab::dtInt:
    case TNumLab::dtZeroInt:
    case TNumLab::dtHex:
    case TNumLab::dtOct:
    case TNumLab::dtBin: {
        const auto integer = RoundToInt64(value);
        if (integer)
            AppendInteger(text, *integer, IntegerBase(type), type == TNumLab::dtInt ? 1 : precision);
        return integer.has_value();
    }
    case TNumLab::dtDeg:
        AppendFixed(text, value, precision, separator);
        if (std::isfinite(value))
            text.Append(kDegreeSign);
        return true;
    case TNumLab::dtDegMin: return AppendSexagesimal(text, value, precision, false, separator);
    case TNumLab::dtDegMinSec: return AppendSexagesimal(text, value, precision, true, separator);
    case TNumLab::dtFixP:
    default:
        // Ordinals beyond the named ones show like the default display type.
        AppendFixed(text, value, precision, separator);
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
    case TNumLab::dtFloat: {
        const QString text = FormatGeneral(value, precision, QLatin1Char(separator));
        return plusSign ? QLatin1Char('+') + text : text;
    }
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
    void PaintValueText(TCanvas &canvas, int y) const;
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
    bool FEnabled = true;
    int FMouseAreaCode = 0;
};

TNumLab::TNumLab(QWidget *parent) : TControl(parent), d(std::make_unique<Private>(this))
{
    resize(160, 28);
    // Moves without a button count too: MouseAreaCode follows the pointer.
    setMouseTracking(true);
    d->UpdateOpacity();
}

TNumLab::~TNumLab() = default;

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
bool TNumLab::GetEnabled() const { return d->FEnabled; }
int TNumLab::GetMouseAreaCode() const { return d->FMouseAreaCode; }

void TNumLab::SetValue(double value)
{
    if (SameValue(value, d->FValue))
        return;
    d->FValue = value;
    if (d->ShowsValueText())
        PaintNow();
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
}

void TNumLab::SetLabelWidth(int labelWidth) { Change(d->FLabelWidth, labelWidth); }
void TNumLab::SetLeftText(const QString &text) { Change(d->FLeftText, text); }
void TNumLab::SetRightText(const QString &text) { Change(d->FRightText, text); }

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

void TNumLab::SetEnabled(bool enabled)
{
    if (enabled == d->FEnabled)
        return;
    d->FEnabled = enabled;
    setEnabled(enabled);
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
    const int y = (height() - bitmap.TextHeight(kHeightProbe)) / 2;

    d->PaintBackground(bitmap);
    if (!d->FLeftText.isEmpty())
        d->PaintSideText(bitmap, d->FLeftText, d->LeftTextX(bitmap.TextWidth(d->FLeftText)), y);
    if (!d->FRightText.isEmpty())
        d->PaintSideText(bitmap, d->FRightText, d->RightTextX(bitmap.TextWidth(d->FRightText)), y);
    d->PaintValueFrame(bitmap);
    if (d->ShowsValueText())
        d->PaintValueText(bitmap, y);
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

void TNumLab::changeEvent(QEvent *event)
{
    // Enabled is the control's own switch; code that calls QWidget::setEnabled
    // directly must not leave it stale. A disabled parent does not change it.
    if (event->type() == QEvent::EnabledChange)
        d->FEnabled = !testAttribute(Qt::WA_ForceDisabled);
    TControl::changeEvent(event);
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
                       : FColorOutText;
        canvas.TextOut(x, y, text);
        return;
    }
    // Engraved: a white highlight one pixel right and down, the gray text over it.
    canvas.Brush.SetStyle(bsClear);
    canvas.Font.Color =
        styledFont ? StyleServices::GetStyleFontColor(StyleServices::sfPanelTextDisabled, q->palette())
                   : clr::White;
    canvas.TextOut(x + 1, y + 1, text);
    if (!styledFont) {
        canvas.Font.Color = clr::Gray;
        canvas.TextOut(x, y, text);
    }
}

void TNumLab::Private::PaintValueFrame(TCanvas &canvas) const
{
    const bool styled = q->StyledClient();
    const TColor grayLine = q->GrayLine(), whiteLine = q->WhiteLine();
    canvas.Pen.Color = FFrameStyle == fsNone         ? FColorLabBakG
                       : FFrameStyle == fsEmbossed ? whiteLine
                                                   : grayLine;
    // Setting the colour also makes the brush solid again after an engraved text.
    canvas.Brush.SetColor(styled ? StyleServices::GetStyleColor(StyleServices::scGrid, q->palette())
                                 : FColorLabBakG);
    DrawFrame(canvas, FFrameStyle, FLeftSpace + 1, 0, FLeftSpace + BoxWidth(), q->height() - 2,
              styled ? clr::Light3D : whiteLine, styled ? clr::BtnHighlight : clr::Silver,
              styled ? clr::BtnShadow : grayLine, styled ? clr::DkShadow3D : clr::Black, 0,
              fiFillBrush);
}

void TNumLab::Private::PaintValueText(TCanvas &canvas, int y) const
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
    if (!q->isEnabled())
        canvas.Font.Color = clr::BtnShadow;
    else if (q->StyledFont())
        canvas.Font.Color = StyleServices::GetStyleFontColor(StyleServices::sfPanelTextNormal, q->palette());
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
    const QRect area(FLeftSpace + 3, 2, BoxWidth() - 4, q->height() - 5);
    canvas.TextRect(area, x, y, text);
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
