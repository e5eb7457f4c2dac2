#include "DemoPage.h"
#include "Editors.h"
#include "NVO_marksel.h"
#include "Pages.h"

#include <QtWidgets/QCheckBox>

namespace gallery {

namespace {

/// Shows only the symbols 0..16 when checked, all symbols when not.
QWidget *FewSymbolsEditor(nvo::TMarkSel *selector)
{
    auto *box = new QCheckBox(QObject::tr("only 0..16"));
    QObject::connect(box, &QCheckBox::toggled, selector, [selector](bool few) {
        selector->ShowAllMarks();
        if (few)
            for (int mark = 17; mark < nvo::NrOfMarks; ++mark)
                selector->SetMarkVisible(mark, false);
    });
    return box;
}

} // namespace

QWidget *CreateMarkSelPage(QWidget *parent)
{
    using nvo::TMarkSel;
    auto *page = new TDemoPage(
        QObject::tr("Marker selector (TMarkSel)"),
        QObject::tr("The 52 marker symbols in a grid. The symbol nearest to the mouse is "
                    "highlighted; a click selects it. Arrow keys move the selection, Enter or "
                    "Space choose. Symbol 0 may show as a cross over its cell."),
        parent);

    auto *live = new TMarkSel;
    live->SetSelected(12);
    page->AddInstance(QObject::tr("Live"), live);

    auto *wide = new TMarkSel;
    wide->resize(400, 112);
    wide->SetNrOfColumns(13);
    wide->SetNrOfRows(4);
    wide->SetShowZeroAsCross(false);
    wide->SetFrameStyle(nvo::fsLowered);
    wide->SetColorBackGnd(nvo::clr::White);
    wide->SetColorMarks(nvo::RGBColor(0x20, 0x40, 0x90));
    wide->SetColorSelBG(nvo::RGBColor(0xFF, 0xE8, 0xA0));
    wide->SetSelected(30);
    page->AddInstance(QObject::tr("13 x 4, zero as a dot"), wide);

    auto *solid = new TMarkSel;
    solid->resize(180, 76);
    solid->SetNrOfColumns(6);
    solid->SetNrOfRows(2);
    solid->HideAllMarks();
    for (int mark : {2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22})
        solid->SetMarkVisible(mark, true);
    solid->SetSelected(8);
    page->AddInstance(QObject::tr("Solid symbols only"), solid);

    auto *disabled = new TMarkSel;
    disabled->resize(180, 76);
    disabled->SetNrOfColumns(6);
    disabled->SetNrOfRows(2);
    disabled->SetSelected(3);
    disabled->SetEnabled(false);
    page->AddInstance(QObject::tr("Disabled"), disabled);

    // Wider than the properties' ranges, to show that the values outside are ignored.
    page->AddEditor(QStringLiteral("Selected"), IntPropertyEditor(live, "Selected", -3, 55));
    page->AddEditor(QStringLiteral("NrOfColumns"), IntPropertyEditor(live, "NrOfColumns", 0, 55));
    page->AddEditor(QStringLiteral("NrOfRows"), IntPropertyEditor(live, "NrOfRows", 0, 55));
    page->AddEditor(QStringLiteral("FrameStyle"), PropertyEditor(live, "FrameStyle"));
    page->AddEditor(QStringLiteral("ShowZeroAsCross"), PropertyEditor(live, "ShowZeroAsCross"));
    page->AddEditor(QStringLiteral("MarkVisible"), FewSymbolsEditor(live));
    for (const char *colour : {"ColorBackGnd", "ColorMarks", "ColorSelFG", "ColorSelBG", "ColorHiLiteBG",
                               "ColorHiLiteSymbol"})
        page->AddEditor(QString::fromLatin1(colour), PropertyEditor(live, colour));
    page->AddEditor(QStringLiteral("Enabled"), PropertyEditor(live, "Enabled"));
    return page;
}

} // namespace gallery
