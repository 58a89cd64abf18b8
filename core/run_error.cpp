#include "core/run_error.h"

namespace huevane {

const char* RunError::what() const noexcept {
    if (text_ && !text_->empty()) {
        return text_->c_str();
    }
    switch (number_) {
        case ErrorNumber::kInvalidArgument:
            return "Invalid procedure call or argument";
        case ErrorNumber::kOverflow:
            return "Overflow";
        case ErrorNumber::kTypeMismatch:
            return "Type mismatch";
        case ErrorNumber::kBadFileName:
            return "Bad file name or number";
        case ErrorNumber::kFileNotFound:
            return "File not found";
        case ErrorNumber::kFileAlreadyOpen:
            return "File already open";
        case ErrorNumber::kDeviceIo:
            return "Device I/O error";
        case ErrorNumber::kDiskFull:
            return "Disk full";
        case ErrorNumber::kPermissionDenied:
            return "Permission denied";
        case ErrorNumber::kPathFileAccess:
            return "Path/File access error";
        case ErrorNumber::kPathNotFound:
            return "Path not found";
    }
    return "Run-time error";
}

}  // namespace huevane
