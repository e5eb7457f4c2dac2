#include "ControlContract.h"
#include "EventRecorder.h"
#include "MouseMove.h"
#include "NVO_Colsel.h"
#include "PinnedFont.h"
#include "PixelProbe.h"

#include <QtGui/QAccessible>
#include <QtGui/QPainter>
#include <QtWidgets/QAbstractItemView>
#include <QtWidgets/QApplication>
#include <QtTest/QSignalSpy>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace nvo;
using namespace nvo::test;

namespace {

constexpr TColor kGround = RGBColor(0xF0, 0xF0, 0xE0); // the names' ground (Color)
constexpr QSize kEntry(200, 20);

std::unique_ptr<TColSel> MakeSelector()
{
    auto selector = std::make_unique<TColSel>();
    selector->setFont(PinnedFont());
    selector->SetColor(kGround);
    selector->ColorDialog = [](QWidget *, TColor) -> std::optional<TColor> {
        ADD_FAILURE() << "the colour dialog opened";
        return std::nullopt;
    };
    return selector;
}

/// Entry `row` as the open list draws it, in an entry of kEntry at (0, 0).
QImage PaintEntry(TColSel &selector, int row, bool current = false)
{
    QImage image(kEntry, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QStyleOptionViewItem option;
    option.rect = QRect(QPoint(0, 0), kEntry);
    option.state = current ? QStyle::State_Selected : QStyle::State_None;
    QPainter painter(&image);
    selector.itemDelegate()->paint(&painter, option, selector.model()->index(row, 0));
    return image;
}

QString Hex(TColor color) { return QString::number(color, 16); }

} // namespace

// ---- Entries, palettes and names ------------------------------------------------------

TEST(ColSel, StartsWithTheExtendedPaletteAndTheFirstEntrySelected)
{
    TColSel selector;
    EXPECT_EQ(selector.GetNumColors(), 20);
    EXPECT_EQ(selector.count(), 20);
    EXPECT_EQ(selector.currentIndex(), 0);
    EXPECT_EQ(selector.GetSelColor(), clr::Black);
    EXPECT_EQ(selector.GetColorBarWidth(), 30);
    EXPECT_EQ(selector.GetColor(), clr::Window);
    EXPECT_EQ(selector.GetDropDownCount(), 8);
    EXPECT_TRUE(selector.GetEnabled());
    for (int i = 1; i <= 20; ++i) {
        EXPECT_EQ(selector.GetColors(i), PredefinedColor(i)) << i;
        EXPECT_EQ(selector.GetColorNames(i), PredefinedColorName(i)) << i;
        EXPECT_EQ(selector.itemText(i - 1), PredefinedColorName(i)) << i;
        EXPECT_FALSE(selector.GetColorEditAllowed(i)) << i;
    }
    EXPECT_EQ(selector.GetSelColorID(), QStringLiteral("Black"));
}

TEST(ColSel, NumColorsAcceptsOneToFortySevenAndSelectsTheFirstEntry)
{
    const struct {
        int numColors;
        int expected;
    } cases[] = {{0, 20}, {48, 20}, {-1, 20}, {5, 5}, {1, 1}, {47, 47}};
    for (const auto &c : cases) {
        auto selector = MakeSelector();
        selector->setCurrentIndex(3);
        selector->SetNumColors(c.numColors);
        EXPECT_EQ(selector->GetNumColors(), c.expected) << c.numColors;
        EXPECT_EQ(selector->count(), c.expected) << c.numColors;
        EXPECT_EQ(selector->currentIndex(), c.expected == 20 ? 3 : 0) << c.numColors;
    }
}

TEST(ColSel, PaletteLoadersFillTheEntriesAndSelectTheFirst)
{
    const struct {
        void (TColSel::*load)();
        int numColors;
        int firstPredefined;
    } cases[] = {
        {&TColSel::LoadBasicVGAPalette, 16, 1},
        {&TColSel::LoadExtendedPalette, 20, 1},
        {&TColSel::LoadStandardPalette, 47, 1},
        {&TColSel::LoadWindowsSystemPalette, 27, 21},
    };
    for (const auto &c : cases) {
        auto selector = MakeSelector();
        selector->SetColorEditAllowed(2, true);
        selector->setCurrentIndex(4);
        int named = 0;
        selector->OnColorNameChange = [&](QObject *, QString &name) {
            ++named;
            name += u'*';
        };
        (selector.get()->*c.load)();
        EXPECT_EQ(selector->GetNumColors(), c.numColors);
        EXPECT_EQ(selector->count(), c.numColors);
        EXPECT_EQ(selector->currentIndex(), 0);
        EXPECT_EQ(named, c.numColors);
        for (int i = 1; i <= c.numColors; ++i) {
            EXPECT_EQ(selector->GetColors(i), PredefinedColor(c.firstPredefined + i - 1)) << i;
            EXPECT_EQ(selector->GetColorNames(i), PredefinedColorName(c.firstPredefined + i - 1) + u'*') << i;
        }
        EXPECT_TRUE(selector->GetColorEditAllowed(2)) << "the edit flags stay";
    }
}

TEST(ColSel, IndexedAccessOutsideTheListReadsEmptyAndWritesNothing)
{
    auto selector = MakeSelector();
    selector->SetNumColors(5);
    QSignalSpy changes(selector.get(), &TColSel::SelColorChanged);
    int named = 0;
    selector->OnColorNameChange = [&](QObject *, QString &) { ++named; };
    for (int index : {0, -1, 6, 48, 1000}) {
        selector->SetColors(index, clr::Red);
        selector->SetColorNames(index, QStringLiteral("x"));
        selector->SetColorEditAllowed(index, true);
        EXPECT_EQ(selector->GetColors(index), 0u) << index;
        EXPECT_EQ(selector->GetColorNames(index), QString()) << index;
        EXPECT_FALSE(selector->GetColorEditAllowed(index)) << index;
    }
    EXPECT_EQ(named, 0);
    EXPECT_EQ(changes.count(), 0);
    // The table beyond the list keeps its colours: a larger count shows them again.
    selector->SetNumColors(6);
    EXPECT_EQ(selector->GetColors(6), PredefinedColor(6));
    EXPECT_EQ(selector->GetColorNames(6), PredefinedColorName(6));
}

TEST(ColSel, WritingAColourNamesItThroughTheNameHandler)
{
    auto selector = MakeSelector();
    EventRecorder events;
    selector->OnColorNameChange = [&](QObject *sender, QString &name) {
        EXPECT_EQ(sender, selector.get());
        events.Record(name);
        if (name == QStringLiteral("Lime"))
            name = QStringLiteral("Signal green");
    };
    selector->SetColors(3, RGBColor(0x12, 0x34, 0x56));
    selector->SetColors(4, clr::Lime);
    selector->SetColors(5, clr::BtnFace);
    selector->SetColors(5, clr::BtnFace); // equal: nothing
    selector->SetColorNames(6, QStringLiteral("Mine"));
    EXPECT_EQ(events.Events(), QStringList({"$00563412", "Lime", "Button face", "Mine"}));
    EXPECT_EQ(selector->GetColorNames(3), QStringLiteral("$00563412"));
    EXPECT_EQ(selector->GetColorNames(4), QStringLiteral("Signal green"));
    EXPECT_EQ(selector->itemText(3), QStringLiteral("Signal green"));
    EXPECT_EQ(selector->GetColorNames(6), QStringLiteral("Mine"));
    EXPECT_EQ(selector->GetColors(6), PredefinedColor(6));
}

// ---- SelColor ------------------------------------------------------------------------

TEST(ColSel, SelColorSelectsTheFirstEntryWithTheSameRGBValue)
{
    auto selector = MakeSelector();
    const TColor teal = RGBColor(0, 0x80, 0x80);
    selector->SetColors(12, teal);
    selector->SetColors(5, teal);
    selector->SetColorNames(10, QStringLiteral("Signal red")); // entry 10 is pure red
    QSignalSpy changes(selector.get(), &TColSel::SelColorChanged);

    selector->SetSelColor(teal);
    EXPECT_EQ(selector->currentIndex(), 4);
    selector->SetSelColor(clr::Red);
    EXPECT_EQ(selector->currentIndex(), 9);
    EXPECT_EQ(selector->GetSelColorID(), QStringLiteral("Signal red"));
    EXPECT_EQ(selector->GetColors(10), clr::Red);
    ASSERT_EQ(changes.count(), 2);
    EXPECT_EQ(changes.at(1).at(0).value<TColor>(), clr::Red);
}

TEST(ColSel, SelColorComparesSystemColoursByTheirCurrentLook)
{
    auto selector = MakeSelector();
    selector->LoadWindowsSystemPalette();
    QPalette palette = selector->palette();
    const QColor unique(1, 2, 3);
    palette.setColor(QPalette::Active, QPalette::Base, unique);
    selector->setPalette(palette);
    selector->SetSelColor(FromQColor(unique));
    EXPECT_EQ(selector->GetSelColor(), clr::Window); // the window background entry
    EXPECT_EQ(selector->GetSelColorID(), QStringLiteral("Window"));
}

TEST(ColSel, SelColorOfANewColourReplacesTheSelectedEntryUnderItsHexName)
{
    auto selector = MakeSelector();
    selector->setCurrentIndex(2);
    selector->OnColorNameChange = [](QObject *, QString &name) { name.prepend(u'#'); };
    QSignalSpy changes(selector.get(), &TColSel::SelColorChanged);
    const TColor newColour = RGBColor(0x12, 0x34, 0x56);
    selector->SetSelColor(newColour);
    EXPECT_EQ(selector->currentIndex(), 2);
    EXPECT_EQ(selector->GetColors(3), newColour);
    EXPECT_EQ(selector->GetSelColorID(), QStringLiteral("#$00563412"));
    EXPECT_EQ(selector->itemText(2), QStringLiteral("#$00563412"));
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(selector->property("SelColor").value<TColor>(), newColour);
}

TEST(ColSel, SelColorIsTheNotifyingUserProperty)
{
    auto selector = MakeSelector();
    ExpectNotifyingUserProperty(*selector, "SelColor", QVariant::fromValue<TColor>(clr::Red));
}

TEST(ColSel, SelColorIDIsEmptyWithoutACurrentItem)
{
    auto selector = MakeSelector();
    selector->setCurrentIndex(-1);
    EXPECT_EQ(selector->GetSelColorID(), QString());
}

// ---- Painting ------------------------------------------------------------------------

TEST(ColSel, AnEntryShowsItsBarInItsColourOutlinedInBlack)
{
    auto selector = MakeSelector();
    selector->SetColors(1, RGBColor(0x20, 0x90, 0x40));
    const QImage entry = PaintEntry(*selector, 0);
    // The bar: (3, 2) .. (33, 18), right and bottom excluded.
    EXPECT_EQ(Hex(PixelAt(entry, 3, 2)), Hex(clr::Black));
    EXPECT_EQ(Hex(PixelAt(entry, 32, 17)), Hex(clr::Black));
    EXPECT_EQ(Hex(PixelAt(entry, 4, 3)), Hex(RGBColor(0x20, 0x90, 0x40)));
    EXPECT_EQ(Hex(PixelAt(entry, 31, 16)), Hex(RGBColor(0x20, 0x90, 0x40)));
    // Around the bar the entry's ground; right of it the name's.
    for (QPoint p : {QPoint(2, 10), QPoint(10, 1), QPoint(10, 18), QPoint(33, 10), QPoint(199, 19)})
        EXPECT_EQ(Hex(PixelAt(entry, p.x(), p.y())), Hex(kGround)) << p.x() << "," << p.y();
    // The current entry of the open list shows the highlight around its bar.
    const TColor highlight = FromQColor(selector->palette().color(QPalette::Active, QPalette::Highlight));
    const QImage current = PaintEntry(*selector, 0, true);
    EXPECT_EQ(Hex(PixelAt(current, 1, 10)), Hex(highlight));
    EXPECT_EQ(Hex(PixelAt(current, 10, 19)), Hex(highlight));
    EXPECT_EQ(Hex(PixelAt(current, 60, 1)), Hex(kGround));
}

TEST(ColSel, WithoutABarTheNameStartsSixPixelsFromTheLeft)
{
    auto selector = MakeSelector();
    selector->SetColorEditAllowed(1, true);
    selector->SetColorBarWidth(0);
    selector->SetColorBarWidth(-5); // ignored
    EXPECT_EQ(selector->GetColorBarWidth(), 0);
    const QImage entry = PaintEntry(*selector, 0);
    const QRect ink = InkBounds(entry, kGround);
    ASSERT_FALSE(ink.isNull());
    // The name's first glyph, "B", has no left bearing beyond one pixel in the pinned font.
    EXPECT_GE(ink.left(), 6);
    EXPECT_LE(ink.left(), 7);
    EXPECT_EQ(CountPixels(entry, QRect(0, 0, 6, kEntry.height()), clr::Black), 0);
}

TEST(ColSel, ThePageSymbolIsWhiteOnDarkAndBlackOnLightColours)
{
    const struct {
        TColor color;
        TColor symbol;
    } cases[] = {
        {clr::Navy, clr::White},
        {clr::Red, clr::White},     // brightness 127.5
        {clr::Yellow, clr::Black},  // 220.8
        {clr::Lime, clr::Black},    // 180.3
        {RGBColor(180, 180, 180), clr::White},
        {RGBColor(181, 181, 181), clr::Black},
    };
    for (const auto &c : cases) {
        auto selector = MakeSelector();
        selector->SetColors(1, c.color);
        selector->SetColorEditAllowed(1, true);
        const QImage entry = PaintEntry(*selector, 0);
        // The outline starts at (5, 4), runs down to (5, 15) and across to (8, 15).
        for (QPoint p : {QPoint(5, 4), QPoint(5, 10), QPoint(7, 15), QPoint(11, 9), QPoint(7, 4)})
            EXPECT_EQ(Hex(PixelAt(entry, p.x(), p.y())), Hex(c.symbol)) << Hex(c.color).toStdString();
        EXPECT_EQ(Hex(PixelAt(entry, 8, 9)), Hex(c.color)) << "the page is not filled";
        EXPECT_EQ(IsLightColor(c.color), c.symbol == clr::Black);
    }
}

TEST(ColSel, NoPageSymbolOnNarrowBarsOrEntriesThatCannotBeEdited)
{
    const struct {
        int barWidth;
        bool editable;
    } cases[] = {{11, true}, {30, false}};
    for (const auto &c : cases) {
        auto selector = MakeSelector();
        selector->SetColors(1, clr::Navy);
        selector->SetColorBarWidth(c.barWidth);
        selector->SetColorEditAllowed(1, c.editable);
        const QImage entry = PaintEntry(*selector, 0);
        EXPECT_EQ(Hex(PixelAt(entry, 5, 10)), Hex(clr::Navy)) << c.barWidth;
    }
}

TEST(ColSel, DisabledEntriesAreGrey)
{
    auto selector = MakeSelector();
    selector->SetColors(1, clr::Navy);
    selector->SetColorEditAllowed(1, true);
    selector->SetEnabled(false);
    EXPECT_FALSE(selector->isEnabled());
    const QImage entry = PaintEntry(*selector, 0);
    EXPECT_EQ(Hex(PixelAt(entry, 3, 2)), Hex(clr::Gray));     // bar outline
    EXPECT_EQ(Hex(PixelAt(entry, 5, 10)), Hex(clr::Silver));  // bar, no page symbol
    EXPECT_EQ(Hex(PixelAt(entry, 1, 10)), Hex(clr::Silver));  // ground left of the bar
    EXPECT_EQ(Hex(PixelAt(entry, 199, 1)), Hex(clr::Silver)); // the name's ground
    EXPECT_GT(CountPixels(entry, QRect(36, 0, 164, 20), clr::Gray), 0); // the name
    EXPECT_EQ(CountPixels(entry, QRect(36, 0, 164, 20), clr::Black), 0);
}

TEST(ColSel, TheClosedBoxShowsTheSelectedEntry)
{
    auto selector = MakeSelector();
    selector->resize(selector->sizeHint());
    selector->SetSelColor(clr::Fuchsia);
    const QImage box = Grab(selector.get());
    EXPECT_GT(CountPixels(box, box.rect(), clr::Fuchsia), 20 * 8);
    selector->SetSelColor(clr::Aqua);
    EXPECT_EQ(CountPixels(Grab(selector.get()), box.rect(), clr::Fuchsia), 0);
}

// ---- Input -----------------------------------------------------------------------------

TEST(ColSel, KeysChooseEntriesAsInAnyComboBox)
{
    auto selector = MakeSelector();
    EventRecorder events;
    selector->OnClick = events.Recorder(QStringLiteral("OnClick"));
    selector->OnChange = events.Recorder(QStringLiteral("OnChange"));
    QSignalSpy changes(selector.get(), &TColSel::SelColorChanged);
    const struct {
        Qt::Key key;
        int expected;
    } cases[] = {{Qt::Key_Down, 1}, {Qt::Key_Down, 2}, {Qt::Key_End, 19}, {Qt::Key_Up, 18}, {Qt::Key_Home, 0}};
    for (const auto &c : cases) {
        QTest::keyClick(selector.get(), c.key);
        EXPECT_EQ(selector->currentIndex(), c.expected) << c.key;
        EXPECT_EQ(selector->GetSelColor(), PredefinedColor(c.expected + 1)) << c.key;
    }
    EXPECT_EQ(changes.count(), 5);
    EXPECT_EQ(events.Count(QStringLiteral("OnClick")), 5);
    EXPECT_EQ(events.Events().mid(0, 2), QStringList({"OnClick", "OnChange"}));
    // Setting the colour in code is no user's choice.
    selector->SetSelColor(clr::Red);
    EXPECT_EQ(events.Count(QStringLiteral("OnChange")), 5);
}

namespace {

/// A shown selector whose colour dialog answers `answer` and records its calls.
struct DialogCase {
    const char *name;
    int mouseX;      ///< where the mouse last moved, -1 for no move
    bool editable;
    bool leave;      ///< the mouse left the control afterwards
    std::optional<TColor> answer;
    bool opens;
    TColor expected; ///< the selected colour afterwards
};

} // namespace

TEST(ColSel, OpeningTheListOverTheBarOfAnEditableEntryAsksForANewColour)
{
    const TColor chosen = RGBColor(0x12, 0x34, 0x56);
    const DialogCase cases[] = {
        {"over the bar, confirmed", 5, true, false, chosen, true, chosen},
        {"over the bar, cancelled", 5, true, false, std::nullopt, true, clr::Green},
        {"over the name", 40, true, false, chosen, false, clr::Green},
        {"not editable", 5, false, false, chosen, false, clr::Green},
        {"mouse left", 5, true, true, chosen, false, clr::Green},
        {"no move", -1, true, false, chosen, false, clr::Green},
    };
    for (const DialogCase &c : cases) {
        auto selector = MakeSelector();
        selector->resize(selector->sizeHint());
        selector->show();
        selector->setCurrentIndex(2);
        selector->SetColorEditAllowed(3, c.editable);
        EventRecorder events;
        selector->ColorDialog = [&](QWidget *parent, TColor initial) {
            EXPECT_EQ(parent, selector.get());
            events.Record(QStringLiteral("dialog ") + Hex(initial));
            return c.answer;
        };
        selector->OnDropDown = events.Recorder(QStringLiteral("OnDropDown"));
        if (c.mouseX >= 0)
            MoveMouse(selector.get(), QPoint(c.mouseX, selector->height() / 2));
        if (c.leave)
            LeaveWidget(selector.get());
        selector->showPopup();
        selector->hidePopup();
        QStringList expected;
        if (c.opens)
            expected << QStringLiteral("dialog ") + Hex(clr::Green);
        expected << QStringLiteral("OnDropDown");
        EXPECT_EQ(events.Events(), expected) << c.name;
        EXPECT_EQ(Hex(selector->GetSelColor()), Hex(c.expected)) << c.name;
        if (c.expected == chosen)
            EXPECT_EQ(selector->GetSelColorID(), QStringLiteral("$00563412")) << c.name;
    }
}

// ---- Qt widget -----------------------------------------------------------------------

TEST(ColSel, SizeHintMakesRoomForTheBarAndAnEntry)
{
    auto selector = MakeSelector();
    const QSize wide = selector->sizeHint();
    selector->SetColorBarWidth(60);
    EXPECT_EQ(selector->sizeHint().width(), wide.width() + 30);
    EXPECT_GE(selector->sizeHint().height(), QFontMetrics(PinnedFont()).height() + 4);
    EXPECT_LE(selector->minimumSizeHint().width(), selector->sizeHint().width());
}

TEST(ColSel, AnswersAssistiveTechnologyWithANameAndTheSelectedColour)
{
    auto selector = MakeSelector();
    selector->SetSelColor(clr::Teal);
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(selector.get());
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::ComboBox);
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("Colour selector"));
    EXPECT_EQ(accessible->text(QAccessible::Value), QStringLiteral("Teal"));
    selector->setAccessibleName(QStringLiteral("Trace colour"));
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("Trace colour"));
}
