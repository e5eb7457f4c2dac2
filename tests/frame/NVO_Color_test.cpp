#include "NVO_Color.h"

#include <QtGui/QPalette>
#include <gtest/gtest.h>

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
