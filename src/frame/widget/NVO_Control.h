#pragma once

#include "NVO_Bitmap.h"
#include "NVO_Canvas.h"
#include "NVO_Corvane.h"
#include "NVO_CorvaneDraw.h"
#include "NVO_Errors.h"
#include "NVO_Events.h"

#include <QtCore/QMetaEnum>
#include <QtGui/QKeyEvent>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QAbstractScrollArea>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QTreeView>
#include <QtWidgets/QWidget>

#include <optional>
#include <type_traits>

class QFocusEvent;
class QMouseEvent;

namespace nvo {

/// Repaints `widget` at once (synchronously) when it is visible. Asked from inside
/// any paint, the repaint is deferred to the event loop instead: a paint never
/// re-enters a paint. Every setter that "repaints at once" goes through here.
NVO_EXPORT void RepaintNow(QWidget *widget);
/// True while any control of the library is painting.
NVO_EXPORT bool InsidePaint();

/// Marks the scope of one paint, so that repaint requests made meanwhile are deferred.
class NVO_EXPORT TPaintScope
{
public:
    TPaintScope();
    ~TPaintScope();
    TPaintScope(const TPaintScope &) = delete;
    TPaintScope &operator=(const TPaintScope &) = delete;
};

/// Design mode: a control placed on a form in Qt Designer. Timers stay off there.
NVO_EXPORT bool IsDesigning(const QObject *control);
NVO_EXPORT void SetDesigning(QObject *control, bool designing);

/// Return or the keypad's Enter: either one confirms.
inline bool IsEnterKey(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

/// Visual styles: when switched on (off by default), controls whose StyleElements
/// allow it take their colours from the application's style and palette instead of
/// their colour properties.
namespace StyleServices {
enum TStyleColor : quint8 { scWindow, scPanel, scGrid, scEdit, scButtonNormal };
enum TStyleFont : quint8 { sfPanelTextNormal, sfPanelTextDisabled, sfEditBoxTextNormal,
                           sfEditBoxTextDisabled, sfButtonTextNormal, sfButtonTextDisabled };
NVO_EXPORT bool Enabled();
NVO_EXPORT void SetEnabled(bool enabled);
/// The system colour `color` as the style paints it (plain colours unchanged).
NVO_EXPORT TColor GetSystemColor(TColor color, const QPalette &palette);
NVO_EXPORT TColor GetStyleColor(TStyleColor which, const QPalette &palette);
NVO_EXPORT TColor GetStyleFontColor(TStyleFont which, const QPalette &palette);
} // namespace StyleServices

/// What every control shares, whatever its Qt base class: the setter convention with
/// its synchronous repaint and painting suppression for bulk updates, the style
/// elements, the colour scheme of the controls that have one, a cached off-screen
/// buffer, design mode, and the focus, key and mouse events. `TControlBase` joins it
/// to a Qt widget class; the controls derive from one of the bases below.
class NVO_EXPORT TControlCore
{
public:
    TStyleElements GetStyleElements() const { return FStyleElements; }
    void SetStyleElements(TStyleElements elements);
    /// Styles are on and the control lets them colour its client area / its text.
    bool StyledClient() const;
    bool StyledFont() const;

    /// Ordinal 0 gives the fixed colours, any other the palette's (a control that
    /// publishes ColorScheme declares the property; the state lives here).
    TColorScheme GetColorScheme() const { return FColorScheme; }
    void SetColorScheme(TColorScheme scheme);
    /// The gray and the white frame line under the current colour scheme.
    TColor GrayLine() const { return GrayLineColor(FColorScheme); }
    TColor WhiteLine() const { return WhiteLineColor(FColorScheme); }

    bool Designing() const { return IsDesigning(FWidget); }

    /// The height one line of the control's font needs between 2-pixel frames with a
    /// pixel to spare: what a single-line control keeps in a layout at the least.
    int TextLineHeight() const;

    /// The control's own Enabled switch, which a control publishes as its `Enabled`
    /// property: the widget's own setting, read from Qt so that a direct
    /// QWidget::setEnabled is seen too. A disabled parent does not change it; painting
    /// shows the disabled look whenever the widget is disabled, also through a parent.
    bool GetEnabled() const { return !FWidget->testAttribute(Qt::WA_ForceDisabled); }
    void SetEnabled(bool enabled);

    /// Repaints at once unless painting is suppressed.
    void PaintNow();
    /// The same after a change of the values the control draws over the settled part
    /// of its picture (a needle's, a shown number's), which stays as it is.
    void PaintValuesNow();
    /// Asks the event loop for a repaint instead, unless painting is suppressed: for
    /// the few changes whose picture needs the parent painted first (a control that
    /// becomes transparent).
    void Invalidate();
    /// Suppresses painting until the matching EndUpdate, which repaints once.
    void BeginUpdate() { ++FUpdateDepth; }
    void EndUpdate();
    bool Updating() const { return FUpdateDepth > 0; }

    /// The mouse events. A click is a left press and release inside the control; it
    /// comes before the release's OnMouseUp.
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    /// Focus: OnEnter when the control gets the focus (before its first key), OnExit
    /// after the focus has left it.
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    /// Keys, in the order OnKeyDown, OnKeyPress (for keys that type a character),
    /// OnKeyUp. Handlers may change or swallow the key (see TKeyEvent, TKeyPressEvent).
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;

protected:
    explicit TControlCore(QWidget *widget);
    virtual ~TControlCore();
    TControlCore(const TControlCore &) = delete;
    TControlCore &operator=(const TControlCore &) = delete;

    /// The setter convention: compare, store, repaint at once; an equal value changes
    /// nothing and paints nothing.
    template<class T>
    void Change(T &field, const T &value)
    {
        Change(field, value, true);
    }
    /// The same for a setting the picture shows only at times (the text of another
    /// display mode, the alignment of an empty text): it repaints only when `shown`.
    template<class T>
    void Change(T &field, const T &value, bool shown)
    {
        if (field == value)
            return;
        field = value;
        FBufferStale = true;
        if (shown)
            PaintNow();
    }
    /// The setter of an enumerated property: a value outside the enumeration (a
    /// misspelt key in a form arrives as 255, a cast from a wrong number) is refused
    /// with a warning naming the control and the property, and stores nothing.
    template<class E>
    void ChangeEnum(E &field, E value, const char *property, bool shown = true)
    {
        if (AcceptsEnum(value, property))
            Change(field, value, shown);
    }
    /// The same check for a setter that does more than store and repaint.
    template<class E>
    bool AcceptsEnum(E value, const char *property) const
    {
        return IsEnumValue(QMetaEnum::fromType<E>(), int(value), property);
    }
    /// Whether `value` is one of `meta`'s; warns when it is not.
    bool IsEnumValue(const QMetaEnum &meta, int value, const char *property) const;
    /// Whether a left press and release that end at `pos` make a click (OnClick). A
    /// control that reacts only on a part of its surface narrows this.
    virtual bool ClickCounts(const QPoint &pos) const { return FWidget->rect().contains(pos); }
    /// Whether the picture shows the colour scheme. A control that draws its frame
    /// in fixed colours answers false: a new scheme is then stored without a paint.
    virtual bool ShowsColorScheme() const { return true; }

    /// The widget that shows the picture: the control itself, or a scroll area's viewport.
    virtual QWidget *PaintTarget() const { return FWidget; }
    /// An off-screen bitmap of the paint target's size, device pixel ratio, palette and
    /// font, kept between paints (so a high paint rate allocates nothing), made anew
    /// when the size or pixel ratio differ and dropped when the font, palette or style
    /// change. A resize event alone keeps it: Qt sends a widget never shown one with
    /// every grab. Its content is what the last paint left there.
    TBitmap &Buffer();
    void DropBuffer()
    {
        FBuffer = TBitmap();
        FBufferStale = true;
    }
    /// For a control that keeps the settled part of its picture between paints and
    /// draws only what its values show anew: whether that part must be drawn again.
    /// Every setting marks it so through the setter path (`Change`, `PaintNow`,
    /// `Invalidate`, an update bracket), and so do a new buffer, an enabled change
    /// and a switch of the styles; only `PaintValuesNow` leaves it current.
    /// `BufferPainted` says the paint has drawn it.
    bool BufferStale() const;
    void BufferPainted();

    // The event plumbing TControlBase calls from the Qt handlers.
    void FireMousePress(QMouseEvent *event);
    void FireMouseRelease(QMouseEvent *event);
    void FireMouseDoubleClick(QMouseEvent *event);
    void FireMouseMove(QMouseEvent *event);
    void FireEnter();
    void FireExit();
    /// Runs OnKeyDown and OnKeyPress over a key press. Returns no event when a handler
    /// swallowed the key, the event itself when nothing changed, and otherwise a
    /// replacement with the handlers' key and character in `replacement`.
    QKeyEvent *FilterKeyPress(QKeyEvent *event, std::optional<QKeyEvent> &replacement);
    /// Runs OnKeyUp; the same answers as FilterKeyPress.
    QKeyEvent *FilterKeyRelease(QKeyEvent *event, std::optional<QKeyEvent> &replacement);
    /// Buffer upkeep for the change events that alter what a paint looks like.
    void NoteChange(const QEvent *event);

private:
    QWidget *FWidget;
    TStyleElements FStyleElements = TStyleElements(seFont | seClient | seBorder);
    TColorScheme FColorScheme = csClassic;
    int FUpdateDepth = 0;
    bool FClickPending = false;
    TBitmap FBuffer;
    bool FBufferStale = true;
    /// Whether the styles were on when the buffer was last brought up to date: the
    /// switch is global and sends the widgets no event.
    bool FBufferStyled = false;
};

/// Joins TControlCore to the Qt widget class `QtBase`. Owner-drawn bases (a plain
/// widget, a scroll area, a button) get their paint events turned into `Paint` on a
/// canvas inside the exception guard; the others (line edit, combo box, tree view,
/// label) paint as Qt does and may override `Paint` only for the parts they draw
/// themselves. Every Qt event handler of the base runs inside the guard, so an
/// exception in an event handler reaches the application's handler, never Qt's loop.
template<class QtBase>
class TControlBase : public QtBase, public TControlCore
{
public:
    explicit TControlBase(QWidget *parent = nullptr) : QtBase(parent), TControlCore(this) {}

protected:
    /// A plain widget and a scroll area have no input handling of their own to keep
    /// (theirs would only pass the event on to the parent).
    static constexpr bool kOwnInput =
        !std::is_same_v<QtBase, QWidget> && !std::is_same_v<QtBase, QAbstractScrollArea>;
    static constexpr bool kOwnerDrawn = !kOwnInput || std::is_same_v<QtBase, QAbstractButton>;

    /// Draws the control on `canvas`, a canvas on the paint target.
    virtual void Paint(TCanvas &canvas) {}

    QWidget *PaintTarget() const override
    {
        if constexpr (std::is_base_of_v<QAbstractScrollArea, QtBase>)
            return QtBase::viewport();
        else
            return const_cast<TControlBase *>(this);
    }

    void paintEvent(QPaintEvent *event) override
    {
        TPaintScope scope;
        if constexpr (kOwnerDrawn) {
            Guarded([this] {
                TCanvas canvas(PaintTarget());
                Paint(canvas);
            });
        } else {
            Guarded([&] { QtBase::paintEvent(event); });
        }
    }

    void mousePressEvent(QMouseEvent *event) override
    {
        FireMousePress(event);
        if constexpr (kOwnInput)
            QtBase::mousePressEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        FireMouseRelease(event);
        if constexpr (kOwnInput)
            QtBase::mouseReleaseEvent(event);
    }
    void mouseDoubleClickEvent(QMouseEvent *event) override
    {
        FireMouseDoubleClick(event);
        if constexpr (kOwnInput)
            QtBase::mouseDoubleClickEvent(event);
    }
    void mouseMoveEvent(QMouseEvent *event) override
    {
        FireMouseMove(event);
        if constexpr (kOwnInput)
            QtBase::mouseMoveEvent(event);
    }
    void focusInEvent(QFocusEvent *event) override
    {
        QtBase::focusInEvent(event);
        FireEnter();
    }
    void focusOutEvent(QFocusEvent *event) override
    {
        QtBase::focusOutEvent(event);
        FireExit();
    }
    void keyPressEvent(QKeyEvent *event) override
    {
        std::optional<QKeyEvent> replacement;
        if (QKeyEvent *passed = FilterKeyPress(event, replacement))
            KeyPressed(passed);
    }
    void keyReleaseEvent(QKeyEvent *event) override
    {
        std::optional<QKeyEvent> replacement;
        if (QKeyEvent *passed = FilterKeyRelease(event, replacement))
            QtBase::keyReleaseEvent(passed);
    }
    /// A key press after the key events, perhaps changed by their handlers. A control
    /// with its own keyboard handling overrides this, not keyPressEvent.
    virtual void KeyPressed(QKeyEvent *event) { QtBase::keyPressEvent(event); }

    void changeEvent(QEvent *event) override
    {
        NoteChange(event);
        QtBase::changeEvent(event);
    }
};

/// Base of the owner-drawn controls on a plain widget.
class NVO_EXPORT TControl : public TControlBase<QWidget>
{
    Q_OBJECT
    /// The parts (text, ground, border) that take the application style's colours.
    Q_PROPERTY(nvo::TStyleElements StyleElements READ GetStyleElements WRITE SetStyleElements)

public:
    explicit TControl(QWidget *parent = nullptr);
    ~TControl() override;

protected:
    void Paint(TCanvas &canvas) override = 0;
};

/// Base of the owner-drawn controls that scroll (the grids): `Paint` draws on the
/// viewport, and the setters repaint the viewport.
class NVO_EXPORT TScrollControl : public TControlBase<QAbstractScrollArea>
{
    Q_OBJECT
    /// The parts (text, ground, border) that take the application style's colours.
    Q_PROPERTY(nvo::TStyleElements StyleElements READ GetStyleElements WRITE SetStyleElements)

public:
    explicit TScrollControl(QWidget *parent = nullptr);
    ~TScrollControl() override;
};

// The controls that keep the painting and input of a Qt widget (a line edit, a combo
// box, a tree view, a label) need no property of their own on the base: the base is
// used as it is.
using TEditControl = TControlBase<QLineEdit>;
using TComboControl = TControlBase<QComboBox>;
using TTreeControl = TControlBase<QTreeView>;
using TLabelControl = TControlBase<QLabel>;

/// Base of the owner-drawn controls that are buttons (checkable, auto-repeat, groups
/// come from QAbstractButton).
class NVO_EXPORT TButtonControl : public TControlBase<QAbstractButton>
{
    Q_OBJECT
    /// The parts (text, ground, border) that take the application style's colours.
    Q_PROPERTY(nvo::TStyleElements StyleElements READ GetStyleElements WRITE SetStyleElements)

public:
    explicit TButtonControl(QWidget *parent = nullptr);
    ~TButtonControl() override;
};

} // namespace nvo
