#pragma once

#include <QtWidgets/QMainWindow>

class QListWidget;
class QStackedWidget;

namespace gallery {

/// The gallery's main window: the list of controls on the left, the page of
/// the chosen control on the right.
class TGalleryWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit TGalleryWindow(QWidget *parent = nullptr);

    int PageCount() const;
    QString PageTitle(int index) const;
    /// Selects page `index` in the list and returns it, laid out at least at its
    /// minimum size (so that a grab shows all of it, also what needs scrolling).
    QWidget *ShowPage(int index);

private:
    QListWidget *FList;
    QStackedWidget *FPages;
};

} // namespace gallery
