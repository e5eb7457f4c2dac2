#include "NVO_repsbut.h"

#include "EventRecorder.h"
#include "HandlerProbe.h"
#include "MouseMove.h"

#include <QtGui/QAccessible>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace nvo;
using namespace nvo::test;

namespace {

std::unique_ptr<TRepSpeedButton> MakeButton()
{
    auto button = std::make_unique<TRepSpeedButton>();
    button->setObjectName(QStringLiteral("Rep1"));
    button->setText(QStringLiteral("+"));
    button->resize(40, 30);
    button->show();
    return button;
}

const QPoint kInside(10, 10);

} // namespace

TEST(RepSpeedButton, Defaults)
{
    TRepSpeedButton button;
    EXPECT_EQ(button.GetRepeatClickInterval(), 200);
    EXPECT_EQ(button.GetStartClickInterval(), 500);
    EXPECT_FALSE(button.OnRepeatClick);
    EXPECT_FALSE(button.Repeating());
}

TEST(RepSpeedButton, IntervalsBelowTenMillisecondsBecomeTen)
{
    TRepSpeedButton button;
    button.SetRepeatClickInterval(5);
    button.SetStartClickInterval(-3);
    EXPECT_EQ(button.GetRepeatClickInterval(), 10);
    EXPECT_EQ(button.GetStartClickInterval(), 10);
}

// Held for a second with the defaults: the start delay of 500 ms, then a repetition
// every 200 ms, so three repetitions by 1000 ms (at 500, 700 and 900 ms).
TEST(RepSpeedButton, HoldingRepeatsAfterTheStartDelayAtTheRepeatInterval)
{
    auto button = MakeButton();
    int repeats = 0;
    button->OnRepeatClick = [&](QObject *sender) {
        EXPECT_EQ(sender, button.get());
        ++repeats;
    };
    QTest::mousePress(button.get(), Qt::LeftButton, {}, kInside);
    ASSERT_TRUE(button->Repeating());
    int elapsed = button->RepeatTimer().Interval();
    EXPECT_EQ(elapsed, 500);
    while (elapsed <= 1000) {
        button->RepeatTimer().Tick();
        elapsed += button->RepeatTimer().Interval();
    }
    EXPECT_EQ(button->RepeatTimer().Interval(), 200);
    EXPECT_EQ(repeats, 3);
    QTest::mouseRelease(button.get(), Qt::LeftButton, {}, kInside);
    EXPECT_FALSE(button->Repeating());
}

TEST(RepSpeedButton, RealTimerRepeatsWhileHeld)
{
    auto button = MakeButton();
    button->SetStartClickInterval(30);
    button->SetRepeatClickInterval(10);
    int repeats = 0;
    button->OnRepeatClick = [&](QObject *) { ++repeats; };
    QTest::mousePress(button.get(), Qt::LeftButton, {}, kInside);
    EXPECT_TRUE(QTest::qWaitFor([&] { return repeats >= 3; }, 2000));
    QTest::mouseRelease(button.get(), Qt::LeftButton, {}, kInside);
    const int afterRelease = repeats;
    QTest::qWait(60);
    EXPECT_EQ(repeats, afterRelease);
}

TEST(RepSpeedButton, ShortClickFiresOnlyOnClick)
{
    auto button = MakeButton();
    EventRecorder events;
    button->OnRepeatClick = events.Recorder(QStringLiteral("repeat"));
    button->OnClick = events.Recorder(QStringLiteral("click"));
    QTest::mouseClick(button.get(), Qt::LeftButton, {}, kInside);
    EXPECT_EQ(events.Events(), QStringList{QStringLiteral("click")});
    EXPECT_FALSE(button->Repeating());
}

TEST(RepSpeedButton, RightButtonStartsNoRepetition)
{
    auto button = MakeButton();
    QTest::mousePress(button.get(), Qt::RightButton, {}, kInside);
    EXPECT_FALSE(button->Repeating());
    QTest::mouseRelease(button.get(), Qt::RightButton, {}, kInside);
}

// Every way the button stops being held ends the repetition: no timer runs on unwatched.
TEST(RepSpeedButton, RepetitionStopsWhenTheButtonIsNoLongerHeld)
{
    const struct {
        const char *name;
        std::function<void(TRepSpeedButton &)> stop;
    } cases[] = {
        {"release", [](TRepSpeedButton &b) { QTest::mouseRelease(&b, Qt::LeftButton, {}, kInside); }},
        {"leave", [](TRepSpeedButton &b) { LeaveWidget(&b); }},
        {"move off", [](TRepSpeedButton &b) {
             QMouseEvent move(QEvent::MouseMove, QPointF(80, 10), QPointF(b.mapToGlobal(QPoint(80, 10))),
                              Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
             QCoreApplication::sendEvent(&b, &move);
         }},
        {"disable", [](TRepSpeedButton &b) { b.setEnabled(false); }},
        {"hide", [](TRepSpeedButton &b) { b.hide(); }},
        {"window deactivated", [](TRepSpeedButton &b) {
             // What every widget of a window hears when the window is no longer active.
             QEvent deactivate(QEvent::ActivationChange);
             QCoreApplication::sendEvent(&b, &deactivate);
         }},
    };
    for (const auto &c : cases) {
        auto button = MakeButton();
        int repeats = 0;
        button->OnRepeatClick = [&](QObject *) { ++repeats; };
        QTest::mousePress(button.get(), Qt::LeftButton, {}, kInside);
        button->RepeatTimer().Tick();
        ASSERT_TRUE(button->Repeating()) << c.name;
        c.stop(*button);
        EXPECT_FALSE(button->Repeating()) << c.name;
        EXPECT_FALSE(button->RepeatTimer().Active()) << c.name;
        EXPECT_EQ(repeats, 1) << c.name;
    }
}

TEST(RepSpeedButton, SpaceKeyRepeatsLikeTheMouse)
{
    auto button = MakeButton();
    button->setFocus();
    int repeats = 0, clicks = 0;
    button->OnRepeatClick = [&](QObject *) { ++repeats; };
    QObject::connect(button.get(), &QAbstractButton::clicked, [&] { ++clicks; });
    QTest::keyPress(button.get(), Qt::Key_Space);
    ASSERT_TRUE(button->Repeating());
    EXPECT_EQ(button->RepeatTimer().Interval(), 500);
    // The keyboard's auto-repeat neither restarts the delay nor stops the repetition.
    button->RepeatTimer().Tick();
    QKeyEvent repeatedPress(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    QKeyEvent repeatedRelease(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    QCoreApplication::sendEvent(button.get(), &repeatedRelease);
    QCoreApplication::sendEvent(button.get(), &repeatedPress);
    EXPECT_TRUE(button->Repeating());
    EXPECT_EQ(button->RepeatTimer().Interval(), 200);
    QTest::keyRelease(button.get(), Qt::Key_Space);
    EXPECT_FALSE(button->Repeating());
    EXPECT_EQ(repeats, 1);
    EXPECT_EQ(clicks, 1);
}

TEST(RepSpeedButton, ChangingAnIntervalWhileHeldRestartsTheTimer)
{
    auto button = MakeButton();
    QTest::mousePress(button.get(), Qt::LeftButton, {}, kInside);
    button->SetStartClickInterval(300);
    EXPECT_EQ(button->RepeatTimer().Interval(), 300);
    button->RepeatTimer().Tick();
    button->SetRepeatClickInterval(50);
    EXPECT_EQ(button->RepeatTimer().Interval(), 50);
    QTest::mouseRelease(button.get(), Qt::LeftButton, {}, kInside);
    button->SetRepeatClickInterval(70);
    EXPECT_FALSE(button->RepeatTimer().Active());
}

TEST(RepSpeedButton, DesignModeStartsNoTimer)
{
    auto button = MakeButton();
    QTest::mousePress(button.get(), Qt::LeftButton, {}, kInside);
    button->RepeatTimer().Stop();
    SetDesigning(button.get(), true);
    button->SetRepeatClickInterval(40);
    button->SetStartClickInterval(40);
    button->OnRepeatClick = [](QObject *) {};
    EXPECT_FALSE(button->RepeatTimer().Active());
}

TEST(RepSpeedButton, NoTimerAvailableReachesTheApplicationAndTheButtonStillClicks)
{
    HandlerProbe probe;
    auto button = MakeButton();
    int clicks = 0;
    button->OnClick = [&](QObject *) { ++clicks; };
    THiddenTimer::InjectStartFailures(1);
    QTest::mouseClick(button.get(), Qt::LeftButton, {}, kInside);
    EXPECT_EQ(probe.Messages, QStringList{QStringLiteral("Component \"Rep1\": no timer available")});
    EXPECT_EQ(clicks, 1);
}

TEST(RepSpeedButton, FailingHandlerReachesTheApplicationAndRepetitionGoesOn)
{
    HandlerProbe probe;
    auto button = MakeButton();
    button->OnRepeatClick = [](QObject *) { throw Exception(QStringLiteral("boom")); };
    QTest::mousePress(button.get(), Qt::LeftButton, {}, kInside);
    button->RepeatTimer().Tick();
    EXPECT_EQ(probe.Messages, QStringList{QStringLiteral("boom")});
    EXPECT_TRUE(button->Repeating());
    QTest::mouseRelease(button.get(), Qt::LeftButton, {}, kInside);
}

TEST(RepSpeedButton, AccessibleAsAButtonWithItsCaption)
{
    auto button = MakeButton();
    QAccessibleInterface *access = QAccessible::queryAccessibleInterface(button.get());
    ASSERT_NE(access, nullptr);
    EXPECT_EQ(access->role(), QAccessible::Button);
    EXPECT_EQ(access->text(QAccessible::Name), QStringLiteral("+"));
}
