#include "DemoPage.h"
#include "Editors.h"
#include "NVO_ntabed.h"
#include "Pages.h"

#include <cmath>

namespace gallery {

namespace {

constexpr int kColumns = 20;
constexpr int kRows = 50;
constexpr int kSampleColumn = 2; ///< the identifier-valued column

/// A measurement table: 50 samples of 20 channels, a nominal "material" column, a few
/// marked and missing readings and one cell that is not a number.
nvo::TNTabEd *MakeMeasurementTable()
{
    using nvo::TNTabEd;
    auto *table = new TNTabEd;
    table->SetSuppressPaint(true);
    table->Redimension(kColumns, kRows);
    for (int col = 1; col <= kColumns; ++col) {
        table->SetColName(col, QStringLiteral("Ch %1").arg(col));
        table->SetColAttrib(col, col % 4);
        for (int row = 1; row <= kRows; ++row)
            table->SetElem(col, row, std::sin(col * 0.7 + row * 0.13) * std::pow(10.0, col % 5));
    }
    for (int row = 1; row <= kRows; ++row) {
        table->SetRowName(row, QStringLiteral("Sample %1").arg(row));
        table->SetRowAttrib(row, row % 3 == 0 ? 1 : 0);
    }
    nvo::TDataTable &data = table->Data();
    data.SetMScaleType(kSampleColumn, nvo::mstNominal);
    const char *materials[] = {"steel", "copper", "brass", "glass"};
    for (int id = 1; id <= 4; ++id)
        data.SetNominalID(kSampleColumn, id, QString::fromLatin1(materials[id - 1]));
    for (int row = 1; row <= kRows; ++row)
        table->SetElem(kSampleColumn, row, 1 + row % 4);
    table->SetDecPlaces(1, 1);
    table->SetDecPlaces(4, -1);
    table->SetDecPlaces(6, 0);
    for (int row = 2; row <= 5; ++row)
        table->SetElemMarkedA(3, row, true);
    for (int col = 4; col <= 6; ++col)
        table->SetElemMarkedB(col, 3, true);
    table->SetElemMarkedA(5, 3, true);
    table->SetIsEmpty(7, 2, true);
    data.SetCellState(8, 4, nvo::cellstate::NotANumber);
    // A field of four: the scientific column then shows four significant digits.
    table->SetNumWidth(4);
    table->SetComment(QStringLiteral("Bench run 12, channels 1 to 20"));
    for (int col = -1; col <= kColumns; ++col)
        table->AutoColWidth(col, true, 0);
    table->SetSelection({4, 6, 5, 8});
    table->SetSuppressPaint(false);
    table->resize(600, 420);
    return table;
}

} // namespace

QWidget *CreateNTabEdPage(QWidget *parent)
{
    auto *page = new TDemoPage(
        QObject::tr("Numeric table editor (TNTabEd)"),
        QObject::tr("A data table of 50 samples by 20 channels with row and column names, the row "
                    "attributes beside the names and a \"material\" column whose values show as "
                    "identifiers (pick list while editing). Marks A are red, B blue, both purple; "
                    "an empty cell shows nothing and an unreadable one \"-nan-\". Type a number "
                    "(\",\" or \".\" as decimal point) and press Enter: the value is stored, its "
                    "marks cleared and the next cell below becomes current. The corner shows the "
                    "selection's column:row."),
        parent);
    nvo::TNTabEd *live = MakeMeasurementTable();
    page->AddInstance(QObject::tr("50 x 20, live"), live);

    page->AddEditor(QStringLiteral("NrOfColumns"), IntPropertyEditor(live, "NrOfColumns", 1, 200));
    page->AddEditor(QStringLiteral("NrOfRows"), IntPropertyEditor(live, "NrOfRows", 1, 1000));
    page->AddEditor(QStringLiteral("NumWidth"), IntPropertyEditor(live, "NumWidth", 1, 20));
    for (const char *property :
         {"AttribRowVisible", "AttribColVisible", "DataReadOnly", "AutoAdvance", "AutoAdvanceDir",
          "BoldMarks", "BoldSelHeads", "OptimizeRowHeight", "ColorBackground", "ColorFixed",
          "ColorNormal", "ColorSelected", "ColorMarkedA", "ColorMarkedB", "ColorMarkedBoth",
          "ColorRangeSelFG", "ColorRangeSelBG", "Comment", "BlockInternalPopup", "CommentEditingAllowed"})
        page->AddEditor(QString::fromLatin1(property), PropertyEditor(live, property));
    return page;
}

} // namespace gallery
