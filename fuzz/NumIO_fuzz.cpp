// Whatever a user types or pastes into a numeric field, and whatever text a form
// hands the row editor, the scanners must neither crash nor invoke undefined
// behaviour, must leave their position inside the text, and must return finite
// values within +/-uc_MaxDouble; and every text the field writes must be one it
// accepts again.
#include "NVO_NumIO.h"

#include <QtCore/QString>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

bool WithinDoubleRange(double v)
{
    return std::isfinite(v) && std::fabs(v) <= nvo::uc_MaxDouble;
}

/// A scan ends inside the text or just behind it; one that starts beyond the end
/// stays there, and ScanDecInt leaves the position of an empty text alone.
void RequirePosition(int pos, int start, const QString &text)
{
    Require(pos <= std::max<qsizetype>(text.size() + 1, start));
    Require(pos >= 1 || (text.isEmpty() && pos == start));
}

void ScanEverything(const QString &text, int start)
{
    for (int sepMode = 1; sepMode <= 3; ++sepMode)
        for (bool expAllowed : {false, true}) {
            int pos = start;
            Require(WithinDoubleRange(nvo::ScanFloatNum(text, expAllowed, sepMode, pos)));
            RequirePosition(pos, start, text);
        }
    int pos = start;
    nvo::ScanDecInt(text, pos);
    RequirePosition(pos, start, text);
    for (auto scan : {nvo::ScanHex, nvo::ScanOct, nvo::ScanBin}) {
        pos = start;
        scan(text, pos);
        RequirePosition(pos, start, text);
    }
}

void ConvertInEveryFormat(const QString &text)
{
    for (int format = nvo::TNumIO::itExp; format <= nvo::TNumIO::itDynamic; ++format)
        for (int sepMode = 1; sepMode <= 3; ++sepMode) {
            const auto inFormat = nvo::TInFormat(format);
            double v = 0;
            const bool ok = nvo::ConvertNumString(text, inFormat, sepMode, v);
            Require(WithinDoubleRange(v));
            Require(ok || v == 0);
            // The text the field writes for the value is one it reads again, except
            // the asterisks that stand for an exponent beyond two digits.
            const QString written = nvo::NumberText(v, inFormat, 1 + format, sepMode);
            double readBack = 0;
            Require(written.startsWith(QLatin1Char('*'))
                    || nvo::ConvertNumString(written, inFormat, sepMode, readBack));
            Require(WithinDoubleRange(readBack));
        }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Input: one control byte (start position, character encoding), then the text.
    if (size < 1)
        return 0;
    const int start = int(data[0] & 0x7) - 1; // -1..6: also positions before the text
    const bool utf16 = data[0] & 0x8;
    const char *bytes = reinterpret_cast<const char *>(data + 1);
    const qsizetype length = qsizetype(size - 1);
    QString text;
    if (utf16) {
        // Copied, not cast: the bytes after the control byte are not aligned for QChar.
        text.resize(length / 2);
        std::memcpy(text.data(), bytes, size_t(text.size()) * sizeof(QChar));
    } else {
        text = QString::fromLatin1(bytes, length);
    }
    ScanEverything(text, start);
    ConvertInEveryFormat(text);
    Require(nvo::FormatNumStr(int(int8_t(data[0])), int(data[0] % 12) - 2, double(length)).size() <= 400);
    return 0;
}
