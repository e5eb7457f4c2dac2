#include "NVO_FlatXml_p.h"

#include <charconv>
#include <cstdint>

namespace nvo::flatxml {

bool HasStartTag(std::string_view text, std::string_view root)
{
    for (size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at + 1))
        if (EqualsNoCase(text.substr(at + 1, root.size()), root))
            return true;
    return false;
}

bool HasEndTag(std::string_view text, std::string_view root)
{
    for (size_t at = text.find("</"); at != std::string_view::npos; at = text.find("</", at + 2))
        if (EqualsNoCase(text.substr(at + 2, root.size()), root))
            return true;
    return false;
}

qsizetype StartTagEnd(std::string_view line, std::string_view root)
{
    size_t at = line.find('<');
    while (at != std::string_view::npos && !EqualsNoCase(line.substr(at + 1, root.size()), root))
        at = line.find('<', at + 1);
    if (at == std::string_view::npos)
        return -1;
    char quote = 0;
    for (size_t i = at; i < line.size(); ++i) {
        const char c = line[i];
        if (quote)
            quote = c == quote ? 0 : quote;
        else if (c == '"' || c == '\'')
            quote = c;
        else if (c == '>')
            return qsizetype(i);
    }
    return -1;
}

namespace {

void AppendUtf8(std::string &out, char32_t code)
{
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | (code >> 6));
        out += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += char(0xE0 | (code >> 12));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    } else {
        out += char(0xF0 | (code >> 18));
        out += char(0x80 | ((code >> 12) & 0x3F));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}

} // namespace

bool Unescape(std::string_view raw, std::string &out)
{
    out.clear();
    size_t i = 0;
    while (i < raw.size()) {
        const size_t amp = raw.find('&', i);
        if (amp == std::string_view::npos) {
            out.append(raw.substr(i));
            break;
        }
        out.append(raw.substr(i, amp - i));
        const size_t semi = raw.find(';', amp);
        if (semi == std::string_view::npos || semi - amp > 12)
            return false;
        const std::string_view entity = raw.substr(amp + 1, semi - amp - 1);
        if (entity == "amp")
            out += '&';
        else if (entity == "lt")
            out += '<';
        else if (entity == "gt")
            out += '>';
        else if (entity == "quot")
            out += '"';
        else if (entity == "apos")
            out += '\'';
        else if (entity.size() >= 2 && entity[0] == '#') {
            const bool hex = entity[1] == 'x';
            const std::string_view digits = entity.substr(hex ? 2 : 1);
            uint32_t code = 0;
            const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
            if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() || code == 0
                || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
                return false;
            AppendUtf8(out, char32_t(code));
        } else {
            return false;
        }
        i = semi + 1;
    }
    return true;
}

void AppendEscaped(std::string &out, std::string_view text)
{
    // Plain runs go in one piece; only the characters that need a reference stop them.
    size_t run = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char *reference;
        switch (text[i]) {
        case '&': reference = "&amp;"; break;
        case '<': reference = "&lt;"; break;
        case '>': reference = "&gt;"; break;
        case '"': reference = "&quot;"; break;
        case '\'': reference = "&apos;"; break;
        case '\t': reference = "&#9;"; break;
        case '\n': reference = "&#10;"; break;
        case '\r': reference = "&#13;"; break;
        default: continue;
        }
        out.append(text.substr(run, i - run)).append(reference);
        run = i + 1;
    }
    out.append(text.substr(run));
}

} // namespace nvo::flatxml
