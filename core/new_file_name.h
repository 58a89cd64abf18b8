#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace huevane {

// A new file is written beside the file it replaces under a name that says whose it is and what
// it is, "." + name + ".huevane-new-" + six letters or digits, so that the clean-up after a run
// that died can tell it from any file of the user's.
inline constexpr std::string_view kNewFileMarker = ".huevane-new-";
inline constexpr std::size_t kNewFileUniqueLetters = 6;

// The name of a new file beside the file named destinationName, without the unique letters.
std::string NewFileStem(std::string_view destinationName);

// True for a name that a new file beside destinationName was given. ignoreCase compares
// destinationName without regard to letter case, as Windows names files; the marker always
// matches exactly, as this program writes it.
bool IsNewFileName(std::string_view name, std::string_view destinationName, bool ignoreCase);

}  // namespace huevane
