#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "core/file_system.h"

namespace huevane::cli {

// Runs huevane-cli with its arguments (without the program name) and returns the exit status:
// 0 done, 1 an error (one line on err), 2 a usage error. Standard input is std::cin.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           FileSystem& fs);

// The same with in for standard input, which set --from - reads.
int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err, FileSystem& fs);

}  // namespace huevane::cli
