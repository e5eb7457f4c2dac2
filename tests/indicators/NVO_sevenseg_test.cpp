#include "ControlContract.h"
#include "NVO_sevenseg.h"
#include "PaintCounter.h"
#include "PixelProbe.h"

#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <map>
#include <utility>

using namespace nvo;
using namespace nvo::test;

namespace {

constexpr TColor kBack = 0x333333;

/// Digit n of a default display (4 digits, margin 8, gap 2) lies at x = 8 + 50 n.
QRect Cell(int n) { return QRect(8 + 50 * n, 8, 48, 60); }

/// A default display showing `caption`. Each display builds its glyph cache once,
/// which takes a while in a debug build: the pictures are kept for the whole run.
QImage Shot(const QString &caption, int numDigits = 4)
{
    static std::map<std::pair<QString, int>, QImage> shots;
    QImage &shot = shots[{caption, numDigits}];
    if (shot.isNull()) {
        TSevenSeg display;
        display.SetNumDigits(numDigits);
        display.resize(16 + 50 * numDigits, 76); // 48-pixel cells at any digit count
        display.SetCaption(caption);
        shot = Grab(&display);
    }
    return shot;
}

/// What digit position `n` of `caption` shows.
QImage CellOf(const QString &caption, int n, int numDigits = 4)
{
    return Shot(caption, numDigits).copy(Cell(n));
}

/// The ink of `image` inside `area` that differs from `background`, in image coordinates.
QRect InkIn(const QImage &image, const QRect &area, TColor background)
{
    const QRect ink = InkBounds(image.copy(area), background);
    return ink.isNull() ? ink : ink.translated(area.topLeft());
}

bool IsReddish(TColor c) { return GetRValue(c) > 0xA0 && GetGValue(c) < 0x60 && GetBValue(c) < 0x60; }

} // namespace

// ---- Pure rules --------------------------------------------------------------------------

TEST(SevenSegRules, SegmentsOfEachCharacter)
{
    const struct {
        char ch;
        int segments; // positions as decimal digits, for reading
    } cases[] = {
        {'0', 123567}, {'1', 36},   {'2', 13457}, {'3', 13467},  {'4', 2346},  {'5', 12467},
        {'6', 124567}, {'7', 136},  {'8', 1234567}, {'9', 123467}, {'-', 4},   {'A', 123456},
        {'B', 24567},  {'C', 1257}, {'D', 34567}, {'E', 12457},  {'F', 1245},  {'a', 123456},
        {'d', 34567},  {'f', 1245}, {'G', 0},     {' ', 0},      {'+', 0},     {':', 0},
        {'.', 0},
    };
    for (const auto &c : cases) {
        int expected = 0;
        for (int digits = c.segments; digits > 0; digits /= 10)
            expected |= 1 << (digits % 10 - 1);
        EXPECT_EQ(SevenSegSegments(QLatin1Char(c.ch)), expected) << c.ch;
    }
}

TEST(SevenSegRules, CaptionFillsTheDigitPositions)
{
    using D = TSevenSegDigit;
    const struct {
        const char16_t *caption;
        int numDigits;
        std::vector<D> expected;
    } cases[] = {
        {u"8.8.8.8.", 4, {{8, true}, {8, true}, {8, true}, {8, true}}},
        {u"12:30", 5, {{1, false}, {2, false}, {12, false}, {3, false}, {0, false}}},
        {u"3.14", 4, {{3, true}, {1, false}, {4, false}}},
        {u".5", 4, {{20, true}, {5, false}}},
        {u",5", 4, {{-1, true}, {5, false}}},
        {u"12345", 4, {{1, false}, {2, false}, {3, false}, {4, false}}},
        {u"abc", 4, {{14, false}, {15, false}, {16, false}}},
        {u"1 x\u00B0", 4, {{1, false}, {-1, false}, {-1, false}, {13, false}}},
        {u"1..", 4, {{1, true}, {20, true}}},
        {u"", 4, {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ParseSevenSegCaption(QString::fromUtf16(c.caption), c.numDigits), c.expected)
            << QString::fromUtf16(c.caption).toStdString();
}

// ---- Control -------------------------------------------------------------------------------

TEST(SevenSeg, DefaultsAndSetterRules)
{
    TSevenSeg display;
    EXPECT_EQ(display.size(), QSize(216, 76));
    EXPECT_EQ(display.GetCaption(), QStringLiteral("8.8.8.8."));
    EXPECT_EQ(display.GetColorBackGnd(), 0x333333u);
    EXPECT_EQ(display.GetColorText(), 0x0000FFu);
    EXPECT_EQ(display.GetFrameStyle(), fsLowered);
    EXPECT_EQ(display.GetInterDigDist(), 2);
    EXPECT_EQ(display.GetMargin(), 8);
    EXPECT_EQ(display.GetNumDigits(), 4);

    for (const int ignored : {0, 33, -1}) {
        display.SetNumDigits(ignored);
        EXPECT_EQ(display.GetNumDigits(), 4);
    }
    display.SetNumDigits(32);
    EXPECT_EQ(display.GetNumDigits(), 32);
    display.SetInterDigDist(300);
    EXPECT_EQ(display.GetInterDigDist(), 255);
    display.SetMargin(100);
    EXPECT_EQ(display.GetMargin(), 37); // 76 div 2 - 1
}

TEST(SevenSeg, MinimumSizeKeepsEveryDigitCellLegible)
{
    // Each digit cell at least 8 x 14 pixels inside the margins, with its spacing.
    const struct
    {
        int digits, margin, spacing;
        QSize minimum;
    } cases[] = {
        {4, 8, 2, {16 + 4 * 10, 16 + 14}},
        {8, 8, 2, {16 + 8 * 10, 16 + 14}},
        {4, 2, 6, {4 + 4 * 14, 4 + 14}},
    };
    for (const auto &c : cases) {
        TSevenSeg display;
        display.SetNumDigits(c.digits);
        display.SetMargin(c.margin);
        display.SetInterDigDist(c.spacing);
        EXPECT_EQ(display.minimumSizeHint(), c.minimum) << c.digits << " " << c.margin << " " << c.spacing;
    }
}

TEST(SevenSegPaint, DefaultShowsFourEightsWithPoints)
{
    TSevenSeg display;
    const QImage image = Grab(&display);
    for (int n = 0; n < 4; ++n) {
        const QRect ink = InkIn(image, Cell(n), kBack);
        ASSERT_FALSE(ink.isNull()) << n;
        EXPECT_LE(ink.left(), Cell(n).left() + 2) << n;
        EXPECT_GE(ink.right(), Cell(n).right() - 2) << n;
        EXPECT_GE(ink.height(), 56) << n;
        // The point in the cell's lower-right sixth.
        bool point = false;
        for (int y = 8 + 50; y < 68; ++y)
            for (int x = Cell(n).left() + 40; x <= Cell(n).right(); ++x)
                point = point || IsReddish(PixelAt(image, x, y));
        EXPECT_TRUE(point) << n;
        // Nothing between the cells.
        if (n > 0)
            EXPECT_EQ(CountPixels(image, QRect(Cell(n).left() - 2, 8, 2, 60), kBack), 120) << n;
    }
    // The lowered frame in fixed colours.
    EXPECT_EQ(PixelAt(image, 0, 0), clr::Gray);
    EXPECT_EQ(PixelAt(image, 215, 75), clr::White);
}

TEST(SevenSegPaint, EachPositionShowsItsGlyph)
{
    const struct {
        const char16_t *caption;
        int numDigits;
        int position;
        const char16_t *alone; // the same glyph shown as a caption of its own
    } cases[] = {
        {u"12:30", 5, 2, u":"},
        {u"12:30", 5, 4, u"0"},
        {u"3.14", 4, 0, u"3."},
        {u"3.14", 4, 2, u"4"},
        {u"3.14", 4, 3, u" "},   // the fourth position stays empty
        {u".5", 4, 0, u"."},
        {u".5", 4, 1, u"5"},
        {u"12345", 4, 3, u"4"},
        {u"abc", 4, 1, u"B"},
        {u"abc", 4, 2, u"C"},
        {u"-+\u00B0", 4, 1, u"+"},
    };
    for (const auto &c : cases) {
        const QString caption = QString::fromUtf16(c.caption);
        EXPECT_EQ(CellOf(caption, c.position, c.numDigits), CellOf(QString::fromUtf16(c.alone), 0, c.numDigits))
            << caption.toStdString() << " @" << c.position;
    }
    // Glyphs differ from one another, and an empty position is background.
    EXPECT_NE(CellOf(QStringLiteral("8"), 0), CellOf(QStringLiteral("0"), 0));
    EXPECT_NE(CellOf(QStringLiteral("b"), 0), CellOf(QStringLiteral("8"), 0));
    EXPECT_NE(CellOf(QStringLiteral(":"), 0), CellOf(QStringLiteral("+"), 0));
    const QImage blank = CellOf(QStringLiteral("G"), 0);
    EXPECT_EQ(CountPixels(blank.convertToFormat(QImage::Format_RGB32), blank.rect(), kBack), 48 * 60);
    // "12345" on 4 digits: the fifth character is dropped.
    EXPECT_EQ(Shot(QStringLiteral("12345")), Shot(QStringLiteral("1234")));
}

TEST(SevenSegPaint, DigitLayoutFollowsMarginGapAndCount)
{
    const struct {
        int numDigits, margin, gap;
    } cases[] = {
        {5, 8, 2},  // pitch 40, cells 38 wide
        {3, 4, 10}, // pitch 69, cells 59 wide
        {6, 12, 0}, // pitch 32, cells touching
    };
    for (const auto &c : cases) {
        TSevenSeg display;
        display.SetNumDigits(c.numDigits);
        display.SetMargin(c.margin);
        display.SetInterDigDist(c.gap);
        display.SetCaption(QStringLiteral("88888888"));
        const QImage image = Grab(&display);
        const int pitch = (216 - 2 * c.margin) / c.numDigits, cw = pitch - c.gap;
        const int ch = 76 - 2 * c.margin;
        for (int n = 0; n < c.numDigits; ++n) {
            const QRect cell(c.margin + n * pitch, c.margin, cw, ch);
            const QRect ink = InkIn(image, cell, kBack);
            EXPECT_LE(ink.left(), cell.left() + 2) << c.numDigits << " digit " << n;
            EXPECT_GE(ink.right(), cell.right() - 2) << c.numDigits << " digit " << n;
            EXPECT_GE(ink.bottom(), cell.bottom() - 2) << c.numDigits << " digit " << n;
            if (c.gap > 0 && n > 0)
                EXPECT_EQ(CountPixels(image, QRect(cell.left() - c.gap, cell.top(), c.gap, ch), kBack), c.gap * ch)
                    << c.numDigits << " digit " << n;
        }
        // Nothing beyond the last digit but background.
        const int end = c.margin + c.numDigits * pitch - c.gap;
        EXPECT_EQ(CountPixels(image, QRect(end, 2, 214 - end, 72), kBack), (214 - end) * 72) << c.numDigits;
    }
}

TEST(SevenSeg, EqualAssignmentDoesNotRepaint)
{
    TSevenSeg display;
    display.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&display));
    int paints = 0;
    struct Counter : QObject {
        int *count;
        bool eventFilter(QObject *, QEvent *event) override
        {
            *count += event->type() == QEvent::Paint;
            return false;
        }
    } counter;
    counter.count = &paints;
    display.installEventFilter(&counter);
    display.SetCaption(QStringLiteral("8.8.8.8."));
    display.SetColorText(clr::Red);
    display.SetNumDigits(4);
    display.SetMargin(8);
    display.SetInterDigDist(2);
    EXPECT_EQ(paints, 0);
    display.SetCaption(QStringLiteral("1"));
    EXPECT_EQ(paints, 1);
    display.removeEventFilter(&counter);
}

TEST(SevenSegPaint, WhiteTextIsDrawnAlmostWhite)
{
    TSevenSeg display;
    display.SetColorText(clr::White);
    display.SetCaption(QStringLiteral("8"));
    const QImage image = Grab(&display);
    EXPECT_GT(CountPixels(image, Cell(0), 0xFEFEFE), 100);
    EXPECT_EQ(CountPixels(image, Cell(0), clr::White), 0);
}

TEST(SevenSegPaint, DegreeSignCentreTakesTheBackground)
{
    TSevenSeg display;
    display.SetColorBackGnd(0x204060);
    display.SetCaption(QStringLiteral("\u00B0"));
    const QImage image = Grab(&display);
    // The ring's centre lies at (230, 69) of the 312 x 432 glyph, (35, 9) of the cell.
    EXPECT_EQ(PixelAt(image, 8 + 35, 8 + 9), 0x204060u);
    EXPECT_EQ(CountPixels(image, Cell(0), clr::White), 0);
    EXPECT_TRUE(IsReddish(PixelAt(image, 8 + 35, 8 + 2)) || IsReddish(PixelAt(image, 8 + 35, 8 + 3)));
}

TEST(SevenSegPaint, CellWithoutRoomShowsBackgroundAndFrameOnly)
{
    const struct {
        QSize size;
        int numDigits, interDigDist;
    } cases[] = {
        {{216, 76}, 32, 10}, // cell width 200 div 32 - 10 < 0
        {{216, 76}, 4, 50},  // cell width 0
        {{12, 12}, 4, 2},
        {{1, 1}, 1, 2},
    };
    for (const auto &c : cases) {
        TSevenSeg display;
        display.SetFrameStyle(fsSimple);
        display.SetNumDigits(c.numDigits);
        display.SetInterDigDist(c.interDigDist);
        display.resize(c.size);
        const QImage image = Grab(&display);
        const QRect inside = image.rect().adjusted(1, 1, -1, -1);
        if (!inside.isEmpty())
            EXPECT_EQ(CountPixels(image, inside, kBack), inside.width() * inside.height()) << c.size.width();
        EXPECT_EQ(PixelAt(image, 0, 0), clr::Black) << c.size.width();
    }
}

TEST(SevenSegPaint, CacheFollowsTheSizeWhateverTheResizeHandler)
{
    TSevenSeg display;
    int resizes = 0;
    display.OnResize = [&](QObject *) { ++resizes; };
    display.resize(432, 152);
    display.SetCaption(QStringLiteral("8"));
    const QImage image = Grab(&display);
    // Cell width (432 - 16) div 4 - 2 = 102, height 136.
    const QRect ink = InkIn(image, QRect(8, 8, 102, 136), kBack);
    EXPECT_LE(ink.left(), 8 + 3);
    EXPECT_GE(ink.right(), 8 + 96);
    EXPECT_GE(ink.bottom(), 8 + 130);
    EXPECT_GE(resizes, 1);
}

TEST(SevenSegPaint, ColorSchemeChangesNothingVisible)
{
    TSevenSeg display;
    const QImage before = Grab(&display);
    display.SetColorScheme(csSystem);
    EXPECT_EQ(Grab(&display), before);
}

TEST(SevenSeg, AssignCopiesAndRebuilds)
{
    TSevenSeg source;
    source.SetColorText(clr::Lime);
    source.SetColorBackGnd(clr::Navy);
    source.SetNumDigits(5);
    source.SetCaption(QStringLiteral("12:30"));
    source.SetFrameStyle(fsRaised);
    source.SetInterDigDist(4);
    TSevenSeg target;
    target.Assign(&source);
    EXPECT_EQ(target.GetCaption(), QStringLiteral("12:30"));
    EXPECT_EQ(target.GetNumDigits(), 5);
    EXPECT_EQ(target.GetInterDigDist(), 4);
    EXPECT_EQ(Grab(&target), Grab(&source));

    TSevenSeg other;
    other.AssignTo(&target);
    EXPECT_EQ(Grab(&target), Grab(&other));
    QWidget notADisplay;
    EXPECT_THROW(target.Assign(&notADisplay), EConvertError);
    EXPECT_EQ(target.GetCaption(), QStringLiteral("8.8.8.8."));
}

TEST(SevenSeg, CaptionIsTheNotifyingUserProperty)
{
    TSevenSeg display;
    ExpectNotifyingUserProperty(display, "Caption", QStringLiteral("12:30"));
    QSignalSpy changed(&display, &TSevenSeg::ValueChanged);
    TSevenSeg source;
    source.SetCaption(QStringLiteral("-5.6"));
    display.Assign(&source);
    display.Assign(&source);
    ASSERT_EQ(changed.count(), 1) << "an Assign that keeps the caption notifies nothing";
    EXPECT_EQ(changed.first().value(0).toString(), QStringLiteral("-5.6"));
}

TEST(SevenSeg, KeyAndMouseEventsFire)
{
    ExpectInputEvents<TSevenSeg>();
}

TEST(SevenSeg, SettingsTheDisplayDoesNotShowPaintNothing)
{
    TSevenSeg display;
    display.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&display));
    PaintCounter paints(&display);
    display.SetColorScheme(csSystem); // the frame has fixed colours
    display.SetMargin(100);           // clamped to 37 ...
    const int clamped = paints.Count;
    display.SetMargin(90);            // ... which 90 also gives
    EXPECT_EQ(display.GetColorScheme(), csSystem);
    EXPECT_EQ(clamped, 1);
    EXPECT_EQ(paints.Count, 1);
}

TEST(SevenSegPaint, AChangeAfterAPaintShowsAsOnAFreshDisplay)
{
    // Besides the buffer, the glyph cache must follow, and a shorter caption must
    // not leave old digits behind.
    ExpectChangesShowAsOnFreshControls<TSevenSeg>({
        [](TSevenSeg &s) { s.SetCaption(QStringLiteral("1")); },
        [](TSevenSeg &s) { s.SetColorText(clr::Lime); },
        [](TSevenSeg &s) { s.SetColorBackGnd(clr::Navy); },
        [](TSevenSeg &s) { s.SetMargin(4); },
        [](TSevenSeg &s) { s.SetInterDigDist(9); },
        [](TSevenSeg &s) { s.SetNumDigits(3); },
        [](TSevenSeg &s) { s.SetFrameStyle(fsEmbossed); },
        [](TSevenSeg &s) { s.resize(300, 90); },
    });
}
