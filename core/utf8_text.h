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

// Whether a surrogate encoded on its own (ED A0 80 to ED BF BF) counts as a character: not in
// UTF-8, but in the UTF-8 form of Windows names that hold one (WTF-8).
enum class EncodedSurrogates { kRefused, kAllowed };

// The character that starts at text[pos] (pos < text.size()), read strictly: no overlong
// forms, nothing past U+10FFFF, and no encoded surrogates unless allowed.
Utf8Char NextUtf8Char(std::string_view text, std::size_t pos,
                      EncodedSurrogates surrogates = EncodedSurrogates::kRefused);

// The offset of the first byte that starts no character; npos when the text is all UTF-8.
std::size_t FirstNonUtf8(std::string_view text,
                         EncodedSurrogates surrogates = EncodedSurrogates::kRefused);

bool IsValidUtf8(std::string_view text);

// The UTF-8 bytes of one code point.
std::string Utf8Encoded(char32_t code);

}  // namespace huevane
