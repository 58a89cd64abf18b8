#include "formats/list_lookup.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

#include "core/catalogue.h"

namespace huevane::cli {
namespace {

// "5.1.3020" as major, minor, build.
std::optional<std::array<unsigned, 3>> ParseBuildText(std::string_view text) {
    std::array<unsigned, 3> parts{};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::size_t dot = text.find('.');
        const std::string_view part = text.substr(0, dot);
        if (!AllDigits(part) || part.size() > 5 ||
            (i + 1 < parts.size()) == (dot == std::string_view::npos)) {
            return std::nullopt;
        }
        parts[i] = static_cast<unsigned>(std::stoul(std::string(part)));
        text.remove_prefix(dot == std::string_view::npos ? text.size() : dot + 1);
    }
    return parts;
}

}  // namespace

bool AllDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

BuildMatch FindBuild(std::string_view text) {
    if (const std::optional<std::int16_t> index = IndexIn(kVersionTexts, text)) {
        return {index, false};
    }
    if (const auto build = ParseBuildText(text)) {
        return {VersionForBuild((*build)[0], (*build)[1], (*build)[2]), true};
    }
    return {};
}

std::string_view VersionText(std::int16_t version) {
    return kVersionTexts[static_cast<std::size_t>(version)];
}

std::string_view PropertyText(std::int16_t property) {
    return kPropertyTexts[static_cast<std::size_t>(property)];
}

}  // namespace huevane::cli
