#include "NVO_Tessane.h"

#include <climits>
#include <cmath>

namespace nvo {

int IntNeg(double X)
{
    if (std::isnan(X))
        return 0;
    const double floored = std::floor(X);
    // Converting a double outside the int range is undefined: clamp first.
    if (floored <= double(INT_MIN))
        return INT_MIN;
    if (floored >= double(INT_MAX))
        return INT_MAX;
    return int(floored);
}

std::optional<int> DecIntValue(const QString &S)
{
    qsizetype i = 0;
    bool negative = false;
    if (!S.isEmpty() && (S[0] == u'+' || S[0] == u'-')) {
        negative = S[0] == u'-';
        i = 1;
    }
    if (i == S.size())
        return std::nullopt;
    // The magnitude may reach INT_MAX + 1 (for INT_MIN); stopping there keeps a long
    // run of digits from overflowing the accumulator.
    long long magnitude = 0;
    for (; i < S.size(); ++i) {
        const char16_t c = S[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        magnitude = magnitude * 10 + (c - u'0');
        if (magnitude > 1LL + INT_MAX)
            return std::nullopt;
    }
    const long long value = negative ? -magnitude : magnitude;
    if (value > INT_MAX)
        return std::nullopt;
    return int(value);
}

bool IsValidDecInt(const QString &S)
{
    return DecIntValue(S).has_value();
}

int MulDiv(int A, int B, int C)
{
    if (C == 0)
        return -1;
    const qint64 product = qint64(A) * B;
    // Round on the magnitudes: halves then go away from zero whatever the signs.
    const qint64 magnitude = (qAbs(product) + qAbs(qint64(C)) / 2) / qAbs(qint64(C));
    const qint64 result = (product < 0) != (C < 0) ? -magnitude : magnitude;
    return result < INT_MIN || result > INT_MAX ? -1 : int(result);
}

} // namespace nvo
