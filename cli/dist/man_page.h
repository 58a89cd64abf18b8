#pragma once

#include <string>
#include <string_view>

namespace huevane::cli {

// The man page huevane-cli(1) in roff, from huevane-cli's table of commands and options; date
// is shown as it is given, as YYYY-MM-DD.
std::string ManPage(std::string_view version, std::string_view date);

}  // namespace huevane::cli
