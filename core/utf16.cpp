#include "core/utf16.h"

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

// Whether text[i] and text[i + 1] are a surrogate pair.
bool IsPairAt(std::u16string_view text, std::size_t i) {
    return IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]);
}

}  // namespace

void AppendUtf16(char32_t code, std::u16string& text) {
    if (code < 0x10000) {
        text += static_cast<char16_t>(code);
        return;
    }
    const char32_t offset = code - 0x10000;
    text += static_cast<char16_t>(0xD800U + (offset >> 10U));
    text += static_cast<char16_t>(0xDC00U + (offset & 0x3FFU));
}

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const Utf8Char c = NextUtf8Char(text, i, EncodedSurrogates::kAllowed);
        AppendUtf16(c.valid ? c.code : kReplacement, out);
        i += c.length;
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text, LoneSurrogates lone) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t unit = text[i];
        if (IsPairAt(text, i)) {
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

std::size_t FindLoneSurrogate(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsPairAt(text, i)) {
            ++i;
        } else if (IsHighSurrogate(text[i]) || IsLowSurrogate(text[i])) {
            return i;
        }
    }
    return std::u16string_view::npos;
}

std::u16string Utf16FromBytes(std::string_view bytes, ByteOrder order) {
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        text += NumberFromBytes<char16_t>(bytes.substr(i, 2), order);
    }
    return text;
}

std::string BytesOfUtf16(std::u16string_view text, ByteOrder order) {
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (const char16_t unit : text) {
        bytes += BytesOfNumber(unit, order);
    }
    return bytes;
}

}  // namespace huevane
