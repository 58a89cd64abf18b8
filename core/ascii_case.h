#pragma once

#include <algorithm>
#include <string_view>

namespace huevane {

// File, key and list names compare without regard to letter case, as Windows compares them;
// only ASCII letters fold, so the result never depends on the C locale.
constexpr char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return AsciiLower(x) == AsciiLower(y);
           });
}

}  // namespace huevane
