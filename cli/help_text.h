#pragma once

#include <string_view>

namespace huevane::cli {

// The --help text of the program (command "") or of one command.
std::string_view HelpText(std::string_view command);

}  // namespace huevane::cli
