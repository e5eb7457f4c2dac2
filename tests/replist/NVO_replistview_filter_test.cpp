#include "NVO_replistview.h"
#include "PinnedFont.h"

#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace nvo;
using namespace nvo::test;

namespace {

using View = TReportListView;

/// Six rows: column 1 a name, column 2 a colour, column 3 a check-mark column, column 4
/// a password column; column 0 holds a hidden key.
std::unique_ptr<View> MakeFruitView()
{
    auto view = std::make_unique<View>();
    view->setObjectName(QStringLiteral("view"));
    view->setFont(PinnedFont(13));
    view->SetNrOfColumns(4);
    view->SetNrOfRows(6);
    const char *rows[][5] = {
        {"k1", "apple", "red", "ripe", "secret"},   {"k2", "banana", "yellow", "", "plain"},
        {"k3", "cherry", "Red", "Xmas", "x"},        {"k4", "date", "brown", "stone", "y"},
        {"k5", "elderberry", "black", "ripe", "z"}, {"k6", "fig", "purple", "", "w"},
    };
    for (int r = 1; r <= 6; ++r)
        for (int c = 0; c <= 4; ++c)
            view->SetElem(c, r, QString::fromUtf8(rows[r - 1][c]));
    view->SetColumnCheckMode(3, TRLData::cmBox);
    view->SetElemChecked(3, 1, true);
    view->SetColumnIsPwd(4, true);
    view->resize(400, 300);
    return view;
}

/// Column 1 of the shown rows, in the order shown.
QStringList ShownNames(const View &view)
{
    QStringList names;
    for (int r = 1; r <= view.GetNrOfShownRows(); ++r)
        names << view.GetElem(1, r);
    return names;
}

/// Everything a row owns, stored cells with their check state and the attribute byte,
/// keyed by the hidden column 0.
QStringList RowSnapshots(const View &view)
{
    const TStringArray &matrix = const_cast<View &>(view).RLData().Strings();
    QStringList rows;
    for (int r = 1; r <= view.GetNrOfRows(); ++r) {
        QString row = QString::number(matrix.GetRowAttrib(r));
        for (int c = 0; c <= view.GetNrOfColumns(); ++c)
            row += QLatin1Char('|') + matrix.GetString(c, r);
        rows << row;
    }
    rows.sort();
    return rows;
}

} // namespace

TEST(ReportListViewFilter, SearchesTheChosenColumnsInTheChosenSyntax)
{
    const struct {
        const char *Expression;
        View::TFilterMode Mode;
        bool IgnoreCase;
        std::vector<int> Columns;
        QStringList Shown;
    } cases[] = {
        {"", TRowFilter::fmSimple, false, {}, {"apple", "banana", "cherry", "date", "elderberry", "fig"}},
        {"an", TRowFilter::fmSimple, false, {}, {"banana"}},
        {"red", TRowFilter::fmSimple, false, {}, {"apple"}},
        {"red", TRowFilter::fmSimple, true, {}, {"apple", "cherry"}},
        {"red", TRowFilter::fmSimple, true, {1}, {}},             // only the names
        {"e", TRowFilter::fmSimple, false, {2}, {"apple", "banana", "cherry", "fig"}}, // only the colours
        {"k4", TRowFilter::fmSimple, false, {0}, {"date"}},      // the hidden column on request
        {"k4", TRowFilter::fmSimple, false, {}, {}},             // but not by default
        {"apple", TRowFilter::fmSimple, false, {1, 9, -1}, {"apple"}}, // no such columns: passed over
        {"X", TRowFilter::fmSimple, false, {3}, {"cherry"}},     // the text, not the check state
        {"secret", TRowFilter::fmSimple, false, {}, {}},         // a password column stays unread
        {"secret", TRowFilter::fmSimple, false, {4}, {}},
        {"ripe -black", TRowFilter::fmBoolean, false, {}, {"apple"}},
        {"b*y OR fig", TRowFilter::fmBoolean, false, {1}, {"elderberry", "fig"}},
        {"^[a-c]", TRowFilter::fmGrep, false, {1}, {"apple", "banana", "cherry"}},
        {"^RED$", TRowFilter::fmGrep, true, {2}, {"apple", "cherry"}},
    };
    for (const auto &c : cases) {
        auto view = MakeFruitView();
        view->FilterAndSort(QString::fromUtf8(c.Expression), c.Columns, c.IgnoreCase, c.Mode, -1, true);
        EXPECT_EQ(ShownNames(*view), c.Shown) << c.Expression;
        EXPECT_EQ(view->GetRowCount(), 1 + std::max<qsizetype>(c.Shown.size(), 1)) << c.Expression;
    }
}

TEST(ReportListViewFilter, HiddenRowsComeBackUnchanged)
{
    auto view = MakeFruitView();
    view->SetRowSelectMode(2);
    view->SetRowSelected(2, true);
    view->SetRowSelected(4, true);
    view->SetRowEnabled(5, false);
    view->SetElemChecked(3, 6, true);
    const QStringList before = RowSnapshots(*view);

    view->FilterAndSort(QStringLiteral("an"), {}, false, TRowFilter::fmSimple, -1, true);
    ASSERT_EQ(view->GetNrOfShownRows(), 1);
    EXPECT_EQ(view->GetNrOfRows(), 6); // hidden, not removed
    EXPECT_EQ(RowSnapshots(*view), before);

    view->FilterAndSort(QString(), {}, false, TRowFilter::fmSimple, -1, true);
    EXPECT_EQ(view->GetNrOfShownRows(), 6);
    EXPECT_EQ(view->GetRowCount(), 7);
    EXPECT_EQ(RowSnapshots(*view), before);
    EXPECT_EQ(ShownNames(*view), QStringList({"apple", "banana", "cherry", "date", "elderberry", "fig"}));
}

TEST(ReportListViewFilter, HiddenRowsFollowTheShownOnesAndCanStillBeReached)
{
    auto view = MakeFruitView();
    view->FilterAndSort(QStringLiteral("ripe"), {3}, false, TRowFilter::fmSimple, -1, true);
    ASSERT_EQ(ShownNames(*view), QStringList({"apple", "elderberry"}));
    EXPECT_EQ(view->GetElem(1, 3), QStringLiteral("banana")); // the first hidden row
    view->SetElem(1, 3, QStringLiteral("plantain"));
    EXPECT_EQ(view->GetNrOfShownRows(), 2); // an edit does not filter again
    EXPECT_EQ(view->GetCellText(0, 3), QString()); // grid row 3: beyond the shown rows
}

TEST(ReportListViewFilter, MalformedExpressionRaisesAndChangesNothing)
{
    auto view = MakeFruitView();
    view->FilterAndSort(QStringLiteral("e"), {1}, false, TRowFilter::fmSimple, 1, false);
    const QStringList shown = ShownNames(*view);
    try {
        view->FilterAndSort(QStringLiteral("(ap"), {}, false, TRowFilter::fmGrep, 2, true);
        FAIL() << "no error raised";
    } catch (const ENVORepListError &error) {
        EXPECT_TRUE(error.Message().startsWith(QStringLiteral("Component \"view\": Invalid regular expression \"(ap\"")))
            << error.Message().toStdString();
    }
    EXPECT_EQ(ShownNames(*view), shown);
    EXPECT_EQ(view->GetLastSortColumn(), 1);
    EXPECT_FALSE(view->GetLastSortOrder());
}

TEST(ReportListViewFilter, BeforeFilterCombinesItsVerdictWithTheSearch)
{
    // The search for "e" in the names passes apple, cherry, date, elderberry; the
    // handler's own verdict passes rows 1 to 3 (apple, banana, cherry).
    const struct {
        TLogicOp Combine;
        QStringList Shown;
    } cases[] = {
        {loAND, {"apple", "cherry"}},
        {loOR, {"apple", "banana", "cherry", "date", "elderberry"}},
        {loXOR, {"banana", "date", "elderberry"}},
        {loReplace, {"apple", "banana", "cherry"}},
        {loIgnore, {"apple", "cherry", "date", "elderberry"}},
    };
    for (const auto &c : cases) {
        auto view = MakeFruitView();
        QList<bool> offered;
        view->OnBeforeFilter = [&](QObject *sender, int Row, bool &Found, TLogicOp &Combine) {
            EXPECT_EQ(sender, view.get());
            EXPECT_EQ(Combine, loAND);
            offered << Found;
            Found = Row <= 3;
            Combine = c.Combine;
        };
        view->FilterAndSort(QStringLiteral("e"), {1}, false, TRowFilter::fmSimple, -1, true);
        EXPECT_EQ(ShownNames(*view), c.Shown) << int(c.Combine);
        EXPECT_EQ(offered, QList<bool>({true, false, true, true, true, false})); // the search's verdicts
    }
}

TEST(ReportListViewFilter, SortsWhatPassesAndKeepsTheSortStateTrue)
{
    auto view = MakeFruitView();
    view->FilterAndSort(QStringLiteral("r"), {2}, true, TRowFilter::fmSimple, 1, false);
    EXPECT_EQ(ShownNames(*view), QStringList({"fig", "date", "cherry", "apple"}));
    EXPECT_EQ(view->GetLastSortColumn(), 1);
    EXPECT_FALSE(view->GetLastSortOrder());

    view->Sort(1, -1, true); // a later sort keeps the filter
    EXPECT_EQ(ShownNames(*view), QStringList({"apple", "cherry", "date", "fig"}));
    view->Sort(1, -1, false);
    view->UnSort();
    EXPECT_EQ(ShownNames(*view), QStringList({"apple", "cherry", "date", "fig"}));
    EXPECT_EQ(view->GetNrOfShownRows(), 4);

    view->FilterAndSort(QStringLiteral("r"), {2}, true, TRowFilter::fmSimple, 1, false);
    view->FilterAndSort(QStringLiteral("r"), {2}, true, TRowFilter::fmSimple, 0, true); // no data column
    EXPECT_EQ(view->GetLastSortColumn(), -1);
    EXPECT_EQ(ShownNames(*view), QStringList({"apple", "cherry", "date", "fig"}));
}

TEST(ReportListViewFilter, EndsWhenTheRowsChange)
{
    const struct {
        const char *Change;
        std::function<void(View &)> Apply;
    } cases[] = {
        {"AddRow", [](View &v) { v.AddRow(); }},
        {"RemoveRow", [](View &v) { v.RemoveRow(1); }},
        {"NrOfColumns", [](View &v) { v.SetNrOfColumns(3); }},
        {"Clear", [](View &v) { v.Clear(); }},
        {"store sort", [](View &v) { v.RLData().Sort(1, -1, true); }},
    };
    for (const auto &c : cases) {
        auto view = MakeFruitView();
        view->FilterAndSort(QStringLiteral("apple"), {}, false, TRowFilter::fmSimple, -1, true);
        ASSERT_EQ(view->GetNrOfShownRows(), 1);
        c.Apply(*view);
        EXPECT_EQ(view->GetNrOfShownRows(), view->GetNrOfRows()) << c.Change;
        EXPECT_EQ(view->GetRowCount(), 1 + view->GetNrOfRows()) << c.Change;
    }
}

TEST(ReportListViewFilter, AssignCopiesTheFilterWithTheRows)
{
    auto source = MakeFruitView();
    source->FilterAndSort(QStringLiteral("e"), {1}, false, TRowFilter::fmSimple, 1, false);
    View copy;
    copy.Assign(source.get());
    EXPECT_EQ(ShownNames(copy), ShownNames(*source));
    EXPECT_EQ(copy.GetRowCount(), source->GetRowCount());
    copy.Sort(1, -1, true); // and the copy keeps its hidden rows last
    EXPECT_EQ(ShownNames(copy), QStringList({"apple", "cherry", "date", "elderberry"}));
}

TEST(ReportListViewFilter, CurrentRowStaysOnItsRowOrStartsOver)
{
    auto view = MakeFruitView();
    view->CenterScrollAndSelect(4); // date
    view->FilterAndSort(QStringLiteral("e"), {1}, false, TRowFilter::fmSimple, 1, false);
    // elderberry, date, cherry, apple: date now at data row 2
    EXPECT_EQ(view->GetSelection().Top, view->CountHeadRows() + 1);
    view->FilterAndSort(QStringLiteral("rr"), {1}, false, TRowFilter::fmSimple, -1, true);
    EXPECT_EQ(view->GetSelection().Top, view->CountHeadRows()); // date is hidden: the first row
    EXPECT_EQ(view->GetTopRow(), 1);
}

TEST(ReportListViewFilter, ListWithNoRowLeftShowsNothingToClick)
{
    auto view = MakeFruitView();
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    view->FilterAndSort(QStringLiteral("kiwi"), {}, false, TRowFilter::fmSimple, -1, true);
    EXPECT_EQ(view->GetNrOfShownRows(), 0);
    EXPECT_EQ(view->GetRowCount(), 2); // the one empty row the grid always has
    EXPECT_EQ(view->GetCellText(0, 1), QString());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->CellRect(0, 1).center());
    EXPECT_EQ(view->NumSelectedRows(), 0);
    EXPECT_EQ(view->GetElem(1, 1), QStringLiteral("apple")); // still there, hidden
}

TEST(ReportListViewSort, SortStateAndSecondaryColumn)
{
    View view;
    view.Sort(2, -1, true);
    EXPECT_EQ(view.GetLastSortColumn(), 2);
    EXPECT_TRUE(view.GetLastSortOrder());
    view.UnSort();
    EXPECT_EQ(view.GetLastSortColumn(), -1);
    EXPECT_TRUE(view.GetLastSortOrder()); // the order flag stays
    view.SetSecondarySortColumn(3);
    view.SetSecondarySortColumn(view.GetNrOfColumns() + 1);
    EXPECT_EQ(view.GetSecondarySortColumn(), 3);
    view.SetSecondarySortColumn(-2);
    EXPECT_EQ(view.GetSecondarySortColumn(), 3);
}

TEST(ReportListViewFilter, ShiftClickRangeLeavesHiddenRowsAlone)
{
    auto view = MakeFruitView();
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    view->SetRowSelectMode(2);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->CellRect(0, 6).center()); // anchor: fig
    view->FilterAndSort(QStringLiteral("a"), {1}, false, TRowFilter::fmSimple, -1, true); // apple, banana, date
    ASSERT_EQ(view->GetNrOfShownRows(), 3);
    QStringList hiddenBefore;
    for (int r = 4; r <= 6; ++r)
        hiddenBefore << view->GetElem(1, r) + (view->GetRowSelected(r) ? u'+' : u'-');
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ShiftModifier, view->CellRect(0, 2).center());
    QStringList hiddenAfter;
    for (int r = 4; r <= 6; ++r)
        hiddenAfter << view->GetElem(1, r) + (view->GetRowSelected(r) ? u'+' : u'-');
    EXPECT_EQ(hiddenAfter, hiddenBefore);
    EXPECT_TRUE(view->GetRowSelected(2));
    EXPECT_TRUE(view->GetRowSelected(3));
}
