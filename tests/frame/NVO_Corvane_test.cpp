#include "NVO_Bitmap.h"
#include "NVO_Corvane.h"
#include "NVO_CorvaneDraw.h"
#include "PixelProbe.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QtCore/QBuffer>
#include <QtCore/QMetaEnum>
#include <QtCore/QObject>
#include <QtGui/QGuiApplication>

#include <cmath>
#include <set>
#include <vector>

using namespace nvo;

// ---- Enumerations as published properties -------------------------------------------

namespace {

class FramedThing : public QObject
{
    Q_OBJECT
    Q_PROPERTY(nvo::TFrameStyle FrameStyle READ GetFrameStyle WRITE SetFrameStyle)

public:
    TFrameStyle GetFrameStyle() const { return FFrameStyle; }
    void SetFrameStyle(TFrameStyle style) { FFrameStyle = style; }

private:
    TFrameStyle FFrameStyle = fsLowered;
};

} // namespace

TEST(Corvane, EnumerationsAreOneByteAndKnownToTheMetaObjectSystem)
{
    static_assert(sizeof(TColorScheme) == 1 && sizeof(TFrameStyle) == 1 && sizeof(TDecPSep) == 1
                  && sizeof(TLanguage) == 1 && sizeof(TOrientation) == 1 && sizeof(TBkgFill) == 1
                  && sizeof(TDirection) == 1 && sizeof(TCSVDelimiters) == 1
                  && sizeof(TLogicOp) == 1);
    const QMetaEnum frameStyles = QMetaEnum::fromType<TFrameStyle>();
    ASSERT_TRUE(frameStyles.isValid());
    EXPECT_EQ(frameStyles.keyCount(), 6);
    EXPECT_EQ(frameStyles.keyToValue("fsEngraved"), 5);
    EXPECT_EQ(QMetaEnum::fromType<TDirection>().keyToValue("drLeftRight"), 3);
    EXPECT_EQ(QMetaEnum::fromType<TLanguage>().keyToValue("lgSpanish"), 4);
}

TEST(Corvane, AFrameStylePropertyIsSetByValueByOrdinalAndByName)
{
    FramedThing thing;
    const int index = thing.metaObject()->indexOfProperty("FrameStyle");
    ASSERT_GE(index, 0);
    EXPECT_TRUE(thing.metaObject()->property(index).isEnumType());

    EXPECT_TRUE(thing.setProperty("FrameStyle", QVariant::fromValue(fsRaised)));
    EXPECT_EQ(thing.GetFrameStyle(), fsRaised);
    EXPECT_TRUE(thing.setProperty("FrameStyle", 4)); // forms store the ordinal
    EXPECT_EQ(thing.GetFrameStyle(), fsEmbossed);
    EXPECT_TRUE(thing.setProperty("FrameStyle", QStringLiteral("fsSimple")));
    EXPECT_EQ(thing.GetFrameStyle(), fsSimple);
    EXPECT_EQ(thing.property("FrameStyle").value<TFrameStyle>(), fsSimple);
    // an ordinal without a name still arrives: controls decide what it draws like
    EXPECT_TRUE(thing.setProperty("FrameStyle", 9));
    EXPECT_EQ(int(thing.GetFrameStyle()), 9);
}

TEST(Corvane, ExceptionsCarryTheirMessageAndDeriveFromTheLibraryException)
{
    try {
        throw ENVODStructError(QStringLiteral("not a number"));
    } catch (const Exception &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("not a number"));
    }
    static_assert(std::is_base_of_v<Exception, ENVOError>);
}

TEST(Corvane, ConstantsHoldTheirValues)
{
    EXPECT_EQ(uc_MaxDouble, std::numeric_limits<double>::max());
    EXPECT_FALSE(std::isinf(uc_MaxReal));
    EXPECT_DOUBLE_EQ(uc_ln10, std::log(10.0));
}

// ---- Name tables -------------------------------------------------------------------------

TEST(Corvane, NameTablesGiveShortNamesWithinTheirLimitsInEveryLanguage)
{
    for (int lang = lgUnspecified; lang <= lgSpanish; ++lang) {
        const auto language = TLanguage(lang);
        for (int day = 1; day <= 7; ++day) {
            EXPECT_FALSE(WeekDayShort(language, day).isEmpty());
            EXPECT_LE(WeekDayShort(language, day).size(), 3) << lang << "/" << day;
        }
        for (int month = 1; month <= 12; ++month) {
            EXPECT_FALSE(MonthShort(language, month).isEmpty());
            EXPECT_LE(MonthShort(language, month).size(), 4) << lang << "/" << month;
            EXPECT_LE(MonthLong(language, month).size(), 10) << lang << "/" << month;
        }
    }
}

TEST(Corvane, NameTablesStartOnMondayAndFallBackToEnglish)
{
    const struct {
        TLanguage language;
        int index;
        QString (*table)(TLanguage, int);
        const char *expected;
    } cases[] = {
        {lgEnglish, 1, WeekDayShort, "Mon"},        {lgGerman, 7, WeekDayShort, "So"},
        {lgFrench, 3, WeekDayShort, "Mer"},         {lgSpanish, 6, WeekDayShort, "Sáb"},
        {lgGerman, 3, MonthShort, "Mär"},           {lgFrench, 8, MonthLong, "Août"},
        {lgSpanish, 9, MonthLong, "Septiembre"},    {lgEnglish, 12, MonthLong, "December"},
        {lgUnspecified, 1, MonthLong, "January"},   {TLanguage(9), 2, WeekDayShort, "Tue"},
        {lgEnglish, 0, WeekDayShort, ""},           {lgEnglish, 8, WeekDayShort, ""},
        {lgGerman, 0, MonthShort, ""},              {lgGerman, 13, MonthLong, ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.table(c.language, c.index), QString::fromUtf8(c.expected))
            << int(c.language) << "/" << c.index;
}

TEST(Corvane, PredefinedColorsHoldVgaThenExtendedThenSystemColours)
{
    const TColor vga[] = {clr::Black, clr::Maroon, clr::Green,   clr::Olive, clr::Navy, clr::Purple,
                          clr::Teal,  clr::Gray,   clr::Silver,  clr::Red,   clr::Lime, clr::Yellow,
                          clr::Blue,  clr::Fuchsia, clr::Aqua,   clr::White};
    for (int i = 1; i <= 16; ++i)
        EXPECT_EQ(PredefinedColor(i), vga[i - 1]) << i;
    std::set<TColor> colours;
    std::set<QString> names;
    for (int i = 1; i <= NrOfPredefinedColors; ++i) {
        EXPECT_EQ(IsSystemColor(PredefinedColor(i)), i >= 21) << i;
        colours.insert(PredefinedColor(i));
        names.insert(PredefinedColorName(i));
    }
    EXPECT_EQ(colours.size(), 47u);
    EXPECT_EQ(names.size(), 47u);
    EXPECT_FALSE(names.count(QString()));
    EXPECT_EQ(PredefinedColorName(48), QString());
    EXPECT_EQ(PredefinedColor(0), clr::Black);
}

TEST(Corvane, ColourNamesArePredefinedNamesOrEightHexDigits)
{
    const struct {
        TColor color;
        const char *expected;
    } cases[] = {
        {clr::Red, "Red"},
        {RGBColor(192, 220, 192), "Money green"},
        {clr::BtnFace, "Button face"},        // a system colour by its own name
        {RGBColor(0x12, 0x34, 0x56), "$00563412"},
        {RGBColor(0xAB, 0xCD, 0xEF), "$00EFCDAB"},
        {0x00000001, "$00000001"},
        {0xFF000019, "$FF000019"},            // the unused system colour index
    };
    for (const auto &c : cases)
        EXPECT_EQ(ColorToString(c.color), QString::fromLatin1(c.expected)) << std::hex << c.color;
}

// ---- Frames ------------------------------------------------------------------------------

namespace {

constexpr TColor Bg = 0x123456, BrushC = 0x00FF00, PenC = 0x0000FF, ExtraC = 0x800080;
constexpr TColor Lt = 0xFFFFFF, Hi = 0xC0C0C0, Sh = 0x808080, Dk = 0x000000;

TBitmap Plain(int size, TColor colour = Bg)
{
    TBitmap bitmap(size, size);
    bitmap.Canvas().Brush.SetColor(colour);
    bitmap.Canvas().FillRect(0, 0, size, size);
    return bitmap;
}

/// A 20 x 20 bitmap with a frame on (2, 2)..(17, 17) and the canvas's brush green.
TBitmap Framed(TFrameStyle style, TFrameInside inside = fiKeep)
{
    TBitmap bitmap = Plain(20);
    bitmap.Canvas().Brush.SetColor(BrushC);
    bitmap.Canvas().Pen.Color = PenC;
    DrawFrame(bitmap.Canvas(), style, 2, 2, 17, 17, Lt, Hi, Sh, Dk, ExtraC, inside);
    return bitmap;
}

bool OnlyInside(const QImage &image, const QRect &inside, TColor background)
{
    const QRect ink = test::InkBounds(image, background);
    return ink.isNull() || inside.contains(ink);
}

} // namespace

TEST(Corvane, DrawFrameDrawsEachStyleInsideTheInclusiveRectangle)
{
    struct Pixel {
        int x, y;
        TColor colour;
    };
    const struct {
        TFrameStyle style;
        std::vector<Pixel> pixels;
    } cases[] = {
        {fsNone, {{2, 2, Bg}, {17, 17, Bg}, {10, 2, Bg}}},
        {fsSimple, {{2, 2, ExtraC}, {17, 2, ExtraC}, {2, 17, ExtraC}, {17, 17, ExtraC},
                    {10, 2, ExtraC}, {17, 10, ExtraC}, {3, 3, Bg}}},
        {fsLowered, {{2, 2, Sh}, {10, 2, Sh}, {2, 10, Sh}, {17, 2, Lt}, {2, 17, Lt},
                     {17, 10, Lt}, {10, 17, Lt}, {3, 3, Dk}, {10, 3, Dk}, {16, 10, Hi},
                     {16, 16, Hi}, {4, 4, Bg}}},
        {fsRaised, {{2, 2, Lt}, {10, 2, Lt}, {17, 10, Dk}, {10, 17, Dk}, {3, 3, Hi},
                    {3, 10, Hi}, {16, 16, Sh}, {10, 16, Sh}, {4, 4, Bg}}},
        // light outline on (2,2)..(16,16), then shadow outline on (3,3)..(17,17)
        {fsEmbossed, {{2, 2, Lt}, {10, 2, Lt}, {16, 10, Lt}, {3, 3, Sh}, {10, 3, Sh},
                      {17, 10, Sh}, {10, 17, Sh}, {3, 16, Sh}, {17, 2, Bg}, {2, 17, Bg},
                      {4, 4, Bg}}},
        {fsEngraved, {{2, 2, Sh}, {10, 2, Sh}, {16, 10, Sh}, {3, 3, Lt}, {10, 3, Lt},
                      {17, 10, Lt}, {10, 17, Lt}, {3, 16, Lt}, {17, 2, Bg}, {4, 4, Bg}}},
        // ordinals without a style of their own still show a frame
        {TFrameStyle(9), {{2, 2, ExtraC}, {17, 17, ExtraC}, {3, 3, Bg}}},
    };
    for (const auto &c : cases) {
        TBitmap bitmap = Framed(c.style);
        for (const Pixel &p : c.pixels)
            EXPECT_EQ(bitmap.Canvas().GetPixel(p.x, p.y), p.colour)
                << "style " << int(c.style) << " at " << p.x << "," << p.y;
        EXPECT_TRUE(OnlyInside(bitmap.Image(), QRect(2, 2, 16, 16), Bg)) << int(c.style);
        EXPECT_EQ(test::CountPixels(bitmap.Image(), QRect(4, 4, 12, 12), Bg), 144) << int(c.style);
    }
}

TEST(Corvane, DrawFrameKeepsTheInsideUnlessAskedToFillItWithTheBrush)
{
    const TBitmap kept = Framed(fsLowered);
    EXPECT_EQ(test::PixelAt(kept.Image(), 10, 10), Bg);

    const TBitmap filled = Framed(fsLowered, fiFillBrush);
    EXPECT_EQ(test::PixelAt(filled.Image(), 10, 10), BrushC);
    EXPECT_EQ(test::PixelAt(filled.Image(), 4, 4), BrushC);
    EXPECT_EQ(test::PixelAt(filled.Image(), 3, 3), Dk);
    EXPECT_TRUE(OnlyInside(filled.Image(), QRect(2, 2, 16, 16), Bg));

    const TBitmap emptyFilled = Framed(fsNone, fiFillBrush);
    EXPECT_EQ(test::CountPixels(emptyFilled.Image(), QRect(2, 2, 16, 16), BrushC), 256);

    TBitmap clearBrush = Plain(20);
    clearBrush.Canvas().Brush.SetStyle(bsClear);
    DrawFrame(clearBrush.Canvas(), fsSimple, 2, 2, 17, 17, Lt, Hi, Sh, Dk, ExtraC, fiFillBrush);
    EXPECT_EQ(test::PixelAt(clearBrush.Image(), 10, 10), Bg);
}

TEST(Corvane, DrawFrameLeavesTheCanvasToolsAsItFoundThem)
{
    TBitmap bitmap = Framed(fsRaised);
    EXPECT_EQ(bitmap.Canvas().Brush.GetColor(), BrushC);
    EXPECT_EQ(bitmap.Canvas().Pen.Color, PenC);
}

TEST(Corvane, DrawFrameOnDegenerateRectanglesStaysInsideOrDrawsNothing)
{
    const struct {
        TFrameStyle style;
        QRect rect; // inclusive corners as (left, top)..(right, bottom)
    } cases[] = {
        {fsLowered, QRect(QPoint(5, 5), QPoint(5, 5))}, {fsEmbossed, QRect(QPoint(5, 5), QPoint(5, 9))},
        {fsEngraved, QRect(QPoint(3, 5), QPoint(9, 5))}, {fsRaised, QRect(QPoint(5, 5), QPoint(6, 6))},
    };
    for (const auto &c : cases) {
        TBitmap bitmap = Plain(12);
        DrawFrame(bitmap.Canvas(), c.style, c.rect.left(), c.rect.top(), c.rect.right(),
                  c.rect.bottom(), Lt, Hi, Sh, Dk, ExtraC);
        const QRect ink = test::InkBounds(bitmap.Image(), Bg);
        EXPECT_EQ(ink, c.rect) << int(c.style); // covered entirely, nothing outside
    }
    TBitmap inverted = Plain(12);
    DrawFrame(inverted.Canvas(), fsSimple, 8, 8, 2, 2, Lt, Hi, Sh, Dk, ExtraC);
    EXPECT_TRUE(test::InkBounds(inverted.Image(), Bg).isNull());
}

TEST(Corvane, DrawRectangleOutlinesInclusiveCornersWithThePenOnly)
{
    TBitmap bitmap = Plain(12);
    bitmap.Canvas().Pen.Color = PenC;
    bitmap.Canvas().Brush.SetColor(BrushC);
    DrawRectangle(bitmap.Canvas(), 2, 3, 8, 9);
    const QImage &image = bitmap.Image();
    EXPECT_EQ(test::InkBounds(image, Bg), QRect(QPoint(2, 3), QPoint(8, 9)));
    EXPECT_EQ(test::PixelAt(image, 8, 9), PenC);
    EXPECT_EQ(test::PixelAt(image, 2, 9), PenC);
    EXPECT_EQ(test::CountPixels(image, QRect(QPoint(3, 4), QPoint(7, 8)), Bg), 25);
    EXPECT_EQ(bitmap.Canvas().Brush.GetStyle(), bsSolid);
}

// ---- Markers -----------------------------------------------------------------------------

namespace {

QImage Marked(int mark, TColor brush)
{
    TBitmap bitmap = Plain(21);
    bitmap.Canvas().Pen.Color = PenC;
    bitmap.Canvas().Brush.SetColor(brush);
    DrawMarkOnCanvas(bitmap.Canvas(), mark, 10, 10);
    return bitmap.Image().copy();
}

} // namespace

TEST(Corvane, AllMarkersAreDistinctCentredPicturesInPenAndBrushColoursOnly)
{
    // The marker selector draws with the brush in the cell's background colour: the
    // symbols must stay distinct then as well.
    for (const TColor brush : {BrushC, Bg}) {
        std::vector<QImage> pictures;
        for (int mark = 0; mark < NrOfMarks; ++mark) {
            const QImage picture = Marked(mark, brush);
            const QRect ink = test::InkBounds(picture, Bg);
            EXPECT_FALSE(ink.isNull()) << "mark " << mark;
            EXPECT_TRUE(QRect(6, 6, 9, 9).contains(ink)) << "mark " << mark;
            EXPECT_EQ(test::CountPixels(picture, picture.rect(), Bg)
                          + test::CountPixels(picture, picture.rect(), PenC)
                          + (brush == Bg ? 0 : test::CountPixels(picture, picture.rect(), brush)),
                      21 * 21)
                << "mark " << mark;
            for (int other = 0; other < mark; ++other)
                EXPECT_NE(pictures[other], picture) << "marks " << other << " and " << mark;
            pictures.push_back(picture);
        }
    }
}

TEST(Corvane, MarkersOutsideTheTableDrawNothing)
{
    for (const int mark : {-1, 52, 255, 256, 1000})
        EXPECT_TRUE(test::InkBounds(Marked(mark, BrushC), Bg).isNull()) << mark;
}

TEST(Corvane, MarkersLeaveTheCanvasToolsAsTheyFoundThem)
{
    TBitmap bitmap = Plain(21);
    bitmap.Canvas().Pen.Color = PenC;
    bitmap.Canvas().Brush.SetStyle(bsClear);
    DrawMarkOnCanvas(bitmap.Canvas(), 2, 10, 10); // a solid symbol borrows the brush
    EXPECT_EQ(bitmap.Canvas().Brush.GetStyle(), bsClear);
    EXPECT_EQ(bitmap.Canvas().Pen.Color, PenC);
}

// ---- Colours and enumeration helpers --------------------------------------------------

TEST(Corvane, MeanColorAveragesEachChannelAfterResolvingSystemColours)
{
    EXPECT_EQ(MeanColor(clr::Black, clr::White), 0x7F7F7Fu);
    EXPECT_EQ(MeanColor(clr::Red, clr::Blue), 0x7F007Fu);
    EXPECT_EQ(MeanColor(0x102030, 0x102030), 0x102030u);
    const TColor window = ColorToRGB(clr::Window, QGuiApplication::palette());
    EXPECT_EQ(MeanColor(clr::Window, clr::Window), window);
    EXPECT_FALSE(IsSystemColor(MeanColor(clr::Window, clr::Black)));
}

TEST(Corvane, CsvDelimitersAndVerdictCombinations)
{
    EXPECT_EQ(CSVDelimiterChar(cdComma), u',');
    EXPECT_EQ(CSVDelimiterChar(cdSemicolon), u';');
    EXPECT_EQ(CSVDelimiterChar(cdTab), u'\t');
    EXPECT_EQ(CSVDelimiterChar(TCSVDelimiters(77)), u',');

    const struct {
        TLogicOp op;
        bool tt, tf, ft, ff; // results for (app, built-in) = (t,t), (t,f), (f,t), (f,f)
    } cases[] = {
        {loAND, true, false, false, false},    {loOR, true, true, true, false},
        {loXOR, false, true, true, false},     {loReplace, true, true, false, false},
        {loIgnore, true, false, true, false},  {TLogicOp(40), true, false, false, false},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(CombineVerdicts(c.op, true, true), c.tt) << int(c.op);
        EXPECT_EQ(CombineVerdicts(c.op, true, false), c.tf) << int(c.op);
        EXPECT_EQ(CombineVerdicts(c.op, false, true), c.ft) << int(c.op);
        EXPECT_EQ(CombineVerdicts(c.op, false, false), c.ff) << int(c.op);
    }
    EXPECT_TRUE(UsesSystemColors(TColorScheme(3)));
    EXPECT_FALSE(UsesSystemColors(csClassic));
}

// ---- Strings -----------------------------------------------------------------------------

TEST(Corvane, TokenizeEndsAnItemAtEveryDelimiter)
{
    const struct {
        const char *s;
        const char *delimiters;
        QStringList items;
    } cases[] = {
        {"a|b|c", "|", {"a", "b", "c"}},
        {"/usr/lib/", "/", {"", "usr", "lib", ""}}, // a folder path: final empty item
        {"C:\\data\\", "\\", {"C:", "data", ""}},
        {"one\ntwo", "\n", {"one", "two"}},
        {"a,b;c", ",;", {"a", "b", "c"}},
        {"||", "|", {"", "", ""}},
        {"plain", "|", {"plain"}},
        {"", "|", {}},
    };
    for (const auto &c : cases) {
        QStringList items{QStringLiteral("stale")};
        EXPECT_EQ(Tokenize(QString::fromUtf8(c.s), QString::fromUtf8(c.delimiters), items),
                  c.items.size())
            << c.s;
        EXPECT_EQ(items, c.items) << c.s;
    }
}

TEST(Corvane, NumberedPosFindsTheNthOccurrenceFromStart)
{
    const struct {
        const char *sub, *s;
        int start, n;
        bool flag;
        int expected;
    } cases[] = {
        {".", "12.5", 1, 1, true, 3},
        {"\"", "<x id=\"abc\" y=\"d\">", 1, 2, false, 11},
        {"\"", "<x id=\"abc\" y=\"d\">", 8, 2, false, 15},
        {".", "1.2.3", 3, 1, true, 4},
        {".", "1.2.3", 0, 1, true, 2}, // a start before the text reads as the first position
        {".", "12", 1, 1, true, 0},
        {".", "1.2", 9, 1, true, 0},
        {".", "1.2", 1, 0, true, 0},
        {"", "abc", 1, 1, true, 0},
        {"aa", "aaa", 1, 2, true, 2}, // overlapping occurrences count with Flag
        {"aa", "aaa", 1, 2, false, 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(NumberedPos(QString::fromUtf8(c.sub), QString::fromUtf8(c.s), c.start, c.n, c.flag),
                  c.expected)
            << c.sub << " in " << c.s << " from " << c.start << " #" << c.n;
}

TEST(Corvane, StrffWritesFixedPointWithAPointWhateverTheLocale)
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const struct {
        double value;
        int width, decimals;
        const char *expected;
    } cases[] = {
        {3.14159, 1, 2, "3.14"}, {1234.5, 1, 3, "1234.500"}, {-7.0, 1, 1, "-7.0"},
        {42.0, 1, 0, "42"},      {2.5, 6, 1, "   2.5"},      {12.0, 1, -3, "12"},
        {1e6, 1, 2, "1000000.00"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(strff(c.value, c.width, c.decimals), QString::fromUtf8(c.expected)) << c.expected;
    QLocale::setDefault(previous);
}

TEST(Corvane, StrffRoundsTiesToEvenAndWritesTheFramesNonNumberTexts)
{
    // The texts of the frame's fixed writer: a true tie goes to the even digit, a
    // text that shows only zeros has no "-", and values that are no number write
    // NAN, INF and -INF.
    const struct {
        double value;
        int width, decimals;
        const char *expected;
    } cases[] = {
        {0.125, 1, 2, "0.12"},      {0.375, 1, 2, "0.38"},         {2.5, 1, 0, "2"},
        {-2.5, 1, 0, "-2"},         {3.5, 1, 0, "4"},              {123456789.125, 1, 2, "123456789.12"},
        {1.005, 1, 2, "1.00"}, // stored below 1.005: no tie
        {-0.001, 6, 2, "  0.00"},   {-0.25, 1, 0, "0"},
        {std::nan(""), 5, 2, "  NAN"}, {HUGE_VAL, 1, 2, "INF"},    {-HUGE_VAL, 5, 0, " -INF"},
        {5, 1, 1000, nullptr}, // decimals capped at 350
    };
    for (const auto &c : cases) {
        const QString text = strff(c.value, c.width, c.decimals);
        if (c.expected)
            EXPECT_EQ(text, QString::fromUtf8(c.expected)) << c.value << " " << c.decimals;
        else
            EXPECT_EQ(text, QStringLiteral("5.") + QString(350, QLatin1Char('0')));
    }
}

TEST(Corvane, LeftStringGivesExactlyNCharacters)
{
    EXPECT_EQ(LeftString(QStringLiteral("abc"), 5), QStringLiteral("abc  "));
    EXPECT_EQ(LeftString(QStringLiteral("abcdef"), 3), QStringLiteral("abc"));
    EXPECT_EQ(LeftString(QString(), 2), QStringLiteral("  "));
    EXPECT_EQ(LeftString(QStringLiteral("x"), 0), QString());
    EXPECT_EQ(LeftString(QStringLiteral("x"), -3), QString());
    // wider than a byte can count: no wrap-around at 256
    EXPECT_EQ(LeftString(QString(300, u'z'), 300).size(), 300);
    EXPECT_EQ(LeftString(QStringLiteral("z"), 257).size(), 257);
}

TEST(Corvane, CharacterHelpers)
{
    const struct {
        QString actual;
        const char *expected;
    } cases[] = {
        {EnsureTrailingChar(u'/', QStringLiteral("/usr")), "/usr/"},
        {EnsureTrailingChar(u'/', QStringLiteral("/usr/")), "/usr/"},
        {EnsureTrailingChar(u'/', QString()), "/"},
        {EnsureTrailingBkSlash(QStringLiteral("/home/me")), "/home/me/"},
        {EnsureTrailingBkSlash(QStringLiteral("/")), "/"},
        {StripLeadingChars(u'0', QStringLiteral("00120")), "120"},
        {StripLeadingChars(u'0', QStringLiteral("000")), ""},
        {StripTrailingChars(u'/', QStringLiteral("/a/b//")), "/a/b"},
        {StripTrailingChars(u'/', QStringLiteral("abc")), "abc"},
        {ReplaceCharInString(QStringLiteral("1,5,0"), u',', u'.'), "1.5.0"},
        {ReplaceCharInString(QStringLiteral("abc"), u'x', u'y'), "abc"},
        {RemoveControlChars(QStringLiteral("a\tb\r\nc\x1f d")), "abc d"},
        {RemoveControlChars(QStringLiteral("Äpfel ~")), "Äpfel ~"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.actual, QString::fromUtf8(c.expected));
}

// ---- Streams and files -------------------------------------------------------------------

TEST(Corvane, ReadLnStreamReadsUtf8LinesWithEitherLineEnd)
{
    const struct {
        QByteArray bytes;
        QStringList lines;
    } cases[] = {
        {"one\r\ntwo\nthree", {"one", "two", "three"}},
        {"a\n", {"a"}},
        {"a\n\nb\n", {"a", "", "b"}},
        {"\xef\xbb\xbf\xc3\x84nderung\r\n", {QString::fromUtf8("Änderung")}},
    };
    for (const auto &c : cases) {
        QBuffer buffer;
        buffer.setData(c.bytes);
        ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
        QStringList lines;
        bool eof = false;
        while (!eof)
            lines.append(ReadLnStream(buffer, eof, 0));
        EXPECT_EQ(lines, c.lines) << c.bytes.constData();
    }
    QBuffer empty;
    empty.open(QIODevice::ReadOnly);
    bool eof = false;
    EXPECT_EQ(ReadLnStream(empty, eof, 0), QString());
    EXPECT_TRUE(eof);
}

TEST(Corvane, DirExistsTellsFoldersFromFilesAndNothing)
{
    test::TempDir dir;
    const QString file = dir.Write(QStringLiteral("file.txt"), "x");
    EXPECT_TRUE(DirExists(dir.Root()));
    EXPECT_TRUE(DirExists(EnsureTrailingBkSlash(dir.Root())));
    EXPECT_FALSE(DirExists(file));
    EXPECT_FALSE(DirExists(dir.Path(QStringLiteral("missing"))));
    EXPECT_FALSE(DirExists(QString()));
}

TEST(Corvane, ParentDirClimbsToTheRootAndThenGivesNothing)
{
    const struct {
        const char *path, *parent;
    } cases[] = {
        {"/a/b/", "/a/"}, {"/a/b", "/a/"}, {"/a", "/"}, {"/", ""},
        {"", ""},         {"name", ""},    {"a/b", "a/"}, {"/a//b/../c/", "/a/"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ParentDir(QString::fromUtf8(c.path)), QString::fromUtf8(c.parent)) << c.path;

    // A walk up the tree, as a browser does after a folder vanished, must end.
    QString path = QStringLiteral("/one/two/three/four/");
    int steps = 0;
    while (!path.isEmpty() && steps < 100) {
        path = ParentDir(path);
        ++steps;
    }
    EXPECT_EQ(steps, 5);
}

TEST(Corvane, InventPasswordGivesRandomReadableTextOfTheAskedLength)
{
    const QString alphabet =
        QStringLiteral("ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz23456789");
    const struct {
        int asked, length;
    } cases[] = {{0, 0}, {-5, 0}, {1, 1}, {12, 12}, {255, 255}, {1000000000, 255}};
    for (const auto &c : cases) {
        const QString password = InventPassword(c.asked);
        EXPECT_EQ(password.size(), c.length) << c.asked;
        for (const QChar ch : password)
            EXPECT_TRUE(alphabet.contains(ch)) << int(ch.unicode());
    }
    EXPECT_NE(InventPassword(32), InventPassword(32));
}

#include "NVO_Corvane_test.moc"
