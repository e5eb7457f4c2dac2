// The table editor's block operations against the plain standard-library work they
// come down to: copying a 1000 x 1000 block as text against std::to_chars over the
// same values, extracting that text back against std::from_chars over it, and sorting
// a million rows against std::stable_sort of an index.
#include "BenchRatio.h"
#include "NVO_ntabed.h"

#include <QtGui/QClipboard>
#include <QtGui/QGuiApplication>

#include <algorithm>
#include <charconv>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kBlockSize = 1000;
constexpr int kSortRows = 1'000'000;

double Sample(int col, int row) { return (col * 1.25 - row * 0.001) * (row % 7 == 0 ? 1e-5 : 1e3); }

/// The editor's copy text written with std::to_chars: the same separators and the
/// same 14 significant digits in scientific form.
std::string ToCharsText(const std::vector<double> &values)
{
    std::string text;
    text.reserve(values.size() * 24);
    char buffer[32];
    for (size_t i = 0; i < values.size(); ++i) {
        text += i % kBlockSize == 0 ? ' ' : '\t';
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, values[i], std::chars_format::scientific, 13);
        text.append(buffer, end.ptr);
        if (i % kBlockSize == kBlockSize - 1)
            text += "\r\n";
    }
    return text;
}

/// Every number of the text read with std::from_chars, skipping what cannot start one.
double FromCharsSum(const std::string &text)
{
    double sum = 0;
    const char *p = text.data();
    const char *const end = p + text.size();
    while (p < end) {
        if (*p == '-' || *p == '+' || *p == '.' || (*p >= '0' && *p <= '9')) {
            double value = 0;
            p = std::from_chars(p + (*p == '+'), end, value).ptr;
            sum += value;
        } else {
            ++p;
        }
    }
    return sum;
}

void FillBlock(nvo::TNTabEd &editor, std::vector<double> &values)
{
    editor.SetSuppressPaint(true);
    editor.Redimension(kBlockSize, kBlockSize);
    for (int row = 1; row <= kBlockSize; ++row)
        for (int col = 1; col <= kBlockSize; ++col) {
            editor.SetElem(col, row, Sample(col, row));
            values.push_back(Sample(col, row));
        }
    editor.SetSuppressPaint(false);
    editor.SetSelection({2, 1, kBlockSize + 1, kBlockSize});
}

void BM_NTabEdCopyBlockVsToChars(benchmark::State &state)
{
    nvo::TNTabEd editor;
    std::vector<double> values;
    FillBlock(editor, values);
    std::string reference;
    nvo::bench::MeasureRatio(
        state, 2.0, [&] { benchmark::DoNotOptimize(reference = ToCharsText(values)); },
        [&] { editor.PopupMenuClickCopy(); });
}
BENCHMARK(BM_NTabEdCopyBlockVsToChars)->Unit(benchmark::kMillisecond);

void BM_NTabEdExtractVsFromChars(benchmark::State &state)
{
    nvo::TNTabEd editor;
    std::vector<double> values;
    FillBlock(editor, values);
    editor.PopupMenuClickCopy();
    const std::string text = QGuiApplication::clipboard()->text().toStdString();
    editor.SetSelection({2, 1, 2, 1});
    nvo::bench::MeasureRatio(
        state, 2.0, [&] { benchmark::DoNotOptimize(FromCharsSum(text)); }, [&] { editor.PopupMenuClickExtClip(); });
}
BENCHMARK(BM_NTabEdExtractVsFromChars)->Unit(benchmark::kMillisecond);

void BM_NTabEdSortMillionRowsVsStableSort(benchmark::State &state)
{
    // Two columns of independent random keys: sorting by one leaves the other in
    // random order, so every sort, alternating between them, starts from a shuffle.
    nvo::TNTabEd editor;
    editor.Redimension(2, kSortRows);
    std::mt19937_64 random(42);
    std::uniform_real_distribution<double> uniform(-1e6, 1e6);
    std::vector<double> keys[2];
    editor.SetSuppressPaint(true);
    for (int row = 1; row <= kSortRows; ++row)
        for (int col = 1; col <= 2; ++col) {
            keys[col - 1].push_back(uniform(random));
            editor.SetElem(col, row, keys[col - 1].back());
        }
    editor.SetSuppressPaint(false);
    std::vector<int> index(kSortRows);
    int referenceColumn = 0, sortColumn = 1;
    nvo::bench::MeasureRatio(
        state, 1.5,
        [&] {
            const std::vector<double> &key = keys[referenceColumn];
            std::iota(index.begin(), index.end(), 0);
            std::stable_sort(index.begin(), index.end(), [&](int a, int b) { return key[size_t(a)] < key[size_t(b)]; });
            benchmark::DoNotOptimize(index.data());
            referenceColumn = 1 - referenceColumn;
        },
        [&] {
            editor.SortRows(sortColumn, true, 1, 1, 2, kSortRows, true);
            sortColumn = 3 - sortColumn;
        });
}
BENCHMARK(BM_NTabEdSortMillionRowsVsStableSort)->Unit(benchmark::kMillisecond);

} // namespace
