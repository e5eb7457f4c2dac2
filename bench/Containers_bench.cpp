// The containers against the standard containers a caller would otherwise use: cell
// access of the string matrix against a vector of strings, bit counting of the bit field
// against std::vector<bool>.
#include "BenchRatio.h"
#include "NVO_BitFld.h"
#include "NVO_StringArray.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace {

void BM_StringArrayCellsVsVectorOfStrings(benchmark::State &state)
{
    constexpr int Cols = 8, Rows = 100000;
    const std::string_view shortText = "cell text", longText = "a text longer than fifteen bytes";
    nvo::TStringArray matrix;
    matrix.Resize(Cols, Rows);
    std::vector<std::string> plain(size_t(Cols + 1) * Rows);
    size_t bytes = 0;
    nvo::bench::MeasureRatio(
        state, 2.0,
        [&] {
            for (int row = 1; row <= Rows; ++row)
                for (int col = 1; col <= Cols; ++col)
                    plain[size_t(row - 1) * (Cols + 1) + size_t(col)] = col % 2 ? shortText : longText;
            for (const std::string &cell : plain)
                bytes += cell.size();
        },
        [&] {
            for (int row = 1; row <= Rows; ++row)
                for (int col = 1; col <= Cols; ++col)
                    matrix.SetUtf8(col, row, col % 2 ? shortText : longText);
            for (int row = 1; row <= Rows; ++row)
                for (int col = 0; col <= Cols; ++col)
                    bytes += matrix.GetUtf8(col, row).size();
        });
    benchmark::DoNotOptimize(bytes);
}
BENCHMARK(BM_StringArrayCellsVsVectorOfStrings)->Unit(benchmark::kMillisecond);

void BM_BitFldCountVsVectorBool(benchmark::State &state)
{
    constexpr int Bits = 1 << 20;
    nvo::TBitFld field;
    field.SetSize(Bits);
    std::vector<bool> plain(Bits);
    for (int i = 0; i < Bits; i += 3) {
        field.SetBit(i, true);
        plain[size_t(i)] = true;
    }
    long count = 0;
    nvo::bench::MeasureRatio(
        state, 1.0, [&] { count += long(std::count(plain.begin(), plain.end(), true)); },
        [&] { count += field.CountTrueBits(); });
    benchmark::DoNotOptimize(count);
}
BENCHMARK(BM_BitFldCountVsVectorBool)->Unit(benchmark::kMicrosecond);

} // namespace
