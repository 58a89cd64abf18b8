#include "core/encoders.h"

#include <limits>

#include "core/run_error.h"

namespace huevane::modColors {
namespace {

char ComponentToChar(std::int32_t component) {
    if (component < 0 || component > 255) {
        throw RunError(ErrorNumber::kInvalidArgument);
    }
    return static_cast<char>(static_cast<unsigned char>(component));
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    throw RunError(ErrorNumber::kTypeMismatch);
}

}  // namespace

std::string ColorToStr(std::int32_t color) {
    // C++ division truncates towards zero and % takes the dividend's sign, so negative colours
    // produce the negative components that cannot become bytes.
    const std::int32_t red = color % 256;
    const std::int32_t c1 = color / 256;
    const std::int32_t green = c1 % 256;
    const std::int32_t c2 = c1 / 256;
    const std::int32_t blue = c2 % 256;
    return {ComponentToChar(red), ComponentToChar(green), ComponentToChar(blue)};
}

std::int32_t HexToSpot(std::string_view offsetText) {
    if (offsetText.size() > static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max())) {
        throw RunError(ErrorNumber::kOverflow);
    }
    std::string bytes;
    bytes.reserve((offsetText.size() + 1) / 2);
    for (std::size_t i = 0; i < offsetText.size(); i += 2) {
        int value = HexDigitValue(offsetText[i]);
        if (i + 1 < offsetText.size()) {
            value = value * 16 + HexDigitValue(offsetText[i + 1]);
        }
        bytes.push_back(static_cast<char>(static_cast<unsigned char>(value)));
    }
    return StrToWord(bytes) + 1;
}

std::int32_t StrToWord(std::string_view bytes) noexcept {
    const std::int32_t hi = !bytes.empty() ? static_cast<unsigned char>(bytes[0]) : 0;
    const std::int32_t lo = bytes.size() > 1 ? static_cast<unsigned char>(bytes[1]) : 0;
    return hi * 256 + lo;
}

}  // namespace huevane::modColors
