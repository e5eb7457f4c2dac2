#pragma once

// The custom-drawn numeric field: a text box with its own buffer, caret and
// selection, side texts, spin buttons and a gauge, all painted by the control. The
// buffer and its editing are the engine's (NVO_NumEdit); this unit lays the field
// out, paints it and turns keys, mouse and the blink timer into engine calls.

#include "NVO_Control.h"
#include "NVO_Corvane.h"
#include "NVO_NumEdit.h"
#include "NVO_Timer.h"

#include <QtCore/QString>

#include <functional>
#include <optional>

namespace nvo {

NVO_DECLARE_EXCEPTION(ENVONumIO2Error, Exception);

// ---- Geometry ------------------------------------------------------------------------

/// Where the text box puts its characters. `TextWidth` is the width of the whole
/// buffer, `PrefixWidth` that of its first N characters.
NVO_EXPORT int NumIO2CharPosToX(TAlignment Alignment, int LeftSpace, int TextBoxWidth,
                                int TextWidth, int PrefixWidth);
/// The caret position nearest to x, from the average character width of the buffer
/// (`Length` characters, `TextWidth` pixels); always within 0..Length.
NVO_EXPORT int NumIO2XToCharPos(TAlignment Alignment, int LeftSpace, int TextBoxWidth,
                                int TextWidth, int Length, int X);
/// The value a gauge of `GaugeWidth` pixels at `GaugeLeft` stands for at x, snapped
/// to the nearest pivot when there are pivots and limited to Min..Max. A gauge
/// without width stands for nothing.
NVO_EXPORT std::optional<double> GaugeValueAt(int X, int GaugeLeft, int GaugeWidth, double Min,
                                              double Max, const TDoubleArray &Pivots);

/// A numeric input field that draws everything itself:
///
///     | left text | text box  | spin | right text |
///     0           LeftSpace   +TextBoxWidth         Width
///     |   gauge (optional, below, from GaugeLeftMargin)  |
///
/// The buffer is the model: `Value` is read from it in the input format, and writing
/// `Value` rewrites it. Typing, deleting and pasting edit the buffer directly; an
/// edit that leaves something other than a (partly typed) number of the format is
/// undone at once. Accepted edits fire `OnChange` and `ValueChanged`. The spin
/// buttons step the value by `ButIncrem` or between `ButtonPivots`, the gauge sets
/// it from the mouse position. A value outside RangeLow..RangeHigh is shown in the
/// warning colours but kept: the range only limits spin buttons and gauge.
///
/// The caret blinks every 500 ms while the field has the focus. Colours come from
/// the colour properties; ColorScheme switches the frame lines between fixed and
/// system colours. A paint composes the whole picture in one off-screen bitmap.
class NVO_EXPORT TNumIO2 : public TControl
{
    Q_OBJECT
    // Value model and editing
    Q_PROPERTY(QString Text READ GetText WRITE SetText)
    Q_PROPERTY(double Value READ GetValue WRITE SetValue NOTIFY ValueChanged STORED false)
    Q_PROPERTY(nvo::TNumFormat::TInFormat InputFormat READ GetInputFormat WRITE SetInputFormat)
    Q_PROPERTY(int FixPointDecPlaces READ GetFixPointDecPlaces WRITE SetFixPointDecPlaces)
    Q_PROPERTY(int SignificantDigits READ GetSignificantDigits WRITE SetSignificantDigits)
    Q_PROPERTY(nvo::TDecPSep DecPlaceSep READ GetDecPlaceSep WRITE SetDecPlaceSep)
    Q_PROPERTY(double RangeLow READ GetRangeLow WRITE SetRangeLow)
    Q_PROPERTY(double RangeHigh READ GetRangeHigh WRITE SetRangeHigh)
    Q_PROPERTY(double ButIncrem READ GetButIncrem WRITE SetButIncrem)
    Q_PROPERTY(bool Beep READ GetBeep WRITE SetBeep)
    Q_PROPERTY(bool ReadOnly READ GetReadOnly WRITE SetReadOnly)
    Q_PROPERTY(bool HideSelection READ GetHideSelection WRITE SetHideSelection)
    Q_PROPERTY(bool Enabled READ GetEnabled WRITE SetEnabled)
    // Layout and colours
    Q_PROPERTY(int LeftSpace READ GetLeftSpace WRITE SetLeftSpace)
    Q_PROPERTY(int TextBoxWidth READ GetTextBoxWidth WRITE SetTextBoxWidth)
    Q_PROPERTY(QString LeftText READ GetLeftText WRITE SetLeftText)
    Q_PROPERTY(QString RightText READ GetRightText WRITE SetRightText)
    Q_PROPERTY(nvo::TAlignment LeftTextAlignment READ GetLeftTextAlignment WRITE SetLeftTextAlignment)
    Q_PROPERTY(nvo::TAlignment RightTextAlignment READ GetRightTextAlignment WRITE SetRightTextAlignment)
    Q_PROPERTY(nvo::TAlignment Alignment READ GetAlignment WRITE SetAlignment)
    Q_PROPERTY(nvo::TFrameStyle FrameStyle READ GetFrameStyle WRITE SetFrameStyle)
    Q_PROPERTY(bool AutoSize READ GetAutoSize WRITE SetAutoSize)
    Q_PROPERTY(int Height READ GetHeight WRITE SetHeight)
    Q_PROPERTY(bool ButVisible READ GetButVisible WRITE SetButVisible)
    Q_PROPERTY(bool But3D READ GetBut3D WRITE SetBut3D)
    Q_PROPERTY(int ButWidth READ GetButWidth WRITE SetButWidth)
    Q_PROPERTY(int ButHeight READ GetButHeight WRITE SetButHeight)
    Q_PROPERTY(int ButSpace READ GetButSpace WRITE SetButSpace)
    Q_PROPERTY(nvo::TColor ButColor READ GetButColor WRITE SetButColor)
    Q_PROPERTY(bool GaugeVisible READ GetGaugeVisible WRITE SetGaugeVisible)
    Q_PROPERTY(int GaugeHeight READ GetGaugeHeight WRITE SetGaugeHeight)
    Q_PROPERTY(int GaugeWidth READ GetGaugeWidth WRITE SetGaugeWidth)
    Q_PROPERTY(int GaugeLeftMargin READ GetGaugeLeftMargin WRITE SetGaugeLeftMargin)
    Q_PROPERTY(int GaugeTopMargin READ GetGaugeTopMargin WRITE SetGaugeTopMargin)
    Q_PROPERTY(nvo::TFrameStyle GaugeFrameStyle READ GetGaugeFrameStyle WRITE SetGaugeFrameStyle)
    Q_PROPERTY(nvo::TColor GaugeColor READ GetGaugeColor WRITE SetGaugeColor)
    Q_PROPERTY(nvo::TColor GaugeColorBg READ GetGaugeColorBg WRITE SetGaugeColorBg)
    Q_PROPERTY(nvo::TColor GaugeColorFrame READ GetGaugeColorFrame WRITE SetGaugeColorFrame)
    Q_PROPERTY(nvo::TColor ColorBoxBG READ GetColorBoxBG WRITE SetColorBoxBG)
    Q_PROPERTY(nvo::TColor ColorBoxText READ GetColorBoxText WRITE SetColorBoxText)
    Q_PROPERTY(nvo::TColor ColorOutBG READ GetColorOutBG WRITE SetColorOutBG)
    Q_PROPERTY(nvo::TColor ColorOutText READ GetColorOutText WRITE SetColorOutText)
    Q_PROPERTY(nvo::TColor ColorWarnBG READ GetColorWarnBG WRITE SetColorWarnBG)
    Q_PROPERTY(nvo::TColor ColorWarnText READ GetColorWarnText WRITE SetColorWarnText)
    Q_PROPERTY(nvo::TColorScheme ColorScheme READ GetColorScheme WRITE SetColorScheme)
    Q_PROPERTY(int MouseAreaCode READ GetMouseAreaCode DESIGNABLE false STORED false)

public:
    /// The input formats, also as TNumIO2::itExp and so on.
    using TInFormat = nvo::TInFormat;
    using enum nvo::TInFormat;
    using TOnGaugeChangeEvent =
        std::function<void(QObject *Sender, Qt::KeyboardModifiers Shift, double GaugeValue)>;

    explicit TNumIO2(QWidget *parent = nullptr);
    ~TNumIO2() override;

    // ---- Value model ----
    QString GetText() const { return FEdit.GetText(); }
    /// Takes `S` when it is empty or valid in the input format (caret and selection
    /// to 0); ignores it otherwise. No OnChange.
    void SetText(const QString &S);
    /// The number the buffer shows in the input format.
    double GetValue() const;
    /// Writes `V` in the input format's notation. No OnChange.
    void SetValue(double V);
    /// The value rounded to an integer (halves to even); raises ENVONumIO2Error
    /// "integer overflow" when it does not fit 32 bits.
    int GetIntegerValue() const;
    TInFormat GetInputFormat() const { return FEdit.GetInputFormat(); }
    void SetInputFormat(TInFormat format);
    int GetFixPointDecPlaces() const { return FEdit.GetFixPointDecPlaces(); }
    void SetFixPointDecPlaces(int places);
    int GetSignificantDigits() const { return FEdit.GetSignificantDigits(); }
    void SetSignificantDigits(int digits);
    TDecPSep GetDecPlaceSep() const { return FEdit.GetDecPlaceSep(); }
    void SetDecPlaceSep(TDecPSep sep);
    double GetRangeLow() const { return FEdit.GetRangeLow(); }
    void SetRangeLow(double low);
    double GetRangeHigh() const { return FEdit.GetRangeHigh(); }
    void SetRangeHigh(double high);
    double GetButIncrem() const { return FButIncrem; }
    void SetButIncrem(double increment);
    bool GetBeep() const { return FBeep; }
    void SetBeep(bool beep) { FBeep = beep; }
    bool GetReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool readOnly);
    bool GetHideSelection() const { return FHideSelection; }
    void SetHideSelection(bool hide);
    bool GetEnabled() const { return FEnabled; }
    void SetEnabled(bool enabled);

    int GetCaretPos() const { return FEdit.GetCaretPos(); }
    int GetSelBegin() const { return FEdit.GetSelBegin(); }
    /// Moves the selection's start (and the caret) to N, limited to the buffer.
    void SetSelBegin(int N);
    int GetSelEnd() const { return FEdit.GetSelEnd(); }
    /// Moves the selection's end (and the caret) to N, limited to the buffer.
    void SetSelEnd(int N);
    int GetMouseAreaCode() const { return FMouseAreaCode; }
    bool GetCaretVisible() const { return FCaretVisib; }

    /// Whether `S` is a complete or partly typed number of the input format.
    bool CheckValidity(const QString &S) const;
    /// The value lies outside RangeLow..RangeHigh.
    bool OutOfRange() const;
    /// Fires OnChange.
    void Changed();
    /// Takes the focus and restarts the caret blink.
    void SetFocus();

    /// Copies the field's values (not the spin button and gauge settings, Enabled,
    /// ButtonPivots or the events) from another TNumIO2; raises EConvertError for any
    /// other source.
    void Assign(const QObject *Source);
    void AssignTo(QObject *Dest) const;

    /// The blink timer (tests drive it with Tick()).
    THiddenTimer &CaretTimer() { return FCaretTimer; }

    // ---- Layout ----
    int GetLeftSpace() const { return FLeftSpace; }
    void SetLeftSpace(int space);
    int GetTextBoxWidth() const { return FTextBoxWidth; }
    void SetTextBoxWidth(int boxWidth);
    QString GetLeftText() const { return FLeftText; }
    void SetLeftText(const QString &text);
    QString GetRightText() const { return FRightText; }
    void SetRightText(const QString &text);
    TAlignment GetLeftTextAlignment() const { return FLeftTextAlignment; }
    void SetLeftTextAlignment(TAlignment alignment);
    TAlignment GetRightTextAlignment() const { return FRightTextAlignment; }
    void SetRightTextAlignment(TAlignment alignment);
    TAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TAlignment alignment);
    TFrameStyle GetFrameStyle() const { return FFrameStyle; }
    void SetFrameStyle(TFrameStyle style);
    bool GetAutoSize() const { return FAutoSize; }
    void SetAutoSize(bool autoSize);
    int GetHeight() const { return height(); }
    void SetHeight(int h);
    bool GetButVisible() const { return FButVisible; }
    void SetButVisible(bool visible);
    bool GetBut3D() const { return FBut3D; }
    void SetBut3D(bool but3D);
    int GetButWidth() const { return FButWidth; }
    void SetButWidth(int w);
    int GetButHeight() const { return FButHeight; }
    void SetButHeight(int h);
    int GetButSpace() const { return FButSpace; }
    void SetButSpace(int space);
    TColor GetButColor() const { return FButColor; }
    void SetButColor(TColor color);
    bool GetGaugeVisible() const { return FGaugeVisible; }
    void SetGaugeVisible(bool visible);
    int GetGaugeHeight() const { return FGaugeHeight; }
    void SetGaugeHeight(int h);
    int GetGaugeWidth() const { return FGaugeWidth; }
    void SetGaugeWidth(int w);
    int GetGaugeLeftMargin() const { return FGaugeLeftMargin; }
    void SetGaugeLeftMargin(int margin);
    int GetGaugeTopMargin() const { return FGaugeTopMargin; }
    void SetGaugeTopMargin(int margin);
    TFrameStyle GetGaugeFrameStyle() const { return FGaugeFrameStyle; }
    void SetGaugeFrameStyle(TFrameStyle style);
    TColor GetGaugeColor() const { return FGaugeColor; }
    void SetGaugeColor(TColor color);
    TColor GetGaugeColorBg() const { return FGaugeColorBg; }
    void SetGaugeColorBg(TColor color);
    TColor GetGaugeColorFrame() const { return FGaugeColorFrame; }
    void SetGaugeColorFrame(TColor color);
    TColor GetColorBoxBG() const { return FColorBoxBG; }
    void SetColorBoxBG(TColor color);
    TColor GetColorBoxText() const { return FColorBoxText; }
    void SetColorBoxText(TColor color);
    TColor GetColorOutBG() const { return FColorOutBG; }
    void SetColorOutBG(TColor color);
    TColor GetColorOutText() const { return FColorOutText; }
    void SetColorOutText(TColor color);
    TColor GetColorWarnBG() const { return FColorWarnBG; }
    void SetColorWarnBG(TColor color);
    TColor GetColorWarnText() const { return FColorWarnText; }
    void SetColorWarnText(TColor color);
    TColorScheme GetColorScheme() const { return FColorScheme; }
    void SetColorScheme(TColorScheme scheme);

    /// x of the gap before character N of the buffer, in the control's font.
    int CharPosToXCoords(int N) const;
    /// The caret position nearest to x.
    int XCoordsToCharPos(int X) const;

    /// When not empty, the spin buttons and the gauge move between these values.
    TDoubleArray ButtonPivots;

    /// Raised after every edit of the buffer by the user (keys, spin, gauge release).
    std::function<void(QObject *Sender)> OnChange;
    /// Raised while the gauge is dragged, with the value under the mouse.
    TOnGaugeChangeEvent OnGaugeChange;

Q_SIGNALS:
    void ValueChanged(double value);

protected:
    void Paint(TCanvas &canvas) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Editing
    template<class Edit>
    void RewriteText(Edit &&edit);
    void HandleKey(QKeyEvent *event);
    TNumEdit::TEditResult PlainKey(const QKeyEvent *event);
    TNumEdit::TEditResult CtrlKey(int key);
    // Caret blink
    void UpdateTimer();
    void CaretTimerEvent();
    // Mouse
    int GaugeZone() const;
    std::optional<double> GaugeAt(int x);
    void SpinClick(bool up);
    void ApplyAutoSize();
    void ClampLayoutToSize();
    // Painting, one step each
    void PaintSideText(TCanvas &canvas, const QString &text, int x, int y);
    void PaintSpinButtons(TCanvas &canvas);
    void PaintGauge(TCanvas &canvas);
    void PaintTextBox(TCanvas &canvas, bool outOfRange);
    void PaintNumber(TCanvas &canvas, TBitmap &buffer, bool outOfRange, int y);
    void PaintTwoLines(TCanvas &canvas, TFrameStyle style, QPoint ulFrom, QPoint ulCorner,
                       QPoint ulTo, QPoint lrFrom, QPoint lrCorner, QPoint lrTo);

    /// The buffer with caret and selection, the input format and the range.
    TNumEdit FEdit;
    bool FCaretVisib = true;
    bool FValueChanged = false;
    double FButIncrem = 1.0;
    bool FBeep = false;
    bool FReadOnly = false;
    bool FHideSelection = true;
    bool FEnabled = true;
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
    TColorScheme FColorScheme = csClassic;
    TColor FBlackLineColor = clr::Black;
    TColor FGrayLineColor = clr::Gray;
    TColor FWhiteLineColor = clr::White;

    THiddenTimer FCaretTimer;
};

} // namespace nvo
