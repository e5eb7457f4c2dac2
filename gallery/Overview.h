#pragma once

#include <QtGui/QImage>
#include <QtCore/QString>

namespace gallery {

class TGalleryWindow;

/// Every page of `window`, each under its title, in a grid of two columns.
/// The window must be shown (an offscreen platform will do), so pages lay out.
QImage RenderOverview(TGalleryWindow &window);
/// Writes `image` as PNG to `file`; on failure returns the reason, else "".
QString WritePng(const QImage &image, const QString &file);

} // namespace gallery
