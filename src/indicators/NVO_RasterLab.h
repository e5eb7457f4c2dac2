#pragma once

#include "NVO_Control.h"
#include "NVO_Corvane.h"
#include "NVO_Timer.h"

#include <QtCore/QString>
#include <QtGui/QFont>

#include <array>
#include <memory>
#include <vector>

namespace nvo {

/// The dot-matrix label's own error: a scroll timer that cannot be had.
NVO_DECLARE_EXCEPTION(ENVORasterLabError, Exception);

/// A bit font: one 32-bit word per row and character code, bit n set for a dot in
/// column n (bit 0 the leftmost column). Rows from `FontHeight` on are 0.
struct TRDCharMatrix {
    int FontWidth = 0;  ///< widest glyph in columns
    int FontHeight = 0; ///< number of rows in use
    std::array<quint8, 256> LeftMostBit{};
    std::array<quint8, 256> RightMostBit{};
    std::array<std::array<quint32, 32>, 256> BitData{};
};

/// One entry of the built-in font's table: `LeftMostBit`, `RightMostBit`, then the
/// twelve row bytes (row 0 first, bit 0 the leftmost column).
using TRDGlyphEntry = std::array<quint8, 14>;
inline constexpr int kRDFirstCode = 32;
inline constexpr int kRDGlyphCount = 224;
inline constexpr int kRDBuiltInWidth = 7;
inline constexpr int kRDBuiltInHeight = 12;

/// The built-in 7 x 12 font ("default"): entry i holds code 32 + i. Codes 128..159
/// carry the printable characters the Windows-1252 code page puts there (euro sign,
/// quotes, dashes, ...); its five unassigned codes are blanks.
NVO_EXPORT const std::array<TRDGlyphEntry, kRDGlyphCount> &BuiltInGlyphTable();

/// The built-in font as a matrix: codes 32..255 from the table, codes 0..31 empty.
NVO_EXPORT TRDCharMatrix BuiltInBitFont();

/// A bit font sampled from `font`: each code 32..255 drawn in black on white at the
/// top-left corner of a 65 x 65 bitmap, every non-white pixel of the first 32 rows
/// and columns a dot. A code without any dot gets `LeftMostBit` 31 and
/// `RightMostBit` 0; the blank then spans columns 0 .. `FontWidth` div 2.
NVO_EXPORT TRDCharMatrix SampleBitFont(const QFont &font);

/// The bit font of `font`: the built-in one when `font` is null or its family is
/// "default" (in any case), else the sampled one.
NVO_EXPORT TRDCharMatrix CreateBitFont(const QFont *font);

/// The font code a character is shown with. Codes 32..255 are their own; the
/// characters the Windows-1252 code page places in 128..159 (U+20AC euro sign and
/// the like) reach those codes; every other character, control codes below 32
/// included, shows as the blank (32), so that no character indexes past the font.
NVO_EXPORT quint8 RDFontCode(char32_t character);

/// The columns a glyph occupies: its own extents, or 0 .. `FontWidth` - 1 at a
/// fixed pitch. A glyph without dots (a sampled `LeftMostBit` 31 above its
/// `RightMostBit` 0) spans the blank's columns: a negative width would move every
/// following character backwards over it.
struct TRDGlyphSpan {
    int Left = 0;
    int Right = -1;
    int Columns() const { return Right - Left + 1; }
};
NVO_EXPORT TRDGlyphSpan RDGlyphSpan(const TRDCharMatrix &cm, quint8 code, bool fixedWidth);

/// A text laid out in a bit font: the font code of each character and the dot column
/// at which each character starts. A character advances by its glyph's columns plus
/// one blank column (one pitch in pixels). Laying out costs one pass over the text;
/// afterwards the painter finds the first visible character by a binary search, so a
/// scrolling text costs per paint only what is visible, however long it is.
class NVO_EXPORT TRDTextLayout
{
public:
    TRDTextLayout();
    TRDTextLayout(const QString &text, const TRDCharMatrix &cm, bool proportional);

    int Count() const { return int(FCodes.size()); }
    quint8 Code(int index) const { return FCodes[size_t(index)]; }
    /// The first column of character `index`; `index` = Count() gives the text's end.
    qint64 StartColumn(int index) const { return FStarts[size_t(index)]; }
    /// All columns of the text: the sum over its characters of glyph columns + 1.
    qint64 Columns() const { return FStarts.back(); }
    /// The first character that can reach the pixel columns from 0 on when the text
    /// starts at pixel `x` with `pitch` pixels per column: its separator strip,
    /// one pitch to the left of it, included.
    int FirstReaching(qint64 x, int pitch) const;

private:
    std::vector<quint8> FCodes;
    std::vector<qint64> FStarts; ///< Count() + 1 entries
};

/// A dot-matrix display: text drawn as square dots on a raster of unlit dots, in the
/// built-in 7 x 12 bit font or in a bit font sampled from the control's font (any
/// family but "default"), at a proportional or fixed pitch, optionally with automatic
/// height and horizontal centring, and scrolled on a timer.
///
/// Geometry: a dot is `DotSize` pixels square and dots lie `DotSpacing` pixels apart,
/// so the pitch P is their sum. The text's first dot is at (`PosX`, `PosY`) plus the
/// scroll offsets. With a `CharBlockMode` other than `rdbmOff` the unlit dots are the
/// cells between raster lines of the background colour that run through the whole
/// control; `rdbmOn` also clears a strip one pitch wide between characters.
///
/// Colours: `ColorLabBakG` the background and raster lines, `ColorDotOn` the lit and
/// `ColorDotOff` the unlit dots; the frame's gray and white lines are 0x808080 and
/// 0xFFFFFF (button shadow and highlight with a `ColorScheme` other than 0), its
/// black line 0x000000. The control draws its own frames (`FrameStyle` 0 to 5).
///
/// Scrolling (`ScrollMode`, never in design mode): every `ScrollInterval` ms the
/// text moves by `ScrollIncrement` pixels. With `ScrollLoop`, a text that has left
/// the control on one side comes back entirely outside the opposite side and
/// `OnScrollLoopRestart` fires once for that wrap:
/// - `rdsmRight`: once the offset passes `Width`, it restarts at -`TextBitLength()`;
/// - `rdsmLeft`: once the text's end has passed the left edge (offset below
///   -`TextBitLength()`), it restarts at `Width`;
/// - `rdsmDown`: once the offset passes `Height`, it restarts at minus the text's
///   height (P x `FontHeight`); `rdsmUp`: the mirror, restarting at `Height`.
/// Without `ScrollLoop` the text moves on out of sight; the offsets saturate far
/// beyond any picture instead of overflowing.
///
/// A paint composes the whole picture in the control's off-screen buffer, which is
/// kept between paints (a scrolling label repaints up to a hundred times a second),
/// and copies it in one operation; it draws only the characters that reach into the
/// control. Settings the picture does not show are stored without a repaint: the
/// scroll settings, `ColorDotOff` without unlit dots, `ColorScheme` without a frame.
class NVO_EXPORT TRasterLab : public TControl
{
    Q_OBJECT
    /// The control's height follows the text's height in dots.
    Q_PROPERTY(bool AutoHeight READ GetAutoHeight WRITE SetAutoHeight)
    /// The text is centred horizontally; off, it starts at PosX = 1.
    Q_PROPERTY(bool AutoCenter READ GetAutoCenter WRITE SetAutoCenter)
    /// The ground and the raster lines.
    Q_PROPERTY(nvo::TColor ColorLabBakG READ GetColorLabBakG WRITE SetColorLabBakG)
    /// Lit dots.
    Q_PROPERTY(nvo::TColor ColorDotOn READ GetColorDotOn WRITE SetColorDotOn)
    /// Unlit dots of the character blocks.
    Q_PROPERTY(nvo::TColor ColorDotOff READ GetColorDotOff WRITE SetColorDotOff)
    /// The frame's line colours.
    Q_PROPERTY(nvo::TColorScheme ColorScheme READ GetColorScheme WRITE SetColorScheme)
    /// Gap between dots in pixels, 0..3.
    Q_PROPERTY(int DotSpacing READ GetDotSpacing WRITE SetDotSpacing)
    /// Size of a dot in pixels, 1..32.
    Q_PROPERTY(int DotSize READ GetDotSize WRITE SetDotSize)
    /// The frame around the label.
    Q_PROPERTY(nvo::TFrameStyle FrameStyle READ GetFrameStyle WRITE SetFrameStyle)
    /// Dot column of the text's first dot.
    Q_PROPERTY(int PosX READ GetPosX WRITE SetPosX)
    /// Dot row of the text's first dot.
    Q_PROPERTY(int PosY READ GetPosY WRITE SetPosY)
    /// Proportional character pitch instead of a fixed one.
    Q_PROPERTY(bool Proportional READ GetProportional WRITE SetProportional)
    /// Whether and which way the text scrolls.
    Q_PROPERTY(TRDScrollMode ScrollMode READ GetScrollMode WRITE SetScrollMode)
    /// Milliseconds between scroll steps, at least 10.
    Q_PROPERTY(int ScrollInterval READ GetScrollInterval WRITE SetScrollInterval)
    /// Dots per scroll step, at least 1.
    Q_PROPERTY(int ScrollIncrement READ GetScrollIncrement WRITE SetScrollIncrement)
    /// The scrolling text wraps around.
    Q_PROPERTY(bool ScrollLoop READ GetScrollLoop WRITE SetScrollLoop)
    /// What lies between the lit dots: background, or unlit dots (see TRDBlockMode).
    Q_PROPERTY(TRDBlockMode CharBlockMode READ GetCharBlockMode WRITE SetCharBlockMode)
    /// The text shown.
    Q_PROPERTY(QString Text READ GetText WRITE SetText NOTIFY TextChanged USER true)

public:
    /// What lies between the lit dots: nothing but background (`rdbmOff`), unlit dots
    /// with a background strip between characters (`rdbmOn`), or unlit dots
    /// everywhere (`rdbmRaster`).
    enum TRDBlockMode : quint8 { rdbmOff, rdbmOn, rdbmRaster };
    Q_ENUM(TRDBlockMode)
    enum TRDScrollMode : quint8 { rdsmOff, rdsmLeft, rdsmRight, rdsmDown, rdsmUp };
    Q_ENUM(TRDScrollMode)

    explicit TRasterLab(QWidget *parent = nullptr);
    ~TRasterLab() override;

    bool GetAutoHeight() const;
    void SetAutoHeight(bool autoHeight);
    bool GetAutoCenter() const;
    void SetAutoCenter(bool autoCenter);
    TColor GetColorLabBakG() const;
    void SetColorLabBakG(TColor color);
    TColor GetColorDotOn() const;
    void SetColorDotOn(TColor color);
    TColor GetColorDotOff() const;
    void SetColorDotOff(TColor color);
    int GetDotSpacing() const;
    void SetDotSpacing(int spacing);
    int GetDotSize() const;
    void SetDotSize(int size);
    TFrameStyle GetFrameStyle() const;
    void SetFrameStyle(TFrameStyle style);
    int GetPosX() const;
    void SetPosX(int posX);
    int GetPosY() const;
    void SetPosY(int posY);
    bool GetProportional() const;
    void SetProportional(bool proportional);
    TRDScrollMode GetScrollMode() const;
    void SetScrollMode(TRDScrollMode mode);
    int GetScrollInterval() const;
    void SetScrollInterval(int interval);
    int GetScrollIncrement() const;
    void SetScrollIncrement(int increment);
    bool GetScrollLoop() const;
    void SetScrollLoop(bool loop);
    TRDBlockMode GetCharBlockMode() const;
    void SetCharBlockMode(TRDBlockMode mode);
    QString GetText() const;
    void SetText(const QString &text);

    /// The bit font of `font` (see the free function of that name).
    static TRDCharMatrix CreateBitFont(const QFont *font) { return nvo::CreateBitFont(font); }
    /// The bit font in use.
    const TRDCharMatrix &CharMatrix() const;

    /// The pixel length of the text as last painted (0 before the first paint): the
    /// wrap of a scrolling text uses it.
    qint64 TextBitLength() const;
    /// The pixel length `text` would have now: pitch x its columns.
    qint64 CalcTextBitLength(const QString &text) const;
    qint64 ScrollPosX() const;
    qint64 ScrollPosY() const;

    /// One scroll step and `OnScrollTimer`, as a timer tick runs it.
    void DoTimer();
    bool TimerActive() const;
    int TimerInterval() const;

    /// Copies `FrameStyle`, `Text`, the colours `ColorLabBakG` and `ColorDotOn` and
    /// `ColorScheme` of another TRasterLab and repaints. Throws EConvertError for any
    /// other source, leaving this control unchanged.
    void Assign(const QObject *source);
    /// `dest->Assign(this)` for a TRasterLab; EConvertError for anything else.
    void AssignTo(QObject *dest) const;

    QSize sizeHint() const override { return QSize(400, 68); }
    /// Every dot row of the font and a square of them across, at the set dot size:
    /// dots are never shrunk, so a smaller cell would cut the text.
    QSize minimumSizeHint() const override;

    /// After each scroll step; assigning a handler restarts the timer (outside design
    /// mode).
    TTimerEvent<TNotifyEvent> OnScrollTimer;
    /// When a scrolling text wraps round.
    TNotifyEvent OnScrollLoopRestart;

Q_SIGNALS:
    void TextChanged(const QString &text);

protected:
    void Paint(TCanvas &canvas) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool ShowsColorScheme() const override;

private:
    struct Private;
    std::unique_ptr<Private> const d;
};

} // namespace nvo
