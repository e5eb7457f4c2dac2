#include "NVO_Color.h"

#include <QtGui/QPalette>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace nvo;

TEST(Color, EncodingKeepsRedInTheLowByte)
{
    EXPECT_EQ(RGBColor(0x12, 0x34, 0x56), 0x563412u);
    EXPECT_EQ(ToQColor(0x563412), QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(FromQColor(QColor(0x12, 0x34, 0x56)), 0x563412u);
    // Top bytes other than the system marker do not make a colour invalid.
    EXPECT_EQ(ToQColor(0x01563412), QColor(0x12, 0x34, 0x56));
}

TEST(Color, SystemColoursResolveThroughPaletteRoles)
{
    QPalette palette;
    palette.setColor(QPalette::Active, QPalette::Dark, QColor(1, 2, 3));
    palette.setColor(QPalette::Active, QPalette::Light, QColor(4, 5, 6));
    palette.setColor(QPalette::Active, QPalette::Base, QColor(7, 8, 9));
    EXPECT_EQ(ToQColor(clr::BtnShadow, palette), QColor(1, 2, 3));
    EXPECT_EQ(ToQColor(clr::BtnHighlight, palette), QColor(4, 5, 6));
    EXPECT_EQ(ToQColor(clr::Window, palette), QColor(7, 8, 9));
    EXPECT_EQ(ColorToRGB(clr::Window, palette), RGBColor(7, 8, 9));
    EXPECT_TRUE(ToQColor(0xFF0000FE, palette).isValid());
}

TEST(Color, ContrastRatioRunsFromOneToTwentyOne)
{
    EXPECT_DOUBLE_EQ(ContrastRatio(Qt::black, Qt::white), 21.0);
    EXPECT_DOUBLE_EQ(ContrastRatio(Qt::white, Qt::black), 21.0);
    EXPECT_DOUBLE_EQ(ContrastRatio(QColor(0x77, 0x77, 0x77), QColor(0x77, 0x77, 0x77)), 1.0);
    // The grey that just reaches the running-text level on white.
    EXPECT_GE(ContrastRatio(QColor(0x76, 0x76, 0x76), Qt::white), 4.5);
    EXPECT_LT(ContrastRatio(QColor(0x78, 0x78, 0x78), Qt::white), 4.5);
}

TEST(Color, ContrastRatioIsTheSrgbFormulaForEightAndSixteenBitChannels)
{
    // Eight-bit channels are looked up, others computed: both give the formula's value
    // to the last bit, so no choice of a readable colour moves.
    const auto luminance = [](const QColor &color) {
        const auto linear = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
        return 0.2126 * linear(color.redF()) + 0.7152 * linear(color.greenF()) + 0.0722 * linear(color.blueF());
    };
    const QColor colors[] = {QColor(0x76, 0x76, 0x76), QColor(10, 200, 30), QColor(1, 2, 254),
                             QColor::fromRgba64(0x1234, 0x8001, 0xFFFE), QColor::fromRgba64(257 * 5, 1, 65535)};
    for (const QColor &color : colors)
        for (const QColor &ground : {QColor(Qt::white), QColor(Qt::black), QColor(0x80, 0x80, 0x80)}) {
            const double a = luminance(color), b = luminance(ground);
            EXPECT_EQ(ContrastRatio(color, ground), (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05))
                << qPrintable(color.name(QColor::HexArgb)) << " on " << qPrintable(ground.name());
        }
}

TEST(Color, ReadableTextColorMendsOnlyASystemAndFixedPairThatRunsTogether)
{
    QPalette dark;
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(role, QColor(0xEE, 0xEE, 0xEE));
    dark.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
    QPalette light;
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        light.setColor(role, Qt::black);
    light.setColor(QPalette::Button, QColor(0xEF, 0xEF, 0xEF));
    const struct
    {
        const char *what;
        TColor text, ground;
        const QPalette &palette;
        TColor expected;
    } cases[] = {
        {"window text on a white dial, dark", clr::WindowText, clr::White, dark, clr::Black},
        {"black on the button face, dark", clr::Black, clr::BtnFace, dark, clr::White},
        {"window text on a white dial, light", clr::WindowText, clr::White, light, clr::WindowText},
        {"black on the button face, light", clr::Black, clr::BtnFace, light, clr::Black},
        {"two fixed colours stay as chosen", clr::Silver, clr::White, dark, clr::Silver},
        {"two palette colours stay the palette's", clr::BtnText, clr::BtnFace, dark, clr::BtnText},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ReadableTextColor(c.text, c.ground, c.palette), c.expected) << c.what;
}

TEST(Color, StepColorMovesEachChannelByItsShareOfTheWay)
{
    struct Case {
        TColor from, to;
        int num, den;
        TColor expected;
    };
    const Case cases[] = {
        {0x000080, 0x00FFFF, 0, 16, 0x000080},
        {0x000080, 0x00FFFF, 15, 16, 0x00EFF7}, // red 128 + 119, green 239
        {0x000080, 0x00FFFF, 16, 16, 0x00FFFF},
        {0x00FFFF, 0x000080, 1, 2, 0x007FBF},   // falling: 255 - 63.5 gives 191, 255 - 127.5 gives 127
        {0x123456, 0x123456, 7, 9, 0x123456},   // one colour only
        {0x123456, 0xABCDEF, 5, 0, 0x123456},   // no extent: the first colour
        {0x000000, 0xFFFFFF, 2, 1, 0xFEFEFE},   // beyond the end: low 8 bits of 510
    };
    for (const Case &c : cases)
        EXPECT_EQ(StepColor(c.from, c.to, c.num, c.den), c.expected)
            << std::hex << c.from << " -> " << c.to << " " << std::dec << c.num << "/" << c.den;
}
