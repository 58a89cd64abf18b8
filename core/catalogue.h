#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/build_number.h"

namespace huevane {

// The client builds whose buddy-list colours the program knows, in list order.
inline constexpr std::array<std::string_view, 16> kVersionTexts = {
    "5.0.2867", "5.0.2892", "5.0.2916 - 5.0.2938", "5.1.3009 - 5.1.3036",
    "5.2.3074", "5.2.3139", "5.2.3255 - 5.2.3277", "5.2.3281 - 5.2.3292",
    "5.5.3415", "5.5.3501", "5.5.3553 - 5.5.3599", "5.9.3672",
    "5.9.3690", "5.9.3702", "5.9.3759 - 5.9.3771", "5.9.3782 - 5.9.3861",
};

// The first and last build of a version list entry; the same for a single build.
struct BuildRange {
    BuildNumber first;
    BuildNumber last;
};

// The builds of each version list entry, as numbers: what kVersionTexts shows (catalogue.cpp
// checks at compile time that the two agree).
inline constexpr std::array<BuildRange, kVersionTexts.size()> kVersionBuilds = {{
    {{5, 0, 2867}, {5, 0, 2867}},
    {{5, 0, 2892}, {5, 0, 2892}},
    {{5, 0, 2916}, {5, 0, 2938}},
    {{5, 1, 3009}, {5, 1, 3036}},
    {{5, 2, 3074}, {5, 2, 3074}},
    {{5, 2, 3139}, {5, 2, 3139}},
    {{5, 2, 3255}, {5, 2, 3277}},
    {{5, 2, 3281}, {5, 2, 3292}},
    {{5, 5, 3415}, {5, 5, 3415}},
    {{5, 5, 3501}, {5, 5, 3501}},
    {{5, 5, 3553}, {5, 5, 3599}},
    {{5, 9, 3672}, {5, 9, 3672}},
    {{5, 9, 3690}, {5, 9, 3690}},
    {{5, 9, 3702}, {5, 9, 3702}},
    {{5, 9, 3759}, {5, 9, 3771}},
    {{5, 9, 3782}, {5, 9, 3861}},
}};

// The buddy-list colours that can be changed, in list order.
inline constexpr std::array<std::string_view, 6> kPropertyTexts = {
    "Buddy list background", "Buddy list setup background", "Buddy highlight", "Buddy names",
    "Buddy Tooltip",         "BG of bottom buttons",
};

// False only for "Buddy list setup background" on builds after 5.1, which lack it.
bool IsAvailable(std::int16_t version, std::int16_t property);

// What both programs say when the property is not available on the chosen build.
inline constexpr std::string_view kUnavailableText =
    "That isn't available for your version, sorry!";

// The four-digit hex offset of the colour's first byte in buddyui.ocm, or "" when the pair
// (including -1 for "nothing selected") has no entry.
std::string LookupOffset(std::int16_t version, std::int16_t property);

// The 0-based file offset of the colour's first byte for the pair, or nullopt where
// LookupOffset gives "".
std::optional<std::uint32_t> ColourOffset(std::int16_t version, std::int16_t property);

// The version list entry whose build or range of builds holds build (5.1.3020 is in
// "5.1.3009 - 5.1.3036"), or nullopt when none does.
std::optional<std::int16_t> VersionForBuild(const BuildNumber& build);

}  // namespace huevane
