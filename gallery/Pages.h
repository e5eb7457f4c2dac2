#pragma once

#include <QtCore/QString>

#include <functional>
#include <vector>

class QWidget;

namespace gallery {

/// One page of the gallery: the control class it shows, its title in the list,
/// and the function that builds the page.
struct TGalleryPage {
    QString ClassName;
    QString Title;
    std::function<QWidget *(QWidget *parent)> Create;
};

/// The pages in list order: the hand-made pages first, then a page built from
/// the published properties for each catalogue control that has none yet.
const std::vector<TGalleryPage> &GalleryPages();

// Hand-made pages, one file each in pages/.
QWidget *CreateNumLabPage(QWidget *parent);
QWidget *CreateNumIOPage(QWidget *parent);
QWidget *CreateNumIO2Page(QWidget *parent);
QWidget *CreateMeterPage(QWidget *parent);
QWidget *CreateProgBarPage(QWidget *parent);
QWidget *CreateRasterLabPage(QWidget *parent);
QWidget *CreateSevenSegPage(QWidget *parent);
QWidget *CreateMiniCalPage(QWidget *parent);
QWidget *CreateColSelPage(QWidget *parent);
QWidget *CreateMarkSelPage(QWidget *parent);
QWidget *CreateThumbnailsPage(QWidget *parent);
QWidget *CreateRotLabPage(QWidget *parent);
QWidget *CreateGradFillPage(QWidget *parent);
QWidget *CreateOnOffButPage(QWidget *parent);
QWidget *CreateRepSpeedButtonPage(QWidget *parent);
QWidget *CreateReportListViewPage(QWidget *parent);
QWidget *CreateFolderTreePage(QWidget *parent);
QWidget *CreateNTabEdPage(QWidget *parent);

} // namespace gallery
