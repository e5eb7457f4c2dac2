// The number-text routines of the numeric fields, without a widget.

#include "NVO_NumFormat.h"

#include <gtest/gtest.h>

#include <QtCore/QLocale>

#include <cmath>
#include <limits>

using namespace nvo;

namespace {

constexpr double kMax = uc_MaxDouble;

struct FloatScanCase {
    const char *text;
    bool expAllowed;
    int sepMode;
    int startPos;
    double value;
    int endPos;
};

TEST(ScanFloatNum, FollowsTheStateMachine)
{
    const FloatScanCase cases[] = {
        {"12.5", true, 1, 1, 12.5, 5},
        {"  12", true, 1, 1, 12, 5},
        {"12 ", true, 1, 1, 12, 3},
        {"1 2", true, 1, 1, 1, 2},
        {"12x", true, 1, 1, 12, 3},
        {"ab12.5", true, 1, 3, 12.5, 7},
        // Partial numbers a user passes through while typing.
        {"-", true, 1, 1, 0, 2},
        {"+", true, 1, 1, 0, 2},
        {".", true, 1, 1, 0, 2},
        {"-.", true, 1, 1, 0, 3},
        {"1.", true, 1, 1, 1, 3},
        {"1e", true, 1, 1, 1, 3},
        {"1e-", true, 1, 1, 1, 4},
        {"1.e5", true, 1, 1, 1e5, 5},
        {".e5", true, 1, 1, 0, 4},
        // Exponents.
        {"1.5e3", true, 1, 1, 1500, 6},
        {"1.5E-3", true, 1, 1, 0.0015, 7},
        {"-2.5e+2", true, 1, 1, -250, 8},
        {"1.5e3", false, 1, 1, 1.5, 4},
        {"1e5.", true, 1, 1, 1e5, 4},
        // Errors read 0 and stop on the offending character.
        {"e5", true, 1, 1, 0, 1},
        {"--1", true, 1, 1, 0, 2},
        {"1..2", true, 1, 1, 0, 3},
        {"1e+-2", true, 1, 1, 0, 4},
        {"", true, 1, 1, 0, 1},
        // Separator modes.
        {"1,5", true, 1, 1, 1, 2},
        {"1,5", true, 2, 1, 1.5, 4},
        {"1.5", true, 2, 1, 1, 2},
        {"1,5", true, 3, 1, 1.5, 4},
        {"1.5", true, 3, 1, 1.5, 4},
        {"1.5,", true, 3, 1, 0, 4},
        // Out of range values are clamped; exponent digits beyond 4200 are dropped.
        {"1e308", true, 1, 1, 1e308, 6},
        {"1e309", true, 1, 1, kMax, 6},
        {"-1e5000", true, 1, 1, -kMax, 8},
        {"1e-5000", true, 1, 1, 0, 8},
        {"1e99999999999999999999", true, 1, 1, kMax, 23},
        {"1e-99999999999999999999", true, 1, 1, 0, 24},
    };
    for (const FloatScanCase &c : cases) {
        int pos = c.startPos;
        const double value = ScanFloatNum(QString::fromLatin1(c.text), c.expAllowed, c.sepMode, pos);
        EXPECT_EQ(value, c.value) << c.text << " mode " << c.sepMode;
        EXPECT_EQ(pos, c.endPos) << c.text << " mode " << c.sepMode;
    }
}

TEST(ScanFloatNum, DropsExponentDigitsBeyond4200)
{
    // A mantissa of 1e-4196 makes the cut visible: the exponent 4200 is kept whole
    // (1e4), the exponent 4201 is cut to 420 (1e-3776, which is 0 as a double).
    const QString mantissa = QStringLiteral("0.") + QString(4195, QLatin1Char('0')) + QStringLiteral("1");
    int pos = 1;
    EXPECT_DOUBLE_EQ(ScanFloatNum(mantissa + QStringLiteral("e4200"), true, 1, pos), 1e4);
    pos = 1;
    EXPECT_EQ(ScanFloatNum(mantissa + QStringLiteral("e4201"), true, 1, pos), 0.0);
    EXPECT_EQ(pos, mantissa.size() + 6);
}

struct IntScanCase {
    const char *text;
    qint64 value;
    int endPos;
};

TEST(ScanDecInt, ReadsSigned32BitIntegersWithoutWrapping)
{
    const IntScanCase cases[] = {
        {"123", 123, 4},
        {"-123", -123, 5},
        {"+7", 7, 3},
        {"  42", 42, 5},
        {"12a", 12, 3},
        {"-", 0, 2},
        {"", 0, 1},
        {"2147483647", 2147483647, 11},
        {"-2147483648", -2147483648LL, 12},
        // The digit that would leave the 32-bit range ends the scan.
        {"2147483648", 214748364, 10},
        {"4294967296", 429496729, 10},
        {"99999999999999999999", 999999999, 10},
    };
    for (const IntScanCase &c : cases) {
        int pos = 1;
        EXPECT_EQ(ScanDecInt(QString::fromLatin1(c.text), pos), c.value) << c.text;
        EXPECT_EQ(pos, c.endPos) << c.text;
    }
}

struct RadixScanCase {
    qint32 (*scan)(QStringView, int &);
    const char *text;
    qint64 value;
    int endPos;
};

TEST(ScanHexOctBin, ReadDigitsInto32BitsWithoutWrapping)
{
    const RadixScanCase cases[] = {
        {ScanHex, "$FF", 255, 4},
        {ScanHex, "ff", 255, 3},
        {ScanHex, "7fffffff", 0x7fffffff, 9},
        {ScanHex, "FFFFFFFF", -1, 9},
        {ScanHex, "1FFFFFFFF", 0x1FFFFFFF, 9},
        {ScanHex, "$", 0, 2},
        {ScanHex, "1G", 1, 2},
        {ScanHex, "1$", 1, 2},
        {ScanOct, "777", 511, 4},
        {ScanOct, "8", 0, 1},
        {ScanOct, "37777777777", -1, 12},
        {ScanOct, "40000000000", 0x20000000, 11},
        {ScanOct, "$7", 0, 1},
        {ScanBin, "1010", 10, 5},
        {ScanBin, "12", 1, 2},
        {ScanBin, "11111111111111111111111111111111", -1, 33},
        {ScanBin, "100000000000000000000000000000000", -2147483648LL, 33},
    };
    for (const RadixScanCase &c : cases) {
        int pos = 1;
        EXPECT_EQ(c.scan(QString::fromLatin1(c.text), pos), c.value) << c.text;
        EXPECT_EQ(pos, c.endPos) << c.text;
    }
}

struct FormatCase {
    int width;
    int decimals;
    double value;
    const char *text;
};

TEST(FormatNumStr, WritesStrWithTwoDigitExponentsAsterisksAndZeroFill)
{
    const FormatCase cases[] = {
        {12, -2, 1.5, " 1.50000E+00"},
        {12, -2, -1.5, "-1.50000E+00"},
        {12, -2, 0, " 0.00000E+00"},
        {12, -2, 1.5e-7, " 1.50000E-07"},
        {12, -2, 9.9e99, " 9.90000E+99"},
        {12, -2, 1e150, "************"},
        {12, -2, -1e-150, "************"},
        {10, -2, 1234.5, " 1.234E+03"},
        {-12, -2, 1.5, "01.50000E+00"},
        {1, 8, 1.5, "1.50000000"},
        {1, 2, 1.239, "1.24"},
        {1, 0, 12, "12"},
        {7, 1, -1.5, "   -1.5"},
        {-7, 1, -1.5, "-0001.5"},
        {-7, 1, 1.5, "00001.5"},
        {-3, 1, -1.5, "-1.5"},
    };
    for (const FormatCase &c : cases)
        EXPECT_EQ(FormatNumStr(c.width, c.decimals, c.value), QLatin1String(c.text))
            << c.width << " " << c.decimals << " " << c.value;
}

TEST(FormatNumStr, IsTotal)
{
    constexpr double kInf = std::numeric_limits<double>::infinity();
    for (double v : {std::nan(""), kInf, -kInf, uc_MaxDouble, -uc_MaxDouble, 5e-324})
        for (int width : {std::numeric_limits<int>::min(), -1, 0, 1, 12, std::numeric_limits<int>::max()})
            for (int decimals : {-2, -1, 0, 8, 1000})
                EXPECT_LE(FormatNumStr(width, decimals, v).size(), 400) << v << " " << width;
}

TEST(DigitWriters, WriteExactlyNDigits)
{
    const struct {
        QString text;
        const char *expected;
    } cases[] = {
        {HexStr(255, 8), "000000FF"},
        {HexStr(0xFFFFFFFF, 8), "FFFFFFFF"},
        {HexStr(0xABCDEF, 8), "00ABCDEF"},
        {HexStr(0x1234, 2), "34"},
        {HexStr(255, 0), "F"},
        {HexStr(255, 20), "000000FF"},
        {OctStr(8, 3), "010"},
        {OctStr(0xFFFFFFFF, 11), "37777777777"},
        {OctStr(0xFFFFFFFF, 12), "37777777777"},
        {BinStr(5, 4), "0101"},
        {BinStr(5, 1), "1"},
        {BinStr(0x80000000, 40), "10000000000000000000000000000000"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.text, QLatin1String(c.expected));
}

struct ConvertCase {
    const char *text;
    TInFormat format;
    int sepMode;
    bool ok;
    double value;
};

TEST(ConvertNumString, AcceptsWholeNumbersOfTheFormat)
{
    using F = TNumFormat;
    const ConvertCase cases[] = {
        {"   ", F::itExp, 1, true, 0},
        {"  12", F::itInt, 1, true, 12},
        {"12 ", F::itInt, 1, false, 0},
        {"1 2", F::itExp, 1, false, 0},
        {"-", F::itExp, 1, true, 0},
        {"+", F::itFloat, 1, true, 0},
        {".", F::itFixPoint, 1, true, 0},
        {"-.", F::itDynamic, 1, true, 0},
        {"1.", F::itFloat, 1, true, 1},
        {"1.5e3", F::itDynamic, 1, true, 1500},
        {"1.5E3", F::itExp, 1, true, 1500},
        {"1.5e", F::itDynamic, 1, true, 1.5},
        {"1e-", F::itExp, 1, true, 1},
        {"1e+", F::itExp, 1, true, 1},
        {"1e--", F::itExp, 1, false, 0},
        {"e5", F::itDynamic, 1, false, 0},
        {"1e5", F::itFloat, 1, false, 0},
        {"1.0", F::itInt, 1, false, 0},
        {"1,5", F::itFloat, 1, false, 0},
        {"1,5", F::itFloat, 2, true, 1.5},
        {"1.5", F::itFloat, 2, false, 0},
        {"1,5", F::itFloat, 3, true, 1.5},
        {"1.5", F::itFloat, 3, true, 1.5},
        {"1e5000", F::itExp, 1, true, kMax},
        // Integers beyond 32 bits are no integers of the field.
        {"2147483647", F::itInt, 1, true, 2147483647},
        {"-2147483648", F::itInt, 1, true, -2147483648.0},
        {"2147483648", F::itInt, 1, false, 0},
        {"4294967296", F::itInt, 1, false, 0},
        // Hexadecimal, octal and binary texts: 32-bit patterns, prefix optional.
        {"$ff", F::itDynamic, 1, true, 255},
        {"%101", F::itDynamic, 1, true, 5},
        {"&17", F::itDynamic, 1, true, 15},
        {"$", F::itDynamic, 1, true, 0},
        {"$g", F::itDynamic, 1, false, 0},
        {"$$1", F::itDynamic, 1, false, 0},
        {"&8", F::itDynamic, 1, false, 0},
        {"1F", F::itHex, 1, true, 31},
        {"$1F", F::itHex, 1, true, 31},
        {"FFFFFFFF", F::itHex, 1, true, -1},
        {"100000000", F::itHex, 1, false, 0},
        {"-1", F::itHex, 1, false, 0},
        {"17", F::itOct, 1, true, 15},
        {"&17", F::itOct, 1, true, 15},
        {"$17", F::itOct, 1, false, 0},
        {"8", F::itOct, 1, false, 0},
        {"101", F::itBin, 1, true, 5},
        {"%101", F::itBin, 1, true, 5},
        {"102", F::itBin, 1, false, 0},
    };
    for (const ConvertCase &c : cases) {
        double v = -99;
        EXPECT_EQ(ConvertNumString(QString::fromLatin1(c.text), c.format, c.sepMode, v), c.ok)
            << c.text << " format " << int(c.format);
        EXPECT_EQ(v, c.value) << c.text << " format " << int(c.format);
    }
}

TEST(ConvertNumString, LeavesTheValueUnwrittenForAnEmptyText)
{
    double v = 42;
    EXPECT_FALSE(ConvertNumString(u"", TNumFormat::itExp, 1, v));
    EXPECT_EQ(v, 42);
}

struct NumberTextCase {
    double value;
    TInFormat format;
    int decimals;
    int sepMode;
    const char *text;
};

TEST(NumberText, WritesTheFormatsNotation)
{
    using F = TNumFormat;
    const NumberTextCase cases[] = {
        {1.5, F::itExp, 2, 1, " 1.50000E+00"},
        {1.5, F::itDynamic, 2, 1, " 1.50000E+00"},
        {1e150, F::itExp, 2, 1, "************"},
        {1.5, F::itFloat, 2, 1, "1.50000000"},
        {1.239, F::itFixPoint, 2, 1, "1.24"},
        {1.5, F::itFixPoint, 0, 1, "1.5"},
        {1.5, F::itFixPoint, 12, 1, "1.50000000"},
        {2.5, F::itInt, 2, 1, "2"},
        {3.5, F::itInt, 2, 1, "4"},
        {-2.5, F::itInt, 2, 1, "-2"},
        {255, F::itHex, 2, 1, "000000FF"},
        {-1, F::itHex, 2, 1, "FFFFFFFF"},
        {5, F::itBin, 2, 1, "00000101"},
        {8, F::itOct, 2, 1, "00000010"},
        // The field writes the separator it accepts.
        {1.5, F::itFloat, 2, 2, "1,50000000"},
        {1.5, F::itExp, 2, 2, " 1,50000E+00"},
        {1.5, F::itFloat, 2, 3, "1.50000000"},
        // Values the field could not read back are held to what it reads.
        {5e9, F::itInt, 2, 1, "2147483647"},
        {-5e9, F::itInt, 2, 1, "-2147483648"},
        {5e9, F::itHex, 2, 1, "7FFFFFFF"},
        {std::nan(""), F::itHex, 2, 1, "7FFFFFFF"},
    };
    for (const NumberTextCase &c : cases)
        EXPECT_EQ(NumberText(c.value, c.format, c.decimals, c.sepMode), QLatin1String(c.text))
            << c.value << " format " << int(c.format);
}

TEST(NumberText, OctalAndBinaryTextsGrowToHoldThe32BitValue)
{
    // Eight binary digits hold 8 bits, eight octal digits 24: a larger value written
    // in eight digits would lose its high bits and read back as another number.
    const struct {
        double value;
        TInFormat format;
    } cases[] = {{256, TNumFormat::itBin}, {-1, TNumFormat::itBin}, {16777216, TNumFormat::itOct},
                 {-2147483648.0, TNumFormat::itOct}, {123456789, TNumFormat::itBin}};
    for (const auto &c : cases) {
        double readBack = 0;
        ASSERT_TRUE(ConvertNumString(NumberText(c.value, c.format, 2, 1), c.format, 1, readBack));
        EXPECT_EQ(readBack, c.value) << c.value;
    }
    EXPECT_EQ(NumberText(256, TNumFormat::itBin, 2, 1), QLatin1String("100000000"));
}

TEST(SeparatorMode, MapsTheSeparatorChoice)
{
    EXPECT_EQ(SeparatorMode(dsPoint), 1);
    EXPECT_EQ(SeparatorMode(dsComma), 2);
    EXPECT_EQ(SeparatorMode(dsEither), 3);
    EXPECT_EQ(SeparatorMode(TDecPSep(7)), 3);
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(SeparatorMode(dsLocale), 2);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(SeparatorMode(dsLocale), 1);
    QLocale::setDefault(saved);
}

} // namespace
