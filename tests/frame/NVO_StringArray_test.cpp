#include "EventRecorder.h"
#include "NVO_StringArray.h"
#include "RangeListeners.h"

#include <QtCore/QSignalBlocker>
#include <QtCore/QStringList>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace nvo;

/// A one-column matrix (column 1) holding `cells` in rows 1..n.
void FillColumn(TStringArray &a, int col, const QStringList &cells)
{
    if (a.NrOfRows() < cells.size() || a.NrOfColumns() < col)
        a.Resize(std::max(a.NrOfColumns(), col), std::max(a.NrOfRows(), int(cells.size())));
    for (int row = 1; row <= cells.size(); ++row)
        a.SetString(col, row, cells[row - 1]);
}

QStringList Column(const TStringArray &a, int col)
{
    QStringList cells;
    for (int row = 1; row <= a.NrOfRows(); ++row)
        cells << a.GetString(col, row);
    return cells;
}

/// One key as the sort's rules define it, compared whole: class (empty, number, text),
/// then the number, or the case-folded text and the exact text as tie-break.
struct PlainKey
{
    int kind = 0;
    double number = 0;
    std::string folded, exact;
};

PlainKey PlainKeyOf(const QString &text)
{
    PlainKey key;
    if (text.isEmpty())
        return key;
    if (ReadCellNumber(text, key.number)) {
        key.kind = 1;
        return key;
    }
    key.kind = 2;
    key.folded = text.toCaseFolded().toStdString();
    key.exact = text.toStdString();
    return key;
}

int ComparePlainKeys(const PlainKey &a, const PlainKey &b)
{
    if (a.kind != b.kind)
        return a.kind < b.kind ? -1 : 1;
    if (a.number != b.number)
        return a.number < b.number ? -1 : 1;
    if (const int folded = a.folded.compare(b.folded))
        return folded < 0 ? -1 : 1;
    if (const int exact = a.exact.compare(b.exact))
        return exact < 0 ? -1 : 1;
    return 0;
}

/// A random cell text from a mix that meets every rule of the sort: ties, empty texts,
/// numbers in several spellings, texts a number reader might take for a number,
/// non-ASCII texts with case, texts sharing their first eight bytes, and a NUL.
QString RandomSortText(std::mt19937 &random)
{
    static const QStringList fixed = {
        "", "0", "-0", "+0", "0.0", "10", "9", "1e1", "3,5", " 7 ", "-2.5", "1e-300",
        "nan", "NaN", "-nan", "inf", "-Inf", "infinity", "1e999", "0x10", "1.2.3", "e5", "1a",
        QString::fromUtf8("äpfel"), QString::fromUtf8("ÄPFEL"), "Apfel", QString::fromUtf8("straße"),
        "STRASSE", QString::fromUtf8("Ωmega"), QString::fromUtf8("ωMEGA"), QString::fromUtf8("日本"),
        QString::fromUtf8("\xF0\x9F\x98\x80"), "abcdefgh", "ABCDEFGH", "abcdefghA", "abcdefgha",
        QString::fromUtf8("ab\0c", 4), QString::fromUtf8("ab\0", 3), "ab",
        // Long common starts, told apart beyond the first eight bytes.
        "Customer 00017", "customer 00017", "CUSTOMER 0001", "Customer 000170",
        QString::fromUtf8("Customer 00017\0", 15), QString::fromUtf8("Customer \xC3\x84pfel"),
        QString::fromUtf8("CUSTOMER \xC3\xA4PFEL")};
    if (random() % 2)
        return fixed[int(random() % fixed.size())];
    static const char letters[] = "aAbB";
    QString word(int(random() % 27), QLatin1Char(' '));
    for (QChar &ch : word)
        ch = QLatin1Char(letters[random() % 4]);
    return word;
}

TEST(StringArray, CellsAreAddressedFromColumnZeroAndRowOneAndIgnoreOtherIndices)
{
    TStringArray a;
    a.Resize(2, 3);
    a.SetString(0, 1, QStringLiteral("hidden"));
    a.SetString(2, 3, QStringLiteral("corner"));
    for (const auto &[col, row] : {std::pair{-1, 1}, {3, 1}, {1, 0}, {1, 4}})
        a.SetString(col, row, QStringLiteral("x"));
    EXPECT_EQ(a.GetString(0, 1), QStringLiteral("hidden"));
    EXPECT_EQ(a.GetString(2, 3), QStringLiteral("corner"));
    EXPECT_EQ(a.GetString(3, 1), QString());
    EXPECT_EQ(a.GetString(1, 0), QString());
    EXPECT_EQ(a.GetString(1, 4), QString());
}

TEST(StringArray, TextsOfEveryKindAndLengthComeBackExactly)
{
    const QString surrogatePair = QString::fromUtf8("\xF0\x9F\x98\x80");
    const QStringList texts = {QString(), QStringLiteral("a"), QStringLiteral("exactly15chars!"),
                               QStringLiteral("sixteen chars!!!"), QString::fromUtf8("Ärger über Öl"),
                               QString(255, QLatin1Char('w')), QString(255, QChar(0x4E2D)),
                               surrogatePair + QStringLiteral("<&\"\n\t")};
    TStringArray a;
    FillColumn(a, 1, texts);
    EXPECT_EQ(Column(a, 1), texts);
    for (int row = 1; row <= texts.size(); ++row) {
        EXPECT_EQ(a.GetLength(1, row), texts[row - 1].size()) << row;
        EXPECT_EQ(a.IsEmpty(1, row), texts[row - 1].isEmpty()) << row;
    }
}

TEST(StringArray, LongTextsAreCutTo255CharactersWithoutSplittingACharacter)
{
    const QString pair = QString::fromUtf8("\xF0\x9F\x98\x80");
    const struct
    {
        QString in;
        int expectedLength;
    } cases[] = {
        {QString(300, QLatin1Char('x')), 255},
        {QString(254, QLatin1Char('x')) + pair, 254}, // the pair would straddle 255
        {QString(253, QLatin1Char('x')) + pair, 255},
    };
    TStringArray a;
    a.Resize(1, 1);
    for (const auto &c : cases) {
        a.SetString(1, 1, c.in);
        EXPECT_EQ(a.GetString(1, 1), c.in.left(c.expectedLength));
    }
}

TEST(StringArray, ResizeKeepsTheCellsInsideAndClearsWhatComesBack)
{
    TStringArray a;
    a.Resize(3, 3);
    a.SetString(3, 3, QStringLiteral("gone"));
    a.SetString(1, 1, QStringLiteral("kept"));
    a.SetColAttrib(1, 0x80);
    a.Resize(2, 2);
    a.Resize(3, 3);
    EXPECT_EQ(a.GetString(1, 1), QStringLiteral("kept"));
    EXPECT_EQ(a.GetString(3, 3), QString());
    EXPECT_EQ(a.GetColAttrib(1), 0x80);
}

TEST(StringArray, AFailedResizeKeepsTheOldSizeAndCells)
{
    TStringArray a;
    a.Resize(2, 2);
    a.SetString(1, 1, QStringLiteral("kept"));
    for (const auto &[cols, rows] : {std::pair{-1, 2}, {2, -1}, {1 << 24, 2}}) {
        EXPECT_THROW(a.Resize(cols, rows), ENVODStructError) << cols << " x " << rows;
        EXPECT_EQ(a.NrOfColumns(), 2);
        EXPECT_EQ(a.NrOfRows(), 2);
        EXPECT_EQ(a.GetString(1, 1), QStringLiteral("kept"));
    }
}

TEST(StringArray, SortOrdersNumbersAsNumbersAndTextsCaseInsensitivelyWithCaseAsTieBreak)
{
    const struct
    {
        QStringList cells;
        bool ascending;
        QStringList expected;
    } cases[] = {
        {{"10", "9", "-2.5", "1e1", "3,5"}, true, {"-2.5", "3,5", "9", "10", "1e1"}},
        {{"b", "A", "a", "B", "ä"}, true, {"A", "a", "B", "b", "ä"}},
        {{"x", "2", "", "1", "Y"}, true, {"", "1", "2", "x", "Y"}},
        {{"x", "2", "", "1", "Y"}, false, {"Y", "x", "2", "1", ""}},
        // the three keys that make a plain "number if both are numbers" rule circular
        {{"10", "9", "1a"}, true, {"9", "10", "1a"}},
        {{"inf", "nan", "0x10", "1"}, true, {"1", "0x10", "inf", "nan"}},
        // keys that agree in their first eight folded bytes and differ after them or in case
        {{"abcdefgha", "abcdefgh", "abcdefghA", "ABCDEFGH", "abcdefg"}, true,
         {"abcdefg", "ABCDEFGH", "abcdefgh", "abcdefghA", "abcdefgha"}},
        // a NUL inside a key is not the end of a shorter key
        {{QString::fromUtf8("ab\0c", 4), QString::fromUtf8("ab\0", 3), "ab"}, true,
         {"ab", QString::fromUtf8("ab\0", 3), QString::fromUtf8("ab\0c", 4)}},
        // zeros of every spelling are one number: entry order in both directions
        {{"0", "-0", "+0", "0.0"}, true, {"0", "-0", "+0", "0.0"}},
        {{"0", "-0", "+0", "0.0"}, false, {"0", "-0", "+0", "0.0"}},
        {{QString::fromUtf8("äpfel"), QString::fromUtf8("ÄPFEL"), "Apfel", QString::fromUtf8("äpfelx")}, true,
         {"Apfel", QString::fromUtf8("ÄPFEL"), QString::fromUtf8("äpfel"), QString::fromUtf8("äpfelx")}},
        {{QString::fromUtf8("äpfel"), QString::fromUtf8("ÄPFEL"), "Apfel", QString::fromUtf8("äpfelx")}, false,
         {QString::fromUtf8("äpfelx"), QString::fromUtf8("äpfel"), QString::fromUtf8("ÄPFEL"), "Apfel"}},
    };
    for (const auto &c : cases) {
        TStringArray a;
        FillColumn(a, 1, c.cells);
        a.Sort(1, -1, c.ascending);
        EXPECT_EQ(Column(a, 1), c.expected) << c.cells.join(QLatin1Char('|')).toStdString();
    }
}

TEST(StringArray, WholeRowsOfUtf8GoInAndComeOutAsSingleCellsWould)
{
    TStringArray a;
    a.Resize(3, 2);
    const std::string longText(300, 'x');
    // Valid, broken and over-long texts, and one more than there are columns.
    const std::vector<std::string_view> texts = {"ok", std::string_view("\xC3(", 2), longText, "left out"};
    EXPECT_EQ(a.SetRowUtf8(1, texts), 1); // the one cut
    EXPECT_EQ(a.GetString(1, 1), QStringLiteral("ok"));
    EXPECT_EQ(a.GetString(2, 1), QString(QChar(0xFFFD)) + QLatin1Char('('));
    EXPECT_EQ(a.GetString(3, 1), QString(255, QLatin1Char('x')));
    EXPECT_EQ(a.SetRowUtf8(3, texts), 0); // no such row
    // A caller that has checked its input says so; the texts are stored as they are.
    EXPECT_EQ(a.SetRowUtf8(2, {"", "", std::string_view("\xC3\xA4", 2)}, true), 0);
    EXPECT_EQ(a.GetString(3, 2), QString::fromUtf8("ä"));

    std::vector<std::string_view> row;
    a.GetRowUtf8(1, row);
    ASSERT_EQ(row.size(), 4u); // columns 0 to 3
    EXPECT_EQ(row[0], "");
    EXPECT_EQ(row[1], "ok");
    EXPECT_EQ(row[2], "\xEF\xBF\xBD(");
    a.GetRowUtf8(0, row);
    EXPECT_TRUE(row.empty());
}

TEST(StringArray, SortIsStableInBothDirectionsAndUsesTheSecondaryColumnForTies)
{
    TStringArray a;
    FillColumn(a, 1, {"k", "j", "k", "j"});
    FillColumn(a, 2, {"1", "2", "3", "4"});
    a.Sort(1, -1, true);
    EXPECT_EQ(Column(a, 2), QStringList({"2", "4", "1", "3"}));
    a.Sort(1, -1, false);
    EXPECT_EQ(Column(a, 2), QStringList({"1", "3", "2", "4"}));
    a.Sort(1, 2, false);
    EXPECT_EQ(Column(a, 2), QStringList({"3", "1", "4", "2"}));
}

TEST(StringArray, SortOrdersRandomKeysAsComparingTheWholeKeysDoes)
{
    const struct
    {
        int rows;
        int primaryKinds; // distinct primary texts: few make long runs of ties
        int secondary;
        bool ascending;
    } cases[] = {
        {3000, 6, 2, true}, {3000, 6, 2, false}, {3000, 3000, 2, true},
        {3000, 3000, -1, false}, {40, 5, 2, true}, {40, 5, 2, false},
    };
    std::mt19937 random(7);
    for (const auto &c : cases) {
        QStringList primaries;
        for (int i = 0; i < c.primaryKinds; ++i)
            primaries << RandomSortText(random);
        QStringList first, second;
        for (int row = 0; row < c.rows; ++row) {
            first << primaries[int(random() % primaries.size())];
            second << RandomSortText(random);
        }
        TStringArray a;
        FillColumn(a, 1, first);
        FillColumn(a, 2, second);
        a.Sort(1, c.secondary, c.ascending);

        std::vector<int> expected(size_t(c.rows));
        std::iota(expected.begin(), expected.end(), 0);
        std::vector<PlainKey> keys;
        for (int row = 0; row < c.rows; ++row)
            keys.push_back(PlainKeyOf(first[row])), keys.push_back(PlainKeyOf(second[row]));
        std::stable_sort(expected.begin(), expected.end(), [&](int x, int y) {
            for (int k = 0; k < (c.secondary > 0 ? 2 : 1); ++k)
                if (const int order = ComparePlainKeys(keys[size_t(x) * 2 + size_t(k)], keys[size_t(y) * 2 + size_t(k)]))
                    return c.ascending ? order < 0 : order > 0;
            return false;
        });
        std::vector<int> sorted;
        for (int pos = 1; pos <= c.rows; ++pos)
            sorted.push_back(a.GetSortOrder(pos) - 1); // stored rows count from 1 here
        EXPECT_EQ(sorted, expected) << c.rows << " rows, " << c.primaryKinds << " primary texts, ascending "
                                    << c.ascending;
    }
}

TEST(StringArray, RowsKeepCellsAndAttributeBytesThroughSortUnsortCommitInsertAndRemove)
{
    TStringArray a;
    FillColumn(a, 1, {"c", "a", "b"});
    FillColumn(a, 0, {"C", "A", "B"});
    for (int row = 1; row <= 3; ++row)
        a.SetRowAttrib(row, uint8_t(row)); // c:1, a:2, b:3
    const auto expectRows = [&a](const QStringList &cells, std::vector<int> attribs) {
        EXPECT_EQ(Column(a, 1), cells);
        for (int row = 1; row <= a.NrOfRows(); ++row) {
            EXPECT_EQ(a.GetString(0, row), a.GetString(1, row).toUpper()) << row;
            EXPECT_EQ(a.GetRowAttrib(row), attribs[size_t(row - 1)]) << row;
        }
    };
    a.Sort(1, -1, true);
    expectRows({"a", "b", "c"}, {2, 3, 1});
    EXPECT_EQ(a.GetSortOrder(1), 2);
    a.UnSort();
    expectRows({"c", "a", "b"}, {1, 2, 3});
    a.Sort(1, -1, true);
    a.CommitSorting();
    a.UnSort();
    expectRows({"a", "b", "c"}, {2, 3, 1});
    a.Sort(1, -1, false); // c b a
    a.InsertRow(2);       // commits: c _ b a
    a.SetString(1, 2, QStringLiteral("n"));
    a.SetString(0, 2, QStringLiteral("N"));
    a.UnSort();
    expectRows({"c", "n", "b", "a"}, {1, 0, 3, 2});
    a.Sort(1, -1, true); // a b c n
    a.RemoveRow(2);      // commits and removes b
    a.UnSort();
    expectRows({"a", "c", "n"}, {2, 1, 0});
}

TEST(StringArray, ShrinkingASortedMatrixKeepsTheRowsThatWereShown)
{
    TStringArray a;
    FillColumn(a, 1, {"c", "a", "d", "b"});
    a.Sort(1, -1, true);
    a.Resize(1, 2);
    EXPECT_EQ(Column(a, 1), QStringList({"a", "b"}));
    a.UnSort();
    EXPECT_EQ(Column(a, 1), QStringList({"a", "b"}));
}

TEST(StringArray, RemoveRowsIfRemovesInOnePassAndKeepsAttributes)
{
    TStringArray a;
    FillColumn(a, 1, {"x", "", "y", "", "z"});
    for (int row = 1; row <= 5; ++row)
        a.SetRowAttrib(row, uint8_t(row));
    EXPECT_EQ(a.RemoveRowsIf([&a](int row) { return a.IsEmpty(1, row); }), 2);
    EXPECT_EQ(Column(a, 1), QStringList({"x", "y", "z"}));
    EXPECT_EQ(a.GetRowAttrib(2), 3);
    EXPECT_EQ(a.GetRowAttrib(3), 5);
}

TEST(StringArray, AMappingWrittenEntryByEntryNeverLosesAShownRowOnCommit)
{
    TStringArray a;
    FillColumn(a, 1, {"a", "b"});
    a.SetSortOrder(1, 2); // both positions now show "b" for a moment
    EXPECT_EQ(Column(a, 1), QStringList({"b", "b"}));
    a.CommitSorting();
    EXPECT_EQ(Column(a, 1), QStringList({"b", "b"}));
    a.SetString(1, 1, QStringLiteral("changed"));
    EXPECT_EQ(a.GetString(1, 2), QStringLiteral("b")); // a copy, not a shared row
}

TEST(StringArray, AssignCopiesCellsAttributesStepAndBothOrders)
{
    TStringArray source;
    FillColumn(source, 1, {"b", "a"});
    source.SetRowAttrib(1, 0x40); // row "b"
    source.SetAllocRowsBy(10);
    source.Sort(1, -1, true);
    TStringArray target;
    target.Assign(source);
    EXPECT_EQ(Column(target, 1), QStringList({"a", "b"}));
    EXPECT_EQ(target.GetRowAttrib(2), 0x40);
    EXPECT_EQ(target.AllocRowsBy(), 10);
    target.UnSort();
    EXPECT_EQ(Column(target, 1), QStringList({"b", "a"}));
    target.Assign(target);
    EXPECT_EQ(Column(target, 1), QStringList({"b", "a"}));
}

TEST(StringArray, ChangeProgressAndKeyNotificationsFireOnlyWhenAttached)
{
    TStringArray a;
    int changes = 0;
    int lastPercent = -1;
    a.OnChange = [&](QObject *sender) {
        EXPECT_EQ(sender, &a);
        ++changes;
    };
    a.OnPercentDone = [&](QObject *, int percent) { lastPercent = percent; };
    a.OnBeforeSortExchange = [](QObject *, const QString &text, QString &key) {
        key = text.section(QLatin1Char('.'), 2) + text.section(QLatin1Char('.'), 1, 1)
              + text.section(QLatin1Char('.'), 0, 0); // dd.mm.yyyy sorted as yyyymmdd
    };
    FillColumn(a, 1, {"01.02.2020", "31.12.2019", "15.01.2020"});
    const int afterFill = changes;
    EXPECT_GT(afterFill, 0);
    a.Sort(1, -1, true);
    EXPECT_EQ(Column(a, 1), QStringList({"31.12.2019", "15.01.2020", "01.02.2020"}));
    EXPECT_EQ(lastPercent, 100);
    a.OnChange = nullptr;
    a.SetString(1, 1, QStringLiteral("quiet"));
    EXPECT_EQ(changes, afterFill + 1);
}

/// Records what a matrix announces, in order: "size 2x4 3x4" (old and new columns x
/// rows), "cells 0,2 2,5" (first and last column,row) and "OnChange".
void RecordAnnouncements(TStringArray &a, test::EventRecorder &events)
{
    QObject::connect(&a, &TStringArray::SizeChanged, [&events](int oc, int orows, int nc, int nr) {
        events.Record(QStringLiteral("size %1x%2 %3x%4").arg(oc).arg(orows).arg(nc).arg(nr));
    });
    QObject::connect(&a, &TStringArray::CellsChanged, [&events](int c1, int r1, int c2, int r2) {
        events.Record(QStringLiteral("cells %1,%2 %3,%4").arg(c1).arg(r1).arg(c2).arg(r2));
    });
    a.OnChange = events.Recorder(QStringLiteral("OnChange"));
}

TEST(StringArray, EachChangeIsAnnouncedOnceWithTheSizeAndTheCellsItChanged)
{
    const struct
    {
        const char *change;
        std::function<void(TStringArray &)> make;
        QStringList expected;
    } cases[] = {
        {"a cell", [](TStringArray &a) { a.SetString(2, 3, QStringLiteral("x")); }, {"cells 2,3 2,3", "OnChange"}},
        {"a cell as UTF-8", [](TStringArray &a) { a.SetUtf8(0, 4, "y"); }, {"cells 0,4 0,4", "OnChange"}},
        {"a row as UTF-8", [](TStringArray &a) { a.SetRowUtf8(2, {"", "b"}); }, {"cells 1,2 2,2", "OnChange"}},
        {"a cell outside", [](TStringArray &a) { a.SetString(3, 1, QStringLiteral("x")); }, {}},
        {"rows appended", [](TStringArray &a) { a.Resize(2, 6); }, {"size 2x4 2x6", "OnChange"}},
        {"a column added", [](TStringArray &a) { a.Resize(3, 4); }, {"size 2x4 3x4", "OnChange"}},
        {"a row inserted", [](TStringArray &a) { a.InsertRow(2); }, {"size 2x4 2x5", "cells 0,2 2,5", "OnChange"}},
        {"a row removed", [](TStringArray &a) { a.RemoveRow(2); }, {"size 2x4 2x3", "cells 0,2 2,3", "OnChange"}},
        {"the last row removed", [](TStringArray &a) { a.RemoveRow(4); }, {"size 2x4 2x3", "OnChange"}},
        {"rows removed in one pass", [](TStringArray &a) { a.RemoveRowsIf([](int row) { return row % 2 == 1; }); },
         {"size 2x4 2x2", "cells 0,1 2,2", "OnChange"}},
        {"sorted", [](TStringArray &a) { a.Sort(1, -1, false); }, {"cells 0,1 2,4", "OnChange"}},
        {"unsorted", [](TStringArray &a) { a.UnSort(); }, {"cells 0,1 2,4", "OnChange"}},
        {"cleared", [](TStringArray &a) { a.Clear(); }, {"cells 0,1 2,4", "OnChange"}},
    };
    for (const auto &c : cases) {
        TStringArray a;
        FillColumn(a, 2, {"d", "c", "b", "a"});
        FillColumn(a, 1, {"1", "", "3", ""});
        test::EventRecorder events;
        RecordAnnouncements(a, events);
        c.make(a);
        EXPECT_EQ(events.Events().join(QLatin1Char('|')).toStdString(), c.expected.join(QLatin1Char('|')).toStdString())
            << c.change;
    }
}

TEST(StringArray, EveryConnectedListenerHearsTheSameRange)
{
    TStringArray a;
    a.Resize(3, 3);
    test::ExpectBothListenersHear(a, &TStringArray::CellsChanged, [&a] { a.SetString(3, 2, QStringLiteral("x")); },
                                  {3, 2, 3, 2});
}

TEST(StringArray, AnUpdateAnnouncesItsChangesOnceAtItsOutermostEnd)
{
    TStringArray a;
    a.Resize(3, 4);
    test::EventRecorder events;
    RecordAnnouncements(a, events);
    a.BeginUpdate();
    a.SetString(2, 2, QStringLiteral("x"));
    a.BeginUpdate();
    a.SetString(1, 3, QStringLiteral("y"));
    a.Resize(3, 5);
    a.EndUpdate();
    a.SetString(3, 1, QStringLiteral("z"));
    EXPECT_TRUE(events.Events().isEmpty());
    a.EndUpdate();
    EXPECT_EQ(events.Events(), QStringList({"size 3x4 3x5", "cells 1,1 3,3", "OnChange"}));

    events.Clear();
    a.BeginUpdate(); // an update without a change says nothing
    a.EndUpdate();
    a.BeginUpdate(); // cells changed and then removed are not named
    a.SetString(1, 5, QStringLiteral("gone"));
    a.RemoveRow(5);
    a.EndUpdate();
    EXPECT_EQ(events.Events(), QStringList({"size 3x5 3x4", "OnChange"}));
}

TEST(StringArray, ABlockedMatrixAnnouncesNothingThroughEitherPath)
{
    TStringArray a;
    a.Resize(1, 1);
    test::EventRecorder events;
    RecordAnnouncements(a, events);
    {
        const QSignalBlocker quiet(&a);
        a.SetString(1, 1, QStringLiteral("x"));
        a.Resize(2, 2);
    }
    EXPECT_TRUE(events.Events().isEmpty());
    a.SetString(1, 1, QStringLiteral("y"));
    EXPECT_EQ(events.Events(), QStringList({"cells 1,1 1,1", "OnChange"}));
}

TEST(StringArray, ASwapIsAnnouncedOnBothMatrices)
{
    TStringArray a, b;
    a.Resize(1, 2);
    b.Resize(2, 3);
    test::EventRecorder eventsA, eventsB;
    RecordAnnouncements(a, eventsA);
    RecordAnnouncements(b, eventsB);
    a.Swap(b);
    EXPECT_EQ(eventsA.Events(), QStringList({"size 1x2 2x3", "cells 0,1 2,3", "OnChange"}));
    EXPECT_EQ(eventsB.Events(), QStringList({"size 2x3 1x2", "cells 0,1 1,2", "OnChange"}));
}

TEST(StringArray, SortKeysAndProgressReachConnectedListeners)
{
    TStringArray a;
    FillColumn(a, 1, {"b", "a", "c"});
    QObject::connect(&a, &TStringArray::BeforeSortExchange, [](const QString &text, QString &key) {
        key = text == QStringLiteral("c") ? QStringLiteral("0") : text; // "c" sorts as a number, first
    });
    int lastPercent = -1;
    QObject::connect(&a, &TStringArray::PercentDone, [&](int percent) { lastPercent = percent; });
    a.Sort(1, -1, true);
    EXPECT_EQ(Column(a, 1), QStringList({"c", "a", "b"}));
    EXPECT_EQ(lastPercent, 100);
}

TEST(CellNumber, ReadsTheDecimalSyntaxWithBlanksAndCommaOnly)
{
    const struct
    {
        const char *text;
        bool ok;
        double value;
    } cases[] = {
        {" 3,5 ", true, 3.5}, {"-1e3", true, -1000}, {"+2.", true, 2}, {".5", true, 0.5},
        {"1E-2", true, 0.01}, {"", false, 0},      {"3.5x", false, 0}, {"1 000", false, 0},
        {"inf", false, 0},   {"nan", false, 0},   {"0x1A", false, 0}, {"+-1", false, 0},
        {"\t1", false, 0},   {"1e999", false, 0}, {"1,5,", false, 0},
    };
    for (const auto &c : cases) {
        double value = -7;
        EXPECT_EQ(ReadCellNumber(QString::fromLatin1(c.text), value), c.ok) << c.text;
        if (c.ok)
            EXPECT_DOUBLE_EQ(value, c.value) << c.text;
    }
}

} // namespace
