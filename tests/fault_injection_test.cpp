#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "cli/run_cli.h"
#include "core/new_file_name.h"
#include "core/patch_writer.h"
#include "core/run_error.h"
#include "core/safe_rewrite.h"
#include "platform/native_file_system.h"
#include "tests/faulty_file_system.h"
#include "tests/test_support.h"
#include "ui/apply_command.h"

namespace huevane {
namespace {

using test::EntryNames;
using test::FaultyFileSystem;
using test::FileStep;
using test::ReadFileBytes;
using test::WriteFileBytes;

constexpr std::int32_t kRed = 0x000000FF;

// Sets the modification time of path to a fixed second plus tenths of microseconds (100 ns, the
// finest step Windows keeps).
void SetModifiedTime(const std::string& path, std::int64_t hundredNanoseconds) {
    constexpr std::int64_t kSecond = 1700000000;
#ifdef _WIN32
    const HANDLE h =
        CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    const auto since1601 =
        static_cast<std::uint64_t>((kSecond + 11644473600) * 10000000 + hundredNanoseconds);
    FILETIME time{static_cast<DWORD>(since1601), static_cast<DWORD>(since1601 >> 32U)};
    EXPECT_TRUE(SetFileTime(h, nullptr, nullptr, &time));
    CloseHandle(h);
#else
    const struct timespec times[2] = {{0, UTIME_OMIT},
                                      {static_cast<time_t>(kSecond), hundredNanoseconds * 100}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
#endif
}

// An install with a module and an earlier backup, patched through a file system that can be
// made to fail at any one step.
class FaultInjection : public ::testing::Test {
protected:
    FaultInjection() {
        WriteFileBytes(Target(), original_);
        WriteFileBytes(Backup(), oldBackup_);
    }

    ApplyResult Apply(FaultyFileSystem& fs, int backupFlag) {
        ApplyInputs inputs;
        inputs.version = 3;
        inputs.property = 3;
        inputs.backupFlag = backupFlag;
        inputs.color = kRed;
        inputs.installDir = installDir_;
        inputs.programDir = programDir_;
        return RunApplyCommand(inputs, fs);
    }

    // The steps of a run in which nothing fails.
    std::vector<FileStep> StepsOfCleanRun(int backupFlag) {
        test::TempDir scratch;
        FaultyFileSystem recorder(*real_);
        ApplyInputs inputs;
        inputs.version = 3;
        inputs.property = 3;
        inputs.backupFlag = backupFlag;
        inputs.color = kRed;
        inputs.installDir = scratch.MakeSubdir("AIM");
        inputs.programDir = scratch.MakeSubdir("Huevane");
        WriteFileBytes(real_->JoinPath(inputs.installDir, "buddyui.ocm"), original_);
        EXPECT_EQ(RunApplyCommand(inputs, recorder).outcome, ApplyOutcome::kSuccess);
        return recorder.steps();
    }

    void Reset() {
        WriteFileBytes(Target(), original_);
        WriteFileBytes(Backup(), oldBackup_);
    }

    std::string Target() const { return real_->JoinPath(installDir_, "buddyui.ocm"); }
    std::string Backup() const { return real_->JoinPath(programDir_, "BUIBackup.ocm"); }

    std::unique_ptr<FileSystem> real_ = platform::MakeNativeFileSystem();
    test::TempDir root_;
    std::string installDir_ = root_.MakeSubdir("AIM");
    std::string programDir_ = root_.MakeSubdir("Huevane");
    const std::string original_ = test::SyntheticImage(0x10000, 1);
    const std::string oldBackup_ = test::SyntheticImage(0x8000, 2);
};

TEST_F(FaultInjection, CleanRunWalksEveryStep) {
    // Guards the tests below: they only prove something if every kind of step is reached.
    const std::vector<FileStep> steps = StepsOfCleanRun(1);
    for (const FileStep step :
         {FileStep::kList, FileStep::kOpen, FileStep::kRead, FileStep::kLock, FileStep::kCreate,
          FileStep::kWrite, FileStep::kFlush, FileStep::kReplace}) {
        EXPECT_EQ(std::count(steps.begin(), steps.end(), step) > 0, true) << test::StepName(step);
    }
    // One replacement for the module, then one for the backup.
    EXPECT_EQ(std::count(steps.begin(), steps.end(), FileStep::kReplace), 2);
}

TEST_F(FaultInjection, AnyFailingStepLeavesTargetAndBackupWhole) {
    for (const int backupFlag : {1, 0}) {
        const std::vector<FileStep> steps = StepsOfCleanRun(backupFlag);
        ASSERT_FALSE(steps.empty());
        // With a backup, the last replacement puts it in place, after the module's.
        const std::size_t backupLast =
            backupFlag == 1
                ? static_cast<std::size_t>(
                      std::find(steps.rbegin(), steps.rend(), FileStep::kReplace).base() -
                      steps.begin() - 1)
                : steps.size();

        for (std::size_t failAt = 0; failAt < steps.size(); ++failAt) {
            SCOPED_TRACE("backup " + std::to_string(backupFlag) + ", step " +
                         std::to_string(failAt) + " (" + test::StepName(steps[failAt]) + ")");
            Reset();
            FaultyFileSystem fs(*real_);
            fs.FailAt(failAt);

            const ApplyResult result = Apply(fs, backupFlag);

            EXPECT_EQ(result.outcome, ApplyOutcome::kError);
            EXPECT_EQ(result.text, "Error.");
            EXPECT_EQ(fs.steps().size(), failAt + 1) << "the run went on after the failure";
            // Only the backup's own replacement comes after the module changed, and says so.
            const bool moduleChanged = failAt == backupLast;
            EXPECT_EQ(ReadFileBytes(Target()) == original_, !moduleChanged);
            EXPECT_EQ(result.reason.starts_with("The colour was written"), moduleChanged);
            EXPECT_EQ(ReadFileBytes(Backup()), oldBackup_);
            EXPECT_EQ(EntryNames(installDir_), (std::set<std::string>{"buddyui.ocm"}));
            EXPECT_EQ(EntryNames(programDir_), (std::set<std::string>{"BUIBackup.ocm"}));
        }
    }
}

TEST_F(FaultInjection, ChangeByAnotherProgramDuringTheRewriteIsKept) {
    // Another program, ignoring the lock, writes the file while the new copy is being made:
    // in place, or by putting a new file of the same size in its place.
    const std::string theirs = test::SyntheticImage(original_.size(), 3);
    std::vector<std::function<void()>> writers = {
        [&] { WriteFileBytes(Target(), theirs.substr(1)); },
        // In place with the same size, within the same second: only the fraction tells.
        [&] {
            WriteFileBytes(Target(), theirs);
            SetModifiedTime(Target(), 5000001);
        },
    };
#ifndef _WIN32
    // Windows refuses to rename over the file while the rewrite holds it open.
    writers.emplace_back([&] {
        const std::string other = real_->JoinPath(installDir_, "other");
        WriteFileBytes(other, theirs);
        std::filesystem::rename(other, Target());
    });
#endif
    for (std::size_t i = 0; i < writers.size(); ++i) {
        SCOPED_TRACE(i);
        Reset();
        SetModifiedTime(Target(), 5000000);
        FaultyFileSystem fs(*real_);
        fs.InterveneAt(FileStep::kFlush, writers[i]);
        try {
            PatchColors(fs, Target(), {ColorPatch{"XYZ", 1}});
            ADD_FAILURE() << "the rewrite went through";
        } catch (const RunError& e) {
            EXPECT_EQ(e.number(), ErrorNumber::kFileAlreadyOpen);
        }
        EXPECT_EQ(ReadFileBytes(Target()), i == 0 ? theirs.substr(1) : theirs);
        EXPECT_EQ(EntryNames(installDir_), (std::set<std::string>{"buddyui.ocm"}));
    }
}

TEST_F(FaultInjection, FileThatGrowsWhileItIsCopiedIsNamedAsSuch) {
    const std::string theirs = original_ + "more";
    FaultyFileSystem fs(*real_);
    fs.InterveneAt(FileStep::kRead, [&] { WriteFileBytes(Target(), theirs); });
    try {
        PatchColors(fs, Target(), {ColorPatch{"XYZ", 1}});
        ADD_FAILURE() << "the rewrite went through";
    } catch (const RunError& e) {
        EXPECT_EQ(e.number(), ErrorNumber::kDeviceIo);  // all the window program shows
        EXPECT_EQ(e.cause(), ErrorCause::kChangedWhileCopied);
    }
    EXPECT_EQ(ReadFileBytes(Target()), theirs);
    EXPECT_EQ(EntryNames(installDir_), (std::set<std::string>{"buddyui.ocm"}));
}

TEST_F(FaultInjection, DirectoryThatCannotBeListedStillYieldsTheExactName) {
    // As in a directory of mode 0711: the names are hidden, the files are not.
    WriteFileBytes(real_->JoinPath(programDir_, "Module.OCM"), "x");
    struct Case {
        std::string dir;
        const char* name;
        std::optional<ErrorNumber> error;
    };
    const Case cases[] = {
        {installDir_, "buddyui.ocm", std::nullopt},
        {installDir_, "absent.ocm", ErrorNumber::kPermissionDenied},  // not "File not found"
#ifndef _WIN32
        {programDir_, "module.ocm", ErrorNumber::kPermissionDenied},  // only the exact name
#endif
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FaultyFileSystem fs(*real_);
        fs.FailAt(0, ErrorNumber::kPermissionDenied);
        try {
            EXPECT_EQ(ExistingFilePath(fs, c.dir, c.name), real_->JoinPath(c.dir, c.name));
            EXPECT_FALSE(c.error);
        } catch (const RunError& e) {
            EXPECT_EQ(e.number(), c.error);
        }
        EXPECT_EQ(fs.steps(), std::vector<FileStep>{FileStep::kList});
    }
}

// Two writers of one file: the second waits for the lock while the first, holding it, is
// stopped just before it puts its new file in place; afterwards both changes are in the file.
TEST_F(FaultInjection, SecondWriterWaitsForTheFirstAndBothChangesStay) {
    FaultyFileSystem first(*real_);
    const std::unique_ptr<FileSystem> secondReal = platform::MakeNativeFileSystem();
    FaultyFileSystem second(*secondReal);
    test::Gate firstHolds;
    test::Gate secondLocking;
    test::Gate release;
    std::atomic<bool> released{false};
    std::atomic<bool> secondWentOnWhileHeld{false};
    bool firstCleanedUpUnderLock = false;
    std::set<std::string> entriesWhileHeld;
#ifdef F_OFD_GETLK
    int heldLockType = F_UNLCK;
#endif

    first.InterveneAt(FileStep::kFindLeftovers, [&] {
        firstCleanedUpUnderLock = !first.steps().empty() && first.steps().back() == FileStep::kLock;
    });
    first.InterveneAt(FileStep::kReplace, [&] {
        firstHolds.Set();
        release.Wait();
    });
    second.InterveneAt(FileStep::kLock, [&] { secondLocking.Set(); });
    for (const FileStep step : {FileStep::kFindLeftovers, FileStep::kOpen, FileStep::kCreate}) {
        second.InterveneAt(step,
                           [&] { secondWentOnWhileHeld = secondWentOnWhileHeld || !released; });
    }
    const auto write = [&](FaultyFileSystem& fs, const char* color, std::int32_t spot,
                           test::Gate& reached, std::string& error) {
        try {
            PatchColors(fs, Target(), {ColorPatch{color, spot}});
        } catch (const std::exception& e) {
            error = e.what();
        }
        reached.Set();  // never leave the others waiting for a writer that failed early
    };
    std::string firstError = "not run";
    std::string secondError = "not run";
    test::RunTogether(
        [&] {
            firstError.clear();
            write(first, "AAA", 1, firstHolds, firstError);
        },
        [&] {
            firstHolds.Wait();
            test::RunTogether(
                [&] {
                    secondError.clear();
                    write(second, "BBB", 5, secondLocking, secondError);
                },
                [&] {
                    secondLocking.Wait();
                    entriesWhileHeld = EntryNames(installDir_);
#ifdef F_OFD_GETLK
                    // Nobody else may take even a shared lock on the file meanwhile.
                    const int fd = ::open(Target().c_str(), O_RDONLY);
                    struct flock probe {};
                    probe.l_type = F_RDLCK;
                    probe.l_whence = SEEK_SET;
                    EXPECT_EQ(::fcntl(fd, F_OFD_GETLK, &probe), 0);
                    heldLockType = probe.l_type;
                    ::close(fd);
#endif
                    released = true;
                    release.Set();
                });
        });

    EXPECT_EQ(firstError, "");
    EXPECT_EQ(secondError, "");
    EXPECT_TRUE(firstCleanedUpUnderLock);
    EXPECT_FALSE(secondWentOnWhileHeld);
#ifdef F_OFD_GETLK
    EXPECT_EQ(heldLockType, F_WRLCK);
#endif
    // The first writer's new file was there, named as this program's, and left alone.
    ASSERT_EQ(entriesWhileHeld.size(), 2u);
    EXPECT_TRUE(entriesWhileHeld.count("buddyui.ocm"));
    EXPECT_TRUE(IsNewFileName(*entriesWhileHeld.begin(), "buddyui.ocm", false));
    std::string expected = original_;
    expected.replace(0, 3, "AAA");
    expected.replace(4, 3, "BBB");
    EXPECT_EQ(ReadFileBytes(Target()), expected);
    EXPECT_EQ(EntryNames(installDir_), (std::set<std::string>{"buddyui.ocm"}));
}

TEST_F(FaultInjection, FailedCopyKeepsTheOldFileAndLeavesNoNewOne) {
    const std::string destination = real_->JoinPath(programDir_, "copy.bin");
    WriteFileBytes(destination, oldBackup_);
    for (const FileStep failing : {FileStep::kOpen, FileStep::kRead, FileStep::kCreate,
                                   FileStep::kWrite, FileStep::kFlush, FileStep::kReplace}) {
        SCOPED_TRACE(test::StepName(failing));
        FaultyFileSystem recorder(*real_);
        CopyFileAtomically(recorder, Target(), real_->JoinPath(root_.path(), "scratch.bin"));
        const auto at = std::find(recorder.steps().begin(), recorder.steps().end(), failing);
        ASSERT_NE(at, recorder.steps().end());
        real_->Remove(real_->JoinPath(root_.path(), "scratch.bin"));

        FaultyFileSystem fs(*real_);
        fs.FailAt(static_cast<std::size_t>(at - recorder.steps().begin()));
        EXPECT_THROW(CopyFileAtomically(fs, Target(), destination), RunError);
        EXPECT_EQ(ReadFileBytes(destination), oldBackup_);
        EXPECT_EQ(EntryNames(programDir_), (std::set<std::string>{"BUIBackup.ocm", "copy.bin"}));
    }
}

// The window program and huevane-cli, each writing one colour with a backup of its own.
enum class Writer { kWindow, kCli };

// A second writer comes while the first holds buddyui.ocm, just before the first takes its
// backup's lock. Whichever programs they are, the second waits, and each backup is the file
// exactly as its writer patched it: restoring it undoes that writer's change and no other.
TEST_F(FaultInjection, EachBackupIsTheFileItsWriterPatched) {
    const std::string cliBackup = real_->JoinPath(root_.path(), "saved.ocm");
    const auto write = [&](Writer writer, FileSystem& fs, std::int16_t property,
                           std::int32_t color) {
        if (writer == Writer::kWindow) {
            ApplyInputs inputs{3, property, 1, color, installDir_, "", programDir_};
            return RunApplyCommand(inputs, fs).outcome == ApplyOutcome::kSuccess;
        }
        std::istringstream in;
        std::ostringstream out;
        std::ostringstream err;
        char hex[8];
        std::snprintf(hex, sizeof hex, "%02X%02X%02X", color & 0xFF, (color >> 8) & 0xFF,
                      (color >> 16) & 0xFF);
        return cli::RunCli({"--dir", installDir_, "set", "--build", "3", "--property",
                            std::to_string(property), "--color", hex, "--backup", cliBackup},
                           in, out, err, fs) == 0;
    };
    struct Case {
        Writer first;
        Writer second;
    };
    const Case cases[] = {{Writer::kWindow, Writer::kCli},
                          {Writer::kCli, Writer::kCli},
                          {Writer::kCli, Writer::kWindow}};
    std::string afterFirst = original_;
    afterFirst.replace(0x56B9, 3, "\x11\x11\x11");  // Buddy names of 5.1.3009 - 5.1.3036
    std::string afterBoth = afterFirst;
    afterBoth.replace(0x5721, 3, "\x22\x22\x22");  // its background
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(static_cast<int>(c.first)) + " then " +
                     std::to_string(static_cast<int>(c.second)));
        Reset();
        std::filesystem::remove(cliBackup);
        const auto backupOf = [&](Writer writer) {
            return ReadFileBytes(writer == Writer::kCli ? cliBackup : Backup());
        };
        FaultyFileSystem first(*real_);
        const std::unique_ptr<FileSystem> secondReal = platform::MakeNativeFileSystem();
        FaultyFileSystem second(*secondReal);
        test::Gate firstHolds;
        test::Gate secondWaitsOrEnded;
        bool secondWaited = false;
        // The second lock the first writer takes (its backup's) is the point to come in.
        first.InterveneAt(FileStep::kLock, [&] {
            first.InterveneAt(FileStep::kLock, [&] {
                firstHolds.Set();
                secondWaitsOrEnded.Wait();
            });
        });
        second.SetWaitNotice([&] {
            secondWaited = true;
            secondWaitsOrEnded.Set();
        });
        bool firstDone = false;
        bool secondDone = false;
        test::RunTogether([&] { firstDone = write(c.first, first, 3, 0x111111); },
                          [&] {
                              firstHolds.Wait();
                              secondDone = write(c.second, second, 0, 0x222222);
                              secondWaitsOrEnded.Set();
                          });
        EXPECT_TRUE(firstDone);
        EXPECT_TRUE(secondDone);
        EXPECT_TRUE(secondWaited) << "the second writer went on while the first held the file";
        EXPECT_EQ(ReadFileBytes(Target()), afterBoth);
        if (c.first != c.second) {
            EXPECT_EQ(backupOf(c.first), original_);
        }
        EXPECT_EQ(backupOf(c.second), afterFirst);
    }
}

}  // namespace
}  // namespace huevane
