#include "NVO_Meter.h"

#include "ControlContract.h"
#include "EventRecorder.h"
#include "MeterTestSupport.h"
#include "PixelProbe.h"
#include "TempDir.h"

#include <QtGui/QMouseEvent>
#include <QtTest/QSignalSpy>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

using namespace nvo;
using namespace nvo::test;

namespace {

/// A meter that counts its paints.
class CountingMeter : public TMeter
{
public:
    int Paints = 0;

protected:
    void Paint(TCanvas &canvas) override
    {
        ++Paints;
        TMeter::Paint(canvas);
    }
};

/// Records the limit-watch events of `meter` into `recorder`.
void RecordLimitEvents(TMeter &meter, EventRecorder &recorder)
{
    meter.OnOverFlow = recorder.Recorder("OnOverFlow");
    meter.OnNormalRange = recorder.Recorder("OnNormalRange");
    meter.OnUnderFlow = recorder.Recorder("OnUnderFlow");
}

/// The scale labels a paint draws, in drawing order.
QStringList PaintedLabels(TMeter &meter)
{
    QStringList labels;
    meter.OnBeforeDrawScaleLabel = [&](QObject *, TCanvas &, QString &label, int, int) { labels << label; };
    Grab(&meter);
    meter.OnBeforeDrawScaleLabel = nullptr;
    return labels;
}

/// A picture whose every pixel has its own colour, saved as PNG.
QString SavePattern(const nvo::test::TempDir &dir, const QString &name, int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(40 + 50 * x, 30 + 60 * y, 200));
    const QString path = dir.Path(name);
    image.save(path, "PNG");
    return path;
}

// Points of the default meter (297 x 209, pivot (148, 191)) that no scale, label,
// needle or anchor covers: left and right of the 90-degree sweep, below the lamps.
const QPoint kOutsideSweepLeft(20, 180);
const QPoint kOutsideSweepRight(270, 180);

} // namespace

TEST(Meter, DefaultsAsPublished)
{
    TMeter meter;
    EXPECT_EQ(meter.size(), QSize(297, 209));
    const std::pair<const char *, QVariant> defaults[] = {
        {"AnchorSize", 24},           {"AnchorCovered", true},         {"AnchorImage", QString()},
        {"BackGroundImg", QString()}, {"Caption", QString()},          {"ColorBakG", 0xFFFFFFu},
        {"ColorCover", 0xFF00000Fu},  {"ColorScale", 0x800000u},       {"ColorSclBkLow", 0x00FF00u},
        {"ColorSclBkNorm", 0x0080FFu}, {"ColorSclBkHigh", 0x0000FFu},  {"LimWatchHighOn", true},
        {"LimWatchLowOn", true},      {"LimWatchActColor", 0x0000FFu}, {"LimWatchPsvColor", 0x808080u},
        {"Logarithmic", false},       {"ThresholdLow", 0.0},           {"ThresholdHigh", 1.0},
        {"MeterMinValue", 0.0},       {"MeterMaxValue", 1.0},          {"MeterDecPlaces", 1},
        {"MeterNrTicks", 3},          {"MeterShortTicks", true},       {"MeterScaleLine", true},
        {"RimBottom", 10},            {"RimTop", 8},                   {"RimSide", 10},
        {"ScaleBkWidth", 0.0},        {"ScaleBkVisible", false},       {"ScaleVisible", true},
        {"Value", 0.0},               {"ValueSec", 0.0},
    };
    for (const auto &[name, value] : defaults)
        EXPECT_EQ(meter.property(name), value) << name;
    EXPECT_EQ(meter.GetMeterLayout(), TMeter::mlCirc90);
    EXPECT_EQ(int(meter.GetFrameStyle()), 3);
    EXPECT_EQ(int(meter.GetColorScheme()), 0);
    EXPECT_EQ(int(meter.GetBkgndFillMode()), 0);
    for (TNeedleLayout *layout : {meter.GetNeedleLayout(), meter.GetNeedleLayoutSec()}) {
        EXPECT_EQ(layout->GetPercentNeedleLength(), 100);
        EXPECT_EQ(layout->GetColorBody(), 0xC0C0C0u);
        EXPECT_EQ(layout->GetHeadSize(), 20);
        EXPECT_EQ(layout->GetHeadAngle(), 30);
        EXPECT_EQ(layout->GetThickness(), 0);
    }
    EXPECT_TRUE(meter.GetNeedleLayout()->GetVisible());
    EXPECT_FALSE(meter.GetNeedleLayoutSec()->GetVisible());
    const TMeterGeometry g = meter.Geometry();
    EXPECT_EQ(g.Sweep, 90);
    EXPECT_EQ(g.CenterX, 148);
    EXPECT_EQ(g.CenterY, 191);
    EXPECT_DOUBLE_EQ(g.Radius, 175);
    // A bare needle layout starts at zero; only its owner fills it in.
    TNeedleLayout bare;
    EXPECT_EQ(bare.GetHeadSize(), 0);
    EXPECT_FALSE(bare.GetVisible());
}

TEST(Meter, GeometryFollowsSizeAndLayoutButNotRims)
{
    TMeter meter;
    meter.SetMeterLayout(TMeter::mlCirc300);
    EXPECT_EQ(meter.Geometry().CenterY, 110);
    EXPECT_NEAR(meter.Geometry().Radius, 93.78, 0.01);
    meter.SetRimTop(30);
    EXPECT_EQ(meter.Geometry().CenterY, 110); // rims wait for the next resize
    meter.resize(297, 210);
    EXPECT_NEAR(meter.Geometry().Radius, (210 - 10 - 30 - 16) / 1.866, 1e-9);
}

TEST(Meter, LimitWatchEventSequence)
{
    TMeter meter;
    EventRecorder events;
    RecordLimitEvents(meter, events);
    struct Step {
        double Value;
        const char *Event;
        bool Overflow, Underflow;
    };
    const Step steps[] = {
        {0, nullptr, false, false}, // unchanged right after construction: nothing
        {0.5, "OnNormalRange", false, false},
        {1, "OnOverFlow", true, false},   // 1 >= ThresholdHigh 1
        {0, "OnUnderFlow", false, true},  // 0 <= ThresholdLow 0
        {5, "OnOverFlow", true, false},   // stored as 1
        {5, "OnOverFlow", true, false},   // compared before clamping: watched again
    };
    for (const Step &step : steps) {
        events.Clear();
        meter.SetValue(step.Value);
        EXPECT_EQ(events.Events(), step.Event ? QStringList{step.Event} : QStringList{}) << step.Value;
        EXPECT_EQ(meter.Overflow(), step.Overflow) << step.Value;
        EXPECT_EQ(meter.Underflow(), step.Underflow) << step.Value;
    }
    EXPECT_EQ(meter.GetValue(), 1.0);
}

TEST(Meter, ThrowingHandlerLeavesTheValueStoredAndSkipsTheRepaint)
{
    CountingMeter meter;
    meter.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&meter));
    meter.OnOverFlow = [](QObject *) { throw Exception("handler failed"); };
    const int paints = meter.Paints;
    EXPECT_THROW(meter.SetValue(1), Exception);
    EXPECT_EQ(meter.GetValue(), 1.0);
    EXPECT_TRUE(meter.Overflow());
    EXPECT_EQ(meter.Paints, paints);
}

TEST(Meter, NoRoomForTheDialPaintsNothing)
{
    QWidget parent;
    parent.resize(60, 60);
    parent.setAutoFillBackground(true);
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, QColor(0, 128, 0));
    parent.setPalette(palette);
    auto *meter = new TMeter(&parent);
    meter->setGeometry(5, 5, 40, 30); // the radius comes out negative
    EXPECT_LE(meter->Geometry().Radius, 0);
    // The parent shows through: the meter neither draws nor claims to be opaque.
    const QImage image = Grab(&parent);
    EXPECT_EQ(PixelAt(image, 20, 20), RGBColor(0, 128, 0));
}

TEST(Meter, InvisibleNeedlesAreNotWatched)
{
    CountingMeter meter;
    meter.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&meter));
    EventRecorder events;
    RecordLimitEvents(meter, events);
    meter.SetValue(1);
    ASSERT_TRUE(meter.Overflow());
    // The first needle without Visible: drawn, but silent, and the lamps go out.
    meter.GetNeedleLayout()->SetVisible(false);
    events.Clear();
    meter.SetValue(0.5);
    EXPECT_TRUE(events.Events().isEmpty());
    EXPECT_FALSE(meter.Overflow());
    EXPECT_FALSE(meter.Underflow());
    EXPECT_EQ(PixelAt(Grab(&meter), 148, 32), clr::Silver); // the head, pointing straight up
    // The second needle is invisible by default: setting its value clears the lamps
    // without a repaint.
    meter.GetNeedleLayout()->SetVisible(true);
    meter.SetValue(1);
    ASSERT_TRUE(meter.Overflow());
    const int paints = meter.Paints;
    meter.SetValueSec(0.5);
    EXPECT_FALSE(meter.Overflow());
    EXPECT_EQ(meter.Paints, paints);
    // Made visible, it watches and repaints like the first.
    meter.GetNeedleLayoutSec()->SetVisible(true);
    events.Clear();
    meter.SetValueSec(0);
    EXPECT_EQ(events.Events(), QStringList{"OnUnderFlow"});
    EXPECT_GT(meter.Paints, paints);
}

TEST(Meter, ThresholdSettersWatchOnlyTheFirstValue)
{
    TMeter meter;
    EventRecorder events;
    RecordLimitEvents(meter, events);
    meter.SetThresholdLow(0.3); // Value 0 <= 0.3
    EXPECT_EQ(events.Events(), QStringList{"OnUnderFlow"});
    EXPECT_TRUE(meter.Underflow());
    events.Clear();
    meter.SetThresholdHigh(0.2); // below the low threshold: both move to 0.2
    EXPECT_EQ(meter.GetThresholdLow(), 0.2);
    EXPECT_TRUE(events.Events().isEmpty()); // Value 0 is not >= 0.2
    meter.SetThresholdLow(7);                // clamped to Max, pushes the high one up
    EXPECT_EQ(meter.GetThresholdLow(), 1.0);
    EXPECT_EQ(meter.GetThresholdHigh(), 1.0);
    events.Clear();
    meter.GetNeedleLayout()->SetVisible(false); // thresholds ignore the layouts
    meter.SetValue(1);
    meter.SetThresholdHigh(0.9);
    EXPECT_EQ(events.Events(), QStringList{"OnOverFlow"});
}

TEST(Meter, RangeSettersKeepTheValueModel)
{
    TMeter meter;
    EventRecorder events;
    RecordLimitEvents(meter, events);
    meter.SetValue(0.5);
    events.Clear();
    meter.SetMeterMinValue(0.7); // raises the value and the low threshold, silently
    EXPECT_EQ(meter.GetValue(), 0.7);
    EXPECT_EQ(meter.GetThresholdLow(), 0.7);
    meter.SetMeterMaxValue(0.2); // at or below the minimum: min = max - 1
    EXPECT_EQ(meter.GetMeterMinValue(), 0.2 - 1);
    EXPECT_EQ(meter.GetValue(), 0.2);
    EXPECT_TRUE(events.Events().isEmpty());

    TMeter log;
    log.SetMeterMinValue(0.5);
    log.SetLogarithmic(true);
    ASSERT_TRUE(log.GetLogarithmic());
    log.SetMeterMaxValue(0.4); // max - 1 <= 0 on a log scale: min = max / 10
    EXPECT_DOUBLE_EQ(log.GetMeterMinValue(), 0.04);
    log.SetMeterMinValue(0); // refused on a log scale
    EXPECT_DOUBLE_EQ(log.GetMeterMinValue(), 0.04);

    TMeter fromZero;
    fromZero.SetLogarithmic(true); // the minimum 0 has no logarithm
    EXPECT_FALSE(fromZero.GetLogarithmic());
}

TEST(Meter, RangeStaysOpenBeyondTwoToTheFiftyThird)
{
    const double big = std::ldexp(1.0, 60);
    const double max = std::numeric_limits<double>::max();
    TMeter meter;
    meter.SetMeterMinValue(big); // big + 1 == big: the next double takes its place
    EXPECT_GT(meter.GetMeterMaxValue(), meter.GetMeterMinValue());
    meter.SetMeterMaxValue(-big);
    EXPECT_LT(meter.GetMeterMinValue(), meter.GetMeterMaxValue());
    meter.SetMeterMinValue(max); // no double lies above it
    EXPECT_LT(meter.GetMeterMinValue(), meter.GetMeterMaxValue());
    meter.resize(297, 209);
    EXPECT_LT(Seconds([&] { Grab(&meter); }), 1.0);
}

TEST(Meter, NonFiniteNumbersAreIgnored)
{
    const char *properties[] = {"Value", "ValueSec", "MeterMinValue", "MeterMaxValue",
                                "ThresholdLow", "ThresholdHigh", "ScaleBkWidth"};
    for (const char *property : properties) {
        for (double bad : {kNaN, kInf, -kInf}) {
            TMeter meter;
            meter.SetThresholdLow(0.2);
            meter.SetValue(0.5);
            EventRecorder events;
            RecordLimitEvents(meter, events);
            const QVariant before = meter.property(property);
            meter.setProperty(property, bad);
            EXPECT_EQ(meter.property(property), before) << property << " " << bad;
            EXPECT_TRUE(events.Events().isEmpty()) << property << " " << bad;
            EXPECT_TRUE(std::isfinite(meter.CalcNeedleAngle(meter.GetValue()))) << property;
        }
    }
}

TEST(Meter, MappingMethods)
{
    TMeter meter;
    EXPECT_DOUBLE_EQ(meter.CalcNeedleAngle(0.5), 180);
    EXPECT_DOUBLE_EQ(meter.CalcNeedleAngle(kNaN), 135);
    int x = 0, y = 0;
    meter.ConvertToPixelCoords(0.5, 100, x, y);
    EXPECT_EQ(QPoint(x, y), QPoint(148, 191 - 175));
    meter.ConvertToPixelCoords(0.5, kNaN, x, y); // no undefined conversion
    EXPECT_EQ(QPoint(x, y), QPoint(0, 0));
    double value = -1;
    EXPECT_TRUE(meter.ConvertPixelToValue(148, 191, value)); // the pivot: the middle
    EXPECT_DOUBLE_EQ(value, 0.5);
    EXPECT_FALSE(meter.ConvertPixelToValue(148, 200, value)); // below the pivot
    EXPECT_EQ(value, 0.0);
}

TEST(Meter, MouseMoveReportsTheValueUnderThePointer)
{
    TMeter meter;
    QStringList seen;
    meter.OnMouseMoveInMeter = [&](QObject *, bool within, Qt::KeyboardModifiers shift, double value) {
        seen << QString("%1 %2 %3").arg(within).arg(shift.testFlag(Qt::ShiftModifier)).arg(value);
    };
    for (const QPoint pos : {QPoint(148, 100), QPoint(148, 205)}) {
        QMouseEvent move(QEvent::MouseMove, pos, meter.mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                         Qt::ShiftModifier);
        QApplication::sendEvent(&meter, &move);
    }
    EXPECT_EQ(seen, QStringList({"1 1 0.5", "0 1 0"}));
}

// A form sets its properties one by one in whatever order it lists them, and
// nothing calls the meter afterwards: every order must give the same meter. The
// value 19 and the thresholds set before the range 10..20, and the logarithmic
// scale set before a minimum that has a logarithm, are what setters that clamp at
// once would have spoilt.
TEST(Meter, AnyOrderOfTheSettersGivesTheSameMeter)
{
    using Setter = std::pair<const char *, QVariant>;
    std::vector<Setter> order = {{"MeterMinValue", 10.0}, {"MeterMaxValue", 20.0}, {"Logarithmic", true},
                                 {"ThresholdLow", 12.0},  {"ThresholdHigh", 18.0}, {"Value", 19.0},
                                 {"ValueSec", 11.0}};
    const std::vector<Setter> saved = order;
    const auto isName = [](const char *name) { return [name](const Setter &s) { return qstrcmp(s.first, name) == 0; }; };
    std::sort(order.begin(), order.end(), [](const Setter &a, const Setter &b) { return qstrcmp(a.first, b.first) < 0; });
    int orders = 0;
    do {
        TMeter meter;
        for (const auto &[name, value] : order)
            meter.setProperty(name, value);
        for (const auto &[name, value] : saved)
            ASSERT_EQ(meter.property(name), value) << name << " in order " << orders;
        // The lamps watch the needle set last: 19 passes the high threshold, and the
        // invisible second needle lights nothing.
        const bool valueLast = std::find_if(order.begin(), order.end(), isName("Value"))
                               > std::find_if(order.begin(), order.end(), isName("ValueSec"));
        ASSERT_EQ(meter.Overflow(), valueLast) << "order " << orders;
        ASSERT_FALSE(meter.Underflow()) << "order " << orders;
        ++orders;
    } while (std::next_permutation(order.begin(), order.end(), [](const Setter &a, const Setter &b) {
        return qstrcmp(a.first, b.first) < 0;
    }));
    EXPECT_EQ(orders, 5040);
}

// Stored values that no meter can show (a reversed or empty range, a logarithmic
// scale from zero, values outside the range) still give a meter that keeps the
// value model and paints promptly, in any order.
TEST(Meter, BrokenFormsStillGiveAValidModel)
{
    const double big = std::ldexp(1.0, 60);
    struct Case {
        const char *What;
        double Min, Max;
        bool Log;
        double Low, High, Value, ValueSec;
    };
    const Case cases[] = {
        {"reversed", 5, 1, false, 0, 9, 3, 3},
        {"empty", 5, 5, false, 5, 5, 5, 5},
        {"empty beyond 2^53", big, big, false, big, big, big, big},
        {"log from zero", 0, 10, true, 0, 10, 1, 1},
        {"values outside", 0, 1, false, 0.8, 0.2, 50, -3},
    };
    for (const Case &c : cases) {
        const std::vector<std::pair<const char *, QVariant>> declared = {
            {"MeterMinValue", c.Min}, {"MeterMaxValue", c.Max}, {"Logarithmic", c.Log}, {"ThresholdLow", c.Low},
            {"ThresholdHigh", c.High}, {"Value", c.Value}, {"ValueSec", c.ValueSec}};
        const std::vector<std::pair<const char *, QVariant>> reversed(declared.rbegin(), declared.rend());
        for (const auto *order : {&declared, &reversed}) {
            TMeter meter;
            for (const auto &[name, value] : *order)
                meter.setProperty(name, value);
            const double min = meter.GetMeterMinValue(), max = meter.GetMeterMaxValue();
            EXPECT_LT(min, max) << c.What;
            EXPECT_LE(min, meter.GetThresholdLow()) << c.What;
            EXPECT_LE(meter.GetThresholdLow(), meter.GetThresholdHigh()) << c.What;
            EXPECT_LE(meter.GetThresholdHigh(), max) << c.What;
            for (double value : {meter.GetValue(), meter.GetValueSec()}) {
                EXPECT_LE(min, value) << c.What;
                EXPECT_LE(value, max) << c.What;
            }
            EXPECT_TRUE(!meter.GetLogarithmic() || min >= 1e-100) << c.What;
            EXPECT_LT(Seconds([&] { Grab(&meter); }), 1.0) << c.What;
        }
    }
}

TEST(Meter, AValueSetBeforeItsRangeShowsOnceTheRangeTakesItIn)
{
    TMeter meter;
    QSignalSpy changes(&meter, &TMeter::ValueChanged);
    meter.SetValue(50);
    EXPECT_EQ(meter.GetValue(), 1.0);
    meter.SetLogarithmic(true); // the minimum 0 has no logarithm yet
    EXPECT_FALSE(meter.GetLogarithmic());
    meter.SetMeterMaxValue(100);
    EXPECT_EQ(meter.GetValue(), 50.0);
    meter.SetMeterMinValue(1);
    EXPECT_TRUE(meter.GetLogarithmic());
    ASSERT_EQ(changes.size(), 2);
    EXPECT_EQ(changes.at(1).at(0).toDouble(), 50.0);
    // A value set again is what the meter remembers, even one equal to the value shown.
    meter.SetMeterMaxValue(40);
    EXPECT_EQ(meter.GetValue(), 40.0);
    meter.SetValue(40);
    meter.SetMeterMaxValue(100);
    EXPECT_EQ(meter.GetValue(), 40.0);
}

TEST(Meter, LampsFollowARangeThatMovesTheWatchedValue)
{
    TMeter meter;
    meter.SetMeterMaxValue(100); // nothing watched yet: the lamps stay dark
    EXPECT_FALSE(meter.Underflow());
    meter.SetThresholdHigh(80);
    EventRecorder events;
    RecordLimitEvents(meter, events);
    meter.SetValue(50);
    EXPECT_EQ(events.Events(), QStringList{"OnNormalRange"});
    events.Clear();
    meter.SetMeterMinValue(60); // moves the value and the low threshold to 60, silently
    EXPECT_TRUE(meter.Underflow());
    meter.SetMeterMinValue(10); // the value as set, 50, shows again
    EXPECT_FALSE(meter.Underflow());
    meter.SetMeterMaxValue(30);
    EXPECT_TRUE(meter.Overflow());
    EXPECT_TRUE(events.Events().isEmpty());
}

TEST(Meter, ScaleLabelsAsPainted)
{
    TMeter meter;
    EXPECT_EQ(PaintedLabels(meter), QStringList({"0.0", "0.2", "0.4", "0.6", "0.8", "1.0"}));
    meter.SetMeterMaxValue(1000);
    meter.SetMeterMinValue(1);
    meter.SetLogarithmic(true);
    meter.SetMeterDecPlaces(0);
    EXPECT_EQ(PaintedLabels(meter),
              QStringList({"1", "2", "5", "10", "20", "50", "100", "200", "500", "1000"}));
    // Logarithmic within one decade: the evenly spaced values of the linear rule.
    meter.SetMeterMaxValue(9);
    meter.SetMeterMinValue(2);
    EXPECT_EQ(PaintedLabels(meter), QStringList({"2", "4", "6", "8"}));
    // Around zero no label reads "-0.0", whatever rounding left in the tick value.
    TMeter symmetric;
    symmetric.SetMeterMinValue(-0.6);
    symmetric.SetMeterMaxValue(0.6);
    EXPECT_EQ(PaintedLabels(symmetric), QStringList({"-0.6", "-0.4", "-0.2", "0.0", "0.2", "0.4", "0.6"}));
}

TEST(Meter, EmptyLabelSuppressesTheLabelButNotItsTick)
{
    TMeter meter;
    meter.SetScaleVisible(true);
    const QImage normal = Grab(&meter);
    meter.OnBeforeDrawScaleLabel = [](QObject *, TCanvas &, QString &label, int, int) { label.clear(); };
    const QImage silent = Grab(&meter);
    const QRect all = normal.rect();
    EXPECT_EQ(nvo::test::CountPixels(silent, all, clr::Navy), nvo::test::CountPixels(normal, all, clr::Navy));
    EXPECT_LT(nvo::test::CountPixels(silent, all, clr::Black), nvo::test::CountPixels(normal, all, clr::Black));
}

TEST(Meter, FrameStyleFourWithClassicColours)
{
    TMeter meter;
    meter.SetFrameStyle(TFrameStyle(4));
    const QImage image = Grab(&meter);
    const int w = meter.width(), h = meter.height();
    const std::pair<QPoint, TColor> pixels[] = {
        {{0, 0}, clr::White},          {{w - 2, 0}, clr::White},     {{w - 2, h - 2}, clr::White},
        {{0, h - 2}, clr::White},      {{1, h - 2}, clr::White},     {{1, 1}, clr::Gray},
        {{1, h - 3}, clr::Gray},       {{w - 3, 1}, clr::Gray},      {{1, h - 1}, clr::Gray},
        {{w - 1, h - 1}, clr::Gray},   {{w - 1, 1}, clr::Gray},
    };
    for (const auto &[at, color] : pixels)
        EXPECT_EQ(PixelAt(image, at.x(), at.y()), color) << at.x() << "," << at.y();
}

TEST(Meter, ShadowLiesUpAndLeftOfTheNeedle)
{
    TMeter meter;
    meter.SetValue(0.5); // straight up: the tip at (148, 191 - 171)
    TNeedleLayout *needle = meter.GetNeedleLayout();
    needle->SetShadowColor(clr::Lime);
    needle->SetShadowDx(3);
    needle->SetShadowDy(3);
    const QImage image = Grab(&meter);
    EXPECT_EQ(PixelAt(image, 148, 20), clr::Black);
    EXPECT_EQ(PixelAt(image, 145, 17), clr::Lime);
    EXPECT_EQ(PixelAt(image, 151, 23), clr::White); // nothing on the other side
    needle->SetShadowDx(0);
    needle->SetShadowDy(0);
    EXPECT_EQ(nvo::test::CountPixels(Grab(&meter), QRect(0, 0, 297, 209), clr::Lime), 0);
}

TEST(Meter, LampsShowTheLimitFlags)
{
    TMeter meter;
    meter.SetValue(1);
    QImage image = Grab(&meter);
    EXPECT_EQ(PixelAt(image, 272, 20), clr::Red);  // high lamp lit
    EXPECT_EQ(PixelAt(image, 21, 20), clr::Gray);  // low lamp passive
    EXPECT_EQ(PixelAt(image, 269, 16), clr::Black); // the lamp's black outline
    meter.SetLimWatchHighOn(false);
    image = Grab(&meter);
    EXPECT_NE(PixelAt(image, 272, 20), clr::Red);
}

TEST(Meter, OwnNeedleHandlerSuppressesOnlyTheBuiltInNeedle)
{
    TMeter meter;
    meter.SetValue(0.5);
    const QPoint inHead(148, 32);
    EXPECT_EQ(PixelAt(Grab(&meter), inHead.x(), inHead.y()), clr::Silver);
    int calls = 0;
    meter.OnBeforeDrawNeedle = [&](QObject *, TCanvas &, bool &drawn) {
        ++calls;
        drawn = true;
    };
    const QImage image = Grab(&meter);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(PixelAt(image, inHead.x(), inHead.y()), clr::White);
    EXPECT_EQ(PixelAt(image, 21, 20), clr::Gray);  // lamps still drawn
    EXPECT_EQ(PixelAt(image, 0, 0), clr::White);   // and the raised frame
}

TEST(Meter, SecondNeedleIsDrawnWhenVisible)
{
    TMeter meter;
    meter.SetValue(0.5);
    TNeedleLayout *second = meter.GetNeedleLayoutSec();
    second->SetColorBody(clr::Fuchsia);
    meter.SetValueSec(0.5);
    second->SetVisible(true);
    const QPoint inHead(148, 32);
    // Beneath the first needle where they overlap...
    EXPECT_EQ(PixelAt(Grab(&meter), inHead.x(), inHead.y()), clr::Silver);
    meter.SetValue(0);
    // ...and on its own elsewhere.
    EXPECT_EQ(PixelAt(Grab(&meter), inHead.x(), inHead.y()), clr::Fuchsia);
}

TEST(Meter, BackgroundFillModes)
{
    nvo::test::TempDir dir;
    const QString pattern = SavePattern(dir, "pattern.png", 4, 3);
    const QImage picture(pattern);
    TMeter meter;
    meter.SetColorBakG(0x123456);
    meter.SetBackGroundImg(pattern);
    ASSERT_EQ(meter.GetBackGroundImg(), pattern);
    const auto pictureAt = [&](int x, int y) {
        const QRgb rgb = picture.pixel(x, y);
        return RGBColor(qRed(rgb), qGreen(rgb), qBlue(rgb));
    };

    meter.SetBkgndFillMode(bfTile);
    QImage image = Grab(&meter);
    for (const QPoint p : {kOutsideSweepLeft, kOutsideSweepRight, QPoint(21, 181), QPoint(271, 182)})
        EXPECT_EQ(PixelAt(image, p.x(), p.y()), pictureAt(p.x() % 4, p.y() % 3)) << p.x() << "," << p.y();

    meter.SetBkgndFillMode(bfStretch);
    image = Grab(&meter);
    // Stretched over the whole control, the bottom-right pixel fills the bottom right.
    EXPECT_EQ(PixelAt(image, kOutsideSweepRight.x(), kOutsideSweepRight.y()), pictureAt(3, 2));
    EXPECT_EQ(PixelAt(image, kOutsideSweepLeft.x(), kOutsideSweepLeft.y()), pictureAt(0, 2));

    meter.SetBkgndFillMode(bfOwnSize);
    image = Grab(&meter);
    // The picture sits at the top-left corner (under the cover); the rest is the
    // canvas's white.
    EXPECT_EQ(PixelAt(image, kOutsideSweepRight.x(), kOutsideSweepRight.y()), clr::White);

    meter.SetBkgndFillMode(TBkgFill(7)); // unknown: refused, the picture stays as it was
    EXPECT_EQ(meter.GetBkgndFillMode(), bfOwnSize);
    EXPECT_EQ(Grab(&meter), image);
}

TEST(Meter, UnreadableBackgroundRaisesAndKeepsThePreviousPicture)
{
    nvo::test::TempDir dir;
    const QString pattern = SavePattern(dir, "pattern.png", 4, 3);
    const QString empty = dir.Write("empty.png", QByteArray());
    const QString garbage = dir.Write("garbage.bmp", QByteArray("not a picture"));
    for (const QString &bad : {empty, garbage}) {
        TMeter meter;
        meter.setObjectName("Gauge");
        meter.SetColorBakG(0x123456);
        meter.SetBkgndFillMode(bfTile);
        meter.SetBackGroundImg(pattern);
        const QImage before = Grab(&meter);
        try {
            meter.SetBackGroundImg(bad);
            ADD_FAILURE() << "no exception for " << bad.toStdString();
        } catch (const ENVOMeterError &error) {
            EXPECT_EQ(error.Message(), QStringLiteral("Component \"Gauge\": cannot read image file \"%1\"").arg(bad));
        }
        EXPECT_EQ(meter.GetBackGroundImg(), pattern);
        EXPECT_EQ(Grab(&meter), before);
    }
    // A missing file only clears the name.
    TMeter meter;
    meter.SetBackGroundImg(dir.Path("missing.png"));
    EXPECT_EQ(meter.GetBackGroundImg(), QString());
}

TEST(Meter, AnchorImageSitsOnThePivot)
{
    nvo::test::TempDir dir;
    QImage anchor(6, 6, QImage::Format_RGB32);
    anchor.fill(qRgb(0, 0, 255));
    const QString path = dir.Path("anchor.png");
    anchor.save(path, "PNG");
    TMeter meter;
    meter.SetAnchorImage(path);
    ASSERT_EQ(meter.GetAnchorImage(), path);
    const QImage image = Grab(&meter);
    EXPECT_EQ(PixelAt(image, 145, 188), clr::Blue); // (cx - 3, cy - 3), the top-left corner
    EXPECT_EQ(PixelAt(image, 150, 193), clr::Blue);
    EXPECT_NE(PixelAt(image, 151, 194), clr::Blue);
    // An unreadable anchor picture is reported and keeps the previous one; a missing
    // file clears the name.
    EXPECT_THROW(meter.SetAnchorImage(dir.Write("bad.png", "no")), ENVOMeterError);
    EXPECT_EQ(meter.GetAnchorImage(), path);
    EXPECT_EQ(PixelAt(Grab(&meter), 145, 188), clr::Blue);
    meter.SetAnchorImage(dir.Path("missing.png"));
    EXPECT_EQ(meter.GetAnchorImage(), QString());
}

TEST(Meter, EveryLayoutPaintsItsRingAndScale)
{
    for (int layout = TMeter::mlCirc90; layout <= TMeter::mlCirc360; ++layout) {
        TMeter meter;
        meter.SetScaleBkVisible(true);
        meter.SetScaleBkWidth(10);
        meter.SetMeterLayout(TMeter::TMeterLayout(layout));
        const QImage image = Grab(&meter);
        // Thresholds at the ends: the whole ring is the normal range.
        EXPECT_GT(nvo::test::CountPixels(image, image.rect(), meter.GetColorSclBkNorm()), 100) << layout;
        EXPECT_GT(nvo::test::CountPixels(image, image.rect(), clr::Navy), 40) << layout;
    }
}

TEST(Meter, RingColoursTheThreeRanges)
{
    for (auto layout : {TMeter::mlCirc90, TMeter::mlCirc180, TMeter::mlCirc270, TMeter::mlCirc360}) {
        TMeter meter;
        meter.SetMeterLayout(layout);
        meter.SetScaleBkVisible(true);
        meter.SetScaleBkWidth(10);
        meter.SetThresholdLow(0.25);
        meter.SetThresholdHigh(0.75);
        meter.SetValue(0.5);
        const QImage image = Grab(&meter);
        const TMeterGeometry g = meter.Geometry();
        const std::pair<double, TColor> samples[] = {
            {0.1, meter.GetColorSclBkLow()}, {0.5, meter.GetColorSclBkNorm()},
            {0.9, meter.GetColorSclBkHigh()}};
        for (const auto &[value, color] : samples) {
            // Between the scale line (R) and the ring's outer edge (R + 4).
            const QPoint p = PointAtAngle(g.CenterX, g.CenterY, meter.Scale().DrawingAngle(value), g.Radius + 2);
            EXPECT_EQ(PixelAt(image, p.x(), p.y()), color) << layout << " at " << value;
        }
        // Inside the ring the background colour covers the pies again.
        const QPoint inside = PointAtAngle(g.CenterX, g.CenterY, meter.Scale().DrawingAngle(0.1), g.Radius * 0.8);
        EXPECT_EQ(PixelAt(image, inside.x(), inside.y()), clr::White) << layout;
    }
}

TEST(Meter, WideLogarithmicScalePaintsPromptly)
{
    TMeter meter;
    meter.resize(1200, 900);
    meter.SetMeterMaxValue(1e300);
    meter.SetMeterMinValue(1);
    meter.SetLogarithmic(true);
    meter.SetMeterMinValue(1e-100); // the lowest minimum a logarithmic scale takes
    ASSERT_TRUE(meter.GetLogarithmic());
    ASSERT_EQ(meter.GetMeterMinValue(), 1e-100);
    EXPECT_LT(Seconds([&] { Grab(&meter); }), 2.0);
}

TEST(Meter, AssignCopiesValuesButNotEvents)
{
    TMeter source;
    source.SetMeterMaxValue(50);
    source.SetValue(30);
    source.SetCaption("Volt");
    source.SetMeterLayout(TMeter::mlCirc270);
    source.GetNeedleLayout()->SetThickness(4);
    source.OnOverFlow = [](QObject *) {};
    TMeter target;
    target.Assign(&source);
    EXPECT_EQ(target.GetValue(), 30.0);
    EXPECT_EQ(target.GetMeterMaxValue(), 50.0);
    EXPECT_EQ(target.GetCaption(), "Volt");
    EXPECT_EQ(target.Geometry().Sweep, 270);
    EXPECT_EQ(target.GetNeedleLayout()->GetThickness(), 4);
    EXPECT_NE(target.GetNeedleLayout(), source.GetNeedleLayout());
    EXPECT_FALSE(target.OnOverFlow);

    QWidget other;
    EXPECT_THROW(target.Assign(&other), EConvertError);
    EXPECT_EQ(target.GetValue(), 30.0);
}

TEST(Meter, NeedleLayoutChangesRepaint)
{
    CountingMeter meter;
    meter.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&meter));
    int paints = meter.Paints;
    meter.GetNeedleLayout()->SetHeadSize(12);
    EXPECT_EQ(meter.Paints, paints + 1);
    meter.GetNeedleLayout()->SetHeadSize(12); // unchanged: nothing
    EXPECT_EQ(meter.Paints, paints + 1);
    TNeedleLayout look;
    look.SetPercentNeedleLength(500); // clamped to 100
    EXPECT_EQ(look.GetPercentNeedleLength(), 100);
    look.SetHeadAngle(-5);
    EXPECT_EQ(look.GetHeadAngle(), 0);
    paints = meter.Paints;
    meter.SetNeedleLayout(&look);
    EXPECT_EQ(meter.Paints, paints + 1); // one repaint for the whole copy
    EXPECT_EQ(meter.GetNeedleLayout()->GetHeadAngle(), 0);
    EXPECT_TRUE(meter.GetNeedleLayout()->OnChange); // the meter still listens
}

TEST(Meter, ValueIsTheNotifyingUserProperty)
{
    TMeter meter;
    ExpectNotifyingUserProperty(meter, "Value", 0.5);
}

TEST(Meter, KeyAndMouseEventsFire)
{
    ExpectInputEvents<TMeter>();
}

namespace {

/// A meter that shows as little as it can: no scale, ring, caption, picture, lamps
/// or anchor, and a frame of one line in the background colour.
std::unique_ptr<TMeter> MakeBareMeter()
{
    auto meter = std::make_unique<TMeter>();
    meter->SetScaleVisible(false);
    meter->SetAnchorCovered(false);
    meter->SetLimWatchHighOn(false);
    meter->SetLimWatchLowOn(false);
    meter->SetFrameStyle(fsSimple);
    return meter;
}

} // namespace

// A setter repaints only when the picture changes: not for a part that is hidden
// now, and not for a value equal to the one shown.
TEST(Meter, SettingsTheMeterDoesNotShowPaintNothing)
{
    using S = TShownSetting<TMeter>;
    const auto ring = [](TMeter &m) { m.SetScaleBkVisible(true); };
    const auto scale = [](TMeter &m) { m.SetScaleVisible(true); };
    ExpectPaintsOnlyWhereShown<TMeter>(MakeBareMeter, {
        S{"ScaleBkWidth", ring, [](TMeter &m) { m.SetScaleBkWidth(30); }},
        S{"ColorSclBkLow", ring, [](TMeter &m) { m.SetColorSclBkLow(0x123456); }},
        S{"ColorSclBkNorm", ring, [](TMeter &m) { m.SetColorSclBkNorm(0x123456); }},
        S{"ColorSclBkHigh", ring, [](TMeter &m) { m.SetColorSclBkHigh(0x123456); }},
        S{"MeterDecPlaces", scale, [](TMeter &m) { m.SetMeterDecPlaces(3); }},
        S{"MeterNrTicks", scale, [](TMeter &m) { m.SetMeterNrTicks(7); }},
        S{"MeterShortTicks", scale, [](TMeter &m) { m.SetMeterShortTicks(false); }},
        S{"MeterScaleLine", scale, [](TMeter &m) { m.SetMeterScaleLine(false); }},
        S{"ColorScale", scale, [](TMeter &m) { m.SetColorScale(0x123456); }},
        S{"FontCaption", [](TMeter &m) { m.SetCaption(QStringLiteral("V")); },
          [](TMeter &m) { m.SetFontCaption(QFont(QStringLiteral("DejaVu Sans"), 30)); }},
        S{"AnchorSize", [](TMeter &m) { m.SetAnchorCovered(true); }, [](TMeter &m) { m.SetAnchorSize(10); }},
        S{"LimWatchActColor",
          [](TMeter &m) {
              m.SetLimWatchHighOn(true);
              m.SetValue(1);
          },
          [](TMeter &m) { m.SetLimWatchActColor(0x123456); }},
        S{"LimWatchPsvColor", [](TMeter &m) { m.SetLimWatchLowOn(true); },
          [](TMeter &m) { m.SetLimWatchPsvColor(0x123456); }},
        S{"ColorScheme", [](TMeter &m) { m.SetFrameStyle(fsRaised); }, [](TMeter &m) { m.SetColorScheme(csSystem); }},
        S{"BkgndFillMode", {}, [](TMeter &m) { m.SetBkgndFillMode(bfTile); }}, // no picture
        S{"ValueSec", {}, [](TMeter &m) { m.SetValueSec(0.5); }},                // invisible needle
        S{"Logarithmic", {}, [](TMeter &m) { m.SetLogarithmic(true); }},         // refused: the minimum is 0
        S{"Caption unchanged", {}, [](TMeter &m) { m.SetCaption(QString()); }},
        S{"ScaleVisible unchanged", {}, [](TMeter &m) { m.SetScaleVisible(false); }},
    });
}

TEST(Meter, AChangeAfterAPaintShowsAsOnAFreshMeter)
{
    ExpectChangesShowAsOnFreshControls<TMeter>({
        [](TMeter &m) { m.SetValue(0.7); },
        [](TMeter &m) { m.SetMeterLayout(TMeter::mlCirc300); },
        [](TMeter &m) { m.resize(200, 150); },
        [](TMeter &m) { m.setFont(QFont(QStringLiteral("DejaVu Sans"), 14)); },
        [](TMeter &m) { m.SetColorScheme(csSystem); },
        [](TMeter &m) {
            m.SetScaleBkVisible(true);
            m.SetScaleBkWidth(20);
        },
    });
}

// A value change draws the needles over the dial kept from the paint before; every
// other change draws the dial anew. After each step of the chain, painted one after
// the other, the meter looks as a fresh one given the whole chain at once.
TEST(Meter, NeedlesOverTheKeptDialShowAsOnAFreshMeter)
{
    const std::function<void(TMeter &)> steps[] = {
        [](TMeter &m) { m.SetValue(0.3); },
        [](TMeter &m) { m.SetValue(0.7); },
        [](TMeter &m) {
            m.GetNeedleLayout()->SetShadowDx(4);
            m.GetNeedleLayout()->SetShadowDy(3);
        },
        [](TMeter &m) { m.SetValue(0.2); },
        [](TMeter &m) {
            m.GetNeedleLayoutSec()->SetVisible(true);
            m.SetValueSec(0.9);
        },
        [](TMeter &m) { m.SetValueSec(0.5); },
        [](TMeter &m) { m.SetThresholdHigh(0.6); },
        [](TMeter &m) { m.SetValue(0.8); }, // lights a lamp
        [](TMeter &m) { m.SetColorScale(clr::Red); },
        [](TMeter &m) { m.SetValue(0.1); },
        [](TMeter &m) { m.OnBeforeDrawScaleLabel = [](QObject *, TCanvas &, QString &label, int, int) { label += "x"; }; },
        [](TMeter &m) { m.SetValue(0.4); },
        [](TMeter &m) { m.OnBeforeDrawScaleLabel = nullptr; },
        [](TMeter &m) { m.OnMeterRendered = [](QObject *, TCanvas &canvas) { canvas.Rectangle(60, 20, 90, 50); }; },
        [](TMeter &m) { m.SetValue(0.6); },
        [](TMeter &m) { m.OnMeterRendered = nullptr; },
        [](TMeter &m) { m.SetValue(0.65); },
        [](TMeter &m) { m.SetMeterMaxValue(2); },
        [](TMeter &m) { m.SetValue(1.5); },
    };
    TMeter painted;
    painted.SetScaleBkVisible(true);
    painted.SetScaleBkWidth(20);
    for (size_t i = 0; i < std::size(steps); ++i) {
        Grab(&painted);
        steps[i](painted);
        TMeter fresh;
        fresh.SetScaleBkVisible(true);
        fresh.SetScaleBkWidth(20);
        for (size_t j = 0; j <= i; ++j)
            steps[j](fresh);
        EXPECT_EQ(Grab(&painted), Grab(&fresh)) << "step " << i;
    }
}

// The buffer and its painter live from paint to paint; what a handler does to the
// canvas must still end with its paint.
TEST(Meter, HandlersStartEveryPaintFromAFreshCanvas)
{
    TMeter meter;
    meter.SetCaption(QStringLiteral("V"));
    meter.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&meter));
    const QImage plain = Grab(&meter);
    meter.OnMeterRendered = [](QObject *, TCanvas &canvas) {
        canvas.Pen.Color = clr::Lime;
        canvas.Pen.Width = 7;
        canvas.Brush.SetColor(clr::Fuchsia);
        canvas.Font.Font.setPointSize(40);
        canvas.CopyMode = cmSrcInvert;
        canvas.Painter().translate(30, 30);
    };
    Grab(&meter);
    meter.OnMeterRendered = nullptr;
    EXPECT_TRUE(Grab(&meter) == plain);
}
