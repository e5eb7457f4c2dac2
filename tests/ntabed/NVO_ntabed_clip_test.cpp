// The table editor's block operations: sorting and mirroring, look-up by name, taking
// over another editor, and Copy, Paste and Extract through the clipboard.
#include "EventRecorder.h"
#include "NVO_ntabed.h"
#include "NVO_replistview.h"

#include <QtGui/QClipboard>
#include <QtGui/QGuiApplication>
#include <QtGui/QAction>
#include <QtWidgets/QMenu>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <vector>

using namespace nvo;
using namespace nvo::test;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

QClipboard &Clipboard() { return *QGuiApplication::clipboard(); }

/// Selects data columns Left..Right and rows Top..Bottom (attribute column shown).
void SelectData(TNTabEd &editor, int Left, int Top, int Right, int Bottom)
{
    editor.SetSelection({Left + 1, Top, Right + 1, Bottom});
}

TGridRect SelectedData(const TNTabEd &editor)
{
    const TGridRect s = editor.GetSelection();
    return {s.Left - 1, s.Top, s.Right - 1, s.Bottom};
}

/// The values of a whole column or row, to compare an order at once.
enum TLine { ColumnLine, RowLine };
template<TLine Line>
std::vector<double> Values(const TNTabEd &editor, int index)
{
    const int count = Line == ColumnLine ? editor.GetNrOfRows() : editor.GetNrOfColumns();
    std::vector<double> values(static_cast<size_t>(count));
    for (int i = 1; i <= count; ++i)
        values[size_t(i - 1)] = Line == ColumnLine ? editor.GetElem(index, i) : editor.GetElem(i, index);
    return values;
}
const auto Column = Values<ColumnLine>;
const auto Row = Values<RowLine>;

/// An editor whose column `col` holds `values` from row 1 on, rows named R1...
void SetColumn(TNTabEd &editor, int col, const std::vector<double> &values)
{
    editor.Redimension(std::max(editor.GetNrOfColumns(), col), int(values.size()));
    for (int row = 1; row <= int(values.size()); ++row) {
        editor.SetRowName(row, QStringLiteral("R%1").arg(row));
        editor.SetElem(col, row, values[size_t(row - 1)]);
    }
}

} // namespace

// ---- Copy ---------------------------------------------------------------------------------

TEST(NTabEdClip, CopyWritesOneLinePerRowWithItsSeparatorsAndMarkers)
{
    const struct
    {
        const char *what;
        bool fullPrecision;
        int precision; ///< of both columns
        double value11;
        bool noNumber11; ///< cell (1, 1) is copied as "####"
    } cases[] = {
        {"no decimals", false, 0, 1.5, false},
        {"ten decimals", false, 10, -1.0 / 3, false},
        {"scientific column", false, -1, 1.5e-7, false},
        {"full precision", true, 3, -12345.678, false},
        {"infinity", false, 3, kInf, true},
        {"NaN in full precision", true, 3, kNaN, true},
    };
    for (const auto &c : cases) {
        TNTabEd editor;
        editor.SetClipboardUseFullPrec(c.fullPrecision);
        editor.SetDecPlaces(1, c.precision);
        editor.SetDecPlaces(2, c.precision);
        editor.SetElem(1, 1, c.value11);
        editor.SetElem(2, 1, 2);
        editor.SetIsEmpty(1, 2, true);
        editor.SetElem(2, 2, 3);
        SelectData(editor, 1, 1, 2, 2);
        editor.PopupMenuClickCopy();
        const auto cell = [&](double v) {
            return c.fullPrecision ? FormatNumField(v, 22, -1) : FormatNumField(v, 1, c.precision);
        };
        const QString first = c.noNumber11 ? QStringLiteral("####") : cell(c.value11);
        EXPECT_EQ(Clipboard().text(), u' ' + first + u'\t' + cell(2) + QStringLiteral("\r\n ####\t") + cell(3) + QStringLiteral("\r\n")) << c.what;
        EXPECT_TRUE(editor.GetDataCopyAvail());
    }
}

TEST(NTabEdClip, CopyOfTheEdgeCaseBlockGivesItsExactText)
{
    TNTabEd editor;
    editor.SetClipboardUseFullPrec(false);
    editor.SetElem(1, 1, 1.5);
    editor.SetElem(2, 1, 2);
    editor.SetIsEmpty(1, 2, true);
    editor.SetElem(2, 2, 3);
    SelectData(editor, 1, 1, 2, 2);
    editor.PopupMenuClickCopy();
    EXPECT_EQ(Clipboard().text(), QStringLiteral(" 1.500\t2.000\r\n ####\t3.000\r\n"));
}

// ---- Paste --------------------------------------------------------------------------------

TEST(NTabEdClip, CopyThenPasteReproducesValuesAndStatesAndSelectsTheBlock)
{
    TNTabEd editor;
    editor.Redimension(5, 5);
    editor.SetElem(1, 1, 1.25);
    editor.SetElem(2, 1, kInf);
    editor.SetIsEmpty(1, 2, true);
    editor.SetCellState(2, 2, cellstate::NotANumber | cellstate::MarkedA);
    editor.SetElemMarkedB(1, 1, true);
    SelectData(editor, 1, 1, 2, 2);
    editor.PopupMenuClickCopy();
    SelectData(editor, 3, 3, 3, 3);
    EventRecorder events;
    editor.OnChange = events.Recorder(QStringLiteral("OnChange"));
    editor.OnCellStateChanged = events.Recorder(QStringLiteral("OnCellStateChanged"));
    editor.OnPaste = events.Recorder(QStringLiteral("OnPaste"));
    editor.OnSelectionChanged = events.Recorder(QStringLiteral("OnSelectionChanged"));
    editor.PopupMenuClickPaste();
    EXPECT_EQ(editor.GetElem(3, 3), 1.25);
    EXPECT_EQ(editor.GetCellState(3, 3), cellstate::MarkedB);
    EXPECT_FALSE(editor.IsNumber(4, 3)) << "an infinite value comes back as not a number";
    EXPECT_EQ(editor.GetCellState(3, 4), cellstate::Empty);
    EXPECT_EQ(editor.GetCellState(4, 4), cellstate::NotANumber | cellstate::MarkedA);
    EXPECT_EQ(SelectedData(editor), (TGridRect{3, 3, 4, 4}));
    EXPECT_EQ(events.Events(), (QStringList{"OnChange", "OnCellStateChanged", "OnPaste", "OnSelectionChanged"}));
}

TEST(NTabEdClip, PasteWaitsForACopyAndIsClippedToTheTable)
{
    TNTabEd editor; // 3 x 4
    EventRecorder events;
    editor.OnPaste = events.Recorder(QStringLiteral("OnPaste"));
    editor.PopupMenuClickPaste();
    EXPECT_FALSE(editor.GetDataCopyAvail());
    EXPECT_TRUE(events.Events().isEmpty());
    editor.Fill(7);
    SelectData(editor, 1, 1, 3, 4);
    editor.PopupMenuClickCopy();
    editor.Fill(0);
    SelectData(editor, 3, 3, 3, 3);
    editor.PopupMenuClickPaste();
    EXPECT_EQ(Column(editor, 3), (std::vector<double>{0, 0, 7, 7}));
    EXPECT_EQ(Column(editor, 2), (std::vector<double>{0, 0, 0, 0}));
    EXPECT_EQ(SelectedData(editor), (TGridRect{3, 3, 3, 4}));
}

TEST(NTabEdClip, AReadOnlyEditorRefusesPasteAndExtract)
{
    TNTabEd editor;
    SelectData(editor, 1, 1, 1, 1);
    editor.SetElem(1, 1, 5);
    editor.PopupMenuClickCopy();
    editor.SetElem(1, 1, 0);
    editor.SetDataReadOnly(true);
    EventRecorder events;
    editor.OnPaste = events.Recorder(QStringLiteral("OnPaste"));
    editor.PopupMenuClickPaste();
    Clipboard().setText(QStringLiteral("9"));
    editor.PopupMenuClickExtClip();
    EXPECT_EQ(editor.GetElem(1, 1), 0);
    EXPECT_TRUE(events.Events().isEmpty());
    editor.PopupMenuClickCopy(); // reading is allowed
    EXPECT_EQ(Clipboard().text(), u' ' + FormatNumField(0, 22, -1) + QStringLiteral("\r\n"));
}

TEST(NTabEdClip, TheDataMenuCopiesPastesAndExtracts)
{
    TNTabEd editor;
    const auto item = [&](const char *name) { return editor.findChild<QAction *>(QString::fromLatin1(name)); };
    editor.SetElem(1, 1, 2.5);
    SelectData(editor, 1, 1, 1, 1);
    Q_EMIT editor.PopupD()->aboutToShow();
    EXPECT_FALSE(item("DIt8")->isEnabled()) << "Paste waits for a copied block";
    item("DIt7")->trigger();
    EXPECT_EQ(Clipboard().text(), u' ' + FormatNumField(2.5, 22, -1) + QStringLiteral("\r\n"));
    Q_EMIT editor.PopupD()->aboutToShow();
    EXPECT_TRUE(item("DIt8")->isEnabled());
    SelectData(editor, 2, 2, 2, 2);
    item("DIt8")->trigger();
    EXPECT_EQ(editor.GetElem(2, 2), 2.5);
    Clipboard().setText(QStringLiteral("7 8"));
    item("DIt10")->trigger();
    EXPECT_EQ(Row(editor, 2), (std::vector<double>{0, 7, 8}));
    editor.SetDataReadOnly(true);
    Q_EMIT editor.PopupD()->aboutToShow();
    EXPECT_FALSE(item("DIt8")->isEnabled());
    EXPECT_TRUE(item("DIt7")->isEnabled()) << "copying changes nothing";
}

// ---- Extract from Clipboard ---------------------------------------------------------------

TEST(NTabEdClip, ExtractStoresTheNumbersOfAnyTextFromTheTopLeftCell)
{
    const struct
    {
        const char *text;
        std::vector<double> row1, row2; ///< of a 4 x 2 table, extracted at (1, 1)
        TGridRect selected;
    } cases[] = {
        {"1,5;2.25", {1.5, 2.25, 0, 0}, {0, 0, 0, 0}, {1, 1, 2, 1}},
        {"1e3", {1000, 0, 0, 0}, {0, 0, 0, 0}, {1, 1, 1, 1}},
        {"--5", {0, 5, 0, 0}, {0, 0, 0, 0}, {1, 1, 2, 1}},
        {"12.", {12, 0, 0, 0}, {0, 0, 0, 0}, {1, 1, 1, 1}},
        {"1\t2\r\n3\t\t4\r\n", {1, 2, 0, 0}, {3, 4, 0, 0}, {1, 1, 2, 2}},
        {"1.5, 2.5, 3", {1.5, 2.5, 3, 0}, {0, 0, 0, 0}, {1, 1, 3, 1}},
        {"1 2 3 4 5 6\n7\n8\n", {1, 2, 3, 4}, {7, 0, 0, 0}, {1, 1, 4, 2}},
        {"1e99999", {std::numeric_limits<double>::max(), 0, 0, 0}, {0, 0, 0, 0}, {1, 1, 1, 1}},
    };
    for (const auto &c : cases) {
        TNTabEd editor;
        editor.Redimension(4, 2);
        Clipboard().setText(QString::fromLatin1(c.text));
        editor.PopupMenuClickExtClip();
        EXPECT_EQ(Row(editor, 1), c.row1) << c.text;
        EXPECT_EQ(Row(editor, 2), c.row2) << c.text;
        EXPECT_EQ(SelectedData(editor), c.selected) << c.text;
    }
}

TEST(NTabEdClip, ExtractAtAnInnerCellMakesNumbersAndKeepsMarks)
{
    TNTabEd editor;
    editor.SetCellState(2, 3, cellstate::NotANumber | cellstate::MarkedA);
    SelectData(editor, 2, 3, 2, 3);
    EventRecorder events;
    editor.OnChange = events.Recorder(QStringLiteral("OnChange"));
    editor.OnPaste = events.Recorder(QStringLiteral("OnPaste"));
    Clipboard().setText(QStringLiteral("4 5 6\n7"));
    editor.PopupMenuClickExtClip();
    EXPECT_EQ(Row(editor, 3), (std::vector<double>{0, 4, 5}));
    EXPECT_EQ(Row(editor, 4), (std::vector<double>{0, 7, 0}));
    EXPECT_EQ(editor.GetCellState(2, 3), cellstate::MarkedA);
    EXPECT_EQ(SelectedData(editor), (TGridRect{2, 3, 3, 4}));
    EXPECT_EQ(events.Events(), (QStringList{"OnChange", "OnPaste"}));
}

TEST(NTabEdClip, TextWithoutNumbersExtractsNothing)
{
    for (const char *text : {"", "no numbers here", "\r\n\t"}) {
        TNTabEd editor;
        SelectData(editor, 2, 2, 2, 2);
        EventRecorder events;
        editor.OnPaste = events.Recorder(QStringLiteral("OnPaste"));
        Clipboard().setText(QString::fromLatin1(text));
        editor.PopupMenuClickExtClip();
        EXPECT_TRUE(events.Events().isEmpty()) << text;
        EXPECT_EQ(SelectedData(editor), (TGridRect{2, 2, 2, 2})) << text;
    }
}

TEST(NTabEdClip, ClipMatrixSizeCountsTheLinesUpToTheLastNumber)
{
    const struct
    {
        const char *text;
        bool found;
        int cols, rows;
    } cases[] = {
        {"", false, 1, 1},
        {"abc\n", false, 1, 1},
        {"1 2 3\n4", true, 3, 2},
        {"1\t2\r\n3\t4\r\n", true, 2, 2},
        {"1\n\n2 3 4 5\n\n\n", true, 4, 3},
    };
    TNTabEd editor;
    for (const auto &c : cases) {
        Clipboard().setText(QString::fromLatin1(c.text));
        int cols = -7, rows = -7;
        EXPECT_EQ(editor.GetClipMatrixSize(cols, rows), c.found) << c.text;
        EXPECT_EQ(cols, c.cols) << c.text;
        EXPECT_EQ(rows, c.rows) << c.text;
    }
    Clipboard().clear();
    int cols = 0, rows = 0;
    EXPECT_FALSE(editor.GetClipMatrixSize(cols, rows));
    EXPECT_EQ(cols, 1);
    EXPECT_EQ(rows, 1);
}

TEST(NTabEdClip, ATableCopiedFromTheReportListExtractsThroughTheSystemClipboard)
{
    TReportListView list;
    list.SetNrOfColumns(3);
    list.SetNrOfRows(2);
    const char *cells[2][3] = {{"1.5", "-2", "3e2"}, {"4,25", "", "x7"}};
    for (int r = 1; r <= 2; ++r)
        for (int c = 1; c <= 3; ++c)
            list.SetElem(c, r, QString::fromLatin1(cells[r - 1][c - 1]));
    list.CopyToClipBoard(1, 1, 3, 2, false, true);
    TNTabEd editor;
    editor.PopupMenuClickExtClip();
    EXPECT_EQ(Row(editor, 1), (std::vector<double>{1.5, -2, 300}));
    // An empty field moves the next number left; the "x" is skipped.
    EXPECT_EQ(Row(editor, 2), (std::vector<double>{4.25, 7, 0}));
    // And back: what the editor copies, another editor extracts as the same numbers.
    SelectData(editor, 1, 1, 3, 2);
    editor.PopupMenuClickCopy();
    TNTabEd other;
    other.PopupMenuClickExtClip();
    EXPECT_EQ(Row(other, 1), Row(editor, 1));
    EXPECT_EQ(Row(other, 2), Row(editor, 2));
}

// ---- Sorting and mirroring ----------------------------------------------------------------

TEST(NTabEdSort, RowsSortByOneColumnWithCellsWithoutNumbersLast)
{
    const struct
    {
        const char *what;
        bool ascending;
        int lowCol, highCol;
        std::vector<double> column1, column2;
        const char *firstRowName;
    } cases[] = {
        {"ascending", true, 1, 2, {1, 2, 2, 3, kNaN, 0}, {40, 20, 50, 10, 30, 60}, "R4"},
        {"descending", false, 1, 2, {3, 2, 2, 1, kNaN, 0}, {10, 20, 50, 40, 30, 60}, "R1"},
        {"key column only", true, 1, 1, {1, 2, 2, 3, kNaN, 0}, {10, 20, 30, 40, 50, 60}, "R4"},
    };
    for (const auto &c : cases) {
        TNTabEd editor;
        SetColumn(editor, 1, {3, 2, kNaN, 1, 2, 0});
        SetColumn(editor, 2, {10, 20, 30, 40, 50, 60});
        editor.SetIsEmpty(1, 6, true);
        editor.SortRows(1, c.ascending, c.lowCol, 1, c.highCol, 6, true);
        const std::vector<double> column1 = Column(editor, 1);
        for (size_t i = 0; i < column1.size(); ++i) {
            if (std::isnan(c.column1[i]))
                EXPECT_TRUE(std::isnan(column1[i])) << c.what << " row " << i + 1;
            else
                EXPECT_EQ(column1[i], c.column1[i]) << c.what << " row " << i + 1;
        }
        EXPECT_EQ(Column(editor, 2), c.column2) << c.what;
        EXPECT_TRUE(editor.GetIsEmpty(1, 6)) << c.what;
        EXPECT_EQ(editor.GetRowName(1), QString::fromLatin1(c.firstRowName)) << c.what;
    }
}

TEST(NTabEdSort, ValuesOrderBySignAndMagnitudeAndEqualOnesKeepTheirOrder)
{
    const struct
    {
        bool ascending;
        std::vector<double> markers; ///< column 2 afterwards: the old row numbers
    } cases[] = {
        {true, {3, 5, 7, 2, 4, 1, 6}},
        {false, {6, 1, 2, 4, 7, 3, 5}}, // -0 and 0 are equal: rows 2 and 4 keep their order
    };
    for (const auto &c : cases) {
        TNTabEd editor;
        SetColumn(editor, 1, {0.5, -0.0, -3, 0.0, -3, 1e300, -1e-300});
        SetColumn(editor, 2, {1, 2, 3, 4, 5, 6, 7});
        editor.SortRows(1, c.ascending, 1, 1, 2, 7, false);
        EXPECT_EQ(Column(editor, 2), c.markers) << (c.ascending ? "ascending" : "descending");
    }
}

TEST(NTabEdSort, ABlockSortMovesOnlyTheBlockAndNoHeadersUnlessAsked)
{
    TNTabEd editor;
    SetColumn(editor, 1, {4, 3, 2, 1});
    editor.SortRows(1, true, 1, 2, 1, 3, false);
    EXPECT_EQ(Column(editor, 1), (std::vector<double>{4, 2, 3, 1}));
    EXPECT_EQ(editor.GetRowName(2), QStringLiteral("R2"));
    editor.SortRows(9, true, 1, 1, 3, 4, true); // no such column: nothing
    editor.SortRows(1, true, 1, 5, 3, 9, true); // no such rows: nothing
    EXPECT_EQ(Column(editor, 1), (std::vector<double>{4, 2, 3, 1}));
}

TEST(NTabEdSort, ColumnsSortedWithTheirHeadersTakeTheirPrecisionAlong)
{
    TNTabEd editor;
    for (int col = 1; col <= 3; ++col) {
        editor.SetColName(col, QStringLiteral("C%1").arg(col));
        editor.SetDecPlaces(col, col);
        editor.SetElem(col, 1, 4 - col);
        editor.SetElem(col, 2, col);
    }
    editor.SortCols(1, true, 1, 1, 3, 1, false);
    EXPECT_EQ(Row(editor, 1), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(Row(editor, 2), (std::vector<double>{1, 2, 3})) << "rows outside the block stay";
    EXPECT_EQ(editor.GetDecPlaces(1), 1);
    EXPECT_EQ(editor.GetColName(1), QStringLiteral("C1"));
    editor.SortCols(2, false, 1, 1, 3, 4, true);
    EXPECT_EQ(Row(editor, 2), (std::vector<double>{3, 2, 1}));
    EXPECT_EQ(editor.GetColName(1), QStringLiteral("C3"));
    EXPECT_EQ(editor.GetDecPlaces(1), 3);
    EXPECT_EQ(editor.GetDecPlaces(3), 1);
}

TEST(NTabEdSort, NamesAndAttributesOrderTheirColumnsAndRows)
{
    TNTabEd editor;
    editor.Redimension(3, 3);
    const char *names[] = {"b", "C", "a"};
    for (int i = 1; i <= 3; ++i) {
        editor.SetColName(i, QString::fromLatin1(names[i - 1]));
        editor.SetRowName(i, QString::fromLatin1(names[i - 1]));
        editor.SetColAttrib(i, uint8_t(10 - i));
        editor.SetRowAttrib(i, uint8_t(i));
        editor.SetElem(i, 1, i);
        editor.SetElem(1, i, i);
    }
    editor.SortColNames(true, 1, 1, 3, 3);
    EXPECT_EQ(Row(editor, 1), (std::vector<double>{2, 3, 1})) << "C, a, b by character codes";
    editor.SortColNames(true, true, 1, 1, 3, 3);
    EXPECT_EQ(Row(editor, 1), (std::vector<double>{3, 1, 2})) << "a, b, C ignoring case";
    editor.SortColAttributes(false, 1, 1, 3, 3);
    EXPECT_EQ(editor.GetColAttrib(1), 9);
    EXPECT_EQ(editor.GetColName(1), QStringLiteral("b"));
    editor.SortRowNames(false, true, 1, 1, 3, 3);
    EXPECT_EQ(editor.GetRowName(1), QStringLiteral("C"));
    editor.SortRowAttributes(true, 1, 1, 3, 3);
    EXPECT_EQ(editor.GetRowName(1), QStringLiteral("b"));
    EXPECT_EQ(editor.GetRowAttrib(3), 3);
}

TEST(NTabEdSort, ASortIsOneAnnouncementAndNoExchanges)
{
    TNTabEd editor;
    SetColumn(editor, 1, {5, 4, 3, 2, 1});
    int exchanges = 0;
    editor.Data().OnSortExchange = [&](QObject *, int, int, int, int, int) { ++exchanges; };
    EventRecorder events;
    editor.OnChange = events.Recorder(QStringLiteral("OnChange"));
    editor.OnHeadingChanged = events.Recorder(QStringLiteral("OnHeadingChanged"));
    editor.SortRows(1, true, 1, 1, 3, 5, true);
    EXPECT_EQ(exchanges, 0);
    EXPECT_EQ(events.Events(), (QStringList{"OnChange", "OnHeadingChanged"}));
    events.Clear();
    editor.MirrorRows();
    EXPECT_EQ(Column(editor, 1), (std::vector<double>{5, 4, 3, 2, 1}));
    EXPECT_EQ(events.Events(), QStringList{"OnChange"});
}

TEST(NTabEdSort, AHandlerThrowingDuringASortLeavesAConsistentTable)
{
    TNTabEd editor;
    SetColumn(editor, 1, {3, 1, 2});
    editor.SetDecPlaces(1, 5);
    for (int row = 1; row <= 3; ++row)
        editor.SetElem(2, row, editor.GetElem(1, row) * 10);
    editor.Data().OnPermute = [](QObject *, int, int, const std::vector<int> &) {
        throw std::runtime_error("handler failed");
    };
    EXPECT_THROW(editor.SortRows(1, true, 1, 1, 3, 3, true), std::runtime_error);
    EXPECT_EQ(Column(editor, 1), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(Column(editor, 2), (std::vector<double>{10, 20, 30}));
    EXPECT_EQ(editor.GetRowName(1), QStringLiteral("R2"));
    EXPECT_THROW(editor.SortCols(1, false, 1, 1, 3, 3, true), std::runtime_error);
    EXPECT_EQ(editor.GetDecPlaces(2), 5) << "the precision followed its column before the handler ran";
    editor.Data().OnPermute = nullptr;
    EventRecorder events;
    editor.OnChange = events.Recorder(QStringLiteral("OnChange"));
    editor.SetElem(1, 1, 9);
    EXPECT_EQ(events.Events(), QStringList{"OnChange"}) << "the editor listens again";
}

TEST(NTabEdSort, MirroringColumnsTakesTheirPrecisionAlong)
{
    TNTabEd editor;
    editor.SetDecPlaces(1, 0);
    editor.SetElem(1, 1, 1);
    editor.MirrorColumns();
    EXPECT_EQ(editor.GetDecPlaces(3), 0);
    EXPECT_EQ(editor.GetElem(3, 1), 1);
}

// ---- Look-up and taking over --------------------------------------------------------------

TEST(NTabEd, FindIndexGivesTheFirstMatchOrZero)
{
    TNTabEd editor;
    editor.Clear(); // C-1.. and R-1..
    editor.SetColName(3, QStringLiteral("C-1"));
    const QString longName(60, u'x');
    editor.SetRowName(4, longName);
    EXPECT_EQ(editor.FindColIndex(QStringLiteral("C-1")), 1);
    EXPECT_EQ(editor.FindColIndex(QStringLiteral("C-2")), 2);
    EXPECT_EQ(editor.FindColIndex(QStringLiteral("c-2")), 0);
    EXPECT_EQ(editor.FindColIndex(QString()), 0);
    EXPECT_EQ(editor.FindRowIndex(QStringLiteral("R-3")), 3);
    EXPECT_EQ(editor.FindRowIndex(longName), 4) << "names are cut to 50 characters alike";
    EXPECT_EQ(editor.FindRowIndex(QStringLiteral("R-9")), 0);
}

TEST(NTabEd, ContentsAndCellStatesAreTakenOverFromAnotherEditor)
{
    TNTabEd source;
    source.Redimension(5, 2);
    source.SetElem(5, 2, 8.5);
    source.SetElemMarkedA(1, 1, true);
    source.SetColName(5, QStringLiteral("last"));
    source.SetDecPlaces(5, -1);
    source.SetComment(QStringLiteral("theirs"));
    TNTabEd target;
    EventRecorder events;
    target.OnChange = events.Recorder(QStringLiteral("OnChange"));
    target.OnChangeSetup = events.Recorder(QStringLiteral("OnChangeSetup"));
    target.CopyContentsFrom(source);
    EXPECT_EQ(target.GetNrOfColumns(), 5);
    EXPECT_EQ(target.GetColCount(), 7);
    EXPECT_EQ(target.GetElem(5, 2), 8.5);
    EXPECT_TRUE(target.GetElemMarkedA(1, 1));
    EXPECT_EQ(target.GetColName(5), QStringLiteral("last"));
    EXPECT_EQ(target.GetDecPlaces(5), -1);
    EXPECT_EQ(target.GetComment(), QStringLiteral("theirs"));
    EXPECT_EQ(events.Events(), (QStringList{"OnChangeSetup", "OnChange"}));

    TNTabEd states; // 3 x 4: only the cells both have
    states.SetElem(1, 1, 4);
    source.SetElemMarkedB(3, 2, true);
    source.SetIsEmpty(1, 1, true);
    states.CopyCellStatesFrom(source);
    EXPECT_EQ(states.GetCellState(1, 1), cellstate::MarkedA | cellstate::Empty);
    EXPECT_EQ(states.GetElem(1, 1), 4) << "values stay";
    EXPECT_TRUE(states.GetElemMarkedB(3, 2));
}

TEST(NTabEd, TheCellStateSetterWritesTheWholeByteInsideTheTable)
{
    TNTabEd editor;
    editor.SetElemMarkedB(2, 2, true);
    int stateChanges = 0, changes = 0;
    editor.OnCellStateChanged = [&](QObject *) { ++stateChanges; };
    editor.OnChange = [&](QObject *) { ++changes; };
    editor.SetCellState(2, 2, cellstate::Empty | cellstate::MarkedA);
    EXPECT_EQ(editor.GetCellState(2, 2), cellstate::Empty | cellstate::MarkedA);
    for (const auto &[col, row] : {std::pair{0, 2}, {4, 2}, {1, 0}, {1, 5}})
        editor.SetCellState(col, row, cellstate::Empty); // outside: ignored
    EXPECT_EQ(stateChanges, 1);
    EXPECT_EQ(changes, 0);
}
