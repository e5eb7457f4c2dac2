#pragma once

// The number and date texts every control writes: the original control framework's Format
// conversions (%f, %e, %g, %d), its Str/Val for reals and the date-time routines.
//
// None of them depends on the C locale: Qt calls setlocale() at start-up, so
// printf/strtod/streams would follow the environment's decimal separator. Every
// number text of the library is written here: TLatin1Text writes it in place into
// a stack buffer (std::to_chars gives the digits; up to nine significant digits
// come from a product with a power of ten, checked exactly next to a tie), and the
// functions that return a QString are that buffer turned into one QString; the
// decimal separator is always an explicit argument. Date texts are written straight
// into the QString they are returned in.
//
// Texts of values that are not numbers: every function is total. NaN writes "NAN",
// +Inf "INF" and -Inf "-INF" (right-aligned in the field where the function has a
// field width); no function crashes or invokes undefined behaviour on any double.

#include "NVO_Global.h"

#include <QtCore/QChar>
#include <QtCore/qnamespace.h>
#include <QtCore/QString>
#include <QtCore/QStringView>

#include <array>
#include <optional>
#include <string_view>
#include <vector>

class QDateTime;

namespace nvo {

// --- Numbers ---------------------------------------------------------------------

/// Precisions and decimal counts are clamped to 0..kMaxPrecision: 17 significant
/// digits already identify a double, and the limit keeps every text within a
/// fixed stack buffer (a fixed text of 1e308 has 309 integer digits).
inline constexpr int kMaxPrecision = 40;

/// The texts written for values that are not finite numbers.
inline constexpr std::string_view kNaNText = "NAN";
inline constexpr std::string_view kInfText = "INF";
inline constexpr std::string_view kMinusInfText = "-INF";

/// The decimal separator of the user's locale (QLocale(), which follows
/// QLocale::setDefault).
NVO_EXPORT QChar LocaleDecimalSeparator();

/// Rounds to the nearest integer, exact halves to the even neighbour (2.5 -> 2,
/// 3.5 -> 4, -2.5 -> -2), independent of the FPU rounding mode. NaN and infinities
/// come back unchanged.
NVO_EXPORT double RoundHalfEven(double value);

/// RoundHalfEven as a 64-bit integer; nullopt for NaN, infinities and results
/// outside the qint64 range.
NVO_EXPORT std::optional<qint64> RoundToInt64(double value);

/// Format('%*.*f', [1, P, v]): exactly P digits after `decSep`, "-" for negative
/// values, no grouping. Rounding works on the exact binary value, so a decimal
/// that only looks like a tie rounds by its true value (1.005 is stored below
/// 1.005 and gives "1.00"); true ties (0.125, 2.5) go to the even digit.
NVO_EXPORT QString FormatFixed(double value, int precision, QChar decSep);

/// Format('%*.*e', [1, P, v]): P significant digits (one before `decSep`), "E",
/// the exponent's sign and at least three exponent digits: 1234.5, P = 3 gives
/// "1.23E+003". P = 0 is taken as 1: one digit and no separator ("1E+003").
NVO_EXPORT QString FormatExp(double value, int precision, QChar decSep);

/// Format('%*.*g', [1, P, v]): at most P significant digits, trailing zeros and a
/// trailing separator removed. The value is first rounded to P significant digits;
/// with X the decimal exponent of the rounded value, fixed notation is written
/// when -5 <= X < P (the integer part has at most P digits and the magnitude is at
/// least 0.00001), scientific notation otherwise. The scientific form writes the
/// shortest exponent the original control framework's general form uses: "E", "-" only for negative
/// exponents, no leading zeros ("1.5E20", "1E-6"). Zero is "0". P = 0 is taken as 1.
NVO_EXPORT QString FormatGeneral(double value, int precision, QChar decSep);

/// Format('%*.*d', [1, 0, v]): plain decimal integer, "-" for negative values.
NVO_EXPORT QString FormatInt(qint64 value);

/// The original control framework's Str(x:width:decimals) on a double, "." as decimal point:
/// - decimals >= 0: fixed notation with that many decimals (clamped to
///   kMaxPrecision), right-aligned with blanks in a field of `width` characters;
///   a field narrower than the text grows to the text (width 1: no blanks).
/// - decimals < 0: floating-point notation in a field of `width` characters: a
///   blank or "-", one digit, ".", width - 9 further digits, "E", the exponent's
///   sign and four exponent digits: Str(1.5, 14, -1) is " 1.50000E+0000". With
///   width 9 or less no further digit and no "." is written, so one significant
///   digit stays possible (" 2E+0000", right-aligned in the field); the digit
///   count is clamped to kMaxPrecision.
/// A text that would show zero carries no "-" (-0.001 with 2 decimals is "0.00").
NVO_EXPORT QString Str(double value, int width, int decimals);

/// The original control framework's Val for reals: reads the whole text as a decimal
/// number with "." as point: optional leading blanks, an optional sign, digits with
/// an optional fraction (at least one digit in all), and an optional exponent "E"/"e"
/// with optional sign and digits. Anything else, also "inf", "nan", hexadecimal or
/// trailing characters, gives nullopt. A magnitude beyond the double range gives
/// +/-infinity and one too small gives (signed) zero, as that framework's extended
/// conversion would before the caller clamps it.
NVO_EXPORT std::optional<double> Val(QStringView text);

// --- Number texts written in place -----------------------------------------------

/// The degree sign of angle texts, in Latin-1.
inline constexpr char kDegreeSign = '\xB0';

/// Decimal counts TLatin1Text::AppendFixed takes: enough for 40 significant digits
/// of every normal double (the smallest, about 2.2e-308, has its first digit at the
/// 308th decimal), and small enough to keep every text within the buffer.
inline constexpr int kMaxDecimals = 350;

/// A number text written in place: Latin-1 characters in a fixed buffer on the
/// writer's stack that becomes one QString at the end, so a text costs a single
/// allocation however many parts it has (a label may show thousands of values a
/// second). The writers follow the functions above: the separator is an explicit
/// character, a text that shows only zeros carries no "-", and a value that is not
/// a finite number writes "NAN", "INF" or "-INF". Counts of digits are clamped to
/// the limits each writer names, so one writer never leaves the buffer; the buffer
/// has room for the longest text of any writer with a field or a unit around it.
class NVO_EXPORT TLatin1Text
{
public:
    static constexpr int kCapacity = 1024;

    TLatin1Text() = default;
    TLatin1Text(const TLatin1Text &) = delete; // FEnd points into this object
    TLatin1Text &operator=(const TLatin1Text &) = delete;

    void Append(char c) { *FEnd++ = c; }
    void Append(std::string_view text);

    /// Format('%*.*f'): exactly `decimals` (0..kMaxDecimals) digits after the
    /// separator, rounded on the exact binary value, true ties to the even digit.
    void AppendFixed(double value, int decimals, char separator);
    /// Format('%*.*e'): `significant` digits, one before the separator and up to
    /// kMaxPrecision after it, "E", the exponent's sign and at least
    /// `minExponentDigits` (1..4) digits.
    void AppendScientific(double value, int significant, char separator, int minExponentDigits = 3);
    /// AppendScientific with exactly `exponentDigits` exponent digits; a value whose
    /// exponent needs more shows as one asterisk per character its text would have
    /// (as a field too narrow for its number does), and the result is false.
    bool AppendScientificOrAsterisks(double value, int significant, char separator,
                                     int exponentDigits);
    /// Engineering notation: `significant` (1..kMaxPrecision + 1) digits, the exponent a
    /// multiple of three written like AppendScientific's, one to three integer
    /// digits (zeros when fewer digits are significant): 12345, 3 digits: 12.3E+003.
    void AppendEngineering(double value, int significant, char separator);
    /// Engineering notation without a separator: the mantissa rounded to a whole
    /// number from 1 to 999: 12345 gives 12E+003, 999.7 gives 1E+003.
    void AppendEngineeringWhole(double value);
    /// Format('%*.*g') as FormatGeneral writes it.
    void AppendGeneral(double value, int precision, char separator);
    /// `value` in base 2, 8, 10 or 16 (upper case), at least `minDigits` digits
    /// (up to kMaxDecimals), a negative value as "-" and its magnitude.
    void AppendInteger(qint64 value, int base = 10, int minDigits = 1);
    /// Exactly `digits` (1..kMaxDecimals) digits of `value` in base 2, 8, 10 or 16:
    /// the lowest ones, zeros in front.
    void AppendLowestDigits(quint64 value, int base, int digits);
    /// An angle in degrees as whole degrees, a degree sign and minutes with
    /// `decimals` (0..kMaxPrecision) decimals (12°30.00'), or with `withSeconds`
    /// whole degrees, whole minutes and seconds with decimals (12°30'15.00").
    /// Rounding the last field carries into the ones before (59.996' gives the next
    /// degree). Writes nothing and gives false when the value is not finite or its
    /// whole units do not fit a qint64.
    bool AppendSexagesimal(double degrees, int decimals, bool withSeconds, char separator);
    /// Str(value, width, decimals), its field aligned on its own.
    void AppendStr(double value, int width, int decimals);
    /// Right-aligns the whole text in a field of `fieldWidth` characters (at most 255).
    void AlignRight(int fieldWidth) { AlignRightFrom(FChars.data(), fieldWidth); }

    int Size() const { return int(FEnd - FChars.data()); }
    std::string_view View() const { return {FChars.data(), size_t(Size())}; }
    QString ToQString() const { return QString::fromLatin1(FChars.data(), Size()); }

private:
    void AlignRightFrom(char *start, int fieldWidth);

    std::array<char, kCapacity> FChars;
    char *FEnd = FChars.data();
};

// --- Numbers in free text -----------------------------------------------------------

/// Which characters ScanClipNumber takes as the decimal separator.
enum TClipSeparators : quint8 { csPoint = 1, csComma = 2, csPointOrComma = 3 };

/// Reads one number of a text pasted from another program, starting at index `pos`
/// of `text`: optional blanks, a sign, digits with one decimal separator (a "," read
/// as "."), and with `allowExponent` an "E" (any case), a sign and exponent digits
/// (those beyond a value of 4200 are not read). A second separator, a blank, a sign
/// or any other character ends the number; a text that cannot be a number (a sign
/// after a sign, an "E" or a separator first) gives 0. `pos` is left on the character
/// that ended the reading. "12." reads 12, "1E" reads 1; the result is finite:
/// magnitudes beyond the double range give +/- the largest double.
NVO_EXPORT double ScanClipNumber(QStringView text, bool allowExponent, TClipSeparators separators,
                                 qsizetype &pos);

/// The numbers of a pasted text, one list per line (a line feed ends a line; tabs and
/// carriage returns count as blanks). Numbers are read by ScanClipNumber with exponents
/// and either separator; what cannot start one ("+", "-", "." or a digit) is skipped.
/// The lines run to the last one holding a number: a final line without a line feed
/// counts, and line feeds after the last number add no lines. A line between numbers
/// that holds none is an empty list, so numbers keep the line they stand on.
NVO_EXPORT std::vector<std::vector<double>> ScanClipNumbers(QStringView text);

// --- Dates and times ---------------------------------------------------------------

/// A date-time value: days since 1899-12-30 00:00, the fraction being the time of
/// day. Before that day the integer part counts the days backwards and the
/// fraction's magnitude is still the time of day (-1.25 is 1899-12-29 06:00).
/// Valid dates run from 0001-01-01 to 9999-12-31 (proleptic Gregorian calendar).
using TDateTime = double;

/// The date of year, month and day; throws EConvertError "Invalid argument to
/// date encode" when they do not form a date between 0001-01-01 and 9999-12-31.
NVO_EXPORT TDateTime EncodeDate(int year, int month, int day);

/// The time of day as a fraction; throws EConvertError "Invalid argument to time
/// encode" unless 0 <= hour < 24, 0 <= min < 60, 0 <= sec < 60, 0 <= msec < 1000.
NVO_EXPORT TDateTime EncodeTime(int hour, int min, int sec, int msec);

/// The date part of `dateTime`. The time is rounded to the millisecond first, so a
/// value a hair before midnight belongs to the next day, as its time reads 00:00.
/// Values that are not finite or lie outside the valid dates give 0, 0, 0.
NVO_EXPORT void DecodeDate(TDateTime dateTime, int &year, int &month, int &day);

/// The time of day of `dateTime`, rounded to the millisecond; 0, 0, 0, 0 for
/// values outside the valid dates.
NVO_EXPORT void DecodeTime(TDateTime dateTime, int &hour, int &min, int &sec, int &msec);

/// ISO weekday of the date: 1 = Monday .. 7 = Sunday; 0 outside the valid dates.
NVO_EXPORT int DayOfTheWeek(TDateTime dateTime);

/// ISO 8601 week number (1..53) of the date; 0 outside the valid dates.
NVO_EXPORT int WeekOfTheYear(TDateTime dateTime);

/// Conversions to and from Qt's date-time. A date-time value has no time zone: it
/// is the wall-clock reading, taken from the QDateTime in its own time zone setting and
/// given back in `timeSpec` (UTC avoids local clock changes). An invalid QDateTime
/// gives 0 (1899-12-30); a value outside the valid dates an invalid QDateTime.
NVO_EXPORT TDateTime DateTimeFromQDateTime(const QDateTime &dateTime);
NVO_EXPORT QDateTime DateTimeToQDateTime(TDateTime dateTime, Qt::TimeSpec timeSpec = Qt::LocalTime);

/// The names and default formats FormatDateTime writes. Day names are indexed
/// from Sunday (0) as the original control framework's ddd/dddd tables are.
struct NVO_EXPORT TFormatSettings
{
    QChar DateSeparator;
    QChar TimeSeparator;
    QString ShortDateFormat;
    QString LongDateFormat;
    QString ShortTimeFormat;
    QString LongTimeFormat;
    QString TimeAMString;
    QString TimePMString;
    std::array<QString, 12> ShortMonthNames;
    std::array<QString, 12> LongMonthNames;
    std::array<QString, 7> ShortDayNames;
    std::array<QString, 7> LongDayNames;
};

/// English names and US formats: the library's texts must not change with the
/// environment, so they are a fixed table rather than the user's locale.
NVO_EXPORT const TFormatSettings &EnglishFormatSettings();

/// The original control framework's FormatDateTime. Letters are case-insensitive:
///   c       ShortDateFormat, then " " and LongTimeFormat unless the time is 00:00:00.000
///   d dd    day without / with leading zero;  ddd dddd  short / long day name
///   ddddd   ShortDateFormat;  dddddd  LongDateFormat
///   m mm    month without / with leading zero; mmm mmmm  short / long month name;
///           right after an h or hh (only literal text between) they are minutes
///   yy yyyy two-digit / four-digit year (a run of one or two y is yy, longer yyyy)
///   h hh    hour without / with leading zero; 12-hour clock when an am/pm, a/p or
///           ampm follows later in the format
///   n nn    minute;  s ss  second;  z  millisecond;  zz zzz  three-digit millisecond
///   t tt    ShortTimeFormat / LongTimeFormat
///   am/pm a/p  the half as written in the format ("AM/PM" -> "PM", "a/p" -> "p")
///   ampm    TimeAMString / TimePMString
///   /  :    DateSeparator / TimeSeparator
///   '...' "..."  copied literally; any other character is copied as it is.
/// An empty format means "c". Values that are not finite or lie outside the valid
/// dates give an empty text.
NVO_EXPORT QString FormatDateTime(const QString &format, TDateTime dateTime);
NVO_EXPORT QString FormatDateTime(const QString &format, TDateTime dateTime,
                                  const TFormatSettings &settings);

// --- Date picker formats --------------------------------------------------------------
//
// The date columns of the report list name their display format in the date picker's
// notation, which differs from FormatDateTime's: letter case matters ("MM" is the
// month, "mm" the minute), "H" is the 24-hour clock and "t" the half of the day.

/// How a text failed to fit a date picker format.
enum TDateScanError : qint8 {
    dseNone = 0,      ///< the text fits the format
    dseLiteral = -1,  ///< a literal of the format is not where the text has it
    dseToken = -2,    ///< the format holds a run of letters no token knows ("yyy")
    dseNumber = -3,   ///< a number of the text is not a valid integer, or a name matches nothing
    dseNotADate = -4, ///< the fields form no date or time: 31 February, hour 25, a date without a year
};

/// The result of reading a date text: `Value` is meaningful only when `Error` is
/// dseNone. A text that does not fit never yields a made-up date (such as 1899-12-30
/// or today): callers decide what a failed reading means.
struct TDateScan {
    TDateScanError Error = dseNone;
    TDateTime Value = 0;
};

/// The window of two-digit years: "yy" reads a year within the 100 years that start
/// this many years before the current one (in 2026: 1976 .. 2075). 0 reads the years
/// of the current century; windows outside 0..99 count as the nearest end.
inline constexpr int kTwoDigitYearWindow = 50;

/// Reads `text` by a date picker format, token by token from the left; each token
/// takes its part from the start of what is left of the text:
///   'lit'      a quoted literal ('' inside is one quote); any other character that is
///              not one of the letters below starts a literal that runs to the next
///              quote or letter. The text must continue with the literal exactly.
///   yyyy yy    four characters, the year; two characters, the year in the window
///   MMMM MMM   the English month name that starts the text / three characters equal
///              to an English month abbreviation, letter case ignored
///   MM M       two characters / a number of any length, the month
///   dddd ddd   the English weekday name / abbreviation that starts the text (read, not used)
///   dd d       the day;  HH H  the hour (24-hour clock);  hh h  the hour (12-hour clock)
///   mm m       the minute;  ss s  the second
///   tt t       two characters / one character: "am" / "a" (any case) the morning, anything
///              else the afternoon; a 12-hour hour counts in the morning without them
/// A number of any length skips leading blanks, takes one sign and the digits after it;
/// the two- and four-character fields must hold a valid integer. Text after the last
/// token is not read. With a year, month or day the value is that date plus the time;
/// without one, the time alone.
NVO_EXPORT TDateScan ScanPickerDateTime(QStringView text, QStringView format,
                                        int twoDigitYearWindow = kTwoDigitYearWindow);
/// The same with the current year given, which the two-digit years depend on.
NVO_EXPORT TDateScan ScanPickerDateTime(QStringView text, QStringView format,
                                        int twoDigitYearWindow, int currentYear);

/// Writes `dateTime` by a date picker format, the tokens as ScanPickerDateTime reads
/// them (English names; "tt" writes "AM"/"PM", "t" "A"/"P"; the 12-hour clock runs
/// 12, 1 .. 11); a run of letters no token knows is written as it stands. A value that
/// is not finite or lies outside the valid dates gives an empty text. The text reads
/// back to the same value at second precision when the format has all of the date
/// (the year as yyyy) and time fields it needs, a 12-hour hour together with its half,
/// and no number of any length ("M", "d", "H" ...) right beside other digits.
NVO_EXPORT QString FormatPickerDateTime(QStringView format, TDateTime dateTime);

} // namespace nvo
