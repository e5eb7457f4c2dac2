#pragma once

#include "NVO_Corvane.h"
#include "NVO_Errors.h"
#include "NVO_Global.h"
#include "NVO_StringArray.h"

#include <QtCore/QObject>
#include <QtCore/QString>

#include <functional>
#include <memory>
#include <vector>

class QIODevice;
class QTextStream;

namespace nvo {

/// The report list's own error.
NVO_DECLARE_EXCEPTION(ENVORLDataError, Exception);

/// The tags a report list XML reader recognises, with `RepListXmlTagName` as their text.
enum TRepListXmlTag : quint8 {
    xmlNumCols,
    xmlNumRows,
    xmlColName,
    xmlCheckedColumn,
    xmlCommonHd,
    xmlColumnFormat,
    xmlCell,
    xmlComment,
    xmlEndReplist,
    xmlInvalid,
};
NVO_EXPORT QString RepListXmlTagName(TRepListXmlTag Tag);
/// The tag for a name in any letter case; `xmlInvalid` for any other name.
NVO_EXPORT TRepListXmlTag RepListXmlTagOf(QStringView Name);

/// Whether the text file `FName` holds a report list (with the identifier `DataID`
/// unless that is empty). Raises `ENVOError` when the file cannot be read.
NVO_EXPORT bool CheckIfValidReplist(const QString &FName, const QString &DataID);
/// The same test on a stream from its current position; the stream is left after the
/// last line read.
NVO_EXPORT bool CheckIfValidReplist(QIODevice &InStream, const QString &DataID);

/// The parts of a column format [K][W]D, read with the bounds a format from a file needs.
struct NVO_EXPORT TColumnFormatParts
{
    QChar Kind = QLatin1Char('s'); ///< kind letter; 's' when the format has none
    bool ReadOnly = false;         ///< "#" in front of the kind letter
    QString KindRest;              ///< the rest of K after the letter (date format, ":n")
    int DropDownLines = 0;         ///< ":n" of kinds c and l, 0 when not given
    int EditorWidth = 200;         ///< W in pixels; missing or non-positive gives 200
    QString Default;               ///< D
};
NVO_EXPORT TColumnFormatParts ParseColumnFormat(const QString &Format);
/// The default text of a column of kind letter `Kind` whose format ends in `Default`
/// (the D of [K][W]D), for data row `Row`: the first item (c, l), the row-index rule
/// (e, f, h, i), the password rule (s), D itself (d) or nothing (any other letter).
NVO_EXPORT QString ColumnDefaultText(QChar Kind, const QString &Default, int Row);
/// The integer reading of column formats: blanks skipped, one sign, digits up to the
/// first other character, no digits giving 0. Saturates instead of overflowing.
NVO_EXPORT int ReadFormatInteger(QStringView Text);

/// What `ImportCSV` and `LoadLinesFromFile` tell their caller. Non-negative values count
/// the cells that had to be cut to 255 characters (0 = everything arrived whole);
/// negative values are failures that left the store as it was.
enum TImportStatus : int {
    isOK = 0,
    isFileError = -1,   ///< the file could not be opened or read
    isFormatError = -2, ///< not CSV: an unterminated quoted field
    isEmptyFile = -3,   ///< nothing to import
    isBadRange = -4,    ///< a column or row outside the store
};
/// What `ExportCSV` tells its caller: the number of data rows written, or a failure.
enum TExportStatus : int { esFileError = -1, esBadRange = -4 };

/// The content of a report list: a table of short texts with named, typed columns,
/// check-mark columns, row and column attribute bytes, a comment, an identifier and a
/// common header. Cells live in `Strings()`; columns 1..NrOfColumns hold data and column
/// 0 is a hidden extra column per row that travels with it.
class NVO_EXPORT TRLData : public QObject
{
    Q_OBJECT
    /// Number of columns.
    Q_PROPERTY(int NrOfColumns READ GetNrOfColumns WRITE SetNrCols NOTIFY NrOfColumnsChanged)
    /// Number of data rows.
    Q_PROPERTY(int NrOfRows READ GetNrOfRows WRITE SetNrRows NOTIFY NrOfRowsChanged)
    /// A text that belongs to the whole list (a title), kept in its files.
    Q_PROPERTY(QString CommonHeader READ GetCommonHeader WRITE SetCommonHeader)

public:
    enum TCheckMode : quint8 { cmNone, cmBox, cmRadio };
    Q_ENUM(TCheckMode)

    static constexpr int NameMax = 50;
    static constexpr int FormatMax = 80;

    /// Offered each cell's plain text (a header cell with Row 0) before an HTML export
    /// writes it; the handler may change the text, which is then escaped.
    using TBeforeHTMLExportEvent = std::function<void(QObject *Sender, QString &Text, int Col, int Row)>;
    /// Offered each cell's HTML after escaping, for markup on purpose (a link, emphasis):
    /// what the handler leaves is written as it stands, so it must be valid HTML.
    using THTMLCellMarkupEvent = std::function<void(QObject *Sender, QString &Markup, int Col, int Row)>;

    explicit TRLData(QObject *AOwner = nullptr);
    ~TRLData() override;

    // ---- published ------------------------------------------------------------------
    int GetNrOfColumns() const { return FNrOfCols; }
    void SetNrCols(int n);
    int GetNrOfRows() const { return FNrOfRows; }
    void SetNrRows(int n);
    QString GetCommonHeader() const { return FCommonHeader; }
    void SetCommonHeader(const QString &Text) { FCommonHeader = Text; }

    // ---- public properties -------------------------------------------------------------
    QString GetComment() const { return FComment; }
    void SetComment(const QString &Text) { FComment = Text; }
    QString GetDataID() const { return FDataID; }
    void SetDataID(const QString &ID) { FDataID = ID; }
    int GetLastSortColumn() const { return FSortColumn; }
    bool GetLastSortOrder() const { return FSortOrder; }
    /// The secondary column of the last sort and the direction of the next header-click
    /// sort: state the view keeps here so that `Assign` carries it.
    int GetSortColumnSec() const { return FSortColumnSec; }
    void SetSortColumnSec(int Col) { FSortColumnSec = Col; }
    bool GetSortToggle() const { return FSortToggle; }
    /// Forgets both sort columns, keeping the order shown: after an insertion the rows
    /// no longer follow the last sort.
    void MarkUnsorted()
    {
        FSortColumn = -1;
        FSortColumnSec = -1;
    }
    void SetSortToggle(bool Value) { FSortToggle = Value; }
    /// The cell matrix, for the view to read attributes and connect to its signals.
    TStringArray &Strings() { return *FStrings; }
    const TStringArray &Strings() const { return *FStrings; }

    QString GetColName(int ColNr) const;
    void SetColName(int ColNr, const QString &HLine);
    QString GetColumnFormat(int ColNr) const;
    void SetColumnFormat(int ColNr, const QString &DefValue);
    TCheckMode GetColCheckMode(int ColNr) const;
    void SetColCheckMode(int ColNr, TCheckMode Value);
    bool GetCheckedCol(int ColNr) const;
    void SetCheckedCol(int ColNr, bool Value);
    QString GetElem(int ACol, int ARow) const;
    void SetElem(int ACol, int ARow, const QString &Value);
    bool GetElemChecked(int ACol, int ARow) const;
    void SetElemChecked(int ACol, int ARow, bool Value);
    /// The cell as a number; raises `ENVODStructError` naming the cell when it is none.
    double GetAsNumber(int ACol, int ARow) const;
    QString GetCellDefaultValue(int ACol, int ARow) const;

    // ---- methods --------------------------------------------------------------------
    /// Copies another store; raises `EConvertError` for other classes. Strong guarantee:
    /// a failed copy leaves this store as it was.
    void Assign(const QObject *Source);
    void AssignTo(QObject *Dest) const;
    int ColumnIndex(const QString &Head, bool PartialMatch) const;
    void SetAllCheckmarksOfCol(int Column, bool Checked);
    void InvertAllCheckmarksOfCol(int Column);
    int CountCheckedElemsInCol(int Column) const;
    int CountCheckedElemsInRow(int Row) const;
    int FirstCheckedElemInCol(int ColNr) const;
    int FirstCheckedElemInRow(int RowNr) const;
    void RemoveRow(int r);
    void RemoveEmptyRows();
    void CopyRow(int Source, int Target);
    void Fill(const QString &s);
    void Clear();
    void Sort(int Col, int ColSec, bool Ascending);
    void UnSort();

    // ---- clipboard, CSV, lines, HTML ---------------------------------------------------
    void CopyToClipBoard(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader, bool UseTabs) const;
    void CopyToClipBoard(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader,
                         const QString &Separator) const;
    /// A string literal as separator: without this form, `";"` would convert to bool
    /// before QString and pick the UseTabs form.
    void CopyToClipBoard(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader,
                         const char *Separator) const
    {
        CopyToClipBoard(LeftCol, TopRow, RightCol, BottomRow, AddHeader, QString::fromUtf8(Separator));
    }
    /// The texts the two `CopyToClipBoard` forms put on the clipboard.
    QString ClipboardText(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader,
                          const QString &Separator) const;
    QString FixedWidthText(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader) const;
    int ImportCSV(const QString &FName, TCSVDelimiters Delimiter, bool IncludeColHeaders);
    int ExportCSV(const QString &FName, TCSVDelimiters Delimiter, bool IncludeColHeaders, bool IncludeCommonHeader,
                  int FirstCol, int FirstRow, int LastCol, int LastRow);
    int LoadLinesFromFile(int Column, int FirstRow, const QString &FName);
    void ExportHTMLTable(const QString &FName, int LoC, int LoR, int HiC, int HiR,
                         const std::vector<int> &ColumnSelection, int Border, int CellSpacing, int Cellpadding,
                         bool IncludeHeader, const QString &HeadClass, const QString &CellClass,
                         const QString &TableClass);
    void BeforeHTMLExport(QString &Text, int Col, int Row);

    // ---- XML ----------------------------------------------------------------------------
    bool ReadFromXMLString(const QString &InString, const QString &DataID);
    bool ReadFromXMLStream(QIODevice &InStream, const QString &DataID);
    bool ReadFromOpenXMLFile(QTextStream &F, const QString &DataID);
    bool LoadFromXMLFile(const QString &FName, const QString &DataID);
    void WriteToXMLStream(QIODevice &OutStream, bool CreateHeader, const QString &DataID) const;
    void WriteToOpenXMLFile(QTextStream &F, bool CreateHeader, const QString &DataID) const;
    void SaveAsXMLFile(const QString &FName, const QString &DataID) const;

    // ---- events -------------------------------------------------------------------------
    TBeforeSortExchgEvent OnBeforeSortExchange;
    TBeforeHTMLExportEvent OnBeforeHTMLExport;
    THTMLCellMarkupEvent OnHTMLCellMarkup;
    TOnPercentDoneEvent OnPercentDone;

Q_SIGNALS:
    void NrOfColumnsChanged(int NrOfColumns);
    void NrOfRowsChanged(int NrOfRows);

private:
    friend class RLDataXml;
    friend class RLDataCsv;

    bool ValidCol(int ColNr) const { return ColNr >= 1 && ColNr <= FNrOfCols; }
    bool ValidRow(int Row) const { return Row >= 1 && Row <= FNrOfRows; }
    bool IsCheckColumn(int ColNr) const;
    /// Whether the stored cell is checked: non-empty and not starting with a blank.
    static bool StoredIsChecked(const QString &Stored);
    void SetStateChar(int Col, int Row, bool Checked);
    void RecomputeFeedback();
    /// Reports progress of a long operation after `CellsDone` cells.
    void ReportProgress(qint64 CellsDone, qint64 CellsTotal) const;
    /// Reports progress of a read whose cell count is known only at its end: `Done` of
    /// `Total` bytes, whenever the percentage differs from `LastPercent`.
    void ReportReadProgress(qint64 Done, qint64 Total, int &LastPercent) const;
    /// Takes over a matrix and column set built aside (readers): nothing can fail here.
    void TakeOver(TStringArray &Matrix, std::vector<QString> &Names, std::vector<QString> &Formats,
                  std::vector<quint8> &Modes, int NrOfRows);

    QString FComment;
    std::vector<QString> FColName;
    std::vector<QString> FColumnFormat;
    QString FCommonHeader;
    std::vector<quint8> FColButMode;
    int FNrOfCols = 1;
    int FNrOfRows = 0;
    int FSortColumn = -1;
    int FSortColumnSec = -1;
    bool FSortOrder = true;
    QString FDataID;
    bool FSortToggle = true;
    int FFeedbkNumCells = 1;
    int FFeedbkStep = 1;
    std::unique_ptr<TStringArray> FStrings;
};

} // namespace nvo
