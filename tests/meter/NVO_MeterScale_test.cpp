#include "NVO_Meter.h"
#include "NVO_MeterScale.h"

#include "MeterTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace nvo;
using nvo::test::kInf;
using nvo::test::kNaN;
using nvo::test::Seconds;

namespace {

QStringList Labels(const std::vector<TDecadeTick> &ticks, int decPlaces)
{
    QStringList labels;
    for (const TDecadeTick &tick : ticks)
        if (tick.Labelled)
            labels << ScaleLabelText(tick.Value, decPlaces);
    return labels;
}

} // namespace

TEST(MeterScale, TickStepFollowsTheOneTwoFiveRule)
{
    struct Case {
        double Min, Max;
        int NrTicks;
        double Step, First;
        int Divisions;
    };
    const Case cases[] = {
        {0, 1, 3, 0.2, 0, 4},
        {0, 100, 3, 20, 0, 4},
        {0, 100, 5, 10, 0, 5},
        {0, 1, 2, 0.2, 0, 4},      // exactly 5 x 10^n falls to 2 x 10^n
        {-50, 50, 4, 20, -40, 4},
        {0, 10, 10, 1, 0, 5},      // exactly 1 x 10^n stays
        {0, 20, 10, 1, 0, 5},      // exactly 2 x 10^n falls to 1 x 10^n
        {0.013, 0.97, 3, 0.2, 0.2, 4},
        {3, 3, 3, 0, 3, 1},        // an empty range has no step
    };
    for (const Case &c : cases) {
        const TTickStep ticks = CalcTickStep(c.Min, c.Max, c.NrTicks);
        EXPECT_NEAR(ticks.Step, c.Step, 1e-12) << c.Min << ".." << c.Max << " N " << c.NrTicks;
        EXPECT_NEAR(ticks.First, c.First, 1e-12) << c.Min << ".." << c.Max;
        EXPECT_EQ(ticks.Divisions, c.Divisions) << c.Min << ".." << c.Max;
    }
}

TEST(MeterScale, DefaultScaleHasSixLabelledMajorsAndFifteenMinors)
{
    const TTickStep ticks = CalcTickStep(0, 1, 3);
    QStringList labels;
    for (double value : MajorTickValues(ticks, 1))
        labels << ScaleLabelText(value, 1);
    EXPECT_EQ(labels, QStringList({"0.0", "0.2", "0.4", "0.6", "0.8", "1.0"}));
    const std::vector<double> minors = MinorTickValues(ticks, 0, 1);
    ASSERT_EQ(minors.size(), 15u);
    EXPECT_NEAR(minors.front(), 0.05, 1e-12);
    EXPECT_NEAR(minors.back(), 0.95, 1e-12);
}

// A step computed a hair above its round value (20.000000000000007 for -50..50)
// puts the minor tick at an end a hair outside the range; both ends allow the same
// thousandth of a minor step, so neither end loses its tick.
TEST(MeterScale, MinorTicksReachBothEndsOfTheRange)
{
    struct Case {
        double Min, Max;
        int NrTicks;
        size_t Count;
    };
    const Case cases[] = {
        {-50, 50, 4, 16}, // majors -40..40 every 20, minors every 5
        {-0.5, 0.5, 4, 16},
        {-500, 500, 4, 16},
        {-5, 5, 4, 16}, // a step that comes out exact
    };
    for (const Case &c : cases) {
        const std::vector<double> minors = MinorTickValues(CalcTickStep(c.Min, c.Max, c.NrTicks), c.Min, c.Max);
        ASSERT_EQ(minors.size(), c.Count) << c.Min << ".." << c.Max;
        EXPECT_NEAR(minors.front(), c.Min, 1e-9) << c.Min << ".." << c.Max;
        EXPECT_NEAR(minors.back(), c.Max, 1e-9) << c.Min << ".." << c.Max;
    }
}

TEST(MeterScale, LogarithmicDecadesOneToThousand)
{
    const std::vector<TDecadeTick> ticks = DecadeTickValues(1, 1000);
    ASSERT_EQ(ticks.size(), 28u); // 1..9, 10..90, 100..900 and 1000 itself
    EXPECT_DOUBLE_EQ(ticks.front().Value, 1);
    EXPECT_DOUBLE_EQ(ticks[9].Value, 10);
    EXPECT_DOUBLE_EQ(ticks.back().Value, 1000);
    EXPECT_EQ(Labels(ticks, 0),
              QStringList({"1", "2", "5", "10", "20", "50", "100", "200", "500", "1000"}));
}

TEST(MeterScale, LabelsUseThePointAndNeverShowMinusZero)
{
    struct Case {
        double Value;
        int DecPlaces;
        const char *Text;
    };
    const Case cases[] = {
        {2, 1, "2.0"},     {100, 0, "100"},  {-40, 1, "-40.0"}, {0.6000000000000001, 1, "0.6"},
        {-0.04, 1, "0.0"}, {-0.0, 1, "0.0"}, {-0.4, 0, "0"},    {1234567.5, 2, "1234567.50"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ScaleLabelText(c.Value, c.DecPlaces), QString::fromLatin1(c.Text)) << c.Value;
}

TEST(MeterScale, GeometryOfTheGivenLayouts)
{
    struct Case {
        TMeter::TMeterLayout Layout;
        int Width, Height;
        int Sweep, Cx, Cy;
        double Radius;
    };
    const Case cases[] = {
        {TMeter::mlCirc90, 297, 209, 90, 148, 191, 175},
        {TMeter::mlCirc300, 297, 209, 300, 148, 110, 175 / 1.866},
        // Narrow: the width limits the radius.
        {TMeter::mlCirc120, 100, 209, 120, 50, 191, (50.0 - 18) * 1.1547},
        {TMeter::mlCirc120, 500, 209, 120, 250, 191, 175},
        {TMeter::mlCirc90, 100, 209, 90, 50, 191, (50.0 - 18) * 1.4142},
    };
    for (const Case &c : cases) {
        const TMeterGeometry g = CalcMeterGeometry(c.Layout, c.Width, c.Height, 10, 8, 10);
        EXPECT_EQ(g.Sweep, c.Sweep) << c.Layout;
        EXPECT_EQ(g.CenterX, c.Cx) << c.Layout;
        EXPECT_EQ(g.CenterY, c.Cy) << c.Layout;
        EXPECT_DOUBLE_EQ(g.Radius, c.Radius) << c.Layout;
    }
}

TEST(MeterScale, DesignedLayoutsKeepTheirDialBetweenTheRims)
{
    // The scale's two ends, its top and (for the full circle) its lowest point stay
    // inside the covers, on wide, tall and default controls.
    const QSize sizes[] = {{297, 209}, {600, 200}, {200, 500}};
    for (auto layout : {TMeter::mlCirc90, TMeter::mlCirc120, TMeter::mlCirc180, TMeter::mlCirc270,
                        TMeter::mlCirc360}) {
        for (const QSize size : sizes) {
            const TMeterGeometry g = CalcMeterGeometry(layout, size.width(),
                                                       size.height(), 10, 8, 10);
            const TMeterScale scale{0, 1, false, g.Sweep};
            for (double value : {0.0, 0.5, 1.0}) {
                const QPoint p = PointAtAngle(g.CenterX, g.CenterY, scale.DrawingAngle(value), g.Radius);
                EXPECT_GE(p.x(), 10) << layout << " " << size.width() << "x" << size.height();
                EXPECT_LE(p.x(), size.width() - 10) << layout;
                EXPECT_GE(p.y(), 8) << layout;
                EXPECT_LE(p.y(), size.height() - 10) << layout;
            }
            if (g.Sweep == 360)
                EXPECT_LE(g.CenterY + g.Radius, size.height() - 10 + 0.5) << size.width();
        }
    }
}

TEST(MeterScale, NeedleAngleClampsAndNeverTurnsNaN)
{
    const TMeterScale linear{0, 1, false, 90};
    const TMeterScale log{1, 100, true, 90};
    // Logarithmic with a non-positive end, as a hand-written form may give it.
    const TMeterScale badLog{-1, 1, true, 90};
    struct Case {
        const TMeterScale *Scale;
        double Value, Angle;
    };
    const Case cases[] = {
        {&linear, 0, 135},   {&linear, 0.5, 180},  {&linear, 1, 225},     {&linear, 5, 225},
        {&linear, kNaN, 135}, {&linear, -kInf, 135}, {&log, 10, 180},      {&log, 0, 135},
        {&badLog, 0, 180},   {&badLog, -1, 135},
    };
    for (const Case &c : cases)
        EXPECT_DOUBLE_EQ(c.Scale->NeedleAngle(c.Value), c.Angle) << c.Value;
    // An empty range puts everything at the left end.
    EXPECT_DOUBLE_EQ((TMeterScale{5, 5, false, 90}.NeedleAngle(5)), 135);
    // A range wider than the largest double still maps its middle to the middle.
    const double big = std::numeric_limits<double>::max();
    EXPECT_DOUBLE_EQ((TMeterScale{-big, big, false, 90}.NeedleAngle(0)), 180);
}

TEST(MeterScale, PixelToValueAroundThePivot)
{
    const TMeterScale linear{0, 1, false, 90};
    const TMeterScale log{1, 100, true, 90};
    const TMeterScale full{0, 1, false, 360};
    struct Case {
        const TMeterScale *Scale;
        int X, Y;
        std::optional<double> Value;
    };
    const Case cases[] = {
        {&linear, 100, 100, 0.5},         // the pivot itself counts as straight up
        {&linear, 100, 50, 0.5},          // straight up
        {&linear, 50, 50, 0.0},           // 45 degrees left: the left end
        {&linear, 150, 50, 1.0},          // the right end
        {&linear, 100, 150, std::nullopt}, // straight down lies outside 90 degrees
        {&linear, 150, 100, std::nullopt},
        {&log, 100, 0, 10.0},
        {&full, 100, 150, 0.0},           // a full circle starts straight down
    };
    for (const Case &c : cases) {
        const std::optional<double> value = c.Scale->PixelToValue(100, 100, c.X, c.Y);
        ASSERT_EQ(value.has_value(), c.Value.has_value()) << c.X << "," << c.Y;
        if (c.Value)
            EXPECT_NEAR(*value, *c.Value, 1e-9) << c.X << "," << c.Y;
    }
}

TEST(MeterScale, NeedleOfZeroThicknessHasOneShaftLine)
{
    const auto p = NeedlePolygon(148, 191, 90, 171, 30, 0, 20, 20);
    EXPECT_EQ(p[1], QPoint(148, 20)); // the tip, straight up
    EXPECT_EQ(p[3], p[6]);
    EXPECT_EQ(p[4], QPoint(148, 191));
    EXPECT_EQ(p[5], QPoint(148, 191));
    EXPECT_EQ(p[3], QPoint(148, 40));
    // The barbs open 15 degrees to either side of the shaft.
    EXPECT_EQ(p[0], QPoint(RoundToInt(148 - std::cos(105 * M_PI / 180) * 20),
                           RoundToInt(20 + std::sin(105 * M_PI / 180) * 20)));
    EXPECT_EQ(p[0].x() + p[2].x(), 2 * 148);
}

TEST(MeterScale, RoundingIsHalfEvenAndTotal)
{
    struct Case {
        double Value;
        int Rounded;
    };
    const Case cases[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {0.49, 0}, {kNaN, 0},
                          {1e300, INT_MAX}, {-kInf, INT_MIN}};
    for (const Case &c : cases)
        EXPECT_EQ(RoundToInt(c.Value), c.Rounded) << c.Value;
}

TEST(MeterScale, PathologicalRangesReturnPromptly)
{
    const double big = std::ldexp(1.0, 60); // doubles are 256 apart here
    struct Case {
        double Min, Max;
    };
    const Case cases[] = {
        {big, big + 256},                                     // one spacing of doubles
        {1e20, std::nextafter(1e20, 2e20)},
        {-std::numeric_limits<double>::max(), std::numeric_limits<double>::max()},
        {1e-300, 1e-300 * (1 + 1e-15)},
    };
    for (const Case &c : cases) {
        const double seconds = Seconds([&] {
            const TTickStep ticks = CalcTickStep(c.Min, c.Max, 21);
            EXPECT_LE(MajorTickValues(ticks, c.Max).size(), size_t(kMaxTicks));
            EXPECT_LE(MinorTickValues(ticks, c.Min, c.Max).size(), size_t(kMaxTicks));
            EXPECT_TRUE(std::isfinite(ticks.First));
        });
        EXPECT_LT(seconds, 0.5) << c.Min;
    }
    EXPECT_EQ(MajorTickValues(CalcTickStep(7, 7, 3), 7), std::vector<double>{7});
    EXPECT_TRUE(MinorTickValues(CalcTickStep(7, 7, 3), 7, 7).empty());
    // Log over four hundred decades: nine ticks a decade, bounded.
    const std::vector<TDecadeTick> decades = DecadeTickValues(1e-100, 1e300);
    EXPECT_EQ(decades.size(), 400u * 9 + 1);
    EXPECT_TRUE(DecadeTickValues(0, 10).empty());
    EXPECT_TRUE(DecadeTickValues(10, 1).empty());
}
