#include "core/new_file_name.h"

#include <algorithm>

#include "core/ascii_case.h"

namespace huevane {

std::string NewFileStem(std::string_view destinationName) {
    std::string stem = ".";
    stem += destinationName;
    stem += kNewFileMarker;
    return stem;
}

bool IsNewFileName(std::string_view name, std::string_view destinationName, bool ignoreCase) {
    const std::size_t nameEnd = 1 + destinationName.size();
    if (name.size() != nameEnd + kNewFileMarker.size() + kNewFileUniqueLetters ||
        name.front() != '.') {
        return false;
    }
    const std::string_view named = name.substr(1, destinationName.size());
    if (ignoreCase ? !EqualsIgnoringCase(named, destinationName) : named != destinationName) {
        return false;
    }
    if (name.substr(nameEnd, kNewFileMarker.size()) != kNewFileMarker) {
        return false;
    }
    const std::string_view letters = name.substr(nameEnd + kNewFileMarker.size());
    return std::all_of(letters.begin(), letters.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    });
}

}  // namespace huevane
