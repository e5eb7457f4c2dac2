// The report list's XML exchange.
//
// Content model (one element per line, UTF-8):
//
//   <?xml version="1.0" encoding="UTF-8"?>                (when a header is asked for)
//   <replist product="zandrovex" id="DATAID">
//   <numcols>3</numcols>
//   <numrows>2</numrows>
//   <commonheader>text</commonheader>
//   <comment>text</comment>
//   <colname col="1">text</colname>                         (every column)
//   <columnformat col="1">text</columnformat>               (non-empty formats)
//   <checkedcolumn col="2">1</checkedcolumn>                (check mode ordinal, not cmNone)
//   <cell col="0" row="1">text</cell>                       (non-empty stored cells)
//   </replist>
//
// Cells are written as stored (state characters included), rows in display order. A row
// without any non-empty cell gets an empty <cell col="1" row="r"></cell>, so every row and
// column a list claims is present in the text for readers that count elements.
//
// Escaping: & < > " ' and tab, line feed and carriage return are written as references,
// so a value never spans lines and no parser normalises its white space away. Texts
// holding characters XML 1.0 cannot carry at all (other control characters, U+FFFE,
// U+FFFF) are written as the hexadecimal digits of their UTF-8 bytes with enc="hex".
//
// Reading: the lines are searched for the root start line by the same rule as
// CheckIfValidReplist; the lines up to the one with the end tag are then split into flat
// elements (NVO_FlatXml_p.h), which this unit maps to the list's tags and checks against
// each other. A list written by hand or by another program may leave out empty `colname`
// and `cell` elements: what is left out reads as empty. Several lists may follow each
// other; a reader stops after the end-tag
// line, so the next list can be read from there. A read that fails for any reason (no
// such list, truncated text, malformed or inconsistent content) returns false and leaves
// the store as it was.

#include "NVO_FlatXml_p.h"
#include "NVO_Format.h"
#include "NVO_replist.h"
#include "NVO_replist_p.h"

#include <QtCore/QBuffer>
#include <QtCore/QFile>
#include <QtCore/QSaveFile>
#include <QtCore/QTextStream>

#include <algorithm>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nvo {

namespace {

/// Largest number of cell slots (columns + 1 times rows) a file may claim: far beyond any
/// report list a person reads, far below what would exhaust memory.
constexpr qint64 MaxFileCellSlots = qint64(1) << 27;

/// How many rows and columns together a list may claim beyond one per byte of its text.
/// A left-out element costs the text nothing but the store a row or a column, so the
/// claims are held in proportion to the text: a short hand-written list may still claim
/// thousands of empty rows, while a claim of a billion rows in a few lines is refused
/// before anything is allocated.
constexpr qint64 FreeClaimedLines = qint64(1) << 16;

// ---- writing ----------------------------------------------------------------------------------

/// The bytes after which a text needs more than a plain copy: the control characters
/// (references or the hex form), the characters written as references, and 0xEF, which
/// starts U+FFFE and U+FFFF.
constexpr std::array<bool, 256> SpecialBytes = [] {
    std::array<bool, 256> special{};
    for (int c = 0; c < 0x20; ++c)
        special[size_t(c)] = true;
    for (const unsigned char c : {'&', '<', '>', '"', '\''})
        special[c] = true;
    special[0xEF] = true;
    return special;
}();

/// Whether the text goes out as it is; most cell texts do, and then one scan suffices.
bool IsPlain(std::string_view text)
{
    for (const char c : text)
        if (SpecialBytes[static_cast<unsigned char>(c)])
            return false;
    return true;
}

bool NeedsHexForm(std::string_view text)
{
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r')
            return true;
        // U+FFFE and U+FFFF are EF BF BE / EF BF BF.
        if (c == 0xEF && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0xBF
            && (static_cast<unsigned char>(text[i + 2]) & 0xFE) == 0xBE)
            return true;
    }
    return false;
}

std::string_view View(const QByteArray &bytes)
{
    return {bytes.constData(), size_t(bytes.size())};
}

/// Appends ">text</tag>" and the line end (or the hex form) to an opened start tag.
void AppendContent(std::string &out, const char *tag, std::string_view text)
{
    if (IsPlain(text)) {
        out += '>';
        out.append(text);
    } else if (NeedsHexForm(text)) {
        out.append(" enc=\"hex\">");
        const QByteArray hex = QByteArray::fromRawData(text.data(), qsizetype(text.size())).toHex();
        out.append(hex.constData(), size_t(hex.size()));
    } else {
        out += '>';
        flatxml::AppendEscaped(out, text);
    }
    out.append("</").append(tag).append(">\n");
}

/// Appends one element line: <tag attrs>text</tag>.
void AppendElement(std::string &out, const char *tag, const std::string &attributes, std::string_view text)
{
    out.append(1, '<').append(tag).append(attributes);
    AppendContent(out, tag, text);
}

/// Appends a cell line without building its attributes as a text of their own: a list
/// has millions of them.
void AppendCell(std::string &out, int col, int row, std::string_view text)
{
    TLatin1Text colText;
    TLatin1Text rowText;
    colText.AppendInteger(col);
    rowText.AppendInteger(row);
    out.append("<cell col=\"");
    out.append(colText.View());
    out.append("\" row=\"");
    out.append(rowText.View());
    out += '"';
    AppendContent(out, "cell", text);
}

std::string ColAttribute(int col)
{
    return " col=\"" + std::to_string(col) + '"';
}

// ---- reading: lines -------------------------------------------------------------------------------

using LineSource = std::function<bool(QByteArray &Line)>;

LineSource DeviceLines(QIODevice &device)
{
    return [&device](QByteArray &line) {
        if (!device.isReadable() || device.atEnd())
            return false;
        line = device.readLine();
        return !line.isEmpty();
    };
}

LineSource TextStreamLines(QTextStream &stream)
{
    return [&stream](QByteArray &line) {
        if (stream.atEnd())
            return false;
        line = stream.readLine().toUtf8();
        line.append('\n');
        return true;
    };
}

/// The root start-line rule: "<replist" and "zandrovex" on the line, and, for a
/// non-empty wanted identifier, an id attribute with that value.
bool QualifiesAsRoot(const QString &line, const QString &wantedLower, QString *id = nullptr)
{
    const QString lower = line.toLower();
    if (!lower.contains(QLatin1String("<replist")) || !lower.contains(QLatin1String("zandrovex")))
        return false;
    QString found;
    const qsizetype start = lower.indexOf(QLatin1String("id=\""));
    if (start >= 0) {
        const qsizetype close = lower.indexOf(QLatin1Char('"'), start + 4);
        if (close >= 0)
            found = line.mid(start + 4, close - start - 4);
    }
    found = RemoveControlChars(found).trimmed();
    // Our writer escapes the identifier; "&amp;" in the line is "&" in the identifier.
    found.replace(QLatin1String("&quot;"), QLatin1String("\""))
        .replace(QLatin1String("&lt;"), QLatin1String("<"))
        .replace(QLatin1String("&gt;"), QLatin1String(">"))
        .replace(QLatin1String("&apos;"), QLatin1String("'"))
        .replace(QLatin1String("&amp;"), QLatin1String("&"));
    if (id)
        *id = found;
    return wantedLower.isEmpty() || found.toLower() == wantedLower;
}

QString WantedID(const QString &DataID)
{
    return DataID.trimmed().toLower();
}

bool CheckLines(const LineSource &next, const QString &DataID)
{
    const QString wanted = WantedID(DataID);
    QByteArray line;
    while (next(line))
        if (QualifiesAsRoot(QString::fromUtf8(line), wanted))
            return true;
    return false;
}

// ---- reading: the report list's elements ----------------------------------------------------------

/// The name of the root element, in any letter case.
constexpr std::string_view Root = "replist";

TRepListXmlTag TagOf(std::string_view name)
{
    static constexpr std::string_view names[] = {"numcols",      "numrows",      "colname", "checkedcolumn",
                                                 "commonheader", "columnformat", "cell",    "comment"};
    for (int tag = xmlNumCols; tag < xmlEndReplist; ++tag)
        if (flatxml::EqualsNoCase(name, names[tag]))
            return TRepListXmlTag(tag);
    return xmlInvalid;
}

bool IsHexEncoded(const flatxml::Element &element)
{
    const auto enc = element.Attr("enc");
    return enc && *enc == "hex";
}

/// The text of an element with its raw text `raw`: a view of `raw` itself when there is
/// nothing to resolve (most cells), otherwise the decoded bytes in `buffer`.
bool DecodedText(std::string_view raw, bool hex, std::string &buffer, std::string_view &text)
{
    if (!hex)
        return flatxml::Resolve(raw, buffer, text);
    const QByteArray bytes = QByteArray::fromHex(QByteArray::fromRawData(raw.data(), qsizetype(raw.size())));
    buffer.assign(bytes.constData(), size_t(bytes.size()));
    text = buffer;
    return true;
}

bool ElementText(const flatxml::Element &element, std::string &out)
{
    std::string_view text;
    if (!DecodedText(element.text, IsHexEncoded(element), out, text))
        return false;
    if (text.data() != out.data())
        out.assign(text);
    return true;
}

/// A cell element as the reader met it: where it goes and its text still encoded.
struct FoundCell
{
    int col = 0, row = 0;
    std::string_view raw;
    bool hex = false;
};

/// A non-negative decimal number of at most 9 digits, blanks around it allowed.
std::optional<int> SmallNumber(std::string_view text)
{
    // Nothing but digits is the form of every number a list holds: read it in one loop
    // without a branch per digit.
    if (!text.empty() && text.size() <= 9) {
        unsigned value = 0; // wraps harmlessly while a text that is no number goes through
        bool digits = true;
        for (const char c : text) {
            const unsigned digit = unsigned(static_cast<unsigned char>(c)) - unsigned('0');
            digits &= digit <= 9;
            value = value * 10 + digit;
        }
        if (digits)
            return int(value);
    }
    while (!text.empty() && flatxml::IsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && flatxml::IsSpace(text.back()))
        text.remove_suffix(1);
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    // Read by hand (every cell has two of these). A minus sign is let through in front of
    // zero only, which is the one negative spelling of a non-negative value.
    const bool minus = text.front() == '-';
    if (minus)
        text.remove_prefix(1);
    if (text.empty())
        return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (minus && value != 0)
        return std::nullopt;
    return value;
}

std::optional<int> NumberAttr(const flatxml::Element &element, std::string_view name)
{
    const auto value = element.Attr(name);
    return value ? SmallNumber(*value) : std::nullopt;
}

QString ToQString(const std::string &bytes)
{
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

} // namespace

/// Reading and writing of the XML form, with access to the store's fields.
class RLDataXml
{
public:
    /// Writes the list into a byte buffer that `drain` empties whenever it passes a
    /// megabyte and once at the end: a big list never sits in memory as a whole text.
    static void Write(const TRLData &d, bool CreateHeader, const QString &DataID,
                      const std::function<void(std::string &Buffer)> &drain)
    {
        // A plain byte buffer: a list has millions of small appends.
        constexpr size_t DrainSize = size_t(1) << 20;
        std::string out;
        out.reserve(DrainSize + 4096);
        if (CreateHeader)
            out.append("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
        out.append("<replist product=\"zandrovex\" id=\"");
        flatxml::AppendEscaped(out, View(RemoveControlChars(DataID).toUtf8()));
        out.append("\">\n");
        out.append("<numcols>").append(std::to_string(d.FNrOfCols)).append("</numcols>\n");
        out.append("<numrows>").append(std::to_string(d.FNrOfRows)).append("</numrows>\n");
        AppendElement(out, "commonheader", {}, View(d.FCommonHeader.toUtf8()));
        AppendElement(out, "comment", {}, View(d.FComment.toUtf8()));
        for (int col = 1; col <= d.FNrOfCols; ++col)
            AppendElement(out, "colname", ColAttribute(col), View(d.FColName[size_t(col - 1)].toUtf8()));
        for (int col = 1; col <= d.FNrOfCols; ++col)
            if (!d.FColumnFormat[size_t(col - 1)].isEmpty())
                AppendElement(out, "columnformat", ColAttribute(col), View(d.FColumnFormat[size_t(col - 1)].toUtf8()));
        for (int col = 1; col <= d.FNrOfCols; ++col)
            if (d.FColButMode[size_t(col - 1)] != TRLData::cmNone)
                out.append("<checkedcolumn" + ColAttribute(col) + '>')
                    .append(std::to_string(d.FColButMode[size_t(col - 1)]))
                    .append("</checkedcolumn>\n");
        const TStringArray &cells = *d.FStrings;
        const qint64 total = qint64(d.FNrOfRows) * (d.FNrOfCols + 1);
        for (int row = 1; row <= d.FNrOfRows; ++row) {
            bool written = false;
            for (int col = 0; col <= d.FNrOfCols; ++col) {
                const std::string_view text = cells.GetUtf8(col, row);
                if (text.empty())
                    continue;
                AppendCell(out, col, row, text);
                written = true;
            }
            if (!written)
                AppendCell(out, 1, row, {});
            d.ReportProgress(qint64(row) * (d.FNrOfCols + 1), total);
            if (out.size() >= DrainSize)
                drain(out);
        }
        out.append("</replist>\n");
        drain(out);
    }

    /// Finds the wanted list in the lines and reads it; false leaves the store untouched.
    static bool Read(TRLData &d, const LineSource &next, const QString &DataID)
    {
        const QString wanted = WantedID(DataID);
        QByteArray line;
        QString id;
        while (true) {
            if (!next(line))
                return false;
            if (flatxml::HasStartTag(View(line), Root) && QualifiesAsRoot(QString::fromUtf8(line), wanted, &id))
                break;
        }
        const qsizetype close = flatxml::StartTagEnd(View(line), Root);
        if (close < 0)
            return false;
        QByteArray body = line.mid(close + 1);
        bool ended = flatxml::HasEndTag(View(body), Root);
        while (!ended) {
            if (!next(line))
                return false; // truncated: no end tag
            body.append(line);
            ended = flatxml::HasEndTag(View(line), Root);
        }
        size_t bodyEnd = std::string_view::npos;
        return Parse(d, View(body), id, bodyEnd);
    }

    /// The same on a text in memory; `Consumed` tells how far the text was read (to the
    /// end of the end-tag line, or all of it), so a device can be put after the list.
    static bool ReadText(TRLData &d, std::string_view text, const QString &DataID, size_t &Consumed)
    {
        const QString wanted = WantedID(DataID);
        QString id;
        size_t pos = 0;
        const auto nextLine = [&](std::string_view &line) {
            if (pos >= text.size())
                return false;
            const size_t end = text.find('\n', pos);
            const size_t next = end == std::string_view::npos ? text.size() : end + 1;
            line = text.substr(pos, next - pos);
            pos = next;
            return true;
        };
        std::string_view line;
        Consumed = text.size();
        do {
            if (!nextLine(line))
                return false;
        } while (!flatxml::HasStartTag(line, Root)
                 || !QualifiesAsRoot(QString::fromUtf8(line.data(), qsizetype(line.size())), wanted, &id));
        const qsizetype close = flatxml::StartTagEnd(line, Root);
        if (close < 0)
            return false;
        // The body is parsed straight from the text: the parse finds the end tag, and the
        // reading ends with that tag's line, as line by line.
        const size_t bodyStart = size_t(line.data() - text.data()) + size_t(close) + 1;
        size_t bodyEnd = std::string_view::npos;
        const bool read = Parse(d, text.substr(bodyStart), id, bodyEnd);
        if (bodyEnd != std::string_view::npos) {
            const size_t lineEnd = text.find('\n', bodyStart + bodyEnd);
            Consumed = lineEnd == std::string_view::npos ? text.size() : lineEnd + 1;
        } else {
            // A body broken before its end: the reading ends where the end-tag line
            // would have ended it, or at the end of the text.
            pos = bodyStart;
            while (nextLine(line))
                if (flatxml::HasEndTag(line, Root)) {
                    Consumed = pos;
                    break;
                }
        }
        return read;
    }

    /// Reads a list body; `bodyEnd` tells where in it the root end tag's name ends.
    static bool Parse(TRLData &d, std::string_view body, const QString &id, size_t &bodyEnd)
    {
        // The sizes a list claims are checked against the content that is there before
        // anything big is allocated. A list names its sizes and columns before its cells
        // (ours always do): once the claims are known and the body can hold them, the
        // matrix is made and the cells go straight into it. Cells met before that wait
        // (as views of the body) until the end, and all checks are made again there.
        int numCols = -1, numRows = -1;
        int maxCol = 0, maxRow = 0;
        std::vector<FoundCell> waiting;
        std::vector<flatxml::Element> columnElements; // names, formats, check modes, texts
        TStringArray matrix;
        matrix.SetAllocRowsBy(d.FStrings->AllocRowsBy());
        bool sized = false; // the matrix has the claimed size and takes cells as they come
        std::string text;
        const auto claimsHold = [&] {
            return numCols >= 1 && numRows >= 0
                   && qint64(numCols) + numRows <= FreeClaimedLines + qint64(body.size())
                   && (qint64(numCols) + 1) * std::max(1, numRows) <= MaxFileCellSlots;
        };
        // Raw texts of a valid body are valid (they end at ASCII markup), and so are
        // resolved references, which are checked code points; hex forms carry any bytes.
        const bool bodyIsUtf8 = IsValidUtf8(body);
        const auto store = [&](const FoundCell &cell) {
            std::string_view value;
            if (cell.col > numCols || cell.row > numRows || !DecodedText(cell.raw, cell.hex, text, value))
                return false;
            matrix.SetUtf8(cell.col, cell.row, value, bodyIsUtf8 && !cell.hex);
            return true;
        };
        // Gives the matrix the claimed size and stores the cells that waited for it.
        const auto sizeMatrix = [&] {
            matrix.Resize(numCols, std::max(1, numRows));
            sized = true;
            const bool stored = std::all_of(waiting.begin(), waiting.end(), store);
            waiting = {};
            return stored;
        };
        int percent = -1;
        try {
            const bool wellFormed = flatxml::ScanBody(body, Root, [&](const flatxml::Element &e) {
                const TRepListXmlTag tag = TagOf(e.name);
                switch (tag) {
                case xmlNumCols:
                case xmlNumRows: {
                    const auto value = SmallNumber(e.text);
                    int &claim = tag == xmlNumCols ? numCols : numRows;
                    if (!value || (sized && *value != claim))
                        return false;
                    claim = *value;
                    return true;
                }
                case xmlCell: {
                    const auto col = NumberAttr(e, "col");
                    const auto row = NumberAttr(e, "row");
                    if (!col || !row || *row < 1)
                        return false;
                    maxCol = std::max(maxCol, *col);
                    maxRow = std::max(maxRow, *row);
                    const FoundCell cell{*col, *row, e.text, IsHexEncoded(e)};
                    if (!sized && claimsHold() && !sizeMatrix())
                        return false;
                    if (!sized) {
                        waiting.push_back(cell);
                        return true;
                    }
                    // Progress by the part of the body read: cells may be left out.
                    d.ReportReadProgress(e.text.data() - body.data(), qint64(body.size()), percent);
                    return store(cell);
                }
                case xmlColName:
                case xmlColumnFormat:
                case xmlCheckedColumn: {
                    const auto col = NumberAttr(e, "col");
                    if (!col || *col < 1)
                        return false;
                    maxCol = std::max(maxCol, *col);
                    columnElements.push_back(e);
                    return true;
                }
                case xmlCommonHd:
                case xmlComment:
                    columnElements.push_back(e);
                    return true;
                default:
                    return true;
                }
            }, bodyEnd);
            if (!wellFormed || !claimsHold() || maxCol > numCols || maxRow > numRows)
                return false;
            if (!sized && !sizeMatrix())
                return false;

            // Everything is built aside and taken over only when complete.
            std::vector<QString> names(static_cast<size_t>(numCols)), formats(static_cast<size_t>(numCols));
            std::vector<quint8> modes(size_t(numCols), TRLData::cmNone);
            QString comment, commonHeader = d.FCommonHeader;
            for (const flatxml::Element &e : columnElements) {
                if (!ElementText(e, text))
                    return false;
                const int col = NumberAttr(e, "col").value_or(0);
                switch (TagOf(e.name)) {
                case xmlColName:
                    names[size_t(col - 1)] = CutToLength(ToQString(text), TRLData::NameMax);
                    break;
                case xmlColumnFormat:
                    formats[size_t(col - 1)] = CutToLength(ToQString(text), TRLData::FormatMax);
                    break;
                case xmlCheckedColumn: {
                    const auto mode = SmallNumber(text);
                    if (!mode || *mode > TRLData::cmRadio)
                        return false;
                    modes[size_t(col - 1)] = quint8(*mode);
                    break;
                }
                case xmlCommonHd:
                    commonHeader = ToQString(text);
                    break;
                case xmlComment:
                    comment = ToQString(text);
                    break;
                default:
                    break;
                }
            }
            d.ReportReadProgress(qint64(body.size()), qint64(body.size()), percent);
            d.FComment = comment;
            d.FCommonHeader = commonHeader;
            d.FDataID = id;
            d.FSortColumn = -1;
            d.FSortColumnSec = -1;
            d.TakeOver(matrix, names, formats, modes, numRows);
            return true;
        } catch (const std::exception &) {
            return false; // the memory for a list that passed the checks was not there
        }
    }
};

// ---- operations -------------------------------------------------------------------------------

bool CheckIfValidReplist(const QString &FName, const QString &DataID)
{
    QFile file(FName);
    if (!file.open(QIODevice::ReadOnly))
        throw ENVOError(QStringLiteral("Cannot read file \"%1\": %2").arg(FName, file.errorString()));
    return CheckLines(DeviceLines(file), DataID);
}

bool CheckIfValidReplist(QIODevice &InStream, const QString &DataID)
{
    return CheckLines(DeviceLines(InStream), DataID);
}

bool TRLData::ReadFromXMLString(const QString &InString, const QString &DataID)
{
    QByteArray bytes = InString.toUtf8();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return RLDataXml::Read(*this, DeviceLines(buffer), DataID);
}

bool TRLData::ReadFromXMLStream(QIODevice &InStream, const QString &DataID)
{
    if (InStream.isSequential() || !InStream.isReadable())
        return RLDataXml::Read(*this, DeviceLines(InStream), DataID);
    // A file or buffer is read in one piece and the position put back after the list,
    // which is where reading it line by line would have left it.
    const qint64 start = InStream.pos();
    const QByteArray text = InStream.readAll();
    size_t consumed = 0;
    const bool ok = RLDataXml::ReadText(*this, View(text), DataID, consumed);
    InStream.seek(start + qint64(consumed));
    return ok;
}

bool TRLData::ReadFromOpenXMLFile(QTextStream &F, const QString &DataID)
{
    return RLDataXml::Read(*this, TextStreamLines(F), DataID);
}

bool TRLData::LoadFromXMLFile(const QString &FName, const QString &DataID)
{
    QFile file(FName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return ReadFromXMLStream(file, DataID);
}

void TRLData::WriteToXMLStream(QIODevice &OutStream, bool CreateHeader, const QString &DataID) const
{
    RLDataXml::Write(*this, CreateHeader, DataID, [this, &OutStream](std::string &buffer) {
        if (OutStream.write(buffer.data(), qint64(buffer.size())) != qint64(buffer.size()))
            throw ENVORLDataError(replist_p::CannotWrite(this, OutStream.errorString()));
        buffer.clear();
    });
}

void TRLData::WriteToOpenXMLFile(QTextStream &F, bool CreateHeader, const QString &DataID) const
{
    RLDataXml::Write(*this, CreateHeader, DataID, [&F](std::string &buffer) {
        // Whole lines only: a chunk never ends inside a character.
        F << QString::fromUtf8(buffer.data(), qsizetype(buffer.size()));
        buffer.clear();
    });
    F.flush();
    if (F.status() != QTextStream::Ok)
        throw ENVORLDataError(replist_p::CannotWrite(this, QStringLiteral("stream write error")));
}

void TRLData::SaveAsXMLFile(const QString &FName, const QString &DataID) const
{
    // Written aside and renamed at the end: a failure never leaves half a file.
    QSaveFile file(FName);
    if (!file.open(QIODevice::WriteOnly))
        throw ENVORLDataError(replist_p::CannotWrite(this, FName + QStringLiteral(": ") + file.errorString()));
    WriteToXMLStream(file, true, DataID);
    if (!file.commit())
        throw ENVORLDataError(replist_p::CannotWrite(this, FName + QStringLiteral(": ") + file.errorString()));
}

} // namespace nvo
