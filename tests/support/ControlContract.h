#pragma once

// What every control on the shared base promises, checked the same way for each
// control: the main value is the USER property and notifies its changes, the base's
// key and mouse events fire as a user's input arrives, a setting repaints only where
// the picture shows it, and the kept off-screen buffer never lets an earlier picture
// show through.

#include "EventRecorder.h"
#include "PaintCounter.h"
#include "PixelProbe.h"

#include <QtCore/QMetaProperty>
#include <QtTest/QSignalSpy>
#include <QtTest/QTest>
#include <QtWidgets/QAbstractScrollArea>
#include <QtWidgets/QWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace nvo::test {

/// Where a control shows its picture and takes the mouse: the viewport of a control
/// that scrolls (the grids), the control itself otherwise.
inline QWidget *Surface(QWidget *control)
{
    auto *area = qobject_cast<QAbstractScrollArea *>(control);
    return area ? area->viewport() : control;
}

/// Checks that `name` is the USER property of `control` and that its NOTIFY signal
/// fires once, with the new value, when `value` is written, and not when it is
/// written again.
inline void ExpectNotifyingUserProperty(QObject &control, const char *name, const QVariant &value)
{
    const QMetaProperty user = control.metaObject()->userProperty();
    ASSERT_TRUE(user.isValid()) << name;
    EXPECT_STREQ(user.name(), name);
    ASSERT_TRUE(user.hasNotifySignal()) << name;
    QSignalSpy changed(&control, user.notifySignal());
    ASSERT_NE(user.read(&control), value) << name << ": the value must be a new one";
    user.write(&control, value);
    user.write(&control, value);
    ASSERT_EQ(changed.count(), 1) << name;
    EXPECT_EQ(changed.first().value(0), value) << name;
}

/// A window that records the keys its children leave to it.
class KeyCatchingWindow : public QWidget
{
public:
    QStringList Keys;

protected:
    void keyPressEvent(QKeyEvent *event) override { Keys << QKeySequence(event->key()).toString(); }
};

/// Clicks, double-clicks and moves the mouse on `control` (a shown control on the
/// shared base) as a user would, and checks that the mouse events fire in order.
template<class Control>
void ExpectMouseEvents(Control *control)
{
    EventRecorder events;
    control->OnMouseDown = [&](QObject *sender, Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
        EXPECT_EQ(sender, control);
        events.Record(QStringLiteral("down %1,%2").arg(x).arg(y));
    };
    control->OnMouseUp = events.Recorder(QStringLiteral("up"));
    control->OnClick = events.Recorder(QStringLiteral("click"));
    control->OnDblClick = events.Recorder(QStringLiteral("dblclick"));
    control->OnMouseMove = [&](QObject *, Qt::KeyboardModifiers, int x, int y) {
        events.Record(QStringLiteral("move %1,%2").arg(x).arg(y));
    };
    QTest::mouseClick(Surface(control), Qt::LeftButton, {}, QPoint(3, 4));
    EXPECT_EQ(events.Events().join(u'|'), QStringLiteral("down 3,4|click|up"));
    events.Clear();
    QTest::mouseDClick(Surface(control), Qt::LeftButton, {}, QPoint(5, 6));
    EXPECT_EQ(events.Count(QStringLiteral("dblclick")), 1) << events.Events().join(u'|').toStdString();
    events.Clear();
    Surface(control)->setMouseTracking(true); // moves without a button reach only a tracking widget
    QTest::mouseMove(Surface(control), QPoint(7, 8));
    EXPECT_EQ(events.Events().join(u'|'), QStringLiteral("move 7,8"));
    // The handlers write into this function's recorder: the control lives on.
    control->OnMouseDown = nullptr;
    control->OnMouseUp = nullptr;
    control->OnClick = nullptr;
    control->OnDblClick = nullptr;
    control->OnMouseMove = nullptr;
}

/// What a control does with a letter typed into it.
enum class TTypedKeys {
    LeftToWindow, ///< it goes on to the window, as on a display
    Taken         ///< the control takes it, as an edit field does
};

/// Types and clicks on a `Control` (a control on the shared base) in a window as a
/// user would, and checks that the key events fire in the order down, press, up;
/// that a key a handler swallows reaches neither the control nor the window, while
/// a letter goes on to the window unless the control takes typed keys; and that the
/// mouse events fire (ExpectMouseEvents).
template<class Control>
void ExpectInputEvents(TTypedKeys typed = TTypedKeys::LeftToWindow)
{
    KeyCatchingWindow window;
    auto *control = new Control(&window);
    window.show();
    EventRecorder events;
    control->OnKeyDown = [&](QObject *sender, int &key, Qt::KeyboardModifiers) {
        EXPECT_EQ(sender, control);
        events.Record(QStringLiteral("down ") + QKeySequence(key).toString());
        if (key == Qt::Key_X)
            key = 0;
    };
    control->OnKeyPress = [&](QObject *, QChar &key) { events.Record(QStringLiteral("press ") + key); };
    control->OnKeyUp = [&](QObject *, int &key, Qt::KeyboardModifiers) {
        events.Record(QStringLiteral("up ") + QKeySequence(key).toString());
    };
    QTest::keyClick(control, Qt::Key_A);
    QTest::keyClick(control, Qt::Key_X);
    EXPECT_EQ(events.Events().join(u'|'), QStringLiteral("down A|press a|up A|down X|up X"));
    const QStringList leftToWindow =
        typed == TTypedKeys::LeftToWindow ? QStringList{QStringLiteral("A")} : QStringList();
    EXPECT_EQ(window.Keys, leftToWindow) << "the swallowed X went on";
    ExpectMouseEvents(control);
}

/// A setting of a control, and what makes the picture show it (none: it never shows).
template<class Control>
struct TShownSetting {
    const char *Name;
    std::function<void(Control &)> ShowIt, Change;
};

/// Checks that each setting, changed on a shown control from `make` (in a state whose
/// picture does not show it), is stored without a paint, and that the same change
/// after `ShowIt` paints once.
template<class Control>
void ExpectPaintsOnlyWhereShown(const std::function<std::unique_ptr<Control>()> &make,
                                const std::vector<TShownSetting<Control>> &settings)
{
    for (const auto &setting : settings) {
        for (const bool shown : {false, true}) {
            if (shown && !setting.ShowIt)
                continue;
            const std::unique_ptr<Control> control = make();
            if (shown)
                setting.ShowIt(*control);
            control->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(control.get()));
            PaintCounter paints(Surface(control.get()));
            setting.Change(*control);
            EXPECT_EQ(paints.Count, shown ? 1 : 0) << setting.Name << (shown ? " shown" : " hidden");
        }
    }
}

/// Checks that each of `changes`, made after a first paint, gives the picture it
/// gives on a control never painted before: the buffer the base keeps between
/// paints, and any cache of the control's own, must follow every change.
template<class Control>
void ExpectChangesShowAsOnFreshControls(const std::vector<std::function<void(Control &)>> &changes)
{
    for (size_t i = 0; i < changes.size(); ++i) {
        Control painted, fresh;
        Grab(&painted);
        changes[i](painted);
        changes[i](fresh);
        EXPECT_EQ(Grab(&painted), Grab(&fresh)) << "change " << i;
    }
}

/// Checks that a control set up by `configure` comes back the same from a form in
/// any order: its stored properties, written one by one onto a fresh control of the
/// same size as a form loader does, give the same values and the same picture both
/// in the order the class declares them and in the reverse order.
template<class Control>
void ExpectAnyFormOrderGivesTheSameControl(const std::function<void(Control &)> &configure)
{
    Control source;
    configure(source);
    const QMetaObject &meta = Control::staticMetaObject;
    std::vector<QMetaProperty> stored;
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i)
        if (meta.property(i).isWritable() && meta.property(i).isStored())
            stored.push_back(meta.property(i));
    for (const bool reversed : {false, true}) {
        Control loaded;
        loaded.resize(source.size());
        const auto write = [&](const QMetaProperty &property) { property.write(&loaded, property.read(&source)); };
        if (reversed)
            std::for_each(stored.rbegin(), stored.rend(), write);
        else
            std::for_each(stored.begin(), stored.end(), write);
        const char *order = reversed ? "reverse order" : "declared order";
        for (const QMetaProperty &property : stored)
            EXPECT_EQ(property.read(&loaded), property.read(&source)) << property.name() << ", " << order;
        EXPECT_EQ(Grab(&loaded), Grab(&source)) << order;
    }
}

} // namespace nvo::test
