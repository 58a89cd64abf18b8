#pragma once

#include <string>

#include "core/run_error.h"

namespace huevane::cli {

// Why a file step failed, in words a user can act on: the cause where one was noted, else the
// system's own words, else the text of the error number.
std::string Reason(const RunError& e);

}  // namespace huevane::cli
