#include "NVO_IntMatrix.h"

#include "NVO_Corvane.h"
#include "NVO_StringArray.h"

#include <algorithm>
#include <new>

namespace nvo {

TIntMatrix::TIntMatrix(QObject *AOwner) : QObject(AOwner) {}

void TIntMatrix::Resize(int Cols, int Rows)
{
    Cols = std::max(0, Cols);
    Rows = std::max(0, Rows);
    if (Cols == FNrOfCols && Rows == FNrOfRows)
        return;
    try {
        std::vector<int> values(size_t(Cols) * size_t(Rows), 0);
        const int keptCols = std::min(Cols, FNrOfCols);
        const int keptRows = std::min(Rows, FNrOfRows);
        for (int row = 0; row < keptRows; ++row)
            std::copy_n(FValues.begin() + ptrdiff_t(row) * FNrOfCols, keptCols,
                        values.begin() + ptrdiff_t(row) * Cols);
        FValues.swap(values);
    } catch (const std::exception &) {
        throw ENVODStructError(QStringLiteral("TIntMatrix: not enough memory for %1 x %2").arg(Cols).arg(Rows));
    }
    FNrOfCols = Cols;
    FNrOfRows = Rows;
}

void TIntMatrix::SetNRows(int N)
{
    Resize(FNrOfCols, N);
}

int TIntMatrix::GetVal(int Col, int Row) const
{
    if (Col < 1 || Col > FNrOfCols || Row < 1 || Row > FNrOfRows)
        return 0;
    return FValues[size_t(Row - 1) * size_t(FNrOfCols) + size_t(Col - 1)];
}

void TIntMatrix::SetVal(int Col, int Row, int V)
{
    if (Col >= 1 && Col <= FNrOfCols && Row >= 1 && Row <= FNrOfRows)
        FValues[size_t(Row - 1) * size_t(FNrOfCols) + size_t(Col - 1)] = V;
}

} // namespace nvo
