#include "NVO_Format.h"

#include "NVO_Errors.h"

#include <QtCore/QDateTime>
#include <QtCore/QLocale>
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace nvo;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kMaxDouble = std::numeric_limits<double>::max();
constexpr double kTiniest = std::numeric_limits<double>::denorm_min();

/// One case of a number text routine taking (value, precision, separator).
struct NumberCase
{
    double Value;
    int Precision;
    char Separator;
    const char *Expected;
};

template<class Format>
void ExpectTexts(Format format, std::initializer_list<NumberCase> cases)
{
    for (const NumberCase &c : cases)
        EXPECT_EQ(format(c.Value, c.Precision, QLatin1Char(c.Separator)), QLatin1String(c.Expected))
            << "value " << c.Value << ", precision " << c.Precision;
}

TEST(Format, RoundHalfEvenSendsExactHalvesToTheEvenNeighbour)
{
    const struct
    {
        double Value, Expected;
    } cases[] = {
        {2.5, 2},        {3.5, 4},      {-2.5, -2},    {-3.5, -4},   {0.5, 0},
        {1.5, 2},        {2.4999999, 2}, {2.5000001, 3}, {-0.3, 0}, {1e300, 1e300},
        {4503599627370495.5, 4503599627370496.0}, // 2^52 - 0.5: a tie at the largest fractions
    };
    for (const auto &c : cases)
        EXPECT_EQ(RoundHalfEven(c.Value), c.Expected) << c.Value;
    EXPECT_TRUE(std::isnan(RoundHalfEven(kNaN)));
    EXPECT_EQ(RoundHalfEven(-kInf), -kInf);
}

TEST(Format, RoundToInt64RefusesWhatNoInt64Holds)
{
    EXPECT_EQ(RoundToInt64(2.5), 2);
    EXPECT_EQ(RoundToInt64(3.5), 4);
    EXPECT_EQ(RoundToInt64(-2.5), -2);
    EXPECT_EQ(RoundToInt64(-9223372036854775808.0), std::numeric_limits<qint64>::min());
    EXPECT_EQ(RoundToInt64(9223372036854774784.0), 9223372036854774784LL); // largest below 2^63
    for (double outside : {9223372036854775808.0, -9223372036854777856.0, 1e300, kInf, -kInf, kNaN})
        EXPECT_EQ(RoundToInt64(outside), std::nullopt) << outside;
}

TEST(Format, FixedWritesExactlyTheDecimalsAsked)
{
    ExpectTexts(FormatFixed, {
        {0.001, 2, '.', "0.00"},
        {-1.5, 2, '.', "-1.50"},
        {-1.5, 2, ',', "-1,50"},
        {1234.5678, 3, ',', "1234,568"},
        {1e20, 0, '.', "100000000000000000000"},
        {2.7, 0, '.', "3"},
        // Rounding works on the binary value: 1.005 is stored a little below.
        {1.005, 2, '.', "1.00"},
        // True ties go to the even digit.
        {0.125, 2, '.', "0.12"},
        {0.375, 2, '.', "0.38"},
        {2.5, 0, '.', "2"},
        // A text that shows zero has no minus sign.
        {-0.001, 2, '.', "0.00"},
        {-0.0, 1, '.', "0.0"},
        {kTiniest, 2, '.', "0.00"},
        // Precision is clamped to 0..kMaxPrecision.
        {2.7, -3, '.', "3"},
        {0.5, 1000, '.', "0.5000000000000000000000000000000000000000"},
        {kNaN, 2, '.', "NAN"},
        {kInf, 2, '.', "INF"},
        {-kInf, 2, '.', "-INF"},
    });
    EXPECT_EQ(FormatFixed(-kMaxDouble, 2, QLatin1Char('.')).size(), 1 + 309 + 3);
}

TEST(Format, ExpWritesSignificantDigitsAndAThreeDigitExponent)
{
    ExpectTexts(FormatExp, {
        {1234.5, 3, '.', "1.23E+003"},
        {1234.5, 3, ',', "1,23E+003"},
        {0, 3, '.', "0.00E+000"},
        {-0.000123, 2, '.', "-1.2E-004"},
        {9.99, 2, '.', "1.0E+001"},
        {1e300, 4, '.', "1.000E+300"},
        {-kMaxDouble, 3, '.', "-1.80E+308"},
        {kTiniest, 2, '.', "4.9E-324"},
        // Precision 0 and 1 both write one digit and no separator.
        {1234.5, 0, '.', "1E+003"},
        {1234.5, 1, '.', "1E+003"},
        {-0.0, 2, '.', "0.0E+000"},
        {kNaN, 3, '.', "NAN"},
        {-kInf, 3, '.', "-INF"},
    });
}

TEST(Format, GeneralSwitchesToScientificBeyondPDigitsAndBelowTheFifthDecimal)
{
    ExpectTexts(FormatGeneral, {
        {0, 5, '.', "0"},
        {1.0, 3, '.', "1"},
        {1.10, 3, '.', "1.1"},
        {-2.5, 3, ',', "-2,5"},
        {123.456, 5, '.', "123.46"},
        // The integer part has P digits: still fixed; one more: scientific.
        {12345, 5, '.', "12345"},
        {123456, 5, '.', "1.2346E5"},
        {100000, 5, '.', "1E5"},
        // Rounding to P digits decides: 99999.5 becomes 1.0000E5.
        {99999.5, 5, '.', "1E5"},
        {1234.5, 4, '.', "1234"},
        // 0.00001 is the smallest magnitude written fixed.
        {0.00001, 3, '.', "0.00001"},
        {0.0000099, 3, '.', "9.9E-6"},
        {0.000009999, 3, '.', "0.00001"},
        {-0.000012345, 3, ',', "-0,0000123"},
        {1.5e20, 15, '.', "1.5E20"},
        {1e-6, 15, '.', "1E-6"},
        {kMaxDouble, 15, '.', "1.79769313486232E308"},
        {kTiniest, 3, '.', "4.94E-324"},
        // Precision 0 is taken as 1.
        {0.5, 0, '.', "0.5"},
        {1234.5, 0, '.', "1E3"},
        {0.1, 20, '.', "0.10000000000000000555"},
        {kNaN, 3, '.', "NAN"},
        {kInf, 3, '.', "INF"},
    });
}

TEST(Format, IntWritesPlainDecimals)
{
    EXPECT_EQ(FormatInt(0), u"0");
    EXPECT_EQ(FormatInt(-42), u"-42");
    EXPECT_EQ(FormatInt(std::numeric_limits<qint64>::min()), u"-9223372036854775808");
    EXPECT_EQ(FormatInt(std::numeric_limits<qint64>::max()), u"9223372036854775807");
}

TEST(Format, LocaleSeparatorFollowsTheDefaultLocaleButExplicitSeparatorsDoNot)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German));
    const QChar german = LocaleDecimalSeparator();
    const QString fixed = FormatFixed(1.5, 2, QLatin1Char('.'));
    const QString general = FormatGeneral(0.25, 3, QLatin1Char('.'));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const QChar english = LocaleDecimalSeparator();
    QLocale::setDefault(saved);

    EXPECT_EQ(german, QLatin1Char(','));
    EXPECT_EQ(english, QLatin1Char('.'));
    EXPECT_EQ(fixed, u"1.50");
    EXPECT_EQ(general, u"0.25");
}

TEST(Format, StrWritesRightAlignedFixedAndFloatingFields)
{
    const struct
    {
        double Value;
        int Width, Decimals;
        const char *Expected;
    } cases[] = {
        // Floating notation: width - 9 digits after the point, four exponent digits.
        {1.5, 14, -1, " 1.50000E+0000"},
        {-1.5, 14, -1, "-1.50000E+0000"},
        {1e150, 14, -2, " 1.00000E+0150"},
        {-2.5e-200, 12, -1, "-2.500E-0200"},
        {0, 14, -1, " 0.00000E+0000"},
        {9.999996, 14, -1, " 1.00000E+0001"},
        {2, 10, -1, " 2.0E+0000"},
        {2, 9, -1, "  2E+0000"},
        {2, 1, -1, " 2E+0000"},
        // Fixed notation, right-aligned; a narrow field grows to the text.
        {1.5, 1, 8, "1.50000000"},
        {1.239, 1, 2, "1.24"},
        {12345, 10, 2, "  12345.00"},
        {-3.14159, 8, 3, "  -3.142"},
        {-0.001, 6, 2, "  0.00"},
        {7, 1, 0, "7"},
        {kNaN, 5, 2, "  NAN"},
        {kInf, 1, -1, "INF"},
        {-kInf, 6, 2, "  -INF"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Str(c.Value, c.Width, c.Decimals), QLatin1String(c.Expected))
            << c.Value << ":" << c.Width << ":" << c.Decimals;
    // Absurd fields and decimal counts stay within bounds.
    EXPECT_EQ(Str(1, 1'000'000'000, 0).size(), 255);
    EXPECT_EQ(Str(1, 1'000'000'000, -1).size(), 255);
    EXPECT_EQ(Str(1, 1, 1'000'000'000).size(), 2 + kMaxPrecision);
}

TEST(Format, InPlaceWritersComposeOneText)
{
    TLatin1Text text;
    text.Append('+');
    text.AppendFixed(12.5, 2, ',');
    text.Append(kDegreeSign);
    text.Append(" / ");
    text.AppendStr(-1.5, 8, 1); // aligned in its own field
    EXPECT_EQ(text.ToQString(), QString::fromUtf8("+12,50\u00B0 /     -1.5"));
    text.AlignRight(30);
    EXPECT_EQ(text.View().substr(0, 13), "            +");
    EXPECT_EQ(text.Size(), 30);
}

TEST(Format, InPlaceIntegerWritersTakeBaseAndDigitCount)
{
    const struct
    {
        qint64 Value;
        int Base, Digits;
        const char *AtLeast, *Lowest;
    } cases[] = {
        {0, 10, 1, "0", "0"},
        {255, 16, 1, "FF", "F"},
        {255, 16, 4, "00FF", "00FF"},
        {-255, 16, 4, "-00FF", "FF01"}, // the lowest digits of the two's complement
        {5, 2, 8, "00000101", "00000101"},
        {8, 8, 3, "010", "010"},
        {1234, 10, 2, "1234", "34"},
        {-7, 10, 3, "-007", "609"},
        {std::numeric_limits<qint64>::min(), 16, 1, "-8000000000000000", "0"},
        {std::numeric_limits<qint64>::max(), 2, 1,
         "111111111111111111111111111111111111111111111111111111111111111", "1"},
    };
    for (const auto &c : cases) {
        TLatin1Text atLeast, lowest;
        atLeast.AppendInteger(c.Value, c.Base, c.Digits);
        lowest.AppendLowestDigits(quint64(c.Value), c.Base, c.Digits);
        EXPECT_EQ(atLeast.View(), c.AtLeast) << c.Value << " base " << c.Base;
        EXPECT_EQ(lowest.View(), c.Lowest) << c.Value << " base " << c.Base;
    }
    TLatin1Text huge;
    huge.AppendLowestDigits(7, 10, 1'000'000);
    EXPECT_EQ(huge.Size(), kMaxDecimals);
}

TEST(Format, ScientificWithAFixedExponentWidthShowsAsterisksWhenItDoesNotFit)
{
    const struct
    {
        double Value;
        const char *Expected;
        bool Fits;
    } cases[] = {
        {1.5, "1.500E+00", true},
        {-9.9e99, "-9.900E+99", true},
        {9.99996e99, "*********", false}, // rounds to 1.000E+100
        {-1e-150, "**********", false},
        {kNaN, "NAN", true},
    };
    for (const auto &c : cases) {
        TLatin1Text text;
        EXPECT_EQ(text.AppendScientificOrAsterisks(c.Value, 4, '.', 2), c.Fits) << c.Value;
        EXPECT_EQ(text.View(), c.Expected) << c.Value;
    }
}

TEST(Format, EngineeringMantissasKeepOneToThreeIntegerDigits)
{
    const struct
    {
        double Value;
        int Significant;
        const char *Engineering, *Whole;
    } cases[] = {
        {12345, 3, "12.3E+003", "12E+003"},
        {0.00012345, 2, "120E-006", "123E-006"},
        {999.5, 3, "1.00E+003", "1E+003"},   // the tie rounds up to the next power of ten
        {99.96, 2, "100E+000", "100E+000"},
        {1e23, 2, "100E+021", "100E+021"},   // stored a hair below 10^23
        {1e-300, 1, "1E-300", "1E-300"},
        {-2.5e-7, 2, "-250E-009", "-250E-009"},
        {0, 2, "0.0E+000", "0E+000"},
        {kTiniest, 3, "4.94E-324", "5E-324"},
        {-kInf, 3, "-INF", "-INF"},
    };
    for (const auto &c : cases) {
        TLatin1Text engineering, whole;
        engineering.AppendEngineering(c.Value, c.Significant, '.');
        whole.AppendEngineeringWhole(c.Value);
        EXPECT_EQ(engineering.View(), c.Engineering) << c.Value;
        EXPECT_EQ(whole.View(), c.Whole) << c.Value;
    }
}

/// The whole engineering text worked out from the exact binary value: its decimal
/// exponent from 30 significant digits (no double lies that close to a power of
/// ten without being one), then std::to_chars's correct rounding to the integer
/// digits that exponent leaves, and zeros where a carry took digits away.
std::string ExactWholeEngineering(double value)
{
    const auto scientificDigitsAndExponent = [](double magnitude, int significant) {
        char buffer[64];
        const char *const begin = buffer;
        const char *end = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                        std::chars_format::scientific, significant - 1).ptr;
        const char *e = std::find(begin, end, 'e');
        std::string digits(begin, e);
        std::erase(digits, '.');
        return std::pair(digits, std::stoi(std::string(e + 1, end)));
    };
    const double magnitude = std::fabs(value);
    const int exponent = scientificDigitsAndExponent(magnitude, 30).second;
    const auto [digits, roundedExponent] =
        scientificDigitsAndExponent(magnitude, ((exponent % 3) + 3) % 3 + 1);
    const int integerDigits = ((roundedExponent % 3) + 3) % 3 + 1;
    std::string mantissa = (digits + "00").substr(0, size_t(integerDigits));
    char exponentText[8];
    std::snprintf(exponentText, sizeof exponentText, "E%+04d", roundedExponent - integerDigits + 1);
    return (value < 0 ? "-" : "") + mantissa + exponentText;
}

/// std::to_chars's scientific text, which rounds the exact binary value, with an
/// upper-case "E" and three exponent digits.
std::string ExactScientific(double value, int significant)
{
    char buffer[64];
    const char *const begin = buffer;
    const char *const end = std::to_chars(buffer, buffer + sizeof buffer, value,
                                          std::chars_format::scientific, significant - 1).ptr;
    const char *const e = std::find(begin, end, 'e');
    char exponentText[8];
    std::snprintf(exponentText, sizeof exponentText, "E%+04d", std::stoi(std::string(e + 1, end)));
    return std::string(begin, e) + exponentText;
}

/// Values where rounding is hard to get right: beside every power of ten and
/// beside the halfway points of short mantissas, where a product with an inexact
/// power of ten cannot tell the digits or their count, decimal ties, and random
/// bit patterns.
std::vector<double> HardRoundingValues()
{
    std::vector<double> values = {12.5, 0.125, 2.5e-7, 999.5, 99.95, 9.5, 1.5e300, 4.5e-300};
    for (int power = -310; power <= 308; ++power) {
        for (const double mantissa : {1.0, 9.995, 99.95, 999.5, 10.0, 100.0, 1.2345, 9.9999995}) {
            const double near = mantissa * std::pow(10.0, power);
            values.insert(values.end(), {near, std::nextafter(near, 0.0), std::nextafter(near, kInf)});
        }
    }
    // Decimal ties of every digit count a label shows, most of them not exact in binary.
    for (int power = -30; power <= 30; ++power) {
        for (int whole = 1; whole < 20000; whole += 37)
            values.push_back((whole + 0.5) * std::pow(10.0, power));
    }
    std::mt19937_64 bits(20261211);
    for (int i = 0; i < 100000; ++i)
        values.push_back(std::bit_cast<double>(bits()));
    std::erase_if(values, [](double value) { return !std::isfinite(value) || value == 0; });
    return values;
}

TEST(Format, ScientificAndEngineeringRoundTheExactBinaryValue)
{
    for (const double value : HardRoundingValues()) {
        for (const int significant : {1, 2, 3, 5, 8, 9, 10, 17}) {
            TLatin1Text text;
            text.AppendScientific(value, significant, '.');
            ASSERT_EQ(text.View(), ExactScientific(value, significant))
                << std::bit_cast<quint64>(value) << ", " << significant << " digits";
        }
        TLatin1Text whole;
        whole.AppendEngineeringWhole(value);
        ASSERT_EQ(whole.View(), ExactWholeEngineering(value)) << std::bit_cast<quint64>(value);
    }
}

TEST(Format, ValReadsWholeDecimalTextsOnly)
{
    const struct
    {
        const char16_t *Text;
        std::optional<double> Expected;
    } cases[] = {
        {u"1.5", 1.5},          {u"-2", -2.0},          {u"+3e2", 300.0},
        {u"  7", 7.0},          {u".5", 0.5},           {u"1.", 1.0},
        {u"-.0", 0.0},          {u"0.1", 0.1},          {u"2.5E-3", 0.0025},
        {u"1.7976931348623157e308", kMaxDouble},
        // Beyond the double range: infinity or zero, for the caller to clamp.
        {u"1e4200", kInf},      {u"-1e4200", -kInf},    {u"1e-4200", 0.0},
        {u"0.000e99999", 0.0},  {u"123456789e-4210", 0.0},
        {u"", std::nullopt},    {u".", std::nullopt},   {u"-", std::nullopt},
        {u"1e", std::nullopt},  {u"1e+", std::nullopt}, {u"e5", std::nullopt},
        {u"1,5", std::nullopt}, {u"1 ", std::nullopt}, {u"1 2", std::nullopt},
        {u"inf", std::nullopt}, {u"nan", std::nullopt}, {u"0x10", std::nullopt},
        {u"--1", std::nullopt}, {u"1e5.5", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Val(c.Text), c.Expected) << QString::fromUtf16(c.Text).toStdString();
}

TEST(Format, SeventeenDigitTextsReadBackToTheSameDouble)
{
    std::mt19937_64 bits(20240307);
    for (int i = 0; i < 3000; ++i) {
        const double value = std::bit_cast<double>(bits());
        if (!std::isfinite(value))
            continue;
        for (const QString &text : {FormatGeneral(value, 17, QLatin1Char('.')),
                                    FormatExp(value, 17, QLatin1Char('.')), Str(value, 26, -1)}) {
            const std::optional<double> read = Val(text);
            ASSERT_TRUE(read.has_value()) << text.toStdString();
            ASSERT_EQ(*read, value) << text.toStdString();
        }
    }
}

// --- Dates -------------------------------------------------------------------------

constexpr double kMarch7th2024 = 45358;

TEST(Format, EncodeDateCountsDaysFrom1899December30)
{
    const struct
    {
        int Year, Month, Day;
        double Expected;
    } cases[] = {
        {1899, 12, 30, 0}, {1900, 1, 1, 2}, {2024, 3, 7, kMarch7th2024}, {2024, 2, 29, 45351},
        {1, 1, 1, -693593}, {9999, 12, 31, 2958465},
    };
    for (const auto &c : cases)
        EXPECT_EQ(EncodeDate(c.Year, c.Month, c.Day), c.Expected) << c.Year << "-" << c.Month;
}

TEST(Format, EncodeRejectsWhatIsNoDateOrTime)
{
    const int dates[][3] = {{2023, 2, 29}, {0, 1, 1}, {10000, 1, 1}, {-5, 1, 1},
                            {2024, 13, 1}, {2024, 0, 1}, {2024, 4, 31}, {2024, 1, 0}};
    for (const auto &d : dates) {
        try {
            EncodeDate(d[0], d[1], d[2]);
            ADD_FAILURE() << d[0] << "-" << d[1] << "-" << d[2] << " was accepted";
        } catch (const EConvertError &error) {
            EXPECT_EQ(error.Message(), u"Invalid argument to date encode");
        }
    }
    const int times[][4] = {{24, 0, 0, 0}, {-1, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}};
    for (const auto &t : times) {
        try {
            EncodeTime(t[0], t[1], t[2], t[3]);
            ADD_FAILURE() << t[0] << ":" << t[1] << ":" << t[2] << "." << t[3] << " was accepted";
        } catch (const EConvertError &error) {
            EXPECT_EQ(error.Message(), u"Invalid argument to time encode");
        }
    }
}

TEST(Format, DecodeSplitsDateAndTimeOfDay)
{
    const struct
    {
        double Value;
        int Year, Month, Day, Hour, Min, Sec, Msec;
    } cases[] = {
        {0, 1899, 12, 30, 0, 0, 0, 0},
        {kMarch7th2024 + 0.75, 2024, 3, 7, 18, 0, 0, 0},
        {kMarch7th2024 + EncodeTime(23, 59, 59, 999), 2024, 3, 7, 23, 59, 59, 999},
        // Before 1899-12-30 the fraction's magnitude is the time of day.
        {-1.25, 1899, 12, 29, 6, 0, 0, 0},
        {-0.25, 1899, 12, 30, 6, 0, 0, 0},
        // A hair before midnight rounds to 00:00 of the next day, date included.
        {2.9999999999, 1900, 1, 2, 0, 0, 0, 0},
        {-1.9999999999, 1899, 12, 30, 0, 0, 0, 0},
        {-693593, 1, 1, 1, 0, 0, 0, 0},
        {2958465.5, 9999, 12, 31, 12, 0, 0, 0},
        // Outside the valid dates everything is 0.
        {2958466, 0, 0, 0, 0, 0, 0, 0},
        {-693594, 0, 0, 0, 0, 0, 0, 0},
        {1e300, 0, 0, 0, 0, 0, 0, 0},
        {kNaN, 0, 0, 0, 0, 0, 0, 0},
        {-kInf, 0, 0, 0, 0, 0, 0, 0},
    };
    for (const auto &c : cases) {
        int y = -1, m = -1, d = -1, h = -1, n = -1, s = -1, z = -1;
        DecodeDate(c.Value, y, m, d);
        DecodeTime(c.Value, h, n, s, z);
        EXPECT_EQ((std::array{y, m, d, h, n, s, z}),
                  (std::array{c.Year, c.Month, c.Day, c.Hour, c.Min, c.Sec, c.Msec}))
            << c.Value;
    }
}

TEST(Format, DecodeAgreesWithQtsCalendarOverTheValidDates)
{
    std::vector<qint64> days{-693593, 2958465, -1, 0, 1, 59, 60, 61}; // the ends, 1900-02-28..03-01
    for (const QDate date : {QDate(2000, 2, 29), QDate(1600, 2, 29), QDate(1582, 10, 15),
                             QDate(2100, 3, 1), QDate(4, 2, 29)})
        days.push_back(QDate(1899, 12, 30).daysTo(date));
    for (qint64 day = -693593; day <= 2958465; day += 97)
        days.push_back(day);
    for (const qint64 day : days) {
        const QDate date = QDate(1899, 12, 30).addDays(day);
        const double noon = double(day) + (day < 0 ? -0.5 : 0.5); // the fraction is the time
        int year = 0, month = 0, dayOfMonth = 0;
        DecodeDate(noon, year, month, dayOfMonth);
        ASSERT_EQ((std::array{year, month, dayOfMonth}),
                  (std::array{date.year(), date.month(), date.day()}))
            << day;
        ASSERT_EQ(DayOfTheWeek(noon), date.dayOfWeek()) << day;
    }
}

TEST(Format, WeekdayAndIsoWeekNumber)
{
    const struct
    {
        int Year, Month, Day, Weekday, Week;
    } cases[] = {
        {2024, 3, 7, 4, 10},  {2024, 3, 10, 7, 10}, {1899, 12, 30, 6, 52},
        {2021, 1, 3, 7, 53},  // still the last week of 2020
        {2024, 12, 30, 1, 1}, // already the first week of 2025
        {2026, 12, 31, 4, 53},
    };
    for (const auto &c : cases) {
        const double date = EncodeDate(c.Year, c.Month, c.Day) + 0.5;
        EXPECT_EQ(DayOfTheWeek(date), c.Weekday) << c.Year << "-" << c.Month << "-" << c.Day;
        EXPECT_EQ(WeekOfTheYear(date), c.Week) << c.Year << "-" << c.Month << "-" << c.Day;
    }
    EXPECT_EQ(DayOfTheWeek(kNaN), 0);
    EXPECT_EQ(WeekOfTheYear(1e12), 0);
}

TEST(Format, QDateTimeConversionsKeepTheWallClock)
{
    const struct
    {
        QDateTime Qt;
        double Value;
    } cases[] = {
        {QDateTime(QDate(2024, 3, 7), QTime(18, 0)), kMarch7th2024 + 0.75},
        {QDateTime(QDate(1899, 12, 29), QTime(6, 0)), -1.25},
        {QDateTime(QDate(1899, 12, 30), QTime(0, 0)), 0},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(DateTimeFromQDateTime(c.Qt), c.Value) << c.Qt.toString().toStdString();
        EXPECT_EQ(DateTimeToQDateTime(c.Value), c.Qt) << c.Value;
    }
    const QDateTime withMsec(QDate(2024, 3, 7), QTime(13, 5, 9, 250));
    EXPECT_EQ(DateTimeToQDateTime(DateTimeFromQDateTime(withMsec)), withMsec);
    const QDateTime utc(QDate(2024, 3, 31), QTime(2, 30), Qt::UTC);
    EXPECT_EQ(DateTimeToQDateTime(DateTimeFromQDateTime(utc), Qt::UTC), utc);
    EXPECT_EQ(DateTimeFromQDateTime(QDateTime()), 0);
    EXPECT_FALSE(DateTimeToQDateTime(kNaN).isValid());
}

TEST(Format, FormatDateTimeFollowsTheFormatLetters)
{
    const double afternoon = kMarch7th2024 + EncodeTime(13, 5, 9, 45); // a Thursday
    const double morning = kMarch7th2024 + EncodeTime(0, 30, 0, 0);
    const struct
    {
        const char *Format;
        double Value;
        const char *Expected;
    } cases[] = {
        {"mmm-dd, yyyy", kMarch7th2024, "Mar-07, 2024"},
        {"hh:nn:ss", afternoon, "13:05:09"},
        {"d/m/yy", afternoon, "7/3/24"},
        {"dd.mm.yyyy", afternoon, "07.03.2024"},
        {"ddd dddd mmmm", afternoon, "Thu Thursday March"},
        {"ddddd", afternoon, "3/7/2024"},
        {"dddddd", afternoon, "Thursday, March 7, 2024"},
        {"c", afternoon, "3/7/2024 1:05:09 PM"},
        {"c", kMarch7th2024, "3/7/2024"},
        {"", afternoon, "3/7/2024 1:05:09 PM"},
        {"t|tt", afternoon, "1:05 PM|1:05:09 PM"},
        // "m" right after an hour is the minute, literal text in between or not.
        {"h:mm", afternoon, "13:05"},
        {"hhmm", afternoon, "1305"},
        {"hh:mm:ss mm", afternoon, "13:05:09 03"},
        {"h:nn am/pm", afternoon, "1:05 pm"},
        {"h:nn AM/PM", afternoon, "1:05 PM"},
        {"h:nn a/p", afternoon, "1:05 p"},
        {"hh ampm", afternoon, "01 PM"},
        {"h:nn am/pm", morning, "12:30 am"},
        {"h:nn A/P", morning, "12:30 A"},
        {"z zzz", afternoon, "45 045"},
        {"YYYY-MM-DD HH:NN", afternoon, "2024-03-07 13:05"},
        {"'yyyy' \"mm\" yyyy", afternoon, "yyyy mm 2024"},
        {"'open quote", afternoon, "open quote"},
        {"x, y!", afternoon, "x, 24!"},
        {"yyyy yy", EncodeDate(5, 6, 7), "0005 05"},
        {"dd/mm/yyyy", kNaN, ""},
        {"dd/mm/yyyy", 3e6, ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatDateTime(QLatin1String(c.Format), c.Value), QLatin1String(c.Expected))
            << c.Format;
}

TEST(Format, FormatDateTimeCopiesCharactersBeyondLatin1)
{
    // Only the ASCII letters are format letters: U+0130 and the Kelvin sign, which
    // lower to "i" and "k", stay literal, as every other character does.
    EXPECT_EQ(FormatDateTime(QStringLiteral("yyyy\u5E74m\u6708d\u65E5 \u0130\u212A \u00E4hh"),
                             kMarch7th2024 + 0.5),
              QStringLiteral("2024\u5E743\u67087\u65E5 \u0130\u212A \u00E412"));
}

TEST(Format, FormatDateTimeTakesNamesAndSeparatorsFromTheSettings)
{
    TFormatSettings german = EnglishFormatSettings();
    german.DateSeparator = QLatin1Char('.');
    german.ShortDateFormat = QStringLiteral("dd/mm/yyyy");
    german.LongMonthNames[2] = QStringLiteral("März");
    EXPECT_EQ(FormatDateTime(QStringLiteral("ddddd, d. mmmm"), kMarch7th2024, german),
              u"07.03.2024, 7. März");

    // Formats that refer to each other end instead of recursing forever.
    TFormatSettings circular = EnglishFormatSettings();
    circular.ShortDateFormat = QStringLiteral("c");
    circular.LongTimeFormat = QStringLiteral("tt");
    EXPECT_LT(FormatDateTime(QStringLiteral("c"), kMarch7th2024 + 0.5, circular).size(), 100);
}

/// The value of a date and time of day; before 1899-12-30 the time counts away from
/// zero, as the day does.
TDateTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    const TDateTime date = EncodeDate(year, month, day);
    const TDateTime time = EncodeTime(hour, minute, second, 0);
    return date >= 0 ? date + time : date - time;
}

TEST(PickerDates, ReadTextsByTheirFormat)
{
    const struct {
        const char *Text;
        const char *Format;
        TDateTime Expected;
    } cases[] = {
        {"03.04.2024", "dd.MM.yyyy", At(2024, 4, 3)},
        {"  +7/3/2024", "M/d/yyyy", At(2024, 7, 3)},            // blanks and a sign
        {"march 5, 2024", "MMMM d, yyyy", At(2024, 3, 5)},     // names in any case
        {"05-MAR-2024", "dd-MMM-yyyy", At(2024, 3, 5)},
        {"Tuesday, 05.03.2024", "dddd, dd.MM.yyyy", At(2024, 3, 5)},
        {"Tue 05.03.2024", "ddd dd.MM.yyyy", At(2024, 3, 5)},
        {"2024-03-05 13:45:10", "yyyy-MM-dd HH:mm:ss", At(2024, 3, 5, 13, 45, 10)},
        {"12:30 AM", "hh:mm tt", EncodeTime(0, 30, 0, 0)},     // time only
        {"12:30 pm", "hh:mm tt", EncodeTime(12, 30, 0, 0)},
        {"01:05 PM", "hh:mm tt", EncodeTime(13, 5, 0, 0)},
        {"7 a", "h t", EncodeTime(7, 0, 0, 0)},
        {"12:00", "hh:mm", EncodeTime(0, 0, 0, 0)},            // the morning by default
        {"at 13", "'at' HH", EncodeTime(13, 0, 0, 0)},
        {"1 o'clock pm", "h 'o''clock' tt", EncodeTime(13, 0, 0, 0)},
        {"03.04.2024 and more", "dd.MM.yyyy", At(2024, 4, 3)}, // the rest is not read
        {"1850-06-01 06:00:00", "yyyy-MM-dd HH:mm:ss", At(1850, 6, 1, 6)}, // before 1899-12-30
    };
    for (const auto &c : cases) {
        const TDateScan scan = ScanPickerDateTime(QString::fromUtf8(c.Text), QString::fromUtf8(c.Format));
        EXPECT_EQ(scan.Error, dseNone) << c.Text << " / " << c.Format;
        EXPECT_EQ(scan.Value, c.Expected) << c.Text << " / " << c.Format;
    }
}

TEST(PickerDates, TwoDigitYearsFallIntoTheWindow)
{
    const struct {
        const char *Text;
        int Window;
        int Year;
    } cases[] = {
        {"24", 50, 2024}, {"75", 50, 2075}, {"76", 50, 1976}, {"80", 50, 1980},
        {"80", 0, 2080}, // no window: the current century
        {"99", 10, 2099}, {"15", 10, 2115}, {"16", 10, 2016},
        {"50", -5, 2050}, {"50", 500, 1950}, // windows clamped to 0 .. 99
    };
    for (const auto &c : cases) {
        const TDateScan scan = ScanPickerDateTime(QString::fromUtf8(c.Text) + QStringLiteral("-01-01"), u"yy-MM-dd", c.Window, 2026);
        ASSERT_EQ(scan.Error, dseNone) << c.Text << " window " << c.Window;
        int year = 0, month = 0, day = 0;
        DecodeDate(scan.Value, year, month, day);
        EXPECT_EQ(year, c.Year) << c.Text << " window " << c.Window;
    }
}

TEST(PickerDates, TextsThatDoNotFitAreReportedNeverMadeIntoADate)
{
    const struct {
        const char *Text;
        const char *Format;
        TDateScanError Error;
    } cases[] = {
        {"03-04-2024", "dd.MM.yyyy", dseLiteral},
        {"03.04.2024", "dd.MM.yyy", dseToken},
        {"03.04.2024", "d.MMMMM.yyyy", dseToken},
        {"ab.04.2024", "dd.MM.yyyy", dseNumber},
        {"3", "dd", dseNumber},                 // too short for a two-character field
        {"Foo 5, 2024", "MMM d, yyyy", dseNumber},
        {"Fo", "MMM", dseNumber},
        {"x.04.2024", "d.MM.yyyy", dseNumber},
        {"99999999999/1/2024", "M/d/yyyy", dseNumber}, // beyond any integer
        {"", "dd.MM.yyyy", dseNumber},
        {"31.02.2024", "dd.MM.yyyy", dseNotADate},
        {"03.04", "dd.MM", dseNotADate},        // no year: no date, not year 0 or today
        {"0000-01-01", "yyyy-MM-dd", dseNotADate},
        {"25:00", "HH:mm", dseNotADate},
        {"-1:00", "H:mm", dseNotADate},
        {"12:60", "HH:mm", dseNotADate},
    };
    for (const auto &c : cases) {
        const TDateScan scan = ScanPickerDateTime(QString::fromUtf8(c.Text), QString::fromUtf8(c.Format));
        EXPECT_EQ(scan.Error, c.Error) << c.Text << " / " << c.Format;
    }
}

TEST(PickerDates, WriteValuesByTheirFormat)
{
    const struct {
        const char *Format;
        TDateTime Value;
        const char *Expected;
    } cases[] = {
        {"dd.MM.yyyy", At(2024, 4, 3), "03.04.2024"},
        {"d MMMM yyyy, dddd", At(2024, 4, 3), "3 April 2024, Wednesday"},
        {"ddd d-MMM-yy", At(2024, 4, 3), "Wed 3-Apr-24"},
        {"hh:mm tt", At(2024, 4, 3, 0, 30), "12:30 AM"},
        {"h:m:s t", At(2024, 4, 3, 13, 5, 9), "1:5:9 P"},
        {"HH:mm:ss", At(2024, 4, 3, 13, 5, 9), "13:05:09"},
        {"yyyy", At(12, 1, 1), "0012"},
        {"yyy-MMMMM", At(2024, 4, 3), "yyy-MMMMM"}, // unknown runs as they stand
        {"'o''clock' HH", At(2024, 4, 3, 13), "o'clock 13"},
        {"dd.MM.yyyy", kNaN, ""},
        {"dd.MM.yyyy", 1e7, ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatPickerDateTime(QString::fromUtf8(c.Format), c.Value), QString::fromUtf8(c.Expected))
            << c.Format;
}

TEST(PickerDates, WrittenTextsReadBackToTheSameValue)
{
    const char *const formats[] = {
        "yyyy-MM-dd HH:mm:ss",
        "dd.MM.yyyy hh:mm:ss tt",
        "dddd, MMMM d, yyyy H:m:s",
        "ddd MMM/d/yyyy h:mm:ss t",
    };
    std::mt19937 random(20261210);
    std::uniform_int_distribution<qint64> days(-693'593, 2'958'465);
    std::uniform_int_distribution<int> seconds(0, 86'399);
    for (int i = 0; i < 2000; ++i) {
        const qint64 day = days(random);
        const int second = seconds(random);
        const TDateTime time = EncodeTime(second / 3600, second / 60 % 60, second % 60, 0);
        const TDateTime value = day >= 0 ? double(day) + time : double(day) - time;
        for (const char *format : formats) {
            const QString text = FormatPickerDateTime(QString::fromUtf8(format), value);
            const TDateScan scan = ScanPickerDateTime(text, QString::fromUtf8(format));
            ASSERT_EQ(scan.Error, dseNone) << qPrintable(text) << " / " << format;
            ASSERT_EQ(scan.Value, value) << qPrintable(text) << " / " << format;
        }
    }
}

TEST(ClipNumbers, ScanOneNumberAndStopWhereItEnds)
{
    const struct {
        const char *Text;
        TClipSeparators Separators;
        double Expected;
        qsizetype EndsAt;
    } cases[] = {
        {"  12.5;", csPointOrComma, 12.5, 6},
        {"1,5", csPointOrComma, 1.5, 3},
        {"1,5", csPoint, 1.0, 1},          // a comma that is no separator ends the number
        {"1.5, 2.5", csPointOrComma, 1.5, 3}, // a second separator ends it too
        {"1.5.3", csPointOrComma, 1.5, 3},
        {"12.", csPointOrComma, 12.0, 3},
        {"-.5", csPointOrComma, -0.5, 3},
        {"1e3", csPointOrComma, 1000.0, 3},
        {"2.5E-2x", csPointOrComma, 0.025, 6},
        {"1E", csPointOrComma, 1.0, 2},    // an exponent without digits counts as none
        {"7-3", csPointOrComma, 7.0, 1},
        {"--5", csPointOrComma, 0.0, 1},   // no number: 0, stopped at the second sign
        {"E5", csPointOrComma, 0.0, 0},
        {"1E99999", csPointOrComma, std::numeric_limits<double>::max(), 7},
        {"-1E4300", csPointOrComma, -std::numeric_limits<double>::max(), 7},
        {"1E-99999", csPointOrComma, 0.0, 8},
    };
    for (const auto &c : cases) {
        qsizetype pos = 0;
        EXPECT_EQ(ScanClipNumber(QString::fromLatin1(c.Text), true, c.Separators, pos), c.Expected) << c.Text;
        EXPECT_EQ(pos, c.EndsAt) << c.Text;
    }
    qsizetype pos = 0;
    EXPECT_EQ(ScanClipNumber(u"2E3", false, csPoint, pos), 2.0);
}

TEST(ClipNumbers, ReadPastedTextsLineByLine)
{
    using Lines = std::vector<std::vector<double>>;
    const struct {
        const char *Text;
        Lines Expected;
    } cases[] = {
        {"1,5; 2.25", {{1.5, 2.25}}},
        {"1.5, 2.5, 3", {{1.5, 2.5, 3}}},
        {"--5", {{0, 5}}},
        {"12.", {{12}}},
        {"1\t2\r\n3\t\t4\r\n", {{1, 2}, {3, 4}}}, // an empty field leaves no gap
        {"1\t2\n3", {{1, 2}, {3}}},               // the last line needs no line feed
        {"1\n\n\n", {{1}}},                       // nor do line feeds at the end add lines
        {"a\n1\n\nb 2", {{}, {1}, {}, {2}}},      // numbers keep the line they stand on
        {"1E\t2", {{0, 2}}},                      // a tab is a blank, which no exponent takes
        {"3 1E", {{3, 0}}},                       // nor does the blank after the end
        {"-0.5e-3 7E2,5 1e5.5 12. -.25", {{-0.0005, 700, 5, 100000, 5, 12, -0.25}}},
        {"no numbers at all\n", {}},
        {"", {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ScanClipNumbers(QString::fromLatin1(c.Text)), c.Expected) << c.Text;
}

} // namespace
