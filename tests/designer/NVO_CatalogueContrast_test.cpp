// Every control of the catalogue under a dark palette: its texts must stay readable
// wherever they are readable under the light one. The catalogue is iterated, so a
// control added to it later is checked too.

#include "NVO_Catalogue.h"
#include "NVO_Color.h"
#include "PinnedFont.h"

#include "../../gallery/Look.h"

#include <QtCore/QMetaProperty>
#include <QtWidgets/QStyle>
#include <QtWidgets/QStyleFactory>
#include <QtWidgets/QWidget>
#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace nvo;

/// Gives every text property the library declares on `control` a short text.
void FillTexts(QWidget &control)
{
    for (const QMetaObject *m = control.metaObject(); m && QByteArray(m->className()).startsWith("nvo::");
         m = m->superClass())
        for (int i = m->propertyOffset(); i < m->propertyCount(); ++i) {
            const QMetaProperty property = m->property(i);
            const QByteArray name = property.name();
            if (property.isWritable() && property.metaType().id() == QMetaType::QString
                && (name.endsWith("Text") || name == "Caption"))
                property.write(&control, QStringLiteral("8Ab"));
        }
}

/// The control drawn with its texts and drawn with them shrunk to nothing: the pixels
/// that differ are the texts, the second picture holds what lies behind them.
struct TTextPixels
{
    QImage withText, behind;
};

TTextPixels Render(const TControlEntry &entry, const QPalette &palette)
{
    std::unique_ptr<QWidget> control(entry.Create(nullptr));
    control->setPalette(palette);
    control->setFont(test::PinnedFont());
    FillTexts(*control);
    control->resize(control->sizeHint().expandedTo(QSize(200, 40)));
    TTextPixels pixels;
    pixels.withText = control->grab().toImage().convertToFormat(QImage::Format_RGB32);
    control->setFont(test::PinnedFont(1));
    pixels.behind = control->grab().toImage().convertToFormat(QImage::Format_RGB32);
    return pixels;
}

TEST(CatalogueContrast, TextsReadableUnderTheLightPaletteStayReadableUnderADarkOne)
{
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
    const QPalette light = fusion->standardPalette(), dark = gallery::DarkPalette();
    for (const TControlEntry &entry : ControlCatalogue()) {
        const TTextPixels lit = Render(entry, light), darkened = Render(entry, dark);
        ASSERT_EQ(lit.withText.size(), darkened.withText.size()) << entry.ClassName.toStdString();
        // Of the text pixels that reach 4.5:1 under the light palette, the share that
        // reaches it under the dark one too.
        int readable = 0, kept = 0;
        for (int y = 0; y < lit.withText.height(); ++y)
            for (int x = 0; x < lit.withText.width(); ++x) {
                const QRgb text = lit.withText.pixel(x, y), ground = lit.behind.pixel(x, y);
                if (text == ground || ContrastRatio(QColor(text), QColor(ground)) < 4.5)
                    continue;
                ++readable;
                kept += ContrastRatio(QColor(darkened.withText.pixel(x, y)), QColor(darkened.behind.pixel(x, y))) >= 4.5;
            }
        if (readable > 0)
            EXPECT_GE(double(kept) / readable, 0.95)
                << entry.ClassName.toStdString() << ": " << kept << " of " << readable << " text pixels";
    }
}

} // namespace
