#include "GalleryWindow.h"

#include "Pages.h"

#include <QtWidgets/QApplication>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QScrollArea>
#include <QtWidgets/QStackedWidget>

namespace gallery {

TGalleryWindow::TGalleryWindow(QWidget *parent) : QMainWindow(parent)
{
    setWindowTitle(tr("nvoquorvel gallery"));
    FList = new QListWidget;
    FList->setFixedWidth(170);
    FPages = new QStackedWidget;
    for (const TGalleryPage &page : GalleryPages()) {
        FList->addItem(page.Title);
        // A page with many editors may be taller than the window.
        auto *scroller = new QScrollArea;
        scroller->setWidgetResizable(true);
        scroller->setFrameShape(QFrame::NoFrame);
        scroller->setWidget(page.Create(nullptr));
        FPages->addWidget(scroller);
    }
    connect(FList, &QListWidget::currentRowChanged, FPages, &QStackedWidget::setCurrentIndex);

    auto *central = new QWidget;
    auto *layout = new QHBoxLayout(central);
    layout->addWidget(FList);
    layout->addWidget(FPages, 1);
    setCentralWidget(central);
    FList->setCurrentRow(0);
    resize(1240, 760);
}

int TGalleryWindow::PageCount() const
{
    return FPages->count();
}

QString TGalleryWindow::PageTitle(int index) const
{
    const QListWidgetItem *item = FList->item(index);
    return item ? item->text() : QString();
}

QWidget *TGalleryWindow::ShowPage(int index)
{
    FList->setCurrentRow(index);
    // Lets the layouts of a page that was never shown settle before it is grabbed.
    QApplication::processEvents();
    const auto *scroller = qobject_cast<const QScrollArea *>(FPages->currentWidget());
    return scroller ? scroller->widget() : nullptr;
}

} // namespace gallery
