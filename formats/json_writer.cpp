#include "formats/json_writer.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "core/utf8_text.h"

namespace huevane {
namespace {

// items one to a line between open and close, the close two spaces less indented than they.
std::string Lines(char open, const std::vector<std::string>& items, std::string_view indent,
                  char close) {
    std::string text = {open, '\n'};
    for (std::size_t i = 0; i < items.size(); ++i) {
        text.append(indent).append(items[i]).append(i + 1 < items.size() ? ",\n" : "\n");
    }
    return text.append(indent.substr(std::min<std::size_t>(indent.size(), 2))) + close;
}

}  // namespace

std::string JsonQuote(std::string_view text) {
    std::string out = "\"";
    for (std::size_t pos = 0; pos < text.size();) {
        const Utf8Char c = NextUtf8Char(text, pos);
        if (!c.valid) {
            out += Utf8Encoded(0xFFFD);
        } else if (c.code == '"' || c.code == '\\') {
            out += '\\';
            out += static_cast<char>(c.code);
        } else if (c.code < 0x20 || (c.code >= 0x7F && c.code <= 0x9F) || c.code == 0x2028 ||
                   c.code == 0x2029) {
            // Escaped also where JSON allows them raw, so that no terminal acts on them.
            std::array<char, 8> escape{};
            std::snprintf(escape.data(), escape.size(), "\\u%04x", static_cast<unsigned>(c.code));
            out += escape.data();
        } else {
            out.append(text.substr(pos, c.length));
        }
        pos += c.length;
    }
    return out + "\"";
}

std::string JsonTextMember(std::string_view name, std::string_view text) {
    std::string member = JsonQuote(name) + ": " + JsonQuote(text);
    if (IsValidUtf8(text)) {
        return member;
    }
    constexpr std::string_view kHex = "0123456789abcdef";
    std::string hex;
    hex.reserve(text.size() * 2);
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        hex += kHex[byte >> 4];
        hex += kHex[byte & 0x0F];
    }
    return member + ", " + JsonQuote(std::string(name) + "_bytes") + ": \"" + hex + "\"";
}

std::string JsonMember(std::string_view name, std::string_view value) {
    return JsonQuote(name) + ": " + std::string(value);
}

std::string JsonObject(std::initializer_list<std::string> members) {
    std::string object = "{";
    const char* separator = "";
    for (const std::string& member : members) {
        object.append(separator).append(member);
        separator = ", ";
    }
    return object + "}";
}

std::string JsonArrayLines(const std::vector<std::string>& items, std::string_view indent) {
    return Lines('[', items, indent, ']');
}

std::string JsonObjectLines(const std::vector<std::string>& members, std::string_view indent) {
    return Lines('{', members, indent, '}');
}

std::string JsonListEntry(std::size_t index, std::string_view name, std::string_view text) {
    return JsonObject(
        {JsonMember("index", std::to_string(index)), JsonMember(name, JsonQuote(text))});
}

}  // namespace huevane
