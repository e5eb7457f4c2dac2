#include "NVO_Errors.h"

#include <QtCore/QDebug>
#include <QtCore/QMetaObject>
#include <QtCore/QObject>

namespace nvo {

Exception::Exception(const QString &message) : FMessage(message), FUtf8(message.toUtf8()) {}

QString ComponentName(const QObject *component)
{
    return component ? component->objectName() : QString();
}

namespace msg {
namespace {
QString ComponentMessage(const QObject *component, const char *what)
{
    return QStringLiteral("Component \"") + ComponentName(component) + QStringLiteral("\": ")
           + QLatin1String(what);
}
QString ClassName(const QObject *object)
{
    return object ? QString::fromLatin1(object->metaObject()->className()) : QStringLiteral("nil");
}
} // namespace

QString NoTimer(const QObject *component) { return ComponentMessage(component, "no timer available"); }
QString NotEnoughMemory(const QObject *component)
{
    return ComponentMessage(component, "not enough memory on heap");
}
QString FailedToInitialize(const QObject *component)
{
    return ComponentMessage(component, "failed to initialize (out of memory)");
}
QString FailedToInitializeTableEditor(const QObject *component)
{
    return ComponentMessage(component, "failed to initialize table editor (out of memory)");
}
QString IntegerOverflow(const QObject *component) { return ComponentMessage(component, "integer overflow"); }
QString CannotReadImage(const QObject *component, const QString &fileName)
{
    return ComponentMessage(component, "cannot read image file \"") + fileName + QLatin1Char('"');
}
QString CannotAssign(const QObject *source, const QObject *target)
{
    return QStringLiteral("Cannot assign a ") + ClassName(source) + QStringLiteral(" to a ")
           + ClassName(target);
}
} // namespace msg

namespace {
TExceptionHandler &Handler()
{
    static TExceptionHandler handler;
    return handler;
}
} // namespace

void SetApplicationExceptionHandler(TExceptionHandler handler)
{
    Handler() = std::move(handler);
}

void HandleException(const std::exception &error)
{
    if (Handler())
        Handler()(error);
    else
        qWarning("nvoquorvel: unhandled exception: %s", error.what());
}

} // namespace nvo
