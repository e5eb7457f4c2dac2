#include "NVO_ControlIcon.h"

#include "NVO_DesignerNames.h"

#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <QtGui/QPixmap>

namespace nvo::designer {

namespace {

QPixmap DrawInitials(const QString &initials, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(image.rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = size / 5.0;
    painter.setPen(QColor(0x2B, 0x4C, 0x7E));
    painter.setBrush(QColor(0xDC, 0xE6, 0xF5));
    painter.drawRoundedRect(box, radius, radius);

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    // Three letters need a smaller face than two to stay inside the box.
    font.setPixelSize(initials.size() > 2 ? size * 3 / 10 : size * 4 / 10);
    painter.setFont(font);
    painter.setPen(QColor(0x1A, 0x2F, 0x52));
    painter.drawText(box, Qt::AlignCenter, initials);
    return QPixmap::fromImage(image);
}

} // namespace

QIcon ControlIcon(const QString &className)
{
    const QString initials = ControlInitials(className);
    QIcon icon;
    // Designer's widget box shows 16 or 22 px, its object inspector and
    // high-density screens want more: hand it a few crisp sizes.
    for (int size : {16, 22, 32, 48})
        icon.addPixmap(DrawInitials(initials, size));
    return icon;
}

} // namespace nvo::designer
