// The report list's plain-text exchange: clipboard, CSV, text lines and HTML tables.
//
// CSV (RFC 4180): fields separated by the character `CSVDelimiterChar` gives for the
// chosen `TCSVDelimiters`; a field holding the delimiter, a double quote, a carriage
// return or a line feed is enclosed in double quotes with inner quotes doubled; records
// end with CR LF. Files are written as UTF-8 without a byte order mark and read as UTF-8
// with or without one, with CR LF, LF or CR line ends. Exported cells are the visible
// texts (`GetElem`: a check-mark column without its state character).
//
// The common header travels as a first record of two fields, "#commonheader" and the
// text, so that an import recognises it and does not take it for the column names.
//
// Import replaces the store's content (cells, names, formats, check modes, sort state)
// with the file's; the number of columns is the largest number of fields of any record,
// so ragged rows come in with empty cells. Everything is built aside first: a failed
// import leaves the store as it was.

#include "NVO_replist.h"
#include "NVO_replist_p.h"

#include <QtCore/QFile>
#include <QtCore/QSaveFile>
#include <QtGui/QClipboard>
#include <QtGui/QGuiApplication>

#include <algorithm>
#include <climits>
#include <string>
#include <string_view>

namespace nvo {

namespace {

constexpr int FixedWidthMaxColumns = 10000;
const QByteArray CommonHeaderMark = QByteArrayLiteral("#commonheader");

std::string_view View(const QByteArray &bytes)
{
    return {bytes.constData(), size_t(bytes.size())};
}

/// Strips a UTF-8 byte order mark.
std::string_view WithoutBom(std::string_view bytes)
{
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    return bytes;
}

void AppendCsvField(QByteArray &out, std::string_view field, char delimiter)
{
    const bool quote = field.find_first_of(std::string_view("\"\r\n", 3)) != std::string_view::npos
                       || field.find(delimiter) != std::string_view::npos;
    if (!quote) {
        out.append(field.data(), qsizetype(field.size()));
        return;
    }
    out.append('"');
    for (char ch : field) {
        if (ch == '"')
            out.append('"');
        out.append(ch);
    }
    out.append('"');
}

/// Reads RFC 4180 records. `onField(record, field, text)` gets every field; a record is
/// counted from 0. Returns the number of records, or -1 for an unterminated quote.
template<class OnField>
qint64 ParseCsv(std::string_view text, char delimiter, OnField &&onField)
{
    qint64 record = 0;
    int field = 0;
    size_t pos = 0;
    const size_t n = text.size();
    std::string unquoted;
    if (n == 0)
        return 0;
    while (true) {
        // One field.
        if (pos < n && text[pos] == '"') {
            unquoted.clear();
            ++pos;
            while (true) {
                const size_t quote = text.find('"', pos);
                if (quote == std::string_view::npos)
                    return -1;
                unquoted.append(text.substr(pos, quote - pos));
                pos = quote + 1;
                if (pos < n && text[pos] == '"') {
                    unquoted += '"';
                    ++pos;
                    continue;
                }
                break;
            }
            // Text between the closing quote and the next delimiter is kept, not lost.
            while (pos < n && text[pos] != delimiter && text[pos] != '\r' && text[pos] != '\n')
                unquoted += text[pos++];
            onField(record, field, std::string_view(unquoted));
        } else {
            size_t end = pos;
            while (end < n && text[end] != delimiter && text[end] != '\r' && text[end] != '\n')
                ++end;
            onField(record, field, text.substr(pos, end - pos));
            pos = end;
        }
        // What ends it.
        if (pos >= n)
            return record + 1;
        if (text[pos] == delimiter) {
            ++pos;
            ++field;
            continue;
        }
        pos += (text[pos] == '\r' && pos + 1 < n && text[pos + 1] == '\n') ? 2 : 1;
        ++record;
        field = 0;
        if (pos >= n)
            return record; // a final line end closes the last record, it opens none
    }
}

QString FromUtf8(std::string_view bytes)
{
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

QString HtmlEscaped(const QString &text)
{
    QString escaped = text.toHtmlEscaped();
    escaped.replace(QLatin1Char('\''), QLatin1String("&#39;"));
    escaped.replace(QLatin1Char('\n'), QLatin1String("<br>"));
    return escaped;
}

QString ClassAttribute(const QString &name)
{
    return name.isEmpty() ? QString() : QStringLiteral(" class=\"") + HtmlEscaped(name) + QLatin1Char('"');
}

void CommitFile(QSaveFile &file, const QByteArray &bytes, const QObject *component)
{
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw ENVORLDataError(replist_p::CannotWrite(component, file.fileName() + QStringLiteral(": ")
                                                                  + file.errorString()));
}

} // namespace

/// The CSV and line readers, with access to the store's fields.
class RLDataCsv
{
public:
    static int Import(TRLData &d, std::string_view text, char delimiter, bool IncludeColHeaders)
    {
        text = WithoutBom(text);
        if (text.empty())
            return isEmptyFile;
        // First pass: the shape, before anything is allocated.
        int fieldsOfFirst = 0, maxFieldsOfRest = 0;
        bool commonHeaderFirst = false;
        const qint64 records = ParseCsv(text, delimiter, [&](qint64 record, int field, std::string_view value) {
            if (record > 0) {
                maxFieldsOfRest = std::max(maxFieldsOfRest, field + 1);
                return;
            }
            fieldsOfFirst = field + 1;
            if (field == 0)
                commonHeaderFirst = value == View(CommonHeaderMark);
        });
        if (records < 0)
            return isFormatError;
        commonHeaderFirst = commonHeaderFirst && fieldsOfFirst == 2;
        const qint64 headRecords = (commonHeaderFirst ? 1 : 0) + (IncludeColHeaders ? 1 : 0);
        const qint64 dataRows = std::max<qint64>(0, records - headRecords);
        // The marker record's two fields say nothing about the column count.
        const int cols = std::max({1, maxFieldsOfRest, commonHeaderFirst ? 0 : fieldsOfFirst});
        if (dataRows > INT_MAX || (qint64(cols) + 1) * std::max<qint64>(1, dataRows) > (qint64(1) << 31))
            return isBadRange;

        // Second pass: build aside, take over when complete.
        try {
            TStringArray matrix;
            matrix.SetAllocRowsBy(d.FStrings->AllocRowsBy());
            matrix.Resize(cols, int(std::max<qint64>(1, dataRows)));
            std::vector<QString> names(static_cast<size_t>(cols)), formats(static_cast<size_t>(cols));
            std::vector<quint8> modes(size_t(cols), TRLData::cmNone);
            for (int col = 1; col <= cols; ++col)
                names[size_t(col - 1)] = QStringLiteral("C-") + QString::number(col);
            QString commonHeader = d.FCommonHeader;
            int cut = 0;
            const qint64 total = dataRows * cols;
            qint64 done = 0;
            ParseCsv(text, delimiter, [&](qint64 record, int field, std::string_view value) {
                if (commonHeaderFirst && record == 0) {
                    if (field == 1)
                        commonHeader = FromUtf8(value);
                    return;
                }
                const qint64 row = record - headRecords + 1;
                if (row < 1) {
                    names[size_t(field)] = CutToLength(FromUtf8(value), TRLData::NameMax);
                    return;
                }
                cut += matrix.SetUtf8(field + 1, int(row), value) ? 1 : 0;
                if (field == 0)
                    d.ReportProgress(done += cols, total);
            });
            d.FCommonHeader = commonHeader;
            d.FSortColumn = -1;
            d.FSortColumnSec = -1;
            d.TakeOver(matrix, names, formats, modes, int(dataRows));
            return cut;
        } catch (const std::exception &) {
            return isBadRange; // the memory for the file's table is not there
        }
    }
};

// ---- clipboard ------------------------------------------------------------------------------------

QString TRLData::ClipboardText(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader,
                               const QString &Separator) const
{
    QString text;
    if (AddHeader) {
        for (int col = LeftCol; col <= RightCol; ++col) {
            if (col > LeftCol)
                text += Separator;
            text += GetColName(col);
        }
        text += QLatin1String("\n\n");
    }
    for (int row = TopRow; row <= BottomRow; ++row) {
        for (int col = LeftCol; col <= RightCol; ++col) {
            if (col > LeftCol)
                text += Separator;
            text += GetElem(col, row);
        }
        text += QLatin1Char('\n');
    }
    return text;
}

QString TRLData::FixedWidthText(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader) const
{
    RightCol = std::min(RightCol, LeftCol + FixedWidthMaxColumns - 1);
    std::vector<int> widths;
    for (int col = LeftCol; col <= RightCol; ++col) {
        // Stored lengths: a check-mark column counts its state character.
        int width = AddHeader ? int(GetColName(col).size()) : 0;
        for (int row = TopRow; row <= BottomRow; ++row)
            width = std::max(width, FStrings->GetLength(col, row));
        widths.push_back(width + 1);
    }
    QString text;
    if (AddHeader) {
        for (int col = LeftCol; col <= RightCol; ++col)
            text += LeftString(GetColName(col), widths[size_t(col - LeftCol)]);
        text += QLatin1String("\n\n");
    }
    for (int row = TopRow; row <= BottomRow; ++row) {
        for (int col = LeftCol; col <= RightCol; ++col)
            text += LeftString(GetElem(col, row), widths[size_t(col - LeftCol)]);
        text += QLatin1Char('\n');
    }
    return text;
}

namespace {

/// The clipboard exists only in a GUI application; a store may live in a tool without one.
void SetClipboardText(const QString &text)
{
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        QGuiApplication::clipboard()->setText(text);
}

} // namespace

void TRLData::CopyToClipBoard(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader,
                              const QString &Separator) const
{
    SetClipboardText(ClipboardText(LeftCol, TopRow, RightCol, BottomRow, AddHeader, Separator));
}

void TRLData::CopyToClipBoard(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader, bool UseTabs) const
{
    SetClipboardText(UseTabs ? ClipboardText(LeftCol, TopRow, RightCol, BottomRow, AddHeader, QStringLiteral("\t"))
                             : FixedWidthText(LeftCol, TopRow, RightCol, BottomRow, AddHeader));
}

// ---- CSV ---------------------------------------------------------------------------------------------

int TRLData::ImportCSV(const QString &FName, TCSVDelimiters Delimiter, bool IncludeColHeaders)
{
    QFile file(FName);
    if (!file.open(QIODevice::ReadOnly))
        return isFileError;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return isFileError;
    return RLDataCsv::Import(*this, View(bytes), char(CSVDelimiterChar(Delimiter).unicode()), IncludeColHeaders);
}

int TRLData::ExportCSV(const QString &FName, TCSVDelimiters Delimiter, bool IncludeColHeaders,
                       bool IncludeCommonHeader, int FirstCol, int FirstRow, int LastCol, int LastRow)
{
    if (FirstCol < 0 || FirstCol > LastCol || LastCol > FNrOfCols || FirstRow < 1 || LastRow > FNrOfRows)
        return esBadRange;
    const char delimiter = char(CSVDelimiterChar(Delimiter).unicode());
    QSaveFile file(FName);
    if (!file.open(QIODevice::WriteOnly))
        return esFileError;
    QByteArray out;
    if (IncludeCommonHeader) {
        out.append(CommonHeaderMark).append(delimiter);
        AppendCsvField(out, View(FCommonHeader.toUtf8()), delimiter);
        out.append("\r\n");
    }
    if (IncludeColHeaders) {
        for (int col = FirstCol; col <= LastCol; ++col) {
            if (col > FirstCol)
                out.append(delimiter);
            AppendCsvField(out, View(GetColName(col).toUtf8()), delimiter);
        }
        out.append("\r\n");
    }
    const qint64 total = qint64(std::max(0, LastRow - FirstRow + 1)) * (LastCol - FirstCol + 1);
    for (int row = FirstRow; row <= LastRow; ++row) {
        for (int col = FirstCol; col <= LastCol; ++col) {
            if (col > FirstCol)
                out.append(delimiter);
            if (IsCheckColumn(col))
                AppendCsvField(out, View(GetElem(col, row).toUtf8()), delimiter);
            else
                AppendCsvField(out, FStrings->GetUtf8(col, row), delimiter);
        }
        out.append("\r\n");
        ReportProgress(qint64(row - FirstRow + 1) * (LastCol - FirstCol + 1), total);
        if (out.size() >= (1 << 20)) {
            if (file.write(out) != out.size())
                return esFileError;
            out.truncate(0); // keeps the buffer for the next megabyte
        }
    }
    if (file.write(out) != out.size() || !file.commit())
        return esFileError;
    return std::max(0, LastRow - FirstRow + 1);
}

int TRLData::LoadLinesFromFile(int Column, int FirstRow, const QString &FName)
{
    if (Column < 0 || Column > FNrOfCols || FirstRow < 1 || FirstRow > FNrOfRows + 1)
        return isBadRange;
    QFile file(FName);
    if (!file.open(QIODevice::ReadOnly))
        return isFileError;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return isFileError;
    const QString text = FromUtf8(WithoutBom(View(bytes)));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // a final line end ends the last line, it starts none
    for (QString &line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    if (lines.isEmpty())
        return isEmptyFile;
    // More lines than rows: the store grows to take them all.
    const qint64 lastRow = qint64(FirstRow) + lines.size() - 1;
    if (lastRow > INT_MAX)
        return isBadRange;
    if (lastRow > FNrOfRows)
        SetNrRows(int(lastRow));
    int cut = 0;
    const int limit = IsCheckColumn(Column) ? ShortStringMax - 1 : ShortStringMax;
    for (int i = 0; i < lines.size(); ++i) {
        cut += lines[i].size() > limit ? 1 : 0;
        SetElem(Column, FirstRow + i, lines[i]);
        ReportProgress(i + 1, lines.size());
    }
    return cut;
}

// ---- HTML ----------------------------------------------------------------------------------------------

void TRLData::ExportHTMLTable(const QString &FName, int LoC, int LoR, int HiC, int HiR,
                              const std::vector<int> &ColumnSelection, int Border, int CellSpacing,
                              int Cellpadding, bool IncludeHeader, const QString &HeadClass,
                              const QString &CellClass, const QString &TableClass)
{
    // The columns: those of the selection (in its order) that lie in LoC..HiC, or the
    // whole range when the selection is empty.
    std::vector<int> columns;
    if (ColumnSelection.empty()) {
        for (int col = LoC; col <= HiC; ++col)
            columns.push_back(col);
    } else {
        for (int col : ColumnSelection)
            if (col >= LoC && col <= HiC)
                columns.push_back(col);
    }
    // Each text is escaped first and then offered to BeforeHTMLExport: a handler gets
    // text that is safe as it stands and may add markup of its own (a link, emphasis).
    // Header cells are offered with row 0.
    QString html = QStringLiteral("<!DOCTYPE html>\n<html>\n<head><meta charset=\"utf-8\"></head>\n<body>\n");
    html += QStringLiteral("<table%1 border=\"%2\" cellspacing=\"%3\" cellpadding=\"%4\">\n")
                .arg(ClassAttribute(TableClass))
                .arg(Border)
                .arg(CellSpacing)
                .arg(Cellpadding);
    if (IncludeHeader) {
        html += QLatin1String("<tr>");
        for (int col : columns) {
            QString text = HtmlEscaped(GetColName(col));
            BeforeHTMLExport(text, col, 0);
            html += QStringLiteral("<th%1>%2</th>").arg(ClassAttribute(HeadClass), text);
        }
        html += QLatin1String("</tr>\n");
    }
    for (int row = LoR; row <= HiR; ++row) {
        html += QLatin1String("<tr>");
        for (int col : columns) {
            QString text = HtmlEscaped(GetElem(col, row));
            BeforeHTMLExport(text, col, row);
            html += QStringLiteral("<td%1>%2</td>").arg(ClassAttribute(CellClass), text);
        }
        html += QLatin1String("</tr>\n");
    }
    html += QLatin1String("</table>\n</body>\n</html>\n");
    QSaveFile file(FName);
    if (!file.open(QIODevice::WriteOnly))
        throw ENVORLDataError(replist_p::CannotWrite(this, FName + QStringLiteral(": ") + file.errorString()));
    CommitFile(file, html.toUtf8(), this);
}

} // namespace nvo
