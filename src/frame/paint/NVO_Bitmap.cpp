#include "NVO_Bitmap.h"

#include <QtCore/QFile>
#include <QtWidgets/QWidget>

namespace nvo {

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height, qreal devicePixelRatio)
{
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    FImage = QImage(qMax(0, qRound(width * ratio)), qMax(0, qRound(height * ratio)),
                    QtFormat(FPixelFormat));
    FImage.setDevicePixelRatio(ratio);
    FImage.fill(Qt::white);
}

TBitmap TBitmap::ForWidget(const QWidget *widget)
{
    TBitmap bitmap(widget->width(), widget->height(), widget->devicePixelRatioF());
    bitmap.FPalette = widget->palette();
    bitmap.FFont = widget->font();
    return bitmap;
}

TBitmap::~TBitmap() = default;

TBitmap::TBitmap(const TBitmap &other)
    : FImage(other.FImage), FPixelFormat(other.FPixelFormat), FPalette(other.FPalette),
      FFont(other.FFont)
{
    // A painter may be drawing into `other`; the copy must not share its pixels.
    FImage.detach();
}

TBitmap &TBitmap::operator=(const TBitmap &other)
{
    if (this != &other) {
        EndCanvas();
        FImage = other.FImage;
        FImage.detach();
        FPixelFormat = other.FPixelFormat;
        FPalette = other.FPalette;
        FFont = other.FFont;
    }
    return *this;
}

int TBitmap::Width() const
{
    return qRound(FImage.width() / FImage.devicePixelRatio());
}

int TBitmap::Height() const
{
    return qRound(FImage.height() / FImage.devicePixelRatio());
}

void TBitmap::SetSize(int width, int height)
{
    width = qMax(0, width);
    height = qMax(0, height);
    if (width == Width() && height == Height() && !FImage.isNull())
        return;
    EndCanvas();
    const qreal ratio = FImage.isNull() ? 1.0 : FImage.devicePixelRatio();
    // As the controls expect of a resized bitmap, the kept part stays and the new part is white.
    QImage resized(qRound(width * ratio), qRound(height * ratio), QtFormat(FPixelFormat));
    resized.setDevicePixelRatio(ratio);
    resized.fill(Qt::white);
    if (!FImage.isNull()) {
        QPainter painter(&resized);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, FImage);
    }
    FImage = resized;
}

void TBitmap::SetPixelFormat(TPixelFormat format)
{
    if (format == FPixelFormat)
        return;
    EndCanvas();
    FPixelFormat = format;
    if (!FImage.isNull()) {
        const qreal ratio = FImage.devicePixelRatio();
        FImage = FImage.convertToFormat(QtFormat(format));
        FImage.setDevicePixelRatio(ratio);
    }
}

QImage::Format TBitmap::QtFormat(TPixelFormat format)
{
    switch (format) {
    case pf1bit: return QImage::Format_Mono;
    case pf8bit: return QImage::Format_Indexed8;
    case pf24bit:
    case pf32bit: return QImage::Format_RGB32;
    }
    return QImage::Format_RGB32;
}

uchar *TBitmap::ScanLine(int row)
{
    return row >= 0 && row < FImage.height() ? FImage.scanLine(row) : nullptr;
}

const uchar *TBitmap::ScanLine(int row) const
{
    return row >= 0 && row < FImage.height() ? FImage.constScanLine(row) : nullptr;
}

bool TBitmap::LoadFromResourceName(const QString &name)
{
    for (const char *suffix : {".png", ".bmp", ""}) {
        const QString path = QStringLiteral(":/nvo/") + name + QLatin1String(suffix);
        if (QFile::exists(path))
            return LoadFromFile(path);
    }
    return false;
}

bool TBitmap::LoadFromFile(const QString &fileName)
{
    QImage loaded(fileName);
    if (loaded.isNull())
        return false;
    SetImage(loaded);
    return true;
}

void TBitmap::SetImage(const QImage &image)
{
    EndCanvas();
    const qreal ratio = image.devicePixelRatio();
    // Indexed pictures become true colour so that the canvas can draw on them.
    const bool paintable = image.format() != QImage::Format_Mono && image.format() != QImage::Format_Indexed8;
    FImage = paintable ? image : image.convertToFormat(QImage::Format_RGB32);
    FImage.setDevicePixelRatio(ratio);
    FPixelFormat = FImage.depth() == 32 ? pf32bit : pf24bit;
}

TCanvas &TBitmap::Canvas()
{
    if (!FCanvas) {
        if (FImage.isNull())
            SetSize(1, 1);
        FCanvas = std::make_unique<TCanvas>(&FImage, FPalette);
        FCanvas->Font.Font = FFont;
    }
    return *FCanvas;
}

void TBitmap::EndCanvas()
{
    FCanvas.reset();
}

} // namespace nvo
