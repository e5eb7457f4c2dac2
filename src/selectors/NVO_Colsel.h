#pragma once

#include "NVO_Control.h"
#include "NVO_Corvane.h"

#include <QtCore/QString>

#include <functional>
#include <memory>
#include <optional>

namespace nvo {

/// A drop-down list of colours: every entry shows a colour bar and the colour's name.
/// The list holds `NumColors` entries (1..47) of a table of 47: the application loads
/// one of four palettes of the base package's predefined colours or sets entries one
/// by one through `Colors`; `SelColor` is the colour of the selected entry. Entries
/// marked with `ColorEditAllowed` carry a small page symbol on their bar, and opening
/// the list while the mouse is over the bar lets the user choose a new colour for the
/// selected entry in a colour dialog (`ColorDialog`, which a test replaces).
///
/// An entry (rectangle L, T, R, B, right and bottom excluded):
///
///     | 3 | colour bar, ColorBarWidth wide, T + 2 .. B - 2 | 3 | name ...
///
/// The bar is filled with the entry's colour and outlined in black; the page symbol on
/// it is black on light colours and white on dark ones (weighted brightness
/// √(R² + 2G² + B²) / 2 above 180 counts as light). The name stands on the control's
/// `Color` (the palette's window background by default) in the palette's window text
/// colour, which is black on a light palette and stays readable on a dark one. The
/// rest of the entry shows the palette's highlight when the entry is the current one
/// of the open list, or the closed box has the focus. Disabled, the control draws
/// greys: a 0x808080 outline on a 0xC0C0C0 bar, 0x808080 text on 0xC0C0C0. The box
/// itself (frame, arrow) is the Qt style's. Nothing is cached: entries are drawn
/// from the table at every paint.
///
/// Names are made by `ColorToString`: the predefined name of a colour, else "$" and
/// its eight hexadecimal digits. Wherever the control names a colour it lets
/// `OnColorNameChange` rewrite the name first. A colour that `SelColor` or the dialog
/// brings in is named by its plain RGB value, so a system colour gets the hexadecimal
/// form of its current look.
///
/// Keyboard: as any combo box (arrows, Home, End, Page keys, the first letters of a
/// name, Alt+Down or F4 to open); choosing an entry with keys or the mouse fires
/// `OnClick` and `OnChange`.
class NVO_EXPORT TColSel : public TComboControl
{
    Q_OBJECT
    /// The colour of the selected entry; a colour not in the list is added to it.
    Q_PROPERTY(nvo::TColor SelColor READ GetSelColor WRITE SetSelColor NOTIFY SelColorChanged USER true)
    /// Number of entries in the list, 1..47.
    Q_PROPERTY(int NumColors READ GetNumColors WRITE SetNumColors)
    /// Width of the colour bar in front of each name, in pixels.
    Q_PROPERTY(int ColorBarWidth READ GetColorBarWidth WRITE SetColorBarWidth)
    /// The ground behind the names.
    Q_PROPERTY(nvo::TColor Color READ GetColor WRITE SetColor)
    /// Entries the open list shows without scrolling.
    Q_PROPERTY(int DropDownCount READ GetDropDownCount WRITE SetDropDownCount)
    /// False draws the control in greys and takes no mouse or keys.
    Q_PROPERTY(bool Enabled READ GetEnabled WRITE SetEnabled)
    /// The name of the selected entry; empty when none is selected.
    Q_PROPERTY(QString SelColorID READ GetSelColorID STORED false)

public:
    /// Lets the application rewrite the name an entry is about to get.
    using TOnColorNameChangeEvent = std::function<void(QObject *Sender, QString &ColorName)>;
    /// Asks the user for a colour, starting from `Initial`; no value when cancelled.
    using TColorDialogProvider = std::function<std::optional<TColor>(QWidget *Parent, TColor Initial)>;

    explicit TColSel(QWidget *parent = nullptr);
    ~TColSel() override;

    /// The colour of the selected entry. Setting a colour selects the first entry with
    /// the same RGB value (a system colour compares by its current look); when no entry
    /// has it, the selected entry takes the colour and its RGB name.
    TColor GetSelColor() const;
    void SetSelColor(TColor color);
    /// Entries in the list, 1..47 (other values are ignored); a new count selects the
    /// first entry. The colours beyond the count are kept.
    int GetNumColors() const;
    void SetNumColors(int numColors);
    /// Width of the colour bar in pixels; 0 shows no bar. Negative values are ignored.
    int GetColorBarWidth() const;
    void SetColorBarWidth(int width);
    /// The ground of the entries' names.
    TColor GetColor() const;
    void SetColor(TColor color);
    /// The entries the open list shows without scrolling (QComboBox::maxVisibleItems).
    int GetDropDownCount() const;
    void SetDropDownCount(int count);
    /// The name of the selected entry; "" when the list has no current item.
    QString GetSelColorID() const;

    /// Colour of entry `Index` (1-based); 0 outside 1..NumColors. Writing (inside the
    /// range only) renames the entry by `ColorToString` of the new colour.
    TColor GetColors(int Index) const;
    void SetColors(int Index, TColor color);
    /// Name of entry `Index`; "" outside 1..NumColors. Writing (inside the range only,
    /// so no entry beyond the list is named) passes the name through
    /// `OnColorNameChange` like every other naming, then shows it at once.
    QString GetColorNames(int Index) const;
    void SetColorNames(int Index, const QString &name);
    /// Whether the user may change entry `Index` in the colour dialog; false outside
    /// 1..NumColors, where writing changes nothing.
    bool GetColorEditAllowed(int Index) const;
    void SetColorEditAllowed(int Index, bool allowed);
    /// All 47 edit flags on / off.
    void SetAllColorEditFlags();
    void ResetAllColorEditFlags();

    /// The palette loaders fill the first entries from the predefined colours, name
    /// them, set `NumColors` and select the first entry; edit flags stay as they are.
    /// Predefined 1..16 (NumColors 16).
    void LoadBasicVGAPalette();
    /// Predefined 1..20 (NumColors 20).
    void LoadExtendedPalette();
    /// Predefined 1..47 (NumColors 47).
    void LoadStandardPalette();
    /// Predefined 21..47, the system colours, as entries 1..27 (NumColors 27).
    void LoadWindowsSystemPalette();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    /// Opens the colour dialog first when the mouse is over the bar of an editable
    /// selected entry, then fires OnDropDown and opens the list.
    void showPopup() override;

    TOnColorNameChangeEvent OnColorNameChange;
    /// The user chose an entry (after OnClick), with the mouse or a key.
    TNotifyEvent OnChange;
    /// The list is about to open.
    TNotifyEvent OnDropDown;
    /// The colour dialog; by default a QColorDialog. Tests put a stand-in here.
    TColorDialogProvider ColorDialog;

Q_SIGNALS:
    void SelColorChanged(nvo::TColor color);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    struct Private;
    class TItemDelegate;
    std::unique_ptr<Private> const d;
};

/// Whether the page symbol on a bar of the plain RGB colour `rgb` is drawn black
/// (true) rather than white: the weighted brightness √(R² + 2G² + B²) / 2 is above 180.
NVO_EXPORT bool IsLightColor(TColor rgb);

} // namespace nvo
