#include "NVO_RowEntryForm_p.h"

#include "NVO_Color.h"
#include "NVO_Format.h"
#include "NVO_NumIO.h"
#include "NVO_replist.h"
#include "NVO_replistview.h"

#include <QtCore/QPointer>
#include <QtCore/QScopeGuard>
#include <QtGui/QAction>
#include <QtGui/QKeyEvent>
#include <QtGui/QPainter>
#include <QtGui/QPixmap>
#include <QtWidgets/QCalendarWidget>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QDialog>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QStyle>
#include <QtWidgets/QStyleOption>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace nvo {

TRowEntryField RowEntryField(const QString &Format, const QString &CellText, int Row)
{
    const TColumnFormatParts parts = ParseColumnFormat(Format);
    TRowEntryField field;
    field.ReadOnly = parts.ReadOnly;
    field.Width = parts.EditorWidth;
    field.Initial = CellText;
    field.Unchanged = CellText;
    if (CellText.isEmpty())
        field.Initial = ColumnDefaultText(parts.Kind, parts.Default, Row);
    switch (parts.Kind.unicode()) {
    case 'c':
    case 'l':
        field.Editor = parts.Kind == QLatin1Char('c') ? TRowEntryField::ekCombo : TRowEntryField::ekList;
        // "a||b" offers an empty item between a and b; a trailing "|" ends the last item.
        field.Items = parts.Default.split(QLatin1Char('|'));
        if (parts.Default.endsWith(QLatin1Char('|')))
            field.Items.removeLast();
        field.DropDownLines = parts.DropDownLines;
        break;
    case 'd':
        field.Editor = TRowEntryField::ekDate;
        // A bare "d" names no format; the ISO order reads without doubt in any country.
        field.DateFormat = parts.KindRest.isEmpty() ? QStringLiteral("yyyy-MM-dd") : parts.KindRest;
        if (CellText.isEmpty() && !field.Initial.isEmpty()) {
            // The default is offered as the date it reads as; one that reads as none is
            // not offered at all, or OK would refuse a text the user never typed.
            const TDateScan scan = ScanPickerDateTime(field.Initial, field.DateFormat);
            field.Initial = scan.Error == dseNone ? FormatPickerDateTime(field.DateFormat, scan.Value) : QString();
        }
        break;
    case 'e': field.Editor = TRowEntryField::ekNumber; field.InputFormat = TInFormat::itDynamic; break;
    case 'f': field.Editor = TRowEntryField::ekNumber; field.InputFormat = TInFormat::itFloat; break;
    case 'h': field.Editor = TRowEntryField::ekNumber; field.InputFormat = TInFormat::itHex; break;
    case 'i': field.Editor = TRowEntryField::ekNumber; field.InputFormat = TInFormat::itInt; break;
    case 's': field.Editor = TRowEntryField::ekText; break;
    default: field.Editor = TRowEntryField::ekNone; break;
    }
    return field;
}

TRowEntryLayout::TRowEntryLayout(bool OwnForm, int PosLeft, int PosTop, int LabelWidth_, int MaxEditorWidth_, int Columns_)
    : Left(OwnForm ? 0 : PosLeft)
    , Top(OwnForm ? OwnFormTop : PosTop)
    , LabelWidth(LabelWidth_)
    // The buttons stand right-aligned over the editors; a form of narrow editors with
    // short names would push the OK button out over the left edge, so G leaves it at
    // least where the labels start.
    , MaxEditorWidth(OwnForm ? std::max(MaxEditorWidth_, OKFromRight + LabelIndent - LabelWidth_) : MaxEditorWidth_)
    , Columns(Columns_)
{
}

QRect TRowEntryLayout::LabelRect(int Col) const
{
    // As tall as its editor and centred on the same line: the text lands where a
    // label 3 pixels below the editor's top would put it in a small font, and a large
    // font is not cut off.
    return QRect(Left + LabelIndent, Top + (Col - 1) * RowPitch, LabelWidth, EditorHeight);
}

QRect TRowEntryLayout::EditorRect(int Col, int Width) const
{
    return QRect(Left + LabelWidth + EditorGap, Top + (Col - 1) * RowPitch, Width, EditorHeight);
}

QSize TRowEntryLayout::FormSize() const
{
    return QSize(Left + MaxEditorWidth + LabelWidth + SideMargin, Top + Columns * RowPitch + BottomMargin);
}

QRect TRowEntryLayout::OKButtonRect() const
{
    return QRect(MaxEditorWidth + LabelWidth - OKFromRight, ButtonTop, ButtonWidth, ButtonHeight);
}

QRect TRowEntryLayout::CancelButtonRect() const
{
    return QRect(MaxEditorWidth + LabelWidth - CancelFromRight, ButtonTop, ButtonWidth, ButtonHeight);
}

namespace {

/// The user-readable reason of a failed date reading.
QString DateErrorText(TDateScanError error)
{
    switch (error) {
    case dseLiteral: return TReportListView::tr("the text does not follow the format's separators");
    case dseToken: return TReportListView::tr("the format holds letters that name no date or time part");
    case dseNumber: return TReportListView::tr("a number or a name does not fit its place");
    case dseNotADate: return TReportListView::tr("the parts form no valid date or time (a format without a year reads no date)");
    case dseNone: break;
    }
    return QString();
}

/// Whether a date picker format shows a whole date, so that a day picked on a calendar
/// reads back from the text it writes.
bool ShowsWholeDate(const QString &format)
{
    const TDateTime probe = EncodeDate(2024, 4, 3);
    const TDateScan scan = ScanPickerDateTime(FormatPickerDateTime(format, probe), format);
    return scan.Error == dseNone && std::trunc(scan.Value) == probe;
}

/// The style's own drop-down arrow, as a combo box shows it, for the calendar button.
QIcon DropDownIcon(const QWidget &widget)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    QStyleOption option;
    option.initFrom(&widget);
    option.rect = QRect(3, 4, 10, 8);
    widget.style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &option, &painter, &widget);
    return QIcon(pixmap);
}

/// A date picker over the date picker notation the column formats use: a line edit
/// whose text our own reader and writer check and write, with a calendar to pick a
/// day from (for formats that show a whole date; Alt+Down or F4 opens it). An empty
/// text is no date at all, never 1899-12-30 or today; a text that does not read is
/// kept as it stands and marked with a warning that says why.
class TRowEntryDateEdit : public QLineEdit
{
public:
    TRowEntryDateEdit(const QString &format, QWidget *parent) : QLineEdit(parent), FFormat(format)
    {
        FWarning = addAction(style()->standardIcon(QStyle::SP_MessageBoxWarning), QLineEdit::TrailingPosition);
        if (ShowsWholeDate(format)) {
            FCalendar = addAction(DropDownIcon(*this), QLineEdit::TrailingPosition);
            FCalendar->setToolTip(TReportListView::tr("Pick a date (Alt+Down)"));
            connect(FCalendar, &QAction::triggered, this, [this] { Guarded([this] { OpenCalendar(); }); });
        }
        connect(this, &QLineEdit::textChanged, this, [this] { ShowReading(); });
        ShowReading();
    }

    const QString &Format() const { return FFormat; }
    /// The reading of the text; `Error` dseNone with an empty text means "no date".
    TDateScan Reading() const { return text().isEmpty() ? TDateScan{} : ScanPickerDateTime(text(), FFormat); }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        const bool opens = event->key() == Qt::Key_F4
                        || (event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier));
        if (opens && FCalendar) {
            Guarded([this] { OpenCalendar(); });
            return;
        }
        QLineEdit::keyPressEvent(event);
    }

private:
    void ShowReading()
    {
        const TDateScan scan = Reading();
        const QString why = scan.Error == dseNone
                                ? QString()
                                : TReportListView::tr("Not a date of the format %1: %2").arg(FFormat, DateErrorText(scan.Error));
        FWarning->setVisible(!why.isEmpty());
        FWarning->setToolTip(why);
        setToolTip(why);
        setAccessibleDescription(why);
    }

    void OpenCalendar()
    {
        const TDateScan scan = Reading();
        const bool dated = !text().isEmpty() && scan.Error == dseNone;
        auto *calendar = new QCalendarWidget(this);
        calendar->setWindowFlags(Qt::Popup);
        calendar->setAttribute(Qt::WA_DeleteOnClose);
        calendar->setSelectedDate(dated ? DateTimeToQDateTime(scan.Value).date() : QDate::currentDate());
        const TDateTime time = dated ? std::abs(scan.Value - std::trunc(scan.Value)) : 0;
        connect(calendar, &QCalendarWidget::activated, this, [this, calendar, time](QDate day) {
            Guarded([&] {
                const TDateTime date = EncodeDate(day.year(), day.month(), day.day());
                setText(FormatPickerDateTime(FFormat, date >= 0 ? date + time : date - time));
            });
            calendar->close();
        });
        connect(calendar, &QCalendarWidget::clicked, calendar, &QCalendarWidget::activated);
        calendar->adjustSize();
        calendar->move(mapToGlobal(QPoint(0, height())));
        calendar->show();
        calendar->setFocus();
    }

    QString FFormat;
    QAction *FWarning = nullptr;
    QAction *FCalendar = nullptr;
};

/// Enter in any enabled editor closes the form with OK.
class TEnterAccepts : public QObject
{
public:
    TEnterAccepts(QDialog *form) : QObject(form), FForm(form) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            if (IsEnterKey(static_cast<QKeyEvent *>(event)->key())) {
                FForm->accept();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QDialog *FForm;
};

/// The label's text: one line (a header may break its name over lines), "&" shown as
/// itself rather than as a shortcut mark, at most 51 characters with the colon.
QString LabelText(const QString &name)
{
    QString text = name;
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text.append(QLatin1Char(':')).left(51);
}

/// The form for one row: builds the labels and editors (into its own dialog or into a
/// supplied one), runs the dialog and writes the changed editors back. Everything it
/// creates it owns, so a handler that throws while the form is built, or a failure
/// anywhere after, leaves no editor behind and a supplied form as it was.
class TRowEntryForm
{
public:
    TRowEntryForm(TReportListView &view, int row, QDialog *container)
        : FView(&view), FRow(row), FOwnForm(container == nullptr)
    {
        FForm = container ? container : new QDialog(&view);
        if (FOwnForm)
            FForm->setObjectName(QStringLiteral("runtime_rlre_Form"));
        FEnter = new TEnterAccepts(FForm);
        // A form that deletes itself on closing would take the editors with it before
        // their texts are read: it closes as a plain one and is deleted afterwards.
        FDeleteOnClose = FForm->testAttribute(Qt::WA_DeleteOnClose);
        FForm->setAttribute(Qt::WA_DeleteOnClose, false);
    }

    ~TRowEntryForm()
    {
        // What the form made goes, from the last to the first; what is gone already
        // went with its form or view (one that a handler deleted while the form was up).
        for (auto widget = FWidgets.rbegin(); widget != FWidgets.rend(); ++widget)
            delete widget->data();
        delete FEnter.data();
        if (FOwnForm)
            delete FForm.data();
        else if (FForm && FDeleteOnClose) {
            FForm->setAttribute(Qt::WA_DeleteOnClose, true);
            if (!FForm->isVisible())
                FForm->deleteLater();
        }
    }

    void Build(int posLeft, int posTop, const QString &caption, const QString &okCaption, const QString &cancelCaption);
    int Run();

private:
    struct Editor {
        int Col = 0;
        TRowEntryField Field;
        QWidget *Widget = nullptr;
    };

    /// A widget on the form named `name` + `col`, owned here.
    template<class W, class... Args>
    W *Create(const QString &name, int col, Args &&...args)
    {
        FWidgets.reserve(FWidgets.size() + 1); // no failure between making and keeping
        W *widget = new W(std::forward<Args>(args)..., FForm);
        FWidgets.push_back(widget);
        widget->setObjectName(name + FormatInt(col));
        widget->show(); // a supplied form may be on screen already
        return widget;
    }
    QWidget *CreateEditor(int col, const TRowEntryField &field);
    /// Disabled, in the gray of a field that shows what it cannot change.
    static void MakeReadOnly(QWidget *editor);
    static QString TextOf(const Editor &editor);
    /// The first changed date editor whose text does not read, or null.
    const Editor *UnreadableDate() const;
    void WriteBack();

    // Guarded pointers: an event handler may delete the view, and with it an own form,
    // while the form is up.
    QPointer<TReportListView> FView;
    int FRow;
    bool FOwnForm;
    QPointer<QDialog> FForm;
    QPointer<TEnterAccepts> FEnter;
    std::vector<QPointer<QWidget>> FWidgets;
    std::vector<Editor> FEditors;
    bool FDeleteOnClose = false;
};

QWidget *TRowEntryForm::CreateEditor(int col, const TRowEntryField &field)
{
    switch (field.Editor) {
    case TRowEntryField::ekCombo:
    case TRowEntryField::ekList: {
        auto *box = Create<QComboBox>(QStringLiteral("runtime_rlre_CBox"), col);
        box->setEditable(field.Editor == TRowEntryField::ekCombo);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->addItems(field.Items);
        if (field.DropDownLines > 0)
            box->setMaxVisibleItems(field.DropDownLines);
        if (box->isEditable()) {
            box->setCurrentIndex(int(field.Items.indexOf(field.Initial)));
            box->setEditText(field.Initial);
        } else {
            // A text that is none of the items stays, offered first, so that OK keeps it.
            int index = int(field.Items.indexOf(field.Initial));
            if (index < 0 && !field.Initial.isEmpty()) {
                box->insertItem(0, field.Initial);
                index = 0;
            }
            box->setCurrentIndex(index);
        }
        return box;
    }
    case TRowEntryField::ekDate: {
        auto *date = Create<TRowEntryDateEdit>(QStringLiteral("runtime_rlre_DtPick"), col, field.DateFormat);
        date->setText(field.Initial);
        date->setPlaceholderText(field.DateFormat);
        return date;
    }
    case TRowEntryField::ekNumber: {
        auto *number = Create<TNumIO>(QStringLiteral("runtime_rlre_NumIO"), col);
        number->SetRangeLow(-1.7e308);
        number->SetRangeHigh(1.7e308);
        number->SetInputFormat(field.InputFormat);
        number->SetEditText(field.Initial);
        return number;
    }
    case TRowEntryField::ekText: {
        auto *edit = Create<QLineEdit>(QStringLiteral("runtime_rlre_Edit"), col);
        edit->setMaxLength(ShortStringMax);
        if (FView->GetColumnIsPwd(col))
            edit->setEchoMode(QLineEdit::Password);
        edit->setText(field.Initial);
        edit->setCursorPosition(0);
        return edit;
    }
    case TRowEntryField::ekNone: break;
    }
    return nullptr;
}

void TRowEntryForm::MakeReadOnly(QWidget *editor)
{
    editor->setEnabled(false);
    QPalette palette = editor->palette();
    for (QPalette::ColorRole role : {QPalette::Base, QPalette::Button, QPalette::Window})
        palette.setColor(QPalette::Disabled, role, ToQColor(0xE0E0E0));
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
        palette.setColor(QPalette::Disabled, role, ToQColor(0x808080));
    editor->setPalette(palette);
    editor->setAutoFillBackground(true);
}

void TRowEntryForm::Build(int posLeft, int posTop, const QString &caption, const QString &okCaption,
                          const QString &cancelCaption)
{
    const int columns = FView->GetNrOfColumns();
    const QFontMetrics metrics(FForm->font());
    int labelWidth = 0;
    for (int c = 1; c <= columns; ++c)
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(LabelText(FView->GetHeader(c))));
    labelWidth += 8;

    // The fields first: a handler that throws here leaves nothing half-built on the form.
    std::vector<TRowEntryField> fields;
    int maxWidth = 0;
    for (int c = 1; c <= columns; ++c) {
        QString format = FView->GetColumnFormat(c);
        if (FView->OnRequestEditFormat)
            FView->OnRequestEditFormat(FView, c, FRow, format);
        fields.push_back(RowEntryField(format, FView->GetElem(c, FRow), FRow));
        maxWidth = std::max(maxWidth, fields.back().Width);
    }

    const TRowEntryLayout layout(FOwnForm, posLeft, posTop, labelWidth, maxWidth, columns);
    for (int c = 1; c <= columns; ++c) {
        const TRowEntryField &field = fields[size_t(c - 1)];
        auto *label = Create<QLabel>(QStringLiteral("runtime_rlre_Label"), c);
        label->setTextFormat(Qt::PlainText);
        label->setText(LabelText(FView->GetHeader(c)));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setGeometry(layout.LabelRect(c));
        QWidget *editor = CreateEditor(c, field);
        if (!editor)
            continue;
        editor->setGeometry(layout.EditorRect(c, field.Width));
        editor->setAccessibleName(FView->GetHeader(c).replace(QLatin1Char('\n'), QLatin1Char(' ')));
        label->setBuddy(editor);
        if (field.ReadOnly)
            MakeReadOnly(editor);
        else {
            editor->installEventFilter(FEnter);
            if (auto *box = qobject_cast<QComboBox *>(editor); box && box->lineEdit())
                box->lineEdit()->installEventFilter(FEnter);
        }
        FEditors.push_back({c, field, editor});
    }

    const QSize size = layout.FormSize();
    if (FOwnForm) {
        auto *ok = Create<QPushButton>(QStringLiteral("runtime_rlre_ButOK"), 0);
        ok->setText(okCaption);
        ok->setGeometry(layout.OKButtonRect());
        ok->setDefault(true);
        QObject::connect(ok, &QPushButton::clicked, FForm.data(), &QDialog::accept);
        auto *cancel = Create<QPushButton>(QStringLiteral("runtime_rlre_ButCancel"), 0);
        cancel->setText(cancelCaption);
        cancel->setGeometry(layout.CancelButtonRect());
        QObject::connect(cancel, &QPushButton::clicked, FForm.data(), &QDialog::reject);
        FForm->setFixedSize(size);
        FForm->move(posLeft, posTop);
    } else {
        FForm->resize(std::max(FForm->width(), size.width()), std::max(FForm->height(), size.height()));
    }
    FForm->setWindowTitle(caption);
    // Tab runs through the editors in column order (the order they were made in),
    // then, on an own form, OK and Cancel; the first editor that takes input starts.
    const auto first = std::find_if(FEditors.begin(), FEditors.end(), [](const Editor &e) { return e.Widget->isEnabled(); });
    if (first != FEditors.end())
        first->Widget->setFocus();
}

QString TRowEntryForm::TextOf(const Editor &editor)
{
    if (auto *box = qobject_cast<QComboBox *>(editor.Widget))
        return box->currentText();
    return static_cast<QLineEdit *>(editor.Widget)->text();
}

const TRowEntryForm::Editor *TRowEntryForm::UnreadableDate() const
{
    for (const Editor &editor : FEditors) {
        if (editor.Field.ReadOnly || editor.Field.Editor != TRowEntryField::ekDate || TextOf(editor) == editor.Field.Unchanged)
            continue;
        if (static_cast<const TRowEntryDateEdit *>(editor.Widget)->Reading().Error != dseNone)
            return &editor;
    }
    return nullptr;
}

void TRowEntryForm::WriteBack()
{
    const bool suppressed = FView->GetSuppressPaint();
    FView->SetSuppressPaint(true);
    const auto resume = qScopeGuard([&] { FView->SetSuppressPaint(suppressed); });
    for (const Editor &editor : FEditors) {
        QString text = TextOf(editor);
        if (editor.Field.ReadOnly || text == editor.Field.Unchanged)
            continue;
        if (editor.Field.Editor == TRowEntryField::ekDate && !text.isEmpty()) {
            const auto *date = static_cast<const TRowEntryDateEdit *>(editor.Widget);
            text = FormatPickerDateTime(date->Format(), date->Reading().Value);
        }
        FView->SetElem(editor.Col, FRow, text);
    }
}

int TRowEntryForm::Run()
{
    for (;;) {
        const int result = FForm->exec();
        if (!FForm || !FView)
            return TReportListView::mrCancel; // gone while open: nothing to write to
        if (result == QDialog::Rejected)
            return TReportListView::mrCancel;
        if (result != TReportListView::mrOK)
            return result;
        const Editor *bad = UnreadableDate();
        if (!bad) {
            WriteBack();
            return TReportListView::mrOK;
        }
        // The row stays as it was until the date reads; the form opens again on it.
        const auto *date = static_cast<const TRowEntryDateEdit *>(bad->Widget);
        QMessageBox::warning(FForm, FForm->windowTitle(),
                             TReportListView::tr("\"%1\" is not a date of the format %2: %3.")
                                 .arg(date->text(), date->Format(), DateErrorText(date->Reading().Error)));
        if (!FForm || !FView)
            return TReportListView::mrCancel;
        bad->Widget->setFocus();
    }
}

int EditRowEntriesIntern(TReportListView &view, int Row, QDialog *ContainerForm, int PosLeft, int PosTop,
                         const QString &FormCaption, const QString &ButOKCaption, const QString &ButCancelCaption)
{
    // A row outside the table has no cells to edit: no form, and certainly no OK.
    if (Row < 1 || Row > view.GetNrOfRows())
        return TReportListView::mrNone;
    TRowEntryForm form(view, Row, ContainerForm);
    form.Build(PosLeft, PosTop, FormCaption, ButOKCaption, ButCancelCaption);
    return form.Run();
}

} // namespace

int TReportListView::EditRowEntries(int Row, int PosLeft, int PosTop)
{
    return EditRowEntries(Row, PosLeft, PosTop, tr("Editing Row %1").arg(FormatInt(Row)), tr("OK"), tr("Cancel"));
}

int TReportListView::EditRowEntries(int Row, int PosLeft, int PosTop, const QString &FormCaption,
                                    const QString &ButOKCaption, const QString &ButCancelCaption)
{
    return EditRowEntriesIntern(*this, Row, nullptr, PosLeft, PosTop, FormCaption, ButOKCaption, ButCancelCaption);
}

int TReportListView::EditRowEntries(int Row, QDialog *ContainerForm, int PosLeft, int PosTop)
{
    if (!ContainerForm)
        return mrNone;
    return EditRowEntriesIntern(*this, Row, ContainerForm, PosLeft, PosTop, QString(), QString(), QString());
}

} // namespace nvo
