#pragma once

#include "NVO_Bitmap.h"
#include "NVO_Canvas.h"
#include "NVO_Corvane.h"
#include "NVO_CorvaneDraw.h"
#include "NVO_Errors.h"

#include <QtWidgets/QWidget>

#include <functional>

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

/// Base of the owner-drawn controls. It gives them what every control shares:
/// the component name, design mode, the synchronous repaint of the setters with
/// painting suppression for bulk updates, the style elements, and a paint event
/// that hands a canvas to `Paint` inside the exception guard.
class NVO_EXPORT TControl : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(StyleElementFlags StyleElements READ GetStyleElements WRITE SetStyleElements)

public:
    enum StyleElement { seFont = 0x1, seClient = 0x2, seBorder = 0x4 };
    Q_DECLARE_FLAGS(StyleElementFlags, StyleElement)
    Q_FLAG(StyleElementFlags)

    explicit TControl(QWidget *parent = nullptr);
    ~TControl() override;

    StyleElementFlags GetStyleElements() const { return FStyleElements; }
    void SetStyleElements(StyleElementFlags elements);

    /// Styles are on and the control lets them colour its client area / its text.
    bool StyledClient() const;
    bool StyledFont() const;

    bool Designing() const { return IsDesigning(this); }

    /// Repaints at once unless painting is suppressed.
    void PaintNow();
    /// Suppresses painting until the matching EndUpdate, which repaints once.
    void BeginUpdate() { ++FUpdateDepth; }
    void EndUpdate();
    bool Updating() const { return FUpdateDepth > 0; }

    /// The mouse events every control publishes. A click is a left press and release
    /// inside the control; it comes before the release's OnMouseUp. A control that
    /// handles the mouse itself calls these handlers' base versions to keep them.
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

protected:
    /// The setter convention: compare, store, repaint at once; an equal value changes
    /// nothing and paints nothing.
    template<class T>
    void Change(T &field, const T &value)
    {
        if (field == value)
            return;
        field = value;
        PaintNow();
    }

    /// Draws the whole control on `canvas` (the widget's own surface).
    virtual void Paint(TCanvas &canvas) = 0;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

    /// An off-screen bitmap of the control's size, device pixel ratio, palette and font.
    TBitmap MakeBuffer() const { return TBitmap::ForWidget(this); }

private:
    StyleElementFlags FStyleElements = StyleElementFlags(seFont | seClient | seBorder);
    int FUpdateDepth = 0;
    bool FClickPending = false;
};

} // namespace nvo

Q_DECLARE_OPERATORS_FOR_FLAGS(nvo::TControl::StyleElementFlags)
