// The directory of the running executable, whatever the current directory is.
#include "platform/program_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/test_support.h"

namespace huevane {
namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
constexpr char kSeparator = '\\';
constexpr const char* kExecutableName = "program_dir_test.exe";
#else
constexpr char kSeparator = '/';
constexpr const char* kExecutableName = "program_dir_test";
#endif

// Keeps the current directory elsewhere, so a directory taken from it would show.
class CurrentDirectoryElsewhere {
public:
    explicit CurrentDirectoryElsewhere(const std::string& dir) : saved_(fs::current_path()) {
        fs::current_path(dir);
    }
    CurrentDirectoryElsewhere(const CurrentDirectoryElsewhere&) = delete;
    CurrentDirectoryElsewhere& operator=(const CurrentDirectoryElsewhere&) = delete;
    ~CurrentDirectoryElsewhere() { fs::current_path(saved_); }

private:
    fs::path saved_;
};

TEST(ProgramDirectory, HoldsThisTestExecutable) {
    test::TempDir elsewhere;
    std::string dir;
    {
        const CurrentDirectoryElsewhere cwd(elsewhere.path());
        dir = platform::ProgramDirectory();
    }
    ASSERT_FALSE(dir.empty());
    EXPECT_NE(dir.back(), kSeparator);
    EXPECT_TRUE(fs::path(dir).is_absolute()) << dir;
    EXPECT_FALSE(fs::equivalent(dir, elsewhere.path()));
    const std::string executable = dir + kSeparator + kExecutableName;
    EXPECT_TRUE(fs::is_regular_file(executable)) << executable;
#ifndef _WIN32
    EXPECT_TRUE(fs::equivalent(executable, "/proc/self/exe"));
#endif
}

}  // namespace
}  // namespace huevane
