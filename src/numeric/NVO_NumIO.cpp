#include "NVO_NumIO.h"

#include "NVO_Control.h"

#include <QtCore/QEvent>

#include <algorithm>
#include <cmath>

namespace nvo {

TNumIO::TNumIO(QWidget *parent) : QLineEdit(parent)
{
    connect(this, &QLineEdit::textChanged, this, [this] { Guarded([this] { Change(); }); });
    SetEditText(QString());
}

TNumIO::~TNumIO() = default;

void TNumIO::SetInputFormat(TInFormat format)
{
    if (format == FInputFormat)
        return;
    FInputFormat = format;
    RestartValidation();
}

void TNumIO::SetFixPointDecPlaces(int places)
{
    FFixPointDecPlaces = std::clamp(places, 1, 8);
}

void TNumIO::SetRangeLow(double low)
{
    // A limit that is no number would make every value but 0 fall outside.
    if (low == FRangeLow || std::isnan(low))
        return;
    // A low limit at or above the high one takes the high one's place.
    if (low >= FRangeHigh) {
        FRangeLow = FRangeHigh;
        FRangeHigh = low;
    } else {
        FRangeLow = low;
    }
    RestartValidation();
}

void TNumIO::SetRangeHigh(double high)
{
    if (high == FRangeHigh || std::isnan(high))
        return;
    // A high limit at or below the low one takes the low one's place.
    if (high > FRangeLow) {
        FRangeHigh = high;
    } else {
        FRangeHigh = FRangeLow;
        FRangeLow = high;
    }
    RestartValidation();
}

void TNumIO::SetDecPlaceSep(TDecPSep choice)
{
    if (choice == FDecPlaceSep)
        return;
    FDecPlaceSep = choice;
    RestartValidation();
}

double TNumIO::GetValue() const
{
    // The text is read with the field's own separator: it was validated with it, and
    // with "," as the only separator a "." would not read at all.
    double v = 0;
    return ConvertNumString(text(), v) ? v : 0.0;
}

void TNumIO::SetValue(double value)
{
    const QString shown = NumberText(value, FInputFormat, FFixPointDecPlaces, SeparatorMode(FDecPlaceSep));
    // What the program writes is the field's new valid state: a rejected keystroke
    // must bring this text back, not an older one.
    FLastAccepted = shown;
    const bool changed = shown != text();
    SetEditText(shown);
    if (changed)
        Q_EMIT ValueChanged(GetValue());
}

bool TNumIO::ConvertNumString(const QString &S, double &V) const
{
    return nvo::ConvertNumString(S, FInputFormat, SeparatorMode(FDecPlaceSep), V);
}

void TNumIO::Assign(const QObject *Source)
{
    const auto *source = qobject_cast<const TNumIO *>(Source);
    if (!source)
        throw EConvertError(msg::CannotAssign(Source, this));
    FInputFormat = source->FInputFormat;
    FBeep = source->FBeep;
    FRangeLow = source->FRangeLow;
    FRangeHigh = source->FRangeHigh;
    FDecPlaceSep = source->FDecPlaceSep;
}

void TNumIO::AssignTo(QObject *Dest) const
{
    auto *dest = qobject_cast<TNumIO *>(Dest);
    if (!dest)
        throw EConvertError(msg::CannotAssign(this, Dest));
    dest->Assign(this);
}

void TNumIO::SetEditText(const QString &S)
{
    // QLineEdit raises no change notification for an unchanged text, so the flag is
    // dropped here rather than left for a notification that may never come: a flag
    // left set would let the next keystroke pass unchecked.
    FInternalChange = true;
    setText(S);
    FInternalChange = false;
}

bool TNumIO::event(QEvent *e)
{
    // A field placed in the form designer starts with the open range; one created by
    // a program starts with 0..0. The designer marks its widgets right after creating
    // them, before any property of a form is applied.
    if (e->type() == QEvent::DynamicPropertyChange && !FDesignDefaultsApplied && IsDesigning(this)) {
        FDesignDefaultsApplied = true;
        if (FRangeLow == 0 && FRangeHigh == 0) {
            FRangeLow = -uc_MaxDouble;
            FRangeHigh = uc_MaxDouble;
        }
    }
    return QLineEdit::event(e);
}

void TNumIO::RestartValidation()
{
    // After a new format, range or separator the old valid text means nothing: an
    // invalid text reverts to empty.
    FLastAccepted.clear();
    Change();
}

void TNumIO::Change()
{
    if (IsDesigning(this))
        return;
    if (FInternalChange) {
        FInternalChange = false;
        return;
    }
    const int sepMode = SeparatorMode(FDecPlaceSep);
    const bool caretPlaced = FInputFormat == itFixPoint && PlaceFixPointCaret(sepMode);
    double v = 0;
    if (!ConvertNumString(text(), v)) {
        Reject(caretPlaced);
        return;
    }
    QString shown = text();
    if (FInputFormat == itFixPoint) {
        // The range and OnChange concern the text that stays: the value re-rendered
        // with exactly FixPointDecPlaces decimals, not the digits typed.
        shown = NumberText(v, itFixPoint, FFixPointDecPlaces, sepMode);
        ConvertNumString(shown, v);
    }
    if (!InRange(v)) {
        Reject(caretPlaced);
        return;
    }
    Accept(shown);
}

bool TNumIO::PlaceFixPointCaret(int sepMode)
{
    const QString current = text();
    const auto isSep = [sepMode](QChar c) { return IsModeSeparator(c.unicode(), sepMode); };
    const auto separators = std::count_if(current.begin(), current.end(), isSep);
    const auto found = std::find_if(FLastAccepted.begin(), FLastAccepted.end(), isSep);
    // Only a text that had a separator has a place to return to: the first digit typed
    // into an empty field leaves the caret behind it.
    if (separators == 1 || found == FLastAccepted.end())
        return false;
    const int sepPos = int(found - FLastAccepted.begin()) + 1; // 1-based
    if (separators == 0) {
        setCursorPosition(sepPos > 1 ? sepPos - 1 : sepPos); // where the deleted one stood
        return false;
    }
    // A second separator is rejected; the caret goes behind the first one, where the
    // user wanted to type the decimals, and stays there.
    setCursorPosition(sepPos);
    return true;
}

bool TNumIO::InRange(double v) const
{
    // Zero always passes, so that a field can be cleared whatever its range.
    return (FRangeLow <= v && v <= FRangeHigh) || v == 0;
}

void TNumIO::Accept(const QString &shown)
{
    FLastAccepted = shown;
    if (shown != text()) {
        const int caret = cursorPosition();
        SetEditText(shown);
        setCursorPosition(caret);
    }
    Q_EMIT ValueChanged(GetValue());
    if (OnChange)
        OnChange(this);
}

void TNumIO::Reject(bool keepCaret)
{
    // Nothing to undo (an empty field re-checked by a setter): no caret move, no beep.
    if (text() == FLastAccepted)
        return;
    // The caret returns to where it stood before the rejected character.
    const int caret = keepCaret ? cursorPosition() : std::max(cursorPosition() - 1, 0);
    SetEditText(FLastAccepted);
    setCursorPosition(caret);
    RepaintNow(this);
    if (FBeep)
        SoundBeep();
}

} // namespace nvo
