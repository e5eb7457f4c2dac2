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
#include <memory>
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
/// The caret blinks every 500 ms while the field has the focus. Every key passes
/// the key events of the control base (`OnKeyDown`, `OnKeyPress`, `OnKeyUp`) before
/// the field edits with it; a handler may change or swallow it. Tab, Backtab and a
/// modifier key alone are no key press for the field. The mouse is tracked, so
/// `MouseAreaCode` and `OnMouseMove` follow the pointer with or without a button.
///
/// Colours come from the colour properties; ColorScheme switches the frames' gray
/// and white lines between fixed and system colours (their black line is always
/// black). A paint composes the whole picture in the control's off-screen buffer and
/// copies it in one operation. A setting the picture does not show at the time (the
/// spin buttons' while they are hidden, the gauge's while it is, the warning colours
/// while the value is in range, a range change that neither the gauge nor the
/// warning colours show) is stored without a repaint.
class NVO_EXPORT TNumIO2 : public TControl
{
    Q_OBJECT
    // Value model and editing
    /// The text in the box.
    Q_PROPERTY(QString Text READ GetText WRITE SetText)
    /// The value of the text in the box.
    Q_PROPERTY(double Value READ GetValue WRITE SetValue NOTIFY ValueChanged STORED false USER true)
    /// The kind of number the field accepts and how the value is written back.
    Q_PROPERTY(nvo::TNumFormat::TInFormat InputFormat READ GetInputFormat WRITE SetInputFormat)
    /// Decimals of the floating and fixed-point input formats.
    Q_PROPERTY(int FixPointDecPlaces READ GetFixPointDecPlaces WRITE SetFixPointDecPlaces)
    /// Significant digits of the exponent input format.
    Q_PROPERTY(int SignificantDigits READ GetSignificantDigits WRITE SetSignificantDigits)
    /// Which characters are accepted as the decimal separator.
    Q_PROPERTY(nvo::TDecPSep DecPlaceSep READ GetDecPlaceSep WRITE SetDecPlaceSep)
    /// The lowest value the spin buttons and the gauge reach; a typed value below it shows
    /// in the warning colours.
    Q_PROPERTY(double RangeLow READ GetRangeLow WRITE SetRangeLow)
    /// The highest value the spin buttons and the gauge reach; a typed value above it shows
    /// in the warning colours.
    Q_PROPERTY(double RangeHigh READ GetRangeHigh WRITE SetRangeHigh)
    /// The step of the spin buttons, Page Up/Down and the wheel.
    Q_PROPERTY(double ButIncrem READ GetButIncrem WRITE SetButIncrem)
    /// A rejected key sounds the system's beep.
    Q_PROPERTY(bool Beep READ GetBeep WRITE SetBeep)
    /// The text cannot be changed by typing, the spin buttons or the gauge.
    Q_PROPERTY(bool ReadOnly READ GetReadOnly WRITE SetReadOnly)
    /// The selection is not shown while the control has no focus.
    Q_PROPERTY(bool HideSelection READ GetHideSelection WRITE SetHideSelection)
    /// False greys the control and takes no mouse or keys.
    Q_PROPERTY(bool Enabled READ GetEnabled WRITE SetEnabled)
    // Layout and colours
    /// Width of the left text's area, at most the control's width.
    Q_PROPERTY(int LeftSpace READ GetLeftSpace WRITE SetLeftSpace)
    /// Width of the text box.
    Q_PROPERTY(int TextBoxWidth READ GetTextBoxWidth WRITE SetTextBoxWidth)
    /// The text left of the text box.
    Q_PROPERTY(QString LeftText READ GetLeftText WRITE SetLeftText)
    /// The text right of the text box and its spin buttons.
    Q_PROPERTY(QString RightText READ GetRightText WRITE SetRightText)
    /// Alignment of the left text in its area.
    Q_PROPERTY(nvo::TAlignment LeftTextAlignment READ GetLeftTextAlignment WRITE SetLeftTextAlignment)
    /// Alignment of the right text in its area.
    Q_PROPERTY(nvo::TAlignment RightTextAlignment READ GetRightTextAlignment WRITE SetRightTextAlignment)
    /// Alignment of the number in the text box.
    Q_PROPERTY(nvo::TAlignment Alignment READ GetAlignment WRITE SetAlignment)
    /// The frame of the text box.
    Q_PROPERTY(nvo::TFrameStyle FrameStyle READ GetFrameStyle WRITE SetFrameStyle)
    /// The control's height follows its font.
    Q_PROPERTY(bool AutoSize READ GetAutoSize WRITE SetAutoSize)
    /// The control's height, at least 18; a lower height lowers ButHeight with it.
    Q_PROPERTY(int Height READ GetHeight WRITE SetHeight)
    /// Spin buttons beside the text box.
    Q_PROPERTY(bool ButVisible READ GetButVisible WRITE SetButVisible)
    /// The spin buttons drawn with 3-D edges.
    Q_PROPERTY(bool But3D READ GetBut3D WRITE SetBut3D)
    /// Width of the spin buttons, 8..50.
    Q_PROPERTY(int ButWidth READ GetButWidth WRITE SetButWidth)
    /// Height of the spin buttons, 18..Height.
    Q_PROPERTY(int ButHeight READ GetButHeight WRITE SetButHeight)
    /// Gap between the text box and the spin buttons, 0..50.
    Q_PROPERTY(int ButSpace READ GetButSpace WRITE SetButSpace)
    /// Face colour of the spin buttons.
    Q_PROPERTY(nvo::TColor ButColor READ GetButColor WRITE SetButColor)
    /// A gauge under the text box that shows the value in its range and sets it by the
    /// mouse.
    Q_PROPERTY(bool GaugeVisible READ GetGaugeVisible WRITE SetGaugeVisible)
    /// Height of the gauge, at least 3.
    Q_PROPERTY(int GaugeHeight READ GetGaugeHeight WRITE SetGaugeHeight)
    /// Width of the gauge, at least 10.
    Q_PROPERTY(int GaugeWidth READ GetGaugeWidth WRITE SetGaugeWidth)
    /// Distance of the gauge from the control's left edge.
    Q_PROPERTY(int GaugeLeftMargin READ GetGaugeLeftMargin WRITE SetGaugeLeftMargin)
    /// Distance of the gauge from the text box.
    Q_PROPERTY(int GaugeTopMargin READ GetGaugeTopMargin WRITE SetGaugeTopMargin)
    /// The frame of the gauge.
    Q_PROPERTY(nvo::TFrameStyle GaugeFrameStyle READ GetGaugeFrameStyle WRITE SetGaugeFrameStyle)
    /// The gauge's bar.
    Q_PROPERTY(nvo::TColor GaugeColor READ GetGaugeColor WRITE SetGaugeColor)
    /// The gauge's ground.
    Q_PROPERTY(nvo::TColor GaugeColorBg READ GetGaugeColorBg WRITE SetGaugeColorBg)
    /// The line of the gauge's frame.
    Q_PROPERTY(nvo::TColor GaugeColorFrame READ GetGaugeColorFrame WRITE SetGaugeColorFrame)
    /// Background of the text box.
    Q_PROPERTY(nvo::TColor ColorBoxBG READ GetColorBoxBG WRITE SetColorBoxBG)
    /// Colour of the number.
    Q_PROPERTY(nvo::TColor ColorBoxText READ GetColorBoxText WRITE SetColorBoxText)
    /// Background outside the text box.
    Q_PROPERTY(nvo::TColor ColorOutBG READ GetColorOutBG WRITE SetColorOutBG)
    /// Colour of the left and right texts.
    Q_PROPERTY(nvo::TColor ColorOutText READ GetColorOutText WRITE SetColorOutText)
    /// Background of the text box while the value is out of range.
    Q_PROPERTY(nvo::TColor ColorWarnBG READ GetColorWarnBG WRITE SetColorWarnBG)
    /// Colour of the number while the value is out of range.
    Q_PROPERTY(nvo::TColor ColorWarnText READ GetColorWarnText WRITE SetColorWarnText)
    /// The frames' two line colours.
    Q_PROPERTY(nvo::TColorScheme ColorScheme READ GetColorScheme WRITE SetColorScheme)
    /// Which area the mouse last moved over: 0 the left text, 1 the text box, 2 right of it.
    Q_PROPERTY(int MouseAreaCode READ GetMouseAreaCode DESIGNABLE false STORED false)

public:
    /// The input formats, also as TNumIO2::itExp and so on.
    using TInFormat = nvo::TInFormat;
    using enum TNumFormat::TInFormat;
    using TOnGaugeChangeEvent =
        std::function<void(QObject *Sender, Qt::KeyboardModifiers Shift, double GaugeValue)>;

    explicit TNumIO2(QWidget *parent = nullptr);
    ~TNumIO2() override;

    // ---- Value model ----
    QString GetText() const;
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
    TInFormat GetInputFormat() const;
    void SetInputFormat(TInFormat format);
    int GetFixPointDecPlaces() const;
    void SetFixPointDecPlaces(int places);
    int GetSignificantDigits() const;
    void SetSignificantDigits(int digits);
    TDecPSep GetDecPlaceSep() const;
    void SetDecPlaceSep(TDecPSep sep);
    double GetRangeLow() const;
    void SetRangeLow(double low);
    double GetRangeHigh() const;
    void SetRangeHigh(double high);
    double GetButIncrem() const;
    void SetButIncrem(double increment);
    bool GetBeep() const;
    void SetBeep(bool beep);
    bool GetReadOnly() const;
    void SetReadOnly(bool readOnly);
    bool GetHideSelection() const;
    void SetHideSelection(bool hide);

    int GetCaretPos() const;
    int GetSelBegin() const;
    /// Moves the selection's start (and the caret) to N, limited to the buffer.
    void SetSelBegin(int N);
    int GetSelEnd() const;
    /// Moves the selection's end (and the caret) to N, limited to the buffer.
    void SetSelEnd(int N);
    /// 0 left of the text box, 1 over it, 2 right of it: where the mouse last moved.
    int GetMouseAreaCode() const;
    bool GetCaretVisible() const;

    /// Whether `S` is a complete or partly typed number of the input format.
    bool CheckValidity(const QString &S) const;
    /// The value lies outside RangeLow..RangeHigh.
    bool OutOfRange() const;
    /// Fires OnChange.
    void Changed();
    /// Takes the focus and restarts the caret blink.
    void SetFocus();

    /// Copies the field's values and its colour scheme (not the spin button and gauge
    /// settings, Enabled, ButtonPivots or the events) from another TNumIO2 and
    /// repaints; raises EConvertError for any other source.
    void Assign(const QObject *Source);
    void AssignTo(QObject *Dest) const;

    /// The blink timer (tests drive it with Tick()).
    THiddenTimer &CaretTimer();

    // ---- Layout ----
    int GetLeftSpace() const;
    /// Negative values are ignored; at most Width at the time it is set.
    void SetLeftSpace(int space);
    int GetTextBoxWidth() const;
    void SetTextBoxWidth(int boxWidth);
    QString GetLeftText() const;
    void SetLeftText(const QString &text);
    QString GetRightText() const;
    void SetRightText(const QString &text);
    TAlignment GetLeftTextAlignment() const;
    void SetLeftTextAlignment(TAlignment alignment);
    TAlignment GetRightTextAlignment() const;
    void SetRightTextAlignment(TAlignment alignment);
    TAlignment GetAlignment() const;
    void SetAlignment(TAlignment alignment);
    TFrameStyle GetFrameStyle() const;
    void SetFrameStyle(TFrameStyle style);
    bool GetAutoSize() const;
    /// Switched on, the height follows the font: its line height plus 6.
    void SetAutoSize(bool autoSize);
    int GetHeight() const;
    /// At least 18; lowers ButHeight to the new height when it is higher.
    void SetHeight(int h);
    bool GetButVisible() const;
    void SetButVisible(bool visible);
    bool GetBut3D() const;
    void SetBut3D(bool but3D);
    int GetButWidth() const;
    /// 8..50.
    void SetButWidth(int w);
    int GetButHeight() const;
    /// 18..Height at the time it is set.
    void SetButHeight(int h);
    int GetButSpace() const;
    /// 0..50.
    void SetButSpace(int space);
    TColor GetButColor() const;
    void SetButColor(TColor color);
    bool GetGaugeVisible() const;
    void SetGaugeVisible(bool visible);
    int GetGaugeHeight() const;
    /// At least 3, at most Height - GaugeTopMargin - 18 at the time it is set.
    void SetGaugeHeight(int h);
    int GetGaugeWidth() const;
    /// At least 10 (and 1 on a field too narrow for that), at most Width -
    /// GaugeLeftMargin at the time it is set.
    void SetGaugeWidth(int w);
    int GetGaugeLeftMargin() const;
    /// 0..Width - GaugeWidth at the time it is set.
    void SetGaugeLeftMargin(int margin);
    int GetGaugeTopMargin() const;
    /// 0..Height - GaugeHeight - 18 at the time it is set.
    void SetGaugeTopMargin(int margin);
    TFrameStyle GetGaugeFrameStyle() const;
    void SetGaugeFrameStyle(TFrameStyle style);
    TColor GetGaugeColor() const;
    void SetGaugeColor(TColor color);
    TColor GetGaugeColorBg() const;
    void SetGaugeColorBg(TColor color);
    /// The outline of a gauge in the single-line frame style.
    TColor GetGaugeColorFrame() const;
    void SetGaugeColorFrame(TColor color);
    TColor GetColorBoxBG() const;
    void SetColorBoxBG(TColor color);
    TColor GetColorBoxText() const;
    void SetColorBoxText(TColor color);
    TColor GetColorOutBG() const;
    void SetColorOutBG(TColor color);
    TColor GetColorOutText() const;
    void SetColorOutText(TColor color);
    /// The box and the number while the value is out of range.
    TColor GetColorWarnBG() const;
    void SetColorWarnBG(TColor color);
    TColor GetColorWarnText() const;
    void SetColorWarnText(TColor color);

    /// x of the gap before character N of the buffer, in the control's font.
    int CharPosToXCoords(int N) const;
    /// The caret position nearest to x.
    int XCoordsToCharPos(int X) const;

    /// When not empty, the spin buttons and the gauge move between these values.
    TDoubleArray ButtonPivots;

    /// Raised after every edit of the buffer by the user (keys, spin, gauge release).
    TNotifyEvent OnChange;
    /// Raised while the gauge is dragged, with the value under the mouse.
    TOnGaugeChangeEvent OnGaugeChange;

    /// A single line: a layout keeps the field at its Height (Fixed vertical policy),
    /// which AutoSize and the Height setter set; the width holds the left space, the
    /// text box, the spin buttons and the right text.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    /// The input method types into the text box: numbers only, committed text only.
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

Q_SIGNALS:
    /// The text changed: by an edit, a setter or Assign.
    void ValueChanged(double value);

protected:
    void Paint(TCanvas &canvas) override;
    bool ShowsColorScheme() const override;
    void KeyPressed(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Private;
    std::unique_ptr<Private> const d;
};

} // namespace nvo
