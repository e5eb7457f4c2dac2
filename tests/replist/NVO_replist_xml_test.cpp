#include "NVO_replist.h"

#include "HostileStore.h"
#include "TempDir.h"

#include <QtCore/QBuffer>
#include <QtCore/QFile>
#include <QtCore/QRandomGenerator>
#include <QtCore/QTextStream>
#include <gtest/gtest.h>

namespace {

using namespace nvo;

QString Fixture(const char *name)
{
    return QStringLiteral(NVO_TEST_DATA "/") + QLatin1String(name);
}

/// Every cell (stored, column 0 included), name, format, mode and text of a store.
QStringList Snapshot(const TRLData &d)
{
    QStringList all = {QString::number(d.GetNrOfColumns()), QString::number(d.GetNrOfRows()),
                       d.GetComment(), d.GetCommonHeader()};
    for (int col = 1; col <= d.GetNrOfColumns(); ++col)
        all << d.GetColName(col) << d.GetColumnFormat(col) << QString::number(d.GetColCheckMode(col));
    for (int row = 1; row <= d.GetNrOfRows(); ++row)
        for (int col = 0; col <= d.GetNrOfColumns(); ++col)
            all << d.Strings().GetString(col, row);
    return all;
}

QByteArray Written(const TRLData &d, bool header, const QString &id)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    d.WriteToXMLStream(buffer, header, id);
    return bytes;
}

TEST(RLDataXml, RoundTripLosesNothingOfTheHostileStore)
{
    TRLData source;
    test::BuildHostileStore(source);
    const QByteArray xml = Written(source, true, QStringLiteral("hostile"));
    // Well-formed and line-oriented: one element per line, no raw control characters.
    for (char c : xml)
        EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 || c == '\n') << int(c);
    // Every line closes an element but the declaration and the root start line.
    EXPECT_EQ(xml.count('\n'), xml.count("</") + 2);
    TRLData target;
    ASSERT_TRUE(target.ReadFromXMLString(QString::fromUtf8(xml), QStringLiteral("HOSTILE")));
    EXPECT_EQ(Snapshot(target), Snapshot(source));
    EXPECT_EQ(target.GetDataID(), QStringLiteral("hostile"));
}

TEST(RLDataXml, ASortedStoreIsWrittenInDisplayOrder)
{
    TRLData source;
    source.SetNrRows(3);
    for (int row = 1; row <= 3; ++row)
        source.SetElem(1, row, QString(QChar(u'd' - row)));
    source.Sort(1, -1, true);
    TRLData target;
    ASSERT_TRUE(target.ReadFromXMLString(QString::fromUtf8(Written(source, false, {})), {}));
    EXPECT_EQ(target.GetElem(1, 1), QStringLiteral("a"));
    EXPECT_EQ(target.GetElem(1, 3), QStringLiteral("c"));
    EXPECT_EQ(target.GetLastSortColumn(), -1);
}

TEST(RLDataXml, CheckIfValidReplistFollowsTheLineRule)
{
    const struct
    {
        const char *fixture, *id;
        bool expected;
    } cases[] = {
        {"replist_uppercase_root.xml", "sales", true}, {"replist_uppercase_root.xml", "SALES", true},
        {"replist_uppercase_root.xml", "", true},      {"replist_uppercase_root.xml", "sale", false},
        {"replist_two_lists.xml", "b", true},          {"replist_two_lists.xml", "c", false},
        {"empty.txt", "", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CheckIfValidReplist(Fixture(c.fixture), QString::fromLatin1(c.id)), c.expected)
            << c.fixture << " / " << c.id;
    EXPECT_THROW(CheckIfValidReplist(Fixture("no such file.xml"), QString()), ENVOError);
}

TEST(RLDataXml, LinesWithoutProductWordOrIdQualifyAsTheRuleSays)
{
    const struct
    {
        const char *text, *id;
        bool expected;
    } cases[] = {
        {"<replist id=\"x\">\n", "x", false},
        {"<replist product=\"zandrovex\">\n", "", true},
        {"<replist product=\"zandrovex\">\n", "x", false},
        {"junk\n<Replist zandrovex id=\"  Mixed Case \">\n", "mixed case", true},
    };
    for (const auto &c : cases) {
        QByteArray bytes(c.text);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        EXPECT_EQ(CheckIfValidReplist(buffer, QString::fromLatin1(c.id)), c.expected) << c.text;
    }
}

TEST(RLDataXml, TheStreamCheckLeavesThePositionAfterTheQualifyingLine)
{
    QFile file(Fixture("replist_two_lists.xml"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    ASSERT_TRUE(CheckIfValidReplist(file, QStringLiteral("b")));
    EXPECT_EQ(file.readLine(), QByteArray("<numcols>2</numcols>\n"));
}

TEST(RLDataXml, ReadersPickTheListByIdentifier)
{
    TRLData d;
    ASSERT_TRUE(d.LoadFromXMLFile(Fixture("replist_two_lists.xml"), QStringLiteral("b")));
    EXPECT_EQ(d.GetNrOfColumns(), 2);
    EXPECT_EQ(d.GetElem(1, 1), QStringLiteral("from b"));
    EXPECT_EQ(d.GetColName(2), QStringLiteral("Right"));
    ASSERT_TRUE(d.LoadFromXMLFile(Fixture("replist_uppercase_root.xml"), QStringLiteral("sales")));
    EXPECT_EQ(d.GetElem(1, 1), QStringLiteral("North"));
    EXPECT_EQ(d.GetDataID(), QStringLiteral("Sales"));
}

TEST(RLDataXml, AnOpenFileReadsOneListAfterTheOther)
{
    test::TempDir dir;
    TRLData first, second;
    first.SetNrRows(1);
    first.SetElem(1, 1, QStringLiteral("one"));
    second.SetNrRows(1);
    second.SetElem(1, 1, QStringLiteral("two"));
    QFile out(dir.Path(QStringLiteral("lists.xml")));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    {
        QTextStream stream(&out);
        first.WriteToOpenXMLFile(stream, true, QStringLiteral("same"));
        second.WriteToOpenXMLFile(stream, false, QStringLiteral("same"));
    }
    out.close();
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    QTextStream in(&out);
    TRLData d;
    ASSERT_TRUE(d.ReadFromOpenXMLFile(in, QStringLiteral("same")));
    EXPECT_EQ(d.GetElem(1, 1), QStringLiteral("one"));
    ASSERT_TRUE(d.ReadFromOpenXMLFile(in, QStringLiteral("same")));
    EXPECT_EQ(d.GetElem(1, 1), QStringLiteral("two"));
    EXPECT_FALSE(d.ReadFromOpenXMLFile(in, QStringLiteral("same")));
    EXPECT_EQ(d.GetElem(1, 1), QStringLiteral("two"));
}

TEST(RLDataXml, AFailedReadLeavesTheStoreAsItWas)
{
    const struct
    {
        const char *what;
        QString text;
    } cases[] = {
        {"truncated fixture", [] {
             QFile f(Fixture("replist_truncated.xml"));
             f.open(QIODevice::ReadOnly);
             return QString::fromUtf8(f.readAll());
         }()},
        {"huge numrows fixture", [] {
             QFile f(Fixture("replist_huge_numrows.xml"));
             f.open(QIODevice::ReadOnly);
             return QString::fromUtf8(f.readAll());
         }()},
        {"no list", QStringLiteral("<other/>")},
        {"other id", QStringLiteral("<replist zandrovex id=\"other\"><numcols>1</numcols><numrows>0</numrows>"
                                    "<colname col=\"1\">x</colname></replist>")},
        {"numcols beyond names", QStringLiteral("<replist zandrovex id=\"\">\n<numcols>99999</numcols>\n"
                                                "<numrows>0</numrows>\n</replist>")},
        {"cell beyond numrows", QStringLiteral("<replist zandrovex>\n<numcols>1</numcols><numrows>1</numrows>"
                                               "<colname col=\"1\">a</colname><cell col=\"1\" row=\"1\">a</cell>"
                                               "<cell col=\"1\" row=\"2\">b</cell></replist>")},
        {"bad entity", QStringLiteral("<replist zandrovex>\n<numcols>1</numcols><numrows>1</numrows>"
                                      "<colname col=\"1\">a</colname><cell col=\"1\" row=\"1\">&bogus;</cell>"
                                      "</replist>")},
        {"nested", QStringLiteral("<replist zandrovex>\n<numcols>1</numcols><numrows>1</numrows>"
                                  "<colname col=\"1\">a<b/></colname></replist>")},
        {"rows claimed far beyond the text", QStringLiteral("<replist zandrovex>\n<numcols>1</numcols>"
                                                            "<numrows>70000</numrows></replist>")},
        {"no numrows", QStringLiteral("<replist zandrovex>\n<numcols>1</numcols></replist>")},
        {"size restated after cells", QStringLiteral("<replist zandrovex>\n<numcols>1</numcols><numrows>1</numrows>"
                                                     "<colname col=\"1\">a</colname><cell col=\"1\" row=\"1\">a</cell>"
                                                     "<numrows>2</numrows><cell col=\"1\" row=\"2\">b</cell></replist>")},
        {"cell before sizes, beyond them", QStringLiteral("<replist zandrovex>\n<cell col=\"2\" row=\"1\">a</cell>"
                                                          "<numcols>1</numcols><numrows>1</numrows>"
                                                          "<colname col=\"1\">a</colname></replist>")},
        {"bad mode", QStringLiteral("<replist zandrovex>\n<numcols>1</numcols><numrows>0</numrows>"
                                    "<colname col=\"1\">a</colname><checkedcolumn col=\"1\">7</checkedcolumn>"
                                    "</replist>")},
    };
    for (const auto &c : cases) {
        TRLData d;
        test::BuildHostileStore(d);
        const QStringList before = Snapshot(d);
        EXPECT_FALSE(d.ReadFromXMLString(c.text, c.what == std::string("other id") ? QStringLiteral("mine") : QString()))
            << c.what;
        EXPECT_EQ(Snapshot(d), before) << c.what;
    }
}

TEST(RLDataXml, ForeignButValidListsAreRead)
{
    // Single quotes, self-closing cells, comments, character references, unknown tags.
    const QString text = QStringLiteral(
        "<replist product='zandrovex' id=\"f\"><!-- written by hand -->\n"
        "<numcols> 2 </numcols><numrows>2</numrows><future>ignored</future>\n"
        "<colname col='1'>A&#x26;B</colname><colname col='2'/>\n"
        "<cell col='1' row='1'>&#228;&#10;x</cell><cell col='2' row='2'/>\n"
        "</replist>");
    TRLData d;
    ASSERT_TRUE(d.ReadFromXMLString(text, QStringLiteral("F")));
    EXPECT_EQ(d.GetColName(1), QStringLiteral("A&B"));
    EXPECT_EQ(d.GetColName(2), QString());
    EXPECT_EQ(d.GetElem(1, 1), QString::fromUtf8("ä\nx"));
    EXPECT_EQ(d.GetNrOfRows(), 2);
    // Cells may also come before the sizes and names they belong to.
    ASSERT_TRUE(d.ReadFromXMLString(QStringLiteral("<replist zandrovex>\n<cell col='2' row='1'>late</cell>\n"
                                                   "<numrows>1</numrows><numcols>2</numcols>\n"
                                                   "<colname col='1'>A</colname><colname col='2'>B</colname>\n"
                                                   "</replist>"),
                                    QString()));
    EXPECT_EQ(d.GetElem(2, 1), QStringLiteral("late"));
    EXPECT_EQ(d.GetNrOfColumns(), 2);
}

TEST(RLDataXml, LeftOutNamesAndCellsReadAsEmpty)
{
    const struct
    {
        const char *what;
        QString text;
        int cols, rows;
        QStringList cells; // row by row, columns 1.. cols
        QStringList names;
    } cases[] = {
        {"rows claimed without cells",
         QStringLiteral("<replist zandrovex>\n<numcols>1</numcols><numrows>3</numrows><colname col=\"1\">a</colname>"
                        "<cell col=\"1\" row=\"1\">a</cell><cell col=\"1\" row=\"2\">b</cell></replist>"),
         1, 3, {"a", "b", ""}, {"a"}},
        {"no names at all",
         QStringLiteral("<replist zandrovex>\n<numcols>2</numcols><numrows>1</numrows>"
                        "<cell col=\"2\" row=\"1\">x</cell></replist>"),
         2, 1, {"", "x"}, {"", ""}},
        {"one name left out",
         QStringLiteral("<replist zandrovex>\n<numcols>2</numcols><numrows>0</numrows>"
                        "<colname col=\"2\">B</colname></replist>"),
         2, 0, {}, {"", "B"}},
        {"thousands of empty rows in a short text",
         QStringLiteral("<replist zandrovex>\n<numcols>1</numcols><numrows>5000</numrows></replist>"), 1, 5000, {}, {""}},
    };
    for (const auto &c : cases) {
        TRLData d;
        test::BuildHostileStore(d);
        ASSERT_TRUE(d.ReadFromXMLString(c.text, QString())) << c.what;
        ASSERT_EQ(d.GetNrOfColumns(), c.cols) << c.what;
        ASSERT_EQ(d.GetNrOfRows(), c.rows) << c.what;
        for (int col = 1; col <= c.cols; ++col)
            EXPECT_EQ(d.GetColName(col), c.names[col - 1]) << c.what;
        for (int row = 1; row <= c.rows; ++row)
            for (int col = 1; col <= c.cols; ++col)
                EXPECT_EQ(d.GetElem(col, row), c.cells.value((row - 1) * c.cols + col - 1)) << c.what;
    }
}

TEST(RLDataXml, EveryWrittenListReadsBackCellForCell)
{
    // Random stores of hostile texts, empty cells, rows and names included, in every
    // shape the writer can give them.
    const QStringList texts = test::HostileTexts() << QString();
    QRandomGenerator random(20261210);
    const auto pick = [&] { return texts[int(random.bounded(int(texts.size())))]; };
    for (int round = 0; round < 200; ++round) {
        TRLData source;
        source.SetNrCols(1 + int(random.bounded(4)));
        source.SetNrRows(int(random.bounded(5)));
        for (int col = 1; col <= source.GetNrOfColumns(); ++col) {
            source.SetColName(col, pick().left(TRLData::NameMax));
            source.SetColumnFormat(col, pick().left(TRLData::FormatMax));
            source.SetColCheckMode(col, TRLData::TCheckMode(random.bounded(TRLData::cmRadio + 1)));
        }
        for (int row = 1; row <= source.GetNrOfRows(); ++row)
            for (int col = 0; col <= source.GetNrOfColumns(); ++col)
                source.SetElem(col, row, pick());
        source.SetComment(pick());
        source.SetCommonHeader(pick());
        TRLData target;
        ASSERT_TRUE(target.ReadFromXMLString(QString::fromUtf8(Written(source, random.bounded(2) == 1, {})), {}))
            << "round " << round;
        EXPECT_EQ(Snapshot(target), Snapshot(source)) << "round " << round;
    }
}

TEST(RLDataXml, SaveWritesAtomicallyAndReportsFailure)
{
    test::TempDir dir;
    TRLData d;
    d.SetNrRows(1);
    d.SetElem(1, 1, QStringLiteral("saved"));
    const QString path = dir.Path(QStringLiteral("list.xml"));
    d.SaveAsXMLFile(path, QStringLiteral("id"));
    EXPECT_TRUE(CheckIfValidReplist(path, QStringLiteral("id")));
    TRLData back;
    ASSERT_TRUE(back.LoadFromXMLFile(path, QStringLiteral("id")));
    EXPECT_EQ(back.GetElem(1, 1), QStringLiteral("saved"));
    EXPECT_THROW(d.SaveAsXMLFile(dir.Path(QStringLiteral("no/such/dir/list.xml")), QString()), ENVORLDataError);
    EXPECT_FALSE(back.LoadFromXMLFile(dir.Path(QStringLiteral("missing.xml")), QString()));
}

TEST(RLDataXml, TagNamesFormTheirTable)
{
    EXPECT_EQ(RepListXmlTagName(xmlNumCols), QStringLiteral("numcols"));
    EXPECT_EQ(RepListXmlTagName(xmlEndReplist), QStringLiteral("/replist"));
    EXPECT_EQ(RepListXmlTagName(xmlInvalid), QStringLiteral("invalidtag"));
    EXPECT_EQ(RepListXmlTagOf(u"COLUMNFORMAT"), xmlColumnFormat);
    EXPECT_EQ(RepListXmlTagOf(u"row"), xmlInvalid);
}

} // namespace
