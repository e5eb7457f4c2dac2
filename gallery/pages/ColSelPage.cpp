#include "DemoPage.h"
#include "Editors.h"
#include "NVO_Colsel.h"
#include "Pages.h"

#include <QtWidgets/QComboBox>

namespace gallery {

namespace {

nvo::TColSel *MakeSelector(int width)
{
    auto *selector = new nvo::TColSel;
    selector->resize(width, selector->sizeHint().height());
    return selector;
}

/// A choice of the four palettes, loaded into `selector` when picked.
QWidget *PaletteChooser(nvo::TColSel *selector)
{
    using Load = void (nvo::TColSel::*)();
    const struct {
        const char *name;
        Load load;
    } palettes[] = {
        {"Basic VGA (16)", &nvo::TColSel::LoadBasicVGAPalette},
        {"Extended (20)", &nvo::TColSel::LoadExtendedPalette},
        {"Standard (47)", &nvo::TColSel::LoadStandardPalette},
        {"System colours (27)", &nvo::TColSel::LoadWindowsSystemPalette},
    };
    auto *chooser = new QComboBox;
    for (const auto &palette : palettes)
        chooser->addItem(QString::fromLatin1(palette.name));
    chooser->setCurrentIndex(1);
    std::vector<Load> loaders;
    for (const auto &palette : palettes)
        loaders.push_back(palette.load);
    QObject::connect(chooser, &QComboBox::activated, selector,
                     [selector, loaders](int index) { (selector->*loaders[size_t(index)])(); });
    return chooser;
}

/// A colour button that sets SelColor and follows it.
QWidget *SelColorEditor(nvo::TColSel *selector)
{
    auto *button = new TColorButton(selector->GetSelColor());
    button->OnPicked = [selector](nvo::TColor color) { selector->SetSelColor(color); };
    QObject::connect(selector, &nvo::TColSel::SelColorChanged, button, &TColorButton::SetColor);
    return button;
}

} // namespace

QWidget *CreateColSelPage(QWidget *parent)
{
    using nvo::TColSel;
    auto *page = new TDemoPage(
        QObject::tr("Colour selector (TColSel)"),
        QObject::tr("A drop-down list of colour bars with names. Entries with a page symbol are "
                    "editable: open the list with the mouse over the bar to pick a new colour. A "
                    "colour the palette lacks replaces the selected entry under its hexadecimal name."),
        parent);

    TColSel *live = MakeSelector(200);
    for (int index : {1, 10, 12, 16})
        live->SetColorEditAllowed(index, true);
    live->SetSelColor(nvo::clr::Red);
    page->AddInstance(QObject::tr("Live"), live);

    TColSel *vga = MakeSelector(220);
    vga->LoadBasicVGAPalette();
    vga->SetColorBarWidth(60);
    vga->SetAllColorEditFlags();
    vga->SetSelColor(nvo::clr::Navy);
    page->AddInstance(QObject::tr("Basic VGA, all editable"), vga);

    TColSel *system = MakeSelector(220);
    system->LoadWindowsSystemPalette();
    system->SetSelColor(nvo::clr::Highlight);
    page->AddInstance(QObject::tr("System colours"), system);

    TColSel *own = MakeSelector(200);
    own->SetNumColors(3);
    own->SetColors(1, nvo::RGBColor(0xE0, 0x40, 0x30));
    own->SetColors(2, nvo::RGBColor(0x30, 0xA0, 0x50));
    own->SetColors(3, nvo::RGBColor(0x30, 0x60, 0xD0));
    own->SetColorNames(1, QObject::tr("Phase L1"));
    own->SetColorNames(2, QObject::tr("Phase L2"));
    own->SetColorNames(3, QObject::tr("Phase L3"));
    page->AddInstance(QObject::tr("Own colours and names"), own);

    TColSel *plain = MakeSelector(160);
    plain->SetColorBarWidth(0);
    plain->SetSelColor(nvo::RGBColor(0x12, 0x34, 0x56));
    page->AddInstance(QObject::tr("No bar, unnamed colour"), plain);

    TColSel *disabled = MakeSelector(200);
    disabled->SetSelColor(nvo::clr::Teal);
    disabled->SetEnabled(false);
    page->AddInstance(QObject::tr("Disabled"), disabled);

    page->AddEditor(QStringLiteral("SelColor"), SelColorEditor(live));
    page->AddEditor(QObject::tr("Palette"), PaletteChooser(live));
    // Wider than the property's range, to show that 0 and 48 are ignored.
    page->AddEditor(QStringLiteral("NumColors"), IntPropertyEditor(live, "NumColors", 0, 48));
    page->AddEditor(QStringLiteral("ColorBarWidth"), IntPropertyEditor(live, "ColorBarWidth", -5, 80));
    page->AddEditor(QStringLiteral("DropDownCount"), IntPropertyEditor(live, "DropDownCount", 1, 47));
    page->AddEditor(QStringLiteral("Color"), PropertyEditor(live, "Color"));
    page->AddEditor(QStringLiteral("Enabled"), PropertyEditor(live, "Enabled"));
    return page;
}

} // namespace gallery
