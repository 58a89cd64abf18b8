// The directory of the running executable, whatever the current directory is.
#include "platform/program_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/test_support.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/win_text.h"
#endif

namespace huevane {
namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
constexpr char kSeparator = '\\';
constexpr const char* kExecutableName = "program_dir_test.exe";

// A path of this program's UTF-8 as std::filesystem takes it.
fs::path PathOf(const std::string& path) {
    return {std::u8string(path.begin(), path.end())};
}
#else
constexpr char kSeparator = '/';
constexpr const char* kExecutableName = "program_dir_test";

fs::path PathOf(const std::string& path) {
    return {path};
}
#endif

// Keeps the current directory elsewhere, so a directory taken from it would show.
class CurrentDirectoryElsewhere {
public:
    explicit CurrentDirectoryElsewhere(const std::string& dir) : saved_(fs::current_path()) {
        fs::current_path(PathOf(dir));
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
    EXPECT_TRUE(PathOf(dir).is_absolute()) << dir;
    EXPECT_FALSE(fs::equivalent(PathOf(dir), PathOf(elsewhere.path())));
    const std::string executable = dir + kSeparator + kExecutableName;
    EXPECT_TRUE(fs::is_regular_file(PathOf(executable))) << executable;
#ifndef _WIN32
    EXPECT_TRUE(fs::equivalent(executable, "/proc/self/exe"));
#else
    // Set by the test below for the copy of this program it runs.
    const DWORD length = GetEnvironmentVariableW(L"HUEVANE_EXPECTED_PROGRAM_DIR", nullptr, 0);
    if (length > 0) {
        std::wstring expected(length, L'\0');
        expected.resize(
            GetEnvironmentVariableW(L"HUEVANE_EXPECTED_PROGRAM_DIR", expected.data(), length));
        EXPECT_EQ(dir, platform::Utf8(expected));
    }
#endif
}

#ifdef _WIN32
// Huevane.exe in a folder such as "Łukasz" finds its program folder for the backup: a copy of
// this program, in folders of three scripts, runs the test above.
TEST(ProgramDirectory, IsFoundInAFolderOfAnyScript) {
    const test::TempDir root;
    root.MakeSubdir("Łukasz");
    root.MakeSubdir("Łukasz\\Клиент");
    const std::string dir = root.MakeSubdir("Łukasz\\Клиент\\程序");
    const std::string copy = dir + "\\" + kExecutableName;
    fs::copy_file(PathOf(platform::ProgramDirectory() + "\\" + kExecutableName), PathOf(copy));

    std::wstring commandLine = L"\"" + platform::Wide(copy) +
                               L"\" --gtest_filter=ProgramDirectory.HoldsThisTestExecutable";
    ASSERT_TRUE(
        SetEnvironmentVariableW(L"HUEVANE_EXPECTED_PROGRAM_DIR", platform::Wide(dir).c_str()));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    const BOOL started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0,
                                        nullptr, nullptr, &startup, &info);
    SetEnvironmentVariableW(L"HUEVANE_EXPECTED_PROGRAM_DIR", nullptr);
    ASSERT_TRUE(started) << GetLastError();
    WaitForSingleObject(info.hProcess, INFINITE);
    DWORD status = 1;
    GetExitCodeProcess(info.hProcess, &status);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    EXPECT_EQ(status, 0u) << "the copy's own output above says why";
}
#endif

}  // namespace
}  // namespace huevane
