#include "HandlerProbe.h"
#include "NVO_Color.h"
#include "NVO_Control.h"
#include "NVO_Errors.h"

#include <QtTest/QTest>
#include <gtest/gtest.h>

using namespace nvo;
using nvo::test::HandlerProbe;

namespace {

/// A control that counts its paints and can ask for another repaint while painting.
class CountingControl : public TControl
{
public:
    int Paints = 0;
    QWidget *RepaintFromPaint = nullptr;
    int Setting = 0;

    void SetSetting(int value, bool shown) { Change(Setting, value, shown); }

protected:
    void Paint(TCanvas &canvas) override
    {
        ++Paints;
        canvas.Brush.SetColor(clr::Red);
        canvas.FillRect(0, 0, width(), height());
        if (RepaintFromPaint)
            RepaintNow(RepaintFromPaint);
    }
};

} // namespace

TEST(Control, RepaintIsSynchronousOutsidePaintsAndDeferredInside)
{
    CountingControl first, second;
    first.resize(20, 20);
    second.resize(20, 20);
    first.show();
    second.show();
    QCoreApplication::processEvents();
    first.Paints = second.Paints = 0;

    first.PaintNow();
    EXPECT_EQ(first.Paints, 1);

    first.RepaintFromPaint = &second;
    first.PaintNow();
    EXPECT_EQ(second.Paints, 0) << "a paint must not run another paint inside it";
    QTRY_COMPARE(second.Paints, 1);
}

TEST(Control, BulkUpdatesPaintOnceAtTheEnd)
{
    CountingControl control;
    control.resize(20, 20);
    control.show();
    QCoreApplication::processEvents();
    control.Paints = 0;
    control.BeginUpdate();
    control.PaintNow();
    control.PaintNow();
    EXPECT_EQ(control.Paints, 0);
    control.EndUpdate();
    EXPECT_EQ(control.Paints, 1);
}

TEST(Control, ASettingThePictureDoesNotShowIsStoredWithoutAPaint)
{
    CountingControl control;
    control.resize(20, 20);
    control.show();
    QCoreApplication::processEvents();
    control.Paints = 0;
    control.SetSetting(1, false);
    EXPECT_EQ(control.Setting, 1);
    EXPECT_EQ(control.Paints, 0);
    control.SetSetting(2, true);
    EXPECT_EQ(control.Paints, 1);
    control.SetSetting(2, true);
    EXPECT_EQ(control.Paints, 1) << "an equal value paints nothing";
}

TEST(Control, ASchemeThePictureDoesNotShowIsStoredWithoutAPaint)
{
    class FixedFrame : public CountingControl
    {
    protected:
        bool ShowsColorScheme() const override { return false; }
    };
    CountingControl shown;
    FixedFrame fixed;
    for (CountingControl *control : {&shown, static_cast<CountingControl *>(&fixed)}) {
        control->resize(20, 20);
        control->show();
    }
    QCoreApplication::processEvents();
    shown.Paints = fixed.Paints = 0;
    shown.SetColorScheme(csSystem);
    fixed.SetColorScheme(csSystem);
    EXPECT_EQ(shown.Paints, 1);
    EXPECT_EQ(fixed.Paints, 0);
    EXPECT_EQ(fixed.GetColorScheme(), csSystem);
}

TEST(Control, APaintThatThrowsReachesTheHandlerNotTheEventLoop)
{
    class Failing : public TControl
    {
    protected:
        void Paint(TCanvas &) override { throw Exception(QStringLiteral("paint failed")); }
    };
    HandlerProbe handler;
    Failing control;
    control.resize(10, 10);
    control.show();
    QCoreApplication::processEvents();
    handler.Messages.clear();
    control.repaint();
    EXPECT_EQ(handler.Messages.join(u'|'), QStringLiteral("paint failed"));
}

TEST(Control, DesignModeIsAFlagOnTheComponent)
{
    CountingControl control;
    EXPECT_FALSE(control.Designing());
    SetDesigning(&control, true);
    EXPECT_TRUE(control.Designing());
}

TEST(Control, StylesColourOnlyWhenSwitchedOnAndAllowedByTheControl)
{
    CountingControl control;
    EXPECT_FALSE(control.StyledClient());
    StyleServices::SetEnabled(true);
    EXPECT_TRUE(control.StyledClient());
    control.SetStyleElements(seFont);
    EXPECT_FALSE(control.StyledClient());
    EXPECT_TRUE(control.StyledFont());
    StyleServices::SetEnabled(false);
}

TEST(Control, MouseEventsFireInTheFrameworksOrder)
{
    CountingControl control;
    control.resize(20, 20);
    control.show();
    QStringList events;
    control.OnMouseDown = [&](QObject *, Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
        events << QStringLiteral("down %1,%2").arg(x).arg(y);
    };
    control.OnMouseUp = [&](QObject *, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { events << "up"; };
    control.OnClick = [&](QObject *) { events << "click"; };
    control.OnDblClick = [&](QObject *) { events << "dblclick"; };
    control.OnMouseMove = [&](QObject *, Qt::KeyboardModifiers, int x, int) { events << QStringLiteral("move %1").arg(x); };

    QTest::mouseClick(&control, Qt::LeftButton, {}, QPoint(3, 4));
    EXPECT_EQ(events.join(u'|'), QStringLiteral("down 3,4|click|up"));
    events.clear();
    QTest::mouseDClick(&control, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(events.contains(QStringLiteral("dblclick"))) << events.join(u'|').toStdString();
    events.clear();
    // A press inside and a release outside is no click.
    QTest::mousePress(&control, Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseRelease(&control, Qt::LeftButton, {}, QPoint(30, 3));
    EXPECT_FALSE(events.contains(QStringLiteral("click")));
    events.clear();
    control.setMouseTracking(true); // moves without a button reach only a tracking widget
    QTest::mouseMove(&control, QPoint(7, 7));
    EXPECT_EQ(events.join(u'|'), QStringLiteral("move 7"));
}

namespace {

/// A line edit on the shared base, to see the key and focus events over a Qt control
/// with input handling of its own.
class EditOnBase : public TEditControl
{
};

/// A scroll area on the shared base that paints its viewport red and counts paints.
class ScrollingControl : public TScrollControl
{
public:
    int Paints = 0;

protected:
    void Paint(TCanvas &canvas) override
    {
        ++Paints;
        canvas.Brush.SetColor(clr::Red);
        canvas.FillRect(0, 0, viewport()->width(), viewport()->height());
    }
};

} // namespace

TEST(Control, KeyEventsComeInOrderAndCanChangeOrSwallowTheKey)
{
    EditOnBase edit;
    edit.show();
    edit.activateWindow();
    edit.setFocus();
    QStringList events;
    edit.OnEnter = [&](QObject *) { events << "enter"; };
    edit.OnExit = [&](QObject *) { events << "exit"; };
    edit.OnKeyDown = [&](QObject *, int &key, Qt::KeyboardModifiers) {
        events << QStringLiteral("down %1").arg(QKeySequence(key).toString());
        if (key == Qt::Key_X)
            key = 0; // swallowed: the edit never sees it
    };
    edit.OnKeyPress = [&](QObject *, QChar &ch) {
        events << QStringLiteral("press %1").arg(ch);
        if (ch == u'a')
            ch = u'b'; // typed as another character
    };
    edit.OnKeyUp = [&](QObject *, int &key, Qt::KeyboardModifiers) {
        events << QStringLiteral("up %1").arg(QKeySequence(key).toString());
    };

    QTest::keyClick(&edit, Qt::Key_A, {}, -1);
    QTest::keyClick(&edit, Qt::Key_X);
    QTest::keyClick(&edit, Qt::Key_C);
    EXPECT_EQ(edit.text(), QStringLiteral("bc"));
    EXPECT_EQ(events.join(u'|'),
              QStringLiteral("down A|press a|up A|down X|up X|down C|press c|up C"));

    events.clear();
    QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
    QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(&edit, &focusOut);
    QCoreApplication::sendEvent(&edit, &focusIn);
    EXPECT_EQ(events.join(u'|'), QStringLiteral("exit|enter"));
}

TEST(Control, AScrollControlPaintsAndRepaintsItsViewport)
{
    ScrollingControl control;
    control.resize(60, 40);
    control.show();
    QCoreApplication::processEvents();
    const QImage picture = control.viewport()->grab().toImage();
    EXPECT_EQ(picture.pixelColor(5, 5), QColor(Qt::red));
    control.Paints = 0;
    control.PaintNow();
    EXPECT_EQ(control.Paints, 1);
    control.BeginUpdate();
    control.PaintNow();
    EXPECT_EQ(control.Paints, 1);
    control.EndUpdate();
    EXPECT_EQ(control.Paints, 2);
}

TEST(Control, TheBufferIsKeptBetweenPaintsAndRemadeForANewSizeOrFont)
{
    class Buffered : public TControl
    {
    public:
        const uchar *Bits = nullptr;
        QFont BufferFont;

    protected:
        void Paint(TCanvas &canvas) override
        {
            TBitmap &buffer = Buffer();
            Bits = buffer.Image().constBits();
            BufferFont = buffer.Canvas().Font.Font;
            canvas.Draw(0, 0, buffer);
        }
    };
    Buffered control;
    control.resize(30, 20);
    control.show();
    QCoreApplication::processEvents();
    control.repaint();
    const uchar *first = control.Bits;
    control.repaint();
    EXPECT_EQ(control.Bits, first) << "a paint of the same size reuses the buffer";

    QFont bigger = control.font();
    bigger.setPixelSize(31);
    control.setFont(bigger);
    control.repaint();
    EXPECT_EQ(control.BufferFont.pixelSize(), 31) << "the buffer's canvas takes the new font";
}

TEST(Control, AnEnumeratedSettingOutsideItsEnumerationIsRefused)
{
    CountingControl control;
    control.SetColorScheme(csSystem);
    // A misspelt key in a form reaches the setter as 255.
    control.SetColorScheme(TColorScheme(255));
    EXPECT_EQ(control.GetColorScheme(), csSystem);
    control.SetColorScheme(csClassic);
    EXPECT_EQ(control.GetColorScheme(), csClassic);
}
