#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "core/file_system.h"

namespace huevane::cli {

// Runs huevane-cli with its arguments (without the program name) and returns the exit status:
// 0 done, 1 an error (one line on err), 2 a usage error.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           FileSystem& fs);

}  // namespace huevane::cli
