#pragma once

class QApplication;
class QPalette;

namespace gallery {

/// One fixed style, palette and font, so that the gallery (and its screenshot)
/// looks the same on every desktop; `dark` takes DarkPalette instead of Fusion's.
void ApplyFixedLook(QApplication &app, bool dark = false);
/// A dark Fusion palette as dark desktop themes set it: light text on dark grey.
QPalette DarkPalette();

} // namespace gallery
