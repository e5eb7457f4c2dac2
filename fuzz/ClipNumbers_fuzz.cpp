// Pasted text comes from any program: reading it must end, and every number it
// yields must be finite.
#include "NVO_Format.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const std::vector<double> &line : nvo::ScanClipNumbers(text))
        for (double number : line)
            if (!std::isfinite(number))
                std::abort();
    return 0;
}
