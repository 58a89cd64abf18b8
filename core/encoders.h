#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Byte strings here are std::string values whose chars each stand for one byte (0 to 255).
namespace huevane::modColors {

// The three bytes red, green, blue of a 0x00BBGGRR colour. System-colour references (top bit
// set) have negative components and raise error 5; only the top bit set gives 00 00 00.
std::string ColorToStr(std::int32_t color);

// The 1-based file position for a hex offset text: "5616" gives 0x5616 + 1. Raises error 13 for
// a non-hex pair and error 6 for a text longer than 32767 characters.
std::int32_t HexToSpot(std::string_view offsetText);

// The first two bytes of a byte string as a big-endian number; missing bytes count as 0.
std::int32_t StrToWord(std::string_view bytes) noexcept;

}  // namespace huevane::modColors
