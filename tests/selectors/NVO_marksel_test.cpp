#include "ControlContract.h"
#include "EventRecorder.h"
#include "MouseMove.h"
#include "NVO_marksel.h"
#include "PaintCounter.h"
#include "PixelProbe.h"

#include <QtGui/QAccessible>
#include <QtWidgets/QApplication>
#include <QtTest/QSignalSpy>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <memory>

using namespace nvo;
using namespace nvo::test;

namespace {

constexpr TColor kGround = RGBColor(0xE8, 0xE8, 0xD0);
constexpr TColor kMarks = RGBColor(0x10, 0x20, 0x30);
constexpr TColor kSelFG = RGBColor(0x00, 0x00, 0xA0);
constexpr TColor kSelBG = RGBColor(0xA0, 0xF0, 0xA0);
constexpr TColor kHiBG = RGBColor(0xF0, 0x60, 0x20);
constexpr TColor kHiSymbol = RGBColor(0xFF, 0xFF, 0x80);

/// A selector in plain colours with a one-line frame, so every pixel tells who painted it.
std::unique_ptr<TMarkSel> MakeSelector()
{
    auto selector = std::make_unique<TMarkSel>();
    selector->SetColorBackGnd(kGround);
    selector->SetColorMarks(kMarks);
    selector->SetColorSelFG(kSelFG);
    selector->SetColorSelBG(kSelBG);
    selector->SetColorHiLiteBG(kHiBG);
    selector->SetColorHiLiteSymbol(kHiSymbol);
    selector->SetFrameStyle(fsSimple);
    return selector;
}

std::unique_ptr<TMarkSel> ShownSelector()
{
    auto selector = MakeSelector();
    selector->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(selector.get()));
    QCoreApplication::processEvents();
    return selector;
}

std::array<bool, NrOfMarks> AllShown()
{
    std::array<bool, NrOfMarks> shown;
    shown.fill(true);
    return shown;
}

QString Hex(TColor color) { return QString::number(color, 16); }

/// The reference point of the default 236 x 178 grid's cell `k`.
QPoint DefaultCell(int k) { return {14 + 29 * (k % 8), 14 + 29 * (k / 8)}; }

} // namespace

// ---- Layout ------------------------------------------------------------------------------

TEST(MarkSelLayout, ShownSymbolsTakeTheCellsRowByRow)
{
    std::array<bool, NrOfMarks> someHidden = AllShown();
    someHidden[1] = someHidden[3] = false;
    const struct {
        QSize size;
        int columns, rows;
        std::array<bool, NrOfMarks> shown;
        int mark;
        QPoint expected;
    } cases[] = {
        {{236, 178}, 8, 6, AllShown(), 0, {14, 14}},
        {{236, 178}, 8, 6, AllShown(), 9, {43, 43}},
        {{236, 178}, 8, 6, AllShown(), 51, {101, 188}}, // below the last row
        {{236, 178}, 8, 6, someHidden, 2, {43, 14}},
        {{236, 178}, 8, 6, someHidden, 4, {72, 14}},
        {{436, 178}, 8, 6, AllShown(), 1, {81, 14}},
        {{236, 178}, 13, 4, AllShown(), 14, {8 + 17, 21 + 43}},
        {{3, 3}, 8, 6, AllShown(), 9, {0, 0}},          // cells of size 0 on a tiny control
    };
    for (const auto &c : cases) {
        const TMarkLayout layout = MarkSelLayout(c.size, c.columns, c.rows, c.shown);
        EXPECT_EQ(layout.Coords[c.mark], c.expected) << c.size.width() << " " << c.columns << " mark " << c.mark;
        EXPECT_EQ(layout.MarginHorz, layout.DistHorz / 2);
        EXPECT_EQ(layout.MarginVert, layout.DistVert / 2);
    }
}

TEST(MarkSelLayout, TheNearestSymbolWinsAndTheLowerNumberBreaksTies)
{
    // Two columns 20 pixels apart: reference points at x = 10 and x = 30.
    const TMarkLayout layout = MarkSelLayout({44, 44}, 2, 2, AllShown());
    const struct {
        QPoint point;
        int expected;
    } cases[] = {
        {{10, 10}, 0}, {{19, 10}, 0}, {{20, 10}, 0}, {{21, 10}, 1},
        {{20, 20}, 0}, // four at the same distance
        {{30, 20}, 1}, {{31, 21}, 3}, {{-100, 600}, 50}, {{500, 600}, 51},
    };
    for (const auto &c : cases)
        EXPECT_EQ(NearestMark(layout, c.point), c.expected) << c.point.x() << "," << c.point.y();
    std::array<bool, NrOfMarks> none{};
    EXPECT_EQ(NearestMark(MarkSelLayout({44, 44}, 2, 2, none), {30, 30}), 0);
}

// ---- Properties ----------------------------------------------------------------------

TEST(MarkSel, StartsWithAllSymbolsInEightBySixCellsAndNoSelection)
{
    TMarkSel selector;
    EXPECT_EQ(selector.size(), QSize(236, 178));
    EXPECT_EQ(selector.sizeHint(), QSize(236, 178));
    EXPECT_EQ(selector.GetNrOfColumns(), 8);
    EXPECT_EQ(selector.GetNrOfRows(), 6);
    EXPECT_EQ(selector.GetSelected(), -1);
    EXPECT_EQ(selector.GetColorBackGnd(), clr::BtnFace);
    EXPECT_EQ(selector.GetColorMarks(), clr::Black);
    EXPECT_EQ(selector.GetColorSelFG(), 0x800000u);
    EXPECT_EQ(selector.GetColorSelBG(), 0xFFFFFFu);
    EXPECT_EQ(selector.GetColorHiLiteBG(), 0x0000FFu);
    EXPECT_EQ(selector.GetColorHiLiteSymbol(), 0xFFFFFFu);
    EXPECT_EQ(selector.GetFrameStyle(), fsEngraved);
    EXPECT_TRUE(selector.GetShowZeroAsCross());
    EXPECT_TRUE(selector.GetEnabled());
    for (int mark = 0; mark < NrOfMarks; ++mark)
        EXPECT_TRUE(selector.GetMarkVisible(mark));
    EXPECT_EQ(selector.HighlightedMark(), -1);
}

TEST(MarkSel, SettersIgnoreValuesOutsideTheirRanges)
{
    auto selector = MakeSelector();
    QSignalSpy selections(selector.get(), &TMarkSel::SelectedChanged);
    const struct {
        const char *property;
        int value;
        int expected;
    } cases[] = {
        {"Selected", 52, -1},    {"Selected", -2, -1},   {"Selected", 51, 51},  {"Selected", -1, -1},
        {"NrOfColumns", 0, 8},   {"NrOfColumns", 52, 8}, {"NrOfColumns", 51, 51},
        {"NrOfRows", 0, 6},      {"NrOfRows", 52, 6},    {"NrOfRows", 1, 1},
    };
    for (const auto &c : cases) {
        selector->setProperty(c.property, c.value);
        EXPECT_EQ(selector->property(c.property).toInt(), c.expected) << c.property << " " << c.value;
    }
    EXPECT_EQ(selections.count(), 2);
    selector->SetFrameStyle(TFrameStyle(6));
    EXPECT_EQ(selector->GetFrameStyle(), fsSimple);
}

TEST(MarkSel, SymbolZeroCannotBeHiddenAndIndicesOutsideReadIt)
{
    auto selector = MakeSelector();
    selector->SetMarkVisible(0, false);
    selector->SetMarkVisible(52, false);
    selector->SetMarkVisible(-1, false);
    selector->SetMarkVisible(7, false);
    EXPECT_TRUE(selector->GetMarkVisible(0));
    EXPECT_TRUE(selector->GetMarkVisible(-3));
    EXPECT_TRUE(selector->GetMarkVisible(99));
    EXPECT_FALSE(selector->GetMarkVisible(7));
    selector->HideAllMarks();
    for (int mark = 1; mark < NrOfMarks; ++mark)
        EXPECT_FALSE(selector->GetMarkVisible(mark)) << mark;
    EXPECT_TRUE(selector->GetMarkVisible(0));
    selector->ShowAllMarks();
    EXPECT_TRUE(selector->GetMarkVisible(7));
}

TEST(MarkSel, AnEqualValuePaintsNothing)
{
    auto selector = ShownSelector();
    PaintCounter paints(selector.get());
    selector->SetColorMarks(kMarks);
    selector->SetSelected(-1);
    selector->SetNrOfColumns(8);
    EXPECT_EQ(paints.Count, 0);
    selector->SetColorMarks(clr::Red);
    EXPECT_EQ(paints.Count, 1);
}

TEST(MarkSel, SelectedIsTheNotifyingUserProperty)
{
    auto selector = MakeSelector();
    ExpectNotifyingUserProperty(*selector, "Selected", 5);
}

TEST(MarkSel, HighlightAndSelectionColoursPaintOnlyWhileShown)
{
    using S = TShownSetting<TMarkSel>;
    const auto select = [](TMarkSel &m) { m.SetSelected(3); };
    const auto hover = [](TMarkSel &m) { MoveMouse(&m, DefaultCell(4)); };
    ExpectPaintsOnlyWhereShown<TMarkSel>(MakeSelector, {
        S{"ColorSelBG", select, [](TMarkSel &m) { m.SetColorSelBG(clr::Yellow); }},
        S{"ColorSelFG", select, [](TMarkSel &m) { m.SetColorSelFG(clr::Lime); }},
        S{"ColorHiLiteBG", hover, [](TMarkSel &m) { m.SetColorHiLiteBG(clr::Yellow); }},
        S{"ColorHiLiteSymbol", hover, [](TMarkSel &m) { m.SetColorHiLiteSymbol(clr::Lime); }},
    });
}

// ---- Painting ------------------------------------------------------------------------

TEST(MarkSel, SymbolsStandInTheirCellsWithTheSelectionFrame)
{
    auto selector = MakeSelector();
    int painted = 0;
    selector->OnPaint = [&](QObject *) { ++painted; };
    QImage image = Grab(selector.get());
    EXPECT_EQ(painted, 1);
    // Symbol 1, an outlined square, centred at cell 1's reference point + 2: (45, 16).
    EXPECT_EQ(Hex(PixelAt(image, 41, 16)), Hex(kMarks));
    EXPECT_EQ(Hex(PixelAt(image, 49, 20)), Hex(kMarks));
    EXPECT_EQ(Hex(PixelAt(image, 45, 16)), Hex(kGround));
    EXPECT_EQ(Hex(PixelAt(image, 32, 10)), Hex(kGround));
    EXPECT_EQ(Hex(PixelAt(image, 0, 50)), Hex(kMarks)); // the frame's single line

    selector->SetSelected(1);
    image = Grab(selector.get());
    // The selected cell (32, 3) .. (60, 31), right and bottom excluded.
    EXPECT_EQ(Hex(PixelAt(image, 32, 10)), Hex(kSelFG));
    EXPECT_EQ(Hex(PixelAt(image, 59, 30)), Hex(kSelFG));
    EXPECT_EQ(Hex(PixelAt(image, 60, 10)), Hex(kGround));
    EXPECT_EQ(Hex(PixelAt(image, 45, 16)), Hex(kSelBG));
    EXPECT_EQ(Hex(PixelAt(image, 41, 16)), Hex(kSelFG));
    EXPECT_EQ(Hex(PixelAt(image, 34, 5)), Hex(kSelBG));

    selector->SetSelected(-1);
    EXPECT_EQ(Hex(PixelAt(Grab(selector.get()), 32, 10)), Hex(kGround));
}

TEST(MarkSel, SymbolZeroIsACrossOverItsCellOrADot)
{
    auto selector = MakeSelector();
    QImage image = Grab(selector.get());
    for (QPoint p : {QPoint(4, 4), QPoint(10, 10), QPoint(29, 29), QPoint(4, 29), QPoint(29, 4)})
        EXPECT_EQ(Hex(PixelAt(image, p.x(), p.y())), Hex(kMarks)) << p.x() << "," << p.y();
    EXPECT_EQ(Hex(PixelAt(image, 30, 30)), Hex(kGround)); // the end point is left out
    selector->SetShowZeroAsCross(false);
    image = Grab(selector.get());
    EXPECT_EQ(Hex(PixelAt(image, 10, 10)), Hex(kGround));
    EXPECT_EQ(Hex(PixelAt(image, 16, 16)), Hex(kMarks));
}

TEST(MarkSel, HiddenSymbolsLeaveTheirCellsToTheNext)
{
    auto selector = ShownSelector();
    selector->SetMarkVisible(1, false);
    EXPECT_EQ(selector->Layout().Coords[2], DefaultCell(1));
    // Symbol 2 (a solid square) now fills cell 1.
    EXPECT_EQ(Hex(PixelAt(Grab(selector.get()), 45, 16)), Hex(kMarks));

    selector->HideAllMarks();
    EventRecorder events;
    selector->OnMarkClick = [&](QObject *, int x, int y, int mark) {
        events.Record(QStringLiteral("%1,%2 %3").arg(x).arg(y).arg(mark));
    };
    QTest::mouseClick(selector.get(), Qt::LeftButton, {}, QPoint(200, 150));
    EXPECT_EQ(selector->GetSelected(), 0);
    EXPECT_EQ(events.Events(), QStringList({"200,150 0"}));
    const QImage image = Grab(selector.get());
    EXPECT_EQ(Hex(PixelAt(image, 45, 16)), Hex(kGround)); // nothing in cell 1
}

TEST(MarkSel, TheLayoutFollowsTheCurrentSizeAndColumns)
{
    auto selector = MakeSelector();
    (void)Grab(selector.get());
    selector->resize(436, 178);
    // Cell width 54: symbol 1's square is centred at (27 + 54 + 2, 16).
    QImage image = Grab(selector.get());
    EXPECT_EQ(Hex(PixelAt(image, 79, 16)), Hex(kMarks));
    EXPECT_EQ(Hex(PixelAt(image, 41, 16)), Hex(kGround));
    selector->SetNrOfColumns(4); // cell width 108
    EXPECT_EQ(selector->Layout().Coords[1], QPoint(54 + 108, 14));
    image = Grab(selector.get());
    EXPECT_EQ(Hex(PixelAt(image, 54 + 108 - 2, 16)), Hex(kMarks));
}

TEST(MarkSel, DisabledPaintsInGreys)
{
    auto selector = MakeSelector();
    selector->SetSelected(1);
    selector->SetEnabled(false);
    EXPECT_FALSE(selector->isEnabled());
    const QImage image = Grab(selector.get());
    EXPECT_EQ(Hex(PixelAt(image, 28, 60)), Hex(clr::Silver));            // ground
    EXPECT_EQ(Hex(PixelAt(image, 41 + 29, 16)), Hex(clr::Gray));          // symbol 2
    EXPECT_EQ(Hex(PixelAt(image, 32, 10)), Hex(clr::Gray));               // selection outline
    EXPECT_EQ(Hex(PixelAt(image, 45, 16)), Hex(RGBColor(0xDE, 0xDE, 0xDE))); // selection fill
    EXPECT_EQ(Hex(PixelAt(image, 0, 50)), Hex(clr::Gray));                // frame line
    EXPECT_EQ(CountPixels(image, image.rect(), kMarks), 0);
    selector->SetEnabled(true);
    EXPECT_EQ(Hex(PixelAt(Grab(selector.get()), 28, 60)), Hex(kGround));
}

TEST(MarkSel, ChangesShowAsOnAFreshControl)
{
    ExpectChangesShowAsOnFreshControls<TMarkSel>({
        [](TMarkSel &m) { m.SetSelected(5); },
        [](TMarkSel &m) { m.resize(300, 120); },
        [](TMarkSel &m) { m.SetNrOfColumns(5); },
        [](TMarkSel &m) { m.SetNrOfRows(9); },
        [](TMarkSel &m) { m.HideAllMarks(); },
        [](TMarkSel &m) { m.SetShowZeroAsCross(false); },
        [](TMarkSel &m) { m.SetFrameStyle(fsRaised); },
        [](TMarkSel &m) { m.SetEnabled(false); },
    });
}

TEST(MarkSel, EnabledIsTheWidgetsOwnSwitchAndADisabledParentGreysToo)
{
    QWidget parent;
    auto *selector = new TMarkSel(&parent);
    selector->SetColorBackGnd(kGround);
    parent.setEnabled(false);
    EXPECT_TRUE(selector->GetEnabled());
    EXPECT_EQ(Hex(PixelAt(Grab(selector), 28, 60)), Hex(clr::Silver));
    parent.setEnabled(true);
    selector->setEnabled(false);
    EXPECT_FALSE(selector->GetEnabled());
    EXPECT_FALSE(selector->property("Enabled").toBool());
}

// ---- Mouse -----------------------------------------------------------------------------

TEST(MarkSel, TheSymbolUnderTheMouseIsHighlightedUntilTheMouseLeaves)
{
    auto selector = ShownSelector();
    // Symbol 0 is highlighted too, although it is the one a fresh control remembers.
    MoveMouse(selector.get(), DefaultCell(0));
    EXPECT_EQ(selector->HighlightedMark(), 0);
    const QPoint cell10 = DefaultCell(10); // (72, 43)
    MoveMouse(selector.get(), cell10 + QPoint(3, -2));
    EXPECT_EQ(selector->HighlightedMark(), 10);
    QImage image = Grab(selector.get());
    // The highlight: (x + 4 - 14, y + 4 - 14) .. (x + 2 + 14, y + 2 + 14), excluded edges.
    EXPECT_EQ(Hex(PixelAt(image, 62, 33)), Hex(kHiBG));
    EXPECT_EQ(Hex(PixelAt(image, 87, 58)), Hex(kHiBG));
    EXPECT_EQ(Hex(PixelAt(image, 88, 58)), Hex(kGround));
    EXPECT_GT(CountPixels(image, QRect(64, 40, 16, 10), kHiSymbol), 0);

    LeaveWidget(selector.get());
    EXPECT_EQ(selector->HighlightedMark(), -1);
    image = Grab(selector.get());
    EXPECT_EQ(CountPixels(image, image.rect(), kHiBG), 0);
    EXPECT_EQ(CountPixels(image, image.rect(), kHiSymbol), 0);
}

TEST(MarkSel, ClicksSelectTheNearestSymbolAndReportIt)
{
    auto selector = ShownSelector();
    EventRecorder events;
    selector->OnMarkClick = [&](QObject *sender, int x, int y, int mark) {
        EXPECT_EQ(sender, selector.get());
        events.Record(QStringLiteral("click %1,%2 %3").arg(x).arg(y).arg(mark));
    };
    selector->OnMarkDblClick = [&](QObject *, int x, int y, int mark) {
        events.Record(QStringLiteral("dblclick %1,%2 %3").arg(x).arg(y).arg(mark));
    };
    QSignalSpy selections(selector.get(), &TMarkSel::SelectedChanged);
    QTest::mouseClick(selector.get(), Qt::LeftButton, {}, QPoint(44, 15));
    EXPECT_EQ(selector->GetSelected(), 1);
    EXPECT_EQ(selector->HighlightedMark(), 1);
    QTest::mouseClick(selector.get(), Qt::RightButton, {}, QPoint(72, 43));
    EXPECT_EQ(selector->GetSelected(), 1);
    QTest::mouseDClick(selector.get(), Qt::LeftButton, {}, QPoint(72, 43));
    EXPECT_EQ(selector->GetSelected(), 10);
    EXPECT_TRUE(events.Events().contains(QStringLiteral("dblclick 72,43 10"))) << events.Events().join(u'|').toStdString();
    EXPECT_EQ(events.Events().front(), QStringLiteral("click 44,15 1"));
    EXPECT_EQ(selections.count(), 2);
}

TEST(MarkSel, FiresTheBaseInputEvents)
{
    ExpectInputEvents<TMarkSel>();
}

// ---- Keyboard ------------------------------------------------------------------------

TEST(MarkSel, ArrowsMoveTheSelectionAndEnterOrSpaceChooseIt)
{
    auto selector = MakeSelector();
    selector->SetMarkVisible(3, false);
    const struct {
        Qt::Key key;
        int expected;
    } cases[] = {
        {Qt::Key_Right, 0}, // no selection yet: the first symbol
        {Qt::Key_Right, 1}, {Qt::Key_Right, 2}, {Qt::Key_Right, 4}, // 3 is hidden
        {Qt::Key_Down, 12}, {Qt::Key_Left, 11}, {Qt::Key_Up, 2}, {Qt::Key_Up, 2},
        {Qt::Key_End, 51},  {Qt::Key_Down, 51}, {Qt::Key_Right, 51}, {Qt::Key_Home, 0}, {Qt::Key_Left, 0},
    };
    for (const auto &c : cases) {
        QTest::keyClick(selector.get(), c.key);
        EXPECT_EQ(selector->GetSelected(), c.expected) << c.key;
    }
    EventRecorder events;
    selector->OnMarkClick = [&](QObject *, int x, int y, int mark) {
        events.Record(QStringLiteral("%1,%2 %3").arg(x).arg(y).arg(mark));
    };
    QTest::keyClick(selector.get(), Qt::Key_Right);
    QTest::keyClick(selector.get(), Qt::Key_Return);
    QTest::keyClick(selector.get(), Qt::Key_Space);
    EXPECT_EQ(events.Events(), QStringList({"43,14 1", "43,14 1"}));
}

// ---- Qt widget -----------------------------------------------------------------------

TEST(MarkSel, AnswersAssistiveTechnologyWithANameAndTheSelectedSymbol)
{
    auto selector = MakeSelector();
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(selector.get());
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("Marker selector"));
    EXPECT_EQ(accessible->text(QAccessible::Value), QString());
    selector->SetSelected(17);
    EXPECT_EQ(accessible->text(QAccessible::Value), QStringLiteral("17"));
    selector->setAccessibleName(QStringLiteral("Trace marker"));
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("Trace marker"));
}
