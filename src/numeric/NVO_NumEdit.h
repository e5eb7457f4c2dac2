#pragma once

// The editing engine of the custom-drawn numeric field, without a widget: the value
// model (a text buffer read and written in an input format), the validators every
// edit must pass, and the text editing (caret, selection, the typing rules, the
// decimal separator, cut and paste as text operations). TNumIO2 owns one engine and
// wires it to its keys, mouse and painting; tests drive it directly.

#include "NVO_Corvane.h"
#include "NVO_Global.h"
#include "NVO_NumFormat.h"

#include <QtCore/QString>
#include <QtCore/QStringView>

namespace nvo {

// ---- Validators of typed texts -------------------------------------------------------
//
// The field checks its whole buffer after every edit with these. They accept partly
// typed numbers, so that a user can pass through "-", "." or "12E" on the way to a
// number. `Sep` selects the separator mode as SeparatorMode does.

/// Digits "0".."1", "0".."7", or hex digits in either case; never empty.
NVO_EXPORT bool IsBinText(QStringView S);
NVO_EXPORT bool IsOctText(QStringView S);
NVO_EXPORT bool IsHexText(QStringView S);
/// An optional sign and digits; a single character must be a digit.
NVO_EXPORT bool IsIntText(QStringView S);
/// An optional sign, digits, at most one separator of the mode, digits ("-" and "."
/// alone included); a separator of another mode makes the text invalid.
NVO_EXPORT bool IsFloatText(QStringView S, TDecPSep Sep);
/// A decimal number with optional exponent that ScanFloatNum reads in full, whose
/// exponent stays within 4200 in magnitude. A dangling exponent ("12E", "12E-") is
/// a number being typed and valid; a lone sign is not.
NVO_EXPORT bool IsExpText(QStringView S, TDecPSep Sep);

// ---- Value rules of the spin buttons -------------------------------------------------

/// Index of the pivot nearest to `V` (the first one on equal distance); -1 for none.
NVO_EXPORT int NearestPivot(const TDoubleArray &Pivots, double V);
/// The value one click on a spin button makes of `F`: a step of `Increment` limited
/// to Min..Max, or with pivots the next pivot in that direction (not limited; a
/// value within 10^-DecP of a pivot counts as on it).
NVO_EXPORT double SpinValue(double F, bool Up, double Increment, double Min, double Max,
                            const TDoubleArray &Pivots, int DecP);

/// A number text being edited. The buffer is the model: the value is read from it in
/// the input format, and writing a value rewrites it. Caret and selection count
/// characters from 0; the selection is [SelBegin, SelEnd), empty when they are equal.
///
/// The keystroke operations (Backspace, Delete, Type, Cut, Paste) each edit the
/// buffer as one keystroke does and then check it: an edit that leaves something
/// other than an empty text, a lone sign or a (partly typed) number of the format is
/// undone, buffer and caret as they were (the selection is not restored). Every key
/// without Ctrl (moves and Backspace, Delete, Type) then settles the selection: in
/// the decimals of a fixed-point text the digit behind the caret is selected, so that
/// the next digit overwrites it; anywhere else the selection ends.
class NVO_EXPORT TNumEdit
{
public:
    /// How a keystroke left the buffer.
    enum TEditResult : quint8 {
        erUnchanged, ///< nothing to edit, or a move
        erChanged,   ///< the buffer holds a new text
        erRejected   ///< the edit was undone, or the key types nothing: the field beeps
    };

    // ---- Value model ----
    const QString &GetText() const { return FInBuffer; }
    /// Takes `S` when it is empty or valid in the input format (caret and selection
    /// to 0); returns false and ignores it otherwise.
    bool SetText(const QString &S);
    /// The number the buffer shows in the input format.
    double GetValue() const;
    /// Writes `V` in the input format's notation; caret and selection stay where they
    /// are as far as the new text reaches.
    void SetValue(double V);
    /// The text SetValue writes for `V`, with the separator the field accepts.
    QString ValueText(double V) const;
    /// Whether `S` is a complete or partly typed number of the input format.
    bool CheckValidity(QStringView S) const;
    /// The value lies outside RangeLow..RangeHigh.
    bool OutOfRange() const;

    TInFormat GetInputFormat() const { return FInputFormat; }
    /// Rewrites the value in the new format; false when `format` is the current one.
    bool SetInputFormat(TInFormat format);
    int GetFixPointDecPlaces() const { return FDecP; }
    /// Decimals of itFloat and itFixPoint, at most 15; rewrites the value. False
    /// (ignored) for the current count and for counts below 1.
    bool SetFixPointDecPlaces(int places);
    int GetSignificantDigits() const { return FSigDig; }
    /// Significant digits of itExp, as SetFixPointDecPlaces.
    bool SetSignificantDigits(int digits);
    TDecPSep GetDecPlaceSep() const { return FDecPSep; }
    /// Replaces the separator in the buffer by the new choice's; a change to "either"
    /// leaves the buffer alone. False when `sep` is the current choice.
    bool SetDecPlaceSep(TDecPSep sep);
    double GetRangeLow() const { return FMinimum; }
    /// A low limit above the high one raises the high one with it.
    void SetRangeLow(double low);
    double GetRangeHigh() const { return FMaximum; }
    /// A high limit below the low one lowers the low one with it.
    void SetRangeHigh(double high);

    // ---- Caret and selection ----
    int GetCaretPos() const { return FCaretPos; }
    int GetSelBegin() const { return FSelBegin; }
    int GetSelEnd() const { return FSelEnd; }
    bool HasSelection() const { return FSelBegin < FSelEnd; }
    QString SelectedText() const;
    /// Moves the selection's start (and the caret) to N, limited to the buffer; the
    /// end follows when it lay before.
    void SetSelBegin(int N);
    /// Moves the selection's end (and the caret) to N, limited to the buffer; the
    /// start follows when it lay behind.
    void SetSelEnd(int N);
    /// Puts the caret at N with no selection, as a mouse press does.
    void PlaceCaret(int N);
    /// Drags the selection to N: its end when N lies behind its start, else its start.
    void DragSelection(int N);

    // ---- Keystrokes ----
    void Home();
    void End();
    void Left();
    void Right();
    /// Deletes the selection, or else the character before the caret.
    TEditResult Backspace();
    /// Deletes the selection, or else the character behind the caret.
    TEditResult Delete();
    /// Types what a key writes (`keyText`, one character) in place of the selection.
    /// Digits, hex digits (as capitals), signs, separators and the prefixes "$", "%",
    /// "&" are typed. Shift with 4, 5, 6 gives the prefixes where the keyboard layout
    /// writes digits there; the keypad's decimal key gives the separator the field
    /// writes, whatever the keyboard's locale puts on it. Any other key types nothing
    /// and is rejected.
    TEditResult Type(QStringView keyText, bool shifted = false, bool keypad = false);
    /// Deletes the selection (its text is the caller's to put on the clipboard).
    TEditResult Cut();
    /// Inserts `text` at the caret and moves the caret behind it; a selection is not
    /// replaced.
    TEditResult Paste(const QString &text);

private:
    void SetBuffer(const QString &text);
    /// Stores a count of digits (at most 15; ignored when unchanged or below 1) and
    /// rewrites the value with it.
    bool SetDigitCount(int &count, int n);
    void ClampCaretAndSelection();
    void ReplaceSeparator(QChar oldSep, QChar newSep);
    /// Runs `edit` as one keystroke: an edit that leaves no acceptable text is undone.
    template<class Edit>
    TEditResult CheckedEdit(Edit &&edit);
    TEditResult Erase(bool beforeCaret);
    void InsertAtCaret(QStringView text);
    void DeleteSelection();
    void SettleSelection();

    QString FInBuffer;
    int FCaretPos = 0;
    int FSelBegin = 0;
    int FSelEnd = 0;
    double FMinimum = 0;
    double FMaximum = 1000;
    TInFormat FInputFormat = TNumFormat::itFloat;
    int FDecP = 2;
    int FSigDig = 6;
    TDecPSep FDecPSep = dsEither;
};

} // namespace nvo
