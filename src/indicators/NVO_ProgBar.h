#pragma once

#include "NVO_Control.h"
#include "NVO_Corvane.h"
#include "NVO_Timer.h"

#include <QtCore/QString>

#include <functional>
#include <memory>

namespace nvo {

/// The progress bar's own error: a timer that cannot be had.
NVO_DECLARE_EXCEPTION(ENVOProgBar, Exception);

inline constexpr int kBarColorCount = 1024;

/// The colour at fraction `x` (clamped to 0..1) between `c1` and `c2`: each of the
/// three bytes as trunc(b1 + (b2 - b1) x); the top byte of the result is 0.
NVO_EXPORT TColor InterpolateColor(TColor c1, TColor c2, double x);

/// The value text of a progress bar by `decPlaces` d, "." as the point whatever the
/// locale:
/// - d >= 0: fixed-point with d decimals ("-" for negatives, no padding);
/// - d = -1: scientific with four mantissa decimals and a two-digit exponent,
///   "1.2345E+04"; a value whose exponent needs three or more digits shows a row of
///   "*" as long as that text, since a cut exponent would show a wrong number;
/// - d = -2: scientific with fourteen mantissa decimals and the four-digit exponent,
///   "1.23450000000000E+0004" (the leading sign blank of positive values dropped, so
///   that the text anchors on its first digit);
/// - other values are clamped to -2..10, as the property setter clamps them.
/// Values that are not finite numbers show "NAN", "INF" and "-INF".
NVO_EXPORT QString FormatProgBarValue(double value, int decPlaces);

/// Where a bar lies along its axis. Pixel n of the bar (n = 0 at the root) is at
/// `Root + Step * n` on the axis; the bar's lines run across the plot area.
struct TBarAxis {
    bool Vertical = false;
    int Root = 0;      ///< axis pixel of the bar's first line
    int Step = 1;      ///< +1 or -1: the direction the bar grows in
    int Full = 0;      ///< the plot area's length along the axis (Hi or Wi)
    int Extent = 0;    ///< the control's length along the axis
    qint64 Length = 0; ///< the bar's length in pixels, 0 for an empty bar
    /// The bar's lines inside the control: n in [VisibleFrom, VisibleTo).
    qint64 VisibleFrom = 0, VisibleTo = 0;
    /// Grid lines lie at n = 0, GridDist, ... while n <= GridReach.
    qint64 GridReach = 0;
    int CrossFrom = 0, CrossTo = 0; ///< the lines' span across the axis, [From, To)

    int Pixel(qint64 n) const { return int(Root + Step * n); }
};

/// The bar of `direction` on a control of `width` x `height` with the given margins.
/// The length is round(Full (value - min) / (max - min)), halves to even. A range of
/// zero width, a value or range that is not a number, and a value below the range
/// give an empty bar (never a bar reaching backwards into the margin); a huge
/// length is kept (it sets the gradient's colours) but only the lines inside the
/// control count as visible, so painting never loops beyond the control's pixels.
/// Directions: 0 grows upwards from the bottom, 3 to the right from the left; 1 and
/// 2 are their mirrors (downwards from the top, to the left from the right).
NVO_EXPORT TBarAxis CalcBarAxis(TDirection direction, int width, int height, int marginLeft,
                                int marginTop, int marginRight, int marginBottom, double value,
                                double min, double max);

/// A progress bar drawn by the control: a plot area inside four margins, a bar whose
/// length shows `Value` between `Min` and `Max` (one colour, or a gradient from the
/// 1024-entry colour table under one of three mappings), optional grid lines and
/// background image, the control's own frames around the plot area and around the
/// whole control, and the value text at any angle. With `AutoInc` it advances its
/// own value on a timer: the first step after `StartInterval`, the next ones every
/// `RepeatInterval` milliseconds; nothing runs in design mode. The value keeps
/// growing past `Max`: an application stops or wraps it in `OnAutoInc`.
///
/// The bar's single colour is the colour table's first entry (`ColorMin`). The
/// value text is drawn in the control's font and the palette's window text colour.
/// (`TextPosX`, `TextPosY`) is the left end, the middle or the right end of the
/// text's vertical middle line (by `TextAlignment`), rotated with the text
/// counter-clockwise by `TextAngle` degrees. `ColorScheme` sets the frames' gray
/// and white lines; their black line is always black.
///
/// A paint composes the whole picture in the control's off-screen buffer and copies
/// it in one operation; a gradient bar is drawn as one strip of colours stretched
/// across the plot area, so its cost does not grow with the number of colours. A
/// setting the picture does not show at the time (the text's settings while it is
/// hidden, the gradient's while the bar has one colour, the grid colour without a
/// grid) is stored without a repaint.
class NVO_EXPORT TProgBar : public TControl
{
    Q_OBJECT
    /// The value steps by AutoIncStep on a timer: after StartInterval, then every
    /// RepeatInterval.
    Q_PROPERTY(bool AutoInc READ GetAutoInc WRITE SetAutoInc)
    /// The step of AutoInc; 0 is ignored.
    Q_PROPERTY(double AutoIncStep READ GetAutoIncStep WRITE SetAutoIncStep)
    /// File name of a picture drawn in the plot area behind the bar.
    Q_PROPERTY(QString BackGroundImg READ GetBackGroundImg WRITE SetBackGroundImg)
    /// The plot area's ground.
    Q_PROPERTY(nvo::TColor ColorBackGnd READ GetColorBackGnd WRITE SetColorBackGnd)
    /// How the colour gradient maps onto the bar.
    Q_PROPERTY(TColorMapping ColorMapMode READ GetColorMapMode WRITE SetColorMapMode)
    /// The grid lines.
    Q_PROPERTY(nvo::TColor ColorGrid READ GetColorGrid WRITE SetColorGrid)
    /// The margin around the plot area.
    Q_PROPERTY(nvo::TColor ColorMargin READ GetColorMargin WRITE SetColorMargin)
    /// The frames' line colours.
    Q_PROPERTY(nvo::TColorScheme ColorScheme READ GetColorScheme WRITE SetColorScheme)
    /// The bar's colour at Min, the gradient's first colour.
    Q_PROPERTY(nvo::TColor ColorMin READ GetColorMin WRITE SetColorMin)
    /// The gradient's last colour, at Max.
    Q_PROPERTY(nvo::TColor ColorMax READ GetColorMax WRITE SetColorMax)
    /// The frame around the control.
    Q_PROPERTY(nvo::TFrameStyle FrameStyleOuter READ GetFrameStyleOuter WRITE SetFrameStyleOuter)
    /// The frame around the plot area.
    Q_PROPERTY(nvo::TFrameStyle FrameStyleInner READ GetFrameStyleInner WRITE SetFrameStyleInner)
    /// Spacing of the grid lines in pixels; no grid at 1 or less.
    Q_PROPERTY(int GridDist READ GetGridDist WRITE SetGridDist)
    /// Inset of the plot area from the bottom edge.
    Q_PROPERTY(int MarginBottom READ GetMarginBottom WRITE SetMarginBottom)
    /// Inset of the plot area from the left edge.
    Q_PROPERTY(int MarginLeft READ GetMarginLeft WRITE SetMarginLeft)
    /// Inset of the plot area from the right edge.
    Q_PROPERTY(int MarginRight READ GetMarginRight WRITE SetMarginRight)
    /// Inset of the plot area from the top edge.
    Q_PROPERTY(int MarginTop READ GetMarginTop WRITE SetMarginTop)
    /// The value of a full bar.
    Q_PROPERTY(double Max READ GetMax WRITE SetMax)
    /// The value of an empty bar.
    Q_PROPERTY(double Min READ GetMin WRITE SetMin)
    /// The direction in which the bar grows.
    Q_PROPERTY(nvo::TDirection Direction READ GetDirection WRITE SetDirection)
    /// Milliseconds between AutoInc steps, at least 10.
    Q_PROPERTY(int RepeatInterval READ GetRepeatInterval WRITE SetRepeatInterval)
    /// The bar shows the gradient from ColorMin to ColorMax instead of ColorMin alone.
    Q_PROPERTY(bool ShowColorGradient READ GetShowColorGradient WRITE SetShowColorGradient)
    /// Milliseconds before the first AutoInc step, at least 10.
    Q_PROPERTY(int StartInterval READ GetStartInterval WRITE SetStartInterval)
    /// How the value text sits at its reference point.
    Q_PROPERTY(nvo::TAlignment TextAlignment READ GetTextAlignment WRITE SetTextAlignment)
    /// Angle of the value text in degrees, 0..360.
    Q_PROPERTY(int TextAngle READ GetTextAngle WRITE SetTextAngle)
    /// Decimals of the value text, -2..10.
    Q_PROPERTY(int TextDecPlaces READ GetTextDecPlaces WRITE SetTextDecPlaces)
    /// Horizontal reference point of the value text, 0..Width.
    Q_PROPERTY(int TextPosX READ GetTextPosX WRITE SetTextPosX)
    /// Vertical reference point of the value text, 0..Height.
    Q_PROPERTY(int TextPosY READ GetTextPosY WRITE SetTextPosY)
    /// The value text is drawn.
    Q_PROPERTY(bool TextVisible READ GetTextVisible WRITE SetTextVisible)
    /// The value the bar shows.
    Q_PROPERTY(double Value READ GetValue WRITE SetValue NOTIFY ValueChanged USER true)

public:
    /// How the 1024-entry colour table maps onto a gradient bar.
    enum TColorMapping : quint8 {
        cgmCover,   ///< colours fixed to positions in the plot area; the bar uncovers them
        cgmStretch, ///< the whole table stretched over the bar
        cgmMove,    ///< the table anchored at the bar's tip, which always shows the last entry
    };
    Q_ENUM(TColorMapping)

    /// Before the value text is drawn; the handler may replace the text.
    using TBeforeShowValueEvent = std::function<void(QObject *Sender, QString &ValueText)>;

    explicit TProgBar(QWidget *parent = nullptr);
    ~TProgBar() override;

    bool GetAutoInc() const;
    /// Starts the timer from its start interval, or stops it; raises ENVOProgBar
    /// "Component \"NAME\": no timer available" when no timer can be had.
    void SetAutoInc(bool autoInc);
    double GetAutoIncStep() const;
    /// 0 (and a step that is not a number, which would stop the value for good) is ignored.
    void SetAutoIncStep(double step);
    QString GetBackGroundImg() const;
    /// Loads the image file as ReadPictureFile reads it: an empty name or a missing file
    /// clears the name; a file that cannot be read throws ENVOProgBar naming it, and the
    /// previous name and picture stay.
    void SetBackGroundImg(const QString &fileName);
    TColor GetColorBackGnd() const;
    void SetColorBackGnd(TColor color);
    TColorMapping GetColorMapMode() const;
    void SetColorMapMode(TColorMapping mode);
    TColor GetColorGrid() const;
    void SetColorGrid(TColor color);
    TColor GetColorMargin() const;
    void SetColorMargin(TColor color);
    /// The colour table's first entry; setting it recomputes entries 1..1022.
    TColor GetColorMin() const;
    void SetColorMin(TColor color);
    /// The colour table's last entry; setting it recomputes entries 1..1022.
    TColor GetColorMax() const;
    void SetColorMax(TColor color);
    TFrameStyle GetFrameStyleOuter() const;
    void SetFrameStyleOuter(TFrameStyle style);
    TFrameStyle GetFrameStyleInner() const;
    void SetFrameStyleInner(TFrameStyle style);
    /// Grid spacing in pixels; grid lines are drawn only when it is above 1.
    int GetGridDist() const;
    void SetGridDist(int dist);
    int GetMarginBottom() const;
    void SetMarginBottom(int margin);
    int GetMarginLeft() const;
    void SetMarginLeft(int margin);
    int GetMarginRight() const;
    void SetMarginRight(int margin);
    int GetMarginTop() const;
    void SetMarginTop(int margin);
    double GetMax() const;
    void SetMax(double max);
    double GetMin() const;
    void SetMin(double min);
    TDirection GetDirection() const;
    void SetDirection(TDirection direction);
    /// Milliseconds between steps after the first; values below 10 count as 10.
    int GetRepeatInterval() const;
    void SetRepeatInterval(int interval);
    bool GetShowColorGradient() const;
    void SetShowColorGradient(bool show);
    /// Milliseconds before the first step; values below 10 count as 10.
    int GetStartInterval() const;
    void SetStartInterval(int interval);
    TAlignment GetTextAlignment() const;
    void SetTextAlignment(TAlignment alignment);
    /// Counter-clockwise, 0..360 degrees.
    int GetTextAngle() const;
    void SetTextAngle(int angle);
    /// -2..10; see FormatProgBarValue.
    int GetTextDecPlaces() const;
    void SetTextDecPlaces(int decPlaces);
    /// 0..Width at the time it is set.
    int GetTextPosX() const;
    void SetTextPosX(int x);
    /// 0..Height at the time it is set.
    int GetTextPosY() const;
    void SetTextPosY(int y);
    bool GetTextVisible() const;
    void SetTextVisible(bool visible);
    double GetValue() const;
    void SetValue(double value);

    /// `Min` = the smaller, `Max` = the larger of the two; repaints.
    void SetRange(double a, double b);
    /// One entry of the colour table, without repaint; indices outside 0..1023 give 0.
    TColor GetBarColorElem(int ix) const;
    /// Sets one entry without repaint; indices outside 0..1023 change nothing.
    void SetBarColorElem(int ix, TColor color);

    /// Copies the appearance, value and range of another TProgBar, its colour table,
    /// colour scheme, background picture and `OnShowValue`, but not the timer
    /// properties nor `OnAutoInc`, and repaints. EConvertError for any other source.
    void Assign(const QObject *source);
    void AssignTo(QObject *dest) const;

    /// One timer tick: the first switches to the repeat interval, every tick adds
    /// `AutoIncStep` to `Value`, repaints and fires `OnAutoInc`.
    void DoTimer();
    /// The timer: whether it runs, and its current interval in milliseconds.
    bool TimerActive() const;
    int TimerInterval() const;

    /// A single line along its direction: a layout keeps the hinted thickness (a
    /// Fixed policy across the bar), one line of the font at least, so that the value
    /// text fits.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    /// After each timer step; assigning a handler restarts the timer with the repeat
    /// interval (outside design mode).
    TTimerEvent<TNotifyEvent> OnAutoInc;
    TBeforeShowValueEvent OnShowValue;

Q_SIGNALS:
    /// The value changed: by SetValue, a timer step or Assign.
    void ValueChanged(double value);

protected:
    void Paint(TCanvas &canvas) override;
    bool ShowsColorScheme() const override;

private:
    struct Private;
    std::unique_ptr<Private> const d;
};

/// The colour table index (0..1023) of the bar's line `n` from the root under `mode`,
/// for a bar of `length` pixels in a plot area `full` pixels long.
NVO_EXPORT int GradientIndex(TProgBar::TColorMapping mode, qint64 n, qint64 length, int full);

} // namespace nvo
