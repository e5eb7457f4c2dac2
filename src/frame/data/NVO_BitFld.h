#pragma once

#include "NVO_Global.h"

#include <QtCore/QObject>

#include <cstdint>
#include <vector>

namespace nvo {

/// A resizable array of bits addressed from 0. A new field holds 100 bits, so indices
/// 0..99 work before `SetSize` is ever called. Reads outside the size give false and
/// writes there change nothing. Bits live in 64-bit words; the unused bits of the last
/// word are kept clear, so counting and searching work word by word.
class NVO_EXPORT TBitFld : public QObject
{
    Q_OBJECT

public:
    static constexpr int InitialSize = 100;

    explicit TBitFld(QObject *AOwner = nullptr);

    int Size() const { return FSize; }
    /// Keeps the bits below the new size; new bits are false. A negative size counts as 0.
    void SetSize(int N);
    void Clear();
    bool GetBit(int I) const;
    void SetBit(int I, bool Value);
    /// Index of the lowest true bit, -1 when there is none.
    int FirstTrueBit() const;
    int CountTrueBits() const;

private:
    int FSize = 0;
    std::vector<uint64_t> FWords;
};

} // namespace nvo
