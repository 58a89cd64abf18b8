#include "cli/file_error_text.h"

#include <gtest/gtest.h>

#include <string>

namespace huevane::cli {
namespace {

TEST(FileErrorText, NamesTheCauseBeforeTheErrorNumber) {
    struct Case {
        RunError error;
        const char* text;
    };
    const Case cases[] = {
        {RunError(ErrorNumber::kDeviceIo, ErrorCause::kChangedWhileCopied),
         "changed while it was being copied; nothing was written"},
        {RunError(ErrorNumber::kDeviceIo, std::string("Too many levels of symbolic links")),
         "Too many levels of symbolic links"},  // never "Device I/O error"
        {RunError(ErrorNumber::kBadFileName, ErrorCause::kLinkTooLong),
         "a symbolic link leads to a path too long to follow; the link is left as it is"},
        {RunError(ErrorNumber::kPermissionDenied), "Permission denied"},
        {RunError(ErrorNumber::kFileAlreadyOpen),
         "it is in use by another program"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Reason(c.error), c.text);
    }
}

}  // namespace
}  // namespace huevane::cli
