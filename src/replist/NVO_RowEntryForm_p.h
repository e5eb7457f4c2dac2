#pragma once

// The report list view's row-entry form: one labelled editor per column of one data
// row, chosen by the column's format, shown modally and written back on OK. The
// view's EditRowEntries (defined in NVO_RowEntryForm.cpp) runs it.

#include "NVO_Global.h"
#include "NVO_NumFormat.h"

#include <QtCore/QRect>
#include <QtCore/QString>
#include <QtCore/QStringList>

namespace nvo {

/// One column's editor in the row-entry form, as the column format and the cell text
/// describe it.
struct TRowEntryField {
    enum TEditorKind { ekNone, ekCombo, ekList, ekDate, ekNumber, ekText };

    TEditorKind Editor = ekText;
    bool ReadOnly = false;       ///< shown disabled and never written back
    int Width = 200;             ///< W of the format
    QStringList Items;           ///< ekCombo, ekList: the items, empty ones kept
    int DropDownLines = 0;       ///< ekCombo, ekList: lines of the open list, 0 = the style's
    QString DateFormat;          ///< ekDate: the display format in the date picker's notation
    TInFormat InputFormat = TInFormat::itDynamic; ///< ekNumber
    /// The text the editor starts with: the cell's, or the column's default for an
    /// empty cell.
    QString Initial;
    /// What the cell holds as the form sees it: `Initial` when it came from the cell,
    /// "" when it is the default. An editor is written back only when its text ends
    /// up different from this, so an untouched editor leaves its cell exactly as it was.
    QString Unchanged;
};

/// The editor for a column with format `Format` (after OnRequestEditFormat) and
/// displayed cell text `CellText` in data row `Row`.
NVO_EXPORT TRowEntryField RowEntryField(const QString &Format, const QString &CellText, int Row);

/// The form's geometry for `Columns` columns: rows of editors 25 pixels apart, labels
/// 8 pixels right of the left offset, editors 12 pixels right of the label column.
/// An own form (`OwnForm`) starts its rows 45 pixels down, below its buttons, and
/// takes no offsets; a supplied form starts at the given offsets.
struct TRowEntryLayout {
    static constexpr int RowPitch = 25;
    static constexpr int LabelIndent = 8;
    static constexpr int EditorGap = 12;
    static constexpr int OwnFormTop = 45;
    static constexpr int BottomMargin = 38;
    static constexpr int SideMargin = 28;
    static constexpr int EditorHeight = 23;
    static constexpr int ButtonWidth = 81;
    static constexpr int ButtonHeight = 29;
    static constexpr int ButtonTop = 4;
    static constexpr int OKFromRight = 154;    ///< the OK button's left, back from G
    static constexpr int CancelFromRight = 69; ///< the Cancel button's left, back from G

    int Left = 0;       ///< left offset of the labels and editors
    int Top = 0;        ///< top of the first row of editors
    int LabelWidth = 0; ///< L: the widest column name + 8
    int MaxEditorWidth = 0;
    int Columns = 0;

    TRowEntryLayout(bool OwnForm, int PosLeft, int PosTop, int LabelWidth, int MaxEditorWidth, int Columns);
    /// Label and editor of column `Col` (1-based).
    QRect LabelRect(int Col) const;
    QRect EditorRect(int Col, int Width) const;
    /// What the editors need of their form, offsets included: G + 28 wide, rows + 38 high.
    QSize FormSize() const;
    /// The own form's buttons, right-aligned above the editors.
    QRect OKButtonRect() const;
    QRect CancelButtonRect() const;
};

} // namespace nvo
