#pragma once
// Finding entries of the version and property lists from what a user or a file names.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/ascii_case.h"

namespace huevane {

bool AllDigits(std::string_view text);

// The index that text writes, in one or two digits, into a list of size entries; nullopt for
// any other text or a number past the list.
std::optional<std::int16_t> ListIndex(std::string_view text, std::size_t size);

// An index into list, or the index of the entry whose text matches; nullopt for neither. No
// entry's text is all digits.
template <typename List>
std::optional<std::int16_t> IndexIn(const List& list, std::string_view text) {
    if (AllDigits(text)) {
        return ListIndex(text, list.size());
    }
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (EqualsIgnoringCase(list[i], text)) {
            return static_cast<std::int16_t>(i);
        }
    }
    return std::nullopt;
}

// The version list entry that an index, a version text or a build such as 5.1.3020 names.
struct BuildMatch {
    std::optional<std::int16_t> version;
    bool isBuildNumber = false;  // the text has the form of a build number
};

BuildMatch FindBuild(std::string_view text);

std::string_view VersionText(std::int16_t version);
std::string_view PropertyText(std::int16_t property);

}  // namespace huevane
