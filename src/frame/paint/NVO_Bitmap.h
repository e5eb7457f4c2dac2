#pragma once

#include "NVO_Canvas.h"
#include "NVO_Errors.h"

#include <QtCore/QFileInfo>
#include <QtGui/QImage>

#include <memory>

class QWidget;

namespace nvo {

enum TPixelFormat : quint8 { pf1bit, pf8bit, pf24bit, pf32bit };

/// An off-screen picture with a canvas, laid over a QImage. Sizes are logical
/// pixels; a bitmap made for a widget carries the widget's device pixel ratio, so
/// that what is drawn into it stays crisp on a high-DPI screen. Scan lines address
/// device pixels (at ratio 1 the two are the same).
class NVO_EXPORT TBitmap
{
public:
    TBitmap();
    TBitmap(int width, int height, qreal devicePixelRatio = 1.0);
    /// A bitmap of the widget's size and device pixel ratio, drawing with its palette and font.
    static TBitmap ForWidget(const QWidget *widget);
    ~TBitmap();
    TBitmap(const TBitmap &other);
    TBitmap &operator=(const TBitmap &other);

    int Width() const;
    int Height() const;
    void SetSize(int width, int height);
    bool Empty() const { return FImage.isNull(); }
    qreal DevicePixelRatio() const { return FImage.devicePixelRatio(); }

    TPixelFormat PixelFormat() const { return FPixelFormat; }
    void SetPixelFormat(TPixelFormat format);

    /// Device-pixel row `row` in the image's own format (4 bytes per pixel for
    /// pf24bit and pf32bit, 0xAARRGGBB).
    uchar *ScanLine(int row);
    const uchar *ScanLine(int row) const;

    /// Loads a picture shipped with the library (":/nvo/NAME.png" or ".bmp").
    /// Returns false, keeping the old picture, when there is none by that name.
    bool LoadFromResourceName(const QString &name);
    /// Loads any image file Qt reads. Returns false, keeping the old picture, on failure.
    bool LoadFromFile(const QString &fileName);

    /// The canvas drawing into this bitmap (made on first use).
    TCanvas &Canvas();
    /// Palette and font the canvas starts with.
    void SetPalette(const QPalette &palette) { FPalette = palette; }
    void SetFont(const QFont &font) { FFont = font; }

    const QImage &Image() const { return FImage; }
    void SetImage(const QImage &image);

private:
    void EndCanvas();
    static QImage::Format QtFormat(TPixelFormat format);

    QImage FImage;
    TPixelFormat FPixelFormat = pf32bit;
    QPalette FPalette;
    QFont FFont;
    std::unique_ptr<TCanvas> FCanvas;
};

/// The picture a control's image property names, read the same way by every control: an
/// empty name or a file that is not there gives a null image (the property is cleared);
/// a file that is there but cannot be read as a picture raises the control's `Error`
/// naming the file, before anything changed, so the control keeps its previous name and
/// picture.
template<class Error>
QImage ReadPictureFile(const QObject *component, const QString &fileName)
{
    if (fileName.isEmpty() || !QFileInfo::exists(fileName))
        return {};
    QImage picture(fileName);
    if (picture.isNull())
        throw Error(msg::CannotReadImage(component, fileName));
    return picture;
}

} // namespace nvo
