#pragma once

#include <string>
#include <string_view>

#include "core/run_error.h"

namespace huevane::cli {

inline constexpr int kExitError = 1;
inline constexpr int kExitUsage = 2;

// A malformed command line; huevane-cli ends with status 2, and the message ends with a pointer
// to --help.
[[noreturn]] inline void UsageError(const std::string& message) {
    throw RunError::Usage(message);
}

// A usage error whose message says itself where to look or what to write, in the hint that
// follows it in parentheses, so that it gets no pointer to --help besides: the command that
// lists the accepted values, or the forms to use.
class HintedUsageError : public RunError {
public:
    HintedUsageError(const std::string& message, std::string_view hint)
        : RunError(Usage(message + " (" + std::string(hint) + ")")) {}
};

[[noreturn]] inline void UsageError(const std::string& message, std::string_view hint) {
    throw HintedUsageError(message, hint);
}

}  // namespace huevane::cli
