#include "core/clipped_text.h"

#include <array>
#include <cstdio>

#include "core/utf8_text.h"

namespace huevane {
namespace {

bool NeedsEscape(char32_t code) {
    return code < 0x20 || (code >= 0x7F && code <= 0x9F) || code == 0x2028 || code == 0x2029 ||
           (code >= 0x202A && code <= 0x202E) || (code >= 0x2066 && code <= 0x2069);
}

void AppendEscaped(const Utf8Char& c, std::string_view bytes, std::string& out) {
    if (c.valid && !NeedsEscape(c.code)) {
        out.append(bytes);
        return;
    }
    std::array<char, 8> escape{};
    if (c.valid && c.code == '\n') {
        out += "\\n";
    } else if (c.valid && c.code == '\t') {
        out += "\\t";
    } else if (c.valid && c.code == '\r') {
        out += "\\r";
    } else if (!c.valid || c.code < 0x80) {
        std::snprintf(escape.data(), escape.size(), "\\x%02x", static_cast<unsigned>(c.code));
        out += escape.data();
    } else {
        std::snprintf(escape.data(), escape.size(), "\\u%04x", static_cast<unsigned>(c.code));
        out += escape.data();
    }
}

// The escaped form of at most limit characters of text, and how many characters text has.
std::string EscapedUpTo(std::string_view text, std::size_t limit, std::size_t& characters) {
    std::string out;
    characters = 0;
    for (std::size_t pos = 0; pos < text.size(); ++characters) {
        const Utf8Char c = NextUtf8Char(text, pos);
        if (characters < limit) {
            AppendEscaped(c, text.substr(pos, c.length), out);
        }
        pos += c.length;
    }
    return out;
}

}  // namespace

std::string Escaped(std::string_view text) {
    std::size_t characters = 0;
    return EscapedUpTo(text, text.size(), characters);
}

std::string Clipped(std::string_view text) {
    std::size_t characters = 0;
    std::string out = EscapedUpTo(text, kQuotedTextLimit, characters);
    if (characters > kQuotedTextLimit) {
        out += "... (" + std::to_string(characters) + " characters)";
    }
    return out;
}

}  // namespace huevane
