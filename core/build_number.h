#pragma once

#include <array>
#include <compare>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace huevane {

// A client build, as the version resource of its executable numbers it: 5.1.3020.
struct BuildNumber {
    unsigned major = 0;
    unsigned minor = 0;
    unsigned build = 0;
    // NOLINTNEXTLINE(modernize-use-nullptr): clang-tidy 14 misreads a defaulted <=>
    friend constexpr auto operator<=>(const BuildNumber&, const BuildNumber&) = default;
};

// The build that a text such as "5.1.3020" names: three decimal numbers of one to five digits
// (a version resource holds 16-bit ones) with a dot between them, and nothing else; nullopt for
// any other text.
constexpr std::optional<BuildNumber> ParseBuildNumber(std::string_view text) {
    constexpr std::size_t kMaxDigits = 5;
    std::array<unsigned, 3> parts{};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::size_t dot = text.find('.');
        const std::string_view part = text.substr(0, dot);
        if (part.empty() || part.size() > kMaxDigits ||
            (i + 1 < parts.size()) == (dot == std::string_view::npos)) {
            return std::nullopt;
        }
        for (const char c : part) {
            if (c < '0' || c > '9') {
                return std::nullopt;
            }
            parts[i] = parts[i] * 10 + static_cast<unsigned>(c - '0');
        }
        text.remove_prefix(dot == std::string_view::npos ? text.size() : dot + 1);
    }
    return BuildNumber{parts[0], parts[1], parts[2]};
}

// "5.1.3020".
inline std::string BuildNumberText(const BuildNumber& number) {
    return std::to_string(number.major) + "." + std::to_string(number.minor) + "." +
           std::to_string(number.build);
}

}  // namespace huevane
