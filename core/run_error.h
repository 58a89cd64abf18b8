#pragma once

#include <exception>
#include <memory>
#include <string>
#include <utility>

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

// What went wrong, where the error number alone would not tell it or would tell it wrongly.
enum class ErrorCause {
    kNumber,              // the error number says it
    kChangedWhileCopied,  // the file grew or shrank while it was being copied
    kLinkTooLong,         // a symbolic link leads to a path too long to follow
    kSystem,              // an error of the system's with no number of its own: systemText()
};

// A failed step, carrying its run-time error number (all the window program shows) and what a
// fuller message needs. Thrown where the failure happens.
class RunError : public std::exception {
public:
    explicit RunError(ErrorNumber number, ErrorCause cause = ErrorCause::kNumber) noexcept
        : number_(number), cause_(cause) {}
    // An error that the system describes in words of its own.
    RunError(ErrorNumber number, std::string systemText)
        : number_(number),
          cause_(ErrorCause::kSystem),
          systemText_(std::make_shared<const std::string>(std::move(systemText))) {}

    ErrorNumber number() const noexcept { return number_; }
    ErrorCause cause() const noexcept { return cause_; }
    // The system's words for the error; empty unless cause() is kSystem.
    std::string systemText() const { return systemText_ ? *systemText_ : std::string(); }
    // The system's words where there are some, else the text of the error number.
    const char* what() const noexcept override;

private:
    ErrorNumber number_;
    ErrorCause cause_;
    std::shared_ptr<const std::string> systemText_;  // shared, so that copies cannot throw
};

}  // namespace huevane
