// The data table's block operations: reordering in one pass, copying blocks, storing
// lines of numbers and taking over another table.
#include "EventRecorder.h"
#include "NVO_DataTable.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace nvo;

/// A cols x rows table whose values are col * 10 + row, named C1.. and R1.., with
/// attribute bytes equal to the index.
void Fill(TDataTable &t, int cols, int rows)
{
    t.Resize(cols, rows);
    for (int col = 1; col <= cols; ++col) {
        t.SetColName(col, QStringLiteral("C%1").arg(col));
        t.SetColAttrib(col, uint8_t(col));
        for (int row = 1; row <= rows; ++row)
            t.SetElem(col, row, col * 10 + row);
    }
    for (int row = 1; row <= rows; ++row) {
        t.SetRowName(row, QStringLiteral("R%1").arg(row));
        t.SetRowAttrib(row, uint8_t(row));
    }
}

/// The values of a column (or a row) as a list, to compare a whole order at once.
std::vector<double> ColumnValues(const TDataTable &t, int col)
{
    std::vector<double> values;
    for (int row = 1; row <= t.NrOfRows(); ++row)
        values.push_back(t.GetElem(col, row));
    return values;
}

std::vector<double> RowValues(const TDataTable &t, int row)
{
    std::vector<double> values;
    for (int col = 1; col <= t.NrOfColumns(); ++col)
        values.push_back(t.GetElem(col, row));
    return values;
}

/// What a table announces: permutations, exchanges, cells, and the events by name.
void Record(TDataTable &t, test::EventRecorder &events)
{
    QObject::connect(&t, &TDataTable::Permuted,
                     [&events](Qt::Orientation o, int first, const std::vector<int> &order, bool headings) {
                         events.Record(QStringLiteral("permuted %1 %2 n%3%4")
                                           .arg(o == Qt::Horizontal ? QStringLiteral("H") : QStringLiteral("V"))
                                           .arg(first)
                                           .arg(order.size())
                                           .arg(headings ? QStringLiteral(" headings") : QString()));
                     });
    QObject::connect(&t, &TDataTable::Exchanged, [&events] { events.Record(QStringLiteral("exchanged")); });
    QObject::connect(&t, &TDataTable::CellsChanged, [&events](int c1, int r1, int c2, int r2) {
        events.Record(QStringLiteral("cells %1,%2 %3,%4").arg(c1).arg(r1).arg(c2).arg(r2));
    });
    t.OnDataChanged = events.Recorder(QStringLiteral("OnDataChanged"));
    t.OnPermute = events.Recorder(QStringLiteral("OnPermute"));
}

TEST(DataTableBlock, PermutingRowsMovesTheBlockAndItsHeadingsInOneAnnouncement)
{
    TDataTable t;
    Fill(t, 3, 4);
    t.SetCellState(1, 4, cellstate::MarkedA);
    test::EventRecorder events;
    Record(t, events);
    t.PermuteRows(2, {4, 2, 3}, 1, 2, true);
    EXPECT_EQ(ColumnValues(t, 1), (std::vector<double>{11, 14, 12, 13}));
    EXPECT_EQ(ColumnValues(t, 3), (std::vector<double>{31, 32, 33, 34})); // outside the block
    EXPECT_EQ(t.GetCellState(1, 2), cellstate::MarkedA);
    EXPECT_EQ(t.GetRowName(2), QStringLiteral("R4"));
    EXPECT_EQ(t.GetRowAttrib(2), 4);
    EXPECT_EQ(events.Events(), (QStringList{"permuted V 2 n3 headings", "OnPermute", "cells 1,2 2,4", "OnDataChanged"}));
}

TEST(DataTableBlock, PermutingColumnsWithoutHeadingsLeavesTheNames)
{
    TDataTable t;
    Fill(t, 3, 3);
    t.SetMScaleType(3, mstNominal);
    t.PermuteColumns(1, {3, 1, 2}, 2, 9, false);
    EXPECT_EQ(RowValues(t, 1), (std::vector<double>{11, 21, 31}));
    EXPECT_EQ(RowValues(t, 2), (std::vector<double>{32, 12, 22}));
    EXPECT_EQ(t.GetColName(1), QStringLiteral("C1"));
    t.PermuteColumns(1, {3, 1, 2}, 1, 3, true);
    EXPECT_EQ(t.GetColName(1), QStringLiteral("C3"));
    EXPECT_EQ(t.GetColAttrib(1), 3);
    EXPECT_EQ(t.GetMScaleType(1), mstNominal);
}

TEST(DataTableBlock, AnOrderThatIsNoPermutationChangesNothing)
{
    const struct
    {
        const char *what;
        int first;
        std::vector<int> order;
    } cases[] = {
        {"empty", 1, {}},
        {"twice the same row", 1, {1, 1}},
        {"a row outside the range", 2, {1, 2}},
        {"beyond the table", 3, {3, 4}},
        {"before the table", 0, {0, 1}},
    };
    for (const auto &c : cases) {
        TDataTable t;
        Fill(t, 2, 3);
        test::EventRecorder events;
        Record(t, events);
        t.PermuteRows(c.first, c.order, 1, 2, true);
        t.PermuteColumns(c.first, c.order, 1, 3, true);
        EXPECT_EQ(ColumnValues(t, 1), (std::vector<double>{11, 12, 13})) << c.what;
        EXPECT_TRUE(events.Events().isEmpty()) << c.what;
    }
}

TEST(DataTableBlock, CopiedCellsAreClippedToBothTables)
{
    const struct
    {
        const char *what;
        int sourceCol, sourceRow, cols, rows, col, row;
        TDataTable::TCellParts parts;
        std::vector<double> column2; ///< the target's second column afterwards
        uint8_t state22;             ///< the target's state at (2, 2)
        const char *announced;
    } cases[] = {
        {"inside", 1, 1, 2, 2, 2, 2, TDataTable::cpValuesAndStates, {0, 11, 12}, cellstate::MarkedB, "cells 2,2 3,3"},
        {"beyond the target", 1, 1, 9, 9, 2, 3, TDataTable::cpValues, {0, 0, 11}, 0, "cells 2,3 3,3"},
        {"before the target", 1, 1, 3, 3, 0, 0, TDataTable::cpValues, {0, 0, 0}, 0, "cells 1,1 1,1"},
        {"states only", 1, 1, 2, 2, 2, 2, TDataTable::cpStates, {0, 0, 0}, cellstate::MarkedB, "cells 2,2 3,3"},
        {"nothing shared", 5, 5, 2, 2, 1, 1, TDataTable::cpValues, {0, 0, 0}, 0, ""},
    };
    for (const auto &c : cases) {
        TDataTable source, target;
        Fill(source, 2, 2);
        source.SetCellState(1, 1, cellstate::MarkedB);
        target.Resize(3, 3);
        test::EventRecorder events;
        QObject::connect(&target, &TDataTable::CellsChanged, [&events](int c1, int r1, int c2, int r2) {
            events.Record(QStringLiteral("cells %1,%2 %3,%4").arg(c1).arg(r1).arg(c2).arg(r2));
        });
        target.CopyCells(source, c.sourceCol, c.sourceRow, c.cols, c.rows, c.col, c.row, c.parts);
        EXPECT_EQ(ColumnValues(target, 2), c.column2) << c.what;
        EXPECT_EQ(target.GetCellState(2, 2), c.state22) << c.what;
        EXPECT_EQ(events.Events().join(u'|').toStdString(), c.announced) << c.what;
    }
}

TEST(DataTableBlock, LinesOfNumbersAreStoredClippedAndBecomeNumbers)
{
    TDataTable t;
    t.Resize(3, 2);
    t.SetCellState(2, 1, cellstate::NotANumber | cellstate::MarkedA);
    test::EventRecorder events;
    Record(t, events);
    t.SetElems(2, 1, {{1, 2, 3}, {}, {9}});
    EXPECT_EQ(RowValues(t, 1), (std::vector<double>{0, 1, 2}));
    EXPECT_EQ(RowValues(t, 2), (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(t.GetCellState(2, 1), cellstate::MarkedA);
    EXPECT_EQ(events.Events(), (QStringList{"cells 2,1 3,1", "OnDataChanged"}));
    events.Clear();
    t.SetElems(4, 1, {{1}});
    EXPECT_TRUE(events.Events().isEmpty());
}

TEST(DataTableBlock, AssignTakesOverEverythingOfTheOtherTable)
{
    TDataTable source, target;
    Fill(source, 4, 2);
    source.SetCellState(4, 2, cellstate::Empty);
    source.SetMScaleType(2, mstOrdinal);
    source.SetNominalID(2, 3, QStringLiteral("three"));
    source.SetFComment(QStringLiteral("from elsewhere"));
    target.Resize(2, 2);
    int resized = 0;
    target.OnResize = [&](QObject *, int, int, int, int) { ++resized; };
    target.Assign(source);
    EXPECT_EQ(resized, 1);
    EXPECT_EQ(target.NrOfColumns(), 4);
    EXPECT_EQ(target.GetElem(3, 2), 32);
    EXPECT_EQ(target.GetCellState(4, 2), cellstate::Empty);
    EXPECT_EQ(target.GetRowName(2), QStringLiteral("R2"));
    EXPECT_EQ(target.GetColAttrib(4), 4);
    EXPECT_EQ(target.GetNominalID(2, 3), QStringLiteral("three"));
    EXPECT_EQ(target.Comment(), QStringLiteral("from elsewhere"));
    source.SetElem(1, 1, -1); // a copy, not shared
    EXPECT_EQ(target.GetElem(1, 1), 11);
}

} // namespace
