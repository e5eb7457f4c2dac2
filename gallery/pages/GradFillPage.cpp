#include "DemoPage.h"
#include "Editors.h"
#include "NVO_gradfl.h"
#include "Pages.h"

namespace gallery {

namespace {

nvo::TGradFill *Fill(nvo::TGradFill::TGradType type, nvo::TColor first, nvo::TColor last, int colors)
{
    auto *fill = new nvo::TGradFill;
    fill->resize(110, 110);
    fill->SetFillType(type);
    fill->SetColorFirst(first);
    fill->SetColorLast(last);
    fill->SetNrColors(colors);
    return fill;
}

} // namespace

QWidget *CreateGradFillPage(QWidget *parent)
{
    using nvo::TGradFill;
    auto *page = new TDemoPage(
        QObject::tr("Gradient fill (TGradFill)"),
        QObject::tr("An area filled with NrColors bands from ColorFirst towards ColorLast, "
                    "horizontal or vertical, running edge to edge or mirrored about the middle, "
                    "with an optional grid along the band borders and a frame."),
        parent);

    auto *live = new TGradFill;
    live->SetFrameStyle(nvo::fsLowered);
    page->AddInstance(QObject::tr("Live"), live);
    page->AddInstance(QObject::tr("Vertical, 64 colours"),
                      Fill(TGradFill::gtVert, nvo::RGBColor(0, 40, 120), nvo::RGBColor(120, 220, 255), 64));
    page->AddInstance(QObject::tr("Mid band, horizontal"),
                      Fill(TGradFill::gtMidBandHoriz, nvo::RGBColor(60, 60, 70), nvo::RGBColor(235, 235, 240), 33));
    auto *mirrored = Fill(TGradFill::gtMidBandVert, nvo::RGBColor(20, 90, 20), nvo::RGBColor(200, 240, 120), 9);
    mirrored->SetGridMode(TGradFill::gmBoth);
    mirrored->SetGridColor(nvo::RGBColor(10, 50, 10));
    page->AddInstance(QObject::tr("Mid band, vertical, grid"), mirrored);
    auto *flipped = Fill(TGradFill::gtHoriz, nvo::clr::Maroon, nvo::clr::Yellow, 8);
    flipped->SetColorFlipped(true);
    flipped->SetGridMode(TGradFill::gmHoriz);
    flipped->SetFrameStyle(nvo::fsSimple);
    page->AddInstance(QObject::tr("Flipped, 8 colours, grid"), flipped);

    page->AddEditor(QStringLiteral("FillType"), PropertyEditor(live, "FillType"));
    page->AddEditor(QStringLiteral("NrColors"), IntPropertyEditor(live, "NrColors", -5, 300));
    page->AddEditor(QStringLiteral("ColorFirst"), PropertyEditor(live, "ColorFirst"));
    page->AddEditor(QStringLiteral("ColorLast"), PropertyEditor(live, "ColorLast"));
    page->AddEditor(QStringLiteral("ColorFlipped"), PropertyEditor(live, "ColorFlipped"));
    page->AddEditor(QStringLiteral("GridMode"), PropertyEditor(live, "GridMode"));
    page->AddEditor(QStringLiteral("GridColor"), PropertyEditor(live, "GridColor"));
    page->AddEditor(QStringLiteral("FrameStyle"), PropertyEditor(live, "FrameStyle"));
    return page;
}

} // namespace gallery
