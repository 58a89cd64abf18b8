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

// Runs program with args (and extra environment variables NAME=VALUE) and collects what it
// printed. Standard input is empty.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::pair<std::string, std::string>>& env = {});

}  // namespace huevane::test
