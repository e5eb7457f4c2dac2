#include "NVO_NumIO2.h"
#include "PinnedFont.h"
#include "PixelProbe.h"

#include <QtGui/QFontMetrics>
#include <QtWidgets/QApplication>
#include <gtest/gtest.h>

#include <memory>

using namespace nvo;
using namespace nvo::test;

namespace {

constexpr TColor kOut = RGBColor(0x40, 0xA0, 0x40);
constexpr TColor kButton = RGBColor(0xC0, 0xC0, 0xC0);
constexpr TColor kGauge = RGBColor(0x00, 0x00, 0x80);
constexpr TColor kGaugeBg = RGBColor(0xD0, 0xD0, 0xD0);
constexpr TColor kGaugeFrame = RGBColor(0x60, 0x60, 0x60);
// Layout of the default field: W 160, H 28, LeftSpace 35, TextBoxWidth 80.
constexpr int kLS = 35;
constexpr int kTB = 80;

/// A field in plain colours, so that every pixel tells which step painted it.
std::unique_ptr<TNumIO2> MakeField()
{
    auto field = std::make_unique<TNumIO2>();
    field->setFont(PinnedFont());
    field->SetColorOutBG(kOut);
    field->SetButColor(kButton);
    field->SetGaugeColor(kGauge);
    field->SetGaugeColorBg(kGaugeBg);
    field->SetGaugeColorFrame(kGaugeFrame);
    return field;
}

struct PixelCase {
    int x, y;
    TColor color;
};

void ExpectPixels(const QImage &image, std::initializer_list<PixelCase> cases)
{
    for (const PixelCase &c : cases)
        EXPECT_EQ(PixelAt(image, c.x, c.y), c.color) << "at (" << c.x << ", " << c.y << ")";
}

TEST(NumIO2Paint, GaugeOccupiesTheBottomRowsAndLeavesTheTextRowAbove)
{
    auto field = MakeField();
    field->SetFrameStyle(fsSimple);
    field->SetGaugeVisible(true);
    field->SetGaugeFrameStyle(fsNone);
    field->SetValue(1000);
    const QImage full = Grab(field.get());
    // GH 8, GTM 3 on a 28-high control: gauge rows 19..26, the box in rows 0..15.
    ExpectPixels(full, {{50, 18, kOut}, {50, 19, kGauge}, {50, 26, kGauge}, {50, 27, kOut},
                        {35 + 81, 22, kGauge}, {35 + 82, 22, kOut},
                        {kLS, 15, clr::Gray}, {kLS, 16, kOut}});
    field->SetValue(-5);
    EXPECT_EQ(PixelAt(Grab(field.get()), 50, 22), kGaugeBg);
    field->SetRangeLow(0);
    field->SetRangeHigh(0);
    EXPECT_EQ(PixelAt(Grab(field.get()), 50, 22), kGauge); // an empty range shows full
}

TEST(NumIO2Paint, GaugeFillRoundsHalvesToEven)
{
    auto field = MakeField();
    field->SetGaugeVisible(true);
    field->SetGaugeFrameStyle(fsNone);
    field->SetValue(250); // 82 * 0.25 = 20.5 pixels: 20
    const QImage image = Grab(field.get());
    ExpectPixels(image, {{kLS + 19, 22, kGauge}, {kLS + 20, 22, kGaugeBg}});
}

TEST(NumIO2Paint, GaugeFrameStylesDrawTheirOwnLines)
{
    struct Case {
        TFrameStyle style;
        TColor outline, upperLeft, lowerRight;
    };
    const Case cases[] = {
        {fsLowered, clr::Gray, clr::Black, clr::White},
        {fsRaised, clr::Gray, clr::White, clr::Black},
        {fsEmbossed, clr::White, clr::Gray, clr::Gray},
        {fsEngraved, clr::Gray, clr::White, clr::White},
    };
    for (const Case &c : cases) {
        auto field = MakeField();
        field->SetGaugeVisible(true);
        field->SetGaugeFrameStyle(c.style);
        field->SetValue(-1);
        const QImage image = Grab(field.get());
        SCOPED_TRACE(int(c.style));
        ExpectPixels(image, {{kLS, 22, c.outline}, {60, 19, c.outline}, {kLS + 1, 22, c.upperLeft},
                             {60, 20, c.upperLeft}, {60, 27, c.lowerRight},
                             {kLS + 82, 22, c.lowerRight}, {60, 23, kGaugeBg}});
    }
    auto simple = MakeField();
    simple->SetGaugeVisible(true);
    simple->SetGaugeFrameStyle(fsSimple);
    ExpectPixels(Grab(simple.get()), {{kLS, 22, kGaugeFrame}, {kLS + 1, 22, kGaugeBg}});
}

TEST(NumIO2Paint, TextBoxFrameLinesByStyle)
{
    auto field = MakeField();
    field->SetFrameStyle(fsLowered);
    const QImage image = Grab(field.get());
    // Outline on columns 35..116, rows 0..26; black inner line upper left, white
    // line below and right of the outline.
    ExpectPixels(image, {{kLS, 10, clr::Gray}, {60, 0, clr::Gray}, {kLS + 1, 10, clr::Black},
                         {60, 1, clr::Black}, {60, 27, clr::White}, {kLS + kTB + 2, 10, clr::White},
                         {60, 3, clr::White}});
    // Any other colour scheme draws the gray and white lines in the system's colours.
    field->SetColorScheme(csSystem);
    const TColor shadow = ColorToRGB(clr::BtnShadow, field->palette());
    const TColor highlight = ColorToRGB(clr::BtnHighlight, field->palette());
    ExpectPixels(Grab(field.get()), {{kLS, 10, shadow}, {60, 27, highlight}, {kLS + 1, 10, clr::Black}});
}

TEST(NumIO2Paint, SpinButtonArrowsAndEdges)
{
    auto field = MakeField();
    field->SetButVisible(true);
    const QImage image = Grab(field.get());
    // X0 = 118, X1 = 136, B = 14, arrow centre XC = 127, V = 7.
    ExpectPixels(image, {
        // up arrow: 2, 4 and 6 pixels wide
        {126, 6, kButton}, {127, 6, clr::Black}, {128, 6, clr::Black}, {129, 6, kButton},
        {125, 7, kButton}, {126, 7, clr::Black}, {129, 7, clr::Black}, {130, 7, kButton},
        {124, 8, kButton}, {125, 8, clr::Black}, {130, 8, clr::Black}, {131, 8, kButton},
        // down arrow: 6, 4 and 2 pixels wide
        {124, 19, kButton}, {125, 19, clr::Black}, {130, 19, clr::Black}, {131, 19, kButton},
        {126, 20, clr::Black}, {129, 20, clr::Black}, {127, 21, clr::Black}, {129, 21, kButton},
        // outline, separator, 3-D edges
        {118, 10, clr::Gray}, {130, 0, clr::Gray}, {130, 13, clr::Gray},
        {119, 20, clr::White}, {130, 14, clr::White}, {130, 1, clr::White},
        {137, 10, clr::Black}, {130, 27, clr::Black},
    });
    field->SetEnabled(false);
    EXPECT_EQ(PixelAt(Grab(field.get()), 127, 6), clr::Gray);
}

TEST(NumIO2Paint, CaretAndInvertedSelection)
{
    auto field = MakeField();
    field->SetAlignment(taLeftJustify);
    field->SetHideSelection(false);
    field->SetRangeHigh(9999);
    field->SetText(QStringLiteral("1234"));
    // Caret at 0: offset 3, the line from row 3 to row H - 4.
    QImage image = Grab(field.get());
    ExpectPixels(image, {{kLS + 3, 3, clr::Black}, {kLS + 3, 24, clr::Black}, {kLS + 3, 25, clr::White}});
    field->CaretTimer().Tick(); // no focus: the caret goes
    EXPECT_EQ(PixelAt(Grab(field.get()), kLS + 3, 3), clr::White);

    field->SetSelBegin(1);
    field->SetSelEnd(3);
    const QFontMetrics metrics(PinnedFont());
    const int x1 = kLS + 4 + metrics.horizontalAdvance(QStringLiteral("1"));
    const int x2 = kLS + 4 + metrics.horizontalAdvance(QStringLiteral("123"));
    image = Grab(field.get());
    ExpectPixels(image, {{x1 - 1, 3, clr::White}, {x1, 3, clr::Black}, {x2 - 1, 24, clr::Black},
                         {x2, 3, clr::White}, {x1, 25, clr::White}});
    field->SetHideSelection(true);
    EXPECT_EQ(PixelAt(Grab(field.get()), x1, 3), clr::White);
}

TEST(NumIO2Paint, CaretIsNotDrawnOnOrBeyondTheBoxEdges)
{
    auto field = MakeField();
    field->SetFrameStyle(fsNone);
    field->SetAlignment(taRightJustify);
    field->SetText(QStringLiteral("12345678901234567890"));
    // The text is wider than the box: caret offset TB + 0 - TW - 3 is negative.
    const QImage image = Grab(field.get());
    for (int x = 0; x <= kLS; ++x)
        EXPECT_NE(PixelAt(image, x, 3), clr::Black) << x;
}

TEST(NumIO2Paint, OutOfRangeValueShowsTheWarningColours)
{
    auto field = MakeField();
    field->SetColorWarnText(clr::Red);
    field->SetValue(2000);
    const QImage image = Grab(field.get());
    EXPECT_EQ(PixelAt(image, kLS + 5, 3), RGBColor(0xF0, 0xFF, 0x88));
    EXPECT_GT(CountPixels(image, QRect(kLS, 0, kTB, 28), clr::Red), 0);
    field->SetValue(20);
    EXPECT_EQ(PixelAt(Grab(field.get()), kLS + 5, 3), clr::White);
    field->SetEnabled(false);
    EXPECT_EQ(PixelAt(Grab(field.get()), kLS + 5, 3), clr::Silver);
}

TEST(NumIO2Paint, SideTextsEngravedWhenDisabled)
{
    auto field = MakeField();
    field->SetLeftText(QStringLiteral("U"));
    field->SetRightText(QStringLiteral("V"));
    EXPECT_GT(CountPixels(Grab(field.get()), QRect(0, 0, kLS, 28), clr::Black), 0);
    field->SetEnabled(false);
    const QImage image = Grab(field.get());
    EXPECT_EQ(CountPixels(image, QRect(0, 0, kLS, 28), clr::Black), 0);
    EXPECT_GT(CountPixels(image, QRect(0, 0, kLS, 28), clr::Gray), 0);
    EXPECT_GT(CountPixels(image, QRect(kLS + kTB + 3, 0, 40, 28), clr::White), 0);
}

} // namespace
