#pragma once

#include "NVO_Control.h"
#include "NVO_Corvane.h"
#include "NVO_MeterScale.h"

#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtGui/QFont>

#include <functional>
#include <memory>

namespace nvo {

/// The meter's own error: an image file that exists but cannot be read.
NVO_DECLARE_EXCEPTION(ENVOMeterError, Exception);

/// How one needle of a TMeter looks: an arrow polygon from the pivot to the tip
/// with a head of two barbs, an optional shadow, and whether the needle counts
/// for the limit watch. Every change fires `OnChange`; the meter that owns the
/// layout sets `OnChange` to repaint itself.
class NVO_EXPORT TNeedleLayout : public QObject
{
    Q_OBJECT
    /// Fill of the needle.
    Q_PROPERTY(nvo::TColor ColorBody READ GetColorBody WRITE SetColorBody)
    /// Outline of the needle.
    Q_PROPERTY(nvo::TColor ColorOutline READ GetColorOutline WRITE SetColorOutline)
    /// Length of the arrow head's two barbs in pixels.
    Q_PROPERTY(int HeadSize READ GetHeadSize WRITE SetHeadSize)
    /// Width of the needle's shaft in pixels.
    Q_PROPERTY(int Thickness READ GetThickness WRITE SetThickness)
    /// Needle length in percent of the scale radius, 0..100.
    Q_PROPERTY(int PercentNeedleLength READ GetPercentNeedleLength WRITE SetPercentNeedleLength)
    /// Full opening angle of the arrow head in degrees, 0..180.
    Q_PROPERTY(int HeadAngle READ GetHeadAngle WRITE SetHeadAngle)
    /// Distance from the tip back to where the shaft meets the head, in pixels.
    Q_PROPERTY(int HeadMidLeng READ GetHeadMidLeng WRITE SetHeadMidLeng)
    /// Horizontal offset of the needle's shadow.
    Q_PROPERTY(int ShadowDx READ GetShadowDx WRITE SetShadowDx)
    /// Vertical offset of the needle's shadow.
    Q_PROPERTY(int ShadowDy READ GetShadowDy WRITE SetShadowDy)
    /// Colour of the needle's shadow.
    Q_PROPERTY(nvo::TColor ShadowColor READ GetShadowColor WRITE SetShadowColor)
    /// The needle is drawn.
    Q_PROPERTY(bool Visible READ GetVisible WRITE SetVisible)

public:
    /// Every field starts at zero (false, unassigned): the owner fills in its defaults.
    explicit TNeedleLayout(QObject *parent = nullptr);
    ~TNeedleLayout() override;

    TColor GetColorBody() const;
    void SetColorBody(TColor color);
    TColor GetColorOutline() const;
    void SetColorOutline(TColor color);
    /// Length in pixels of the two barbs of the arrow head.
    int GetHeadSize() const;
    void SetHeadSize(int size);
    /// Width in pixels of the shaft; 0 gives a shaft of one line.
    int GetThickness() const;
    void SetThickness(int thickness);
    /// Needle length in percent of (radius - 4), 0..100.
    int GetPercentNeedleLength() const;
    void SetPercentNeedleLength(int percent);
    /// Full opening angle of the arrow head in degrees, 0..180.
    int GetHeadAngle() const;
    void SetHeadAngle(int angle);
    /// Distance from the tip back along the shaft to where the shaft meets the head.
    int GetHeadMidLeng() const;
    void SetHeadMidLeng(int length);
    /// The shadow lies at (-ShadowDx, -ShadowDy) from the needle; none at (0, 0).
    int GetShadowDx() const;
    void SetShadowDx(int dx);
    int GetShadowDy() const;
    void SetShadowDy(int dy);
    TColor GetShadowColor() const;
    void SetShadowColor(TColor color);
    bool GetVisible() const;
    void SetVisible(bool visible);

    /// Copies the appearance values and `Visible` of `source`, keeping this layout's
    /// own `OnChange`, which fires once if anything changed.
    void AssignAppearance(const TNeedleLayout &source);

    TNotifyEvent OnChange;

private:
    void Changed();

    struct Private;
    std::unique_ptr<Private> const d;
};

/// An analog panel meter: a circular scale of a chosen sweep with ticks and
/// labels (linear or logarithmic), a coloured ring marking the low, normal and
/// high ranges, a unit caption, a pointer needle (and an optional second one), a
/// cover with an anchor over the pivot, two limit-watch lamps and a frame.
///
///        low lamp                      high lamp
///          [ ]    0.2   0.4   0.6   0.8   [ ]
///           0.0 \                     / 1.0      S = sweep, R = radius,
///                 \        Volt      /           (cx, cy) = the needle's pivot
///                        \  |  /
///        -----------------(cx,cy)----------------  bottom rim
///
/// Value model: `MeterMinValue` < `MeterMaxValue`; `Value`, `ValueSec` and both
/// thresholds lie between them, `ThresholdLow` <= `ThresholdHigh`; a logarithmic
/// scale has both ends at or above 1e-100. Every setter keeps these, so no sequence
/// of calls can break them; a NaN or infinite number given to any setter is ignored.
///
/// Forms: a form (loaded by TFormLoader, or compiled by uic, which sets the
/// properties one by one in the order the form lists them and calls nothing
/// afterwards) gives the same meter whatever that order. The meter remembers what
/// was set: the values and thresholds show held to the range, and a logarithmic
/// scale shows where the range allows one. A value set before its range (or a
/// range narrowed and widened again) therefore shows as set once the range takes
/// it in. The rims enter the geometry at the next resize, which a meter of a form
/// gets when it is first shown.
///
/// Limit watch: setting `Value` (or `ValueSec`) to a number other than the one
/// shown makes that needle the watched one. When its layout is `Visible`, the high
/// lamp lights and `OnOverFlow` fires when its value reaches `ThresholdHigh`,
/// `OnNormalRange` fires between the thresholds, and the low lamp lights and
/// `OnUnderFlow` fires at or below `ThresholdLow`; when it is not, both lamps go
/// out. The threshold setters fire `OnUnderFlow` (low) or `OnOverFlow` (high) when
/// `Value` is at or beyond the new threshold. Once a value or a threshold has been
/// set, every setter of the range and of the thresholds watches the same needle
/// again (the range setters without events), so the lamps agree with the scale
/// whatever the order of the setters; only a form that sets both `Value` and
/// `ValueSec` leaves the lamps to the one it lists last. Events fire inside the
/// setter, before the repaint.
///
/// Painting composes the whole meter in the control's off-screen buffer and copies it
/// in one operation; the stretched background picture is cached per size. The dial
/// (background, ring, scale, labels, caption) is kept in a second bitmap of the
/// control's size (about 4 bytes per pixel) until any setting but the values changes:
/// a value change draws needles, cover, anchor, lamps and frame over it. Scale
/// labels use "." whatever the locale. The label and caption text colour is the
/// palette's window text. A setter of a part that is hidden (the ring's colours
/// without the ring, the scale's settings without the scale, ...) stores its value
/// without repainting.
class NVO_EXPORT TMeter : public TControl
{
    Q_OBJECT
    /// The value at the scale's start.
    Q_PROPERTY(double MeterMinValue READ GetMeterMinValue WRITE SetMeterMinValue)
    /// The value at the scale's end.
    Q_PROPERTY(double MeterMaxValue READ GetMeterMaxValue WRITE SetMeterMaxValue)
    /// A logarithmic scale (the range must be positive).
    Q_PROPERTY(bool Logarithmic READ GetLogarithmic WRITE SetLogarithmic)
    /// Below it the value is under its range: the low lamp lights and the ring's low
    /// segment ends here.
    Q_PROPERTY(double ThresholdLow READ GetThresholdLow WRITE SetThresholdLow)
    /// Above it the value is over its range: the high lamp lights and the ring's high
    /// segment starts here.
    Q_PROPERTY(double ThresholdHigh READ GetThresholdHigh WRITE SetThresholdHigh)
    /// The value of the first needle.
    Q_PROPERTY(double Value READ GetValue WRITE SetValue NOTIFY ValueChanged USER true)
    /// The value of the second needle.
    Q_PROPERTY(double ValueSec READ GetValueSec WRITE SetValueSec)
    /// The shape of the dial: the angle the scale spans and where the needles' anchor sits.
    Q_PROPERTY(TMeterLayout MeterLayout READ GetMeterLayout WRITE SetMeterLayout)
    /// Decimals of the scale labels, 0..4.
    Q_PROPERTY(int MeterDecPlaces READ GetMeterDecPlaces WRITE SetMeterDecPlaces)
    /// Number of labelled major ticks, 2..21.
    Q_PROPERTY(int MeterNrTicks READ GetMeterNrTicks WRITE SetMeterNrTicks)
    /// Minor ticks between the major ones.
    Q_PROPERTY(bool MeterShortTicks READ GetMeterShortTicks WRITE SetMeterShortTicks)
    /// The scale's arc is drawn.
    Q_PROPERTY(bool MeterScaleLine READ GetMeterScaleLine WRITE SetMeterScaleLine)
    /// The scale (ticks, labels and arc) is drawn.
    Q_PROPERTY(bool ScaleVisible READ GetScaleVisible WRITE SetScaleVisible)
    /// The coloured ring under the scale is drawn.
    Q_PROPERTY(bool ScaleBkVisible READ GetScaleBkVisible WRITE SetScaleBkVisible)
    /// Width of the ring in percent of the scale radius, 0..100.
    Q_PROPERTY(double ScaleBkWidth READ GetScaleBkWidth WRITE SetScaleBkWidth)
    /// The unit caption on the dial.
    Q_PROPERTY(QString Caption READ GetCaption WRITE SetCaption)
    /// Font of the caption.
    Q_PROPERTY(QFont FontCaption READ GetFontCaption WRITE SetFontCaption)
    /// Radius of the needles' anchor in pixels.
    Q_PROPERTY(int AnchorSize READ GetAnchorSize WRITE SetAnchorSize)
    /// The anchor is drawn over the needles.
    Q_PROPERTY(bool AnchorCovered READ GetAnchorCovered WRITE SetAnchorCovered)
    /// File name of a picture drawn as the anchor.
    Q_PROPERTY(QString AnchorImage READ GetAnchorImage WRITE SetAnchorImage)
    /// File name of the dial's background picture.
    Q_PROPERTY(QString BackGroundImg READ GetBackGroundImg WRITE SetBackGroundImg)
    /// How the background picture fills the dial.
    Q_PROPERTY(nvo::TBkgFill BkgndFillMode READ GetBkgndFillMode WRITE SetBkgndFillMode)
    /// The dial's ground.
    Q_PROPERTY(nvo::TColor ColorBakG READ GetColorBakG WRITE SetColorBakG)
    /// The cover around the dial and the anchor.
    Q_PROPERTY(nvo::TColor ColorCover READ GetColorCover WRITE SetColorCover)
    /// Ticks, scale arc and labels.
    Q_PROPERTY(nvo::TColor ColorScale READ GetColorScale WRITE SetColorScale)
    /// The frame's two line colours.
    Q_PROPERTY(nvo::TColorScheme ColorScheme READ GetColorScheme WRITE SetColorScheme)
    /// The ring's segment below ThresholdLow.
    Q_PROPERTY(nvo::TColor ColorSclBkLow READ GetColorSclBkLow WRITE SetColorSclBkLow)
    /// The ring's segment between the thresholds.
    Q_PROPERTY(nvo::TColor ColorSclBkNorm READ GetColorSclBkNorm WRITE SetColorSclBkNorm)
    /// The ring's segment above ThresholdHigh.
    Q_PROPERTY(nvo::TColor ColorSclBkHigh READ GetColorSclBkHigh WRITE SetColorSclBkHigh)
    /// The frame around the meter.
    Q_PROPERTY(nvo::TFrameStyle FrameStyle READ GetFrameStyle WRITE SetFrameStyle)
    /// The high-limit lamp is shown.
    Q_PROPERTY(bool LimWatchHighOn READ GetLimWatchHighOn WRITE SetLimWatchHighOn)
    /// The low-limit lamp is shown.
    Q_PROPERTY(bool LimWatchLowOn READ GetLimWatchLowOn WRITE SetLimWatchLowOn)
    /// A lamp whose limit is violated.
    Q_PROPERTY(nvo::TColor LimWatchActColor READ GetLimWatchActColor WRITE SetLimWatchActColor)
    /// A lamp whose limit is not violated.
    Q_PROPERTY(nvo::TColor LimWatchPsvColor READ GetLimWatchPsvColor WRITE SetLimWatchPsvColor)
    /// Width of the cover at the bottom.
    Q_PROPERTY(int RimBottom READ GetRimBottom WRITE SetRimBottom)
    /// Width of the cover at the top.
    Q_PROPERTY(int RimTop READ GetRimTop WRITE SetRimTop)
    /// Width of the cover left and right.
    Q_PROPERTY(int RimSide READ GetRimSide WRITE SetRimSide)
    /// Shape and colours of the first needle.
    Q_PROPERTY(nvo::TNeedleLayout *NeedleLayout READ GetNeedleLayout WRITE SetNeedleLayout DESIGNABLE false)
    /// Shape and colours of the second needle (hidden by default).
    Q_PROPERTY(nvo::TNeedleLayout *NeedleLayoutSec READ GetNeedleLayoutSec WRITE SetNeedleLayoutSec DESIGNABLE false)

public:
    /// The sweep of the scale and where the pivot sits: 90, 120 and 180 degrees with
    /// the pivot just above the bottom rim; 270, 300 and 360 with the pivot inside
    /// the dial.
    enum TMeterLayout : quint8 { mlCirc90, mlCirc120, mlCirc180, mlCirc270, mlCirc300, mlCirc360 };
    Q_ENUM(TMeterLayout)

    /// Before the built-in needle is drawn; a handler that draws its own needle sets
    /// `NeedleDrawn` to true, and the cover, anchor, lamps and frame follow over it.
    using TBeforeDrawNeedleEvent = std::function<void(QObject *Sender, TCanvas &Canvas, bool &NeedleDrawn)>;
    /// Before a scale label is drawn at (ChartX, ChartY) (its top-left corner); the
    /// handler may change the text, and "" suppresses the label but not its tick.
    using TmtBeforeDrawScaleLabelEvent = std::function<void(QObject *Sender, TCanvas &Canvas,
                                                            QString &CurrentTickLabel, int ChartX, int ChartY)>;
    /// After everything but the frame is drawn.
    using TMeterRenderedEvent = std::function<void(QObject *Sender, TCanvas &Canvas)>;
    using TMouseMoveInMeterEvent = std::function<void(QObject *Sender, bool WithinRange,
                                                      Qt::KeyboardModifiers Shift, double MeterValue)>;

    explicit TMeter(QWidget *parent = nullptr);
    ~TMeter() override;

    // Value model
    double GetMeterMinValue() const;
    void SetMeterMinValue(double value);
    double GetMeterMaxValue() const;
    void SetMeterMaxValue(double value);
    bool GetLogarithmic() const;
    void SetLogarithmic(bool logarithmic);
    double GetThresholdLow() const;
    void SetThresholdLow(double value);
    double GetThresholdHigh() const;
    void SetThresholdHigh(double value);
    double GetValue() const;
    void SetValue(double value);
    double GetValueSec() const;
    void SetValueSec(double value);

    // Scale and layout
    TMeterLayout GetMeterLayout() const;
    void SetMeterLayout(TMeterLayout layout);
    /// Decimals of the scale labels, 0..4.
    int GetMeterDecPlaces() const;
    void SetMeterDecPlaces(int decPlaces);
    /// The least number of major intervals, 2..21.
    int GetMeterNrTicks() const;
    void SetMeterNrTicks(int nrTicks);
    bool GetMeterShortTicks() const;
    void SetMeterShortTicks(bool shortTicks);
    bool GetMeterScaleLine() const;
    void SetMeterScaleLine(bool scaleLine);
    bool GetScaleVisible() const;
    void SetScaleVisible(bool visible);
    bool GetScaleBkVisible() const;
    void SetScaleBkVisible(bool visible);
    /// Width of the coloured ring in percent of the radius, 0..100.
    double GetScaleBkWidth() const;
    void SetScaleBkWidth(double width);
    QString GetCaption() const;
    void SetCaption(const QString &caption);
    QFont GetFontCaption() const;
    void SetFontCaption(const QFont &font);

    // Anchor, images, colours, frame, lamps, rims
    int GetAnchorSize() const;
    void SetAnchorSize(int size);
    bool GetAnchorCovered() const;
    void SetAnchorCovered(bool covered);
    /// Image drawn opaque at its own size centred on the pivot instead of the anchor.
    /// Read as ReadPictureFile reads it: a missing file clears the name; a file that
    /// cannot be read throws ENVOMeterError naming it and keeps the previous picture.
    QString GetAnchorImage() const;
    void SetAnchorImage(const QString &fileName);
    /// Background image file, read as the anchor image is: a missing file clears the
    /// name; an unreadable one throws and leaves name and picture as they were.
    QString GetBackGroundImg() const;
    void SetBackGroundImg(const QString &fileName);
    TBkgFill GetBkgndFillMode() const;
    void SetBkgndFillMode(TBkgFill mode);
    TColor GetColorBakG() const;
    void SetColorBakG(TColor color);
    TColor GetColorCover() const;
    void SetColorCover(TColor color);
    TColor GetColorScale() const;
    void SetColorScale(TColor color);
    TColor GetColorSclBkLow() const;
    void SetColorSclBkLow(TColor color);
    TColor GetColorSclBkNorm() const;
    void SetColorSclBkNorm(TColor color);
    TColor GetColorSclBkHigh() const;
    void SetColorSclBkHigh(TColor color);
    /// Drawn by the meter itself; styles 2 to 5 take their two line colours from
    /// ColorScheme.
    TFrameStyle GetFrameStyle() const;
    void SetFrameStyle(TFrameStyle style);
    bool GetLimWatchHighOn() const;
    void SetLimWatchHighOn(bool on);
    bool GetLimWatchLowOn() const;
    void SetLimWatchLowOn(bool on);
    TColor GetLimWatchActColor() const;
    void SetLimWatchActColor(TColor color);
    TColor GetLimWatchPsvColor() const;
    void SetLimWatchPsvColor(TColor color);
    /// Cover widths. They enter the geometry at the next resize or layout change.
    int GetRimBottom() const;
    void SetRimBottom(int width);
    int GetRimTop() const;
    void SetRimTop(int width);
    int GetRimSide() const;
    void SetRimSide(int width);
    TNeedleLayout *GetNeedleLayout() const;
    /// Copies the appearance of `layout` into the meter's own first needle layout.
    void SetNeedleLayout(const TNeedleLayout *layout);
    TNeedleLayout *GetNeedleLayoutSec() const;
    void SetNeedleLayoutSec(const TNeedleLayout *layout);

    // State
    /// The high limit is violated (the high lamp is lit).
    bool Overflow() const;
    /// The low limit is violated (the low lamp is lit).
    bool Underflow() const;
    /// Sweep, pivot and radius as the current size, layout and rims give them.
    TMeterGeometry Geometry() const;
    TMeterScale Scale() const;

    // Mapping
    /// The angle of `value` in degrees, clockwise from straight down.
    double CalcNeedleAngle(double value) const;
    /// The pixel at `pctradius` percent of the radius in the direction of `value`.
    void ConvertToPixelCoords(double value, double pctradius, int &X, int &Y) const;
    /// The value under a pixel; false (and 0.0) when its direction is outside the sweep.
    bool ConvertPixelToValue(int XPos, int YPos, double &MeterValue) const;

    /// Copies every property of another TMeter except the events, including the
    /// needle layouts, the limit watch and the loaded pictures, and repaints.
    /// EConvertError for any other source, leaving this meter unchanged.
    void Assign(const QObject *source);
    void AssignTo(QObject *dest) const;

    QSize sizeHint() const override { return QSize(297, 209); }
    /// Room inside the rims for a dial whose scale labels and caption stay apart.
    QSize minimumSizeHint() const override;

    TBeforeDrawNeedleEvent OnBeforeDrawNeedle;
    TmtBeforeDrawScaleLabelEvent OnBeforeDrawScaleLabel;
    TMeterRenderedEvent OnMeterRendered;
    TMouseMoveInMeterEvent OnMouseMoveInMeter;
    TNotifyEvent OnNormalRange;
    TNotifyEvent OnOverFlow;
    TNotifyEvent OnUnderFlow;

Q_SIGNALS:
    /// The value shown changed: by SetValue, a range setter or Assign.
    void ValueChanged(double value);

protected:
    void Paint(TCanvas &canvas) override;
    bool ShowsColorScheme() const override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    struct Private;
    std::unique_ptr<Private> const d;
};

/// Sweep, pivot and radius of `layout` on a control of `width` x `height` with the
/// given cover widths. 90 and 120 degrees keep the pivot 8 pixels above the bottom
/// rim; 300 degrees centres the dial between the rims; 180, 270 and 360 degrees
/// follow the same pattern for their own extents (see the definition).
NVO_EXPORT TMeterGeometry CalcMeterGeometry(TMeter::TMeterLayout layout, int width, int height,
                                            int rimBottom, int rimTop, int rimSide);

} // namespace nvo
