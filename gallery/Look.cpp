#include "Look.h"

#include <QtGui/QFont>
#include <QtWidgets/QApplication>
#include <QtWidgets/QStyle>
#include <QtWidgets/QStyleFactory>

namespace gallery {

void ApplyFixedLook(QApplication &app)
{
    if (QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion"))) {
        app.setStyle(fusion);
        app.setPalette(fusion->standardPalette());
    }
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    font.setHintingPreference(QFont::PreferFullHinting);
    app.setFont(font);
}

} // namespace gallery
