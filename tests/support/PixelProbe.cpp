#include "PixelProbe.h"

#include "NVO_Bitmap.h"

#include <QtWidgets/QWidget>
#include <gtest/gtest.h>

namespace nvo::test {

QImage Grab(QWidget *widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

TColor PixelAt(const QImage &image, int x, int y)
{
    if (!image.valid(x, y))
        return 0xFFFFFFFF;
    const QRgb rgb = image.pixel(x, y);
    return RGBColor(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

int CountPixels(const QImage &image, const QRect &rect, TColor color)
{
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            count += PixelAt(image, x, y) == color;
    return count;
}

QRect InkBounds(const QImage &image, TColor background)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (PixelAt(image, x, y) != background)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

void ExpectPixels(TBitmap &bitmap, std::initializer_list<Probe> probes)
{
    for (const Probe &p : probes)
        EXPECT_EQ(bitmap.Canvas().GetPixel(p.x, p.y), p.expected) << "at " << p.x << "," << p.y;
}

} // namespace nvo::test
