#include "NVO_Control.h"

#include <QtGui/QFontMetrics>

#include <QtGui/QKeyEvent>
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

TControlCore::TControlCore(QWidget *widget) : FWidget(widget) {}

TControlCore::~TControlCore() = default;

void TControlCore::SetStyleElements(TStyleElements elements)
{
    Change(FStyleElements, elements);
}

bool TControlCore::StyledClient() const
{
    return StyleServices::Enabled() && FStyleElements.testFlag(seClient);
}

bool TControlCore::StyledFont() const
{
    return StyleServices::Enabled() && FStyleElements.testFlag(seFont);
}

void TControlCore::SetColorScheme(TColorScheme scheme)
{
    ChangeEnum(FColorScheme, scheme, "ColorScheme", ShowsColorScheme());
}

bool TControlCore::IsEnumValue(const QMetaEnum &meta, int value, const char *property) const
{
    if (meta.valueToKey(value))
        return true;
    qWarning("%s \"%s\": %d is no value of %s; %s stays as it was",
             FWidget->metaObject()->className(), qPrintable(FWidget->objectName()), value,
             meta.name(), property);
    return false;
}

int TControlCore::TextLineHeight() const { return QFontMetrics(FWidget->font()).height() + 6; }

void TControlCore::SetEnabled(bool enabled)
{
    if (enabled == GetEnabled())
        return;
    FWidget->setEnabled(enabled);
    PaintNow();
}

void TControlCore::PaintNow()
{
    FBufferStale = true;
    PaintValuesNow();
}

void TControlCore::PaintValuesNow()
{
    if (!Updating())
        RepaintNow(PaintTarget());
}

void TControlCore::Invalidate()
{
    FBufferStale = true;
    if (!Updating())
        PaintTarget()->update();
}

void TControlCore::EndUpdate()
{
    if (FUpdateDepth > 0 && --FUpdateDepth == 0) {
        // A bracket is for settings written all at once, past the setters.
        FBufferStale = true;
        PaintNow();
    }
}

TBitmap &TControlCore::Buffer()
{
    const QWidget *target = PaintTarget();
    if (FBuffer.Width() != target->width() || FBuffer.Height() != target->height()
        || FBuffer.DevicePixelRatio() != target->devicePixelRatioF()) {
        FBuffer = TBitmap::ForWidget(target);
        FBufferStale = true;
    }
    return FBuffer;
}

bool TControlCore::BufferStale() const
{
    return FBufferStale || FBufferStyled != StyleServices::Enabled();
}

void TControlCore::BufferPainted()
{
    FBufferStale = false;
    FBufferStyled = StyleServices::Enabled();
}

void TControlCore::NoteChange(const QEvent *event)
{
    switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
        // The buffer's canvas draws with the font and palette it was made with.
        DropBuffer();
        break;
    case QEvent::EnabledChange:
        // The disabled look, also when a parent is disabled.
        FBufferStale = true;
        break;
    default:
        break;
    }
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

/// Runs a key handler on the event's key. Null when it swallowed the key, the event
/// when it kept it, else a replacement event carrying the new key.
QKeyEvent *FilterKey(const TKeyEvent &handler, QObject *sender, QKeyEvent *event,
                     std::optional<QKeyEvent> &replacement)
{
    if (!handler)
        return event;
    int key = event->key();
    Guarded([&] { handler(sender, key, event->modifiers()); });
    if (key == 0)
        return nullptr;
    if (key == event->key())
        return event;
    replacement.emplace(event->type(), key, event->modifiers(), event->text(),
                        event->isAutoRepeat(), ushort(event->count()));
    return &*replacement;
}
} // namespace

void TControlCore::FireMousePress(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        FClickPending = true;
    FireMouse(OnMouseDown, FWidget, event);
}

void TControlCore::FireMouseRelease(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && FClickPending) {
        FClickPending = false;
        if (ClickCounts(event->position().toPoint()))
            FireNotify(OnClick, FWidget);
    }
    FireMouse(OnMouseUp, FWidget, event);
}

void TControlCore::FireMouseDoubleClick(QMouseEvent *event)
{
    // The second press of a double click: a press for OnMouseDown, then the double click.
    FireMouse(OnMouseDown, FWidget, event);
    if (event->button() == Qt::LeftButton)
        FireNotify(OnDblClick, FWidget);
}

void TControlCore::FireMouseMove(QMouseEvent *event)
{
    if (OnMouseMove) {
        const QPoint p = event->position().toPoint();
        Guarded([&] { OnMouseMove(FWidget, event->modifiers(), p.x(), p.y()); });
    }
}

void TControlCore::FireEnter()
{
    FireNotify(OnEnter, FWidget);
}

void TControlCore::FireExit()
{
    FireNotify(OnExit, FWidget);
}

QKeyEvent *TControlCore::FilterKeyPress(QKeyEvent *event, std::optional<QKeyEvent> &replacement)
{
    QKeyEvent *passed = FilterKey(OnKeyDown, FWidget, event, replacement);
    if (!passed || !OnKeyPress || passed->text().size() != 1)
        return passed;
    QChar typed = passed->text().front();
    Guarded([&] { OnKeyPress(FWidget, typed); });
    if (typed.isNull())
        return nullptr;
    if (typed == passed->text().front())
        return passed;
    // The control sees the typed character the handler chose, under the same key.
    const QEvent::Type type = passed->type();
    const int key = passed->key();
    const Qt::KeyboardModifiers modifiers = passed->modifiers();
    const bool autoRepeat = passed->isAutoRepeat();
    const ushort count = ushort(passed->count());
    replacement.emplace(type, key, modifiers, QString(typed), autoRepeat, count);
    return &*replacement;
}

QKeyEvent *TControlCore::FilterKeyRelease(QKeyEvent *event, std::optional<QKeyEvent> &replacement)
{
    return FilterKey(OnKeyUp, FWidget, event, replacement);
}

TControl::TControl(QWidget *parent) : TControlBase(parent) {}
TControl::~TControl() = default;

TScrollControl::TScrollControl(QWidget *parent) : TControlBase(parent) {}
TScrollControl::~TScrollControl() = default;

TButtonControl::TButtonControl(QWidget *parent) : TControlBase(parent) {}
TButtonControl::~TButtonControl() = default;

} // namespace nvo
