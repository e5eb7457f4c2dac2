#include "NVO_Catalogue.h"

#include "NVO_NumIO.h"
#include "NVO_NumIO2.h"
#include "NVO_NumLab.h"

#include "NVO_Meter.h"

#include "NVO_MiniCal.h"
#include "NVO_ntabed.h"

#include "NVO_ProgBar.h"
#include "NVO_RasterLab.h"
#include "NVO_sevenseg.h"

#include "NVO_Colsel.h"
#include "NVO_marksel.h"

#include <QtWidgets/QWidget>

namespace nvo {

namespace {
template<class Control>
TControlEntry Entry(const char *className, const char *header, const char *group, const char *toolTip)
{
    return {QString::fromLatin1(className), QString::fromLatin1(header), QString::fromLatin1(group),
            QString::fromLatin1(toolTip), false,
            [](QWidget *parent) -> QWidget * { return new Control(parent); }};
}
} // namespace

const std::vector<TControlEntry> &ControlCatalogue()
{
    // A new control joins forms, Designer and the gallery's factory with one line here.
    static const std::vector<TControlEntry> catalogue = {
        Entry<TNumIO>("nvo::TNumIO", "NVO_NumIO.h", "nvoquorvel", "Numeric edit field: keeps only valid numbers of its input format and range"),
        Entry<TNumIO2>("nvo::TNumIO2", "NVO_NumIO2.h", "nvoquorvel", "Custom numeric field: typed number with caret and selection, spin buttons and a gauge"),
        Entry<TNumLab>("nvo::TNumLab", "NVO_NumLab.h", "nvoquorvel", "Numeric label: a formatted value in a framed box between two texts"),
        Entry<TMeter>("nvo::TMeter", "NVO_Meter.h", "nvoquorvel", "Analog panel meter with needle, scale and limit watch"),
        Entry<TMiniCal>("nvo::TMiniCal", "NVO_MiniCal.h", "nvoquorvel", "Mini calendar: one month with week numbers, holidays and movable feasts in four languages"),
        Entry<TProgBar>("nvo::TProgBar", "NVO_ProgBar.h", "nvoquorvel", "Progress bar with colour gradient, grid, rotated value text and automatic increment"),
        Entry<TRasterLab>("nvo::TRasterLab", "NVO_RasterLab.h", "nvoquorvel", "Dot-matrix label: text in square dots of a bit font, scrolling on a timer"),
        Entry<TSevenSeg>("nvo::TSevenSeg", "NVO_sevenseg.h", "nvoquorvel", "Seven-segment display: slanted digits with decimal points"),
        Entry<TColSel>("nvo::TColSel", "NVO_Colsel.h", "nvoquorvel", "Colour selector: a drop-down list of colour bars with names, from palettes or set one by one"),
        Entry<TMarkSel>("nvo::TMarkSel", "NVO_marksel.h", "nvoquorvel", "Marker selector: the 52 marker symbols in a grid, picked with the mouse or the keys"),
        Entry<TNTabEd>("nvo::TNTabEd", "NVO_ntabed.h", "nvoquorvel", "Numeric table editor: a data table with names, attributes, cell marks and identifier columns"),
    };
    return catalogue;
}

QWidget *CreateControl(const QString &className, QWidget *parent)
{
    for (const TControlEntry &entry : ControlCatalogue())
        if (entry.ClassName == className)
            return entry.Create(parent);
    return nullptr;
}

} // namespace nvo
