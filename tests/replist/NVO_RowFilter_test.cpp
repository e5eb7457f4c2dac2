#include "NVO_RowFilter.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using nvo::TRowFilter;

/// The searched cells of one row; the verdict must not depend on whether the caller
/// vouches for the cells' UTF-16, which only spares a check.
bool Passes(const TRowFilter &filter, std::initializer_list<const char16_t *> cells)
{
    std::vector<QStringView> views(cells.begin(), cells.end());
    const bool checked = filter.Matches(views);
    EXPECT_EQ(filter.Matches(views, true), checked);
    return checked;
}

TEST(RowFilter, EachModeReadsItsOwnSyntax)
{
    const struct {
        const char16_t *Expression;
        TRowFilter::TFilterMode Mode;
        bool IgnoreCase;
        std::initializer_list<const char16_t *> Cells;
        bool Passes;
    } cases[] = {
        {u"", TRowFilter::fmSimple, false, {u"anything"}, true},
        {u"ed gr", TRowFilter::fmSimple, false, {u"1", u"red green"}, true},
        {u"RED", TRowFilter::fmSimple, true, {u"red"}, true},
        {u"RED", TRowFilter::fmSimple, false, {u"red"}, false},
        {u"a*c", TRowFilter::fmSimple, false, {u"abc"}, false}, // plain text: no wildcards
        {u"red green", TRowFilter::fmBoolean, false, {u"red", u"green"}, true}, // words in any cells
        {u"red green", TRowFilter::fmBoolean, false, {u"red", u"blue"}, false},
        {u"red green OR blue", TRowFilter::fmBoolean, false, {u"blue"}, true},
        {u"red | blue", TRowFilter::fmBoolean, false, {u"red"}, true},
        {u"red -old", TRowFilter::fmBoolean, false, {u"red", u"old stock"}, false},
        {u"red -\"old stock\"", TRowFilter::fmBoolean, false, {u"red", u"old"}, true},
        {u"\"red green\"", TRowFilter::fmBoolean, false, {u"red", u"green"}, false}, // a phrase
        {u"\"OR\"", TRowFilter::fmBoolean, false, {u"OR"}, true},  // quoted: a word, no operator
        {u"r?d b*e", TRowFilter::fmBoolean, false, {u"a red", u"blue sky"}, true},
        {u"R*D", TRowFilter::fmBoolean, true, {u"rod"}, true},
        {u"a.c", TRowFilter::fmBoolean, false, {u"abc"}, false}, // "." is no wildcard
        {u"OR", TRowFilter::fmBoolean, false, {u"x"}, true},      // nothing left to ask
        {u"^\\d{3}$", TRowFilter::fmGrep, false, {u"abc", u"123"}, true},
        {u"^\\d{3}$", TRowFilter::fmGrep, false, {u"1234"}, false},
        {u"ab+c", TRowFilter::fmGrep, true, {u"xABBC"}, true},
    };
    for (const auto &c : cases) {
        const TRowFilter filter(QString::fromUtf16(c.Expression), c.Mode, c.IgnoreCase);
        ASSERT_TRUE(filter.IsValid()) << qPrintable(QString::fromUtf16(c.Expression));
        EXPECT_EQ(Passes(filter, c.Cells), c.Passes) << qPrintable(QString::fromUtf16(c.Expression));
    }
}

TEST(RowFilter, AMalformedRegularExpressionIsReportedAndPassesNoRow)
{
    const TRowFilter filter(QStringLiteral("(ab"), TRowFilter::fmGrep, false);
    EXPECT_FALSE(filter.IsValid());
    EXPECT_TRUE(filter.ErrorString().contains(QLatin1String("(ab"))) << qPrintable(filter.ErrorString());
    EXPECT_TRUE(filter.ErrorString().contains(QLatin1String("offset 3"))) << qPrintable(filter.ErrorString());
    EXPECT_FALSE(Passes(filter, {u"(ab"}));
    // Brackets are plain characters in the other modes.
    EXPECT_TRUE(Passes(TRowFilter(QStringLiteral("(ab"), TRowFilter::fmBoolean, false), {u"x(abc"}));
}

} // namespace
