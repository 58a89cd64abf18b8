#pragma once

#include <string>

namespace huevane::platform {

// The directory holding the running executable, without a trailing separator; the empty text
// if the system cannot tell.
std::string ProgramDirectory();

}  // namespace huevane::platform
