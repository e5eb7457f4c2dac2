#pragma once
// The reference the grid benchmarks measure painting and scrolling against: Qt's own
// table view laid out like the grids.
#include <QtCore/QAbstractItemModel>
#include <QtCore/QSize>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QTableView>

namespace nvo::bench {

/// Shows `model` in `view` with 64 x 24 cells, no frame and no scroll bars, at `size`;
/// without `rowHeader` the row numbers at the left are hidden.
inline void ShowAsReferenceTable(QTableView &view, QAbstractItemModel *model, QSize size, bool rowHeader)
{
    view.setModel(model);
    view.setFrameShape(QFrame::NoFrame);
    view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view.verticalHeader()->setVisible(rowHeader);
    view.horizontalHeader()->setDefaultSectionSize(64);
    view.verticalHeader()->setDefaultSectionSize(24);
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.resize(size);
    view.show();
}

} // namespace nvo::bench
