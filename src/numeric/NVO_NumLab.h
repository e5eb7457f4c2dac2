#pragma once

#include "NVO_Control.h"
#include "NVO_Corvane.h"

#include <QtCore/QString>

#include <functional>
#include <memory>

namespace nvo {

/// A passive display of one floating-point value in a framed value box, with an
/// optional text to its left and to its right, all on one line:
///
///     | left text area | value box                 | right text area |
///     0                LeftSpace    LeftSpace + LabelWidth           Width
///
/// The control formats `Value` by `DisplayType` and `Precision`, lets the
/// application rewrite that text in `OnBeforeDisplay`, replaces a text that does not
/// fit the box by `OverflowIndicator`, and paints. Every change the picture shows
/// repaints at once; a setting it does not show at the moment is only stored (the
/// value and its text settings of an `Empty` box, `StateText` outside `dtState`,
/// `DTFormat` outside `dtDateTime`, the alignment and colour of absent side texts,
/// `ColorScheme` for a frame without the white and gray line).
/// A paint composes the whole picture in the control's off-screen bitmap and copies
/// it onto the control in one operation, so a value that changes at a high rate does
/// not flicker. The bitmap is kept between paints (about 4 bytes per pixel of the
/// control) and remade when size, font or palette change.
///
/// Colours: the background outside the box is `ColorOutBakG`, the side texts
/// `ColorOutText`, the box `ColorLabBakG` and the value text `ColorLabText`. The
/// frame is `DrawFrame`'s in the 3-D colours white, silver, gray and black, where
/// the white and the gray line follow `ColorScheme`: with an ordinal other than 0
/// they become the button highlight and shadow of the palette. With visual styles on, the style's window, grid and panel text
/// colours and the system 3-D colours take their place. Disabled texts are drawn
/// engraved, also when only a parent is disabled.
///
/// Display texts (`DisplayType`, P = `Precision`; a text that needs an integer
/// shows `OverflowIndicator` when the value is not a number, infinite or outside
/// the 64-bit range, rather than an arbitrary number; a text that shows only zeros
/// carries no "-"):
/// - `dtFloat`: general form with at most P significant digits (P = 0 counts as 1):
///   fixed notation while the integer part has at most P digits and the magnitude is
///   at least 0.00001, scientific otherwise; trailing zeros and a trailing separator
///   removed; the scientific form writes the frame's short exponent ("1.5E20", "1E-6").
/// - `dtFixP`: fixed notation with exactly P decimals.
/// - `dtExp`: scientific with P significant digits (P = 0 counts as 1), "E", the
///   exponent's sign and at least three exponent digits: 1.23E+003.
/// - `dtInt`: the value rounded to an integer, exact halves to the even neighbour.
/// - `dtZeroInt`: like `dtInt`, zero-padded to at least P digits ("-007" for -7, P = 3).
/// - `dtHex`, `dtOct`, `dtBin`: the rounded integer in base 16 (upper case), 8 or 2,
///   at least P digits, a negative value as "-" and its magnitude: a fixed-width
///   two's complement would be 64 digits of little use on a label.
/// - `dtDateTime`: `Value` as a date-time (days since 1899-12-30, the fraction the
///   time of day) formatted by `DTFormat`; `OverflowIndicator` outside the years
///   1 to 9999.
/// - `dtState`: `StateText`, never replaced by the overflow indicator.
/// - `dtDeg`: degrees with P decimals and a degree sign: 12.50°.
/// - `dtDegMin`: whole degrees and minutes with P decimals: 12°30.00'.
/// - `dtDegMinSec`: whole degrees, whole minutes and seconds with P decimals: 12°30'15.00".
/// - `dtEEng`: engineering notation, P significant digits (P = 0 counts as 1), the
///   exponent a multiple of three and written like `dtExp`'s: 12.3E+003.
/// - `dtEEngNoDP`: engineering notation without decimal point: the mantissa rounded
///   to a whole number from 1 to 999: 12E+003 (P plays no part).
/// - any other ordinal: like `dtFixP`, the default display type.
/// A value that is not a number or infinite shows as "NAN", "INF" or "-INF" in the
/// floating display types. After formatting, every type except `dtHex`,
/// `dtDateTime`, `dtState` and `dtBin` gets the separator of `Comma` ("," or ".") and,
/// with `ForcePlusSign` and a value above 0, a leading "+".
class NVO_EXPORT TNumLab : public TControl
{
    Q_OBJECT
    /// The value shown in the value box.
    Q_PROPERTY(double Value READ GetValue WRITE SetValue NOTIFY ValueChanged USER true)
    /// How the value is written (see the class description).
    Q_PROPERTY(TDisplay DisplayType READ GetDisplayType WRITE SetDisplayType)
    /// Decimals or significant digits of the display type, 0..15.
    Q_PROPERTY(int Precision READ GetPrecision WRITE SetPrecision)
    /// "," instead of "." as the decimal separator.
    Q_PROPERTY(bool Comma READ GetComma WRITE SetComma)
    /// A "+" in front of positive values.
    Q_PROPERTY(bool ForcePlusSign READ GetForcePlusSign WRITE SetForcePlusSign)
    /// The value box drawn without a value text.
    Q_PROPERTY(bool Empty READ GetEmpty WRITE SetEmpty)
    /// Width of the left text's area, at most the control's width.
    Q_PROPERTY(int LeftSpace READ GetLeftSpace WRITE SetLeftSpace)
    /// Width of the value box.
    Q_PROPERTY(int LabelWidth READ GetLabelWidth WRITE SetLabelWidth)
    /// The text left of the value box.
    Q_PROPERTY(QString LeftText READ GetLeftText WRITE SetLeftText)
    /// The text right of the value box.
    Q_PROPERTY(QString RightText READ GetRightText WRITE SetRightText)
    /// Alignment of the left text in its area.
    Q_PROPERTY(nvo::TAlignment LeftTextAlignment READ GetLeftTextAlignment WRITE SetLeftTextAlignment)
    /// Alignment of the right text in its area.
    Q_PROPERTY(nvo::TAlignment RightTextAlignment READ GetRightTextAlignment WRITE SetRightTextAlignment)
    /// Alignment of the value text in the value box.
    Q_PROPERTY(nvo::TAlignment Alignment READ GetAlignment WRITE SetAlignment)
    /// Shown instead of a value text that does not fit or cannot be written.
    Q_PROPERTY(QString OverflowIndicator READ GetOverflowIndicator WRITE SetOverflowIndicator)
    /// The text of the state display type.
    Q_PROPERTY(QString StateText READ GetStateText WRITE SetStateText)
    /// The date and time format of the date-time display type.
    Q_PROPERTY(QString DTFormat READ GetDTFormat WRITE SetDTFormat)
    /// The frame of the value box.
    Q_PROPERTY(nvo::TFrameStyle FrameStyle READ GetFrameStyle WRITE SetFrameStyle)
    /// Background of the value box.
    Q_PROPERTY(nvo::TColor ColorLabBakG READ GetColorLabBakG WRITE SetColorLabBakG)
    /// Colour of the value text.
    Q_PROPERTY(nvo::TColor ColorLabText READ GetColorLabText WRITE SetColorLabText)
    /// Background outside the value box.
    Q_PROPERTY(nvo::TColor ColorOutBakG READ GetColorOutBakG WRITE SetColorOutBakG)
    /// Colour of the left and right texts.
    Q_PROPERTY(nvo::TColor ColorOutText READ GetColorOutText WRITE SetColorOutText)
    /// The frame's two line colours.
    Q_PROPERTY(nvo::TColorScheme ColorScheme READ GetColorScheme WRITE SetColorScheme)
    /// Nothing drawn outside the value box, so the parent shows through.
    Q_PROPERTY(bool Transparent READ GetTransparent WRITE SetTransparent)
    /// False greys the texts and takes no mouse.
    Q_PROPERTY(bool Enabled READ GetEnabled WRITE SetEnabled)
    /// Which area the mouse last moved over: 0 the left text, 1 the value box, 2 the right
    /// text.
    Q_PROPERTY(int MouseAreaCode READ GetMouseAreaCode DESIGNABLE false STORED false)

public:
    /// Display type of the value. Ordinals beyond `dtEEngNoDP` are stored as given
    /// (forms written by a later version may carry them) and display like `dtFixP`.
    enum TDisplay : quint8 {
        dtFloat, dtFixP, dtExp, dtHex, dtZeroInt, dtInt, dtDateTime, dtState, dtBin,
        dtOct, dtDeg, dtDegMin, dtDegMinSec, dtEEng, dtEEngNoDP
    };
    Q_ENUM(TDisplay)

    /// Lets the application rewrite the value text before it is measured and drawn.
    using TBeforeDisplayEvent = std::function<void(QObject *Sender, QString &Text)>;

    explicit TNumLab(QWidget *parent = nullptr);
    ~TNumLab() override;

    double GetValue() const;
    void SetValue(double value);
    TDisplay GetDisplayType() const;
    void SetDisplayType(TDisplay displayType);
    int GetPrecision() const;
    void SetPrecision(int precision);
    bool GetComma() const;
    void SetComma(bool comma);
    bool GetForcePlusSign() const;
    void SetForcePlusSign(bool forcePlusSign);
    bool GetEmpty() const;
    void SetEmpty(bool empty);
    int GetLeftSpace() const;
    void SetLeftSpace(int leftSpace);
    int GetLabelWidth() const;
    void SetLabelWidth(int labelWidth);
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
    QString GetOverflowIndicator() const;
    void SetOverflowIndicator(const QString &indicator);
    QString GetStateText() const;
    void SetStateText(const QString &text);
    QString GetDTFormat() const;
    void SetDTFormat(const QString &format);
    TFrameStyle GetFrameStyle() const;
    void SetFrameStyle(TFrameStyle style);
    TColor GetColorLabBakG() const;
    void SetColorLabBakG(TColor color);
    TColor GetColorLabText() const;
    void SetColorLabText(TColor color);
    TColor GetColorOutBakG() const;
    void SetColorOutBakG(TColor color);
    TColor GetColorOutText() const;
    void SetColorOutText(TColor color);
    // ColorScheme is the control base's: a paint takes the frame's white and gray
    // line from GrayLine() and WhiteLine(), so a new scheme needs nothing more here;
    // it repaints only where the frame shows it (ShowsColorScheme).
    bool GetTransparent() const;
    void SetTransparent(bool transparent);

    /// Which area the mouse last moved over: 0 the left text (including the column
    /// x = LeftSpace), 1 the value box, 2 the right text.
    int GetMouseAreaCode() const;

    /// The text the value box shows now, before `OnBeforeDisplay` and the overflow
    /// replacement.
    QString DisplayText() const;

    /// Copies the display settings of another TNumLab (not `Comma`, `ForcePlusSign`,
    /// `DTFormat`, `Enabled` or the events) and repaints. Throws EConvertError for any
    /// other source, leaving this control unchanged.
    void Assign(const QObject *source);
    /// `dest->Assign(this)` for a TNumLab; EConvertError for anything else.
    void AssignTo(QObject *dest) const;

    /// A single line: the layout keeps the hinted height (Fixed vertical policy), at
    /// least one line of the font; the width holds the left space, the value box
    /// and the right text.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    TBeforeDisplayEvent OnBeforeDisplay;

Q_SIGNALS:
    void ValueChanged(double value);

protected:
    void Paint(TCanvas &canvas) override;
    bool ShowsColorScheme() const override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    struct Private;
    std::unique_ptr<Private> const d;
};

/// What the value text depends on besides the value: the display settings of a TNumLab.
struct TNumLabFormat {
    TNumLab::TDisplay DisplayType = TNumLab::dtFixP;
    int Precision = 2;
    bool Comma = false;
    bool ForcePlusSign = false;
    QString OverflowIndicator = QStringLiteral("*********");
    QString StateText = QStringLiteral("undefined");
    QString DTFormat = QStringLiteral("mmm-dd, yyyy");
};

/// The value text of a TNumLab (see the class's list of display texts).
NVO_EXPORT QString FormatNumLabValue(double value, const TNumLabFormat &format);

} // namespace nvo
