#include "cli/file_error_text.h"

namespace huevane::cli {

std::string Reason(const RunError& e) {
    switch (e.cause()) {
        case ErrorCause::kChangedWhileCopied:
            return "changed while it was being copied; nothing was written";
        case ErrorCause::kLinkTooLong:
            return "a symbolic link leads to a path too long to follow; the link is left as it is";
        case ErrorCause::kSystem:
        case ErrorCause::kDescribed:
        case ErrorCause::kUsage:
            return e.text();
        case ErrorCause::kNumber:
            break;
    }
    switch (e.number()) {
        case ErrorNumber::kFileAlreadyOpen:
            return "it is in use by another program";
        case ErrorNumber::kPathFileAccess:
            return "not a regular file (Path/File access error)";
        default:
            return e.what();
    }
}

}  // namespace huevane::cli
