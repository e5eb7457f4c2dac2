#pragma once

#include <QtGui/QFont>

namespace nvo::test {

/// The font every pixel test draws with: the TTF shipped with the tests, at a pixel
/// size, without antialiasing and with fixed hinting, so that text pixels do not
/// depend on the machine's fonts or settings.
QFont PinnedFont(int pixelSize = 13);
/// Loads the shipped font once; the test main calls it before any test runs.
void LoadPinnedFont();

} // namespace nvo::test
