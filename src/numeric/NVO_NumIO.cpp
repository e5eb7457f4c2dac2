#include "NVO_NumIO.h"

#include "NVO_Control.h"

#include <QtCore/QEvent>

#include <algorithm>
#include <cmath>

namespace nvo {

struct TNumIO::Private {
    explicit Private(TNumIO *owner) : q(owner) {}

    void RestartValidation();
    bool PlaceFixPointCaret(int sepMode);
    bool InRange(double v) const;
    void Accept(const QString &shown);
    void Reject(bool keepCaret);

    TNumIO *const q;
    TInFormat FInputFormat = itDynamic;
    int FFixPointDecPlaces = 2;
    QString FLastAccepted;
    bool FInternalChange = false;
    bool FBeep = false;
    double FRangeLow = 0;
    double FRangeHigh = 0;
    TDecPSep FDecPlaceSep = dsLocale;
    bool FDesignDefaultsApplied = false;
};

TNumIO::TNumIO(QWidget *parent) : TEditControl(parent), d(std::make_unique<Private>(this))
{
    connect(this, &QLineEdit::textChanged, this, [this] { Guarded([this] { Change(); }); });
    SetEditText(QString());
}

TNumIO::~TNumIO() = default;

TInFormat TNumIO::GetInputFormat() const { return d->FInputFormat; }
int TNumIO::GetFixPointDecPlaces() const { return d->FFixPointDecPlaces; }
double TNumIO::GetRangeLow() const { return d->FRangeLow; }
double TNumIO::GetRangeHigh() const { return d->FRangeHigh; }
TDecPSep TNumIO::GetDecPlaceSep() const { return d->FDecPlaceSep; }
bool TNumIO::GetBeep() const { return d->FBeep; }

void TNumIO::SetInputFormat(TInFormat format)
{
    if (format == d->FInputFormat || !AcceptsEnum(format, "InputFormat"))
        return;
    d->FInputFormat = format;
    d->RestartValidation();
}

// The two settings below change nothing the edit shows: they are stored, not painted.
void TNumIO::SetFixPointDecPlaces(int places)
{
    Change(d->FFixPointDecPlaces, std::clamp(places, 1, 8), false);
}

void TNumIO::SetBeep(bool beep) { Change(d->FBeep, beep, false); }

void TNumIO::SetRangeLow(double low)
{
    // A limit that is no number would make every value but 0 fall outside.
    if (low == d->FRangeLow || std::isnan(low))
        return;
    // A low limit at or above the high one takes the high one's place.
    if (low >= d->FRangeHigh) {
        d->FRangeLow = d->FRangeHigh;
        d->FRangeHigh = low;
    } else {
        d->FRangeLow = low;
    }
    d->RestartValidation();
}

void TNumIO::SetRangeHigh(double high)
{
    if (high == d->FRangeHigh || std::isnan(high))
        return;
    // A high limit at or below the low one takes the low one's place.
    if (high > d->FRangeLow) {
        d->FRangeHigh = high;
    } else {
        d->FRangeHigh = d->FRangeLow;
        d->FRangeLow = high;
    }
    d->RestartValidation();
}

void TNumIO::SetDecPlaceSep(TDecPSep choice)
{
    if (choice == d->FDecPlaceSep || !AcceptsEnum(choice, "DecPlaceSep"))
        return;
    d->FDecPlaceSep = choice;
    d->RestartValidation();
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
    const QString shown =
        NumberText(value, d->FInputFormat, d->FFixPointDecPlaces, SeparatorMode(d->FDecPlaceSep));
    // What the program writes is the field's new valid state: a rejected keystroke
    // must bring this text back, not an older one.
    d->FLastAccepted = shown;
    const bool changed = shown != text();
    SetEditText(shown);
    if (changed)
        Q_EMIT ValueChanged(GetValue());
}

bool TNumIO::ConvertNumString(const QString &S, double &V) const
{
    return nvo::ConvertNumString(S, d->FInputFormat, SeparatorMode(d->FDecPlaceSep), V);
}

void TNumIO::Assign(const QObject *Source)
{
    const auto *source = qobject_cast<const TNumIO *>(Source);
    if (!source)
        throw EConvertError(msg::CannotAssign(Source, this));
    d->FInputFormat = source->d->FInputFormat;
    d->FBeep = source->d->FBeep;
    d->FRangeLow = source->d->FRangeLow;
    d->FRangeHigh = source->d->FRangeHigh;
    d->FDecPlaceSep = source->d->FDecPlaceSep;
}

void TNumIO::AssignTo(QObject *Dest) const { AssignToSameClass(this, Dest); }

void TNumIO::SetEditText(const QString &S)
{
    // QLineEdit raises no change notification for an unchanged text, so the flag is
    // dropped here rather than left for a notification that may never come: a flag
    // left set would let the next keystroke pass unchecked.
    d->FInternalChange = true;
    setText(S);
    d->FInternalChange = false;
}

bool TNumIO::event(QEvent *e)
{
    // A field placed in the form designer starts with the open range; one created by
    // a program starts with 0..0. The designer marks its widgets right after creating
    // them, before any property of a form is applied.
    if (e->type() == QEvent::DynamicPropertyChange && !d->FDesignDefaultsApplied && Designing()) {
        d->FDesignDefaultsApplied = true;
        if (d->FRangeLow == 0 && d->FRangeHigh == 0) {
            d->FRangeLow = -uc_MaxDouble;
            d->FRangeHigh = uc_MaxDouble;
        }
    }
    return TEditControl::event(e);
}

void TNumIO::Private::RestartValidation()
{
    // After a new format, range or separator the old valid text means nothing: an
    // invalid text reverts to empty.
    FLastAccepted.clear();
    q->Change();
}

void TNumIO::Change()
{
    if (Designing())
        return;
    if (d->FInternalChange) {
        d->FInternalChange = false;
        return;
    }
    const int sepMode = SeparatorMode(d->FDecPlaceSep);
    const bool caretPlaced = d->FInputFormat == itFixPoint && d->PlaceFixPointCaret(sepMode);
    double v = 0;
    if (!ConvertNumString(text(), v)) {
        d->Reject(caretPlaced);
        return;
    }
    QString shown = text();
    if (d->FInputFormat == itFixPoint) {
        // The range and OnChange concern the text that stays: the value re-rendered
        // with exactly FixPointDecPlaces decimals, not the digits typed.
        shown = NumberText(v, itFixPoint, d->FFixPointDecPlaces, sepMode);
        ConvertNumString(shown, v);
    }
    if (!d->InRange(v)) {
        d->Reject(caretPlaced);
        return;
    }
    d->Accept(shown);
}

bool TNumIO::Private::PlaceFixPointCaret(int sepMode)
{
    const QString current = q->text();
    const auto isSep = [sepMode](QChar c) { return IsModeSeparator(c.unicode(), sepMode); };
    const auto separators = std::count_if(current.begin(), current.end(), isSep);
    const auto found = std::find_if(FLastAccepted.begin(), FLastAccepted.end(), isSep);
    // Only a text that had a separator has a place to return to: the first digit typed
    // into an empty field leaves the caret behind it.
    if (separators == 1 || found == FLastAccepted.end())
        return false;
    const int sepPos = int(found - FLastAccepted.begin()) + 1; // 1-based
    if (separators == 0) {
        q->setCursorPosition(sepPos > 1 ? sepPos - 1 : sepPos); // where the deleted one stood
        return false;
    }
    // A second separator is rejected; the caret goes behind the first one, where the
    // user wanted to type the decimals, and stays there.
    q->setCursorPosition(sepPos);
    return true;
}

bool TNumIO::Private::InRange(double v) const
{
    // Zero always passes, so that a field can be cleared whatever its range.
    return (FRangeLow <= v && v <= FRangeHigh) || v == 0;
}

void TNumIO::Private::Accept(const QString &shown)
{
    FLastAccepted = shown;
    if (shown != q->text()) {
        const int caret = q->cursorPosition();
        q->SetEditText(shown);
        q->setCursorPosition(caret);
    }
    Q_EMIT q->ValueChanged(q->GetValue());
    if (q->OnChange)
        q->OnChange(q);
}

void TNumIO::Private::Reject(bool keepCaret)
{
    // Nothing to undo (an empty field re-checked by a setter): no caret move, no beep.
    if (q->text() == FLastAccepted)
        return;
    // The caret returns to where it stood before the rejected character.
    const int caret = keepCaret ? q->cursorPosition() : std::max(q->cursorPosition() - 1, 0);
    q->SetEditText(FLastAccepted);
    q->setCursorPosition(caret);
    q->PaintNow();
    if (FBeep)
        SoundBeep();
}

} // namespace nvo
