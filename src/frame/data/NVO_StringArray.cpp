#include "NVO_StringArray.h"

#include <QtCore/QMetaMethod>

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <new>
#include <string>
#include <string_view>
#include <utility>

namespace nvo {

QString CutToLength(const QString &S, int MaxLen)
{
    if (S.size() <= MaxLen)
        return S;
    int cut = std::max(0, MaxLen);
    if (cut > 0 && S.at(cut - 1).isHighSurrogate())
        --cut;
    return S.left(cut);
}

namespace {

/// The number reader on bytes: number texts are ASCII, so anything else is text.
bool ReadNumberBytes(std::string_view text, double &value)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (text.empty() || text.size() > 400)
        return false;
    char buffer[401];
    size_t n = 0;
    for (char ch : text) {
        if (ch == ',')
            ch = '.';
        // Only the characters of the decimal float syntax: this refuses "inf", "nan" and
        // hexadecimal forms that the converter would otherwise accept.
        if (!((ch >= '0' && ch <= '9') || ch == '.' || ch == '+' || ch == '-' || ch == 'e' || ch == 'E'))
            return false;
        buffer[n++] = ch;
    }
    const char *first = buffer;
    const char *last = buffer + n;
    // The converter takes no "+" sign; one is allowed in front of a mantissa.
    if (text.front() == '+') {
        ++first;
        if (first == last || *first == '-' || *first == '+')
            return false;
    }
    double parsed = 0;
    const auto [end, error] = std::from_chars(first, last, parsed, std::chars_format::general);
    if (error != std::errc() || end != last)
        return false;
    value = parsed;
    return true;
}

/// UTF-16 length of a valid UTF-8 text: one unit per lead byte, two for a 4-byte lead.
int Utf16Length(std::string_view bytes)
{
    int length = 0;
    for (unsigned char ch : bytes) {
        if ((ch & 0xC0) != 0x80)
            ++length;
        if (ch >= 0xF0)
            ++length;
    }
    return length;
}

constexpr int MaxColumns = 1 << 20;

/// A text as a cell stores it: cut to the longest a cell holds, as UTF-8 (an invalid
/// sequence read into the text has become U+FFFD).
QByteArray CellBytes(const QString &text)
{
    return CutToLength(text, ShortStringMax).toUtf8();
}

} // namespace

bool IsValidUtf8(std::string_view bytes)
{
    size_t i = 0;
    const size_t n = bytes.size();
    // Cell texts are mostly ASCII: eight bytes at a time until the first byte that is not.
    for (uint64_t word; i + 8 <= n; i += 8) {
        std::memcpy(&word, bytes.data() + i, sizeof word);
        if (word & 0x8080808080808080ULL)
            break;
    }
    while (i < n) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        size_t length;
        uint32_t code;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
            code = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            code = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            code = c & 0x07;
        } else {
            return false;
        }
        if (i + length > n)
            return false;
        for (size_t k = 1; k < length; ++k) {
            const unsigned char cc = static_cast<unsigned char>(bytes[i + k]);
            if ((cc & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (cc & 0x3F);
        }
        if ((length == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF)))
            || (length == 4 && (code < 0x10000 || code > 0x10FFFF)))
            return false;
        i += length;
    }
    return true;
}

bool ReadCellNumber(QStringView Text, double &Value)
{
    if (Text.size() > 400)
        return false;
    char bytes[400];
    for (qsizetype i = 0; i < Text.size(); ++i) {
        const char16_t ch = Text[i].unicode();
        if (ch > 127)
            return false;
        bytes[i] = char(ch);
    }
    return ReadNumberBytes(std::string_view(bytes, size_t(Text.size())), Value);
}

TStringArray::Cell::Cell() noexcept
{
    std::memset(FRaw, 0, sizeof FRaw);
}

TStringArray::Cell::~Cell()
{
    Release();
}

void TStringArray::Cell::MoveFrom(Cell &other) noexcept
{
    Release();
    std::memcpy(FRaw, other.FRaw, sizeof FRaw);
    std::memset(other.FRaw, 0, sizeof other.FRaw);
}

void TStringArray::Cell::Set(std::string_view bytes)
{
    if (bytes.size() <= InlineMax) {
        Release();
        CopyShort(bytes);
        FRaw[InlineMax] = static_cast<unsigned char>(bytes.size());
        return;
    }
    if (OnHeap() && HeapLength() == bytes.size()) {
        // A text rewritten at its length (a value edited in place, a column refilled)
        // keeps its block.
        std::memmove(HeapPointer(), bytes.data(), bytes.size());
        return;
    }
    char *block = static_cast<char *>(std::malloc(bytes.size()));
    if (!block)
        throw std::bad_alloc();
    std::memcpy(block, bytes.data(), bytes.size());
    Release();
    const uint16_t length = static_cast<uint16_t>(bytes.size());
    std::memcpy(FRaw, &block, sizeof block);
    std::memcpy(FRaw + sizeof block, &length, sizeof length);
    FRaw[InlineMax] = HeapTag;
}

/// Copies up to 15 bytes in place with two fixed-size moves that may overlap: the
/// in-place texts are the bulk of every file read, and a copy of variable length
/// would cost a library call per cell.
void TStringArray::Cell::CopyShort(std::string_view bytes) noexcept
{
    const size_t n = bytes.size();
    const char *source = bytes.data();
    if (n >= 8) {
        std::memcpy(FRaw, source, 8);
        std::memcpy(FRaw + n - 8, source + n - 8, 8);
    } else if (n >= 4) {
        std::memcpy(FRaw, source, 4);
        std::memcpy(FRaw + n - 4, source + n - 4, 4);
    } else if (n > 0) {
        FRaw[0] = static_cast<unsigned char>(source[0]);
        FRaw[n / 2] = static_cast<unsigned char>(source[n / 2]);
        FRaw[n - 1] = static_cast<unsigned char>(source[n - 1]);
    }
}

void TStringArray::Cell::Release() noexcept
{
    if (OnHeap())
        std::free(HeapPointer());
    std::memset(FRaw, 0, sizeof FRaw);
}

static_assert(sizeof(char *) + sizeof(uint16_t) < 15, "heap form must fit in a cell");

TStringArray::TStringArray(QObject *AOwner) : QObject(AOwner)
{
    FColAttrib.assign(1, 0);
}

TStringArray::~TStringArray() = default;

void TStringArray::SetAllocRowsBy(int Step)
{
    FAllocRowsBy = std::max(1, Step);
}

void TStringArray::ReserveRows(size_t Rows)
{
    if (Rows <= FRows.capacity() && Rows <= FRowAttrib.capacity() && Rows <= FOrder.capacity())
        return;
    // Geometric growth keeps appending one row at a time linear; the step is the floor.
    const size_t step = size_t(FAllocRowsBy);
    size_t capacity = std::max(Rows, FRows.capacity() + FRows.capacity() / 2);
    capacity = (capacity + step - 1) / step * step;
    FRows.reserve(capacity);
    FRowAttrib.reserve(capacity);
    FOrder.reserve(capacity);
}

void TStringArray::Resize(int Cols, int Rows)
{
    if (Cols < 0 || Rows < 0 || Cols > MaxColumns)
        throw ENVODStructError(QStringLiteral("TStringArray: impossible size %1 x %2").arg(Cols).arg(Rows));
    if (Cols == FNrOfCols && Rows == FNrOfRows)
        return;
    try {
        if (Cols == FNrOfCols && Rows > FNrOfRows) {
            // The common case, a table growing by appended rows: no cell moves.
            ReserveRows(size_t(Rows));
            for (int row = FNrOfRows; row < Rows; ++row) {
                FRows.emplace_back();
                FRowAttrib.push_back(0);
                FOrder.push_back(row);
            }
            const int oldRows = FNrOfRows;
            FNrOfRows = Rows;
            Announce(QRect(), FNrOfCols, oldRows);
            return;
        }

        // Everything is allocated before anything changes, so a failure keeps the old table.
        const int keptRows = std::min(Rows, FNrOfRows);
        std::vector<int32_t> newIndexOfStored(size_t(FNrOfRows), -1);
        for (int pos = 0; pos < keptRows; ++pos)
            newIndexOfStored[size_t(FOrder[size_t(pos)])] = 0;
        int next = 0;
        for (int32_t &index : newIndexOfStored)
            if (index == 0)
                index = next++;
        // newIndexOfStored maps kept stored rows to their new stored index, in entry order.
        std::vector<std::unique_ptr<Cell[]>> rows(static_cast<size_t>(Rows));
        std::vector<uint8_t> rowAttrib(size_t(Rows), 0);
        std::vector<int32_t> order(static_cast<size_t>(Rows));
        std::vector<uint8_t> colAttrib(size_t(Cols) + 1, 0);
        const bool reblock = Cols != FNrOfCols;
        for (int stored = 0; stored < FNrOfRows; ++stored) {
            const int32_t target = newIndexOfStored[size_t(stored)];
            if (target >= 0 && reblock && FRows[size_t(stored)])
                rows[size_t(target)].reset(new Cell[size_t(Cols) + 1]);
        }

        // From here on nothing allocates.
        const int keptCols = std::min(Cols, FNrOfCols);
        for (int stored = 0; stored < FNrOfRows; ++stored) {
            const int32_t target = newIndexOfStored[size_t(stored)];
            if (target < 0)
                continue;
            rowAttrib[size_t(target)] = FRowAttrib[size_t(stored)];
            if (!reblock) {
                rows[size_t(target)] = std::move(FRows[size_t(stored)]);
            } else if (FRows[size_t(stored)]) {
                for (int col = 0; col <= keptCols; ++col)
                    rows[size_t(target)][size_t(col)].MoveFrom(FRows[size_t(stored)][size_t(col)]);
            }
        }
        for (int pos = 0; pos < keptRows; ++pos)
            order[size_t(pos)] = newIndexOfStored[size_t(FOrder[size_t(pos)])];
        for (int pos = keptRows; pos < Rows; ++pos)
            order[size_t(pos)] = pos;
        std::copy_n(FColAttrib.begin(), size_t(keptCols) + 1, colAttrib.begin());

        FRows.swap(rows);
        FRowAttrib.swap(rowAttrib);
        FOrder.swap(order);
        FColAttrib.swap(colAttrib);
    } catch (const std::bad_alloc &) {
        throw ENVODStructError(QStringLiteral("TStringArray: not enough memory for %1 x %2").arg(Cols).arg(Rows));
    } catch (const std::length_error &) {
        throw ENVODStructError(QStringLiteral("TStringArray: not enough memory for %1 x %2").arg(Cols).arg(Rows));
    }
    const int oldCols = FNrOfCols;
    const int oldRows = FNrOfRows;
    FNrOfCols = Cols;
    FNrOfRows = Rows;
    // The kept cells stay where they were shown: only the size is news.
    Announce(QRect(), oldCols, oldRows);
}

void TStringArray::Clear()
{
    for (auto &row : FRows)
        row.reset();
    Announce(AllCells());
}

void TStringArray::Assign(const TStringArray &Source)
{
    if (&Source == this)
        return;
    try {
        std::vector<std::unique_ptr<Cell[]>> rows(Source.FRows.size());
        for (size_t stored = 0; stored < rows.size(); ++stored) {
            const Cell *source = Source.FRows[stored].get();
            if (!source)
                continue;
            rows[stored].reset(new Cell[size_t(Source.FNrOfCols) + 1]);
            for (int col = 0; col <= Source.FNrOfCols; ++col)
                rows[stored][size_t(col)].Set(source[col].Bytes());
        }
        std::vector<uint8_t> rowAttrib = Source.FRowAttrib;
        std::vector<uint8_t> colAttrib = Source.FColAttrib;
        std::vector<int32_t> order = Source.FOrder;
        FRows.swap(rows);
        FRowAttrib.swap(rowAttrib);
        FColAttrib.swap(colAttrib);
        FOrder.swap(order);
    } catch (const std::bad_alloc &) {
        throw ENVODStructError(QStringLiteral("TStringArray: not enough memory to copy %1 x %2")
                                  .arg(Source.FNrOfCols)
                                  .arg(Source.FNrOfRows));
    }
    const int oldCols = FNrOfCols;
    const int oldRows = FNrOfRows;
    FNrOfCols = Source.FNrOfCols;
    FNrOfRows = Source.FNrOfRows;
    FAllocRowsBy = Source.FAllocRowsBy;
    Announce(AllCells(), oldCols, oldRows);
}

TStringArray::Cell &TStringArray::WritableCell(int Col, int Row)
{
    auto &row = FRows[size_t(FOrder[size_t(Row - 1)])];
    if (!row)
        row.reset(new Cell[size_t(FNrOfCols) + 1]);
    return row[size_t(Col)];
}

QString TStringArray::GetString(int Col, int Row) const
{
    const Cell *cell = CellAt(Col, Row);
    if (!cell || cell->Empty())
        return QString();
    const std::string_view bytes = cell->Bytes();
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

void TStringArray::SetString(int Col, int Row, const QString &S)
{
    if (!ValidCell(Col, Row))
        return;
    if (S.isEmpty() && !CellAt(Col, Row))
        return;
    const QByteArray bytes = CellBytes(S);
    WritableCell(Col, Row).Set(std::string_view(bytes.constData(), size_t(bytes.size())));
    Announce(QRect(Col, Row, 1, 1));
}

void TStringArray::Swap(TStringArray &Other)
{
    const int oldCols = FNrOfCols;
    const int oldRows = FNrOfRows;
    std::swap(FNrOfCols, Other.FNrOfCols);
    std::swap(FNrOfRows, Other.FNrOfRows);
    std::swap(FAllocRowsBy, Other.FAllocRowsBy);
    FRows.swap(Other.FRows);
    FRowAttrib.swap(Other.FRowAttrib);
    FColAttrib.swap(Other.FColAttrib);
    FOrder.swap(Other.FOrder);
    Announce(AllCells(), oldCols, oldRows);
    Other.Announce(Other.AllCells(), FNrOfCols, FNrOfRows);
}

void TStringArray::GetRowUtf8(int Row, std::vector<std::string_view> &Utf8) const
{
    Utf8.clear();
    if (Row < 1 || Row > FNrOfRows)
        return;
    const Cell *row = FRows[size_t(FOrder[size_t(Row - 1)])].get();
    Utf8.resize(size_t(FNrOfCols) + 1);
    if (row)
        for (size_t col = 0; col < Utf8.size(); ++col)
            Utf8[col] = row[col].Bytes();
}

bool TStringArray::SetUtf8(int Col, int Row, std::string_view Utf8, bool CheckedUtf8)
{
    if (!ValidCell(Col, Row))
        return false;
    // The fast path takes text that is valid UTF-8 and short enough as it is; anything
    // else goes through QString, which repairs and cuts it.
    if (Utf8.size() <= size_t(ShortStringMax) && (CheckedUtf8 || IsValidUtf8(Utf8))) {
        if (Utf8.empty() && !FRows[size_t(FOrder[size_t(Row - 1)])])
            return false;
        WritableCell(Col, Row).Set(Utf8);
        Announce(QRect(Col, Row, 1, 1));
        return false;
    }
    const QString text = QString::fromUtf8(Utf8.data(), qsizetype(Utf8.size()));
    SetString(Col, Row, text);
    return text.size() > ShortStringMax;
}

int TStringArray::SetRowUtf8(int Row, const std::vector<std::string_view> &Utf8, bool CheckedUtf8)
{
    if (Row < 1 || Row > FNrOfRows)
        return 0;
    auto &row = FRows[size_t(FOrder[size_t(Row - 1)])];
    const size_t count = std::min(Utf8.size(), size_t(FNrOfCols));
    int cut = 0;
    int firstCol = 0, lastCol = 0; // the columns written, 0 for none
    for (size_t i = 0; i < count; ++i) {
        std::string_view text = Utf8[i];
        QByteArray repaired;
        if (text.size() > size_t(ShortStringMax) || (!CheckedUtf8 && !IsValidUtf8(text))) {
            const QString whole = QString::fromUtf8(text.data(), qsizetype(text.size()));
            cut += whole.size() > ShortStringMax ? 1 : 0;
            repaired = CellBytes(whole);
            text = std::string_view(repaired.constData(), size_t(repaired.size()));
        }
        if (text.empty() && !row)
            continue;
        if (!row)
            row.reset(new Cell[size_t(FNrOfCols) + 1]);
        row[i + 1].Set(text);
        firstCol = firstCol ? firstCol : int(i) + 1;
        lastCol = int(i) + 1;
    }
    // One announcement for the row, not one per cell.
    if (lastCol > 0)
        Announce(QRect(QPoint(firstCol, Row), QPoint(lastCol, Row)));
    return cut;
}

int TStringArray::GetLength(int Col, int Row) const
{
    const Cell *cell = CellAt(Col, Row);
    return cell ? Utf16Length(cell->Bytes()) : 0;
}

bool TStringArray::IsEmpty(int Col, int Row) const
{
    const Cell *cell = CellAt(Col, Row);
    return !cell || cell->Empty();
}

uint8_t TStringArray::GetRowAttrib(int Row) const
{
    if (Row < 1 || Row > FNrOfRows)
        return 0;
    return FRowAttrib[size_t(FOrder[size_t(Row - 1)])];
}

void TStringArray::SetRowAttrib(int Row, uint8_t B)
{
    if (Row >= 1 && Row <= FNrOfRows)
        FRowAttrib[size_t(FOrder[size_t(Row - 1)])] = B;
}

uint8_t TStringArray::GetColAttrib(int Col) const
{
    return Col >= 0 && Col <= FNrOfCols ? FColAttrib[size_t(Col)] : 0;
}

void TStringArray::SetColAttrib(int Col, uint8_t B)
{
    if (Col >= 0 && Col <= FNrOfCols)
        FColAttrib[size_t(Col)] = B;
}

void TStringArray::InsertRow(int Row)
{
    if (Row < 1 || Row > FNrOfRows + 1)
        return;
    CommitSorting();
    try {
        ReserveRows(size_t(FNrOfRows) + 1);
    } catch (const std::bad_alloc &) {
        throw ENVODStructError(QStringLiteral("TStringArray: not enough memory to insert a row"));
    }
    FRows.emplace(FRows.begin() + (Row - 1));
    FRowAttrib.insert(FRowAttrib.begin() + (Row - 1), uint8_t(0));
    FOrder.push_back(FNrOfRows);
    ++FNrOfRows;
    // The rows from the new one on show other texts than before.
    Announce(QRect(QPoint(0, Row), QPoint(FNrOfCols, FNrOfRows)), FNrOfCols, FNrOfRows - 1);
}

void TStringArray::RemoveRow(int Row)
{
    if (Row < 1 || Row > FNrOfRows)
        return;
    CommitSorting();
    FRows.erase(FRows.begin() + (Row - 1));
    FRowAttrib.erase(FRowAttrib.begin() + (Row - 1));
    FOrder.pop_back();
    --FNrOfRows;
    Announce(QRect(QPoint(0, Row), QPoint(FNrOfCols, FNrOfRows)), FNrOfCols, FNrOfRows + 1);
}

int TStringArray::RemoveRowsIf(const std::function<bool(int Row)> &Doomed)
{
    CommitSorting();
    std::vector<bool> doomed(static_cast<size_t>(FNrOfRows));
    int firstDoomed = 0;
    for (int row = 1; row <= FNrOfRows; ++row) {
        doomed[size_t(row - 1)] = Doomed(row);
        if (doomed[size_t(row - 1)] && firstDoomed == 0)
            firstDoomed = row;
    }
    size_t kept = 0;
    for (size_t stored = 0; stored < doomed.size(); ++stored) {
        if (doomed[stored])
            continue;
        FRows[kept] = std::move(FRows[stored]);
        FRowAttrib[kept] = FRowAttrib[stored];
        ++kept;
    }
    const int removed = FNrOfRows - int(kept);
    if (removed == 0)
        return 0;
    FRows.resize(kept);
    FRowAttrib.resize(kept);
    FOrder.resize(kept);
    const int oldRows = FNrOfRows;
    FNrOfRows = int(kept);
    Announce(QRect(QPoint(0, firstDoomed), QPoint(FNrOfCols, FNrOfRows)), FNrOfCols, oldRows);
    return removed;
}

bool TStringArray::IsSorted() const
{
    for (size_t pos = 0; pos < FOrder.size(); ++pos)
        if (FOrder[pos] != int32_t(pos))
            return true;
    return false;
}

int TStringArray::GetSortOrder(int Pos) const
{
    return Pos >= 1 && Pos <= FNrOfRows ? FOrder[size_t(Pos - 1)] + 1 : -1;
}

void TStringArray::SetSortOrder(int Pos, int Row)
{
    if (Pos >= 1 && Pos <= FNrOfRows && Row >= 1 && Row <= FNrOfRows)
        FOrder[size_t(Pos - 1)] = Row - 1;
}

void TStringArray::UnSort()
{
    for (size_t pos = 0; pos < FOrder.size(); ++pos)
        FOrder[pos] = int32_t(pos);
    Announce(AllCells());
}

void TStringArray::CommitSorting()
{
    if (!IsSorted())
        return;
    try {
        const size_t n = FRows.size();
        std::vector<int32_t> firstShownAt(n, -1);
        std::vector<std::unique_ptr<Cell[]>> rows(n);
        std::vector<uint8_t> rowAttrib(n);
        // A mapping written entry by entry may show one stored row twice; the later
        // showings get copies, so no shown row is left without its cells. (A stored row
        // that such a mapping never shows is gone after the commit, as it was from view.)
        for (size_t pos = 0; pos < n; ++pos) {
            const size_t stored = size_t(FOrder[pos]);
            rowAttrib[pos] = FRowAttrib[stored];
            if (firstShownAt[stored] < 0) {
                firstShownAt[stored] = int32_t(pos);
            } else if (FRows[stored]) {
                rows[pos].reset(new Cell[size_t(FNrOfCols) + 1]);
                for (int col = 0; col <= FNrOfCols; ++col)
                    rows[pos][size_t(col)].Set(FRows[stored][size_t(col)].Bytes());
            }
        }
        for (size_t stored = 0; stored < n; ++stored)
            if (firstShownAt[stored] >= 0)
                rows[size_t(firstShownAt[stored])] = std::move(FRows[stored]);
        FRows.swap(rows);
        FRowAttrib.swap(rowAttrib);
    } catch (const std::bad_alloc &) {
        throw ENVODStructError(QStringLiteral("TStringArray: not enough memory to reorder the rows"));
    }
    for (size_t pos = 0; pos < FOrder.size(); ++pos)
        FOrder[pos] = int32_t(pos);
}

namespace {

/// One sort key, read once per row and key column before the sort. Its class decides
/// first (empty texts, then numbers, then other texts); within a class `prefix` decides
/// most comparisons: a number's bits in an order that compares as the numbers do, or a
/// text's first eight case-folded bytes, most significant first. A short ASCII text is
/// `complete`: its exact bytes in `exact` then settle a tie in the prefix as well.
struct SortKey
{
    enum Class : uint8_t { Empty, Number, Text };
    uint64_t prefix = 0;
    uint64_t exact = 0;
    std::string_view text;
    std::string_view folded; // empty for ASCII texts, which are folded while comparing
    Class kind = Empty;
    bool complete = false;
};

/// Unsigned bits of a double that order as the doubles do (no NaN reaches here).
uint64_t OrderedBits(double value)
{
    if (value == 0)
        value = 0; // -0 and 0 are equal keys
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    constexpr uint64_t sign = uint64_t(1) << 63;
    return (bits & sign) ? ~bits : bits | sign;
}

/// The text a key orders by: its case-folded form, or the text itself when it is ASCII
/// (folded byte by byte while reading).
std::string_view FoldedSource(const SortKey &key)
{
    return key.folded.empty() ? key.text : key.folded;
}

/// Eight case-folded bytes of a text key from byte `offset` on, most significant first,
/// zero bytes past its end.
uint64_t FoldedChunk(const SortKey &key, size_t offset)
{
    const std::string_view source = FoldedSource(key);
    uint64_t chunk = 0;
    for (size_t i = offset; i < offset + 8; ++i) {
        unsigned char c = i < source.size() ? static_cast<unsigned char>(source[i]) : 0;
        if (key.folded.empty() && c >= 'A' && c <= 'Z')
            c = c - 'A' + 'a';
        chunk = (chunk << 8) | c;
    }
    return chunk;
}

bool IsAscii(std::string_view bytes)
{
    for (char ch : bytes)
        if (static_cast<unsigned char>(ch) > 127)
            return false;
    return true;
}

SortKey ReadSortKey(std::string_view text, std::deque<std::string> &ownedTexts)
{
    SortKey key;
    key.text = text;
    double number = 0;
    if (text.empty()) {
        key.complete = true;
    } else if (ReadNumberBytes(text, number)) {
        key.kind = SortKey::Number;
        key.prefix = OrderedBits(number);
        key.complete = true;
    } else {
        key.kind = SortKey::Text;
        if (!IsAscii(text)) {
            const QString unfolded = QString::fromUtf8(text.data(), qsizetype(text.size()));
            key.folded = ownedTexts.emplace_back(unfolded.toCaseFolded().toUtf8().toStdString());
        }
        key.prefix = FoldedChunk(key, 0);
        // Eight ASCII bytes without NUL: zero padding then orders shorter texts first,
        // just as comparing the whole texts does.
        key.complete = key.folded.empty() && text.size() <= 8 && text.find('\0') == std::string_view::npos;
        if (key.complete)
            for (size_t i = 0; i < 8; ++i)
                key.exact = (key.exact << 8) | (i < text.size() ? uint8_t(text[i]) : 0);
    }
    return key;
}

int CompareFolded(const SortKey &a, const SortKey &b)
{
    const std::string_view x = FoldedSource(a);
    const std::string_view y = FoldedSource(b);
    const size_t n = std::min(x.size(), y.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char cx = static_cast<unsigned char>(x[i]);
        unsigned char cy = static_cast<unsigned char>(y[i]);
        if (a.folded.empty() && cx >= 'A' && cx <= 'Z')
            cx = cx - 'A' + 'a';
        if (b.folded.empty() && cy >= 'A' && cy <= 'Z')
            cy = cy - 'A' + 'a';
        if (cx != cy)
            return cx < cy ? -1 : 1;
    }
    return x.size() == y.size() ? 0 : (x.size() < y.size() ? -1 : 1);
}

/// The order of two keys: class, then number or case-folded text, then exact text.
int CompareKeys(const SortKey &a, const SortKey &b)
{
    if (a.kind != b.kind)
        return a.kind < b.kind ? -1 : 1;
    // Prefixes that differ decide; equal ones (padding included) need the whole keys.
    if (a.prefix != b.prefix)
        return a.prefix < b.prefix ? -1 : 1;
    if (a.kind != SortKey::Text)
        return 0; // an empty text or a number is its prefix
    if (a.complete && b.complete)
        return a.exact == b.exact ? 0 : (a.exact < b.exact ? -1 : 1);
    if (const int folded = CompareFolded(a, b))
        return folded;
    const int exact = a.text.compare(b.text);
    return exact < 0 ? -1 : (exact > 0 ? 1 : 0);
}

/// A row as the radix passes move it, with the class and prefix of the key column being
/// sorted, both turned around for a descending sort.
struct RadixItem
{
    uint64_t prefix = 0;
    int32_t row = 0;
    uint8_t kind = 0;
};

/// Below this many rows a comparison sort is quicker than the radix passes' counting.
constexpr size_t RadixMinimum = 256;

/// Stable least-significant-digit radix sort by class and prefix: one byte of the prefix
/// per pass, the class last. A pass whose digit is the same for every item is skipped.
void RadixSort(RadixItem *items, RadixItem *buffer, size_t n)
{
    constexpr int Digits = 9;
    const auto digit = [](const RadixItem &item, int d) {
        return d < 8 ? unsigned(item.prefix >> (8 * d)) & 0xFF : unsigned(item.kind);
    };
    std::vector<std::array<uint32_t, 256>> counts(Digits);
    for (size_t i = 0; i < n; ++i)
        for (int d = 0; d < Digits; ++d)
            ++counts[size_t(d)][digit(items[i], d)];
    RadixItem *from = items, *to = buffer;
    for (int d = 0; d < Digits; ++d) {
        std::array<uint32_t, 256> &count = counts[size_t(d)];
        if (count[digit(from[0], d)] == n)
            continue;
        uint32_t offset = 0;
        for (uint32_t &c : count)
            offset += std::exchange(c, offset);
        for (size_t i = 0; i < n; ++i)
            to[count[digit(from[i], d)]++] = from[i];
        std::swap(from, to);
    }
    if (from != items)
        std::copy_n(from, n, items);
}

/// Sorts rows by their key columns: the radix passes over class and prefix of one
/// column, whole comparisons only inside the runs that tie there, and the next column
/// only inside the runs that tie on the whole key. Every step is stable, so rows with
/// equal keys keep the order they came in, in both directions.
class RowSorter
{
public:
    RowSorter(const std::vector<SortKey> &keys, int keysPerRow, bool ascending)
        : FKeys(keys.data()), FKeysPerRow(keysPerRow), FAscending(ascending)
    {
    }

    /// Sorts `items`, which come in entry order, by key column `k` and those after it;
    /// `buffer` has room for as many items.
    void SortFrom(RadixItem *first, RadixItem *last, RadixItem *buffer, int k) const
    {
        const size_t n = size_t(last - first);
        if (n < 2 || k == FKeysPerRow)
            return;
        for (RadixItem *item = first; item != last; ++item) {
            const SortKey &key = Key(item->row, k);
            item->prefix = FAscending ? key.prefix : ~key.prefix;
            item->kind = FAscending ? uint8_t(key.kind) : uint8_t(SortKey::Text - key.kind);
        }
        if (n >= RadixMinimum)
            RadixSort(first, buffer, n);
        else
            std::stable_sort(first, last, [](const RadixItem &a, const RadixItem &b) {
                return a.kind != b.kind ? a.kind < b.kind : a.prefix < b.prefix;
            });
        for (RadixItem *run = first; run != last;) {
            RadixItem *runEnd = run + 1;
            while (runEnd != last && runEnd->kind == run->kind && runEnd->prefix == run->prefix)
                ++runEnd;
            SortTies(run, runEnd, buffer + (run - first), k);
            run = runEnd;
        }
    }

private:
    const SortKey &Key(int32_t row, int k) const { return FKeys[size_t(row) * size_t(FKeysPerRow) + size_t(k)]; }
    int Compare(int32_t a, int32_t b, int k) const
    {
        const int c = CompareKeys(Key(a, k), Key(b, k));
        return FAscending ? c : -c;
    }

    /// Orders a run that ties on class and prefix of column `k`. Texts that tie there are
    /// told apart eight folded bytes at a time before whole keys are compared, so keys
    /// with a long common start ("Customer 00017") still sort by radix passes.
    void SortTies(RadixItem *first, RadixItem *last, RadixItem *buffer, int k) const
    {
        if (last - first < 2)
            return;
        if (Key(first->row, k).kind == SortKey::Text)
            SortTextTies(first, last, buffer, k, 8);
        else
            SortByWholeKeys(first, last, buffer, k);
    }

    /// Orders a run of texts whose folded bytes before `offset` are equal.
    void SortTextTies(RadixItem *first, RadixItem *last, RadixItem *buffer, int k, size_t offset) const
    {
        for (;; offset += 8) {
            if (last - first < 2)
                return;
            // Past the longest text, the chunks (zero padding) tell nothing more.
            size_t longest = 0;
            for (const RadixItem *item = first; item != last; ++item)
                longest = std::max(longest, FoldedSource(Key(item->row, k)).size());
            if (longest <= offset)
                return SortByWholeKeys(first, last, buffer, k);
            bool allEqual = true;
            for (RadixItem *item = first; item != last; ++item) {
                const uint64_t chunk = FoldedChunk(Key(item->row, k), offset);
                item->prefix = FAscending ? chunk : ~chunk;
                allEqual = allEqual && item->prefix == first->prefix;
            }
            if (!allEqual)
                break;
        }
        const size_t n = size_t(last - first);
        if (n >= RadixMinimum)
            RadixSort(first, buffer, n);
        else
            std::stable_sort(first, last, [](const RadixItem &a, const RadixItem &b) { return a.prefix < b.prefix; });
        for (RadixItem *run = first; run != last;) {
            RadixItem *runEnd = run + 1;
            while (runEnd != last && runEnd->prefix == run->prefix)
                ++runEnd;
            SortTextTies(run, runEnd, buffer + (run - first), k, offset + 8);
            run = runEnd;
        }
    }

    /// Orders a run by the whole keys of column `k`, then each run of equal keys by the
    /// next column.
    void SortByWholeKeys(RadixItem *first, RadixItem *last, RadixItem *buffer, int k) const
    {
        const auto less = [this, k](const RadixItem &a, const RadixItem &b) { return Compare(a.row, b.row, k) < 0; };
        // Most such runs hold one key many times: the check spares them a sort.
        if (!std::is_sorted(first, last, less))
            std::stable_sort(first, last, less);
        for (RadixItem *run = first; run != last;) {
            RadixItem *runEnd = run + 1;
            while (runEnd != last && Compare(run->row, runEnd->row, k) == 0)
                ++runEnd;
            SortFrom(run, runEnd, buffer + (run - first), k + 1);
            run = runEnd;
        }
    }

    const SortKey *FKeys;
    int FKeysPerRow;
    bool FAscending;
};

} // namespace

void TStringArray::Sort(int Col, int ColSec, bool Ascending)
{
    if (Col < 0 || Col > FNrOfCols || FNrOfRows == 0)
        return;
    const bool secondary = ColSec >= 0 && ColSec <= FNrOfCols;
    const int keysPerRow = secondary ? 2 : 1;
    const size_t rows = size_t(FNrOfRows);
    std::vector<SortKey> keys(rows * size_t(keysPerRow));
    std::deque<std::string> ownedTexts; // keys replaced by the handler, folded texts

    // Whether anyone rewrites keys is asked once: building the texts for nobody would
    // cost more than the sort itself.
    const bool rewriteKeys = OnBeforeSortExchange || isSignalConnected(QMetaMethod::fromSignal(&TStringArray::BeforeSortExchange));
    const int step = FNrOfRows / 100 + 1;
    for (size_t stored = 0; stored < rows; ++stored) {
        if (int(stored) % step == 0)
            ReportPercent(int(stored * 100 / rows));
        for (int k = 0; k < keysPerRow; ++k) {
            const int col = k == 0 ? Col : ColSec;
            const Cell *row = FRows[stored].get();
            std::string_view text = row ? row[col].Bytes() : std::string_view();
            if (rewriteKeys) {
                const QString original = QString::fromUtf8(text.data(), qsizetype(text.size()));
                QString replaced = original;
                RewriteSortKey(original, replaced);
                if (replaced != original)
                    text = ownedTexts.emplace_back(replaced.toUtf8().toStdString());
            }
            keys[stored * size_t(keysPerRow) + size_t(k)] = ReadSortKey(text, ownedTexts);
        }
    }

    std::vector<RadixItem> items(rows), buffer(rows);
    for (size_t stored = 0; stored < rows; ++stored)
        items[stored].row = int32_t(stored);
    RowSorter(keys, keysPerRow, Ascending).SortFrom(items.data(), items.data() + rows, buffer.data(), 0);
    std::vector<int32_t> order(rows);
    for (size_t pos = 0; pos < rows; ++pos)
        order[pos] = items[pos].row;
    FOrder.swap(order);
    ReportPercent(100);
    Announce(AllCells());
}

void TStringArray::BeginUpdate()
{
    if (FUpdateDepth++ > 0)
        return;
    FUpdateCols = FNrOfCols;
    FUpdateRows = FNrOfRows;
    FUpdateCells = QRect();
    FUpdateChanged = false;
}

void TStringArray::EndUpdate()
{
    if (FUpdateDepth == 0 || --FUpdateDepth > 0 || !FUpdateChanged)
        return;
    Announce(FUpdateCells, FUpdateCols, FUpdateRows);
}

void TStringArray::Tell(QRect Cells, int OldCols, int OldRows)
{
    if (signalsBlocked())
        return;
    if (FUpdateDepth > 0) {
        if (!Cells.isEmpty())
            FUpdateCells |= Cells;
        FUpdateChanged = true;
        return;
    }
    if (FChangesConnected) {
        if (OldCols != FNrOfCols || OldRows != FNrOfRows)
            Q_EMIT SizeChanged(OldCols, OldRows, FNrOfCols, FNrOfRows);
        // A range gathered over an update may reach rows removed since.
        Cells &= AllCells();
        if (!Cells.isEmpty())
            Q_EMIT CellsChanged(Cells.left(), Cells.top(), Cells.right(), Cells.bottom());
    }
    if (OnChange)
        OnChange(this);
}

void TStringArray::connectNotify(const QMetaMethod &Signal)
{
    if (Signal == QMetaMethod::fromSignal(&TStringArray::CellsChanged)
        || Signal == QMetaMethod::fromSignal(&TStringArray::SizeChanged))
        FChangesConnected = true;
}

void TStringArray::ReportPercent(int Percent)
{
    Q_EMIT PercentDone(Percent);
    if (OnPercentDone)
        OnPercentDone(this, Percent);
}

void TStringArray::RewriteSortKey(const QString &Text, QString &ExchgText)
{
    Q_EMIT BeforeSortExchange(Text, ExchgText);
    if (OnBeforeSortExchange)
        OnBeforeSortExchange(this, Text, ExchgText);
}

} // namespace nvo
