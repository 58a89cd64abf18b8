#include "core/catalogue.h"

#include <cstddef>

#include "core/encoders.h"

namespace huevane {
namespace {

constexpr std::int16_t kLastSixSlotVersion = 3;
constexpr std::int16_t kSetupBackground = 1;

// Rows 0 to 3 have six slots; later builds have no setup background and keep five.
struct OffsetRow {
    std::array<std::string_view, 6> slots;
    std::size_t count;
};

constexpr std::array<OffsetRow, 16> kOffsets = {{
    {{"5616", "562E", "55C1", "55AD", "564D", "31D7"}, 6},
    {{"569A", "56B3", "5646", "5632", "56D2", "321A"}, 6},
    {{"5758", "5771", "5704", "56F0", "5790", "321A"}, 6},
    {{"5721", "573A", "56CD", "56B9", "5759", "3225"}, 6},
    {{"56E9", "5695", "5681", "5721", "3225"}, 5},
    {{"38A8", "385A", "3846", "38E0", "5D5B"}, 5},
    {{"38A8", "385A", "3846", "38E0", "5dF9"}, 5},
    {{"3851", "3803", "37EF", "3889", "5d4E"}, 5},
    {{"3AC9", "3A7B", "3A67", "3B01", "645D"}, 5},
    {{"5F52", "5F07", "5EF4", "5FA6", "8007"}, 5},
    {{"6443", "63F8", "63E5", "6497", "865F"}, 5},
    {{"5D9B", "5D50", "5D3D", "5DEF", "C738"}, 5},
    {{"5D9B", "5D50", "5D3D", "5DEF", "C732"}, 5},
    {{"5DB0", "5D65", "5D52", "5E04", "C78D"}, 5},
    {{"5DBC", "5D71", "5D5E", "5E10", "C799"}, 5},
    {{"5DBC", "5D71", "5D5E", "5E10", "C7A4"}, 5},
}};

// Each version text names the builds of its kVersionBuilds entry: "5.0.2867", or
// "5.0.2916 - 5.0.2938".
constexpr bool TextsNameTheirBuilds() {
    constexpr std::string_view kRangeDash = " - ";
    for (std::size_t i = 0; i < kVersionTexts.size(); ++i) {
        const std::string_view text = kVersionTexts[i];
        const std::size_t dash = text.find(kRangeDash);
        const std::optional<BuildNumber> first = ParseBuildNumber(text.substr(0, dash));
        const std::optional<BuildNumber> last =
            dash == std::string_view::npos
                ? first
                : ParseBuildNumber(text.substr(dash + kRangeDash.size()));
        if (first != kVersionBuilds[i].first || last != kVersionBuilds[i].last) {
            return false;
        }
    }
    return true;
}

static_assert(TextsNameTheirBuilds(), "kVersionBuilds holds the builds kVersionTexts shows");

}  // namespace

std::optional<std::int16_t> VersionForBuild(const BuildNumber& build) {
    for (std::size_t i = 0; i < kVersionBuilds.size(); ++i) {
        if (kVersionBuilds[i].first <= build && build <= kVersionBuilds[i].last) {
            return static_cast<std::int16_t>(i);
        }
    }
    return std::nullopt;
}

bool IsAvailable(std::int16_t version, std::int16_t property) {
    return !(version > kLastSixSlotVersion && property == kSetupBackground);
}

std::string LookupOffset(std::int16_t version, std::int16_t property) {
    int slot = property;
    if (version > kLastSixSlotVersion) {
        if (property == kSetupBackground) {
            return {};
        }
        if (property > kSetupBackground) {
            slot = property - 1;
        }
    }
    if (version < 0 || static_cast<std::size_t>(version) >= kOffsets.size()) {
        return {};
    }
    const OffsetRow& row = kOffsets[static_cast<std::size_t>(version)];
    if (slot < 0 || static_cast<std::size_t>(slot) >= row.count) {
        return {};
    }
    return std::string(row.slots[static_cast<std::size_t>(slot)]);
}

std::optional<std::uint32_t> ColourOffset(std::int16_t version, std::int16_t property) {
    const std::string text = LookupOffset(version, property);
    if (text.empty()) {
        return std::nullopt;
    }
    // The same conversion as the window's Apply makes, less one: HexToSpot gives the 1-based spot.
    return static_cast<std::uint32_t>(modColors::HexToSpot(text) - 1);
}

}  // namespace huevane
