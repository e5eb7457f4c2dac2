#include "DemoPage.h"
#include "Editors.h"
#include "NVO_Format.h"
#include "NVO_replistview.h"
#include "Pages.h"

#include <QtCore/QDate>
#include <QtGui/QCursor>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QVBoxLayout>

#include <memory>

namespace gallery {

namespace {

using nvo::TReportListView;
using nvo::TRLData;

constexpr int kRows = 100000;

/// 100,000 orders of mixed formats, generated the same way every time.
void FillOrders(TReportListView *view)
{
    static const char *const customers[] = {"Adler & Sons", "Birkenhof", "Cortez Ltd.", "Dunmore",
                                            "Eriksen AB",   "Fontaine",  "Gruber KG",   "Hollis Bros."};
    view->SetNrOfColumns(7);
    const char *const names[] = {"No.", "Customer", "Date", "Amount\n(EUR)", "Paid", "Rush", "PIN"};
    for (int c = 1; c <= 7; ++c)
        view->SetHeader(c, QString::fromUtf8(names[c - 1]));
    view->SetColumnFormat(1, QStringLiteral("[#i][60]"));
    view->SetColumnFormat(2, QStringLiteral("[c][120]Adler & Sons|Birkenhof|Cortez Ltd.|Dunmore"));
    view->SetColumnFormat(3, QStringLiteral("[dyyyy-MM-dd][110]"));
    view->SetColumnFormat(4, QStringLiteral("[f][90]"));
    view->SetColumnFormat(7, QStringLiteral("[s][60]"));
    view->SetColumnCheckMode(5, TRLData::cmBox);
    view->SetColumnCheckMode(6, TRLData::cmRadio);
    view->SetColumnIsPwd(7, true);
    view->SetColumnAlignment(1, nvo::taRightJustify);
    view->SetColumnAlignment(4, nvo::taRightJustify);
    view->SetColumnAlignment(5, nvo::taCenter);
    view->SetNrOfRows(kRows);
    nvo::TStringArray &cells = view->RLData().Strings();
    const QDate first(2025, 1, 1);
    cells.BeginUpdate();
    for (int r = 1; r <= kRows; ++r) {
        const unsigned hash = unsigned(r) * 2654435761u;
        cells.SetString(1, r, nvo::FormatInt(r));
        cells.SetString(2, r, QString::fromUtf8(customers[hash % 8]));
        cells.SetString(3, r, first.addDays(int(hash % 365)).toString(Qt::ISODate));
        cells.SetString(4, r, nvo::FormatFixed(double(hash % 1000000) / 100.0, 2, QLatin1Char('.')));
        cells.SetString(5, r, hash % 3 == 0 ? QStringLiteral("X") : QStringLiteral(" "));
        cells.SetString(6, r, QStringLiteral(" "));
        cells.SetString(7, r, nvo::FormatInt(1000 + hash % 9000));
    }
    cells.EndUpdate();
    view->SetElemChecked(6, 3, true);
    const int widths[] = {60, 110, 86, 86, 44, 44, 60};
    for (int c = 1; c <= 7; ++c)
        view->SetColWidths(c, widths[c - 1]);
}

/// `view` under a filter row: the expression, its syntax and the letter case, filtering
/// as the user types and keeping the sort the user chose by a header click. The label
/// tells how many rows show, or why the expression cannot be read.
QWidget *WithFilterBox(TReportListView *view)
{
    auto *box = new QWidget;
    auto *expression = new QLineEdit;
    expression->setPlaceholderText(QObject::tr("Filter the orders"));
    expression->setClearButtonEnabled(true);
    auto *mode = new QComboBox;
    mode->addItem(QObject::tr("Text"), int(TReportListView::TFilterMode::fmSimple));
    mode->addItem(QObject::tr("Words"), int(TReportListView::TFilterMode::fmBoolean));
    mode->addItem(QObject::tr("Regular expression"), int(TReportListView::TFilterMode::fmGrep));
    auto *ignoreCase = new QCheckBox(QObject::tr("Ignore case"));
    ignoreCase->setChecked(true);
    auto *status = new QLabel;
    const auto filter = [=] {
        try {
            view->FilterAndSort(expression->text(), {}, ignoreCase->isChecked(),
                                TReportListView::TFilterMode(mode->currentData().toInt()),
                                view->GetLastSortColumn(), view->GetLastSortOrder());
            status->setStyleSheet(QString());
            status->setText(QObject::tr("%1 of %2 rows").arg(view->GetNrOfShownRows()).arg(view->GetNrOfRows()));
        } catch (const nvo::ENVORepListError &error) {
            status->setStyleSheet(QStringLiteral("color: #c00000"));
            status->setText(error.Message());
        }
    };
    QObject::connect(expression, &QLineEdit::textChanged, view, filter);
    QObject::connect(mode, &QComboBox::currentIndexChanged, view, filter);
    QObject::connect(ignoreCase, &QCheckBox::toggled, view, filter);
    auto *row = new QHBoxLayout;
    row->addWidget(expression, 1);
    row->addWidget(mode);
    row->addWidget(ignoreCase);
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(row);
    layout->addWidget(status);
    layout->addWidget(view, 1);
    filter();
    return box;
}

} // namespace

QWidget *CreateReportListViewPage(QWidget *parent)
{
    auto *page = new TDemoPage(
        QObject::tr("Report list (TReportListView)"),
        QObject::tr("A table of texts over its own report store: 100,000 generated orders with "
                    "number, text, date and amount columns, check boxes (Paid), radio marks (Rush) "
                    "and a password column. Click a column header to sort (descending first, then "
                    "alternating); the current row stays current. Ctrl+click and Shift+click select "
                    "several rows in multiple selection; double-click a header border to fit a column."),
        parent);

    auto *live = new TReportListView;
    live->SetSuppressPaint(true);
    FillOrders(live);
    live->SetCommonHeader(QStringLiteral("Orders 2025"));
    live->SetCommonHeaderVisible(true);
    live->SetColumnHeadersHeight(36);
    live->SetRowSelectMode(2);
    live->SetRowEnabled(4, false);
    live->SetRowSelected(2, true);
    live->SetHighLightRow(6);
    live->SetInterRowIndicatorPos(9);
    live->setMinimumSize(520, 300);
    live->SetSuppressPaint(false);
    // A double-click on a data row edits the row in the row-entry form, at the pointer.
    auto pressedAt = std::make_shared<QPoint>();
    live->OnMouseDown = [pressedAt](QObject *, Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
        *pressedAt = QPoint(x, y);
    };
    live->OnDblClick = [live, pressedAt](QObject *) {
        const int row = live->MouseCell(pressedAt->x(), pressedAt->y()).Y;
        if (row >= 1)
            live->EditRowEntries(row, QCursor::pos().x(), QCursor::pos().y());
    };
    page->AddInstance(QObject::tr("Live, 100,000 rows: double-click a row to edit it"), WithFilterBox(live));

    auto *empty = new TReportListView;
    empty->SetNrOfRows(0);
    empty->SetEmptyMessage(QObject::tr("No orders yet|Add a row to begin"));
    empty->SetColorEmptyMsg(nvo::clr::Gray);
    empty->setMinimumSize(320, 120);
    page->AddInstance(QObject::tr("Empty, with a message"), empty);

    page->AddEditor(QStringLiteral("NrOfRows"), IntPropertyEditor(live, "NrOfRows", -1, 1000000));
    for (const char *property :
         {"RowSelectMode", "RowColPattern", "SortEnabled", "UseCtrlForMultiSel", "AutoAdvance",
          "CommonHeader", "CommonHeaderAlignment", "CommonHeaderVisible", "CommonHeaderHeight",
          "ColumnHeadersVisible", "ColumnHeadersHeight", "DefaultRowHeight", "FixedFirstColumn",
          "ShowEmptyCheckBoxes", "CheckMarksReadOnly", "HighLightRow", "HighLightColumn", "HighLightBold",
          "InterRowIndicatorPos", "InterRowIndicatorWidth", "EmptyMessage", "Enabled", "ColorText",
          "ColorBkgdNormal", "ColorBkgdShaded", "ColorHigh", "ColorHighText", "ColorSelectedRow",
          "ColorSelectedRowText", "ColorDisabledBkgd", "ColorDisabledText", "ColorColumnHd", "ColorCommonHd",
          "InterRowIndicatorColor"})
        page->AddEditor(QString::fromLatin1(property), PropertyEditor(live, property));
    return page;
}

} // namespace gallery
