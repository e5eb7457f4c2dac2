#pragma once

#include "NVO_Control.h"
#include "NVO_Corvane.h"

#include <QtCore/QRect>

#include <memory>

namespace nvo {

class TBitmap;

/// An area filled with a stepped colour gradient: `NrColors` bands of equal share,
/// stacked from top to bottom (horizontal bands) or from left to right (vertical
/// bands), their colours running from `ColorFirst` towards `ColorLast`, or, in the
/// mid-band types, from `ColorFirst` at both outer bands to `ColorLast` in the middle.
/// Band k of N covers MulDiv(k, size, N) up to MulDiv(k + 1, size, N), so the bands
/// differ by at most one pixel and together cover the area exactly; a band narrower
/// than a pixel is simply left out.
///
/// Colours: the bands take the two colour properties (system colours resolved
/// through the palette at paint time, so a dark palette shows in them); the grid
/// lines `GridColor`; the frame is `DrawFrame`'s in the fixed 3-D colours white,
/// silver, gray and black (the simple frame black). The control paints every pixel
/// (it is opaque) straight onto its surface, which Qt composes off the screen, so a
/// repaint does not flicker; it caches nothing.
class NVO_EXPORT TGradFill : public TControl
{
    Q_OBJECT
    /// The colour of the first band.
    Q_PROPERTY(nvo::TColor ColorFirst READ GetColorFirst WRITE SetColorFirst)
    /// The colour of the last band.
    Q_PROPERTY(nvo::TColor ColorLast READ GetColorLast WRITE SetColorLast)
    // Not stored: a form keeps the two colours as they show, and a flag read back
    // before or after them would exchange them once more depending on its place.
    /// The two colours exchanged; not stored in forms, which keep the colours as they show.
    Q_PROPERTY(bool ColorFlipped READ GetColorFlipped WRITE SetColorFlipped STORED false)
    /// The direction of the bands, and whether they run edge to edge or mirror from the
    /// middle.
    Q_PROPERTY(TGradType FillType READ GetFillType WRITE SetFillType)
    /// The frame around the fill.
    Q_PROPERTY(nvo::TFrameStyle FrameStyle READ GetFrameStyle WRITE SetFrameStyle)
    /// The grid lines.
    Q_PROPERTY(nvo::TColor GridColor READ GetGridColor WRITE SetGridColor)
    /// Which grid lines are drawn over the bands.
    Q_PROPERTY(TGridMode GridMode READ GetGridMode WRITE SetGridMode)
    /// Number of colour bands, 1..255.
    Q_PROPERTY(int NrColors READ GetNrColors WRITE SetNrColors)

public:
    /// How the bands lie and how their colours run.
    enum TGradType : quint8 {
        gtHoriz,        ///< horizontal bands, first colour at the top
        gtVert,         ///< vertical bands, first colour at the left
        gtMidBandHoriz, ///< horizontal bands, last colour in the middle
        gtMidBandVert   ///< vertical bands, last colour in the middle
    };
    Q_ENUM(TGradType)
    /// Which lines of the grid are laid over the gradient. The grid divides the area
    /// into `NrColors` equal steps along each axis it draws, the same division as the
    /// bands: a line is the first pixel row (column) of each step after the first, so
    /// along the bands' own axis the lines mark the band borders.
    enum TGridMode : quint8 { gmNone, gmHoriz, gmVert, gmBoth };
    Q_ENUM(TGridMode)

    explicit TGradFill(QWidget *parent = nullptr);
    ~TGradFill() override;

    TColor GetColorFirst() const;
    void SetColorFirst(TColor color);
    TColor GetColorLast() const;
    void SetColorLast(TColor color);
    /// True shows the two colours exchanged. The colours as they were set unflipped
    /// are kept, so setting a colour while flipped and flipping back shows it at the
    /// end it was set for.
    bool GetColorFlipped() const;
    void SetColorFlipped(bool flipped);
    TGradType GetFillType() const;
    void SetFillType(TGradType type);
    TFrameStyle GetFrameStyle() const;
    void SetFrameStyle(TFrameStyle style);
    TColor GetGridColor() const;
    void SetGridColor(TColor color);
    TGridMode GetGridMode() const;
    void SetGridMode(TGridMode mode);
    /// The number of bands, 1 to 255; values beyond are clamped.
    int GetNrColors() const;
    void SetNrColors(int count);

    /// Draws the gradient, the grid and the frame over the whole of `bitmap`.
    void DrawGradient(TBitmap &bitmap);

    /// Copies the fill settings of another TGradFill (colours with their unflipped
    /// order, fill type, frame, grid, number of colours, not the events) and repaints.
    /// Throws EConvertError for any other source, leaving this control unchanged.
    void Assign(const QObject *source);
    void AssignTo(QObject *dest) const;

    QSize sizeHint() const override { return QSize(121, 121); }
    QSize minimumSizeHint() const override { return QSize(8, 8); }

    /// Fired after each paint of the control.
    TNotifyEvent OnPaint;

protected:
    void Paint(TCanvas &canvas) override;

private:
    struct Private;
    std::unique_ptr<Private> const d;
};

/// The pixels of band `Band` of `NrColors` in an area of `Width` x `Height`: the rows
/// MulDiv(Band, Height, NrColors) up to, not including, MulDiv(Band + 1, Height,
/// NrColors) for the horizontal types, the columns likewise for the vertical ones.
/// Empty when the band is narrower than a pixel.
NVO_EXPORT QRect GradBandRect(TGradFill::TGradType Type, int Band, int NrColors, int Width, int Height);
/// The colour of band `Band` of `NrColors` running from `First` to `Last` (plain RGB):
/// - horizontal and vertical types: StepColor(First, Last, Band, NrColors), so the last
///   band stays one step short of `Last`; with one band, `First`;
/// - mid-band types, half = NrColors div 2: the bands up to `half` step from `First`
///   towards `Last` in `half` steps, those after it step back, N - k - 1 steps from
///   `First`. A single band (half 0) has no middle to reach and shows `First`.
NVO_EXPORT TColor GradBandColor(TGradFill::TGradType Type, int Band, int NrColors, TColor First,
                                TColor Last);

} // namespace nvo
