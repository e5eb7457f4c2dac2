#include "EventRecorder.h"
#include "PaintCounter.h"
#include "PinnedFont.h"
#include "PixelProbe.h"
#include "NVO_ntabed.h"

#include <QtGui/QAccessible>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLineEdit>
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <stdexcept>
#include <vector>

using namespace nvo;
using namespace nvo::test;

namespace {

/// An editor on screen in the pinned font.
std::unique_ptr<TNTabEd> MakeEditor()
{
    auto editor = std::make_unique<TNTabEd>();
    editor->setObjectName(QStringLiteral("tab"));
    editor->setFont(PinnedFont());
    editor->resize(420, 200);
    editor->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
    QCoreApplication::processEvents();
    return editor;
}

/// The grid cell of data cell (c, r) with the attribute column shown.
QRect DataCellRect(const TNTabEd &editor, int c, int r) { return editor.CellRect(c + 1, r); }

/// Keys as a user types them: each goes to the widget with the focus, which is the
/// in-place editor once the first key opened it.
void TypeKeys(const QString &text)
{
    for (QChar ch : text)
        QTest::keyClick(QApplication::focusWidget(), ch.toLatin1());
}

/// The keys, then Enter.
void Type(const QString &text)
{
    TypeKeys(text);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
}

/// An editor on a shown form beside another control that can take the focus.
struct TEditorOnForm {
    QWidget Form;
    TNTabEd *Editor = new TNTabEd(&Form);
    QLineEdit *Other = new QLineEdit(&Form);
    TEditorOnForm()
    {
        Other->move(0, 300);
        Form.resize(500, 400);
        Form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&Form));
    }
};

void TypeInto(TNTabEd &editor, int c, int r, const QString &text)
{
    editor.SetSelection({c + 1, r, c + 1, r});
    editor.setFocus();
    Type(text);
}

} // namespace

// ---- Number texts -------------------------------------------------------------------------

TEST(NTabEdFormat, CellTextsByPrecisionAndRange)
{
    struct Case {
        int numWidth, decPlaces;
        double value;
        const char *expected;
    };
    const Case cases[] = {
        {1, 3, 0.0, "0.000"},
        {1, 3, 1.5, "1.500"},
        {1, 3, 99999.999, "99999.999"},
        {1, 3, 100000.0, "  1E+05"},   // above 99999.999: scientific
        {1, 3, 0.0004, "  4E-04"},     // below 0.001: scientific
        {1, 3, -2.25, "-2.250"},
        {1, 0, 999999999.0, "999999999"},
        {1, 0, 1e9, "  1E+09"},
        {1, 0, 0.4, "  4E-01"},
        {1, 8, 0.5, "0.50000000"},
        {1, 2, 0.0, "0.00"},            // zero stays fixed-point
        {1, 3, 1e150, "*******"},       // the exponent needs three digits
        {1, 3, -1e-200, "*******"},
        {1, -1, 1.5, "  2E+00"},        // -1, 9 and 10 are always scientific
        {1, 9, 1.5, "  2E+00"},
        {1, 10, 1.5, "  2E+00"},
        {6, -1, 1234.5, " 1.23450E+03"}, // a wider field shows more digits
        {8, 3, 1.5, "   1.500"},
        {1, 3, std::numeric_limits<double>::quiet_NaN(), "-nan-"},
        {1, 3, std::numeric_limits<double>::infinity(), "-nan-"},
        {1, -1, -std::numeric_limits<double>::infinity(), "-nan-"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FormatCellValue(c.numWidth, c.decPlaces, c.value), QString::fromLatin1(c.expected))
            << c.numWidth << " " << c.decPlaces << " " << c.value;
}

TEST(NTabEdFormat, FieldFormsAndZeroFill)
{
    EXPECT_EQ(FormatNumField(-1.5, -6, 2), QStringLiteral("-01.50"));
    EXPECT_EQ(FormatNumField(1.5, -6, 2), QStringLiteral("001.50"));
    EXPECT_EQ(FormatNumField(2.0, 1, -1), QStringLiteral(" 2E+0000"));
    EXPECT_EQ(FormatNumField(12.0, 12, -2), QStringLiteral(" 1.20000E+01"));
}

TEST(NTabEdFormat, TypedNumbersFollowOneStrictGrammar)
{
    struct Case {
        const char *text;
        std::optional<double> expected;
    };
    const Case cases[] = {
        {"1,5", 1.5}, {"  2  ", 2.0}, {"-3.25e2", -325.0}, {"+.5", 0.5}, {"7", 7.0},
        {"abc", std::nullopt}, {"", std::nullopt}, {"   ", std::nullopt}, {"inf", std::nullopt},
        {"-INF", std::nullopt}, {"nan", std::nullopt}, {"0x10", std::nullopt},
        {"1e400", std::nullopt}, {"-1e400", std::nullopt}, {"1 2", std::nullopt}, {"1,5,5", std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ParseTypedNumber(QString::fromLatin1(c.text)), c.expected) << c.text;
}

// ---- Model and layout ---------------------------------------------------------------------

TEST(NTabEd, NewEditorShowsAThreeByFourTableOfZeros)
{
    TNTabEd editor;
    EXPECT_EQ(editor.GetNrOfColumns(), 3);
    EXPECT_EQ(editor.GetNrOfRows(), 4);
    for (int c = 1; c <= 3; ++c) {
        EXPECT_EQ(editor.GetDecPlaces(c), 3);
        for (int r = 1; r <= 4; ++r) {
            EXPECT_EQ(editor.GetElem(c, r), 0.0);
            EXPECT_TRUE(editor.IsNumber(c, r));
        }
    }
    EXPECT_TRUE(editor.GetAttribRowVisible());
    EXPECT_FALSE(editor.GetAttribColVisible());
    EXPECT_EQ(editor.GetColCount(), 5);
    EXPECT_EQ(editor.GetRowCount(), 5);
    EXPECT_EQ(editor.GetFixedCols(), 2);
    EXPECT_EQ(editor.GetFixedRows(), 1);
    EXPECT_EQ(editor.GetColWidths(0), 80);
    EXPECT_EQ(editor.GetColWidths(-1), 32);
    EXPECT_TRUE(editor.GetAutoAdvance());
    EXPECT_EQ(editor.GetNumWidth(), 1);
    EXPECT_EQ(editor.GetColorNormal(), TColor(0x002000));
    EXPECT_EQ(editor.GetColorRangeSelBG(), TColor(0xF8E8E0));
}

TEST(NTabEd, GrowingColumnsTakesTheLastColumnsWidthAndPrecision)
{
    TNTabEd editor;
    editor.SetColWidths(3, 50);
    editor.SetDecPlaces(3, 5);
    editor.SetDecPlaces(1, 1);
    EventRecorder events;
    editor.OnChangeSetup = events.Recorder(QStringLiteral("OnChangeSetup"));
    editor.SetNrOfColumns(5);
    EXPECT_EQ(editor.GetColCount(), 7);
    EXPECT_EQ(editor.GetColWidths(4), 50);
    EXPECT_EQ(editor.GetColWidths(5), 50);
    EXPECT_EQ(editor.GetDecPlaces(4), 5);
    EXPECT_EQ(editor.GetDecPlaces(5), 5);
    editor.SetNrOfColumns(2);
    EXPECT_EQ(editor.GetColCount(), 4);
    EXPECT_EQ(editor.GetDecPlaces(1), 1);
    EXPECT_EQ(editor.GetDecPlaces(3), 0); // outside
    editor.SetNrOfRows(7);
    EXPECT_EQ(editor.GetRowCount(), 8);
    EXPECT_EQ(events.Count(QStringLiteral("OnChangeSetup")), 3);
}

TEST(NTabEd, SizesBelowOneLeaveTableAndGridAlone)
{
    TNTabEd editor;
    int tableResized = 0;
    QObject::connect(&editor.Data(), &TDataTable::SizeChanged, [&] { ++tableResized; });
    EventRecorder events;
    editor.OnChangeSetup = events.Recorder(QStringLiteral("OnChangeSetup"));
    for (int bad : {0, -1, INT_MIN}) {
        editor.SetNrOfColumns(bad);
        editor.SetNrOfRows(bad);
        editor.Redimension(bad, bad);
    }
    EXPECT_EQ(tableResized, 0);
    EXPECT_EQ(editor.GetNrOfColumns(), 3);
    EXPECT_EQ(editor.GetNrOfRows(), 4);
    EXPECT_TRUE(events.Events().isEmpty());
    editor.Redimension(0, 6); // the valid size is taken, the other kept
    EXPECT_EQ(editor.GetNrOfColumns(), 3);
    EXPECT_EQ(editor.GetNrOfRows(), 6);
}

TEST(NTabEd, ARefusedSizeKeepsTheGridAndLeavesNoFlagSet)
{
    auto editor = MakeEditor();
    // More cells than a vector can hold: refused before anything is allocated.
    EXPECT_THROW(editor->Redimension(INT_MAX, INT_MAX), ENVODStructError);
    EXPECT_EQ(editor->GetNrOfColumns(), 3);
    EXPECT_EQ(editor->GetColCount(), 5);
    // The bulk flag was restored: events fire and the editor paints again.
    EventRecorder events;
    editor->OnChange = events.Recorder(QStringLiteral("OnChange"));
    PaintCounter paints(editor->viewport());
    editor->SetElem(1, 1, 2.0);
    EXPECT_EQ(events.Count(QStringLiteral("OnChange")), 1);
    EXPECT_GE(paints.Count, 1);
}

TEST(NTabEd, InsertAndRemoveKeepToTheirRanges)
{
    TNTabEd editor;
    editor.SetNrOfRows(1);
    editor.RemoveRow(1);
    EXPECT_EQ(editor.GetNrOfRows(), 1);
    editor.InsertColumn(5);
    EXPECT_EQ(editor.GetNrOfColumns(), 3);
    editor.SetDecPlaces(3, 6);
    editor.InsertColumn(4); // appends
    EXPECT_EQ(editor.GetNrOfColumns(), 4);
    EXPECT_EQ(editor.GetColCount(), 6);
    EXPECT_EQ(editor.GetDecPlaces(4), 6);
    editor.SetDecPlaces(1, 1);
    editor.RemoveColumn(1); // the precisions move with their columns
    EXPECT_EQ(editor.GetDecPlaces(1), 3);
    EXPECT_EQ(editor.GetDecPlaces(3), 6);
    editor.InsertRow(0);
    editor.InsertRow(3);
    EXPECT_EQ(editor.GetNrOfRows(), 1);
    editor.InsertRow(2);
    EXPECT_EQ(editor.GetNrOfRows(), 2);
    EXPECT_EQ(editor.GetRowCount(), 3);
}

TEST(NTabEd, WidthsAndHeightsStayWithTheirColumnsAndRows)
{
    // Widths 41..46 and heights 21..26 on six columns and rows; a new column or row takes
    // the size of the one it is inserted before (the last one's when appended).
    const struct
    {
        const char *change;
        std::function<void(TNTabEd &)> make;
        std::vector<int> widths;
        std::vector<int> heights;
    } cases[] = {
        {"column inserted before 5", [](TNTabEd &e) { e.InsertColumn(5); }, {41, 42, 43, 44, 45, 45, 46}, {21, 22, 23, 24, 25, 26}},
        {"column appended", [](TNTabEd &e) { e.InsertColumn(7); }, {41, 42, 43, 44, 45, 46, 46}, {21, 22, 23, 24, 25, 26}},
        {"column 2 removed", [](TNTabEd &e) { e.RemoveColumn(2); }, {41, 43, 44, 45, 46}, {21, 22, 23, 24, 25, 26}},
        {"row inserted before 5", [](TNTabEd &e) { e.InsertRow(5); }, {41, 42, 43, 44, 45, 46}, {21, 22, 23, 24, 25, 25, 26}},
        {"row 1 removed", [](TNTabEd &e) { e.RemoveRow(1); }, {41, 42, 43, 44, 45, 46}, {22, 23, 24, 25, 26}},
    };
    for (const auto &c : cases) {
        TNTabEd editor;
        editor.SetAttribColVisible(true); // both attribute cells shown: both offsets count
        editor.Redimension(6, 6);
        for (int i = 1; i <= 6; ++i) {
            editor.SetColWidths(i, 40 + i);
            editor.SetRowHeights(i, 20 + i);
        }
        editor.SetColWidths(-1, 30);
        editor.SetRowHeights(-1, 19);
        c.make(editor);
        std::vector<int> widths, heights;
        for (int i = 1; i <= editor.GetNrOfColumns(); ++i)
            widths.push_back(editor.GetColWidths(i));
        for (int i = 1; i <= editor.GetNrOfRows(); ++i)
            heights.push_back(editor.GetRowHeights(i));
        EXPECT_EQ(widths, c.widths) << c.change;
        EXPECT_EQ(heights, c.heights) << c.change;
        EXPECT_EQ(editor.GetColWidths(0), 80) << c.change;
        EXPECT_EQ(editor.GetColWidths(-1), 30) << c.change;
        EXPECT_EQ(editor.GetRowHeights(-1), 19) << c.change;
    }
}

TEST(NTabEd, FillChangesTheValuesAndNoCellState)
{
    TNTabEd editor;
    editor.SetIsEmpty(1, 1, true);
    editor.Data().SetCellState(2, 1, cellstate::NotANumber | cellstate::MarkedB);
    editor.SetElemMarkedA(3, 1, true);
    EventRecorder events;
    editor.OnChange = events.Recorder(QStringLiteral("OnChange"));
    editor.OnCellStateChanged = events.Recorder(QStringLiteral("OnCellStateChanged"));
    editor.Fill(4.0);
    EXPECT_EQ(events.Events(), QStringList{QStringLiteral("OnChange")});
    EXPECT_EQ(editor.GetCellText(2, 1), QString()); // grid column 2 is data column 1
    EXPECT_EQ(editor.GetCellText(3, 1), QStringLiteral("-nan-"));
    EXPECT_EQ(editor.GetCellState(1, 1), cellstate::Empty);
    EXPECT_EQ(editor.GetCellState(2, 1), cellstate::NotANumber | cellstate::MarkedB);
    EXPECT_EQ(editor.GetCellState(3, 1), cellstate::MarkedA);
    EXPECT_EQ(editor.GetCellText(4, 1), QStringLiteral("4.000"));
    EXPECT_EQ(editor.GetElem(1, 1), 4.0);
}

TEST(NTabEd, PrecisionIsClampedPerColumn)
{
    TNTabEd editor;
    EventRecorder events;
    editor.OnLayoutChanged = events.Recorder(QStringLiteral("OnLayoutChanged"));
    editor.SetDecPlaces(1, -5);
    editor.SetDecPlaces(2, 12);
    editor.SetDecPlaces(0, 2);
    editor.SetDecPlaces(4, 2);
    EXPECT_EQ(editor.GetDecPlaces(1), -1);
    EXPECT_EQ(editor.GetDecPlaces(2), 10);
    EXPECT_EQ(editor.GetDecPlaces(0), 0);
    EXPECT_EQ(events.Count(QStringLiteral("OnLayoutChanged")), 2);
}

TEST(NTabEd, HidingAndShowingTheAttributeColumnKeepsTheDataWidths)
{
    TNTabEd editor;
    editor.SetColWidths(1, 40);
    editor.SetColWidths(2, 55);
    editor.SetColWidths(3, 70);
    editor.SetColWidths(-1, 28);
    editor.SetAttribRowVisible(false);
    EXPECT_EQ(editor.GetColCount(), 4);
    EXPECT_EQ(editor.GetFixedCols(), 1);
    EXPECT_EQ(editor.GetColWidths(-1), 0);
    editor.SetAttribRowVisible(true);
    EXPECT_EQ(editor.GetColWidths(1), 40);
    EXPECT_EQ(editor.GetColWidths(2), 55);
    EXPECT_EQ(editor.GetColWidths(3), 70);
    EXPECT_EQ(editor.GetColWidths(-1), 28);
    editor.SetAttribColVisible(true);
    EXPECT_EQ(editor.GetFixedRows(), 2);
    EXPECT_EQ(editor.GetRowHeights(-1), editor.GetRowHeights(0));
    EXPECT_EQ(editor.GetCellText(3, 2), QStringLiteral("0.000")); // data (2, 1)
}

TEST(NTabEd, NamesAndAttributesAnnounceThemselvesInOrder)
{
    TNTabEd editor;
    EventRecorder events;
    editor.OnChangeSetup = events.Recorder(QStringLiteral("OnChangeSetup"));
    editor.OnHeadingChanged = events.Recorder(QStringLiteral("OnHeadingChanged"));
    editor.OnAttributeChanged = events.Recorder(QStringLiteral("OnAttributeChanged"));
    editor.SetColName(2, QString(60, QLatin1Char('x')));
    editor.SetRowAttrib(1, 200);
    editor.SetColName(4, QStringLiteral("ignored"));
    editor.SetRowAttrib(0, 1);
    EXPECT_EQ(editor.GetColName(2).size(), 50);
    EXPECT_EQ(editor.GetRowAttrib(1), 200);
    EXPECT_EQ(editor.GetColName(4), QString());
    EXPECT_EQ(editor.GetRowAttrib(0), 0);
    EXPECT_EQ(events.Events(), (QStringList{QStringLiteral("OnChangeSetup"), QStringLiteral("OnHeadingChanged"),
                                            QStringLiteral("OnChangeSetup"), QStringLiteral("OnAttributeChanged")}));
}

TEST(NTabEd, ClearNamesEveryRowAndColumn)
{
    TNTabEd editor;
    editor.SetElem(2, 2, 5.0);
    editor.SetDecPlaces(2, 7);
    editor.Clear();
    EXPECT_EQ(editor.GetElem(2, 2), 0.0);
    EXPECT_EQ(editor.GetColName(3), QStringLiteral("C-3"));
    EXPECT_EQ(editor.GetRowName(4), QStringLiteral("R-4"));
    EXPECT_EQ(editor.GetDecPlaces(2), 3);
}

// ---- Painting suppression and notifications -----------------------------------------------

TEST(NTabEd, SuppressPaintSilencesPaintsAndEvents)
{
    auto editor = MakeEditor();
    EventRecorder events;
    editor->OnChange = events.Recorder(QStringLiteral("OnChange"));
    editor->OnLayoutChanged = events.Recorder(QStringLiteral("OnLayoutChanged"));
    editor->OnCellStateChanged = events.Recorder(QStringLiteral("OnCellStateChanged"));
    PaintCounter paints(editor->viewport());
    editor->SetSuppressPaint(true);
    for (int i = 0; i < 100; ++i)
        editor->SetElem(1 + i % 3, 1 + i % 4, i);
    editor->SetColorMarkedA(0x00FF00);
    editor->MarkAllElemsA();
    QCoreApplication::processEvents();
    EXPECT_EQ(paints.Count, 0);
    EXPECT_TRUE(events.Events().isEmpty()) << events.Events().join(u',').toStdString();
    editor->SetSuppressPaint(false);
    EXPECT_EQ(paints.Count, 1);
    editor->SetElem(1, 1, 1.0);
    EXPECT_EQ(events.Events(), QStringList{QStringLiteral("OnChange")});
}

TEST(NTabEd, MarkingOperationsPaintOnceAndAnnounceCellStates)
{
    TNTabEd editor;
    EventRecorder events;
    editor.OnChange = events.Recorder(QStringLiteral("OnChange"));
    editor.OnCellStateChanged = events.Recorder(QStringLiteral("OnCellStateChanged"));
    editor.SetElemMarkedA(2, 3, true);
    editor.SetElemMarkedB(9, 9, true); // outside: announced all the same
    EXPECT_TRUE(editor.GetElemMarkedA(2, 3));
    EXPECT_TRUE(editor.IfRowMarked(3));
    EXPECT_TRUE(editor.IfColumnMarked(2));
    EXPECT_FALSE(editor.IfRowMarked(0));
    EXPECT_FALSE(editor.IfColumnMarked(1));
    EXPECT_TRUE(editor.IfAnyMarked());
    editor.ExchangeMarkings();
    EXPECT_TRUE(editor.GetElemMarkedB(2, 3));
    EXPECT_EQ(editor.NrOfMarkedDataA(), 0);
    editor.MarkAllElemsA();
    EXPECT_EQ(editor.NrOfMarkedDataA(), 12);
    EXPECT_EQ(editor.NrOfMarkedDataB(), 1);
    editor.UnMarkAllElems();
    EXPECT_FALSE(editor.IfAnyMarked());
    EXPECT_EQ(events.Count(QStringLiteral("OnCellStateChanged")), 5);
    EXPECT_EQ(events.Count(QStringLiteral("OnChange")), 0);
}

// ---- Tables assigned from outside ---------------------------------------------------------

TEST(NTabEd, AnExternalTableIsShownAndStaysTheCallers)
{
    TDataTable table;
    table.Resize(6, 2);
    table.SetElem(6, 2, 42.0);
    int applicationEvents = 0;
    table.OnDataChanged = [&](QObject *) { ++applicationEvents; };
    {
        TNTabEd editor;
        EventRecorder events;
        editor.OnChange = events.Recorder(QStringLiteral("OnChange"));
        editor.AssignAnotherDataMatrix(&table);
        EXPECT_EQ(editor.GetNrOfColumns(), 6);
        EXPECT_EQ(editor.GetColCount(), 8);
        EXPECT_EQ(editor.GetDecPlaces(6), 3);
        EXPECT_EQ(editor.GetCellText(7, 2), QStringLiteral("42.000"));
        table.SetElem(1, 1, 1.0);
        EXPECT_EQ(events.Count(QStringLiteral("OnChange")), 1);
        table.Resize(7, 2);
        EXPECT_EQ(editor.GetColCount(), 9);
    }
    // The editor is gone: the table lives on, announces to nobody freed, and keeps the
    // application's own event.
    table.SetElem(1, 1, 2.0);
    table.Resize(8, 3);
    table.SetColName(1, QStringLiteral("a"));
    table.SetFComment(QStringLiteral("c"));
    table.ExchangeColumns(1, 2);
    EXPECT_EQ(applicationEvents, 3);
}

TEST(NTabEd, AnotherTableDetachesEveryNotificationOfTheFirst)
{
    TDataTable first, second;
    first.Resize(2, 2);
    second.Resize(4, 5);
    TNTabEd editor;
    editor.AssignAnotherDataMatrix(&first);
    editor.AssignAnotherDataMatrix(&second);
    EventRecorder events;
    editor.OnChange = events.Recorder(QStringLiteral("OnChange"));
    editor.OnChangeSetup = events.Recorder(QStringLiteral("OnChangeSetup"));
    editor.OnPercentDone = [&](QObject *, int) { events.Record(QStringLiteral("OnPercentDone")); };
    first.SetElem(1, 1, 3.0);
    first.SetColName(1, QStringLiteral("x"));
    first.Resize(300, 300);
    first.ExchangeColumns(1, 2);
    EXPECT_TRUE(events.Events().isEmpty()) << events.Events().join(u',').toStdString();
    EXPECT_EQ(editor.GetNrOfColumns(), 4);
    EXPECT_EQ(editor.GetRowCount(), 6);
    editor.AssignAnotherDataMatrix(nullptr); // a table of its own again, same size
    TDataTable *own = &editor.Data();
    editor.AssignAnotherDataMatrix(nullptr); // and it keeps that one
    EXPECT_EQ(&editor.Data(), own);
    events.Clear();
    second.SetElem(1, 1, 3.0);
    EXPECT_EQ(events.Count(QStringLiteral("OnChange")), 0);
    EXPECT_EQ(editor.GetNrOfColumns(), 4);
    EXPECT_NE(own, &second);
}

TEST(NTabEd, ATableFreedWhileShownLeavesTheEditorATableOfItsOwn)
{
    TNTabEd editor;
    auto table = std::make_unique<TDataTable>();
    table->Resize(5, 6);
    editor.AssignAnotherDataMatrix(table.get());
    table.reset();
    EXPECT_EQ(editor.GetNrOfColumns(), 5);
    EXPECT_EQ(editor.GetNrOfRows(), 6);
    editor.SetElem(5, 6, 1.0);
    EXPECT_EQ(editor.GetElem(5, 6), 1.0);
}

TEST(NTabEd, ExchangedColumnsTakeTheirPrecisionAlong)
{
    TNTabEd editor;
    editor.SetDecPlaces(1, 0);
    editor.SetDecPlaces(3, 7);
    editor.Data().ExchangeColumns(1, 3);
    EXPECT_EQ(editor.GetDecPlaces(1), 7);
    EXPECT_EQ(editor.GetDecPlaces(3), 0);
}

// ---- Value entry --------------------------------------------------------------------------

TEST(NTabEdEntry, TypedValuesFollowTheDecimalSeparatorRule)
{
    auto editor = MakeEditor();
    EventRecorder events;
    editor->OnChange = events.Recorder(QStringLiteral("OnChange"));
    editor->OnSetEditText = [&](QObject *, int col, int row, const QString &text) {
        events.Record(QStringLiteral("OnSetEditText %1,%2 %3").arg(col).arg(row).arg(text));
    };
    TypeInto(*editor, 1, 1, QStringLiteral("1,5"));
    EXPECT_EQ(editor->GetElem(1, 1), 1.5);
    EXPECT_EQ(events.Events(), (QStringList{QStringLiteral("OnChange"), QStringLiteral("OnSetEditText 2,1 1,5")}));
    // Enter moved down: the next number goes below.
    EXPECT_EQ(editor->GetSelection(), (TGridRect{2, 2, 2, 2}));
    Type(QStringLiteral(" 2 "));
    EXPECT_EQ(editor->GetElem(1, 2), 2.0);
    editor->SetElem(2, 1, 7.0);
    for (const char *bad : {"abc", "inf", "nan", "0x1F", "1e999"}) {
        TypeInto(*editor, 2, 1, QString::fromLatin1(bad));
        EXPECT_EQ(editor->GetCellState(2, 1), cellstate::NotANumber) << bad;
        EXPECT_EQ(editor->GetElem(2, 1), 7.0) << bad;
        EXPECT_EQ(editor->GetCellText(3, 1), QStringLiteral("-nan-"));
    }
}

TEST(NTabEdEntry, TypingIntoAMarkedCellClearsItsMarks)
{
    auto editor = MakeEditor();
    editor->SetElemMarkedA(3, 2, true);
    editor->SetElemMarkedB(3, 2, true);
    editor->SetIsEmpty(3, 2, true);
    TypeInto(*editor, 3, 2, QStringLiteral("4"));
    EXPECT_EQ(editor->GetCellState(3, 2), 0);
    EXPECT_EQ(editor->GetElem(3, 2), 4.0);
}

TEST(NTabEdEntry, AutoAdvanceMovesRightWhenAskedAndNotAtAllWhenOff)
{
    auto editor = MakeEditor();
    editor->SetAutoAdvanceDir(orHorizontal);
    TypeInto(*editor, 1, 1, QStringLiteral("5"));
    EXPECT_EQ(editor->GetSelection(), (TGridRect{3, 1, 3, 1}));
    editor->SetAutoAdvance(false);
    TypeInto(*editor, 2, 1, QStringLiteral("6"));
    EXPECT_EQ(editor->GetElem(2, 1), 6.0);
    EXPECT_EQ(editor->GetSelection(), (TGridRect{3, 1, 3, 1}));
}

TEST(NTabEdEntry, IdentifierColumnsTakeIdentifiersOrWholeNumbers)
{
    auto editor = MakeEditor();
    editor->Data().SetMScaleType(2, mstNominal);
    editor->Data().SetNominalID(2, 1, QStringLiteral("red"));
    editor->Data().SetNominalID(2, 3, QStringLiteral("blue"));
    TypeInto(*editor, 2, 1, QStringLiteral("BLUE"));
    EXPECT_EQ(editor->GetElem(2, 1), 3.0);
    EXPECT_EQ(editor->GetCellText(3, 1), QStringLiteral("blue"));
    TypeInto(*editor, 2, 2, QStringLiteral("7"));
    EXPECT_EQ(editor->GetElem(2, 2), 7.0);
    EXPECT_EQ(editor->GetCellState(2, 2), 0);
    EXPECT_EQ(editor->GetCellText(3, 2), QStringLiteral("nominal:7"));
    TypeInto(*editor, 2, 3, QStringLiteral("green"));
    EXPECT_EQ(editor->GetCellState(2, 3), cellstate::NotANumber);
    for (double outside : {0.0, 151.0}) {
        editor->SetElem(2, 4, outside);
        EXPECT_EQ(editor->GetCellText(3, 4), QStringLiteral("nominal:") + FormatInt(qint64(outside)));
    }
}

TEST(NTabEdEntry, ANumberBeingTypedStaysWithItsCellWhenRowsOrColumnsAreInserted)
{
    // The number is typed into data cell (2, 3); a row or column inserted before it meanwhile
    // moves that cell, and the number must land where the cell went, not in the new one.
    const struct
    {
        const char *change;
        std::function<void(TNTabEd &)> make;
        int c, r;
    } cases[] = {
        {"row inserted before", [](TNTabEd &e) { e.InsertRow(2); }, 2, 4},
        {"column inserted before", [](TNTabEd &e) { e.InsertColumn(1); }, 3, 3},
    };
    for (const auto &c : cases) {
        auto editor = MakeEditor();
        editor->SetSelection({3, 3, 3, 3});
        editor->setFocus();
        TypeKeys(QStringLiteral("7"));
        ASSERT_TRUE(editor->GetEditorMode()) << c.change;
        c.make(*editor);
        if (editor->InplaceEditor())
            QTest::keyClick(editor->InplaceEditor(), Qt::Key_Return);
        EXPECT_EQ(editor->GetElem(c.c, c.r), 7.0) << c.change;
        EXPECT_EQ(editor->GetElem(2, 3) + editor->GetElem(c.c, c.r), 7.0) << c.change; // and nowhere else
    }
}

TEST(NTabEdEntry, ThePickListShowsTheRowsAskedAndOneAtLeast)
{
    auto editor = MakeEditor();
    editor->Data().SetMScaleType(1, mstNominal);
    for (int rows : {5, 0, -3}) {
        editor->SetNomEditDropDownCount(rows);
        editor->SetSelection({2, 1, 2, 1});
        editor->setFocus();
        QTest::keyClick(editor->viewport(), Qt::Key_F2);
        ASSERT_NE(editor->InplaceEditor(), nullptr);
        const auto *list = qobject_cast<QComboBox *>(editor->InplaceEditor()->parentWidget());
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->maxVisibleItems(), std::max(rows, 1)) << rows;
        EXPECT_EQ(editor->GetNomEditDropDownCount(), std::max(rows, 1)) << rows;
        QTest::keyClick(editor->InplaceEditor(), Qt::Key_Escape);
    }
}

TEST(NTabEdEntry, AReadOnlyEditorTakesNothingTyped)
{
    auto editor = MakeEditor();
    editor->SetDataReadOnly(true);
    TypeInto(*editor, 1, 1, QStringLiteral("9"));
    EXPECT_EQ(editor->GetElem(1, 1), 0.0);
    EXPECT_EQ(editor->InplaceEditor(), nullptr);
    editor->SetDataReadOnly(false);
    TypeInto(*editor, 1, 1, QStringLiteral("9"));
    EXPECT_EQ(editor->GetElem(1, 1), 9.0);
}

TEST(NTabEdEntry, EditTextShowsTheValueAndAnUnchangedTextStoresNothing)
{
    auto editor = MakeEditor();
    editor->SetElem(1, 1, 1.23456);
    editor->SetSelection({2, 1, 2, 1});
    editor->setFocus();
    QTest::keyClick(editor->viewport(), Qt::Key_F2);
    ASSERT_NE(editor->InplaceEditor(), nullptr);
    EXPECT_EQ(editor->InplaceEditor()->text(), QStringLiteral("1.235"));
    QTest::keyClick(editor->InplaceEditor(), Qt::Key_Return);
    EXPECT_EQ(editor->GetElem(1, 1), 1.23456); // never rounded to what the cell shows
}

// ---- Rendering ----------------------------------------------------------------------------

TEST(NTabEdPaint, StateColoursOfTheCellTexts)
{
    auto editor = MakeEditor();
    editor->SetElem(1, 1, 8888.0);
    editor->SetElem(2, 1, 8888.0);
    editor->SetElem(3, 1, 8888.0);
    editor->SetElem(1, 2, 8888.0);
    editor->SetElemMarkedA(1, 1, true);
    editor->SetElemMarkedB(2, 1, true);
    editor->SetElemMarkedA(3, 1, true);
    editor->SetElemMarkedB(3, 1, true);
    editor->Data().SetCellState(1, 3, cellstate::NotANumber | cellstate::MarkedB);
    editor->SetSelection({2, 4, 2, 4}); // away from the probed cells
    const QImage image = Grab(editor->viewport());
    struct Case {
        int c, r;
        TColor text;
    };
    for (const Case &c : {Case{1, 1, 0x0000FF}, Case{2, 1, 0xFF0000}, Case{3, 1, 0xCC00BB},
                          Case{1, 2, 0x002000}, Case{1, 3, 0xFF0000}}) {
        const QRect cell = DataCellRect(*editor, c.c, c.r);
        EXPECT_GT(CountPixels(image, cell, c.text), 5) << c.c << "," << c.r;
        EXPECT_EQ(PixelAt(image, cell.right(), cell.top()), clr::White) << c.c << "," << c.r;
    }
    // Marked texts are bold: more ink than the same number unmarked.
    EXPECT_GT(CountPixels(image, DataCellRect(*editor, 1, 1), 0x0000FF),
              CountPixels(image, DataCellRect(*editor, 1, 2), 0x002000));
}

TEST(NTabEdPaint, RangeSelectionColoursUnlessMarked)
{
    auto editor = MakeEditor();
    editor->SetElem(1, 1, 8888.0);
    editor->SetElem(2, 1, 8888.0);
    editor->SetElemMarkedA(2, 1, true);
    editor->SetElemMarkedB(2, 1, true);
    editor->SetSelection({2, 1, 3, 2});
    const QImage image = Grab(editor->viewport());
    const QRect plain = DataCellRect(*editor, 1, 1), marked = DataCellRect(*editor, 2, 1);
    EXPECT_EQ(PixelAt(image, plain.right(), plain.top()), TColor(0xF8E8E0));
    EXPECT_GT(CountPixels(image, plain, 0x80552C), 5);
    EXPECT_EQ(PixelAt(image, marked.right(), marked.top()), TColor(0xF8E8E0));
    EXPECT_GT(CountPixels(image, marked, 0xCC00BB), 5);
}

TEST(NTabEdPaint, BeforeRenderCellChangesOnlyWhatIsDrawn)
{
    auto editor = MakeEditor();
    editor->SetElem(2, 2, 5.0);
    editor->SetSelection({1 + 1, 4, 1 + 1, 4});
    editor->OnBeforeRenderCell = [](QObject *, int c, int r, QString &text, TColor &, TColor &background,
                                    TNTabEd::TFontStyles &) {
        if (c == 2 && r == 2) {
            text.clear();
            background = clr::Yellow;
        }
    };
    const QImage image = Grab(editor->viewport());
    const QRect cell = DataCellRect(*editor, 2, 2);
    EXPECT_EQ(CountPixels(image, cell, clr::Yellow), cell.width() * cell.height());
    EXPECT_EQ(editor->GetElem(2, 2), 5.0);
    EXPECT_EQ(editor->GetCellText(3, 2), QStringLiteral("5.000"));
}

TEST(NTabEdPaint, HeadingsAndTheCornerShowNamesAndThePosition)
{
    auto editor = MakeEditor();
    editor->SetSelection({3, 2, 3, 2});
    EXPECT_EQ(editor->PositionIndicator(), QStringLiteral("2:2"));
    EXPECT_EQ(editor->GetCellText(0, 0), QStringLiteral("2:2"));
    EXPECT_EQ(editor->GetCellText(1, 0), QStringLiteral("Attrib"));
    editor->SetColName(2, QStringLiteral("WWWW"));
    editor->SetColName(1, QStringLiteral("WWWW"));
    const QImage image = Grab(editor->viewport());
    // The selected column's heading is drawn in ColorSelected, the others in ColorNormal.
    EXPECT_GT(CountPixels(image, editor->CellRect(3, 0), 0x404040), 5);
    EXPECT_EQ(CountPixels(image, editor->CellRect(2, 0), 0x404040), 0);
    EXPECT_GT(CountPixels(image, editor->CellRect(2, 0), 0x002000), 5);
    EXPECT_GT(CountPixels(image, editor->CellRect(0, 0), 0x002000), 3);
}

TEST(NTabEdPaint, FixedCellTextsFollowTheAttributeRowAndColumn)
{
    TNTabEd editor;
    editor.SetColName(1, QStringLiteral("first"));
    editor.SetRowName(1, QStringLiteral("top"));
    editor.SetColAttrib(1, 7);
    editor.SetRowAttrib(1, 9);
    struct Case {
        bool attribColumn, attribRow;
        int col, row;
        const char *expected;
    };
    const Case cases[] = {
        {true, false, 1, 0, "Attrib"}, {true, false, 2, 0, "first"}, {true, false, 0, 1, "top"},
        {true, false, 1, 1, "9"},      {false, false, 1, 0, "first"}, {false, false, 1, 1, "0.000"},
        {true, true, 0, 1, "Attribute"}, {true, true, 1, 1, ""},     {true, true, 2, 1, "7"},
        {true, true, 2, 0, "first"},   {true, true, 0, 2, "top"},    {false, true, 1, 1, "7"},
    };
    for (const Case &c : cases) {
        editor.SetAttribRowVisible(c.attribColumn);
        editor.SetAttribColVisible(c.attribRow);
        EXPECT_EQ(editor.GetCellText(c.col, c.row), QString::fromLatin1(c.expected))
            << c.attribColumn << c.attribRow << " " << c.col << "," << c.row;
    }
}

TEST(NTabEdPaint, EmptyCellsShowNothingEvenWhenNotANumber)
{
    TNTabEd editor;
    editor.Data().SetCellState(1, 1, cellstate::NotANumber | cellstate::Empty);
    EXPECT_EQ(editor.GetCellText(2, 1), QString());
    editor.SetElem(1, 2, std::numeric_limits<double>::infinity());
    EXPECT_EQ(editor.GetCellText(2, 2), QStringLiteral("-nan-"));
}

TEST(NTabEdPaint, AutoColWidthFitsTheWidestText)
{
    TNTabEd editor;
    editor.setFont(PinnedFont());
    const QFontMetrics metrics(PinnedFont());
    EXPECT_EQ(editor.AutoColWidth(0, true, 3), metrics.horizontalAdvance(QStringLiteral("999:9999")) + 11);
    editor.SetRowName(2, QStringLiteral("a rather long row name"));
    EXPECT_EQ(editor.AutoColWidth(0, true, 0),
              metrics.horizontalAdvance(QStringLiteral("a rather long row name")) + 8);
    editor.SetElem(2, 3, -12345.678);
    EXPECT_EQ(editor.AutoColWidth(2, false, 0), metrics.horizontalAdvance(QStringLiteral("-12345.678")) + 8);
    EXPECT_EQ(editor.GetColWidths(2), metrics.horizontalAdvance(QStringLiteral("-12345.678")) + 8);
    const int attribWidth = editor.GetColWidths(-1);
    for (int none : {4, -2, INT_MIN}) {
        EXPECT_EQ(editor.AutoColWidth(none, true, 0), 0) << none;
        EXPECT_EQ(editor.GetColWidths(-1), attribWidth) << none; // below -1 is no other name for -1
    }
    EXPECT_EQ(editor.AutoRowHeight(1, 2), metrics.height() + 4);
}

// ---- As a Qt widget -----------------------------------------------------------------------

TEST(NTabEd, ScreenReadersHearTheTableAsShown)
{
    auto editor = MakeEditor();
    editor->SetColName(1, QStringLiteral("Volts"));
    editor->SetElem(1, 2, 1.5);
    editor->Data().SetCellState(2, 2, cellstate::NotANumber);
    editor->SetSelection({2, 2, 2, 2});
    QAccessibleInterface *table = QAccessible::queryAccessibleInterface(editor.get());
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->role(), QAccessible::Table);
    QAccessibleTableInterface *cells = table->tableInterface();
    ASSERT_NE(cells, nullptr);
    EXPECT_EQ(cells->cellAt(0, 2)->text(QAccessible::Name), QStringLiteral("Volts"));
    EXPECT_EQ(cells->cellAt(2, 2)->text(QAccessible::Name), QStringLiteral("1.500"));
    EXPECT_EQ(cells->cellAt(2, 3)->text(QAccessible::Name), QStringLiteral("-nan-"));
    EXPECT_EQ(cells->cellAt(0, 0)->text(QAccessible::Name), QStringLiteral("1:2"));
}

TEST(NTabEd, SizeHintsGrowWithTheColumnsShown)
{
    TNTabEd editor;
    const QSize small = editor.sizeHint();
    EXPECT_GE(small.width(), 80 + 32 + 3 * 64);
    EXPECT_GE(small.height(), 5 * 24);
    editor.SetNrOfColumns(10);
    EXPECT_GT(editor.sizeHint().width(), small.width());
    EXPECT_LE(editor.minimumSizeHint().width(), small.width());
    EXPECT_EQ(editor.sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
}

TEST(NTabEd, AHandlerThrowingInsideBulkWorkLeavesNoFlagSet)
{
    auto editor = MakeEditor();
    editor->OnPercentDone = [](QObject *, int) { throw std::runtime_error("handler failed"); };
    EXPECT_THROW(editor->Redimension(3, 5), std::runtime_error);
    editor->OnPercentDone = nullptr;
    EventRecorder events;
    editor->OnChange = events.Recorder(QStringLiteral("OnChange"));
    editor->OnCellStateChanged = events.Recorder(QStringLiteral("OnCellStateChanged"));
    PaintCounter paints(editor->viewport());
    editor->SetElem(1, 1, 2.0);
    editor->SetElemMarkedA(1, 1, true);
    EXPECT_EQ(events.Events(), (QStringList{QStringLiteral("OnChange"), QStringLiteral("OnCellStateChanged")}));
    EXPECT_GE(paints.Count, 2);
}

TEST(NTabEdEntry, KeysAnnounceTheSelectionAndScrollingTheTopLeft)
{
    auto editor = MakeEditor();
    editor->SetNrOfRows(100);
    EventRecorder events;
    editor->OnSelectionChanged = events.Recorder(QStringLiteral("OnSelectionChanged"));
    editor->OnTopLeftChanged = events.Recorder(QStringLiteral("OnTopLeftChanged"));
    editor->setFocus();
    QTest::keyClick(editor->viewport(), Qt::Key_Down);
    EXPECT_EQ(events.Events(), QStringList{QStringLiteral("OnSelectionChanged")});
    EXPECT_EQ(editor->PositionIndicator(), QStringLiteral("1:2"));
    events.Clear();
    editor->SetTopRow(50);
    EXPECT_EQ(editor->GetTopRow(), 50);
    EXPECT_EQ(events.Count(QStringLiteral("OnTopLeftChanged")), 1);
    editor->SetTopRow(0);
    EXPECT_EQ(editor->GetTopRow(), 1);
}

TEST(NTabEdEntry, EscapeLeavesEditingAndKeepsTheCellAsItWas)
{
    auto editor = MakeEditor();
    editor->Data().SetMScaleType(3, mstNominal);
    editor->Data().SetNominalID(3, 2, QStringLiteral("red"));
    const struct
    {
        int c;
        double value;
        uint8_t state;
        const char *shown;
    } cases[] = {
        {1, 5.0, 0, "5.000"},
        {2, 7.0, cellstate::MarkedA | cellstate::Empty, ""},
        {3, 2.0, 0, "red"}, // the pick list of an identifier column
    };
    for (const auto &c : cases) {
        editor->SetElem(c.c, 1, c.value);
        editor->Data().SetCellState(c.c, 1, c.state);
        editor->SetSelection({c.c + 1, 1, c.c + 1, 1});
        editor->setFocus();
        QTest::keyClick(QApplication::focusWidget(), '9');
        ASSERT_NE(editor->InplaceEditor(), nullptr) << c.c;
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("12"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        EXPECT_FALSE(editor->GetEditorMode()) << c.c;
        EXPECT_EQ(editor->InplaceEditor(), nullptr) << c.c;
        EXPECT_EQ(editor->GetElem(c.c, 1), c.value) << c.c;
        EXPECT_EQ(editor->GetCellState(c.c, 1), c.state) << c.c;
        EXPECT_EQ(editor->GetCellText(c.c + 1, 1), QString::fromLatin1(c.shown)) << c.c;
        EXPECT_EQ(editor->GetSelection(), (TGridRect{c.c + 1, 1, c.c + 1, 1})) << c.c;
    }
}

TEST(NTabEdEntry, TabStoresTheTypedValueAndMovesAlongTheRow)
{
    // The editor keeps Tab for itself, Options or not: on a form with another control,
    // Tab must neither leave the typed number unstored nor carry the focus away.
    TEditorOnForm form;
    TNTabEd *editor = form.Editor;
    editor->SetSelection({4, 1, 4, 1}); // data cell (3, 1), the last of its row
    editor->setFocus();
    QTest::keyClick(QApplication::focusWidget(), '7');
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(editor->GetElem(3, 1), 7.0);
    EXPECT_EQ(editor->GetSelection(), (TGridRect{2, 2, 2, 2})); // on into the next row
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(editor->GetSelection(), (TGridRect{4, 1, 4, 1}));
    EXPECT_TRUE(editor->isAncestorOf(QApplication::focusWidget()) || QApplication::focusWidget() == editor);
}

TEST(NTabEdEntry, ANumberTypedIsStoredWhenAnotherControlTakesTheFocus)
{
    TEditorOnForm form; // the other control stands for a dialog's OK button
    form.Editor->SetSelection({2, 2, 2, 2});
    form.Editor->setFocus();
    TypeKeys(QStringLiteral("2,5"));
    form.Other->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(form.Editor->GetElem(1, 2), 2.5);
    EXPECT_FALSE(form.Editor->GetEditorMode());
}
