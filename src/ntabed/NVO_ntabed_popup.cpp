// The table editor's popup menus, their commands and the in-place editors of the
// headings and the comment.
#include "NVO_ntabed.h"

#include <QtGui/QContextMenuEvent>
#include <QtGui/QKeyEvent>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMenu>
#include <QtWidgets/QPlainTextEdit>

#include <algorithm>
#include <array>
#include <cmath>

namespace nvo {

namespace {

constexpr int kDataItems = 12;
constexpr int kHeadingItems = 5;
/// Each marking submenu: Range, Column, Row, All.
constexpr int kSubItems = 4;
/// Captions are short strings, as the names of the table are.
constexpr int kCaptionMax = TDataTable::NameMax;

/// The data menu's items by number (bit k - 1 of PopupDMask).
enum TDataItem {
    diMarkA = 1, diMarkB, diUnmarkA, diUnmarkB, diUnmarkAll, diClear, diCopy, diPaste, diReadOnly,
    diExtract, diSelectAll, diToggleEmpty
};
/// The heading menu's items by number (bit k - 1 of PopupHMask).
enum THeadingItem { hiEdit = 1, hiPrecision, hiSelect, hiInsert, hiDelete };
/// The four marking submenus, in the data menu's order.
enum TSubmenu { smMarkA, smMarkB, smUnmarkA, smUnmarkB };
/// What a marking command covers.
enum TTarget { tgRange, tgColumn, tgRow, tgAll };
/// What the name editor edits: the heading cell's name or attribute byte.
enum THeadingPart { hpColName, hpColAttrib, hpRowName, hpRowAttrib };

/// The commands that change values or the table's shape; a read-only table refuses them.
bool ChangesData(int dataItem)
{
    return dataItem == diClear || dataItem == diPaste || dataItem == diExtract || dataItem == diToggleEmpty;
}

/// A typed attribute: the number kept in 0..255, rounded half to even.
uint8_t AttributeOf(double value)
{
    return uint8_t(std::nearbyint(std::clamp(value, 0.0, 255.0)));
}

/// Hands the key presses of an in-place editor to the table editor first; a key the
/// handler took goes no further.
class TKeyHook : public QObject
{
public:
    TKeyHook(QObject *parent, std::function<bool(int)> onKey) : QObject(parent), FOnKey(std::move(onKey)) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        bool taken = false;
        Guarded([&] { taken = FOnKey(static_cast<QKeyEvent *>(event)->key()); });
        return taken;
    }

private:
    std::function<bool(int)> FOnKey;
};

} // namespace

struct TNTabEd::TPopup {
    using THandler = void (TNTabEd::*)();

    explicit TPopup(TNTabEd &editor) : Editor(editor) {}
    ~TPopup()
    {
        // The editor is being destroyed: an open menu must not call back into it.
        for (QObject *owned : std::initializer_list<QObject *>{Data, Heading, NameEd, CommentMM}) {
            if (owned) {
                owned->disconnect();
                delete owned;
            }
        }
    }
    TPopup(const TPopup &) = delete;
    TPopup &operator=(const TPopup &) = delete;

    TNTabEd &Editor;
    QMenu *Data = nullptr;
    QMenu *Heading = nullptr;
    std::array<QAction *, kDataItems + 1> DItems{};       ///< by item number, [0] unused
    std::array<QAction *, kHeadingItems + 1> HItems{};    ///< by item number, [0] unused
    std::array<std::array<QAction *, kSubItems + 1>, 4> SubItems{}; ///< by TSubmenu, item number
    int DMask = (1 << kDataItems) - 1;
    int HMask = (1 << kHeadingItems) - 1;
    TGridCoord MouseCell{-1, -1};       ///< grid cell of the last mouse-down
    TGridCoord OutlinedCell{-1, -1};    ///< the heading whose menu is open
    QPoint HeadingMenuPos;              ///< where the heading menu opened, on the screen
    QLineEdit *NameEd = nullptr;        ///< made on first use
    TGridCoord NameEdCell{-1, -1};
    bool NameEdActive = false;
    QPlainTextEdit *CommentMM = nullptr; ///< made on first use
    bool CommentMMActive = false;

    int DataCol() const { return MouseCell.X - Editor.ColOffset(); }
    int DataRow() const { return MouseCell.Y - Editor.RowOffset(); }
    bool IsDataCell(TGridCoord cell) const
    {
        return cell.X > Editor.ColOffset() && cell.Y > Editor.RowOffset();
    }
    bool IsColumnHeading(TGridCoord cell) const
    {
        return cell.X > Editor.ColOffset() && cell.Y >= 0 && cell.Y <= Editor.RowOffset();
    }
    bool IsRowHeading(TGridCoord cell) const
    {
        return cell.Y > Editor.RowOffset() && cell.X >= 0 && cell.X <= Editor.ColOffset();
    }

    void Build();
    QAction *AddItem(QMenu *menu, const QString &caption, const QString &name, THandler handler);
    static void ApplyMask(const auto &items, int mask)
    {
        for (size_t item = 1; item < items.size(); ++item)
            items[item]->setEnabled(mask & (1 << (item - 1)));
    }
    void OpenDataMenu(QPoint pos);
    void OpenHeadingMenu(TGridCoord cell);
    void SetOutline(TGridCoord cell);
    TGridRect TargetCells(TTarget target) const;
    void SetMarks(TTarget target, uint8_t bit, bool marked);
    void Select(const TGridRect &cells);
    /// The clicked column (`column`) or row.
    void SelectLine(bool column);
    void InsertLine(bool column);
    void RemoveLine(bool column);
    /// The part of a column or row heading cell (`IsColumnHeading` or `IsRowHeading`).
    THeadingPart HeadingPartOf(TGridCoord cell) const;
    void OpenNameEditor();
    void CloseNameEditor(bool store);
    void StoreHeading(const QString &text);
    void OpenCommentMemo();
    void CloseCommentMemo(bool store);
};

void TNTabEd::TPopupDeleter::operator()(TPopup *popup) const { delete popup; }

// ---- The menus ----------------------------------------------------------------------------

void TNTabEd::BuildPopupMenus()
{
    FPopup.reset(new TPopup(*this));
    FPopup->Build();
}

QAction *TNTabEd::TPopup::AddItem(QMenu *menu, const QString &caption, const QString &name, THandler handler)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(name);
    if (handler)
        QObject::connect(action, &QAction::triggered, &Editor,
                         [this, handler] { Guarded([&] { (Editor.*handler)(); }); });
    return action;
}

void TNTabEd::TPopup::Build()
{
    Data = new QMenu(&Editor);
    Data->setObjectName(QStringLiteral("PopupDTAction"));
    const QString subCaptions[kSubItems] = {tr("Range"), tr("Column"), tr("Row"), tr("All")};
    const char *subPrefixes[] = {"M1It", "M2It", "U1It", "U2It"};
    const THandler subHandlers[4][kSubItems] = {
        {&TNTabEd::PopupMenuClickMarkARange, &TNTabEd::PopupMenuClickMarkAColumn,
         &TNTabEd::PopupMenuClickMarkARow, &TNTabEd::PopupMenuClickMarkAAll},
        {&TNTabEd::PopupMenuClickMarkBRange, &TNTabEd::PopupMenuClickMarkBColumn,
         &TNTabEd::PopupMenuClickMarkBRow, &TNTabEd::PopupMenuClickMarkBAll},
        {&TNTabEd::PopupMenuClickUnMarkARange, &TNTabEd::PopupMenuClickUnMarkAColumn,
         &TNTabEd::PopupMenuClickUnMarkARow, &TNTabEd::PopupMenuClickUnMarkAAll},
        {&TNTabEd::PopupMenuClickUnMarkBRange, &TNTabEd::PopupMenuClickUnMarkBColumn,
         &TNTabEd::PopupMenuClickUnMarkBRow, &TNTabEd::PopupMenuClickUnMarkBAll},
    };
    const QString dataCaptions[kDataItems] = {
        tr("Mark as type A"), tr("Mark as type B"), tr("Unmark type A"), tr("Unmark type B"),
        tr("Unmark All"), tr("Clear"), tr("Copy"), tr("Paste"), tr("Data Read-Only"),
        tr("Extract from Clipboard"), tr("Select All"), tr("Toggle Empty State")};
    const THandler dataHandlers[kDataItems] = {
        nullptr, nullptr, nullptr, nullptr, &TNTabEd::PopupMenuClickUnMarkAll, &TNTabEd::PopupMenuClickClear,
        &TNTabEd::PopupMenuClickCopy, &TNTabEd::PopupMenuClickPaste, &TNTabEd::PopupMenuClickEdit,
        &TNTabEd::PopupMenuClickExtClip, &TNTabEd::PopupMenuClickSelAll, &TNTabEd::PopupMenuClickEmptyCells};
    for (int item = 1; item <= kDataItems; ++item) {
        const QString name = QStringLiteral("DIt%1").arg(item);
        if (item <= diUnmarkB) {
            const int submenu = item - 1;
            QMenu *sub = Data->addMenu(dataCaptions[submenu]);
            DItems[size_t(item)] = sub->menuAction();
            sub->menuAction()->setObjectName(name);
            for (int subItem = 1; subItem <= kSubItems; ++subItem)
                SubItems[size_t(submenu)][size_t(subItem)] =
                    AddItem(sub, subCaptions[subItem - 1],
                            QString::fromLatin1(subPrefixes[submenu]) + QString::number(subItem),
                            subHandlers[submenu][subItem - 1]);
        } else {
            DItems[size_t(item)] = AddItem(Data, dataCaptions[item - 1], name, dataHandlers[item - 1]);
        }
    }
    // Qt's check mark shows the read-only state.
    DItems[diReadOnly]->setCheckable(true);
    QObject::connect(Data, &QMenu::aboutToShow, &Editor, [this] { Guarded([this] { Editor.PopupMenuDLoadPopup(); }); });

    Heading = new QMenu(&Editor);
    Heading->setObjectName(QStringLiteral("PopupHTAction"));
    const QString headingCaptions[kHeadingItems] = {tr("Edit Heading"), tr("Change Precision"), tr("Select.."),
                                                    tr("Insert.."), tr("Delete..")};
    HItems[hiEdit] = AddItem(Heading, headingCaptions[0], QStringLiteral("HIt1"), &TNTabEd::PopupMenuClickChangeID);
    HItems[hiPrecision] =
        AddItem(Heading, headingCaptions[1], QStringLiteral("HIt2"), &TNTabEd::PopupMenuClickPrecision);
    // Items 3 to 5 act on a column or a row, whichever heading was clicked.
    const std::array<void (TPopup::*)(bool), 3> lineCommands{&TPopup::SelectLine, &TPopup::InsertLine,
                                                             &TPopup::RemoveLine};
    for (int item = hiSelect; item <= hiDelete; ++item) {
        QAction *action = AddItem(Heading, headingCaptions[item - 1], QStringLiteral("HIt%1").arg(item), nullptr);
        const auto command = lineCommands[size_t(item - hiSelect)];
        QObject::connect(action, &QAction::triggered, &Editor,
                         [this, command] { Guarded([&] { (this->*command)(IsColumnHeading(MouseCell)); }); });
        HItems[size_t(item)] = action;
    }
    QObject::connect(Heading, &QMenu::aboutToHide, &Editor, [this] { SetOutline({-1, -1}); });
}

void TNTabEd::TPopup::OpenDataMenu(QPoint pos)
{
    const bool readOnly = Editor.GetDataReadOnly();
    for (int item = 1; item <= kDataItems; ++item)
        DItems[size_t(item)]->setEnabled((DMask & (1 << (item - 1))) && !(readOnly && ChangesData(item)));
    DItems[diReadOnly]->setChecked(readOnly);
    if (Editor.OnBeforePopup)
        Editor.OnBeforePopup(&Editor, Data);
    Data->popup(Editor.viewport()->mapToGlobal(pos + QPoint(10, -20)));
}

void TNTabEd::TPopup::OpenHeadingMenu(TGridCoord cell)
{
    const bool column = IsColumnHeading(cell);
    const bool readOnly = Editor.GetDataReadOnly();
    ApplyMask(HItems, HMask);
    HItems[hiPrecision]->setEnabled(column && (HMask & (1 << (hiPrecision - 1))));
    HItems[hiInsert]->setEnabled(HItems[hiInsert]->isEnabled() && !readOnly);
    HItems[hiDelete]->setEnabled(HItems[hiDelete]->isEnabled() && !readOnly);
    HItems[hiSelect]->setText(column ? tr("Select Column") : tr("Select Row"));
    HItems[hiInsert]->setText(column ? tr("Insert Column") : tr("Insert Row"));
    HItems[hiDelete]->setText(column ? tr("Delete Column") : tr("Delete Row"));
    SetOutline(cell);
    if (Editor.OnBeforePopup)
        Editor.OnBeforePopup(&Editor, Heading);
    const QRect rect = Editor.CellRect(cell.X, cell.Y);
    HeadingMenuPos = Editor.viewport()->mapToGlobal(rect.topLeft() + QPoint(20, 20));
    Heading->popup(HeadingMenuPos);
}

void TNTabEd::TPopup::SetOutline(TGridCoord cell)
{
    // The outline covers the grid lines after the cell as well.
    for (TGridCoord shown : {OutlinedCell, cell})
        if (shown.X >= 0)
            Editor.viewport()->update(Editor.CellRect(shown.X, shown.Y).adjusted(0, 0, 1, 1));
    OutlinedCell = cell;
}

void TNTabEd::PaintHeadingOutline(TCanvas &canvas)
{
    const TGridCoord cell = FPopup->OutlinedCell;
    if (cell.X < 0)
        return;
    const QRect rect = CellRect(cell.X, cell.Y);
    if (rect.isEmpty())
        return;
    canvas.Pen.Mode = pmNot;
    canvas.Brush.SetStyle(bsClear);
    canvas.Rectangle(rect.left(), rect.top(), rect.right() + 2, rect.bottom() + 2);
    canvas.Pen.Mode = pmCopy;
    canvas.Brush.SetStyle(bsSolid);
}

bool TNTabEd::InternalPopupAllowed() const
{
    // Any other policy means the application handles the context menu itself.
    return !GetBlockInternalPopup() && contextMenuPolicy() == Qt::DefaultContextMenu;
}

QMenu *TNTabEd::PopupD() const { return FPopup->Data; }
QMenu *TNTabEd::PopupH() const { return FPopup->Heading; }

int TNTabEd::GetPopupDMask() const { return FPopup->DMask; }
void TNTabEd::SetPopupDMask(int mask)
{
    FPopup->DMask = mask;
    TPopup::ApplyMask(FPopup->DItems, mask);
    ChangedSetup();
}

int TNTabEd::GetPopupHMask() const { return FPopup->HMask; }
void TNTabEd::SetPopupHMask(int mask)
{
    FPopup->HMask = mask;
    TPopup::ApplyMask(FPopup->HItems, mask);
    ChangedSetup();
}

namespace {
QString CaptionOf(const auto &items, int ix)
{
    return ix >= 1 && size_t(ix) < items.size() ? items[size_t(ix)]->text() : QString();
}

void SetCaptionOf(const auto &items, int ix, const QString &caption)
{
    if (ix >= 1 && size_t(ix) < items.size())
        items[size_t(ix)]->setText(caption.left(kCaptionMax));
}
} // namespace

QString TNTabEd::GetPopupDCaptions(int ix) const { return CaptionOf(FPopup->DItems, ix); }
void TNTabEd::SetPopupDCaptions(int ix, const QString &caption) { SetCaptionOf(FPopup->DItems, ix, caption); }
QString TNTabEd::GetPopupHCaptions(int ix) const { return CaptionOf(FPopup->HItems, ix); }
void TNTabEd::SetPopupHCaptions(int ix, const QString &caption) { SetCaptionOf(FPopup->HItems, ix, caption); }
QString TNTabEd::GetPopupMCaptions(int ix) const { return CaptionOf(FPopup->SubItems[smMarkA], ix); }
void TNTabEd::SetPopupMCaptions(int ix, const QString &caption)
{
    SetCaptionOf(FPopup->SubItems[smMarkA], ix, caption);
    SetCaptionOf(FPopup->SubItems[smMarkB], ix, caption);
}
QString TNTabEd::GetPopupUCaptions(int ix) const { return CaptionOf(FPopup->SubItems[smUnmarkA], ix); }
void TNTabEd::SetPopupUCaptions(int ix, const QString &caption)
{
    SetCaptionOf(FPopup->SubItems[smUnmarkA], ix, caption);
    SetCaptionOf(FPopup->SubItems[smUnmarkB], ix, caption);
}

void TNTabEd::PopupMenuDLoadPopup()
{
    FPopup->DItems[diPaste]->setEnabled(GetDataCopyAvail() && (FPopup->DMask & (1 << (diPaste - 1)))
                                        && !GetDataReadOnly());
}

// ---- Mouse and keys -----------------------------------------------------------------------

void TNTabEd::PopupMouseDown(QMouseEvent *event)
{
    TPopup &popup = *FPopup;
    const QPoint pos = event->position().toPoint();
    const TGridCoord cell = MouseCoord(pos.x(), pos.y());
    if (popup.CommentMMActive) {
        popup.MouseCell = cell;
        if (cell == TGridCoord{0, 0})
            popup.CloseCommentMemo(false);
        return;
    }
    if (popup.NameEdActive)
        return;
    if (pos.x() <= 0 || pos.y() <= 0 || pos.x() >= viewport()->width() || pos.y() >= viewport()->height())
        return;
    popup.MouseCell = cell;
    const bool right = event->button() == Qt::RightButton;
    if (popup.IsDataCell(cell)) {
        if (right && InternalPopupAllowed())
            popup.OpenDataMenu(pos);
        else if (event->button() == Qt::LeftButton)
            InvalidateCell(0, 0);
    } else if (cell == TGridCoord{0, 0}) {
        if (right && !GetBlockInternalPopup() && GetCommentEditingAllowed())
            popup.OpenCommentMemo();
    } else if (right && InternalPopupAllowed() && (popup.IsColumnHeading(cell) || popup.IsRowHeading(cell))) {
        popup.OpenHeadingMenu(cell);
    }
}

bool TNTabEd::OpenPopupByKey(const QKeyEvent *event)
{
    const bool menuKey = event->key() == Qt::Key_Menu
                         || (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
    const TGridCoord current{GetCol(), GetRow()};
    if (!menuKey || !InternalPopupAllowed() || !FPopup->IsDataCell(current))
        return false;
    FPopup->MouseCell = current;
    FPopup->OpenDataMenu(CellRect(current.X, current.Y).center());
    return true;
}

void TNTabEd::contextMenuEvent(QContextMenuEvent *event)
{
    // The built-in menus open on the press itself and on the context-menu key; the
    // event Qt sends after them must not open a parent's menu as well.
    event->setAccepted(InternalPopupAllowed());
}

// ---- Commands -----------------------------------------------------------------------------

TGridRect TNTabEd::TPopup::TargetCells(TTarget target) const
{
    const TGridRect selected = Editor.SelectedDataBlock();
    const int cols = Editor.GetNrOfColumns(), rows = Editor.GetNrOfRows();
    switch (target) {
    case tgRange: return selected;
    case tgColumn: return {selected.Left, 1, selected.Right, rows};
    case tgRow: return {1, selected.Top, cols, selected.Bottom};
    case tgAll: break;
    }
    return {1, 1, cols, rows};
}

namespace {
void ForEachCell(const TGridRect &cells, const std::function<void(int, int)> &work)
{
    for (int row = cells.Top; row <= cells.Bottom; ++row)
        for (int col = cells.Left; col <= cells.Right; ++col)
            work(col, row);
}
} // namespace

void TNTabEd::TPopup::SetMarks(TTarget target, uint8_t bit, bool marked)
{
    TDataTable &table = Editor.Data();
    Editor.ChangeStates([&] {
        ForEachCell(TargetCells(target), [&](int col, int row) {
            const uint8_t state = table.GetCellState(col, row);
            table.SetCellState(col, row, marked ? state | bit : state & ~bit);
        });
    });
}

void TNTabEd::PopupMenuClickMarkARange() { FPopup->SetMarks(tgRange, cellstate::MarkedA, true); }
void TNTabEd::PopupMenuClickMarkAColumn() { FPopup->SetMarks(tgColumn, cellstate::MarkedA, true); }
void TNTabEd::PopupMenuClickMarkARow() { FPopup->SetMarks(tgRow, cellstate::MarkedA, true); }
void TNTabEd::PopupMenuClickMarkAAll() { FPopup->SetMarks(tgAll, cellstate::MarkedA, true); }
void TNTabEd::PopupMenuClickMarkBRange() { FPopup->SetMarks(tgRange, cellstate::MarkedB, true); }
void TNTabEd::PopupMenuClickMarkBColumn() { FPopup->SetMarks(tgColumn, cellstate::MarkedB, true); }
void TNTabEd::PopupMenuClickMarkBRow() { FPopup->SetMarks(tgRow, cellstate::MarkedB, true); }
void TNTabEd::PopupMenuClickMarkBAll() { FPopup->SetMarks(tgAll, cellstate::MarkedB, true); }
void TNTabEd::PopupMenuClickUnMarkARange() { FPopup->SetMarks(tgRange, cellstate::MarkedA, false); }
void TNTabEd::PopupMenuClickUnMarkAColumn() { FPopup->SetMarks(tgColumn, cellstate::MarkedA, false); }
void TNTabEd::PopupMenuClickUnMarkARow() { FPopup->SetMarks(tgRow, cellstate::MarkedA, false); }
void TNTabEd::PopupMenuClickUnMarkAAll() { FPopup->SetMarks(tgAll, cellstate::MarkedA, false); }
void TNTabEd::PopupMenuClickUnMarkBRange() { FPopup->SetMarks(tgRange, cellstate::MarkedB, false); }
void TNTabEd::PopupMenuClickUnMarkBColumn() { FPopup->SetMarks(tgColumn, cellstate::MarkedB, false); }
void TNTabEd::PopupMenuClickUnMarkBRow() { FPopup->SetMarks(tgRow, cellstate::MarkedB, false); }
void TNTabEd::PopupMenuClickUnMarkBAll() { FPopup->SetMarks(tgAll, cellstate::MarkedB, false); }
void TNTabEd::PopupMenuClickUnMarkAll() { UnMarkAllElems(); }

void TNTabEd::PopupMenuClickClear()
{
    if (GetDataReadOnly())
        return;
    ChangeCells([this] {
        ForEachCell(SelectedDataBlock(), [this](int col, int row) {
            Data().SetElem(col, row, 0);
            Data().SetCellState(col, row, 0);
        });
    });
    if (OnPaste)
        OnPaste(this);
    ChangedData();
    ChangedCellStates();
}

void TNTabEd::PopupMenuClickEmptyCells()
{
    if (GetDataReadOnly())
        return;
    ChangeStates([this] {
        ForEachCell(SelectedDataBlock(), [this](int col, int row) {
            Data().SetCellState(col, row, Data().GetCellState(col, row) ^ cellstate::Empty);
        });
    });
}

void TNTabEd::PopupMenuClickEdit()
{
    SetDataReadOnly(!GetDataReadOnly());
    ChangedSetup();
}

void TNTabEd::TPopup::Select(const TGridRect &cells)
{
    Editor.SetSelection(cells);
    Editor.Repaint();
    Editor.CheckSelection();
}

void TNTabEd::TPopup::SelectLine(bool column)
{
    const TGridCoord cell = MouseCell;
    const int cols = Editor.GetColCount(), rows = Editor.GetRowCount();
    const int firstCol = Editor.ColOffset() + 1, firstRow = Editor.RowOffset() + 1;
    if (column && cell.X >= firstCol && cell.X < cols)
        Select({cell.X, firstRow, cell.X, rows - 1});
    else if (!column && cell.Y >= firstRow && cell.Y < rows)
        Select({firstCol, cell.Y, cols - 1, cell.Y});
}

void TNTabEd::TPopup::InsertLine(bool column)
{
    const int ix = column ? DataCol() : DataRow();
    const int count = column ? Editor.GetNrOfColumns() : Editor.GetNrOfRows();
    if (Editor.GetDataReadOnly() || ix < 1 || ix > count)
        return;
    const QString name = QStringLiteral("(...)");
    Editor.ChangeCells([&] {
        if (column) {
            Editor.InsertColumn(ix);
            Editor.SetColName(ix, name);
        } else {
            Editor.InsertRow(ix);
            Editor.SetRowName(ix, name);
        }
    });
}

void TNTabEd::TPopup::RemoveLine(bool column)
{
    if (Editor.GetDataReadOnly())
        return;
    const auto count = [&] { return column ? Editor.GetNrOfColumns() : Editor.GetNrOfRows(); };
    const int before = count();
    if (column)
        Editor.RemoveColumn(DataCol());
    else
        Editor.RemoveRow(DataRow());
    if (count() != before)
        Editor.ChangedSetup();
}

void TNTabEd::PopupMenuClickSelAll()
{
    FPopup->Select({ColOffset() + 1, RowOffset() + 1, GetColCount() - 1, GetRowCount() - 1});
}

void TNTabEd::PopupMenuClickSelectCol() { FPopup->SelectLine(true); }
void TNTabEd::PopupMenuClickSelectRow() { FPopup->SelectLine(false); }
void TNTabEd::PopupMenuClickInsertCol() { FPopup->InsertLine(true); }
void TNTabEd::PopupMenuClickInsertRow() { FPopup->InsertLine(false); }
void TNTabEd::PopupMenuClickDeleteCol() { FPopup->RemoveLine(true); }
void TNTabEd::PopupMenuClickDeleteRow() { FPopup->RemoveLine(false); }

void TNTabEd::PopupMenuClickPrecision()
{
    const int col = FPopup->DataCol();
    if (!FPopup->IsColumnHeading(FPopup->MouseCell) || col > GetNrOfColumns())
        return;
    // 10, 9, .., 0, -1 (scientific), then round again to 10.
    const int precision = GetDecPlaces(col);
    SetDecPlaces(col, precision <= -1 ? 10 : precision - 1);
    // The menu opens again where it was, so the user can keep stepping; popup()
    // returns at once, so a test or a handler is never held up here.
    FPopup->SetOutline(FPopup->MouseCell);
    FPopup->Heading->popup(FPopup->HeadingMenuPos);
}

// ---- The name editor ----------------------------------------------------------------------

void TNTabEd::PopupMenuClickChangeID() { FPopup->OpenNameEditor(); }

THeadingPart TNTabEd::TPopup::HeadingPartOf(TGridCoord cell) const
{
    if (IsColumnHeading(cell))
        return Editor.IsColAttribRow(cell.Y) ? hpColAttrib : hpColName;
    return Editor.IsRowAttribCol(cell.X) ? hpRowAttrib : hpRowName;
}

void TNTabEd::TPopup::OpenNameEditor()
{
    if (!IsColumnHeading(MouseCell) && !IsRowHeading(MouseCell))
        return;
    if (!NameEd) {
        NameEd = new QLineEdit(Editor.viewport());
        NameEd->setObjectName(QStringLiteral("NameEd"));
        NameEd->installEventFilter(new TKeyHook(NameEd, [this](int key) { return Editor.NameEdKeyPress(key); }));
    }
    const int c = DataCol(), r = DataRow();
    QString text;
    switch (HeadingPartOf(MouseCell)) {
    case hpColName: text = Editor.GetColName(c); break;
    case hpColAttrib: text = FormatInt(Editor.GetColAttrib(c)); break;
    case hpRowName: text = Editor.GetRowName(r); break;
    case hpRowAttrib: text = FormatInt(Editor.GetRowAttrib(r)); break;
    }
    NameEdCell = MouseCell;
    NameEd->setText(text);
    NameEd->selectAll();
    NameEd->adjustSize();
    NameEd->move(Editor.CellRect(MouseCell.X, MouseCell.Y).topLeft() + QPoint(30, 5));
    NameEd->show();
    NameEd->raise();
    NameEd->setFocus();
    NameEdActive = true;
}

void TNTabEd::TPopup::StoreHeading(const QString &text)
{
    const int c = NameEdCell.X - Editor.ColOffset(), r = NameEdCell.Y - Editor.RowOffset();
    const THeadingPart part = HeadingPartOf(NameEdCell);
    if (part == hpColName) {
        Editor.SetColName(c, text);
    } else if (part == hpRowName) {
        Editor.SetRowName(r, text);
    } else if (const std::optional<double> value = ParseTypedNumber(text)) {
        // A text that is no number leaves the attribute as it was.
        if (part == hpColAttrib)
            Editor.SetColAttrib(c, AttributeOf(*value));
        else
            Editor.SetRowAttrib(r, AttributeOf(*value));
        Editor.ChangedHeading();
    }
}

void TNTabEd::TPopup::CloseNameEditor(bool store)
{
    NameEdActive = false;
    NameEd->hide();
    Editor.setFocus();
    Editor.InvalidateGrid();
    if (store)
        StoreHeading(NameEd->text());
}

bool TNTabEd::NameEdKeyPress(int Key)
{
    if (!FPopup->NameEdActive || !(IsEnterKey(Key) || Key == Qt::Key_Escape))
        return false;
    FPopup->CloseNameEditor(IsEnterKey(Key));
    return true;
}

QLineEdit *TNTabEd::NameEditor() const { return FPopup->NameEdActive ? FPopup->NameEd : nullptr; }

// ---- The comment memo ---------------------------------------------------------------------

void TNTabEd::TPopup::OpenCommentMemo()
{
    if (!CommentMM) {
        CommentMM = new QPlainTextEdit(Editor.viewport());
        CommentMM->setObjectName(QStringLiteral("CommentMM"));
        QPalette palette = CommentMM->palette();
        palette.setColor(QPalette::Base, ToQColor(clr::Teal, palette));
        palette.setColor(QPalette::Text, ToQColor(clr::White, palette));
        CommentMM->setPalette(palette);
        CommentMM->installEventFilter(
            new TKeyHook(CommentMM, [this](int key) { return Editor.CommentMemoKeyPress(key); }));
    }
    const int nameWidth = Editor.GetColWidths(0);
    CommentMM->setGeometry(nameWidth, 0, std::max(Editor.width() - nameWidth - 20, 1), 80);
    CommentMM->setPlainText(Editor.GetComment());
    CommentMM->moveCursor(QTextCursor::End);
    CommentMM->show();
    CommentMM->raise();
    CommentMM->setFocus();
    CommentMMActive = true;
    Editor.InvalidateCell(0, 0);
}

void TNTabEd::TPopup::CloseCommentMemo(bool store)
{
    CommentMMActive = false;
    CommentMM->hide();
    Editor.setFocus();
    Editor.InvalidateCell(0, 0);
    // The memo's lines are kept as typed: only text written through Comment loses
    // its control characters.
    if (store) {
        Editor.Data().SetFComment(CommentMM->toPlainText());
        Editor.ChangedData();
    }
}

bool TNTabEd::CommentMemoKeyPress(int Key)
{
    if (!FPopup->CommentMMActive || !(IsEnterKey(Key) || Key == Qt::Key_Escape))
        return false;
    FPopup->CloseCommentMemo(IsEnterKey(Key));
    return true;
}

bool TNTabEd::CommentMemoActive() const { return FPopup->CommentMMActive; }
QPlainTextEdit *TNTabEd::CommentMemo() const { return FPopup->CommentMMActive ? FPopup->CommentMM : nullptr; }

} // namespace nvo
