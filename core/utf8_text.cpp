#include "core/utf8_text.h"

namespace huevane {
namespace {

bool IsContinuation(std::string_view text, std::size_t pos) {
    return pos < text.size() && (static_cast<unsigned char>(text[pos]) & 0xC0) == 0x80;
}

}  // namespace

Utf8Char NextUtf8Char(std::string_view text, std::size_t pos, EncodedSurrogates surrogates) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
        return {lead, 1, true};
    }
    std::size_t length = 0;
    char32_t code = 0;
    char32_t smallest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1FU;
        smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0FU;
        smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07U;
        smallest = 0x10000;
    } else {
        return {lead, 1, false};
    }
    for (std::size_t i = 1; i < length; ++i) {
        if (!IsContinuation(text, pos + i)) {
            return {lead, 1, false};
        }
        code = (code << 6) | (static_cast<unsigned char>(text[pos + i]) & 0x3FU);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    if (code < smallest || code > 0x10FFFF ||
        (surrogate && surrogates == EncodedSurrogates::kRefused)) {
        return {lead, 1, false};
    }
    return {code, length, true};
}

std::size_t FirstNonUtf8(std::string_view text, EncodedSurrogates surrogates) {
    for (std::size_t pos = 0; pos < text.size();) {
        const Utf8Char c = NextUtf8Char(text, pos, surrogates);
        if (!c.valid) {
            return pos;
        }
        pos += c.length;
    }
    return std::string_view::npos;
}

bool IsValidUtf8(std::string_view text) {
    return FirstNonUtf8(text) == std::string_view::npos;
}

std::string Utf8Encoded(char32_t code) {
    std::string out;
    const auto put = [&out](char32_t byte) { out.push_back(static_cast<char>(byte)); };
    if (code < 0x80) {
        put(code);
    } else if (code < 0x800) {
        put(0xC0 | (code >> 6));
        put(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        put(0xE0 | (code >> 12));
        put(0x80 | ((code >> 6) & 0x3F));
        put(0x80 | (code & 0x3F));
    } else {
        put(0xF0 | (code >> 18));
        put(0x80 | ((code >> 12) & 0x3F));
        put(0x80 | ((code >> 6) & 0x3F));
        put(0x80 | (code & 0x3F));
    }
    return out;
}

}  // namespace huevane
