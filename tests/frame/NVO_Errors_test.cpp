#include "NVO_Errors.h"

#include <QtCore/QObject>
#include <gtest/gtest.h>

using namespace nvo;

TEST(Errors, FixedMessageFormsNameTheComponent)
{
    QObject component;
    component.setObjectName(QStringLiteral("Gauge1"));
    EXPECT_EQ(msg::NoTimer(&component), QStringLiteral("Component \"Gauge1\": no timer available"));
    EXPECT_EQ(msg::NotEnoughMemory(&component), QStringLiteral("Component \"Gauge1\": not enough memory on heap"));
    EXPECT_EQ(msg::FailedToInitialize(&component),
              QStringLiteral("Component \"Gauge1\": failed to initialize (out of memory)"));
    EXPECT_EQ(msg::FailedToInitializeTableEditor(&component),
              QStringLiteral("Component \"Gauge1\": failed to initialize table editor (out of memory)"));
    EXPECT_EQ(msg::IntegerOverflow(&component), QStringLiteral("Component \"Gauge1\": integer overflow"));
    EXPECT_EQ(msg::CannotReadImage(&component, QStringLiteral("/tmp/a b.png")),
              QStringLiteral("Component \"Gauge1\": cannot read image file \"/tmp/a b.png\""));
}
