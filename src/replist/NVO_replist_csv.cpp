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
#include <array>
#include <climits>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

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

/// Whether a field must go in quotes: one scan that looks for all four characters at once.
bool NeedsCsvQuotes(std::string_view field, char delimiter)
{
    for (const char ch : field)
        if (ch == delimiter || ch == '"' || ch == '\r' || ch == '\n')
            return true;
    return false;
}

void AppendCsvField(std::string &out, std::string_view field, char delimiter)
{
    if (!NeedsCsvQuotes(field, delimiter)) {
        out.append(field);
        return;
    }
    out += '"';
    // Runs up to and including each quote go in one piece, followed by the doubling quote.
    for (size_t quote = field.find('"'); quote != std::string_view::npos; quote = field.find('"')) {
        out.append(field.substr(0, quote + 1));
        out += '"';
        field.remove_prefix(quote + 1);
    }
    out.append(field);
    out += '"';
}

/// Reads RFC 4180 records. `onRecord(fields, end)` gets the fields of every record (views
/// valid during the call) and the offset just after it. Returns the number of records, or
/// -1 for an unterminated quote.
template<class OnRecord>
qint64 ParseCsv(std::string_view text, char delimiter, OnRecord &&onRecord)
{
    qint64 records = 0;
    size_t pos = 0;
    const size_t n = text.size();
    std::vector<std::string_view> fields;
    // One buffer per quoted field of a record, reused by the next records; a deque keeps
    // the texts in place while it grows, so the views in `fields` stay valid.
    std::deque<std::string> unquoted;
    // The bytes that end an unquoted field, as a table: one look-up per byte of the file.
    std::array<bool, 256> endsField{};
    endsField[static_cast<unsigned char>(delimiter)] = endsField['\r'] = endsField['\n'] = true;
    if (n == 0)
        return 0;
    while (true) {
        fields.clear();
        size_t quotedFields = 0;
        while (true) {
            // One field.
            if (pos < n && text[pos] == '"') {
                if (quotedFields == unquoted.size())
                    unquoted.emplace_back();
                std::string &field = unquoted[quotedFields++];
                field.clear();
                ++pos;
                while (true) {
                    const size_t quote = text.find('"', pos);
                    if (quote == std::string_view::npos)
                        return -1;
                    field.append(text.substr(pos, quote - pos));
                    pos = quote + 1;
                    if (pos < n && text[pos] == '"') {
                        field += '"';
                        ++pos;
                        continue;
                    }
                    break;
                }
                // Text between the closing quote and the next delimiter is kept, not lost.
                while (pos < n && text[pos] != delimiter && text[pos] != '\r' && text[pos] != '\n')
                    field += text[pos++];
                fields.push_back(field);
            } else {
                size_t end = pos;
                while (end < n && !endsField[static_cast<unsigned char>(text[end])])
                    ++end;
                fields.push_back(text.substr(pos, end - pos));
                pos = end;
            }
            if (pos >= n || text[pos] != delimiter)
                break;
            ++pos;
        }
        // A line end closes the record; a final one opens no further record.
        if (pos < n)
            pos += (text[pos] == '\r' && pos + 1 < n && text[pos + 1] == '\n') ? 2 : 1;
        ++records;
        onRecord(fields, pos);
        if (pos >= n)
            return records;
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
        // One pass: records go straight into a matrix built aside, which is taken over
        // only when the whole file has been read.
        try {
            TStringArray matrix;
            matrix.SetAllocRowsBy(d.FStrings->AllocRowsBy());
            std::vector<QString> names;
            QString commonHeader = d.FCommonHeader;
            int cols = 1;       // the largest number of fields of a record that is not the marker
            int width = 0;      // the matrix's column count: cols, or more while widening
            int rows = 0;
            bool tooLarge = false; // the table will not fit: read on only to check the format
            bool namesPending = IncludeColHeaders;
            int cut = 0;
            int percent = -1;
            bool firstRecord = true;
            // Fields split a text at ASCII bytes and unquoting drops ASCII quotes only, so
            // the fields of a valid text are valid: one check of the whole file does.
            const bool validUtf8 = IsValidUtf8(text);
            const auto fits = [&](int fieldCount, int rowCount) {
                return (qint64(fieldCount) + 1) * std::max(1, rowCount) <= (qint64(1) << 31);
            };
            const auto widen = [&](int fieldCount) {
                cols = std::max(cols, fieldCount);
                if (tooLarge || fieldCount <= width)
                    return;
                if (!fits(fieldCount, rows)) {
                    tooLarge = true;
                    return;
                }
                // Ragged files widen in doubling steps, so each widening (which moves every
                // cell read so far) pays for many records.
                int grown = std::max(fieldCount, std::min(2 * width, 1 << 20));
                if (!fits(grown, rows))
                    grown = fieldCount;
                try {
                    matrix.Resize(grown, rows);
                    width = grown;
                } catch (const std::exception &) {
                    tooLarge = true;
                }
            };
            const qint64 records = ParseCsv(text, delimiter, [&](const std::vector<std::string_view> &fields,
                                                                  size_t end) {
                if (d.OnPercentDone) {
                    // Progress by bytes read: the number of cells is known only at the end.
                    const int now = int(qint64(end) * 100 / qint64(text.size()));
                    if (now != percent)
                        d.OnPercentDone(&d, percent = now);
                }
                if (firstRecord) {
                    firstRecord = false;
                    if (fields.size() == 2 && fields[0] == View(CommonHeaderMark)) {
                        commonHeader = FromUtf8(fields[1]);
                        return;
                    }
                }
                const int fieldCount = int(fields.size());
                widen(fieldCount);
                if (namesPending) {
                    namesPending = false;
                    names.resize(fields.size());
                    for (size_t field = 0; field < fields.size(); ++field)
                        names[field] = CutToLength(FromUtf8(fields[field]), TRLData::NameMax);
                    return;
                }
                if (tooLarge)
                    return;
                try {
                    if (!fits(width, rows + 1) && width > cols && fits(cols, rows + 1)) {
                        // The room kept for widening no longer fits; the table itself does.
                        matrix.Resize(cols, rows);
                        width = cols;
                    }
                    if (!fits(width, rows + 1)) {
                        tooLarge = true;
                        return;
                    }
                    matrix.Resize(width, rows + 1);
                } catch (const std::exception &) {
                    tooLarge = true;
                    return;
                }
                ++rows;
                cut += matrix.SetRowUtf8(rows, fields, validUtf8);
            });
            if (records < 0)
                return isFormatError;
            if (tooLarge)
                return isBadRange;
            if (width != cols || rows == 0)
                matrix.Resize(cols, std::max(1, rows));
            const int namedCols = int(names.size());
            names.resize(size_t(cols));
            for (int col = namedCols + 1; col <= cols; ++col)
                names[size_t(col - 1)] = QStringLiteral("C-") + QString::number(col);
            std::vector<QString> formats(static_cast<size_t>(cols));
            std::vector<quint8> modes(size_t(cols), TRLData::cmNone);
            d.FCommonHeader = commonHeader;
            d.FSortColumn = -1;
            d.FSortColumnSec = -1;
            d.TakeOver(matrix, names, formats, modes, rows);
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
    // The text is built in a plain byte buffer and handed to the file a megabyte at a time.
    std::string out;
    constexpr size_t FlushSize = size_t(1) << 20;
    out.reserve(FlushSize + 4096);
    const auto flush = [&file, &out] {
        const bool written = file.write(out.data(), qint64(out.size())) == qint64(out.size());
        out.clear(); // keeps the buffer for the next megabyte
        return written;
    };
    if (IncludeCommonHeader) {
        out.append(View(CommonHeaderMark)) += delimiter;
        AppendCsvField(out, View(FCommonHeader.toUtf8()), delimiter);
        out.append("\r\n");
    }
    if (IncludeColHeaders) {
        for (int col = FirstCol; col <= LastCol; ++col) {
            if (col > FirstCol)
                out += delimiter;
            AppendCsvField(out, View(GetColName(col).toUtf8()), delimiter);
        }
        out.append("\r\n");
    }
    // Check-mark columns export their visible text, without the state character; the
    // others go out as stored, without a text per cell.
    std::vector<bool> visibleTextOnly;
    for (int col = FirstCol; col <= LastCol; ++col)
        visibleTextOnly.push_back(IsCheckColumn(col));
    const qint64 total = qint64(std::max(0, LastRow - FirstRow + 1)) * (LastCol - FirstCol + 1);
    for (int row = FirstRow; row <= LastRow; ++row) {
        for (int col = FirstCol; col <= LastCol; ++col) {
            if (col > FirstCol)
                out += delimiter;
            if (visibleTextOnly[size_t(col - FirstCol)])
                AppendCsvField(out, View(GetElem(col, row).toUtf8()), delimiter);
            else
                AppendCsvField(out, FStrings->GetUtf8(col, row), delimiter);
        }
        out.append("\r\n");
        ReportProgress(qint64(row - FirstRow + 1) * (LastCol - FirstCol + 1), total);
        if (out.size() >= FlushSize && !flush())
            return esFileError;
    }
    if (!flush() || !file.commit())
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
