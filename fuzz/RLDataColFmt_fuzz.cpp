// Column formats are read from files. Whatever the format text and row, the default
// value and the editor description must stay within their bounds: no text longer than a
// cell, no editor wider than 4000 pixels, no drop-down of more than 100 lines.
#include "NVO_replist.h"

#include <QtCore/QCoreApplication>

#include <cstdlib>
#include <cstring>

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Four bytes of row number, then the format as UTF-8.
    if (size < 4)
        return 0;
    int row;
    std::memcpy(&row, data, sizeof row);
    const QString format = QString::fromUtf8(reinterpret_cast<const char *>(data + 4), qsizetype(size - 4));

    nvo::TRLData store;
    store.SetColumnFormat(1, format);
    const QString value = store.GetCellDefaultValue(1, row);
    Require(value.size() <= nvo::ShortStringMax);

    const nvo::TColumnFormatParts parts = nvo::ParseColumnFormat(format);
    Require(parts.EditorWidth >= 1 && parts.EditorWidth <= 4000);
    Require(parts.DropDownLines >= 0 && parts.DropDownLines <= 100);
    return 0;
}
