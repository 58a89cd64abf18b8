#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace huevane {

// The entry of a directory that name opens where letter case does not count: the exact spelling
// when the directory holds it, else the first in byte order of the entries that sameName takes
// for name, so that the answer never depends on the order a directory lists its entries in.
// What counts as the same name is the caller's: ASCII letter case for the program's own file
// names (FindEntryIgnoringCase in core/safe_rewrite.h), Wine's case table for the folders of a
// path that the client registered (client/wine_prefix).
template <typename SameName>
std::optional<std::string> ChooseEntry(const std::vector<std::string>& entries,
                                       std::string_view name, SameName sameName) {
    std::optional<std::string> found;
    for (const std::string& entry : entries) {
        if (entry == name) {
            return entry;
        }
        if ((!found || entry < *found) && sameName(entry)) {
            found = entry;
        }
    }
    return found;
}

}  // namespace huevane
