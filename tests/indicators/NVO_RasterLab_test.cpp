#include "ControlContract.h"
#include "HandlerProbe.h"
#include "NVO_RasterLab.h"
#include "EventRecorder.h"
#include "PinnedFont.h"
#include "PixelProbe.h"

#include <QtTest/QSignalSpy>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <memory>
#include <set>

using namespace nvo;
using namespace nvo::test;

namespace {

constexpr TColor kOn = clr::Lime;
constexpr TColor kOff = 0x404040;
constexpr TColor kBakG = clr::Black;

std::unique_ptr<TRasterLab> MakeLab()
{
    auto lab = std::make_unique<TRasterLab>();
    lab->setObjectName(QStringLiteral("Raster1"));
    return lab;
}

/// A label without unlit dots, frame or a scroll step to come during a test, with
/// automatic height: a picture that shows none of the settings that need them.
std::unique_ptr<TRasterLab> MakePlainLab()
{
    auto lab = MakeLab();
    lab->SetCharBlockMode(TRasterLab::rdbmOff);
    lab->SetFrameStyle(fsNone);
    lab->SetAutoHeight(true);
    lab->SetScrollInterval(1'000'000);
    lab->SetScrollMode(TRasterLab::rdsmLeft);
    return lab;
}

/// The glyph's dots as text rows, for messages that show what is wrong.
QString Picture(const TRDCharMatrix &cm, int code)
{
    QString rows;
    for (int r = 0; r < cm.FontHeight; ++r) {
        for (int c = 0; c < cm.FontWidth; ++c)
            rows += (cm.BitData[code][r] >> c & 1) ? QLatin1Char('#') : QLatin1Char('.');
        rows += QLatin1Char('\n');
    }
    return rows;
}

bool HasDots(const TRDCharMatrix &cm, int code)
{
    for (quint32 row : cm.BitData[code])
        if (row != 0)
            return true;
    return false;
}

} // namespace

// ---- The built-in font -------------------------------------------------------------------

TEST(RasterLabFont, FixedGlyphsAsGiven)
{
    const struct {
        int code;
        int left, right;
        std::array<quint32, 12> rows;
    } cases[] = {
        {32, 0, 6, {}},
        {46, 3, 3, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0x08, 0, 0}},
        {48, 1, 5, {0, 0x1C, 0x22, 0x22, 0x22, 0x22, 0x22, 0x22, 0x22, 0x1C, 0, 0}},
        {65, 0, 6, {0, 0x08, 0x08, 0x14, 0x14, 0x22, 0x3E, 0x22, 0x22, 0x77, 0, 0}},
        {103, 0, 6, {0, 0, 0, 0, 0x7E, 0x21, 0x21, 0x21, 0x3E, 0x20, 0x20, 0x1E}},
        {176, 0, 6, {0, 0x08, 0x14, 0x08, 0, 0, 0, 0, 0, 0, 0, 0}},
        // "Text" spans 7, 7, 7 and 5 columns.
        {'T', 0, 6, {}}, {'e', 0, 6, {}}, {'x', 0, 6, {}}, {'t', 1, 5, {}},
    };
    const TRDCharMatrix cm = CreateBitFont(nullptr);
    EXPECT_EQ(cm.FontWidth, 7);
    EXPECT_EQ(cm.FontHeight, 12);
    for (const auto &c : cases) {
        EXPECT_EQ(cm.LeftMostBit[c.code], c.left) << c.code;
        EXPECT_EQ(cm.RightMostBit[c.code], c.right) << c.code;
        if (c.code == 'T' || c.code == 'e' || c.code == 'x' || c.code == 't')
            continue;
        for (int r = 0; r < 12; ++r)
            EXPECT_EQ(cm.BitData[c.code][r], c.rows[r]) << "code " << c.code << " row " << r;
    }
}

TEST(RasterLabFont, EveryGlyphFitsItsColumnsAndReadsAsItsOwn)
{
    const TRDCharMatrix cm = BuiltInBitFont();
    // Blanks by design: the blank, the no-break space and the codes Windows-1252 leaves free.
    const std::set<int> blanks = {0x20, 0x81, 0x8D, 0x8F, 0x90, 0x9D, 0xA0};
    std::map<std::array<quint32, 32>, int> seen;
    for (int code = 0; code < 256; ++code) {
        for (int r = 12; r < 32; ++r)
            EXPECT_EQ(cm.BitData[code][r], 0u) << code;
        if (code < 32) {
            EXPECT_FALSE(HasDots(cm, code)) << code;
            continue;
        }
        EXPECT_LE(cm.LeftMostBit[code], cm.RightMostBit[code]) << code;
        EXPECT_LE(cm.RightMostBit[code], 6) << code;
        const quint32 columns = ((1u << (cm.RightMostBit[code] + 1)) - 1) & ~((1u << cm.LeftMostBit[code]) - 1);
        for (int r = 0; r < 12; ++r)
            EXPECT_EQ(cm.BitData[code][r] & ~columns, 0u) << "dots outside the columns of " << code;
        EXPECT_EQ(HasDots(cm, code), !blanks.count(code)) << code;
        // The soft hyphen is the hyphen, the single low quote the comma.
        if (!HasDots(cm, code) || code == 0xAD || code == 0x82)
            continue;
        const auto [other, fresh] = seen.emplace(cm.BitData[code], code);
        EXPECT_TRUE(fresh) << code << " looks like " << other->second << ":\n"
                           << qPrintable(Picture(cm, code));
    }
}

TEST(RasterLabFont, CharactersOutsideTheFontAreBlanks)
{
    const struct {
        char32_t character;
        int code;
    } cases[] = {
        {U'A', 65}, {U' ', 32}, {U'\x7F', 127}, {U'\xFF', 255}, {U'\xB0', 176},
        {U'\0', 32}, {U'\x1F', 32}, {U'\t', 32},                   // control codes
        {U'\x20AC', 0x80}, {U'\x2014', 0x97}, {U'\x0178', 0x9F},   // Windows-1252 in 128..159
        {U'\x0100', 32}, {U'\x4E2D', 32}, {U'\x1F600', 32}, {U'\xFFFF', 32},
    };
    for (const auto &c : cases)
        EXPECT_EQ(RDFontCode(c.character), c.code) << std::hex << unsigned(c.character);
}

TEST(RasterLabFont, GlyphWithoutDotsAdvancesLikeTheBlank)
{
    TRDCharMatrix cm = BuiltInBitFont();
    // As a sampled font stores a code that has no dots.
    cm.LeftMostBit['q'] = 31;
    cm.RightMostBit['q'] = 0;
    const TRDGlyphSpan span = RDGlyphSpan(cm, 'q', false);
    EXPECT_EQ(span.Columns(), 7);
    EXPECT_EQ(TRDTextLayout(QStringLiteral("AqA"), cm, true).Columns(),
              TRDTextLayout(QStringLiteral("A A"), cm, true).Columns());
    // The stored extents stay as they are.
    EXPECT_EQ(cm.LeftMostBit['q'], 31);
}

TEST(RasterLabFont, SampledFromAnInstalledFont)
{
    const QFont pinned = PinnedFont(13);
    const TRDCharMatrix cm = CreateBitFont(&pinned);
    EXPECT_GT(cm.FontHeight, 8);
    EXPECT_LE(cm.FontHeight, 32);
    EXPECT_TRUE(HasDots(cm, 'A'));
    EXPECT_LT(RDGlyphSpan(cm, '.', false).Columns(), RDGlyphSpan(cm, 'W', false).Columns());
    // A code the font has no character for: no dots, extents 31 and 0.
    EXPECT_FALSE(HasDots(cm, 0x81));
    EXPECT_EQ(cm.LeftMostBit[0x81], 31);
    EXPECT_EQ(cm.RightMostBit[0x81], 0);
    // The blank is fixed afterwards.
    EXPECT_EQ(cm.LeftMostBit[32], 0);
    EXPECT_EQ(cm.RightMostBit[32], cm.FontWidth / 2);
    // "default" in any case names the built-in font.
    QFont named = pinned;
    named.setFamily(QStringLiteral("DeFault"));
    EXPECT_EQ(CreateBitFont(&named).BitData, BuiltInBitFont().BitData);
}

// ---- Layout and sizes ----------------------------------------------------------------------

TEST(RasterLab, DefaultTextLengthAndCentre)
{
    auto lab = MakeLab();
    EXPECT_EQ(lab->size(), QSize(400, 68));
    EXPECT_EQ(lab->font().family(), QStringLiteral("default"));
    EXPECT_EQ(lab->CalcTextBitLength(lab->GetText()), 120);
    EXPECT_EQ(lab->TextBitLength(), 0); // known only after a paint
    Grab(lab.get());
    EXPECT_EQ(lab->TextBitLength(), 121);
    lab->SetAutoCenter(true);
    EXPECT_EQ(lab->GetPosX(), 142);
    lab->SetText(QStringLiteral("Te"));
    EXPECT_EQ(lab->GetPosX(), (400 - 64) / 2 + 2);
    lab->resize(300, 68);
    Grab(lab.get()); // a hidden widget gets its resize event when it is next painted
    EXPECT_EQ(lab->GetPosX(), (300 - 64) / 2 + 2);
    lab->SetAutoCenter(false);
    EXPECT_EQ(lab->GetPosX(), 1);
    // Fixed pitch: every character P x FontWidth + P.
    lab->SetProportional(false);
    EXPECT_EQ(lab->CalcTextBitLength(QStringLiteral("Text")), 4 * (4 * 7 + 4));
    // A text wider than the control centres to a negative position, halves truncated.
    lab->SetProportional(true);
    lab->SetText(QString(20, QLatin1Char('T')));
    lab->SetAutoCenter(true);
    EXPECT_EQ(lab->GetPosX(), (300 - 640) / 2 + 2);
}

TEST(RasterLab, AutoHeightFollowsDotsAndFrame)
{
    const struct {
        int dotSize, dotSpacing;
        TFrameStyle frame;
        int height;
    } cases[] = {
        {3, 1, fsLowered, 49},
        {3, 1, fsNone, 48},
        {3, 1, fsEngraved, 50},
        {1, 0, fsSimple, 13},
        {0, -1, fsSimple, 13},   // clamped to 1 and 0
        {40, 9, fsNone, 35 * 12}, // clamped to 32 and 3
    };
    for (const auto &c : cases) {
        auto lab = MakeLab();
        lab->SetDotSize(c.dotSize);
        lab->SetDotSpacing(c.dotSpacing);
        lab->SetFrameStyle(c.frame);
        lab->SetAutoHeight(true);
        EXPECT_EQ(lab->height(), c.height) << c.dotSize << " " << c.dotSpacing;
    }
}

TEST(RasterLab, SettersClampAndCompare)
{
    auto lab = MakeLab();
    const struct {
        const char *property;
        QVariant written, stored;
    } cases[] = {
        {"DotSize", 0, 1}, {"DotSize", 33, 32}, {"DotSpacing", -2, 0}, {"DotSpacing", 4, 3},
        {"ScrollInterval", 5, 10}, {"ScrollInterval", -500, 10}, {"ScrollInterval", 250, 250},
        {"ScrollIncrement", 0, 1}, {"ScrollIncrement", -7, 7},
        {"ScrollIncrement", std::numeric_limits<int>::min(), std::numeric_limits<int>::max()},
    };
    for (const auto &c : cases) {
        lab->setProperty(c.property, c.written);
        EXPECT_EQ(lab->property(c.property), c.stored) << c.property << " " << c.written.toInt();
    }
    QSignalSpy textChanged(lab.get(), &TRasterLab::TextChanged);
    lab->SetText(QStringLiteral("Text"));
    EXPECT_EQ(textChanged.count(), 0);
    lab->SetText(QStringLiteral("Hello"));
    EXPECT_EQ(textChanged.count(), 1);
}

// ---- Painting ------------------------------------------------------------------------------

TEST(RasterLabPaint, DotsRasterAndStrips)
{
    // "Text" at (1, 1), pitch 4: raster lines on every fourth column and row from 0;
    // the "T" fills its row 1 (y 5..7) from x 1 to 27; the "e" starts at x 33, and
    // the strip before it covers x 29..31.
    const struct {
        TRasterLab::TRDBlockMode mode;
        int dotSize, dotSpacing;
        QPoint at;
        TColor expected;
    } cases[] = {
        {TRasterLab::rdbmOn, 3, 1, {2, 6}, kOn},     // a lit dot of the "T"
        {TRasterLab::rdbmOn, 3, 1, {25, 5}, kOn},    // its last column
        {TRasterLab::rdbmOn, 3, 1, {4, 6}, kBakG},   // the raster line beside it
        {TRasterLab::rdbmOn, 3, 1, {6, 2}, kOff},    // an unlit dot
        {TRasterLab::rdbmOn, 3, 1, {30, 22}, kBakG}, // the strip between "T" and "e"
        {TRasterLab::rdbmRaster, 3, 1, {30, 22}, kOff}, // no strip: the raster goes on
        {TRasterLab::rdbmOff, 3, 1, {6, 2}, kBakG},  // no unlit dots at all
        {TRasterLab::rdbmOff, 3, 1, {2, 6}, kOn},
        {TRasterLab::rdbmRaster, 1, 1, {5, 3}, kOn}, // dot size 1: single pixels
        {TRasterLab::rdbmRaster, 1, 1, {6, 3}, kBakG},
        {TRasterLab::rdbmRaster, 1, 1, {7, 3}, kOn},
        {TRasterLab::rdbmRaster, 3, 0, {4, 4}, kOn}, // spacing 0: dots touch
    };
    for (const auto &c : cases) {
        auto lab = MakeLab();
        lab->SetCharBlockMode(c.mode);
        lab->SetDotSize(c.dotSize);
        lab->SetDotSpacing(c.dotSpacing);
        EXPECT_EQ(PixelAt(Grab(lab.get()), c.at.x(), c.at.y()), c.expected)
            << c.mode << " size " << c.dotSize << " spacing " << c.dotSpacing << " at " << c.at.x() << "," << c.at.y();
    }
}

TEST(RasterLabPaint, SpacingZeroLeavesASolidOffDotField)
{
    auto lab = MakeLab();
    lab->SetCharBlockMode(TRasterLab::rdbmRaster);
    lab->SetDotSpacing(0);
    const QRect belowText(2, 40, 396, 25);
    EXPECT_EQ(CountPixels(Grab(lab.get()), belowText, kOff), belowText.width() * belowText.height());
}

TEST(RasterLabPaint, FrameLines)
{
    const QPalette palette = QApplication::palette();
    const TColor sysGray = ColorToRGB(clr::BtnShadow, palette);
    const struct {
        TFrameStyle style;
        TColorScheme scheme;
        TColor topLeft, inner, bottomRight;
    } cases[] = {
        // (0, 0), (1, 1), (W-1, H-1)
        {fsSimple, csClassic, clr::Gray, kOff, clr::Gray},
        {fsLowered, csClassic, clr::Gray, clr::Black, clr::White},
        {fsRaised, csClassic, clr::Gray, clr::White, clr::Black},
        {fsEmbossed, csClassic, clr::White, clr::Gray, clr::Gray},
        {fsEngraved, csClassic, clr::Gray, clr::White, clr::White},
        {fsLowered, csSystem, sysGray, clr::Black, ColorToRGB(clr::BtnHighlight, palette)},
    };
    for (const auto &c : cases) {
        auto lab = MakeLab();
        lab->SetText(QString());
        lab->SetFrameStyle(c.style);
        lab->SetColorScheme(c.scheme);
        const QImage image = Grab(lab.get());
        EXPECT_EQ(PixelAt(image, 0, 0), c.topLeft) << c.style;
        EXPECT_EQ(PixelAt(image, 1, 1), c.inner) << c.style;
        EXPECT_EQ(PixelAt(image, 399, 67), c.bottomRight) << c.style;
    }
    auto plain = MakeLab();
    plain->SetFrameStyle(fsNone);
    plain->SetText(QString());
    plain->SetDotSpacing(0);
    EXPECT_EQ(CountPixels(Grab(plain.get()), QRect(0, 0, 400, 68), kOff), 400 * 68);
}

TEST(RasterLabPaint, CharactersOutsideTheFontPaintAsBlanks)
{
    auto expected = MakeLab();
    expected->SetText(QStringLiteral("A  B"));
    const QImage blanks = Grab(expected.get());
    for (const QString &text : {QStringLiteral("A\x01\tB"), QStringLiteral("A\u4E2D\u0100B"),
                                QStringLiteral("A\U0001F600 B")}) {
        auto lab = MakeLab();
        lab->SetText(text);
        EXPECT_EQ(Grab(lab.get()), blanks) << qPrintable(text);
    }
}

TEST(RasterLabPaint, LongTextShowsWhatIsVisibleOnly)
{
    // The same visible characters, once as the whole text and once behind a thousand
    // characters that lie left of the control, give the same picture.
    auto shortText = MakeLab();
    shortText->SetText(QStringLiteral("ABC g"));
    auto longText = MakeLab();
    const QString hidden = QString(1000, QLatin1Char('W'));
    longText->SetText(hidden + QStringLiteral("ABC g"));
    longText->SetPosX(1 - int(longText->CalcTextBitLength(hidden)));
    EXPECT_EQ(Grab(longText.get()), Grab(shortText.get()));
    EXPECT_EQ(longText->TextBitLength(), longText->CalcTextBitLength(longText->GetText()) + 1);
}

TEST(RasterLabPaint, SampledFontPaintsItsDots)
{
    auto lab = MakeLab();
    lab->setFont(PinnedFont(13));
    EXPECT_EQ(lab->CharMatrix().FontHeight, CreateBitFont(&lab->font()).FontHeight);
    lab->SetAutoHeight(true);
    EXPECT_EQ(lab->height(), 1 + 4 * lab->CharMatrix().FontHeight);
    EXPECT_GT(CountPixels(Grab(lab.get()), lab->rect(), kOn), 50);
}

// ---- Scrolling -----------------------------------------------------------------------------

TEST(RasterLabScroll, EachDirectionWrapsOnceAndRestartsOutside)
{
    const struct {
        TRasterLab::TRDScrollMode mode;
        bool horizontal;
        qint64 restart; // the offset right after the wrap
    } cases[] = {
        {TRasterLab::rdsmRight, true, -121}, // -TextBitLength
        {TRasterLab::rdsmLeft, true, 400},   // Width
        {TRasterLab::rdsmDown, false, -48},  // -(P x FontHeight)
        {TRasterLab::rdsmUp, false, 68},     // Height
    };
    for (const auto &c : cases) {
        auto lab = MakeLab();
        Grab(lab.get()); // the wrap uses the length of the last paint
        EventRecorder events;
        lab->OnScrollLoopRestart = events.Recorder(QStringLiteral("restart"));
        lab->OnScrollTimer = events.Recorder(QStringLiteral("step"));
        lab->SetScrollIncrement(7);
        lab->SetScrollMode(c.mode);
        const auto offset = [&] { return c.horizontal ? lab->ScrollPosX() : lab->ScrollPosY(); };
        int ticks = 0;
        while (events.Count(QStringLiteral("restart")) == 0 && ticks < 1000) {
            lab->DoTimer();
            ++ticks;
        }
        ASSERT_EQ(events.Count(QStringLiteral("restart")), 1) << c.mode;
        EXPECT_EQ(events.Events().mid(events.Events().size() - 2),
                  QStringList({QStringLiteral("restart"), QStringLiteral("step")}));
        EXPECT_EQ(offset(), c.restart) << c.mode;
        lab->DoTimer();
        EXPECT_EQ(events.Count(QStringLiteral("restart")), 1) << c.mode;
        EXPECT_EQ(std::abs(offset() - c.restart), 7) << c.mode;
        lab->SetScrollMode(TRasterLab::rdsmOff);
        EXPECT_EQ(lab->ScrollPosX(), 0);
        EXPECT_EQ(lab->ScrollPosY(), 0);
        EXPECT_FALSE(lab->TimerActive());
    }
}

TEST(RasterLabScroll, ScrolledTextMovesItsDots)
{
    auto lab = MakeLab();
    lab->SetScrollIncrement(4); // one pitch: the picture moves by whole dots
    const QImage before = Grab(lab.get());
    lab->SetScrollMode(TRasterLab::rdsmRight);
    lab->DoTimer();
    const QImage after = Grab(lab.get());
    for (const QPoint at : {QPoint(2, 6), QPoint(10, 14), QPoint(14, 30)})
        EXPECT_EQ(PixelAt(after, at.x() + 4, at.y()), PixelAt(before, at.x(), at.y()));
}

TEST(RasterLabScroll, OffsetsNeverOverflow)
{
    // The largest increment without looping: the offset saturates far beyond the
    // picture instead of wrapping round to the other side.
    for (const auto mode : {TRasterLab::rdsmRight, TRasterLab::rdsmLeft, TRasterLab::rdsmUp}) {
        auto lab = MakeLab(); // never shown: the ticks do not paint
        lab->SetScrollLoop(false);
        lab->SetScrollIncrement(std::numeric_limits<int>::max());
        lab->SetScrollMode(mode);
        for (int i = 0; i < (1 << 16); ++i)
            lab->DoTimer();
        const qint64 last = mode == TRasterLab::rdsmUp ? lab->ScrollPosY() : lab->ScrollPosX();
        lab->DoTimer();
        const qint64 now = mode == TRasterLab::rdsmUp ? lab->ScrollPosY() : lab->ScrollPosX();
        EXPECT_EQ(now, last) << mode;
        EXPECT_GT(std::abs(now), qint64(1) << 40) << mode;
        const QImage image = Grab(lab.get()); // the text is out of sight, the raster remains
        EXPECT_EQ(CountPixels(image, QRect(2, 2, 396, 64), kOn), 0) << mode;
        EXPECT_GT(CountPixels(image, QRect(2, 2, 396, 64), kOff), 0) << mode;
    }
}

TEST(RasterLabTimer, ModeIntervalAndHandlerRestartTheTimer)
{
    auto lab = MakeLab();
    EXPECT_FALSE(lab->TimerActive());
    lab->SetScrollMode(TRasterLab::rdsmLeft);
    EXPECT_TRUE(lab->TimerActive());
    EXPECT_EQ(lab->TimerInterval(), 100);
    lab->SetScrollInterval(3);
    EXPECT_EQ(lab->TimerInterval(), 10);
    lab->OnScrollTimer = [](QObject *) {};
    EXPECT_TRUE(lab->TimerActive());
    lab->SetScrollMode(TRasterLab::rdsmOff);
    EXPECT_FALSE(lab->TimerActive());
    lab->OnScrollTimer = nullptr; // assigning restarts, but there is nothing to scroll
    EXPECT_FALSE(lab->TimerActive());
}

TEST(RasterLabTimer, NothingRunsInDesignMode)
{
    auto lab = MakeLab();
    SetDesigning(lab.get(), true);
    lab->SetScrollMode(TRasterLab::rdsmRight);
    lab->SetScrollInterval(20);
    lab->OnScrollTimer = [](QObject *) {};
    EXPECT_EQ(lab->GetScrollMode(), TRasterLab::rdsmRight);
    EXPECT_EQ(lab->GetScrollInterval(), 20);
    EXPECT_FALSE(lab->TimerActive());
}

TEST(RasterLabTimer, NoTimerAvailable)
{
    auto lab = MakeLab();
    THiddenTimer::InjectStartFailures(1);
    try {
        lab->SetScrollMode(TRasterLab::rdsmRight);
        ADD_FAILURE() << "no exception";
    } catch (const ENVORasterLabError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Component \"Raster1\": no timer available"));
    }
    EXPECT_FALSE(lab->TimerActive());
    lab->SetText(QStringLiteral("still usable"));
    EXPECT_EQ(lab->GetText(), QStringLiteral("still usable"));
}

TEST(RasterLabTimer, FailingHandlerReachesTheApplicationAndScrollingGoesOn)
{
    HandlerProbe probe;
    auto lab = MakeLab();
    lab->SetScrollInterval(10);
    lab->OnScrollTimer = [](QObject *) { throw ENVORasterLabError(QStringLiteral("handler failed")); };
    lab->SetScrollMode(TRasterLab::rdsmRight);
    QTest::qWait(80);
    EXPECT_GE(probe.Messages.size(), 2);
    EXPECT_EQ(probe.Messages.value(0), QStringLiteral("handler failed"));
    EXPECT_TRUE(lab->TimerActive());
    EXPECT_GE(lab->ScrollPosX(), 2);
}

// ---- Assign --------------------------------------------------------------------------------

TEST(RasterLab, AssignCopiesTextFrameAndColours)
{
    auto source = MakeLab();
    source->SetText(QStringLiteral("12:30"));
    source->SetFrameStyle(fsRaised);
    source->SetColorLabBakG(0x102030);
    source->SetColorDotOn(clr::Red);
    source->SetColorScheme(csSystem);
    source->SetDotSize(5);

    auto target = MakeLab();
    target->Assign(source.get());
    EXPECT_EQ(target->GetText(), QStringLiteral("12:30"));
    EXPECT_EQ(target->GetFrameStyle(), fsRaised);
    EXPECT_EQ(target->GetColorLabBakG(), 0x102030u);
    EXPECT_EQ(target->GetColorDotOn(), clr::Red);
    EXPECT_EQ(target->GetColorScheme(), csSystem);
    EXPECT_EQ(target->GetDotSize(), 3); // not among the copied values

    QWidget other;
    EXPECT_THROW(target->Assign(&other), EConvertError);
    EXPECT_EQ(target->GetText(), QStringLiteral("12:30"));
    EXPECT_THROW(target->AssignTo(&other), EConvertError);
}

// ---- The control base -------------------------------------------------------------------------

TEST(RasterLab, TextIsTheNotifyingUserProperty)
{
    auto lab = MakeLab();
    ExpectNotifyingUserProperty(*lab, "Text", QStringLiteral("Hello"));
    QSignalSpy changed(lab.get(), &TRasterLab::TextChanged);
    auto source = MakeLab();
    source->SetText(QStringLiteral("12:30"));
    lab->Assign(source.get());
    lab->Assign(source.get());
    ASSERT_EQ(changed.count(), 1) << "an Assign that keeps the text notifies nothing";
    EXPECT_EQ(changed.first().value(0).toString(), QStringLiteral("12:30"));
}

TEST(RasterLab, KeyAndMouseEventsFire)
{
    ExpectInputEvents<TRasterLab>();
}

TEST(RasterLab, SettingsTheLabelDoesNotShowPaintNothing)
{
    using S = TShownSetting<TRasterLab>;
    ExpectPaintsOnlyWhereShown<TRasterLab>(MakePlainLab, {
        S{"ColorDotOff", [](TRasterLab &l) { l.SetCharBlockMode(TRasterLab::rdbmOn); },
          [](TRasterLab &l) { l.SetColorDotOff(clr::Red); }},
        S{"ColorScheme", [](TRasterLab &l) { l.SetFrameStyle(fsSimple); },
          [](TRasterLab &l) { l.SetColorScheme(csSystem); }},
        S{"ScrollMode off", [](TRasterLab &l) { l.DoTimer(); },
          [](TRasterLab &l) { l.SetScrollMode(TRasterLab::rdsmOff); }},
        S{"ScrollLoop", {}, [](TRasterLab &l) { l.SetScrollLoop(false); }},
        S{"ScrollInterval", {}, [](TRasterLab &l) { l.SetScrollInterval(500'000); }},
        S{"ScrollIncrement", {}, [](TRasterLab &l) { l.SetScrollIncrement(3); }},
        S{"AutoHeight off", {}, [](TRasterLab &l) { l.SetAutoHeight(false); }},
    });
}

TEST(RasterLabPaint, AChangeAfterAPaintShowsAsOnAFreshLabel)
{
    ExpectChangesShowAsOnFreshControls<TRasterLab>({
        [](TRasterLab &l) { l.SetText(QStringLiteral("Te")); },
        [](TRasterLab &l) { l.SetCharBlockMode(TRasterLab::rdbmOff); },
        [](TRasterLab &l) { l.SetFrameStyle(fsNone); },
        [](TRasterLab &l) { l.SetDotSize(5); },
        [](TRasterLab &l) { l.setFont(PinnedFont(13)); },
        [](TRasterLab &l) { l.resize(200, 40); },
        [](TRasterLab &l) {
            l.SetScrollMode(TRasterLab::rdsmDown);
            l.DoTimer();
        },
    });
}
