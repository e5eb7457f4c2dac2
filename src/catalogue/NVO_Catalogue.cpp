#include "NVO_Catalogue.h"

#include "NVO_NumIO.h"
#include "NVO_NumIO2.h"
#include "NVO_NumLab.h"

#include "NVO_replistview.h"

#include "NVO_ntabed.h"

#include "NVO_Meter.h"

#include "NVO_MiniCal.h"

#include "NVO_ProgBar.h"
#include "NVO_RasterLab.h"
#include "NVO_sevenseg.h"
#include "NVO_RotLab.h"
#include "NVO_gradfl.h"

#include "NVO_Colsel.h"
#include "NVO_FolderTree.h"
#include "NVO_marksel.h"
#include "NVO_Thumbnails.h"

#include "NVO_onoffbut.h"
#include "NVO_repsbut.h"

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
        Entry<TThumbnails>("nvo::TThumbnails", "NVO_Thumbnails.h", "nvoquorvel", "Thumbnail strip: numbered slides in a scrolling grid, pictures drawn on request, selection by ranges"),
        Entry<TRotLab>("nvo::TRotLab", "NVO_RotLab.h", "nvoquorvel", "Rotated label: a caption at any angle around a reference point, embossed when disabled"),
        Entry<TGradFill>("nvo::TGradFill", "NVO_gradfl.h", "nvoquorvel", "Gradient fill: stepped colour bands, edge to edge or mirrored, with grid lines and a frame"),
        Entry<TOnOffBut>("nvo::TOnOffBut", "NVO_onoffbut.h", "nvoquorvel", "On/off button: switches, lamps and keys in 23 styles, with texts, groups and speed mode"),
        Entry<TRepSpeedButton>("nvo::TRepSpeedButton", "NVO_repsbut.h", "nvoquorvel", "Auto-repeat button: a speed button that repeats after a start delay while held"),
        Entry<TReportListView>("nvo::TReportListView", "NVO_replistview.h", "nvoquorvel", "Report list: a table of texts with check-mark columns, header rows, row selection and sorting by a header click"),
        Entry<TFolderTree>("nvo::TFolderTree", "NVO_FolderTree.h", "nvoquorvel", "Folder tree: the folders below a root, read lazily, selected by path and extended by new folders"),
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
