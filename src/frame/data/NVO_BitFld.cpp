#include "NVO_BitFld.h"

#include <bit>

namespace nvo {

TBitFld::TBitFld(QObject *AOwner) : QObject(AOwner)
{
    SetSize(InitialSize);
}

void TBitFld::SetSize(int N)
{
    N = N < 0 ? 0 : N;
    FWords.resize((size_t(N) + 63) / 64, 0);
    FSize = N;
    if (N % 64 != 0)
        FWords.back() &= (uint64_t(1) << (N % 64)) - 1;
}

void TBitFld::Clear()
{
    for (uint64_t &word : FWords)
        word = 0;
}

bool TBitFld::GetBit(int I) const
{
    if (I < 0 || I >= FSize)
        return false;
    return (FWords[size_t(I) / 64] >> (I % 64)) & 1;
}

void TBitFld::SetBit(int I, bool Value)
{
    if (I < 0 || I >= FSize)
        return;
    const uint64_t mask = uint64_t(1) << (I % 64);
    if (Value)
        FWords[size_t(I) / 64] |= mask;
    else
        FWords[size_t(I) / 64] &= ~mask;
}

int TBitFld::FirstTrueBit() const
{
    for (size_t w = 0; w < FWords.size(); ++w)
        if (FWords[w] != 0)
            return int(w * 64) + std::countr_zero(FWords[w]);
    return -1;
}

int TBitFld::CountTrueBits() const
{
    int count = 0;
    for (uint64_t word : FWords)
        count += std::popcount(word);
    return count;
}

} // namespace nvo
