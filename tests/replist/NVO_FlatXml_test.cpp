#include "NVO_FlatXml_p.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace nvo::flatxml;

/// An element as a test compares it: "name[attr=value,...]text".
std::string Describe(const Element &e)
{
    std::string text(e.name);
    text += '[';
    for (int i = 0; i < e.attributeCount; ++i)
        text.append(i ? "," : "").append(e.attributes[i].name).append("=").append(e.attributes[i].value);
    return text.append("]").append(e.text);
}

/// The elements of `body` up to the end tag of "r", or "refused" when the scan fails.
std::vector<std::string> Scan(std::string_view body)
{
    std::vector<std::string> elements;
    size_t end = 0;
    if (!ScanBody(body, "r", [&](const Element &e) { elements.push_back(Describe(e)); return true; }, end))
        return {"refused"};
    return elements;
}

TEST(FlatXml, ScanHandsOverEachElementWithItsRawTextAndAttributes)
{
    const std::string_view body = "\n<a x=\"1\" Y = 'two'>t &amp; u</a >\n<!-- a <note> -->\n<?pi x?>"
                                  "<b/>\n<C></c>\n</R>tail";
    EXPECT_EQ(Scan(body), (std::vector<std::string>{"a[x=1,Y=two]t &amp; u", "b[]", "C[]"}));

    size_t end = 0;
    ASSERT_TRUE(ScanBody(body, "r", [](const Element &) { return true; }, end));
    EXPECT_EQ(body.substr(end), ">tail"); // just after the end tag's name
}

TEST(FlatXml, AttributesAreLookedUpByNameInAnyCase)
{
    size_t end = 0;
    EXPECT_TRUE(ScanBody("<a y='1' x=\"2\"/></r>", "r", [](const Element &e) {
        return e.Attr("X") == "2" && e.Attr("Y") == "1" && !e.Attr("z");
    }, end));
}

TEST(FlatXml, ScanRefusesWhatIsNotAFlatBody)
{
    const char *const bodies[] = {
        "",                          // no end tag
        "<a>x</a>",                  // no end tag after the elements
        "text</r>",                  // stray text
        "<a>x</a> y </r>",           // stray text between elements
        "<a><b>x</b></a></r>",       // nesting
        "<a>x</b></r>",              // closed by another name
        "<a>x</a</r>",               // broken end tag
        "<a x=1>y</a></r>",          // unquoted value
        "<a x=\"1>y</a></r>",        // unterminated value
        "<a x>y</a></r>",            // attribute without a value
        "<>x</></r>",                // no name
        "<a>x",                      // cut inside a text
        "<!-- open </r>",            // unterminated comment
        "<?pi </r>",                 // unterminated instruction
        "</other>",                  // another root's end tag
    };
    for (const char *body : bodies)
        EXPECT_EQ(Scan(body), std::vector<std::string>{"refused"}) << body;

    size_t end = 0;
    EXPECT_FALSE(ScanBody("<a/></r>", "r", [](const Element &) { return false; }, end)); // stopped by the reader
}

TEST(FlatXml, AttributesBeyondTheFourthAreReadOver)
{
    EXPECT_EQ(Scan("<a p='1' q='2' r='3' s='4' t='5'>x</a></r>"), std::vector<std::string>{"a[p=1,q=2,r=3,s=4]x"});
}

TEST(FlatXml, RootTagsAreFoundInAnyCaseAndTheStartTagEndsOutsideQuotes)
{
    EXPECT_TRUE(HasStartTag("x <RepList id=\"a\">", "replist"));
    EXPECT_FALSE(HasStartTag("<replis", "replist"));
    EXPECT_FALSE(HasStartTag("</replist>", "replist"));
    EXPECT_TRUE(HasEndTag("a</REPLIST>", "replist"));
    EXPECT_FALSE(HasEndTag("<replist>", "replist"));

    const std::string_view line = "<?xml?><r a=\">\" b='>'>rest";
    EXPECT_EQ(StartTagEnd(line, "r"), qsizetype(line.find(">rest")));
    EXPECT_EQ(StartTagEnd("<r a=\"x>", "r"), -1);
    EXPECT_EQ(StartTagEnd("no root here", "r"), -1);
}

TEST(FlatXml, UnescapeResolvesNamedAndCharacterReferencesAndRefusesOthers)
{
    const struct
    {
        std::string_view raw;
        bool ok;
        std::string_view text;
    } cases[] = {
        {"a&amp;b", true, "a&b"},
        {"&lt;&gt;&quot;&apos;", true, "<>\"'"},
        {"&#65;&#x42;&#x0a;", true, "AB\n"},
        {"&#228;&#x20AC;&#x1F600;", true, "\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80"},
        {"no references", true, "no references"},
        {"&nbsp;", false, ""},
        {"&amp", false, ""},
        {"&#;", false, ""},
        {"&#x;", false, ""},
        {"&#12a;", false, ""},
        {"&#0;", false, ""},
        {"&#xD800;", false, ""},
        {"&#x110000;", false, ""},
        {"&averyverylongname;", false, ""},
    };
    for (const auto &c : cases) {
        std::string out;
        EXPECT_EQ(Unescape(c.raw, out), c.ok) << c.raw;
        if (c.ok)
            EXPECT_EQ(out, c.text) << c.raw;
    }
}

TEST(FlatXml, ResolveViewsATextWithoutReferencesInPlace)
{
    const std::string_view raw = "plain text";
    std::string buffer;
    std::string_view text;
    ASSERT_TRUE(Resolve(raw, buffer, text));
    EXPECT_EQ(text.data(), raw.data());
    ASSERT_TRUE(Resolve("a&lt;b", buffer, text));
    EXPECT_EQ(text, "a<b");
    EXPECT_FALSE(Resolve("a&b", buffer, text));
}

TEST(FlatXml, EscapedTextsStayOnOneLineAndComeBackThroughUnescape)
{
    for (const std::string_view text : {"plain", "a&b<c>\"d'e", "tab\tline\nreturn\r", "\xC3\xA4\xF0\x9F\x98\x80"}) {
        std::string escaped = "x";
        AppendEscaped(escaped, text);
        EXPECT_EQ(escaped.find_first_of("<>\"'\t\n\r", 1), std::string::npos) << text;
        std::string back;
        ASSERT_TRUE(Unescape(std::string_view(escaped).substr(1), back)) << text;
        EXPECT_EQ(back, text);
    }
}

} // namespace
