#include "NVO_ControlAccessible_p.h"

#include <QtCore/QMetaProperty>

namespace nvo {

void AnnounceValue(QObject *control)
{
    // Qt drops the event while no assistive technology listens: the value need not be read.
    if (!QAccessible::isActive())
        return;
    QAccessibleValueChangeEvent event(control, control->metaObject()->userProperty().read(control));
    QAccessible::updateAccessibility(&event);
}

} // namespace nvo
