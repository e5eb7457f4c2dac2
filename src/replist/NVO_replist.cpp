#include "NVO_replist.h"

#include "NVO_Format.h"

#include <QtCore/QScopeGuard>
#include <QtCore/QSignalBlocker>
#include <QtCore/QStringList>

#include <algorithm>
#include <array>
#include <climits>

namespace nvo {

namespace {

const std::array<QString, 10> &TagNames()
{
    static const std::array<QString, 10> names = {
        QStringLiteral("numcols"),     QStringLiteral("numrows"), QStringLiteral("colname"),
        QStringLiteral("checkedcolumn"), QStringLiteral("commonheader"), QStringLiteral("columnformat"),
        QStringLiteral("cell"),        QStringLiteral("comment"), QStringLiteral("/replist"),
        QStringLiteral("invalidtag")};
    return names;
}

QString DefaultColName(int ColNr)
{
    return QStringLiteral("C-") + FormatInt(ColNr);
}

constexpr QChar Checked = QLatin1Char('X');
constexpr QChar Unchecked = QLatin1Char(' ');

/// The row-index default of kinds e, f, h and i.
QString RowIndexDefault(QChar Kind, int Row, int Count)
{
    // A count from a file must not ask for texts longer than a cell.
    Count = std::clamp(Count, 0, ShortStringMax);
    TLatin1Text text;
    switch (Kind.unicode()) {
    case 'e':
    case 'f':
        return strff(Row, 1, Count);
    case 'h':
        text.AppendLowestDigits(quint32(Row), 16, std::clamp(Count, 1, 8));
        break;
    default: // 'i'
        if (Row < 0)
            text.Append('-');
        text.AppendLowestDigits(quint64(Row < 0 ? -qint64(Row) : Row), 10, std::max(Count, 1));
        break;
    }
    return text.ToQString();
}

/// Runs an edit of many cells inside one update of the matrix, so that its listeners
/// hear of it once; an edit stopped by an exception is announced as far as it got.
template<class Edit>
void EditInOneUpdate(TStringArray &Matrix, Edit &&edit)
{
    Matrix.BeginUpdate();
    try {
        edit();
    } catch (...) {
        Matrix.EndUpdate();
        throw;
    }
    Matrix.EndUpdate();
}

} // namespace

QString RepListXmlTagName(TRepListXmlTag Tag)
{
    return TagNames()[std::min<size_t>(Tag, xmlInvalid)];
}

TRepListXmlTag RepListXmlTagOf(QStringView Name)
{
    for (int tag = xmlNumCols; tag < xmlInvalid; ++tag)
        if (Name.compare(TagNames()[size_t(tag)], Qt::CaseInsensitive) == 0)
            return TRepListXmlTag(tag);
    return xmlInvalid;
}

int ReadFormatInteger(QStringView Text)
{
    qsizetype i = 0;
    while (i < Text.size() && Text[i] == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < Text.size() && (Text[i] == QLatin1Char('+') || Text[i] == QLatin1Char('-'))) {
        negative = Text[i] == QLatin1Char('-');
        ++i;
    }
    qint64 value = 0;
    for (; i < Text.size() && Text[i] >= QLatin1Char('0') && Text[i] <= QLatin1Char('9'); ++i)
        value = std::min<qint64>(value * 10 + (Text[i].unicode() - '0'), qint64(INT_MAX));
    return int(negative ? -value : value);
}

TColumnFormatParts ParseColumnFormat(const QString &Format)
{
    TColumnFormatParts parts;
    const qsizetype open = Format.indexOf(QLatin1Char('['));
    const qsizetype close = Format.indexOf(QLatin1Char(']'));
    if (open < 0 || close < open)
        return parts;
    QString kind = Format.mid(open + 1, close - open - 1);
    if (kind.startsWith(QLatin1Char('#'))) {
        parts.ReadOnly = true;
        kind.remove(0, 1);
    }
    if (!kind.isEmpty()) {
        parts.Kind = kind.at(0);
        parts.KindRest = kind.mid(1);
        if (parts.KindRest.startsWith(QLatin1Char(':')))
            // A drop-down taller than a screen is of no use; the number may come from a file.
            parts.DropDownLines = std::clamp(ReadFormatInteger(QStringView(parts.KindRest).mid(1)), 0, 100);
    }
    const QString rest = Format.mid(close + 1);
    const qsizetype widthOpen = rest.indexOf(QLatin1Char('['));
    const qsizetype widthClose = rest.indexOf(QLatin1Char(']'), std::max<qsizetype>(widthOpen, 0));
    if (widthOpen >= 0 && widthClose > widthOpen) {
        const int width = ReadFormatInteger(QStringView(rest).mid(widthOpen + 1, widthClose - widthOpen - 1));
        // Wider than any screen is a broken format, not a wish: bound it.
        parts.EditorWidth = width > 0 ? std::min(width, 4000) : 200;
    }
    parts.Default = widthClose >= 0 ? rest.mid(widthClose + 1) : rest;
    return parts;
}

// ---- construction -----------------------------------------------------------------------

TRLData::TRLData(QObject *AOwner) : QObject(AOwner)
{
    try {
        FStrings = std::make_unique<TStringArray>();
        FStrings->SetAllocRowsBy(10);
        FStrings->Resize(1, 1);
        FStrings->Clear();
        FColName = {DefaultColName(1)};
        FColumnFormat = {QString()};
        FColButMode = {cmNone};
    } catch (const std::exception &) {
        throw ENVORLDataError(msg::FailedToInitialize(this));
    }
    FCommonHeader = QStringLiteral("NVO Report Listview");
}

TRLData::~TRLData() = default;

void TRLData::RecomputeFeedback()
{
    const qint64 cells = qint64(FNrOfRows) * (FNrOfCols + 1);
    FFeedbkNumCells = int(std::clamp<qint64>(cells, 1, INT_MAX));
    FFeedbkStep = FFeedbkNumCells / 100 + 1;
}

void TRLData::ReportProgress(qint64 CellsDone, qint64 CellsTotal) const
{
    if (!OnPercentDone || CellsTotal <= 0)
        return;
    const qint64 step = CellsTotal / 100 + 1;
    if (CellsDone % step == 0 || CellsDone == CellsTotal)
        OnPercentDone(const_cast<TRLData *>(this), int(CellsDone * 100 / CellsTotal));
}

void TRLData::ReportReadProgress(qint64 Done, qint64 Total, int &LastPercent) const
{
    if (!OnPercentDone || Total <= 0)
        return;
    const int percent = int(Done * 100 / Total);
    if (percent != LastPercent)
        OnPercentDone(const_cast<TRLData *>(this), LastPercent = percent);
}

// ---- size -----------------------------------------------------------------------------------

void TRLData::SetNrRows(int n)
{
    n = std::max(0, n);
    try {
        FStrings->Resize(FNrOfCols, n);
    } catch (const std::exception &) {
        throw ENVOError(msg::NotEnoughMemory(this));
    }
    const bool changed = n != FNrOfRows;
    FNrOfRows = n;
    RecomputeFeedback();
    if (changed)
        Q_EMIT NrOfRowsChanged(n);
}

void TRLData::SetNrCols(int n)
{
    n = std::max(1, n);
    if (n == FNrOfCols)
        return;
    // The new descriptors are made aside and the matrix resized before anything is
    // committed: whichever fails, the store keeps its old column count.
    std::vector<QString> names, formats;
    std::vector<quint8> modes;
    try {
        names.assign(FColName.begin(), FColName.begin() + std::min(n, FNrOfCols));
        formats.assign(FColumnFormat.begin(), FColumnFormat.begin() + std::min(n, FNrOfCols));
        modes.assign(FColButMode.begin(), FColButMode.begin() + std::min(n, FNrOfCols));
        for (int col = FNrOfCols + 1; col <= n; ++col) {
            names.push_back(DefaultColName(col));
            formats.emplace_back();
            modes.push_back(cmNone);
        }
    } catch (const std::exception &) {
        throw ENVORLDataError(msg::NotEnoughMemory(this));
    }
    try {
        FStrings->Resize(n, std::max(1, FNrOfRows));
    } catch (const std::exception &) {
        throw ENVOError(msg::NotEnoughMemory(this));
    }
    FColName.swap(names);
    FColumnFormat.swap(formats);
    FColButMode.swap(modes);
    FNrOfCols = n;
    RecomputeFeedback();
    Q_EMIT NrOfColumnsChanged(n);
}

// ---- column descriptors ------------------------------------------------------------------

QString TRLData::GetColName(int ColNr) const
{
    return ValidCol(ColNr) ? FColName[size_t(ColNr - 1)] : QString();
}

void TRLData::SetColName(int ColNr, const QString &HLine)
{
    if (ValidCol(ColNr))
        FColName[size_t(ColNr - 1)] = CutToLength(HLine, NameMax);
}

QString TRLData::GetColumnFormat(int ColNr) const
{
    return ValidCol(ColNr) ? FColumnFormat[size_t(ColNr - 1)] : QString();
}

void TRLData::SetColumnFormat(int ColNr, const QString &DefValue)
{
    if (ValidCol(ColNr))
        FColumnFormat[size_t(ColNr - 1)] = CutToLength(DefValue, FormatMax);
}

TRLData::TCheckMode TRLData::GetColCheckMode(int ColNr) const
{
    return ValidCol(ColNr) ? TCheckMode(FColButMode[size_t(ColNr - 1)]) : cmNone;
}

bool TRLData::IsCheckColumn(int ColNr) const
{
    return GetColCheckMode(ColNr) != cmNone;
}

void TRLData::SetColCheckMode(int ColNr, TCheckMode Value)
{
    if (!ValidCol(ColNr) || Value > cmRadio || Value == GetColCheckMode(ColNr))
        return;
    const TCheckMode old = GetColCheckMode(ColNr);
    // The conversion rewrites the stored cells but not what they show; it is a change of
    // the column setup, and the matrix's listeners hear nothing of it.
    const QSignalBlocker quiet(FStrings.get());
    if (old == cmNone) {
        for (int row = 1; row <= FNrOfRows; ++row)
            if (!FStrings->IsEmpty(ColNr, row))
                FStrings->SetString(ColNr, row, Unchecked + FStrings->GetString(ColNr, row));
    } else if (Value == cmNone) {
        for (int row = 1; row <= FNrOfRows; ++row)
            if (!FStrings->IsEmpty(ColNr, row))
                FStrings->SetString(ColNr, row, FStrings->GetString(ColNr, row).mid(1));
    } else if (Value == cmRadio) {
        SetAllCheckmarksOfCol(ColNr, false);
    }
    FColButMode[size_t(ColNr - 1)] = Value;
}

bool TRLData::GetCheckedCol(int ColNr) const
{
    return GetColCheckMode(ColNr) == cmBox;
}

void TRLData::SetCheckedCol(int ColNr, bool Value)
{
    SetColCheckMode(ColNr, Value ? cmBox : cmNone);
}

int TRLData::ColumnIndex(const QString &Head, bool PartialMatch) const
{
    const QString head = Head.toLower();
    for (int col = FNrOfCols; col >= 1; --col) {
        const QString name = FColName[size_t(col - 1)].toLower();
        if (PartialMatch ? (!head.isEmpty() && name.contains(head)) : name == head)
            return col;
    }
    return -1;
}

// ---- cells -------------------------------------------------------------------------------------

QString TRLData::GetElem(int ACol, int ARow) const
{
    if (ACol < 0 || ACol > FNrOfCols || !ValidRow(ARow))
        return QString();
    const QString stored = FStrings->GetString(ACol, ARow);
    return IsCheckColumn(ACol) ? stored.mid(1) : stored;
}

void TRLData::SetElem(int ACol, int ARow, const QString &Value)
{
    if (ACol < 0 || ACol > FNrOfCols || !ValidRow(ARow))
        return;
    if (!IsCheckColumn(ACol)) {
        FStrings->SetString(ACol, ARow, Value);
        return;
    }
    const QString stored = FStrings->GetString(ACol, ARow);
    const QChar state = stored.isEmpty() ? Unchecked : stored.at(0);
    FStrings->SetString(ACol, ARow, state + Value); // the matrix cuts to 255
}

bool TRLData::StoredIsChecked(const QString &Stored)
{
    return !Stored.isEmpty() && Stored.at(0) != Unchecked;
}

bool TRLData::GetElemChecked(int ACol, int ARow) const
{
    if (!IsCheckColumn(ACol) || !ValidRow(ARow))
        return false;
    return StoredIsChecked(FStrings->GetString(ACol, ARow));
}

void TRLData::SetStateChar(int Col, int Row, bool IsChecked)
{
    QString stored = FStrings->GetString(Col, Row);
    const QChar state = IsChecked ? Checked : Unchecked;
    if (stored.isEmpty())
        stored = state;
    else
        stored[0] = state;
    FStrings->SetString(Col, Row, stored);
}

void TRLData::SetElemChecked(int ACol, int ARow, bool Value)
{
    if (!IsCheckColumn(ACol) || !ValidRow(ARow))
        return;
    EditInOneUpdate(*FStrings, [&] {
        if (GetColCheckMode(ACol) == cmRadio)
            SetAllCheckmarksOfCol(ACol, false);
        SetStateChar(ACol, ARow, Value);
    });
}

void TRLData::SetAllCheckmarksOfCol(int Column, bool IsChecked)
{
    // Every row gets its state character as SetElemChecked gives it, so an empty cell
    // becomes a lone blank when the marks are cleared; it still reads as empty and
    // unchecked.
    const TCheckMode mode = GetColCheckMode(Column);
    if (mode == cmNone || (IsChecked && mode != cmBox))
        return;
    EditInOneUpdate(*FStrings, [&] {
        for (int row = 1; row <= FNrOfRows; ++row)
            SetStateChar(Column, row, IsChecked);
    });
}

void TRLData::InvertAllCheckmarksOfCol(int Column)
{
    if (GetColCheckMode(Column) != cmBox)
        return;
    EditInOneUpdate(*FStrings, [&] {
        for (int row = 1; row <= FNrOfRows; ++row) {
            const QString stored = FStrings->GetString(Column, row);
            SetStateChar(Column, row, stored.isEmpty() || stored.at(0) != Checked);
        }
    });
}

int TRLData::CountCheckedElemsInCol(int Column) const
{
    int count = 0;
    if (IsCheckColumn(Column))
        for (int row = 1; row <= FNrOfRows; ++row)
            count += StoredIsChecked(FStrings->GetString(Column, row)) ? 1 : 0;
    return count;
}

int TRLData::CountCheckedElemsInRow(int Row) const
{
    int count = 0;
    for (int col = 1; col <= FNrOfCols; ++col)
        count += GetElemChecked(col, Row) ? 1 : 0;
    return count;
}

int TRLData::FirstCheckedElemInCol(int ColNr) const
{
    for (int row = 1; row <= FNrOfRows; ++row)
        if (GetElemChecked(ColNr, row))
            return row;
    return 0;
}

int TRLData::FirstCheckedElemInRow(int RowNr) const
{
    for (int col = 1; col <= FNrOfCols; ++col)
        if (GetElemChecked(col, RowNr))
            return col;
    return 0;
}

double TRLData::GetAsNumber(int ACol, int ARow) const
{
    if (ACol < 0 || ACol > FNrOfCols || !ValidRow(ARow))
        return 0;
    const QString stored = FStrings->GetString(ACol, ARow);
    const QStringView text = IsCheckColumn(ACol) ? QStringView(stored).mid(1) : QStringView(stored);
    if (std::all_of(text.begin(), text.end(), [](QChar ch) { return ch == QLatin1Char(' '); }))
        return 0; // empty, or blanks only
    double value = 0;
    if (!ReadCellNumber(text, value))
        throw ENVODStructError(QStringLiteral("Class TRLData: invalid numeric string: [%1,%2]: %3")
                                   .arg(ACol)
                                   .arg(ARow)
                                   .arg(stored));
    return value;
}

QString ColumnDefaultText(QChar Kind, const QString &Default, int Row)
{
    switch (Kind.unicode()) {
    case 'c':
    case 'l':
        return Default.section(QLatin1Char('|'), 0, 0);
    case 'd':
        return Default;
    case 'e':
    case 'f':
    case 'h':
    case 'i':
        if (Default.contains(QLatin1String("rix"), Qt::CaseInsensitive))
            // The value becomes a cell: a row number with many decimals must still fit.
            return CutToLength(RowIndexDefault(Kind, Row,
                                               ReadFormatInteger(QStringView(Default).mid(std::min<qsizetype>(3, Default.size())))),
                               ShortStringMax);
        return Default;
    case 's':
        if (Default.contains(QLatin1String("$pwd$"), Qt::CaseInsensitive))
            // InventPassword bounds the length to what a cell can hold.
            return InventPassword(ReadFormatInteger(QStringView(Default).mid(std::min<qsizetype>(5, Default.size()))));
        return Default;
    default:
        return QString();
    }
}

QString TRLData::GetCellDefaultValue(int ACol, int ARow) const
{
    const QString format = GetColumnFormat(ACol);
    const qsizetype headEnd = format.indexOf(QLatin1Char(']'));
    if (headEnd < 0 || headEnd + 1 >= format.size())
        return QString();
    const QString head = format.left(headEnd + 1);
    QString d = format.mid(headEnd + 1);
    d.remove(0, d.indexOf(QLatin1Char(']')) + 1); // nothing when there is no second "]"
    if (head.size() < 2)
        return QString();
    return ColumnDefaultText(head.at(1), d, ARow);
}

// ---- rows --------------------------------------------------------------------------------------

void TRLData::RemoveRow(int r)
{
    if (!ValidRow(r))
        return;
    FStrings->CommitSorting();
    if (FNrOfRows == 1) {
        EditInOneUpdate(*FStrings, [&] {
            for (int col = 0; col <= FNrOfCols; ++col)
                FStrings->SetString(col, 1, QString());
        });
        // The attribute byte goes with the row's content: a selected or disabled mark
        // must not reappear on the next row added.
        FStrings->SetRowAttrib(1, 0);
    } else {
        FStrings->RemoveRow(r);
    }
    --FNrOfRows;
    RecomputeFeedback();
    Q_EMIT NrOfRowsChanged(FNrOfRows);
}

void TRLData::RemoveEmptyRows()
{
    // One pass over the rows instead of one removal each: the same result as removing
    // the empty rows from the last to the first.
    const auto isEmptyRow = [this](int row) {
        if (!FStrings->IsEmpty(0, row))
            return false;
        for (int col = 1; col <= FNrOfCols; ++col) {
            const int length = FStrings->GetLength(col, row);
            if (length > (IsCheckColumn(col) ? 1 : 0))
                return false;
        }
        return true;
    };
    if (FNrOfRows == 0)
        return;
    const int removed = FStrings->RemoveRowsIf(isEmptyRow);
    if (removed == 0)
        return;
    FNrOfRows -= removed;
    if (FNrOfRows == 0)
        FStrings->Resize(FNrOfCols, 1); // the store keeps one (empty) matrix row
    RecomputeFeedback();
    Q_EMIT NrOfRowsChanged(FNrOfRows);
}

void TRLData::CopyRow(int Source, int Target)
{
    if (!ValidRow(Source) || !ValidRow(Target) || Source == Target)
        return;
    EditInOneUpdate(*FStrings, [&] {
        for (int col = 0; col <= FNrOfCols; ++col)
            FStrings->SetString(col, Target, FStrings->GetString(col, Source));
    });
    FStrings->SetRowAttrib(Target, FStrings->GetRowAttrib(Source));
}

void TRLData::Fill(const QString &s)
{
    EditInOneUpdate(*FStrings, [&] {
        for (int col = 1; col <= FNrOfCols; ++col) {
            const bool check = IsCheckColumn(col);
            for (int row = 1; row <= FNrOfRows; ++row) {
                if (!check) {
                    FStrings->SetString(col, row, s);
                    continue;
                }
                // An empty check-mark cell has no state; it counts as unchecked and gets
                // the blank, like a cell whose state is a blank.
                const QString stored = FStrings->GetString(col, row);
                const QChar state = stored.isEmpty() || stored.at(0) == Unchecked ? Unchecked : Checked;
                FStrings->SetString(col, row, state + s);
            }
        }
    });
}

void TRLData::Clear()
{
    FStrings->Clear();
    for (int col = 1; col <= FNrOfCols; ++col) {
        FColName[size_t(col - 1)] = DefaultColName(col);
        FColumnFormat[size_t(col - 1)].clear();
        FColButMode[size_t(col - 1)] = cmNone;
    }
}

void TRLData::Sort(int Col, int ColSec, bool Ascending)
{
    FSortColumn = Col;
    FSortColumnSec = ColSec;
    FSortOrder = Ascending;
    // The store hears the matrix's sort keys while it sorts with a handler to pass them
    // to. Without one it does not listen: a key is built as a text only for a listener
    // that may rewrite it, and that text costs more than comparing the key.
    QMetaObject::Connection keys;
    if (OnBeforeSortExchange)
        keys = connect(FStrings.get(), &TStringArray::BeforeSortExchange, this,
                       [this](const QString &Text, QString &ExchgText) {
                           if (OnBeforeSortExchange)
                               OnBeforeSortExchange(this, Text, ExchgText);
                       });
    const auto stopListening = qScopeGuard([&keys] { disconnect(keys); });
    FStrings->Sort(Col, ColSec, Ascending);
}

void TRLData::UnSort()
{
    FSortColumn = -1;
    FSortColumnSec = -1;
    FStrings->UnSort();
}

// ---- copying ---------------------------------------------------------------------------------

void TRLData::TakeOver(TStringArray &Matrix, std::vector<QString> &Names, std::vector<QString> &Formats,
                       std::vector<quint8> &Modes, int NrOfRows)
{
    // Swapping keeps the matrix object, and with it every listener connected to it. The
    // matrix is swapped last: its listeners, told of the swap, find the store complete.
    const int oldCols = FNrOfCols;
    const int oldRows = FNrOfRows;
    FColName.swap(Names);
    FColumnFormat.swap(Formats);
    FColButMode.swap(Modes);
    FNrOfCols = int(FColName.size());
    FNrOfRows = NrOfRows;
    RecomputeFeedback();
    FStrings->Swap(Matrix);
    if (oldCols != FNrOfCols)
        Q_EMIT NrOfColumnsChanged(FNrOfCols);
    if (oldRows != FNrOfRows)
        Q_EMIT NrOfRowsChanged(FNrOfRows);
}

void TRLData::Assign(const QObject *Source)
{
    const auto *source = qobject_cast<const TRLData *>(Source);
    if (!source)
        throw EConvertError(msg::CannotAssign(Source, this));
    if (source == this)
        return; // copying onto itself would free what it copies from
    // Everything is copied aside first; a failure leaves this store as it was.
    TStringArray matrix;
    std::vector<QString> names, formats;
    std::vector<quint8> modes;
    try {
        matrix.Assign(*source->FStrings); // cells, attribute bytes and both orders together
        if (matrix.NrOfRows() < 1)
            matrix.Resize(source->FNrOfCols, 1);
        names = source->FColName;
        formats = source->FColumnFormat;
        modes = source->FColButMode;
    } catch (const std::exception &) {
        throw ENVORLDataError(msg::NotEnoughMemory(this));
    }
    FSortColumn = source->FSortColumn;
    FSortColumnSec = source->FSortColumnSec;
    FSortOrder = source->FSortOrder;
    FSortToggle = source->FSortToggle;
    FComment = source->FComment;
    FCommonHeader = source->FCommonHeader;
    FDataID = source->FDataID;
    OnBeforeSortExchange = source->OnBeforeSortExchange;
    TakeOver(matrix, names, formats, modes, source->FNrOfRows);
}

void TRLData::AssignTo(QObject *Dest) const
{
    AssignToSameClass(this, Dest);
}

void TRLData::BeforeHTMLExport(QString &Text, int Col, int Row)
{
    if (OnBeforeHTMLExport)
        OnBeforeHTMLExport(this, Text, Col, Row);
}

} // namespace nvo
