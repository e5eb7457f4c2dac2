#include "EventRecorder.h"
#include "MouseMove.h"
#include "NVO_replistview.h"
#include "PinnedFont.h"
#include "PixelProbe.h"
#include "TempDir.h"

#include <QtGui/QAccessible>
#include <QtGui/QClipboard>
#include <QtGui/QGuiApplication>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLineEdit>
#include <gtest/gtest.h>

#include <memory>

using namespace nvo;
using namespace nvo::test;

namespace {

using View = TReportListView;

/// A view on screen with `rows` data rows, in the pinned font.
std::unique_ptr<View> MakeView(int rows = 8, QSize size = QSize(400, 300))
{
    auto view = std::make_unique<View>();
    view->setObjectName(QStringLiteral("view"));
    view->setFont(PinnedFont(13));
    view->SetNrOfRows(rows);
    view->resize(size);
    view->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    QCoreApplication::processEvents();
    return view;
}

/// The grid's own width of a grid column (the view's ColWidths take data columns).
int GridWidth(const View &view, int gridCol) { return static_cast<const TCustomGrid &>(view).GetColWidths(gridCol); }

QPoint CellCentre(const View &view, int gridCol, int gridRow) { return view.CellRect(gridCol, gridRow).center(); }

void ClickCell(View &view, int gridCol, int gridRow, Qt::KeyboardModifiers mods = {})
{
    QTest::mouseClick(view.viewport(), Qt::LeftButton, mods, CellCentre(view, gridCol, gridRow));
}

TColor ToTColor(const QColor &c) { return RGBColor(c.red(), c.green(), c.blue()); }

TColor Resolved(const View &view, TColor color) { return ToTColor(ToQColor(color, view.palette())); }

/// The pixel a little inside a cell's top-left corner, away from any text.
TColor CellBackground(View &view, int gridCol, int gridRow)
{
    const QRect r = view.CellRect(gridCol, gridRow);
    return PixelAt(Grab(view.viewport()), r.right() - 2, r.bottom() - 1);
}

QImage CellImage(View &view, int gridCol, int gridRow)
{
    return Grab(view.viewport()).copy(view.CellRect(gridCol, gridRow));
}

} // namespace

// ---- Pure logic -------------------------------------------------------------------------------

TEST(RLColumnOrder, MapsBothWaysThroughOneOrder)
{
    TRLColumnOrder order(3);
    ASSERT_TRUE(order.Set({2, 3, 1})); // a 3-cycle: not its own inverse
    const int dataAt[] = {2, 3, 1};
    for (int gridCol = 0; gridCol < 3; ++gridCol) {
        EXPECT_EQ(order.DataColumn(gridCol), dataAt[gridCol]);
        EXPECT_EQ(order.GridColumn(dataAt[gridCol]), gridCol);
    }
    EXPECT_EQ(order.DataColumn(3), 0);
    EXPECT_EQ(order.GridColumn(0), -1);
}

TEST(RLColumnOrder, WrongLengthChangesNothingAndBadEntriesKeepTheirPlace)
{
    TRLColumnOrder order(3);
    EXPECT_FALSE(order.Set({3, 1}));
    EXPECT_EQ(order.DataColumn(0), 1);
    EXPECT_FALSE(order.Set({3, 0, 1}));
    EXPECT_EQ(order.DataColumn(0), 3);
    EXPECT_EQ(order.DataColumn(1), 2);
    EXPECT_EQ(order.DataColumn(2), 1);
}

TEST(RLRowMap, HeadRowsShiftDataRows)
{
    struct Case {
        bool common, column;
        int headRows, gridRowsForNoData, gridRowOfData1, columnHeaderRow;
    };
    const Case cases[] = {
        {false, false, 0, 1, 0, -1},
        {false, true, 1, 2, 1, 0},
        {true, false, 1, 2, 1, -1},
        {true, true, 2, 3, 2, 1},
    };
    for (const Case &c : cases) {
        const TRLRowMap map{c.common, c.column};
        EXPECT_EQ(map.HeadRows(), c.headRows);
        EXPECT_EQ(map.GridRowCount(0), c.gridRowsForNoData);
        EXPECT_EQ(map.GridRow(1), c.gridRowOfData1);
        EXPECT_EQ(map.DataRow(map.GridRow(7)), 7);
        EXPECT_EQ(map.ColumnHeaderRow(), c.columnHeaderRow);
    }
}

TEST(RLTruncation, CutsByTheShareThatFitsRoundedHalfToEven)
{
    struct Case {
        QString text;
        int width, avail, margin;
        bool right;
        QString expected;
    };
    const Case cases[] = {
        {QStringLiteral("abcdefghij"), 100, 100, 4, false, QStringLiteral("abcdefghij")}, // fits
        {QStringLiteral("abcdefghij"), 100, 80, 4, false, QStringLiteral("abcd...")},     // 10*0.8-4 = 4
        {QStringLiteral("abcdefghij"), 100, 80, 4, true, QStringLiteral("a...ghij")},
        {QStringLiteral("abcdefghij"), 100, 45, 4, false, QStringLiteral("a...")},        // 0.5 -> 0 -> at least 1
        {QStringLiteral("abcdefghij"), 100, 65, 4, false, QStringLiteral("ab...")},       // 2.5 -> 2 (even)
        {QStringLiteral("abcdefghij"), 100, 75, 4, false, QStringLiteral("abcd...")},     // 3.5 -> 4 (even)
    };
    for (const Case &c : cases)
        EXPECT_EQ(TruncatedCellText(c.text, c.width, c.avail, c.margin, c.right), c.expected) << c.avail;
}

// ---- Model and columns ------------------------------------------------------------------------

TEST(ReportListView, StartsWithFiveNamedColumnsFourRowsAndOneHeaderRow)
{
    View view;
    EXPECT_EQ(view.GetNrOfColumns(), 5);
    EXPECT_EQ(view.GetNrOfRows(), 4);
    EXPECT_EQ(view.CountHeadRows(), 1);
    EXPECT_EQ(view.GetRowCount(), 5);
    EXPECT_EQ(view.GetFixedRows(), 1);
    EXPECT_EQ(view.GetFixedCols(), 0);
    for (int c = 1; c <= 5; ++c)
        EXPECT_EQ(view.GetHeader(c), QStringLiteral("C-%1").arg(c));
    EXPECT_EQ(view.GetCommonHeader(), QStringLiteral("NVO Report Listview"));
    EXPECT_EQ(view.GetRowSelectMode(), 1);
    EXPECT_EQ(view.GetTopRow(), 1);
    EXPECT_FALSE(view.GetDefaultDrawing());
    EXPECT_FALSE(view.GetSuppressPaint());
}

TEST(ReportListView, HeaderHeightsAreClamped)
{
    const int cases[][2] = {{200, 127}, {3, 8}, {30, 30}};
    View view;
    for (const auto &c : cases) {
        view.SetColumnHeadersHeight(c[0]);
        EXPECT_EQ(view.GetColumnHeadersHeight(), c[1]);
        EXPECT_EQ(view.GetRowHeights(0), c[1]);
        view.SetCommonHeaderHeight(c[0]);
        EXPECT_EQ(view.GetCommonHeaderHeight(), c[1]);
    }
}

TEST(ReportListView, KeepsOneDataRowUnderBothHeaders)
{
    View view;
    view.SetCommonHeaderVisible(true);
    view.SetNrOfRows(0);
    EXPECT_EQ(view.GetRowCount(), 3);
    EXPECT_EQ(view.GetFixedRows(), 2);
}

TEST(ReportListView, ColumnHeadersUnderTheCommonHeaderTakeTheirHeightWithOneDataRow)
{
    // Grid row 1 holds the column headers whenever both headers show, also when the
    // store has fewer than two rows.
    View view;
    view.SetNrOfRows(1);
    view.SetColumnHeadersHeight(33);
    view.SetCommonHeaderHeight(40);
    view.SetCommonHeaderVisible(true);
    EXPECT_EQ(view.GetRowHeights(0), 40);
    EXPECT_EQ(view.GetRowHeights(1), 33);
    view.SetCommonHeaderVisible(false);
    EXPECT_EQ(view.GetRowHeights(0), 33);
    EXPECT_EQ(view.GetRowHeights(1), view.GetDefaultRowHeight());
}

TEST(ReportListView, ThreeCycleColumnOrderKeepsEachColumnsOwnSettings)
{
    auto view = MakeView(2);
    view->SetNrOfColumns(3);
    ASSERT_TRUE(view->SetColumnOrder({2, 3, 1}));
    const int widths[] = {90, 50, 30};
    for (int data = 1; data <= 3; ++data)
        view->SetColWidths(data, widths[data - 1]);
    // The grid column that shows a data column gets that column's width.
    const int gridOf[] = {2, 0, 1};
    for (int data = 1; data <= 3; ++data) {
        EXPECT_EQ(view->GetColWidths(data), widths[data - 1]) << data;
        EXPECT_EQ(GridWidth(*view, gridOf[data - 1]), widths[data - 1]) << data;
        EXPECT_EQ(view->GetColumnOrder(gridOf[data - 1] + 1), data);
    }
    // Alignment: data column 1, right-aligned, draws its text at the right of grid column 2.
    view->SetColumnAlignment(1, taRightJustify);
    view->SetElem(1, 1, QStringLiteral("ab"));
    view->SetElem(2, 1, QStringLiteral("ab"));
    const QRect shown = view->CellRect(2, 1);
    const QRect ink = InkBounds(CellImage(*view, 2, 1), PixelAt(CellImage(*view, 2, 1), 1, 1));
    EXPECT_GT(ink.left(), shown.width() / 2);
    const QRect leftInk = InkBounds(CellImage(*view, 0, 1), PixelAt(CellImage(*view, 0, 1), 1, 1));
    EXPECT_LT(leftInk.left(), 10); // data column 2 stays left-aligned
}

TEST(ReportListView, InPlaceEditingUsesAndWritesTheColumnShown)
{
    auto view = MakeView(2);
    view->SetNrOfColumns(3);
    view->SetOptions(view->GetOptions() & ~TCustomGrid::TGridOptions(TCustomGrid::goRowSelect));
    view->SetColumnOrder({2, 3, 1});
    view->SetColumnEditable(3, true); // shown at grid column 1
    view->SetElem(3, 1, QStringLiteral("old"));
    EventRecorder events;
    view->OnSetEditText = [&](QObject *, int col, int row, const QString &value) {
        events.Record(QStringLiteral("%1,%2:%3").arg(col).arg(row).arg(value));
    };
    ClickCell(*view, 1, 1);
    QTest::keyClick(view.get(), Qt::Key_F2);
    QLineEdit *editor = view->InplaceEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), QStringLiteral("old"));
    editor->setText(QStringLiteral("new"));
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(view->GetElem(3, 1), QStringLiteral("new"));
    EXPECT_EQ(view->GetElem(2, 1), QString());
    EXPECT_EQ(events.Events(), QStringList{QStringLiteral("1,1:new")});
    // Grid column 2 shows data column 1, which is not editable.
    ClickCell(*view, 2, 1);
    QTest::keyClick(view.get(), Qt::Key_F2);
    EXPECT_EQ(view->InplaceEditor(), nullptr);
}

TEST(ReportListView, EditedTextOfACheckMarkCellKeepsItsState)
{
    auto view = MakeView(2);
    view->SetOptions(view->GetOptions() & ~TCustomGrid::TGridOptions(TCustomGrid::goRowSelect));
    view->SetColumnCheckMode(1, TRLData::cmBox);
    view->SetElem(1, 1, QStringLiteral("text"));
    view->SetElemChecked(1, 1, true);
    view->SetColumnEditable(1, true);
    ClickCell(*view, 0, 1);
    QTest::keyClick(view.get(), Qt::Key_F2);
    ASSERT_NE(view->InplaceEditor(), nullptr);
    EXPECT_EQ(view->InplaceEditor()->text(), QStringLiteral("text"));
    view->InplaceEditor()->setText(QStringLiteral("edited"));
    QTest::keyClick(view->InplaceEditor(), Qt::Key_Return);
    EXPECT_EQ(view->RLData().Strings().GetString(1, 1), QStringLiteral("Xedited"));
}

TEST(ReportListView, RemoveRowGoesThroughTheStore)
{
    View view;
    view.SetNrOfColumns(1);
    view.SetNrOfRows(3);
    const QString texts[] = {QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("a")};
    for (int r = 1; r <= 3; ++r)
        view.SetElem(1, r, texts[r - 1]);
    view.Sort(1, -1, true); // shows a, b, c
    view.RemoveRow(1);      // the shown "a"
    EXPECT_EQ(view.GetNrOfRows(), 2);
    EXPECT_EQ(view.GetElem(1, 1), QStringLiteral("b"));
    EXPECT_EQ(view.GetElem(1, 2), QStringLiteral("c"));
    EXPECT_FALSE(view.RLData().Strings().IsSorted()); // the sort was committed first
    EXPECT_EQ(view.GetRowCount(), 3);

    view.RemoveRow(2);
    view.RemoveRow(1);
    EXPECT_EQ(view.GetNrOfRows(), 0);
    EXPECT_GE(view.RLData().Strings().NrOfRows(), 1); // the last matrix row stays
    EXPECT_EQ(view.GetElem(1, 1), QString());
    EXPECT_EQ(view.GetRowCount(), 2);
}

TEST(ReportListView, SetColumnOrderChecksTheListLength)
{
    View view;
    EXPECT_FALSE(view.SetColumnOrder({1, 2}));
    EXPECT_EQ(view.GetColumnOrder(1), 1);
    EXPECT_FALSE(view.SetColumnOrder({5, 0, 3, 2, 1}));
    EXPECT_EQ(view.GetColumnOrder(1), 5);
    EXPECT_EQ(view.GetColumnOrder(2), 2);
    EXPECT_EQ(view.GetColumnOrder(0), 0);
}

TEST(ReportListView, AutoColWidthReservesTheMarkSpaceInBoxAndRadioColumns)
{
    View view;
    view.setFont(PinnedFont(13));
    const QFontMetrics metrics(view.font());
    for (const TRLData::TCheckMode mode : {TRLData::cmNone, TRLData::cmBox, TRLData::cmRadio}) {
        view.SetColumnCheckMode(1, TRLData::cmNone);
        view.SetElem(1, 1, QStringLiteral("Wide text"));
        view.SetColumnCheckMode(1, mode);
        const QString stored = view.RLData().Strings().GetString(1, 1);
        const int mark = mode == TRLData::cmNone ? 0 : View::CheckMarkSpace;
        EXPECT_EQ(view.DetermineMaxColWidth(1, false), metrics.horizontalAdvance(stored) + mark + 10) << mode;
        view.AutoColWidth(1, false, 5);
        EXPECT_EQ(view.GetColWidths(1), metrics.horizontalAdvance(stored) + mark + 15) << mode;
    }
    EXPECT_EQ(view.DetermineMaxColWidth(9, true), 10);
}

TEST(ReportListView, AutoColWidthOnALongTableFindsTheLongestTexts)
{
    View view;
    view.setFont(PinnedFont(13));
    const int rows = View::kMeasuredCells + 500;
    view.SetNrOfRows(rows);
    for (int r = 1; r <= rows; ++r)
        view.RLData().Strings().SetString(1, r, r % 2 ? QStringLiteral("abc") : QStringLiteral("abcd"));
    const QString widest = QStringLiteral("A much longer text");
    view.SetElem(1, rows - 1, widest);
    EXPECT_EQ(view.DetermineMaxColWidth(1, false), QFontMetrics(view.font()).horizontalAdvance(widest) + 10);
}

TEST(ReportListView, ExpandColWidthNeverGoesBelowSixteen)
{
    auto view = MakeView(2);
    for (int c = 2; c <= 5; ++c)
        view->SetColWidths(c, 200);
    view->ExpandColWidth(1, 0);
    EXPECT_EQ(view->GetColWidths(1), 16);
    for (int c = 2; c <= 5; ++c)
        view->SetColWidths(c, 20);
    view->ExpandColWidth(1, 10);
    EXPECT_EQ(view->GetColWidths(1), view->viewport()->width() - 10 - 80);
}

TEST(ReportListView, StoreNotificationsReachTheViewsEvents)
{
    View view;
    EventRecorder events;
    view.OnChange = events.Recorder(QStringLiteral("change"));
    view.OnChangeSetup = events.Recorder(QStringLiteral("setup"));
    view.SetElem(1, 1, QStringLiteral("x"));
    EXPECT_EQ(events.Count(QStringLiteral("change")), 1);
    view.SetColorText(clr::Red);
    EXPECT_EQ(events.Count(QStringLiteral("setup")), 1);
    view.SetColorText(clr::Red);
    EXPECT_EQ(events.Count(QStringLiteral("setup")), 1);
    for (const int width : {90, 90}) // a width fires in every case, once
        view.SetColWidths(2, width);
    EXPECT_EQ(events.Count(QStringLiteral("setup")), 3);
    view.SetNrOfColumns(8);
    EXPECT_EQ(events.Count(QStringLiteral("setup")), 4);
    QObject *htmlSender = nullptr;
    view.OnBeforeHTMLExport = [&](QObject *sender, QString &, int, int) { htmlSender = sender; };
    QString text = QStringLiteral("t");
    view.RLData().BeforeHTMLExport(text, 1, 1);
    EXPECT_EQ(htmlSender, &view);
}

TEST(ReportListView, StoreResizedDirectlyResizesTheGrid)
{
    View view;
    view.RLData().SetNrRows(20);
    EXPECT_EQ(view.GetRowCount(), 21);
    view.RLData().SetNrCols(7);
    EXPECT_EQ(view.GetColCount(), 7);
    EXPECT_EQ(view.GetColumnOrder(7), 7);
}

TEST(ReportListView, GetAsNumberNamesTheView)
{
    View view;
    view.SetElem(2, 3, QStringLiteral("3.5x"));
    try {
        view.GetAsNumber(2, 3);
        FAIL();
    } catch (const ENVODStructError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Class TReportListView: invalid numeric string: [2,3]: 3.5x"));
    }
    view.SetElem(2, 3, QStringLiteral(" 3,5 "));
    EXPECT_DOUBLE_EQ(view.GetAsNumber(2, 3), 3.5);
}

TEST(ReportListView, RefusesAlignmentsOutsideTheEnumeration)
{
    View view;
    view.SetCommonHeaderAlignment(TAlignment(7));
    EXPECT_EQ(view.GetCommonHeaderAlignment(), taCenter);
    view.SetColumnAlignment(1, TAlignment(9));
    EXPECT_EQ(view.GetColumnAlignment(1), taLeftJustify);
}

TEST(ReportListView, ColumnCountKeepsTheLastWidthAndResetsTheNewColumns)
{
    View view;
    view.SetColWidths(5, 90);
    view.SetColumnAlignment(5, taCenter);
    view.SetColumnOrder({5, 4, 3, 2, 1});
    view.SetNrOfColumns(7);
    EXPECT_EQ(view.GetColWidths(5), 90);
    EXPECT_EQ(view.GetColWidths(6), 90);
    EXPECT_EQ(view.GetColWidths(7), 90);
    EXPECT_EQ(view.GetColumnAlignment(5), taCenter);
    EXPECT_EQ(view.GetColumnAlignment(7), taLeftJustify);
    EXPECT_EQ(view.GetColumnOrder(1), 1); // the order is the identity again
    EXPECT_EQ(view.GetHeader(7), QStringLiteral("C-7"));
}

TEST(ReportListView, InsertRowAddsBeforeOrAppendsAndForgetsTheSort)
{
    struct Case {
        int at, returned, rows;
        QString firstTwo;
    };
    const Case cases[] = {
        {1, 1, 4, QStringLiteral("|a")}, {2, 2, 4, QStringLiteral("a|")},
        {9, 4, 4, QStringLiteral("a|b")}, {0, 0, 3, QStringLiteral("a|b")},
    };
    for (const Case &c : cases) {
        View view;
        view.SetNrOfRows(3);
        view.SetElem(1, 1, QStringLiteral("a"));
        view.SetElem(1, 2, QStringLiteral("b"));
        view.SetElem(1, 3, QStringLiteral("c"));
        view.Sort(1, -1, true);
        EXPECT_EQ(view.InsertRow(c.at), c.returned) << c.at;
        EXPECT_EQ(view.GetNrOfRows(), c.rows) << c.at;
        EXPECT_EQ(view.GetRowCount(), c.rows + 1) << c.at;
        EXPECT_EQ(view.GetElem(1, 1) + QLatin1Char('|') + view.GetElem(1, 2), c.firstTwo) << c.at;
        EXPECT_EQ(view.GetLastSortColumn(), -1);
    }
}

TEST(ReportListView, ReadCellHandlerChangesOnlyWhatTheCallerGets)
{
    View view;
    view.SetElem(2, 1, QStringLiteral("stored"));
    view.OnReadCell = [](QObject *, int col, int row, QString &text) {
        text += QStringLiteral(" @%1,%2").arg(col).arg(row);
    };
    EXPECT_EQ(view.GetElem(2, 1), QStringLiteral("stored @2,1"));
    EXPECT_EQ(view.RLData().GetElem(2, 1), QStringLiteral("stored"));
}

TEST(ReportListView, BulkSelectionCountsAndDisabledRows)
{
    View view;
    view.SetNrOfRows(5);
    int changes = 0;
    view.OnSelectedChange = [&](QObject *) { ++changes; };
    view.SelectAllRows();
    view.SetRowEnabled(1, false);
    EXPECT_EQ(view.NumSelectedRows(), 5);
    EXPECT_EQ(view.NumEnabledRows(), 4);
    EXPECT_EQ(view.FirstSelectedRow(), 0); // the lowest selected row is disabled
    view.SelectRow(3);
    EXPECT_EQ(view.NumSelectedRows(), 1);
    EXPECT_EQ(view.FirstSelectedRow(), 3);
    view.SelectColumn(2);
    view.SelectAllColumns();
    EXPECT_EQ(view.NumSelectedColumns(), 5);
    view.DeselectAllColumns();
    EXPECT_EQ(view.FirstSelectedColumn(), 0);
    view.DisableAllRows();
    EXPECT_EQ(view.NumEnabledRows(), 0);
    view.EnableAllRows();
    EXPECT_EQ(view.NumEnabledRows(), 5);
    EXPECT_EQ(changes, 2 + 6);
}

TEST(ReportListView, CheckMarkOperationsCanSkipDisabledRows)
{
    View view;
    view.SetNrOfRows(4);
    view.SetColumnCheckMode(1, TRLData::cmBox);
    view.SetRowEnabled(2, false);
    view.SetAllCheckmarksOfCol(1, true, true);
    EXPECT_EQ(view.RLData().CountCheckedElemsInCol(1), 3);
    EXPECT_FALSE(view.GetElemChecked(1, 2));
    view.InvertAllCheckmarksOfCol(1);
    EXPECT_EQ(view.RLData().CountCheckedElemsInCol(1), 1);
    EXPECT_EQ(view.CountCheckedElemsInCol(1), 0); // the checked one is disabled
}

TEST(ReportListView, AssignCopiesSettingsColumnsAndStore)
{
    View source;
    source.SetNrOfColumns(3);
    source.SetNrOfRows(6);
    source.SetElem(2, 5, QStringLiteral("copied"));
    source.SetCommonHeaderVisible(true);
    source.SetColumnAlignment(3, taRightJustify);
    source.SetColorText(clr::Navy);
    source.SetColWidths(2, 120);
    source.SetFixedFirstColumn(true);
    View target;
    target.Assign(&source);
    EXPECT_EQ(target.GetNrOfColumns(), 3);
    EXPECT_EQ(target.GetElem(2, 5), QStringLiteral("copied"));
    EXPECT_TRUE(target.GetCommonHeaderVisible());
    EXPECT_EQ(target.GetRowCount(), 8);
    EXPECT_EQ(target.GetColumnAlignment(3), taRightJustify);
    EXPECT_EQ(target.GetColorText(), clr::Navy);
    EXPECT_EQ(target.GetColWidths(2), 120);
    EXPECT_EQ(target.GetFixedCols(), 1);
    QObject other;
    EXPECT_THROW(target.Assign(&other), EConvertError);
}

TEST(ReportListView, ExchangeOperationsWorkOnTheViewsStore)
{
    View source;
    source.SetNrOfColumns(2);
    source.SetNrOfRows(3);
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 2; ++c)
            source.SetElem(c, r, QStringLiteral("r%1c%2").arg(r).arg(c));
    source.CopyToClipBoard(1, 1, 2, 2, false, QStringLiteral(";"));
    EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith(QStringLiteral("r1c1;r1c2")));

    TempDir dir;
    const QString path = dir.Path(QStringLiteral("view.csv"));
    EXPECT_EQ(source.ExportCSV(path, cdSemicolon, true, false, 1, 1, 2, 3), 3);
    View target;
    ASSERT_EQ(target.ImportCSV(path, cdSemicolon, true), 0);
    EXPECT_EQ(target.GetNrOfRows(), 3);
    EXPECT_EQ(target.GetNrOfColumns(), 2);
    EXPECT_EQ(target.GetRowCount(), 4); // the grid follows the imported store
    EXPECT_EQ(target.GetElem(2, 3), QStringLiteral("r3c2"));
}

// ---- Painting ---------------------------------------------------------------------------------

TEST(ReportListViewPaint, ShadesRowGroupsByPattern)
{
    struct Case {
        int pattern;
        std::vector<bool> shaded; // data rows 1..
    };
    const Case cases[] = {
        {1, {true, false, true, false}},
        {3, {true, true, true, false, false, false, true}},
        {0, {false, false, false}},
    };
    auto view = MakeView(8);
    for (const Case &c : cases) {
        view->SetRowColPattern(c.pattern);
        for (size_t i = 0; i < c.shaded.size(); ++i)
            EXPECT_EQ(CellBackground(*view, 2, int(i) + 1), c.shaded[i] ? TColor(0xF0EFE8) : TColor(0xFFFFFF))
                << "pattern " << c.pattern << " row " << i + 1;
    }
}

TEST(ReportListViewPaint, ColourPrecedenceOfDisabledHighlightAndSelection)
{
    struct Case {
        const char *name;
        std::function<void(View &)> setup;
        TColor background;
    };
    const Case cases[] = {
        {"selected row", [](View &v) { v.SetRowSelected(2, true); }, 0x94BAED},
        {"selected column", [](View &v) { v.SetColorSelectedCol(0x112233); v.SetColumnSelected(3, true); }, 0x112233},
        {"both", [](View &v) { v.SetColorSelectedBoth(0x445566); v.SetRowSelected(2, true); v.SetColumnSelected(3, true); }, 0x445566},
        {"highlight over selection", [](View &v) { v.SetRowSelected(2, true); v.SetHighLightRow(2); }, 0xCC9966},
        {"highlighted column", [](View &v) { v.SetHighLightColumn(3); }, 0xCC9966},
        {"disabled over both", [](View &v) { v.SetRowSelected(2, true); v.SetHighLightRow(2); v.SetRowEnabled(2, false); }, 0xF0F0F0},
    };
    for (const Case &c : cases) {
        auto view = MakeView(4);
        view->SetRowSelected(1, false);
        c.setup(*view);
        EXPECT_EQ(CellBackground(*view, 2, 2), c.background) << c.name;
    }
}

TEST(ReportListViewPaint, PasswordColumnShowsSixAsterisks)
{
    auto view = MakeView(2);
    view->SetElem(1, 1, QStringLiteral("secret words"));
    view->SetColumnIsPwd(1, true);
    view->SetElem(2, 1, QStringLiteral("******"));
    view->SetRowColPattern(0);
    EXPECT_EQ(CellImage(*view, 0, 1), CellImage(*view, 1, 1));
}

TEST(ReportListViewPaint, TooWideTextEndsWithDotsOrStartsWithThemWhenRightAligned)
{
    auto view = MakeView(2);
    view->SetRowColPattern(0);
    const QString wide = QStringLiteral("abcdefghijklmnopqrstuvwxyz");
    const QFontMetrics metrics(view->font());
    const int avail = 64 - 9;
    for (const TAlignment alignment : {taLeftJustify, taRightJustify}) {
        view->SetColumnAlignment(1, alignment);
        view->SetColumnAlignment(2, alignment);
        const QString cut = TruncatedCellText(wide, metrics.horizontalAdvance(wide), avail, 4,
                                              alignment == taRightJustify);
        EXPECT_TRUE(alignment == taRightJustify ? cut.startsWith(QStringLiteral("a...")) : cut.endsWith(QStringLiteral("...")));
        view->SetElem(1, 1, wide);
        view->SetElem(2, 1, cut);
        EXPECT_EQ(CellImage(*view, 0, 1), CellImage(*view, 1, 1)) << alignment;
    }
}

TEST(ReportListViewPaint, CheckBoxesRadioMarksAndReadOnlyMarks)
{
    auto view = MakeView(4);
    view->SetRowColPattern(0);
    view->SetColumnCheckMode(1, TRLData::cmBox);
    view->SetColumnCheckMode(2, TRLData::cmRadio);
    view->SetElem(1, 1, QStringLiteral("boxed"));
    view->SetElemChecked(1, 1, true);
    view->SetElemChecked(2, 2, true);
    view->RLData().Strings().SetString(1, 3, QStringLiteral(" ")); // only its state character
    const TColor shadow = Resolved(*view, clr::BtnShadow);
    const TColor text = 0x002000;
    const auto pixel = [&](int gridCol, int gridRow, int dx, int dy) {
        const QRect r = view->CellRect(gridCol, gridRow);
        return PixelAt(Grab(view->viewport()), r.left() + dx, r.top() + dy);
    };
    EXPECT_EQ(pixel(0, 1, 4, 8), shadow);  // box outline
    EXPECT_EQ(pixel(0, 1, 7, 9), text);    // a stroke of the tick
    EXPECT_EQ(pixel(1, 2, 9, 9), text);    // the radio dot
    EXPECT_EQ(pixel(0, 3, 4, 8), shadow);  // an empty box still shows
    view->SetShowEmptyCheckBoxes(false);
    EXPECT_EQ(pixel(0, 3, 4, 8), TColor(0xFFFFFF));
    view->SetCheckMarksReadOnly(true);
    EXPECT_EQ(pixel(0, 1, 4, 8), TColor(0xFFFFFF)); // no outline
    EXPECT_EQ(pixel(0, 1, 7, 9), text);             // the tick stays
}

TEST(ReportListViewPaint, EmptyListMessageLinesAreCentredBelowTheHeader)
{
    auto view = MakeView(0);
    view->SetEmptyMessage(QStringLiteral("No data|at all"));
    view->SetColorEmptyMsg(clr::Red);
    const QImage image = Grab(view->viewport());
    const QRect ink = InkBounds(image.copy(0, 22, image.width(), image.height() - 22), Resolved(*view, view->GetColor()));
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_LE(std::abs(ink.left() - (image.width() - 1 - ink.right())), 2);
    const int h = QFontMetrics(view->font()).height();
    EXPECT_GT(ink.height(), h); // two lines
    EXPECT_LE(ink.height(), 2 * h);
    EXPECT_GT(CountPixels(image, QRect(0, 22, image.width(), image.height() - 22), clr::Red), 0);
    // Too short to centre it, the view still shows the message below its headers.
    view->resize(400, 60);
    const QImage shortImage = Grab(view->viewport());
    EXPECT_EQ(CountPixels(shortImage, QRect(0, 0, shortImage.width(), 21), clr::Red), 0);
    EXPECT_GT(CountPixels(shortImage, QRect(0, 21, shortImage.width(), shortImage.height() - 21), clr::Red), 0);
}

TEST(ReportListViewPaint, SortIndicatorPointsDownAfterTheFirstHeaderClick)
{
    auto view = MakeView(3);
    const auto rowsWithLine = [&](TColor color) {
        const QImage image = Grab(view->viewport());
        const QRect header = view->CellRect(0, 0);
        int rows = 0;
        for (int y = header.top() + 1; y < header.bottom(); ++y)
            rows += CountPixels(image, QRect(header.left() + 30, y, 30, 1), color) >= 8 ? 1 : 0;
        return rows;
    };
    ClickCell(*view, 0, 0);
    EXPECT_FALSE(view->GetLastSortOrder());
    EXPECT_EQ(rowsWithLine(0x808080), 1); // the flat gray top edge of a downward triangle
    EXPECT_EQ(rowsWithLine(clr::White), 0);
    ClickCell(*view, 0, 0);
    EXPECT_TRUE(view->GetLastSortOrder());
    EXPECT_EQ(rowsWithLine(clr::White), 1); // the flat white bottom edge of an upward one
}

TEST(ReportListViewPaint, FixedFirstColumnHasTheHeaderBackgroundAndARaisedEdge)
{
    auto view = MakeView(3);
    view->SetFixedFirstColumn(true);
    EXPECT_EQ(view->GetFixedCols(), 1);
    const QRect r = view->CellRect(0, 1);
    const QImage image = Grab(view->viewport());
    EXPECT_EQ(PixelAt(image, r.left() + 20, r.bottom() - 3), Resolved(*view, clr::BtnFace));
    EXPECT_EQ(PixelAt(image, r.left(), r.top() + 5), clr::White);
    EXPECT_EQ(PixelAt(image, r.right(), r.top() + 5), TColor(0x808080));
}

TEST(ReportListViewPaint, CommonHeaderSpansTheVisibleColumns)
{
    auto view = MakeView(3, QSize(200, 200));
    view->SetCommonHeaderVisible(true);
    view->SetColorCommonHd(0x00FF00);
    const QImage image = Grab(view->viewport());
    const QRect second = view->CellRect(1, 0);
    EXPECT_EQ(PixelAt(image, second.left() + 2, second.bottom() - 2), TColor(0x00FF00));
}

TEST(ReportListViewPaint, MultiLineHeadersShowEveryLine)
{
    auto view = MakeView(2);
    view->SetColumnHeadersHeight(44);
    view->SetHeader(1, QStringLiteral("Top\nLow"));
    view->SetColorColumnHdText(clr::Red);
    const QImage image = Grab(view->viewport());
    const QRect header = view->CellRect(0, 0);
    const int h = QFontMetrics(view->font()).height();
    EXPECT_GT(CountPixels(image, QRect(header.left(), header.top() + 2, header.width(), h), clr::Red), 0);
    EXPECT_GT(CountPixels(image, QRect(header.left(), header.top() + 2 + h, header.width(), h), clr::Red), 0);
}

TEST(ReportListViewPaint, InterRowIndicatorLiesOnTheUpperBorderOfItsRow)
{
    auto view = MakeView(6);
    view->SetInterRowIndicatorPos(3);
    const QImage image = Grab(view->viewport());
    const int y = view->CellRect(2, 3).top() - 1; // the line between data rows 2 and 3
    EXPECT_EQ(PixelAt(image, 100, y), clr::Red);
    EXPECT_NE(PixelAt(image, 100, y - 4), clr::Red);
    EXPECT_NE(PixelAt(image, 100, y + 4), clr::Red);
}

TEST(ReportListViewPaint, DisabledViewDrawsTextInTheInactiveCaptionColour)
{
    auto view = MakeView(2);
    view->SetRowColPattern(0);
    view->SetElem(1, 1, QStringLiteral("WWW"));
    view->SetRowSelected(1, true);
    view->SetEnabled(false);
    const QImage cell = CellImage(*view, 0, 1);
    EXPECT_GT(CountPixels(cell, cell.rect(), Resolved(*view, clr::InactiveCaption)), 0);
    EXPECT_EQ(PixelAt(cell, cell.width() - 3, cell.height() - 2), TColor(0xFFFFFF)); // selection not shown
}

TEST(ReportListViewPaint, HeadersStayReadableUnderADarkPalette)
{
    auto view = MakeView(2);
    QPalette dark = view->palette();
    dark.setColor(QPalette::Button, QColor(0x30, 0x30, 0x30));
    dark.setColor(QPalette::ButtonText, QColor(0xF0, 0xF0, 0xF0));
    view->setPalette(dark);
    const QImage header = CellImage(*view, 0, 0);
    EXPECT_EQ(PixelAt(header, header.width() - 3, header.height() - 3), TColor(0x303030));
    EXPECT_GT(CountPixels(header, header.rect(), TColor(0xF0F0F0)), 5);
}

TEST(ReportListViewPaint, SuppressedPaintingKeepsTheLastPicture)
{
    auto view = MakeView(3);
    const TColor before = CellBackground(*view, 2, 2);
    view->SetSuppressPaint(true);
    view->SetColorBkgdNormal(0x00FF00);
    EXPECT_EQ(CellBackground(*view, 2, 2), before);
    view->SetSuppressPaint(false);
    EXPECT_EQ(CellBackground(*view, 2, 2), TColor(0x00FF00));
}

// ---- Selection, keyboard and mouse ------------------------------------------------------------

TEST(ReportListViewInput, SingleSelectionFollowsTheClick)
{
    auto view = MakeView(8);
    int changes = 0;
    view->OnSelectedChange = [&](QObject *) { ++changes; };
    ClickCell(*view, 1, 3);
    ClickCell(*view, 1, 5);
    EXPECT_EQ(view->NumSelectedRows(), 1);
    EXPECT_TRUE(view->GetRowSelected(5));
    EXPECT_GE(changes, 2);
}

TEST(ReportListViewInput, MultipleSelectionWithShiftAndCtrl)
{
    auto view = MakeView(8);
    view->SetRowSelectMode(2);
    ClickCell(*view, 1, 2);
    ClickCell(*view, 1, 5, Qt::ShiftModifier);
    for (int r = 1; r <= 8; ++r)
        EXPECT_EQ(view->GetRowSelected(r), r >= 2 && r <= 5) << r;
    ClickCell(*view, 1, 4, Qt::ControlModifier);
    for (int r = 1; r <= 8; ++r)
        EXPECT_EQ(view->GetRowSelected(r), r >= 2 && r <= 5 && r != 4) << r;
}

TEST(ReportListViewInput, ShiftClickSpreadsOnlyTheSelectionBit)
{
    struct Case {
        bool anchorEnabled;
    };
    for (const Case c : {Case{true}, Case{false}}) {
        auto view = MakeView(8);
        view->SetRowSelectMode(2);
        view->SetRowEnabled(2, c.anchorEnabled);
        view->SetRowEnabled(4, false);
        ClickCell(*view, 1, 2);
        ClickCell(*view, 1, 5, Qt::ShiftModifier);
        for (int r = 2; r <= 5; ++r)
            EXPECT_TRUE(view->GetRowSelected(r)) << r;
        EXPECT_EQ(view->GetRowEnabled(2), c.anchorEnabled);
        EXPECT_TRUE(view->GetRowEnabled(3));
        EXPECT_FALSE(view->GetRowEnabled(4)); // never re-enabled by a click
        EXPECT_TRUE(view->GetRowEnabled(5));
    }
}

TEST(ReportListViewInput, ModeZeroDeselectsAndMovesTheGridSelectionOut)
{
    auto view = MakeView(4);
    view->SelectAllRows();
    view->SetRowSelectMode(0);
    EXPECT_EQ(view->NumSelectedRows(), 0);
    EXPECT_GE(view->GetSelection().Top, view->GetRowCount());
}

TEST(ReportListViewInput, CursorKeysSelectTheNewRowInEveryMode)
{
    auto view = MakeView(6);
    view->SetRowSelectMode(0);
    view->SetSelection({0, 2, 0, 2});
    QList<int> keys;
    view->OnCursorKeyAction = [&](QObject *, int key) { keys << key; };
    QTest::keyClick(view.get(), Qt::Key_Down);
    EXPECT_EQ(keys, QList<int>{Qt::Key_Down});
    EXPECT_EQ(view->NumSelectedRows(), 1);
    EXPECT_TRUE(view->GetRowSelected(3));
}

TEST(ReportListViewInput, ClickingCheckBoxes)
{
    auto view = MakeView(4);
    view->SetColumnCheckMode(1, TRLData::cmBox);
    const QRect cell = view->CellRect(0, 2);
    const QPoint box(cell.left() + 8, cell.center().y());
    view->SetShowEmptyCheckBoxes(false);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, box);
    EXPECT_EQ(view->RLData().Strings().GetString(1, 2), QString());
    view->SetShowEmptyCheckBoxes(true);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, box);
    EXPECT_EQ(view->RLData().Strings().GetString(1, 2), QStringLiteral("X"));
    // A click right of the box selects without toggling.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(cell.left() + 30, cell.center().y()));
    EXPECT_TRUE(view->GetElemChecked(1, 2));
}

TEST(ReportListViewInput, ClickingACheckedRadioKeepsItCheckedAndReportsTrue)
{
    auto view = MakeView(4);
    view->SetColumnCheckMode(2, TRLData::cmRadio);
    view->SetElemChecked(2, 3, true);
    QList<bool> reported;
    view->OnCheckedChange = [&](QObject *, bool &state, int col, int row) {
        EXPECT_EQ(col, 2);
        EXPECT_EQ(row, 3);
        reported << state;
    };
    const QRect cell = view->CellRect(1, 3);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(cell.left() + 8, cell.center().y()));
    EXPECT_TRUE(view->GetElemChecked(2, 3));
    EXPECT_EQ(reported, QList<bool>{true});
    // A box that is unchecked by the click reports false: the state the cell has now.
    view->SetColumnCheckMode(1, TRLData::cmBox);
    view->SetElemChecked(1, 3, true);
    view->OnCheckedChange = [&](QObject *, bool &state, int, int) { reported << state; };
    const QRect box = view->CellRect(0, 3);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(box.left() + 8, box.center().y()));
    EXPECT_FALSE(view->GetElemChecked(1, 3));
    EXPECT_EQ(reported.last(), false);
}

TEST(ReportListViewInput, HeaderClickSortsWithTheSharedToggle)
{
    auto view = MakeView(4);
    ClickCell(*view, 0, 0);
    EXPECT_EQ(view->GetLastSortColumn(), 1);
    EXPECT_FALSE(view->GetLastSortOrder());
    ClickCell(*view, 2, 0);
    EXPECT_EQ(view->GetLastSortColumn(), 3);
    EXPECT_TRUE(view->GetLastSortOrder());
    view->SetSortEnabled(false);
    ClickCell(*view, 1, 0);
    EXPECT_EQ(view->GetLastSortColumn(), 3);
}

TEST(ReportListViewInput, HeaderSortKeepsTheCurrentRowUnderTwoHeaderRows)
{
    auto view = MakeView(4);
    view->SetCommonHeaderVisible(true);
    const QString texts[] = {QStringLiteral("c"), QStringLiteral("a"), QStringLiteral("d"), QStringLiteral("b")};
    for (int r = 1; r <= 4; ++r)
        view->SetElem(1, r, texts[r - 1]);
    ClickCell(*view, 1, 2); // grid row 2: data row 1, "c"
    ASSERT_EQ(view->GetSelection().Top, 2);
    ClickCell(*view, 0, 1); // descending: d, c, b, a
    EXPECT_EQ(view->GetElem(1, 2), QStringLiteral("c"));
    EXPECT_EQ(view->GetSelection().Top, 3); // data row 2 under two head rows
}

TEST(ReportListViewInput, DoubleClickOnAHeaderBorderSizesTheColumnLeftOfIt)
{
    auto view = MakeView(3);
    view->SetElem(2, 1, QStringLiteral("A rather long text for column two"));
    const int expected = view->DetermineMaxColWidth(2, true);
    const QRect second = view->CellRect(1, 0);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, QPoint(second.right() - 2, second.center().y()));
    EXPECT_EQ(view->GetColWidths(2), expected);
    EXPECT_EQ(view->GetColWidths(3), 64);
    EXPECT_EQ(view->GetLastSortColumn(), -1); // a click near a border does not sort
}

TEST(ReportListViewInput, WheelScrollsNothingItselfAndFiresTheEvents)
{
    auto view = MakeView(200);
    const auto wheel = [&](int delta) {
        QWheelEvent event(QPointF(50, 50), view->viewport()->mapToGlobal(QPointF(50, 50)), QPoint(),
                          QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view->viewport(), &event);
    };
    wheel(-120);
    EXPECT_EQ(view->GetTopRow(), 1);
    QStringList fired;
    view->OnMouseWheelDown = [&](QObject *, Qt::KeyboardModifiers, QPoint, bool &handled) {
        fired << QStringLiteral("down");
        handled = true;
    };
    view->OnMouseWheelUp = [&](QObject *, Qt::KeyboardModifiers, QPoint, bool &) { fired << QStringLiteral("up"); };
    wheel(-120);
    wheel(120);
    EXPECT_EQ(fired, (QStringList{QStringLiteral("down"), QStringLiteral("up")}));
    EXPECT_EQ(view->GetTopRow(), 1);
}

TEST(ReportListViewInput, EnterAdvancesWithAutoAdvance)
{
    auto view = MakeView(6);
    view->SetAutoAdvance(true);
    ClickCell(*view, 1, 2);
    QTest::keyClick(view.get(), Qt::Key_Return);
    EXPECT_EQ(view->GetSelection().Top, 3);
    EXPECT_TRUE(view->GetRowSelected(3));
}

TEST(ReportListViewInput, ReleaseBelowTheGridDeselectsInMultipleSelection)
{
    auto view = MakeView(3, QSize(400, 300));
    view->SetRowSelectMode(2);
    ClickCell(*view, 1, 2);
    ASSERT_EQ(view->NumSelectedRows(), 1);
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, CellCentre(*view, 1, 2));
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, QPoint(50, view->viewport()->height() + 10));
    EXPECT_EQ(view->NumSelectedRows(), 0);
}

TEST(ReportListViewInput, ListColumnsEditWithAPickListTheHandlerMayChange)
{
    auto view = MakeView(2);
    view->SetOptions(view->GetOptions() & ~TCustomGrid::TGridOptions(TCustomGrid::goRowSelect));
    view->SetColumnFormat(1, QStringLiteral("[l][80]red|green|blue"));
    view->SetColumnEditable(1, true);
    QStringList asked;
    view->OnRequestEditFormat = [&](QObject *, int col, int row, QString &format) {
        asked << QStringLiteral("%1,%2").arg(col).arg(row);
        format += QStringLiteral("|black");
    };
    ClickCell(*view, 0, 1);
    QTest::keyClick(view.get(), Qt::Key_F2);
    ASSERT_NE(view->InplaceEditor(), nullptr);
    auto *combo = qobject_cast<QComboBox *>(view->InplaceEditor()->parentWidget());
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 4);
    EXPECT_EQ(combo->itemText(3), QStringLiteral("black"));
    EXPECT_TRUE(asked.contains(QStringLiteral("1,1")));
}

TEST(ReportListViewInput, DisabledRowsAreNotEditedInPlace)
{
    auto view = MakeView(3);
    view->SetOptions(view->GetOptions() & ~TCustomGrid::TGridOptions(TCustomGrid::goRowSelect));
    view->SetColumnEditable(1, true);
    view->SetRowEnabled(2, false);
    ClickCell(*view, 0, 2);
    QTest::keyClick(view.get(), Qt::Key_F2);
    EXPECT_EQ(view->InplaceEditor(), nullptr);
    ClickCell(*view, 0, 1);
    QTest::keyClick(view.get(), Qt::Key_F2);
    EXPECT_NE(view->InplaceEditor(), nullptr);
}

TEST(ReportListViewInput, DraggingAColumnBorderReportsTheNewSetup)
{
    auto view = MakeView(3);
    int setups = 0;
    view->OnChangeSetup = [&](QObject *) { ++setups; };
    const QRect first = view->CellRect(0, 0);
    const QPoint border(first.right() + 1, first.center().y());
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, border);
    MoveMouse(view->viewport(), border + QPoint(30, 0));
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, border + QPoint(30, 0));
    EXPECT_GT(view->GetColWidths(1), 64);
    EXPECT_GE(setups, 1);
}

TEST(ReportListViewInput, MouseCellNamesHeadersAndDataRows)
{
    auto view = MakeView(4);
    struct Case {
        bool common, column;
        int gridRow, expectedY;
    };
    const Case cases[] = {
        {false, true, 0, -1}, {true, false, 0, -2}, {true, true, 0, -2}, {true, true, 1, -1},
        {true, true, 2, 1},   {false, true, 3, 3},
    };
    for (const Case &c : cases) {
        view->SetCommonHeaderVisible(c.common);
        view->SetColumnHeadersVisible(c.column);
        const QPoint p = CellCentre(*view, 1, c.gridRow);
        const TGridCoord cell = view->MouseCell(p.x(), p.y());
        EXPECT_EQ(cell.X, 2);
        EXPECT_EQ(cell.Y, c.expectedY) << c.common << c.column << c.gridRow;
    }
    EXPECT_EQ(view->MouseCell(-5, -5).X, 0);
}

TEST(ReportListViewInput, CenterScrollAndSelectConvertsToGridRows)
{
    auto view = MakeView(100);
    view->SetCommonHeaderVisible(true);
    view->CenterScrollAndSelect(50);
    EXPECT_TRUE(view->GetRowSelected(50));
    EXPECT_EQ(view->NumSelectedRows(), 1);
    EXPECT_EQ(view->GetSelection().Top, 51); // data row 50 under two head rows
    const int v = view->GetVisibleRowCount();
    EXPECT_EQ(view->GetTopRow(), 50 - v / 2);
    view->CenterScrollAndSelect(100);
    EXPECT_EQ(view->GetTopRow(), 100 - v + 1);
}

TEST(ReportListViewInput, TopRowAndLeftColAreDataNumbers)
{
    auto view = MakeView(100);
    view->SetCommonHeaderVisible(true);
    view->SetTopRow(10);
    EXPECT_EQ(view->GetTopRow(), 10);
    view->SetTopRow(-3);
    EXPECT_EQ(view->GetTopRow(), 1);
    view->SetLeftCol(99);
    EXPECT_LE(view->GetLeftCol(), 5);
}

// ---- Accessibility ----------------------------------------------------------------------------

TEST(ReportListViewAccessibility, CellsSpeakHeadersTextsAndMarks)
{
    auto view = MakeView(3);
    view->SetHeader(1, QStringLiteral("Name"));
    view->SetElem(1, 2, QStringLiteral("Ada"));
    view->SetColumnCheckMode(2, TRLData::cmBox);
    view->SetElem(2, 2, QStringLiteral("paid"));
    view->SetElemChecked(2, 2, true);
    view->SetColumnIsPwd(3, true);
    view->SetElem(3, 2, QStringLiteral("hidden"));
    QAccessibleInterface *table = QAccessible::queryAccessibleInterface(view.get());
    ASSERT_NE(table, nullptr);
    ASSERT_NE(table->tableInterface(), nullptr);
    const auto text = [&](int row, int col) { return table->tableInterface()->cellAt(row, col)->text(QAccessible::Name); };
    EXPECT_EQ(text(0, 0), QStringLiteral("Name"));
    EXPECT_EQ(text(2, 0), QStringLiteral("Ada"));
    EXPECT_EQ(text(2, 1), QStringLiteral("paid, checked"));
    EXPECT_EQ(text(2, 2), QStringLiteral("password"));
}
