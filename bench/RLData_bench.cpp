// The report data store at the sizes a report list meets in practice: a million rows of
// eight columns. Each benchmark sets the store against the plain work it cannot avoid
// (the same sort on prepared keys, the same bytes written and read raw) or against
// itself at a tenth of the size, to show growth is linear.
#include "BenchRatio.h"
#include "NVO_replist.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QSaveFile>
#include <QtCore/QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <malloc.h>
#include <numeric>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int Columns = 8;

/// A word of 4..12 letters, mixed case, from a fixed seed.
std::string Word(std::mt19937 &random)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::string word(4 + random() % 9, ' ');
    for (char &ch : word)
        ch = letters[random() % 52];
    return word;
}

/// `rows` x 8 cells; column 1 draws from 1000 words, so the secondary column decides ties.
void Fill(nvo::TRLData &d, int rows)
{
    std::mt19937 random(42);
    std::vector<std::string> common(1000);
    for (std::string &word : common)
        word = Word(random);
    d.SetNrCols(Columns);
    d.SetNrRows(rows);
    for (int row = 1; row <= rows; ++row) {
        d.Strings().SetUtf8(1, row, common[random() % common.size()]);
        for (int col = 2; col <= Columns; ++col)
            d.Strings().SetUtf8(col, row, Word(random));
    }
}

double Seconds(Clock::duration duration)
{
    return std::chrono::duration<double>(duration).count();
}

/// Reports a ratio measured by hand (when set-up must stay out of the timing).
void Report(benchmark::State &state, double ratio, double goal)
{
    state.counters["ratio"] = ratio;
    state.counters["goal"] = goal;
}

/// Seconds it takes to append `rows` rows of eight cells one row at a time. Each count
/// starts from a heap trimmed back to the system: otherwise the smaller count reuses the
/// pages the last round left warm while the larger one pays for new ones, and the ratio
/// would measure the allocator rather than the growth.
double AppendRowsSeconds(int rows)
{
    malloc_trim(0);
    const auto start = Clock::now();
    nvo::TRLData d;
    d.SetNrCols(Columns);
    const QString text = QStringLiteral("cell text");
    for (int row = 1; row <= rows; ++row) {
        d.SetNrRows(row);
        for (int col = 1; col <= Columns; ++col)
            d.SetElem(col, row, text);
    }
    benchmark::DoNotOptimize(d.GetNrOfRows());
    return Seconds(Clock::now() - start);
}

void BM_RLDataAppend1MRowsVs100k(benchmark::State &state)
{
    double small = 0, large = 0;
    for (auto _ : state) {
        small += AppendRowsSeconds(100000);
        large += AppendRowsSeconds(1000000);
    }
    Report(state, large / small, 12.0);
}
BENCHMARK(BM_RLDataAppend1MRowsVs100k)->Unit(benchmark::kMillisecond)->Iterations(3);

/// The reference sort: the same order (case-folded text, exact text as tie-break, then
/// the secondary column) by std::stable_sort of an index over keys prepared beforehand.
struct PreparedKey
{
    std::string folded, exact;
};

void BM_RLDataSortVsStableSortOfPreparedKeys(benchmark::State &state)
{
    nvo::TRLData d;
    const int rows = 1000000;
    Fill(d, rows);
    std::vector<PreparedKey> keys(size_t(rows) * 2);
    for (int row = 1; row <= rows; ++row)
        for (int k = 0; k < 2; ++k) {
            PreparedKey &key = keys[size_t(row - 1) * 2 + size_t(k)];
            key.exact = std::string(d.Strings().GetUtf8(k + 1, row));
            key.folded = key.exact;
            std::transform(key.folded.begin(), key.folded.end(), key.folded.begin(),
                           [](unsigned char c) { return char(std::tolower(c)); });
        }
    std::vector<int32_t> index(static_cast<size_t>(rows));
    nvo::bench::MeasureRatio(
        state, 0.7,
        [&] {
            std::iota(index.begin(), index.end(), 0);
            std::stable_sort(index.begin(), index.end(), [&](int32_t a, int32_t b) {
                for (int k = 0; k < 2; ++k) {
                    const PreparedKey &x = keys[size_t(a) * 2 + size_t(k)];
                    const PreparedKey &y = keys[size_t(b) * 2 + size_t(k)];
                    if (const int c = x.folded.compare(y.folded))
                        return c < 0;
                    if (const int c = x.exact.compare(y.exact))
                        return c < 0;
                }
                return false;
            });
        },
        [&] { d.Sort(1, 2, true); });
    benchmark::DoNotOptimize(index.data());
}
BENCHMARK(BM_RLDataSortVsStableSortOfPreparedKeys)->Unit(benchmark::kMillisecond)->Iterations(5);

QByteArray ReadFile(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    file.commit();
}

/// The raw reading of a CSV: the bytes, split into fields at delimiters and line ends.
qint64 RawSplit(const QByteArray &bytes)
{
    qint64 fields = 0;
    size_t start = 0;
    const std::string_view text(bytes.constData(), size_t(bytes.size()));
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == ';' || text[i] == '\n') {
            fields += i > start ? 1 : 0;
            start = i + 1;
        }
    return fields;
}

void BM_RLDataCsvExportVsRawWrite(benchmark::State &state)
{
    QTemporaryDir dir;
    nvo::TRLData d;
    Fill(d, 1000000);
    const QString ours = dir.filePath(QStringLiteral("ours.csv"));
    const QString raw = dir.filePath(QStringLiteral("raw.csv"));
    d.ExportCSV(ours, nvo::cdSemicolon, true, false, 1, 1, Columns, d.GetNrOfRows());
    const QByteArray bytes = ReadFile(ours);
    nvo::bench::MeasureRatio(
        state, 2.0, [&] { WriteFile(raw, bytes); },
        [&] { d.ExportCSV(ours, nvo::cdSemicolon, true, false, 1, 1, Columns, d.GetNrOfRows()); });
}
BENCHMARK(BM_RLDataCsvExportVsRawWrite)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_RLDataCsvImportVsRawReadAndSplit(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("in.csv"));
    {
        nvo::TRLData d;
        Fill(d, 1000000);
        d.ExportCSV(path, nvo::cdSemicolon, true, false, 1, 1, Columns, d.GetNrOfRows());
    }
    qint64 fields = 0;
    nvo::bench::MeasureRatio(
        state, 2.0, [&] { fields += RawSplit(ReadFile(path)); },
        [&] {
            nvo::TRLData d;
            d.ImportCSV(path, nvo::cdSemicolon, true);
            benchmark::DoNotOptimize(d.GetNrOfRows());
        });
    benchmark::DoNotOptimize(fields);
}
BENCHMARK(BM_RLDataCsvImportVsRawReadAndSplit)->Unit(benchmark::kMillisecond)->Iterations(5);

/// Memory of a loaded store against its content: heap in use after an import, over
/// 1.5 times the cell bytes plus 16 bytes per cell.
void BM_RLDataCsvLoadedMemoryVsCellBytes(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("in.csv"));
    qint64 cellBytes = 0;
    const qint64 cells = qint64(1000000) * (Columns + 1);
    {
        nvo::TRLData d;
        Fill(d, 1000000);
        for (int row = 1; row <= d.GetNrOfRows(); ++row)
            for (int col = 1; col <= Columns; ++col)
                cellBytes += qint64(d.Strings().GetUtf8(col, row).size());
        d.ExportCSV(path, nvo::cdSemicolon, true, false, 1, 1, Columns, d.GetNrOfRows());
    }
    double ratio = 0;
    for (auto _ : state) {
        malloc_trim(0);
        const size_t before = mallinfo2().uordblks;
        auto d = std::make_unique<nvo::TRLData>();
        d->ImportCSV(path, nvo::cdSemicolon, true);
        const size_t after = mallinfo2().uordblks;
        ratio = double(after - before) / (1.5 * double(cellBytes) + 16.0 * double(cells));
    }
    Report(state, ratio, 1.0);
}
BENCHMARK(BM_RLDataCsvLoadedMemoryVsCellBytes)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_RLDataXmlSaveLoadVsRawWriteRead(benchmark::State &state)
{
    QTemporaryDir dir;
    nvo::TRLData d;
    Fill(d, 1000000 / Columns); // a million cells
    const QString ours = dir.filePath(QStringLiteral("ours.xml"));
    const QString raw = dir.filePath(QStringLiteral("raw.xml"));
    d.SaveAsXMLFile(ours, QStringLiteral("bench"));
    const QByteArray bytes = ReadFile(ours);
    qint64 read = 0;
    nvo::bench::MeasureRatio(
        state, 3.0,
        [&] {
            WriteFile(raw, bytes);
            read += ReadFile(raw).size();
        },
        [&] {
            d.SaveAsXMLFile(ours, QStringLiteral("bench"));
            nvo::TRLData back;
            back.LoadFromXMLFile(ours, QStringLiteral("bench"));
            benchmark::DoNotOptimize(back.GetNrOfRows());
        });
    benchmark::DoNotOptimize(read);
}
BENCHMARK(BM_RLDataXmlSaveLoadVsRawWriteRead)->Unit(benchmark::kMillisecond)->Iterations(5);

/// Seconds RemoveEmptyRows takes on `rows` rows of which every second one is empty.
double RemoveEmptyRowsSeconds(int rows)
{
    nvo::TRLData d;
    d.SetNrCols(Columns);
    d.SetNrRows(rows);
    for (int row = 1; row <= rows; row += 2)
        d.SetElem(1 + row % Columns, row, QStringLiteral("kept"));
    const auto start = Clock::now();
    d.RemoveEmptyRows();
    const double seconds = Seconds(Clock::now() - start);
    benchmark::DoNotOptimize(d.GetNrOfRows());
    return seconds;
}

void BM_RLDataRemoveEmptyRows1MVs100k(benchmark::State &state)
{
    double small = 0, large = 0;
    for (auto _ : state) {
        state.PauseTiming();
        small += RemoveEmptyRowsSeconds(100000);
        large += RemoveEmptyRowsSeconds(1000000);
        state.ResumeTiming();
    }
    Report(state, large / small, 12.0);
}
BENCHMARK(BM_RLDataRemoveEmptyRows1MVs100k)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
