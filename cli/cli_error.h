#pragma once

#include <string>

#include "core/run_error.h"

namespace huevane::cli {

inline constexpr int kExitError = 1;
inline constexpr int kExitUsage = 2;

// A failure to report on one line of standard error; huevane-cli ends with status 1.
[[noreturn]] inline void Fail(const std::string& message) {
    throw RunError::Described(message);
}

// A malformed command line; huevane-cli ends with status 2.
[[noreturn]] inline void UsageError(const std::string& message) {
    throw RunError::Usage(message);
}

}  // namespace huevane::cli
