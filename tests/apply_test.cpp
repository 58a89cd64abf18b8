#include "ui/apply_command.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "core/patch_writer.h"
#include "platform/native_file_system.h"
#include "tests/faulty_file_system.h"
#include "tests/offset_table.h"
#include "tests/pe_builder.h"
#include "tests/test_support.h"

namespace huevane {
namespace {

using test::DifferingOffsets;
using test::EntryNames;
using test::ReadFileBytes;
using test::WriteFileBytes;

constexpr std::size_t kImageSize = 0x10000;  // every catalogue offset lies below 0x10000
constexpr std::int32_t kRed = 0x000000FF;
constexpr std::int32_t kBlue = 0x00FF0000;

// Real files on the machine's own file system, in a fresh directory per test.
class ApplyTest : public ::testing::Test {
protected:
    ApplyResult Apply(std::int16_t version, std::int16_t property, std::int32_t color,
                      int backupFlag = 0) {
        ApplyInputs inputs;
        inputs.version = version;
        inputs.property = property;
        inputs.backupFlag = backupFlag;
        inputs.color = color;
        inputs.installDir = installDir_;
        inputs.executable = executable_;
        inputs.programDir = programDir_;
        return RunApplyCommand(inputs, files_);
    }

    std::string Target() const { return fs_->JoinPath(installDir_, "buddyui.ocm"); }
    std::string Backup() const { return fs_->JoinPath(programDir_, "BUIBackup.ocm"); }

    test::TempDir root_;
    std::string installDir_ = root_.MakeSubdir("AIM");
    std::string programDir_ = root_.MakeSubdir("Huevane");
    std::string executable_;
    std::unique_ptr<FileSystem> fs_ = platform::MakeNativeFileSystem();
    // The Apply's file system: fs_, unless a test makes one of its steps fail.
    test::FaultyFileSystem files_{*fs_};
};

void ExpectError(const ApplyResult& result) {
    EXPECT_EQ(result.outcome, ApplyOutcome::kError);
    EXPECT_EQ(result.text, "Error.");
}

TEST_F(ApplyTest, EveryAvailablePairChangesExactlyItsThreeBytes) {
    const std::string original = test::SyntheticImage(kImageSize);
    for (std::int16_t version = 0; version < 16; ++version) {
        for (std::int16_t property = 0; property < 6; ++property) {
            const std::string_view offsetText =
                test::kExpectedOffsets[static_cast<std::size_t>(version)]
                                      [static_cast<std::size_t>(property)];
            if (offsetText == "-") {
                continue;
            }
            SCOPED_TRACE("version " + std::to_string(version) + ", property " +
                         std::to_string(property));
            WriteFileBytes(Target(), original);
            const std::size_t offset = std::strtoul(std::string(offsetText).c_str(), nullptr, 16);
            // The complement of the bytes there, so every one of the three must change.
            const auto r = static_cast<unsigned char>(~original[offset]);
            const auto g = static_cast<unsigned char>(~original[offset + 1]);
            const auto b = static_cast<unsigned char>(~original[offset + 2]);
            const std::int32_t color = r | (g << 8) | (b << 16);

            const ApplyResult result = Apply(version, property, color);

            EXPECT_EQ(result.outcome, ApplyOutcome::kSuccess);
            EXPECT_EQ(result.text, "Success!");
            const std::string patched = ReadFileBytes(Target());
            ASSERT_EQ(patched.size(), original.size());
            EXPECT_EQ(DifferingOffsets(original, patched),
                      (std::set<std::size_t>{offset, offset + 1, offset + 2}));
            EXPECT_EQ(static_cast<unsigned char>(patched[offset]), r);
            EXPECT_EQ(static_cast<unsigned char>(patched[offset + 1]), g);
            EXPECT_EQ(static_cast<unsigned char>(patched[offset + 2]), b);
        }
    }
    EXPECT_EQ(EntryNames(installDir_), (std::set<std::string>{"buddyui.ocm"}));
    EXPECT_TRUE(EntryNames(programDir_).empty());  // no backup was asked for
}

// Whatever stops an Apply before the file changes makes no backup (the window's tests show an
// earlier one kept as it was) and says why: in the system's words where ours would only guess.
TEST_F(ApplyTest, ApplyThatChangesNothingSaysWhyAndMakesNoBackup) {
    const auto systemFails = [this](test::FileStep step, ErrorNumber number,
                                    const std::string& words) {
        return [this, step, number, words] {
            files_.InterveneAt(step, [number, words] { throw RunError(number, words); });
        };
    };
    struct Case {
        std::int16_t version;
        std::int16_t property;
        std::int32_t color;
        std::function<void()> arrange;
        ApplyOutcome outcome;
        std::string reason;
    };
    const Case cases[] = {
        {4, 1, kRed, nullptr, ApplyOutcome::kRefused, ""},  // lacking property
        {-1, 3, kRed, nullptr, ApplyOutcome::kError, "Select your AIM version first."},
        {-1, -1, kRed, nullptr, ApplyOutcome::kError, "Select your AIM version first."},
        {3, -1, kRed, nullptr, ApplyOutcome::kError, "Select the property to change first."},
        {4, -1, kRed, nullptr, ApplyOutcome::kError, "Select the property to change first."},
        {3, 3, static_cast<std::int32_t>(0x8000000F), nullptr, ApplyOutcome::kError,
         "The colour cannot be written into buddyui.ocm."},  // a system colour
        {3, 3, kRed, systemFails(test::FileStep::kRead, ErrorNumber::kDeviceIo, "Bad\nsector."),
         ApplyOutcome::kError,
         "Reading or writing buddyui.ocm failed, so it was left as it was: Bad\\nsector."},
        {3, 3, kRed,  // the second new file is the backup's
         [&] {
             files_.InterveneAt(test::FileStep::kCreate,
                                systemFails(test::FileStep::kCreate, ErrorNumber::kDeviceIo,
                                            std::string(250, 'w')));
         },
         ApplyOutcome::kError,
         "Writing the backup BUIBackup.ocm failed, so no backup was made and nothing was "
         "changed: " +
             std::string(200, 'w') + "... (250 characters)."},
        {3, 3, kRed, systemFails(test::FileStep::kLock, ErrorNumber::kFileAlreadyOpen, "Busy."),
         ApplyOutcome::kError,
         "buddyui.ocm is in use by another program. Close AIM and try again."},
        {3, 3, kRed, [this] { test::MakeReadOnly(Target()); }, ApplyOutcome::kError,  // last
         "Permission denied: you may not change buddyui.ocm, or it is read-only."},
    };
    const std::string original = test::SyntheticImage(kImageSize);
    WriteFileBytes(Target(), original);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        if (c.arrange) {
            c.arrange();
        }
        const ApplyResult result = Apply(c.version, c.property, c.color, 1);
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(result.text, c.outcome == ApplyOutcome::kError
                                   ? "Error."
                                   : "That isn't available for your version, sorry!");
        EXPECT_EQ(result.reason, c.reason);
        EXPECT_EQ(ReadFileBytes(Target()), original);
        EXPECT_EQ(EntryNames(installDir_), (std::set<std::string>{"buddyui.ocm"}));
        EXPECT_TRUE(EntryNames(programDir_).empty());
    }
}

// The client's executable decides only where it tells a build the list knows.
TEST_F(ApplyTest, KnownBuildOfTheClientRefusesAnyOtherVersion) {
    struct Case {
        const char* what;
        std::string executable;  // the bytes of aim.exe; empty: no such file
        std::int16_t version;
        ApplyOutcome outcome;
    };
    const std::string build3020 = test::BuildPeWithVersion({5, 1, 3020, 0});
    const Case cases[] = {
        {"the build's own entry", build3020, 3, ApplyOutcome::kSuccess},
        {"another entry", build3020, 4, ApplyOutcome::kWrongBuild},
        {"a build the list lacks", test::BuildPeWithVersion({6, 0, 1, 0}), 4,
         ApplyOutcome::kSuccess},
        {"no version resource",
         test::BuildPeWithDefect({5, 1, 3020, 0}, test::PeDefect::kNoVersionResource), 4,
         ApplyOutcome::kSuccess},
        {"no executable", "", 4, ApplyOutcome::kSuccess},
    };
    const std::string original = test::SyntheticImage(kImageSize);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFileBytes(Target(), original);
        executable_ = fs_->JoinPath(installDir_, "aim.exe");
        std::filesystem::remove(executable_);
        if (!c.executable.empty()) {
            WriteFileBytes(executable_, c.executable);
        }

        const ApplyResult result = Apply(c.version, 3, kRed);

        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(ReadFileBytes(Target()) == original, c.outcome != ApplyOutcome::kSuccess);
        if (c.outcome == ApplyOutcome::kWrongBuild) {
            EXPECT_EQ(result.text, "Error.");
            EXPECT_EQ(result.reason,
                      "Your AIM is build 5.1.3020, which \"5.2.3074\" does not cover. Select "
                      "\"5.1.3009 - 5.1.3036\" and try again; nothing was changed.");
        }
    }
}

TEST_F(ApplyTest, SecondBackupHoldsTheFirstPatch) {
    const std::string original = test::SyntheticImage(kImageSize);
    WriteFileBytes(Target(), original);

    ASSERT_EQ(Apply(3, 3, kRed, 1).outcome, ApplyOutcome::kSuccess);
    const std::string afterFirst = ReadFileBytes(Target());
    EXPECT_EQ(ReadFileBytes(Backup()), original);

    ASSERT_EQ(Apply(3, 3, kBlue, 1).outcome, ApplyOutcome::kSuccess);
    EXPECT_EQ(ReadFileBytes(Backup()), afterFirst);
    EXPECT_EQ(ReadFileBytes(Target()).substr(0x56B9, 3), std::string("\0\0\xFF", 3));
    EXPECT_EQ(EntryNames(programDir_), (std::set<std::string>{"BUIBackup.ocm"}));
}

TEST_F(ApplyTest, UncheckedOrGreyedBoxMakesNoBackup) {
    WriteFileBytes(Target(), test::SyntheticImage(kImageSize));
    EXPECT_EQ(Apply(3, 3, kRed, 0).outcome, ApplyOutcome::kSuccess);
    EXPECT_EQ(Apply(3, 3, kRed, 2).outcome, ApplyOutcome::kSuccess);
    EXPECT_TRUE(EntryNames(programDir_).empty());
}

TEST_F(ApplyTest, MissingTargetIsAnErrorAndCreatesNothing) {
    ExpectError(Apply(3, 3, kRed));
    ExpectError(Apply(3, 3, kRed, 1));
    EXPECT_TRUE(EntryNames(installDir_).empty());
    EXPECT_TRUE(EntryNames(programDir_).empty());
}

TEST_F(ApplyTest, MissingInstallDirectoryIsAnErrorAndCreatesNothing) {
    for (const std::string& dir :
         {fs_->JoinPath(root_.path(), "NoSuchDir"), std::string("Not Found")}) {
        SCOPED_TRACE(dir);
        installDir_ = dir;
        ExpectError(Apply(3, 3, kRed, 1));
        EXPECT_FALSE(std::filesystem::exists(dir));
    }
    EXPECT_EQ(EntryNames(root_.path()), (std::set<std::string>{"AIM", "Huevane"}));
    EXPECT_TRUE(EntryNames(programDir_).empty());
}

TEST_F(ApplyTest, ReadOnlyBackupIsAnErrorAndNotPatched) {
    const std::string original = test::SyntheticImage(kImageSize);
    const std::string oldBackup = test::SyntheticImage(100, 7);
    WriteFileBytes(Target(), original);
    WriteFileBytes(Backup(), oldBackup);
    test::MakeReadOnly(Backup());

    ExpectError(Apply(3, 3, kRed, 1));

    EXPECT_EQ(ReadFileBytes(Backup()), oldBackup);
    EXPECT_EQ(ReadFileBytes(Target()), original);
    EXPECT_EQ(EntryNames(programDir_), (std::set<std::string>{"BUIBackup.ocm"}));
}

TEST_F(ApplyTest, DirectoryWhereTheFileShouldBeIsAnError) {
    root_.MakeSubdir("AIM/buddyui.ocm");
    ExpectError(Apply(3, 3, kRed));
    ExpectError(Apply(3, 3, kRed, 1));
    EXPECT_TRUE(std::filesystem::is_directory(Target()));
    EXPECT_EQ(EntryNames(installDir_), (std::set<std::string>{"buddyui.ocm"}));
    EXPECT_TRUE(EntryNames(programDir_).empty());
}

TEST_F(ApplyTest, FileShorterThanTheOffsetIsLeftAlone) {
    // "Buddy names" of 5.1.3009 sits at 0x56B9, the 1-based position 0x56BA.
    for (const std::size_t size : {std::size_t{0}, std::size_t{100}, std::size_t{0x56B9}}) {
        SCOPED_TRACE(size);
        const std::string original = test::SyntheticImage(size);
        WriteFileBytes(Target(), original);
        ExpectError(Apply(3, 3, kRed));
        EXPECT_EQ(ReadFileBytes(Target()), original);
    }
}

TEST_F(ApplyTest, ColourRunningPastTheEndIsCutOff) {
    // Position 0x56BA is the next-to-last byte: only red and green fit.
    const std::string original = test::SyntheticImage(0x56BB);
    WriteFileBytes(Target(), original);

    EXPECT_EQ(Apply(3, 3, 0x00030201).outcome, ApplyOutcome::kSuccess);

    const std::string patched = ReadFileBytes(Target());
    ASSERT_EQ(patched.size(), original.size());
    EXPECT_EQ(patched.substr(0, 0x56B9), original.substr(0, 0x56B9));
    EXPECT_EQ(patched.substr(0x56B9), std::string("\x01\x02", 2));
}

TEST_F(ApplyTest, ColourAtTheVeryEndOfTheFileFitsAsItsRuleSays) {
    // Position 0x56BA: the colour's three bytes end where a file of 0x56BC bytes ends.
    struct Case {
        std::size_t size;
        ColorFit fit;
        const char* written;  // nullptr where the file is too short
    };
    const Case cases[] = {
        {0x56BC, ColorFit::kWholeColour, "XYZ"},  // ends exactly at the end of the file
        {0x56BB, ColorFit::kWholeColour, nullptr}, {0x56BC, ColorFit::kFirstByte, "XYZ"},
        {0x56BA, ColorFit::kFirstByte, "X"},  // only red fits
        {0x56B9, ColorFit::kFirstByte, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.size) +
                     (c.fit == ColorFit::kFirstByte ? " first" : " whole"));
        const std::string original = test::SyntheticImage(c.size);
        WriteFileBytes(Target(), original);
        std::string expected = original;
        try {
            PatchColors(*fs_, Target(), {ColorPatch{"XYZ", 0x56BA}}, c.fit);
            ASSERT_NE(c.written, nullptr) << "the file was patched";
            expected.replace(0x56B9, std::string::npos, c.written);
        } catch (const FileTooShort& e) {
            EXPECT_EQ(c.written, nullptr);
            EXPECT_EQ(e.size(), c.size);
            EXPECT_EQ(e.needed(), c.fit == ColorFit::kFirstByte ? 0x56BAu : 0x56BCu);
        }
        EXPECT_EQ(ReadFileBytes(Target()), expected);
    }
}

TEST_F(ApplyTest, TargetKeepsTheLetterCaseOfItsName) {
    const std::string original = test::SyntheticImage(kImageSize);
    const std::string target = fs_->JoinPath(installDir_, "BuddyUI.OCM");
    WriteFileBytes(target, original);

    EXPECT_EQ(Apply(3, 3, kRed, 1).outcome, ApplyOutcome::kSuccess);

    EXPECT_EQ(EntryNames(installDir_), (std::set<std::string>{"BuddyUI.OCM"}));
    EXPECT_EQ(DifferingOffsets(original, ReadFileBytes(target)).size(), 3u);
    EXPECT_EQ(ReadFileBytes(Backup()), original);
}

TEST_F(ApplyTest, WritesTheEncodedColourAtTheEncodedSpot) {
    WriteFileBytes(Target(), test::SyntheticImage(kImageSize));
    EXPECT_EQ(Apply(6, 5, 0x00123456).outcome, ApplyOutcome::kSuccess);
    // 0x5DF9 is the offset text; HexToSpot makes it the 1-based spot 0x5DF9 + 1.
    EXPECT_EQ(ReadFileBytes(Target()).substr(0x5DF9, 3), "\x56\x34\x12");
}

}  // namespace
}  // namespace huevane
