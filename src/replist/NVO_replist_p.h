#pragma once

// Private helpers shared by the parts of the NVO_replist unit.

#include "NVO_Errors.h"

#include <QtCore/QObject>
#include <QtCore/QString>

namespace nvo::replist_p {

/// "Component "NAME": cannot write: WHAT", for an export or save that did not reach the
/// disk: a write failure is never reported as success.
inline QString CannotWrite(const QObject *component, const QString &what)
{
    return QStringLiteral("Component \"") + ComponentName(component) + QStringLiteral("\": cannot write: ") + what;
}

} // namespace nvo::replist_p
