#include "NVO_replist.h"

#include "HostileStore.h"
#include "TempDir.h"

#include <QtCore/QFile>
#include <QtCore/QRandomGenerator>
#include <QtGui/QClipboard>
#include <QtGui/QGuiApplication>
#include <gtest/gtest.h>

namespace {

using namespace nvo;

QString Fixture(const char *name)
{
    return QStringLiteral(NVO_TEST_DATA "/") + QLatin1String(name);
}

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

/// Columns A and B with a1, b1 / a2, b2.
void BuildSmall(TRLData &d)
{
    d.SetNrCols(2);
    d.SetNrRows(2);
    d.SetColName(1, QStringLiteral("A"));
    d.SetColName(2, QStringLiteral("B"));
    for (int row = 1; row <= 2; ++row) {
        d.SetElem(1, row, QStringLiteral("a%1").arg(row));
        d.SetElem(2, row, QStringLiteral("b%1").arg(row));
    }
}

TEST(RLDataClipboard, SeparatorFormWritesHeaderEmptyLineAndRows)
{
    TRLData d;
    BuildSmall(d);
    EXPECT_EQ(d.ClipboardText(1, 1, 2, 2, true, QStringLiteral(";")), QStringLiteral("A;B\n\na1;b1\na2;b2\n"));
    EXPECT_EQ(d.ClipboardText(2, 2, 2, 2, false, QStringLiteral(";")), QStringLiteral("b2\n"));
    EXPECT_EQ(d.ClipboardText(2, 1, 1, 2, false, QStringLiteral(";")), QStringLiteral("\n\n")); // no columns
    d.CopyToClipBoard(1, 1, 2, 1, false, true);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("a1\tb1\n"));
    d.CopyToClipBoard(1, 1, 1, 1, false, QStringLiteral("|"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("a1\n"));
}

TEST(RLDataClipboard, AStringLiteralSeparatorIsUsedAsTheSeparator)
{
    TRLData d;
    BuildSmall(d);
    d.CopyToClipBoard(1, 1, 2, 1, false, ";");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("a1;b1\n"));
}

TEST(RLDataClipboard, FixedWidthUsesStoredLengthsPlusOne)
{
    TRLData d;
    BuildSmall(d);
    d.SetElem(1, 2, QStringLiteral("abcde"));
    d.SetCheckedCol(2, true); // " b1": 3 stored characters, 2 copied
    EXPECT_EQ(d.FixedWidthText(1, 1, 2, 2, false), QStringLiteral("a1    b1  \nabcde b2  \n"));
    EXPECT_EQ(d.FixedWidthText(1, 1, 2, 1, true), QStringLiteral("A  B   \n\na1 b1  \n"));
}

TEST(RLDataClipboard, FullLengthCellsKeepTheirColumnInFixedWidth)
{
    TRLData d;
    d.SetNrCols(2);
    d.SetNrRows(1);
    d.SetElem(1, 1, QString(255, QLatin1Char('x')));
    d.SetElem(2, 1, QStringLiteral("y"));
    // 255 + 1 characters: a one-byte width would have wrapped to 0 and dropped the column.
    EXPECT_EQ(d.FixedWidthText(1, 1, 2, 1, false), QString(255, QLatin1Char('x')) + QStringLiteral(" y \n"));
}

TEST(RLDataCsv, HostileStoreRoundTripsWithNamesAndCommonHeader)
{
    test::TempDir dir;
    TRLData source;
    test::BuildHostileStore(source);
    for (TCSVDelimiters delimiter : {cdComma, cdSemicolon, cdTab, cdSpace, cdPipe, cdColon}) {
        const QString path = dir.Path(QStringLiteral("hostile.csv"));
        ASSERT_EQ(source.ExportCSV(path, delimiter, true, true, 1, 1, 3, source.GetNrOfRows()), source.GetNrOfRows());
        TRLData target;
        ASSERT_EQ(target.ImportCSV(path, delimiter, true), 0) << int(delimiter);
        ASSERT_EQ(target.GetNrOfColumns(), 3);
        ASSERT_EQ(target.GetNrOfRows(), source.GetNrOfRows());
        EXPECT_EQ(target.GetCommonHeader(), source.GetCommonHeader());
        for (int col = 1; col <= 3; ++col) {
            EXPECT_EQ(target.GetColName(col), source.GetColName(col)) << col;
            for (int row = 1; row <= source.GetNrOfRows(); ++row)
                EXPECT_EQ(target.GetElem(col, row), source.GetElem(col, row)) << int(delimiter) << ": " << col << "," << row;
        }
    }
}

TEST(RLDataCsv, EveryExportedFileImportsBackCellForCell)
{
    // Random stores of hostile texts in every shape the marker of the common header could
    // be mistaken in: one or two columns, with and without names and common header, and
    // "#commonheader" as the first name or cell.
    const QStringList texts = test::HostileTexts();
    QRandomGenerator random(20261210);
    test::TempDir dir;
    const QString path = dir.Path(QStringLiteral("random.csv"));
    for (int round = 0; round < 200; ++round) {
        const int cols = 1 + int(random.bounded(3));
        const int rows = 1 + int(random.bounded(4));
        const bool names = random.bounded(2) == 1;
        const bool commonHeader = random.bounded(2) == 1;
        const auto pick = [&] {
            // Mostly the marker's own text, so that it often stands first.
            return random.bounded(3) == 0 ? texts[int(random.bounded(int(texts.size())))]
                                          : QStringLiteral("#commonheader");
        };
        TRLData source;
        source.SetNrCols(cols);
        source.SetNrRows(rows);
        for (int col = 1; col <= cols; ++col) {
            source.SetColName(col, pick().left(TRLData::NameMax));
            for (int row = 1; row <= rows; ++row)
                source.SetElem(col, row, pick());
        }
        source.SetCommonHeader(pick());
        const TCSVDelimiters delimiter = TCSVDelimiters(random.bounded(6));
        ASSERT_EQ(source.ExportCSV(path, delimiter, names, commonHeader, 1, 1, cols, rows), rows);
        TRLData target;
        ASSERT_EQ(target.ImportCSV(path, delimiter, names), 0);
        ASSERT_EQ(target.GetNrOfRows(), rows) << "round " << round;
        ASSERT_EQ(target.GetNrOfColumns(), cols) << "round " << round;
        if (commonHeader)
            EXPECT_EQ(target.GetCommonHeader(), source.GetCommonHeader());
        for (int col = 1; col <= cols; ++col) {
            if (names)
                EXPECT_EQ(target.GetColName(col), source.GetColName(col));
            for (int row = 1; row <= rows; ++row)
                EXPECT_EQ(target.GetElem(col, row), source.GetElem(col, row)) << "round " << round;
        }
    }
}

/// The quoting rule written the plain way, byte by byte, as the reference for the
/// word-wise scans of the writer and the reader.
QByteArray QuotedAsNeeded(const QByteArray &field)
{
    for (const char ch : field)
        if (ch == ',' || ch == '"' || ch == '\r' || ch == '\n')
            return '"' + QByteArray(field).replace("\"", "\"\"") + '"';
    return field;
}

TEST(RLDataCsv, SpecialBytesAtEveryPositionOfAWordAreFound)
{
    // Each special byte at every position of fields up to three words long, among bytes
    // one bit away from it (where a word-wise zero test can mark a byte falsely) and
    // non-ASCII text; every field ends its record or sits before a second one.
    const QByteArray filler = QByteArray("-#\x0C\x0B") + "\xC3\xA9" + "abcdefghijklmnopqrstuvwxyz0123";
    const char specials[] = {',', '"', '\r', '\n', 'z'};
    QList<QByteArray> fields;
    for (int length = 0; length <= 26; ++length) {
        fields << filler.left(length);
        for (int pos = 0; pos < length; ++pos)
            for (const char special : specials)
                fields << QByteArray(filler.left(length)).replace(pos, 1, QByteArray(1, special));
    }
    test::TempDir dir;
    TRLData source;
    source.SetNrCols(2);
    source.SetNrRows(int(fields.size()));
    QByteArray expected;
    for (int row = 1; row <= fields.size(); ++row) {
        const QByteArray &field = fields[row - 1];
        const QByteArray second = row % 2 ? QByteArray() : field.left(row % 17);
        source.SetElem(1, row, QString::fromUtf8(field));
        source.SetElem(2, row, QString::fromUtf8(second));
        // As stored: a cut through the two-byte letter has become a replacement character.
        expected += QuotedAsNeeded(source.GetElem(1, row).toUtf8()) + ','
                    + QuotedAsNeeded(source.GetElem(2, row).toUtf8()) + "\r\n";
    }
    const QString path = dir.Path(QStringLiteral("bytes.csv"));
    ASSERT_EQ(source.ExportCSV(path, cdComma, false, false, 1, 1, 2, source.GetNrOfRows()), source.GetNrOfRows());
    EXPECT_EQ(ReadAll(path), expected);
    TRLData target;
    ASSERT_EQ(target.ImportCSV(path, cdComma, false), 0);
    ASSERT_EQ(target.GetNrOfRows(), source.GetNrOfRows());
    for (int row = 1; row <= source.GetNrOfRows(); ++row)
        for (int col = 1; col <= 2; ++col)
            ASSERT_EQ(target.GetElem(col, row), source.GetElem(col, row)) << col << "," << row;
}

TEST(RLDataCsv, RecordsReadAcrossTheReadersBlocksWhole)
{
    // The reader takes a file a megabyte at a time. Rows of filler put the block's end
    // at every byte of a tail that holds a doubled quote, text after a closing quote,
    // a quoted line end and CR LF record ends.
    constexpr int Block = 1 << 20;
    const QByteArray tail = "\"a\"\"b\"x,c\r\n\"x\r\ny\",d\r\nend";
    const QByteArray filler = QByteArray(63, 'a').append('\n').repeated(Block / 64 - 2);
    test::TempDir dir;
    for (int k = 0; k <= tail.size(); ++k) {
        const QByteArray pad = QByteArray(127 - k, 'b').append('\n');
        ASSERT_EQ(filler.size() + pad.size() + k, Block);
        const QString path = dir.Write(QStringLiteral("blocks.csv"), filler + pad + tail);
        TRLData d;
        ASSERT_EQ(d.ImportCSV(path, cdComma, false), 0) << k;
        const int rows = Block / 64 - 1;
        ASSERT_EQ(d.GetNrOfRows(), rows + 3) << k;
        EXPECT_EQ(d.GetElem(1, rows), QString(127 - k, QLatin1Char('b'))) << k;
        EXPECT_EQ(d.GetElem(1, rows + 1), QStringLiteral("a\"bx")) << k;
        EXPECT_EQ(d.GetElem(2, rows + 1), QStringLiteral("c")) << k;
        EXPECT_EQ(d.GetElem(1, rows + 2), QStringLiteral("x\r\ny")) << k;
        EXPECT_EQ(d.GetElem(2, rows + 2), QStringLiteral("d")) << k;
        EXPECT_EQ(d.GetElem(1, rows + 3), QStringLiteral("end")) << k;
    }
}

TEST(RLDataCsv, RecordsLongerThanABlockAreReadWhole)
{
    test::TempDir dir;
    // A byte order mark and one record of 5000 quoted cells with line ends: 1.3 MB.
    const QByteArray cell = '"' + QByteArray(124, 'x') + "\n" + QByteArray(124, 'y') + '"';
    QByteArray record = "\xEF\xBB\xBF" + cell;
    for (int col = 2; col <= 5000; ++col)
        record += ';' + cell;
    TRLData d;
    ASSERT_EQ(d.ImportCSV(dir.Write(QStringLiteral("wide.csv"), record + "\r\n"), cdSemicolon, false), 0);
    EXPECT_EQ(d.GetNrOfColumns(), 5000);
    EXPECT_EQ(d.GetNrOfRows(), 1);
    const QString text = QString(124, QLatin1Char('x')) + QLatin1Char('\n') + QString(124, QLatin1Char('y'));
    EXPECT_EQ(d.GetElem(1, 1), text);
    EXPECT_EQ(d.GetElem(5000, 1), text);
    // The same record with its last quote left open runs to the end of the file.
    record.chop(1);
    EXPECT_EQ(d.ImportCSV(dir.Write(QStringLiteral("open.csv"), record), cdSemicolon, false), isFormatError);
    EXPECT_EQ(d.GetNrOfColumns(), 5000);
}

TEST(RLDataCsv, RecordsGrowingWiderKeepEveryCellReadBefore)
{
    // Field counts that rise, fall and rise again make the table wider several times
    // while rows are already in it.
    const std::vector<int> widths = {1, 3, 2, 9, 4, 17, 1, 40, 5, 41};
    QByteArray text;
    for (size_t row = 0; row < widths.size(); ++row) {
        for (int col = 1; col <= widths[row]; ++col)
            text += (col > 1 ? "," : "") + QByteArray::number(int(row) + 1) + '.' + QByteArray::number(col);
        text += "\n";
    }
    test::TempDir dir;
    TRLData d;
    ASSERT_EQ(d.ImportCSV(dir.Write(QStringLiteral("wider.csv"), text), cdComma, false), 0);
    ASSERT_EQ(d.GetNrOfColumns(), 41);
    ASSERT_EQ(d.GetNrOfRows(), int(widths.size()));
    for (int row = 1; row <= d.GetNrOfRows(); ++row)
        for (int col = 1; col <= 41; ++col)
            ASSERT_EQ(d.GetElem(col, row), col <= widths[size_t(row - 1)] ? QStringLiteral("%1.%2").arg(row).arg(col)
                                                                          : QString())
                << col << "," << row;
}

TEST(RLDataCsv, FixturesImportAsRfc4180Says)
{
    const struct
    {
        const char *fixture;
        TCSVDelimiters delimiter;
        bool headers;
        int cols, rows;
        std::vector<std::tuple<int, int, const char *>> cells;
        const char *name1;
    } cases[] = {
        {"csv_crlf_bom.csv", cdSemicolon, true, 2, 2, {{1, 1, "Anna"}, {2, 1, "Z\xC3\xBCrich"}, {2, 2, "Bern"}}, "Name"},
        {"csv_quoted.csv", cdComma, true, 2, 2, {{1, 1, "a,b"}, {2, 1, "line one\nline two"}, {1, 2, "say \"hi\""}}, "Item"},
        {"csv_ragged.csv", cdComma, true, 4, 4, {{1, 1, "1"}, {2, 1, ""}, {4, 2, "4"}, {1, 3, ""}, {2, 4, "6"}}, "A"},
        {"csv_ragged.csv", cdComma, false, 4, 5, {{1, 1, "A"}, {3, 1, "C"}}, "C-1"},
    };
    for (const auto &c : cases) {
        TRLData d;
        ASSERT_EQ(d.ImportCSV(Fixture(c.fixture), c.delimiter, c.headers), 0)
            << c.fixture;
        EXPECT_EQ(d.GetNrOfColumns(), c.cols) << c.fixture;
        EXPECT_EQ(d.GetNrOfRows(), c.rows) << c.fixture;
        EXPECT_EQ(d.GetColName(1), QString::fromUtf8(c.name1)) << c.fixture;
        for (const auto &[col, row, text] : c.cells)
            EXPECT_EQ(d.GetElem(col, row), QString::fromUtf8(text)) << c.fixture << " " << col << "," << row;
    }
}

TEST(RLDataCsv, FailedImportsReportAndChangeNothing)
{
    test::TempDir dir;
    const struct
    {
        QString path;
        int status;
    } cases[] = {
        {Fixture("empty.txt"), isEmptyFile},
        {dir.Write(QStringLiteral("bom.csv"), "\xEF\xBB\xBF"), isEmptyFile},
        {dir.Path(QStringLiteral("missing.csv")), isFileError},
        {dir.Write(QStringLiteral("open.csv"), "a,\"never closed\nb,c\n"), isFormatError},
    };
    for (const auto &c : cases) {
        TRLData d;
        test::BuildHostileStore(d);
        const QString before = d.ClipboardText(0, 1, 3, d.GetNrOfRows(), true, QStringLiteral("|"));
        EXPECT_EQ(d.ImportCSV(c.path, cdComma, true), c.status) << c.path.toStdString();
        EXPECT_EQ(d.ClipboardText(0, 1, 3, d.GetNrOfRows(), true, QStringLiteral("|")), before);
    }
}

TEST(RLDataCsv, CutCellsAreCountedInTheStatus)
{
    test::TempDir dir;
    const QByteArray pair = "\xF0\x9F\x98\x80";
    const QByteArray text = QByteArray(300, 'x') + ",ok\n" + QByteArray(254, 'y') + pair + ",ok\n";
    TRLData d;
    EXPECT_EQ(d.ImportCSV(dir.Write(QStringLiteral("long.csv"), text), cdComma, false), 2);
    EXPECT_EQ(d.GetElem(1, 1).size(), 255);
    EXPECT_EQ(d.GetElem(1, 2), QString(254, QLatin1Char('y'))); // the pair is not split
}

TEST(RLDataCsv, ExportChecksItsRangeAndWritesCrLf)
{
    test::TempDir dir;
    TRLData d;
    BuildSmall(d);
    const QString path = dir.Path(QStringLiteral("out.csv"));
    EXPECT_EQ(d.ExportCSV(path, cdSemicolon, true, false, 1, 1, 2, 2), 2);
    EXPECT_EQ(ReadAll(path), QByteArray("A;B\r\na1;b1\r\na2;b2\r\n"));
    EXPECT_EQ(d.ExportCSV(path, cdComma, false, false, 2, 2, 2, 1), 0); // no data rows
    EXPECT_EQ(ReadAll(path), QByteArray());
    EXPECT_EQ(d.ExportCSV(path, cdComma, false, false, 1, 1, 3, 2), esBadRange);
    EXPECT_EQ(d.ExportCSV(dir.Path(QStringLiteral("no/dir/x.csv")), cdComma, false, false, 1, 1, 2, 2), esFileError);
}

TEST(RLDataLines, LinesFillAColumnAndGrowTheStore)
{
    test::TempDir dir;
    TRLData d;
    d.SetNrRows(2);
    d.SetCheckedCol(1, true);
    d.SetElemChecked(1, 2, true);
    const QString path = dir.Write(QStringLiteral("lines.txt"), "\xEF\xBB\xBFone\r\ntwo\nthree\n");
    EXPECT_EQ(d.LoadLinesFromFile(1, 2, path), 0);
    EXPECT_EQ(d.GetNrOfRows(), 4);
    EXPECT_EQ(d.GetElem(1, 2), QStringLiteral("one"));
    EXPECT_TRUE(d.GetElemChecked(1, 2)); // the state stays with the cell
    EXPECT_EQ(d.GetElem(1, 4), QStringLiteral("three"));
    EXPECT_EQ(d.LoadLinesFromFile(2, 1, path), isBadRange);
    EXPECT_EQ(d.LoadLinesFromFile(1, 1, Fixture("empty.txt")), isEmptyFile);
    EXPECT_EQ(d.LoadLinesFromFile(1, 1, dir.Path(QStringLiteral("none"))), isFileError);
    EXPECT_EQ(d.LoadLinesFromFile(0, 1, dir.Write(QStringLiteral("long.txt"), QByteArray(256, 'z'))), 1);
}

TEST(RLDataHtml, TheHandlerSeesPlainTextAndWhatItReturnsIsEscaped)
{
    test::TempDir dir;
    TRLData d;
    BuildSmall(d);
    d.SetElem(1, 1, QStringLiteral("<b>&\"'"));
    d.SetColName(2, QStringLiteral("B<"));
    QStringList seen;
    d.OnBeforeHTMLExport = [&](QObject *sender, QString &text, int col, int row) {
        EXPECT_EQ(sender, &d);
        seen << QStringLiteral("%1,%2:%3").arg(col).arg(row).arg(text);
        text.replace(u'&', QStringLiteral(" and "));
        if (col == 2 && row == 2)
            text = QStringLiteral("<i>b2</i>"); // plain text: shown as typed, not as markup
    };
    const QString path = dir.Path(QStringLiteral("t.html"));
    d.ExportHTMLTable(path, 1, 1, 2, 2, {2, 1, 7}, 1, 2, 3, true, QStringLiteral("h\"x"), QString(), QStringLiteral("t"));
    EXPECT_EQ(seen, QStringList({"2,0:B<", "1,0:A", "2,1:b1", "1,1:<b>&\"'", "2,2:b2", "1,2:a2"}));
    QString html = QString::fromUtf8(ReadAll(path));
    EXPECT_TRUE(html.contains(QStringLiteral("<table class=\"t\" border=\"1\" cellspacing=\"2\" cellpadding=\"3\">")));
    EXPECT_TRUE(html.contains(QStringLiteral("<th class=\"h&quot;x\">B&lt;</th>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<td>&lt;b&gt; and &quot;&#39;</td>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<tr><td>&lt;i&gt;b2&lt;/i&gt;</td><td>a2</td></tr>")));

    // Markup on purpose goes through its own event, which sees the escaped text.
    d.OnBeforeHTMLExport = nullptr;
    d.OnHTMLCellMarkup = [&](QObject *, QString &markup, int col, int row) {
        if (col == 1 && row == 1)
            markup = QStringLiteral("<a href=\"#x\">") + markup + QStringLiteral("</a>");
    };
    d.ExportHTMLTable(path, 1, 1, 1, 1, {}, 0, 0, 0, false, {}, {}, {});
    html = QString::fromUtf8(ReadAll(path));
    EXPECT_TRUE(html.contains(QStringLiteral("<td><a href=\"#x\">&lt;b&gt;&amp;&quot;&#39;</a></td>"))) << html.toStdString();
    EXPECT_THROW(d.ExportHTMLTable(dir.Path(QStringLiteral("no/dir/t.html")), 1, 1, 1, 1, {}, 0, 0, 0, false, {}, {}, {}),
                 ENVORLDataError);
}

} // namespace
