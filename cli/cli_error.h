#pragma once

#include <string>
#include <string_view>

#include "core/run_error.h"

namespace huevane::cli {

inline constexpr int kExitError = 1;
inline constexpr int kExitUsage = 2;

// A failure to report on one line of standard error; huevane-cli ends with status 1.
[[noreturn]] inline void Fail(const std::string& message) {
    throw RunError::Described(message);
}

// A malformed command line; huevane-cli ends with status 2, and the message ends with a pointer
// to --help.
[[noreturn]] inline void UsageError(const std::string& message) {
    throw RunError::Usage(message);
}

// A usage error whose message says itself where to look or what to write, so that it gets no
// pointer to --help besides.
class HintedUsageError : public RunError {
public:
    explicit HintedUsageError(std::string message) : RunError(Usage(std::move(message))) {}
};

// A malformed command line, with the hint that follows message in parentheses: the command
// that lists the accepted values, or the forms to use.
[[noreturn]] inline void UsageError(const std::string& message, std::string_view hint) {
    throw HintedUsageError(message + " (" + std::string(hint) + ")");
}

}  // namespace huevane::cli
