#pragma once

#include "NVO_Control.h"
#include "NVO_Timer.h"

#include <QtWidgets/QToolButton>

#include <memory>

namespace nvo {

/// The repeat button's own error: a timer that cannot be had.
NVO_DECLARE_EXCEPTION(ENVORepSpeedButton, Exception);

/// A speed button (a tool button: glyph, caption, flat look, OnClick) that repeats
/// while it is held: with the left mouse button or the Space key down on it,
/// `OnRepeatClick` fires first after `StartClickInterval` and then every
/// `RepeatClickInterval` milliseconds. The repetition stops when the button is
/// released, when the pointer leaves it, and when the button is disabled or hidden
/// or its window loses the focus, so that no timer keeps running unwatched. It
/// paints as the tool button does, with the palette's button roles; it caches nothing.
class NVO_EXPORT TRepSpeedButton : public TControlBase<QToolButton>
{
    Q_OBJECT
    /// Milliseconds between repeats while the button is held, at least 10.
    Q_PROPERTY(int RepeatClickInterval READ GetRepeatClickInterval WRITE SetRepeatClickInterval)
    /// Milliseconds from the press to the first repeat, at least 10.
    Q_PROPERTY(int StartClickInterval READ GetStartClickInterval WRITE SetStartClickInterval)
    /// The parts (text, ground, border) that take the application style's colours.
    Q_PROPERTY(nvo::TStyleElements StyleElements READ GetStyleElements WRITE SetStyleElements)

public:
    /// The shortest interval a timer is asked for.
    static constexpr int kMinInterval = 10;

    explicit TRepSpeedButton(QWidget *parent = nullptr);
    ~TRepSpeedButton() override;

    int GetRepeatClickInterval() const;
    /// Values below 10 ms become 10; while the button is held the repetition goes
    /// on at once with the new interval.
    void SetRepeatClickInterval(int intervalMs);
    int GetStartClickInterval() const;
    /// Values below 10 ms become 10; while the button is held the start delay
    /// begins again.
    void SetStartClickInterval(int intervalMs);

    /// True while the button is held and its repetition timer runs.
    bool Repeating() const;
    /// The timer, for tests that drive the repetition tick by tick.
    THiddenTimer &RepeatTimer();

    /// One repetition while the button is held. Assigning it restarts a running
    /// repetition at the repeat interval.
    TTimerEvent<TNotifyEvent> OnRepeatClick;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;
    void KeyPressed(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    struct Private;
    std::unique_ptr<Private> const d;
};

} // namespace nvo
