#include "cli/file_error_text.h"

namespace huevane::cli {
namespace {

// Each run-time error number in plain words, for a step on a file.
const char* NumberText(ErrorNumber number) {
    switch (number) {
        case ErrorNumber::kInvalidArgument:
            return "the request is not valid";
        case ErrorNumber::kOverflow:
            return "a number is too large";
        case ErrorNumber::kTypeMismatch:
            return "a value is of the wrong kind";
        case ErrorNumber::kBadFileName:
            return "not a valid file name, or too long a one";
        case ErrorNumber::kFileNotFound:
            return "no such file";
        case ErrorNumber::kFileAlreadyOpen:
            return "it is in use by another program";
        case ErrorNumber::kDeviceIo:
            return "the device failed to read or write";
        case ErrorNumber::kDiskFull:
            return "the disk is full";
        case ErrorNumber::kPermissionDenied:
            return "permission denied";
        case ErrorNumber::kPathFileAccess:
            return "not a regular file";
        case ErrorNumber::kPathNotFound:
            return "part of its path is missing or is not a directory";
    }
    return "failed";
}

// A path that can be listed is a directory.
bool IsDirectory(FileSystem& fs, const std::string& path) {
    try {
        fs.ListDirectory(path);
        return true;
    } catch (const RunError&) {
        return false;
    }
}

}  // namespace

std::string Reason(const RunError& e) {
    switch (e.cause()) {
        case ErrorCause::kChangedWhileCopied:
            return "changed while it was being copied; nothing was written";
        case ErrorCause::kLinkTooLong:
            return "a symbolic link leads to a path too long to follow; the link is left as it is";
        case ErrorCause::kSystem:
        case ErrorCause::kDescribed:
        case ErrorCause::kUsage:
            if (!e.text().empty()) {
                return e.text();
            }
            break;
        case ErrorCause::kNumber:
            break;
    }
    return NumberText(e.number());
}

std::string Reason(const RunError& e, FileSystem& fs, const std::string& path) {
    if (e.cause() == ErrorCause::kNumber && e.number() == ErrorNumber::kPathFileAccess &&
        IsDirectory(fs, path)) {
        return "is a directory";
    }
    return Reason(e);
}

}  // namespace huevane::cli
