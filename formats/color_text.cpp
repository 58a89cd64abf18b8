#include "formats/color_text.h"

#include <array>
#include <charconv>

namespace huevane {
namespace {

std::optional<int> ParseNumber(std::string_view text, int base, int maxValue) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || error != std::errc() || ptr != end || value < 0 || value > maxValue) {
        return std::nullopt;
    }
    return value;
}

Rgb FromComponents(const std::array<int, 3>& parts) {
    return {static_cast<std::uint8_t>(parts[0]), static_cast<std::uint8_t>(parts[1]),
            static_cast<std::uint8_t>(parts[2])};
}

std::optional<Rgb> ParseHex(std::string_view hex) {
    if (hex.size() != 6 || hex.find_first_of("+-") != std::string_view::npos) {
        return std::nullopt;
    }
    std::array<int, 3> parts{};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::optional<int> part = ParseNumber(hex.substr(2 * i, 2), 16, 255);
        if (!part) {
            return std::nullopt;
        }
        parts[i] = *part;
    }
    return FromComponents(parts);
}

std::optional<Rgb> ParseTriple(std::string_view text) {
    std::array<int, 3> parts{};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::size_t comma = text.find(',');
        const bool last = i + 1 == parts.size();
        if (last != (comma == std::string_view::npos)) {
            return std::nullopt;
        }
        const std::optional<int> part = ParseNumber(text.substr(0, comma), 10, 255);
        if (!part || text.substr(0, comma).find_first_of("+-") != std::string_view::npos) {
            return std::nullopt;
        }
        parts[i] = *part;
        text.remove_prefix(last ? text.size() : comma + 1);
    }
    return FromComponents(parts);
}

}  // namespace

std::optional<Rgb> ParseColorText(std::string_view text) {
    if (text.find(',') != std::string_view::npos) {
        return ParseTriple(text);
    }
    if (!text.empty() && text.front() == '#') {
        text.remove_prefix(1);
    }
    return ParseHex(text);
}

std::string FormatColor(Rgb colour) {
    constexpr std::string_view kDigits = "0123456789ABCDEF";
    std::string text = "#";
    for (const std::uint8_t byte : {colour.red, colour.green, colour.blue}) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

}  // namespace huevane
