#pragma once

#include <exception>

namespace huevane {

// Run-time error numbers the program raises; the Apply command turns any of them into "Error.".
enum class ErrorNumber : int {
    kInvalidArgument = 5,
    kOverflow = 6,
    kTypeMismatch = 13,
    kBadFileName = 52,
    kFileNotFound = 53,
    kFileAlreadyOpen = 55,
    kDeviceIo = 57,
    kDiskFull = 61,
    kPermissionDenied = 70,
    kPathFileAccess = 75,
    kPathNotFound = 76,
};

// A failed step, carrying its run-time error number. Thrown where the failure happens and
// caught only by the Apply command.
class RunError : public std::exception {
public:
    explicit RunError(ErrorNumber number) noexcept : number_(number) {}

    ErrorNumber number() const noexcept { return number_; }
    const char* what() const noexcept override;

private:
    ErrorNumber number_;
};

}  // namespace huevane
