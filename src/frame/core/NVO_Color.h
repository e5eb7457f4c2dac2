#pragma once

#include "NVO_Global.h"

#include <QtGui/QColor>
#include <QtGui/QPalette>

namespace nvo {

/// A colour as the controls store it: red, green and blue in the low three bytes
/// (red lowest), or, with the top byte 0xFF, the index of a system colour in the
/// low byte. System colours resolve through a QPalette at paint time, so a dark
/// or high-contrast palette changes them without touching any stored value.
using TColor = quint32;

namespace clr {
inline constexpr TColor Black = 0x000000;
inline constexpr TColor Maroon = 0x000080;
inline constexpr TColor Green = 0x008000;
inline constexpr TColor Olive = 0x008080;
inline constexpr TColor Navy = 0x800000;
inline constexpr TColor Purple = 0x800080;
inline constexpr TColor Teal = 0x808000;
inline constexpr TColor Gray = 0x808080;
inline constexpr TColor Silver = 0xC0C0C0;
inline constexpr TColor Red = 0x0000FF;
inline constexpr TColor Lime = 0x00FF00;
inline constexpr TColor Yellow = 0x00FFFF;
inline constexpr TColor Blue = 0xFF0000;
inline constexpr TColor Fuchsia = 0xFF00FF;
inline constexpr TColor Aqua = 0xFFFF00;
inline constexpr TColor White = 0xFFFFFF;

// System colours (top byte 0xFF, index in the low byte).
inline constexpr TColor ScrollBar = 0xFF000000;
inline constexpr TColor Background = 0xFF000001;
inline constexpr TColor ActiveCaption = 0xFF000002;
inline constexpr TColor InactiveCaption = 0xFF000003;
inline constexpr TColor Menu = 0xFF000004;
inline constexpr TColor Window = 0xFF000005;
inline constexpr TColor WindowFrame = 0xFF000006;
inline constexpr TColor MenuText = 0xFF000007;
inline constexpr TColor WindowText = 0xFF000008;
inline constexpr TColor CaptionText = 0xFF000009;
inline constexpr TColor ActiveBorder = 0xFF00000A;
inline constexpr TColor InactiveBorder = 0xFF00000B;
inline constexpr TColor AppWorkSpace = 0xFF00000C;
inline constexpr TColor Highlight = 0xFF00000D;
inline constexpr TColor HighlightText = 0xFF00000E;
inline constexpr TColor BtnFace = 0xFF00000F;
inline constexpr TColor BtnShadow = 0xFF000010;
inline constexpr TColor GrayText = 0xFF000011;
inline constexpr TColor BtnText = 0xFF000012;
inline constexpr TColor InactiveCaptionText = 0xFF000013;
inline constexpr TColor BtnHighlight = 0xFF000014;
inline constexpr TColor DkShadow3D = 0xFF000015;
inline constexpr TColor Light3D = 0xFF000016;
inline constexpr TColor InfoText = 0xFF000017;
inline constexpr TColor InfoBk = 0xFF000018;
inline constexpr TColor HotLight = 0xFF00001A;
inline constexpr TColor GradientActiveCaption = 0xFF00001B;
inline constexpr TColor GradientInactiveCaption = 0xFF00001C;
inline constexpr TColor MenuHighlight = 0xFF00001D;
inline constexpr TColor MenuBar = 0xFF00001E;
} // namespace clr

inline constexpr TColor RGBColor(int r, int g, int b)
{
    return TColor(r & 0xFF) | (TColor(g & 0xFF) << 8) | (TColor(b & 0xFF) << 16);
}
inline constexpr int GetRValue(TColor c) { return int(c & 0xFF); }
inline constexpr int GetGValue(TColor c) { return int((c >> 8) & 0xFF); }
inline constexpr int GetBValue(TColor c) { return int((c >> 16) & 0xFF); }
inline constexpr bool IsSystemColor(TColor c) { return (c >> 24) == 0xFF; }

/// The palette role (and colour group) a system colour index stands for.
struct SystemColorRole {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};
NVO_EXPORT SystemColorRole SystemColorToRole(int index);

/// The one place where a stored colour becomes a QColor. System colours are taken
/// from `palette` (the widget's palette when painting); other top bytes than 0xFF
/// are ignored, so a stored value never yields an invalid colour.
NVO_EXPORT QColor ToQColor(TColor color, const QPalette &palette);
/// The same against the application palette.
NVO_EXPORT QColor ToQColor(TColor color);
/// The plain RGB colour of `color` as a TColor (system colours resolved).
NVO_EXPORT TColor ColorToRGB(TColor color, const QPalette &palette);
NVO_EXPORT TColor FromQColor(const QColor &color);

/// The contrast ratio of two colours by their relative luminance, from 1 (the same) to
/// 21 (black and white); 4.5 is what running text needs to be read easily.
NVO_EXPORT double ContrastRatio(const QColor &a, const QColor &b);
/// The colour to draw `text` in over `ground`. A pair of a system colour and a fixed
/// colour (the palette's window text on a white dial, black on the palette's button
/// face) is readable under the light palette it was chosen for but perhaps not under
/// a dark one: when such a pair resolves to less than 4.5:1, the text becomes black or
/// white, whichever stands out more. Any other pair (two fixed colours the application
/// chose, or two colours of the palette) and every readable one stay as they are, so a
/// light palette's picture does not change.
NVO_EXPORT TColor ReadableTextColor(TColor text, TColor ground, const QPalette &palette);

/// The colour `Num`/`Den` of the way from `From` to `To` (both plain RGB), each
/// channel on its own: From + MulDiv(Num, To - From, Den), kept to its low 8 bits as
/// the stepped gradients always did. A step with no extent (`Den` 0) stays at `From`:
/// a gradient of one band, or one colour only, fills with that colour.
NVO_EXPORT TColor StepColor(TColor From, TColor To, int Num, int Den);

} // namespace nvo
