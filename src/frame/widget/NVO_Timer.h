#pragma once

#include "NVO_Errors.h"

#include <QtCore/QTimer>

#include <functional>

namespace nvo {

/// The timer of an animated control (caret blink, scrolling, repeat clicks,
/// automatic increment). A tick runs the control's handler inside the exception
/// guard: a failing handler reaches the application-wide handler and the timer
/// keeps running. A timer that cannot be had raises the unit's exception with
/// "Component \"NAME\": no timer available".
class NVO_EXPORT THiddenTimer
{
public:
    THiddenTimer(QObject *owner, std::function<void()> onTick);
    ~THiddenTimer();
    THiddenTimer(const THiddenTimer &) = delete;
    THiddenTimer &operator=(const THiddenTimer &) = delete;

    /// Stops, then starts with `intervalMs`; raises `E` when no timer can be had.
    template<class E>
    void Start(int intervalMs)
    {
        if (!TryStart(intervalMs))
            throw E(msg::NoTimer(FOwner));
    }
    /// Stops, then starts with `intervalMs`; false when no timer can be had.
    bool TryStart(int intervalMs);
    void Stop();
    bool Active() const { return FTimer.isActive(); }
    int Interval() const { return FTimer.interval(); }

    /// One tick, as the timer delivers it (also how tests drive a control's animation).
    void Tick();

    /// Makes the next `count` starts fail, as when the system has no timer left;
    /// lets tests reach the failure path.
    static void InjectStartFailures(int count);

private:
    QObject *FOwner;
    std::function<void()> FOnTick;
    QTimer FTimer;
};

/// An event of a timed control whose assignment also restarts the control's timer,
/// so that a new handler's first call comes one full interval later. Reads like a
/// plain std::function member: `bar.OnAutoInc = handler; if (bar.OnAutoInc) ...`.
template<class Handler>
class TTimerEvent
{
public:
    explicit TTimerEvent(std::function<void()> restartTimer) : FRestartTimer(std::move(restartTimer)) {}
    TTimerEvent &operator=(Handler handler)
    {
        FHandler = std::move(handler);
        FRestartTimer();
        return *this;
    }
    explicit operator bool() const { return bool(FHandler); }
    template<class... Args>
    void operator()(Args &&...args) const
    {
        FHandler(std::forward<Args>(args)...);
    }

private:
    std::function<void()> FRestartTimer;
    Handler FHandler;
};

} // namespace nvo
