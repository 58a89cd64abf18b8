#pragma once

#include <optional>
#include <string>
#include <vector>

namespace huevane::cli {

// The command line, checked for form: which options each command takes, and their values.
struct Arguments {
    std::string command;  // empty: no command given
    bool help = false;
    std::optional<std::string> dir;
    std::optional<std::string> prefix;
    std::optional<std::string> version;
    std::optional<std::string> backup;
    std::vector<std::string> properties;
    std::vector<std::string> colors;
    bool force = false;
};

// Raises a usage error (exit status 2) for anything malformed.
Arguments ParseArguments(const std::vector<std::string>& args);

}  // namespace huevane::cli
