#pragma once

#include "NVO_Color.h"

#include <QtGui/QImage>

#include <initializer_list>

class QWidget;

namespace nvo {
class TBitmap;
}

namespace nvo::test {

/// The widget as it appears on screen, painted through its paint event.
QImage Grab(QWidget *widget);
/// The pixel at (x, y) as a TColor (red in the low byte), or 0xFFFFFFFF outside.
TColor PixelAt(const QImage &image, int x, int y);
/// How many pixels of `rect` have colour `color`.
int CountPixels(const QImage &image, const QRect &rect, TColor color);
/// The smallest rectangle holding every pixel that differs from `background`.
QRect InkBounds(const QImage &image, TColor background);

/// A pixel a test expects on a bitmap, in the logical pixels of its canvas.
struct Probe {
    int x, y;
    TColor expected;
};
/// Expects each probed pixel through the bitmap's canvas, so at any device pixel
/// ratio, and names the place of a mismatch.
void ExpectPixels(TBitmap &bitmap, std::initializer_list<Probe> probes);

} // namespace nvo::test
