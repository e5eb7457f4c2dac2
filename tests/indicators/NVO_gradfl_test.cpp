#include "ControlContract.h"
#include "NVO_Bitmap.h"
#include "NVO_gradfl.h"
#include "PaintCounter.h"
#include "PixelProbe.h"

#include <QtGui/QAccessible>
#include <QtTest/QTest>
#include <gtest/gtest.h>

using namespace nvo;
using namespace nvo::test;

namespace {

using TGradType = TGradFill::TGradType;
constexpr TColor kFirst = 0x000080;
constexpr TColor kLast = 0x00FFFF;
constexpr TColor kGrid = RGBColor(0x10, 0x20, 0x30);

} // namespace

// ---- Pure rules --------------------------------------------------------------------------

TEST(GradFillRules, BandsShareTheAreaByMulDivAlongTheirAxis)
{
    struct Case {
        TGradType type;
        int band, count, width, height;
        QRect expected;
    };
    const Case cases[] = {
        {TGradFill::gtHoriz, 0, 16, 121, 121, QRect(0, 0, 121, 8)},    // 0 .. 7.56
        {TGradFill::gtHoriz, 1, 16, 121, 121, QRect(0, 8, 121, 7)},    // 7.56 .. 15.1
        {TGradFill::gtHoriz, 15, 16, 121, 121, QRect(0, 113, 121, 8)}, // up to the bottom edge
        {TGradFill::gtVert, 0, 16, 121, 50, QRect(0, 0, 8, 50)},
        {TGradFill::gtVert, 15, 16, 121, 50, QRect(113, 0, 8, 50)},
        {TGradFill::gtMidBandHoriz, 2, 4, 10, 100, QRect(0, 50, 10, 25)},
        {TGradFill::gtMidBandVert, 3, 4, 100, 10, QRect(75, 0, 25, 10)},
        {TGradFill::gtHoriz, 0, 1, 30, 20, QRect(0, 0, 30, 20)},       // one band: all of it
        {TGradFill::gtHoriz, 0, 255, 30, 20, QRect(0, 0, 30, 0)},      // narrower than a pixel
        {TGradFill::gtVert, 4, 16, 0, 20, QRect(0, 0, 0, 20)},         // no width at all
    };
    for (const Case &c : cases)
        EXPECT_EQ(GradBandRect(c.type, c.band, c.count, c.width, c.height), c.expected)
            << "type " << int(c.type) << " band " << c.band << " of " << c.count;
}

TEST(GradFillRules, BandColoursStepFromTheFirstColourTowardsTheLast)
{
    struct Case {
        TGradType type;
        int band, count;
        TColor first, last, expected;
    };
    const Case cases[] = {
        {TGradFill::gtHoriz, 0, 16, kFirst, kLast, 0x000080},
        {TGradFill::gtHoriz, 15, 16, kFirst, kLast, 0x00EFF7}, // one step short of the last colour
        {TGradFill::gtVert, 8, 16, kFirst, kLast, RGBColor(128 + 64, 128, 0)},
        {TGradFill::gtHoriz, 0, 1, kFirst, kLast, kFirst},
        {TGradFill::gtVert, 1, 2, 0x000000, 0xFFFFFF, RGBColor(128, 128, 128)},
        // Mid bands: half = 2 for 5 bands; the outer bands are the first colour.
        {TGradFill::gtMidBandHoriz, 0, 5, 0x000000, 0xFFFFFF, 0x000000},
        {TGradFill::gtMidBandHoriz, 1, 5, 0x000000, 0xFFFFFF, RGBColor(128, 128, 128)},
        {TGradFill::gtMidBandHoriz, 2, 5, 0x000000, 0xFFFFFF, 0xFFFFFF},
        {TGradFill::gtMidBandHoriz, 3, 5, 0x000000, 0xFFFFFF, RGBColor(128, 128, 128)},
        {TGradFill::gtMidBandVert, 4, 5, 0x000000, 0xFFFFFF, 0x000000},
        // A single mid band has no middle: its one band is the first colour, not an
        // undefined step through a division by zero.
        {TGradFill::gtMidBandHoriz, 0, 1, kFirst, kLast, kFirst},
        {TGradFill::gtMidBandVert, 0, 1, kFirst, kLast, kFirst},
        // One colour only: every band is that colour.
        {TGradFill::gtHoriz, 7, 16, 0x123456, 0x123456, 0x123456},
        {TGradFill::gtMidBandVert, 3, 7, 0x123456, 0x123456, 0x123456},
    };
    for (const Case &c : cases)
        EXPECT_EQ(GradBandColor(c.type, c.band, c.count, c.first, c.last), c.expected)
            << "type " << int(c.type) << " band " << c.band << " of " << c.count;
}

// ---- The control -------------------------------------------------------------------------

TEST(GradFill, DefaultsAndSetterRules)
{
    TGradFill fill;
    EXPECT_EQ(fill.size(), QSize(121, 121));
    EXPECT_EQ(fill.GetColorFirst(), kFirst);
    EXPECT_EQ(fill.GetColorLast(), kLast);
    EXPECT_FALSE(fill.GetColorFlipped());
    EXPECT_EQ(fill.GetFillType(), TGradFill::gtHoriz);
    EXPECT_EQ(fill.GetFrameStyle(), fsNone);
    EXPECT_EQ(fill.GetGridColor(), clr::Navy);
    EXPECT_EQ(fill.GetGridMode(), TGradFill::gmNone);
    EXPECT_EQ(fill.GetNrColors(), 16);

    struct Case {
        int set, stored;
    };
    for (const Case c : {Case{300, 255}, Case{0, 1}, Case{-7, 1}, Case{255, 255}, Case{1, 1}}) {
        fill.SetNrColors(c.set);
        EXPECT_EQ(fill.GetNrColors(), c.stored) << c.set;
    }
    fill.SetFillType(TGradFill::gtVert);
    fill.SetFillType(TGradFill::TGradType(4));
    EXPECT_EQ(fill.GetFillType(), TGradFill::gtVert);
    fill.SetGridMode(TGradFill::TGridMode(9));
    EXPECT_EQ(fill.GetGridMode(), TGradFill::gmNone);
}

TEST(GradFill, FlippingKeepsEachColourAtTheEndItWasSetFor)
{
    TGradFill fill;
    fill.SetColorFlipped(true);
    EXPECT_EQ(fill.GetColorFirst(), kLast);
    EXPECT_EQ(fill.GetColorLast(), kFirst);
    // Set while flipped, the first colour is the unflipped last one.
    fill.SetColorFirst(clr::Lime);
    fill.SetColorLast(clr::Blue);
    fill.SetColorFlipped(false);
    EXPECT_EQ(fill.GetColorFirst(), clr::Blue);
    EXPECT_EQ(fill.GetColorLast(), clr::Lime);
}

TEST(GradFill, EqualAssignmentDoesNotRepaintAndGridColourOnlyWithAGrid)
{
    TGradFill fill;
    fill.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fill));
    PaintCounter paints(&fill);
    fill.SetColorFirst(kFirst);
    fill.SetNrColors(16);
    fill.SetFillType(TGradFill::gtHoriz);
    fill.SetColorFlipped(false);
    fill.SetGridColor(kGrid); // no grid shows it
    EXPECT_EQ(paints.Count, 0);
    fill.SetNrColors(8);
    EXPECT_EQ(paints.Count, 1);
    fill.SetGridMode(TGradFill::gmBoth);
    fill.SetGridColor(clr::Red);
    EXPECT_EQ(paints.Count, 3);
}

TEST(GradFillPaint, DefaultFillShowsTheBandsAndTheirEdges)
{
    TGradFill fill;
    int painted = 0;
    fill.OnPaint = [&](QObject *sender) {
        EXPECT_EQ(sender, &fill);
        ++painted;
    };
    const QImage image = Grab(&fill);
    EXPECT_EQ(painted, 1);
    EXPECT_EQ(PixelAt(image, 0, 0), 0x000080u);
    EXPECT_EQ(PixelAt(image, 120, 7), 0x000080u); // last row of band 0
    EXPECT_EQ(PixelAt(image, 60, 8), StepColor(kFirst, kLast, 1, 16));
    EXPECT_EQ(PixelAt(image, 60, 112), StepColor(kFirst, kLast, 14, 16));
    EXPECT_EQ(PixelAt(image, 60, 113), 0x00EFF7u);
    EXPECT_EQ(PixelAt(image, 120, 120), 0x00EFF7u);
}

TEST(GradFillPaint, EachFillTypeRunsItsWay)
{
    struct Case {
        TGradType type;
        QPoint first, last; ///< a pixel of the first colour and one of the last
        QPoint middle;      ///< the darkest band's neighbour across the bands
    };
    // 4 bands of 40 px in a 160 x 160 area; mid bands: first, mid, last, first.
    const Case cases[] = {
        {TGradFill::gtHoriz, {5, 0}, {5, 159}, {5, 40}},
        {TGradFill::gtVert, {0, 5}, {159, 5}, {40, 5}},
        {TGradFill::gtMidBandHoriz, {5, 159}, {5, 80}, {5, 40}},
        {TGradFill::gtMidBandVert, {159, 5}, {80, 5}, {40, 5}},
    };
    for (const Case &c : cases) {
        TGradFill fill;
        fill.resize(160, 160);
        fill.SetNrColors(4);
        fill.SetColorFirst(0x000000);
        fill.SetColorLast(0xFFFFFF);
        fill.SetFillType(c.type);
        const QImage image = Grab(&fill);
        const bool mid = c.type == TGradFill::gtMidBandHoriz || c.type == TGradFill::gtMidBandVert;
        EXPECT_EQ(PixelAt(image, 0, 0), 0x000000u) << int(c.type);
        EXPECT_EQ(PixelAt(image, c.first.x(), c.first.y()), 0x000000u) << int(c.type);
        EXPECT_EQ(PixelAt(image, c.last.x(), c.last.y()), mid ? 0xFFFFFFu : RGBColor(191, 191, 191))
            << int(c.type);
        EXPECT_EQ(PixelAt(image, c.middle.x(), c.middle.y()), mid ? RGBColor(128, 128, 128) : RGBColor(64, 64, 64))
            << int(c.type);
    }
}

TEST(GradFillPaint, OneColourOrOneMidBandFillsWithThatColour)
{
    struct Case {
        TGradType type;
        int count;
        TColor first, last, fill;
    };
    const Case cases[] = {
        {TGradFill::gtHoriz, 1, kFirst, kLast, kFirst},
        {TGradFill::gtMidBandHoriz, 1, kFirst, kLast, kFirst},
        {TGradFill::gtMidBandVert, 1, kFirst, kLast, kFirst},
        {TGradFill::gtMidBandVert, 16, 0x336699, 0x336699, 0x336699},
        {TGradFill::gtHoriz, 255, 0x336699, 0x336699, 0x336699}, // 255 bands in 40 rows
    };
    for (const Case &c : cases) {
        TGradFill fill;
        fill.resize(50, 40);
        fill.SetFillType(c.type);
        fill.SetNrColors(c.count);
        fill.SetColorFirst(c.first);
        fill.SetColorLast(c.last);
        const QImage image = Grab(&fill);
        EXPECT_EQ(CountPixels(image, image.rect(), c.fill), 50 * 40)
            << "type " << int(c.type) << ", " << c.count << " colours";
    }
}

TEST(GradFillPaint, MoreBandsThanPixelsStillCoverTheArea)
{
    TGradFill fill;
    fill.resize(3, 200);
    fill.SetFillType(TGradFill::gtVert);
    fill.SetNrColors(255);
    fill.SetColorFirst(0x000000);
    fill.SetColorLast(0xFFFFFF);
    const QImage image = Grab(&fill);
    // Each column belongs to the one band that spans it, 42, 127 and 212 of 255;
    // the bands narrower than a pixel are left out.
    EXPECT_EQ(PixelAt(image, 0, 9), StepColor(0x000000, 0xFFFFFF, 42, 255));
    EXPECT_EQ(PixelAt(image, 1, 9), StepColor(0x000000, 0xFFFFFF, 127, 255));
    EXPECT_EQ(PixelAt(image, 2, 9), StepColor(0x000000, 0xFFFFFF, 212, 255));
    // A picture of no extent is left as it is.
    TBitmap none;
    fill.DrawGradient(none);
    EXPECT_TRUE(none.Empty());
}

TEST(GradFillPaint, GridLinesLieOnTheBandBorders)
{
    struct Case {
        TGradFill::TGridMode mode;
        bool rows, columns;
    };
    for (const Case c : {Case{TGradFill::gmNone, false, false}, Case{TGradFill::gmHoriz, true, false},
                         Case{TGradFill::gmVert, false, true}, Case{TGradFill::gmBoth, true, true}}) {
        TGradFill fill;
        fill.resize(100, 60);
        fill.SetNrColors(4);
        fill.SetGridColor(kGrid);
        fill.SetGridMode(c.mode);
        const QImage image = Grab(&fill);
        // Rows 15, 30, 45 and columns 25, 50, 75 start the second to fourth steps.
        EXPECT_EQ(CountPixels(image, QRect(0, 15, 100, 1), kGrid) == 100, c.rows) << int(c.mode);
        EXPECT_EQ(CountPixels(image, QRect(0, 45, 100, 1), kGrid) == 100, c.rows) << int(c.mode);
        EXPECT_EQ(CountPixels(image, QRect(75, 0, 1, 60), kGrid) == 60, c.columns) << int(c.mode);
        EXPECT_NE(PixelAt(image, 10, 16), kGrid) << int(c.mode);
        EXPECT_NE(PixelAt(image, 10, 14), kGrid) << int(c.mode);
    }
}

TEST(GradFillPaint, FrameIsDrawnOverTheGradient)
{
    TGradFill fill;
    fill.resize(40, 40);
    fill.SetFrameStyle(fsLowered);
    QImage image = Grab(&fill);
    EXPECT_EQ(PixelAt(image, 0, 0), clr::Gray);
    EXPECT_EQ(PixelAt(image, 39, 39), clr::White);
    EXPECT_EQ(PixelAt(image, 1, 1), clr::Black);
    EXPECT_EQ(PixelAt(image, 2, 2), kFirst);
    fill.SetFrameStyle(fsSimple);
    image = Grab(&fill);
    EXPECT_EQ(PixelAt(image, 39, 20), clr::Black);
    EXPECT_EQ(PixelAt(image, 38, 20), StepColor(kFirst, kLast, 8, 16)); // row 20 starts band 8
}

TEST(GradFillPaint, SystemColoursResolveThroughThePalette)
{
    TGradFill fill;
    QPalette palette = fill.palette();
    palette.setColor(QPalette::Active, QPalette::Button, QColor(0, 0, 0));
    palette.setColor(QPalette::Active, QPalette::Highlight, QColor(255, 255, 255));
    fill.setPalette(palette);
    fill.SetNrColors(2);
    fill.SetColorFirst(clr::BtnFace);
    fill.SetColorLast(clr::Highlight);
    // Mixing the stored bytes would step from 0x0F towards 0x0D, not from black to white.
    EXPECT_EQ(PixelAt(Grab(&fill), 60, 100), RGBColor(128, 128, 128));
}

TEST(GradFill, AssignCopiesTheFillSettings)
{
    TGradFill source, target;
    source.SetColorFlipped(true);
    source.SetColorFirst(clr::Lime);
    source.SetFillType(TGradFill::gtMidBandVert);
    source.SetGridMode(TGradFill::gmVert);
    source.SetNrColors(5);
    source.SetFrameStyle(fsRaised);
    target.Assign(&source);
    EXPECT_EQ(Grab(&target), Grab(&source));
    target.SetColorFlipped(false);
    EXPECT_EQ(target.GetColorLast(), clr::Lime);
    QWidget other;
    EXPECT_THROW(target.Assign(&other), EConvertError);
}

TEST(GradFill, KeyAndMouseEventsFire)
{
    ExpectInputEvents<TGradFill>();
}

TEST(GradFillPaint, AChangeAfterAPaintShowsAsOnAFreshFill)
{
    ExpectChangesShowAsOnFreshControls<TGradFill>({
        [](TGradFill &f) { f.SetNrColors(3); },
        [](TGradFill &f) { f.SetFillType(TGradFill::gtMidBandHoriz); },
        [](TGradFill &f) { f.resize(30, 200); },
    });
}

TEST(GradFill, AccessibleAsAGraphicNamingItsColours)
{
    TGradFill fill;
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(&fill);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::Graphic);
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("Gradient fill"));
    EXPECT_EQ(accessible->text(QAccessible::Value), QStringLiteral("Maroon to Yellow"));
    fill.SetColorFlipped(true);
    EXPECT_EQ(accessible->text(QAccessible::Value), QStringLiteral("Yellow to Maroon"));
}

TEST(GradFill, AnyFormOrderGivesTheSameFill)
{
    ExpectAnyFormOrderGivesTheSameControl<TGradFill>([](TGradFill &fill) {
        fill.SetColorFirst(clr::Lime);
        fill.SetColorLast(clr::Navy);
        fill.SetColorFlipped(true); // shows Navy to Lime, which the form keeps
        fill.SetFillType(TGradFill::gtMidBandVert);
        fill.SetGridMode(TGradFill::gmHoriz);
        fill.SetGridColor(clr::Red);
        fill.SetNrColors(300);
        fill.SetFrameStyle(fsRaised);
    });
}
