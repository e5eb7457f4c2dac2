#include "Overview.h"

#include "GalleryWindow.h"

#include <QtGui/QImageWriter>
#include <QtGui/QPainter>
#include <QtWidgets/QApplication>

#include <vector>

namespace gallery {

namespace {
constexpr int kMargin = 12;
constexpr int kTitleHeight = 26;
constexpr int kColumns = 2;
} // namespace

QImage RenderOverview(TGalleryWindow &window)
{
    std::vector<QImage> shots;
    for (int i = 0; i < window.PageCount(); ++i)
        shots.push_back(window.ShowPage(i)->grab().toImage());
    const int count = int(shots.size());
    const int columns = qBound(1, count, kColumns);
    const int rows = (count + columns - 1) / columns;

    // Columns as wide as their widest page, rows as tall as their tallest one.
    std::vector<int> columnWidths(columns, 0);
    std::vector<int> rowHeights(qMax(rows, 1), 0);
    for (int i = 0; i < count; ++i) {
        columnWidths[i % columns] = qMax(columnWidths[i % columns], shots[i].width());
        rowHeights[i / columns] = qMax(rowHeights[i / columns], shots[i].height());
    }
    std::vector<int> columnX{kMargin};
    for (int width : columnWidths)
        columnX.push_back(columnX.back() + width + kMargin);
    std::vector<int> rowY{kMargin};
    for (int height : rowHeights)
        rowY.push_back(rowY.back() + kTitleHeight + height + kMargin);

    QImage overview(columnX.back(), rowY.back(), QImage::Format_RGB32);
    overview.fill(QColor(0xD8, 0xDC, 0xE2));
    QPainter painter(&overview);
    QFont titleFont = QApplication::font();
    titleFont.setBold(true);
    titleFont.setPixelSize(14);
    painter.setFont(titleFont);
    for (int i = 0; i < count; ++i) {
        const QPoint origin(columnX[i % columns], rowY[i / columns]);
        const QSize cell(columnWidths[i % columns], rowHeights[i / columns]);
        const QRect title(origin, QSize(cell.width(), kTitleHeight));
        painter.fillRect(title, QColor(0x2B, 0x4C, 0x7E));
        painter.setPen(Qt::white);
        painter.drawText(title.adjusted(8, 0, -8, 0), Qt::AlignVCenter | Qt::AlignLeft, window.PageTitle(i));
        const QPoint pageOrigin = origin + QPoint(0, kTitleHeight);
        painter.fillRect(QRect(pageOrigin, cell), QApplication::palette().window());
        painter.drawImage(pageOrigin, shots[i]);
    }
    return overview;
}

QString WritePng(const QImage &image, const QString &file)
{
    // The format is fixed, not guessed from the suffix: the file is a PNG whatever its name.
    QImageWriter writer(file, "png");
    if (writer.write(image))
        return QString();
    return writer.errorString();
}

} // namespace gallery
