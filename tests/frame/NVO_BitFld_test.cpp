#include "NVO_BitFld.h"

#include <gtest/gtest.h>

namespace {

using nvo::TBitFld;

TEST(BitFld, ANewFieldTakesIndicesUpTo99BeforeAnySize)
{
    TBitFld bits;
    bits.SetBit(0, true);
    bits.SetBit(99, true);
    bits.SetBit(100, true); // outside: ignored
    bits.SetBit(-1, true);
    EXPECT_TRUE(bits.GetBit(0));
    EXPECT_TRUE(bits.GetBit(99));
    EXPECT_FALSE(bits.GetBit(100));
    EXPECT_EQ(bits.CountTrueBits(), 2);
}

TEST(BitFld, CountsAndFindsAcrossWordBoundaries)
{
    TBitFld bits;
    bits.SetSize(200);
    EXPECT_EQ(bits.FirstTrueBit(), -1);
    for (int i : {63, 64, 127, 199})
        bits.SetBit(i, true);
    EXPECT_EQ(bits.FirstTrueBit(), 63);
    EXPECT_EQ(bits.CountTrueBits(), 4);
    bits.SetBit(63, false);
    EXPECT_EQ(bits.FirstTrueBit(), 64);
    bits.SetSize(100); // drops 127 and 199, also from the count
    EXPECT_EQ(bits.CountTrueBits(), 1);
    bits.SetSize(200);
    EXPECT_FALSE(bits.GetBit(127));
    bits.Clear();
    EXPECT_EQ(bits.CountTrueBits(), 0);
    EXPECT_EQ(bits.Size(), 200);
}

} // namespace
