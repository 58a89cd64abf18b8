#pragma once

#include <string>
#include <utility>
#include <vector>

namespace huevane::test {

struct ProcessResult {
    int exitStatus = -1;
    std::string out;
    std::string err;
};

// Where the program's standard output goes: a file it writes, or a file opened only for
// reading, which takes no writes.
enum class StandardOutput { kWritable, kReadOnly };

// Runs program with args (and extra environment variables NAME=VALUE) and collects what it
// printed. Standard input is empty.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::pair<std::string, std::string>>& env = {},
                         StandardOutput output = StandardOutput::kWritable);

}  // namespace huevane::test
