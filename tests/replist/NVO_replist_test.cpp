#include "NVO_replist.h"

#include <QtCore/QStringList>
#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace nvo;

/// A store with the given columns (name per entry) and rows of cells, column by column.
void Build(TRLData &d, const QStringList &names, const std::vector<QStringList> &rows)
{
    d.SetNrCols(int(names.size()));
    d.SetNrRows(int(rows.size()));
    for (int col = 1; col <= names.size(); ++col)
        d.SetColName(col, names[col - 1]);
    for (int row = 1; row <= int(rows.size()); ++row)
        for (int col = 1; col <= rows[size_t(row - 1)].size(); ++col)
            d.SetElem(col, row, rows[size_t(row - 1)][col - 1]);
}

QStringList Stored(const TRLData &d, int col)
{
    QStringList cells;
    for (int row = 1; row <= d.GetNrOfRows(); ++row)
        cells << d.Strings().GetString(col, row);
    return cells;
}

QStringList Elems(const TRLData &d, int col)
{
    QStringList cells;
    for (int row = 1; row <= d.GetNrOfRows(); ++row)
        cells << d.GetElem(col, row);
    return cells;
}

TEST(RLData, StartsWithOneColumnNamedC1AndNoRows)
{
    TRLData d;
    EXPECT_EQ(d.GetNrOfColumns(), 1);
    EXPECT_EQ(d.GetNrOfRows(), 0);
    EXPECT_EQ(d.GetColName(1), QStringLiteral("C-1"));
    EXPECT_EQ(d.GetElem(1, 1), QString());
    EXPECT_EQ(d.GetCommonHeader(), QStringLiteral("NVO Report Listview"));
    EXPECT_EQ(d.GetLastSortColumn(), -1);
    EXPECT_TRUE(d.GetLastSortOrder());
    EXPECT_TRUE(d.GetSortToggle());
}

TEST(RLData, NewColumnsAreNamedByNumberAndOldNamesStay)
{
    TRLData d;
    d.SetNrCols(2);
    d.SetColName(2, QStringLiteral("Price"));
    d.SetNrCols(4);
    EXPECT_EQ(d.GetColName(1), QStringLiteral("C-1"));
    EXPECT_EQ(d.GetColName(2), QStringLiteral("Price"));
    EXPECT_EQ(d.GetColName(3), QStringLiteral("C-3"));
    EXPECT_EQ(d.GetColName(4), QStringLiteral("C-4"));
    d.SetNrCols(0);
    EXPECT_EQ(d.GetNrOfColumns(), 1);
    d.SetNrRows(-5);
    EXPECT_EQ(d.GetNrOfRows(), 0);
}

TEST(RLData, OutOfRangeIndicesReadEmptyAndWriteNothing)
{
    TRLData d;
    Build(d, {"A", "B"}, {{"a1", "b1"}});
    d.SetElem(3, 1, QStringLiteral("x"));
    d.SetElem(1, 2, QStringLiteral("x"));
    d.SetElem(1, 0, QStringLiteral("x"));
    d.SetColName(3, QStringLiteral("x"));
    d.SetColCheckMode(0, TRLData::cmBox);
    EXPECT_EQ(d.GetElem(3, 1), QString());
    EXPECT_EQ(d.GetElem(-1, 1), QString());
    EXPECT_EQ(d.GetColName(0), QString());
    EXPECT_EQ(d.GetColumnFormat(3), QString());
    EXPECT_EQ(d.GetColCheckMode(3), TRLData::cmNone);
    EXPECT_FALSE(d.GetElemChecked(1, 1));
    EXPECT_EQ(d.CountCheckedElemsInCol(9), 0);
    EXPECT_EQ(d.GetAsNumber(9, 9), 0);
    d.SetElem(0, 1, QStringLiteral("hidden")); // column 0 is reachable
    EXPECT_EQ(d.GetElem(0, 1), QStringLiteral("hidden"));
}

TEST(RLData, NamesFormatsAndCellsAreCutToTheirLengths)
{
    // The alphabet over and over, so that a cut that kept the end instead of the start
    // shows in the content, not only in the length.
    QString text;
    for (int i = 0; i < 300; ++i)
        text += QChar(u'A' + i % 26);
    TRLData d;
    d.SetNrRows(1);
    d.SetColName(1, text);
    d.SetColumnFormat(1, text);
    d.SetElem(1, 1, text);
    EXPECT_EQ(d.GetColName(1), text.left(50));
    EXPECT_EQ(d.GetColumnFormat(1), text.left(80));
    EXPECT_EQ(d.GetElem(1, 1), text.left(255));
    d.SetCheckedCol(1, true); // state character + text stays within 255
    d.SetElem(1, 1, text);
    EXPECT_EQ(d.GetElem(1, 1), text.left(254));
}

TEST(RLData, CheckModeConversionsKeepTheVisibleTextAndSendNoChange)
{
    TRLData d;
    Build(d, {"A"}, {{"a"}, {""}, {"b"}});
    int changes = 0;
    d.Strings().OnChange = [&](QObject *) { ++changes; };
    d.SetColCheckMode(1, TRLData::cmBox);
    EXPECT_EQ(changes, 0); // a conversion is a setup change, not a content change
    EXPECT_EQ(Stored(d, 1), QStringList({" a", "", " b"}));
    EXPECT_EQ(Elems(d, 1), QStringList({"a", "", "b"}));
    EXPECT_TRUE(d.GetCheckedCol(1));
    d.SetElemChecked(1, 1, true);
    d.SetColCheckMode(1, TRLData::cmRadio); // box -> radio clears every mark
    EXPECT_EQ(d.CountCheckedElemsInCol(1), 0);
    EXPECT_FALSE(d.GetCheckedCol(1));
    d.SetElemChecked(1, 3, true);
    d.SetColCheckMode(1, TRLData::cmBox); // radio -> box keeps the cells
    EXPECT_TRUE(d.GetElemChecked(1, 3));
    const int beforeBack = changes;
    d.SetCheckedCol(1, false);
    EXPECT_EQ(changes, beforeBack);
    EXPECT_EQ(Elems(d, 1), QStringList({"a", "", "b"}));
    EXPECT_EQ(Stored(d, 1), QStringList({"a", "", "b"}));
}

TEST(RLData, RadioColumnsKeepAtMostOneMark)
{
    TRLData d;
    Build(d, {"A"}, {{"1"}, {"2"}, {"3"}, {"4"}, {"5"}});
    d.SetColCheckMode(1, TRLData::cmRadio);
    d.SetElemChecked(1, 2, true);
    d.SetElemChecked(1, 5, true);
    EXPECT_FALSE(d.GetElemChecked(1, 2));
    EXPECT_TRUE(d.GetElemChecked(1, 5));
    EXPECT_EQ(d.FirstCheckedElemInCol(1), 5);
    EXPECT_EQ(d.CountCheckedElemsInCol(1), 1);
    EXPECT_EQ(d.FirstCheckedElemInRow(5), 1);
    EXPECT_EQ(d.CountCheckedElemsInRow(5), 1);
    d.SetAllCheckmarksOfCol(1, true); // setting all is for box columns only
    EXPECT_EQ(d.CountCheckedElemsInCol(1), 1);
    d.SetAllCheckmarksOfCol(1, false);
    EXPECT_EQ(d.CountCheckedElemsInCol(1), 0);
}

TEST(RLData, InvertTurnsEmptyIntoCheckedAndFlipsTheRest)
{
    TRLData d;
    d.SetNrRows(3);
    d.SetCheckedCol(1, true);
    d.Strings().SetString(1, 2, QStringLiteral("Xtext"));
    d.Strings().SetString(1, 3, QStringLiteral(" text"));
    d.InvertAllCheckmarksOfCol(1);
    EXPECT_EQ(Stored(d, 1), QStringList({"X", " text", "Xtext"}));
}

TEST(RLData, GetAsNumberReadsBlanksAndCommaAndNamesTheBadCell)
{
    TRLData d;
    d.SetNrCols(2);
    d.SetNrRows(7);
    d.SetElem(1, 1, QStringLiteral(" 3,5 "));
    d.SetElem(2, 7, QStringLiteral("3.5x"));
    EXPECT_DOUBLE_EQ(d.GetAsNumber(1, 1), 3.5);
    EXPECT_EQ(d.GetAsNumber(1, 2), 0);
    d.SetElem(1, 3, QStringLiteral("   "));
    EXPECT_EQ(d.GetAsNumber(1, 3), 0);
    try {
        d.GetAsNumber(2, 7);
        FAIL() << "no exception";
    } catch (const ENVODStructError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Class TRLData: invalid numeric string: [2,7]: 3.5x"));
    }
    d.SetCheckedCol(2, true); // the message quotes the stored text, state character included
    try {
        d.GetAsNumber(2, 7);
        FAIL() << "no exception";
    } catch (const ENVODStructError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Class TRLData: invalid numeric string: [2,7]:  3.5x"));
    }
    d.SetElem(2, 7, QStringLiteral("-2e1"));
    EXPECT_EQ(d.GetAsNumber(2, 7), -20);
}

TEST(RLData, ColumnIndexFindsTheLastMatch)
{
    TRLData d;
    Build(d, {"Name", "Surname"}, {});
    EXPECT_EQ(d.ColumnIndex(QStringLiteral("na"), true), 2);
    EXPECT_EQ(d.ColumnIndex(QStringLiteral("NAME"), false), 1);
    EXPECT_EQ(d.ColumnIndex(QStringLiteral("x"), true), -1);
    EXPECT_EQ(d.ColumnIndex(QString(), true), -1);
}

TEST(RLData, DefaultValuesFollowTheColumnFormat)
{
    const struct
    {
        const char *format;
        int row;
        const char *expected;
    } cases[] = {
        {"[l][120]red|green|blue", 1, "red"},
        {"[c]a", 1, "a"},
        {"[i][80]rix3", 7, "007"},
        {"[i][80]RIX2", 1234, "34"},
        {"[i][80]rix0", 7, "7"},
        {"[h][80]rix2", 255, "FF"},
        {"[h][80]rix99", 255, "000000FF"},
        {"[e][80]rix2", 3, "3.00"},
        {"[f][80]x rix", 3, "3"}, // count read from the fourth character: "rix" gives 0
        {"[e][80]12.5", 3, "12.5"},
        {"[d][90]2024-01-31", 1, "2024-01-31"},
        {"[#s][100]abc", 1, ""},
        {"[s][100]abc", 1, "abc"},
        {"abc", 1, ""},
        {"[x][10]abc", 1, ""},
        {"[s]", 1, ""},
        {"[i][80]rix99999999999", 5, nullptr}, // bounded: a cell's worth of digits
    };
    TRLData d;
    d.SetNrRows(1);
    for (const auto &c : cases) {
        d.SetColumnFormat(1, QString::fromLatin1(c.format));
        const QString value = d.GetCellDefaultValue(1, c.row);
        if (c.expected)
            EXPECT_EQ(value, QString::fromLatin1(c.expected)) << c.format;
        else
            EXPECT_EQ(value.size(), ShortStringMax) << c.format;
    }
}

TEST(RLData, PasswordDefaultsAreFreshAndBounded)
{
    TRLData d;
    d.SetColumnFormat(1, QStringLiteral("[s][80]$PWD$12"));
    const QString a = d.GetCellDefaultValue(1, 1);
    EXPECT_EQ(a.size(), 12);
    EXPECT_NE(a, d.GetCellDefaultValue(1, 1));
    d.SetColumnFormat(1, QStringLiteral("[s][80]$pwd$2000000000"));
    EXPECT_EQ(d.GetCellDefaultValue(1, 1).size(), ShortStringMax);
}

TEST(RLData, ColumnFormatPartsAreBounded)
{
    const struct
    {
        const char *format;
        char kind;
        bool readOnly;
        int width, lines;
        const char *d;
    } cases[] = {
        {"[#c:5][150]a|b", 'c', true, 150, 5, "a|b"}, {"[i][-3]x", 'i', false, 200, 0, "x"},
        {"[l:99999][99999]", 'l', false, 4000, 100, ""}, {"plain", 's', false, 200, 0, ""},
        {"[d dd.MM.yyyy][ +80x]", 'd', false, 80, 0, ""},
    };
    for (const auto &c : cases) {
        const TColumnFormatParts parts = ParseColumnFormat(QString::fromLatin1(c.format));
        EXPECT_EQ(parts.Kind, QLatin1Char(c.kind)) << c.format;
        EXPECT_EQ(parts.ReadOnly, c.readOnly) << c.format;
        EXPECT_EQ(parts.EditorWidth, c.width) << c.format;
        EXPECT_EQ(parts.DropDownLines, c.lines) << c.format;
        EXPECT_EQ(parts.Default, QString::fromLatin1(c.d)) << c.format;
    }
    EXPECT_EQ(ReadFormatInteger(u"  -12ab"), -12);
    EXPECT_EQ(ReadFormatInteger(u"99999999999999999999"), INT_MAX);
    EXPECT_EQ(ReadFormatInteger(u"x1"), 0);
}

TEST(RLData, RemovingTheOnlyRowEmptiesItAndClearsItsAttributeByte)
{
    TRLData d;
    Build(d, {"A"}, {{"a"}});
    d.SetElem(0, 1, QStringLiteral("hidden"));
    d.Strings().SetRowAttrib(1, 0xC0);
    d.RemoveRow(1);
    EXPECT_EQ(d.GetNrOfRows(), 0);
    EXPECT_EQ(d.Strings().GetString(0, 1), QString());
    EXPECT_EQ(d.Strings().GetString(1, 1), QString());
    d.SetNrRows(1);
    EXPECT_EQ(d.Strings().GetRowAttrib(1), 0); // no stale selection on the next row
}

TEST(RLData, RemoveRowCommitsTheSortAndMovesAttributes)
{
    TRLData d;
    Build(d, {"A"}, {{"c"}, {"a"}, {"b"}});
    d.Strings().SetRowAttrib(1, 0x80); // row "c"
    d.Sort(1, -1, true);               // a b c
    d.RemoveRow(1);                    // removes a
    d.UnSort();                        // the committed order stays
    EXPECT_EQ(Elems(d, 1), QStringList({"b", "c"}));
    EXPECT_EQ(d.Strings().GetRowAttrib(2), 0x80);
}

TEST(RLData, RemoveEmptyRowsCountsStateCharactersAndColumnZero)
{
    TRLData d;
    Build(d, {"A", "B"}, {{"", ""}, {"x", ""}, {"", ""}, {"", ""}, {"", "y"}});
    d.SetCheckedCol(2, true);
    d.SetElemChecked(2, 3, true); // "X" alone: empty
    d.SetElem(0, 4, QStringLiteral("hidden"));
    d.Strings().SetRowAttrib(5, 0x40);
    d.RemoveEmptyRows();
    EXPECT_EQ(d.GetNrOfRows(), 3);
    EXPECT_EQ(Elems(d, 1), QStringList({"x", "", ""}));
    EXPECT_EQ(d.GetElem(0, 2), QStringLiteral("hidden"));
    EXPECT_EQ(d.Strings().GetRowAttrib(3), 0x40);
    TRLData empty;
    empty.SetNrRows(3);
    empty.RemoveEmptyRows();
    EXPECT_EQ(empty.GetNrOfRows(), 0);
}

TEST(RLData, CopyRowCopiesStoredTextsAndAttribute)
{
    TRLData d;
    Build(d, {"A"}, {{"a"}, {"b"}});
    d.SetCheckedCol(1, true);
    d.SetElemChecked(1, 1, true);
    d.SetElem(0, 1, QStringLiteral("zero"));
    d.Strings().SetRowAttrib(1, 0x80);
    d.CopyRow(1, 2);
    d.CopyRow(1, 3); // outside: ignored
    EXPECT_EQ(Stored(d, 1), QStringList({"Xa", "Xa"}));
    EXPECT_EQ(d.GetElem(0, 2), QStringLiteral("zero"));
    EXPECT_EQ(d.Strings().GetRowAttrib(2), 0x80);
}

TEST(RLData, FillKeepsStateCharactersAndLeavesColumnZero)
{
    TRLData d;
    Build(d, {"A", "B"}, {{"a", "b"}, {"a", ""}});
    d.SetCheckedCol(2, true);
    d.SetElemChecked(2, 1, true);
    d.Fill(QStringLiteral("f"));
    EXPECT_EQ(Stored(d, 1), QStringList({"f", "f"}));
    EXPECT_EQ(Stored(d, 2), QStringList({"Xf", " f"}));
    EXPECT_EQ(d.GetElem(0, 1), QString());
}

TEST(RLData, ClearKeepsSizesAndResetsColumns)
{
    TRLData d;
    Build(d, {"A", "B"}, {{"a", "b"}});
    d.SetColumnFormat(1, QStringLiteral("[i]"));
    d.SetCheckedCol(2, true);
    d.SetComment(QStringLiteral("c"));
    d.Clear();
    EXPECT_EQ(d.GetNrOfRows(), 1);
    EXPECT_EQ(d.GetNrOfColumns(), 2);
    EXPECT_EQ(d.GetColName(1), QStringLiteral("C-1"));
    EXPECT_EQ(d.GetColName(2), QStringLiteral("C-2"));
    EXPECT_EQ(d.GetColumnFormat(1), QString());
    EXPECT_EQ(d.GetColCheckMode(2), TRLData::cmNone);
    EXPECT_EQ(d.GetElem(1, 1), QString());
    EXPECT_EQ(d.GetComment(), QStringLiteral("c"));
}

TEST(RLData, SortRecordsItsStateAndUnsortRestoresEntryOrder)
{
    TRLData d;
    Build(d, {"A", "B"}, {{"b", "1"}, {"a", "2"}, {"b", "0"}});
    QStringList seen;
    d.OnBeforeSortExchange = [&](QObject *sender, const QString &text, QString &) {
        EXPECT_EQ(sender, &d);
        seen << text;
    };
    d.Sort(1, 2, false);
    EXPECT_EQ(Elems(d, 2), QStringList({"1", "0", "2"}));
    EXPECT_EQ(d.GetLastSortColumn(), 1);
    EXPECT_EQ(d.GetSortColumnSec(), 2);
    EXPECT_FALSE(d.GetLastSortOrder());
    EXPECT_EQ(seen.size(), 6);
    d.UnSort();
    EXPECT_EQ(Elems(d, 2), QStringList({"1", "2", "0"}));
    EXPECT_EQ(d.GetLastSortColumn(), -1);
    EXPECT_EQ(d.GetSortColumnSec(), -1);
    EXPECT_FALSE(d.GetLastSortOrder()); // the order flag stays
}

TEST(RLData, AssignCopiesEverythingAndKeepsAttributesWithTheirRowsOfASortedSource)
{
    TRLData source;
    Build(source, {"Name", "Tick"}, {{"c", "x"}, {"a", "y"}, {"b", "z"}});
    source.SetCheckedCol(2, true);
    source.SetElemChecked(2, 1, true);
    source.SetColumnFormat(1, QStringLiteral("[s]"));
    source.SetComment(QStringLiteral("comment"));
    source.SetDataID(QStringLiteral("id"));
    source.SetCommonHeader(QStringLiteral("head"));
    source.Strings().SetRowAttrib(1, 0x80); // row "c"
    source.Strings().SetAllocRowsBy(25);
    source.Sort(1, -1, true); // a b c
    TRLData target;
    target.Assign(&source);
    EXPECT_EQ(Elems(target, 1), QStringList({"a", "b", "c"}));
    for (int row = 1; row <= 3; ++row)
        EXPECT_EQ(target.Strings().GetRowAttrib(row), source.Strings().GetRowAttrib(row)) << row;
    EXPECT_EQ(target.Strings().GetRowAttrib(3), 0x80);
    EXPECT_EQ(target.GetColName(2), QStringLiteral("Tick"));
    EXPECT_EQ(target.GetColumnFormat(1), QStringLiteral("[s]"));
    EXPECT_TRUE(target.GetElemChecked(2, 3));
    EXPECT_EQ(target.GetComment(), QStringLiteral("comment"));
    EXPECT_EQ(target.GetDataID(), QStringLiteral("id"));
    EXPECT_EQ(target.GetCommonHeader(), QStringLiteral("head"));
    EXPECT_EQ(target.GetLastSortColumn(), 1);
    EXPECT_EQ(target.Strings().AllocRowsBy(), 25);
    target.UnSort();
    EXPECT_EQ(Elems(target, 1), QStringList({"c", "a", "b"}));
    EXPECT_EQ(target.Strings().GetRowAttrib(1), 0x80);
}

TEST(RLData, AssignToItselfKeepsItsData)
{
    TRLData d;
    Build(d, {"A"}, {{"a"}, {"b"}});
    d.Assign(&d);
    EXPECT_EQ(Elems(d, 1), QStringList({"a", "b"}));
    d.AssignTo(&d);
    EXPECT_EQ(d.GetNrOfRows(), 2);
}

TEST(RLData, AssignKeepsTheMatrixNotificationsAttached)
{
    TRLData source, target;
    Build(source, {"A"}, {{"a"}});
    int changes = 0;
    target.Strings().OnChange = [&](QObject *) { ++changes; };
    target.Assign(&source);
    const int afterAssign = changes;
    EXPECT_GE(afterAssign, 1);
    target.SetElem(1, 1, QStringLiteral("later"));
    EXPECT_EQ(changes, afterAssign + 1);
}

TEST(RLData, BulkEditsReachTheMatrixListenersOnceWithTheirRange)
{
    const struct
    {
        const char *edit;
        std::function<void(TRLData &)> make;
        QStringList expected;
    } cases[] = {
        {"fill", [](TRLData &d) { d.Fill(QStringLiteral("x")); }, {"1,1 3,3"}},
        {"check all", [](TRLData &d) { d.SetAllCheckmarksOfCol(2, true); }, {"2,1 2,3"}},
        {"invert", [](TRLData &d) { d.InvertAllCheckmarksOfCol(2); }, {"2,1 2,3"}},
        {"radio mark", [](TRLData &d) { d.SetElemChecked(3, 2, true); }, {"3,1 3,3"}},
        {"copy a row", [](TRLData &d) { d.CopyRow(1, 3); }, {"0,3 3,3"}},
        {"check mode", [](TRLData &d) { d.SetColCheckMode(1, TRLData::cmBox); }, {}},
    };
    for (const auto &c : cases) {
        TRLData d;
        Build(d, {"A", "B", "C"}, {{"a", "b", "c"}, {"d", "e", "f"}, {"g", "h", "i"}});
        d.SetColCheckMode(2, TRLData::cmBox);
        d.SetColCheckMode(3, TRLData::cmRadio);
        d.Strings().SetString(0, 1, QStringLiteral("hidden"));
        QStringList ranges;
        QObject::connect(&d.Strings(), &TStringArray::CellsChanged, [&ranges](int c1, int r1, int c2, int r2) {
            ranges << QStringLiteral("%1,%2 %3,%4").arg(c1).arg(r1).arg(c2).arg(r2);
        });
        c.make(d);
        EXPECT_EQ(ranges.join(QLatin1Char('|')).toStdString(), c.expected.join(QLatin1Char('|')).toStdString()) << c.edit;
    }
}

TEST(RLData, TheStoreHearsSortKeysThroughTheMatrixBesideOtherListeners)
{
    TRLData d;
    Build(d, {"A"}, {{"b"}, {"a"}});
    QStringList byStore, byView;
    d.OnBeforeSortExchange = [&](QObject *, const QString &text, QString &) { byStore << text; };
    QObject::connect(&d.Strings(), &TStringArray::BeforeSortExchange,
                     [&](const QString &text, QString &) { byView << text; });
    d.Sort(1, -1, true);
    EXPECT_EQ(byStore, QStringList({"b", "a"}));
    EXPECT_EQ(byView, byStore);
}

TEST(RLData, AssignTellsTheMatrixListenersOfTheNewSizeAndCellsOnce)
{
    TRLData source, target;
    Build(source, {"A", "B"}, {{"a", "b"}, {"c", "d"}});
    Build(target, {"A"}, {{"x"}});
    QStringList heard;
    QObject::connect(&target.Strings(), &TStringArray::SizeChanged, [&](int oc, int orows, int nc, int nr) {
        heard << QStringLiteral("size %1x%2 %3x%4").arg(oc).arg(orows).arg(nc).arg(nr);
        EXPECT_EQ(target.GetNrOfColumns(), 2); // the store is complete when its matrix speaks
    });
    QObject::connect(&target.Strings(), &TStringArray::CellsChanged,
                     [&](int c1, int r1, int c2, int r2) { heard << QStringLiteral("cells %1,%2 %3,%4").arg(c1).arg(r1).arg(c2).arg(r2); });
    target.Assign(&source);
    EXPECT_EQ(heard, QStringList({"size 1x1 2x2", "cells 0,1 2,2"}));
}

TEST(RLData, AssignFromAnotherClassFailsAndChangesNothing)
{
    TRLData d;
    Build(d, {"A"}, {{"a"}});
    QObject other;
    EXPECT_THROW(d.Assign(&other), EConvertError);
    EXPECT_THROW(d.AssignTo(&other), EConvertError);
    EXPECT_EQ(d.GetElem(1, 1), QStringLiteral("a"));
}

} // namespace
