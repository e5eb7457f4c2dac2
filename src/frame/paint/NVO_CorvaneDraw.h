#pragma once

// The base package's drawing: frames, marker symbols and outlines on a canvas.

#include "NVO_Canvas.h"
#include "NVO_Corvane.h"

namespace nvo {

// ---- Drawing ----------------------------------------------------------------------------

/// Draws the frame of `Style` on the rectangle (Left, Top)..(Right, Bottom), corners
/// included; no pixel outside it is touched. The lines:
/// - fsSimple: one line in `Extra`;
/// - fsLowered: outer line `Shadow` top-left / `Light` bottom-right, inner line
///   `DarkShadow` / `Highlight`;
/// - fsRaised: outer line `Light` / `DarkShadow`, inner line `Highlight` / `Shadow`;
/// - fsEmbossed: a `Light` outline on (L, T)..(R-1, B-1), then a `Shadow` outline on
///   (L+1, T+1)..(R, B); fsEngraved the same with the two colours exchanged.
/// Ordinals beyond fsEngraved draw as fsSimple, so a frame stays visible.
/// The inside is left as it is unless `Inside` asks for the brush: most callers draw
/// their content first and the frame last.
NVO_EXPORT void DrawFrame(TCanvas &Canvas, TFrameStyle Style, int Left, int Top, int Right,
                          int Bottom, TColor Light, TColor Highlight, TColor Shadow,
                          TColor DarkShadow, TColor Extra, TFrameInside Inside = fiKeep);

inline constexpr int NrOfMarks = 52;
/// Draws marker symbol `Mark` (0..51) centred on (X, Y), at most 9 x 9 pixels: outlines
/// and solid symbols in the pen colour, the inside of outlined symbols in the brush
/// (untouched when the brush is clear). Other numbers draw nothing; `Mark` is an int so
/// that 256 cannot wrap to symbol 0.
NVO_EXPORT void DrawMarkOnCanvas(TCanvas &Canvas, int Mark, int X, int Y);

/// The outline of (Left, Top)..(Right, Bottom), corners included, with the current pen;
/// the inside is not touched.
NVO_EXPORT void DrawRectangle(TCanvas &Canvas, int Left, int Top, int Right, int Bottom);

} // namespace nvo
