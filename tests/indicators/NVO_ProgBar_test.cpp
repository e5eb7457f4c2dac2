#include "ControlContract.h"
#include "PaintCounter.h"
#include "HandlerProbe.h"
#include "NVO_ProgBar.h"
#include "PinnedFont.h"
#include "PixelProbe.h"
#include "TempDir.h"

#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>

using namespace nvo;
using namespace nvo::test;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr TColor kPlot = RGBColor(0xE0, 0xE0, 0xE0);
constexpr TColor kMargin = RGBColor(0x40, 0xA0, 0x40);
constexpr TColor kGrid = RGBColor(0x00, 0x80, 0x00);

std::unique_ptr<TProgBar> MakeBar()
{
    auto bar = std::make_unique<TProgBar>();
    bar->setFont(PinnedFont());
    return bar;
}

/// A bar whose every area has its own plain colour, no frames and no text, so that a
/// pixel tells which step painted it.
std::unique_ptr<TProgBar> MakePlainBar()
{
    auto bar = MakeBar();
    bar->SetColorMargin(kMargin);
    bar->SetColorBackGnd(kPlot);
    bar->SetFrameStyleInner(fsNone);
    bar->SetFrameStyleOuter(fsNone);
    bar->SetTextVisible(false);
    return bar;
}

/// The ink of `image` inside `area` that differs from `background`, in image coordinates.
QRect InkIn(const QImage &image, const QRect &area, TColor background)
{
    const QRect ink = InkBounds(image.copy(area), background);
    return ink.isNull() ? ink : ink.translated(area.topLeft());
}

} // namespace

// ---- Pure rules --------------------------------------------------------------------------

TEST(ProgBarRules, ValueTexts)
{
    const struct {
        double value;
        int decPlaces;
        const char *expected;
    } cases[] = {
        {10.0, 0, "10"},
        {2.5, 0, "2"},     // a true tie goes to the even digit
        {-1.25, 1, "-1.2"},
        {0.5, 3, "0.500"},
        {1.0, 25, "1.0000000000"}, // clamped to 10 decimals
        {12345.0, -1, "1.2345E+04"},
        {-0.5, -1, "-5.0000E-01"},
        {1e100, -1, "**********"}, // a three-digit exponent cannot be shown in two
        {1e-100, -1, "**********"},
        {12345.0, -2, "1.23450000000000E+0004"},
        {12345.0, -7, "1.23450000000000E+0004"}, // clamped to -2
        {kNaN, 0, "NAN"},
        {kNaN, -1, "NAN"},
        {-kInf, -2, "-INF"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatProgBarValue(c.value, c.decPlaces), QLatin1String(c.expected))
            << c.value << " with " << c.decPlaces;
}

TEST(ProgBarRules, ColourInterpolationTruncatesEachByte)
{
    EXPECT_EQ(InterpolateColor(0x000000, 0xFFFFFF, 0.5), 0x7F7F7Fu);
    EXPECT_EQ(InterpolateColor(0xFF0000, 0x0000FF, 1.0 / 1023), 0xFE0000u); // 255 - 0.249 truncates to 254
    EXPECT_EQ(InterpolateColor(0x102030, 0x405060, 2.0), 0x405060u);       // clamped to 1
    EXPECT_EQ(InterpolateColor(0x102030, 0x405060, -1.0), 0x102030u);
    EXPECT_EQ(InterpolateColor(0xFF102030, 0x405060, 0.0), 0x102030u);     // top byte cleared
}

TEST(ProgBarRules, BarLengthAndVisibleLines)
{
    const struct {
        TDirection direction;
        double value, min, max;
        qint64 length, visibleTo;
    } cases[] = {
        {drLeftRight, 10, 0, 100, 29, 29},      // round(292 x 0.1)
        {drLeftRight, 150, 0, 100, 438, 296},   // longer than the plot area: only up to the edge
        {drLeftRight, -5, 0, 100, 0, 0},        // below the range: empty, not backwards
        {drLeftRight, 5, 5, 5, 0, 0},           // degenerate range
        {drLeftRight, kNaN, 0, 100, 0, 0},
        {drLeftRight, 5, kNaN, 100, 0, 0},
        {drLeftRight, kInf, 0, 100, 1'000'000'000'000'000, 296},
        {drLeftRight, 1e308, -1e308, 100, 1'000'000'000'000'000, 296}, // the difference overflows
        {drRightLeft, 150, 0, 100, 438, 296},
        {drBottomUp, 50, 0, 100, 10, 10},       // round(20 x 0.5)
        {drBottomUp, 1e9, 0, 100, 200'000'000, 24},
        {drTopDown, 1e9, 0, 100, 200'000'000, 24},
        {TDirection(7), 50, 0, 100, 0, 0},      // no direction: no bar
    };
    for (const auto &c : cases) {
        const TBarAxis axis = CalcBarAxis(c.direction, 300, 28, 4, 4, 4, 4, c.value, c.min, c.max);
        EXPECT_EQ(axis.Length, c.length) << int(c.direction) << " " << c.value;
        EXPECT_EQ(axis.VisibleFrom, 0) << int(c.direction) << " " << c.value;
        EXPECT_EQ(axis.VisibleTo, c.visibleTo) << int(c.direction) << " " << c.value;
    }
    const TBarAxis up = CalcBarAxis(drBottomUp, 300, 28, 4, 4, 4, 4, 50, 0, 100);
    EXPECT_EQ(up.Pixel(0), 23); // the bottom line of the plot area
    EXPECT_EQ(up.GridReach, 9);
    const TBarAxis left = CalcBarAxis(drRightLeft, 300, 28, 4, 4, 4, 4, 50, 0, 100);
    EXPECT_EQ(left.Pixel(0), 295);
    EXPECT_EQ(left.GridReach, 146);
}

TEST(ProgBarRules, GradientIndexOfEachMapping)
{
    using P = TProgBar;
    const struct {
        P::TColorMapping mode;
        qint64 n, length;
        int full;
        int expected;
    } cases[] = {
        {P::cgmCover, 0, 100, 292, 0},
        {P::cgmCover, 146, 200, 292, 512},   // round(511.5) to even
        {P::cgmStretch, 99, 100, 292, 1013},
        {P::cgmStretch, 0, 0, 292, 0},       // an empty bar divides by nothing
        {P::cgmMove, 99, 100, 292, 1023},    // the tip shows the last colour
        {P::cgmMove, 0, 100, 292, 676},
        {P::cgmMove, 0, 1'000'000'000'000'000, 292, 0},
        {P::cgmCover, 5, 10, 0, 0},          // no plot area
    };
    for (const auto &c : cases)
        EXPECT_EQ(GradientIndex(c.mode, c.n, c.length, c.full), c.expected)
            << int(c.mode) << " n=" << c.n << " L=" << c.length;
    // With a bar of full length the moving table stands where the covering one does,
    // but for the shift that puts the last entry on the tip: round(1023 / 292) = 4
    // entries, less than one line's worth of colours.
    for (qint64 n : {0, 100, 291})
        EXPECT_EQ(GradientIndex(P::cgmMove, n, 292, 292),
                  std::min(1023, GradientIndex(P::cgmCover, n, 292, 292) + 4)) << n;
}

// ---- Properties ----------------------------------------------------------------------------

TEST(ProgBar, DefaultsAndSetterRules)
{
    auto bar = MakeBar();
    EXPECT_EQ(bar->size(), QSize(300, 28));
    EXPECT_EQ(bar->GetValue(), 10.0);
    EXPECT_EQ(bar->GetMin(), 0.0);
    EXPECT_EQ(bar->GetMax(), 100.0);
    EXPECT_EQ(bar->GetDirection(), drLeftRight);
    EXPECT_EQ(bar->GetFrameStyleOuter(), fsRaised);
    EXPECT_EQ(bar->GetFrameStyleInner(), fsLowered);
    EXPECT_EQ(bar->GetColorMapMode(), TProgBar::cgmStretch);
    EXPECT_EQ(bar->GetColorMin(), 0xFF0000u);
    EXPECT_EQ(bar->GetColorMax(), 0x0000FFu);
    EXPECT_EQ(bar->GetTextAlignment(), taCenter);
    EXPECT_EQ(bar->GetStartInterval(), 1500);
    EXPECT_EQ(bar->GetRepeatInterval(), 700);

    bar->SetRange(5, 1);
    EXPECT_EQ(bar->GetMin(), 1.0);
    EXPECT_EQ(bar->GetMax(), 5.0);
    bar->SetAutoIncStep(0);
    EXPECT_EQ(bar->GetAutoIncStep(), 1.0);
    bar->SetAutoIncStep(kNaN);
    EXPECT_EQ(bar->GetAutoIncStep(), 1.0);
    bar->SetRepeatInterval(3);
    EXPECT_EQ(bar->GetRepeatInterval(), 10);
    bar->SetStartInterval(-3000);
    EXPECT_EQ(bar->GetStartInterval(), 10);
    bar->SetTextAngle(400);
    EXPECT_EQ(bar->GetTextAngle(), 360);
    bar->SetTextDecPlaces(-5);
    EXPECT_EQ(bar->GetTextDecPlaces(), -2);
    bar->SetTextPosX(1000);
    EXPECT_EQ(bar->GetTextPosX(), 300);
    bar->SetTextPosY(-4);
    EXPECT_EQ(bar->GetTextPosY(), 0);

    // The colour table's ends recompute everything between them.
    bar->SetColorMin(0x000000);
    bar->SetColorMax(0xFFFFFF);
    EXPECT_EQ(bar->GetBarColorElem(1023), 0xFFFFFFu);
    EXPECT_EQ(bar->GetBarColorElem(512), 0x7F7F7Fu);
    bar->SetBarColorElem(512, 0x123456);
    EXPECT_EQ(bar->GetBarColorElem(512), 0x123456u);
    bar->SetBarColorElem(1024, 0x123456);
    EXPECT_EQ(bar->GetBarColorElem(1024), 0u);
    EXPECT_EQ(bar->GetBarColorElem(-1), 0u);
}

TEST(ProgBar, SystemColourAtAnEndIsMixedAsTheColourItShows)
{
    auto bar = MakeBar();
    QPalette palette = bar->palette();
    palette.setColor(QPalette::Active, QPalette::Dark, QColor(0, 0, 0));
    bar->setPalette(palette);
    bar->SetColorMax(0xFFFFFF);
    bar->SetColorMin(clr::BtnShadow);
    EXPECT_EQ(bar->GetColorMin(), clr::BtnShadow);
    // Mixing the stored bytes 0x10, 0x00, 0x00 would give a dark red, not a gray.
    EXPECT_EQ(bar->GetBarColorElem(512), 0x7F7F7Fu);
}

TEST(ProgBar, EqualAssignmentDoesNotRepaint)
{
    auto bar = MakeBar();
    bar->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(bar.get()));
    PaintCounter paints(bar.get());
    int valueSignals = 0;
    QObject::connect(bar.get(), &TProgBar::ValueChanged, [&] { ++valueSignals; });
    bar->SetValue(10.0);
    bar->SetColorBackGnd(clr::Silver);
    bar->SetMarginLeft(4);
    bar->SetDirection(drLeftRight);
    EXPECT_EQ(paints.Count, 0);
    EXPECT_EQ(valueSignals, 0);
    bar->SetValue(20.0);
    EXPECT_EQ(paints.Count, 1);
    EXPECT_EQ(valueSignals, 1);
}

// ---- Painting --------------------------------------------------------------------------------

TEST(ProgBarPaint, DefaultBarFramesAndText)
{
    auto bar = MakeBar();
    const QImage image = Grab(bar.get());
    // The bar runs from x = 4 to 33 (exclusive) in the table's first colour.
    EXPECT_EQ(PixelAt(image, 30, 8), clr::Blue);
    EXPECT_EQ(PixelAt(image, 32, 20), clr::Blue);
    EXPECT_EQ(PixelAt(image, 33, 20), clr::Silver);
    // The lowered inner frame over the bar's root: gray outside, black inside.
    EXPECT_EQ(PixelAt(image, 4, 10), clr::Gray);
    EXPECT_EQ(PixelAt(image, 5, 10), clr::Black);
    // The raised outer frame, with the corner fix in the margin colour.
    EXPECT_EQ(PixelAt(image, 0, 0), clr::Gray);
    EXPECT_EQ(PixelAt(image, 1, 1), clr::White);
    EXPECT_EQ(PixelAt(image, 299, 27), clr::Black);
    EXPECT_EQ(PixelAt(image, 0, 27), clr::Silver);
    EXPECT_EQ(PixelAt(image, 299, 0), clr::Silver);
    // "10" centred on (14, 14).
    const QRect text = InkBounds(image.copy(6, 6, 20, 16), clr::Blue).translated(6, 6);
    ASSERT_FALSE(text.isNull());
    EXPECT_NEAR(text.center().x(), 14, 1);
    EXPECT_NEAR(text.center().y(), 14, 2);
}

TEST(ProgBarPaint, FrameStylesDrawTheirLines)
{
    const struct {
        TFrameStyle style;
        QPoint at;
        TColor expected;
    } cases[] = {
        {fsNone, {0, 0}, kMargin},
        {fsSimple, {0, 0}, clr::Gray},
        {fsSimple, {299, 27}, clr::Gray},
        {fsLowered, {1, 1}, clr::Black},
        {fsLowered, {150, 27}, clr::White},
        {fsRaised, {1, 1}, clr::White},
        {fsEmbossed, {0, 0}, clr::White},
        {fsEmbossed, {299, 27}, clr::Gray},
        {fsEmbossed, {0, 27}, kMargin}, // the corner fix
        {fsEngraved, {0, 0}, clr::Gray},
        {fsEngraved, {1, 1}, clr::White},
        {TFrameStyle(9), {0, 0}, kMargin}, // no style: refused, the plain bar keeps fsNone
    };
    for (const auto &c : cases) {
        auto bar = MakePlainBar();
        bar->SetFrameStyleOuter(c.style);
        EXPECT_EQ(PixelAt(Grab(bar.get()), c.at.x(), c.at.y()), c.expected)
            << int(c.style) << " at " << c.at.x() << "," << c.at.y();
    }
    // ColorScheme 1 turns gray and white into the palette's shadow and highlight.
    auto bar = MakePlainBar();
    bar->SetFrameStyleOuter(fsEmbossed);
    bar->SetColorScheme(csSystem);
    const QImage image = Grab(bar.get());
    EXPECT_EQ(PixelAt(image, 0, 0), ColorToRGB(clr::BtnHighlight, bar->palette()));
    EXPECT_EQ(PixelAt(image, 299, 27), ColorToRGB(clr::BtnShadow, bar->palette()));
}

TEST(ProgBarPaint, OverlongShortAndDegenerateBars)
{
    const struct {
        double value, min, max;
        bool overMargin; // the bar covers (297, 10) in the right margin, beyond the plot area
        bool atRoot;     // the bar covers (7, 10) in the plot area's first columns
    } cases[] = {
        {150, 0, 100, true, true}, // drawn over the margin up to the edge
        {-5, 0, 100, false, false}, // below the range: nothing, not backwards into the margin
        {50, 50, 50, false, false},
        {kNaN, 0, 100, false, false},
        {kInf, 0, 100, true, true},
        {1e308, -1e308, 100, true, true},
    };
    for (const auto &c : cases) {
        auto bar = MakePlainBar();
        bar->SetRange(c.min, c.max);
        bar->SetValue(c.value);
        for (const bool gradient : {false, true}) {
            bar->SetShowColorGradient(gradient);
            bar->SetGridDist(2);
            const QImage image = Grab(bar.get());
            EXPECT_EQ(PixelAt(image, 297, 10) != kMargin, c.overMargin) << c.value << " " << gradient;
            EXPECT_EQ(PixelAt(image, 7, 10) != kPlot, c.atRoot) << c.value << " " << gradient;
            EXPECT_EQ(PixelAt(image, 2, 10), kMargin) << c.value << " " << gradient;
        }
    }
}

TEST(ProgBarPaint, GradientMappings)
{
    auto bar = MakePlainBar();
    bar->SetShowColorGradient(true);
    bar->SetValue(50); // 146 lines from x = 4
    const auto colourAt = [&](int x) { return PixelAt(Grab(bar.get()), x, 10); };
    const TColor first = bar->GetBarColorElem(0);
    const TColor last = bar->GetBarColorElem(1023);

    bar->SetColorMapMode(TProgBar::cgmStretch);
    EXPECT_EQ(colourAt(4), first);
    EXPECT_EQ(colourAt(4 + 145), bar->GetBarColorElem(GradientIndex(TProgBar::cgmStretch, 145, 146, 292)));
    EXPECT_EQ(colourAt(4 + 146), kPlot);
    bar->SetColorMapMode(TProgBar::cgmCover);
    EXPECT_EQ(colourAt(4 + 145), bar->GetBarColorElem(508));
    bar->SetColorMapMode(TProgBar::cgmMove);
    EXPECT_EQ(colourAt(4 + 145), last); // the tip always shows the last entry
    EXPECT_EQ(colourAt(4), bar->GetBarColorElem(GradientIndex(TProgBar::cgmMove, 0, 146, 292)));


    // The vertical bar grows upwards from the plot area's bottom line.
    auto tall = MakePlainBar();
    tall->resize(28, 300);
    tall->SetDirection(drBottomUp);
    tall->SetShowColorGradient(true);
    tall->SetColorMapMode(TProgBar::cgmMove);
    tall->SetValue(50);
    const QImage up = Grab(tall.get());
    EXPECT_EQ(PixelAt(up, 10, 295), tall->GetBarColorElem(GradientIndex(TProgBar::cgmMove, 0, 146, 292)));
    EXPECT_EQ(PixelAt(up, 10, 295 - 145), last);
    EXPECT_EQ(PixelAt(up, 10, 295 - 146), kPlot);
}

TEST(ProgBarPaint, GridFollowsTheBar)
{
    const struct {
        TDirection direction;
        QSize size;
        QPoint line, between, beyond;
    } cases[] = {
        // x = 4, 14, 24 while x <= 33 (the pixel past the tip counts); 34 is beyond the bar
        {drLeftRight, {300, 28}, {24, 10}, {25, 10}, {34, 10}},
        {drRightLeft, {300, 28}, {295 - 20, 10}, {294, 10}, {295 - 30, 10}},
        // y = 295, 285, ... while y >= the bar's top (266 for 30 lines): the tip ends the grid
        {drBottomUp, {28, 300}, {10, 275}, {10, 266}, {10, 265}},
        {drTopDown, {28, 300}, {10, 14}, {10, 23}, {10, 24}},
    };
    for (const auto &c : cases) {
        auto bar = MakePlainBar();
        bar->resize(c.size);
        bar->SetDirection(c.direction);
        bar->SetValue(c.direction == drLeftRight ? 10 : c.direction == drBottomUp ? 10.3 : 7);
        bar->SetColorGrid(kGrid);
        bar->SetGridDist(10);
        const QImage image = Grab(bar.get());
        EXPECT_EQ(PixelAt(image, c.line.x(), c.line.y()), kGrid) << int(c.direction);
        EXPECT_EQ(PixelAt(image, c.between.x(), c.between.y()), clr::Blue) << int(c.direction);
        EXPECT_NE(PixelAt(image, c.beyond.x(), c.beyond.y()), kGrid) << int(c.direction);
    }
}

TEST(ProgBarPaint, BackgroundImageFromFile)
{
    TempDir dir;
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(QColor(0x11, 0x22, 0x33));
    const QString file = dir.Path(QStringLiteral("back.png"));
    ASSERT_TRUE(picture.save(file));

    auto bar = MakePlainBar();
    bar->SetValue(0);
    bar->SetBackGroundImg(file);
    EXPECT_EQ(bar->GetBackGroundImg(), file);
    EXPECT_EQ(PixelAt(Grab(bar.get()), 150, 14), RGBColor(0x11, 0x22, 0x33));
    // A file that cannot be read is reported and leaves the name and the picture.
    const QString broken = dir.Write(QStringLiteral("broken.png"), "not a picture");
    bar->setObjectName(QStringLiteral("Bar"));
    try {
        bar->SetBackGroundImg(broken);
        ADD_FAILURE() << "no error for an unreadable picture";
    } catch (const ENVOProgBar &error) {
        EXPECT_EQ(error.Message(), QStringLiteral("Component \"Bar\": cannot read image file \"%1\"").arg(broken));
    }
    EXPECT_EQ(bar->GetBackGroundImg(), file);
    EXPECT_EQ(PixelAt(Grab(bar.get()), 150, 14), RGBColor(0x11, 0x22, 0x33));
    bar->SetBackGroundImg(QString());
    EXPECT_EQ(bar->GetBackGroundImg(), QString());
    EXPECT_EQ(PixelAt(Grab(bar.get()), 150, 14), kPlot);
    // A missing file clears the name like an empty one.
    bar->SetBackGroundImg(file);
    bar->SetBackGroundImg(dir.Path(QStringLiteral("missing.png")));
    EXPECT_EQ(bar->GetBackGroundImg(), QString());
    EXPECT_EQ(PixelAt(Grab(bar.get()), 150, 14), kPlot);
}

TEST(ProgBarPaint, TextAnchorsAndAngle)
{
    const struct {
        TAlignment alignment;
        int angle;
        bool tall; // a line turned by 90 or 270 degrees is taller than wide
    } cases[] = {
        {taCenter, 0, false},
        {taCenter, 90, true},
        {taCenter, 180, false},
        {taCenter, 270, true},
    };
    for (const auto &c : cases) {
        auto bar = MakePlainBar();
        bar->resize(300, 100);
        bar->SetValue(12345);
        bar->SetTextVisible(true);
        bar->SetTextAlignment(c.alignment);
        bar->SetTextAngle(c.angle);
        bar->SetTextPosX(150);
        bar->SetTextPosY(50);
        bar->SetMax(1e9);
        const QRect ink = InkIn(Grab(bar.get()), QRect(20, 10, 260, 80), kPlot);
        ASSERT_FALSE(ink.isNull()) << c.angle;
        EXPECT_EQ(ink.height() > ink.width(), c.tall) << c.angle;
        EXPECT_NEAR(ink.center().x(), 150, 2) << c.angle;
        EXPECT_NEAR(ink.center().y(), 50, 2) << c.angle;
    }
    // Left and right anchors: the text starts, respectively ends, at the point.
    for (const TAlignment alignment : {taLeftJustify, taRightJustify}) {
        auto bar = MakePlainBar();
        bar->resize(300, 100);
        bar->SetTextVisible(true);
        bar->SetValue(0);
        bar->SetTextAlignment(alignment);
        bar->SetTextPosX(150);
        bar->SetTextPosY(50);
        const QRect ink = InkIn(Grab(bar.get()), QRect(20, 10, 260, 80), kPlot);
        ASSERT_FALSE(ink.isNull());
        if (alignment == taLeftJustify)
            EXPECT_NEAR(ink.left(), 150, 2);
        else
            EXPECT_NEAR(ink.right(), 150, 2);
    }
}

TEST(ProgBarPaint, OnShowValueMayReplaceTheText)
{
    auto bar = MakePlainBar();
    bar->SetTextVisible(true);
    bar->SetValue(0);
    QString seen;
    bar->OnShowValue = [&](QObject *, QString &text) {
        seen = text;
        text.clear();
    };
    EXPECT_TRUE(InkIn(Grab(bar.get()), QRect(6, 6, 288, 16), kPlot).isNull());
    EXPECT_EQ(seen, QStringLiteral("0"));
}

// ---- Timer -----------------------------------------------------------------------------------

TEST(ProgBarTimer, StartIntervalThenRepeatInterval)
{
    auto bar = MakeBar();
    int events = 0;
    bar->OnAutoInc = [&](QObject *sender) {
        EXPECT_EQ(sender, bar.get());
        ++events;
    };
    EXPECT_FALSE(bar->TimerActive());
    bar->SetAutoInc(true);
    EXPECT_TRUE(bar->TimerActive());
    EXPECT_EQ(bar->TimerInterval(), 1500);
    bar->SetAutoIncStep(2.5);
    bar->DoTimer();
    EXPECT_EQ(bar->TimerInterval(), 700);
    EXPECT_EQ(bar->GetValue(), 12.5);
    EXPECT_EQ(events, 1);
    // Past Max without clamping.
    bar->SetValue(99);
    bar->DoTimer();
    EXPECT_EQ(bar->GetValue(), 101.5);
    // A new start interval starts over from it; a new handler restarts the repeat interval.
    bar->SetStartInterval(900);
    EXPECT_EQ(bar->TimerInterval(), 900);
    bar->OnAutoInc = nullptr;
    EXPECT_EQ(bar->TimerInterval(), 700);
    bar->SetAutoInc(false);
    EXPECT_FALSE(bar->TimerActive());
}

TEST(ProgBarTimer, NothingRunsInDesignMode)
{
    auto bar = MakeBar();
    SetDesigning(bar.get(), true);
    bar->SetAutoInc(true);
    bar->SetStartInterval(100);
    bar->SetRepeatInterval(100);
    bar->OnAutoInc = [](QObject *) {};
    EXPECT_TRUE(bar->GetAutoInc());
    EXPECT_FALSE(bar->TimerActive());
}

TEST(ProgBarTimer, NoTimerAvailable)
{
    auto bar = MakeBar();
    bar->setObjectName(QStringLiteral("Progress1"));
    THiddenTimer::InjectStartFailures(1);
    try {
        bar->SetAutoInc(true);
        ADD_FAILURE() << "no exception";
    } catch (const ENVOProgBar &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Component \"Progress1\": no timer available"));
    }
    EXPECT_FALSE(bar->TimerActive());
    bar->SetValue(42); // still usable
    EXPECT_EQ(bar->GetValue(), 42.0);
}

TEST(ProgBarTimer, FailingHandlerReachesTheApplicationAndTheTimerGoesOn)
{
    HandlerProbe probe;
    auto bar = MakeBar();
    bar->SetStartInterval(10);
    bar->SetRepeatInterval(10);
    bar->OnAutoInc = [](QObject *) { throw ENVOProgBar(QStringLiteral("handler failed")); };
    bar->SetAutoInc(true);
    QTest::qWait(80);
    EXPECT_GE(probe.Messages.size(), 2);
    EXPECT_EQ(probe.Messages.value(0), QStringLiteral("handler failed"));
    EXPECT_TRUE(bar->TimerActive());
    EXPECT_GE(bar->GetValue(), 12.0);
}

// ---- Assign ----------------------------------------------------------------------------------

TEST(ProgBar, AssignCopiesAppearanceButNotTheTimer)
{
    auto source = MakeBar();
    source->SetValue(33);
    source->SetRange(-10, 50);
    source->SetShowColorGradient(true);
    source->SetBarColorElem(77, 0x123456);
    source->SetColorScheme(csSystem);
    source->SetTextAngle(45);
    source->SetRepeatInterval(50);
    source->OnShowValue = [](QObject *, QString &text) { text = QStringLiteral("x"); };

    auto target = MakeBar();
    target->Assign(source.get());
    EXPECT_EQ(target->GetValue(), 33.0);
    EXPECT_EQ(target->GetMin(), -10.0);
    EXPECT_EQ(target->GetMax(), 50.0);
    EXPECT_TRUE(target->GetShowColorGradient());
    EXPECT_EQ(target->GetBarColorElem(77), 0x123456u);
    EXPECT_EQ(target->GetColorScheme(), csSystem);
    EXPECT_EQ(target->GetTextAngle(), 45);
    EXPECT_TRUE(bool(target->OnShowValue));
    EXPECT_EQ(target->GetRepeatInterval(), 700);
    EXPECT_EQ(Grab(target.get()), Grab(source.get()));

    auto other = MakeBar();
    other->AssignTo(target.get());
    EXPECT_EQ(target->GetValue(), 10.0);
    QWidget notABar;
    EXPECT_THROW(target->Assign(&notABar), EConvertError);
    EXPECT_EQ(target->GetValue(), 10.0);
}

// ---- The control base -------------------------------------------------------------------------

TEST(ProgBar, ALayoutStretchesTheBarOnlyAlongItsDirection)
{
    const struct
    {
        TDirection direction;
        QSizePolicy::Policy horizontal, vertical;
        bool lengthIsWidth;
    } cases[] = {
        {drLeftRight, QSizePolicy::Preferred, QSizePolicy::Fixed, true},
        {drRightLeft, QSizePolicy::Preferred, QSizePolicy::Fixed, true},
        {drBottomUp, QSizePolicy::Fixed, QSizePolicy::Preferred, false},
        {drTopDown, QSizePolicy::Fixed, QSizePolicy::Preferred, false},
    };
    for (const auto &c : cases) {
        TProgBar source;
        source.SetDirection(c.direction);
        TProgBar bar;
        bar.Assign(&source); // the direction comes with Assign too
        for (const TProgBar *b : {&source, &bar}) {
            EXPECT_EQ(b->sizePolicy().horizontalPolicy(), c.horizontal) << int(c.direction);
            EXPECT_EQ(b->sizePolicy().verticalPolicy(), c.vertical) << int(c.direction);
            EXPECT_EQ(b->sizeHint().width() > b->sizeHint().height(), c.lengthIsWidth) << int(c.direction);
        }
    }
}

TEST(ProgBar, ValueIsTheNotifyingUserProperty)
{
    auto bar = MakeBar();
    ExpectNotifyingUserProperty(*bar, "Value", 20.0);
    QSignalSpy changed(bar.get(), &TProgBar::ValueChanged);
    bar->SetAutoIncStep(2.5);
    bar->DoTimer();
    auto source = MakeBar();
    source->SetValue(-3);
    bar->Assign(source.get());
    bar->Assign(source.get());
    ASSERT_EQ(changed.count(), 2) << "a timer step and the first Assign";
    EXPECT_EQ(changed.at(0).value(0).toDouble(), 22.5);
    EXPECT_EQ(changed.at(1).value(0).toDouble(), -3.0);
}

TEST(ProgBar, KeyAndMouseEventsFire)
{
    ExpectInputEvents<TProgBar>();
}

TEST(ProgBar, SettingsTheBarDoesNotShowPaintNothing)
{
    // The plain bar has one colour, no grid, no frames and no text.
    using S = TShownSetting<TProgBar>;
    const auto gradient = [](TProgBar &b) { b.SetShowColorGradient(true); };
    const auto grid = [](TProgBar &b) { b.SetGridDist(5); };
    const auto text = [](TProgBar &b) { b.SetTextVisible(true); };
    ExpectPaintsOnlyWhereShown<TProgBar>(MakePlainBar, {
        S{"ColorMapMode", gradient, [](TProgBar &b) { b.SetColorMapMode(TProgBar::cgmCover); }},
        S{"ColorMax", gradient, [](TProgBar &b) { b.SetColorMax(clr::Lime); }},
        S{"ColorGrid", grid, [](TProgBar &b) { b.SetColorGrid(kGrid); }},
        S{"GridDist", grid, [](TProgBar &b) { b.SetGridDist(1); }},
        S{"ColorScheme", [](TProgBar &b) { b.SetFrameStyleInner(fsLowered); },
          [](TProgBar &b) { b.SetColorScheme(csSystem); }},
        S{"TextAlignment", text, [](TProgBar &b) { b.SetTextAlignment(taLeftJustify); }},
        S{"TextAngle", text, [](TProgBar &b) { b.SetTextAngle(90); }},
        S{"TextDecPlaces", text, [](TProgBar &b) { b.SetTextDecPlaces(2); }},
        S{"TextPosX", text, [](TProgBar &b) { b.SetTextPosX(50); }},
        S{"TextPosY", text, [](TProgBar &b) { b.SetTextPosY(5); }},
        S{"TextVisible", text, [](TProgBar &b) { b.SetTextVisible(b.GetTextVisible()); }},
        S{"Range set again", {}, [](TProgBar &b) { b.SetRange(100, 0); }},
        S{"BackGroundImg cleared again", {}, [](TProgBar &b) { b.SetBackGroundImg(QString()); }},
    });
    // A picture that cannot be read changes nothing either.
    TempDir dir;
    auto bar = MakePlainBar();
    bar->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(bar.get()));
    PaintCounter paints(bar.get());
    EXPECT_THROW(bar->SetBackGroundImg(dir.Write(QStringLiteral("broken.png"), "not a picture")), ENVOProgBar);
    EXPECT_EQ(paints.Count, 0);
}

TEST(ProgBarPaint, AChangeAfterAPaintShowsAsOnAFreshBar)
{
    ExpectChangesShowAsOnFreshControls<TProgBar>({
        [](TProgBar &b) { b.SetValue(3); },
        [](TProgBar &b) { b.SetTextVisible(false); },
        [](TProgBar &b) { b.SetDirection(drRightLeft); },
        [](TProgBar &b) {
            b.SetShowColorGradient(true);
            b.SetValue(80);
            b.SetValue(40);
        },
        [](TProgBar &b) { b.resize(120, 40); },
    });
}
