#include "EventRecorder.h"
#include "HandlerProbe.h"
#include "PinnedFont.h"
#include "PixelProbe.h"
#include "NVO_ntabed.h"

#include <QtGui/QContextMenuEvent>
#include <QtTest/QSignalSpy>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMenu>
#include <QtWidgets/QPlainTextEdit>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

using namespace nvo;
using namespace nvo::test;

namespace {

/// The editor's grid with the attribute column shown: data cell (c, r) is grid cell
/// (c + 1, r), the heading of column c is (c + 1, 0), of row r (0, r), and the
/// attribute of row r is (1, r).
class NTabEdPopup : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Editor = std::make_unique<TNTabEd>();
        Editor->setFont(PinnedFont());
        Editor->resize(460, 220);
        Editor->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Editor.get()));
    }
    void TearDown() override
    {
        // A menu left open by a failed expectation must not take the next test's mouse.
        Editor->PopupD()->hide();
        Editor->PopupH()->hide();
    }

    QPoint Centre(int col, int row) const { return Editor->CellRect(col, row).center(); }

    /// A right click on a grid cell, as the user gives it.
    void RightClick(int col, int row)
    {
        QTest::mouseClick(Editor->viewport(), Qt::RightButton, {}, Centre(col, row));
    }

    QAction *Item(const char *name) const { return Editor->findChild<QAction *>(QString::fromLatin1(name)); }

    /// Chooses a menu item: a top-level one by the keyboard on the open menu, a
    /// submenu's item as a click does (the menu closes, then the item fires).
    void Choose(QMenu *menu, const char *name)
    {
        QAction *action = Item(name);
        ASSERT_NE(action, nullptr) << name;
        ASSERT_TRUE(action->isEnabled()) << name;
        if (menu->actions().contains(action)) {
            ASSERT_TRUE(menu->isVisible()) << name;
            menu->setActiveAction(action);
            QTest::keyClick(menu, Qt::Key_Return);
        } else {
            menu->hide();
            action->trigger();
        }
    }

    /// A right click on `cell`, then item `name` of the menu that opened.
    void Command(TGridCoord cell, const char *name)
    {
        RightClick(cell.X, cell.Y);
        Choose(Editor->PopupD()->isVisible() ? Editor->PopupD() : Editor->PopupH(), name);
    }

    /// Opens the heading menu on `heading`, chooses "Edit Heading" and types `text`
    /// into the name editor, ended by `key`.
    void EditHeading(TGridCoord heading, const QString &text, Qt::Key key)
    {
        Command(heading, "HIt1");
        QLineEdit *nameEd = Editor->NameEditor();
        ASSERT_NE(nameEd, nullptr);
        ASSERT_TRUE(nameEd->isVisible());
        QTest::keyClicks(nameEd, text);
        QTest::keyClick(nameEd, key);
        EXPECT_EQ(Editor->NameEditor(), nullptr);
    }

    std::unique_ptr<TNTabEd> Editor;
};

} // namespace

TEST_F(NTabEdPopup, MenusCarryTheirNamesAndCaptions)
{
    EXPECT_EQ(Editor->PopupD()->objectName(), QStringLiteral("PopupDTAction"));
    EXPECT_EQ(Editor->PopupH()->objectName(), QStringLiteral("PopupHTAction"));
    const std::pair<const char *, const char *> items[] = {
        {"DIt1", "Mark as type A"}, {"DIt2", "Mark as type B"}, {"DIt3", "Unmark type A"},
        {"DIt4", "Unmark type B"}, {"DIt5", "Unmark All"}, {"DIt6", "Clear"}, {"DIt7", "Copy"},
        {"DIt8", "Paste"}, {"DIt9", "Data Read-Only"}, {"DIt10", "Extract from Clipboard"},
        {"DIt11", "Select All"}, {"DIt12", "Toggle Empty State"}, {"HIt1", "Edit Heading"},
        {"HIt2", "Change Precision"}, {"HIt3", "Select.."}, {"HIt4", "Insert.."}, {"HIt5", "Delete.."},
        {"M1It1", "Range"}, {"M2It2", "Column"}, {"U1It3", "Row"}, {"U2It4", "All"}};
    for (const auto &[name, caption] : items) {
        ASSERT_NE(Item(name), nullptr) << name;
        EXPECT_EQ(Item(name)->text(), QString::fromLatin1(caption)) << name;
    }
    EXPECT_EQ(Editor->GetPopupDMask(), 0xFFF);
    EXPECT_EQ(Editor->GetPopupHMask(), 0x1F);
    EXPECT_EQ(Editor->GetPopupDCaptions(12), QStringLiteral("Toggle Empty State"));
    EXPECT_EQ(Editor->GetPopupDCaptions(13), QString());
    EXPECT_EQ(Editor->GetPopupHCaptions(0), QString());
}

TEST_F(NTabEdPopup, CaptionsAreSetPerItemAndCutTo50)
{
    Editor->SetPopupMCaptions(2, QStringLiteral("Col"));
    EXPECT_EQ(Item("M1It2")->text(), QStringLiteral("Col"));
    EXPECT_EQ(Item("M2It2")->text(), QStringLiteral("Col"));
    EXPECT_EQ(Item("U1It2")->text(), QStringLiteral("Column"));
    EXPECT_EQ(Editor->GetPopupMCaptions(2), QStringLiteral("Col"));
    Editor->SetPopupUCaptions(4, QStringLiteral("Everything"));
    EXPECT_EQ(Item("U1It4")->text(), QStringLiteral("Everything"));
    EXPECT_EQ(Item("U2It4")->text(), QStringLiteral("Everything"));
    Editor->SetPopupDCaptions(6, QString(60, QLatin1Char('x')));
    EXPECT_EQ(Editor->GetPopupDCaptions(6), QString(50, QLatin1Char('x')));
    Editor->SetPopupHCaptions(6, QStringLiteral("ignored"));
    Editor->SetPopupMCaptions(5, QStringLiteral("ignored"));
    EXPECT_EQ(Editor->GetPopupMCaptions(5), QString());
}

TEST_F(NTabEdPopup, RightClickOnADataCellOpensTheDataMenu)
{
    QMenu *seen = nullptr;
    Editor->OnBeforePopup = [&](QObject *sender, QMenu *menu) {
        EXPECT_EQ(sender, Editor.get());
        seen = menu;
    };
    RightClick(3, 2);
    EXPECT_EQ(seen, Editor->PopupD());
    EXPECT_TRUE(Editor->PopupD()->isVisible());
    EXPECT_FALSE(Editor->PopupH()->isVisible());
    EXPECT_FALSE(Item("DIt8")->isEnabled()) << "Paste waits for a copied block";
    EXPECT_FALSE(Item("DIt9")->isChecked());
}

TEST_F(NTabEdPopup, MaskZeroDisablesEveryDataItem)
{
    EventRecorder events;
    Editor->OnChangeSetup = events.Recorder(QStringLiteral("OnChangeSetup"));
    Editor->SetPopupDMask(0);
    EXPECT_EQ(events.Count(QStringLiteral("OnChangeSetup")), 1);
    RightClick(2, 1);
    ASSERT_TRUE(Editor->PopupD()->isVisible());
    for (QAction *action : Editor->PopupD()->actions())
        EXPECT_FALSE(action->isEnabled()) << action->objectName().toStdString();
}

TEST_F(NTabEdPopup, TheApplicationsOwnContextMenuKeepsTheBuiltInOnesClosed)
{
    struct Case {
        Qt::ContextMenuPolicy policy;
        bool block;
    };
    const Case cases[] = {{Qt::CustomContextMenu, false}, {Qt::ActionsContextMenu, false},
                          {Qt::PreventContextMenu, false}, {Qt::DefaultContextMenu, true}};
    for (const Case &c : cases) {
        Editor->setContextMenuPolicy(c.policy);
        Editor->SetBlockInternalPopup(c.block);
        RightClick(3, 2);
        RightClick(3, 0);
        RightClick(0, 2);
        EXPECT_FALSE(Editor->PopupD()->isVisible()) << c.policy << c.block;
        EXPECT_FALSE(Editor->PopupH()->isVisible()) << c.policy << c.block;
    }
}

TEST_F(NTabEdPopup, ACustomContextMenuHandlerGetsTheRightClickAlone)
{
    Editor->setContextMenuPolicy(Qt::CustomContextMenu);
    QSignalSpy requests(Editor.get(), &QWidget::customContextMenuRequested);
    RightClick(3, 2);
    // The context-menu event the window system sends after the right press.
    QContextMenuEvent request(QContextMenuEvent::Mouse, Centre(3, 2),
                              Editor->viewport()->mapToGlobal(Centre(3, 2)));
    QApplication::sendEvent(Editor->viewport(), &request);
    EXPECT_EQ(requests.count(), 1);
    EXPECT_FALSE(Editor->PopupD()->isVisible());
}

TEST_F(NTabEdPopup, FailingHandlersReachTheApplicationsHandler)
{
    HandlerProbe probe;
    Editor->OnBeforePopup = [](QObject *, QMenu *) { throw std::runtime_error("before popup"); };
    RightClick(3, 2);
    EXPECT_EQ(probe.Messages, QStringList{QStringLiteral("before popup")});
    EXPECT_FALSE(Editor->PopupD()->isVisible());

    Editor->OnBeforePopup = {};
    Editor->OnCellStateChanged = [](QObject *) { throw std::runtime_error("state handler"); };
    Editor->SetSelection({2, 1, 2, 1});
    Command({2, 1}, "DIt12");
    EXPECT_EQ(probe.Messages.last(), QStringLiteral("state handler"));
    EXPECT_TRUE(Editor->GetIsEmpty(1, 1)) << "the command is done before its event";
}

TEST_F(NTabEdPopup, MarkCommandsCoverTheirTargets)
{
    struct Case {
        const char *item;
        int (TNTabEd::*count)() const;
        int marked; ///< of the 3 x 4 cells, with the selection columns 1..2, rows 2..3
    };
    const Case cases[] = {{"M1It1", &TNTabEd::NrOfMarkedDataA, 4}, {"M1It2", &TNTabEd::NrOfMarkedDataA, 8},
                          {"M2It3", &TNTabEd::NrOfMarkedDataB, 6}, {"M2It4", &TNTabEd::NrOfMarkedDataB, 12}};
    EventRecorder events;
    Editor->OnCellStateChanged = events.Recorder(QStringLiteral("OnCellStateChanged"));
    for (const Case &c : cases) {
        Editor->UnMarkAllElems();
        Editor->SetSelection({2, 2, 3, 3});
        events.Clear();
        Command({2, 2}, c.item);
        EXPECT_EQ(((*Editor).*c.count)(), c.marked) << c.item;
        EXPECT_EQ(events.Events(), QStringList{QStringLiteral("OnCellStateChanged")}) << c.item;
    }
}

TEST_F(NTabEdPopup, UnmarkCommandsClearOnlyTheirMark)
{
    Editor->MarkAllElemsA();
    Editor->MarkAllElemsB();
    Editor->SetSelection({2, 1, 2, 4});
    Command({2, 1}, "U1It2"); // unmark A in the selected column
    EXPECT_EQ(Editor->NrOfMarkedDataA(), 8);
    EXPECT_EQ(Editor->NrOfMarkedDataB(), 12);
    Command({2, 1}, "U2It4");
    EXPECT_EQ(Editor->NrOfMarkedDataB(), 0);
    Command({2, 1}, "DIt5");
    EXPECT_EQ(Editor->NrOfMarkedDataA(), 0);
}

TEST_F(NTabEdPopup, ClearZeroesTheSelectedCells)
{
    Editor->Fill(7);
    Editor->MarkAllElemsA();
    Editor->SetSelection({2, 1, 3, 2});
    EventRecorder events;
    Editor->OnPaste = events.Recorder(QStringLiteral("OnPaste"));
    Editor->OnChange = events.Recorder(QStringLiteral("OnChange"));
    Editor->OnCellStateChanged = events.Recorder(QStringLiteral("OnCellStateChanged"));
    Command({2, 1}, "DIt6");
    EXPECT_EQ(events.Events(), (QStringList{QStringLiteral("OnPaste"), QStringLiteral("OnChange"),
                                            QStringLiteral("OnCellStateChanged")}));
    for (int row = 1; row <= 4; ++row)
        for (int col = 1; col <= 3; ++col) {
            const bool inside = col <= 2 && row <= 2;
            EXPECT_EQ(Editor->GetElem(col, row), inside ? 0 : 7) << col << ":" << row;
            EXPECT_EQ(Editor->GetCellState(col, row), inside ? 0 : cellstate::MarkedA) << col << ":" << row;
        }
}

TEST_F(NTabEdPopup, ToggleEmptyInvertsTheEmptyFlagOfTheSelection)
{
    Editor->SetIsEmpty(1, 1, true);
    Editor->SetSelection({2, 1, 2, 2});
    Command({2, 1}, "DIt12");
    EXPECT_FALSE(Editor->GetIsEmpty(1, 1));
    EXPECT_TRUE(Editor->GetIsEmpty(1, 2));
    EXPECT_FALSE(Editor->GetIsEmpty(2, 1));
}

TEST_F(NTabEdPopup, ReadOnlyDisablesAndRefusesTheCommandsThatChangeData)
{
    Editor->Fill(5);
    EventRecorder events;
    Editor->OnChangeSetup = events.Recorder(QStringLiteral("OnChangeSetup"));
    Command({2, 1}, "DIt9");
    EXPECT_TRUE(Editor->GetDataReadOnly());
    EXPECT_EQ(events.Count(QStringLiteral("OnChangeSetup")), 1);

    RightClick(2, 1);
    EXPECT_TRUE(Item("DIt9")->isChecked());
    EXPECT_TRUE(Item("DIt9")->isEnabled());
    EXPECT_TRUE(Item("DIt1")->isEnabled()) << "marks are no data";
    for (const char *name : {"DIt6", "DIt8", "DIt10", "DIt12"})
        EXPECT_FALSE(Item(name)->isEnabled()) << name;
    Editor->PopupD()->hide();
    RightClick(0, 2);
    EXPECT_TRUE(Item("HIt3")->isEnabled());
    EXPECT_FALSE(Item("HIt4")->isEnabled());
    EXPECT_FALSE(Item("HIt5")->isEnabled()) << "Delete Row while read-only";
    Editor->PopupH()->hide();

    // The commands refuse as well, wherever they are attached.
    Editor->SetSelection({2, 1, 4, 4});
    Editor->PopupMenuClickClear();
    Editor->PopupMenuClickEmptyCells();
    Editor->PopupMenuClickDeleteRow();
    Editor->PopupMenuClickInsertRow();
    RightClick(2, 0);
    Editor->PopupH()->hide();
    Editor->PopupMenuClickDeleteCol();
    Editor->PopupMenuClickInsertCol();
    EXPECT_EQ(Editor->GetNrOfColumns(), 3);
    EXPECT_EQ(Editor->GetNrOfRows(), 4);
    EXPECT_EQ(Editor->GetElem(1, 1), 5);
    EXPECT_FALSE(Editor->GetIsEmpty(1, 1));
}

TEST_F(NTabEdPopup, SelectCommandsSelectDataCells)
{
    Command({2, 1}, "DIt11");
    EXPECT_EQ(Editor->GetSelection(), (TGridRect{2, 1, 4, 4}));
    Command({3, 0}, "HIt3");
    EXPECT_EQ(Editor->GetSelection(), (TGridRect{3, 1, 3, 4}));
    Command({0, 2}, "HIt3");
    EXPECT_EQ(Editor->GetSelection(), (TGridRect{2, 2, 4, 2}));
}

TEST_F(NTabEdPopup, HeadingMenuReadsByColumnOrRow)
{
    struct Case {
        TGridCoord heading;
        bool precision;
        const char *select, *insert, *remove;
    };
    const Case cases[] = {{{3, 0}, true, "Select Column", "Insert Column", "Delete Column"},
                          {{0, 3}, false, "Select Row", "Insert Row", "Delete Row"},
                          {{1, 3}, false, "Select Row", "Insert Row", "Delete Row"}};
    for (const Case &c : cases) {
        RightClick(c.heading.X, c.heading.Y);
        ASSERT_TRUE(Editor->PopupH()->isVisible());
        EXPECT_EQ(Item("HIt2")->isEnabled(), c.precision);
        EXPECT_EQ(Item("HIt3")->text(), QString::fromLatin1(c.select));
        EXPECT_EQ(Item("HIt4")->text(), QString::fromLatin1(c.insert));
        EXPECT_EQ(Item("HIt5")->text(), QString::fromLatin1(c.remove));
        Editor->PopupH()->hide();
    }
    Editor->SetPopupHMask(0x1F & ~0x2);
    RightClick(3, 0);
    EXPECT_FALSE(Item("HIt2")->isEnabled()) << "the mask keeps Change Precision off";
}

TEST_F(NTabEdPopup, InsertAndDeleteActOnTheClickedLine)
{
    Editor->SetColName(2, QStringLiteral("second"));
    Command({3, 0}, "HIt4");
    EXPECT_EQ(Editor->GetNrOfColumns(), 4);
    EXPECT_EQ(Editor->GetColName(2), QStringLiteral("(...)"));
    EXPECT_EQ(Editor->GetColName(3), QStringLiteral("second"));
    Command({0, 1}, "HIt4");
    EXPECT_EQ(Editor->GetNrOfRows(), 5);
    EXPECT_EQ(Editor->GetRowName(1), QStringLiteral("(...)"));

    EventRecorder events;
    Editor->OnChangeSetup = events.Recorder(QStringLiteral("OnChangeSetup"));
    Command({0, 1}, "HIt5");
    EXPECT_EQ(Editor->GetNrOfRows(), 4);
    Command({3, 0}, "HIt5");
    EXPECT_EQ(Editor->GetNrOfColumns(), 3);
    EXPECT_EQ(Editor->GetColName(2), QStringLiteral("second"));
    EXPECT_EQ(events.Count(QStringLiteral("OnChangeSetup")), 2);
}

TEST_F(NTabEdPopup, ChangePrecisionStepsDownWrapsAndReopens)
{
    Editor->SetDecPlaces(2, 0);
    EventRecorder events;
    Editor->OnLayoutChanged = events.Recorder(QStringLiteral("OnLayoutChanged"));
    Command({3, 0}, "HIt2");
    EXPECT_EQ(Editor->GetDecPlaces(2), -1);
    EXPECT_TRUE(Editor->PopupH()->isVisible()) << "the menu opens again for the next step";
    Choose(Editor->PopupH(), "HIt2");
    EXPECT_EQ(Editor->GetDecPlaces(2), 10);
    Choose(Editor->PopupH(), "HIt2");
    EXPECT_EQ(Editor->GetDecPlaces(2), 9);
    EXPECT_EQ(events.Count(QStringLiteral("OnLayoutChanged")), 3);
    EXPECT_EQ(Editor->GetDecPlaces(1), 3);
}

TEST_F(NTabEdPopup, HeadingOutlineShowsWhileItsMenuIsOpen)
{
    const QRect cell = Editor->CellRect(3, 0);
    // The outline runs from the cell's top-left corner over the lines after the cell.
    const QPoint corners[] = {cell.topLeft(), cell.bottomRight() + QPoint(1, 1)};
    const QImage before = Grab(Editor->viewport());
    RightClick(3, 0);
    ASSERT_TRUE(Editor->PopupH()->isVisible());
    const QImage open = Grab(Editor->viewport());
    for (QPoint corner : corners)
        EXPECT_EQ(PixelAt(open, corner.x(), corner.y()), PixelAt(before, corner.x(), corner.y()) ^ 0xFFFFFF);
    EXPECT_EQ(PixelAt(open, cell.center().x(), cell.center().y() + 2),
              PixelAt(before, cell.center().x(), cell.center().y() + 2)) << "only the outline";
    Editor->PopupH()->hide();
    const QImage closed = Grab(Editor->viewport());
    for (QPoint corner : corners)
        EXPECT_EQ(PixelAt(closed, corner.x(), corner.y()), PixelAt(before, corner.x(), corner.y()));
}

TEST_F(NTabEdPopup, NameEditorStoresNamesAndKeepsThemOnEscape)
{
    EventRecorder events;
    Editor->OnHeadingChanged = events.Recorder(QStringLiteral("OnHeadingChanged"));
    Editor->SetColName(1, QStringLiteral("old"));
    events.Clear();
    EditHeading({2, 0}, QStringLiteral("typed"), Qt::Key_Escape);
    EXPECT_EQ(Editor->GetColName(1), QStringLiteral("old"));
    EXPECT_EQ(events.Count(QStringLiteral("OnHeadingChanged")), 0);
    EditHeading({2, 0}, QStringLiteral("Pressure"), Qt::Key_Return);
    EXPECT_EQ(Editor->GetColName(1), QStringLiteral("Pressure"));
    EditHeading({0, 3}, QStringLiteral("Sample 3"), Qt::Key_Enter);
    EXPECT_EQ(Editor->GetRowName(3), QStringLiteral("Sample 3"));
    EditHeading({0, 4}, QString(60, QLatin1Char('n')), Qt::Key_Return);
    EXPECT_EQ(Editor->GetRowName(4), QString(50, QLatin1Char('n')));
    EXPECT_EQ(events.Count(QStringLiteral("OnHeadingChanged")), 3);
}

TEST_F(NTabEdPopup, NameEditorOpensAtTheHeadingWithItsText)
{
    Editor->SetRowAttrib(2, 17);
    Command({1, 2}, "HIt1");
    QLineEdit *nameEd = Editor->NameEditor();
    ASSERT_NE(nameEd, nullptr);
    EXPECT_EQ(nameEd->text(), QStringLiteral("17"));
    EXPECT_EQ(nameEd->pos(), Editor->CellRect(1, 2).topLeft() + QPoint(30, 5));
    EXPECT_TRUE(nameEd->hasFocus());
    RightClick(3, 2);
    EXPECT_FALSE(Editor->PopupD()->isVisible()) << "no menu while a name is edited";
    QTest::keyClick(nameEd, Qt::Key_Escape);
}

TEST_F(NTabEdPopup, TypedAttributesAreKeptInAByteRoundedHalfToEven)
{
    Editor->SetAttribColVisible(true); // column attributes in grid row 1, data from row 2
    struct Case {
        const char *typed;
        int stored;
    };
    const Case cases[] = {{"300", 255}, {"-4", 0}, {"2.5", 2}, {"3.5", 4}, {"7,6", 8}, {"letters", 8}, {"", 8}};
    for (const Case &c : cases) {
        EditHeading({3, 1}, QString::fromLatin1(c.typed), Qt::Key_Return);
        EXPECT_EQ(Editor->GetColAttrib(2), c.stored) << c.typed;
        EditHeading({1, 3}, QString::fromLatin1(c.typed), Qt::Key_Return);
        EXPECT_EQ(Editor->GetRowAttrib(2), c.stored) << c.typed;
    }
}

TEST_F(NTabEdPopup, AStoredAttributeFiresBothEvents)
{
    EventRecorder events;
    Editor->OnHeadingChanged = events.Recorder(QStringLiteral("OnHeadingChanged"));
    Editor->OnAttributeChanged = events.Recorder(QStringLiteral("OnAttributeChanged"));
    EditHeading({1, 1}, QStringLiteral("9"), Qt::Key_Return);
    EXPECT_EQ(events.Events(),
              (QStringList{QStringLiteral("OnAttributeChanged"), QStringLiteral("OnHeadingChanged")}));
}

TEST_F(NTabEdPopup, CommentMemoStoresOnEnterAndDiscardsOnTheCorner)
{
    Editor->SetComment(QStringLiteral("first"));
    EventRecorder events;
    Editor->OnChange = events.Recorder(QStringLiteral("OnChange"));
    RightClick(0, 0);
    QPlainTextEdit *memo = Editor->CommentMemo();
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("first"));
    EXPECT_EQ(memo->geometry(), QRect(80, 0, Editor->width() - 80 - 20, 80));
    const QRect corner = Editor->CellRect(0, 0);
    EXPECT_EQ(PixelAt(Grab(Editor->viewport()), corner.right() - 1, corner.bottom() - 1), clr::Teal);

    QTest::keyClicks(memo, QStringLiteral(" draft"));
    QTest::mouseClick(Editor->viewport(), Qt::LeftButton, {}, corner.center());
    EXPECT_EQ(Editor->CommentMemo(), nullptr);
    EXPECT_EQ(Editor->GetComment(), QStringLiteral("first"));
    EXPECT_EQ(events.Count(QStringLiteral("OnChange")), 0);
    EXPECT_NE(PixelAt(Grab(Editor->viewport()), corner.right() - 1, corner.bottom() - 1), clr::Teal);

    RightClick(0, 0);
    memo = Editor->CommentMemo();
    ASSERT_NE(memo, nullptr);
    QTest::keyClicks(memo, QStringLiteral(" second"));
    QTest::keyClick(memo, Qt::Key_Return);
    EXPECT_EQ(Editor->CommentMemo(), nullptr);
    EXPECT_EQ(Editor->GetComment(), QStringLiteral("first second"));
    EXPECT_EQ(events.Count(QStringLiteral("OnChange")), 1);

    RightClick(0, 0);
    QTest::keyClicks(Editor->CommentMemo(), QStringLiteral("x"));
    QTest::keyClick(Editor->CommentMemo(), Qt::Key_Escape);
    EXPECT_EQ(Editor->GetComment(), QStringLiteral("first second"));

    RightClick(0, 0);
    Editor->CommentMemo()->setPlainText(QStringLiteral("pasted\nover two lines"));
    QTest::keyClick(Editor->CommentMemo(), Qt::Key_Return);
    EXPECT_EQ(Editor->GetComment(), QStringLiteral("pasted\nover two lines"));
}

TEST_F(NTabEdPopup, CommentMemoStaysClosedWhenNotAllowed)
{
    Editor->SetCommentEditingAllowed(false);
    RightClick(0, 0);
    EXPECT_EQ(Editor->CommentMemo(), nullptr);
    Editor->SetCommentEditingAllowed(true);
    Editor->SetBlockInternalPopup(true);
    RightClick(0, 0);
    EXPECT_EQ(Editor->CommentMemo(), nullptr);
}

TEST_F(NTabEdPopup, MenuKeysOpenTheDataMenuAtTheCurrentCell)
{
    for (const auto &[key, modifiers] : {std::pair{Qt::Key_Menu, Qt::KeyboardModifiers()},
                                         std::pair{Qt::Key_F10, Qt::KeyboardModifiers(Qt::ShiftModifier)}}) {
        Editor->SetSelection({3, 4, 3, 4});
        Editor->setFocus();
        QTest::keyClick(Editor.get(), key, modifiers);
        ASSERT_TRUE(Editor->PopupD()->isVisible()) << key;
        EXPECT_TRUE(Editor->PopupD()->geometry().contains(
            Editor->viewport()->mapToGlobal(Centre(3, 4) + QPoint(10, -20))));
        Choose(Editor->PopupD(), "M1It1");
        EXPECT_TRUE(Editor->GetElemMarkedA(2, 4));
        Editor->UnMarkAllElems();
    }
}
