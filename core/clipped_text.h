#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace huevane {

// How much of a text that a user or a file supplied an error message quotes.
inline constexpr std::size_t kQuotedTextLimit = 200;

// text for an error message: whole when short, else its start and "..." with the length.
inline std::string Clipped(std::string_view text) {
    if (text.size() <= kQuotedTextLimit) {
        return std::string(text);
    }
    return std::string(text.substr(0, kQuotedTextLimit)) + "... (" + std::to_string(text.size()) +
           " characters)";
}

}  // namespace huevane
