#include "NVO_Format.h"

#include "NVO_Errors.h"

#include <QtCore/QDate>
#include <QtCore/QDateTime>
#include <QtCore/QLocale>
#include <QtCore/QTime>

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace nvo {

namespace {

// Room for the longest text of one writer: a sign, the 309 integer digits of
// 1e308, the separator and kMaxDecimals decimals, or a field of kMaxFieldWidth,
// with a few characters around it.
constexpr int kMaxFieldWidth = 255;
static_assert(1 + 309 + 1 + kMaxDecimals + 32 < TLatin1Text::kCapacity);
static_assert(kMaxFieldWidth + 32 < TLatin1Text::kCapacity);

/// The text of a value that is not a finite number; empty for a finite one.
std::string_view NonFiniteText(double value)
{
    if (std::isnan(value))
        return kNaNText;
    if (std::isinf(value))
        return value > 0 ? kInfText : kMinusInfText;
    return {};
}

/// A text that shows zero must not show a "-": -0.0 and values that round to zero
/// would otherwise read as a negative zero.
bool ShowsOnlyZeros(const char *first, const char *last)
{
    return std::none_of(first, last, [](char c) { return c >= '1' && c <= '9'; });
}

int DecimalDigitCount(quint64 value)
{
    int count = 1;
    for (quint64 power = 10; count < 20 && value >= power; power *= 10)
        ++count;
    return count;
}

/// Digits `value` needs in base 2, 8, 10 or 16.
int DigitCount(quint64 value, int base)
{
    if (base == 10)
        return DecimalDigitCount(value);
    const int bitsPerDigit = std::countr_zero(unsigned(base));
    return std::max(1, (int(std::bit_width(value)) + bitsPerDigit - 1) / bitsPerDigit);
}

/// Writes the lowest `count` digits of `value` in base 2, 8, 10 or 16 (upper case)
/// at `first`, the last digit first: the one digit writer of every integer text,
/// in Latin-1 number texts and UTF-16 date texts alike.
template<class Char>
Char *WriteLowestDigits(Char *first, int count, quint64 value, int base)
{
    Q_ASSERT(base == 2 || base == 8 || base == 10 || base == 16);
    static constexpr char kDigitChars[] = "0123456789ABCDEF";
    // "00" "01" .. "99": decimal digits two at a time, half the divisions.
    static constexpr auto kDigitPairs = [] {
        std::array<char, 200> pairs{};
        for (int i = 0; i < 100; ++i) {
            pairs[size_t(2 * i)] = char('0' + i / 10);
            pairs[size_t(2 * i + 1)] = char('0' + i % 10);
        }
        return pairs;
    }();
    Char *const end = first + count;
    if (base == 10) {
        Char *p = end;
        for (; p - first >= 2; value /= 100) {
            const size_t pair = 2 * size_t(value % 100);
            *--p = Char(kDigitPairs[pair + 1]);
            *--p = Char(kDigitPairs[pair]);
        }
        if (p != first)
            *first = Char('0' + value % 10);
    } else {
        // Powers of two take shifts: a binary text of 64 digits costs no divisions.
        const int bitsPerDigit = std::countr_zero(unsigned(base));
        for (Char *p = end; p != first; value >>= bitsPerDigit)
            *--p = Char(kDigitChars[value & quint64(base - 1)]);
    }
    return end;
}

char *WriteZeros(char *out, int count)
{
    if (count <= 0)
        return out;
    std::memset(out, '0', size_t(count));
    return out + count;
}

/// The decimal exponent of a scientific text as std::to_chars writes it,
/// "d[.ddd]e(+|-)dd[d]", with `e` at its "e".
int ExponentOf(const char *e, const char *end)
{
    int exponent = 0;
    for (const char *p = e + 2; p != end; ++p)
        exponent = exponent * 10 + (*p - '0');
    return e[1] == '-' ? -exponent : exponent;
}

/// The powers of ten 1e-307 .. 1e308 (the exponents of normal doubles), made by
/// repeated multiplication and division: each is within 2.4e-15 of its exact value
/// (relative), which is all the exponent and the quick rounding below need.
constexpr int kFirstPowerOfTen = -307;
constexpr auto kPowersOfTen = [] {
    std::array<double, 308 - kFirstPowerOfTen + 1> powers{};
    const size_t one = size_t(-kFirstPowerOfTen);
    powers[one] = 1;
    for (size_t i = one + 1; i < powers.size(); ++i)
        powers[i] = powers[i - 1] * 10;
    for (size_t i = one; i-- > 0;)
        powers[i] = powers[i + 1] / 10;
    return powers;
}();

/// The decimal exponent floor(log10(magnitude)) of a finite, non-zero magnitude,
/// without a formatting pass or a logarithm. Where the inexact power of ten
/// decides (a value within 3e-15 of a power of ten), it may come out one off:
/// rounded to fewer than 15 digits, such a value becomes that power of ten
/// whichever exponent its rounding starts from.
int DecimalExponent(double magnitude)
{
    // A subnormal's few significant bits may lie far from a power of ten in
    // relative terms although it is the nearest double to one: the logarithm is
    // exact enough there, and such values are rare.
    if (magnitude < std::numeric_limits<double>::min())
        return int(std::floor(std::log10(magnitude)));
    // magnitude is in [2^b, 2^(b+1)), so its decimal exponent is floor(b log10 2)
    // or one more. 1262611 / 2^22 is log10 2 close enough for the floor to be
    // exact for every exponent of a double (b from -1022 to 1023).
    const int binaryExponent = int(std::bit_cast<quint64>(magnitude) >> 52) - 1023;
    const int lower = (binaryExponent * 1262611) >> 22;
    // Added, not chosen by a branch: which way it goes depends on the digits alone
    // and mispredicts half the time.
    return lower + int(magnitude >= kPowersOfTen[size_t(lower + 1 - kFirstPowerOfTen)]);
}

/// A value rounded to a number of significant decimal digits: d0.d1d2... x 10^Exponent.
struct SignificantDigits
{
    bool Negative = false;
    char Digits[kMaxPrecision + 1];
    int Count = 0;
    int Exponent = 0;

    void DropTrailingZeros()
    {
        while (Count > 1 && Digits[Count - 1] == '0')
            --Count;
    }
};

/// Digit counts the quick rounding below takes; its products stay below 1e9.
constexpr int kMaxQuickSignificant = 9;

/// The powers of five that fit 64 bits: 5^0 .. 5^27.
constexpr auto kPowersOfFive = [] {
    std::array<quint64, 28> powers{};
    powers[0] = 1;
    for (size_t i = 1; i < powers.size(); ++i)
        powers[i] = powers[i - 1] * 5;
    return powers;
}();

using quint128 = unsigned __int128;

/// The sign of a x 2^shift - b, without forming a product that could overflow.
int CompareShifted(quint128 a, int shift, quint128 b)
{
    if (shift < 0)
        return -CompareShifted(b, -shift, a);
    if (shift >= 128)
        return a != 0 ? 1 : (b != 0 ? -1 : 0);
    const quint128 bHigh = b >> shift;
    if (a != bHigh)
        return a > bHigh ? 1 : -1;
    return (b & ((quint128(1) << shift) - 1)) != 0 ? -1 : 0;
}

/// The sign of magnitude - (whole + 1/2) x 10^scaleExponent, exactly, for a normal
/// magnitude and |scaleExponent| <= 27; nullopt beyond that. The magnitude is
/// M x 2^q with a 53-bit integer M, so both sides become integers of at most 116
/// bits times powers of two.
std::optional<int> CompareWithHalfway(double magnitude, quint64 whole, int scaleExponent)
{
    const int fives = std::abs(scaleExponent);
    if (fives >= int(kPowersOfFive.size()))
        return std::nullopt;
    const auto bits = std::bit_cast<quint64>(magnitude);
    const quint128 mantissa = (bits & ((quint64(1) << 52) - 1)) | (quint64(1) << 52);
    const int binaryExponent = int(bits >> 52) - 1075;
    const quint128 halfway = 2 * quint128(whole) + 1; // 2 x (whole + 1/2)
    const quint128 power = kPowersOfFive[size_t(fives)];
    // 2 x magnitude against (2 whole + 1) x 2^e x 5^e, the fives on the side where
    // their exponent is positive.
    if (scaleExponent >= 0)
        return CompareShifted(mantissa, binaryExponent + 1 - scaleExponent, halfway * power);
    return CompareShifted(mantissa * power, binaryExponent + 1 + fives, halfway);
}

/// Rounds a normal magnitude to `significant` digits by one multiplication with a
/// power of ten, into `rounded`'s digits and exponent; false where that cannot
/// decide. The product is off by less than 2.6e-15 of itself (the power's error and
/// the multiplication's), so its rounding to a whole number is certain unless it
/// lies within 1e-14 of itself from a tie; there the magnitude is compared with the
/// tie exactly. Subnormals, larger digit counts and ties beyond the exact
/// comparison's range give false, for std::to_chars to round. An exponent estimate
/// one off leaves the product a hair below 10^(significant - 1) or at about
/// 10^significant: it rounds to that power of ten, as the exact rounding does, and
/// a product that rounds up to one digit more becomes the next power.
bool QuickRoundToSignificant(double magnitude, int significant, SignificantDigits &rounded)
{
    if (significant > kMaxQuickSignificant || !(magnitude >= std::numeric_limits<double>::min()))
        return false;
    int exponent = DecimalExponent(magnitude);
    const int scaleExponent = exponent - significant + 1;
    // The largest and the smallest normal doubles can need a scale past the table.
    const int scaleIndex = -scaleExponent - kFirstPowerOfTen;
    if (scaleIndex < 0 || scaleIndex >= int(kPowersOfTen.size()))
        return false;
    const double scaled = magnitude * kPowersOfTen[size_t(scaleIndex)];
    auto whole = quint64(scaled);
    if (std::fabs(scaled - double(whole) - 0.5) >= scaled * 1e-14) {
        whole += quint64(scaled - double(whole) > 0.5);
    } else {
        const std::optional<int> side = CompareWithHalfway(magnitude, whole, scaleExponent);
        if (!side)
            return false;
        whole += quint64(*side > 0 || (*side == 0 && whole % 2 != 0));
    }
    // Powers of ten up to 10^22 are exact doubles.
    if (whole == quint64(kPowersOfTen[size_t(significant - kFirstPowerOfTen)])) {
        whole /= 10;
        ++exponent;
    }
    WriteLowestDigits(rounded.Digits, significant, whole, 10);
    rounded.Count = significant;
    rounded.Exponent = exponent;
    return true;
}

/// `value` rounded to `significant` (1..kMaxPrecision + 1) digits, on its exact
/// binary value with ties to the even digit; a rounded zero is never negative.
SignificantDigits RoundToSignificant(double value, int significant)
{
    SignificantDigits rounded;
    if (QuickRoundToSignificant(std::fabs(value), significant, rounded)) {
        rounded.Negative = value < 0;
        return rounded;
    }
    char buffer[kMaxPrecision + 16];
    const char *const end = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                          std::chars_format::scientific, significant - 1).ptr;
    // to_chars wrote d[.ddd]e(+|-)dd[d]: digits, then the exponent.
    rounded.Digits[0] = buffer[0];
    rounded.Count = 1;
    const char *p = buffer + 1;
    if (*p == '.') {
        for (++p; *p != 'e'; ++p)
            rounded.Digits[rounded.Count++] = *p;
    }
    rounded.Exponent = ExponentOf(p, end);
    rounded.Negative = std::signbit(value)
                       && !ShowsOnlyZeros(rounded.Digits, rounded.Digits + rounded.Count);
    return rounded;
}

/// How a scientific text is written: the exponent a multiple of `Step` (1, or 3
/// for engineering notation), with or without the digits after the point, and at
/// least `ExponentDigits` exponent digits.
struct ScientificForm
{
    int Step = 1;
    bool Fraction = true;
    int ExponentDigits = 3;
};

/// Scientific notation of a finite `value` rounded to `significant` digits, written
/// at `out`; returns the end. Most value texts of a label are this writer.
char *WriteScientific(char *out, double value, int significant, char separator,
                      const ScientificForm &form)
{
    const SignificantDigits rounded = RoundToSignificant(value, significant);
    if (rounded.Negative)
        *out++ = '-';
    const int shift = form.Step == 1 ? 0 : ((rounded.Exponent % 3) + 3) % 3;
    // Moving the point right by `shift`; a rounding carry (99.6 -> 1.0e2) or few
    // significant digits leave fewer digits than the integer part needs: zeros.
    for (int i = 0; i <= shift; ++i)
        *out++ = i < rounded.Count ? rounded.Digits[i] : '0';
    if (form.Fraction && rounded.Count > shift + 1) {
        *out++ = separator;
        out = std::copy(rounded.Digits + shift + 1, rounded.Digits + rounded.Count, out);
    }
    const int exponent = rounded.Exponent - shift;
    *out++ = 'E';
    *out++ = exponent < 0 ? '-' : '+';
    // A double's decimal exponent has at most three digits.
    const int magnitude = std::abs(exponent);
    const int exponentDigits = 1 + int(magnitude >= 10) + int(magnitude >= 100);
    return WriteLowestDigits(out, std::max(form.ExponentDigits, exponentDigits), quint64(magnitude), 10);
}

/// The general form's fixed notation of a value rounded to P digits, for
/// -5 <= Exponent < P; its trailing zeros are already dropped.
char *WriteGeneralFixed(char *out, const SignificantDigits &rounded, char separator)
{
    const char *digits = rounded.Digits;
    if (rounded.Exponent < 0) {
        *out++ = '0';
        *out++ = separator;
        out = WriteZeros(out, -rounded.Exponent - 1);
        return std::copy(digits, digits + rounded.Count, out);
    }
    const int integerDigits = rounded.Exponent + 1;
    out = std::copy(digits, digits + std::min(integerDigits, rounded.Count), out);
    out = WriteZeros(out, integerDigits - rounded.Count);
    if (rounded.Count > integerDigits) {
        *out++ = separator;
        out = std::copy(digits + integerDigits, digits + rounded.Count, out);
    }
    return out;
}

/// The general form's scientific notation: d0[.d1d2...], "E", "-" only for negative
/// exponents, no leading exponent zeros.
char *WriteGeneralScientific(char *out, const SignificantDigits &rounded, char separator)
{
    *out++ = rounded.Digits[0];
    if (rounded.Count > 1) {
        *out++ = separator;
        out = std::copy(rounded.Digits + 1, rounded.Digits + rounded.Count, out);
    }
    *out++ = 'E';
    if (rounded.Exponent < 0)
        *out++ = '-';
    const quint64 magnitude = quint64(std::abs(rounded.Exponent));
    return WriteLowestDigits(out, DecimalDigitCount(magnitude), magnitude, 10);
}

} // namespace

// --- Number texts written in place -----------------------------------------------

void TLatin1Text::Append(std::string_view text)
{
    FEnd = std::copy(text.begin(), text.end(), FEnd);
}

void TLatin1Text::AppendFixed(double value, int decimals, char separator)
{
    if (const std::string_view special = NonFiniteText(value); !special.empty()) {
        Append(special);
        return;
    }
    decimals = std::clamp(decimals, 0, kMaxDecimals);
    char *const start = FEnd;
    char *const end = std::to_chars(start, FChars.data() + kCapacity, value,
                                    std::chars_format::fixed, decimals).ptr;
    if (decimals > 0)
        end[-decimals - 1] = separator;
    if (*start == '-' && ShowsOnlyZeros(start + 1, end)) {
        std::copy(start + 1, end, start);
        FEnd = end - 1;
    } else {
        FEnd = end;
    }
}

void TLatin1Text::AppendScientific(double value, int significant, char separator,
                                   int minExponentDigits)
{
    if (const std::string_view special = NonFiniteText(value); !special.empty()) {
        Append(special);
        return;
    }
    FEnd = WriteScientific(FEnd, value, std::clamp(significant, 1, kMaxPrecision + 1), separator,
                           {1, true, std::clamp(minExponentDigits, 1, 4)});
}

bool TLatin1Text::AppendScientificOrAsterisks(double value, int significant, char separator,
                                              int exponentDigits)
{
    exponentDigits = std::clamp(exponentDigits, 1, 4);
    char *const start = FEnd;
    AppendScientific(value, significant, separator, exponentDigits);
    if (!std::isfinite(value))
        return true;
    const char *firstExponentDigit = FEnd;
    while (firstExponentDigit[-1] >= '0' && firstExponentDigit[-1] <= '9')
        --firstExponentDigit;
    const int excess = int(FEnd - firstExponentDigit) - exponentDigits;
    if (excess <= 0)
        return true;
    FEnd -= excess;
    std::fill(start, FEnd, '*');
    return false;
}

void TLatin1Text::AppendEngineering(double value, int significant, char separator)
{
    if (const std::string_view special = NonFiniteText(value); !special.empty()) {
        Append(special);
        return;
    }
    FEnd = WriteScientific(FEnd, value, std::clamp(significant, 1, kMaxPrecision + 1), separator,
                           {3, true, 3});
}

void TLatin1Text::AppendEngineeringWhole(double value)
{
    if (const std::string_view special = NonFiniteText(value); !special.empty()) {
        Append(special);
        return;
    }
    // The mantissa keeps exactly its integer digits, and how many those are depends
    // on the exponent: the decimal exponent of the value itself decides. When the
    // rounding raises it (999.7 -> 1000), the carried value is a power of ten and
    // the writer's shift gives its digits: zeros, or a new one-digit mantissa.
    const int exponent = value == 0 ? 0 : DecimalExponent(std::fabs(value));
    FEnd = WriteScientific(FEnd, value, ((exponent % 3) + 3) % 3 + 1, '.', {3, false, 3});
}

void TLatin1Text::AppendGeneral(double value, int precision, char separator)
{
    if (const std::string_view special = NonFiniteText(value); !special.empty()) {
        Append(special);
        return;
    }
    if (value == 0) {
        Append('0');
        return;
    }
    const int significant = std::clamp(precision, 1, kMaxPrecision);
    SignificantDigits rounded = RoundToSignificant(value, significant);
    rounded.DropTrailingZeros();
    if (rounded.Negative)
        Append('-');
    FEnd = rounded.Exponent >= -5 && rounded.Exponent < significant
               ? WriteGeneralFixed(FEnd, rounded, separator)
               : WriteGeneralScientific(FEnd, rounded, separator);
}

void TLatin1Text::AppendInteger(qint64 value, int base, int minDigits)
{
    // The magnitude in unsigned arithmetic: -2^63 has no positive qint64.
    const quint64 magnitude = value < 0 ? 0 - quint64(value) : quint64(value);
    if (value < 0)
        Append('-');
    const int digits = DigitCount(magnitude, base);
    FEnd = WriteZeros(FEnd, std::min(minDigits, kMaxDecimals) - digits);
    FEnd = WriteLowestDigits(FEnd, digits, magnitude, base);
}

void TLatin1Text::AppendLowestDigits(quint64 value, int base, int digits)
{
    digits = std::clamp(digits, 1, kMaxDecimals);
    // Beyond the digits the value has, only zeros: no digit loop over them.
    const int valueDigits = std::min(digits, DigitCount(value, base));
    FEnd = WriteZeros(FEnd, digits - valueDigits);
    FEnd = WriteLowestDigits(FEnd, valueDigits, value, base);
}

bool TLatin1Text::AppendSexagesimal(double degrees, int decimals, bool withSeconds, char separator)
{
    constexpr double kInt64Limit = 9223372036854775808.0; // 2^63
    if (!std::isfinite(degrees))
        return false;
    const double total = std::fabs(degrees) * (withSeconds ? 3600.0 : 60.0);
    if (total >= kInt64Limit)
        return false;
    decimals = std::clamp(decimals, 0, kMaxPrecision);
    // Rounding the fraction of the last field may carry into the whole units
    // (59.996' -> 60.00'): the carry goes into the count before it is split.
    const double whole = std::floor(total);
    char fraction[kMaxPrecision + 8];
    char *fractionEnd = std::to_chars(fraction, fraction + sizeof fraction, total - whole,
                                      std::chars_format::fixed, decimals).ptr;
    qint64 units = qint64(whole);
    if (fraction[0] == '1') {
        ++units;
        fractionEnd = std::to_chars(fraction, fraction + sizeof fraction, 0.0,
                                    std::chars_format::fixed, decimals).ptr;
    }
    if (std::signbit(degrees) && (units != 0 || !ShowsOnlyZeros(fraction, fractionEnd)))
        Append('-');
    AppendInteger(units / (withSeconds ? 3600 : 60));
    Append(kDegreeSign);
    if (withSeconds) {
        FEnd = WriteLowestDigits(FEnd, 2, quint64(units / 60 % 60), 10);
        Append('\'');
    }
    FEnd = WriteLowestDigits(FEnd, 2, quint64(units % 60), 10);
    if (decimals > 0) {
        fraction[1] = separator;
        FEnd = std::copy(fraction + 1, fractionEnd, FEnd); // without the leading "0"
    }
    Append(withSeconds ? '"' : '\'');
    return true;
}

void TLatin1Text::AppendStr(double value, int width, int decimals)
{
    char *const start = FEnd;
    if (!std::isfinite(value) || decimals >= 0) {
        AppendFixed(value, std::min(decimals, kMaxPrecision), '.');
    } else {
        const int fractionDigits = std::clamp(width - 9, 0, kMaxPrecision);
        if (!(value < 0))
            Append(' ');
        AppendScientific(value, fractionDigits + 1, '.', 4);
    }
    AlignRightFrom(start, width);
}

void TLatin1Text::AlignRightFrom(char *start, int fieldWidth)
{
    const int padding = std::min(fieldWidth, kMaxFieldWidth) - int(FEnd - start);
    if (padding <= 0)
        return;
    std::copy_backward(start, FEnd, FEnd + padding);
    std::fill_n(start, padding, ' ');
    FEnd += padding;
}

// --- Numbers ---------------------------------------------------------------------

namespace {

/// A text of the writers above as a QString with the separator `decSep`: written
/// directly when it is Latin-1, and as "." replaced at the end otherwise (the
/// texts have no other ".").
template<class Write>
QString WithSeparator(QChar decSep, Write write)
{
    TLatin1Text text;
    const bool latin1 = decSep.unicode() <= 0xFF;
    write(text, latin1 ? char(decSep.unicode()) : '.');
    if (latin1)
        return text.ToQString();
    QString result = text.ToQString();
    result.replace(QLatin1Char('.'), decSep);
    return result;
}

} // namespace

QChar LocaleDecimalSeparator()
{
    const QString separator = QLocale().decimalPoint();
    return separator.isEmpty() ? QLatin1Char('.') : separator.front();
}

double RoundHalfEven(double value)
{
    // From 2^52 on every double is an integer; NaN fails the test as well.
    if (!(std::fabs(value) < 4503599627370496.0))
        return value;
    // The cast truncates whatever rounding mode the FPU is in, and below 2^52 the
    // fraction left is exact: the decision needs no library call (every date text
    // and integer display rounds through here).
    const double whole = double(qint64(value));
    const double fraction = std::fabs(value - whole);
    const bool odd = (qint64(whole) & 1) != 0;
    if (fraction > 0.5 || (fraction == 0.5 && odd))
        return value < 0 ? whole - 1 : whole + 1;
    return whole;
}

std::optional<qint64> RoundToInt64(double value)
{
    constexpr double kTwoPow63 = 9223372036854775808.0;
    const double rounded = RoundHalfEven(value);
    if (!(rounded >= -kTwoPow63 && rounded < kTwoPow63)) // also false for NaN
        return std::nullopt;
    return static_cast<qint64>(rounded);
}

QString FormatFixed(double value, int precision, QChar decSep)
{
    return WithSeparator(decSep, [&](TLatin1Text &text, char separator) {
        text.AppendFixed(value, std::clamp(precision, 0, kMaxPrecision), separator);
    });
}

QString FormatExp(double value, int precision, QChar decSep)
{
    return WithSeparator(decSep, [&](TLatin1Text &text, char separator) {
        text.AppendScientific(value, std::clamp(precision, 1, kMaxPrecision), separator);
    });
}

QString FormatGeneral(double value, int precision, QChar decSep)
{
    return WithSeparator(decSep, [&](TLatin1Text &text, char separator) {
        text.AppendGeneral(value, precision, separator);
    });
}

QString FormatInt(qint64 value)
{
    TLatin1Text text;
    text.AppendInteger(value);
    return text.ToQString();
}

QString Str(double value, int width, int decimals)
{
    TLatin1Text text;
    text.AppendStr(value, width, decimals);
    return text.ToQString();
}

namespace {

/// Decimal exponent of the first significant digit of a syntactically valid,
/// unsigned number text (mantissa digits, optional point, optional exponent);
/// only its sign matters, to tell overflow from underflow.
long long DecimalOrder(std::string_view number)
{
    const size_t exponentAt = number.find_first_of("eE");
    long long exponent = 0;
    if (exponentAt != std::string_view::npos) {
        std::string_view digits = number.substr(exponentAt + 1);
        const bool negative = !digits.empty() && digits.front() == '-';
        if (!digits.empty() && (digits.front() == '-' || digits.front() == '+'))
            digits.remove_prefix(1);
        for (char c : digits) // saturate: the order only has to keep its sign
            exponent = std::min(exponent * 10 + (c - '0'), 1'000'000'000LL);
        if (negative)
            exponent = -exponent;
    }
    const std::string_view mantissa = number.substr(0, exponentAt);
    const size_t point = std::min(mantissa.find('.'), mantissa.size());
    const size_t firstSignificant = mantissa.find_first_of("123456789");
    if (firstSignificant == std::string_view::npos)
        return std::numeric_limits<long long>::min(); // zero
    const long long position = firstSignificant < point
        ? static_cast<long long>(point - firstSignificant) - 1
        : -static_cast<long long>(firstSignificant - point);
    return exponent + position;
}

/// std::from_chars of a decimal text in ASCII (a sign only as "-"), a magnitude
/// beyond the double range read as infinity and one below it as zero, each with the
/// text's sign; nullopt when from_chars reads no number.
std::optional<double> DecimalValue(std::string_view number)
{
    double value = 0;
    const auto result =
        std::from_chars(number.data(), number.data() + number.size(), value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        const double magnitude = DecimalOrder(number) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
        return number.front() == '-' ? -magnitude : magnitude;
    }
    if (result.ec != std::errc())
        return std::nullopt;
    return value;
}

/// Checks the decimal syntax Val accepts (after the sign) and copies it to ASCII.
std::optional<std::string> DecimalSyntax(QStringView text)
{
    std::string ascii;
    ascii.reserve(size_t(text.size()));
    qsizetype i = 0;
    const auto digitRun = [&] {
        const qsizetype start = i;
        while (i < text.size() && text[i] >= u'0' && text[i] <= u'9')
            ascii.push_back(char(text[i++].unicode()));
        return i - start;
    };
    qsizetype mantissaDigits = digitRun();
    if (i < text.size() && text[i] == u'.') {
        ascii.push_back('.');
        ++i;
        mantissaDigits += digitRun();
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        ascii.push_back('e');
        ++i;
        if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
            ascii.push_back(char(text[i++].unicode()));
        if (digitRun() == 0)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;
    return ascii;
}

} // namespace

std::optional<double> Val(QStringView text)
{
    while (!text.isEmpty() && text.front() == u' ')
        text = text.mid(1);
    bool negative = false;
    if (!text.isEmpty() && (text.front() == u'+' || text.front() == u'-')) {
        negative = text.front() == u'-';
        text = text.mid(1);
    }
    const std::optional<std::string> number = DecimalSyntax(text);
    if (!number)
        return std::nullopt;
    const double value = DecimalValue(*number).value_or(0.0);
    return negative ? -value : value;
}


// --- Dates and times ---------------------------------------------------------------

namespace {

constexpr qint64 kMsPerDay = 86'400'000;
constexpr qint64 kEpochJulianDay = 2'415'019; // 1899-12-30
constexpr qint64 kFirstDay = -693'593;        // 0001-01-01
constexpr qint64 kLastDay = 2'958'465;        // 9999-12-31

/// A date-time value taken apart: the calendar day counted from 1899-12-30 and
/// the millisecond of that day.
struct DayAndTime
{
    qint64 Day;
    qint64 Msec;

    QDate Date() const { return QDate::fromJulianDay(kEpochJulianDay + Day); }
};

std::optional<DayAndTime> Split(TDateTime dateTime)
{
    // The first test also keeps NaN and huge values away from the integer casts.
    if (!(dateTime > double(kFirstDay - 1) && dateTime < double(kLastDay + 1)))
        return std::nullopt;
    const double whole = std::trunc(dateTime);
    DayAndTime split{qint64(whole), qint64(RoundHalfEven(std::fabs(dateTime - whole) * kMsPerDay))};
    if (split.Msec >= kMsPerDay) { // rounded up to midnight: the next calendar day
        split.Msec -= kMsPerDay;
        ++split.Day;
    }
    if (split.Day < kFirstDay || split.Day > kLastDay)
        return std::nullopt;
    return split;
}

TDateTime Join(qint64 day, qint64 msec)
{
    const double fraction = double(msec) / double(kMsPerDay);
    return day >= 0 ? double(day) + fraction : double(day) - fraction;
}

/// The calendar fields of a split value, by the proleptic Gregorian calendar as
/// QDate counts it, computed directly: a label that shows a date-time value at a
/// high rate takes it apart for every text.
struct CalendarFields
{
    int Year, Month, Day;
    int DayOfWeek; ///< 0 = Sunday .. 6 = Saturday, as the day name tables count
    int Hour, Minute, Second, Msec;

    explicit CalendarFields(const DayAndTime &value)
    {
        // Days counted from 0000-03-01, so that the leap day ends each counted
        // year; every valid date lies after it. 400 years have 146097 days.
        constexpr qint64 kDaysFromMarchOfYear0 = 693'899;
        const qint64 days = value.Day + kDaysFromMarchOfYear0;
        const qint64 era = days / 146'097;
        const qint64 dayOfEra = days - era * 146'097;
        const qint64 yearOfEra =
            (dayOfEra - dayOfEra / 1460 + dayOfEra / 36'524 - dayOfEra / 146'096) / 365;
        const qint64 dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
        const qint64 monthFromMarch = (5 * dayOfYear + 2) / 153;
        Day = int(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
        Month = int(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
        Year = int(era * 400 + yearOfEra + (Month <= 2 ? 1 : 0));
        // 1899-12-30 was a Saturday (6); 693601 is 6 plus a multiple of 7 that keeps
        // the sum positive for every valid day.
        DayOfWeek = int(quint64(value.Day + 693'601) % 7);
        Hour = int(value.Msec / 3'600'000);
        Minute = int(value.Msec / 60'000 % 60);
        Second = int(value.Msec / 1000 % 60);
        Msec = int(value.Msec % 1000);
    }
};

} // namespace

TDateTime EncodeDate(int year, int month, int day)
{
    if (year < 1 || year > 9999 || !QDate::isValid(year, month, day))
        throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    return double(QDate(year, month, day).toJulianDay() - kEpochJulianDay);
}

TDateTime EncodeTime(int hour, int min, int sec, int msec)
{
    if (hour < 0 || hour >= 24 || min < 0 || min >= 60 || sec < 0 || sec >= 60 || msec < 0
        || msec >= 1000)
        throw EConvertError(QStringLiteral("Invalid argument to time encode"));
    return double(((hour * 60LL + min) * 60 + sec) * 1000 + msec) / double(kMsPerDay);
}

void DecodeDate(TDateTime dateTime, int &year, int &month, int &day)
{
    year = month = day = 0;
    if (const auto split = Split(dateTime)) {
        const CalendarFields fields(*split);
        year = fields.Year;
        month = fields.Month;
        day = fields.Day;
    }
}

void DecodeTime(TDateTime dateTime, int &hour, int &min, int &sec, int &msec)
{
    hour = min = sec = msec = 0;
    if (const auto split = Split(dateTime)) {
        const CalendarFields fields(*split);
        hour = fields.Hour;
        min = fields.Minute;
        sec = fields.Second;
        msec = fields.Msec;
    }
}

int DayOfTheWeek(TDateTime dateTime)
{
    const auto split = Split(dateTime);
    if (!split)
        return 0;
    const int sundayFirst = CalendarFields(*split).DayOfWeek;
    return sundayFirst == 0 ? 7 : sundayFirst;
}

int WeekOfTheYear(TDateTime dateTime)
{
    const auto split = Split(dateTime);
    return split ? split->Date().weekNumber() : 0;
}

TDateTime DateTimeFromQDateTime(const QDateTime &dateTime)
{
    if (!dateTime.isValid())
        return 0;
    return Join(dateTime.date().toJulianDay() - kEpochJulianDay,
                dateTime.time().msecsSinceStartOfDay());
}

QDateTime DateTimeToQDateTime(TDateTime dateTime, Qt::TimeSpec timeSpec)
{
    const auto split = Split(dateTime);
    if (!split)
        return {};
    return QDateTime(split->Date(), QTime::fromMSecsSinceStartOfDay(int(split->Msec)), timeSpec);
}

namespace {

template<size_t N>
std::array<QString, N> NameTable(const char *const (&names)[N])
{
    std::array<QString, N> table;
    std::transform(names, names + N, table.begin(),
                   [](const char *name) { return QString::fromLatin1(name); });
    return table;
}

} // namespace

const TFormatSettings &EnglishFormatSettings()
{
    static const TFormatSettings settings{
        QLatin1Char('/'),
        QLatin1Char(':'),
        QStringLiteral("m/d/yyyy"),
        QStringLiteral("dddd, mmmm d, yyyy"),
        QStringLiteral("h:nn AMPM"),
        QStringLiteral("h:nn:ss AMPM"),
        QStringLiteral("AM"),
        QStringLiteral("PM"),
        NameTable({"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov",
                   "Dec"}),
        NameTable({"January", "February", "March", "April", "May", "June", "July", "August",
                   "September", "October", "November", "December"}),
        NameTable({"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"}),
        NameTable({"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"}),
    };
    return settings;
}

namespace {

/// The format letters are ASCII, and no other character lowers to one of them
/// (only U+0130 and U+212A lower to ASCII, to "i" and "k"): lowering ASCII alone
/// reads every format as a full case mapping would.
constexpr char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; }

/// A date text under construction, written straight into the QString that is the
/// result: it starts with room for a typical date text and doubles its room when
/// a format writes more.
class Utf16Text
{
public:
    void Append(QChar c) { *Room(1) = c.unicode(); }
    void Append(QStringView text) { std::copy(text.utf16(), text.utf16() + text.size(), Room(text.size())); }
    /// A field of a date or time (0 .. 9999) with at least `minDigits` (1..4) digits.
    void AppendNumber(int value, int minDigits)
    {
        const int digits = std::max(minDigits, DecimalDigitCount(quint64(value)));
        WriteLowestDigits(Room(digits), digits, quint64(value), 10);
    }
    QString ToQString()
    {
        FText.truncate(FSize);
        return std::move(FText);
    }

private:
    /// Room for `count` more characters, at the end of the text.
    char16_t *Room(qsizetype count)
    {
        if (FText.size() - FSize < count) {
            FText.resize(std::max(2 * FText.size(), FSize + count));
            FChars = reinterpret_cast<char16_t *>(FText.data());
        }
        char16_t *const at = FChars + FSize;
        FSize += count;
        return at;
    }

    // Copying into the QString at the end cost more than all the rest of a date
    // text, so the text is written where it stays.
    QString FText{32, Qt::Uninitialized};
    char16_t *FChars = reinterpret_cast<char16_t *>(FText.data());
    qsizetype FSize = 0;
};

/// Writes one date-time value by a format, following the format letters one
/// token at a time.
class DateTimeWriter
{
public:
    DateTimeWriter(const TFormatSettings &settings, const DayAndTime &value)
        : FSettings(settings)
        , FMsecOfDay(value.Msec)
        , FFields(value)
    {
    }

    void Write(QStringView format, int depth);
    QString Result() { return FText.ToQString(); }

private:
    // The formats of the settings may refer to each other ("c" in a date format);
    // a cycle must end instead of recursing without bound.
    static constexpr int kMaxNesting = 3;

    void WriteNested(QStringView format, int depth)
    {
        if (depth < kMaxNesting)
            Write(format, depth + 1);
    }
    static qsizetype RunLength(QStringView format, qsizetype at);
    static bool AmPmFollows(QStringView format, qsizetype from);
    static bool StartsWith(QStringView format, qsizetype at, std::u16string_view specifier)
    {
        if (format.size() - at < qsizetype(specifier.size()))
            return false;
        for (size_t k = 0; k < specifier.size(); ++k)
            if (AsciiLower(format[at + qsizetype(k)].unicode()) != specifier[k])
                return false;
        return true;
    }

    const TFormatSettings &FSettings;
    qint64 FMsecOfDay;
    CalendarFields FFields;
    Utf16Text FText;
};

qsizetype DateTimeWriter::RunLength(QStringView format, qsizetype at)
{
    const char16_t letter = AsciiLower(format[at].unicode());
    qsizetype end = at + 1;
    while (end < format.size() && AsciiLower(format[end].unicode()) == letter)
        ++end;
    return end - at;
}

bool DateTimeWriter::AmPmFollows(QStringView format, qsizetype from)
{
    for (qsizetype i = from; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == u'\'' || c == u'"') {
            const qsizetype close = format.indexOf(c, i + 1);
            if (close < 0)
                return false;
            i = close;
        } else if (StartsWith(format, i, u"am/pm") || StartsWith(format, i, u"a/p")
                   || StartsWith(format, i, u"ampm")) {
            return true;
        }
    }
    return false;
}

void DateTimeWriter::Write(QStringView format, int depth)
{
    // "m" right after an hour means minutes; literal text in between keeps that.
    bool afterHour = false;
    qsizetype i = 0;
    while (i < format.size()) {
        const QChar c = format[i];
        const char16_t letter = AsciiLower(c.unicode());
        const qsizetype run = RunLength(format, i);
        bool isHour = false;
        switch (letter) {
        case u'\'':
        case u'"': {
            const qsizetype close = format.indexOf(c, i + 1);
            const qsizetype end = close < 0 ? format.size() : close;
            FText.Append(format.mid(i + 1, end - i - 1));
            i = end + 1;
            continue;
        }
        case u'c':
            WriteNested(FSettings.ShortDateFormat, depth);
            if (FMsecOfDay != 0) {
                FText.Append(QLatin1Char(' '));
                WriteNested(FSettings.LongTimeFormat, depth);
            }
            i += 1;
            break;
        case u'd': {
            const qsizetype take = std::min<qsizetype>(run, 6);
            switch (take) {
            case 1: FText.AppendNumber(FFields.Day, 1); break;
            case 2: FText.AppendNumber(FFields.Day, 2); break;
            case 3: FText.Append(FSettings.ShortDayNames[size_t(FFields.DayOfWeek)]); break;
            case 4: FText.Append(FSettings.LongDayNames[size_t(FFields.DayOfWeek)]); break;
            case 5: WriteNested(FSettings.ShortDateFormat, depth); break;
            default: WriteNested(FSettings.LongDateFormat, depth); break;
            }
            i += take;
            break;
        }
        case u'm': {
            const qsizetype take = std::min<qsizetype>(run, 4);
            if (afterHour && take <= 2)
                FText.AppendNumber(FFields.Minute, int(take));
            else if (take <= 2)
                FText.AppendNumber(FFields.Month, int(take));
            else
                FText.Append((take == 3 ? FSettings.ShortMonthNames
                                        : FSettings.LongMonthNames)[size_t(FFields.Month - 1)]);
            i += take;
            break;
        }
        case u'y':
            if (run <= 2)
                FText.AppendNumber(FFields.Year % 100, 2);
            else
                FText.AppendNumber(FFields.Year, 4);
            i += run;
            break;
        case u'h': {
            const qsizetype take = std::min<qsizetype>(run, 2);
            int hour = FFields.Hour;
            if (AmPmFollows(format, i + take))
                hour = hour % 12 == 0 ? 12 : hour % 12;
            FText.AppendNumber(hour, int(take));
            isHour = true;
            i += take;
            break;
        }
        case u'n':
        case u's': {
            const qsizetype take = std::min<qsizetype>(run, 2);
            FText.AppendNumber(letter == u'n' ? FFields.Minute : FFields.Second, int(take));
            i += take;
            break;
        }
        case u'z': {
            const qsizetype take = std::min<qsizetype>(run, 3);
            FText.AppendNumber(FFields.Msec, take == 1 ? 1 : 3);
            i += take;
            break;
        }
        case u't': {
            const qsizetype take = std::min<qsizetype>(run, 2);
            WriteNested(take == 1 ? FSettings.ShortTimeFormat : FSettings.LongTimeFormat, depth);
            i += take;
            break;
        }
        case u'a': {
            const bool morning = FFields.Hour < 12;
            if (StartsWith(format, i, u"am/pm")) {
                FText.Append(format.mid(morning ? i : i + 3, 2));
                i += 5;
            } else if (StartsWith(format, i, u"a/p")) {
                FText.Append(format.mid(morning ? i : i + 2, 1));
                i += 3;
            } else if (StartsWith(format, i, u"ampm")) {
                FText.Append(morning ? FSettings.TimeAMString : FSettings.TimePMString);
                i += 4;
            } else {
                FText.Append(c);
                i += 1;
                continue; // a plain letter is literal text
            }
            break;
        }
        case u'/':
            FText.Append(FSettings.DateSeparator);
            i += 1;
            continue;
        case u':':
            FText.Append(FSettings.TimeSeparator);
            i += 1;
            continue;
        default:
            FText.Append(c);
            i += 1;
            continue;
        }
        afterHour = isHour;
    }
}

} // namespace

QString FormatDateTime(const QString &format, TDateTime dateTime)
{
    return FormatDateTime(format, dateTime, EnglishFormatSettings());
}

QString FormatDateTime(const QString &format, TDateTime dateTime, const TFormatSettings &settings)
{
    const auto split = Split(dateTime);
    if (!split)
        return {};
    DateTimeWriter writer(settings, *split);
    writer.Write(format.isEmpty() ? u"c" : QStringView(format), 0);
    return writer.Result();
}

// --- Numbers in free text -------------------------------------------------------------

namespace {

bool CanStartClipNumber(QChar c)
{
    return c == u'+' || c == u'-' || c == u'.' || (c >= u'0' && c <= u'9');
}

/// The number text read so far as a double; an exponent without digits counts as none
/// (the conversion stops before its "E").
double ConvertClipNumber(std::string &number)
{
    if (number.back() == '.')
        number.push_back('0');
    const std::string_view text = std::string_view(number).substr(number.front() == '+' ? 1 : 0);
    constexpr double kLargest = std::numeric_limits<double>::max();
    return std::clamp(DecimalValue(text).value_or(0.0), -kLargest, kLargest);
}

/// How ReadClipNumber takes its text: a single number as it stands, or a number of
/// a pasted text, where tabs and carriage returns count as blanks and a blank follows
/// the end (so the text need not be copied to make them so).
enum class ClipText { Single, Pasted };

/// ScanClipNumber with the number text copied into `number`, which a caller reading
/// many numbers reuses: a pasted table of a million numbers then costs no string and
/// no allocation per number. The reading states (start, after the sign, integer
/// digits, after the separator, fraction digits, after "E", after the exponent's
/// sign, exponent digits) are walked as runs of characters; the text is copied once
/// its end is known.
double ReadClipNumber(QStringView text, bool allowExponent, TClipSeparators separators, qsizetype &pos,
                      std::string &number, ClipText kind)
{
    const bool pasted = kind == ClipText::Pasted;
    // Past the end a letter, which ends every number and starts none (a blank when
    // pasted).
    const auto at = [&](qsizetype i) -> char16_t {
        const char16_t c = i < text.size() ? text[i].unicode() : pasted ? u' ' : u'Z';
        return pasted && (c == u'\t' || c == u'\r') ? u' ' : c;
    };
    const auto isDigit = [](char16_t c) { return c >= u'0' && c <= u'9'; };
    const auto isSign = [](char16_t c) { return c == u'+' || c == u'-'; };
    const auto isSeparator = [&](char16_t c) {
        return ((separators & csPoint) && c == u'.') || ((separators & csComma) && c == u',');
    };
    const auto isE = [&](char16_t c) { return allowExponent && (c == u'E' || c == u'e'); };
    const auto skipDigits = [&] {
        while (isDigit(at(pos)))
            ++pos;
    };
    while (at(pos) == u' ')
        ++pos;
    const qsizetype start = pos;
    char16_t c = at(pos);
    if (isSign(c)) {
        c = at(++pos);
        if (!isSeparator(c) && !isDigit(c))
            return 0.0;
    } else if (!isSeparator(c) && !isDigit(c)) {
        return 0.0;
    }
    skipDigits();
    // One separator; a second one ends the number: in "1.5, 2.5" the comma is the list's.
    if (isSeparator(at(pos))) {
        ++pos;
        skipDigits();
    }
    qsizetype kept = pos;
    if (isE(at(pos))) {
        c = at(++pos);
        if (isSign(c)) {
            c = at(++pos);
            if (isSign(c))
                return 0.0;
        }
        if (isSeparator(c) || c == u' ' || isE(c))
            return 0.0;
        kept = pos;
        // Exponent digits beyond a value of 4200 are read but not kept.
        for (int exponent = 0; isDigit(c); c = at(++pos)) {
            if (exponent > 4200)
                continue;
            exponent = exponent * 10 + (c - u'0');
            kept = pos + 1;
        }
    }
    number.resize(size_t(kept - start));
    for (qsizetype i = start; i < kept; ++i)
        number[size_t(i - start)] = text[i] == u',' ? '.' : char(text[i].unicode());
    return ConvertClipNumber(number);
}

/// The plain number of a pasted table ("-1.25E+0003", "17", "0.5") read by from_chars
/// alone, without the state walk. It gives the walk's result and end whenever it
/// answers: the text starts with a digit, or "-" and a digit or ".", from_chars takes
/// it whole, and the character after it cannot continue a number (a second
/// separator, a comma, an "E" without exponent, a sign). Everything else, and a value
/// out of range, is left to ReadClipNumber (false).
bool ReadPlainClipNumber(QStringView text, qsizetype pos, qsizetype &end, double &value)
{
    constexpr qsizetype kWindow = 40;
    char ascii[kWindow];
    const qsizetype size = std::min(kWindow, text.size() - pos);
    const char16_t *const from = text.utf16() + pos;
    const auto narrow = [&](qsizetype count) {
        for (qsizetype i = 0; i < count; ++i)
            ascii[i] = from[i] < 0x80 ? char(from[i]) : '\x7f';
    };
    // A whole window is copied with a count the compiler knows, which it vectorises.
    if (size == kWindow)
        narrow(kWindow);
    else
        narrow(size);
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    const qsizetype first = ascii[0] == '-' ? 1 : 0;
    if (first >= size || !(isDigit(ascii[first]) || (first == 1 && ascii[first] == '.')))
        return false;
    const auto result = std::from_chars(ascii, ascii + size, value, std::chars_format::general);
    const qsizetype read = result.ptr - ascii;
    if (result.ec != std::errc() || read == kWindow)
        return false;
    if (read < size) {
        const char next = ascii[read];
        if (isDigit(next) || next == '.' || next == ',' || next == '+' || next == '-' || next == 'E' || next == 'e')
            return false;
    }
    end = pos + read;
    return true;
}

} // namespace

double ScanClipNumber(QStringView text, bool allowExponent, TClipSeparators separators, qsizetype &pos)
{
    std::string number;
    return ReadClipNumber(text, allowExponent, separators, pos, number, ClipText::Single);
}

std::vector<std::vector<double>> ScanClipNumbers(QStringView text)
{
    // Tabs and carriage returns are blanks, and a blank ends the last number: the
    // pasted form of ReadClipNumber, so the text is read where it stands.
    std::vector<std::vector<double>> lines(1);
    size_t linesWithNumbers = 0;
    std::string number;
    qsizetype pos = 0;
    // A new line is made room for as many numbers as the last one held: the lines of
    // a pasted table are alike, and a line grown number by number is copied each time
    // it grows.
    const auto newLine = [&lines] {
        const size_t width = lines.back().size();
        lines.emplace_back().reserve(width);
    };
    // Moves on to the next character that can start a number, opening a line at each
    // line feed it passes (the one that ended a number included).
    const auto skipToNumber = [&] {
        while (pos < text.size() && !CanStartClipNumber(text[pos])) {
            if (text[pos] == u'\n')
                newLine();
            ++pos;
        }
    };
    skipToNumber();
    while (pos < text.size()) {
        double value = 0;
        qsizetype end = 0;
        if (ReadPlainClipNumber(text, pos, end, value))
            pos = end;
        else
            value = ReadClipNumber(text, true, csPointOrComma, pos, number, ClipText::Pasted);
        lines.back().push_back(value);
        linesWithNumbers = lines.size();
        if (pos < text.size() && text[pos] == u'\n')
            newLine();
        if (pos < text.size())
            ++pos;
        skipToNumber();
    }
    lines.resize(linesWithNumbers);
    return lines;
}

// --- Date picker formats ------------------------------------------------------------

namespace {

/// One token of a date picker format: a literal text, or a run of one format letter.
struct PickerToken
{
    QString Literal; ///< the literal's text, quotes resolved; empty for a letter run
    char16_t Letter = 0;
    qsizetype Count = 0;
};

bool IsPickerLetter(QChar c)
{
    return c == u'H' || c == u'M' || c == u'd' || c == u'h' || c == u'm' || c == u's' || c == u't'
        || c == u'y';
}

/// Splits a date picker format into its tokens, calling `visit` for each in order
/// until it returns false.
template<typename Visit>
void ForEachPickerToken(QStringView format, Visit visit)
{
    qsizetype i = 0;
    while (i < format.size()) {
        PickerToken token;
        const QChar c = format[i];
        if (c == u'\'') {
            // Up to the next single quote; two quotes in a row stand for one. A quote
            // that is never closed runs to the end of the format.
            ++i;
            while (i < format.size()) {
                if (format[i] == u'\'') {
                    if (i + 1 < format.size() && format[i + 1] == u'\'') {
                        token.Literal.append(u'\'');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                token.Literal.append(format[i++]);
            }
            if (token.Literal.isEmpty())
                continue;
        } else if (IsPickerLetter(c)) {
            token.Letter = c.unicode();
            const qsizetype start = i;
            while (i < format.size() && format[i] == c)
                ++i;
            token.Count = i - start;
        } else {
            const qsizetype start = i;
            while (i < format.size() && format[i] != u'\'' && !IsPickerLetter(format[i]))
                ++i;
            token.Literal = format.mid(start, i - start).toString();
        }
        if (!visit(token))
            return;
    }
}

/// A decimal integer in the whole of `text`: leading blanks, one sign, digits.
std::optional<int> WholeInteger(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    if (i == text.size())
        return std::nullopt;
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        if (text[i].unicode() < u'0' || text[i].unicode() > u'9')
            return std::nullopt;
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > std::numeric_limits<int>::max())
            return std::nullopt;
    }
    return int(negative ? -value : value);
}

/// Reads the fields of a date text token by token.
class PickerDateReader
{
public:
    PickerDateReader(QStringView text, int twoDigitYearWindow, int currentYear)
        : FRest(text)
        , FWindow(std::clamp(twoDigitYearWindow, 0, 99))
        , FCurrentYear(std::clamp(currentYear, 1, 9999))
    {
    }

    /// Takes the token's part from the text; false ends the reading with Error().
    bool Read(const PickerToken &token);
    TDateScan Result() const;
    TDateScanError Error() const { return FError; }

private:
    bool Fail(TDateScanError error)
    {
        FError = error;
        return false;
    }
    /// The next `count` characters as a whole integer.
    bool ReadFixed(qsizetype count, int &field);
    /// A number of any length: blanks, one sign, the digits that follow.
    bool ReadVariable(int &field);
    /// The first of `names` that the text starts with (letter case ignored); its index.
    bool ReadName(const auto &names, int &index);
    void Consume(qsizetype count) { FRest = FRest.mid(count); }

    QStringView FRest;
    int FWindow;
    int FCurrentYear;
    TDateScanError FError = dseNone;
    int FYear = 0, FMonth = 0, FDay = 0, FHour = 0, FMinute = 0, FSecond = 0;
    bool FTwelveHour = false;
    bool FAfternoon = false;
};

bool PickerDateReader::ReadFixed(qsizetype count, int &field)
{
    if (FRest.size() < count)
        return Fail(dseNumber);
    const std::optional<int> value = WholeInteger(FRest.first(count));
    if (!value)
        return Fail(dseNumber);
    field = *value;
    Consume(count);
    return true;
}

bool PickerDateReader::ReadVariable(int &field)
{
    qsizetype end = 0;
    while (end < FRest.size() && FRest[end] == u' ')
        ++end;
    if (end < FRest.size() && (FRest[end] == u'+' || FRest[end] == u'-'))
        ++end;
    while (end < FRest.size() && FRest[end].unicode() >= u'0' && FRest[end].unicode() <= u'9')
        ++end;
    return ReadFixed(end, field);
}

bool PickerDateReader::ReadName(const auto &names, int &index)
{
    for (size_t i = 0; i < names.size(); ++i) {
        if (FRest.startsWith(names[i], Qt::CaseInsensitive)) {
            index = int(i);
            Consume(names[i].size());
            return true;
        }
    }
    return Fail(dseNumber);
}

bool PickerDateReader::Read(const PickerToken &token)
{
    if (!token.Literal.isEmpty()) {
        if (!FRest.startsWith(token.Literal))
            return Fail(dseLiteral);
        Consume(token.Literal.size());
        return true;
    }
    const TFormatSettings &names = EnglishFormatSettings();
    int index = 0;
    switch (token.Letter) {
    case u'y':
        if (token.Count == 4)
            return ReadFixed(4, FYear);
        if (token.Count == 2) {
            int twoDigits = 0;
            if (!ReadFixed(2, twoDigits))
                return false;
            const int windowStart = FCurrentYear - FWindow;
            FYear = windowStart - windowStart % 100 + twoDigits;
            if (FWindow != 0 && FYear < windowStart)
                FYear += 100;
            return true;
        }
        break;
    case u'M':
        if (token.Count == 4 || token.Count == 3) {
            // The short names are three letters each: "MMM" takes exactly three.
            if (!ReadName(token.Count == 4 ? names.LongMonthNames : names.ShortMonthNames, index))
                return false;
            FMonth = index + 1;
            return true;
        }
        if (token.Count <= 2)
            return token.Count == 2 ? ReadFixed(2, FMonth) : ReadVariable(FMonth);
        break;
    case u'd':
        if (token.Count == 4)
            return ReadName(names.LongDayNames, index);
        if (token.Count == 3)
            return ReadName(names.ShortDayNames, index);
        if (token.Count <= 2)
            return token.Count == 2 ? ReadFixed(2, FDay) : ReadVariable(FDay);
        break;
    case u'H':
    case u'h':
        if (token.Count <= 2) {
            FTwelveHour |= token.Letter == u'h';
            return token.Count == 2 ? ReadFixed(2, FHour) : ReadVariable(FHour);
        }
        break;
    case u'm':
        if (token.Count <= 2)
            return token.Count == 2 ? ReadFixed(2, FMinute) : ReadVariable(FMinute);
        break;
    case u's':
        if (token.Count <= 2)
            return token.Count == 2 ? ReadFixed(2, FSecond) : ReadVariable(FSecond);
        break;
    case u't':
        if (token.Count <= 2) {
            if (FRest.size() < token.Count)
                return Fail(dseNumber);
            FAfternoon = token.Count == 2 ? FRest.first(2).compare(u"am", Qt::CaseInsensitive) != 0
                                          : FRest.first(1).compare(u"a", Qt::CaseInsensitive) != 0;
            Consume(token.Count);
            return true;
        }
        break;
    }
    return Fail(dseToken);
}

TDateScan PickerDateReader::Result() const
{
    if (FError != dseNone)
        return {FError, 0};
    int hour = FHour;
    if (FTwelveHour) {
        if (!FAfternoon && hour == 12)
            hour = 0;
        else if (FAfternoon && hour != 12)
            hour += 12;
    }
    if (hour < 0 || hour > 23 || FMinute < 0 || FMinute > 59 || FSecond < 0 || FSecond > 59)
        return {dseNotADate, 0};
    const TDateTime time = EncodeTime(hour, FMinute, FSecond, 0);
    if (FYear == 0 && FMonth == 0 && FDay == 0)
        return {dseNone, time};
    // A format without a year (or month, or day) reads none: that is no date.
    if (FYear < 1 || FYear > 9999 || !QDate::isValid(FYear, FMonth, FDay))
        return {dseNotADate, 0};
    const TDateTime date = EncodeDate(FYear, FMonth, FDay);
    return {dseNone, date >= 0 ? date + time : date - time};
}

} // namespace

TDateScan ScanPickerDateTime(QStringView text, QStringView format, int twoDigitYearWindow)
{
    return ScanPickerDateTime(text, format, twoDigitYearWindow, QDate::currentDate().year());
}

TDateScan ScanPickerDateTime(QStringView text, QStringView format, int twoDigitYearWindow, int currentYear)
{
    PickerDateReader reader(text, twoDigitYearWindow, currentYear);
    ForEachPickerToken(format, [&reader](const PickerToken &token) { return reader.Read(token); });
    return reader.Result();
}

QString FormatPickerDateTime(QStringView format, TDateTime dateTime)
{
    const std::optional<DayAndTime> split = Split(dateTime);
    if (!split)
        return QString();
    const CalendarFields fields(*split);
    const TFormatSettings &names = EnglishFormatSettings();
    const int hour12 = fields.Hour % 12 == 0 ? 12 : fields.Hour % 12;
    const bool afternoon = fields.Hour >= 12;
    Utf16Text text;
    ForEachPickerToken(format, [&](const PickerToken &token) {
        const auto number = [&](int value) { text.AppendNumber(value, int(token.Count)); };
        bool known = token.Count <= 2;
        switch (token.Letter) {
        case 0: text.Append(token.Literal); break;
        case u'y':
            known = token.Count == 2 || token.Count == 4;
            if (known)
                text.AppendNumber(token.Count == 2 ? fields.Year % 100 : fields.Year, int(token.Count));
            break;
        case u'M':
            known = token.Count <= 4;
            if (token.Count >= 3 && known)
                text.Append(token.Count == 4 ? names.LongMonthNames[fields.Month - 1]
                                             : names.ShortMonthNames[fields.Month - 1]);
            else if (known)
                number(fields.Month);
            break;
        case u'd':
            known = token.Count <= 4;
            if (token.Count >= 3 && known)
                text.Append(token.Count == 4 ? names.LongDayNames[fields.DayOfWeek]
                                             : names.ShortDayNames[fields.DayOfWeek]);
            else if (known)
                number(fields.Day);
            break;
        case u'H': if (known) number(fields.Hour); break;
        case u'h': if (known) number(hour12); break;
        case u'm': if (known) number(fields.Minute); break;
        case u's': if (known) number(fields.Second); break;
        case u't':
            if (known)
                text.Append(token.Count == 2 ? (afternoon ? names.TimePMString : names.TimeAMString)
                                             : QStringView(afternoon ? u"P" : u"A"));
            break;
        }
        if (!known)
            text.Append(QString(qsizetype(token.Count), QChar(token.Letter)));
        return true;
    });
    return text.ToQString();
}

} // namespace nvo
