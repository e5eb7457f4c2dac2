// The custom numeric field's editing engine, without a widget: the validators, the
// spin rule and the keystroke rules that a widget reaches only through the
// clipboard, the keypad or a precise series of keys.

#include "NVO_NumEdit.h"

#include <gtest/gtest.h>

#include <functional>

using namespace nvo;

namespace {

using R = TNumEdit::TEditResult;

/// An engine in `format` holding `text` with the selection [selBegin, selEnd).
TNumEdit Prepared(TInFormat format, const char *text, int selBegin = 0, int selEnd = 0)
{
    TNumEdit edit;
    edit.SetInputFormat(format);
    EXPECT_TRUE(edit.SetText(QString::fromLatin1(text))) << text;
    edit.SetSelBegin(selBegin);
    edit.SetSelEnd(selEnd);
    return edit;
}

// ---- Validators ----------------------------------------------------------------------

TEST(NumIO2Validators, AcceptCompleteAndPartlyTypedNumbers)
{
    struct Case {
        const char *text;
        bool exp, flt, intText, hex;
    };
    const Case cases[] = {
        {"12", true, true, true, true},       {"12E", true, false, false, true},
        {"12E5", true, false, false, true},   {"12e-", true, false, false, false},
        {"-", false, true, false, false},     {".", true, true, false, false},
        {"-1.5", true, true, false, false},   {"1.2.3", false, false, false, false},
        {"e5", false, false, false, true},    {"1e4201", false, false, false, true},
        {"1e4200", true, false, false, true}, {"  12", true, false, false, false},
        {"12 ", false, false, false, false},  {"", false, false, false, false},
        {"+", false, true, false, false},     {"1,5", true, true, false, false},
    };
    for (const Case &c : cases) {
        const QString s = QString::fromLatin1(c.text);
        EXPECT_EQ(IsExpText(s, dsEither), c.exp) << c.text;
        EXPECT_EQ(IsFloatText(s, dsEither), c.flt) << c.text;
        EXPECT_EQ(IsIntText(s), c.intText) << c.text;
        EXPECT_EQ(IsHexText(s), c.hex) << c.text;
    }
    EXPECT_FALSE(IsFloatText(u"1,5", dsPoint));
    EXPECT_FALSE(IsFloatText(u"1.5", dsComma));
    EXPECT_TRUE(IsOctText(u"0717"));
    EXPECT_FALSE(IsOctText(u"8"));
    EXPECT_TRUE(IsBinText(u"0110"));
    EXPECT_FALSE(IsBinText(u"012"));
}

// ---- Spin buttons ------------------------------------------------------------------------

TEST(NumIO2Rules, SpinStepsByIncrementOrBetweenPivots)
{
    const TDoubleArray pivots{0, 10, 20};
    struct Case {
        double value;
        bool up;
        const TDoubleArray *pivots;
        double result;
    };
    const TDoubleArray none;
    const Case cases[] = {
        {10, true, &pivots, 20}, {10, false, &pivots, 0},  {12, false, &pivots, 10},
        {12, true, &pivots, 20}, {20, true, &pivots, 20},  {999.5, true, &none, 1000},
        {0.5, false, &none, 0},  {5, true, &none, 6},
    };
    for (const Case &c : cases)
        EXPECT_EQ(SpinValue(c.value, c.up, 1.0, 0, 1000, *c.pivots, 2), c.result)
            << c.value << (c.up ? " up" : " down");
}

// ---- Keystrokes ----------------------------------------------------------------------------

TEST(NumEdit, KeystrokesAreCheckedAsAWhole)
{
    struct Case {
        const char *what;
        TInFormat format;
        const char *text;
        int selBegin, selEnd;
        std::function<R(TNumEdit &)> keys;
        R result;
        const char *after;
        int caret, afterSelBegin, afterSelEnd;
    };
    const Case cases[] = {
        // Buffer and caret come back, the selection does not.
        {"cut the fixed point's separator", TNumFormat::itFixPoint, "1.50", 1, 2,
         [](TNumEdit &e) { return e.Cut(); }, TNumEdit::erRejected, "1.50", 2, 1, 1},
        {"cut without a selection", TNumFormat::itInt, "12", 0, 0,
         [](TNumEdit &e) { return e.Cut(); }, TNumEdit::erUnchanged, "12", 0, 0, 0},
        // Typing replaces the selection without the zero text deleting would leave.
        {"type over everything", TNumFormat::itFloat, "12.50", 0, 5,
         [](TNumEdit &e) { return e.Type(u"7"); }, TNumEdit::erChanged, "7", 1, 1, 1},
        {"backspace over everything", TNumFormat::itFloat, "12.50", 0, 5,
         [](TNumEdit &e) { return e.Backspace(); }, TNumEdit::erChanged, "0.00", 0, 0, 0},
        // Pasting inserts at the caret and keeps the selection.
        {"paste behind a selection", TNumFormat::itInt, "12", 0, 1,
         [](TNumEdit &e) { return e.Paste(QStringLiteral("3")); }, TNumEdit::erChanged, "132", 2, 0, 1},
        {"paste no number", TNumFormat::itInt, "12", 0, 1,
         [](TNumEdit &e) { return e.Paste(QStringLiteral("x")); }, TNumEdit::erRejected, "12", 1, 0, 1},
        // A lone sign passes in every format, as the start of a number being typed.
        {"sign in a hex field", TNumFormat::itHex, "", 0, 0,
         [](TNumEdit &e) { return e.Type(u"+"); }, TNumEdit::erChanged, "+", 1, 1, 1},
        {"digit behind a hex sign", TNumFormat::itHex, "", 0, 0,
         [](TNumEdit &e) { e.Type(u"-"); return e.Type(u"1"); }, TNumEdit::erRejected, "-", 1, 1, 1},
        // A key that types nothing is rejected, and still ends the selection.
        {"letter beyond F", TNumFormat::itInt, "123", 0, 2,
         [](TNumEdit &e) { return e.Type(u"x"); }, TNumEdit::erRejected, "123", 2, 2, 2},
        {"key without text", TNumFormat::itInt, "123", 0, 2,
         [](TNumEdit &e) { return e.Type(u""); }, TNumEdit::erRejected, "123", 2, 2, 2},
        {"backspace at the start", TNumFormat::itInt, "123", 0, 0,
         [](TNumEdit &e) { return e.Backspace(); }, TNumEdit::erUnchanged, "123", 0, 0, 0},
        {"a lone prefix is no number yet", TNumFormat::itDynamic, "", 0, 0,
         [](TNumEdit &e) { return e.Type(u"4", true); }, TNumEdit::erRejected, "", 0, 0, 0},
        {"shifted digit before a number", TNumFormat::itDynamic, "1", 0, 0,
         [](TNumEdit &e) { return e.Type(u"5", true); }, TNumEdit::erChanged, "%1", 1, 1, 1},
    };
    for (const Case &c : cases) {
        TNumEdit edit = Prepared(c.format, c.text, c.selBegin, c.selEnd);
        EXPECT_EQ(c.keys(edit), c.result) << c.what;
        EXPECT_EQ(edit.GetText(), QString::fromLatin1(c.after)) << c.what;
        EXPECT_EQ(edit.GetCaretPos(), c.caret) << c.what;
        EXPECT_EQ(edit.GetSelBegin(), c.afterSelBegin) << c.what;
        EXPECT_EQ(edit.GetSelEnd(), c.afterSelEnd) << c.what;
    }
}

TEST(NumEdit, KeypadDecimalKeyTypesTheSeparatorTheFieldWrites)
{
    struct Case {
        TDecPSep sep;
        const char16_t *key;
        bool keypad;
        const char *after;
    };
    const Case cases[] = {
        {dsComma, u".", true, "1,"},  {dsPoint, u",", true, "1."}, {dsEither, u",", true, "1."},
        {dsPoint, u",", false, "1"},  {dsComma, u",", false, "1,"},
    };
    for (const Case &c : cases) {
        TNumEdit edit = Prepared(TNumFormat::itFloat, "1");
        edit.SetDecPlaceSep(c.sep);
        edit.End();
        edit.Type(c.key, false, c.keypad);
        EXPECT_EQ(edit.GetText(), QString::fromLatin1(c.after)) << c.sep << (c.keypad ? " keypad" : "");
    }
    // The keypad's digits stay digits with Shift.
    TNumEdit edit = Prepared(TNumFormat::itDynamic, "");
    EXPECT_EQ(edit.Type(u"4", true, true), TNumEdit::erChanged);
    EXPECT_EQ(edit.GetText(), QStringLiteral("4"));
}

TEST(NumEdit, FixedPointSelectsTheDecimalBehindTheCaret)
{
    // "1.50" with 2 decimals: from the separator on, the caret selects the digit behind it.
    const struct {
        int caret, selBegin, selEnd;
    } cases[] = {{0, 0, 0}, {1, 1, 1}, {2, 2, 3}, {3, 3, 4}, {4, 4, 4}};
    for (const auto &c : cases) {
        TNumEdit edit = Prepared(TNumFormat::itFixPoint, "1.50");
        edit.Home();
        for (int i = 0; i < c.caret; ++i)
            edit.Right();
        EXPECT_EQ(edit.GetCaretPos(), c.caret);
        EXPECT_EQ(edit.GetSelBegin(), c.selBegin) << c.caret;
        EXPECT_EQ(edit.GetSelEnd(), c.selEnd) << c.caret;
    }
}

TEST(NumEdit, MouseSelectionMovesTheEndBehindTheStartElseTheStart)
{
    TNumEdit edit = Prepared(TNumFormat::itInt, "12345");
    edit.PlaceCaret(2);
    EXPECT_EQ(edit.GetCaretPos(), 2);
    EXPECT_FALSE(edit.HasSelection());
    edit.DragSelection(4);
    EXPECT_EQ(edit.SelectedText(), QStringLiteral("34"));
    EXPECT_EQ(edit.GetCaretPos(), 4);
    // Back before the start: the start moves and the end stays.
    edit.DragSelection(1);
    EXPECT_EQ(edit.SelectedText(), QStringLiteral("234"));
    EXPECT_EQ(edit.GetCaretPos(), 1);
    edit.PlaceCaret(9);
    EXPECT_EQ(edit.GetCaretPos(), 5);
    EXPECT_FALSE(edit.HasSelection());
}

TEST(NumEdit, SeparatorChoiceRewritesTheBufferExceptForEither)
{
    TNumEdit edit = Prepared(TNumFormat::itFloat, "1,5");
    EXPECT_TRUE(edit.SetDecPlaceSep(dsPoint)); // from either: "." and "," both become "."
    EXPECT_EQ(edit.GetText(), QStringLiteral("1.5"));
    EXPECT_TRUE(edit.SetDecPlaceSep(dsComma));
    EXPECT_EQ(edit.GetText(), QStringLiteral("1,5"));
    EXPECT_TRUE(edit.SetDecPlaceSep(dsEither)); // either reads both: the text stays
    EXPECT_EQ(edit.GetText(), QStringLiteral("1,5"));
    EXPECT_FALSE(edit.SetDecPlaceSep(dsEither));
}

} // namespace
