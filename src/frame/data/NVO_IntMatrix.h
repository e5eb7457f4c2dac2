#pragma once

#include "NVO_Global.h"

#include <QtCore/QObject>

#include <vector>

namespace nvo {

/// A matrix of integers, columns and rows counted from 1. Reads outside give 0, writes
/// outside change nothing. A size that cannot be had raises `ENVODStructError` and keeps
/// the old size.
class NVO_EXPORT TIntMatrix : public QObject
{
    Q_OBJECT

public:
    explicit TIntMatrix(QObject *AOwner = nullptr);

    int NrOfColumns() const { return FNrOfCols; }
    int NrOfRows() const { return FNrOfRows; }
    /// New size; the values inside both sizes stay, new ones are 0.
    void Resize(int Cols, int Rows);
    /// New row count with the column count kept.
    void SetNRows(int N);
    int GetVal(int Col, int Row) const;
    void SetVal(int Col, int Row, int V);

private:
    int FNrOfCols = 0;
    int FNrOfRows = 0;
    std::vector<int> FValues; // row-major, so growing the row count keeps every value in place
};

} // namespace nvo
