#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/command_table.h"

namespace huevane::cli {

// The command line, checked for form: which options each command takes, and their values. Each
// option's entry in the command table names the field its value goes into.
struct Arguments {
    std::optional<Command> command;  // nullopt: no command given
    bool help = false;
    bool showVersion = false;  // --version: the program's own version
    std::optional<std::string> dir;
    std::optional<std::string> prefix;
    std::optional<std::string> build;  // the client's build: index, text or 5.1.3020
    std::optional<std::string> from;   // set --from: a file that get --json wrote
    std::optional<std::string> backup;
    // For set, in pairs: colors[i] is the colour given after properties[i].
    std::vector<std::string> properties;
    std::vector<std::string> colors;
    bool force = false;
    bool json = false;
};

// Raises a usage error (exit status 2) for anything malformed, such as a --color that does not
// follow its own --property. "--" ends the options: every later word is read as a word, even one
// that starts with "--".
Arguments ParseArguments(const std::vector<std::string>& args);

}  // namespace huevane::cli
