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
    kSystem,              // an error of the system's with no number of its own: text()
    kDescribed,           // a failure that text() describes whole, in its finder's words
    kUsage,               // the caller asked for something malformed, as text() says
};

// The one error that every part of both programs raises: a failed step, carrying its run-time
// error number (all the window program shows) and what a fuller message needs. Thrown where the
// failure happens; each program turns it into its own words in one place (the window program's
// Apply command into "Error.", huevane-cli's RunCli into a line and an exit status).
class RunError : public std::exception {
public:
    explicit RunError(ErrorNumber number, ErrorCause cause = ErrorCause::kNumber) noexcept
        : number_(number), cause_(cause) {}
    // An error that the system describes in words of its own.
    RunError(ErrorNumber number, std::string systemText)
        : RunError(number, ErrorCause::kSystem, std::move(systemText)) {}

    // A failure that message describes whole, such as a file that is not what it should be.
    static RunError Described(std::string message,
                              ErrorNumber number = ErrorNumber::kInvalidArgument) {
        return {number, ErrorCause::kDescribed, std::move(message)};
    }
    // A request that is malformed, such as an unknown option on a command line.
    static RunError Usage(std::string message) {
        return {ErrorNumber::kInvalidArgument, ErrorCause::kUsage, std::move(message)};
    }

    ErrorNumber number() const noexcept { return number_; }
    ErrorCause cause() const noexcept { return cause_; }
    // The system's words or the message; empty when cause() is kNumber or another fixed cause.
    std::string text() const { return text_ ? *text_ : std::string(); }
    // The text where there is one, else the text of the error number.
    const char* what() const noexcept override;

private:
    RunError(ErrorNumber number, ErrorCause cause, std::string text)
        : number_(number),
          cause_(cause),
          text_(std::make_shared<const std::string>(std::move(text))) {}

    ErrorNumber number_;
    ErrorCause cause_;
    std::shared_ptr<const std::string> text_;  // shared, so that copies cannot throw
};

}  // namespace huevane
