#pragma once

#include "NVO_Bitmap.h"
#include "NVO_Control.h"
#include "NVO_Corvane.h"

#include <QtCore/QString>

#include <array>
#include <memory>

namespace nvo {

/// The on/off button's own error: a user picture that cannot be used.
NVO_DECLARE_EXCEPTION(ENVOOnOffBut, Exception);

/// The four pictures of one style, indexed by state: 2 * on + enabled (0 off and
/// disabled, 1 off and enabled, 2 on and disabled, 3 on and enabled).
using TOnOffPictures = std::array<QImage, 4>;

/// The key colour of the style sheets: pixels of it are background.
inline constexpr TColor kOnOffKeyColor = 0xEBBEEB;

/// Cuts a style sheet into its four state pictures. The sheet holds them in a 2 x 2
/// grid of equal cells: top left on & enabled, top right off & enabled, bottom left
/// on & disabled, bottom right off & disabled. Pixels of `kOnOffKeyColor` become fully
/// transparent, so a paint needs no per-pixel work. A sheet smaller than 2 x 2 gives
/// no pictures (all null).
NVO_EXPORT TOnOffPictures CutOnOffSheet(const QImage &sheet);

/// Where the glyph and the four texts of an on/off button lie: pure geometry of the
/// control's size, spaces, glyph size, text sizes and alignments.
struct NVO_EXPORT TOnOffLayout {
    int Width = 0, Height = 0;
    int LeftSpace = 0, TopSpace = 0;
    int GlyphWidth = 0, GlyphHeight = 0;
    int TextHeight = 0;

    /// The glyph's rectangle: one pixel right of and below (LeftSpace, TopSpace).
    QRect Glyph() const { return QRect(LeftSpace + 1, TopSpace + 1, GlyphWidth, GlyphHeight); }
    /// Whether (x, y) lies strictly inside the glyph area (its edges do not count).
    bool InGlyph(int x, int y) const;
    /// Top-left corners of a text of width `textWidth` beside, above and below the glyph.
    QPoint LeftText(int textWidth, TAlignment alignment) const;
    QPoint RightText(int textWidth, TAlignment alignment) const;
    QPoint TopText(int textWidth, TAlignment alignment) const;
    QPoint BottomText(int textWidth, TAlignment alignment) const;
};

/// A two-state picture button: a glyph that shows on or off (check box, radio button,
/// slide switches, lamps, arrows, a pedestrian light, smileys, a bulb, an illuminated
/// key, rockers, five symbols, or the application's own pictures), optional texts
/// left, right, above and below it, and a frame. Buttons of one parent with the same
/// non-zero `GroupIndex` behave as radio buttons: at most one is on, and with
/// `AllowAllOff` false exactly one stays on. In `oobmSpeedBut` mode the button is on
/// only while it is pressed. Space switches it as a press on the glyph does (unless
/// `MouseAction` is `oomaNone`: an indicator takes no focus).
///
/// Paints with `ColorBackgnd` (default the palette's button face) behind everything
/// unless `Transparent`, then the parent shows through; texts in `ColorText`, or
/// engraved in white and gray when disabled (also through a disabled parent). The
/// frame's gray and white lines follow `ColorScheme`. Under visual styles (when
/// `StyleElements` allow them) the background is the palette's button colour and the
/// texts its button text colour, so a dark palette stays readable. Style pictures are loaded from
/// the library's resources once per style change and kept with their background
/// already transparent, so a paint only fills, writes and copies.
class NVO_EXPORT TOnOffBut : public TButtonControl
{
    Q_OBJECT
    /// The button's state: on or off.
    Q_PROPERTY(bool OnOff READ GetOnOff WRITE SetOnOff NOTIFY OnOffChanged USER true)
    /// The look of the switch: one of the built-in pictures, or the user's own.
    Q_PROPERTY(TOnOffButStyle ButtonStyle READ GetButtonStyle WRITE SetButtonStyle)
    /// Whether a press toggles the button or it is on only while pressed.
    Q_PROPERTY(TOOButMode Mode READ GetMode WRITE SetMode)
    /// Where a press switches the button: nowhere, on the glyph only, or anywhere.
    Q_PROPERTY(TOOButMouseAction MouseAction READ GetMouseAction WRITE SetMouseAction)
    /// Buttons of one parent with the same non-zero index form a group in which at most one
    /// is on.
    Q_PROPERTY(int GroupIndex READ GetGroupIndex WRITE SetGroupIndex)
    /// A group may have all its buttons off.
    Q_PROPERTY(bool AllowAllOff READ GetAllowAllOff WRITE SetAllowAllOff)
    /// The glyph kept in the control's centre.
    Q_PROPERTY(bool AutoCenter READ GetAutoCenter WRITE SetAutoCenter)
    /// Distance of the glyph from the left edge, at most the width; ignored under
    /// AutoCenter.
    Q_PROPERTY(int LeftSpace READ GetLeftSpace WRITE SetLeftSpace)
    /// Distance of the glyph from the top edge, at most the height; ignored under
    /// AutoCenter.
    Q_PROPERTY(int TopSpace READ GetTopSpace WRITE SetTopSpace)
    /// The text left of the glyph.
    Q_PROPERTY(QString LeftText READ GetLeftText WRITE SetLeftText)
    /// The text right of the glyph.
    Q_PROPERTY(QString RightText READ GetRightText WRITE SetRightText)
    /// The text above the glyph.
    Q_PROPERTY(QString TopText READ GetTopText WRITE SetTopText)
    /// The text below the glyph.
    Q_PROPERTY(QString BottomText READ GetBottomText WRITE SetBottomText)
    /// Alignment of the left text in its area.
    Q_PROPERTY(nvo::TAlignment LeftTextAlignment READ GetLeftTextAlignment WRITE SetLeftTextAlignment)
    /// Alignment of the right text in its area.
    Q_PROPERTY(nvo::TAlignment RightTextAlignment READ GetRightTextAlignment WRITE SetRightTextAlignment)
    /// Alignment of the top text in its area.
    Q_PROPERTY(nvo::TAlignment TopTextAlignment READ GetTopTextAlignment WRITE SetTopTextAlignment)
    /// Alignment of the bottom text in its area.
    Q_PROPERTY(nvo::TAlignment BottomTextAlignment READ GetBottomTextAlignment WRITE SetBottomTextAlignment)
    /// Colour of the texts.
    Q_PROPERTY(nvo::TColor ColorText READ GetColorText WRITE SetColorText)
    /// The ground behind the glyph and the texts.
    Q_PROPERTY(nvo::TColor ColorBackgnd READ GetColorBackgnd WRITE SetColorBackgnd)
    /// The frame around the control.
    Q_PROPERTY(nvo::TFrameStyle FrameStyle READ GetFrameStyle WRITE SetFrameStyle)
    /// The frame's two line colours.
    Q_PROPERTY(nvo::TColorScheme ColorScheme READ GetColorScheme WRITE SetColorScheme)
    /// No ground drawn, so the parent shows through.
    Q_PROPERTY(bool Transparent READ GetTransparent WRITE SetTransparent)
    /// False shows the disabled pictures and engraved texts, and takes no mouse or keys.
    Q_PROPERTY(bool Enabled READ GetEnabled WRITE SetEnabled)

public:
    enum TOnOffButStyle : quint8 {
        oobsUser, oobsCheckbox, oobsRadioBut, oobsSlideTB, oobsSlideLR, oobsColSlideTB,
        oobsColSlideLR, oobsLedRedGreen, oobsArrowTopRgt, oobsArrowUpDown, oobsArrowLeftRight,
        oobsTrafficLPed, oobsBeveledLed, oobsSmileyYellow, oobsSmileyRedGrn, oobsBulb,
        oobsButLamp, oobsHDLeft, oobsHDRight, oobsUser1, oobsUser2, oobsUser3, oobsUser4,
        oobsUser5,
    };
    Q_ENUM(TOnOffButStyle)
    enum TOOButMode : quint8 {
        oobmNormalBut, ///< each press toggles
        oobmSpeedBut,  ///< on while pressed
    };
    Q_ENUM(TOOButMode)
    enum TOOButMouseAction : quint8 {
        oomaNone,    ///< the mouse does not switch
        oomaFocused, ///< only a press on the glyph switches
        oomaPlain,   ///< a press anywhere on the control switches
    };
    Q_ENUM(TOOButMouseAction)

    /// The resource name of a style's sheet ("CHECKBOX", ...); empty for oobsUser.
    static QString StyleResourceName(TOnOffButStyle style);

    explicit TOnOffBut(QWidget *parent = nullptr);
    ~TOnOffBut() override;

    bool GetOnOff() const;
    /// A grouped button that is on cannot be switched off while AllowAllOff is false.
    /// Switching on switches the other members of the group off.
    void SetOnOff(bool on);
    TOnOffButStyle GetButtonStyle() const;
    void SetButtonStyle(TOnOffButStyle style);
    TOOButMode GetMode() const;
    /// Speed mode also switches the button off.
    void SetMode(TOOButMode mode);
    TOOButMouseAction GetMouseAction() const;
    void SetMouseAction(TOOButMouseAction action);
    int GetGroupIndex() const;
    void SetGroupIndex(int index);
    bool GetAllowAllOff() const;
    /// The whole group takes the new setting.
    void SetAllowAllOff(bool allow);
    bool GetAutoCenter() const;
    void SetAutoCenter(bool autoCenter);
    int GetLeftSpace() const;
    /// Negative values are ignored, larger ones than the width become the width; with
    /// AutoCenter the glyph stays centred instead.
    void SetLeftSpace(int space);
    int GetTopSpace() const;
    void SetTopSpace(int space);
    QString GetLeftText() const;
    void SetLeftText(const QString &text);
    QString GetRightText() const;
    void SetRightText(const QString &text);
    QString GetTopText() const;
    void SetTopText(const QString &text);
    QString GetBottomText() const;
    void SetBottomText(const QString &text);
    TAlignment GetLeftTextAlignment() const;
    void SetLeftTextAlignment(TAlignment alignment);
    TAlignment GetRightTextAlignment() const;
    void SetRightTextAlignment(TAlignment alignment);
    TAlignment GetTopTextAlignment() const;
    void SetTopTextAlignment(TAlignment alignment);
    TAlignment GetBottomTextAlignment() const;
    void SetBottomTextAlignment(TAlignment alignment);
    TColor GetColorText() const;
    void SetColorText(TColor color);
    TColor GetColorBackgnd() const;
    void SetColorBackgnd(TColor color);
    TFrameStyle GetFrameStyle() const;
    void SetFrameStyle(TFrameStyle style);
    bool GetTransparent() const;
    void SetTransparent(bool transparent);

    /// The size of one state picture of the current style.
    QSize GlyphSize() const;
    /// The picture the button shows now (state 2 * on + enabled).
    const QImage &CurrentPicture() const;

    /// The pictures of oobsUser from a sheet in memory, laid out as the style sheets
    /// are (2 x 2: on & enabled, off & enabled / on & disabled, off & disabled; the
    /// key colour 0xEBBEEB is background). The glyph size becomes the sheet's half.
    /// A null or too small sheet (below 2 x 2) raises ENVOOnOffBut and keeps the
    /// previous pictures.
    void SetUserGlyph(const QImage &sheet);
    /// The same from an image file; a file that cannot be read raises ENVOOnOffBut.
    void LoadUserGlyph(const QString &fileName);

    /// Copies the settings, the user pictures and the state of another on/off button.
    void Assign(const QObject *source);
    void AssignTo(QObject *dest) const;

    /// After every change of OnOff, whatever switched it (a click, a key, a setter,
    /// another member of the group).
    TNotifyEvent OnChange;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    void OnOffChanged(bool on);

protected:
    void Paint(TCanvas &canvas) override;
    bool ClickCounts(const QPoint &pos) const override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void KeyPressed(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct Private;
    std::unique_ptr<Private> const d;
};

} // namespace nvo
