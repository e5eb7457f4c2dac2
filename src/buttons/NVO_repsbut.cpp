#include "NVO_repsbut.h"

#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>

#include <algorithm>

namespace nvo {

struct TRepSpeedButton::Private
{
    explicit Private(TRepSpeedButton *owner);

    /// Starts the start delay when the button is held.
    void InitTimer();
    /// Goes on at the repeat interval when the button is held, else stops.
    void UpdateTimer();
    void DoTimer();
    /// The button is held from now on (a left press or the Space key).
    void Hold();
    /// The button is no longer held: the repetition ends.
    void Release();

    TRepSpeedButton *q;
    bool FRClickTimerEnabled = false;
    int FRepClickIv = 200;
    int FStartIv = 500;
    bool FIsStart = true;
    THiddenTimer FTimer;
};

TRepSpeedButton::Private::Private(TRepSpeedButton *owner)
    : q(owner), FTimer(owner, [this] { DoTimer(); })
{
}

void TRepSpeedButton::Private::InitTimer()
{
    FIsStart = true;
    FTimer.Stop();
    if (FStartIv > 0 && FRClickTimerEnabled)
        FTimer.Start<ENVORepSpeedButton>(FStartIv);
}

void TRepSpeedButton::Private::UpdateTimer()
{
    FIsStart = false;
    FTimer.Stop();
    if (FRepClickIv > 0 && FRClickTimerEnabled)
        FTimer.Start<ENVORepSpeedButton>(FRepClickIv);
}

void TRepSpeedButton::Private::DoTimer()
{
    if (FIsStart)
        UpdateTimer();
    if (q->OnRepeatClick)
        q->OnRepeatClick(q);
}

void TRepSpeedButton::Private::Hold()
{
    FRClickTimerEnabled = true;
    // A press arrives through an event handler: a timer that cannot be had goes to
    // the application's handler, and the button still clicks without repeating.
    Guarded([this] { InitTimer(); });
}

void TRepSpeedButton::Private::Release()
{
    FRClickTimerEnabled = false;
    FIsStart = false;
    FTimer.Stop();
}

TRepSpeedButton::TRepSpeedButton(QWidget *parent)
    : TControlBase(parent),
      OnRepeatClick([this] {
          if (!Designing())
              d->UpdateTimer();
      }),
      d(std::make_unique<Private>(this))
{
}

TRepSpeedButton::~TRepSpeedButton() = default;

int TRepSpeedButton::GetRepeatClickInterval() const { return d->FRepClickIv; }
int TRepSpeedButton::GetStartClickInterval() const { return d->FStartIv; }
bool TRepSpeedButton::Repeating() const { return d->FRClickTimerEnabled && d->FTimer.Active(); }
THiddenTimer &TRepSpeedButton::RepeatTimer() { return d->FTimer; }

void TRepSpeedButton::SetRepeatClickInterval(int intervalMs)
{
    intervalMs = std::max(intervalMs, kMinInterval);
    if (intervalMs == d->FRepClickIv)
        return;
    d->FRepClickIv = intervalMs;
    if (!Designing())
        d->UpdateTimer();
}

void TRepSpeedButton::SetStartClickInterval(int intervalMs)
{
    intervalMs = std::max(intervalMs, kMinInterval);
    if (intervalMs == d->FStartIv)
        return;
    d->FStartIv = intervalMs;
    if (!Designing())
        d->InitTimer();
}

void TRepSpeedButton::mousePressEvent(QMouseEvent *event)
{
    TControlBase::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && isDown())
        d->Hold();
}

void TRepSpeedButton::mouseReleaseEvent(QMouseEvent *event)
{
    TControlBase::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        d->Release();
}

void TRepSpeedButton::mouseMoveEvent(QMouseEvent *event)
{
    TControlBase::mouseMoveEvent(event);
    // Qt holds back the leave event while a button is pressed; a move off the
    // button is where the pointer leaves it.
    if (d->FRClickTimerEnabled && !rect().contains(event->position().toPoint()))
        d->Release();
}

void TRepSpeedButton::leaveEvent(QEvent *event)
{
    TControlBase::leaveEvent(event);
    d->Release();
}

void TRepSpeedButton::hideEvent(QHideEvent *event)
{
    TControlBase::hideEvent(event);
    d->Release();
}

void TRepSpeedButton::changeEvent(QEvent *event)
{
    TControlBase::changeEvent(event);
    const bool stops = (event->type() == QEvent::EnabledChange && !isEnabled())
        || (event->type() == QEvent::ActivationChange && !isActiveWindow());
    if (stops)
        d->Release();
}

void TRepSpeedButton::KeyPressed(QKeyEvent *event)
{
    TControlBase::KeyPressed(event);
    // The keyboard's own auto-repeat would restart the start delay with each
    // repeated press; only the first press holds the button.
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat())
        d->Hold();
}

void TRepSpeedButton::keyReleaseEvent(QKeyEvent *event)
{
    TControlBase::keyReleaseEvent(event);
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat())
        d->Release();
}

void TRepSpeedButton::focusOutEvent(QFocusEvent *event)
{
    TControlBase::focusOutEvent(event);
    // A Space key held down while the focus moves on never sends its release here.
    d->Release();
}

} // namespace nvo
