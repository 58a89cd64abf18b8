#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/colour.h"

namespace huevane {

// A colour typed by a person: "#RRGGBB", "RRGGBB" or "R,G,B" (decimal, 0 to 255 each); nullopt
// when the text is none of these.
std::optional<Rgb> ParseColorText(std::string_view text);

// The colour as "#RRGGBB".
std::string FormatColor(Rgb colour);

}  // namespace huevane
