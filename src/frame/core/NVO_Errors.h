#pragma once

#include "NVO_Global.h"

#include <QtCore/QByteArray>
#include <QtCore/QObject>
#include <QtCore/QString>

#include <exception>
#include <functional>

class QObject;

namespace nvo {

/// The general exception every error of the library derives from. It carries only
/// its message, as the exceptions of the original control framework did.
class NVO_EXPORT Exception : public std::exception
{
public:
    explicit Exception(const QString &message);
    const QString &Message() const noexcept { return FMessage; }
    const char *what() const noexcept override { return FUtf8.constData(); }

private:
    QString FMessage;
    QByteArray FUtf8;
};

/// Declares a unit's exception class: derived from `Base`, nothing but a message.
#define NVO_DECLARE_EXCEPTION(Name, Base)                                                          \
    class NVO_EXPORT Name : public Base                                                            \
    {                                                                                              \
    public:                                                                                        \
        using Base::Base;                                                                          \
    }

/// Raised when `Assign` is given an object it cannot copy from.
NVO_DECLARE_EXCEPTION(EConvertError, Exception);

/// The component's name as the fixed messages quote it: its objectName.
NVO_EXPORT QString ComponentName(const QObject *component);

/// The fixed message forms a control uses for the failures it detects itself.
namespace msg {
NVO_EXPORT QString NoTimer(const QObject *component);
NVO_EXPORT QString NotEnoughMemory(const QObject *component);
NVO_EXPORT QString FailedToInitialize(const QObject *component);
NVO_EXPORT QString FailedToInitializeTableEditor(const QObject *component);
NVO_EXPORT QString IntegerOverflow(const QObject *component);
/// "Component "NAME": cannot read image file "FILE"".
NVO_EXPORT QString CannotReadImage(const QObject *component, const QString &fileName);
/// "Cannot assign a SOURCECLASS to a TARGETCLASS".
NVO_EXPORT QString CannotAssign(const QObject *source, const QObject *target);
} // namespace msg

/// The application-wide exception handler: where an exception goes that escaped
/// from an event handler, a paint or a timer tick. The default writes a warning.
using TExceptionHandler = std::function<void(const std::exception &)>;
NVO_EXPORT void SetApplicationExceptionHandler(TExceptionHandler handler);
NVO_EXPORT void HandleException(const std::exception &error);

/// Runs `work` and hands any exception to the application-wide handler: no
/// exception may cross a Qt event handler into the event loop.
template<class Work>
void Guarded(Work &&work) noexcept
{
    try {
        work();
    } catch (const std::exception &error) {
        HandleException(error);
    } catch (...) {
        HandleException(Exception(QStringLiteral("unknown exception")));
    }
}

/// What every class's `AssignTo(Dest)` does: `Dest->Assign(source)` when `Dest` is of
/// the source's own class, EConvertError otherwise (leaving `Dest` unchanged).
template<class T>
void AssignToSameClass(const T *source, QObject *dest)
{
    auto *target = qobject_cast<T *>(dest);
    if (!target)
        throw EConvertError(msg::CannotAssign(source, dest));
    target->Assign(source);
}

} // namespace nvo
