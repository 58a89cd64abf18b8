#pragma once
// The values that options name, looked up in the program's lists; a value that names nothing
// there is a usage error.

#include <cstdint>
#include <string_view>

#include "cli/arguments.h"
#include "core/colour.h"

namespace huevane::cli {

// Refuses an option given an empty value, before anything is looked at.
void RefuseEmptyValues(const Arguments& args);

// The version list entry that --build names: an index, a version text or a build such as
// 5.1.3020 (which must lie in one of the known ranges).
std::int16_t ParseBuild(std::string_view text);

// The property that --property names: an index or a name in any letter case.
std::int16_t ParseProperty(std::string_view text);

// The colour that --color gives: #RRGGBB, RRGGBB or R,G,B.
Rgb ParseColour(std::string_view text);

}  // namespace huevane::cli
