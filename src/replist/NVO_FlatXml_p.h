#pragma once

// A tokenizer for flat XML: a root element whose body is a sequence of elements that
// hold text but no other elements, such as
//
//   <root attr="...">
//   <name attr="value">text</name>
//   <name/>
//   </root>
//
// It knows no element names but the root's, which the caller gives. Texts and attribute
// values come out raw, as views of the input with their references unresolved: most
// texts hold none, and the reader resolves the others with `Unescape`. Names compare in
// any letter case. The input is bytes (UTF-8); markup is ASCII.

#include "NVO_Global.h"

#include <optional>
#include <string>
#include <string_view>

namespace nvo::flatxml {

struct Attribute
{
    std::string_view name, value;
};

/// One element of a body: its name, its raw text and its first attributes with their
/// raw values.
struct Element
{
    /// More attributes than this are read over: a flat record needs few.
    static constexpr int MaxAttributes = 4;

    std::string_view name;
    std::string_view text;
    Attribute attributes[MaxAttributes];
    int attributeCount = 0;

    /// The raw value of the attribute `name` (in any letter case), if the element has it.
    std::optional<std::string_view> Attr(std::string_view name) const;
};

inline bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

inline bool IsNameChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-'
           || c == '.' || c == ':';
}

/// Markup names are ASCII; folding them by hand keeps the locale out of a hot loop.
inline char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

inline bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    return true;
}

inline std::optional<std::string_view> Element::Attr(std::string_view name) const
{
    for (int i = 0; i < attributeCount; ++i)
        if (EqualsNoCase(attributes[i].name, name))
            return attributes[i].value;
    return std::nullopt;
}

/// Whether the text holds "<root" in any letter case: a quick test for the line that
/// may start the root element.
NVO_EXPORT bool HasStartTag(std::string_view text, std::string_view root);
/// Whether the text holds "</root" in any letter case. Content never does, since every
/// "<" in it is a reference.
NVO_EXPORT bool HasEndTag(std::string_view text, std::string_view root);
/// Where the start tag of `root` ends on the line: the ">" after "<root" outside quoted
/// values; -1 when it does not end there.
NVO_EXPORT qsizetype StartTagEnd(std::string_view line, std::string_view root);

/// Walks the flat elements of a body up to the end tag of `root`, handing each to
/// `onElement` (which returns false to stop the walk, making it fail), and puts `end`
/// just after the end tag's name. Comments and processing instructions are skipped.
/// Returns false for anything that is not such a body: nesting, stray text, broken tags,
/// a closing name that differs, no end tag.
///
/// Always inlined into the reader: compiled as a function of its own (a template in a
/// header is not inlined just because one caller uses it), the scan made a read a few
/// percent slower.
template<class OnElement>
Q_ALWAYS_INLINE bool ScanBody(std::string_view body, std::string_view root, OnElement &&onElement, size_t &end)
{
    size_t pos = 0;
    const size_t n = body.size();
    const auto skipTo = [&](std::string_view terminator) {
        const size_t at = body.find(terminator, pos);
        if (at == std::string_view::npos)
            return false;
        pos = at + terminator.size();
        return true;
    };
    // One element object for the whole body: a body has a million elements, and a fresh
    // one would clear its attribute slots each time.
    Element element;
    while (true) {
        while (pos < n && IsSpace(body[pos]))
            ++pos;
        if (pos >= n)
            return false; // no end tag: truncated
        if (body[pos] != '<')
            return false; // stray text
        // The character after "<" tells the rare forms from a start tag without a
        // string comparison per element.
        const char second = pos + 1 < n ? body[pos + 1] : '\0';
        if (second == '!' && body.compare(pos, 4, "<!--") == 0) {
            if (!skipTo("-->"))
                return false;
            continue;
        }
        if (second == '?') {
            if (!skipTo("?>"))
                return false;
            continue;
        }
        if (second == '/') {
            size_t p = pos + 2;
            const size_t nameStart = p;
            while (p < n && IsNameChar(body[p]))
                ++p;
            end = p;
            return EqualsNoCase(body.substr(nameStart, p - nameStart), root);
        }
        // A start tag.
        size_t p = pos + 1;
        const size_t nameStart = p;
        while (p < n && IsNameChar(body[p]))
            ++p;
        const std::string_view name = body.substr(nameStart, p - nameStart);
        if (name.empty())
            return false;
        element.name = name;
        element.text = {};
        element.attributeCount = 0;
        bool selfClosing = false;
        while (true) {
            while (p < n && IsSpace(body[p]))
                ++p;
            if (p >= n)
                return false;
            if (body[p] == '>') {
                ++p;
                break;
            }
            if (body[p] == '/' && p + 1 < n && body[p + 1] == '>') {
                p += 2;
                selfClosing = true;
                break;
            }
            const size_t attrStart = p;
            while (p < n && IsNameChar(body[p]))
                ++p;
            const std::string_view attrName = body.substr(attrStart, p - attrStart);
            while (p < n && IsSpace(body[p]))
                ++p;
            if (attrName.empty() || p >= n || body[p] != '=')
                return false;
            ++p;
            while (p < n && IsSpace(body[p]))
                ++p;
            if (p >= n || (body[p] != '"' && body[p] != '\''))
                return false;
            const char quote = body[p++];
            // Attribute values are a few characters: a loop beats a library search.
            size_t valueEnd = p;
            while (valueEnd < n && body[valueEnd] != quote)
                ++valueEnd;
            if (valueEnd == n)
                return false;
            if (element.attributeCount < Element::MaxAttributes)
                element.attributes[element.attributeCount++] = {attrName, body.substr(p, valueEnd - p)};
            p = valueEnd + 1;
        }
        if (!selfClosing) {
            const size_t textEnd = body.find('<', p);
            if (textEnd == std::string_view::npos)
                return false;
            element.text = body.substr(p, textEnd - p);
            p = textEnd;
            if (body.compare(p, 2, "</") != 0)
                return false; // nested elements are not part of a flat body
            p += 2;
            const size_t closeStart = p;
            while (p < n && IsNameChar(body[p]))
                ++p;
            if (!EqualsNoCase(body.substr(closeStart, p - closeStart), name))
                return false;
            while (p < n && IsSpace(body[p]))
                ++p;
            if (p >= n || body[p] != '>')
                return false;
            ++p;
        }
        pos = p;
        if (!onElement(element))
            return false;
    }
}

/// Resolves the references of a raw text or attribute value into `out`: the five named
/// ones and decimal or hexadecimal character references. False for an unknown or
/// invalid one (no ";", NUL, a surrogate, beyond U+10FFFF).
NVO_EXPORT bool Unescape(std::string_view raw, std::string &out);
/// The resolved text of `raw` as `Unescape` makes it: a view of `raw` itself when it
/// holds no reference (most texts), otherwise of `buffer`, which then holds the bytes.
inline bool Resolve(std::string_view raw, std::string &buffer, std::string_view &text)
{
    if (raw.find('&') == std::string_view::npos) {
        text = raw;
        return true;
    }
    if (!Unescape(raw, buffer))
        return false;
    text = buffer;
    return true;
}
/// Appends `text` with & < > " ' written as named references and tab, line feed and
/// carriage return as character references, so that the text never spans lines and no
/// reader normalises its white space away. Other bytes go as they are.
NVO_EXPORT void AppendEscaped(std::string &out, std::string_view text);

} // namespace nvo::flatxml
