// Date texts reach the reader from cells and forms, formats from column definitions:
// any pair must give a result or a reported failure, and a result must be a valid
// date-time that the writer can write by the same format.
#include "NVO_Format.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Input: the format, a line feed, the text (both UTF-8).
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    const size_t split = input.find('\n');
    const std::string_view format = input.substr(0, split);
    const std::string_view text = split == std::string_view::npos ? std::string_view() : input.substr(split + 1);
    const QString formatText = QString::fromUtf8(format.data(), qsizetype(format.size()));
    const QString dateText = QString::fromUtf8(text.data(), qsizetype(text.size()));

    const nvo::TDateScan scan = nvo::ScanPickerDateTime(dateText, formatText, 50, 2026);
    Require(scan.Error <= nvo::dseNone && scan.Error >= nvo::dseNotADate);
    if (scan.Error == nvo::dseNone) {
        Require(!nvo::FormatPickerDateTime(u"yyyy-MM-dd HH:mm:ss", scan.Value).isEmpty());
        nvo::FormatPickerDateTime(formatText, scan.Value);
    } else {
        Require(scan.Value == 0);
    }
    nvo::FormatPickerDateTime(formatText, 45'000.5);
    return 0;
}
