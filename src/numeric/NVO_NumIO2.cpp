#include "NVO_NumIO2.h"

#include "NVO_ControlAccessible_p.h"

#include "NVO_Format.h"

#include <QtGui/QClipboard>
#include <QtGui/QGuiApplication>
#include <QtGui/QInputMethodEvent>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtGui/QWheelEvent>

#include <algorithm>
#include <cmath>
#include <tuple>

namespace nvo {

namespace {

/// The text that measures a line: ascenders, descenders and accents.
const QString kHeightProbe = QStringLiteral("(8g]}\u00DC\u00C4\u00A7");
constexpr int kCaretBlinkMs = 500;
constexpr int kMinHeight = 18;

/// The upper-left and lower-right line colours of the frame styles 2..5.
struct TLinePair {
    TColor upperLeft;
    TColor lowerRight;
};

/// Frame styles beyond the named ones draw as a single line, so a frame stays visible.
TFrameStyle KnownStyle(TFrameStyle style) { return style > fsEngraved ? fsSimple : style; }

/// What the picture shows of an engine: the text, caret and selection, and the value
/// (in the gauge and, against the range, in the warning colours).
auto Shown(const TNumEdit &edit)
{
    return std::tuple(edit.GetText(), edit.GetCaretPos(), edit.GetSelBegin(), edit.GetSelEnd(),
                      edit.GetValue());
}

/// Keys that are no key press for the field: Tab and Backtab move the focus, and a
/// modifier key alone only changes the next key (it must neither beep nor end the
/// selection that a shifted key is about to extend).
bool IsFieldKey(int key)
{
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta: return false;
    default: return true;
    }
}

} // namespace

// ---- Geometry ------------------------------------------------------------------------

int NumIO2CharPosToX(TAlignment Alignment, int LeftSpace, int TextBoxWidth, int TextWidth,
                     int PrefixWidth)
{
    switch (Alignment) {
    case taLeftJustify: return PrefixWidth + LeftSpace + 4;
    case taRightJustify: return PrefixWidth + LeftSpace + TextBoxWidth - TextWidth - 2;
    case taCenter:
    default: return PrefixWidth + LeftSpace + (TextBoxWidth - TextWidth) / 2 + 2;
    }
}

int NumIO2XToCharPos(TAlignment Alignment, int LeftSpace, int TextBoxWidth, int TextWidth,
                     int Length, int X)
{
    if (Length <= 0)
        return 0;
    const int average = TextWidth / Length;
    // Characters without width (or narrower than one pixel on average) leave no way
    // to tell positions apart: the caret goes to the start.
    if (average <= 0)
        return 0;
    int c;
    switch (Alignment) {
    case taLeftJustify: c = X - LeftSpace - 3; break;
    case taRightJustify: c = X + TextWidth - LeftSpace - TextBoxWidth + 3; break;
    case taCenter:
    default: c = X - LeftSpace - (TextBoxWidth - TextWidth) / 2 - 1; break;
    }
    c = std::max(c, 0);
    // The average width rounds down, so the far end of a long text could count one
    // character more than there are: the caret stays within the buffer.
    return std::min((std::min(TextWidth, c) + average / 2) / average, Length);
}

std::optional<double> GaugeValueAt(int X, int GaugeLeft, int GaugeWidth, double Min, double Max,
                                   const TDoubleArray &Pivots)
{
    if (GaugeWidth <= 0)
        return std::nullopt;
    double v = Min + double(X - GaugeLeft) / GaugeWidth * (Max - Min);
    if (const int p = NearestPivot(Pivots, v); p >= 0)
        v = Pivots[p];
    return std::clamp(v, std::min(Min, Max), std::max(Min, Max));
}

// ---- TNumIO2: private state -----------------------------------------------------------

struct TNumIO2::Private {
    explicit Private(TNumIO2 *owner);

    // Editing
    /// Runs `edit` on the engine: a new text notifies ValueChanged, and the field
    /// repaints when what it shows has changed.
    template<class Edit>
    void ChangeEdit(Edit &&edit);
    /// Sets one limit of the range through `setLimit`. The range shows in the gauge,
    /// and in the warning colours when the value crosses it; elsewhere it only
    /// limits the spin buttons and the gauge, and a change paints nothing.
    void ChangeRange(void (TNumEdit::*setLimit)(double), double limit);
    /// The box's colours for the value in range (false) or out of range (true) are
    /// the ones shown.
    bool ShowsRangeColours(bool outOfRange) const { return FEdit.OutOfRange() == outOfRange; }
    void HandleKey(const QKeyEvent *event);
    TNumEdit::TEditResult EditKey(const QKeyEvent *event);
    TNumEdit::TEditResult PlainKey(const QKeyEvent *event);
    /// Reports the result of an edit made by a key or the input method and repaints.
    void EditDone(TNumEdit::TEditResult result);
    // Caret blink
    void UpdateTimer();
    void CaretTimerEvent();
    // Mouse
    int GaugeZone() const;
    std::optional<double> GaugeAt(int x);
    void SpinClick(bool up);
    // Size
    /// Sets the control's height and keeps the spin buttons within it; true when
    /// the height changed.
    bool ResizeTo(int h);
    /// With AutoSize, the height follows the font; true when it changed.
    bool ApplyAutoSize();
    void ClampLayoutToSize();
    // Painting, one step each
    void PaintSideText(TCanvas &canvas, const QString &text, int x, int y) const;
    void PaintSpinButtons(TCanvas &canvas) const;
    void PaintGauge(TCanvas &canvas) const;
    void PaintTextBox(TCanvas &canvas, bool outOfRange) const;
    void PaintNumber(TCanvas &canvas, TBitmap &buffer, bool outOfRange, int y) const;
    void PaintTwoLines(TCanvas &canvas, TFrameStyle style, QPoint ulFrom, QPoint ulCorner,
                       QPoint ulTo, QPoint lrFrom, QPoint lrCorner, QPoint lrTo) const;

    TNumIO2 *const q;
    /// The buffer with caret and selection, the input format and the range.
    TNumEdit FEdit;
    bool FCaretVisib = true;
    bool FValueChanged = false;
    double FButIncrem = 1.0;
    bool FBeep = false;
    bool FReadOnly = false;
    bool FHideSelection = true;
    int FMouseAreaCode = 0;

    int FLeftSpace = 35;
    int FTextBoxWidth = 80;
    QString FLeftText;
    QString FRightText;
    TAlignment FLeftTextAlignment = taRightJustify;
    TAlignment FRightTextAlignment = taLeftJustify;
    TAlignment FAlignment = taCenter;
    TFrameStyle FFrameStyle = fsLowered;
    bool FAutoSize = false;
    bool FButVisible = false;
    bool FBut3D = true;
    int FButWidth = 18;
    int FButHeight = 28;
    int FButSpace = 3;
    TColor FButColor = clr::Silver;
    bool FGaugeVisible = false;
    int FGaugeHeight = 8;
    int FGaugeWidth = 82;
    int FGaugeLeftMargin = 35;
    int FGaugeTopMargin = 3;
    TFrameStyle FGaugeFrameStyle = fsLowered;
    TColor FGaugeColor = clr::Navy;
    TColor FGaugeColorBg = clr::Silver;
    TColor FGaugeColorFrame = clr::Gray;
    TColor FColorBoxBG = clr::White;
    TColor FColorBoxText = clr::Black;
    TColor FColorOutBG = clr::BtnFace;
    TColor FColorOutText = clr::Black;
    TColor FColorWarnBG = 0x6088FFF0;
    TColor FColorWarnText = clr::Red;

    THiddenTimer FCaretTimer;
};

TNumIO2::Private::Private(TNumIO2 *owner)
    : q(owner), FCaretTimer(owner, [this] { CaretTimerEvent(); })
{
}

// ---- Accessibility -----------------------------------------------------------------------

/// A spin box: its text as the value, the range and the button increment as the value
/// interface's.
template<>
struct TControlAccessibility<TNumIO2> {
    static constexpr QAccessible::Role Role = QAccessible::SpinBox;
    static QString Name(const TNumIO2 &field)
    {
        return field.GetLeftText().isEmpty() ? TNumIO2::tr("Numeric field") : field.GetLeftText();
    }
    static QString Value(const TNumIO2 &field) { return field.GetText(); }
    static double Current(const TNumIO2 &field) { return field.GetValue(); }
    static double Minimum(const TNumIO2 &field) { return field.GetRangeLow(); }
    static double Maximum(const TNumIO2 &field) { return field.GetRangeHigh(); }
    static double Step(const TNumIO2 &field) { return field.GetButIncrem(); }
    static void SetCurrent(TNumIO2 &field, double value) { field.SetValue(value); }
};

// ---- TNumIO2: construction -------------------------------------------------------------

TNumIO2::TNumIO2(QWidget *parent) : TControl(parent), d(std::make_unique<Private>(this))
{
    InstallControlAccessibility(this, &TNumIO2::ValueChanged);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    // The mouse area code follows every move, with or without a button held.
    setMouseTracking(true);
    resize(160, 28);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    // A field without a timer is still a field: it only does not blink. The failure
    // goes to the application's handler, as a failing timer does everywhere.
    Guarded([this] { d->UpdateTimer(); });
}

TNumIO2::~TNumIO2() = default;

QSize TNumIO2::sizeHint() const { return {std::max(160, minimumSizeHint().width()), height()}; }

QSize TNumIO2::minimumSizeHint() const
{
    const int buttons = d->FButVisible ? d->FButSpace + d->FButWidth : 0;
    return {d->FLeftSpace + d->FTextBoxWidth + buttons + QFontMetrics(font()).horizontalAdvance(d->FRightText),
            height()};
}

// ---- Value model -------------------------------------------------------------------------

template<class Edit>
void TNumIO2::Private::ChangeEdit(Edit &&edit)
{
    const auto before = Shown(FEdit);
    edit();
    if (FEdit.GetText() != std::get<0>(before))
        Q_EMIT q->ValueChanged(FEdit.GetValue());
    if (Shown(FEdit) != before)
        q->PaintNow();
}

void TNumIO2::Private::ChangeRange(void (TNumEdit::*setLimit)(double), double limit)
{
    const double low = FEdit.GetRangeLow();
    const double high = FEdit.GetRangeHigh();
    const bool wasOut = FEdit.OutOfRange();
    (FEdit.*setLimit)(limit);
    const bool moved = FEdit.GetRangeLow() != low || FEdit.GetRangeHigh() != high;
    if (moved && (FGaugeVisible || FEdit.OutOfRange() != wasOut))
        q->PaintNow();
}

QString TNumIO2::GetText() const { return d->FEdit.GetText(); }

void TNumIO2::SetText(const QString &S)
{
    d->ChangeEdit([&] { d->FEdit.SetText(S); });
}

double TNumIO2::GetValue() const { return d->FEdit.GetValue(); }

void TNumIO2::SetValue(double V)
{
    d->ChangeEdit([&] { d->FEdit.SetValue(V); });
}

int TNumIO2::GetIntegerValue() const
{
    const double v = GetValue();
    if (!(v <= 2147483647.0 && v >= -2147483648.0))
        throw ENVONumIO2Error(msg::IntegerOverflow(this));
    return int(RoundHalfEven(v));
}

bool TNumIO2::OutOfRange() const { return d->FEdit.OutOfRange(); }
bool TNumIO2::CheckValidity(const QString &S) const { return d->FEdit.CheckValidity(S); }

void TNumIO2::Changed()
{
    if (OnChange)
        OnChange(this);
}

TNumIO2::TInFormat TNumIO2::GetInputFormat() const { return d->FEdit.GetInputFormat(); }
int TNumIO2::GetFixPointDecPlaces() const { return d->FEdit.GetFixPointDecPlaces(); }
int TNumIO2::GetSignificantDigits() const { return d->FEdit.GetSignificantDigits(); }
TDecPSep TNumIO2::GetDecPlaceSep() const { return d->FEdit.GetDecPlaceSep(); }
double TNumIO2::GetRangeLow() const { return d->FEdit.GetRangeLow(); }
double TNumIO2::GetRangeHigh() const { return d->FEdit.GetRangeHigh(); }
double TNumIO2::GetButIncrem() const { return d->FButIncrem; }
bool TNumIO2::GetBeep() const { return d->FBeep; }
bool TNumIO2::GetReadOnly() const { return d->FReadOnly; }
bool TNumIO2::GetHideSelection() const { return d->FHideSelection; }
int TNumIO2::GetCaretPos() const { return d->FEdit.GetCaretPos(); }
int TNumIO2::GetSelBegin() const { return d->FEdit.GetSelBegin(); }
int TNumIO2::GetSelEnd() const { return d->FEdit.GetSelEnd(); }
int TNumIO2::GetMouseAreaCode() const { return d->FMouseAreaCode; }
bool TNumIO2::GetCaretVisible() const { return d->FCaretVisib; }
THiddenTimer &TNumIO2::CaretTimer() { return d->FCaretTimer; }

void TNumIO2::SetInputFormat(TInFormat format)
{
    if (AcceptsEnum(format, "InputFormat"))
        d->ChangeEdit([&] { d->FEdit.SetInputFormat(format); });
}

void TNumIO2::SetFixPointDecPlaces(int places)
{
    d->ChangeEdit([&] { d->FEdit.SetFixPointDecPlaces(places); });
}

void TNumIO2::SetSignificantDigits(int digits)
{
    d->ChangeEdit([&] { d->FEdit.SetSignificantDigits(digits); });
}

void TNumIO2::SetDecPlaceSep(TDecPSep sep)
{
    if (AcceptsEnum(sep, "DecPlaceSep"))
        d->ChangeEdit([&] { d->FEdit.SetDecPlaceSep(sep); });
}

void TNumIO2::SetRangeLow(double low) { d->ChangeRange(&TNumEdit::SetRangeLow, low); }
void TNumIO2::SetRangeHigh(double high) { d->ChangeRange(&TNumEdit::SetRangeHigh, high); }

// The step of the spin buttons and the beep only act on input.
void TNumIO2::SetButIncrem(double increment) { Change(d->FButIncrem, increment, false); }
void TNumIO2::SetBeep(bool beep) { Change(d->FBeep, beep, false); }

void TNumIO2::SetReadOnly(bool readOnly)
{
    if (readOnly == d->FReadOnly)
        return;
    d->FReadOnly = readOnly;
    if (readOnly) {
        d->FCaretTimer.Stop();
        d->FCaretVisib = false;
        PaintNow();
    } else {
        d->UpdateTimer();
    }
}

void TNumIO2::SetHideSelection(bool hide)
{
    // A selection shows regardless while the field has the focus.
    Change(d->FHideSelection, hide, d->FEdit.HasSelection() && !hasFocus());
}

void TNumIO2::SetSelBegin(int N)
{
    d->ChangeEdit([&] { d->FEdit.SetSelBegin(N); });
}

void TNumIO2::SetSelEnd(int N)
{
    d->ChangeEdit([&] { d->FEdit.SetSelEnd(N); });
}

void TNumIO2::SetFocus()
{
    setFocus(Qt::OtherFocusReason);
    if (!d->FReadOnly)
        d->UpdateTimer();
}

void TNumIO2::Assign(const QObject *Source)
{
    const auto *source = qobject_cast<const TNumIO2 *>(Source);
    if (!source)
        throw EConvertError(msg::CannotAssign(Source, this));
    if (source == this)
        return;
    const Private &o = *source->d;
    BeginUpdate();
    d->FLeftSpace = o.FLeftSpace;
    d->FTextBoxWidth = o.FTextBoxWidth;
    d->FLeftText = o.FLeftText;
    d->FRightText = o.FRightText;
    d->FFrameStyle = o.FFrameStyle;
    d->FAlignment = o.FAlignment;
    d->FRightTextAlignment = o.FRightTextAlignment;
    d->FLeftTextAlignment = o.FLeftTextAlignment;
    d->FColorBoxBG = o.FColorBoxBG;
    d->FColorBoxText = o.FColorBoxText;
    d->FColorOutBG = o.FColorOutBG;
    d->FColorOutText = o.FColorOutText;
    SetColorScheme(source->GetColorScheme());
    d->FCaretVisib = o.FCaretVisib;
    d->FMouseAreaCode = o.FMouseAreaCode;
    d->FColorWarnBG = o.FColorWarnBG;
    d->FColorWarnText = o.FColorWarnText;
    d->FHideSelection = o.FHideSelection;
    d->FBeep = o.FBeep;
    d->FAutoSize = o.FAutoSize;
    d->ApplyAutoSize();
    // Text, caret, selection, input format, decimals, separator and range.
    d->ChangeEdit([&] { d->FEdit = o.FEdit; });
    EndUpdate();
    // After the update: a blink timer that cannot start raises, and must not leave
    // the field's painting suppressed.
    SetReadOnly(o.FReadOnly);
}

void TNumIO2::AssignTo(QObject *Dest) const { AssignToSameClass(this, Dest); }

// ---- Keys ----------------------------------------------------------------------------------

void TNumIO2::KeyPressed(QKeyEvent *event)
{
    if (!IsFieldKey(event->key())) {
        TControl::KeyPressed(event);
        return;
    }
    Guarded([&] { d->HandleKey(event); });
    event->accept();
}

void TNumIO2::Private::HandleKey(const QKeyEvent *event)
{
    if (FReadOnly && !event->matches(QKeySequence::Copy))
        return;
    // Page Up and Page Down are the spin buttons' keys (the arrows move the caret).
    if (event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown) {
        if (FButVisible)
            SpinClick(event->key() == Qt::Key_PageUp);
        return;
    }
    EditDone(EditKey(event));
}

void TNumIO2::Private::EditDone(TNumEdit::TEditResult result)
{
    if (result == TNumEdit::erRejected && FBeep)
        SoundBeep();
    FCaretVisib = true;
    if (result == TNumEdit::erChanged) {
        Q_EMIT q->ValueChanged(FEdit.GetValue());
        q->Changed();
    }
    q->PaintNow();
}

TNumEdit::TEditResult TNumIO2::Private::EditKey(const QKeyEvent *event)
{
    // The clipboard by the platform's own sequences (Ctrl+Insert and Shift+Delete too
    // where they are the custom); any other chord with Ctrl types nothing.
    QClipboard *clipboard = QGuiApplication::clipboard();
    const bool cut = event->matches(QKeySequence::Cut);
    if (cut || event->matches(QKeySequence::Copy)) {
        if (!FEdit.HasSelection())
            return TNumEdit::erUnchanged;
        clipboard->setText(FEdit.SelectedText());
        return cut ? FEdit.Cut() : TNumEdit::erUnchanged;
    }
    if (event->matches(QKeySequence::Paste))
        return FEdit.Paste(clipboard->text());
    if (event->modifiers() & Qt::ControlModifier)
        return TNumEdit::erRejected;
    return PlainKey(event);
}

TNumEdit::TEditResult TNumIO2::Private::PlainKey(const QKeyEvent *event)
{
    // The platform's editing sequences first (on a Mac the line ends are Cmd+arrows),
    // then the plain keys, where Up and Down move the caret as Left and Right do.
    if (event->matches(QKeySequence::Delete))
        return FEdit.Delete();
    if (event->matches(QKeySequence::Backspace))
        return FEdit.Backspace();
    if (event->matches(QKeySequence::MoveToStartOfLine)) {
        FEdit.Home();
        return TNumEdit::erUnchanged;
    }
    if (event->matches(QKeySequence::MoveToEndOfLine)) {
        FEdit.End();
        return TNumEdit::erUnchanged;
    }
    switch (event->key()) {
    case Qt::Key_Backspace: return FEdit.Backspace();
    case Qt::Key_Delete: return FEdit.Delete();
    case Qt::Key_Home: FEdit.Home(); break;
    case Qt::Key_End: FEdit.End(); break;
    case Qt::Key_Left:
    case Qt::Key_Up: FEdit.Left(); break;
    case Qt::Key_Right:
    case Qt::Key_Down: FEdit.Right(); break;
    default:
        return FEdit.Type(event->text(), event->modifiers() & Qt::ShiftModifier,
                          event->modifiers() & Qt::KeypadModifier);
    }
    return TNumEdit::erUnchanged;
}

void TNumIO2::wheelEvent(QWheelEvent *event)
{
    // The wheel turns the spin buttons of the field that has the focus; over any other
    // it scrolls what holds the field, so that scrolling a form changes no value.
    const int steps = event->angleDelta().y() / QWheelEvent::DefaultDeltasPerStep;
    if (!hasFocus() || !d->FButVisible || steps == 0) {
        event->ignore();
        return;
    }
    Guarded([&] {
        for (int i = 0; i < std::abs(steps); ++i)
            d->SpinClick(steps > 0);
    });
    event->accept();
}

void TNumIO2::inputMethodEvent(QInputMethodEvent *event)
{
    // What an input method commits goes in as pasted text, checked as a whole; its
    // preedit text is not shown.
    if (!event->commitString().isEmpty() && !d->FReadOnly)
        Guarded([&] { d->EditDone(d->FEdit.Paste(event->commitString())); });
    event->accept();
}

QVariant TNumIO2::inputMethodQuery(Qt::InputMethodQuery query) const
{
    switch (query) {
    case Qt::ImEnabled: return !d->FReadOnly;
    case Qt::ImHints: return int(Qt::ImhFormattedNumbersOnly | Qt::ImhNoPredictiveText);
    case Qt::ImCursorRectangle: return QRect(d->FLeftSpace, 0, d->FTextBoxWidth, height());
    case Qt::ImSurroundingText: return GetText();
    default: return TControl::inputMethodQuery(query);
    }
}

// ---- Caret blink ---------------------------------------------------------------------------

void TNumIO2::Private::UpdateTimer()
{
    FCaretTimer.Stop();
    FCaretVisib = true;
    FCaretTimer.Start<ENVONumIO2Error>(kCaretBlinkMs);
    q->PaintNow();
}

void TNumIO2::Private::CaretTimerEvent()
{
    if (q->hasFocus()) {
        FCaretVisib = !FCaretVisib;
    } else {
        FCaretTimer.Stop();
        FCaretVisib = false;
    }
    q->PaintNow();
}

void TNumIO2::focusInEvent(QFocusEvent *event)
{
    if (!d->FReadOnly)
        Guarded([this] { d->UpdateTimer(); });
    TControl::focusInEvent(event);
}

// ---- Mouse ---------------------------------------------------------------------------------

int TNumIO2::Private::GaugeZone() const
{
    return FGaugeVisible ? FGaugeHeight + FGaugeTopMargin + 1 : 0;
}

int TNumIO2::CharPosToXCoords(int N) const
{
    const QFontMetrics metrics = fontMetrics();
    const QString &text = d->FEdit.GetText();
    const int n = std::clamp(N, 0, int(text.size()));
    return NumIO2CharPosToX(d->FAlignment, d->FLeftSpace, d->FTextBoxWidth,
                            metrics.horizontalAdvance(text),
                            metrics.horizontalAdvance(QStringView(text).left(n).toString()));
}

int TNumIO2::XCoordsToCharPos(int X) const
{
    const QString &text = d->FEdit.GetText();
    return NumIO2XToCharPos(d->FAlignment, d->FLeftSpace, d->FTextBoxWidth,
                            fontMetrics().horizontalAdvance(text), int(text.size()), X);
}

std::optional<double> TNumIO2::Private::GaugeAt(int x)
{
    // Read-only means read-only for the mouse as well: the gauge only shows the value.
    if (FReadOnly)
        return std::nullopt;
    const auto v = GaugeValueAt(x, FGaugeLeftMargin, FGaugeWidth, FEdit.GetRangeLow(),
                                FEdit.GetRangeHigh(), q->ButtonPivots);
    if (v) {
        q->SetValue(*v);
        FValueChanged = true;
    }
    return v;
}

void TNumIO2::Private::SpinClick(bool up)
{
    // The spin buttons of a read-only field do nothing, like its keys.
    if (FReadOnly)
        return;
    q->SetValue(SpinValue(FEdit.GetValue(), up, FButIncrem, FEdit.GetRangeLow(),
                          FEdit.GetRangeHigh(), q->ButtonPivots, FEdit.GetFixPointDecPlaces()));
    q->Changed();
}

void TNumIO2::mousePressEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    Guarded([&] {
        if (!d->FReadOnly) {
            d->FCaretVisib = true;
            d->UpdateTimer();
        }
        const int h = height();
        const int zone = d->GaugeZone();
        if (p.y() > 0 && p.y() < h - zone) {
            d->FEdit.PlaceCaret(XCoordsToCharPos(p.x()));
            PaintNow();
        }
        if (d->FGaugeVisible && p.y() > h - zone && p.x() >= d->FGaugeLeftMargin
            && p.x() <= d->FGaugeLeftMargin + d->FGaugeWidth)
            d->GaugeAt(p.x());
        const int buttonsLeft = d->FLeftSpace + d->FTextBoxWidth + d->FButSpace;
        if (d->FButVisible && p.x() > buttonsLeft && p.x() < buttonsLeft + d->FButWidth
            && p.y() > 0 && p.y() < d->FButHeight)
            d->SpinClick(p.y() <= d->FButHeight / 2);
    });
    TControl::mousePressEvent(event);
}

void TNumIO2::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    const int boxLeft = d->FLeftSpace;
    d->FMouseAreaCode = p.x() > boxLeft + d->FTextBoxWidth ? 2 : p.x() > boxLeft ? 1 : 0;
    if (event->buttons() & Qt::LeftButton) {
        Guarded([&] {
            const int h = height();
            const int zone = d->GaugeZone();
            if (p.y() > 0 && p.y() < h - zone) {
                d->FEdit.DragSelection(XCoordsToCharPos(p.x()));
                PaintNow();
            }
            if (d->FGaugeVisible && p.y() > h - zone && p.x() >= d->FGaugeLeftMargin - 1
                && p.x() <= d->FGaugeLeftMargin + d->FGaugeWidth + 1) {
                const auto v = d->GaugeAt(p.x());
                if (v && OnGaugeChange)
                    OnGaugeChange(this, event->modifiers(), *v);
            }
        });
    }
    TControl::mouseMoveEvent(event);
}

void TNumIO2::mouseReleaseEvent(QMouseEvent *event)
{
    if (d->FValueChanged) {
        d->FValueChanged = false;
        Guarded([this] { Changed(); });
    }
    TControl::mouseReleaseEvent(event);
}

// ---- Layout ----------------------------------------------------------------------------------
//
// A setting whose part of the picture is hidden (the spin buttons', the gauge's, a
// side text's alignment without the text) is stored without a paint. The clamped
// settings compare the value asked for before the clamp: a value set again as it
// is stays, also on a control that has since become too small for it.

int TNumIO2::GetLeftSpace() const { return d->FLeftSpace; }
int TNumIO2::GetTextBoxWidth() const { return d->FTextBoxWidth; }
QString TNumIO2::GetLeftText() const { return d->FLeftText; }
QString TNumIO2::GetRightText() const { return d->FRightText; }
TAlignment TNumIO2::GetLeftTextAlignment() const { return d->FLeftTextAlignment; }
TAlignment TNumIO2::GetRightTextAlignment() const { return d->FRightTextAlignment; }
TAlignment TNumIO2::GetAlignment() const { return d->FAlignment; }
TFrameStyle TNumIO2::GetFrameStyle() const { return d->FFrameStyle; }
bool TNumIO2::GetAutoSize() const { return d->FAutoSize; }
int TNumIO2::GetHeight() const { return height(); }
bool TNumIO2::GetButVisible() const { return d->FButVisible; }
bool TNumIO2::GetBut3D() const { return d->FBut3D; }
int TNumIO2::GetButWidth() const { return d->FButWidth; }
int TNumIO2::GetButHeight() const { return d->FButHeight; }
int TNumIO2::GetButSpace() const { return d->FButSpace; }
TColor TNumIO2::GetButColor() const { return d->FButColor; }
bool TNumIO2::GetGaugeVisible() const { return d->FGaugeVisible; }
int TNumIO2::GetGaugeHeight() const { return d->FGaugeHeight; }
int TNumIO2::GetGaugeWidth() const { return d->FGaugeWidth; }
int TNumIO2::GetGaugeLeftMargin() const { return d->FGaugeLeftMargin; }
int TNumIO2::GetGaugeTopMargin() const { return d->FGaugeTopMargin; }
TFrameStyle TNumIO2::GetGaugeFrameStyle() const { return d->FGaugeFrameStyle; }
TColor TNumIO2::GetGaugeColor() const { return d->FGaugeColor; }
TColor TNumIO2::GetGaugeColorBg() const { return d->FGaugeColorBg; }
TColor TNumIO2::GetGaugeColorFrame() const { return d->FGaugeColorFrame; }
TColor TNumIO2::GetColorBoxBG() const { return d->FColorBoxBG; }
TColor TNumIO2::GetColorBoxText() const { return d->FColorBoxText; }
TColor TNumIO2::GetColorOutBG() const { return d->FColorOutBG; }
TColor TNumIO2::GetColorOutText() const { return d->FColorOutText; }
TColor TNumIO2::GetColorWarnBG() const { return d->FColorWarnBG; }
TColor TNumIO2::GetColorWarnText() const { return d->FColorWarnText; }

void TNumIO2::SetLeftSpace(int space)
{
    if (space != d->FLeftSpace && space >= 0)
        Change(d->FLeftSpace, std::min(space, width()));
}

void TNumIO2::SetTextBoxWidth(int boxWidth) { Change(d->FTextBoxWidth, boxWidth); }
void TNumIO2::SetLeftText(const QString &text) { Change(d->FLeftText, text); }
void TNumIO2::SetRightText(const QString &text) { Change(d->FRightText, text); }

void TNumIO2::SetLeftTextAlignment(TAlignment alignment)
{
    ChangeEnum(d->FLeftTextAlignment, alignment, "LeftTextAlignment", !d->FLeftText.isEmpty());
}

void TNumIO2::SetRightTextAlignment(TAlignment alignment)
{
    ChangeEnum(d->FRightTextAlignment, alignment, "RightTextAlignment", !d->FRightText.isEmpty());
}

// The alignment places the caret even in an empty box.
void TNumIO2::SetAlignment(TAlignment alignment) { ChangeEnum(d->FAlignment, alignment, "Alignment"); }
void TNumIO2::SetFrameStyle(TFrameStyle style) { ChangeEnum(d->FFrameStyle, style, "FrameStyle"); }

void TNumIO2::SetAutoSize(bool autoSize)
{
    if (autoSize == d->FAutoSize)
        return;
    d->FAutoSize = autoSize;
    // Switched off, the field keeps the height the font gave it, and so its picture.
    if (d->ApplyAutoSize())
        PaintNow();
}

bool TNumIO2::Private::ApplyAutoSize()
{
    // The height follows the font here, when font or switch change, and never
    // inside a paint: a paint that resized its own widget would paint again.
    return FAutoSize && ResizeTo(q->TextLineHeight());
}

void TNumIO2::SetHeight(int h)
{
    if (d->ResizeTo(std::max(h, kMinHeight)))
        PaintNow();
}

bool TNumIO2::Private::ResizeTo(int h)
{
    const bool changed = h != q->height();
    q->resize(q->width(), h);
    if (changed)
        q->updateGeometry();
    // A control not shown yet gets its resize event only when it is shown: the
    // buttons must fit the new height already.
    ClampLayoutToSize();
    return changed;
}

void TNumIO2::resizeEvent(QResizeEvent *event)
{
    d->ClampLayoutToSize();
    TControl::resizeEvent(event);
}

void TNumIO2::Private::ClampLayoutToSize()
{
    FButHeight = std::min(FButHeight, std::max(q->height(), kMinHeight));
}

void TNumIO2::SetButVisible(bool visible) { Change(d->FButVisible, visible); }
void TNumIO2::SetBut3D(bool but3D) { Change(d->FBut3D, but3D, d->FButVisible); }

void TNumIO2::SetButWidth(int w)
{
    if (w != d->FButWidth)
        Change(d->FButWidth, std::clamp(w, 8, 50), d->FButVisible);
}

void TNumIO2::SetButHeight(int h)
{
    if (h != d->FButHeight)
        Change(d->FButHeight, std::min(std::max(h, kMinHeight), height()), d->FButVisible);
}

void TNumIO2::SetButSpace(int space)
{
    if (space != d->FButSpace)
        Change(d->FButSpace, std::clamp(space, 0, 50), d->FButVisible);
}

void TNumIO2::SetButColor(TColor color) { Change(d->FButColor, color, d->FButVisible); }
void TNumIO2::SetGaugeVisible(bool visible) { Change(d->FGaugeVisible, visible); }

void TNumIO2::SetGaugeHeight(int h)
{
    if (h != d->FGaugeHeight)
        Change(d->FGaugeHeight, std::max(std::min(h, height() - d->FGaugeTopMargin - kMinHeight), 3),
               d->FGaugeVisible);
}

void TNumIO2::SetGaugeWidth(int w)
{
    // On a control narrower than its gauge margin the last clamp would leave no
    // width at all, and the mouse would divide by it: one pixel is the least.
    if (w != d->FGaugeWidth)
        Change(d->FGaugeWidth, std::max(std::min(std::max(w, 10), width() - d->FGaugeLeftMargin), 1),
               d->FGaugeVisible);
}

void TNumIO2::SetGaugeLeftMargin(int margin)
{
    if (margin != d->FGaugeLeftMargin)
        Change(d->FGaugeLeftMargin, std::max(std::min(margin, width() - d->FGaugeWidth), 0),
               d->FGaugeVisible);
}

void TNumIO2::SetGaugeTopMargin(int margin)
{
    if (margin != d->FGaugeTopMargin)
        Change(d->FGaugeTopMargin,
               std::max(std::min(margin, height() - d->FGaugeHeight - kMinHeight), 0), d->FGaugeVisible);
}

void TNumIO2::SetGaugeFrameStyle(TFrameStyle style)
{
    ChangeEnum(d->FGaugeFrameStyle, style, "GaugeFrameStyle", d->FGaugeVisible);
}
void TNumIO2::SetGaugeColor(TColor color) { Change(d->FGaugeColor, color, d->FGaugeVisible); }
void TNumIO2::SetGaugeColorBg(TColor color) { Change(d->FGaugeColorBg, color, d->FGaugeVisible); }

void TNumIO2::SetGaugeColorFrame(TColor color)
{
    // The styles with depth draw their outline in the frame line colours over it.
    Change(d->FGaugeColorFrame, color, d->FGaugeVisible && KnownStyle(d->FGaugeFrameStyle) == fsSimple);
}

void TNumIO2::SetColorBoxBG(TColor color) { Change(d->FColorBoxBG, color, d->ShowsRangeColours(false)); }
void TNumIO2::SetColorBoxText(TColor color) { Change(d->FColorBoxText, color, d->ShowsRangeColours(false)); }
void TNumIO2::SetColorOutBG(TColor color) { Change(d->FColorOutBG, color); }

void TNumIO2::SetColorOutText(TColor color)
{
    Change(d->FColorOutText, color, !d->FLeftText.isEmpty() || !d->FRightText.isEmpty());
}

void TNumIO2::SetColorWarnBG(TColor color) { Change(d->FColorWarnBG, color, d->ShowsRangeColours(true)); }
void TNumIO2::SetColorWarnText(TColor color) { Change(d->FColorWarnText, color, d->ShowsRangeColours(true)); }

bool TNumIO2::ShowsColorScheme() const
{
    // The box's frame draws gray or white lines in every style but none, the gauge's
    // only in the styles with depth; the spin buttons' edges have fixed colours.
    return d->FFrameStyle != fsNone || (d->FGaugeVisible && KnownStyle(d->FGaugeFrameStyle) > fsSimple);
}

void TNumIO2::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        d->ApplyAutoSize();
    TControl::changeEvent(event);
}

// ---- Painting --------------------------------------------------------------------------------
//
// Background, left text, spin buttons, right text, gauge, text box, number with caret
// and selection: each step draws over the previous ones in the off-screen buffer,
// which is then copied onto the control at once. The buffer is kept from paint to
// paint; the first step covers every pixel of it, so nothing of the last picture
// shows through.

void TNumIO2::Paint(TCanvas &canvas)
{
    TBitmap &buffer = Buffer();
    TCanvas &c = buffer.Canvas();
    const int w = width();
    const int h = height();
    const int zone = d->GaugeZone();
    const int y = (h - zone - c.TextHeight(kHeightProbe)) / 2;
    const int spinOffset = d->FButVisible ? d->FButWidth + d->FButSpace : 0;
    const bool outOfRange = OutOfRange();

    c.Pen.Color = d->FColorOutBG;
    c.Brush.SetColor(d->FColorOutBG);
    c.Rectangle(0, 0, w, h);
    if (!d->FLeftText.isEmpty()) {
        const int tw = c.TextWidth(d->FLeftText);
        const int x = d->FLeftTextAlignment == taLeftJustify    ? 7
                      : d->FLeftTextAlignment == taRightJustify ? d->FLeftSpace - tw - 5
                                                                : (d->FLeftSpace - tw) / 2;
        d->PaintSideText(c, d->FLeftText, x, y);
    }
    if (d->FButVisible)
        d->PaintSpinButtons(c);
    if (!d->FRightText.isEmpty()) {
        c.Brush.SetColor(d->FColorOutBG);
        const int tw = c.TextWidth(d->FRightText);
        const int areaLeft = d->FLeftSpace + spinOffset + d->FTextBoxWidth;
        const int x = d->FRightTextAlignment == taLeftJustify    ? areaLeft + 7
                      : d->FRightTextAlignment == taRightJustify ? w - tw - 6
                                                                 : (w - areaLeft - tw) / 2 + areaLeft + 1;
        d->PaintSideText(c, d->FRightText, x, y);
    }
    if (d->FGaugeVisible)
        d->PaintGauge(c);
    d->PaintTextBox(c, outOfRange);
    d->PaintNumber(c, buffer, outOfRange, y);
    canvas.CopyMode = cmSrcCopy;
    canvas.Draw(0, 0, buffer);
}

void TNumIO2::Private::PaintSideText(TCanvas &canvas, const QString &text, int x, int y) const
{
    if (q->isEnabled()) {
        canvas.Font.Color = ReadableTextColor(FColorOutText, FColorOutBG, canvas.Palette());
        canvas.TextOut(x, y, text);
        return;
    }
    canvas.TextOutEngraved(x, y, text);
}

void TNumIO2::Private::PaintSpinButtons(TCanvas &canvas) const
{
    const int x0 = FLeftSpace + FTextBoxWidth + FButSpace;
    const int x1 = x0 + FButWidth;
    const int b = FButHeight / 2;
    const auto line = [&canvas](int fx, int fy, int tx, int ty) {
        canvas.MoveTo(fx, fy);
        canvas.LineTo(tx, ty);
    };
    canvas.Pen.Color = clr::Gray;
    canvas.Brush.SetColor(FButColor);
    canvas.Rectangle(x0, 0, x1 + 1, 2 * b - 1);
    line(x0, b - 1, x1, b - 1);
    if (FBut3D) {
        canvas.Pen.Color = clr::White;
        line(x0 + 1, 2 * b - 3, x0 + 1, b);
        canvas.LineTo(x1, b);
        line(x0 + 1, b - 2, x0 + 1, 1);
        canvas.LineTo(x1, 1);
        canvas.Pen.Color = clr::Black;
        line(x0 + 1, 2 * b - 1, x1 + 1, 2 * b - 1);
        canvas.LineTo(x1 + 1, 1);
    }
    canvas.Pen.Color = q->isEnabled() ? clr::Black : clr::Gray;
    const int xc = x0 + FButWidth / 2;
    const int v = b / 2;
    // Three rows each, the tip one pixel narrower on each side per row.
    line(xc, v - 1, xc + 2, v - 1);
    line(xc - 1, v, xc + 3, v);
    line(xc - 2, v + 1, xc + 4, v + 1);
    line(xc - 2, b + v - 2, xc + 4, b + v - 2);
    line(xc - 1, b + v - 1, xc + 3, b + v - 1);
    line(xc, b + v, xc + 2, b + v);
}

void TNumIO2::Private::PaintTwoLines(TCanvas &canvas, TFrameStyle style, QPoint ulFrom,
                                     QPoint ulCorner, QPoint ulTo, QPoint lrFrom, QPoint lrCorner,
                                     QPoint lrTo) const
{
    // The two lines that give the styles 2..5 their depth.
    TLinePair colors{clr::Black, q->WhiteLine()};
    switch (style) {
    case fsRaised: colors = {q->WhiteLine(), clr::Black}; break;
    case fsEmbossed: colors = {q->GrayLine(), q->GrayLine()}; break;
    case fsEngraved: colors = {q->WhiteLine(), q->WhiteLine()}; break;
    default: break;
    }
    canvas.Pen.Color = colors.upperLeft;
    canvas.MoveTo(ulFrom.x(), ulFrom.y());
    canvas.LineTo(ulCorner.x(), ulCorner.y());
    canvas.LineTo(ulTo.x(), ulTo.y());
    canvas.Pen.Color = colors.lowerRight;
    canvas.MoveTo(lrFrom.x(), lrFrom.y());
    canvas.LineTo(lrCorner.x(), lrCorner.y());
    canvas.LineTo(lrTo.x(), lrTo.y());
}

void TNumIO2::Private::PaintGauge(TCanvas &canvas) const
{
    const int h = q->height();
    const int left = FGaugeLeftMargin;
    const int top = h - FGaugeHeight - 1;
    const int right = left + FGaugeWidth;
    const int bottom = h - 1;
    const TFrameStyle style = KnownStyle(FGaugeFrameStyle);

    canvas.Pen.Color = style != fsNone ? FGaugeColorFrame : FGaugeColorBg;
    canvas.Brush.SetColor(FGaugeColorBg);
    canvas.Rectangle(left, top, right, bottom);

    const double low = FEdit.GetRangeLow();
    const double high = FEdit.GetRangeHigh();
    double fraction = high == low ? 1.0 : (FEdit.GetValue() - low) / (high - low);
    fraction = std::isnan(fraction) ? 0.0 : std::clamp(fraction, 0.0, 1.0);
    const int filled = int(RoundHalfEven(FGaugeWidth * fraction));
    const TColor barColor = q->isEnabled() ? FGaugeColor : clr::Gray;
    canvas.Pen.Color = barColor;
    canvas.Brush.SetColor(barColor);
    if (filled > 0)
        canvas.Rectangle(left, top, left + filled, bottom);

    if (style == fsNone)
        return;
    canvas.Pen.Color = style == fsSimple     ? FGaugeColorFrame
                       : style == fsEmbossed ? q->WhiteLine()
                                             : q->GrayLine();
    canvas.Brush.SetStyle(bsClear);
    canvas.Rectangle(left, top, right, bottom);
    if (style != fsSimple)
        PaintTwoLines(canvas, style, {left + 1, h - 3}, {left + 1, h - FGaugeHeight},
                      {right - 1, h - FGaugeHeight}, {left + 1, h - 1}, {right, h - 1},
                      {right, h - FGaugeHeight - 1});
}

void TNumIO2::Private::PaintTextBox(TCanvas &canvas, bool outOfRange) const
{
    const int h = q->height() - GaugeZone();
    const int ls = FLeftSpace;
    const int tb = FTextBoxWidth;
    const TFrameStyle style = KnownStyle(FFrameStyle);
    const bool enabled = q->isEnabled();

    canvas.Pen.Color = style == fsEmbossed ? q->WhiteLine()
                       : style != fsNone   ? q->GrayLine()
                       : enabled           ? FColorBoxBG
                                           : clr::Silver;
    if (!enabled) {
        canvas.Brush.SetColor(clr::Silver);
    } else if (outOfRange) {
        canvas.Brush.SetColor(FColorWarnBG);
        if (style == fsNone)
            canvas.Pen.Color = FColorWarnBG;
    } else {
        canvas.Brush.SetColor(FColorBoxBG);
    }
    if (style == fsNone || style == fsSimple) {
        canvas.Rectangle(ls, 0, ls + tb + 2, h);
        return;
    }
    canvas.Rectangle(ls, 0, ls + tb + 2, h - 1);
    const int s = h - 4;
    const TColor brush = canvas.Brush.GetColor();
    PaintTwoLines(canvas, style, {ls + 1, s + 1}, {ls + 1, 1}, {ls + tb + 1, 1}, {ls + 1, s + 3},
                  {ls + tb + 2, s + 3}, {ls + tb + 2, 0});
    canvas.Brush.SetColor(brush); // the number's clip rectangle is filled with it
}

void TNumIO2::Private::PaintNumber(TCanvas &canvas, TBitmap &buffer, bool outOfRange, int y) const
{
    const int h = q->height() - GaugeZone();
    const int ls = FLeftSpace;
    const int tb = FTextBoxWidth;
    const QString &text = FEdit.GetText();
    const int tw = canvas.TextWidth(text);
    const int wc = canvas.TextWidth(QStringView(text).left(FEdit.GetCaretPos()).toString());
    canvas.Font.Color = !q->isEnabled() ? clr::Gray : outOfRange ? FColorWarnText : FColorBoxText;

    int x;
    int caret;
    switch (FAlignment) {
    case taLeftJustify:
        x = ls + 4;
        caret = wc + 3;
        break;
    case taRightJustify:
        x = ls + tb - tw - 2;
        caret = tb + wc - tw - 3;
        break;
    case taCenter:
    default:
        x = ls + (tb - tw) / 2 + 2;
        caret = wc + (tb - tw) / 2 + 1;
        break;
    }
    canvas.TextRect(QRect(QPoint(ls + 3, 2), QPoint(ls + tb - 2, h - 4)), x, y, text);

    if (caret > 0 && caret < tb && FCaretVisib) {
        canvas.Pen.Color = clr::Black;
        canvas.MoveTo(ls + caret, 3);
        canvas.LineTo(ls + caret, h - 3);
    }

    if (FEdit.HasSelection() && (q->hasFocus() || !FHideSelection)) {
        const int x1 = std::clamp(q->CharPosToXCoords(FEdit.GetSelBegin()), ls, ls + tb);
        const int x2 = std::clamp(q->CharPosToXCoords(FEdit.GetSelEnd()), ls, ls + tb);
        const QRect selection(QPoint(x1, 3), QPoint(x2 - 1, h - 4));
        if (!selection.isEmpty()) {
            // The selection is shown by inverting what is painted there; the copy
            // keeps the source apart from the pixels being written.
            const TBitmap snapshot(buffer);
            canvas.CopyMode = cmNotSrcCopy;
            canvas.CopyRect(selection, snapshot, selection);
            canvas.CopyMode = cmSrcCopy;
        }
    }
}

} // namespace nvo
