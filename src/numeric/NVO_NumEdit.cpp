#include "NVO_NumEdit.h"

#include "NVO_Format.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace nvo {

namespace {

bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }

template<class Pred>
bool AllOf(QStringView s, Pred pred)
{
    return !s.isEmpty() && std::all_of(s.begin(), s.end(), pred);
}

/// 0-based index of the first separator of the mode, or -1.
qsizetype FirstSeparator(QStringView s, int sepMode)
{
    for (qsizetype i = 0; i < s.size(); ++i)
        if (IsModeSeparator(s[i].unicode(), sepMode))
            return i;
    return -1;
}

/// The separator character a choice writes: the locale's, "," or ".".
QChar SeparatorChar(TDecPSep choice)
{
    return choice == dsLocale ? LocaleDecimalSeparator()
           : choice == dsComma ? QLatin1Char(',')
                               : QLatin1Char('.');
}

/// The character a key that writes `keyText` puts into the buffer, or none. Taken
/// from the text the key produces, so "+", "-", ",", ".", "$", "%" and "&" work on
/// any layout; Shift with 4, 5, 6 still gives "$", "%", "&" where the layout writes
/// digits there.
std::optional<QChar> TypedChar(QStringView keyText, bool shifted, bool keypad, QChar keypadSeparator)
{
    if (keyText.size() != 1)
        return std::nullopt;
    const QChar c = keyText[0];
    if (IsDigit(c)) {
        if (!keypad && shifted) {
            switch (c.unicode()) {
            case u'4': return QLatin1Char('$');
            case u'5': return QLatin1Char('%');
            case u'6': return QLatin1Char('&');
            default: break;
            }
        }
        return c;
    }
    if ((c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f'))
        return c.toUpper();
    // The keypad's decimal key writes the separator the field accepts, whatever the
    // keyboard's locale puts on it.
    if (keypad && (c == u'.' || c == u','))
        return keypadSeparator;
    if (QStringView(u"+-,.$%&").contains(c))
        return c;
    return std::nullopt;
}

} // namespace

// ---- Validators ------------------------------------------------------------------------

bool IsBinText(QStringView S)
{
    return AllOf(S, [](QChar c) { return c == u'0' || c == u'1'; });
}

bool IsOctText(QStringView S)
{
    return AllOf(S, [](QChar c) { return c >= u'0' && c <= u'7'; });
}

bool IsHexText(QStringView S)
{
    return AllOf(S, [](QChar c) {
        return IsDigit(c) || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
    });
}

bool IsIntText(QStringView S)
{
    if (S.isEmpty())
        return false;
    if (S.size() == 1)
        return IsDigit(S[0]);
    const QChar first = S[0];
    return (first == u'+' || first == u'-' || IsDigit(first))
           && std::all_of(S.begin() + 1, S.end(), IsDigit);
}

bool IsFloatText(QStringView S, TDecPSep Sep)
{
    const int mode = SeparatorMode(Sep);
    enum { start, afterSign, afterSep, intDigits, fracDigits, invalid };
    int state = start;
    for (const QChar c : S) {
        const bool sep = IsModeSeparator(c.unicode(), mode);
        switch (state) {
        case start:
            state = (c == u'+' || c == u'-') ? afterSign : sep ? afterSep : IsDigit(c) ? intDigits : invalid;
            break;
        case afterSign:
        case intDigits:
            state = sep ? afterSep : IsDigit(c) ? intDigits : invalid;
            break;
        default: // after the separator, or in the fraction
            state = IsDigit(c) ? fracDigits : invalid;
            break;
        }
        if (state == invalid)
            return false;
    }
    return !S.isEmpty();
}

bool IsExpText(QStringView S, TDecPSep Sep)
{
    // ScanFloatNum runs the number machine; a text is valid when the machine ends on
    // the virtual character behind the text. It ends there with an error only while
    // no mantissa character has come (blanks, a lone sign), so those are checked
    // here, as is the exponent bound that the scanner enforces by dropping digits.
    if (S.isEmpty())
        return false;
    int pos = 1;
    ScanFloatNum(S, true, SeparatorMode(Sep), pos);
    if (pos != S.size() + 1)
        return false;
    qsizetype first = 0;
    while (first < S.size() && S[first] == u' ')
        ++first;
    const QStringView rest = S.mid(first);
    if (rest.isEmpty() || ((rest[0] == u'+' || rest[0] == u'-') && rest.size() == 1))
        return false;
    qsizetype e = rest.size();
    while (e > 0 && IsDigit(rest[e - 1]))
        --e;
    if (e == rest.size() || e == 0)
        return true;
    const bool exponentDigits = rest[e - 1] == u'e' || rest[e - 1] == u'E'
                                || ((rest[e - 1] == u'+' || rest[e - 1] == u'-') && e >= 2
                                    && (rest[e - 2] == u'e' || rest[e - 2] == u'E'));
    if (!exponentDigits)
        return true;
    int exponent = 0;
    for (const QChar d : rest.mid(e)) {
        exponent = exponent * 10 + (d.unicode() - u'0');
        if (exponent > 4200)
            return false;
    }
    return true;
}

// ---- Value rules of the spin buttons -------------------------------------------------

int NearestPivot(const TDoubleArray &Pivots, double V)
{
    int nearest = -1;
    double best = uc_MaxReal;
    for (int i = 0; i < int(Pivots.size()); ++i) {
        const double distance = std::abs(Pivots[i] - V);
        if (nearest < 0 || distance < best) {
            best = distance;
            nearest = i;
        }
    }
    return nearest;
}

double SpinValue(double F, bool Up, double Increment, double Min, double Max,
                 const TDoubleArray &Pivots, int DecP)
{
    if (Pivots.empty())
        return std::clamp(Up ? F + Increment : F - Increment, std::min(Min, Max), std::max(Min, Max));
    const double epsilon = std::pow(10.0, -DecP);
    int l = NearestPivot(Pivots, F);
    if (!Up && Pivots[l] + epsilon >= F && l > 0)
        --l;
    if (Up && Pivots[l] - epsilon <= F && l < int(Pivots.size()) - 1)
        ++l;
    return Pivots[l];
}

// ---- TNumEdit: value model -------------------------------------------------------------

QString TNumEdit::ValueText(double V) const
{
    const double v = std::isnan(V) ? 0.0 : std::clamp(V, -uc_MaxDouble, uc_MaxDouble);
    // Digit patterns of a rounded value; values beyond 64 bits saturate.
    const auto rounded = [v] {
        return RoundToInt64(v).value_or(v < 0 ? std::numeric_limits<qint64>::min()
                                              : std::numeric_limits<qint64>::max());
    };
    QString text;
    switch (FInputFormat) {
    case TNumFormat::itExp: text = FormatNumStr(FSigDig + 6, -2, v); break;
    case TNumFormat::itFloat:
    case TNumFormat::itFixPoint: text = FormatNumStr(1, FDecP, v); break;
    case TNumFormat::itInt:
    case TNumFormat::itDynamic: text = FormatInt(rounded()); break;
    case TNumFormat::itHex: text = HexStr(quint32(rounded()), 8); break;
    case TNumFormat::itOct: text = OctStr(quint32(rounded()), 11); break;
    case TNumFormat::itBin: text = BinStr(quint32(rounded()), 32); break;
    }
    // The field writes the separator it accepts: with "," alone selected, a "."
    // would make its own text invalid at the next keystroke.
    const QChar separator = WrittenSeparator(SeparatorMode(FDecPSep));
    if (separator != QLatin1Char('.'))
        text.replace(QLatin1Char('.'), separator);
    return text;
}

double TNumEdit::GetValue() const
{
    const QStringView buffer = FInBuffer;
    int pos = 1;
    switch (FInputFormat) {
    case TNumFormat::itInt: {
        if (!IsIntText(buffer))
            return 0;
        bool ok = false;
        const int v = buffer.toInt(&ok);
        if (ok)
            return v;
        // Beyond 32 bits the value saturates on the side of its sign.
        return buffer.startsWith(u'-') ? std::numeric_limits<qint32>::min()
                                       : std::numeric_limits<qint32>::max();
    }
    case TNumFormat::itDynamic:
        if (buffer.isEmpty())
            return 0;
        switch (buffer[0].unicode()) {
        case u'$': return ScanHex(buffer.mid(1), pos);
        case u'%': return ScanBin(buffer.mid(1), pos);
        case u'&': return ScanOct(buffer.mid(1), pos);
        default: return ScanFloatNum(buffer, true, 3, pos);
        }
    // The digit formats read as the signed 32-bit pattern they show, so that a
    // negative value written as "FFFFFFFF" reads back as -1.
    case TNumFormat::itHex: return ScanHex(buffer, pos);
    case TNumFormat::itOct: return ScanOct(buffer, pos);
    case TNumFormat::itBin: return ScanBin(buffer, pos);
    default: return ScanFloatNum(buffer, true, 3, pos);
    }
}

void TNumEdit::SetValue(double V) { SetBuffer(ValueText(V)); }

bool TNumEdit::OutOfRange() const
{
    const double v = GetValue();
    return !(v >= FMinimum) || v > FMaximum;
}

bool TNumEdit::SetText(const QString &S)
{
    if (!S.isEmpty() && !CheckValidity(S))
        return false;
    SetBuffer(S);
    FCaretPos = FSelBegin = FSelEnd = 0;
    return true;
}

void TNumEdit::SetBuffer(const QString &text)
{
    if (text == FInBuffer)
        return;
    FInBuffer = text;
    // The caret and the selection never point past the text.
    ClampCaretAndSelection();
}

void TNumEdit::ClampCaretAndSelection()
{
    const int length = int(FInBuffer.size());
    FCaretPos = std::clamp(FCaretPos, 0, length);
    FSelBegin = std::clamp(FSelBegin, 0, length);
    FSelEnd = std::clamp(FSelEnd, FSelBegin, length);
}

bool TNumEdit::CheckValidity(QStringView S) const
{
    switch (FInputFormat) {
    case TNumFormat::itExp: return IsExpText(S, FDecPSep);
    case TNumFormat::itFloat: return IsFloatText(S, FDecPSep);
    case TNumFormat::itFixPoint:
        // The separator of the mode, not only ".": a field set to "," must accept
        // the texts it writes itself.
        return IsFloatText(S, FDecPSep)
               && FirstSeparator(S, SeparatorMode(FDecPSep)) + 1 == S.size() - FDecP;
    case TNumFormat::itInt: return IsIntText(S);
    case TNumFormat::itHex: return IsHexText(S);
    case TNumFormat::itOct: return IsOctText(S);
    case TNumFormat::itBin: return IsBinText(S);
    case TNumFormat::itDynamic:
        if (S.isEmpty())
            return false;
        switch (S[0].unicode()) {
        case u'$': return IsHexText(S.mid(1));
        case u'%': return IsBinText(S.mid(1));
        case u'&': return IsOctText(S.mid(1));
        default: return IsExpText(S, FDecPSep);
        }
    }
    return false;
}

bool TNumEdit::SetInputFormat(TInFormat format)
{
    if (format == FInputFormat)
        return false;
    const double v = GetValue();
    FInputFormat = format;
    SetValue(v);
    return true;
}

bool TNumEdit::SetFixPointDecPlaces(int places) { return SetDigitCount(FDecP, places); }

bool TNumEdit::SetSignificantDigits(int digits) { return SetDigitCount(FSigDig, digits); }

bool TNumEdit::SetDigitCount(int &count, int n)
{
    if (n == count || n <= 0)
        return false;
    const double v = GetValue();
    count = std::min(n, 15);
    SetValue(v);
    return true;
}

void TNumEdit::ReplaceSeparator(QChar oldSep, QChar newSep)
{
    QString text = FInBuffer;
    text.replace(oldSep, newSep);
    SetBuffer(text);
}

bool TNumEdit::SetDecPlaceSep(TDecPSep sep)
{
    if (sep == FDecPSep)
        return false;
    // "Either" (and any ordinal a later version may store beyond it) accepts both
    // separators, so the text needs no change.
    if (sep < dsEither) {
        const QChar newSep = SeparatorChar(sep);
        if (FDecPSep >= dsEither) {
            ReplaceSeparator(QLatin1Char('.'), newSep);
            ReplaceSeparator(QLatin1Char(','), newSep);
        } else {
            ReplaceSeparator(SeparatorChar(FDecPSep), newSep);
        }
    }
    FDecPSep = sep;
    return true;
}

void TNumEdit::SetRangeLow(double low)
{
    FMinimum = low;
    if (!(low <= FMaximum))
        FMaximum = low;
}

void TNumEdit::SetRangeHigh(double high)
{
    FMaximum = high;
    if (high < FMinimum)
        FMinimum = high;
}

// ---- TNumEdit: caret and selection ---------------------------------------------------------

QString TNumEdit::SelectedText() const { return FInBuffer.mid(FSelBegin, FSelEnd - FSelBegin); }

void TNumEdit::SetSelBegin(int N)
{
    N = std::clamp(N, 0, int(FInBuffer.size()));
    FSelBegin = N;
    FCaretPos = N;
    if (FSelEnd < N)
        FSelEnd = N;
}

void TNumEdit::SetSelEnd(int N)
{
    N = std::clamp(N, 0, int(FInBuffer.size()));
    FSelEnd = N;
    FCaretPos = N;
    if (N < FSelBegin)
        FSelBegin = N;
}

void TNumEdit::PlaceCaret(int N)
{
    FCaretPos = FSelBegin = N;
    SetSelEnd(N);
}

void TNumEdit::DragSelection(int N)
{
    if (FSelBegin < N)
        SetSelEnd(N);
    else
        SetSelBegin(N);
}

// ---- TNumEdit: keystrokes ------------------------------------------------------------------

void TNumEdit::Home()
{
    FCaretPos = 0;
    SettleSelection();
}

void TNumEdit::End()
{
    FCaretPos = int(FInBuffer.size());
    SettleSelection();
}

void TNumEdit::Left()
{
    if (FCaretPos > 0)
        --FCaretPos;
    SettleSelection();
}

void TNumEdit::Right()
{
    if (FCaretPos < int(FInBuffer.size()))
        ++FCaretPos;
    SettleSelection();
}

template<class Edit>
TNumEdit::TEditResult TNumEdit::CheckedEdit(Edit &&edit)
{
    const QString saved = FInBuffer;
    const int savedCaret = FCaretPos;
    edit();
    TEditResult result = erUnchanged;
    // Only an edit is checked: a keystroke that changed nothing never undoes anything.
    if (FInBuffer != saved) {
        const bool acceptable = FInBuffer.isEmpty() || FInBuffer == u"-" || FInBuffer == u"+"
                                || CheckValidity(FInBuffer);
        if (acceptable) {
            result = erChanged;
        } else {
            FInBuffer = saved;
            FCaretPos = savedCaret;
            result = erRejected;
        }
    }
    ClampCaretAndSelection();
    return result;
}

TNumEdit::TEditResult TNumEdit::Backspace() { return Erase(true); }

TNumEdit::TEditResult TNumEdit::Delete() { return Erase(false); }

TNumEdit::TEditResult TNumEdit::Erase(bool beforeCaret)
{
    const TEditResult result = CheckedEdit([&] {
        if (HasSelection())
            DeleteSelection();
        else if (beforeCaret && FCaretPos > 0)
            FInBuffer.remove(--FCaretPos, 1);
        else if (!beforeCaret && FCaretPos < int(FInBuffer.size()))
            FInBuffer.remove(FCaretPos, 1);
    });
    SettleSelection();
    return result;
}

TNumEdit::TEditResult TNumEdit::Type(QStringView keyText, bool shifted, bool keypad)
{
    const auto c = TypedChar(keyText, shifted, keypad, WrittenSeparator(SeparatorMode(FDecPSep)));
    if (!c) {
        SettleSelection();
        return erRejected;
    }
    const TEditResult result = CheckedEdit([&] {
        // The character takes the selection's place, so unlike Backspace and Delete
        // this never writes the zero text into a buffer the selection filled.
        if (HasSelection()) {
            FInBuffer.remove(FSelBegin, FSelEnd - FSelBegin);
            FCaretPos = FSelEnd = FSelBegin;
        }
        InsertAtCaret(QString(*c));
    });
    SettleSelection();
    return result;
}

TNumEdit::TEditResult TNumEdit::Cut()
{
    if (!HasSelection())
        return erUnchanged;
    return CheckedEdit([this] { DeleteSelection(); });
}

TNumEdit::TEditResult TNumEdit::Paste(const QString &text)
{
    return CheckedEdit([&] { InsertAtCaret(text); });
}

void TNumEdit::InsertAtCaret(QStringView text)
{
    FInBuffer.insert(FCaretPos, text);
    FCaretPos += int(text.size());
}

void TNumEdit::DeleteSelection()
{
    FInBuffer.remove(FSelBegin, FSelEnd - FSelBegin);
    if (FInBuffer.isEmpty())
        FInBuffer = ValueText(0);
    FCaretPos = FSelEnd = FSelBegin;
}

void TNumEdit::SettleSelection()
{
    const int length = int(FInBuffer.size());
    if (FInputFormat == TNumFormat::itFixPoint && length - FDecP - 1 < FCaretPos) {
        FSelBegin = FCaretPos;
        FSelEnd = std::min(FCaretPos + 1, length);
    } else {
        FSelBegin = FSelEnd = FCaretPos;
    }
}

} // namespace nvo
