#pragma once

#include "NVO_Control.h"
#include "NVO_Corvane.h"
#include "NVO_CorvaneDraw.h"

#include <QtCore/QPoint>
#include <QtCore/QSize>

#include <array>
#include <functional>
#include <memory>

namespace nvo {

/// Where the symbols of a marker selector stand: the cell size and every shown
/// symbol's reference point. The shown symbols take the cells in the order of their
/// numbers, row by row; a hidden symbol takes no cell, and symbols beyond the last
/// row are still placed (below the visible area).
struct TMarkLayout {
    int DistHorz = 0;   ///< cell width: (Width - 4) / columns
    int DistVert = 0;   ///< cell height: (Height - 4) / rows
    int MarginHorz = 0; ///< half the cell width
    int MarginVert = 0; ///< half the cell height
    std::array<bool, NrOfMarks> Shown{};
    /// The reference point of each shown symbol: (MarginHorz + DistHorz * column,
    /// MarginVert + DistVert * row). The symbol itself is centred 2 pixels right of and
    /// below it.
    std::array<QPoint, NrOfMarks> Coords{};
};

/// The layout for a control of `size` with a grid of `columns` x `rows` (both at
/// least 1) and the symbols `visible` shows.
NVO_EXPORT TMarkLayout MarkSelLayout(QSize size, int columns, int rows,
                                     const std::array<bool, NrOfMarks> &visible);
/// The shown symbol whose reference point is nearest to `point` (squared distance);
/// of two at the same distance the lower number. 0 when no symbol is shown.
NVO_EXPORT int NearestMark(const TMarkLayout &layout, QPoint point);

/// The base package's 52 marker symbols in a grid of cells, for picking one with the
/// mouse or the keyboard. The symbol nearest to the mouse is highlighted while the
/// mouse is over the control; a click selects it. Symbol 0 can be shown as a cross
/// over its cell instead of its own shape, and every other symbol can be hidden.
///
/// Colours: the ground `ColorBackGnd`, the symbols `ColorMarks`; the selected symbol's
/// cell is outlined in `ColorSelFG` and filled with `ColorSelBG`, its symbol drawn in
/// `ColorSelFG`; the highlighted cell is `ColorHiLiteBG` with its symbol in
/// `ColorHiLiteSymbol`. The outer frame is `DrawFrame`'s in white, silver, gray and
/// black, with `ColorMarks` as the single line's colour. Disabled (also through a
/// disabled parent), the control paints in greys: 0x808080 symbols and selection
/// outline on 0xC0C0C0, the selected cell filled with 0xDEDEDE; a disabled control
/// gets no mouse, so no highlight shows then.
///
/// The layout is computed from the current size and settings whenever it is needed
/// (every paint, every mouse or key event), never kept. Each paint composes the whole
/// picture in the control base's kept off-screen bitmap (about 4 bytes per pixel) and
/// copies it onto the control in one operation, then fires `OnPaint`.
///
/// Keyboard: the arrow keys move the selection through the shown symbols (left and
/// right by one, up and down by a row), Home and End to the first and last; Enter,
/// Return and Space choose the selected symbol, firing `OnMarkClick` with its
/// reference point.
class NVO_EXPORT TMarkSel : public TControl
{
    Q_OBJECT
    /// The selected symbol, 0..51, or -1 for none; other values are ignored.
    Q_PROPERTY(int Selected READ GetSelected WRITE SetSelected NOTIFY SelectedChanged USER true)
    /// Columns of the symbol grid, at least 1.
    Q_PROPERTY(int NrOfColumns READ GetNrOfColumns WRITE SetNrOfColumns)
    /// Rows of the symbol grid, at least 1.
    Q_PROPERTY(int NrOfRows READ GetNrOfRows WRITE SetNrOfRows)
    /// The ground behind the symbols.
    Q_PROPERTY(nvo::TColor ColorBackGnd READ GetColorBackGnd WRITE SetColorBackGnd)
    /// The symbols, and the single line of a one-line frame.
    Q_PROPERTY(nvo::TColor ColorMarks READ GetColorMarks WRITE SetColorMarks)
    /// The cell under the mouse.
    Q_PROPERTY(nvo::TColor ColorHiLiteBG READ GetColorHiLiteBG WRITE SetColorHiLiteBG)
    /// The symbol under the mouse.
    Q_PROPERTY(nvo::TColor ColorHiLiteSymbol READ GetColorHiLiteSymbol WRITE SetColorHiLiteSymbol)
    /// The selected symbol's cell.
    Q_PROPERTY(nvo::TColor ColorSelBG READ GetColorSelBG WRITE SetColorSelBG)
    /// The selected symbol and its cell's outline.
    Q_PROPERTY(nvo::TColor ColorSelFG READ GetColorSelFG WRITE SetColorSelFG)
    /// The outer frame.
    Q_PROPERTY(nvo::TFrameStyle FrameStyle READ GetFrameStyle WRITE SetFrameStyle)
    /// Symbol 0 drawn as a cross over its cell instead of its own shape.
    Q_PROPERTY(bool ShowZeroAsCross READ GetShowZeroAsCross WRITE SetShowZeroAsCross)
    /// False paints the control in greys and takes no mouse or keys.
    Q_PROPERTY(bool Enabled READ GetEnabled WRITE SetEnabled)

public:
    /// A symbol was clicked or chosen: the mouse position (or the symbol's reference
    /// point when chosen by key) and the symbol's number.
    using TMarkClickEvent = std::function<void(QObject *Sender, int X, int Y, int Mark)>;

    explicit TMarkSel(QWidget *parent = nullptr);
    ~TMarkSel() override;

    /// The selected symbol, -1 for none; values outside -1..51 are ignored.
    int GetSelected() const;
    void SetSelected(int selected);
    /// The grid, 1..51 columns and rows (other values are ignored), 8 x 6 by default.
    int GetNrOfColumns() const;
    void SetNrOfColumns(int columns);
    int GetNrOfRows() const;
    void SetNrOfRows(int rows);
    TColor GetColorBackGnd() const;
    void SetColorBackGnd(TColor color);
    TColor GetColorMarks() const;
    void SetColorMarks(TColor color);
    TColor GetColorHiLiteBG() const;
    void SetColorHiLiteBG(TColor color);
    TColor GetColorHiLiteSymbol() const;
    void SetColorHiLiteSymbol(TColor color);
    TColor GetColorSelBG() const;
    void SetColorSelBG(TColor color);
    TColor GetColorSelFG() const;
    void SetColorSelFG(TColor color);
    /// The outer frame; fsEngraved by default. Ordinals beyond fsEngraved are refused.
    TFrameStyle GetFrameStyle() const;
    void SetFrameStyle(TFrameStyle style);
    bool GetShowZeroAsCross() const;
    void SetShowZeroAsCross(bool cross);

    /// Whether symbol `Index` is shown; an index outside 0..51 reads symbol 0's state
    /// (always true). Writing is accepted for 1..51 only: symbol 0 cannot be hidden.
    bool GetMarkVisible(int Index) const;
    void SetMarkVisible(int Index, bool visible);
    /// Symbols 1..51 shown / hidden.
    void ShowAllMarks();
    void HideAllMarks();

    /// The layout at the control's current size and settings.
    TMarkLayout Layout() const;
    /// The symbol the mouse highlights, -1 while the mouse is not over the control.
    int HighlightedMark() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    TMarkClickEvent OnMarkClick;
    TMarkClickEvent OnMarkDblClick;
    /// After every paint.
    TNotifyEvent OnPaint;

Q_SIGNALS:
    void SelectedChanged(int selected);

protected:
    void Paint(TCanvas &canvas) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void KeyPressed(QKeyEvent *event) override;

private:
    struct Private;
    std::unique_ptr<Private> const d;
};

} // namespace nvo
