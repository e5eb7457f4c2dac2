#include "ControlContract.h"
#include "PaintCounter.h"
#include "NVO_Format.h"
#include "NVO_NumLab.h"
#include "NumericTestSupport.h"
#include "PinnedFont.h"
#include "PixelProbe.h"

#include <QtGui/QFontMetrics>
#include <QtWidgets/QApplication>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <optional>

using namespace nvo;
using namespace nvo::test;

namespace {

using D = TNumLab;

constexpr TColor kOut = RGBColor(0x40, 0xA0, 0x40); // outside the box
constexpr TColor kBox = RGBColor(0xE0, 0xE0, 0xE0); // inside the box
constexpr TColor kInk = clr::Black;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

/// A label in plain colours, so that every pixel tells which step painted it.
std::unique_ptr<TNumLab> MakeLabel()
{
    auto label = std::make_unique<TNumLab>();
    label->setFont(PinnedFont());
    label->SetColorOutBakG(kOut);
    label->SetColorLabBakG(kBox);
    label->SetColorOutText(kInk);
    label->SetColorLabText(kInk);
    label->SetFrameStyle(fsSimple);
    return label;
}

int TextWidth(const QString &text) { return QFontMetrics(PinnedFont()).horizontalAdvance(text); }

/// The ink of `image` inside `area` that differs from `background`, in image coordinates.
QRect InkIn(const QImage &image, const QRect &area, TColor background)
{
    const QRect ink = InkBounds(image.copy(area), background);
    return ink.isNull() ? ink : ink.translated(area.topLeft());
}

/// Bounds of the pixels of exactly `color` inside `area`.
QRect PixelsOf(const QImage &image, const QRect &area, TColor color)
{
    QRect bounds;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (PixelAt(image, x, y) == color)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

struct FormatCase {
    TNumLab::TDisplay type;
    int precision;
    double value;
    const char *expected;
    bool comma = false;
    bool plus = false;
};

} // namespace

// ---- Value texts ----------------------------------------------------------------------

TEST(NumLabFormat, ValueTextsOfEveryDisplayType)
{
    const FormatCase cases[] = {
        // the fixed display types and the post-processing
        {D::dtFixP, 2, 0.0, "0.00", false, true},         // zero gets no plus sign
        {D::dtFixP, 2, 0.001, "+0.00", false, true},
        {D::dtFixP, 2, -1.5, "-1,50", true},              // "," whatever the locale
        {D::dtFixP, 0, 2.5, "2"},
        {D::dtInt, 0, 2.5, "2"},
        {D::dtInt, 0, 3.5, "4"},
        {D::dtInt, 0, -2.5, "-2"},
        {D::dtInt, 5, 7.0, "+7", false, true},
        {D::dtExp, 3, 1234.5, "1.23E+003"},
        {D::dtExp, 3, 1234.5, "1,23E+003", true},
        {D::dtExp, 0, 1234.5, "1E+003"},                  // precision 0 counts as 1
        {D::dtFloat, 3, 1234.5, "1.23E3"},
        {D::dtFloat, 4, 1234.5, "1234"},
        {D::dtFloat, 3, 0.5, "0.5"},
        {D::dtFloat, 3, 0.5, "+0,5", true, true},
        {D::dtFloat, 0, 0.25, "0.2"},
        // integers in other bases: at least P digits, no separator, hex and bin no plus
        {D::dtHex, 2, 255.0, "FF", false, true},
        {D::dtHex, 4, 255.0, "00FF"},
        {D::dtHex, 2, -255.0, "-FF"},
        {D::dtHex, 0, -9223372036854775808.0, "-8000000000000000"},
        {D::dtBin, 2, 5.0, "101", false, true},
        {D::dtBin, 8, 5.0, "00000101"},
        {D::dtOct, 2, 8.0, "+10", false, true},
        {D::dtZeroInt, 3, 7.0, "007"},
        {D::dtZeroInt, 3, -7.4, "-007"},
        {D::dtZeroInt, 3, 1234.0, "1234"},
        // words and dates keep their own characters
        {D::dtState, 2, 1.5, "undefined", true, true},
        {D::dtDateTime, 2, EncodeDate(2024, 3, 5), "Mar-05, 2024", true, true},
        // angles
        {D::dtDeg, 2, 12.5, "12.50\u00B0"},
        {D::dtDeg, 1, 12.5, "+12,5\u00B0", true, true},
        {D::dtDegMin, 2, 12.5, "12\u00B030.00'"},
        {D::dtDegMin, 2, -12.5, "-12\u00B030.00'"},
        {D::dtDegMin, 2, 12.99999999, "13\u00B000.00'"}, // the rounding carries into the degrees
        {D::dtDegMin, 0, 0.5, "0\u00B030'"},
        {D::dtDegMinSec, 1, 12.5 + 15.5 / 3600, "12\u00B030'15.5\""},
        {D::dtDegMinSec, 1, 0.99999999, "1\u00B000'00.0\""},
        {D::dtDegMinSec, 0, 1.0 / 60, "+0\u00B001'00\"", false, true},
        // engineering notation
        {D::dtEEng, 3, 12345.0, "12.3E+003"},
        {D::dtEEng, 3, 0.00012345, "123E-006"},
        {D::dtEEng, 3, 99.96, "100E+000"},
        {D::dtEEng, 3, 999.96, "1.00E+003"},
        {D::dtEEng, 1, 12345.0, "10E+003"},
        {D::dtEEng, 3, 0.0, "0.00E+000"},
        {D::dtEEng, 4, -1234.5, "-1,234E+003", true},
        {D::dtEEng, 3, 1e-299, "10.0E-300"},
        {D::dtEEng, 2, -0.0, "0.0E+000"},
        {D::dtExp, 15, 1.5e300, "1.50000000000000E+300"},
        {D::dtExp, 2, -0.0, "0.0E+000"},
        {D::dtEEngNoDP, 2, 12345.0, "12E+003"},
        {D::dtEEngNoDP, 2, 999.7, "1E+003"},
        {D::dtEEngNoDP, 2, 99.6, "100E+000"},
        {D::dtEEngNoDP, 2, -1500.0, "-2E+003"},
        {D::dtEEngNoDP, 2, 0.0015, "+2E-003", false, true},
        // an ordinal beyond the named ones shows like dtFixP
        {D::TDisplay(200), 2, 1.5, "+1,50", true, true},
    };
    for (const FormatCase &c : cases) {
        TNumLabFormat format;
        format.DisplayType = c.type;
        format.Precision = c.precision;
        format.Comma = c.comma;
        format.ForcePlusSign = c.plus;
        EXPECT_EQ(FormatNumLabValue(c.value, format), QString::fromUtf8(c.expected))
            << "type " << int(c.type) << " P " << c.precision << " value " << c.value;
    }
}

TEST(NumLabFormat, ValuesWithoutAnIntegerShowTheIndicatorWhereOneIsNeeded)
{
    const double values[] = {kNaN, kInf, -kInf, 1e300, -1e300, 9223372036854775808.0};
    for (int type = 0; type <= D::dtEEngNoDP; ++type) {
        const auto display = D::TDisplay(type);
        const bool needsInteger =
            display == D::dtInt || display == D::dtZeroInt || display == D::dtHex
            || display == D::dtBin || display == D::dtOct || display == D::dtDegMin
            || display == D::dtDegMinSec || display == D::dtDateTime;
        for (const double value : values) {
            TNumLabFormat format;
            format.DisplayType = display;
            format.Precision = 15;
            format.ForcePlusSign = true;
            const QString text = FormatNumLabValue(value, format);
            if (needsInteger)
                EXPECT_EQ(text, format.OverflowIndicator) << "type " << type << " value " << value;
            else
                EXPECT_FALSE(text.isEmpty()) << "type " << type << " value " << value;
        }
    }
}

TEST(NumLabFormat, NonFiniteValuesInFloatingTypes)
{
    TNumLabFormat format;
    format.ForcePlusSign = true;
    for (const auto type : {D::dtFloat, D::dtFixP, D::dtExp, D::dtDeg, D::dtEEng, D::dtEEngNoDP}) {
        format.DisplayType = type;
        EXPECT_EQ(FormatNumLabValue(kNaN, format), "NAN");
        EXPECT_EQ(FormatNumLabValue(kInf, format), "+INF");
        EXPECT_EQ(FormatNumLabValue(-kInf, format), "-INF");
    }
}

// ---- Properties -----------------------------------------------------------------------

TEST(NumLab, DefaultsAtConstruction)
{
    TNumLab label;
    EXPECT_EQ(label.size(), QSize(160, 28));
    EXPECT_EQ(label.sizeHint(), QSize(160, 28));
    EXPECT_EQ(label.GetValue(), 0.0);
    EXPECT_EQ(label.GetDisplayType(), D::dtFixP);
    EXPECT_EQ(label.GetPrecision(), 2);
    EXPECT_EQ(label.GetLeftSpace(), 35);
    EXPECT_EQ(label.GetLabelWidth(), 80);
    EXPECT_EQ(label.GetLeftTextAlignment(), taRightJustify);
    EXPECT_EQ(label.GetRightTextAlignment(), taLeftJustify);
    EXPECT_EQ(label.GetAlignment(), taCenter);
    EXPECT_EQ(label.GetOverflowIndicator(), "*********");
    EXPECT_EQ(label.GetStateText(), "undefined");
    EXPECT_EQ(label.GetDTFormat(), "mmm-dd, yyyy");
    EXPECT_EQ(label.GetFrameStyle(), TFrameStyle(2));
    EXPECT_EQ(label.GetColorLabBakG(), 0xFF00000Fu);
    EXPECT_EQ(label.GetColorOutBakG(), 0xFF00000Fu);
    EXPECT_EQ(label.GetColorLabText(), 0u);
    EXPECT_EQ(label.GetColorOutText(), 0u);
    EXPECT_EQ(label.GetColorScheme(), TColorScheme(0));
    EXPECT_FALSE(label.GetComma() || label.GetForcePlusSign() || label.GetEmpty()
                 || label.GetTransparent());
    EXPECT_TRUE(label.GetEnabled());
    EXPECT_EQ(label.GetMouseAreaCode(), 0);
    EXPECT_EQ(label.DisplayText(), "0.00");
}

TEST(NumLab, SetterClamps)
{
    TNumLab label;
    label.SetPrecision(20);
    EXPECT_EQ(label.GetPrecision(), 15);
    label.SetPrecision(-1);
    EXPECT_EQ(label.GetPrecision(), 15);
    label.SetLeftSpace(500);
    EXPECT_EQ(label.GetLeftSpace(), 160);
    label.SetLeftSpace(-3);
    EXPECT_EQ(label.GetLeftSpace(), 160);
    label.SetLabelWidth(-5); // stored as given
    EXPECT_EQ(label.GetLabelWidth(), -5);
    label.SetDisplayType(D::TDisplay(200)); // any ordinal is kept
    EXPECT_EQ(label.GetDisplayType(), D::TDisplay(200));
    EXPECT_EQ(label.DisplayText(), "0.000000000000000");
}

TEST(NumLab, AlignmentsAndFrameStyleOutsideTheirEnumerationsAreRefused)
{
    // A misspelt key in a form arrives as 255; DisplayType alone keeps any ordinal.
    TNumLab label;
    for (const char *name : {"Alignment", "LeftTextAlignment", "RightTextAlignment", "FrameStyle"}) {
        const QVariant before = label.property(name);
        label.setProperty(name, 255);
        EXPECT_EQ(label.property(name), before) << name;
    }
}

TEST(NumLab, FormsSetEnumPropertiesByOrdinal)
{
    TNumLab label;
    EXPECT_TRUE(label.setProperty("Alignment", int(taLeftJustify)));
    EXPECT_TRUE(label.setProperty("DisplayType", int(D::dtHex)));
    EXPECT_TRUE(label.setProperty("FrameStyle", int(fsRaised)));
    EXPECT_TRUE(label.setProperty("ColorScheme", 1));
    EXPECT_TRUE(label.setProperty("Value", 255.0));
    EXPECT_EQ(label.GetAlignment(), taLeftJustify);
    EXPECT_EQ(label.GetDisplayType(), D::dtHex);
    EXPECT_EQ(label.GetFrameStyle(), fsRaised);
    EXPECT_EQ(label.GetColorScheme(), TColorScheme(1));
    EXPECT_EQ(label.DisplayText(), "FF");
}

TEST(NumLab, SettersRepaintOnceOnChangeAndNeverOnEqualValues)
{
    auto label = MakeLabel();
    label->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(label.get()));
    QCoreApplication::processEvents();
    PaintCounter paints(label.get());
    int valueSignals = 0;
    QObject::connect(label.get(), &TNumLab::ValueChanged, [&] { ++valueSignals; });

    const std::function<void(TNumLab &)> changes[] = {
        [](TNumLab &l) { l.SetValue(1.25); },
        [](TNumLab &l) { l.SetDisplayType(D::dtExp); },
        [](TNumLab &l) { l.SetPrecision(4); },
        [](TNumLab &l) { l.SetComma(true); },
        [](TNumLab &l) { l.SetForcePlusSign(true); },
        [](TNumLab &l) { l.SetLeftSpace(40); },
        [](TNumLab &l) { l.SetLabelWidth(70); },
        [](TNumLab &l) { l.SetLeftText("U"); },
        [](TNumLab &l) { l.SetRightText("V"); },
        [](TNumLab &l) { l.SetAlignment(taLeftJustify); },
        [](TNumLab &l) { l.SetLeftTextAlignment(taCenter); },
        [](TNumLab &l) { l.SetRightTextAlignment(taCenter); },
        [](TNumLab &l) { l.SetOverflowIndicator("#"); },
        // The state text and the date format show in their own display types only.
        [](TNumLab &l) { l.SetDisplayType(D::dtState); },
        [](TNumLab &l) { l.SetStateText("on"); },
        [](TNumLab &l) { l.SetDisplayType(D::dtDateTime); },
        [](TNumLab &l) { l.SetDTFormat("yyyy"); },
        [](TNumLab &l) { l.SetFrameStyle(fsRaised); },
        [](TNumLab &l) { l.SetColorLabBakG(clr::White); },
        [](TNumLab &l) { l.SetColorLabText(clr::Navy); },
        [](TNumLab &l) { l.SetColorOutBakG(clr::Silver); },
        [](TNumLab &l) { l.SetColorOutText(clr::Maroon); },
        [](TNumLab &l) { l.SetColorScheme(csSystem); },
        // Last of the value's settings: an empty box shows none of them.
        [](TNumLab &l) { l.SetEmpty(true); },
        [](TNumLab &l) { l.SetEnabled(false); },
    };
    int index = 0;
    for (const auto &change : changes) {
        paints.Count = 0;
        change(*label);
        EXPECT_EQ(paints.Count, 1) << "change " << index;
        change(*label);
        QCoreApplication::processEvents();
        EXPECT_EQ(paints.Count, 1) << "repeated change " << index;
        ++index;
    }
    EXPECT_EQ(valueSignals, 1);
    // A NaN equals no value, not even itself; writing it twice must still be one change.
    label->SetValue(kNaN);
    label->SetValue(kNaN);
    EXPECT_EQ(valueSignals, 2);
}

TEST(NumLab, SettingsRepaintOnlyWhereThePictureShowsThem)
{
    using S = TShownSetting<TNumLab>;
    // The value and the settings of its text, hidden by an empty box.
    const auto emptyBox = [] {
        auto label = MakeLabel();
        label->SetEmpty(true);
        return label;
    };
    const auto filled = [](TNumLab &l) { l.SetEmpty(false); };
    ExpectPaintsOnlyWhereShown<TNumLab>(emptyBox, {
        S{"Value", filled, [](TNumLab &l) { l.SetValue(2.5); }},
        S{"DisplayType", filled, [](TNumLab &l) { l.SetDisplayType(D::dtExp); }},
        S{"Precision", filled, [](TNumLab &l) { l.SetPrecision(5); }},
        S{"Comma", filled, [](TNumLab &l) { l.SetComma(true); }},
        S{"ForcePlusSign", filled, [](TNumLab &l) { l.SetForcePlusSign(true); }},
        S{"Alignment", filled, [](TNumLab &l) { l.SetAlignment(taLeftJustify); }},
        S{"OverflowIndicator", filled, [](TNumLab &l) { l.SetOverflowIndicator("#"); }},
        // It also gives the box its ground under a transparent copy.
        S{"ColorLabText", [](TNumLab &l) { l.SetTransparent(true); },
          [](TNumLab &l) { l.SetColorLabText(clr::Navy); }},
    });
    ExpectPaintsOnlyWhereShown<TNumLab>(MakeLabel, {
        S{"StateText", [](TNumLab &l) { l.SetDisplayType(D::dtState); },
          [](TNumLab &l) { l.SetStateText("on"); }},
        S{"DTFormat", [](TNumLab &l) { l.SetDisplayType(D::dtDateTime); },
          [](TNumLab &l) { l.SetDTFormat("yyyy"); }},
        S{"LeftTextAlignment", [](TNumLab &l) { l.SetLeftText("L"); },
          [](TNumLab &l) { l.SetLeftTextAlignment(taCenter); }},
        S{"RightTextAlignment", [](TNumLab &l) { l.SetRightText("R"); },
          [](TNumLab &l) { l.SetRightTextAlignment(taCenter); }},
        S{"ColorOutText", [](TNumLab &l) { l.SetRightText("R"); },
          [](TNumLab &l) { l.SetColorOutText(clr::Maroon); }},
        // The simple frame of MakeLabel is black: the scheme shows on a 3-D frame only.
        S{"ColorScheme", [](TNumLab &l) { l.SetFrameStyle(fsLowered); },
          [](TNumLab &l) { l.SetColorScheme(csSystem); }},
    });
    const auto frameless = [] {
        auto label = MakeLabel();
        label->SetFrameStyle(fsNone);
        return label;
    };
    ExpectPaintsOnlyWhereShown<TNumLab>(frameless, {
        S{"ColorScheme without a frame", [](TNumLab &l) { l.SetFrameStyle(fsRaised); },
          [](TNumLab &l) { l.SetColorScheme(csSystem); }},
    });
}

TEST(NumLab, AValueSetIntoAnEmptyBoxIsAnnouncedAndShowsWhenTheBoxFills)
{
    TNumLab label;
    label.SetEmpty(true);
    QSignalSpy changed(&label, &TNumLab::ValueChanged);
    label.SetValue(2.5);
    EXPECT_EQ(changed.count(), 1);
    label.SetEmpty(false);
    EXPECT_EQ(label.DisplayText(), "2.50");
}

TEST(NumLab, ValueIsTheNotifyingUserProperty)
{
    TNumLab label;
    ExpectNotifyingUserProperty(label, "Value", 2.5);
}

TEST(NumLab, KeyAndMouseEventsFire) { ExpectInputEvents<TNumLab>(); }

// ---- Painting -------------------------------------------------------------------------

TEST(NumLabPaint, BackgroundAndFrameOfTheValueBox)
{
    auto label = MakeLabel();
    const int LS = 35, LW = 80, H = 28;
    const QImage image = Grab(label.get());
    const struct {
        int x, y;
        TColor expected;
    } probes[] = {
        {0, 0, kOut},        {159, 27, kOut},                      // background
        {LS, 10, kOut},      {LS + 1, 10, clr::Black},             // frame's left line
        {LS + LW, 10, clr::Black}, {LS + LW + 1, 10, kOut},        // its right line
        {LS + 10, 0, clr::Black}, {LS + 10, H - 2, clr::Black},    // top and bottom lines
        {LS + 10, H - 1, kOut},                                    // below the box
        {LS + 2, 1, kBox},   {LS + LW - 1, H - 3, kBox},           // inside the box
    };
    for (const auto &p : probes)
        EXPECT_EQ(PixelAt(image, p.x, p.y), p.expected) << "at " << p.x << "," << p.y;
}

TEST(NumLabPaint, ColorSchemeChoosesTheFramesWhiteAndGrayLines)
{
    // A sunken box: the outer line is gray at the top left and white at the bottom right.
    QPalette palette;
    palette.setColor(QPalette::Active, QPalette::Dark, QColor(1, 2, 3));
    palette.setColor(QPalette::Active, QPalette::Light, QColor(4, 5, 6));
    const int LS = 35, LW = 80;
    const struct {
        TColorScheme scheme;
        TColor gray, white;
    } cases[] = {
        {csClassic, clr::Gray, clr::White},
        {csSystem, RGBColor(1, 2, 3), RGBColor(4, 5, 6)},
    };
    for (const auto &c : cases) {
        auto label = MakeLabel();
        label->setPalette(palette);
        label->SetFrameStyle(fsLowered);
        label->SetColorScheme(c.scheme);
        const QImage image = Grab(label.get());
        EXPECT_EQ(PixelAt(image, LS + 1, 10), c.gray) << int(c.scheme);
        EXPECT_EQ(PixelAt(image, LS + LW, 10), c.white) << int(c.scheme);
    }
}

TEST(NumLabPaint, TextPositionsOfTheThreeAlignments)
{
    auto label = MakeLabel();
    const int LS = 35, LW = 80, W = 160;
    label->SetLeftSpace(LS);
    label->SetValue(7);
    label->SetPrecision(0);
    label->SetLeftText("L");
    label->SetRightText("R");
    const int valueWidth = TextWidth("7"), leftWidth = TextWidth("L"), rightWidth = TextWidth("R");
    const QRect leftArea(0, 0, LS, 28), box(LS + 3, 2, LW - 4, 23), rightArea(LS + LW + 1, 0, W - LS - LW - 1, 28);

    const struct {
        TAlignment alignment;
        int valueX, leftX, rightX;
    } cases[] = {
        {taLeftJustify, LS + 4, 7, LS + LW + 7},
        {taRightJustify, LS + LW - 2 - valueWidth, LS - leftWidth - 5, W - rightWidth - 6},
        {taCenter, LS + 2 + (LW - valueWidth) / 2, (LS - leftWidth) / 2,
         (W - LS - LW - rightWidth) / 2 + LS + LW + 1},
    };
    // The glyphs' left bearing is the font's; what the rule fixes is that each text
    // starts at its formula's X, so the ink lies at the same offset from X every time.
    std::optional<int> valueBearing, leftBearing, rightBearing;
    for (const auto &c : cases) {
        label->SetAlignment(c.alignment);
        label->SetLeftTextAlignment(c.alignment);
        label->SetRightTextAlignment(c.alignment);
        const QImage image = Grab(label.get());
        const int value = InkIn(image, box, kBox).left() - c.valueX;
        const int left = InkIn(image, leftArea, kOut).left() - c.leftX;
        const int right = InkIn(image, rightArea, kOut).left() - c.rightX;
        EXPECT_EQ(value, valueBearing.value_or(value)) << "alignment " << int(c.alignment);
        EXPECT_EQ(left, leftBearing.value_or(left)) << "alignment " << int(c.alignment);
        EXPECT_EQ(right, rightBearing.value_or(right)) << "alignment " << int(c.alignment);
        valueBearing = value;
        leftBearing = left;
        rightBearing = right;
    }
    for (const int bearing : {*valueBearing, *leftBearing, *rightBearing}) {
        EXPECT_GE(bearing, 0);
        EXPECT_LE(bearing, 2);
    }
}

TEST(NumLabPaint, TooWideTextShowsTheIndicatorAlignedByItsOwnWidth)
{
    for (const TAlignment alignment : {taLeftJustify, taRightJustify, taCenter}) {
        auto wide = MakeLabel();
        wide->SetAlignment(alignment);
        wide->SetOverflowIndicator("#");
        wide->SetValue(1e12); // "1000000000000.00" is wider than LabelWidth - 6
        auto reference = MakeLabel();
        reference->SetAlignment(alignment);
        reference->SetDisplayType(D::dtState);
        reference->SetStateText("#");
        EXPECT_EQ(Grab(wide.get()), Grab(reference.get())) << "alignment " << int(alignment);
    }
}

TEST(NumLabPaint, ReplacedTextFromTheEventIsMeasuredAndMayOverflow)
{
    auto label = MakeLabel();
    int calls = 0;
    label->OnBeforeDisplay = [&](QObject *sender, QString &text) {
        EXPECT_EQ(sender, label.get());
        EXPECT_EQ(text, "1.50");
        text = "a text far too long for the box";
        ++calls;
    };
    label->SetValue(1.5);
    calls = 0;
    const QImage image = Grab(label.get());
    EXPECT_EQ(calls, 1);

    auto reference = MakeLabel();
    reference->SetDisplayType(D::dtState);
    reference->SetStateText("*********");
    EXPECT_EQ(image, Grab(reference.get()));
}

TEST(NumLabPaint, StateTextIsClippedNotReplaced)
{
    auto label = MakeLabel();
    label->SetDisplayType(D::dtState);
    label->SetStateText("WWWWWWWWWWWWWWWWWWWWWWWW");
    const QImage image = Grab(label.get());
    // Inside the frame (36..115 x 0..26) the text is clipped to R = (LS + 3, 2,
    // LS + LW - 1, H - 3), right and bottom excluded: x 38..113, y 2..24.
    const QRect inside(37, 1, 78, 25);
    const QRect ink = InkIn(image, inside, kBox);
    EXPECT_EQ(ink.left(), 38);
    EXPECT_EQ(ink.right(), 113);
    EXPECT_GE(ink.top(), 2);
    EXPECT_LE(ink.bottom(), 24);
    EXPECT_EQ(CountPixels(image, QRect(37, 1, 1, 25), kBox), 25);
    EXPECT_EQ(CountPixels(image, QRect(114, 1, 1, 25), kBox), 25);
}

TEST(NumLabPaint, EmptyDrawsFrameAndSideTextsButNoValueAndNoEvent)
{
    auto label = MakeLabel();
    label->SetLeftText("L");
    label->SetRightText("R");
    label->SetValue(123);
    label->SetEmpty(true);
    int calls = 0;
    label->OnBeforeDisplay = [&](QObject *, QString &) { ++calls; };
    const QImage image = Grab(label.get());
    EXPECT_EQ(calls, 0);
    const QRect box(37, 1, 78, 25); // inside the frame
    EXPECT_EQ(CountPixels(image, box, kBox), box.width() * box.height());
    EXPECT_FALSE(InkIn(image, QRect(0, 0, 35, 28), kOut).isNull());
    EXPECT_FALSE(InkIn(image, QRect(117, 0, 43, 28), kOut).isNull());
}

TEST(NumLabPaint, DisabledTextsAreEngraved)
{
    auto label = MakeLabel();
    label->SetLeftText("Lg");
    label->SetRightText("Rg");
    label->SetValue(7);
    label->SetEnabled(false);
    EXPECT_FALSE(label->isEnabled());
    const QImage image = Grab(label.get());
    for (const QRect area : {QRect(0, 0, 35, 28), QRect(116, 0, 44, 28)}) {
        const QRect white = PixelsOf(image, area, clr::White);
        const QRect gray = PixelsOf(image, area, clr::Gray);
        ASSERT_FALSE(white.isNull());
        ASSERT_FALSE(gray.isNull());
        // The white pass lies one pixel right and down; the gray pass covers the rest.
        EXPECT_EQ(white.right(), gray.right() + 1);
        EXPECT_EQ(white.bottom(), gray.bottom() + 1);
        EXPECT_EQ(PixelsOf(image, area, kInk), QRect());
    }
    // The value text takes the button shadow colour.
    const TColor shadow = ColorToRGB(clr::BtnShadow, label->palette());
    EXPECT_GT(CountPixels(image, QRect(38, 2, 76, 23), shadow), 0);
}

TEST(NumLabPaint, TransparentLetsTheParentThrough)
{
    QWidget parent;
    parent.resize(200, 40);
    parent.setAutoFillBackground(true);
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, QColor(0xC0, 0x20, 0x20));
    parent.setPalette(palette);
    auto *label = MakeLabel().release();
    label->setParent(&parent);
    label->move(10, 5);
    label->SetTransparent(true);
    label->SetValue(1e12); // nine asterisks in the box, nothing over the probes below
    const QImage image = Grab(&parent);
    const TColor parentColour = RGBColor(0xC0, 0x20, 0x20);
    EXPECT_EQ(PixelAt(image, 10, 5), parentColour);               // outside the box
    EXPECT_EQ(PixelAt(image, 10 + 159, 5 + 27), parentColour);
    EXPECT_EQ(PixelAt(image, 10 + 36, 5 + 10), clr::Black);        // the frame stays
    EXPECT_EQ(PixelAt(image, 10 + 40, 5 + 3), kBox);               // the box keeps its colour
}

TEST(NumLabPaint, DevicePixelRatioTwoShowsTheSamePictureScaled)
{
    auto label = MakeLabel();
    label->SetLeftText("L");
    label->SetValue(-3.25);
    const QImage single = Grab(label.get());
    QImage twice(320, 56, QImage::Format_RGB32);
    twice.setDevicePixelRatio(2);
    twice.fill(Qt::magenta);
    label->render(&twice);
    twice.setDevicePixelRatio(1);
    const QPoint probes[] = {{0, 0}, {36, 10}, {115, 10}, {50, 26}, {50, 27}, {70, 3}, {159, 27}};
    for (const QPoint p : probes)
        for (const QPoint d : {QPoint(0, 0), QPoint(1, 1)})
            EXPECT_EQ(PixelAt(twice, 2 * p.x() + d.x(), 2 * p.y() + d.y()), PixelAt(single, p.x(), p.y()))
                << "at " << p.x() << "," << p.y();
}

TEST(NumLabPaint, PictureFollowsFontPaletteAndSizeChanges)
{
    QPalette palette = QApplication::palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Button, QColor(10, 20, 30));
    const std::function<void(TNumLab &)> changes[] = {
        [](TNumLab &l) { l.setFont(PinnedFont(20)); },
        [&](TNumLab &l) { l.setPalette(palette); },
        [](TNumLab &l) { l.resize(200, 40); },
    };
    auto label = MakeLabel();
    label->SetColorOutBakG(clr::BtnFace); // a system colour: it follows the palette
    label->SetValue(8.5);
    auto fresh = MakeLabel();
    fresh->SetColorOutBakG(clr::BtnFace);
    fresh->SetValue(8.5);
    int index = 0;
    for (const auto &change : changes) {
        Grab(label.get()); // a picture made with the settings before the change
        change(*label);
        change(*fresh);
        EXPECT_EQ(Grab(label.get()), Grab(fresh.get())) << "change " << index++;
    }
    EXPECT_EQ(PixelAt(Grab(label.get()), 199, 0), ColorToRGB(clr::BtnFace, palette));
}

/// Switches the visual styles on for one test.
class StylesOn
{
public:
    StylesOn() { StyleServices::SetEnabled(true); }
    ~StylesOn() { StyleServices::SetEnabled(false); }
};

TEST(NumLabPaint, AKeptPictureShowsEveryLaterChangeAsAFreshPaintWould)
{
    // A paint redraws only the value text over the picture of the last paint while no
    // other setting changed: each step here follows a paint of the step before.
    auto source = MakeLabel();
    source->SetLeftText("Lf");
    source->SetValue(-3);
    const struct {
        std::function<void(TNumLab &)> change;
        bool showsOther = true;
    } steps[] = {
        {[](TNumLab &l) { l.SetValue(1234.25); }},
        {[](TNumLab &l) { l.SetValue(1); }}, // a shorter text over a longer one
        {[](TNumLab &l) { l.SetValue(1.001); }, false}, // the same text again
        {[](TNumLab &l) { l.SetColorLabBakG(clr::Aqua); }},
        {[](TNumLab &l) { l.SetValue(2); }}, // a value over a changed setting
        {[](TNumLab &l) { l.SetRightText("Rg"); }},
        {[](TNumLab &l) { l.SetEnabled(false); }},
        {[](TNumLab &l) { l.SetEnabled(true); }},
        {[&](TNumLab &l) { l.Assign(source.get()); }},
        {[](TNumLab &l) { StyleServices::SetEnabled(true); }}, // a switch no widget hears of
    };
    auto label = MakeLabel();
    label->SetValue(8.5);
    int index = 0;
    for (const auto &step : steps) {
        StyleServices::SetEnabled(false);
        const QImage before = Grab(label.get());
        step.change(*label);
        auto fresh = MakeLabel();
        fresh->Assign(label.get());
        fresh->SetEnabled(label->GetEnabled());
        const QImage after = Grab(label.get());
        EXPECT_EQ(after, Grab(fresh.get())) << "step " << index;
        EXPECT_EQ(after != before, step.showsOther) << "step " << index++;
    }
    StyleServices::SetEnabled(false);
}

TEST(NumLabPaint, VisualStylesColourBackgroundBoxFrameAndTexts)
{
    StylesOn styles;
    auto label = MakeLabel();
    label->SetFrameStyle(fsLowered);
    label->SetLeftText("Lg");
    label->SetValue(7);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, QColor(200, 210, 220));
    palette.setColor(QPalette::Base, QColor(230, 240, 250));
    palette.setColor(QPalette::Active, QPalette::WindowText, QColor(5, 6, 7));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(150, 100, 50));
    palette.setColor(QPalette::Dark, QColor(90, 80, 70)); // button shadow
    label->setPalette(palette);
    const TColor window = RGBColor(200, 210, 220), grid = RGBColor(230, 240, 250);
    const QRect leftArea(0, 0, 35, 28);

    QImage image = Grab(label.get());
    EXPECT_EQ(PixelAt(image, 0, 0), window);                     // not ColorOutBakG
    EXPECT_EQ(PixelAt(image, 40, 4), grid);                      // not ColorLabBakG
    EXPECT_EQ(PixelAt(image, 36, 10), RGBColor(90, 80, 70));     // lowered frame's outer shadow
    EXPECT_GT(CountPixels(image, leftArea, RGBColor(5, 6, 7)), 0); // panel text, not ColorOutText
    EXPECT_GT(CountPixels(image, QRect(38, 2, 76, 23), RGBColor(5, 6, 7)), 0);

    // Disabled under styles: one pass in the style's disabled text colour, no gray pass.
    label->SetEnabled(false);
    image = Grab(label.get());
    EXPECT_GT(CountPixels(image, leftArea, RGBColor(150, 100, 50)), 0);
    EXPECT_EQ(CountPixels(image, leftArea, clr::Gray), 0);
    EXPECT_EQ(CountPixels(image, leftArea, clr::White), 0);
}

TEST(NumLab, EnabledIsTheControlsOwnSwitch)
{
    QWidget parent;
    auto *label = new TNumLab(&parent);
    label->setEnabled(false); // the widget's switch, set around the property
    EXPECT_FALSE(label->GetEnabled());
    label->SetEnabled(true);
    EXPECT_TRUE(label->isEnabled());
    label->SetLeftText("L");
    parent.setEnabled(false); // a disabled parent disables, but does not switch
    EXPECT_TRUE(label->GetEnabled());
    EXPECT_FALSE(label->isEnabled());
    EXPECT_GT(CountPixels(Grab(label), QRect(0, 0, 35, 28), clr::Gray), 0); // engraved
}

TEST(NumLab, TransparentRepaintsDeferredWhenSwitchedOnAndAtOnceWhenOff)
{
    QWidget parent;
    auto *label = new TNumLab(&parent);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    QCoreApplication::processEvents();
    PaintCounter paints(label);
    label->SetTransparent(true);
    EXPECT_EQ(paints.Count, 0); // the parent paints the background first
    QCoreApplication::processEvents();
    EXPECT_EQ(paints.Count, 1);
    label->SetTransparent(false);
    EXPECT_EQ(paints.Count, 2);
}

TEST(NumLabPaint, ExtremeGeometryDrawsWithoutFault)
{
    constexpr int kMax = std::numeric_limits<int>::max(), kMin = std::numeric_limits<int>::min();
    const struct {
        int leftSpace, labelWidth, width, height, mouseX, code;
    } cases[] = {
        {35, kMax, 160, 28, 100, 1}, {35, kMin, 160, 28, 100, 2}, {35, -20, 160, 28, 20, 2},
        {0, 0, 160, 28, 1, 2},       {160, 80, 160, 28, 159, 0},  {35, 80, 1, 1, 0, 0},
        {35, 80, 160, 3, 50, 1},
    };
    for (const auto &c : cases) {
        auto label = MakeLabel();
        label->resize(c.width, c.height);
        label->SetLeftSpace(c.leftSpace);
        label->SetLabelWidth(c.labelWidth);
        label->SetLeftText("left");
        label->SetRightText("right");
        label->SetValue(-12.5);
        for (const bool transparent : {false, true}) {
            label->SetTransparent(transparent);
            EXPECT_EQ(Grab(label.get()).size(), QSize(c.width, c.height));
        }
        QMouseEvent move(QEvent::MouseMove, QPointF(c.mouseX, 0), QPointF(c.mouseX, 0), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(label.get(), &move);
        EXPECT_EQ(label->GetMouseAreaCode(), c.code) << "LabelWidth " << c.labelWidth;
    }
}

// ---- Mouse ----------------------------------------------------------------------------

TEST(NumLab, MouseAreaCodeFollowsThePointer)
{
    auto label = MakeLabel();
    ExpectHoverFollowsTheAreas(*label, {{2, 0}, {35, 0}, {36, 1}, {115, 1}, {116, 2}, {150, 2}, {35, 0}});
}

TEST(NumLab, ExceptionsOfHandlersStopAtTheEventBorder)
{
    QStringList caught;
    SetApplicationExceptionHandler([&](const std::exception &error) { caught << error.what(); });
    auto label = MakeLabel();
    label->OnBeforeDisplay = [](QObject *, QString &) { throw Exception("display failed"); };
    label->OnMouseMove = [](QObject *, Qt::KeyboardModifiers, int, int) { throw Exception("move failed"); };
    Grab(label.get());
    QMouseEvent move(QEvent::MouseMove, QPointF(50, 5), QPointF(50, 5), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(label.get(), &move);
    SetApplicationExceptionHandler(nullptr);
    EXPECT_EQ(caught, QStringList({"display failed", "move failed"}));
    EXPECT_EQ(label->GetMouseAreaCode(), 1);
}

// ---- Assign ---------------------------------------------------------------------------

TEST(NumLab, AssignCopiesTheListedFieldsOnly)
{
    QWidget wide;
    auto *source = new TNumLab(&wide);
    source->resize(400, 28);
    source->SetLeftSpace(300); // more than the target's width: copied as it is
    source->SetEmpty(true);
    source->SetLabelWidth(60);
    source->SetPrecision(5);
    source->SetLeftText("left");
    source->SetRightText("right");
    source->SetFrameStyle(fsRaised);
    source->SetAlignment(taLeftJustify);
    source->SetRightTextAlignment(taCenter);
    source->SetLeftTextAlignment(taLeftJustify);
    source->SetOverflowIndicator("#");
    source->SetValue(2.5);
    source->SetStateText("on");
    source->SetTransparent(true);
    source->SetColorLabBakG(1);
    source->SetColorLabText(2);
    source->SetColorOutBakG(3);
    source->SetColorOutText(4);
    source->SetColorScheme(csSystem);
    source->SetDisplayType(D::dtEEng);
    source->SetComma(true);
    source->SetForcePlusSign(true);
    source->SetDTFormat("yyyy");
    source->SetEnabled(false);

    TNumLab target;
    int valueSignals = 0;
    QObject::connect(&target, &TNumLab::ValueChanged, [&] { ++valueSignals; });
    target.Assign(source);
    const char *copied[] = {"LeftSpace", "Empty", "LabelWidth", "Precision", "LeftText",
                            "RightText", "FrameStyle", "Alignment", "RightTextAlignment",
                            "LeftTextAlignment", "OverflowIndicator", "Value", "StateText",
                            "Transparent", "ColorLabBakG", "ColorLabText", "ColorOutBakG",
                            "ColorOutText", "ColorScheme", "DisplayType"};
    for (const char *name : copied)
        EXPECT_EQ(target.property(name), source->property(name)) << name;
    TNumLab fresh;
    for (const char *name : {"Comma", "ForcePlusSign", "DTFormat", "Enabled"})
        EXPECT_EQ(target.property(name), fresh.property(name)) << name;
    EXPECT_EQ(valueSignals, 1);

    // AssignTo is the same copy seen from the source.
    TNumLab other;
    source->AssignTo(&other);
    EXPECT_EQ(other.GetLeftSpace(), 300);
    EXPECT_EQ(other.GetDisplayType(), D::dtEEng);
}

TEST(NumLab, AssignFromAnotherClassThrowsAndChangesNothing)
{
    TNumLab target;
    target.SetValue(4);
    QWidget stranger;
    try {
        target.Assign(&stranger);
        FAIL() << "no exception";
    } catch (const EConvertError &error) {
        EXPECT_EQ(error.Message(), "Cannot assign a QWidget to a nvo::TNumLab");
    }
    EXPECT_THROW(target.Assign(nullptr), EConvertError);
    EXPECT_THROW(target.AssignTo(&stranger), EConvertError);
    EXPECT_EQ(target.GetValue(), 4.0);
}
