#include "HandlerProbe.h"
#include "NVO_Errors.h"
#include "NVO_Timer.h"

#include <QtTest/QTest>
#include <gtest/gtest.h>

using namespace nvo;
using nvo::test::HandlerProbe;

namespace {

NVO_DECLARE_EXCEPTION(ETestUnitError, Exception);

} // namespace

TEST(Timer, AMissingTimerRaisesTheUnitsErrorNamingTheControl)
{
    QObject owner;
    owner.setObjectName(QStringLiteral("Scroller"));
    int ticks = 0;
    THiddenTimer timer(&owner, [&] { ++ticks; });
    THiddenTimer::InjectStartFailures(1);
    try {
        timer.Start<ETestUnitError>(10);
        FAIL() << "no exception";
    } catch (const ETestUnitError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Component \"Scroller\": no timer available"));
    }
    EXPECT_FALSE(timer.Active());
    // The failure is not permanent: the control works once a timer can be had.
    timer.Start<ETestUnitError>(5);
    EXPECT_TRUE(timer.Active());
    QTRY_VERIFY_WITH_TIMEOUT(ticks >= 2, 2000);
}

TEST(Timer, AFailingTickReachesTheApplicationHandlerAndTheTimerKeepsRunning)
{
    HandlerProbe handler;
    QObject owner;
    int ticks = 0;
    THiddenTimer timer(&owner, [&] {
        ++ticks;
        throw Exception(QStringLiteral("tick failed"));
    });
    timer.Start<ETestUnitError>(5);
    QTRY_VERIFY_WITH_TIMEOUT(ticks >= 3, 2000);
    EXPECT_TRUE(timer.Active());
    EXPECT_GE(handler.Messages.size(), 3);
    EXPECT_EQ(handler.Messages.first(), QStringLiteral("tick failed"));
}
