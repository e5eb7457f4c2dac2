#pragma once

#include "NVO_Color.h"

#include <QtGui/QImage>

class QWidget;

namespace nvo::test {

/// The widget as it appears on screen, painted through its paint event.
QImage Grab(QWidget *widget);
/// The pixel at (x, y) as a TColor (red in the low byte), or 0xFFFFFFFF outside.
TColor PixelAt(const QImage &image, int x, int y);
/// How many pixels of `rect` have colour `color`.
int CountPixels(const QImage &image, const QRect &rect, TColor color);
/// The smallest rectangle holding every pixel that differs from `background`.
QRect InkBounds(const QImage &image, TColor background);

} // namespace nvo::test
