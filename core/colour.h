#pragma once

#include <cstdint>
#include <string>

namespace huevane {

// A colour as the client stores it: three bytes, red, green, blue, in that order.
struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The colour in the window system's 0x00BBGGRR layout, as the swatch holds it.
constexpr std::int32_t ToColorRef(Rgb colour) {
    return colour.red | (colour.green << 8) | (colour.blue << 16);
}

// The three bytes as they go into the file.
inline std::string ColourBytes(Rgb colour) {
    return {static_cast<char>(colour.red), static_cast<char>(colour.green),
            static_cast<char>(colour.blue)};
}

}  // namespace huevane
