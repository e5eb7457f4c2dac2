#include "NVO_Format.h"

#include "NVO_Errors.h"

#include <QtCore/QDate>
#include <QtCore/QDateTime>
#include <QtCore/QLocale>
#include <QtCore/QTime>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>

namespace nvo {

namespace {

// Room for the longest text any routine writes: a sign, the 309 integer digits of
// 1e308, the separator and kMaxPrecision decimals, or a field of kMaxFieldWidth.
constexpr int kMaxFieldWidth = 255;
constexpr int kBufferSize = 512;
static_assert(1 + 309 + 1 + kMaxPrecision < kBufferSize);
static_assert(kMaxFieldWidth < kBufferSize);

/// An ASCII text assembled on the stack and turned into one QString at the end,
/// the "." becoming the caller's decimal separator.
class AsciiText
{
public:
    void Append(char c) { FChars[FSize++] = c; }
    void Append(const char *first, const char *last)
    {
        FSize = int(std::copy(first, last, FChars.data() + FSize) - FChars.data());
    }
    void AppendRepeated(char c, int count)
    {
        std::fill_n(FChars.data() + FSize, count, c);
        FSize += count;
    }
    /// A decimal exponent (at most 324) without leading zeros.
    void AppendExponentDigits(int value)
    {
        if (value >= 100)
            Append(char('0' + value / 100));
        if (value >= 10)
            Append(char('0' + value / 10 % 10));
        Append(char('0' + value % 10));
    }
    /// |value| rounded to `significant` digits in scientific notation: d[.ddd]E,
    /// the exponent's sign and at least `minExponentDigits` digits.
    void AppendScientific(double value, int significant, int minExponentDigits)
    {
        char *const first = FChars.data() + FSize;
        char *last = std::to_chars(first, FChars.data() + FChars.size(), std::fabs(value),
                                   std::chars_format::scientific, significant - 1).ptr;
        // to_chars ends with e, a sign and two or three digits.
        char *const e = last[-4] == 'e' ? last - 4 : last - 5;
        *e = 'E';
        // Leading zeros go in front of the digits, one at a time: at most two.
        for (int digits = int(last - e - 2); digits < minExponentDigits; ++digits, ++last) {
            for (char *p = last; p > e + 2; --p)
                *p = p[-1];
            e[2] = '0';
        }
        FSize = int(last - FChars.data());
    }

    /// Right-aligns the text in a field of `fieldWidth` characters with blanks.
    void AlignRight(int fieldWidth)
    {
        const int padding = std::max(0, std::min(fieldWidth, kMaxFieldWidth) - FSize);
        std::copy_backward(FChars.data(), FChars.data() + FSize, FChars.data() + FSize + padding);
        std::fill_n(FChars.data(), padding, ' ');
        FSize += padding;
    }

    QString ToQString(QChar decSep) const
    {
        QString text(FSize, Qt::Uninitialized);
        char16_t *out = reinterpret_cast<char16_t *>(text.data());
        const char16_t separator = decSep.unicode();
        for (int i = 0; i < FSize; ++i)
            out[i] = FChars[i] == '.' ? separator : char16_t(FChars[i]);
        return text;
    }

private:
    std::array<char, kBufferSize> FChars;
    int FSize = 0;
};

/// The text of a value that is not a finite number, or nullptr for a finite one.
const char16_t *NonFiniteText(double value)
{
    if (std::isnan(value))
        return kNaNText;
    if (std::isinf(value))
        return value > 0 ? kInfText : kMinusInfText;
    return nullptr;
}

QString RightAligned(QStringView text, int fieldWidth)
{
    const qsizetype padding =
        std::max<qsizetype>(0, std::min(fieldWidth, kMaxFieldWidth) - text.size());
    QString aligned(padding, QLatin1Char(' '));
    aligned += text;
    return aligned;
}

/// A text that shows zero must not show a "-": -0.0 and values that round to zero
/// would otherwise read as a negative zero.
bool ShowsOnlyZeros(const char *first, const char *last)
{
    return std::all_of(first, last, [](char c) { return c < '1' || c > '9'; });
}

/// Fixed notation of `value` with `decimals` decimals, exact binary rounding.
void AppendFixed(AsciiText &text, double value, int decimals)
{
    char digits[kBufferSize];
    const auto result = std::to_chars(digits, digits + sizeof digits, std::fabs(value),
                                      std::chars_format::fixed, decimals);
    if (std::signbit(value) && !ShowsOnlyZeros(digits, result.ptr))
        text.Append('-');
    text.Append(digits, result.ptr);
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

SignificantDigits RoundToSignificant(double value, int significant)
{
    char buffer[kBufferSize];
    const char *const end = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                          std::chars_format::scientific, significant - 1).ptr;
    // to_chars wrote d[.ddd]e(+|-)dd[d]: digits, then the exponent.
    SignificantDigits rounded;
    rounded.Digits[0] = buffer[0];
    rounded.Count = 1;
    const char *p = buffer + 1;
    if (*p == '.') {
        for (++p; *p != 'e'; ++p)
            rounded.Digits[rounded.Count++] = *p;
    }
    const bool negativeExponent = p[1] == '-';
    for (p += 2; p != end; ++p)
        rounded.Exponent = rounded.Exponent * 10 + (*p - '0');
    if (negativeExponent)
        rounded.Exponent = -rounded.Exponent;
    rounded.Negative = std::signbit(value)
                       && !ShowsOnlyZeros(rounded.Digits, rounded.Digits + rounded.Count);
    return rounded;
}

/// d0.d1d2... as scientific mantissa; no "." when only one digit is written.
void AppendMantissa(AsciiText &text, const SignificantDigits &rounded)
{
    text.Append(rounded.Digits[0]);
    if (rounded.Count > 1) {
        text.Append('.');
        text.Append(rounded.Digits + 1, rounded.Digits + rounded.Count);
    }
}

/// The general form's short exponent: "E", "-" only for negative ones, no leading zeros.
void AppendGeneralExponent(AsciiText &text, int exponent)
{
    text.Append('E');
    if (exponent < 0)
        text.Append('-');
    text.AppendExponentDigits(std::abs(exponent));
}

/// The general form's fixed notation of a value rounded to P digits, for
/// -5 <= Exponent < P; its trailing zeros are already dropped.
void AppendGeneralFixed(AsciiText &text, const SignificantDigits &rounded)
{
    const char *digits = rounded.Digits;
    if (rounded.Exponent < 0) {
        text.Append('0');
        text.Append('.');
        text.AppendRepeated('0', -rounded.Exponent - 1);
        text.Append(digits, digits + rounded.Count);
        return;
    }
    const int integerDigits = rounded.Exponent + 1;
    text.Append(digits, digits + std::min(integerDigits, rounded.Count));
    text.AppendRepeated('0', std::max(0, integerDigits - rounded.Count));
    if (rounded.Count > integerDigits) {
        text.Append('.');
        text.Append(digits + integerDigits, digits + rounded.Count);
    }
}

} // namespace

// --- Numbers ---------------------------------------------------------------------

QChar LocaleDecimalSeparator()
{
    const QString separator = QLocale().decimalPoint();
    return separator.isEmpty() ? QLatin1Char('.') : separator.front();
}

double RoundHalfEven(double value)
{
    if (!std::isfinite(value))
        return value;
    // IEEE remainder is exact and picks the nearest integer with ties to even,
    // whatever rounding mode the FPU is in; the subtraction is exact as well.
    return value - std::remainder(value, 1.0);
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
    if (const char16_t *special = NonFiniteText(value))
        return QString::fromUtf16(special);
    AsciiText text;
    AppendFixed(text, value, std::clamp(precision, 0, kMaxPrecision));
    return text.ToQString(decSep);
}

QString FormatExp(double value, int precision, QChar decSep)
{
    if (const char16_t *special = NonFiniteText(value))
        return QString::fromUtf16(special);
    AsciiText text;
    if (std::signbit(value) && value != 0)
        text.Append('-');
    text.AppendScientific(value, std::clamp(precision, 1, kMaxPrecision), 3);
    return text.ToQString(decSep);
}

QString FormatGeneral(double value, int precision, QChar decSep)
{
    if (const char16_t *special = NonFiniteText(value))
        return QString::fromUtf16(special);
    if (value == 0)
        return QStringLiteral("0");
    const int significant = std::clamp(precision, 1, kMaxPrecision);
    SignificantDigits rounded = RoundToSignificant(value, significant);
    rounded.DropTrailingZeros();
    AsciiText text;
    if (rounded.Negative)
        text.Append('-');
    if (rounded.Exponent >= -5 && rounded.Exponent < significant) {
        AppendGeneralFixed(text, rounded);
    } else {
        AppendMantissa(text, rounded);
        AppendGeneralExponent(text, rounded.Exponent);
    }
    return text.ToQString(decSep);
}

QString FormatInt(qint64 value)
{
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    return QString::fromLatin1(digits, result.ptr - digits);
}

QString Str(double value, int width, int decimals)
{
    if (const char16_t *special = NonFiniteText(value))
        return RightAligned(special, width);
    AsciiText text;
    if (decimals >= 0) {
        AppendFixed(text, value, std::min(decimals, kMaxPrecision));
    } else {
        const int fractionDigits = std::clamp(width - 9, 0, kMaxPrecision);
        text.Append(std::signbit(value) && value != 0 ? '-' : ' ');
        text.AppendScientific(value, fractionDigits + 1, 4);
    }
    text.AlignRight(width);
    return text.ToQString(QLatin1Char('.'));
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
    double value = 0;
    const auto result = std::from_chars(number->data(), number->data() + number->size(), value,
                                        std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range)
        value = DecimalOrder(*number) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
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
    if (const auto split = Split(dateTime))
        split->Date().getDate(&year, &month, &day);
}

void DecodeTime(TDateTime dateTime, int &hour, int &min, int &sec, int &msec)
{
    hour = min = sec = msec = 0;
    if (const auto split = Split(dateTime)) {
        const QTime time = QTime::fromMSecsSinceStartOfDay(int(split->Msec));
        hour = time.hour();
        min = time.minute();
        sec = time.second();
        msec = time.msec();
    }
}

int DayOfTheWeek(TDateTime dateTime)
{
    const auto split = Split(dateTime);
    return split ? split->Date().dayOfWeek() : 0;
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

/// Writes one date-time value by a format, following the format letters one
/// token at a time.
class DateTimeWriter
{
public:
    DateTimeWriter(const TFormatSettings &settings, DayAndTime value)
        : FSettings(settings)
        , FMsecOfDay(value.Msec)
    {
        value.Date().getDate(&FYear, &FMonth, &FDay);
        FDayOfWeek = value.Date().dayOfWeek() % 7; // Sunday first, as the name tables
        const QTime time = QTime::fromMSecsSinceStartOfDay(int(value.Msec));
        FHour = time.hour();
        FMinute = time.minute();
        FSecond = time.second();
        FMsec = time.msec();
    }

    void Write(QStringView format, int depth);
    QString Result;

private:
    // The formats of the settings may refer to each other ("c" in a date format);
    // a cycle must end instead of recursing without bound.
    static constexpr int kMaxNesting = 3;

    void WriteNested(QStringView format, int depth)
    {
        if (depth < kMaxNesting)
            Write(format, depth + 1);
    }
    void WriteNumber(int value, int minDigits)
    {
        Result += QString::number(value).rightJustified(minDigits, QLatin1Char('0'));
    }
    static qsizetype RunLength(QStringView format, qsizetype at);
    static bool AmPmFollows(QStringView format, qsizetype from);
    static bool StartsWith(QStringView format, qsizetype at, QStringView specifier)
    {
        return format.mid(at).startsWith(specifier, Qt::CaseInsensitive);
    }

    const TFormatSettings &FSettings;
    qint64 FMsecOfDay;
    int FYear = 0, FMonth = 0, FDay = 0, FDayOfWeek = 0;
    int FHour = 0, FMinute = 0, FSecond = 0, FMsec = 0;
};

qsizetype DateTimeWriter::RunLength(QStringView format, qsizetype at)
{
    const QChar letter = format[at].toLower();
    qsizetype end = at + 1;
    while (end < format.size() && format[end].toLower() == letter)
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
        const char16_t letter = c.toLower().unicode();
        const qsizetype run = RunLength(format, i);
        bool isHour = false;
        switch (letter) {
        case u'\'':
        case u'"': {
            const qsizetype close = format.indexOf(c, i + 1);
            const qsizetype end = close < 0 ? format.size() : close;
            Result += format.mid(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        case u'c':
            WriteNested(FSettings.ShortDateFormat, depth);
            if (FMsecOfDay != 0) {
                Result += QLatin1Char(' ');
                WriteNested(FSettings.LongTimeFormat, depth);
            }
            i += 1;
            break;
        case u'd': {
            const qsizetype take = std::min<qsizetype>(run, 6);
            switch (take) {
            case 1: WriteNumber(FDay, 1); break;
            case 2: WriteNumber(FDay, 2); break;
            case 3: Result += FSettings.ShortDayNames[FDayOfWeek]; break;
            case 4: Result += FSettings.LongDayNames[FDayOfWeek]; break;
            case 5: WriteNested(FSettings.ShortDateFormat, depth); break;
            default: WriteNested(FSettings.LongDateFormat, depth); break;
            }
            i += take;
            break;
        }
        case u'm': {
            const qsizetype take = std::min<qsizetype>(run, 4);
            if (afterHour && take <= 2)
                WriteNumber(FMinute, int(take));
            else if (take <= 2)
                WriteNumber(FMonth, int(take));
            else
                Result += (take == 3 ? FSettings.ShortMonthNames
                                     : FSettings.LongMonthNames)[FMonth - 1];
            i += take;
            break;
        }
        case u'y':
            if (run <= 2)
                WriteNumber(FYear % 100, 2);
            else
                WriteNumber(FYear, 4);
            i += run;
            break;
        case u'h': {
            const qsizetype take = std::min<qsizetype>(run, 2);
            int hour = FHour;
            if (AmPmFollows(format, i + take))
                hour = FHour % 12 == 0 ? 12 : FHour % 12;
            WriteNumber(hour, int(take));
            isHour = true;
            i += take;
            break;
        }
        case u'n':
        case u's': {
            const qsizetype take = std::min<qsizetype>(run, 2);
            WriteNumber(letter == u'n' ? FMinute : FSecond, int(take));
            i += take;
            break;
        }
        case u'z': {
            const qsizetype take = std::min<qsizetype>(run, 3);
            WriteNumber(FMsec, take == 1 ? 1 : 3);
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
            const bool morning = FHour < 12;
            if (StartsWith(format, i, u"am/pm")) {
                Result += format.mid(morning ? i : i + 3, 2);
                i += 5;
            } else if (StartsWith(format, i, u"a/p")) {
                Result += format.mid(morning ? i : i + 2, 1);
                i += 3;
            } else if (StartsWith(format, i, u"ampm")) {
                Result += morning ? FSettings.TimeAMString : FSettings.TimePMString;
                i += 4;
            } else {
                Result += c;
                i += 1;
                continue; // a plain letter is literal text
            }
            break;
        }
        case u'/':
            Result += FSettings.DateSeparator;
            i += 1;
            continue;
        case u':':
            Result += FSettings.TimeSeparator;
            i += 1;
            continue;
        default:
            Result += c;
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
    return writer.Result;
}

} // namespace nvo
