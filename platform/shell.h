#pragma once

#include <string>

namespace huevane::modColors {

// Opens target (a web address) with the shell's default verb, the program directory as the
// working directory. Whether the shell managed is not reported.
void OpenSite(const std::string& target);

}  // namespace huevane::modColors
