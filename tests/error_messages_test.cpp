#include "cli/error_messages.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/native_file_system.h"
#include "tests/test_support.h"

namespace huevane::cli {
namespace {

TEST(ErrorMessages, NamesTheCauseBeforeTheErrorNumber) {
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
        {RunError(ErrorNumber::kPermissionDenied), "permission denied"},
        {RunError(ErrorNumber::kFileAlreadyOpen), "it is in use by another program"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Reason(c.error), c.text);
    }
}

// The window program's names of the error numbers ("Path/File access error") are no words for
// a message of huevane-cli.
TEST(ErrorMessages, WordsNoErrorNumberByItsRunTimeName) {
    for (const int number : {5, 6, 13, 52, 53, 55, 57, 61, 70, 75, 76}) {
        const RunError error(static_cast<ErrorNumber>(number));
        EXPECT_NE(Reason(error), error.what()) << number;
    }
}

TEST(ErrorMessages, NamesADirectoryWhereAFileWasExpected) {
    const test::TempDir root;
    test::WriteFileBytes(root.File("file"), "");
    const std::unique_ptr<FileSystem> fs = platform::MakeNativeFileSystem();
    const RunError notAFile(ErrorNumber::kPathFileAccess);
    EXPECT_EQ(Reason(notAFile, *fs, root.path()), "is a directory");
    EXPECT_EQ(Reason(notAFile, *fs, root.File("file")), "not a regular file");
}

}  // namespace
}  // namespace huevane::cli
