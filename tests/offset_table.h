#pragma once

#include <array>
#include <string_view>

namespace huevane::test {

// The offsets as the client builds lay them out, one column per property in list order; "-"
// marks the setup background that builds after 5.1 do not have. Written out independently of
// the program's own slot-packed table, so a slip in either shows.
inline constexpr std::array<std::array<std::string_view, 6>, 16> kExpectedOffsets = {{
    {"5616", "562E", "55C1", "55AD", "564D", "31D7"},
    {"569A", "56B3", "5646", "5632", "56D2", "321A"},
    {"5758", "5771", "5704", "56F0", "5790", "321A"},
    {"5721", "573A", "56CD", "56B9", "5759", "3225"},
    {"56E9", "-", "5695", "5681", "5721", "3225"},
    {"38A8", "-", "385A", "3846", "38E0", "5D5B"},
    {"38A8", "-", "385A", "3846", "38E0", "5dF9"},
    {"3851", "-", "3803", "37EF", "3889", "5d4E"},
    {"3AC9", "-", "3A7B", "3A67", "3B01", "645D"},
    {"5F52", "-", "5F07", "5EF4", "5FA6", "8007"},
    {"6443", "-", "63F8", "63E5", "6497", "865F"},
    {"5D9B", "-", "5D50", "5D3D", "5DEF", "C738"},
    {"5D9B", "-", "5D50", "5D3D", "5DEF", "C732"},
    {"5DB0", "-", "5D65", "5D52", "5E04", "C78D"},
    {"5DBC", "-", "5D71", "5D5E", "5E10", "C799"},
    {"5DBC", "-", "5D71", "5D5E", "5E10", "C7A4"},
}};

}  // namespace huevane::test
