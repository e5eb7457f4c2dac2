#include "NVO_Tessane.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

using namespace nvo;

TEST(Tessane, IntNegRoundsTowardNegativeInfinityAndClampsWhatAnIntCannotHold)
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    const struct {
        double x;
        int expected;
    } cases[] = {
        {0.0, 0},       {-0.0, 0},        {0.5, 0},           {-0.5, -1},
        {-1.0, -1},     {2.999, 2},       {-2.0001, -3},      {7.0, 7},
        {1e300, INT_MAX}, {-1e300, INT_MIN}, {inf, INT_MAX},  {-inf, INT_MIN},
        {2147483647.5, INT_MAX}, {-2147483648.0, INT_MIN}, {-2147483648.5, INT_MIN},
        {std::nan(""), 0},
        // a logarithmic scale starting at 0.05 has its first decade at 10^-2
        {std::log10(0.999999999 * 0.05), -2},
    };
    for (const auto &c : cases)
        EXPECT_EQ(IntNeg(c.x), c.expected) << "x = " << c.x;
}

TEST(Tessane, IsValidDecIntAcceptsASignedRunOfDigitsWithin32Bits)
{
    const struct {
        const char *text;
        bool valid;
    } cases[] = {
        {"0", true},           {"-12", true},          {"+7", true},
        {"00012", true},       {"2147483647", true},   {"-2147483648", true},
        {"", false},           {"-", false},           {"+", false},
        {" 1", false},         {"1 ", false},          {"1.0", false},
        {"12a", false},        {"--1", false},         {"1e3", false},
        {"2147483648", false}, {"-2147483649", false}, {"99999999999999999999999", false},
        {"\xd9\xa3", false}, // a digit, but not an ASCII one
    };
    for (const auto &c : cases)
        EXPECT_EQ(IsValidDecInt(QString::fromUtf8(c.text)), c.valid) << c.text;
}

TEST(Tessane, DecIntValueReadsTheIntegerIncludingTheRangeEnds)
{
    EXPECT_EQ(DecIntValue(QStringLiteral("-2147483648")), INT_MIN);
    EXPECT_EQ(DecIntValue(QStringLiteral("+2147483647")), INT_MAX);
    EXPECT_EQ(DecIntValue(QStringLiteral("-0042")), -42);
    EXPECT_FALSE(DecIntValue(QStringLiteral("4 2")).has_value());
}

TEST(Tessane, MulDivRoundsHalvesAwayFromZeroAndAnswersMinusOneForNoDivisor)
{
    struct Case {
        int a, b, c, expected;
    };
    const Case cases[] = {
        {15, 127, 16, 119},                 // 119.06
        {1, 121, 16, 8},                    // 7.56
        {1, 3, 2, 2},                       // 1.5: half away from zero
        {-1, 3, 2, -2},                     // -1.5
        {1, -3, -2, 2},                     // signs cancel
        {5, 0, 7, 0},
        {INT_MAX, INT_MAX, INT_MAX, INT_MAX}, // the product needs 64 bits
        {INT_MAX, 2, 1, -1},                // beyond int
        {3, 4, 0, -1},                      // no divisor
    };
    for (const Case &c : cases)
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << " * " << c.b << " / " << c.c;
}
