#include "NVO_Control.h"

#include <QtGui/QMouseEvent>
#include <QtGui/QPaintEvent>

namespace nvo {

namespace {
int gPaintDepth = 0;
bool gStylesEnabled = false;
constexpr char kDesigningProperty[] = "_nvo_designing";
} // namespace

TPaintScope::TPaintScope() { ++gPaintDepth; }
TPaintScope::~TPaintScope() { --gPaintDepth; }

bool InsidePaint() { return gPaintDepth > 0; }

void RepaintNow(QWidget *widget)
{
    if (!widget || !widget->isVisible())
        return;
    if (InsidePaint())
        widget->update();
    else
        widget->repaint();
}

bool IsDesigning(const QObject *control)
{
    return control && control->property(kDesigningProperty).toBool();
}

void SetDesigning(QObject *control, bool designing)
{
    if (control)
        control->setProperty(kDesigningProperty, designing);
}

namespace StyleServices {
bool Enabled() { return gStylesEnabled; }
void SetEnabled(bool enabled) { gStylesEnabled = enabled; }

TColor GetSystemColor(TColor color, const QPalette &palette)
{
    return ColorToRGB(color, palette);
}

TColor GetStyleColor(TStyleColor which, const QPalette &palette)
{
    switch (which) {
    case scWindow: return FromQColor(palette.color(QPalette::Window));
    case scPanel: return FromQColor(palette.color(QPalette::Window));
    case scGrid: return FromQColor(palette.color(QPalette::Base));
    case scEdit: return FromQColor(palette.color(QPalette::Base));
    case scButtonNormal: return FromQColor(palette.color(QPalette::Button));
    }
    return FromQColor(palette.color(QPalette::Window));
}

TColor GetStyleFontColor(TStyleFont which, const QPalette &palette)
{
    using P = QPalette;
    switch (which) {
    case sfPanelTextNormal: return FromQColor(palette.color(P::Active, P::WindowText));
    case sfPanelTextDisabled: return FromQColor(palette.color(P::Disabled, P::WindowText));
    case sfEditBoxTextNormal: return FromQColor(palette.color(P::Active, P::Text));
    case sfEditBoxTextDisabled: return FromQColor(palette.color(P::Disabled, P::Text));
    case sfButtonTextNormal: return FromQColor(palette.color(P::Active, P::ButtonText));
    case sfButtonTextDisabled: return FromQColor(palette.color(P::Disabled, P::ButtonText));
    }
    return FromQColor(palette.color(P::WindowText));
}
} // namespace StyleServices

TControl::TControl(QWidget *parent) : QWidget(parent) {}

TControl::~TControl() = default;

void TControl::SetStyleElements(StyleElementFlags elements)
{
    if (elements == FStyleElements)
        return;
    FStyleElements = elements;
    PaintNow();
}

bool TControl::StyledClient() const
{
    return StyleServices::Enabled() && FStyleElements.testFlag(seClient);
}

bool TControl::StyledFont() const
{
    return StyleServices::Enabled() && FStyleElements.testFlag(seFont);
}

void TControl::PaintNow()
{
    if (!Updating())
        RepaintNow(this);
}

void TControl::EndUpdate()
{
    if (FUpdateDepth > 0 && --FUpdateDepth == 0)
        PaintNow();
}

namespace {
void FireMouse(const TMouseEvent &handler, QObject *sender, const QMouseEvent *event)
{
    if (handler) {
        const QPoint p = event->position().toPoint();
        Guarded([&] { handler(sender, event->button(), event->modifiers(), p.x(), p.y()); });
    }
}
void FireNotify(const TNotifyEvent &handler, QObject *sender)
{
    if (handler)
        Guarded([&] { handler(sender); });
}
} // namespace

void TControl::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        FClickPending = true;
    FireMouse(OnMouseDown, this, event);
}

void TControl::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && FClickPending) {
        FClickPending = false;
        if (rect().contains(event->position().toPoint()))
            FireNotify(OnClick, this);
    }
    FireMouse(OnMouseUp, this, event);
}

void TControl::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a double click: a press for OnMouseDown, then the double click.
    FireMouse(OnMouseDown, this, event);
    if (event->button() == Qt::LeftButton)
        FireNotify(OnDblClick, this);
}

void TControl::mouseMoveEvent(QMouseEvent *event)
{
    if (OnMouseMove) {
        const QPoint p = event->position().toPoint();
        Guarded([&] { OnMouseMove(this, event->modifiers(), p.x(), p.y()); });
    }
}

void TControl::paintEvent(QPaintEvent *)
{
    TPaintScope scope;
    Guarded([this] {
        TCanvas canvas(this);
        Paint(canvas);
    });
}

} // namespace nvo
