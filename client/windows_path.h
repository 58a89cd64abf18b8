#pragma once

#include <string>
#include <string_view>

namespace huevane::client {

// A Windows path spelled as Windows reads it: "/" becomes "\\", "." components go, and ".."
// takes away the component before it but stops at the drive's root ("C:\\..\\x" is "C:\\x").
// Paths not on a drive letter only have their slashes turned.
std::string NormalizeWindowsPath(std::string_view path);

}  // namespace huevane::client
