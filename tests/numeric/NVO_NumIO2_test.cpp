#include "NVO_NumIO2.h"
#include "ControlContract.h"
#include "EventRecorder.h"
#include "NumericTestSupport.h"
#include "PinnedFont.h"

#include <QtGui/QClipboard>
#include <QtGui/QInputMethodEvent>
#include <QtGui/QWheelEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLineEdit>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace nvo;
using namespace nvo::test;

namespace {

using F = TNumIO2;

class NumIO2Test : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetBeepHook([this] { ++Beeps; });
        Field = std::make_unique<TNumIO2>();
        Field->setFont(PinnedFont());
        Field->OnChange = Events.Recorder(QStringLiteral("OnChange"));
    }
    void TearDown() override
    {
        Field.reset();
        SetBeepHook({});
    }
    /// Empties the field in `format` and types `keys` into it.
    void TypeInto(TInFormat format, const QString &keys)
    {
        Field->SetInputFormat(format);
        Field->SetText(QString());
        QTest::keyClicks(Field.get(), keys);
    }

    std::unique_ptr<TNumIO2> Field;
    EventRecorder Events;
    int Beeps = 0;
};

// ---- Value model ----------------------------------------------------------------------

TEST_F(NumIO2Test, StartsWithTheDefaults)
{
    EXPECT_EQ(Field->width(), 160);
    EXPECT_EQ(Field->height(), 28);
    EXPECT_EQ(Field->GetInputFormat(), F::itFloat);
    EXPECT_EQ(Field->GetFixPointDecPlaces(), 2);
    EXPECT_EQ(Field->GetSignificantDigits(), 6);
    EXPECT_EQ(Field->GetDecPlaceSep(), dsEither);
    EXPECT_EQ(Field->GetRangeLow(), 0);
    EXPECT_EQ(Field->GetRangeHigh(), 1000);
    EXPECT_EQ(Field->GetText(), QString());
    EXPECT_TRUE(Field->CaretTimer().Active());
    EXPECT_EQ(Field->CaretTimer().Interval(), 500);
}

TEST_F(NumIO2Test, WritesTheValueInEachInputFormat)
{
    struct Case {
        TInFormat format;
        double value;
        const char *text;
    };
    const Case cases[] = {
        {F::itExp, 1.5, " 1.50000E+00"},  {F::itFloat, 1.239, "1.24"},
        {F::itFixPoint, -3, "-3.00"},      {F::itInt, 2.5, "2"},
        {F::itDynamic, 3.5, "4"},          {F::itHex, 255, "000000FF"},
        {F::itOct, 8, "00000000010"},      {F::itBin, 5, "00000000000000000000000000000101"},
        {F::itHex, -1, "FFFFFFFF"},
    };
    for (const Case &c : cases) {
        Field->SetInputFormat(c.format);
        Field->SetValue(c.value);
        EXPECT_EQ(Field->GetText(), QString::fromLatin1(c.text)) << c.format;
    }
    Field->SetInputFormat(F::itHex);
    Field->SetValue(-1);
    EXPECT_EQ(Field->GetValue(), -1); // the digit formats read back what they show
    EXPECT_TRUE(Events.Events().isEmpty());
}

TEST_F(NumIO2Test, ReadsDynamicPrefixesAndIntegerLimits)
{
    struct Case {
        TInFormat format;
        const char *text;
        double value;
    };
    const Case cases[] = {
        {F::itDynamic, "$1F", 31},         {F::itDynamic, "%101", 5},
        {F::itDynamic, "&17", 15},         {F::itDynamic, "12E5", 1200000},
        {F::itInt, "99999999999", 2147483647},
        // A negative integer beyond 32 bits saturates at the negative end.
        {F::itInt, "-99999999999", -2147483648.0},
        {F::itExp, "1,5", 1.5},
    };
    for (const Case &c : cases) {
        Field->SetInputFormat(c.format);
        Field->SetText(QString::fromLatin1(c.text));
        ASSERT_EQ(Field->GetText(), QString::fromLatin1(c.text));
        EXPECT_EQ(Field->GetValue(), c.value) << c.text;
    }
}

TEST_F(NumIO2Test, IntegerValueRaisesOverflowBeyondThirtyTwoBits)
{
    Field->setObjectName(QStringLiteral("NumIO2a"));
    Field->SetInputFormat(F::itFloat);
    Field->SetValue(2147483647.6);
    try {
        (void)Field->GetIntegerValue();
        FAIL() << "no overflow";
    } catch (const ENVONumIO2Error &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Component \"NumIO2a\": integer overflow"));
    }
    Field->SetValue(-2147483648.0);
    EXPECT_EQ(Field->GetIntegerValue(), -2147483647 - 1);
}

TEST_F(NumIO2Test, InputFormatIsPublishedWithItsNames)
{
    // Designer and the gallery offer the names through the property's enumerator.
    const QMetaObject *meta = Field->metaObject();
    const QMetaProperty property = meta->property(meta->indexOfProperty("InputFormat"));
    ASSERT_TRUE(property.isEnumType());
    EXPECT_STREQ(property.enumerator().valueToKey(F::itHex), "itHex");
}

TEST_F(NumIO2Test, TextTakesOnlyValidTexts)
{
    Field->SetText(QStringLiteral("12.5"));
    Field->SetText(QStringLiteral("abc"));
    EXPECT_EQ(Field->GetText(), QStringLiteral("12.5"));
    Field->SetText(QString());
    EXPECT_EQ(Field->GetText(), QString());
    EXPECT_TRUE(Events.Events().isEmpty());
}

TEST_F(NumIO2Test, ReformattingSettersClampAndRerender)
{
    Field->SetValue(1.5);
    Field->SetFixPointDecPlaces(0);
    EXPECT_EQ(Field->GetFixPointDecPlaces(), 2);
    Field->SetFixPointDecPlaces(20);
    EXPECT_EQ(Field->GetFixPointDecPlaces(), 15);
    EXPECT_EQ(Field->GetText(), QStringLiteral("1.500000000000000"));
    Field->SetInputFormat(F::itInt);
    EXPECT_EQ(Field->GetText(), QStringLiteral("2"));

    Field->SetRangeLow(20);
    EXPECT_EQ(Field->GetRangeHigh(), 1000);
    Field->SetRangeHigh(5);
    EXPECT_EQ(Field->GetRangeLow(), 5);
    EXPECT_EQ(Field->GetRangeHigh(), 5);
    EXPECT_TRUE(Field->OutOfRange());
}

TEST_F(NumIO2Test, SeparatorChangeRewritesTheBufferAndTheWrittenTexts)
{
    Field->SetValue(1.5);
    Field->SetDecPlaceSep(dsComma);
    EXPECT_EQ(Field->GetText(), QStringLiteral("1,50"));
    // With "," alone selected, the field writes "," and accepts what it wrote.
    Field->SetValue(2.25);
    EXPECT_EQ(Field->GetText(), QStringLiteral("2,25"));
    Field->SetInputFormat(F::itFixPoint);
    EXPECT_TRUE(Field->CheckValidity(QStringLiteral("2,25")));
    EXPECT_FALSE(Field->CheckValidity(QStringLiteral("2.25")));
    Field->SetDecPlaceSep(dsPoint);
    EXPECT_EQ(Field->GetText(), QStringLiteral("2.25"));
}

// ---- Keys ------------------------------------------------------------------------------

TEST_F(NumIO2Test, TypingKeepsOnlyValidNumbers)
{
    struct Case {
        TInFormat format;
        const char *keys;
        const char *text;
    };
    const Case cases[] = {
        {F::itExp, "12A", "12"},   {F::itExp, "12E", "12E"},  {F::itExp, "12E5", "12E5"},
        {F::itDynamic, "$", ""},   {F::itDynamic, "F", ""},   {F::itFloat, "1e5", "15"},
        {F::itInt, "-12.", "-12"}, {F::itHex, "1aG", "1A"},   {F::itBin, "1021", "101"},
        {F::itFloat, "-.5", "-.5"}, {F::itOct, "789", "7"},
    };
    for (const Case &c : cases) {
        TypeInto(c.format, QString::fromLatin1(c.keys));
        EXPECT_EQ(Field->GetText(), QString::fromLatin1(c.text)) << c.keys;
    }
    TypeInto(F::itExp, QStringLiteral("12E5"));
    EXPECT_EQ(Field->GetValue(), 1200000);
}

TEST_F(NumIO2Test, ShiftedDigitsGiveThePrefixesOnAnyLayout)
{
    TypeInto(F::itDynamic, QStringLiteral("1"));
    QTest::keyClick(Field.get(), Qt::Key_Home);
    QTest::keyClick(Field.get(), Qt::Key_4, Qt::ShiftModifier);
    QTest::keyClick(Field.get(), Qt::Key_End);
    QTest::keyClick(Field.get(), Qt::Key_F);
    EXPECT_EQ(Field->GetText(), QStringLiteral("$1F"));
    EXPECT_EQ(Field->GetValue(), 31);
}

TEST_F(NumIO2Test, RejectedKeyRestoresBufferAndCaretAndBeepsWhenAsked)
{
    Field->SetBeep(true);
    TypeInto(F::itFloat, QStringLiteral("12"));
    Events.Clear();
    QTest::keyClick(Field.get(), Qt::Key_Home);
    QTest::keyClicks(Field.get(), QStringLiteral("x."));
    EXPECT_EQ(Field->GetText(), QStringLiteral(".12"));
    QTest::keyClicks(Field.get(), QStringLiteral("."));
    EXPECT_EQ(Field->GetText(), QStringLiteral(".12"));
    EXPECT_EQ(Field->GetCaretPos(), 1);
    EXPECT_EQ(Beeps, 2);
    EXPECT_EQ(Events.Count(QStringLiteral("OnChange")), 1);
}

TEST_F(NumIO2Test, FixPointSelectsTheDecimalBehindTheCaret)
{
    Field->SetInputFormat(F::itFixPoint);
    Field->SetText(QStringLiteral("1.50"));
    QTest::keyClick(Field.get(), Qt::Key_End);
    QTest::keyClick(Field.get(), Qt::Key_Left);
    EXPECT_EQ(Field->GetSelBegin(), 3);
    EXPECT_EQ(Field->GetSelEnd(), 4);
    QTest::keyClick(Field.get(), Qt::Key_7);
    EXPECT_EQ(Field->GetText(), QStringLiteral("1.57"));
}

TEST_F(NumIO2Test, DeletingEverythingLeavesTheZeroText)
{
    Field->SetValue(12.5);
    Field->SetSelBegin(0);
    Field->SetSelEnd(5);
    QTest::keyClick(Field.get(), Qt::Key_Backspace);
    EXPECT_EQ(Field->GetText(), QStringLiteral("0.00"));
    EXPECT_EQ(Events.Count(QStringLiteral("OnChange")), 1);
}

TEST_F(NumIO2Test, KeysThatRemoveNothingFireNoChange)
{
    Field->SetValue(5);
    QTest::keyClick(Field.get(), Qt::Key_Home);
    QTest::keyClick(Field.get(), Qt::Key_Backspace);
    QTest::keyClick(Field.get(), Qt::Key_End);
    QTest::keyClick(Field.get(), Qt::Key_Delete);
    QTest::keyClick(Field.get(), Qt::Key_Left);
    EXPECT_EQ(Field->GetText(), QStringLiteral("5.00"));
    EXPECT_TRUE(Events.Events().isEmpty());
}

TEST_F(NumIO2Test, ShorterValueKeepsCaretAndSelectionInsideTheBuffer)
{
    Field->SetValue(123456.5);
    Field->SetSelBegin(6);
    Field->SetSelEnd(9);
    Field->SetValue(1);
    EXPECT_LE(Field->GetSelEnd(), Field->GetText().size());
    EXPECT_LE(Field->GetCaretPos(), Field->GetText().size());
    // Deleting a selection that lay beyond the old end removes nothing and is no change.
    QTest::keyClick(Field.get(), Qt::Key_Delete);
    QTest::keyClick(Field.get(), Qt::Key_5);
    EXPECT_EQ(Field->GetText(), QStringLiteral("1.005"));
    EXPECT_EQ(Events.Count(QStringLiteral("OnChange")), 1);
}

TEST_F(NumIO2Test, ClipboardCutCopyPaste)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    Field->SetText(QStringLiteral("123.45"));
    Field->SetSelBegin(1);
    Field->SetSelEnd(3);
    QTest::keyClick(Field.get(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(), QStringLiteral("23"));
    EXPECT_TRUE(Events.Events().isEmpty());
    QTest::keyClick(Field.get(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Field->GetText(), QStringLiteral("1.45"));
    QTest::keyClick(Field.get(), Qt::Key_End);
    QTest::keyClick(Field.get(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Field->GetText(), QStringLiteral("1.4523"));
    clipboard->setText(QStringLiteral("x"));
    QTest::keyClick(Field.get(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Field->GetText(), QStringLiteral("1.4523"));
    EXPECT_EQ(Events.Count(QStringLiteral("OnChange")), 2);
}

TEST_F(NumIO2Test, ReadOnlyOnlyCopies)
{
    Field->SetText(QStringLiteral("12"));
    Field->SetReadOnly(true);
    EXPECT_FALSE(Field->CaretTimer().Active());
    EXPECT_FALSE(Field->GetCaretVisible());
    Field->SetSelEnd(2);
    QTest::keyClicks(Field.get(), QStringLiteral("3"));
    QTest::keyClick(Field.get(), Qt::Key_Backspace);
    QTest::keyClick(Field.get(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(Field->GetText(), QStringLiteral("12"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("12"));
    Field->SetReadOnly(false);
    EXPECT_TRUE(Field->CaretTimer().Active());
}

TEST_F(NumIO2Test, AModifierKeyAloneIsNoKeyPress)
{
    // Shift alone types nothing, yet it is no wrong key either: no beep, and the
    // selection a shifted key is about to extend stays.
    Field->SetBeep(true);
    Field->SetText(QStringLiteral("123"));
    Field->SetSelBegin(1);
    Field->SetSelEnd(3);
    for (const Qt::Key key : {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt, Qt::Key_Meta}) {
        QTest::keyClick(Field.get(), key);
        const std::string name = QKeySequence(key).toString().toStdString();
        EXPECT_EQ(Field->GetSelBegin(), 1) << name;
        EXPECT_EQ(Field->GetSelEnd(), 3) << name;
    }
    EXPECT_EQ(Beeps, 0);
    EXPECT_EQ(Field->GetText(), QStringLiteral("123"));
}

// ---- Caret timer -------------------------------------------------------------------------

TEST_F(NumIO2Test, CaretBlinksOnlyWithFocus)
{
    Field->show();
    QApplication::setActiveWindow(Field.get());
    Field->SetFocus();
    ASSERT_TRUE(Field->hasFocus());
    EXPECT_TRUE(Field->GetCaretVisible());
    Field->CaretTimer().Tick();
    EXPECT_FALSE(Field->GetCaretVisible());
    Field->CaretTimer().Tick();
    EXPECT_TRUE(Field->GetCaretVisible());
    Field->clearFocus();
    Field->CaretTimer().Tick();
    EXPECT_FALSE(Field->GetCaretVisible());
    EXPECT_FALSE(Field->CaretTimer().Active());
}

TEST_F(NumIO2Test, FieldWithoutTimerStaysUsable)
{
    QStringList reported;
    SetApplicationExceptionHandler([&](const std::exception &e) { reported << QString::fromUtf8(e.what()); });
    THiddenTimer::InjectStartFailures(1);
    TNumIO2 field;
    SetApplicationExceptionHandler({});
    ASSERT_EQ(reported.size(), 1);
    EXPECT_TRUE(reported[0].endsWith(QStringLiteral("no timer available")));
    EXPECT_FALSE(field.CaretTimer().Active());
    QTest::keyClicks(&field, QStringLiteral("42"));
    EXPECT_EQ(field.GetValue(), 42);
}

// ---- Spin buttons and gauge ----------------------------------------------------------------

TEST(NumIO2Rules, GaugeValueFromTheMousePosition)
{
    EXPECT_EQ(GaugeValueAt(35, 35, 100, 0, 1000, {}), 0);
    EXPECT_EQ(GaugeValueAt(85, 35, 100, 0, 1000, {}), 500);
    EXPECT_EQ(GaugeValueAt(34, 35, 100, 0, 1000, {}), 0); // limited to the range
    EXPECT_EQ(GaugeValueAt(60, 35, 100, 0, 1000, {0, 300, 1000}), 300);
    EXPECT_FALSE(GaugeValueAt(35, 35, 0, 0, 1000, {}).has_value());
}

TEST(NumIO2Rules, CharacterPositionsStayInTheBuffer)
{
    // 4 characters of 7 pixels in a left-justified box at 35.
    EXPECT_EQ(NumIO2XToCharPos(taLeftJustify, 35, 80, 28, 4, 0), 0);
    EXPECT_EQ(NumIO2XToCharPos(taLeftJustify, 35, 80, 28, 4, 35 + 3 + 10), 1);
    EXPECT_EQ(NumIO2XToCharPos(taLeftJustify, 35, 80, 28, 4, 35 + 3 + 11), 2);
    EXPECT_EQ(NumIO2XToCharPos(taLeftJustify, 35, 80, 31, 4, 500), 4);
    EXPECT_EQ(NumIO2XToCharPos(taCenter, 35, 80, 0, 4, 60), 0); // no width: start
    EXPECT_EQ(NumIO2CharPosToX(taCenter, 35, 80, 28, 7), 7 + 35 + 26 + 2);
}

TEST_F(NumIO2Test, SpinButtonsStepTheValueAndFireChange)
{
    Field->SetButVisible(true);
    Field->SetValue(10);
    const int x = 35 + 80 + 3 + 9;
    QTest::mouseClick(Field.get(), Qt::LeftButton, {}, QPoint(x, 5));
    EXPECT_EQ(Field->GetValue(), 11);
    QTest::mouseClick(Field.get(), Qt::LeftButton, {}, QPoint(x, 20));
    QTest::mouseClick(Field.get(), Qt::LeftButton, {}, QPoint(x, 20));
    EXPECT_EQ(Field->GetValue(), 9);
    EXPECT_EQ(Events.Count(QStringLiteral("OnChange")), 3);
    Field->SetReadOnly(true);
    QTest::mouseClick(Field.get(), Qt::LeftButton, {}, QPoint(x, 5));
    EXPECT_EQ(Field->GetValue(), 9);
}

TEST_F(NumIO2Test, PageKeysAndTheWheelTurnTheSpinButtons)
{
    Field->SetButVisible(true);
    Field->SetValue(10);
    QTest::keyClick(Field.get(), Qt::Key_PageUp);
    EXPECT_EQ(Field->GetValue(), 11);
    QTest::keyClick(Field.get(), Qt::Key_PageDown);
    QTest::keyClick(Field.get(), Qt::Key_PageDown);
    EXPECT_EQ(Field->GetValue(), 9);
    EXPECT_EQ(Events.Count(QStringLiteral("OnChange")), 3);
    const auto wheel = [&](int delta) {
        QWheelEvent event(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(Field.get(), &event);
        return event.isAccepted();
    };
    // The wheel over a field without the focus is left to what holds it.
    EXPECT_FALSE(wheel(120));
    EXPECT_EQ(Field->GetValue(), 9);
    Field->show();
    QApplication::setActiveWindow(Field.get());
    Field->SetFocus();
    ASSERT_TRUE(Field->hasFocus());
    EXPECT_TRUE(wheel(120));
    EXPECT_EQ(Field->GetValue(), 10);
    EXPECT_TRUE(wheel(-240));
    EXPECT_EQ(Field->GetValue(), 8);
    // Without spin buttons neither turns anything; the arrows still move the caret.
    Field->SetButVisible(false);
    QTest::keyClick(Field.get(), Qt::Key_PageUp);
    EXPECT_FALSE(wheel(120));
    EXPECT_EQ(Field->GetValue(), 8);
}

TEST_F(NumIO2Test, ClipboardKeysAreThePlatformsSequences)
{
    // Every binding the platform has for copy, cut and paste (on X11 also Ctrl+Insert,
    // Shift+Delete and Shift+Insert), not only Ctrl+C, Ctrl+X and Ctrl+V.
    QClipboard *clipboard = QGuiApplication::clipboard();
    const auto press = [&](const QKeySequence &sequence) {
        const QKeyCombination key = sequence[0];
        QTest::keyClick(Field.get(), key.key(), key.keyboardModifiers());
    };
    for (const QKeySequence &copy : QKeySequence::keyBindings(QKeySequence::Copy)) {
        Field->SetText(QStringLiteral("123"));
        Field->SetSelBegin(1);
        Field->SetSelEnd(3);
        clipboard->clear();
        press(copy);
        EXPECT_EQ(clipboard->text(), QStringLiteral("23")) << copy.toString().toStdString();
    }
    for (const QKeySequence &cut : QKeySequence::keyBindings(QKeySequence::Cut)) {
        Field->SetText(QStringLiteral("123"));
        Field->SetSelBegin(1);
        Field->SetSelEnd(3);
        press(cut);
        EXPECT_EQ(Field->GetText(), QStringLiteral("1")) << cut.toString().toStdString();
    }
    for (const QKeySequence &paste : QKeySequence::keyBindings(QKeySequence::Paste)) {
        Field->SetText(QStringLiteral("1"));
        QTest::keyClick(Field.get(), Qt::Key_End);
        clipboard->setText(QStringLiteral("5"));
        press(paste);
        EXPECT_EQ(Field->GetText(), QStringLiteral("15")) << paste.toString().toStdString();
    }
}

TEST_F(NumIO2Test, AnInputMethodTypesWhatItCommits)
{
    EXPECT_TRUE(Field->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_TRUE(Field->inputMethodQuery(Qt::ImEnabled).toBool());
    Field->SetText(QString());
    QInputMethodEvent compose(QStringLiteral("4"), {});
    QApplication::sendEvent(Field.get(), &compose);
    EXPECT_EQ(Field->GetText(), QString());
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("4.5"));
    QApplication::sendEvent(Field.get(), &commit);
    EXPECT_EQ(Field->GetText(), QStringLiteral("4.5"));
    EXPECT_EQ(Field->inputMethodQuery(Qt::ImSurroundingText).toString(), QStringLiteral("4.5"));
    EXPECT_EQ(Events.Count(QStringLiteral("OnChange")), 1);
    // A read-only field takes nothing from it.
    Field->SetReadOnly(true);
    EXPECT_FALSE(Field->inputMethodQuery(Qt::ImEnabled).toBool());
    QApplication::sendEvent(Field.get(), &commit);
    EXPECT_EQ(Field->GetText(), QStringLiteral("4.5"));
}

TEST_F(NumIO2Test, GaugeDragSetsTheValueAndReportsOnRelease)
{
    Field->SetGaugeVisible(true);
    QList<double> reported;
    Field->OnGaugeChange = [&](QObject *, Qt::KeyboardModifiers, double v) { reported << v; };
    const int y = 28 - 4;
    QTest::mousePress(Field.get(), Qt::LeftButton, {}, QPoint(35 + 41, y));
    EXPECT_EQ(Field->GetValue(), 500);
    QMouseEvent move(QEvent::MouseMove, QPointF(35 + 82, y), QPointF(35 + 82, y), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Field.get(), &move);
    EXPECT_EQ(Field->GetValue(), 1000);
    EXPECT_EQ(reported, QList<double>{1000});
    EXPECT_TRUE(Events.Events().isEmpty());
    QTest::mouseRelease(Field.get(), Qt::LeftButton, {}, QPoint(35 + 82, y));
    EXPECT_EQ(Events.Count(QStringLiteral("OnChange")), 1);
}

TEST_F(NumIO2Test, GaugeWithoutWidthIgnoresTheMouse)
{
    // A control narrowed to its gauge margin: the width clamp alone would reach 0.
    Field->SetGaugeVisible(true);
    Field->resize(35, 28);
    Field->SetGaugeWidth(20);
    EXPECT_GE(Field->GetGaugeWidth(), 1);
    Field->SetValue(7);
    QTest::mouseClick(Field.get(), Qt::LeftButton, {}, QPoint(35, 28 - 4));
    EXPECT_TRUE(std::isfinite(Field->GetValue()));
    EXPECT_GE(Field->GetValue(), 0);
    EXPECT_LE(Field->GetValue(), 1000);
}

TEST_F(NumIO2Test, MouseSelectsByAverageCharacterWidth)
{
    Field->SetAlignment(taLeftJustify);
    Field->SetText(QStringLiteral("123456"));
    const int a = QFontMetrics(PinnedFont()).horizontalAdvance(QStringLiteral("123456")) / 6;
    QTest::mousePress(Field.get(), Qt::LeftButton, {}, QPoint(35 + 3 + a, 10));
    EXPECT_EQ(Field->GetCaretPos(), 1);
    QMouseEvent move(QEvent::MouseMove, QPointF(35 + 3 + 4 * a, 10), QPointF(35 + 3 + 4 * a, 10),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Field.get(), &move);
    QTest::mouseRelease(Field.get(), Qt::LeftButton, {}, QPoint(35 + 3 + 4 * a, 10));
    EXPECT_EQ(Field->GetSelBegin(), 1);
    EXPECT_EQ(Field->GetSelEnd(), 4);
    EXPECT_EQ(Field->GetMouseAreaCode(), 1);
}

TEST_F(NumIO2Test, HoveringSetsTheMouseAreaAndFiresOnMouseMove)
{
    // No button is held: the field must track the mouse to see these moves at all.
    ExpectHoverFollowsTheAreas(*Field, {{10, 0}, {35, 0}, {36, 1}, {115, 1}, {116, 2}, {150, 2}});
}

TEST_F(NumIO2Test, HandlerFailuresReachTheApplicationHandler)
{
    QStringList reported;
    SetApplicationExceptionHandler([&](const std::exception &e) { reported << QString::fromUtf8(e.what()); });
    Field->OnChange = [](QObject *) { throw ENVONumIO2Error(QStringLiteral("change")); };
    Field->OnGaugeChange = [](QObject *, Qt::KeyboardModifiers, double) {
        throw ENVONumIO2Error(QStringLiteral("gauge"));
    };
    Field->SetGaugeVisible(true);
    Field->SetButVisible(true);
    QTest::keyClicks(Field.get(), QStringLiteral("7"));
    QTest::mouseClick(Field.get(), Qt::LeftButton, {}, QPoint(35 + 80 + 3 + 9, 5));
    QTest::mousePress(Field.get(), Qt::LeftButton, {}, QPoint(60, 24));
    QMouseEvent move(QEvent::MouseMove, QPointF(70, 24), QPointF(70, 24), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Field.get(), &move);
    QTest::mouseRelease(Field.get(), Qt::LeftButton, {}, QPoint(70, 24));
    SetApplicationExceptionHandler({});
    EXPECT_EQ(reported, (QStringList{QStringLiteral("change"), QStringLiteral("change"),
                                     QStringLiteral("gauge"), QStringLiteral("change")}));
}

TEST_F(NumIO2Test, AssignCopiesTheFieldButNotItsEvents)
{
    Field->SetInputFormat(F::itInt);
    Field->SetText(QStringLiteral("42"));
    Field->SetLeftText(QStringLiteral("U"));
    Field->SetRangeHigh(50);
    Field->SetButVisible(true);
    TNumIO2 copy;
    copy.Assign(Field.get());
    EXPECT_EQ(copy.GetText(), QStringLiteral("42"));
    EXPECT_EQ(copy.GetInputFormat(), F::itInt);
    EXPECT_EQ(copy.GetLeftText(), QStringLiteral("U"));
    EXPECT_EQ(copy.GetRangeHigh(), 50);
    EXPECT_FALSE(copy.GetButVisible());
    EXPECT_FALSE(copy.OnChange);
    QObject other;
    EXPECT_THROW(copy.Assign(&other), EConvertError);

    Field->SetColorScheme(csSystem);
    Field->AssignTo(&copy);
    EXPECT_EQ(copy.GetColorScheme(), csSystem);
    EXPECT_THROW(Field->AssignTo(&other), EConvertError);
}

TEST_F(NumIO2Test, LayoutSettersClamp)
{
    Field->SetButWidth(100);
    EXPECT_EQ(Field->GetButWidth(), 50);
    Field->SetButHeight(10);
    EXPECT_EQ(Field->GetButHeight(), 18);
    Field->SetGaugeHeight(1);
    EXPECT_EQ(Field->GetGaugeHeight(), 3);
    Field->SetButSpace(-4);
    EXPECT_EQ(Field->GetButSpace(), 0);
    Field->SetHeight(5);
    EXPECT_EQ(Field->height(), 18);
    Field->SetLeftSpace(-1);
    EXPECT_EQ(Field->GetLeftSpace(), 35);
    Field->SetLeftSpace(900);
    EXPECT_EQ(Field->GetLeftSpace(), 160);
}

TEST_F(NumIO2Test, HeightLowersTheButtonHeightBeforeTheFieldIsShown)
{
    // A field not shown yet gets no resize event: the setter itself keeps the buttons
    // within the field.
    ASSERT_FALSE(Field->isVisible());
    Field->SetHeight(10);
    EXPECT_EQ(Field->GetHeight(), 18);
    EXPECT_EQ(Field->GetButHeight(), 18);
    Field->SetHeight(40);
    EXPECT_EQ(Field->GetButHeight(), 18) << "a higher field keeps the buttons as they are";
}

TEST_F(NumIO2Test, AutoSizeFollowsTheFont)
{
    Field->SetAutoSize(true);
    EXPECT_EQ(Field->height(), QFontMetrics(PinnedFont()).height() + 6);
    Field->setFont(PinnedFont(20));
    EXPECT_EQ(Field->height(), QFontMetrics(PinnedFont(20)).height() + 6);
}

// ---- The control base ----------------------------------------------------------------------

TEST_F(NumIO2Test, ValueIsTheNotifyingUserProperty)
{
    ExpectNotifyingUserProperty(*Field, "Value", 20.0);
}

TEST(NumIO2, KeyAndMouseEventsFire)
{
    ExpectInputEvents<TNumIO2>(TTypedKeys::Taken);
}

TEST_F(NumIO2Test, FocusFramesTheKeyEvents)
{
    QWidget window;
    auto *other = new QLineEdit(&window);
    auto *field = new TNumIO2(&window);
    field->move(0, 30);
    field->OnEnter = Events.Recorder(QStringLiteral("enter"));
    field->OnExit = Events.Recorder(QStringLiteral("exit"));
    field->OnKeyDown = [&](QObject *, int &key, Qt::KeyboardModifiers) {
        Events.Record(QStringLiteral("down ") + QKeySequence(key).toString());
    };
    field->OnKeyPress = [&](QObject *, QChar &key) { Events.Record(QStringLiteral("press ") + key); };
    field->OnKeyUp = [&](QObject *, int &key, Qt::KeyboardModifiers) {
        Events.Record(QStringLiteral("up ") + QKeySequence(key).toString());
    };
    other->setFocus();
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    field->SetFocus();
    QTest::keyClick(field, Qt::Key_1);
    other->setFocus();
    EXPECT_EQ(Events.Events().join(u'|'), QStringLiteral("enter|down 1|press 1|up 1|exit"));
    EXPECT_EQ(field->GetText(), QStringLiteral("1"));
}

TEST_F(NumIO2Test, KeyHandlersChangeOrSwallowTheKeyBeforeTheFieldSeesIt)
{
    struct Case {
        const char *name;
        TKeyEvent down;
        TKeyPressEvent press;
        Qt::Key key;
        const char *text; ///< typed at the end of "12"
    };
    const Case cases[] = {
        {"down swallows", [](QObject *, int &key, Qt::KeyboardModifiers) { key = 0; }, {},
         Qt::Key_5, "12"},
        {"press swallows", {}, [](QObject *, QChar &key) { key = QChar(); }, Qt::Key_5, "12"},
        {"press changes", {}, [](QObject *, QChar &key) { key = u'7'; }, Qt::Key_5, "127"},
        // Delete at the end removes nothing; the Backspace it became does.
        {"down changes",
         [](QObject *, int &key, Qt::KeyboardModifiers) {
             if (key == Qt::Key_Delete)
                 key = Qt::Key_Backspace;
         },
         {}, Qt::Key_Delete, "1"},
    };
    Field->SetBeep(true);
    for (const Case &c : cases) {
        Field->SetText(QStringLiteral("12"));
        QTest::keyClick(Field.get(), Qt::Key_End);
        Field->OnKeyDown = c.down;
        Field->OnKeyPress = c.press;
        QTest::keyClick(Field.get(), c.key);
        Field->OnKeyDown = {};
        Field->OnKeyPress = {};
        EXPECT_EQ(Field->GetText(), QString::fromLatin1(c.text)) << c.name;
    }
    EXPECT_EQ(Beeps, 0) << "a swallowed key is no wrong key";
}

/// A field whose picture shows no spin buttons, no gauge, no side texts, no frame
/// lines and no selection, with a value in range.
std::unique_ptr<TNumIO2> MakePlainField()
{
    auto field = std::make_unique<TNumIO2>();
    field->setFont(PinnedFont());
    field->SetFrameStyle(fsNone);
    field->SetValue(5);
    return field;
}

TEST(NumIO2, SettingsTheFieldDoesNotShowPaintNothing)
{
    using S = TShownSetting<TNumIO2>;
    const auto buttons = [](TNumIO2 &f) { f.SetButVisible(true); };
    const auto gauge = [](TNumIO2 &f) { f.SetGaugeVisible(true); };
    const auto outOfRange = [](TNumIO2 &f) { f.SetValue(2000); };
    const auto leftText = [](TNumIO2 &f) { f.SetLeftText(QStringLiteral("U")); };
    const auto rightText = [](TNumIO2 &f) { f.SetRightText(QStringLiteral("V")); };
    ExpectPaintsOnlyWhereShown<TNumIO2>(MakePlainField, {
        S{"ButIncrem", {}, [](TNumIO2 &f) { f.SetButIncrem(5); }},
        S{"Beep", {}, [](TNumIO2 &f) { f.SetBeep(true); }},
        S{"Value set again", {}, [](TNumIO2 &f) { f.SetValue(5); }},
        S{"Text set again", {}, [](TNumIO2 &f) { f.SetText(QStringLiteral("5.00")); }},
        S{"SelBegin set again", {}, [](TNumIO2 &f) { f.SetSelBegin(0); }},
        S{"SignificantDigits", [](TNumIO2 &f) { f.SetInputFormat(F::itExp); },
          [](TNumIO2 &f) { f.SetSignificantDigits(3); }},
        S{"DecPlaceSep", [](TNumIO2 &f) { f.SetText(QStringLiteral("5,5")); },
          [](TNumIO2 &f) { f.SetDecPlaceSep(dsPoint); }},
        // A shown field takes the focus, and a focused field shows its selection anyway.
        S{"HideSelection",
          [](TNumIO2 &f) {
              f.setFocusPolicy(Qt::NoFocus);
              f.SetSelBegin(1);
              f.SetSelEnd(3);
          },
          [](TNumIO2 &f) { f.SetHideSelection(false); }},
        S{"RangeLow", gauge, [](TNumIO2 &f) { f.SetRangeLow(-5); }},
        S{"RangeHigh", gauge, [](TNumIO2 &f) { f.SetRangeHigh(2000); }},
        S{"ColorWarnBG", outOfRange, [](TNumIO2 &f) { f.SetColorWarnBG(clr::Lime); }},
        S{"ColorWarnText", outOfRange, [](TNumIO2 &f) { f.SetColorWarnText(clr::Lime); }},
        S{"ColorOutText", leftText, [](TNumIO2 &f) { f.SetColorOutText(clr::Lime); }},
        S{"LeftTextAlignment", leftText, [](TNumIO2 &f) { f.SetLeftTextAlignment(taCenter); }},
        S{"RightTextAlignment", rightText, [](TNumIO2 &f) { f.SetRightTextAlignment(taCenter); }},
        S{"But3D", buttons, [](TNumIO2 &f) { f.SetBut3D(false); }},
        S{"ButColor", buttons, [](TNumIO2 &f) { f.SetButColor(clr::Lime); }},
        S{"ButWidth", buttons, [](TNumIO2 &f) { f.SetButWidth(30); }},
        S{"ButHeight", buttons, [](TNumIO2 &f) { f.SetButHeight(20); }},
        S{"ButSpace", buttons, [](TNumIO2 &f) { f.SetButSpace(8); }},
        S{"GaugeHeight", gauge, [](TNumIO2 &f) { f.SetGaugeHeight(5); }},
        S{"GaugeWidth", gauge, [](TNumIO2 &f) { f.SetGaugeWidth(60); }},
        S{"GaugeLeftMargin", gauge, [](TNumIO2 &f) { f.SetGaugeLeftMargin(10); }},
        S{"GaugeTopMargin", gauge, [](TNumIO2 &f) { f.SetGaugeTopMargin(1); }},
        S{"GaugeFrameStyle", gauge, [](TNumIO2 &f) { f.SetGaugeFrameStyle(fsRaised); }},
        S{"GaugeColor", gauge, [](TNumIO2 &f) { f.SetGaugeColor(clr::Lime); }},
        S{"GaugeColorBg", gauge, [](TNumIO2 &f) { f.SetGaugeColorBg(clr::Lime); }},
        S{"GaugeColorFrame",
          [](TNumIO2 &f) {
              f.SetGaugeVisible(true);
              f.SetGaugeFrameStyle(fsSimple);
          },
          [](TNumIO2 &f) { f.SetGaugeColorFrame(clr::Lime); }},
        S{"ColorScheme", [](TNumIO2 &f) { f.SetFrameStyle(fsLowered); },
          [](TNumIO2 &f) { f.SetColorScheme(csSystem); }},
        S{"Height set again", {}, [](TNumIO2 &f) { f.SetHeight(28); }},
    });
    // The box's own colours do not show while the value is out of range.
    const auto makeOutOfRange = [] {
        auto field = MakePlainField();
        field->SetValue(2000);
        return field;
    };
    const auto inRange = [](TNumIO2 &f) { f.SetValue(5); };
    ExpectPaintsOnlyWhereShown<TNumIO2>(makeOutOfRange, {
        S{"ColorBoxBG", inRange, [](TNumIO2 &f) { f.SetColorBoxBG(clr::Lime); }},
        S{"ColorBoxText", inRange, [](TNumIO2 &f) { f.SetColorBoxText(clr::Lime); }},
    });
}

TEST(NumIO2, RangeCrossingTheValueAndAutoSizeOffPaintAsTheyShow)
{
    auto field = MakePlainField();
    field->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(field.get()));
    PaintCounter paints(field.get());
    field->SetRangeLow(6); // 5 is out of range now: the warning colours show
    EXPECT_EQ(paints.Count, 1);
    field->SetAutoSize(true);
    const int afterSwitchingOn = paints.Count;
    field->SetAutoSize(false); // the field keeps the height it was given
    EXPECT_EQ(paints.Count, afterSwitchingOn);
}

TEST(NumIO2Paint, AChangeAfterAPaintShowsAsOnAFreshField)
{
    ExpectChangesShowAsOnFreshControls<TNumIO2>({
        [](TNumIO2 &f) { f.SetValue(123.5); },
        [](TNumIO2 &f) { f.SetText(QStringLiteral("1")); },
        [](TNumIO2 &f) { f.SetButVisible(true); },
        [](TNumIO2 &f) {
            f.SetGaugeVisible(true);
            f.SetValue(500);
        },
        [](TNumIO2 &f) { f.SetLeftText(QStringLiteral("U")); },
        [](TNumIO2 &f) { f.SetFrameStyle(fsRaised); },
        [](TNumIO2 &f) { f.SetColorScheme(csSystem); },
        [](TNumIO2 &f) { f.SetEnabled(false); },
        [](TNumIO2 &f) { f.resize(200, 40); },
    });
}

} // namespace
