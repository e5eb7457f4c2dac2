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
// text, so that an import recognises it and does not take it for the column names. Only
// an unquoted "#commonheader" is the marker; the export quotes a cell or name with that
// text, so that every file it writes imports back to the same cells.
//
// Import replaces the store's content (cells, names, formats, check modes, sort state)
// with the file's; the number of columns is the largest number of fields of any record,
// so ragged rows come in with empty cells. Everything is built aside first: a failed
// import leaves the store as it was.

#include "NVO_replist.h"
#include "NVO_replist_p.h"

#include "NVO_Format.h"

#include <QtCore/QFile>
#include <QtCore/QSaveFile>
#include <QtGui/QClipboard>
#include <QtGui/QGuiApplication>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cstdint>
#include <cstring>
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

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";

/// Strips a UTF-8 byte order mark.
std::string_view WithoutBom(std::string_view bytes)
{
    if (bytes.substr(0, Utf8Bom.size()) == Utf8Bom)
        bytes.remove_prefix(Utf8Bom.size());
    return bytes;
}

// Whether a field needs quotes is tested a word of eight bytes at a time: a byte equal to
// a stop becomes zero after an exclusive or, and the classic zero-byte test marks it. The
// test may also mark bytes after a true zero, never before one, so a word has marks only
// if it holds a stop.
constexpr uint64_t EveryByte = 0x0101010101010101ULL;

template<size_t N>
uint64_t StopMarks(uint64_t word, const std::array<char, N> &stops)
{
    uint64_t marks = 0;
    for (const char stop : stops) {
        const uint64_t zeroAtStop = word ^ (EveryByte * static_cast<unsigned char>(stop));
        marks |= (zeroAtStop - EveryByte) & ~zeroAtStop;
    }
    return marks & (EveryByte << 7);
}

uint64_t LoadWord(const char *bytes)
{
    uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

uint64_t LoadHalfWord(const char *bytes)
{
    uint32_t half;
    std::memcpy(&half, bytes, sizeof half);
    return half;
}

/// Whether any byte of `text` is one of `stops`. Without a position to find, a text of
/// any length is covered by whole words that may overlap, so the cells of a table, most
/// shorter than a word, take one or two tests each.
template<size_t N>
bool ContainsAnyOf(std::string_view text, const std::array<char, N> &stops)
{
    const char *bytes = text.data();
    const size_t n = text.size();
    if (n >= 8) {
        for (size_t pos = 0; pos + 8 < n; pos += 8)
            if (StopMarks(LoadWord(bytes + pos), stops))
                return true;
        return StopMarks(LoadWord(bytes + n - 8), stops) != 0;
    }
    uint64_t word;
    if (n >= 4) {
        word = LoadHalfWord(bytes) | LoadHalfWord(bytes + n - 4) << 32;
    } else if (n > 0) {
        // Three bytes cover a text of one to three; repeating them fills the word.
        const auto byte = [bytes](size_t at) { return uint64_t(static_cast<unsigned char>(bytes[at])); };
        word = (byte(0) | byte(n / 2) << 8 | byte(n - 1) << 16 | byte(0) << 24) * 0x100000001ULL;
    } else {
        return false;
    }
    return StopMarks(word, stops) != 0;
}

/// Whether a field must go in quotes.
bool NeedsCsvQuotes(std::string_view field, char delimiter)
{
    return ContainsAnyOf(field, std::array{delimiter, '"', '\r', '\n'});
}

/// The bytes of a CSV file on their way out. Records are built in a buffer of fixed size
/// that goes to the file whenever the next piece might not fit, so a file of any size
/// costs a megabyte of memory and no growth check per byte. (Smaller pieces cost the
/// file system more: at 64 KB a large export took a third longer.)
class CsvWriter
{
public:
    CsvWriter(QIODevice &file, char delimiter) : FFile(file), FDelimiter(delimiter), FBuffer(size_t(1) << 20) {}

    /// Adds a field to the record, quoted when it must be.
    void Field(std::string_view field) { Add(field, field == View(CommonHeaderMark)); }
    /// Adds the common header's marker, which an import knows by its missing quotes.
    void Marker() { Add(View(CommonHeaderMark), false); }

    void EndRecord()
    {
        std::memcpy(Room(2), "\r\n", 2);
        FUsed += 2;
        FFieldsInRecord = 0;
    }

    /// Hands what is buffered to the file; false once any write has failed.
    bool Flush()
    {
        if (!FFailed && FUsed > 0)
            FFailed = FFile.write(FBuffer.data(), qint64(FUsed)) != qint64(FUsed);
        FUsed = 0;
        return !FFailed;
    }

    bool Failed() const { return FFailed; }

private:
    void Add(std::string_view field, bool forceQuotes)
    {
        // The most a field can take: a delimiter, two quotes and every byte a doubled quote.
        char *at = Room(2 * field.size() + 3);
        if (FFieldsInRecord++ > 0)
            *at++ = FDelimiter;
        if (!forceQuotes && !NeedsCsvQuotes(field, FDelimiter)) {
            at = std::copy(field.begin(), field.end(), at); // an empty cell may have no bytes at all
        } else {
            *at++ = '"';
            for (const char ch : field) {
                *at++ = ch;
                if (ch == '"')
                    *at++ = '"';
            }
            *at++ = '"';
        }
        FUsed = size_t(at - FBuffer.data());
    }

    char *Room(size_t bytes)
    {
        if (FBuffer.size() - FUsed < bytes) {
            Flush();
            if (FBuffer.size() < bytes)
                FBuffer.resize(bytes);
        }
        return FBuffer.data() + FUsed;
    }

    QIODevice &FFile;
    const char FDelimiter;
    std::vector<char> FBuffer;
    size_t FUsed = 0;
    int FFieldsInRecord = 0;
    bool FFailed = false;
};

/// Finds the bytes that end unquoted fields (the delimiter, CR and LF) in a text, 64
/// bytes at a time: one step marks every end in a block as a bit, and each field then
/// takes its end from the mask. Fields are short, so this costs less than a search per
/// field, and the branch that loads the next block is rarely taken.
class FieldEndScanner
{
public:
    FieldEndScanner(std::string_view text, char delimiter) : FText(text), FDelimiter(delimiter) { Load(0); }

    /// The first field end at or after `pos`, or the text's size.
    size_t From(size_t pos)
    {
        if (pos < FBlockAt || pos - FBlockAt >= 64)
            Load(pos);
        while (true) {
            const uint64_t ahead = FMask & (~uint64_t(0) << (pos - FBlockAt));
            if (ahead)
                return FBlockAt + size_t(std::countr_zero(ahead));
            if (FText.size() - FBlockAt <= 64)
                return FText.size();
            Load(FBlockAt + 64);
            pos = FBlockAt;
        }
    }

private:
    void Load(size_t at)
    {
        FBlockAt = at;
        const char *block = FText.data() + at;
        const size_t count = std::min<size_t>(FText.size() - at, 64);
#if defined(__SSE2__)
        if (count == 64) {
            const __m128i delimiter = _mm_set1_epi8(FDelimiter);
            const __m128i cr = _mm_set1_epi8('\r');
            const __m128i lf = _mm_set1_epi8('\n');
            FMask = 0;
            for (int part = 0; part < 4; ++part) {
                const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(block + 16 * part));
                const __m128i ends = _mm_or_si128(_mm_cmpeq_epi8(bytes, delimiter),
                                                  _mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf)));
                FMask |= uint64_t(uint16_t(_mm_movemask_epi8(ends))) << (16 * part);
            }
            return;
        }
#endif
        // The last bytes of a text, and every block where SSE2 is not there.
        FMask = 0;
        for (size_t i = 0; i < count; ++i)
            if (block[i] == FDelimiter || block[i] == '\r' || block[i] == '\n')
                FMask |= uint64_t(1) << i;
    }

    const std::string_view FText;
    const char FDelimiter;
    size_t FBlockAt = 0;
    uint64_t FMask = 0;
};

/// Reads the RFC 4180 records of a file one at a time through a buffer of a megabyte (or
/// the size of a smaller file) that grows only for a record longer than it: a file of any
/// size costs little memory beyond its table, and each block is parsed while the read has
/// left it in the cache. A UTF-8 byte order mark at the start is skipped.
class CsvReader
{
public:
    enum Result { Record, End, Unterminated, ReadError };

    CsvReader(QIODevice &file, char delimiter)
        : FFile(file), FDelimiter(delimiter),
          FBuffer(size_t(std::clamp<qint64>(file.size() - file.pos() + 1, 4096, qint64(1) << 20)))
    {
        if (file.peek(qint64(Utf8Bom.size())) == QByteArrayView(Utf8Bom.data(), qsizetype(Utf8Bom.size())))
            file.skip(qint64(Utf8Bom.size()));
        FConsumedBefore = file.pos();
    }

    /// The next record's fields, valid until the next call.
    Result Next(std::vector<std::string_view> &fields)
    {
        while (true) {
            const std::string_view text(FBuffer.data() + FBegin, FEnd - FBegin);
            if (text.empty() && FAtEnd)
                return End;
            const size_t length = Parse(text, fields);
            if (length > 0) {
                CheckUtf8Through(FBegin + length);
                FBegin += length;
                return Record;
            }
            if (FAtEnd)
                return Unterminated;
            if (!Refill())
                return ReadError;
        }
    }

    /// Whether the last record's bytes are valid UTF-8 (its fields then are too: they
    /// split it at ASCII bytes, and unquoting drops ASCII quotes only). False may also
    /// mean only that a record near it is not.
    bool RecordValidUtf8() const { return FCheckedValid; }
    /// Whether the last record read began with a quoted field.
    bool FirstFieldQuoted() const { return FFirstFieldQuoted; }
    /// The position in the file after the records read so far.
    qint64 Consumed() const { return FConsumedBefore + qint64(FBegin); }

private:
    /// Makes sure the buffer is checked for UTF-8 up to `recordEnd`. The check runs once
    /// for all the buffer holds, up to the start of its last character (which may not
    /// have been read whole); each record then shares the verdict of its block.
    void CheckUtf8Through(size_t recordEnd)
    {
        if (recordEnd <= FCheckedTo)
            return;
        size_t to = FEnd;
        if (!FAtEnd)
            for (size_t back = 0; back < 4 && to > FBegin; ++back)
                if ((static_cast<unsigned char>(FBuffer[--to]) & 0xC0) != 0x80)
                    break;
        to = std::max(to, recordEnd);
        FCheckedValid = IsValidUtf8(std::string_view(FBuffer.data() + FBegin, to - FBegin));
        FCheckedTo = to;
    }

    /// Moves the unread rest to the front, grows the buffer when the rest fills it, and
    /// reads on.
    bool Refill()
    {
        std::memmove(FBuffer.data(), FBuffer.data() + FBegin, FEnd - FBegin);
        FConsumedBefore += qint64(FBegin);
        FEnd -= FBegin;
        FBegin = 0;
        FCheckedTo = 0;
        if (FEnd == FBuffer.size())
            FBuffer.resize(2 * FBuffer.size());
        const qint64 read = FFile.read(FBuffer.data() + FEnd, qint64(FBuffer.size() - FEnd));
        if (read < 0)
            return false;
        FAtEnd = read == 0;
        FEnd += size_t(read);
        return true;
    }

    /// The length of the record at the start of `text` with its line end, its fields in
    /// `fields`; 0 when the text ends inside it and more of the file may follow, or when
    /// a quote is left open at the end of the file.
    size_t Parse(std::string_view text, std::vector<std::string_view> &fields)
    {
        const size_t n = text.size();
        FieldEndScanner fieldEnds(text, FDelimiter);
        size_t pos = 0;
        size_t quotedFields = 0;
        fields.clear();
        FFirstFieldQuoted = n > 0 && text[0] == '"';
        while (true) {
            if (pos < n && text[pos] == '"') {
                // One buffer per quoted field of a record, reused by the next records; a
                // deque keeps the texts in place while it grows, so the views stay valid.
                if (quotedFields == FUnquoted.size())
                    FUnquoted.emplace_back();
                std::string &field = FUnquoted[quotedFields++];
                field.clear();
                ++pos;
                while (true) {
                    const size_t quote = text.find('"', pos);
                    if (quote == std::string_view::npos)
                        return 0;
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
                const size_t end = fieldEnds.From(pos);
                field.append(text.substr(pos, end - pos));
                pos = end;
                fields.push_back(field);
            } else {
                const size_t end = fieldEnds.From(pos);
                fields.push_back(text.substr(pos, end - pos));
                pos = end;
            }
            // The text ends inside the record: at the end of the file that ends the last
            // record, which needs no line end; before it, the field may go on or a closing
            // quote may turn out to be doubled, so the record is read again with more.
            if (pos == n)
                return FAtEnd ? n : 0;
            if (text[pos] != FDelimiter)
                break;
            ++pos;
        }
        // A line end closes the record: CR LF, LF or CR.
        if (text[pos] == '\r' && pos + 1 == n && !FAtEnd)
            return 0; // an LF may follow
        return pos + ((text[pos] == '\r' && pos + 1 < n && text[pos + 1] == '\n') ? 2 : 1);
    }

    QIODevice &FFile;
    const char FDelimiter;
    std::vector<char> FBuffer;
    bool FFirstFieldQuoted = false;
    size_t FBegin = 0;
    size_t FEnd = 0;
    qint64 FConsumedBefore = 0;
    bool FAtEnd = false;
    size_t FCheckedTo = 0;
    bool FCheckedValid = true;
    std::deque<std::string> FUnquoted;
};

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
    static int Import(TRLData &d, QIODevice &file, char delimiter, bool IncludeColHeaders)
    {
        // One pass: records go straight into a matrix built aside, which is taken over
        // only when the whole file has been read.
        try {
            CsvReader reader(file, delimiter);
            const qint64 fileSize = file.size();
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
            qint64 records = 0;
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
            std::vector<std::string_view> fields;
            CsvReader::Result result;
            while ((result = reader.Next(fields)) == CsvReader::Record) {
                ++records;
                d.ReportReadProgress(reader.Consumed(), fileSize, percent);
                if (records == 1 && fields.size() == 2 && fields[0] == View(CommonHeaderMark)
                    && !reader.FirstFieldQuoted()) {
                    commonHeader = FromUtf8(fields[1]);
                    continue;
                }
                const int fieldCount = int(fields.size());
                widen(fieldCount);
                if (namesPending) {
                    namesPending = false;
                    names.resize(fields.size());
                    for (size_t field = 0; field < fields.size(); ++field)
                        names[field] = CutToLength(FromUtf8(fields[field]), TRLData::NameMax);
                    continue;
                }
                if (tooLarge)
                    continue;
                try {
                    if (!fits(width, rows + 1) && width > cols && fits(cols, rows + 1)) {
                        // The room kept for widening no longer fits; the table itself does.
                        matrix.Resize(cols, rows);
                        width = cols;
                    }
                    if (!fits(width, rows + 1)) {
                        tooLarge = true;
                        continue;
                    }
                    matrix.Resize(width, rows + 1);
                } catch (const std::exception &) {
                    tooLarge = true;
                    continue;
                }
                ++rows;
                cut += matrix.SetRowUtf8(rows, fields, reader.RecordValidUtf8());
            }
            if (result == CsvReader::ReadError)
                return isFileError;
            if (result == CsvReader::Unterminated)
                return isFormatError;
            if (records == 0)
                return isEmptyFile;
            if (tooLarge)
                return isBadRange;
            if (width != cols || rows == 0)
                matrix.Resize(cols, std::max(1, rows));
            const int namedCols = int(names.size());
            names.resize(size_t(cols));
            for (int col = namedCols + 1; col <= cols; ++col)
                names[size_t(col - 1)] = QStringLiteral("C-") + FormatInt(col);
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
    // The reader keeps its own buffer; a second one inside the file would copy every byte.
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return isFileError;
    return RLDataCsv::Import(*this, file, char(CSVDelimiterChar(Delimiter).unicode()), IncludeColHeaders);
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
    CsvWriter csv(file, delimiter);
    if (IncludeCommonHeader) {
        csv.Marker();
        csv.Field(View(FCommonHeader.toUtf8()));
        csv.EndRecord();
    }
    if (IncludeColHeaders) {
        for (int col = FirstCol; col <= LastCol; ++col)
            csv.Field(View(GetColName(col).toUtf8()));
        csv.EndRecord();
    }
    // Check-mark columns export their visible text, without the state character; the
    // others go out as stored, without a text per cell.
    std::vector<bool> visibleTextOnly;
    for (int col = FirstCol; col <= LastCol; ++col)
        visibleTextOnly.push_back(IsCheckColumn(col));
    std::vector<std::string_view> stored;
    const qint64 total = qint64(std::max(0, LastRow - FirstRow + 1)) * (LastCol - FirstCol + 1);
    for (int row = FirstRow; row <= LastRow; ++row) {
        FStrings->GetRowUtf8(row, stored);
        for (int col = FirstCol; col <= LastCol; ++col) {
            if (visibleTextOnly[size_t(col - FirstCol)])
                csv.Field(View(GetElem(col, row).toUtf8()));
            else
                csv.Field(stored[size_t(col)]);
        }
        csv.EndRecord();
        ReportProgress(qint64(row - FirstRow + 1) * (LastCol - FirstCol + 1), total);
        if (csv.Failed())
            return esFileError;
    }
    if (!csv.Flush() || !file.commit())
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
    // Each text is offered plain to BeforeHTMLExport, then escaped, then offered as HTML
    // to OnHTMLCellMarkup, the one place where an application adds markup on purpose.
    // Header cells are offered with row 0.
    const auto cellHtml = [this](QString text, int col, int row) {
        BeforeHTMLExport(text, col, row);
        QString markup = HtmlEscaped(text);
        if (OnHTMLCellMarkup)
            OnHTMLCellMarkup(this, markup, col, row);
        return markup;
    };
    QString html = QStringLiteral("<!DOCTYPE html>\n<html>\n<head><meta charset=\"utf-8\"></head>\n<body>\n");
    html += QStringLiteral("<table%1 border=\"%2\" cellspacing=\"%3\" cellpadding=\"%4\">\n")
                .arg(ClassAttribute(TableClass))
                .arg(Border)
                .arg(CellSpacing)
                .arg(Cellpadding);
    if (IncludeHeader) {
        html += QLatin1String("<tr>");
        for (int col : columns) {
            html += QStringLiteral("<th%1>%2</th>").arg(ClassAttribute(HeadClass), cellHtml(GetColName(col), col, 0));
        }
        html += QLatin1String("</tr>\n");
    }
    for (int row = LoR; row <= HiR; ++row) {
        html += QLatin1String("<tr>");
        for (int col : columns) {
            html += QStringLiteral("<td%1>%2</td>").arg(ClassAttribute(CellClass), cellHtml(GetElem(col, row), col, row));
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
