#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace huevane {

// A colour typed by a person: "#RRGGBB", "RRGGBB" or "R,G,B" (decimal, 0 to 255 each), as a
// 0x00BBGGRR colour value; nullopt when the text is none of these.
std::optional<std::int32_t> ParseColorText(std::string_view text);

// Three stored bytes (red, green, blue) as "#RRGGBB".
std::string FormatColorBytes(std::string_view rgb);

}  // namespace huevane
