#include "ControlContract.h"
#include "EventRecorder.h"
#include "MouseMove.h"
#include "NVO_Thumbnails.h"
#include "PaintCounter.h"
#include "PixelProbe.h"

#include <QtGui/QAccessible>
#include <QtGui/QWheelEvent>
#include <QtTest/QSignalSpy>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>

using namespace nvo;
using namespace nvo::test;

namespace {

constexpr TColor kGround = RGBColor(0xE8, 0xE8, 0xD0);
constexpr TColor kCover = RGBColor(0xB0, 0xC0, 0xD0);
constexpr TColor kSelected = RGBColor(0x20, 0x40, 0x80);
constexpr TColor kFocus = RGBColor(0xF0, 0x60, 0x20);
constexpr TColor kMark = RGBColor(0x10, 0xA0, 0x10);
constexpr TColor kPicture = RGBColor(0xD0, 0x10, 0x10);

QString Hex(TColor color) { return QString::number(color, 16); }

/// A strip two slides wide (290 x 400: slide 1 at (10, 12), slide 2 at (146, 12), each
/// 134 pixels on a side) in plain colours and without frames, so that every pixel
/// tells who painted it.
std::unique_ptr<TThumbnails> MakeStrip()
{
    auto strip = std::make_unique<TThumbnails>();
    strip->resize(290, 400);
    strip->SetColorBackGnd(kGround);
    strip->SetColorCover(kCover);
    strip->SetColorSelected(kSelected);
    strip->SetColorFocus(kFocus);
    strip->SetColorMark(kMark);
    strip->SetFrameStyle(fsNone);
    strip->SetOuterFrameStyle(fsNone);
    strip->SetInnerFrameStyle(fsNone);
    return strip;
}

std::unique_ptr<TThumbnails> ShownStrip()
{
    auto strip = MakeStrip();
    strip->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(strip.get()));
    QCoreApplication::processEvents();
    return strip;
}

/// A picture of one colour.
TBitmap Picture(int width, int height, TColor color = kPicture)
{
    TBitmap picture(width, height);
    picture.Canvas().Brush.SetColor(color);
    picture.Canvas().FillRect(0, 0, width, height);
    return picture;
}

/// The corner of slide `n` of MakeStrip's strip scrolled to the top.
QPoint Corner(int n) { return {10 + 136 * ((n - 1) % 2), 12 + 136 * ((n - 1) / 2)}; }

/// The default strip, `width` pixels wide: 120-pixel slides, 2 apart, margin 7 (cell 136).
TThumbGeometry Strip(int width, double first = 1.0, qint64 max = 100)
{
    TThumbGeometry g;
    g.Width = width;
    g.Max = max;
    g.FirstThumbIdx = first;
    return g;
}

using Ranges = std::map<qint64, qint64>;

TSlideSelection Selection(const Ranges &ranges)
{
    TSlideSelection selection;
    for (const auto &[first, last] : ranges)
        selection.Set(first, last, true);
    return selection;
}

} // namespace

// ---- Geometry -------------------------------------------------------------------------

TEST(ThumbGeometry, CellsAndSlidesPerRow)
{
    const struct {
        int width, size, distance, margin;
        int cell, perRow;
    } cases[] = {
        {260, 120, 2, 7, 136, 1}, // (260 + 2 - 20) div 136
        {290, 120, 2, 7, 136, 2},
        {289, 120, 2, 7, 136, 1},
        {10, 120, 2, 7, 136, 1},  // never fewer than one to a row
        {100, 0, 0, 0, 1, 80},    // a cell is at least one pixel
        {400, 50, 100, 100, 350, 1},
    };
    for (const auto &c : cases) {
        TThumbGeometry g;
        g.Width = c.width;
        g.SlideSize = c.size;
        g.SlideDistance = c.distance;
        g.SlideMargin = c.margin;
        EXPECT_EQ(g.Cell(), c.cell) << c.width << " " << c.size;
        EXPECT_EQ(g.SlidesPerRow(), c.perRow) << c.width << " " << c.size;
    }
}

TEST(ThumbGeometry, WritingTheFirstIndexStoresTheRowStartAndThePartOfTheRow)
{
    const struct {
        int width;
        qint64 min, max;
        double written, stored;
    } cases[] = {
        {290, 1, 100, 6, 5.5},     // slides 5 and 6 on top, half a row scrolled out
        {290, 1, 100, 5, 5},
        {290, 1, 100, 6.5, 5.75},
        {290, 1, 100, 0, 1},       // held to Min
        {290, 1, 100, 200, 99.5},  // held to Max, the last slide's row
        {260, 1, 100, 7.25, 7.25}, // one slide to a row: a slide is a row
        {290, 3, 100, 6, 5.5},     // rows start at Min: 3, 5, 7, ...
        {290, 3, 100, 4, 3.5},
        {290, 5, 4, 9, 5},         // no slides at all
        {290, 1, 100, NAN, 1},
        {290, 1, 4'000'000'000, 3'999'999'999, 3'999'999'999},
    };
    for (const auto &c : cases) {
        TThumbGeometry g = Strip(c.width, 1.0, c.max);
        g.Min = c.min;
        EXPECT_DOUBLE_EQ(g.Normalized(c.written), c.stored) << c.width << " " << c.min << " " << c.written;
    }
}

TEST(ThumbGeometry, SlidePositionsFollowTheTopSlideAndTheScrolledPart)
{
    const struct {
        int width;
        double first;
        qint64 slide;
        QPoint corner;
    } cases[] = {
        {260, 1, 1, {10, 12}},
        {260, 1, 2, {10, 148}},
        {290, 5.5, 5, {10, -56}}, // half of 136 scrolled out
        {290, 5.5, 6, {146, -56}},
        {290, 5.5, 7, {10, 80}},
        {290, 5.5, 3, {10, -192}}, // the row above the top one
        {260, 999'999'999, 1'000'000'000, {10, 148}},
        {260, 1, 5'000'000'000, {10, 1 << 30}}, // far below: held
    };
    for (const auto &c : cases)
        EXPECT_EQ(Strip(c.width, c.first, 10'000'000'000).SlidePos(c.slide), c.corner)
            << c.width << " " << c.first << " slide " << c.slide;
}

TEST(ThumbGeometry, TheSlideUnderAPointLeavesGapsAndTheTenPixelEdgeToNone)
{
    // Two to a row: slide 1 covers x 10..144 and y 12..146, slide 2 x 146..280.
    const struct {
        int width;
        double first;
        qint64 max;
        QPoint point;
        qint64 slide;
    } cases[] = {
        {290, 1, 100, {10, 12}, 1},
        {290, 1, 100, {144, 146}, 1},   // the last pixels of the face
        {290, 1, 100, {145, 50}, 0},    // the gap between two slides
        {290, 1, 100, {146, 50}, 2},
        {290, 1, 100, {9, 50}, 0},      // within 10 pixels of the left edge
        {290, 1, 100, {281, 50}, 0},    // ... of the right edge
        {290, 1, 100, {280, 50}, 2},
        {290, 1, 100, {50, 11}, 0},     // the gap above the first row
        {290, 1, 100, {50, 147}, 0},    // the gap below it
        {290, 1, 100, {50, 148}, 3},
        {290, 1, 100, {50, 390}, 5},
        {290, 1, 100, {50, 391}, 0},    // within 10 pixels of the bottom edge
        {290, 1, 4, {50, 390}, 0},      // beyond Max
        {290, 5.5, 100, {50, 10}, 5},   // the top row half scrolled out
        {290, 5.5, 100, {150, 79}, 0},  // just above the second row
        {290, 5.5, 100, {150, 80}, 8},
        {400, 1, 100, {300, 50}, 0},    // right of the last column
        {260, 4'999'999'999, 5'000'000'000, {50, 150}, 5'000'000'000},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Strip(c.width, c.first, c.max).SlideAt(c.point), c.slide)
            << c.width << " " << c.first << " at " << c.point.x() << "," << c.point.y();
}

TEST(ThumbGeometry, RowPositionsRoundTripThroughTheFirstIndex)
{
    TThumbGeometry g = Strip(290, 5.5);
    EXPECT_DOUBLE_EQ(g.RowPosition(), 2.5);
    const struct {
        double rows, written;
    } cases[] = {{2.5, 6}, {0, 1}, {-3, 1}, {1000, 99}, {49, 99}, {NAN, 1}};
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(g.FirstIdxOfRow(c.rows), c.written) << c.rows;
    g.FirstThumbIdx = g.Normalized(g.FirstIdxOfRow(2.25));
    EXPECT_DOUBLE_EQ(g.RowPosition(), 2.25);
    EXPECT_EQ(g.RowOf(100), 49);
    EXPECT_EQ(g.RowOf(1), 0);
}

TEST(ThumbGeometry, RowsPaintedAndRowsWhollyShown)
{
    const struct {
        int height;
        double first;
        int painted, shown;
    } cases[] = {
        {400, 1, 3, 2}, {428, 1, 4, 3}, {100, 1, 1, 1}, {0, 1, 1, 1},
        {400, 1.5, 4, 2}, // half a row scrolled out: a fourth row shows at y 352
        {400, 1.1, 3, 2},
    };
    for (const auto &c : cases) {
        TThumbGeometry g;
        g.Height = c.height;
        g.FirstThumbIdx = c.first;
        EXPECT_EQ(g.RowsPainted(), c.painted) << c.height << " " << c.first;
        EXPECT_EQ(g.RowsShown(), c.shown) << c.height << " " << c.first;
    }
}

// ---- Selection --------------------------------------------------------------------------

TEST(SlideSelection, SelectingMergesAndDeselectingSplitsRanges)
{
    const struct {
        Ranges before;
        qint64 first, last;
        bool selected;
        Ranges after;
    } cases[] = {
        {{}, 5, 9, true, {{5, 9}}},
        {{{5, 9}}, 10, 12, true, {{5, 12}}},           // touching ranges join
        {{{5, 9}}, 1, 4, true, {{1, 9}}},
        {{{5, 9}, {20, 30}}, 8, 21, true, {{5, 30}}},
        {{{5, 9}, {20, 30}}, 12, 14, true, {{5, 9}, {12, 14}, {20, 30}}},
        {{{5, 9}}, 9, 5, true, {{5, 9}}},              // an empty range
        {{{5, 9}}, 7, 7, false, {{5, 6}, {8, 9}}},
        {{{5, 9}, {20, 30}}, 1, 100, false, {}},
        {{{5, 9}, {20, 30}}, 9, 20, false, {{5, 8}, {21, 30}}},
        {{{5, 9}}, 10, 19, false, {{5, 9}}},
        {{{5, 9}}, 5, 9, false, {}},
    };
    for (const auto &c : cases) {
        TSlideSelection selection = Selection(c.before);
        selection.Set(c.first, c.last, c.selected);
        EXPECT_EQ(selection.Ranges(), c.after) << c.first << ".." << c.last << (c.selected ? " on" : " off");
    }
}

TEST(SlideSelection, AnswersMembershipFirstAndCountFromTheRanges)
{
    const TSlideSelection selection = Selection({{5, 9}, {20, 30}});
    const struct {
        qint64 slide;
        bool in;
    } cases[] = {{4, false}, {5, true}, {9, true}, {10, false}, {19, false}, {20, true}, {30, true}, {31, false}};
    for (const auto &c : cases)
        EXPECT_EQ(selection.Contains(c.slide), c.in) << c.slide;
    EXPECT_EQ(selection.First(), 5);
    EXPECT_EQ(selection.Count(), 16);
    EXPECT_EQ(TSlideSelection().First(), 0); // nothing selected: no slide
    EXPECT_EQ(TSlideSelection().Count(), 0);
}

TEST(SlideSelection, AThousandMillionSlidesAreOneRange)
{
    TSlideSelection selection;
    selection.Set(1, 1'000'000'000, true);
    selection.Set(500, false);
    EXPECT_EQ(selection.RangeCount(), 2);
    EXPECT_EQ(selection.Count(), 999'999'999);
    EXPECT_TRUE(selection.Contains(1'000'000'000));
    EXPECT_FALSE(selection.Contains(500));
}

TEST(SlideSelection, ClippingDropsWhatLiesOutsideTheSlides)
{
    const struct {
        qint64 min, max;
        Ranges after;
    } cases[] = {
        {7, 25, {{7, 9}, {20, 25}}},
        {1, 100, {{5, 9}, {20, 30}}},
        {10, 19, {}},
        {10, 5, {}}, // no slides at all
    };
    for (const auto &c : cases) {
        TSlideSelection selection = Selection({{5, 9}, {20, 30}});
        selection.Clip(c.min, c.max);
        EXPECT_EQ(selection.Ranges(), c.after) << c.min << ".." << c.max;
    }
}

// ---- The control: properties ---------------------------------------------------------------

TEST(Thumbnails, StartsWithTheStoredDefaults)
{
    TThumbnails strip;
    EXPECT_EQ(strip.size(), QSize(260, 400));
    EXPECT_EQ(strip.NumSlidesHoriz(), 1);
    EXPECT_EQ(strip.NumSlidesVert(), 3);
    EXPECT_DOUBLE_EQ(strip.GetFirstThumbIdx(), 1.0);
    EXPECT_EQ(strip.GetMin(), 1);
    EXPECT_EQ(strip.GetMax(), 100);
    EXPECT_EQ(strip.GetSlideSize(), 120);
    EXPECT_EQ(strip.GetSlideDistance(), 2);
    EXPECT_EQ(strip.GetSlideMargin(), 7);
    EXPECT_EQ(strip.GetSlideSelectMode(), TThumbnails::ssmSingle);
    EXPECT_EQ(strip.GetFocusLinewidth(), 1);
    EXPECT_EQ(strip.GetFocusedSlide(), 0);
    EXPECT_EQ(strip.GetColorBackGnd(), clr::BtnFace);
    EXPECT_EQ(strip.GetColorCover(), 0xC0C0C0u);
    EXPECT_EQ(strip.GetColorSelected(), 0x800000u);
    EXPECT_EQ(strip.GetColorFocus(), 0xFF0000u);
    EXPECT_EQ(strip.GetColorMark(), 0x000000u);
    EXPECT_EQ(strip.GetFrameStyle(), fsLowered);
    EXPECT_EQ(strip.GetOuterFrameStyle(), fsRaised);
    EXPECT_EQ(strip.GetInnerFrameStyle(), fsLowered);
    EXPECT_FALSE(strip.GetAntiAlias());
    EXPECT_EQ(strip.FirstSelectedSlide(), 0); // nothing selected: no slide
    EXPECT_EQ(strip.NumSlidesSelected(), 0);
}

TEST(Thumbnails, SettersHoldValuesToTheirRanges)
{
    const struct {
        const char *property;
        qint64 value, expected;
    } cases[] = {
        {"SlideSize", 10, 50},        {"SlideSize", 20000, 10000}, {"SlideSize", 300, 300},
        {"SlideDistance", -5, 0},     {"SlideDistance", 200, 100}, {"SlideMargin", 101, 100},
        {"FocusLinewidth", 20, 10},   {"FocusLinewidth", -1, 0},   {"Max", 0, 1},
        {"Max", 5'000'000'000, 5'000'000'000}, {"Min", -5, 1},     {"Min", 7, 7},
        {"Max", qint64(1) << 60, qint64(1) << 53}, // beyond what the double first index holds
    };
    for (const auto &c : cases) {
        TThumbnails strip;
        strip.setProperty(c.property, c.value);
        EXPECT_EQ(strip.property(c.property).toLongLong(), c.expected) << c.property << " " << c.value;
    }
    TThumbnails strip;
    strip.SetSlideSelectMode(TThumbnails::TSlideSelectMode(7));
    strip.SetFrameStyle(TFrameStyle(99));
    EXPECT_EQ(strip.GetSlideSelectMode(), TThumbnails::ssmSingle);
    EXPECT_EQ(strip.GetFrameStyle(), fsLowered);
}

TEST(Thumbnails, FirstThumbIdxIsTheNotifyingUserProperty)
{
    auto strip = MakeStrip();
    ExpectNotifyingUserProperty(*strip, "FirstThumbIdx", 5.0);
    strip->SetFirstThumbIdx(8);
    EXPECT_DOUBLE_EQ(strip->GetFirstThumbIdx(), 7.5);
    strip->resize(260, 400); // one slide to a row: the view keeps slide 7 and half a row on top
    Grab(strip.get());
    EXPECT_DOUBLE_EQ(strip->GetFirstThumbIdx(), 8.0);
}

TEST(Thumbnails, SlideRangeChangesClipTheSelection)
{
    auto strip = MakeStrip();
    strip->SetSlideSelectMode(TThumbnails::ssmMultiple);
    strip->SetSlidesSelected(5, 50, true);
    strip->SetSlideSelected(200, true); // beyond Max: refused
    EXPECT_EQ(strip->NumSlidesSelected(), 46);
    strip->SetMax(20);
    EXPECT_EQ(strip->NumSlidesSelected(), 16);
    strip->SetMin(10);
    EXPECT_EQ(strip->FirstSelectedSlide(), 10);
    strip->SetMin(30); // above Max: no slides at all
    EXPECT_EQ(strip->FirstSelectedSlide(), 0);
    EXPECT_EQ(strip->CalcSlideIndex(50, 50), 0);
    strip->SetMax(1'000'000'000);
    strip->SetSlidesSelected(1, 1'000'000'000, true);
    EXPECT_EQ(strip->NumSlidesSelected(), 1'000'000'000 - 29);
    EXPECT_EQ(strip->Selection().RangeCount(), 1);
    strip->SetSlideSelectMode(TThumbnails::ssmSingle); // a new mode clears the selection
    EXPECT_EQ(strip->NumSlidesSelected(), 0);
}

TEST(Thumbnails, AssignCopiesSettingsViewSelectionAndEvents)
{
    auto source = MakeStrip();
    source->SetSlideSelectMode(TThumbnails::ssmMultiple);
    source->SetMax(1'000'000'000);
    source->SetSlideSize(80);
    source->SetSlideMargin(3);
    source->SetFocusLinewidth(4);
    source->SetAntiAlias(true);
    source->SetSlidesSelected(20, 30, true);
    source->SetFirstThumbIdx(601);
    int requests = 0;
    source->OnImageRequest = [&](QObject *, qint64, TThumbnails::TImageRequestProcessing &, int &, TBitmap &) {
        ++requests;
    };
    TThumbnails target;
    QSignalSpy moved(&target, &TThumbnails::FirstThumbIdxChanged);
    target.Assign(source.get());
    for (const char *property : {"SlideSelectMode", "Max", "SlideSize", "SlideMargin", "FocusLinewidth", "AntiAlias",
                                 "ColorBackGnd", "ColorCover", "ColorSelected", "ColorFocus", "ColorMark", "FrameStyle",
                                 "OuterFrameStyle", "InnerFrameStyle"})
        EXPECT_EQ(target.property(property), source->property(property)) << property;
    EXPECT_EQ(target.Selection(), source->Selection());
    EXPECT_EQ(target.Geometry().TopSlide(), 601); // a row start at either width
    EXPECT_EQ(moved.count(), 1);
    Grab(&target);
    EXPECT_GT(requests, 0);

    TThumbnails copy;
    target.AssignTo(&copy);
    EXPECT_EQ(copy.GetMax(), 1'000'000'000);
    QWidget notAStrip;
    EXPECT_THROW(target.Assign(&notAStrip), EConvertError);
    EXPECT_THROW(target.AssignTo(&notAStrip), EConvertError);
}

// ---- The control: painting ---------------------------------------------------------------------

TEST(Thumbnails, AsksForEachVisibleSlideColumnByColumnBetweenFirstAndLast)
{
    auto strip = MakeStrip();
    EventRecorder events;
    strip->OnFirstImageRequest = events.Recorder(QStringLiteral("first"));
    strip->OnLastImageRequest = events.Recorder(QStringLiteral("last"));
    strip->OnImageRequest = [&](QObject *, qint64 id, TThumbnails::TImageRequestProcessing &how, int &mark,
                                TBitmap &buffer) {
        EXPECT_EQ(how, TThumbnails::irpShowEmpty);
        EXPECT_EQ(mark, -1);
        events.Record(QString::number(id));
    };
    Grab(strip.get());
    EXPECT_EQ(events.Events().join(u' '), QStringLiteral("first 1 3 5 2 4 6 last"));
    events.Clear();
    strip->SetMax(1'000'000'000);
    strip->SetFirstThumbIdx(999'999'999);
    Grab(strip.get());
    EXPECT_EQ(events.Events().join(u' '), QStringLiteral("first 999999999 1000000000 last"));
}

TEST(Thumbnails, PaintsPlaceholdersFacesAndTheFocusFrame)
{
    auto strip = MakeStrip();
    strip->SetSlideSelected(2, true);
    QImage image = Grab(strip.get());
    const struct {
        QPoint at;
        TColor expected;
    } probes[] = {
        {{12, 14}, kCover},              // slide 1's face
        {{10 + 7, 12 + 7 + 20}, clr::Black}, // its placeholder's outline
        {{10 + 8, 12 + 7 + 21}, clr::White},
        {{10 + 7, 12 + 7 + 19}, kCover},
        {{143, 145}, kCover},            // the face's last pixel
        {{144, 146}, kCover},
        {{145, 50}, kGround},            // the gap
        {{148, 14}, kSelected},          // slide 2, selected
        {{50, 5}, kGround},              // the top margin
    };
    for (const auto &p : probes)
        EXPECT_EQ(Hex(PixelAt(image, p.at.x(), p.at.y())), Hex(p.expected)) << p.at.x() << "," << p.at.y();
    EXPECT_GT(CountPixels(image, QRect(60, 60, 40, 40), clr::Black), 0); // the number 1

    strip->SetFirstThumbIdx(2); // half a row up: slide 1 reaches into the top margin
    image = Grab(strip.get());
    EXPECT_EQ(Hex(PixelAt(image, 12, 9)), Hex(kGround));
    EXPECT_EQ(Hex(PixelAt(image, 12, 10)), Hex(kCover));
}

TEST(Thumbnails, ScalesPicturesWithTheirAspectIntoTheImageArea)
{
    const struct {
        QSize picture;
        QRect area; // inside slide 1, whose image area starts at (17, 19)
    } cases[] = {
        {{50, 100}, {17 + 30, 19, 60, 120}}, // portrait: 60 wide, centred
        {{100, 50}, {17, 19 + 30, 120, 60}},
        {{30, 30}, {17, 19, 120, 120}},
    };
    for (const auto &c : cases) {
        auto strip = MakeStrip();
        strip->OnImageRequest = [&](QObject *, qint64 id, TThumbnails::TImageRequestProcessing &how, int &,
                                    TBitmap &buffer) {
            how = TThumbnails::irpShowSlide;
            // A picture of the application's own, gone when the handler returns.
            const TBitmap own = Picture(c.picture.width(), c.picture.height());
            buffer = own;
        };
        const QImage image = Grab(strip.get());
        EXPECT_EQ(InkBounds(image.copy(10, 12, 135, 135), kCover).translated(10, 12), c.area)
            << c.picture.width() << "x" << c.picture.height();
        EXPECT_EQ(CountPixels(image, c.area, kPicture), c.area.width() * c.area.height());
    }
}

TEST(Thumbnails, TheRequestBitmapStartsEmptyInEveryPaint)
{
    auto strip = MakeStrip();
    QStringList sizes;
    strip->OnImageRequest = [&](QObject *, qint64 id, TThumbnails::TImageRequestProcessing &how, int &,
                                TBitmap &buffer) {
        if (id == 1)
            sizes << QStringLiteral("%1x%2").arg(buffer.Width()).arg(buffer.Height());
        how = TThumbnails::irpShowSlide;
        if (id == 2)
            buffer = Picture(8, 8);
    };
    Grab(strip.get());
    Grab(strip.get());
    EXPECT_EQ(sizes, QStringList({"0x0", "0x0"}));
}

TEST(Thumbnails, DrawsMarkersZeroToFiftyOneOnly)
{
    const struct {
        int mark;
        bool drawn;
    } cases[] = {{-1, false}, {0, true}, {51, true}, {52, false}, {255, false}, {-2, false}, {256, false}};
    for (const auto &c : cases) {
        auto strip = MakeStrip();
        strip->OnImageRequest = [&](QObject *, qint64 id, TThumbnails::TImageRequestProcessing &how, int &mark,
                                    TBitmap &) {
            how = TThumbnails::irpShowNothing; // only the marker, on the ground
            mark = c.mark;
        };
        const QImage image = Grab(strip.get());
        EXPECT_EQ(CountPixels(image, QRect(Corner(1) + QPoint(5, 7), QSize(11, 11)), kMark) > 0, c.drawn) << c.mark;
        EXPECT_EQ(Hex(PixelAt(image, 80, 80)), Hex(kGround)) << c.mark;
    }
}

TEST(Thumbnails, AHandlerThatGrabsTheControlStartsNoSecondPaint)
{
    auto strip = MakeStrip();
    int requests = 0;
    strip->OnImageRequest = [&](QObject *, qint64, TThumbnails::TImageRequestProcessing &, int &, TBitmap &) {
        ++requests;
        strip->grab();
    };
    Grab(strip.get());
    EXPECT_EQ(requests, 6);
}

TEST(Thumbnails, TellsTheApplicationWhereEachSlideWasDrawn)
{
    auto strip = MakeStrip();
    QStringList corners;
    strip->OnSlideRendered = [&](QObject *, TCanvas &canvas, int x, int y, qint64 id) {
        corners << QStringLiteral("%1 %2,%3").arg(id).arg(x).arg(y);
        canvas.Pen.Color = kMark;
        canvas.MoveTo(x, y);
        canvas.LineTo(x + 5, y);
    };
    const QImage image = Grab(strip.get());
    EXPECT_EQ(corners.first(), QStringLiteral("1 10,12"));
    EXPECT_EQ(corners.size(), 6);
    EXPECT_EQ(Hex(PixelAt(image, 150, 148)), Hex(kMark)); // slide 4's corner
}

TEST(Thumbnails, ChangesShowAsOnAFreshControl)
{
    ExpectChangesShowAsOnFreshControls<TThumbnails>({
        [](TThumbnails &t) { t.SetSlideSize(60); },
        [](TThumbnails &t) { t.SetFirstThumbIdx(5.5); },
        [](TThumbnails &t) { t.SetSlideSelected(2, true); },
        [](TThumbnails &t) { t.SetColorCover(kCover); },
        [](TThumbnails &t) { t.resize(400, 300); },
        [](TThumbnails &t) { t.SetMax(3); },
    });
}

TEST(Thumbnails, AnEqualValuePaintsNothing)
{
    auto strip = ShownStrip();
    PaintCounter paints(strip.get());
    strip->SetColorCover(kCover);
    strip->SetSlideSize(120);
    strip->SetFirstThumbIdx(1);
    strip->SetMax(100);
    strip->SetSlideSelected(5, false);
    EXPECT_EQ(paints.Count, 0);
    strip->SetSlideSelected(5, true);
    EXPECT_EQ(paints.Count, 1);
}

// ---- The control: mouse ---------------------------------------------------------------------------

TEST(Thumbnails, TheFocusFrameFollowsTheMouseWithoutAskingForPicturesAgain)
{
    auto strip = ShownStrip();
    int requests = 0, focusChanges = 0;
    strip->OnImageRequest = [&](QObject *, qint64, TThumbnails::TImageRequestProcessing &, int &, TBitmap &) {
        ++requests;
    };
    strip->OnFocusChange = [&](QObject *) { ++focusChanges; };
    strip->repaint();
    requests = 0;
    MoveMouse(strip.get(), Corner(3) + QPoint(40, 40));
    EXPECT_EQ(strip->GetFocusedSlide(), 3);
    EXPECT_EQ(focusChanges, 1);
    EXPECT_EQ(requests, 0);
    QImage image = strip->grab().toImage();
    EXPECT_EQ(Hex(PixelAt(image, Corner(3).x() + 2, Corner(3).y() + 2)), Hex(kFocus));
    EXPECT_EQ(Hex(PixelAt(image, Corner(3).x() + 3, Corner(3).y() + 3)), Hex(kCover));
    MoveMouse(strip.get(), {145, 60}); // the gap
    EXPECT_EQ(strip->GetFocusedSlide(), 0);
    EXPECT_EQ(focusChanges, 2);
    EXPECT_EQ(CountPixels(Grab(strip.get()), QRect(0, 0, 290, 400), kFocus), 0);
}

TEST(Thumbnails, ClicksSelectByModeAndReportTheSlide)
{
    const Qt::KeyboardModifiers none, shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier;
    const struct {
        TThumbnails::TSlideSelectMode mode;
        std::vector<std::pair<int, Qt::KeyboardModifiers>> clicks; // slide (0: the gap), keys
        std::map<qint64, qint64> selected;
    } cases[] = {
        {TThumbnails::ssmSingle, {{2, none}, {3, none}}, {{3, 3}}},
        {TThumbnails::ssmSingle, {{2, none}, {5, shift}}, {{5, 5}}},
        {TThumbnails::ssmSingle, {{2, none}, {0, none}}, {}},
        {TThumbnails::ssmDisabled, {{2, none}}, {}},
        {TThumbnails::ssmMultiple, {{2, none}, {5, shift}}, {{2, 5}}},
        {TThumbnails::ssmMultiple, {{2, none}, {5, shift}, {3, ctrl}}, {{2, 2}, {4, 5}}},
        {TThumbnails::ssmMultiple, {{2, none}, {5, shift}, {3, ctrl}, {6, ctrl | shift}}, {{2, 6}}},
        {TThumbnails::ssmMultiple, {{2, none}, {6, ctrl}, {0, ctrl}}, {{2, 2}, {6, 6}}},
        {TThumbnails::ssmMultiple, {{2, none}, {6, ctrl}, {0, none}}, {}},
    };
    for (const auto &c : cases) {
        auto strip = ShownStrip();
        strip->SetSlideSelectMode(c.mode);
        QStringList reported;
        strip->OnImageClick = [&](QObject *, int x, int y, qint64 id) { reported << QString::number(id); };
        QStringList expected;
        for (const auto &[slide, keys] : c.clicks) {
            const QPoint at = slide == 0 ? QPoint(145, 60) : Corner(slide) + QPoint(30, 30);
            QTest::mouseClick(strip.get(), Qt::LeftButton, keys, at);
            expected << QString::number(slide);
        }
        EXPECT_EQ(strip->Selection().Ranges(), c.selected) << c.mode << " " << c.clicks.size();
        EXPECT_EQ(reported, expected);
    }
}

TEST(Thumbnails, ADoubleClickReportsTheSlide)
{
    auto strip = MakeStrip();
    QStringList reported;
    strip->OnImageDblClick = [&](QObject *, int x, int y, qint64 id) {
        reported << QStringLiteral("%1,%2 %3").arg(x).arg(y).arg(id);
    };
    QTest::mouseDClick(strip.get(), Qt::LeftButton, {}, QPoint(150, 150));
    EXPECT_EQ(reported, QStringList({"150,150 4"}));
}

TEST(Thumbnails, FiresTheBaseInputEvents)
{
    ExpectInputEvents<TThumbnails>();
}

// ---- The control: keys and wheel ---------------------------------------------------------------------

TEST(Thumbnails, KeysMoveTheFocusScrollItIntoViewAndSelect)
{
    auto strip = MakeStrip();
    strip->SetSlideSelectMode(TThumbnails::ssmMultiple);
    const Qt::KeyboardModifiers none, shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier;
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers keys;
        qint64 focused;
        double first;
        std::map<qint64, qint64> selected;
    } steps[] = {
        {Qt::Key_Right, none, 1, 1, {}},             // the first key only shows the frame
        {Qt::Key_Right, none, 2, 1, {{2, 2}}},
        {Qt::Key_Down, shift, 4, 1, {{2, 4}}},
        {Qt::Key_Down, ctrl, 6, 3, {{2, 4}}},        // row 3 scrolls into view
        {Qt::Key_Space, none, 6, 3, {{2, 4}, {6, 6}}},
        {Qt::Key_End, none, 100, 97, {{100, 100}}},
        {Qt::Key_PageUp, none, 96, 95, {{96, 96}}},  // two rows to a page
        {Qt::Key_Home, none, 1, 1, {{1, 1}}},
        {Qt::Key_Left, none, 1, 1, {{1, 1}}},
    };
    for (const auto &s : steps) {
        QTest::keyClick(strip.get(), s.key, s.keys);
        EXPECT_EQ(strip->GetFocusedSlide(), s.focused) << s.key;
        EXPECT_DOUBLE_EQ(strip->GetFirstThumbIdx(), s.first) << s.key;
        EXPECT_EQ(strip->Selection().Ranges(), s.selected) << s.key;
    }
}

TEST(Thumbnails, TheWheelScrollsByRowsAndPartsOfRows)
{
    auto strip = MakeStrip();
    const auto wheel = [&](QPoint pixels, QPoint angle) {
        QWheelEvent event(QPointF(50, 50), QPointF(50, 50), pixels, angle, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(strip.get(), &event);
    };
    wheel({}, {0, -120}); // a notch down: one row
    EXPECT_DOUBLE_EQ(strip->GetFirstThumbIdx(), 3);
    wheel({0, -68}, {0, -68}); // half a cell of pixels
    EXPECT_DOUBLE_EQ(strip->GetFirstThumbIdx(), 3.5);
    wheel({}, {0, 1200});
    EXPECT_DOUBLE_EQ(strip->GetFirstThumbIdx(), 1);
}

// ---- The control: Qt widget ----------------------------------------------------------------------

TEST(Thumbnails, SizeHintsHoldTwoColumnsOfThreeAndOneSlide)
{
    TThumbnails strip;
    EXPECT_EQ(strip.sizeHint(), QSize(290, 428));
    EXPECT_EQ(strip.minimumSizeHint(), QSize(154, 156));
    strip.SetSlideSize(50);
    EXPECT_EQ(strip.minimumSizeHint(), QSize(84, 86));
}

TEST(Thumbnails, TheDefaultGroundFollowsADarkPalette)
{
    TThumbnails strip;
    QPalette dark = strip.palette();
    dark.setColor(QPalette::Button, QColor(0x30, 0x30, 0x38));
    strip.setPalette(dark);
    const QImage image = Grab(&strip);
    EXPECT_EQ(Hex(PixelAt(image, 5, 200)), Hex(RGBColor(0x30, 0x30, 0x38))); // the left margin
    EXPECT_EQ(Hex(PixelAt(image, 30, 80)), Hex(clr::White));                 // slide 1's placeholder
}

TEST(Thumbnails, AnswersAssistiveTechnologyWithANameAndTheFirstSelectedSlide)
{
    auto strip = MakeStrip();
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(strip.get());
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::List);
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("Thumbnail strip"));
    EXPECT_EQ(accessible->text(QAccessible::Value), QString());
    strip->SetSlideSelected(17, true);
    EXPECT_EQ(accessible->text(QAccessible::Value), QStringLiteral("17"));
}
