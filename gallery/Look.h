#pragma once

class QApplication;

namespace gallery {

/// One fixed style, palette and font, so that the gallery (and its screenshot)
/// looks the same on every desktop.
void ApplyFixedLook(QApplication &app);

} // namespace gallery
