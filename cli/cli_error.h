#pragma once

#include <stdexcept>
#include <string>

namespace huevane::cli {

inline constexpr int kExitError = 1;
inline constexpr int kExitUsage = 2;

// A failure to report on one line of standard error, with the exit status to end with.
class CliError : public std::runtime_error {
public:
    CliError(int exitStatus, const std::string& message)
        : std::runtime_error(message), exitStatus_(exitStatus) {}
    int exitStatus() const { return exitStatus_; }

private:
    int exitStatus_;
};

[[noreturn]] inline void Fail(const std::string& message) {
    throw CliError(kExitError, message);
}

[[noreturn]] inline void UsageError(const std::string& message) {
    throw CliError(kExitUsage, message);
}

}  // namespace huevane::cli
