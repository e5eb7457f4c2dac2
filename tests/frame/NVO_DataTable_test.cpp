#include "NVO_DataTable.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace nvo;

/// A 3 x 2 table whose values are col * 10 + row, named C1.. and R1...
void Populate(TDataTable &t)
{
    t.Resize(3, 2);
    for (int col = 1; col <= 3; ++col) {
        t.SetColName(col, QStringLiteral("C%1").arg(col));
        for (int row = 1; row <= 2; ++row)
            t.SetElem(col, row, col * 10 + row);
    }
    for (int row = 1; row <= 2; ++row)
        t.SetRowName(row, QStringLiteral("R%1").arg(row));
}

TEST(DataTable, InsertAndRemoveMoveValuesStatesNamesAndAttributes)
{
    TDataTable t;
    Populate(t);
    t.SetCellState(2, 2, cellstate::MarkedA);
    t.SetColAttrib(2, 7);
    t.InsertColumn(2);
    EXPECT_EQ(t.NrOfColumns(), 4);
    EXPECT_EQ(t.GetElem(3, 2), 22);
    EXPECT_EQ(t.GetCellState(3, 2), cellstate::MarkedA);
    EXPECT_EQ(t.GetColName(3), QStringLiteral("C2"));
    EXPECT_EQ(t.GetColAttrib(3), 7);
    EXPECT_EQ(t.GetElem(2, 1), 0);
    t.InsertRow(3); // count + 1 appends
    EXPECT_EQ(t.NrOfRows(), 3);
    t.InsertRow(5); // beyond: ignored
    EXPECT_EQ(t.NrOfRows(), 3);
    t.RemoveColumn(2);
    t.RemoveRow(1);
    EXPECT_EQ(t.GetElem(2, 1), 22);
    EXPECT_EQ(t.GetRowName(1), QStringLiteral("R2"));
}

TEST(DataTable, MirrorReversesAndReportsEachColumnExchange)
{
    TDataTable t;
    Populate(t);
    std::vector<std::vector<int>> exchanges;
    t.OnSortExchange = [&](QObject *, int kind, int a, int b, int, int) { exchanges.push_back({kind, a, b}); };
    t.MirrorColumns();
    t.MirrorRows();
    EXPECT_EQ(t.GetElem(1, 1), 32);
    EXPECT_EQ(t.GetColName(1), QStringLiteral("C3"));
    EXPECT_EQ(t.GetRowName(1), QStringLiteral("R2"));
    EXPECT_EQ(exchanges, (std::vector<std::vector<int>>{{1, 1, 3}, {0, 1, 2}}));
}

TEST(DataTable, CellStateOperationsActOnTheirBitsOnly)
{
    TDataTable t;
    t.Resize(2, 1);
    t.SetCellState(1, 1, cellstate::MarkedA | cellstate::Empty);
    t.SetCellState(2, 1, cellstate::MarkedB);
    EXPECT_FALSE(t.GetIsNumber(1, 1));
    t.ExchangeMarkings();
    EXPECT_EQ(t.GetCellState(1, 1), cellstate::MarkedB | cellstate::Empty);
    EXPECT_EQ(t.GetCellState(2, 1), cellstate::MarkedA);
    EXPECT_EQ(t.FillMarkedCells(5, cellstate::MarkedB), 1);
    EXPECT_EQ(t.GetElem(1, 1), 5);
    EXPECT_TRUE(t.GetIsNumber(1, 1));
    t.InvertCellStates(cellstate::NotANumber);
    EXPECT_EQ(t.GetCellState(2, 1), cellstate::MarkedA | cellstate::NotANumber);
    t.UnmarkAllCells();
    EXPECT_EQ(t.GetCellState(1, 1), cellstate::NotANumber);
}

TEST(DataTable, NamesAndIdentifiersAreCutAndLookedUp)
{
    TDataTable t;
    t.Resize(1, 1);
    t.SetColName(1, QString(60, QLatin1Char('n')));
    EXPECT_EQ(t.GetColName(1).size(), TDataTable::NameMax);
    t.SetMScaleType(1, mstNominal);
    t.SetNominalID(1, 2, QStringLiteral("Wednesday!"));
    t.SetNominalID(1, 1, QStringLiteral("elevenchars"));
    EXPECT_EQ(t.GetNominalID(1, 1), QStringLiteral("elevenchar"));
    EXPECT_EQ(t.GetNominalID(1, 3), QString());
    EXPECT_EQ(t.OrdinalOfNominalID(1, QStringLiteral("wednesday!"), true), 2);
    EXPECT_EQ(t.OrdinalOfNominalID(1, QStringLiteral("wednesday!"), false), 0);
    EXPECT_EQ(MScaleTypeNames.at(t.GetMScaleType(1)), QStringLiteral("nominal"));
}

TEST(DataTable, NotificationsReportResizeAndDataChanges)
{
    TDataTable t;
    std::vector<int> resize;
    int dataChanges = 0;
    t.OnResize = [&](QObject *, int oc, int orr, int nc, int nr) { resize = {oc, orr, nc, nr}; };
    t.OnDataChanged = [&](QObject *) { ++dataChanges; };
    t.Resize(3, 4);
    EXPECT_EQ(resize, (std::vector<int>{0, 0, 3, 4}));
    t.SetElem(1, 1, 2);
    t.SetElem(9, 9, 2); // outside: no change, no notification
    EXPECT_EQ(dataChanges, 1);
    t.OnDataChanged = nullptr; // detached around a bulk operation
    t.Fill(1);
    EXPECT_EQ(dataChanges, 1);
    EXPECT_EQ(t.GetElem(3, 4), 1);
}

} // namespace
