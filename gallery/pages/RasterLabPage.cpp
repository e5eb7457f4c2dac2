#include "DemoPage.h"
#include "Editors.h"
#include "NVO_RasterLab.h"
#include "Pages.h"

#include <QtGui/QFont>

namespace gallery {

QWidget *CreateRasterLabPage(QWidget *parent)
{
    using nvo::TRasterLab;
    auto *page = new TDemoPage(
        QObject::tr("Dot-matrix label (TRasterLab)"),
        QObject::tr("Text as square dots on a raster of unlit dots, in the built-in 7 x 12 font or "
                    "in a bit font sampled from any installed font; it can centre itself, fit its "
                    "height to the font and scroll on a timer."),
        parent);

    auto *live = new TRasterLab;
    live->SetText(QStringLiteral("+++ Next train 12:30 to Zürich, platform 4 +++"));
    live->SetAutoHeight(true);
    live->SetScrollInterval(40);
    live->SetScrollIncrement(2);
    live->SetScrollMode(TRasterLab::rdsmLeft);
    page->AddInstance(QObject::tr("Scrolling message"), live);

    auto *centred = new TRasterLab;
    centred->SetText(QStringLiteral("21.5 °C"));
    centred->SetColorDotOn(nvo::RGBColor(0xFF, 0xB0, 0x00));
    centred->SetColorDotOff(nvo::RGBColor(0x40, 0x2C, 0x00));
    centred->SetDotSize(4);
    centred->SetAutoHeight(true);
    centred->SetAutoCenter(true);
    page->AddInstance(QObject::tr("Centred, auto height"), centred);

    auto *fixed = new TRasterLab;
    fixed->SetText(QStringLiteral("Fixed pitch: Ä ß ç 0.5"));
    fixed->SetProportional(false);
    fixed->SetDotSize(2);
    fixed->SetCharBlockMode(TRasterLab::rdbmRaster);
    fixed->SetColorDotOn(nvo::RGBColor(0xFF, 0x40, 0x40));
    fixed->SetColorDotOff(nvo::RGBColor(0x30, 0x10, 0x10));
    fixed->SetFrameStyle(nvo::fsRaised);
    fixed->SetAutoHeight(true);
    page->AddInstance(QObject::tr("Fixed pitch, full raster"), fixed);

    auto *sampled = new TRasterLab;
    QFont font = sampled->font();
    font.setFamily(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    sampled->setFont(font);
    sampled->SetText(QStringLiteral("Sampled from DejaVu Sans"));
    sampled->SetDotSize(1);
    sampled->SetCharBlockMode(TRasterLab::rdbmOff);
    sampled->SetColorDotOn(nvo::RGBColor(0x80, 0xD0, 0xFF));
    sampled->SetFrameStyle(nvo::fsEngraved);
    sampled->SetAutoHeight(true);
    page->AddInstance(QObject::tr("Sampled font, dots only"), sampled);

    page->AddEditor(QStringLiteral("Text"), PropertyEditor(live, "Text"));
    page->AddEditor(QStringLiteral("ScrollMode"), PropertyEditor(live, "ScrollMode"));
    // Wider than the property's range, to show that 1 is stored as 10.
    page->AddEditor(QStringLiteral("ScrollInterval"), IntPropertyEditor(live, "ScrollInterval", 1, 500));
    page->AddEditor(QStringLiteral("ScrollIncrement"), IntPropertyEditor(live, "ScrollIncrement", -10, 10));
    page->AddEditor(QStringLiteral("ScrollLoop"), PropertyEditor(live, "ScrollLoop"));
    page->AddEditor(QStringLiteral("DotSize"), IntPropertyEditor(live, "DotSize", 0, 40));
    page->AddEditor(QStringLiteral("DotSpacing"), IntPropertyEditor(live, "DotSpacing", -1, 5));
    page->AddEditor(QStringLiteral("CharBlockMode"), PropertyEditor(live, "CharBlockMode"));
    page->AddEditor(QStringLiteral("Proportional"), PropertyEditor(live, "Proportional"));
    page->AddEditor(QStringLiteral("AutoCenter"), PropertyEditor(live, "AutoCenter"));
    page->AddEditor(QStringLiteral("FrameStyle"), PropertyEditor(live, "FrameStyle"));
    page->AddEditor(QStringLiteral("ColorDotOn"), PropertyEditor(live, "ColorDotOn"));
    page->AddEditor(QStringLiteral("ColorDotOff"), PropertyEditor(live, "ColorDotOff"));
    page->AddEditor(QStringLiteral("ColorLabBakG"), PropertyEditor(live, "ColorLabBakG"));
    return page;
}

} // namespace gallery
