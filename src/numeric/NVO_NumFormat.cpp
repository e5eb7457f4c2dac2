#include "NVO_NumFormat.h"

#include "NVO_Format.h"

#include <QtCore/QVarLengthArray>
#include <QtWidgets/QApplication>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace nvo {

// ---- Separator modes -----------------------------------------------------------------

int SeparatorMode(TDecPSep choice)
{
    switch (choice) {
    case dsLocale: return LocaleDecimalSeparator() == QLatin1Char(',') ? 2 : 1;
    case dsPoint: return 1;
    case dsComma: return 2;
    default: return 3; // a form may store an ordinal beyond the named ones
    }
}

QChar WrittenSeparator(int sepMode)
{
    return sepMode == 2 ? QLatin1Char(',') : QLatin1Char('.');
}

namespace {

constexpr bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// ---- ScanFloatNum's state machine ----------------------------------------------------

enum TCharClass : quint8 { ccSep, ccBlank, ccSign, ccDigit, ccE, ccOther };

constexpr int kEnd = 9;
constexpr int kError = -1;
constexpr int kAfterE = 6;
constexpr int kExponentDigits = 8;
/// Exponent digits beyond this magnitude are dropped: far beyond the double range,
/// and it keeps the number text's exponent bounded.
constexpr int kMaxExponent = 4200;

// Rows: states 1..8; columns: TCharClass. "E" leads to state 6 only where an exponent
// may start; without ExpAllowed it ends the number there instead.
constexpr std::array<std::array<qint8, 6>, 8> kTransitions = {{
    /* 1 start            */ {4, 1, 2, 3, kError, kError},
    /* 2 after sign       */ {4, kError, kError, 3, kError, kError},
    /* 3 integer digits   */ {4, kEnd, kEnd, 3, kAfterE, kEnd},
    /* 4 after separator  */ {kError, kEnd, kEnd, 5, kAfterE, kEnd},
    /* 5 fraction digits  */ {kError, kEnd, kEnd, 5, kAfterE, kEnd},
    /* 6 after E          */ {kError, kError, 7, 8, kError, kEnd},
    /* 7 after exp. sign  */ {kError, kError, kError, 8, kError, kEnd},
    /* 8 exponent digits  */ {kEnd, kEnd, kEnd, 8, kEnd, kEnd},
}};

/// The classes of the ASCII characters in one separator mode; everything else is
/// "other". A table, because the scan classifies every character a user types.
using TClassTable = std::array<TCharClass, 128>;

constexpr TClassTable MakeClassTable(int sepMode)
{
    TClassTable table{};
    for (char16_t c = 0; c < 128; ++c) {
        TCharClass cls = ccOther;
        if (IsModeSeparator(c, sepMode))
            cls = ccSep;
        else if (c == u' ')
            cls = ccBlank;
        else if (c == u'+' || c == u'-')
            cls = ccSign;
        else if (IsDigit(c))
            cls = ccDigit;
        else if (c == u'E' || c == u'e')
            cls = ccE;
        table[c] = cls;
    }
    return table;
}

constexpr std::array<TClassTable, 3> kClassTables = {MakeClassTable(1), MakeClassTable(2),
                                                    MakeClassTable(3)};

const TClassTable &ClassTable(int sepMode)
{
    return kClassTables[sepMode == 1 ? 0 : sepMode == 2 ? 1 : 2];
}

/// The character at 1-based `pos`; outside the text the scanners read an "other"
/// character, which ends any number.
char16_t CharAt(QStringView s, qsizetype pos)
{
    return pos >= 1 && pos <= s.size() ? s[pos - 1].unicode() : u'Z';
}

double ClampToDoubleRange(double v)
{
    if (std::isnan(v))
        return uc_MaxDouble;
    return std::clamp(v, -uc_MaxDouble, uc_MaxDouble);
}

/// The characters the machine collected: all ASCII (digits, signs, blanks, ".", "E").
using TNumberText = QVarLengthArray<char, 64>;

/// Converts the number text the machine collected. An exponent marker without digits
/// (the machine ended in state 6 or 7: "1e", "1e-") is a number still being typed and
/// reads as its mantissa; a mantissa without digits (".e5") reads 0.
double NumberTextValue(TNumberText &text, int finalState)
{
    if (finalState == kAfterE)
        text.resize(text.size() - 1);
    else if (finalState == kAfterE + 1)
        text.resize(text.size() - 2);
    if (!text.isEmpty() && text.back() == '.')
        text.append('0');
    // The text is in Val's decimal syntax already ("." as point), so the common case
    // goes straight to from_chars, which wants neither leading blanks nor a "+".
    const char *first = text.begin();
    while (first != text.end() && *first == ' ')
        ++first;
    if (first != text.end() && *first == '+')
        ++first;
    double value = 0;
    const auto result = std::from_chars(first, text.end(), value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Overflow or underflow: Val tells which, with the sign (+/-inf or +/-0).
        const std::optional<double> limit = Val(QString::fromLatin1(text.constData(), text.size()));
        return limit.value_or(0.0);
    }
    return result.ec == std::errc() ? value : 0.0;
}

// ---- Integer scanners ----------------------------------------------------------------

qsizetype StartPosition(int pos) { return std::max(pos, 1); }

/// Digit value of `c` in `radix` (upper or lower case letters), or -1.
int DigitValue(char16_t c, int radix)
{
    int digit = -1;
    if (IsDigit(c))
        digit = c - u'0';
    else if (c >= u'A' && c <= u'F')
        digit = c - u'A' + 10;
    else if (c >= u'a' && c <= u'f')
        digit = c - u'a' + 10;
    return digit < radix ? digit : -1;
}

/// The unsigned scanners' common body: blanks, then digits of `radix` accumulated up
/// to 32 bits. The digit that would overflow ends the scan instead of wrapping.
qint32 ScanRadix(QStringView s, int &pos, int radix, bool dollarPrefix)
{
    qsizetype p = StartPosition(pos);
    const qsizetype length = s.size();
    while (p < length && s[p - 1] == u' ')
        ++p;
    if (dollarPrefix && p == 1 && CharAt(s, p) == u'$')
        ++p;
    quint64 value = 0;
    for (int digit; (digit = DigitValue(CharAt(s, p), radix)) >= 0; ++p) {
        const quint64 next = value * quint64(radix) + quint64(digit);
        if (next > std::numeric_limits<quint32>::max())
            break;
        value = next;
    }
    pos = int(p);
    return qint32(quint32(value));
}

QString DigitText(quint32 v, int n, int maxDigits, int base)
{
    TLatin1Text text;
    text.AppendLowestDigits(v, base, std::clamp(n, 1, maxDigits));
    return text.ToQString();
}

// ---- Beep ----------------------------------------------------------------------------

TBeepHook &BeepHook()
{
    static TBeepHook hook;
    return hook;
}

} // namespace

double ScanFloatNum(QStringView S, bool ExpAllowed, int SepMode, int &Pos)
{
    const TClassTable &classes = ClassTable(SepMode);
    qsizetype pos = StartPosition(Pos);
    // Each character is taken at most once, and a "0" may follow: the text fits in
    // what is left of S plus two. Writing through a local pointer and count keeps the
    // loop free of the container's bookkeeping.
    TNumberText number(std::max<qsizetype>(S.size() - pos + 3, 2));
    char *const out = number.data();
    qsizetype length = 0;
    int state = 1;
    int lastState = 1;
    int exponent = 0;
    while (state != kEnd && state != kError) {
        const char16_t c = CharAt(S, pos);
        const TCharClass cls = c < classes.size() ? classes[c] : ccOther;
        int next = kTransitions[state - 1][cls];
        if (next == kAfterE && !ExpAllowed)
            next = kEnd;
        if (next >= 1 && next <= 8) {
            bool append = true;
            if (next == kExponentDigits) {
                if (state != kExponentDigits)
                    exponent = 0;
                // Saturates, so that a thousand exponent digits cannot overflow.
                exponent = std::min(exponent * 10 + (c - u'0'), 10 * kMaxExponent);
                append = exponent <= kMaxExponent;
            }
            if (append)
                out[length++] = cls == ccSep ? '.' : char(c); // every character taken is ASCII
        }
        lastState = state;
        state = next;
        ++pos;
        // A digit keeps states 3 and 5 as they are: the rest of a run of mantissa
        // digits is taken at once, without a table step per digit.
        if (state == 3 || state == 5)
            for (char16_t d; IsDigit(d = CharAt(S, pos)); ++pos)
                out[length++] = char(d);
    }
    --pos;
    Pos = int(std::min<qsizetype>(pos, std::numeric_limits<int>::max()));
    number.resize(length);
    const double value = state == kEnd ? NumberTextValue(number, lastState) : 0.0;
    return ClampToDoubleRange(value);
}

int ScanDecInt(QStringView S, int &Pos)
{
    const qsizetype length = S.size();
    if (length == 0)
        return 0;
    qsizetype p = StartPosition(Pos);
    while (p < length && S[p - 1] == u' ')
        ++p;
    const char16_t sign = CharAt(S, p);
    const bool negative = sign == u'-';
    if (negative || sign == u'+')
        ++p;
    // The negative side holds one more: -2147483648 is a 32-bit value.
    const qint64 limit = negative ? qint64(std::numeric_limits<qint32>::max()) + 1
                                  : std::numeric_limits<qint32>::max();
    qint64 value = 0;
    for (; IsDigit(CharAt(S, p)); ++p) {
        const qint64 next = value * 10 + (CharAt(S, p) - u'0');
        if (next > limit)
            break;
        value = next;
    }
    Pos = int(p);
    return int(negative ? -value : value);
}

qint32 ScanHex(QStringView S, int &Pos) { return ScanRadix(S, Pos, 16, true); }
qint32 ScanOct(QStringView S, int &Pos) { return ScanRadix(S, Pos, 8, false); }
qint32 ScanBin(QStringView S, int &Pos) { return ScanRadix(S, Pos, 2, false); }

QString FormatNumStr(int Width, int Decimals, double V)
{
    constexpr int kMaxField = 255;
    const int width = std::min(std::abs(std::clamp(Width, -kMaxField, kMaxField)), kMaxField);
    TLatin1Text text;
    if (Decimals == -2 && std::isfinite(V)) {
        // Str's floating form with two exponent digits instead of four, its field
        // two characters narrower; a row of asterisks when two are not enough.
        const int strField = std::min(width + 2, kMaxField);
        if (!(V < 0))
            text.Append(' ');
        const bool fits = text.AppendScientificOrAsterisks(
            V, std::clamp(strField - 9, 0, kMaxPrecision) + 1, '.', 2);
        text.AlignRight(strField - 2);
        if (!fits)
            return QString(text.Size(), QLatin1Char('*'));
    } else {
        // A text that is no number has no exponent: Str's field of the floating form.
        text.AppendStr(V, Decimals == -2 ? std::min(width + 2, kMaxField) : width, Decimals);
    }
    QString result = text.ToQString();
    if (Width < 0) {
        qsizetype blanks = 0;
        while (blanks < result.size() && result[blanks] == QLatin1Char(' '))
            result[blanks++] = QLatin1Char('0');
        if (blanks < result.size() && result[blanks] == QLatin1Char('-')) {
            result[blanks] = QLatin1Char('0');
            result[0] = QLatin1Char('-');
        }
    }
    return result;
}

QString HexStr(quint32 V, int N) { return DigitText(V, N, 8, 16); }
QString OctStr(quint32 V, int N) { return DigitText(V, N, 11, 8); }
QString BinStr(quint32 V, int N) { return DigitText(V, N, 32, 2); }

void SetBeepHook(TBeepHook hook) { BeepHook() = std::move(hook); }

void SoundBeep()
{
    if (BeepHook())
        BeepHook()();
    else
        QApplication::beep();
}

// ---- ConvertNumString and the texts the field writes ---------------------------------

namespace {

/// "1e", "1e+" and "1e-" are exponents being typed: the number is read without them.
QStringView WithoutDanglingExponent(QStringView text)
{
    const qsizetype e = text.indexOf(u'e', 0, Qt::CaseInsensitive);
    if (e < 0)
        return text;
    const QStringView rest = text.mid(e + 1);
    const bool dangling = rest.isEmpty() || (rest.size() == 1 && (rest[0] == u'+' || rest[0] == u'-'));
    return dangling ? text.first(e) : text;
}

bool ScanWholeFloat(QStringView text, bool expAllowed, int sepMode, double &v)
{
    int pos = 1;
    v = ScanFloatNum(text, expAllowed, sepMode, pos);
    return pos == text.size() + 1;
}

bool ScanWholeRadix(QStringView text, TInFormat format, double &v)
{
    static constexpr char16_t kPrefix[] = {u'$', u'&', u'%'};
    const int notation = format == TNumFormat::itHex ? 0 : format == TNumFormat::itOct ? 1 : 2;
    // Starting behind the prefix also keeps ScanHex from skipping a second "$".
    int pos = text.startsWith(kPrefix[notation]) ? 2 : 1;
    qint32 value = 0;
    switch (notation) {
    case 0: value = ScanHex(text, pos); break;
    case 1: value = ScanOct(text, pos); break;
    default: value = ScanBin(text, pos); break;
    }
    v = value;
    return pos == text.size() + 1;
}

TInFormat DynamicFormat(QChar first)
{
    switch (first.unicode()) {
    case u'$': return TNumFormat::itHex;
    case u'%': return TNumFormat::itBin;
    case u'&': return TNumFormat::itOct;
    default: return TNumFormat::itExp;
    }
}

/// The 32-bit pattern the digit writers show for `v`: rounded half to even and held
/// to the signed 32-bit range the scanners read back, so a value beyond it shows the
/// nearest one instead of its low bits.
quint32 DigitPattern(double v)
{
    const double limited = std::clamp(RoundHalfEven(v), double(std::numeric_limits<qint32>::min()),
                                      double(std::numeric_limits<qint32>::max()));
    return quint32(qint32(limited));
}

/// At least `minDigits`, more when the pattern needs them: eight octal or binary
/// digits hold only 24 or 8 bits, and a value cut to them would read back wrong.
QString DigitsAtLeast(quint32 pattern, int minDigits, int base)
{
    TLatin1Text text;
    text.AppendInteger(pattern, base, minDigits);
    return text.ToQString();
}

} // namespace

namespace {

bool ConvertNonEmpty(QStringView S, TInFormat Format, int SepMode, double &V)
{
    // Positions are ints; a text this long is no number a field could hold.
    if (S.size() >= std::numeric_limits<int>::max() / 2)
        return false;
    qsizetype first = 0;
    while (first < S.size() && S[first] == u' ')
        ++first;
    const QStringView text = S.mid(first);
    if (text.contains(u' '))
        return false;
    if (text.isEmpty())
        return true;
    const TInFormat format = Format == TNumFormat::itDynamic ? DynamicFormat(text[0]) : Format;
    switch (format) {
    case TNumFormat::itExp: return ScanWholeFloat(WithoutDanglingExponent(text), true, SepMode, V);
    case TNumFormat::itFloat:
    case TNumFormat::itFixPoint: return ScanWholeFloat(text, false, SepMode, V);
    case TNumFormat::itInt: {
        int pos = 1;
        V = ScanDecInt(text, pos);
        return pos == text.size() + 1;
    }
    case TNumFormat::itHex:
    case TNumFormat::itOct:
    case TNumFormat::itBin: return ScanWholeRadix(text, format, V);
    case TNumFormat::itDynamic: break;
    }
    return false;
}

} // namespace

bool ConvertNumString(QStringView S, TInFormat Format, int SepMode, double &V)
{
    if (S.isEmpty())
        return false;
    V = 0;
    const bool ok = ConvertNonEmpty(S, Format, SepMode, V);
    if (!ok)
        V = 0; // not the part of the text a scanner managed to read
    return ok;
}

QString NumberText(double V, TInFormat Format, int FixPointDecPlaces, int SepMode)
{
    // The field only shows finite numbers, as its scanners only read them.
    const double v = ClampToDoubleRange(V);
    QString text;
    switch (Format) {
    case TNumFormat::itFloat: text = FormatNumStr(1, 8, v); break;
    case TNumFormat::itFixPoint: text = FormatNumStr(1, std::clamp(FixPointDecPlaces, 1, 8), v); break;
    case TNumFormat::itInt:
        // Held to the 32 bits ScanDecInt reads, so the field can read what it shows.
        text = FormatNumStr(1, 0, double(qint32(DigitPattern(v))));
        break;
    case TNumFormat::itHex: text = HexStr(DigitPattern(v), 8); break;
    case TNumFormat::itOct: text = DigitsAtLeast(DigitPattern(v), 8, 8); break;
    case TNumFormat::itBin: text = DigitsAtLeast(DigitPattern(v), 8, 2); break;
    case TNumFormat::itExp:
    case TNumFormat::itDynamic: text = FormatNumStr(12, -2, v); break;
    }
    // Str writes "."; a field that accepts only "," must be able to read its own text.
    const QChar separator = WrittenSeparator(SepMode);
    if (separator != QLatin1Char('.'))
        text.replace(QLatin1Char('.'), separator);
    return text;
}

} // namespace nvo
