#include "NVO_Color.h"

#include "NVO_Tessane.h"

#include <QtGui/QGuiApplication>

#include <algorithm>
#include <array>
#include <cmath>

namespace nvo {

SystemColorRole SystemColorToRole(int index)
{
    using P = QPalette;
    // Indices follow the classic desktop colour numbering; each maps to the palette role
    // that plays the same part in a Qt style, so a dark palette darkens the controls too.
    switch (index) {
    case 0: return {P::Active, P::Mid};                 // scroll bar
    case 1: return {P::Active, P::Window};              // desktop
    case 2: return {P::Active, P::Highlight};           // active caption
    case 3: return {P::Inactive, P::Highlight};         // inactive caption
    case 4: return {P::Active, P::Window};              // menu
    case 5: return {P::Active, P::Base};                // window background
    case 6: return {P::Active, P::Shadow};              // window frame
    case 7: return {P::Active, P::WindowText};          // menu text
    case 8: return {P::Active, P::Text};                // window text
    case 9: return {P::Active, P::HighlightedText};     // caption text
    case 10: return {P::Active, P::Button};             // active border
    case 11: return {P::Inactive, P::Button};           // inactive border
    case 12: return {P::Active, P::Mid};                // application work space
    case 13: return {P::Active, P::Highlight};          // selection
    case 14: return {P::Active, P::HighlightedText};    // selected text
    case 15: return {P::Active, P::Button};             // button face
    case 16: return {P::Active, P::Dark};               // button shadow
    case 17: return {P::Disabled, P::Text};             // gray text
    case 18: return {P::Active, P::ButtonText};         // button text
    case 19: return {P::Inactive, P::HighlightedText};  // inactive caption text
    case 20: return {P::Active, P::Light};              // button highlight
    case 21: return {P::Active, P::Shadow};             // dark 3-D shadow
    case 22: return {P::Active, P::Midlight};           // 3-D light
    case 23: return {P::Active, P::ToolTipText};        // info text
    case 24: return {P::Active, P::ToolTipBase};        // info background
    case 26: return {P::Active, P::Link};               // hot light
    case 27: return {P::Active, P::Highlight};          // gradient active caption
    case 28: return {P::Inactive, P::Highlight};        // gradient inactive caption
    case 29: return {P::Active, P::Highlight};          // menu highlight
    case 30: return {P::Active, P::Window};             // menu bar
    default: return {P::Active, P::Window};
    }
}

QColor ToQColor(TColor color, const QPalette &palette)
{
    if (IsSystemColor(color)) {
        const SystemColorRole r = SystemColorToRole(int(color & 0xFF));
        return palette.color(r.group, r.role);
    }
    return QColor(GetRValue(color), GetGValue(color), GetBValue(color));
}

QColor ToQColor(TColor color)
{
    return ToQColor(color, QGuiApplication::palette());
}

TColor ColorToRGB(TColor color, const QPalette &palette)
{
    return IsSystemColor(color) ? FromQColor(ToQColor(color, palette)) : (color & 0xFFFFFF);
}

TColor FromQColor(const QColor &color)
{
    return RGBColor(color.red(), color.green(), color.blue());
}

namespace {
double LinearLight(double channel)
{
    return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

/// The linear light of a 16-bit sRGB channel, from the channel's float fraction as
/// QColor::redF() gives it. Colours made of 8-bit channels, nearly all that controls
/// paint with, read it from a table: a paint that picks a readable text colour would
/// otherwise run the power function six times.
double LinearChannel(quint16 channel)
{
    const auto fraction = [](int value) { return value / float(USHRT_MAX); };
    static const std::array<double, 256> table = [&] {
        std::array<double, 256> light{};
        for (int i = 0; i < 256; ++i)
            light[i] = LinearLight(fraction(i * 257));
        return light;
    }();
    return channel % 257 == 0 ? table[channel / 257] : LinearLight(fraction(channel));
}

double RelativeLuminance(const QColor &color)
{
    const QRgba64 rgb = color.rgba64();
    return 0.2126 * LinearChannel(rgb.red()) + 0.7152 * LinearChannel(rgb.green())
           + 0.0722 * LinearChannel(rgb.blue());
}
} // namespace

double ContrastRatio(const QColor &a, const QColor &b)
{
    const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TColor ReadableTextColor(TColor text, TColor ground, const QPalette &palette)
{
    if (IsSystemColor(text) == IsSystemColor(ground))
        return text;
    const QColor groundColor = ToQColor(ground, palette);
    if (ContrastRatio(ToQColor(text, palette), groundColor) >= 4.5)
        return text;
    return ContrastRatio(Qt::black, groundColor) >= ContrastRatio(Qt::white, groundColor) ? clr::Black : clr::White;
}

TColor StepColor(TColor From, TColor To, int Num, int Den)
{
    if (Den == 0)
        return From & 0xFFFFFF;
    const auto step = [&](int from, int to) { return from + MulDiv(Num, to - from, Den); };
    return RGBColor(step(GetRValue(From), GetRValue(To)), step(GetGValue(From), GetGValue(To)),
                    step(GetBValue(From), GetBValue(To)));
}

} // namespace nvo
