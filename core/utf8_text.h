#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace huevane {

// One character of a UTF-8 text, or one byte that starts no valid UTF-8 sequence there (valid
// false, code the byte's value, length 1).
struct Utf8Char {
    char32_t code = 0;
    std::size_t length = 1;
    bool valid = false;
};

// The character that starts at text[pos] (pos < text.size()), read strictly: no overlong
// forms, no encoded surrogates, nothing past U+10FFFF.
Utf8Char NextUtf8Char(std::string_view text, std::size_t pos);

bool IsValidUtf8(std::string_view text);

// The UTF-8 bytes of one code point.
std::string Utf8Encoded(char32_t code);

}  // namespace huevane
