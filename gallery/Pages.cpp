#include "Pages.h"

#include "GenericPage.h"
#include "NVO_Catalogue.h"

#include <algorithm>

namespace gallery {

namespace {

std::vector<TGalleryPage> HandMadePages()
{
    // A control's own page joins the gallery with one line here.
    return {
        {QStringLiteral("nvo::TNumLab"), QStringLiteral("Numeric label"), &CreateNumLabPage},
        {QStringLiteral("nvo::TNumIO"), QStringLiteral("Numeric edit field"), &CreateNumIOPage},
        {QStringLiteral("nvo::TNumIO2"), QStringLiteral("Custom numeric field"), &CreateNumIO2Page},
        {QStringLiteral("nvo::TMeter"), QStringLiteral("Analog meter"), &CreateMeterPage},
        {QStringLiteral("nvo::TProgBar"), QStringLiteral("Progress bar"), &CreateProgBarPage},
        {QStringLiteral("nvo::TRasterLab"), QStringLiteral("Dot-matrix label"), &CreateRasterLabPage},
        {QStringLiteral("nvo::TSevenSeg"), QStringLiteral("Seven-segment display"), &CreateSevenSegPage},
        {QStringLiteral("nvo::TMiniCal"), QStringLiteral("Mini calendar"), &CreateMiniCalPage},
        {QStringLiteral("nvo::TColSel"), QStringLiteral("Colour selector"), &CreateColSelPage},
        {QStringLiteral("nvo::TMarkSel"), QStringLiteral("Marker selector"), &CreateMarkSelPage},
        {QStringLiteral("nvo::TThumbnails"), QStringLiteral("Thumbnail strip"), &CreateThumbnailsPage},
        {QStringLiteral("nvo::TRotLab"), QStringLiteral("Rotated label"), &CreateRotLabPage},
        {QStringLiteral("nvo::TGradFill"), QStringLiteral("Gradient fill"), &CreateGradFillPage},
        {QStringLiteral("nvo::TOnOffBut"), QStringLiteral("On/off button"), &CreateOnOffButPage},
        {QStringLiteral("nvo::TRepSpeedButton"), QStringLiteral("Auto-repeat button"), &CreateRepSpeedButtonPage},
        {QStringLiteral("nvo::TReportListView"), QStringLiteral("Report list"), &CreateReportListViewPage},
        {QStringLiteral("nvo::TFolderTree"), QStringLiteral("Folder tree"), &CreateFolderTreePage},
        {QStringLiteral("nvo::TNTabEd"), QStringLiteral("Numeric table editor"), &CreateNTabEdPage},
    };
}

} // namespace

const std::vector<TGalleryPage> &GalleryPages()
{
    static const std::vector<TGalleryPage> pages = [] {
        std::vector<TGalleryPage> list = HandMadePages();
        const auto hasPage = [&list](const QString &className) {
            return std::any_of(list.begin(), list.end(),
                               [&](const TGalleryPage &page) { return page.ClassName == className; });
        };
        for (const nvo::TControlEntry &entry : nvo::ControlCatalogue())
            if (!hasPage(entry.ClassName))
                list.push_back({entry.ClassName, GenericPageTitle(entry),
                                [&entry](QWidget *parent) { return CreateGenericPage(entry, parent); }});
        return list;
    }();
    return pages;
}

} // namespace gallery
