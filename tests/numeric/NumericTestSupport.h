#pragma once

// What the numeric label's and the custom numeric field's tests share.

#include <QtCore/QPoint>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <initializer_list>

namespace nvo::test {

/// A pointer position across a control and the mouse area code it gives.
struct TAreaCase {
    int x, area;
};

/// Shows `control` (a control with a MouseAreaCode) and moves the mouse over it to the x
/// of each case, no button held, as a pointer that merely hovers; checks that
/// MouseAreaCode and OnMouseMove follow every move.
template<class Control>
void ExpectHoverFollowsTheAreas(Control &control, std::initializer_list<TAreaCase> cases)
{
    control.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&control));
    int movedTo = -1;
    control.OnMouseMove = [&](QObject *, Qt::KeyboardModifiers, int x, int) { movedTo = x; };
    for (const TAreaCase &c : cases) {
        QTest::mouseMove(&control, QPoint(c.x, 10));
        EXPECT_EQ(control.GetMouseAreaCode(), c.area) << "x " << c.x;
        EXPECT_EQ(movedTo, c.x);
    }
    control.OnMouseMove = {}; // it refers to a local of this function
}

} // namespace nvo::test
