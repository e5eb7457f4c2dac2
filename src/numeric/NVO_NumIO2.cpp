#include "NVO_NumIO2.h"

#include "NVO_Format.h"

#include <QtGui/QClipboard>
#include <QtGui/QGuiApplication>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>

#include <algorithm>
#include <cmath>

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

// ---- TNumIO2: construction -------------------------------------------------------------

TNumIO2::TNumIO2(QWidget *parent)
    : TControl(parent), FCaretTimer(this, [this] { CaretTimerEvent(); })
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    resize(160, 28);
    // A field without a timer is still a field: it only does not blink. The failure
    // goes to the application's handler, as a failing timer does everywhere.
    Guarded([this] { UpdateTimer(); });
}

TNumIO2::~TNumIO2() = default;

// ---- Value model -------------------------------------------------------------------------

template<class Edit>
void TNumIO2::RewriteText(Edit &&edit)
{
    const QString before = FEdit.GetText();
    const bool taken = edit();
    if (FEdit.GetText() != before)
        Q_EMIT ValueChanged(FEdit.GetValue());
    if (taken)
        PaintNow();
}

double TNumIO2::GetValue() const { return FEdit.GetValue(); }

void TNumIO2::SetValue(double V)
{
    RewriteText([&] {
        FEdit.SetValue(V);
        return true;
    });
}

int TNumIO2::GetIntegerValue() const
{
    const double v = GetValue();
    if (!(v <= 2147483647.0 && v >= -2147483648.0))
        throw ENVONumIO2Error(msg::IntegerOverflow(this));
    return int(RoundHalfEven(v));
}

bool TNumIO2::OutOfRange() const { return FEdit.OutOfRange(); }

void TNumIO2::SetText(const QString &S)
{
    RewriteText([&] { return FEdit.SetText(S); });
}

bool TNumIO2::CheckValidity(const QString &S) const { return FEdit.CheckValidity(S); }

void TNumIO2::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TNumIO2::SetInputFormat(TInFormat format)
{
    RewriteText([&] { return FEdit.SetInputFormat(format); });
}

void TNumIO2::SetFixPointDecPlaces(int places)
{
    RewriteText([&] { return FEdit.SetFixPointDecPlaces(places); });
}

void TNumIO2::SetSignificantDigits(int digits)
{
    RewriteText([&] { return FEdit.SetSignificantDigits(digits); });
}

void TNumIO2::SetDecPlaceSep(TDecPSep sep)
{
    RewriteText([&] { return FEdit.SetDecPlaceSep(sep); });
}

void TNumIO2::SetRangeLow(double low)
{
    FEdit.SetRangeLow(low);
    PaintNow();
}

void TNumIO2::SetRangeHigh(double high)
{
    FEdit.SetRangeHigh(high);
    PaintNow();
}

void TNumIO2::SetButIncrem(double increment) { Change(FButIncrem, increment); }

void TNumIO2::SetReadOnly(bool readOnly)
{
    if (readOnly == FReadOnly)
        return;
    FReadOnly = readOnly;
    if (readOnly) {
        FCaretTimer.Stop();
        FCaretVisib = false;
        PaintNow();
    } else {
        UpdateTimer();
    }
}

void TNumIO2::SetHideSelection(bool hide) { Change(FHideSelection, hide); }

void TNumIO2::SetEnabled(bool enabled)
{
    if (enabled == FEnabled)
        return;
    FEnabled = enabled;
    setEnabled(enabled);
    PaintNow();
}

void TNumIO2::SetSelBegin(int N)
{
    FEdit.SetSelBegin(N);
    PaintNow();
}

void TNumIO2::SetSelEnd(int N)
{
    FEdit.SetSelEnd(N);
    PaintNow();
}

void TNumIO2::SetFocus()
{
    setFocus(Qt::OtherFocusReason);
    if (!FReadOnly)
        UpdateTimer();
}

void TNumIO2::Assign(const QObject *Source)
{
    const auto *source = qobject_cast<const TNumIO2 *>(Source);
    if (!source)
        throw EConvertError(msg::CannotAssign(Source, this));
    if (source == this)
        return;
    FLeftSpace = source->FLeftSpace;
    FTextBoxWidth = source->FTextBoxWidth;
    FLeftText = source->FLeftText;
    FRightText = source->FRightText;
    FFrameStyle = source->FFrameStyle;
    FAlignment = source->FAlignment;
    FRightTextAlignment = source->FRightTextAlignment;
    FLeftTextAlignment = source->FLeftTextAlignment;
    FColorBoxBG = source->FColorBoxBG;
    FColorBoxText = source->FColorBoxText;
    FColorOutBG = source->FColorOutBG;
    FColorOutText = source->FColorOutText;
    FBlackLineColor = source->FBlackLineColor;
    FGrayLineColor = source->FGrayLineColor;
    FWhiteLineColor = source->FWhiteLineColor;
    FColorScheme = source->FColorScheme;
    FCaretVisib = source->FCaretVisib;
    FMouseAreaCode = source->FMouseAreaCode;
    FColorWarnBG = source->FColorWarnBG;
    FColorWarnText = source->FColorWarnText;
    FHideSelection = source->FHideSelection;
    FBeep = source->FBeep;
    FAutoSize = source->FAutoSize;
    if (source->FReadOnly != FReadOnly)
        SetReadOnly(source->FReadOnly); // the blink timer follows the switch
    ApplyAutoSize();
    // Text, caret, selection, input format, decimals, separator and range.
    RewriteText([&] {
        FEdit = source->FEdit;
        return true;
    });
}

void TNumIO2::AssignTo(QObject *Dest) const
{
    auto *dest = qobject_cast<TNumIO2 *>(Dest);
    if (!dest)
        throw EConvertError(msg::CannotAssign(this, Dest));
    dest->Assign(this);
}

// ---- Keys ----------------------------------------------------------------------------------

void TNumIO2::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
        TControl::keyPressEvent(event);
        return;
    }
    Guarded([&] { HandleKey(event); });
    event->accept();
}

void TNumIO2::HandleKey(QKeyEvent *event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    if (FReadOnly && !(ctrl && event->key() == Qt::Key_C))
        return;
    const TNumEdit::TEditResult result = ctrl ? CtrlKey(event->key()) : PlainKey(event);
    if (result == TNumEdit::erRejected && FBeep)
        SoundBeep();
    FCaretVisib = true;
    if (result == TNumEdit::erChanged) {
        Q_EMIT ValueChanged(GetValue());
        Changed();
    }
    PaintNow();
}

TNumEdit::TEditResult TNumIO2::PlainKey(const QKeyEvent *event)
{
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

TNumEdit::TEditResult TNumIO2::CtrlKey(int key)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    switch (key) {
    case Qt::Key_C:
    case Qt::Key_X:
        if (!FEdit.HasSelection())
            return TNumEdit::erUnchanged;
        clipboard->setText(FEdit.SelectedText());
        return key == Qt::Key_X ? FEdit.Cut() : TNumEdit::erUnchanged;
    case Qt::Key_V: return FEdit.Paste(clipboard->text());
    case Qt::Key_Control:
    case Qt::Key_Shift: return TNumEdit::erUnchanged;
    default: return TNumEdit::erRejected;
    }
}

// ---- Caret blink ---------------------------------------------------------------------------

void TNumIO2::UpdateTimer()
{
    FCaretTimer.Stop();
    FCaretVisib = true;
    FCaretTimer.Start<ENVONumIO2Error>(kCaretBlinkMs);
    PaintNow();
}

void TNumIO2::CaretTimerEvent()
{
    if (hasFocus()) {
        FCaretVisib = !FCaretVisib;
    } else {
        FCaretTimer.Stop();
        FCaretVisib = false;
    }
    PaintNow();
}

void TNumIO2::focusInEvent(QFocusEvent *event)
{
    if (!FReadOnly)
        Guarded([this] { UpdateTimer(); });
    TControl::focusInEvent(event);
}

// ---- Mouse ---------------------------------------------------------------------------------

int TNumIO2::GaugeZone() const
{
    return FGaugeVisible ? FGaugeHeight + FGaugeTopMargin + 1 : 0;
}

int TNumIO2::CharPosToXCoords(int N) const
{
    const QFontMetrics metrics = fontMetrics();
    const QString &text = FEdit.GetText();
    const int n = std::clamp(N, 0, int(text.size()));
    return NumIO2CharPosToX(FAlignment, FLeftSpace, FTextBoxWidth, metrics.horizontalAdvance(text),
                            metrics.horizontalAdvance(QStringView(text).left(n).toString()));
}

int TNumIO2::XCoordsToCharPos(int X) const
{
    const QString &text = FEdit.GetText();
    return NumIO2XToCharPos(FAlignment, FLeftSpace, FTextBoxWidth,
                            fontMetrics().horizontalAdvance(text), int(text.size()), X);
}

std::optional<double> TNumIO2::GaugeAt(int x)
{
    // Read-only means read-only for the mouse as well: the gauge only shows the value.
    if (FReadOnly)
        return std::nullopt;
    const auto v = GaugeValueAt(x, FGaugeLeftMargin, FGaugeWidth, FEdit.GetRangeLow(),
                                FEdit.GetRangeHigh(), ButtonPivots);
    if (v) {
        SetValue(*v);
        FValueChanged = true;
    }
    return v;
}

void TNumIO2::SpinClick(bool up)
{
    // The spin buttons of a read-only field do nothing, like its keys.
    if (FReadOnly)
        return;
    SetValue(SpinValue(GetValue(), up, FButIncrem, FEdit.GetRangeLow(), FEdit.GetRangeHigh(),
                       ButtonPivots, FEdit.GetFixPointDecPlaces()));
    Changed();
}

void TNumIO2::mousePressEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    Guarded([&] {
        if (!FReadOnly) {
            FCaretVisib = true;
            UpdateTimer();
        }
        const int h = height();
        const int zone = GaugeZone();
        if (p.y() > 0 && p.y() < h - zone) {
            FEdit.PlaceCaret(XCoordsToCharPos(p.x()));
            PaintNow();
        }
        if (FGaugeVisible && p.y() > h - zone && p.x() >= FGaugeLeftMargin
            && p.x() <= FGaugeLeftMargin + FGaugeWidth)
            GaugeAt(p.x());
        const int boxRight = FLeftSpace + FTextBoxWidth;
        if (FButVisible && p.x() > boxRight + FButSpace && p.x() < boxRight + FButSpace + FButWidth
            && p.y() > 0 && p.y() < FButHeight)
            SpinClick(p.y() <= FButHeight / 2);
    });
    TControl::mousePressEvent(event);
}

void TNumIO2::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    FMouseAreaCode = p.x() > FLeftSpace + FTextBoxWidth ? 2 : p.x() > FLeftSpace ? 1 : 0;
    if (event->buttons() & Qt::LeftButton) {
        Guarded([&] {
            const int h = height();
            const int zone = GaugeZone();
            if (p.y() > 0 && p.y() < h - zone) {
                FEdit.DragSelection(XCoordsToCharPos(p.x()));
                PaintNow();
            }
            if (FGaugeVisible && p.y() > h - zone && p.x() >= FGaugeLeftMargin - 1
                && p.x() <= FGaugeLeftMargin + FGaugeWidth + 1) {
                const auto v = GaugeAt(p.x());
                if (v && OnGaugeChange)
                    OnGaugeChange(this, event->modifiers(), *v);
            }
        });
    }
    TControl::mouseMoveEvent(event);
}

void TNumIO2::mouseReleaseEvent(QMouseEvent *event)
{
    if (FValueChanged) {
        FValueChanged = false;
        Guarded([this] { Changed(); });
    }
    TControl::mouseReleaseEvent(event);
}

// ---- Layout ----------------------------------------------------------------------------------

void TNumIO2::SetLeftSpace(int space)
{
    if (space == FLeftSpace || space < 0)
        return;
    FLeftSpace = std::min(space, width());
    PaintNow();
}

void TNumIO2::SetTextBoxWidth(int boxWidth) { Change(FTextBoxWidth, boxWidth); }
void TNumIO2::SetLeftText(const QString &text) { Change(FLeftText, text); }
void TNumIO2::SetRightText(const QString &text) { Change(FRightText, text); }
void TNumIO2::SetLeftTextAlignment(TAlignment alignment) { Change(FLeftTextAlignment, alignment); }
void TNumIO2::SetRightTextAlignment(TAlignment alignment) { Change(FRightTextAlignment, alignment); }
void TNumIO2::SetAlignment(TAlignment alignment) { Change(FAlignment, alignment); }
void TNumIO2::SetFrameStyle(TFrameStyle style) { Change(FFrameStyle, style); }

void TNumIO2::SetAutoSize(bool autoSize)
{
    if (autoSize == FAutoSize)
        return;
    FAutoSize = autoSize;
    ApplyAutoSize();
    PaintNow();
}

void TNumIO2::ApplyAutoSize()
{
    // The height follows the font here, when font or switch change, and never
    // inside a paint: a paint that resized its own widget would paint again.
    if (FAutoSize)
        resize(width(), QFontMetrics(font()).height() + 6);
}

void TNumIO2::SetHeight(int h)
{
    resize(width(), std::max(h, kMinHeight));
    PaintNow();
}

void TNumIO2::resizeEvent(QResizeEvent *event)
{
    ClampLayoutToSize();
    TControl::resizeEvent(event);
}

void TNumIO2::ClampLayoutToSize()
{
    FButHeight = std::min(FButHeight, std::max(height(), kMinHeight));
}

void TNumIO2::SetButVisible(bool visible) { Change(FButVisible, visible); }
void TNumIO2::SetBut3D(bool but3D) { Change(FBut3D, but3D); }

void TNumIO2::SetButWidth(int w)
{
    if (w == FButWidth)
        return;
    FButWidth = std::min(std::max(w, 8), 50);
    PaintNow();
}

void TNumIO2::SetButHeight(int h)
{
    if (h == FButHeight)
        return;
    FButHeight = std::min(std::max(h, kMinHeight), height());
    PaintNow();
}

void TNumIO2::SetButSpace(int space)
{
    if (space == FButSpace)
        return;
    FButSpace = std::min(std::max(space, 0), 50);
    PaintNow();
}

void TNumIO2::SetButColor(TColor color) { Change(FButColor, color); }
void TNumIO2::SetGaugeVisible(bool visible) { Change(FGaugeVisible, visible); }

void TNumIO2::SetGaugeHeight(int h)
{
    if (h == FGaugeHeight)
        return;
    FGaugeHeight = std::max(std::min(h, height() - FGaugeTopMargin - kMinHeight), 3);
    PaintNow();
}

void TNumIO2::SetGaugeWidth(int w)
{
    if (w == FGaugeWidth)
        return;
    // On a control narrower than its gauge margin the last clamp would leave no
    // width at all, and the mouse would divide by it: one pixel is the least.
    FGaugeWidth = std::max(std::min(std::max(w, 10), width() - FGaugeLeftMargin), 1);
    PaintNow();
}

void TNumIO2::SetGaugeLeftMargin(int margin)
{
    if (margin == FGaugeLeftMargin)
        return;
    FGaugeLeftMargin = std::max(std::min(margin, width() - FGaugeWidth), 0);
    PaintNow();
}

void TNumIO2::SetGaugeTopMargin(int margin)
{
    if (margin == FGaugeTopMargin)
        return;
    FGaugeTopMargin = std::max(std::min(margin, height() - FGaugeHeight - kMinHeight), 0);
    PaintNow();
}

void TNumIO2::SetGaugeFrameStyle(TFrameStyle style) { Change(FGaugeFrameStyle, style); }
void TNumIO2::SetGaugeColor(TColor color) { Change(FGaugeColor, color); }
void TNumIO2::SetGaugeColorBg(TColor color) { Change(FGaugeColorBg, color); }
void TNumIO2::SetGaugeColorFrame(TColor color) { Change(FGaugeColorFrame, color); }
void TNumIO2::SetColorBoxBG(TColor color) { Change(FColorBoxBG, color); }
void TNumIO2::SetColorBoxText(TColor color) { Change(FColorBoxText, color); }
void TNumIO2::SetColorOutBG(TColor color) { Change(FColorOutBG, color); }
void TNumIO2::SetColorOutText(TColor color) { Change(FColorOutText, color); }
void TNumIO2::SetColorWarnBG(TColor color) { Change(FColorWarnBG, color); }
void TNumIO2::SetColorWarnText(TColor color) { Change(FColorWarnText, color); }

void TNumIO2::SetColorScheme(TColorScheme scheme)
{
    if (scheme == FColorScheme)
        return;
    FColorScheme = scheme;
    FGrayLineColor = GrayLineColor(scheme);
    FWhiteLineColor = WhiteLineColor(scheme);
    PaintNow();
}

void TNumIO2::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        ApplyAutoSize();
    // Enabled is the control's own switch; a direct setEnabled must not leave it stale.
    if (event->type() == QEvent::EnabledChange)
        FEnabled = !testAttribute(Qt::WA_ForceDisabled);
    TControl::changeEvent(event);
}

// ---- Painting --------------------------------------------------------------------------------

void TNumIO2::Paint(TCanvas &canvas)
{
    TBitmap &buffer = Buffer();
    TCanvas &c = buffer.Canvas();
    const int w = width();
    const int h = height();
    const int zone = GaugeZone();
    const int y = (h - zone - c.TextHeight(kHeightProbe)) / 2;
    const int spinOffset = FButVisible ? FButWidth + FButSpace : 0;
    const bool outOfRange = OutOfRange();

    c.Pen.Color = FColorOutBG;
    c.Brush.SetColor(FColorOutBG);
    c.Rectangle(0, 0, w, h);
    if (!FLeftText.isEmpty()) {
        const int tw = c.TextWidth(FLeftText);
        const int x = FLeftTextAlignment == taLeftJustify    ? 7
                      : FLeftTextAlignment == taRightJustify ? FLeftSpace - tw - 5
                                                             : (FLeftSpace - tw) / 2;
        PaintSideText(c, FLeftText, x, y);
    }
    if (FButVisible)
        PaintSpinButtons(c);
    if (!FRightText.isEmpty()) {
        c.Brush.SetColor(FColorOutBG);
        const int tw = c.TextWidth(FRightText);
        const int areaLeft = FLeftSpace + spinOffset + FTextBoxWidth;
        const int x = FRightTextAlignment == taLeftJustify    ? areaLeft + 7
                      : FRightTextAlignment == taRightJustify ? w - tw - 6
                                                              : (w - areaLeft - tw) / 2 + areaLeft + 1;
        PaintSideText(c, FRightText, x, y);
    }
    if (FGaugeVisible)
        PaintGauge(c);
    PaintTextBox(c, outOfRange);
    PaintNumber(c, buffer, outOfRange, y);
    canvas.CopyMode = cmSrcCopy;
    canvas.Draw(0, 0, buffer);
}

void TNumIO2::PaintSideText(TCanvas &canvas, const QString &text, int x, int y)
{
    if (isEnabled()) {
        canvas.Font.Color = FColorOutText;
        canvas.TextOut(x, y, text);
        return;
    }
    // Engraved: a white highlight one pixel right and down, the gray text over it.
    canvas.Brush.SetStyle(bsClear);
    canvas.Font.Color = clr::White;
    canvas.TextOut(x + 1, y + 1, text);
    canvas.Font.Color = clr::Gray;
    canvas.TextOut(x, y, text);
}

void TNumIO2::PaintSpinButtons(TCanvas &canvas)
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
    canvas.Pen.Color = isEnabled() ? clr::Black : clr::Gray;
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

void TNumIO2::PaintTwoLines(TCanvas &canvas, TFrameStyle style, QPoint ulFrom, QPoint ulCorner,
                            QPoint ulTo, QPoint lrFrom, QPoint lrCorner, QPoint lrTo)
{
    // The two lines that give the styles 2..5 their depth.
    TLinePair colors{FBlackLineColor, FWhiteLineColor};
    switch (style) {
    case fsRaised: colors = {FWhiteLineColor, FBlackLineColor}; break;
    case fsEmbossed: colors = {FGrayLineColor, FGrayLineColor}; break;
    case fsEngraved: colors = {FWhiteLineColor, FWhiteLineColor}; break;
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

namespace {
/// Frame styles beyond the named ones draw as a single line, so a frame stays visible.
TFrameStyle KnownStyle(TFrameStyle style) { return style > fsEngraved ? fsSimple : style; }
} // namespace

void TNumIO2::PaintGauge(TCanvas &canvas)
{
    const int h = height();
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
    double fraction = high == low ? 1.0 : (GetValue() - low) / (high - low);
    fraction = std::isnan(fraction) ? 0.0 : std::clamp(fraction, 0.0, 1.0);
    const int filled = int(RoundHalfEven(FGaugeWidth * fraction));
    const TColor barColor = isEnabled() ? FGaugeColor : clr::Gray;
    canvas.Pen.Color = barColor;
    canvas.Brush.SetColor(barColor);
    if (filled > 0)
        canvas.Rectangle(left, top, left + filled, bottom);

    if (style == fsNone)
        return;
    canvas.Pen.Color = style == fsSimple     ? FGaugeColorFrame
                       : style == fsEmbossed ? FWhiteLineColor
                                             : FGrayLineColor;
    canvas.Brush.SetStyle(bsClear);
    canvas.Rectangle(left, top, right, bottom);
    if (style != fsSimple)
        PaintTwoLines(canvas, style, {left + 1, h - 3}, {left + 1, h - FGaugeHeight},
                      {right - 1, h - FGaugeHeight}, {left + 1, h - 1}, {right, h - 1},
                      {right, h - FGaugeHeight - 1});
}

void TNumIO2::PaintTextBox(TCanvas &canvas, bool outOfRange)
{
    const int h = height() - GaugeZone();
    const int ls = FLeftSpace;
    const int tb = FTextBoxWidth;
    const TFrameStyle style = KnownStyle(FFrameStyle);
    const bool enabled = isEnabled();

    canvas.Pen.Color = style == fsEmbossed ? FWhiteLineColor
                       : style != fsNone   ? FGrayLineColor
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

void TNumIO2::PaintNumber(TCanvas &canvas, TBitmap &buffer, bool outOfRange, int y)
{
    const int h = height() - GaugeZone();
    const int ls = FLeftSpace;
    const int tb = FTextBoxWidth;
    const QString &text = FEdit.GetText();
    const int tw = canvas.TextWidth(text);
    const int wc = canvas.TextWidth(QStringView(text).left(FEdit.GetCaretPos()).toString());
    canvas.Font.Color = !isEnabled() ? clr::Gray : outOfRange ? FColorWarnText : FColorBoxText;

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

    if (FEdit.HasSelection() && (hasFocus() || !FHideSelection)) {
        const int x1 = std::clamp(CharPosToXCoords(FEdit.GetSelBegin()), ls, ls + tb);
        const int x2 = std::clamp(CharPosToXCoords(FEdit.GetSelEnd()), ls, ls + tb);
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
