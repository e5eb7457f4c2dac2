#pragma once

#include "NVO_Control.h"
#include "NVO_Corvane.h"
#include "NVO_Global.h"

#include <QtCore/QPoint>
#include <QtCore/QSize>

#include <functional>
#include <map>
#include <memory>

namespace nvo {

/// Where the slides of a thumbnail strip stand, as a value: the control's size and
/// slide settings, its slide range and its scroll position. Slides sit in square
/// cells of `Cell()` pixels, `SlidesPerRow()` to a row, behind a 10-pixel margin on
/// every side; slide `Min` starts the first row and every row holds the next
/// `SlidesPerRow()` numbers. Slide numbers are 64-bit; 0 stands for no slide.
struct NVO_EXPORT TThumbGeometry {
    int Width = 260;
    int Height = 400;
    int SlideSize = 120;
    int SlideDistance = 2;
    int SlideMargin = 7;
    qint64 Min = 1;
    qint64 Max = 100;
    /// The integer part is the first slide of the top row, the fraction the part of
    /// that row scrolled out at the top (a stored value, see `Normalized`).
    double FirstThumbIdx = 1.0;

    /// SlideSize + SlideDistance + 2 x SlideMargin, at least 1: a cell of 0 pixels
    /// would divide by zero in every position.
    int Cell() const;
    /// The edge of a slide: from its corner to the last pixel of its face.
    int SlideEdge() const { return SlideSize + 2 * SlideMargin; }
    /// (Width + SlideDistance - 20) / Cell, at least 1.
    int SlidesPerRow() const;
    /// The rows a paint visits: Height / Cell + 1, or more when a part of the top row is
    /// scrolled out and further rows reach into view.
    int RowsPainted() const;
    /// The first slide of the top row.
    qint64 TopSlide() const;
    /// The pixels of the top row scrolled out: the fraction of FirstThumbIdx times the
    /// cell, halves rounded to even.
    int ScrolledOut() const;

    /// The top-left corner of slide `n` (also of slides outside the view, as far as
    /// an int reaches: positions far away are held at +-2^30).
    QPoint SlidePos(qint64 n) const;
    /// The slide under `point`, 0 in a gap between slides, within 10 pixels of the
    /// control's edge and outside [Min, Max].
    qint64 SlideAt(QPoint point) const;

    /// What writing `x` to FirstThumbIdx stores: `x` held to [Min, Max], then the
    /// first slide c of the row holding it plus the part of that row, (x - c) /
    /// SlidesPerRow. Writing 6 with two slides per row stores 5.5: slides 5 and 6 on
    /// top, half a row scrolled out. (The stored value is in rows, the written one in
    /// slides, so writing back what was read scrolls on when there are several
    /// slides to a row; scroll by rows with `RowPosition` and `FirstIdxOfRow`.)
    double Normalized(double x) const;
    /// How many rows the view is scrolled from the first: row of the top slide plus
    /// the part scrolled out.
    double RowPosition() const;
    /// The slide position to write for a view scrolled by `rows` rows, held to the
    /// rows that exist.
    double FirstIdxOfRow(double rows) const;
    /// The row of slide `n` counted from the first row, 0-based.
    qint64 RowOf(qint64 n) const;
    /// The rows wholly inside the view (at least 1).
    int RowsShown() const;
};

/// The selected slides of a thumbnail strip as disjoint, non-adjacent inclusive
/// ranges of slide numbers (1 and up), so that selecting all of 10^9 slides costs
/// one range, not 10^9 bits. Memory grows with the number of separate runs only.
class NVO_EXPORT TSlideSelection
{
public:
    bool Contains(qint64 slide) const;
    /// Selects or deselects `first`..`last` (inclusive); an empty range does nothing.
    void Set(qint64 first, qint64 last, bool selected);
    void Set(qint64 slide, bool selected) { Set(slide, slide, selected); }
    void Clear() { FRanges.clear(); }
    /// Drops every slide outside `min`..`max`.
    void Clip(qint64 min, qint64 max);
    /// The lowest selected slide, 0 when none is.
    qint64 First() const;
    qint64 Count() const;
    int RangeCount() const { return int(FRanges.size()); }
    /// The ranges in order: first slide -> last slide.
    const std::map<qint64, qint64> &Ranges() const { return FRanges; }
    bool operator==(const TSlideSelection &other) const = default;

private:
    /// First slide of each range -> its last slide.
    std::map<qint64, qint64> FRanges;
};

/// A scrollable grid of numbered slides in equal square cells. The control holds no
/// pictures: for every slide it paints, it asks the application through
/// `OnImageRequest` how to show it (an empty numbered placeholder, a picture scaled to
/// fit with its aspect kept, only the slide's frame, or nothing) and for the picture,
/// which the handler draws into or hands over in the request bitmap; the control
/// copies it and keeps nothing of it after the paint. Paint time depends on the
/// slides in view only, so a strip of 10^9 slides paints as fast as one of 100.
///
/// Layout (see TThumbGeometry): cells of SlideSize + SlideDistance + 2 x SlideMargin
/// pixels behind a 10-pixel margin; as many slides to a row as fit (at least one).
/// `FirstThumbIdx` scrolls by fractions of a row; the mouse wheel and the keys scroll
/// too. Slide numbers are 64-bit, from `Min` to `Max` (both at least 1, since 0
/// stands for no slide; Min above Max shows no slides, so a form may set the two in
/// either order). `SlideSize` is held to 50..10000 but not to the control's width, for
/// the same reason: a slide wider than the control is cut off at its right edge.
///
/// Colours: the ground `ColorBackGnd` (the palette's button face by default), slide
/// faces `ColorCover`, selected ones `ColorSelected`, the focus frame around the slide
/// under the mouse (or moved to by the keys) `ColorFocus`, marker symbols `ColorMark`,
/// the placeholder white with the number in black and the `Font`. The three frames
/// (`FrameStyle` around the control, `OuterFrameStyle` around each slide,
/// `InnerFrameStyle` around each picture) are `DrawFrame`'s in the fixed white,
/// silver, gray and black: `ColorScheme` is kept for forms and copies only.
///
/// Caches: the slides of the last paint in the control base's off-screen bitmap (about
/// 4 bytes per pixel). A move of the focus frame paints from it without asking the
/// application again; every other change composes the slides anew.
///
/// Selection: the set of selected slides is kept as ranges (TSlideSelection), so
/// memory grows with the number of separate runs, never with `Max`. In ssmSingle mode
/// a click selects the slide under the mouse only. In ssmMultiple mode a click selects
/// one slide, Ctrl+click toggles one, Shift+click selects the run from the last
/// clicked slide, and Ctrl+Shift+click adds that run. ssmDisabled selects nothing.
///
/// Keyboard: the arrow keys, Page Up/Down, Home and End move the focus frame by a
/// slide, a row, a page and to the first and last slide, scroll it into view and
/// select as a click there would (Shift extends, Ctrl only moves); Space selects, or
/// in ssmMultiple mode toggles, the focused slide.
class NVO_EXPORT TThumbnails : public TControl
{
    Q_OBJECT
    /// The scroll position: the first slide of the top row, plus the part of that row
    /// scrolled out as a fraction (see TThumbGeometry::Normalized).
    Q_PROPERTY(double FirstThumbIdx READ GetFirstThumbIdx WRITE SetFirstThumbIdx NOTIFY FirstThumbIdxChanged
                   USER true STORED false DESIGNABLE false)
    /// Whether clicks and keys select no slide, one, or several.
    Q_PROPERTY(TSlideSelectMode SlideSelectMode READ GetSlideSelectMode WRITE SetSlideSelectMode)
    /// Pictures scaled smoothly instead of by the nearest pixel.
    Q_PROPERTY(bool AntiAlias READ GetAntiAlias WRITE SetAntiAlias)
    /// The ground between the slides.
    Q_PROPERTY(nvo::TColor ColorBackGnd READ GetColorBackGnd WRITE SetColorBackGnd)
    /// The face of a slide.
    Q_PROPERTY(nvo::TColor ColorCover READ GetColorCover WRITE SetColorCover)
    /// The face of a selected slide.
    Q_PROPERTY(nvo::TColor ColorSelected READ GetColorSelected WRITE SetColorSelected)
    /// The focus frame around the slide under the mouse or moved to by the keys.
    Q_PROPERTY(nvo::TColor ColorFocus READ GetColorFocus WRITE SetColorFocus)
    /// The marker symbols on the slides.
    Q_PROPERTY(nvo::TColor ColorMark READ GetColorMark WRITE SetColorMark)
    /// Kept for forms and copies; the frames use fixed line colours.
    Q_PROPERTY(nvo::TColorScheme ColorScheme READ GetColorScheme WRITE SetColorScheme)
    /// The frame around the control.
    Q_PROPERTY(nvo::TFrameStyle FrameStyle READ GetFrameStyle WRITE SetFrameStyle)
    /// The frame around each slide.
    Q_PROPERTY(nvo::TFrameStyle OuterFrameStyle READ GetOuterFrameStyle WRITE SetOuterFrameStyle)
    /// The frame around each picture.
    Q_PROPERTY(nvo::TFrameStyle InnerFrameStyle READ GetInnerFrameStyle WRITE SetInnerFrameStyle)
    /// Width of the focus frame, 0..10; 0 shows none.
    Q_PROPERTY(int FocusLinewidth READ GetFocusLinewidth WRITE SetFocusLinewidth)
    /// The slide with the focus frame, 0 for none.
    Q_PROPERTY(qint64 FocusedSlide READ GetFocusedSlide STORED false)
    /// The number of the first slide, at least 1.
    Q_PROPERTY(qint64 Min READ GetMin WRITE SetMin)
    /// The number of the last slide, at least 1.
    Q_PROPERTY(qint64 Max READ GetMax WRITE SetMax)
    /// Edge of a slide's picture area in pixels, 50..10000.
    Q_PROPERTY(int SlideSize READ GetSlideSize WRITE SetSlideSize)
    /// Gap between slide cells in pixels, 0..100.
    Q_PROPERTY(int SlideDistance READ GetSlideDistance WRITE SetSlideDistance)
    /// Margin between a slide's edge and its picture area, 0..100.
    Q_PROPERTY(int SlideMargin READ GetSlideMargin WRITE SetSlideMargin)
    /// False takes no mouse or keys.
    Q_PROPERTY(bool Enabled READ GetEnabled WRITE SetEnabled)

public:
    enum TSlideSelectMode : quint8 { ssmDisabled, ssmSingle, ssmMultiple };
    Q_ENUM(TSlideSelectMode)
    enum TImageRequestProcessing : quint8 { irpShowEmpty, irpShowSlide, irpShowFrameOnly, irpShowNothing };
    Q_ENUM(TImageRequestProcessing)

    /// Asked once per painted slide, with HowToProcess = irpShowEmpty, MarkIt = -1 and
    /// the request bitmap (one for all slides of a paint, empty at its start). The
    /// handler may change the processing, set a marker symbol (0..51; others draw
    /// nothing) and draw into or assign another picture to ImgBuffer.
    using TImageRequestEvent = std::function<void(QObject *Sender, qint64 ThumbID, TImageRequestProcessing &HowToProcess,
                                                  int &MarkIt, TBitmap &ImgBuffer)>;
    /// After each slide is drawn: the off-screen canvas and the slide's corner.
    using TSlideRenderedEvent = std::function<void(QObject *Sender, TCanvas &Canvas, int X, int Y, qint64 ThumbID)>;
    /// A click on the control: the mouse position and the slide there, 0 for none.
    using TImageClickEvent = std::function<void(QObject *Sender, int X, int Y, qint64 ThumbID)>;

    explicit TThumbnails(QWidget *parent = nullptr);
    ~TThumbnails() override;

    /// See TThumbGeometry::Normalized; 1.0 at first. Writing repaints when the stored
    /// value changes.
    double GetFirstThumbIdx() const;
    void SetFirstThumbIdx(double x);
    /// ssmSingle by default; a new mode clears the selection. Unknown ordinals are refused.
    TSlideSelectMode GetSlideSelectMode() const;
    void SetSlideSelectMode(TSlideSelectMode mode);
    /// Pictures are scaled smoothly when on, by nearest pixel when off (the default).
    bool GetAntiAlias() const;
    void SetAntiAlias(bool on);
    TColor GetColorBackGnd() const;
    void SetColorBackGnd(TColor color);
    TColor GetColorCover() const;
    void SetColorCover(TColor color);
    TColor GetColorSelected() const;
    void SetColorSelected(TColor color);
    TColor GetColorFocus() const;
    void SetColorFocus(TColor color);
    TColor GetColorMark() const;
    void SetColorMark(TColor color);
    /// fsLowered, fsRaised and fsLowered by default.
    TFrameStyle GetFrameStyle() const;
    void SetFrameStyle(TFrameStyle style);
    TFrameStyle GetOuterFrameStyle() const;
    void SetOuterFrameStyle(TFrameStyle style);
    TFrameStyle GetInnerFrameStyle() const;
    void SetInnerFrameStyle(TFrameStyle style);
    /// Lines of the focus frame, 0..10 (0: no focus frame); 1 by default.
    int GetFocusLinewidth() const;
    void SetFocusLinewidth(int width);
    /// The slide with the focus frame, 0 for none.
    qint64 GetFocusedSlide() const;
    /// 1 and 100 by default; held to 1..2^53, the integers FirstThumbIdx (a double)
    /// holds exactly. Slides outside leave the selection.
    qint64 GetMin() const;
    void SetMin(qint64 min);
    qint64 GetMax() const;
    void SetMax(qint64 max);
    /// 120, 2 and 7 by default; held to 50..10000, 0..100 and 0..100.
    int GetSlideSize() const;
    void SetSlideSize(int size);
    int GetSlideDistance() const;
    void SetSlideDistance(int distance);
    int GetSlideMargin() const;
    void SetSlideMargin(int margin);

    /// Slides to a row and rows painted at the current size.
    int NumSlidesHoriz() const;
    int NumSlidesVert() const;
    /// Whether slide `sldnum` is selected; writing a slide outside [Min, Max] does nothing.
    bool GetSlideSelected(qint64 sldnum) const;
    void SetSlideSelected(qint64 sldnum, bool selected);
    /// Selects or deselects the slides first..last (held to [Min, Max]) at once.
    void SetSlidesSelected(qint64 first, qint64 last, bool selected);
    void ResetAllSelections();
    /// The lowest selected slide, 0 when none is selected.
    qint64 FirstSelectedSlide() const;
    qint64 NumSlidesSelected() const;
    const TSlideSelection &Selection() const;
    /// The top-left corner of slide `SldNum` / the slide under a point, 0 for none.
    void CalcSlidePos(qint64 SldNum, int &XPos, int &YPos) const;
    qint64 CalcSlideIndex(int XPos, int YPos) const;
    /// The layout at the current size, settings and scroll position.
    TThumbGeometry Geometry() const;
    /// Copies the settings, colours, slide range, scroll position, focused slide,
    /// selection and events of another TThumbnails and repaints. (Marker colour,
    /// selection mode, selection and OnSlideRendered are copied too: a copy without
    /// them would paint and behave otherwise.) EConvertError for any other source.
    void Assign(const QObject *source);
    void AssignTo(QObject *dest) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    TImageRequestEvent OnImageRequest;
    TSlideRenderedEvent OnSlideRendered;
    TImageClickEvent OnImageClick;
    TImageClickEvent OnImageDblClick;
    TNotifyEvent OnFocusChange;
    TNotifyEvent OnFirstImageRequest;
    TNotifyEvent OnLastImageRequest;

Q_SIGNALS:
    void FirstThumbIdxChanged(double firstThumbIdx);
    void SelectionChanged();

protected:
    void Paint(TCanvas &canvas) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void KeyPressed(QKeyEvent *event) override;
    bool ShowsColorScheme() const override { return false; }

private:
    struct Private;
    std::unique_ptr<Private> const d;
};

} // namespace nvo
