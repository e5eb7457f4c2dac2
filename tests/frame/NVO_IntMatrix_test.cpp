#include "NVO_IntMatrix.h"

#include <gtest/gtest.h>

namespace {

using nvo::TIntMatrix;

TEST(IntMatrix, ValuesAreOneBasedAndSurviveGrowingRowsAndColumns)
{
    TIntMatrix m;
    m.Resize(2, 2);
    m.SetVal(1, 1, 11);
    m.SetVal(2, 2, 22);
    m.SetVal(3, 1, 99); // outside: ignored
    m.SetNRows(5);
    EXPECT_EQ(m.NrOfRows(), 5);
    EXPECT_EQ(m.NrOfColumns(), 2);
    m.Resize(3, 5);
    EXPECT_EQ(m.GetVal(1, 1), 11);
    EXPECT_EQ(m.GetVal(2, 2), 22);
    EXPECT_EQ(m.GetVal(3, 1), 0);
    EXPECT_EQ(m.GetVal(0, 1), 0);
    EXPECT_EQ(m.GetVal(1, 6), 0);
}

} // namespace
