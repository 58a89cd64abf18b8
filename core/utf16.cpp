#include "core/utf16.h"

#include <cstddef>
#include <cstdint>

#include "core/utf8_text.h"

namespace huevane {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const Utf8Char c = NextUtf8Char(text, i, EncodedSurrogates::kAllowed);
        const char32_t code = c.valid ? c.code : kReplacement;
        i += c.length;
        if (code >= 0x10000) {
            const char32_t offset = code - 0x10000;
            out += static_cast<char16_t>(0xD800U + (offset >> 10U));
            out += static_cast<char16_t>(0xDC00U + (offset & 0x3FFU));
        } else {
            out += static_cast<char16_t>(code);
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text, LoneSurrogates lone) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t unit = text[i];
        if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            const char32_t low = text[i + 1];
            out += Utf8Encoded(0x10000U + ((unit - 0xD800U) << 10U) + (low - 0xDC00U));
            ++i;
        } else if (lone == LoneSurrogates::kReplaced &&
                   (IsHighSurrogate(unit) || IsLowSurrogate(unit))) {
            out += Utf8Encoded(kReplacement);
        } else {
            out += Utf8Encoded(unit);  // a lone surrogate too, as its three bytes
        }
    }
    return out;
}

}  // namespace huevane
