#include "EventRecorder.h"
#include "NVO_DataTable.h"
#include "RangeListeners.h"

#include <gtest/gtest.h>

#include <functional>
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

TEST(DataTable, FillSetsEveryValueAndLeavesEveryState)
{
    TDataTable t;
    t.Resize(2, 2);
    const uint8_t states[] = {cellstate::NotANumber, cellstate::Empty, cellstate::MarkedA | cellstate::MarkedB, 0};
    for (int i = 0; i < 4; ++i)
        t.SetCellState(i % 2 + 1, i / 2 + 1, states[i]);
    t.Fill(2.5);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(t.GetElem(i % 2 + 1, i / 2 + 1), 2.5) << i;
        EXPECT_EQ(t.GetCellState(i % 2 + 1, i / 2 + 1), states[i]) << i;
    }
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

/// Records what a table announces, signals and events alike, in order: "cells 1,1 3,2"
/// (first and last column,row), "setup H 2", "comment", "size 3x2 4x2", "exchanged V 1 2"
/// and the events by name.
void RecordAnnouncements(TDataTable &t, test::EventRecorder &events)
{
    const auto orientation = [](Qt::Orientation o) { return o == Qt::Horizontal ? QStringLiteral("H") : QStringLiteral("V"); };
    QObject::connect(&t, &TDataTable::CellsChanged, [&events](int c1, int r1, int c2, int r2) {
        events.Record(QStringLiteral("cells %1,%2 %3,%4").arg(c1).arg(r1).arg(c2).arg(r2));
    });
    QObject::connect(&t, &TDataTable::SetupChanged, [&events, orientation](Qt::Orientation o, int index) {
        events.Record(QStringLiteral("setup %1 %2").arg(orientation(o)).arg(index));
    });
    QObject::connect(&t, &TDataTable::CommentChanged, [&events] { events.Record(QStringLiteral("comment")); });
    QObject::connect(&t, &TDataTable::SizeChanged, [&events](int oc, int orows, int nc, int nr) {
        events.Record(QStringLiteral("size %1x%2 %3x%4").arg(oc).arg(orows).arg(nc).arg(nr));
    });
    QObject::connect(&t, &TDataTable::Exchanged, [&events, orientation](Qt::Orientation o, int a, int b) {
        events.Record(QStringLiteral("exchanged %1 %2 %3").arg(orientation(o)).arg(a).arg(b));
    });
    t.OnDataChanged = events.Recorder(QStringLiteral("OnDataChanged"));
    t.OnSetupChanged = events.Recorder(QStringLiteral("OnSetupChanged"));
    t.OnResize = events.Recorder(QStringLiteral("OnResize"));
    t.OnSortExchange = events.Recorder(QStringLiteral("OnSortExchange"));
}

TEST(DataTable, EachChangeIsAnnouncedBySignalThenEventWithWhatItChanged)
{
    const struct
    {
        const char *change;
        std::function<void(TDataTable &)> make;
        const char *expected;
    } cases[] = {
        {"a value", [](TDataTable &t) { t.SetElem(2, 1, 5); }, "cells 2,1 2,1|OnDataChanged"},
        {"a cell state", [](TDataTable &t) { t.SetCellState(3, 2, cellstate::Empty); }, "cells 3,2 3,2|OnDataChanged"},
        {"a value outside", [](TDataTable &t) { t.SetElem(4, 1, 5); }, ""},
        {"filled", [](TDataTable &t) { t.Fill(1); }, "cells 1,1 3,2|OnDataChanged"},
        {"marked cells filled", [](TDataTable &t) { t.FillMarkedCells(1, cellstate::MarkedA); }, "cells 1,1 3,2|OnDataChanged"},
        {"states inverted", [](TDataTable &t) { t.InvertCellStates(cellstate::MarkedB); }, "cells 1,1 3,2|OnDataChanged"},
        {"a column name", [](TDataTable &t) { t.SetColName(2, QStringLiteral("x")); }, "setup H 2|OnSetupChanged"},
        {"a row attribute", [](TDataTable &t) { t.SetRowAttrib(1, 3); }, "setup V 1|OnSetupChanged"},
        {"an identifier", [](TDataTable &t) { t.SetNominalID(3, 1, QStringLiteral("id")); }, "setup H 3|OnSetupChanged"},
        {"the comment", [](TDataTable &t) { t.SetFComment(QStringLiteral("c")); }, "comment|OnSetupChanged"},
        {"a column inserted", [](TDataTable &t) { t.InsertColumn(2); }, "size 3x2 4x2|OnResize"},
        {"a row removed", [](TDataTable &t) { t.RemoveRow(1); }, "size 3x2 3x1|OnResize"},
        {"rows exchanged", [](TDataTable &t) { t.ExchangeRows(2, 1); },
         "exchanged V 2 1|OnSortExchange|cells 1,1 3,2|OnDataChanged"},
        {"columns exchanged", [](TDataTable &t) { t.ExchangeColumns(1, 2); },
         "exchanged H 1 2|OnSortExchange|cells 1,1 2,2|OnDataChanged"},
    };
    for (const auto &c : cases) {
        TDataTable t;
        Populate(t);
        test::EventRecorder events;
        RecordAnnouncements(t, events);
        c.make(t);
        EXPECT_EQ(events.Events().join(QLatin1Char('|')).toStdString(), c.expected) << c.change;
    }
}

TEST(DataTable, AMirrorReportsEachExchangeAndItsCellsOnce)
{
    TDataTable t;
    t.Resize(2, 5);
    test::EventRecorder events;
    RecordAnnouncements(t, events);
    t.MirrorRows();
    EXPECT_EQ(events.Events(), QStringList({"exchanged V 1 5", "OnSortExchange", "exchanged V 2 4", "OnSortExchange",
                                            "cells 1,1 2,5", "OnDataChanged"}));
}

TEST(DataTable, EveryConnectedListenerHearsTheSameCells)
{
    TDataTable t;
    t.Resize(3, 3);
    test::ExpectBothListenersHear(t, &TDataTable::CellsChanged, [&t] { t.SetElem(3, 2, 1.5); }, {3, 2, 3, 2});
}

TEST(DataTable, AListenerHearsTheCellsWhateverWasDisconnectedBefore)
{
    // The table leaves out the cell signal while nobody listens; whichever way earlier
    // listeners went, the one connected now must not be taken for absent.
    const struct
    {
        const char *before;
        std::function<void(TDataTable &)> make;
    } cases[] = {
        {"nothing", [](TDataTable &) {}},
        {"a listener by its connection",
         [](TDataTable &t) { QObject::disconnect(QObject::connect(&t, &TDataTable::CellsChanged, [] {})); }},
        {"a listener's receiver destroyed",
         [](TDataTable &t) {
             QObject receiver;
             QObject::connect(&t, &TDataTable::CellsChanged, &receiver, [] {});
         }},
        {"two connections of one receiver at once",
         [](TDataTable &t) {
             QObject receiver;
             QObject::connect(&t, &TDataTable::CellsChanged, &receiver, [] {});
             QObject::connect(&t, &TDataTable::CellsChanged, &receiver, [] {});
             QObject::disconnect(&t, &TDataTable::CellsChanged, &receiver, nullptr);
         }},
        {"every connection of the table",
         [](TDataTable &t) {
             QObject::connect(&t, &TDataTable::CellsChanged, [] {});
             t.disconnect();
         }},
    };
    for (const auto &c : cases) {
        TDataTable t;
        t.Resize(2, 2);
        c.make(t);
        t.SetElem(1, 1, 1.0); // an announcement between, with or without a listener
        std::vector<int> heard;
        QObject::connect(&t, &TDataTable::CellsChanged,
                         [&heard](int c1, int r1, int c2, int r2) { heard = {c1, r1, c2, r2}; });
        t.SetElem(2, 1, 2.0);
        EXPECT_EQ(heard, (std::vector<int>{2, 1, 2, 1})) << c.before;
    }
}

} // namespace
