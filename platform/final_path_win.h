#pragma once

#include <string>

namespace huevane::platform {

// The path of the file that path names, with its symbolic links followed (those of NTFS, and
// under Wine those of the Unix side), as the system itself resolves them once the file is
// open; path itself where there is no file yet, or on a Windows without links to files (XP).
std::string FinalPathOf(const std::string& path);

}  // namespace huevane::platform
