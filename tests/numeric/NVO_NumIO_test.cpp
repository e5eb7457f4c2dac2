// The numeric edit field, driven key by key as a user types.

#include "NVO_NumIO.h"

#include "EventRecorder.h"
#include "NVO_Control.h"

#include <gtest/gtest.h>

#include <QtCore/QLocale>
#include <QtTest/QSignalSpy>
#include <QtTest/QTest>
#include <QtWidgets/QLineEdit>

#include <cmath>
#include <memory>
#include <stdexcept>

using namespace nvo;

namespace {

/// A shown field with its beeps and OnChange calls counted.
class NumIOTest : public testing::Test
{
protected:
    void SetUp() override
    {
        SetBeepHook([this] { ++Beeps; });
        Field = std::make_unique<TNumIO>();
        Field->SetBeep(true);
        Field->OnChange = [this](QObject *sender) {
            EXPECT_EQ(sender, Field.get());
            Events.Record(QStringLiteral("OnChange ") + Field->text());
        };
        Field->show();
    }
    void TearDown() override
    {
        Field.reset();
        SetBeepHook({});
    }

    void SetRange(double low, double high)
    {
        Field->SetRangeHigh(high);
        Field->SetRangeLow(low);
    }
    void Type(const char *keys) { QTest::keyClicks(Field.get(), QString::fromLatin1(keys)); }
    void Clear()
    {
        Events.Clear();
        Beeps = 0;
    }

    std::unique_ptr<TNumIO> Field;
    test::EventRecorder Events;
    int Beeps = 0;
};

TEST_F(NumIOTest, StartsWithTheDefaults)
{
    EXPECT_EQ(Field->GetInputFormat(), TNumIO::itDynamic);
    EXPECT_EQ(Field->GetFixPointDecPlaces(), 2);
    EXPECT_EQ(Field->GetRangeLow(), 0);
    EXPECT_EQ(Field->GetRangeHigh(), 0);
    EXPECT_EQ(Field->GetDecPlaceSep(), dsLocale);
    EXPECT_TRUE(Field->text().isEmpty());
    EXPECT_EQ(Field->GetValue(), 0);
    TNumIO plain;
    EXPECT_FALSE(plain.GetBeep());
}

TEST_F(NumIOTest, StartsWithTheOpenRangeInTheFormDesigner)
{
    TNumIO placed;
    SetDesigning(&placed, true);
    EXPECT_EQ(placed.GetRangeLow(), -uc_MaxDouble);
    EXPECT_EQ(placed.GetRangeHigh(), uc_MaxDouble);
    // Text set in the designer is not checked there.
    placed.setText(QStringLiteral("abc"));
    EXPECT_EQ(placed.text(), QLatin1String("abc"));
}

struct TypingCase {
    const char *name;
    TInFormat format;
    double low, high;
    TDecPSep sep;
    const char *keys;
    const char *text;
    double value;
    int beeps;
};

TEST_F(NumIOTest, KeepsOnlyValidNumbersWhileTyping)
{
    using F = TNumIO;
    constexpr double kMax = uc_MaxDouble;
    const TypingCase cases[] = {
        {"zero range takes 0", F::itDynamic, 0, 0, dsPoint, "0", "0", 0, 0},
        {"zero range takes a lone minus", F::itDynamic, 0, 0, dsPoint, "-", "-", 0, 0},
        {"zero range takes a lone point", F::itDynamic, 0, 0, dsPoint, ".", ".", 0, 0},
        {"zero range rejects 5", F::itDynamic, 0, 0, dsPoint, "5", "", 0, 1},
        {"inside the range", F::itDynamic, -10, 10, dsPoint, "5.5", "5.5", 5.5, 0},
        {"above the range", F::itDynamic, -10, 10, dsPoint, "11", "1", 1, 1},
        {"zero outside the range", F::itDynamic, 5, 10, dsPoint, "0", "0", 0, 0},
        {"inner blank", F::itDynamic, -kMax, kMax, dsPoint, "1 2", "12", 12, 1},
        {"trailing blank", F::itDynamic, -kMax, kMax, dsPoint, "12 ", "12", 12, 1},
        {"leading blanks", F::itDynamic, -kMax, kMax, dsPoint, "  12", "  12", 12, 0},
        {"exponent", F::itDynamic, -kMax, kMax, dsPoint, "1.5e3", "1.5e3", 1500, 0},
        {"exponent being typed", F::itDynamic, -kMax, kMax, dsPoint, "1.5e", "1.5e", 1.5, 0},
        {"negative exponent being typed", F::itExp, -kMax, kMax, dsPoint, "1e-", "1e-", 1, 0},
        {"no exponent in itFloat", F::itFloat, -kMax, kMax, dsPoint, "1e5", "15", 15, 1},
        {"no point in itInt", F::itInt, -kMax, kMax, dsPoint, "1.0", "10", 10, 1},
        {"point only", F::itFloat, -kMax, kMax, dsPoint, "1,5", "15", 15, 1},
        {"comma only", F::itFloat, -kMax, kMax, dsComma, "1,5", "1,5", 1.5, 0},
        {"comma only rejects the point", F::itFloat, -kMax, kMax, dsComma, "1.5", "15", 15, 1},
        {"either takes the comma", F::itFloat, -kMax, kMax, dsEither, "1,5", "1,5", 1.5, 0},
        {"either takes the point", F::itFloat, -kMax, kMax, dsEither, "1.5", "1.5", 1.5, 0},
        {"hexadecimal in itDynamic", F::itDynamic, -kMax, kMax, dsPoint, "$1f", "$1f", 31, 0},
        {"binary in itDynamic", F::itDynamic, -kMax, kMax, dsPoint, "%102", "%10", 2, 1},
        {"octal in itDynamic", F::itDynamic, -kMax, kMax, dsPoint, "&78", "&7", 7, 1},
        {"itHex", F::itHex, -kMax, kMax, dsPoint, "ffg", "ff", 255, 1},
        {"itInt beyond 32 bits", F::itInt, -kMax, kMax, dsPoint, "4294967296", "429496729", 429496729, 1},
    };
    for (const TypingCase &c : cases) {
        SCOPED_TRACE(c.name);
        Field = std::make_unique<TNumIO>();
        Field->SetBeep(true);
        Field->show();
        Field->SetInputFormat(c.format);
        Field->SetDecPlaceSep(c.sep);
        SetRange(c.low, c.high);
        Field->setText(QString());
        Clear();
        Type(c.keys);
        EXPECT_EQ(Field->text(), QLatin1String(c.text));
        EXPECT_EQ(Field->GetValue(), c.value);
        EXPECT_EQ(Beeps, c.beeps);
    }
}

TEST_F(NumIOTest, RejectedKeystrokeRestoresTheTextAndCaret)
{
    SetRange(-100, 100);
    Type("12");
    QTest::keyClick(Field.get(), Qt::Key_Home);
    Type("x");
    EXPECT_EQ(Field->text(), QLatin1String("12"));
    EXPECT_EQ(Field->cursorPosition(), 0);
    QTest::keyClick(Field.get(), Qt::Key_End);
    Type("5");
    EXPECT_EQ(Field->text(), QLatin1String("12"));
    EXPECT_EQ(Field->cursorPosition(), 2);
    EXPECT_EQ(Beeps, 2);
}

TEST_F(NumIOTest, BeepsOnlyWhenAsked)
{
    Field->SetBeep(false);
    Type("5");
    EXPECT_EQ(Field->text(), QString());
    EXPECT_EQ(Beeps, 0);
}

TEST_F(NumIOTest, EmptyFieldRecheckedBySettersStaysQuiet)
{
    // Nothing to undo: a form setting up an empty field must not beep.
    Field->SetInputFormat(TNumIO::itInt);
    Field->SetRangeHigh(10);
    Field->SetDecPlaceSep(dsComma);
    EXPECT_EQ(Beeps, 0);
    EXPECT_TRUE(Events.Events().isEmpty());
}

TEST_F(NumIOTest, RaisesOnChangeForAcceptedChangesOnly)
{
    SetRange(-10, 10);
    Clear();
    QSignalSpy valueChanged(Field.get(), &TNumIO::ValueChanged);
    Type("1x2");
    EXPECT_EQ(Events.Events(), QStringList{QStringLiteral("OnChange 1")});
    EXPECT_EQ(Field->text(), QLatin1String("1"));
    EXPECT_EQ(valueChanged.count(), 1);
    Field->SetValue(3);
    EXPECT_EQ(Events.Count(QStringLiteral("OnChange 3")), 0);
    EXPECT_EQ(valueChanged.count(), 2);
}

TEST_F(NumIOTest, ValidatesTextSetThroughTheTextProperty)
{
    SetRange(-10, 10);
    Field->setText(QStringLiteral("7"));
    Field->setText(QStringLiteral("abc"));
    EXPECT_EQ(Field->text(), QLatin1String("7"));
    Field->setProperty("text", QStringLiteral("e5"));
    EXPECT_EQ(Field->text(), QLatin1String("7"));
}

struct ValueTextCase {
    TInFormat format;
    double value;
    const char *text;
};

TEST_F(NumIOTest, ValueWritesTheFormatsNotation)
{
    using F = TNumIO;
    Field->SetDecPlaceSep(dsPoint);
    const ValueTextCase cases[] = {
        {F::itExp, 1.5, " 1.50000E+00"},
        {F::itExp, 1e150, "************"},
        {F::itHex, 255, "000000FF"},
        {F::itFloat, 1.5, "1.50000000"},
        {F::itFixPoint, 1.239, "1.24"},
        {F::itInt, 2.5, "2"},
        {F::itOct, 8, "00000010"},
        {F::itBin, 5, "00000101"},
    };
    for (const ValueTextCase &c : cases) {
        Field->SetInputFormat(c.format);
        Field->SetValue(c.value);
        EXPECT_EQ(Field->text(), QLatin1String(c.text)) << int(c.format);
    }
    Field->SetInputFormat(F::itDynamic);
    Field->SetValue(-2.5);
    EXPECT_EQ(Field->GetValue(), -2.5);
}

TEST_F(NumIOTest, FixPointRerendersWithItsDecimals)
{
    Field->SetInputFormat(TNumIO::itFixPoint);
    Field->SetDecPlaceSep(dsPoint);
    SetRange(-1e6, 1e6);
    Clear();
    Type("12.5");
    EXPECT_EQ(Field->text(), QLatin1String("12.50"));
    Field->selectAll();
    Type("1.239");
    EXPECT_EQ(Field->text(), QLatin1String("1.24"));
    EXPECT_EQ(Field->GetValue(), 1.24);
    // A second point is rejected; the caret waits behind the first one.
    Type(".");
    EXPECT_EQ(Field->text(), QLatin1String("1.24"));
    EXPECT_EQ(Field->cursorPosition(), 2);
    // Deleting the point leaves the number without it.
    Field->SetValue(123.45);
    Field->setCursorPosition(4);
    QTest::keyClick(Field.get(), Qt::Key_Backspace);
    EXPECT_EQ(Field->text(), QLatin1String("12345.00"));
    EXPECT_EQ(Field->cursorPosition(), 3);
}

TEST_F(NumIOTest, FixPointChecksTheRangeOnTheRenderedValue)
{
    // 1.2359 lies inside 0..1.236 but the field would show 1.24, which does not.
    Field->SetInputFormat(TNumIO::itFixPoint);
    Field->SetDecPlaceSep(dsPoint);
    SetRange(0, 1.236);
    Field->SetValue(1.2);
    Clear();
    Field->setText(QStringLiteral("1.2359"));
    EXPECT_EQ(Field->text(), QLatin1String("1.20"));
    EXPECT_TRUE(Events.Events().isEmpty());
    // OnChange sees the text that stays, and that text is what a rejection restores.
    Field->setText(QStringLiteral("1.229"));
    EXPECT_EQ(Events.Events(), QStringList{QStringLiteral("OnChange 1.23")});
    Field->setText(QStringLiteral("x"));
    EXPECT_EQ(Field->text(), QLatin1String("1.23"));
}

TEST_F(NumIOTest, TextSetByTheProgramBecomesTheValidState)
{
    // After Value := 5, a rejected keystroke brings back 5, not the older typed text.
    SetRange(-10, 10);
    Field->SetInputFormat(TNumIO::itInt);
    Type("3");
    Field->SetValue(5);
    QTest::keyClick(Field.get(), Qt::Key_End);
    Type("x");
    EXPECT_EQ(Field->text(), QLatin1String("5"));
    EXPECT_EQ(Field->GetValue(), 5);
}

TEST_F(NumIOTest, UnchangedProgramTextLeavesValidationOn)
{
    // Writing the text the field already shows raises no notification; the next
    // keystroke must still be checked.
    SetRange(-10, 10);
    Field->SetInputFormat(TNumIO::itInt);
    Field->SetValue(5);
    Field->SetValue(5);
    QTest::keyClick(Field.get(), Qt::Key_End);
    Type("9");
    EXPECT_EQ(Field->text(), QLatin1String("5"));
    EXPECT_EQ(Beeps, 1);
}

TEST_F(NumIOTest, CommaFieldStaysEditableAfterValue)
{
    SetRange(-100, 100);
    Field->SetInputFormat(TNumIO::itFloat);
    Field->SetDecPlaceSep(dsComma);
    Field->SetValue(1.5);
    EXPECT_EQ(Field->text(), QLatin1String("1,50000000"));
    EXPECT_EQ(Field->GetValue(), 1.5);
    QTest::keyClick(Field.get(), Qt::Key_End);
    Type("1");
    EXPECT_EQ(Field->text(), QLatin1String("1,500000001"));
    EXPECT_EQ(Beeps, 0);
    Field->setText(QStringLiteral("2,25"));
    EXPECT_EQ(Field->GetValue(), 2.25);
}

TEST_F(NumIOTest, LocaleSeparatorFollowsTheUsersLocale)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    TNumIO field;
    field.SetInputFormat(TNumIO::itFloat);
    field.SetRangeHigh(10);
    field.SetValue(1.5);
    EXPECT_EQ(field.text(), QLatin1String("1,50000000"));
    EXPECT_EQ(field.GetValue(), 1.5);
    QLocale::setDefault(saved);
}

TEST_F(NumIOTest, RangeSettersSwapCrossingLimits)
{
    SetRange(0, 10);
    Field->SetRangeLow(20);
    EXPECT_EQ(Field->GetRangeLow(), 10);
    EXPECT_EQ(Field->GetRangeHigh(), 20);
    Field->SetRangeLow(10);
    Field->SetRangeHigh(5);
    EXPECT_EQ(Field->GetRangeLow(), 5);
    EXPECT_EQ(Field->GetRangeHigh(), 10);
    // A limit that is no number is ignored.
    Field->SetRangeLow(std::nan(""));
    Field->SetRangeHigh(std::nan(""));
    EXPECT_EQ(Field->GetRangeLow(), 5);
    EXPECT_EQ(Field->GetRangeHigh(), 10);
}

TEST_F(NumIOTest, SettersRecheckTheTextAgainstAnEmptyValidState)
{
    SetRange(-10, 10);
    Field->SetInputFormat(TNumIO::itFloat);
    Field->SetDecPlaceSep(dsPoint);
    Type("1.5");
    Clear();
    // Still valid: kept, and announced once.
    Field->SetRangeHigh(20);
    EXPECT_EQ(Field->text(), QLatin1String("1.5"));
    EXPECT_EQ(Events.Count(QStringLiteral("OnChange 1.5")), 1);
    // No longer valid: the field empties.
    Field->SetInputFormat(TNumIO::itInt);
    EXPECT_EQ(Field->text(), QString());
    Type("7");
    EXPECT_EQ(Field->text(), QLatin1String("7"));
    Clear();
    Field->SetRangeLow(8);
    EXPECT_EQ(Field->text(), QString());
}

TEST_F(NumIOTest, SettingAPropertyToItsValueDoesNothing)
{
    SetRange(-10, 10);
    Type("3");
    Clear();
    Field->SetInputFormat(Field->GetInputFormat());
    Field->SetRangeLow(-10);
    Field->SetRangeHigh(10);
    Field->SetDecPlaceSep(Field->GetDecPlaceSep());
    EXPECT_TRUE(Events.Events().isEmpty());
}

TEST_F(NumIOTest, InputFormatIsPublishedWithItsNames)
{
    // Designer and the gallery offer the names through the property's enumerator.
    const QMetaObject *meta = Field->metaObject();
    const QMetaProperty property = meta->property(meta->indexOfProperty("InputFormat"));
    ASSERT_TRUE(property.isEnumType());
    EXPECT_STREQ(property.enumerator().valueToKey(TNumIO::itHex), "itHex");
}

TEST_F(NumIOTest, PropertiesAreSetByNameAsFormsDo)
{
    EXPECT_TRUE(Field->setProperty("InputFormat", int(TNumIO::itHex)));
    EXPECT_TRUE(Field->setProperty("DecPlaceSep", int(dsEither)));
    EXPECT_TRUE(Field->setProperty("RangeHigh", 300.0));
    EXPECT_TRUE(Field->setProperty("FixPointDecPlaces", 4));
    EXPECT_TRUE(Field->setProperty("Beep", false));
    EXPECT_TRUE(Field->setProperty("Value", 255.0));
    EXPECT_EQ(Field->GetInputFormat(), TNumIO::itHex);
    EXPECT_EQ(Field->GetDecPlaceSep(), dsEither);
    EXPECT_EQ(Field->GetRangeHigh(), 300);
    EXPECT_EQ(Field->GetFixPointDecPlaces(), 4);
    EXPECT_FALSE(Field->GetBeep());
    EXPECT_EQ(Field->text(), QLatin1String("000000FF"));
    EXPECT_EQ(Field->property("Value").toDouble(), 255);
}

TEST_F(NumIOTest, FixPointDecPlacesIsClampedAndOnlyStored)
{
    const struct {
        int set, stored;
    } cases[] = {{0, 1}, {12, 8}, {5, 5}, {-3, 1}};
    for (const auto &c : cases) {
        Field->SetFixPointDecPlaces(c.set);
        EXPECT_EQ(Field->GetFixPointDecPlaces(), c.stored);
    }
}

TEST_F(NumIOTest, AssignCopiesFormatBeepRangeAndSeparator)
{
    TNumIO source;
    source.SetInputFormat(TNumIO::itHex);
    source.SetBeep(true);
    source.SetRangeHigh(50);
    source.SetRangeLow(-5);
    source.SetDecPlaceSep(dsEither);
    source.SetFixPointDecPlaces(6);
    TNumIO target;
    target.Assign(&source);
    EXPECT_EQ(target.GetInputFormat(), TNumIO::itHex);
    EXPECT_TRUE(target.GetBeep());
    EXPECT_EQ(target.GetRangeLow(), -5);
    EXPECT_EQ(target.GetRangeHigh(), 50);
    EXPECT_EQ(target.GetDecPlaceSep(), dsEither);
    EXPECT_EQ(target.GetFixPointDecPlaces(), 2);
    TNumIO other;
    source.AssignTo(&other);
    EXPECT_EQ(other.GetInputFormat(), TNumIO::itHex);

    QLineEdit edit;
    try {
        target.Assign(&edit);
        FAIL() << "assigning a QLineEdit must fail";
    } catch (const EConvertError &error) {
        EXPECT_EQ(error.Message(), QLatin1String("Cannot assign a QLineEdit to a nvo::TNumIO"));
    }
    EXPECT_EQ(target.GetInputFormat(), TNumIO::itHex);
    EXPECT_THROW(target.AssignTo(&edit), EConvertError);
}

TEST_F(NumIOTest, ExceptionInOnChangeReachesTheApplicationHandler)
{
    QStringList handled;
    SetApplicationExceptionHandler([&](const std::exception &e) { handled << e.what(); });
    SetRange(-10, 10);
    Field->OnChange = [](QObject *) { throw std::runtime_error("handler failed"); };
    Type("4");
    SetApplicationExceptionHandler({});
    EXPECT_EQ(handled, QStringList{QStringLiteral("handler failed")});
    EXPECT_EQ(Field->text(), QLatin1String("4"));
}

} // namespace
