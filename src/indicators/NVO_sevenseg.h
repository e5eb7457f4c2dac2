#pragma once

#include "NVO_Control.h"
#include "NVO_Corvane.h"

#include <QtCore/QString>

#include <memory>
#include <vector>

namespace nvo {

/// The glyphs of the display's image cache, in cache order: cell k holds character k.
inline constexpr char16_t kSevenSegCacheChars[] = u"0123456789-+:\u00B0ABCDEF.";
inline constexpr int kSevenSegGlyphCount = 21;
/// The cache cell of the decimal point glyph, whose lower-right corner gives every point.
inline constexpr int kSevenSegPointGlyph = 20;

/// The segments (positions 1..7: top, upper left, upper right, middle, lower left,
/// lower right, bottom) lit for `ch`, as bit (position - 1). "0".."9", "-" and "A".."F"
/// in either case ("B" and "D" in their lower-case forms b and d); 0 for any other
/// character, also for "+", ":", "°", "." and ",", which have pictures of their own.
NVO_EXPORT int SevenSegSegments(QChar ch);

/// One digit position of a caption: the cache cell it shows (-1: none, the position
/// stays empty) and whether it carries a decimal point.
struct TSevenSegDigit {
    int Glyph = -1;
    bool Point = false;
    bool operator==(const TSevenSegDigit &) const = default;
};

/// How a caption fills `numDigits` positions: each character takes a position; a "."
/// or "," right after it becomes that position's point instead; a "." or "," that
/// follows no character is a blank position with a point. Characters are looked up
/// in upper case; characters beyond the last position are dropped.
NVO_EXPORT std::vector<TSevenSegDigit> ParseSevenSegCaption(const QString &caption, int numDigits);

/// A row of slanted seven-segment digits with optional decimal points, showing
/// `Caption` on `NumDigits` positions ("0".."9", "A".."F", "-", "+", ":", "°" and
/// points; any other character leaves its position empty).
///
/// Each glyph is composed once at 312 x 432 pixels from six segment pictures shipped
/// with the library (":/nvo/SEG*.bmp"), coloured, and reduced by averaging into an
/// image cache of 21 glyphs; a paint only copies cache cells into the digit
/// positions, through the control's off-screen buffer. The cache is rebuilt, by the
/// next paint, when `ColorText`, `ColorBackGnd`, `Margin`, `InterDigDist`,
/// `NumDigits` or the control's size differ from what it was built for, whatever
/// handler an application gives `OnResize`. A digit cell without room (many digits
/// on a small control) shows the background and the frame only.
///
/// Layout: cell pitch P = (Width - 2 Margin) div NumDigits, cell width P -
/// InterDigDist, cell height Height - 2 Margin; digit n (from 0) starts at
/// x = Margin + n P.
///
/// The frame is drawn in fixed colours (style colours when visual styles are on), so
/// `ColorScheme` is only stored: it has no visible effect and repaints nothing.
class NVO_EXPORT TSevenSeg : public TControl
{
    Q_OBJECT
    /// The text shown on the digit positions; a "." or "," becomes the point of the
    /// position before it.
    Q_PROPERTY(QString Caption READ GetCaption WRITE SetCaption NOTIFY ValueChanged USER true)
    /// The display's ground.
    Q_PROPERTY(nvo::TColor ColorBackGnd READ GetColorBackGnd WRITE SetColorBackGnd)
    /// The lit segments.
    Q_PROPERTY(nvo::TColor ColorText READ GetColorText WRITE SetColorText)
    /// The frame's two line colours.
    Q_PROPERTY(nvo::TColorScheme ColorScheme READ GetColorScheme WRITE SetColorScheme)
    /// The frame around the display.
    Q_PROPERTY(nvo::TFrameStyle FrameStyle READ GetFrameStyle WRITE SetFrameStyle)
    /// Gap between digit cells in pixels, at most 255.
    Q_PROPERTY(int InterDigDist READ GetInterDigDist WRITE SetInterDigDist)
    /// Inset of the digits from the edges, at most half the height.
    Q_PROPERTY(int Margin READ GetMargin WRITE SetMargin)
    /// Number of digit cells, 1..32.
    Q_PROPERTY(int NumDigits READ GetNumDigits WRITE SetNumDigits)

public:
    /// Loads the segment pictures; nvo::Exception "Resource NAME not found" when the
    /// library was built without them.
    explicit TSevenSeg(QWidget *parent = nullptr);
    ~TSevenSeg() override;

    QString GetCaption() const;
    void SetCaption(const QString &caption);
    TColor GetColorBackGnd() const;
    void SetColorBackGnd(TColor color);
    /// Pure white is drawn as 0xFEFEFE: white marks the pictures' surround.
    TColor GetColorText() const;
    void SetColorText(TColor color);
    TFrameStyle GetFrameStyle() const;
    void SetFrameStyle(TFrameStyle style);
    /// Gap between digits; values of 256 and more count as 255.
    int GetInterDigDist() const;
    void SetInterDigDist(int dist);
    /// Inset of the digits; at most (Height div 2) - 1 at the time it is set.
    int GetMargin() const;
    void SetMargin(int margin);
    /// 1..32; other values are ignored.
    int GetNumDigits() const;
    void SetNumDigits(int count);

    /// Copies the colours, colour scheme, digit layout, caption and frame of another
    /// TSevenSeg and repaints (its own cache follows by the layout it then has).
    /// EConvertError for any other source.
    void Assign(const QObject *source);
    void AssignTo(QObject *dest) const;

    QSize sizeHint() const override { return QSize(216, 76); }
    /// Room for every digit cell at the smallest size its segments stay apart in.
    QSize minimumSizeHint() const override;

    /// Fired after the control has followed a size change.
    TNotifyEvent OnResize;

Q_SIGNALS:
    /// The caption changed, by SetCaption or Assign.
    void ValueChanged(const QString &caption);

protected:
    void Paint(TCanvas &canvas) override;
    void resizeEvent(QResizeEvent *event) override;
    bool ShowsColorScheme() const override { return false; }

private:
    struct Private;
    std::unique_ptr<Private> const d;
};

} // namespace nvo
