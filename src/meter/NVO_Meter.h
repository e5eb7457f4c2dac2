#pragma once

#include "NVO_Control.h"
#include "NVO_Corvane.h"
#include "NVO_MeterScale.h"

#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtGui/QFont>

#include <functional>

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
    Q_PROPERTY(nvo::TColor ColorBody READ GetColorBody WRITE SetColorBody)
    Q_PROPERTY(nvo::TColor ColorOutline READ GetColorOutline WRITE SetColorOutline)
    Q_PROPERTY(int HeadSize READ GetHeadSize WRITE SetHeadSize)
    Q_PROPERTY(int Thickness READ GetThickness WRITE SetThickness)
    Q_PROPERTY(int PercentNeedleLength READ GetPercentNeedleLength WRITE SetPercentNeedleLength)
    Q_PROPERTY(int HeadAngle READ GetHeadAngle WRITE SetHeadAngle)
    Q_PROPERTY(int HeadMidLeng READ GetHeadMidLeng WRITE SetHeadMidLeng)
    Q_PROPERTY(int ShadowDx READ GetShadowDx WRITE SetShadowDx)
    Q_PROPERTY(int ShadowDy READ GetShadowDy WRITE SetShadowDy)
    Q_PROPERTY(nvo::TColor ShadowColor READ GetShadowColor WRITE SetShadowColor)
    Q_PROPERTY(bool Visible READ GetVisible WRITE SetVisible)

public:

    /// Every field starts at zero (false, unassigned): the owner fills in its defaults.
    explicit TNeedleLayout(QObject *parent = nullptr);

    TColor GetColorBody() const { return FColorFill; }
    void SetColorBody(TColor color);
    TColor GetColorOutline() const { return FColorLine; }
    void SetColorOutline(TColor color);
    /// Length in pixels of the two barbs of the arrow head.
    int GetHeadSize() const { return FSize1; }
    void SetHeadSize(int size);
    /// Width in pixels of the shaft; 0 gives a shaft of one line.
    int GetThickness() const { return FThickness; }
    void SetThickness(int thickness);
    /// Needle length in percent of (radius - 4), 0..100.
    int GetPercentNeedleLength() const { return FPctNeedleLeng; }
    void SetPercentNeedleLength(int percent);
    /// Full opening angle of the arrow head in degrees, 0..180.
    int GetHeadAngle() const { return FAngle1; }
    void SetHeadAngle(int angle);
    /// Distance from the tip back along the shaft to where the shaft meets the head.
    int GetHeadMidLeng() const { return FBackShift1; }
    void SetHeadMidLeng(int length);
    /// The shadow lies at (-ShadowDx, -ShadowDy) from the needle; none at (0, 0).
    int GetShadowDx() const { return FShadowDx; }
    void SetShadowDx(int dx);
    int GetShadowDy() const { return FShadowDy; }
    void SetShadowDy(int dy);
    TColor GetShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor color);
    bool GetVisible() const { return FVisible; }
    void SetVisible(bool visible);

    /// Copies the appearance values and `Visible` of `source`, keeping this layout's
    /// own `OnChange`, which fires once if anything changed.
    void AssignAppearance(const TNeedleLayout &source);

    TNotifyEvent OnChange;

private:
    template<class T>
    void Change(T &field, T value);
    void Changed();

    TColor FColorFill = 0;
    TColor FColorLine = 0;
    int FSize1 = 0;
    int FThickness = 0;
    int FPctNeedleLeng = 0;
    int FAngle1 = 0;
    int FBackShift1 = 0;
    int FShadowDx = 0;
    int FShadowDy = 0;
    TColor FShadowColor = 0;
    bool FVisible = false;
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
/// scale has both ends above 1e-100. Every setter keeps these, so no sequence of
/// calls can break them; a NaN or infinite number given to any setter is ignored.
///
/// Limit watch: setting `Value` (or `ValueSec`) resets both lamps, then lights the
/// high lamp and fires `OnOverFlow` when the value reaches `ThresholdHigh`, fires
/// `OnNormalRange` between the thresholds, and lights the low lamp and fires
/// `OnUnderFlow` at or below `ThresholdLow` - provided that needle's layout is
/// `Visible`. Events fire inside the setter, before the repaint.
///
/// Forms: a form loader that sets many properties at once calls `BeginLoading()`
/// first and `Loaded()` last; meanwhile the value setters only store what they
/// are given, and `Loaded()` restores the value model and loads the image files,
/// so the result does not depend on the order of the properties. The properties
/// are also declared in an order (range, scale type, thresholds, values) in which
/// plain setters, as generated form code calls them, reproduce a saved meter.
///
/// Painting composes the whole meter in one off-screen bitmap and copies it in
/// one operation. Scale labels use "." whatever the locale. The label and caption
/// text colour is the palette's window text.
class NVO_EXPORT TMeter : public TControl
{
    Q_OBJECT
    Q_PROPERTY(double MeterMinValue READ GetMeterMinValue WRITE SetMeterMinValue)
    Q_PROPERTY(double MeterMaxValue READ GetMeterMaxValue WRITE SetMeterMaxValue)
    Q_PROPERTY(bool Logarithmic READ GetLogarithmic WRITE SetLogarithmic)
    Q_PROPERTY(double ThresholdLow READ GetThresholdLow WRITE SetThresholdLow)
    Q_PROPERTY(double ThresholdHigh READ GetThresholdHigh WRITE SetThresholdHigh)
    Q_PROPERTY(double Value READ GetValue WRITE SetValue NOTIFY ValueChanged)
    Q_PROPERTY(double ValueSec READ GetValueSec WRITE SetValueSec)
    Q_PROPERTY(TMeterLayout MeterLayout READ GetMeterLayout WRITE SetMeterLayout)
    Q_PROPERTY(int MeterDecPlaces READ GetMeterDecPlaces WRITE SetMeterDecPlaces)
    Q_PROPERTY(int MeterNrTicks READ GetMeterNrTicks WRITE SetMeterNrTicks)
    Q_PROPERTY(bool MeterShortTicks READ GetMeterShortTicks WRITE SetMeterShortTicks)
    Q_PROPERTY(bool MeterScaleLine READ GetMeterScaleLine WRITE SetMeterScaleLine)
    Q_PROPERTY(bool ScaleVisible READ GetScaleVisible WRITE SetScaleVisible)
    Q_PROPERTY(bool ScaleBkVisible READ GetScaleBkVisible WRITE SetScaleBkVisible)
    Q_PROPERTY(double ScaleBkWidth READ GetScaleBkWidth WRITE SetScaleBkWidth)
    Q_PROPERTY(QString Caption READ GetCaption WRITE SetCaption)
    Q_PROPERTY(QFont FontCaption READ GetFontCaption WRITE SetFontCaption)
    Q_PROPERTY(int AnchorSize READ GetAnchorSize WRITE SetAnchorSize)
    Q_PROPERTY(bool AnchorCovered READ GetAnchorCovered WRITE SetAnchorCovered)
    Q_PROPERTY(QString AnchorImage READ GetAnchorImage WRITE SetAnchorImage)
    Q_PROPERTY(QString BackGroundImg READ GetBackGroundImg WRITE SetBackGroundImg)
    Q_PROPERTY(nvo::TBkgFill BkgndFillMode READ GetBkgndFillMode WRITE SetBkgndFillMode)
    Q_PROPERTY(nvo::TColor ColorBakG READ GetColorBakG WRITE SetColorBakG)
    Q_PROPERTY(nvo::TColor ColorCover READ GetColorCover WRITE SetColorCover)
    Q_PROPERTY(nvo::TColor ColorScale READ GetColorScale WRITE SetColorScale)
    Q_PROPERTY(nvo::TColorScheme ColorScheme READ GetColorScheme WRITE SetColorScheme)
    Q_PROPERTY(nvo::TColor ColorSclBkLow READ GetColorSclBkLow WRITE SetColorSclBkLow)
    Q_PROPERTY(nvo::TColor ColorSclBkNorm READ GetColorSclBkNorm WRITE SetColorSclBkNorm)
    Q_PROPERTY(nvo::TColor ColorSclBkHigh READ GetColorSclBkHigh WRITE SetColorSclBkHigh)
    Q_PROPERTY(nvo::TFrameStyle FrameStyle READ GetFrameStyle WRITE SetFrameStyle)
    Q_PROPERTY(bool LimWatchHighOn READ GetLimWatchHighOn WRITE SetLimWatchHighOn)
    Q_PROPERTY(bool LimWatchLowOn READ GetLimWatchLowOn WRITE SetLimWatchLowOn)
    Q_PROPERTY(nvo::TColor LimWatchActColor READ GetLimWatchActColor WRITE SetLimWatchActColor)
    Q_PROPERTY(nvo::TColor LimWatchPsvColor READ GetLimWatchPsvColor WRITE SetLimWatchPsvColor)
    Q_PROPERTY(int RimBottom READ GetRimBottom WRITE SetRimBottom)
    Q_PROPERTY(int RimTop READ GetRimTop WRITE SetRimTop)
    Q_PROPERTY(int RimSide READ GetRimSide WRITE SetRimSide)
    Q_PROPERTY(nvo::TNeedleLayout *NeedleLayout READ GetNeedleLayout WRITE SetNeedleLayout DESIGNABLE false)
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
    double GetMeterMinValue() const { return FMeterMinValue; }
    void SetMeterMinValue(double value);
    double GetMeterMaxValue() const { return FMeterMaxValue; }
    void SetMeterMaxValue(double value);
    bool GetLogarithmic() const { return FLogarithmic; }
    void SetLogarithmic(bool logarithmic);
    double GetThresholdLow() const { return FThresholdLow; }
    void SetThresholdLow(double value);
    double GetThresholdHigh() const { return FThresholdHigh; }
    void SetThresholdHigh(double value);
    double GetValue() const { return FValue; }
    void SetValue(double value);
    double GetValueSec() const { return FValueSec; }
    void SetValueSec(double value);

    // Scale and layout
    TMeterLayout GetMeterLayout() const { return FMeterLayout; }
    void SetMeterLayout(TMeterLayout layout);
    /// Decimals of the scale labels, 0..4.
    int GetMeterDecPlaces() const { return FMeterDecPlaces; }
    void SetMeterDecPlaces(int decPlaces);
    /// The least number of major intervals, 2..21.
    int GetMeterNrTicks() const { return FMeterNrTicks; }
    void SetMeterNrTicks(int nrTicks);
    bool GetMeterShortTicks() const { return FMeterShortTicks; }
    void SetMeterShortTicks(bool shortTicks);
    bool GetMeterScaleLine() const { return FMeterScaleLine; }
    void SetMeterScaleLine(bool scaleLine);
    bool GetScaleVisible() const { return FScaleVisible; }
    void SetScaleVisible(bool visible);
    bool GetScaleBkVisible() const { return FScaleBkVisible; }
    void SetScaleBkVisible(bool visible);
    /// Width of the coloured ring in percent of the radius, 0..100.
    double GetScaleBkWidth() const { return FScaleBkWidth; }
    void SetScaleBkWidth(double width);
    QString GetCaption() const { return FCaption; }
    void SetCaption(const QString &caption);
    QFont GetFontCaption() const { return FFontCaption; }
    void SetFontCaption(const QFont &font);

    // Anchor, images, colours, frame, lamps, rims
    int GetAnchorSize() const { return FAnchorSize; }
    void SetAnchorSize(int size);
    bool GetAnchorCovered() const { return FAnchorCovered; }
    void SetAnchorCovered(bool covered);
    /// Image drawn opaque at its own size centred on the pivot instead of the anchor.
    QString GetAnchorImage() const { return FACoverFName; }
    void SetAnchorImage(const QString &fileName);
    /// Background image file. A missing file clears the name; a file that exists
    /// but cannot be read clears it too and throws ENVOMeterError.
    QString GetBackGroundImg() const { return FBakGndFName; }
    void SetBackGroundImg(const QString &fileName);
    TBkgFill GetBkgndFillMode() const { return FBkgndFillMode; }
    void SetBkgndFillMode(TBkgFill mode);
    TColor GetColorBakG() const { return FColorBakG; }
    void SetColorBakG(TColor color);
    TColor GetColorCover() const { return FColorCover; }
    void SetColorCover(TColor color);
    TColor GetColorScale() const { return FColorScale; }
    void SetColorScale(TColor color);
    TColorScheme GetColorScheme() const { return FColorScheme; }
    void SetColorScheme(TColorScheme scheme);
    TColor GetColorSclBkLow() const { return FColorSclBkLow; }
    void SetColorSclBkLow(TColor color);
    TColor GetColorSclBkNorm() const { return FColorSclBkNorm; }
    void SetColorSclBkNorm(TColor color);
    TColor GetColorSclBkHigh() const { return FColorSclBkHigh; }
    void SetColorSclBkHigh(TColor color);
    TFrameStyle GetFrameStyle() const { return FFrameStyle; }
    void SetFrameStyle(TFrameStyle style);
    bool GetLimWatchHighOn() const { return FLimWatchHighOn; }
    void SetLimWatchHighOn(bool on);
    bool GetLimWatchLowOn() const { return FLimWatchLowOn; }
    void SetLimWatchLowOn(bool on);
    TColor GetLimWatchActColor() const { return FLimWatchActColor; }
    void SetLimWatchActColor(TColor color);
    TColor GetLimWatchPsvColor() const { return FLimWatchPsvColor; }
    void SetLimWatchPsvColor(TColor color);
    /// Cover widths. They enter the geometry at the next resize or layout change.
    int GetRimBottom() const { return FRimBottom; }
    void SetRimBottom(int width);
    int GetRimTop() const { return FRimTop; }
    void SetRimTop(int width);
    int GetRimSide() const { return FRimSide; }
    void SetRimSide(int width);
    TNeedleLayout *GetNeedleLayout() const { return FNeedleLayout; }
    /// Copies the appearance of `layout` into the meter's own first needle layout.
    void SetNeedleLayout(const TNeedleLayout *layout);
    TNeedleLayout *GetNeedleLayoutSec() const { return FNeedleLayoutSec; }
    void SetNeedleLayoutSec(const TNeedleLayout *layout);

    // State
    /// The high limit is violated (the high lamp is lit).
    bool Overflow() const { return FOFL; }
    /// The low limit is violated (the low lamp is lit).
    bool Underflow() const { return FUFL; }
    /// Sweep, pivot and radius as the current size, layout and rims give them.
    TMeterGeometry Geometry() const { return Geo(); }
    TMeterScale Scale() const;

    // Mapping
    /// The angle of `value` in degrees, clockwise from straight down.
    double CalcNeedleAngle(double value) const;
    /// The pixel at `pctradius` percent of the radius in the direction of `value`.
    void ConvertToPixelCoords(double value, double pctradius, int &X, int &Y) const;
    /// The value under a pixel; false (and 0.0) when its direction is outside the sweep.
    bool ConvertPixelToValue(int XPos, int YPos, double &MeterValue) const;

    // Forms (invokable by name, so that a generic form loader can bracket its
    // property assignments without knowing the class)
    /// Starts a bulk load of properties: the value setters store what they get.
    Q_INVOKABLE void BeginLoading();
    /// Ends a load: restores the value model, loads the image files (a file that
    /// cannot be read only clears its name) and repaints.
    Q_INVOKABLE void Loaded();
    bool Loading() const { return FLoading; }

    /// Copies every property of another TMeter except the events, including the
    /// needle layouts and the loaded pictures, and repaints. EConvertError for any
    /// other source, leaving this meter unchanged.
    void Assign(const QObject *source);
    void AssignTo(QObject *dest) const;

    QSize sizeHint() const override { return QSize(297, 209); }

    TBeforeDrawNeedleEvent OnBeforeDrawNeedle;
    TmtBeforeDrawScaleLabelEvent OnBeforeDrawScaleLabel;
    TMeterRenderedEvent OnMeterRendered;
    TMouseMoveInMeterEvent OnMouseMoveInMeter;
    TNotifyEvent OnNormalRange;
    TNotifyEvent OnOverFlow;
    TNotifyEvent OnUnderFlow;

Q_SIGNALS:
    void ValueChanged(double value);

protected:
    void Paint(TCanvas &canvas) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void CalcMeterLayoutParams();
    const TMeterGeometry &Geo() const;
    void StyleChanged(QObject *sender);
    void MouseMoveInMeter(bool withinRange, Qt::KeyboardModifiers shift, double meterValue);
    void WatchLimits(double value, bool visible);
    void RestoreValueModel();
    void LoadBackground(bool raise);
    void LoadAnchorImage();

    QImage &Buffer();
    void Compose(TCanvas &bitmap);
    const QImage &StretchedBackground(QSize size);
    void PaintBackground(TCanvas &canvas);
    void PaintScaleRing(TCanvas &canvas, const TMeterScale &scale);
    void PaintScale(TCanvas &canvas, const TMeterScale &scale);
    void PaintLabel(TCanvas &canvas, double value, QPoint at);
    void PaintCaption(TCanvas &canvas);
    void PaintNeedle(TCanvas &canvas, const TMeterScale &scale, const TNeedleLayout &layout, double value);
    void PaintCover(TCanvas &canvas);
    void PaintInnerBorder(TCanvas &canvas);
    void PaintAnchor(TCanvas &canvas);
    void PaintLamps(TCanvas &canvas);
    void PaintLamp(TCanvas &canvas, int left, bool lit);
    void PaintFrame(TCanvas &canvas);

    double FMeterMinValue = 0.0;
    double FMeterMaxValue = 1.0;
    bool FLogarithmic = false;
    double FThresholdLow = 0.0;
    double FThresholdHigh = 1.0;
    double FValue = 0.0;
    double FValueSec = 0.0;
    TMeterLayout FMeterLayout = mlCirc90;
    int FMeterDecPlaces = 1;
    int FMeterNrTicks = 3;
    bool FMeterShortTicks = true;
    bool FMeterScaleLine = true;
    bool FScaleVisible = true;
    bool FScaleBkVisible = false;
    double FScaleBkWidth = 0.0;
    QString FCaption;
    QFont FFontCaption;
    int FAnchorSize = 24;
    bool FAnchorCovered = true;
    QString FACoverFName;
    QString FBakGndFName;
    TBkgFill FBkgndFillMode = TBkgFill(0);
    TColor FColorBakG = clr::White;
    TColor FColorCover = clr::BtnFace;
    TColor FColorScale = clr::Navy;
    TColorScheme FColorScheme = TColorScheme(0);
    TColor FColGrayLine = clr::Gray;
    TColor FColWhiteLine = clr::White;
    TColor FColorSclBkLow = clr::Lime;
    TColor FColorSclBkNorm = 0x0080FF;
    TColor FColorSclBkHigh = clr::Red;
    TFrameStyle FFrameStyle = TFrameStyle(3);
    bool FLimWatchHighOn = true;
    bool FLimWatchLowOn = true;
    TColor FLimWatchActColor = clr::Red;
    TColor FLimWatchPsvColor = clr::Gray;
    int FRimBottom = 10;
    int FRimTop = 8;
    int FRimSide = 10;
    TNeedleLayout *FNeedleLayout;
    TNeedleLayout *FNeedleLayoutSec;

    // Derived from the size, layout and rims; recomputed when the size differs from
    // the one it was made for, since a hidden widget gets no resize event.
    mutable TMeterGeometry FGeometry;
    mutable QSize FGeometrySize;
    bool FOFL = false;
    bool FUFL = false;
    bool FLoading = false;
    QImage FBackgroundImage; ///< the picture of BackGroundImg (AuxBGBmp)
    QImage FAnchorPicture;   ///< the picture of AnchorImage (AuxACBmp)
    /// The background picture scaled to the control for the stretch mode, made once
    /// per size rather than on every paint.
    QImage FStretchedBackground;
    /// The off-screen picture every paint composes the meter in. It is kept between
    /// paints: a 1200 x 900 meter would otherwise allocate and clear 4 MB per update.
    QImage FBuffer;
};

/// Sweep, pivot and radius of `layout` on a control of `width` x `height` with the
/// given cover widths. 90 and 120 degrees keep the pivot 8 pixels above the bottom
/// rim; 300 degrees centres the dial between the rims; 180, 270 and 360 degrees
/// follow the same pattern for their own extents (see the definition).
NVO_EXPORT TMeterGeometry CalcMeterGeometry(TMeter::TMeterLayout layout, int width, int height,
                                            int rimBottom, int rimTop, int rimSide);

} // namespace nvo
