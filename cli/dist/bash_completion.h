#pragma once

#include <string>

namespace huevane::cli {

// The bash completion script for huevane-cli, from its table of commands and options.
std::string BashCompletion();

}  // namespace huevane::cli
