// The machine's own file system: what the patcher relies on, on Linux and on Windows alike.
#include "platform/native_file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "core/run_error.h"
#include "core/safe_rewrite.h"
#include "tests/test_support.h"
#include "ui/apply_command.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/win_text.h"
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace huevane {
namespace {

using test::EntryNames;
using test::ReadFileBytes;
using test::WriteFileBytes;

class NativeFileSystem : public ::testing::Test {
protected:
    static ErrorNumber ErrorOf(const std::function<void()>& action) {
        try {
            action();
        } catch (const RunError& e) {
            return e.number();
        }
        ADD_FAILURE() << "no run-time error raised";
        return ErrorNumber{};
    }

    std::unique_ptr<FileSystem> fs_ = platform::MakeNativeFileSystem();
    test::TempDir dir_;
};

TEST_F(NativeFileSystem, CopyCreatesAndReplacesLeavingNoOtherFile) {
    const std::string source = fs_->JoinPath(dir_.path(), "source.bin");
    const std::string path = fs_->JoinPath(dir_.path(), "module.ocm");
    for (const std::string& bytes :
         {std::string("first"), std::string("\0\xFF\r\n\x1A", 5), std::string()}) {
        WriteFileBytes(source, bytes);
        CopyFileAtomically(*fs_, source, path);
        EXPECT_EQ(ReadFileBytes(path), bytes);  // binary, no text-mode translation
    }
    EXPECT_EQ(EntryNames(dir_.path()), (std::set<std::string>{"module.ocm", "source.bin"}));
}

TEST_F(NativeFileSystem, LargeFilesStreamThroughInOrder) {
    const std::string path = fs_->JoinPath(dir_.path(), "big.bin");
    const std::string image = test::SyntheticImage(3 * 1024 * 1024 + 17);
    WriteFileBytes(path, image);
    std::uint64_t expectedOffset = 0;
    RewriteInPlace(*fs_, path, [&](std::span<char> chunk, std::uint64_t offset) {
        EXPECT_EQ(offset, expectedOffset);
        expectedOffset += chunk.size();
        chunk[0] = static_cast<char>(~chunk[0]);
    });
    EXPECT_EQ(expectedOffset, image.size());
    const std::string copy = ReadFileBytes(path);
    ASSERT_EQ(copy.size(), image.size());
    EXPECT_GT(test::DifferingOffsets(image, copy).size(), 1u);  // several chunks went through
}

TEST_F(NativeFileSystem, ReportsMissingFilesAndDirectories) {
    const std::string missingDir = fs_->JoinPath(dir_.path(), "nope");
    EXPECT_EQ(ErrorOf([&] { fs_->ListDirectory(missingDir); }), ErrorNumber::kPathNotFound);
    EXPECT_EQ(ErrorOf([&] { fs_->OpenRead(fs_->JoinPath(dir_.path(), "absent")); }),
              ErrorNumber::kFileNotFound);
    EXPECT_EQ(ErrorOf([&] { ExistingFilePath(*fs_, dir_.path(), "absent"); }),
              ErrorNumber::kFileNotFound);
    const std::string source = fs_->JoinPath(dir_.path(), "source.bin");
    WriteFileBytes(source, "x");
    EXPECT_THROW(CopyFileAtomically(*fs_, source, fs_->JoinPath(missingDir, "f")), RunError);
    fs_->Remove(source);
    EXPECT_TRUE(EntryNames(dir_.path()).empty());
}

TEST_F(NativeFileSystem, FindsNamesWhateverTheirCase) {
    WriteFileBytes(fs_->JoinPath(dir_.path(), "BUDDYUI.Ocm"), "x");
    EXPECT_EQ(FindEntryIgnoringCase(*fs_, dir_.path(), "buddyui.OCM"), "BUDDYUI.Ocm");
    EXPECT_EQ(ExistingFilePath(*fs_, dir_.path(), "buddyui.ocm"),
              fs_->JoinPath(dir_.path(), "BUDDYUI.Ocm"));
    EXPECT_EQ(FindEntryIgnoringCase(*fs_, dir_.path(), "buddyui.oc"), std::nullopt);
    EXPECT_EQ(FilePathFor(*fs_, dir_.path(), "BUIBackup.ocm"),
              fs_->JoinPath(dir_.path(), "BUIBackup.ocm"));
}

TEST_F(NativeFileSystem, RefusesToReplaceAReadOnlyFile) {
    const std::string path = fs_->JoinPath(dir_.path(), "locked.ocm");
    WriteFileBytes(path, "keep");
    test::MakeReadOnly(path);
    const std::string source = fs_->JoinPath(dir_.path(), "source.bin");
    WriteFileBytes(source, "lost");
    EXPECT_EQ(ErrorOf([&] { CopyFileAtomically(*fs_, source, path); }),
              ErrorNumber::kPermissionDenied);
    EXPECT_EQ(ReadFileBytes(path), "keep");
    EXPECT_EQ(EntryNames(dir_.path()), (std::set<std::string>{"locked.ocm", "source.bin"}));
}

#ifndef _WIN32
TEST_F(NativeFileSystem, ReplacementKeepsThePermissions) {
    namespace stdfs = std::filesystem;
    const std::string path = fs_->JoinPath(dir_.path(), "module.ocm");
    WriteFileBytes(path, "old");
    stdfs::permissions(path, stdfs::perms::owner_read | stdfs::perms::owner_write |
                                 stdfs::perms::group_read | stdfs::perms::others_read);
    RewriteInPlace(*fs_, path);
    EXPECT_EQ(stdfs::status(path).permissions(),
              stdfs::perms::owner_read | stdfs::perms::owner_write | stdfs::perms::group_read |
                  stdfs::perms::others_read);
}
#endif

#ifndef _WIN32
TEST_F(NativeFileSystem, WhatIsNotARegularFileIsRefusedAtOnce) {
    const std::string fifo = dir_.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string source = dir_.File("source.bin");
    WriteFileBytes(source, "bytes");
    // Opening a FIFO to read or write would wait for the other end.
    for (const std::string& path : {fifo, dir_.MakeSubdir("dir"), std::string("/dev/null")}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(ErrorOf([&] { fs_->OpenRead(path); }), ErrorNumber::kPathFileAccess);
        EXPECT_EQ(ErrorOf([&] { RewriteInPlace(*fs_, path); }), ErrorNumber::kPathFileAccess);
        EXPECT_EQ(ErrorOf([&] { CopyFileAtomically(*fs_, source, path); }),
                  ErrorNumber::kPathFileAccess);
    }
    EXPECT_EQ(EntryNames(dir_.path()), (std::set<std::string>{"dir", "fifo", "source.bin"}));
}

TEST_F(NativeFileSystem, LinksAreFollowedAndStayLinks) {
    namespace stdfs = std::filesystem;
    const std::string target = dir_.MakeSubdir("real") + "/module.ocm";
    const std::string links = dir_.MakeSubdir("links");
    const std::string link = links + "/module.ocm";
    stdfs::create_symlink(target, link);
    const std::string source = dir_.File("source.bin");
    WriteFileBytes(source, "copied");
    WriteFileBytes(target, "old");
    RewriteInPlace(*fs_, link, [](std::span<char> chunk, std::uint64_t) { chunk[0] = 'n'; });
    EXPECT_EQ(ReadFileBytes(target), "nld");
    CopyFileAtomically(*fs_, source, link);
    EXPECT_EQ(ReadFileBytes(target), "copied");
    EXPECT_TRUE(stdfs::is_symlink(link));
    EXPECT_EQ(EntryNames(links), (std::set<std::string>{"module.ocm"}));
    EXPECT_EQ(EntryNames(dir_.File("real")), (std::set<std::string>{"module.ocm"}));
}

TEST_F(NativeFileSystem, LinksToFilesNotMadeYetAreWrittenThrough) {
    namespace stdfs = std::filesystem;
    const std::string real = dir_.MakeSubdir("real");
    const std::string links = dir_.MakeSubdir("links");
    const std::string source = dir_.File("source.bin");
    WriteFileBytes(source, "copied");
    // A link to where the backup will be, and a chain of relative links to it.
    stdfs::create_symlink(real + "/backup.ocm", links + "/direct");
    stdfs::create_symlink("../real/chained.ocm", links + "/second");
    stdfs::create_symlink("second", links + "/first");
    for (const char* name : {"direct", "first"}) {
        SCOPED_TRACE(name);
        CopyFileAtomically(*fs_, source, links + "/" + name);
        EXPECT_TRUE(stdfs::is_symlink(links + "/" + name));
        EXPECT_EQ(ReadFileBytes(links + "/" + name), "copied");
    }
    EXPECT_EQ(EntryNames(real), (std::set<std::string>{"backup.ocm", "chained.ocm"}));
    EXPECT_EQ(EntryNames(links), (std::set<std::string>{"direct", "first", "second"}));
    // A link that leads round in a circle is an error in the system's own words.
    stdfs::create_symlink("loop", links + "/loop");
    try {
        CopyFileAtomically(*fs_, source, links + "/loop");
        ADD_FAILURE() << "copied through a loop";
    } catch (const RunError& e) {
        EXPECT_EQ(e.cause(), ErrorCause::kSystem);
        EXPECT_STREQ(e.what(), std::strerror(ELOOP));
    }
    EXPECT_TRUE(stdfs::is_symlink(links + "/loop"));
}

// A chain of directories deeper than PATH_MAX, made and entered one step at a time, as only
// relative paths reach into it; the working directory is back and the chain gone afterwards.
class DeepDirectory {
public:
    explicit DeepDirectory(const std::string& under) : name_(200, 'd') {
        EXPECT_NE(::getcwd(home_.data(), home_.size()), nullptr);
        EXPECT_EQ(::chdir(under.c_str()), 0);
        for (std::size_t length = under.size(); length <= PATH_MAX; length += 1 + name_.size()) {
            EXPECT_EQ(::mkdir(name_.c_str(), 0700), 0);
            EXPECT_EQ(::chdir(name_.c_str()), 0);
            ++depth_;
        }
    }
    DeepDirectory(const DeepDirectory&) = delete;
    DeepDirectory& operator=(const DeepDirectory&) = delete;
    ~DeepDirectory() {
        for (const std::string& entry : EntryNames(".")) {
            std::filesystem::remove_all(entry);
        }
        for (; depth_ > 0; --depth_) {
            EXPECT_EQ(::chdir(".."), 0);
            EXPECT_EQ(::rmdir(name_.c_str()), 0);
        }
        EXPECT_EQ(::chdir(home_.data()), 0);
    }

private:
    std::array<char, PATH_MAX> home_{};
    std::string name_;
    int depth_ = 0;
};

TEST_F(NativeFileSystem, LinkInADirectoryDeeperThanPathMaxIsFollowedOrRefused) {
    namespace stdfs = std::filesystem;
    const DeepDirectory deep(dir_.path());
    WriteFileBytes("real.ocm", "old");
    stdfs::create_symlink("real.ocm", "near.ocm");
    // Links whose targets each fit, but which together make a path too long to follow.
    stdfs::create_directory("x");
    std::string climb;
    while (climb.size() < PATH_MAX - 100) {
        climb += "x/../";
    }
    stdfs::create_symlink(climb + "mid.ocm", "far.ocm");
    stdfs::create_symlink(climb + "real.ocm", "mid.ocm");

    RewriteInPlace(*fs_, "near.ocm", [](std::span<char> chunk, std::uint64_t) { chunk[0] = 'n'; });
    EXPECT_EQ(ReadFileBytes("real.ocm"), "nld");
    try {
        RewriteInPlace(*fs_, "far.ocm");
        ADD_FAILURE() << "the link was not refused";
    } catch (const RunError& e) {
        EXPECT_EQ(e.cause(), ErrorCause::kLinkTooLong);
    }
    EXPECT_TRUE(stdfs::is_symlink("near.ocm"));
    EXPECT_TRUE(stdfs::is_symlink("far.ocm"));
    EXPECT_EQ(ReadFileBytes("real.ocm"), "nld");
    EXPECT_EQ(EntryNames("."),
              (std::set<std::string>{"far.ocm", "mid.ocm", "near.ocm", "real.ocm", "x"}));
}

TEST_F(NativeFileSystem, CopyOntoTheSourceItselfIsRefused) {
    namespace stdfs = std::filesystem;
    const std::string path = dir_.File("module.ocm");
    WriteFileBytes(path, "keep");
    stdfs::create_hard_link(path, dir_.File("hard"));
    stdfs::create_symlink(path, dir_.File("soft"));
    for (const std::string& other : {dir_.File("hard"), dir_.File("soft")}) {
        EXPECT_EQ(ErrorOf([&] { CopyFileAtomically(*fs_, path, other); }),
                  ErrorNumber::kPathFileAccess);
    }
    EXPECT_EQ(ReadFileBytes(path), "keep");
}

TEST_F(NativeFileSystem, NewFilesOfOtherUsersAndLinksAreNoLeftovers) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root may give a file to another user";
    }
    const std::string path = dir_.File("module.ocm");
    WriteFileBytes(path, "x");
    const std::string theirs = dir_.File(".module.ocm.huevane-new-Nob123");
    WriteFileBytes(theirs, "another user's run is at work");
    ASSERT_EQ(::chown(theirs.c_str(), 65534, 65534), 0);
    std::filesystem::create_symlink(path, dir_.File(".module.ocm.huevane-new-Lnk123"));
    RewriteInPlace(*fs_, path);
    EXPECT_EQ(EntryNames(dir_.path()),
              (std::set<std::string>{"module.ocm", ".module.ocm.huevane-new-Nob123",
                                     ".module.ocm.huevane-new-Lnk123"}));
}

TEST_F(NativeFileSystem, ReplacementKeepsTheOwnerWhenRunAsRoot) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root may give a file to another user";
    }
    const std::string path = dir_.File("module.ocm");
    WriteFileBytes(path, "old");
    ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
    RewriteInPlace(*fs_, path);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
}
#endif

TEST_F(NativeFileSystem, WriterRemovesOnlyTheNewFilesOfDeadRunsOnItsOwnFile) {
    struct Entry {
        const char* name;
        bool removed;
    };
    const Entry entries[] = {
        // A user's own names, and the names new files had before they carried a marker.
        {".module.ocm.backup", false},
        {".module.ocm.before", false},
        {".MODULE.OCM.abcdef", false},
        {".module.ocm.AbC123", false},
        {".module.ocm.huevane-new-AbC12", false},
        {".module.ocm.huevane-new-AbC1234", false},
        {".module.ocm.huevane-new-Ab-123", false},
        {".module.ocm.HUEVANE-NEW-QqQ123", false},
        {".other.ocm.huevane-new-AbC123", false},
        {"module.ocm.huevane-new-AbC123", false},
        // Left by a run that died.
        {".module.ocm.huevane-new-AbC123", true},
#ifdef _WIN32
        {".MODULE.OCM.huevane-new-XyZ789", true},  // the same file's, as Windows compares names
#else
        {".MODULE.OCM.huevane-new-XyZ789", false},
#endif
    };
    const std::string path = dir_.File("module.ocm");
    const auto plant = [&] {
        for (const Entry& entry : entries) {
            WriteFileBytes(dir_.File(entry.name), "x");
        }
    };
    std::set<std::string> kept = {"module.ocm", ".module.ocm.huevane-new-Dir123"};
    for (const Entry& entry : entries) {
        if (!entry.removed) {
            kept.insert(entry.name);
        }
    }
    dir_.MakeSubdir(".module.ocm.huevane-new-Dir123");
    WriteFileBytes(path, "x");

    plant();
    RewriteInPlace(*fs_, path);
    EXPECT_EQ(EntryNames(dir_.path()), kept);

    // This run's other file stays whatever its name: the backup made before the rewrite, and
    // the source a copy comes from.
    for (const char* name : {".module.ocm.backup", ".module.ocm.huevane-new-Bak123"}) {
        SCOPED_TRACE(name);
        plant();
        const std::string backup = dir_.File(name);
        CopyFileAtomically(*fs_, path, backup);
        RewriteInPlace(*fs_, path, {}, {}, {backup});
        std::set<std::string> expected = kept;
        expected.insert(name);
        EXPECT_EQ(EntryNames(dir_.path()), expected);
        EXPECT_EQ(ReadFileBytes(backup), "x");
        fs_->Remove(backup);
    }
    plant();
    const std::string source = dir_.File(".module.ocm.huevane-new-Src123");
    WriteFileBytes(source, "y");
    CopyFileAtomically(*fs_, source, path);
    EXPECT_EQ(ReadFileBytes(path), "y");
    EXPECT_EQ(ReadFileBytes(source), "y");
}

#ifdef _WIN32
// Another program holding the file open with the given sharing, as a running client, a virus
// scanner or an indexer does.
class Holder {
public:
    Holder(const std::string& path, DWORD share)
        : h_(CreateFileW(platform::Wide(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                         0, nullptr)) {
        EXPECT_NE(h_, INVALID_HANDLE_VALUE);
    }
    ~Holder() { Release(); }
    void Release() {
        if (h_ != INVALID_HANDLE_VALUE) {
            CloseHandle(h_);
            h_ = INVALID_HANDLE_VALUE;
        }
    }

private:
    HANDLE h_;
};

TEST_F(NativeFileSystem, FileKeptInUseCannotBeReadOrReplaced) {
    const std::string path = fs_->JoinPath(dir_.path(), "buddyui.ocm");
    WriteFileBytes(path, "client");
    {
        Holder exclusive(path, 0);
        EXPECT_EQ(ErrorOf([&] { fs_->OpenRead(path); }), ErrorNumber::kFileAlreadyOpen);
    }
    {
        Holder reader(path, FILE_SHARE_READ);  // lets us read, not rename over it
        // The copy is made, but it cannot take the file's place.
        EXPECT_THROW(RewriteInPlace(*fs_, path), RunError);
    }
    EXPECT_EQ(ReadFileBytes(path), "client");
    EXPECT_EQ(EntryNames(dir_.path()), (std::set<std::string>{"buddyui.ocm"}));
}

DWORD WINAPI ReleaseSoon(void* holder) {
    Sleep(80);
    static_cast<Holder*>(holder)->Release();
    return 0;
}

TEST_F(NativeFileSystem, BriefSharingViolationIsRiddenOut) {
    const std::string path = fs_->JoinPath(dir_.path(), "buddyui.ocm");
    WriteFileBytes(path, "client");
    Holder scanner(path, 0);
    // A Win32 thread: the Windows builds use no C++ thread library.
    HANDLE release = CreateThread(nullptr, 0, ReleaseSoon, &scanner, 0, nullptr);
    ASSERT_NE(release, nullptr);
    std::unique_ptr<ReadableFile> file;
    EXPECT_NO_THROW(file = fs_->OpenRead(path));
    WaitForSingleObject(release, INFINITE);
    CloseHandle(release);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->Size(), 6u);
}

// Every step of a rewrite, a copy and a lock, in folders whose names need the wide functions:
// two scripts that no one ANSI code page holds together, and past the 260-character limit.
void RewritesCopiesAndLocksIn(FileSystem& fs, const std::string& dir) {
    const std::string source = fs.JoinPath(dir, "Łukasz 程序.bak");
    const std::string target = fs.JoinPath(dir, "buddyui.ocm");
    const std::string image = test::SyntheticImage(0x10000);
    {
        auto file = fs.CreateNewBeside(source);
        file->Write(image);
        file->Flush();
        const std::string path = file->path();
        file.reset();
        fs.Replace(path, source, nullptr);
    }
    CopyFileAtomically(fs, source, target);
    EXPECT_EQ(ExistingFilePath(fs, dir, "BUDDYUI.OCM"), target);
    RewriteInPlace(fs, target, [](std::span<char> chunk, std::uint64_t offset) {
        if (offset == 0) {
            chunk[0] = static_cast<char>(~chunk[0]);
        }
    });
    const auto read = fs.OpenRead(target);
    std::string bytes(image.size() + 1, '\0');
    bytes.resize(read->Read(bytes));
    EXPECT_EQ(test::DifferingOffsets(image, bytes), (std::set<std::size_t>{0}));
    EXPECT_TRUE(fs.Identify(target).has_value());
    EXPECT_NE(fs.LockForWriting(target), nullptr);
    EXPECT_EQ(fs.LockForWriting(fs.JoinPath(dir, "absent.ocm")), nullptr);
    const std::vector<std::string> names = fs.ListDirectory(dir);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()),
              (std::set<std::string>{"buddyui.ocm", "Łukasz 程序.bak"}));
}

TEST_F(NativeFileSystem, WorksInFoldersOfScriptsNoCodePageHoldsTogether) {
    dir_.MakeSubdir("Клиент");
    const std::string dir = dir_.MakeSubdir("Клиент\\程序");
    RewritesCopiesAndLocksIn(*fs_, dir);
    EXPECT_EQ(EntryNames(dir), (std::set<std::string>{"buddyui.ocm", "Łukasz 程序.bak"}));
}

// Huevane.exe's Apply with "Make Backup": the program in "Łukasz", the client in Cyrillic and CJK.
TEST_F(NativeFileSystem, ApplyBacksUpAndPatchesInFoldersOfAnyScript) {
    const std::string programDir = dir_.MakeSubdir("Łukasz");
    dir_.MakeSubdir("Клиент");
    const std::string installDir = dir_.MakeSubdir("Клиент\\程序");
    const std::string original = test::SyntheticImage(0x10000);
    WriteFileBytes(fs_->JoinPath(installDir, "buddyui.ocm"), original);
    ApplyInputs inputs;
    inputs.version = 3;   // 5.1.3009 - 5.1.3036
    inputs.property = 3;  // buddy names, at 0x56B9
    inputs.backupFlag = 1;
    inputs.color = 0x00563412;
    inputs.installDir = installDir;
    inputs.programDir = programDir;
    const ApplyResult result = RunApplyCommand(inputs, *fs_);
    EXPECT_EQ(result.outcome, ApplyOutcome::kSuccess) << result.text;
    EXPECT_EQ(ReadFileBytes(fs_->JoinPath(programDir, "BUIBackup.ocm")), original);
    EXPECT_EQ(
        test::DifferingOffsets(original, ReadFileBytes(fs_->JoinPath(installDir, "buddyui.ocm"))),
        (std::set<std::size_t>{0x56B9, 0x56BA, 0x56BB}));
}

TEST_F(NativeFileSystem, WorksInAFolderPastTheLongestPlainPath) {
    // Made and removed through "\\?\": the plain wide functions stop at 260 characters.
    std::string dir = dir_.path();
    std::vector<std::wstring> made;
    while (dir.size() < 300) {
        dir += "\\Клиент程序" + std::string(50, static_cast<char>('a' + made.size()));
        made.push_back(L"\\\\?\\" + platform::Wide(dir));
        ASSERT_TRUE(CreateDirectoryW(made.back().c_str(), nullptr)) << GetLastError();
    }
    RewritesCopiesAndLocksIn(*fs_, dir);
    // Forward slashes, which "\\?\" would not turn, name the same file.
    std::string slashed = dir;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    EXPECT_EQ(fs_->OpenRead(slashed + "/buddyui.ocm")->Size(), 0x10000u);
    for (const std::string& name : fs_->ListDirectory(dir)) {
        EXPECT_TRUE(DeleteFileW((made.back() + L"\\" + platform::Wide(name)).c_str()));
    }
    for (auto it = made.rbegin(); it != made.rend(); ++it) {
        EXPECT_TRUE(RemoveDirectoryW(it->c_str()));
    }
}

TEST_F(NativeFileSystem, DevicesAreRefusedBeforeTheSystemIsAsked) {
    const std::string source = fs_->JoinPath(dir_.path(), "source.bin");
    WriteFileBytes(source, "bytes");
    for (const std::string& device :
         {std::string("NUL"), std::string("nul.txt"), std::string("CON"), std::string("com1"),
          std::string("LPT9.log"), std::string("AUX .x"), std::string("conout$"),
          fs_->JoinPath(dir_.path(), "Nul"), std::string("\\\\.\\NUL")}) {
        SCOPED_TRACE(device);
        EXPECT_EQ(ErrorOf([&] { fs_->Identify(device); }), ErrorNumber::kPathFileAccess);
        EXPECT_EQ(ErrorOf([&] { fs_->OpenRead(device); }), ErrorNumber::kPathFileAccess);
        EXPECT_EQ(ErrorOf([&] { fs_->LockForWriting(device); }), ErrorNumber::kPathFileAccess);
        EXPECT_EQ(ErrorOf([&] { CopyFileAtomically(*fs_, source, device); }),
                  ErrorNumber::kPathFileAccess);
    }
    // Names that only begin like a device are files like any other.
    for (const char* name : {"NULL", "console.txt", "COM0", "LPT10", "xNUL"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(fs_->Identify(fs_->JoinPath(dir_.path(), name)), std::nullopt);
    }
    EXPECT_EQ(EntryNames(dir_.path()), (std::set<std::string>{"source.bin"}));
}

TEST(WidePath, LiftsTheLengthLimitOnlyWhereNeeded) {
    const std::string longName(250, 'x');
    const std::wstring wideLong(250, L'x');
    struct Case {
        std::string path;
        std::wstring wide;
    };
    const std::vector<Case> cases = {
        {"C:\\AIM\\buddyui.ocm", L"C:\\AIM\\buddyui.ocm"},
        {"C:/AIM/Клиент/程序.ocm", L"C:\\AIM\\Клиент\\程序.ocm"},
        {"buddyui.ocm", L"buddyui.ocm"},
        {"\\\\server\\share\\AIM\\buddyui.ocm", L"\\\\server\\share\\AIM\\buddyui.ocm"},
        // Long: the full path, as the system would make it, behind "\\?\".
        {"C:/AIM/../" + longName + "/./buddyui.ocm", L"\\\\?\\C:\\" + wideLong + L"\\buddyui.ocm"},
        {"\\\\server\\share\\" + longName + "\\b.ocm",
         L"\\\\?\\UNC\\server\\share\\" + wideLong + L"\\b.ocm"},
        {"\\\\?\\C:\\" + longName, L"\\\\?\\C:\\" + wideLong},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(platform::WidePath(c.path), c.wide);
    }
}

TEST(SystemErrorText, IsTheSystemsOwnOneLine) {
    for (const DWORD code : {DWORD{ERROR_FILE_NOT_FOUND}, DWORD{ERROR_NOT_READY}, DWORD{ERROR_CRC},
                             DWORD{ERROR_INVALID_FUNCTION}}) {
        const std::string text = platform::SystemErrorText(code);
        SCOPED_TRACE(text);
        EXPECT_FALSE(text.empty());
        EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos);
        EXPECT_NE(text.back(), ' ');
        EXPECT_EQ(text.find("Windows error"), std::string::npos);
    }
    EXPECT_EQ(platform::SystemErrorText(0x2FFFFFFF), "Windows error 805306367");
}
#endif

}  // namespace
}  // namespace huevane
