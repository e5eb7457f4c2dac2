#pragma once

// The numeric edit field: a single-line edit that keeps only number texts of its
// input format (the texts themselves are NVO_NumFormat's).

#include "NVO_Control.h"
#include "NVO_Corvane.h"
#include "NVO_Global.h"
#include "NVO_NumFormat.h"

#include <QtCore/QString>

#include <functional>
#include <memory>

namespace nvo {

/// A single-line edit that only ever holds a number text of its input format. Typing,
/// caret and selection are QLineEdit's; after every change the whole text is parsed,
/// and a text that is no (possibly partly typed) number of the format, or whose value
/// lies outside RangeLow..RangeHigh, is replaced by the last accepted text. Zero is
/// accepted whatever the range, so that a field can always be emptied to "0", "-" or
/// ".". Accepted changes raise OnChange and ValueChanged; texts the control writes
/// itself (Value, SetEditText, a re-rendered fixed-point text) are not validated.
/// The focus, key and mouse events (OnEnter, OnExit, OnKeyDown, OnKeyPress, OnKeyUp,
/// OnClick, OnDblClick, OnMouseDown, OnMouseMove, OnMouseUp) are the control base's:
/// a key a handler swallows never reaches the text.
class NVO_EXPORT TNumIO : public TEditControl
{
    Q_OBJECT
    /// The kind of number the field accepts and how the value is written back.
    Q_PROPERTY(nvo::TNumFormat::TInFormat InputFormat READ GetInputFormat WRITE SetInputFormat)
    /// Decimals of the fixed-point input format, 1..8.
    Q_PROPERTY(int FixPointDecPlaces READ GetFixPointDecPlaces WRITE SetFixPointDecPlaces)
    /// The lowest accepted value; swaps with RangeHigh when set above it.
    Q_PROPERTY(double RangeLow READ GetRangeLow WRITE SetRangeLow)
    /// The highest accepted value; swaps with RangeLow when set below it.
    Q_PROPERTY(double RangeHigh READ GetRangeHigh WRITE SetRangeHigh)
    /// Which characters are accepted as the decimal separator.
    Q_PROPERTY(nvo::TDecPSep DecPlaceSep READ GetDecPlaceSep WRITE SetDecPlaceSep)
    /// A rejected change sounds the system's beep.
    Q_PROPERTY(bool Beep READ GetBeep WRITE SetBeep)
    /// The value of the accepted text.
    Q_PROPERTY(double Value READ GetValue WRITE SetValue NOTIFY ValueChanged DESIGNABLE false
                   STORED false USER true)

public:
    /// The input formats, also as TNumIO::itExp and so on.
    using TInFormat = nvo::TInFormat;
    using enum TNumFormat::TInFormat;

    explicit TNumIO(QWidget *parent = nullptr);
    ~TNumIO() override;

    TInFormat GetInputFormat() const;
    void SetInputFormat(TInFormat format);
    int GetFixPointDecPlaces() const;
    void SetFixPointDecPlaces(int places);
    double GetRangeLow() const;
    void SetRangeLow(double low);
    double GetRangeHigh() const;
    void SetRangeHigh(double high);
    TDecPSep GetDecPlaceSep() const;
    void SetDecPlaceSep(TDecPSep choice);
    bool GetBeep() const;
    void SetBeep(bool beep);

    /// The number the edit shows, 0 when its text is no number of the format.
    double GetValue() const;
    /// Writes `value` in the input format's notation (not validated, no OnChange).
    void SetValue(double value);
    /// Writes the edit text without validating it: no check, no OnChange. What the
    /// user types next is checked again.
    void SetEditText(const QString &S);

    /// Parses `S` in the current input format and separator choice; false leaves `V`
    /// unwritten for an empty text and 0 otherwise.
    bool ConvertNumString(const QString &S, double &V) const;

    /// Copies input format, Beep, range and separator choice from another TNumIO
    /// (no re-check of the text); any other source raises EConvertError.
    void Assign(const QObject *Source);
    void AssignTo(QObject *Dest) const;

    /// Raised after every accepted change of the text.
    TNotifyEvent OnChange;

Q_SIGNALS:
    void ValueChanged(double value);

protected:
    /// The change handling: validates the current text and keeps or reverts it.
    virtual void Change();
    /// The setter convention's Change(field, value) stays in reach beside it.
    using TEditControl::Change;
    bool event(QEvent *e) override;

private:
    struct Private;
    std::unique_ptr<Private> const d;
};

} // namespace nvo
