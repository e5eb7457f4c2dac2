#pragma once

#include "NVO_Control.h"
#include "NVO_Corvane.h"

#include <QtCore/QString>

#include <memory>

namespace nvo {

/// A label whose caption is drawn at any angle around a reference point
/// (`PosX`, `PosY`): `Alignment` says whether that point is the left end, the middle
/// or the right end of the text's vertical middle line, which turns with the text by
/// `TextAngle` degrees counter-clockwise. With `AutoCenter` the reference point is
/// the control's centre, and follows it when the control is resized.
///
/// Colours: the text is drawn in the palette's WindowText (the style's panel text
/// colour under visual styles); a disabled label, also one inside a disabled parent,
/// shows it embossed: the button highlight (palette Light) one pixel right and down,
/// the button shadow (palette Dark) over it at the normal place. An opaque label
/// (`Transparent` false) fills its area with `Color` first (system colours through
/// the palette); a transparent one leaves its parent's pixels. The frame is
/// `DrawFrame`'s in the fixed 3-D colours white, silver, gray and black, or the
/// palette's 3-D colours under visual styles. Nothing is cached: a paint draws the
/// text straight onto the control.
///
/// Based on the plain control rather than QLabel: QLabel paints its text through the
/// style in one step that cannot be replaced in part, its frame is QFrame's, not the
/// library's, and its size hint and text layout (word wrap, rich text, buddies,
/// selection) all assume upright text. Only the caption and the font would be kept of
/// it; every other behaviour of the rotated label, from the reference point to the
/// embossed disabled look and the frame, is its own. Keeping QLabel would give a
/// widget that answers as a QLabel to its properties but ignores most of them.
class NVO_EXPORT TRotLab : public TControl
{
    Q_OBJECT
    /// The text shown.
    Q_PROPERTY(QString Caption READ GetCaption WRITE SetCaption NOTIFY CaptionChanged USER true)
    /// Which point of the text lies on the reference point (PosX, PosY): its left end, its
    /// middle or its right end.
    Q_PROPERTY(nvo::TAlignment Alignment READ GetAlignment WRITE SetAlignment)
    /// The text drawn with smoothed edges.
    Q_PROPERTY(bool AntiAlias READ GetAntiAlias WRITE SetAntiAlias)
    /// The reference point kept at the control's centre, also when the control is resized.
    Q_PROPERTY(bool AutoCenter READ GetAutoCenter WRITE SetAutoCenter)
    /// The ground behind the text.
    Q_PROPERTY(nvo::TColor Color READ GetColor WRITE SetColor)
    /// The frame around the label.
    Q_PROPERTY(nvo::TFrameStyle FrameStyle READ GetFrameStyle WRITE SetFrameStyle)
    /// Horizontal position of the reference point.
    Q_PROPERTY(int PosX READ GetPosX WRITE SetPosX)
    /// Vertical position of the reference point.
    Q_PROPERTY(int PosY READ GetPosY WRITE SetPosY)
    /// The text's angle in degrees, counterclockwise.
    Q_PROPERTY(int TextAngle READ GetTextAngle WRITE SetTextAngle)
    /// No ground drawn, so the parent shows through.
    Q_PROPERTY(bool Transparent READ GetTransparent WRITE SetTransparent)
    /// False draws the text embossed in greys.
    Q_PROPERTY(bool Enabled READ GetEnabled WRITE SetEnabled)

public:
    explicit TRotLab(QWidget *parent = nullptr);
    ~TRotLab() override;

    QString GetCaption() const;
    void SetCaption(const QString &caption);
    TAlignment GetAlignment() const;
    void SetAlignment(TAlignment alignment);
    /// Smoothed text (the default) or the font's plain pixels.
    bool GetAntiAlias() const;
    void SetAntiAlias(bool antiAlias);
    /// True places the reference point at the centre (width div 2, height div 2) at
    /// once and keeps it there: PosX and PosY then read the centre. A point set
    /// meanwhile is held for when AutoCenter is switched off; switching it on stores
    /// the centre, so switching it off again leaves the text where it is.
    bool GetAutoCenter() const;
    void SetAutoCenter(bool autoCenter);
    TColor GetColor() const;
    void SetColor(TColor color);
    TFrameStyle GetFrameStyle() const;
    void SetFrameStyle(TFrameStyle style);
    int GetPosX() const;
    void SetPosX(int x);
    int GetPosY() const;
    void SetPosY(int y);
    /// Degrees counter-clockwise, stored as given (450 draws like 90).
    int GetTextAngle() const;
    void SetTextAngle(int angle);
    bool GetTransparent() const;
    void SetTransparent(bool transparent);

    /// Copies the placement of another TRotLab (`AutoCenter`, `FrameStyle`,
    /// `TextAngle`, `PosX`, `PosY`, `AntiAlias`; not the caption, colours or events)
    /// and repaints. Throws EConvertError for any other source, leaving this control
    /// unchanged.
    void Assign(const QObject *source);
    void AssignTo(QObject *dest) const;

    /// Room for the caption at the current angle around the centre, with the frame.
    QSize sizeHint() const override;
    /// Room for one line height inside the frame.
    QSize minimumSizeHint() const override;

    /// Fired when the control has been resized. Assigned, it replaces the label's
    /// own handling, which moves the reference point with the centre under AutoCenter.
    TNotifyEvent OnResize;

Q_SIGNALS:
    void CaptionChanged(const QString &caption);

protected:
    void Paint(TCanvas &canvas) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Private;
    std::unique_ptr<Private> const d;
};

} // namespace nvo
