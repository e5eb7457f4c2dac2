// Stored colours come from forms and from code; whatever the 32 bits hold, turning
// them into a QColor must give a valid, opaque colour, and plain RGB values must
// survive the round trip unchanged.
#include "NVO_Color.h"

#include <QtGui/QGuiApplication>

#include <cstdint>
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
    // System colours resolve through the application palette.
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Input: the stored colour (4 bytes), then the button colour the palette is made from (3 bytes).
    if (size < 7)
        return 0;
    nvo::TColor color;
    std::memcpy(&color, data, sizeof color);
    const QPalette palette(QColor(data[4], data[5], data[6]));

    const QColor resolved = nvo::ToQColor(color, palette);
    Require(resolved.isValid() && resolved.alpha() == 255);
    const nvo::TColor rgb = nvo::ColorToRGB(color, palette);
    Require((rgb >> 24) == 0);
    Require(rgb == nvo::FromQColor(resolved));
    if (!nvo::IsSystemColor(color))
        Require(rgb == (color & 0xFFFFFF));
    Require(nvo::ToQColor(color).isValid());
    return 0;
}
