#include "NVO_Timer.h"

namespace nvo {

namespace {
int gStartFailures = 0;
}

THiddenTimer::THiddenTimer(QObject *owner, std::function<void()> onTick)
    : FOwner(owner), FOnTick(std::move(onTick))
{
    FTimer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&FTimer, &QTimer::timeout, [this] { Tick(); });
}

THiddenTimer::~THiddenTimer()
{
    FTimer.stop();
}

bool THiddenTimer::TryStart(int intervalMs)
{
    FTimer.stop();
    if (gStartFailures > 0) {
        --gStartFailures;
        return false;
    }
    FTimer.start(qMax(0, intervalMs));
    return FTimer.isActive();
}

void THiddenTimer::Stop()
{
    FTimer.stop();
}

void THiddenTimer::Tick()
{
    if (FOnTick)
        Guarded(FOnTick);
}

void THiddenTimer::InjectStartFailures(int count)
{
    gStartFailures = qMax(0, count);
}

} // namespace nvo
