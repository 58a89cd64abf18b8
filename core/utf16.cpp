#include "core/utf16.h"

#include <cstddef>
#include <cstdint>

#include "core/utf8_text.h"

namespace huevane {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0U) == 0x80U;
}

// The code point that starts at text[i], and how many bytes it takes; a byte that starts no
// well-formed sequence is U+FFFD on its own. Surrogates (ED A0 80 to ED BF BF) are let through.
char32_t DecodeAt(std::string_view text, std::size_t i, std::size_t& used) {
    const auto lead = static_cast<unsigned char>(text[i]);
    used = 1;
    std::size_t length = 0;
    char32_t code = 0;
    char32_t lowest = 0;
    if (lead < 0x80U) {
        return lead;
    }
    if (lead >= 0xC2U && lead <= 0xDFU) {
        length = 2;
        code = lead & 0x1FU;
        lowest = 0x80;
    } else if (lead >= 0xE0U && lead <= 0xEFU) {
        length = 3;
        code = lead & 0x0FU;
        lowest = 0x800;
    } else if (lead >= 0xF0U && lead <= 0xF4U) {
        length = 4;
        code = lead & 0x07U;
        lowest = 0x10000;
    } else {
        return kReplacement;
    }
    if (text.size() - i < length) {
        return kReplacement;
    }
    for (std::size_t k = 1; k < length; ++k) {
        const auto byte = static_cast<unsigned char>(text[i + k]);
        if (!IsContinuation(byte)) {
            return kReplacement;
        }
        code = (code << 6U) | (byte & 0x3FU);
    }
    if (code < lowest || code > 0x10FFFF) {
        return kReplacement;  // overlong, or past Unicode
    }
    used = length;
    return code;
}

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
        std::size_t used = 0;
        const char32_t code = DecodeAt(text, i, used);
        i += used;
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

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t unit = text[i];
        if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            const char32_t low = text[i + 1];
            out += Utf8Encoded(0x10000U + ((unit - 0xD800U) << 10U) + (low - 0xDC00U));
            ++i;
        } else {
            out += Utf8Encoded(unit);  // a lone surrogate too, as its three bytes
        }
    }
    return out;
}

}  // namespace huevane
