#pragma once

#include <optional>
#include <string>

#include "cli/command_table.h"

namespace huevane::cli {

// The --help text of the program (no command) or of one command.
std::string HelpText(const std::optional<Command>& command);

}  // namespace huevane::cli
