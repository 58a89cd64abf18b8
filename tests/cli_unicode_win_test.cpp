// huevane-cli.exe end to end where the client's folder is no plain ANSI path: a name in two
// scripts that no one code page holds together, and a folder past the 260-character limit.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "client/install_dir.h"
#include "platform/win_text.h"
#include "tests/pe_builder.h"
#include "tests/process_runner.h"
#include "tests/registry_guard.h"
#include "tests/test_support.h"

namespace huevane {
namespace {

using test::ProcessResult;
using test::ReadFileBytes;
using test::WriteFileBytes;

constexpr std::size_t kBuddyNames = 0x56B9;     // build 3, 5.1.3009 - 5.1.3036
constexpr std::size_t kBottomButtons = 0xC7A4;  // build 15, 5.9.3782 - 5.9.3861

std::string CliPath() {
    std::string path = HUEVANE_CLI;
    if (!path.empty() && path[0] == '/') {
        path = "Z:" + path;  // Wine shows the build machine's files as drive Z:
    }
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

ProcessResult Cli(const std::vector<std::string>& args) {
    return test::RunProcess(CliPath(), args);
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(CliInAnyScript, LocatesAndWritesUnderARegisteredFolderInTwoScripts) {
    const test::TempDir root;
    root.MakeSubdir("Клиент");
    const std::string installDir = root.MakeSubdir("Клиент\\程序");
    const std::string target = installDir + "\\buddyui.ocm";
    const std::string original = test::SyntheticImage(0x10000);
    WriteFileBytes(target, original);
    WriteFileBytes(installDir + "\\aim.exe", test::BuildPeWithVersion({5, 9, 3861, 0}));
    const test::RegistryValueGuard registered(std::string(client::kClientKeyPath),
                                              installDir + "\\aim.exe");

    const ProcessResult locate = Cli({"locate"});
    EXPECT_EQ(locate.exitStatus, 0) << locate.err;
    EXPECT_EQ(locate.out, installDir + "\n");  // UTF-8, into a file as into a pipe
    const ProcessResult detect = Cli({"detect"});
    EXPECT_TRUE(Contains(detect.out, "build 5.9.3861: version 15")) << detect.out << detect.err;
    const ProcessResult set = Cli({"set", "--property", "5", "--color", "#010203"});
    EXPECT_EQ(set.exitStatus, 0) << set.err;
    EXPECT_EQ(ReadFileBytes(target).substr(kBottomButtons, 3), "\x01\x02\x03");
    EXPECT_EQ(test::DifferingOffsets(original, ReadFileBytes(target)).size(), 3u);
    const ProcessResult get = Cli({"get", "--property", "5"});
    EXPECT_EQ(get.exitStatus, 0) << get.err;
    EXPECT_TRUE(Contains(get.out, "#010203")) << get.out;
    EXPECT_EQ(test::EntryNames(installDir), (std::set<std::string>{"aim.exe", "buddyui.ocm"}));
}

// Made and removed through "\\?\", since the plain wide functions stop at 260 characters.
class LongFolder {
public:
    explicit LongFolder(const std::string& parent) : path_(parent) {
        while (path_.size() < 300) {
            path_ += "\\" + std::string(60, static_cast<char>('a' + made_.size()));
            made_.push_back(L"\\\\?\\" + platform::Wide(path_));
            EXPECT_TRUE(CreateDirectoryW(made_.back().c_str(), nullptr)) << GetLastError();
        }
    }
    LongFolder(const LongFolder&) = delete;
    LongFolder& operator=(const LongFolder&) = delete;
    ~LongFolder() {
        WIN32_FIND_DATAW data{};
        const HANDLE find = FindFirstFileW((made_.back() + L"\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                DeleteFileW((made_.back() + L"\\" + data.cFileName).c_str());
            } while (FindNextFileW(find, &data));
            FindClose(find);
        }
        for (auto dir = made_.rbegin(); dir != made_.rend(); ++dir) {
            RemoveDirectoryW(dir->c_str());
        }
    }

    const std::string& path() const { return path_; }

    void Write(const std::string& name, const std::string& bytes) const {
        const HANDLE h = CreateFileW((made_.back() + L"\\" + platform::Wide(name)).c_str(),
                                     GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        DWORD wrote = 0;
        EXPECT_TRUE(WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr));
        CloseHandle(h);
    }

    std::string Read(const std::string& name) const {
        const HANDLE h =
            CreateFileW((made_.back() + L"\\" + platform::Wide(name)).c_str(), GENERIC_READ,
                        FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        std::string bytes(0x20000, '\0');
        DWORD got = 0;
        if (h == INVALID_HANDLE_VALUE ||
            !ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr)) {
            got = 0;
        }
        CloseHandle(h);
        bytes.resize(got);
        return bytes;
    }

private:
    std::string path_;
    std::vector<std::wstring> made_;
};

TEST(CliInAnyScript, FindsTheFileInAFolderPastTheLongestPlainPath) {
    const test::TempDir root;
    const LongFolder installDir(root.path());
    const std::string original = test::SyntheticImage(0x10000);
    installDir.Write("buddyui.ocm", original);
    const std::vector<std::string> dir = {"--dir", installDir.path()};

    std::vector<std::string> args = dir;
    args.insert(args.end(), {"set", "--build", "3", "--property", "3", "--color", "#123456"});
    const ProcessResult set = Cli(args);
    EXPECT_EQ(set.exitStatus, 0) << set.err;
    const std::string patched = installDir.Read("buddyui.ocm");
    EXPECT_EQ(patched.substr(kBuddyNames, 3), "\x12\x34\x56");
    EXPECT_EQ(test::DifferingOffsets(original, patched).size(), 3u);

    args = dir;
    args.insert(args.end(), {"get", "--build", "3", "--property", "3"});
    const ProcessResult get = Cli(args);
    EXPECT_EQ(get.exitStatus, 0) << get.err;
    EXPECT_EQ(get.out, "Buddy names: #123456\n");
}

TEST(CliInAnyScript, DeviceAsBackupIsRefusedBeforeAnythingIsWritten) {
    const test::TempDir root;
    const std::string installDir = root.MakeSubdir("AIM");
    const std::string original = test::SyntheticImage(0x10000);
    WriteFileBytes(installDir + "\\buddyui.ocm", original);
    const std::vector<std::string> devices = {
        "NUL", "nul.txt", "CON", "com1", "LPT1.log", installDir + "\\NUL", "AUX .backup"};
    for (const std::string& device : devices) {
        const ProcessResult set = Cli({"--dir", installDir, "set", "--build", "3", "--property",
                                       "3", "--color", "#123456", "--backup", device});
        SCOPED_TRACE(device);
        EXPECT_EQ(set.exitStatus, 1);
        EXPECT_FALSE(Contains(set.err, "Device I/O error")) << set.err;
        EXPECT_TRUE(Contains(set.err, "not a regular file")) << set.err;
        EXPECT_EQ(std::count(set.err.begin(), set.err.end(), '\n'), 1);
        EXPECT_EQ(ReadFileBytes(installDir + "\\buddyui.ocm"), original);
    }
    EXPECT_EQ(test::EntryNames(installDir), (std::set<std::string>{"buddyui.ocm"}));
}

}  // namespace
}  // namespace huevane
