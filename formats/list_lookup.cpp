#include "formats/list_lookup.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "core/catalogue.h"

namespace huevane {

bool AllDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

std::optional<std::int16_t> ListIndex(std::string_view text, std::size_t size) {
    constexpr std::size_t kMaxDigits = 2;
    if (!AllDigits(text) || text.size() > kMaxDigits) {
        return std::nullopt;
    }
    const int index = std::stoi(std::string(text));
    if (static_cast<std::size_t>(index) >= size) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(index);
}

BuildMatch FindBuild(std::string_view text) {
    if (const std::optional<std::int16_t> index = IndexIn(kVersionTexts, text)) {
        return {index, false};
    }
    if (const std::optional<BuildNumber> build = ParseBuildNumber(text)) {
        return {VersionForBuild(*build), true};
    }
    return {};
}

std::string_view VersionText(std::int16_t version) {
    return kVersionTexts[static_cast<std::size_t>(version)];
}

std::string_view PropertyText(std::int16_t property) {
    return kPropertyTexts[static_cast<std::size_t>(property)];
}

}  // namespace huevane
