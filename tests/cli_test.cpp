// huevane-cli end to end: the built program, run as a user runs it, on installs and Wine
// prefixes that the tests write themselves.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/run_cli.h"
#include "client/windows_path.h"
#include "formats/pe_version.h"
#include "huevane_version.h"
#include "platform/native_file_system.h"
#include "tests/faulty_file_system.h"
#include "tests/pe_builder.h"
#include "tests/process_runner.h"
#include "tests/test_support.h"

#ifdef _WIN32
#include <windows.h>

#include "client/install_dir.h"
#include "platform/win_text.h"
#include "tests/registry_guard.h"
#else
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace huevane {
namespace {

namespace fs = std::filesystem;
using test::DifferingOffsets;
using test::EntryNames;
using test::ProcessResult;
using test::ReadFileBytes;
using test::WriteFileBytes;

constexpr std::size_t kImageSize = 0x10000;
constexpr std::size_t kBuddyNames = 0x56B9;  // 5.1.3009 - 5.1.3036
constexpr std::size_t kBackground = 0x5721;
const std::string kUnavailable = "That isn't available for your version, sorry!";

std::string CliPath() {
    std::string path = HUEVANE_CLI;
#ifdef _WIN32
    if (!path.empty() && path[0] == '/') {
        path = "Z:" + path;  // Wine shows the build machine's files as drive Z:
    }
    std::replace(path.begin(), path.end(), '/', '\\');
#endif
    return path;
}

ProcessResult Cli(const std::vector<std::string>& args,
                  const std::vector<std::pair<std::string, std::string>>& env = {}) {
    return test::RunProcess(CliPath(), args, env);
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// An install directory given with --dir.
class CliOnInstall : public ::testing::Test {
protected:
    void SetUp() override { WriteFileBytes(target_, original_); }

    std::vector<std::string> WithDir(std::vector<std::string> args) const {
        args.insert(args.begin(), {"--dir", installDir_});
        return args;
    }

    test::TempDir root_;
    std::string installDir_ = root_.MakeSubdir("AIM");
    std::string target_ = root_.File("AIM/buddyui.ocm");
    std::string original_ = test::SyntheticImage(kImageSize);
};

TEST_F(CliOnInstall, ListsTheVersionsAndPropertiesWithTheirIndices) {
    const ProcessResult versions = Cli({"versions"});
    EXPECT_EQ(versions.exitStatus, 0);
    EXPECT_TRUE(Contains(versions.out, " 3  5.1.3009 - 5.1.3036\n"));
    EXPECT_TRUE(Contains(versions.out, "15  5.9.3782 - 5.9.3861\n"));
    const ProcessResult properties = Cli({"properties"});
    EXPECT_EQ(properties.exitStatus, 0);
    EXPECT_TRUE(Contains(properties.out, " 5  BG of bottom buttons\n"));
}

TEST_F(CliOnInstall, SetsSeveralColoursThenGetsThem) {
    const ProcessResult set =
        Cli(WithDir({"set", "--build", "5.1.3020", "--property", "BUDDY NAMES", "--color",
                     "#123456", "--property", "0", "--color", "1,2,255"}));
    ASSERT_EQ(set.exitStatus, 0) << set.err;

    const std::string patched = ReadFileBytes(target_);
    EXPECT_EQ(DifferingOffsets(original_, patched).size(), 6u);
    EXPECT_EQ(patched.substr(kBuddyNames, 3), "\x12\x34\x56");
    EXPECT_EQ(patched.substr(kBackground, 3), std::string("\x01\x02\xFF", 3));
    EXPECT_EQ(EntryNames(installDir_), (std::set<std::string>{"buddyui.ocm"}));

    const ProcessResult get = Cli(WithDir({"get", "--build", "3"}));
    EXPECT_EQ(get.exitStatus, 0);
    EXPECT_TRUE(Contains(get.out, "Buddy names: #123456\n"));
    EXPECT_TRUE(Contains(get.out, "Buddy list background: #0102FF\n"));
    const ProcessResult one = Cli(WithDir({"get", "--build", "3", "--property", "3"}));
    EXPECT_EQ(one.out, "Buddy names: #123456\n");
}

TEST_F(CliOnInstall, SetIsAllOrNothing) {
    // Long enough for "Buddy names" at 0x56B9, too short for the background at 0x5721 (as a
    // whole, or for two of its bytes, or for one).
    for (const std::size_t size : {std::size_t{0x5700}, kBackground + 1, kBackground + 2}) {
        const std::string shortImage = test::SyntheticImage(size);
        WriteFileBytes(target_, shortImage);
        const ProcessResult set = Cli(WithDir({"set", "--build", "3", "--property", "3", "--color",
                                               "FFFFFF", "--property", "0", "--color", "FFFFFF"}));
        EXPECT_EQ(set.exitStatus, 1);
        EXPECT_TRUE(Contains(set.err, " has " + std::to_string(size) + " bytes, " +
                                          std::to_string(kBackground + 3) + " are needed"))
            << set.err;
        EXPECT_EQ(ReadFileBytes(target_), shortImage);
        EXPECT_EQ(EntryNames(installDir_), (std::set<std::string>{"buddyui.ocm"}));
    }
}

TEST_F(CliOnInstall, GetReadsOnlyTheBytesItShows) {
    WriteFileBytes(target_, test::SyntheticImage(3 << 20));  // three reads, were it read whole
    const std::unique_ptr<FileSystem> real = platform::MakeNativeFileSystem();
    test::FaultyFileSystem recorder(*real);
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(cli::RunCli(WithDir({"get", "--build", "3", "--property", "3"}), out, err, recorder),
              0)
        << err.str();
    EXPECT_EQ(std::count(recorder.steps().begin(), recorder.steps().end(), test::FileStep::kRead),
              1);
}

TEST_F(CliOnInstall, BackupThatIsTheTargetItselfIsRefused) {
    const std::vector<std::string> spellings = {root_.File("AIM/../AIM/buddyui.ocm"), target_};
    for (const std::string& backup : spellings) {
        for (const std::string command : {"set", "restore"}) {
            std::vector<std::string> args = {command, "--backup", backup};
            if (command == "set") {
                args.insert(args.end(), {"--build", "3", "--property", "3", "--color", "000000"});
            }
            const ProcessResult result = Cli(WithDir(args));
            SCOPED_TRACE(command + " " + backup);
            EXPECT_EQ(result.exitStatus, 1);
            EXPECT_TRUE(Contains(result.err, "itself")) << result.err;
            EXPECT_EQ(result.err.rfind("huevane-cli: --backup ", 0), 0u) << result.err;
            EXPECT_EQ(ReadFileBytes(target_), original_);
        }
    }
}

TEST_F(CliOnInstall, BacksUpAndRestores) {
    const std::string backup = root_.File("saved.ocm");
    ASSERT_EQ(Cli(WithDir({"set", "--build", "3", "--property", "3", "--color", "000000",
                           "--backup", backup}))
                  .exitStatus,
              0);
    EXPECT_EQ(ReadFileBytes(backup), original_);
    EXPECT_NE(ReadFileBytes(target_), original_);

    const ProcessResult restore = Cli(WithDir({"restore", "--backup", backup}));
    EXPECT_EQ(restore.exitStatus, 0) << restore.err;
    EXPECT_EQ(ReadFileBytes(target_), original_);

    // A file of another length is no backup of this one.
    const std::string wrong = root_.File("wrong.ocm");
    WriteFileBytes(wrong, test::SyntheticImage(100));
    WriteFileBytes(target_, original_);
    const ProcessResult refused = Cli(WithDir({"restore", "--backup", wrong}));
    EXPECT_EQ(refused.exitStatus, 1);
    EXPECT_TRUE(Contains(refused.err, "not a backup")) << refused.err;
    EXPECT_FALSE(Contains(refused.err, "cannot restore")) << refused.err;  // the refusal, whole
    EXPECT_EQ(ReadFileBytes(target_), original_);
}

TEST_F(CliOnInstall, RefusesWithOneLineAndTheRightStatus) {
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"set", "--build", "4", "--property", "1", "--color", "000000"}, 1, kUnavailable},
        {{"get", "--build", "10", "--property", "buddy list setup background"}, 1, kUnavailable},
        {{"set", "--build", "3", "--property", "3"}, 2, "one --color for each --property"},
        {{"set", "--build", "3", "--property", "3", "--color", "#12345"},
         2,
         "bad colour #12345 (use #RRGGBB, RRGGBB or R,G,B)\n"},
        {{"set", "--build", "3", "--property", "3", "--color", "256,0,0"}, 2, "bad colour"},
        {{"set", "--build", "3", "--property", "Buddy Nose", "--color", "000000"},
         2,
         "unknown property Buddy Nose (see 'huevane-cli properties')\n"},
        {{"get", "--build", "5.1.9999"}, 1, "none of the known version ranges"},
        {{"get", "--build", "16"}, 2, "unknown build 16 (see 'huevane-cli versions')\n"},
        {{"get"}, 1, "give --build"},
        {{"frobnicate"}, 2, "unknown command"},
        {{"get", "--color", "000000"}, 2, "unknown option --color"},
        {{"set", "--build", "3", "--property", "3", "--color", "000000", "--force=no"},
         2,
         "--force takes no value"},
        {{"set", "--build", "3", "--property", "3", "--color", "000000", "--property",
          "buddy names", "--color", "FFFFFF"},
         2,
         "given twice"},
        {{"set", "--build", "3", "--property", "3", "--color", std::string(20000, '7')},
         2,
         "bad colour 777"},
        {{"get", "--version", "3"}, 2, "unexpected argument 3"},
        {{"set", "--from", "theme.json", "--property", "3"}, 2, "not both"},
        {{"set", "--from", ""}, 2, "--from needs a file name (or - for standard input), not an"},
        {{"restore", "--backup", ""}, 2, "--backup needs a file name, not an empty one (try"},
        {{"set", "--build", "3", "--property", "", "--color", "1,2,3"}, 2, "an empty one (try"},
        {{"set", "--from", "."}, 1, "cannot read .: is a directory\n"},
    };
    for (const Case& c : cases) {
        const ProcessResult result = Cli(WithDir(c.args));
        SCOPED_TRACE(result.err);
        EXPECT_EQ(result.exitStatus, c.status);
        EXPECT_TRUE(Contains(result.err, c.message));
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1);
        EXPECT_LT(result.err.size(), 400u);  // what the user typed is quoted only in part
        EXPECT_TRUE(result.out.empty());
    }
    EXPECT_EQ(ReadFileBytes(target_), original_);
}

TEST_F(CliOnInstall, OptionGivenLastWithoutItsValueIsAUsageError) {
    const std::vector<std::vector<std::string>> cases = {
        {"--dir"},          {"get", "--prefix"}, {"get", "--build"},  {"get", "--property"},
        {"set", "--color"}, {"set", "--from"},   {"set", "--backup"}, {"restore", "--backup"},
    };
    for (const std::vector<std::string>& args : cases) {
        const ProcessResult result = Cli(args);
        EXPECT_EQ(result.exitStatus, 2) << args.back();
        EXPECT_EQ(result.err, "huevane-cli: " + args.back() + " needs a value (try --help)\n");
    }
    for (const std::string option : {"--dir", "--prefix"}) {  // given, but empty
        EXPECT_EQ(
            Cli({option, "", "locate"}).err,
            "huevane-cli: " + option + " needs a directory, not an empty name (try --help)\n");
    }
}

TEST_F(CliOnInstall, SetFromWritesWhatGetJsonPrinted) {
    ASSERT_EQ(Cli(WithDir({"set", "--build", "3", "--property", "3", "--color", "#123456",
                           "--property", "5", "--color", "#ABCDEF"}))
                  .exitStatus,
              0);
    const std::string themed = ReadFileBytes(target_);
    const ProcessResult get = Cli(WithDir({"get", "--build", "5.1.3020", "--json"}));
    ASSERT_EQ(get.exitStatus, 0) << get.err;
    const std::string theme = root_.File("theme.json");
    WriteFileBytes(theme, get.out);

    WriteFileBytes(target_, original_);
    const ProcessResult set = Cli(WithDir({"set", "--from", theme}));
    ASSERT_EQ(set.exitStatus, 0) << set.err;
    EXPECT_EQ(ReadFileBytes(target_), themed);

    // Each mistake names the file, line and field, and leaves the target as it was.
    struct Case {
        std::string from, to;  // a change to the file that get --json printed
        std::string message;
    };
    const std::vector<Case> cases = {
        {"\"Buddy names\"", "\"Buddy nose\"", ":7: properties[3].name: unknown property"},
        {"\"#123456\"", "\"#12345\"", ":7: properties[3].color: bad colour"},
        {"\"index\": 5,", "\"index\": 6,", ":9: properties[5].index: no such property"},
        {"\"index\": 4,", "\"index\": 2,", ":8: properties[4].name: names another property"},
        {"\"color\": \"#ABCDEF\"", "\"colour\": \"#ABCDEF\"", ":9: properties[5].colour: unknown"},
        {"\"index\": 2, \"name\": \"Buddy highlight\"", "\"index\": 3, \"name\": \"Buddy names\"",
         ":7: properties[3]: \"Buddy names\" is already given on line 6"},
        {"\"index\": 3, \"text\"", "\"index\": 4, \"text\"", ":2: build.text: names another build"},
        {"\"#ABCDEF\"}", "\"#ABCDEF\"", ":10: not JSON"},
        {"  ]\n}\n", "  ]\n}x\n", ":11: not JSON"},
        {"\"color\": \"#ABCDEF\"", "\"color\": \"#ABCDEF\", \"color\": \"#000000\"",
         ":9: properties[5].color: given twice; nothing was written"},
        {"\"index\": 3, \"text\"", "\"index\": 3, \"index\": 3, \"text\"",
         ":2: build.index: given twice"},
        {"\"properties\"", "\"build\": {\"index\": 3},\n  \"properties\"",
         ":3: build: given twice"},
        {"\"index\": 3, \"text\"", "\"color\": \"#000000\", \"text\"",
         ":2: build.color: unknown field"},
        {"\"Buddy names\"", "\"3\"", ":7: properties[3].name: unknown property"},
    };
    for (const Case& c : cases) {
        std::string edited = get.out;
        ASSERT_NE(edited.find(c.from), std::string::npos) << c.from;
        edited.replace(edited.find(c.from), c.from.size(), c.to);
        WriteFileBytes(theme, edited);
        const ProcessResult refused = Cli(WithDir({"set", "--build", "3", "--from", theme}));
        EXPECT_EQ(refused.exitStatus, 1) << edited;
        EXPECT_TRUE(Contains(refused.err, theme + c.message)) << refused.err;
        EXPECT_EQ(ReadFileBytes(target_), themed);
    }
}

// A theme names properties, which mean the same on every build: it applies on the client's
// build whatever build it was saved on, unless that build lacks one of its properties. Windows
// tools save it with a byte-order mark, as UTF-8 or UTF-16; standard input gives it too.
TEST_F(CliOnInstall, ThemeAppliesOnAnyBuildInAnyEncoding) {
    const ProcessResult get = Cli(WithDir({"get", "--build", "3", "--json"}));
    ASSERT_EQ(get.exitStatus, 0) << get.err;
    const std::string saved = get.out;  // the colours of the original, at build 3's offsets
    ASSERT_EQ(Cli(WithDir({"set", "--build", "3", "--property", "3", "--color", "#123456",
                           "--property", "1", "--color", "#ABCDEF"}))
                  .exitStatus,
              0);
    const std::string theme = root_.File("theme.json");
    const auto utf16 = [](std::string_view text, bool bigEndian) {
        std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        for (const char c : text) {  // the theme is ASCII
            out += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
        }
        return out;
    };
    std::string otherBuild = saved;
    const std::string build3 = R"({"index": 3, "text": "5.1.3009 - 5.1.3036"})";
    otherBuild.replace(otherBuild.find(build3), build3.size(), R"({"index": 2})");
    std::string noBuild = saved;  // as a theme written by hand may be
    noBuild.erase(noBuild.find("\"build\""),
                  noBuild.find("\"properties\"") - noBuild.find("\"build\""));
    std::string crlf;
    for (const char c : saved) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    for (const std::string& bytes :
         {otherBuild, noBuild, "\xEF\xBB\xBF" + crlf, utf16(saved, false), utf16(crlf, true)}) {
        const std::string themed = ReadFileBytes(target_);
        WriteFileBytes(theme, bytes);
        const ProcessResult set = Cli(WithDir({"set", "--build", "3", "--from", theme}));
        EXPECT_EQ(set.exitStatus, 0) << set.err;
        EXPECT_EQ(ReadFileBytes(target_), original_) << set.err;
        WriteFileBytes(target_, themed);
    }

    // Without a build in the theme, the client's must be told; UTF-16 needs its mark.
    WriteFileBytes(theme, noBuild);
    EXPECT_TRUE(Contains(Cli(WithDir({"set", "--from", theme})).err, "; give --build"));
    WriteFileBytes(theme, utf16(saved, true).substr(2));
    EXPECT_TRUE(Contains(Cli(WithDir({"set", "--build", "3", "--from", theme})).err,
                         theme + ": looks like UTF-16 without a byte-order mark"));

    // Build 4 has no "Buddy list setup background".
    WriteFileBytes(theme, saved);
    const std::string themed = ReadFileBytes(target_);
    const ProcessResult lacking = Cli(WithDir({"set", "--build", "4", "--from", theme}));
    EXPECT_EQ(lacking.exitStatus, 1);
    EXPECT_TRUE(Contains(lacking.err, theme +
                                          ":5: properties[1]: \"Buddy list setup background\" "
                                          "does not exist in build 5.2.3074; nothing was written"))
        << lacking.err;
    EXPECT_EQ(ReadFileBytes(target_), themed);

    const std::unique_ptr<FileSystem> real = platform::MakeNativeFileSystem();
    std::istringstream in(utf16(crlf, false));
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(cli::RunCli(WithDir({"set", "--build", "3", "--from", "-"}), in, out, err, *real), 0)
        << err.str();
    EXPECT_EQ(ReadFileBytes(target_), original_);
}

// A theme is at most 64 KiB, and no more than that is read, from a file of any size or from
// standard input.
TEST_F(CliOnInstall, ThemeOverItsLimitIsRefused) {
    const std::string theme = root_.File("theme.json");
    const std::string tooLong = "; a theme is at most 64 KiB";
    for (const std::uint64_t size : {std::uint64_t{65537}, std::uint64_t{1} << 30}) {
        test::WriteFileBytes(theme, "");
        fs::resize_file(theme, size);  // sparse
        const ProcessResult set = Cli(WithDir({"set", "--build", "3", "--from", theme}));
        EXPECT_EQ(set.exitStatus, 1);
        EXPECT_TRUE(Contains(set.err, theme + " is " + std::to_string(size) + " bytes" + tooLong))
            << set.err;
    }
    fs::remove(theme);
    const std::unique_ptr<FileSystem> real = platform::MakeNativeFileSystem();
    std::istringstream in(std::string(65537, ' '));
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(cli::RunCli(WithDir({"set", "--build", "3", "--from", "-"}), in, out, err, *real), 1);
    EXPECT_TRUE(Contains(err.str(), "standard input is over 65536 bytes" + tooLong)) << err.str();
    EXPECT_EQ(ReadFileBytes(target_), original_);
}

// With --dir, detect finds the client's executable in that directory, its name in any case.
TEST_F(CliOnInstall, DetectsTheExecutableInTheDirectory) {
    const ProcessResult none = Cli(WithDir({"detect"}));
    EXPECT_EQ(none.exitStatus, 1);
    EXPECT_TRUE(Contains(none.err, "no aim.exe in " + installDir_)) << none.err;
    WriteFileBytes(root_.File("AIM/AIM.EXE"), test::BuildPeWithVersion({5, 2, 3074, 0}));
    const ProcessResult detect = Cli(WithDir({"detect"}));
    EXPECT_EQ(detect.exitStatus, 0) << detect.err;
    EXPECT_TRUE(Contains(detect.out, "build 5.2.3074: version 4")) << detect.out;
}

TEST_F(CliOnInstall, ReadOnlyTargetIsLeftAlone) {
    test::MakeReadOnly(target_);
    const ProcessResult set =
        Cli(WithDir({"set", "--build", "3", "--property", "3", "--color", "000000"}));
    EXPECT_EQ(set.exitStatus, 1);
    EXPECT_EQ(ReadFileBytes(target_), original_);
    EXPECT_EQ(EntryNames(installDir_), (std::set<std::string>{"buddyui.ocm"}));
}

#ifdef _WIN32
// Another program has buddyui.ocm open without sharing, as an editor may: after the wait it is
// said to be in use, and neither the backup nor a permission is blamed.
TEST_F(CliOnInstall, FileHeldWithoutSharingIsInUse) {
    const std::string backup = root_.File("saved.ocm");
    WriteFileBytes(backup, "earlier backup");
    const HANDLE holder = CreateFileW(platform::Wide(target_).c_str(), GENERIC_READ, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    const ProcessResult set = Cli(WithDir(
        {"set", "--build", "3", "--property", "3", "--color", "000000", "--backup", backup}));
    CloseHandle(holder);
    EXPECT_EQ(set.exitStatus, 1);
    EXPECT_EQ(set.err, "huevane-cli: cannot rewrite " + installDir_ +
                           "\\buddyui.ocm: it is in use by another program (it is unchanged)\n");
    EXPECT_EQ(ReadFileBytes(target_), original_);
    EXPECT_EQ(ReadFileBytes(backup), "earlier backup");
}
#endif

TEST_F(CliOnInstall, TargetKeepsTheLetterCaseOfItsName) {
    fs::remove(target_);
    const std::string upper = root_.File("AIM/BUDDYUI.OCM");
    WriteFileBytes(upper, original_);
    EXPECT_EQ(
        Cli(WithDir({"set", "--build", "3", "--property", "3", "--color", "000000"})).exitStatus,
        0);
    EXPECT_EQ(EntryNames(installDir_), (std::set<std::string>{"BUDDYUI.OCM"}));
    EXPECT_EQ(ReadFileBytes(upper).substr(kBuddyNames, 3), std::string(3, '\0'));
}

TEST_F(CliOnInstall, HelpForTheProgramAndEachCommand) {
    const ProcessResult help = Cli({"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_TRUE(Contains(help.out, "user.reg up to"));
    for (const char* command : {"get", "set", "restore", "locate", "detect", "versions"}) {
        const ProcessResult commandHelp = Cli({command, "--help"});
        EXPECT_EQ(commandHelp.exitStatus, 0);
        EXPECT_TRUE(Contains(commandHelp.out, "Usage: huevane-cli")) << command;
        EXPECT_TRUE(Contains(commandHelp.out, command)) << command;
    }
    EXPECT_EQ(Cli({}).exitStatus, 2);
    const ProcessResult version = Cli({"--version"});
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.out, "huevane-cli " HUEVANE_VERSION "\n");
}

TEST_F(CliOnInstall, TwoWritersAtOnceBothKeepTheirChange) {
    WriteFileBytes(target_, test::SyntheticImage(1 << 20));
    for (int round = 0; round < 5; ++round) {
        ProcessResult first;
        ProcessResult second;
        test::RunTogether(
            [&] {
                first =
                    Cli(WithDir({"set", "--build", "3", "--property", "3", "--color", "111111"}));
            },
            [&] {
                second =
                    Cli(WithDir({"set", "--build", "3", "--property", "0", "--color", "222222"}));
            });
        ASSERT_EQ(first.exitStatus, 0) << first.err;
        ASSERT_EQ(second.exitStatus, 0) << second.err;
        const std::string patched = ReadFileBytes(target_);
        EXPECT_EQ(patched.substr(kBuddyNames, 3), "\x11\x11\x11") << "round " << round;
        EXPECT_EQ(patched.substr(kBackground, 3), "\x22\x22\x22") << "round " << round;
        ASSERT_EQ(Cli(WithDir({"set", "--build", "3", "--property", "3", "--color", "000000",
                               "--property", "0", "--color", "000000"}))
                      .exitStatus,
                  0);
    }
    EXPECT_EQ(EntryNames(installDir_), (std::set<std::string>{"buddyui.ocm"}));
}

#ifdef _WIN32
const auto kInterrupted = ::testing::ExitedWithCode(static_cast<int>(STATUS_CONTROL_C_EXIT));
HANDLE g_handlerThread = nullptr;
const HANDLE g_handlerNamed = CreateEventW(nullptr, TRUE, FALSE, nullptr);

BOOL WINAPI NameHandlerThread(DWORD /*event*/) {
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &g_handlerThread,
                    SYNCHRONIZE, FALSE, 0);
    SetEvent(g_handlerNamed);
    return FALSE;  // on to the handler of StopOnInterrupt, on this thread
}
#else
const auto kInterrupted = ::testing::KilledBySignal(SIGINT);
#endif

// Ctrl+C (SIGINT on POSIX) to this process; returns once it is handled, if the process lives.
void Interrupt() {
#ifdef _WIN32
    const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    FreeConsole();
    AllocConsole();  // of its own, which Ctrl+C reaches
    SetStdHandle(STD_ERROR_HANDLE, err);
    SetConsoleCtrlHandler(nullptr, FALSE);
    SetConsoleCtrlHandler(NameHandlerThread, TRUE);  // added last, it runs first
    GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
    WaitForSingleObject(g_handlerNamed, INFINITE);
    WaitForSingleObject(g_handlerThread, INFINITE);
#else
    ::raise(SIGINT);
#endif
}

// An interrupt at each stage of a rewrite with a backup: before the file is replaced, both new
// files go and the process ends as an interrupt ends it, saying so; after, the run goes on.
TEST(Interrupt, ChangesNothingOrLetsTheRunFinish) {
    // In the working directory: on Windows a death test runs the test over in a new process,
    // which has to find the same files.
    const std::string dir = "interrupted-run";
    const std::string target = dir + "/buddyui.ocm";
    const std::string backup = dir + "/saved.ocm";
    const std::string original = test::SyntheticImage(16);
    const std::string patched = test::SyntheticImage(16, 2);
    enum class Stage { kWaitingForTheLock, kWritingBoth, kFileReplaced };
    for (const Stage stage :
         {Stage::kWaitingForTheLock, Stage::kWritingBoth, Stage::kFileReplaced}) {
        SCOPED_TRACE(static_cast<int>(stage));
        fs::remove_all(dir);
        fs::create_directory(dir);
        WriteFileBytes(target, original);
        WriteFileBytes(backup, "earlier backup");
        const auto run = [&] {
            std::signal(SIGINT, SIG_DFL);  // not ignored, as in a terminal
            platform::StopOnInterrupt("interrupted\n");
            const auto files = platform::MakeNativeFileSystem();
            if (stage == Stage::kWaitingForTheLock) {
                const auto otherWriter = platform::MakeNativeFileSystem();
                const auto held = otherWriter->LockForWriting(target);
                files->SetWaitNotice(Interrupt);
                files->LockForWriting(target);
            }
            auto copy = files->CreateNewBeside(target);
            auto saved = files->CreateNewBeside(backup);
            copy->Write(patched);
            saved->Write(original);
            if (stage == Stage::kWritingBoth) {
                Interrupt();
            }
            const std::string copyPath = copy->path();
            const std::string savedPath = saved->path();
            copy.reset();
            saved.reset();
            files->Replace(copyPath, target, nullptr);
            Interrupt();
            files->Replace(savedPath, backup, nullptr);
            std::_Exit(0);
        };
        const bool finishes = stage == Stage::kFileReplaced;
        if (finishes) {
            EXPECT_EXIT(run(), ::testing::ExitedWithCode(0), "^$");
        } else {
            EXPECT_EXIT(run(), kInterrupted, "^interrupted\r?\n$");
        }
        EXPECT_EQ(EntryNames(dir), (std::set<std::string>{"buddyui.ocm", "saved.ocm"}));
        EXPECT_EQ(ReadFileBytes(target), finishes ? patched : original);
        EXPECT_EQ(ReadFileBytes(backup), finishes ? original : "earlier backup");
    }
    fs::remove_all(dir);
}

#ifndef _WIN32

// A Wine prefix as Wine lays it out: user.reg, dosdevices/c: -> ../drive_c.
class CliOnWinePrefix : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(prefix_ + "/dosdevices");
        fs::create_directories(prefix_ + "/drive_c/Program Files/AIM");
        fs::create_directory_symlink("../drive_c", prefix_ + "/dosdevices/c:");
        WriteFileBytes(installDir_ + "/buddyui.ocm", original_);
        WriteFileBytes(installDir_ + "/aim.exe", test::BuildPeWithVersion({5, 1, 3020, 0}));
    }

    void WriteUserReg(const std::string& body, const std::string& lineEnd = "\n") {
        std::string text = "WINE REGISTRY Version 2" + lineEnd + ";; All keys relative to " +
                           R"(\\User\\S-1-5-21)" + lineEnd + lineEnd + "#arch=win32" + lineEnd;
        for (std::size_t start = 0; start < body.size();) {
            const std::size_t end = body.find('\n', start);
            text += body.substr(start, end - start) + lineEnd;
            start = end == std::string::npos ? body.size() : end + 1;
        }
        WriteFileBytes(prefix_ + "/user.reg", text);
    }

    std::vector<std::string> WithPrefix(std::vector<std::string> args) const {
        args.insert(args.begin(), {"--prefix", prefix_});
        return args;
    }

    test::TempDir root_;
    std::string prefix_ = root_.File("prefix");
    std::string installDir_ = prefix_ + "/drive_c/Program Files/AIM";
    std::string original_ = test::SyntheticImage(kImageSize);
};

const std::string kClientSection =
    "[Software\\\\America Online\\\\AOL Instant Messenger (TM)\\\\CurrentVersion\\\\AppPath] "
    "1700000000\n#time=1da0000000000000\n";

TEST_F(CliOnWinePrefix, LocatesThroughUserRegAndDosdevices) {
    // CRLF line ends, the key in other letter case, a path in other letter case than the disk.
    WriteUserReg(
        "[software\\\\america online\\\\aol instant messenger (tm)\\\\currentversion\\\\apppath] "
        "1700000000\n@=\"c:\\\\PROGRAM FILES\\\\aim\\\\AIM.EXE\"\n",
        "\r\n");
    const ProcessResult locate = Cli(WithPrefix({"locate"}));
    ASSERT_EQ(locate.exitStatus, 0) << locate.err;
    // Only the directory on standard output, so that dir=$(huevane-cli locate) works.
    EXPECT_EQ(locate.out, prefix_ + "/dosdevices/c:/Program Files/AIM\n");
    EXPECT_TRUE(Contains(locate.err, "(from " + prefix_ + "/user.reg: c:\\PROGRAM")) << locate.err;

    const ProcessResult detect = Cli(WithPrefix({"detect"}));
    EXPECT_EQ(detect.exitStatus, 0) << detect.err;
    EXPECT_TRUE(Contains(detect.out, "build 5.1.3020: version 3 \"5.1.3009 - 5.1.3036\""))
        << detect.out;
    EXPECT_EQ(Cli(WithPrefix({"detect", "--json"})).out,
              "{\"file_version\": \"5.1.3020\", \"build\": {\"index\": 3, \"text\": "
              "\"5.1.3009 - 5.1.3036\"}}\n");

    // $WINEPREFIX is the default prefix.
    EXPECT_EQ(Cli({"locate"}, {{"WINEPREFIX", prefix_}}).out, locate.out);
}

TEST_F(CliOnWinePrefix, WritesWithTheDetectedVersionAndRefusesAnotherUnlessForced) {
    WriteUserReg(kClientSection + "@=str(2):\"C:\\\\Program Files\\\\AIM\\\\aim.exe\"\n");
    const ProcessResult set = Cli(WithPrefix({"set", "--property", "3", "--color", "#ABCDEF"}));
    ASSERT_EQ(set.exitStatus, 0) << set.err;
    EXPECT_EQ(ReadFileBytes(installDir_ + "/buddyui.ocm").substr(kBuddyNames, 3), "\xAB\xCD\xEF");

    const std::vector<std::string> other = {"set", "--build", "5.2.3074", "--property",
                                            "3",   "--color", "000000"};
    const ProcessResult refused = Cli(WithPrefix(other));
    EXPECT_EQ(refused.exitStatus, 1);
    EXPECT_TRUE(Contains(refused.err, "--force")) << refused.err;
    EXPECT_EQ(ReadFileBytes(installDir_ + "/buddyui.ocm").substr(0x5681, 3),
              original_.substr(0x5681, 3));

    // get reads at the offsets of the build it is given: another build's are refused alike.
    const ProcessResult get = Cli(WithPrefix({"get", "--build", "5.2.3074"}));
    EXPECT_EQ(get.exitStatus, 1);
    EXPECT_TRUE(Contains(get.err,
                         "--build 5.2.3074 (5.2.3074) disagrees with the client's build "
                         "5.1.3020 (5.1.3009 - 5.1.3036); add --force to read anyway"))
        << get.err;
    EXPECT_TRUE(get.out.empty());
    const ProcessResult forcedGet = Cli(WithPrefix({"get", "--build", "5.2.3074", "--force"}));
    EXPECT_EQ(forcedGet.exitStatus, 0) << forcedGet.err;
    EXPECT_TRUE(Contains(forcedGet.out, "Buddy names: #")) << forcedGet.out;

    std::vector<std::string> forced = other;
    forced.emplace_back("--force");
    EXPECT_EQ(Cli(WithPrefix(forced)).exitStatus, 0);
    EXPECT_EQ(ReadFileBytes(installDir_ + "/buddyui.ocm").substr(0x5681, 3), std::string(3, '\0'));
}

TEST_F(CliOnWinePrefix, FollowsTheDriveLinkWhereverItPoints) {
    const std::string elsewhere = root_.MakeSubdir("disk/Games/AIM");
    WriteFileBytes(elsewhere + "/buddyui.ocm", original_);
    fs::create_directory_symlink(root_.File("disk"), prefix_ + "/dosdevices/d:");
    // Wine escapes: "\\" for a backslash, "\x41" for the A of AIM.
    WriteUserReg(kClientSection + "@=\"D:\\\\games\\\\\\x41IM\\\\aim.exe\"\n");
    const ProcessResult locate = Cli(WithPrefix({"locate"}));
    EXPECT_EQ(locate.exitStatus, 0) << locate.err;
    EXPECT_TRUE(Contains(locate.out, "/dosdevices/d:/Games/AIM\n")) << locate.out;
}

TEST_F(CliOnWinePrefix, NamesWhatIsMissing) {
    struct Case {
        std::string userReg;  // empty: no user.reg at all
        std::string message;
    };
    const std::vector<Case> cases = {
        {"", "no user.reg"},
        {"[Software\\\\Other] 1\n@=\"x\"\n", "no key HKEY_CURRENT_USER\\Software\\America Online"},
        {kClientSection + "\"Name\"=\"C:\\\\x\"\n", "has no default value"},
        {kClientSection + "@=\"C:\\\\Nowhere\\\\aim.exe\"\n", "no such path: C:\\Nowhere"},
    };
    for (const Case& c : cases) {
        fs::remove(prefix_ + "/user.reg");
        if (!c.userReg.empty()) {
            WriteUserReg(c.userReg);
        }
        const ProcessResult result = Cli(WithPrefix({"locate"}));
        EXPECT_EQ(result.exitStatus, 1);
        EXPECT_TRUE(Contains(result.err, c.message)) << result.err;
    }
    WriteFileBytes(prefix_ + "/user.reg", "REGEDIT4\n");
    EXPECT_TRUE(Contains(Cli(WithPrefix({"locate"})).err, "not a Wine registry file"));

    EXPECT_TRUE(Contains(Cli({"--prefix", root_.File("none"), "locate"}).err, "no Wine prefix"));
    const ProcessResult relative = Cli({"locate"}, {{"WINEPREFIX", "relative/prefix"}});
    EXPECT_EQ(relative.exitStatus, 1);
    EXPECT_TRUE(Contains(relative.err, "absolute")) << relative.err;
}

TEST_F(CliOnWinePrefix, UnreadableUserRegIsNotAMissingOne) {
    WriteUserReg(kClientSection + "@=\"C:\\\\Program Files\\\\AIM\\\\aim.exe\"\n");
    fs::permissions(prefix_ + "/user.reg", fs::perms::none);
    std::vector<std::string> args = WithPrefix({"locate"});
    ProcessResult result;
    if (::geteuid() == 0) {  // root reads any file: run as nobody
        fs::permissions(root_.path(), fs::perms::all);
        fs::permissions(prefix_, fs::perms::all);
        args.insert(args.begin(),
                    {"--reuid=nobody", "--regid=nogroup", "--clear-groups", CliPath()});
        result = test::RunProcess("/usr/bin/setpriv", args);
    } else {
        result = Cli(args);
    }
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_TRUE(Contains(result.err, "cannot read " + prefix_ + "/user.reg: permission denied"))
        << result.err;
}

struct WindowsPathCase {
    std::string path;
    std::string expected;
};

class NormalizeWindowsPathTest : public ::testing::TestWithParam<WindowsPathCase> {};

TEST_P(NormalizeWindowsPathTest, StaysOnTheDriveAsWineReadsIt) {
    EXPECT_EQ(client::NormalizeWindowsPath(GetParam().path), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, NormalizeWindowsPathTest,
    ::testing::Values(
        WindowsPathCase{"C:\\..\\..\\victim\\aim.exe", "C:\\victim\\aim.exe"},
        WindowsPathCase{"C:/Program Files/AIM/aim.exe", "C:\\Program Files\\AIM\\aim.exe"},
        WindowsPathCase{"c:\\a\\.\\b\\..\\..\\..\\AIM\\\\aim.exe", "c:\\AIM\\aim.exe"},
        WindowsPathCase{"C:\\..", "C:\\"},
        WindowsPathCase{"\\\\server/share", "\\\\server\\share"}));

TEST_F(CliOnWinePrefix, DotDotStopsAtTheDriveRootAndSlashesSeparate) {
    const std::string victim = root_.MakeSubdir("victim");  // <prefix>/../victim
    WriteFileBytes(victim + "/buddyui.ocm", original_);
    const std::string inside = root_.MakeSubdir("prefix/drive_c/victim");  // C:\victim
    WriteFileBytes(inside + "/buddyui.ocm", original_);
    for (const std::string& registered : {std::string("C:\\\\..\\\\..\\\\victim\\\\aim.exe"),
                                          std::string("C:/../victim/aim.exe")}) {
        SCOPED_TRACE(registered);
        WriteUserReg(kClientSection + "@=\"" + registered + "\"\n");
        const ProcessResult set =
            Cli(WithPrefix({"set", "--build", "3", "--property", "3", "--color", "#ABCDEF"}));
        EXPECT_EQ(set.exitStatus, 0) << set.err;
        EXPECT_EQ(ReadFileBytes(inside + "/buddyui.ocm").substr(kBuddyNames, 3), "\xAB\xCD\xEF");
        EXPECT_EQ(ReadFileBytes(victim + "/buddyui.ocm"), original_);
        WriteFileBytes(inside + "/buddyui.ocm", original_);
    }
}

TEST_F(CliOnWinePrefix, FifoAnywhereIsAnErrorAtOnce) {
    WriteUserReg(kClientSection + "@=\"C:\\\\Program Files\\\\AIM\\\\aim.exe\"\n");
    const std::string userReg = prefix_ + "/user.reg";
    const std::string backup = root_.File("backup.ocm");
    WriteFileBytes(backup, original_);
    struct Case {
        std::string fifo;
        std::vector<std::string> args;
    };
    const std::vector<Case> cases = {
        {userReg, {"locate"}},
        {installDir_ + "/aim.exe", {"detect"}},
        {installDir_ + "/buddyui.ocm", {"get", "--build", "3"}},
        {installDir_ + "/buddyui.ocm",
         {"set", "--build", "3", "--property", "3", "--color", "0,0,0"}},
        {backup,
         {"set", "--build", "3", "--property", "3", "--color", "0,0,0", "--backup", backup}},
        {backup, {"restore", "--backup", backup}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.front() + " with a FIFO at " + c.fifo);
        const std::string kept = c.fifo + ".kept";
        fs::rename(c.fifo, kept);
        ASSERT_EQ(::mkfifo(c.fifo.c_str(), 0600), 0);
        const ProcessResult result = Cli(WithPrefix(c.args));
        EXPECT_EQ(result.exitStatus, 1);
        EXPECT_TRUE(Contains(result.err, "not a regular file")) << result.err;
        fs::remove(c.fifo);
        fs::rename(kept, c.fifo);
    }
    EXPECT_EQ(ReadFileBytes(installDir_ + "/buddyui.ocm"), original_);
}

TEST_F(CliOnInstall, OutputThatCannotBeWrittenIsAnError) {
    struct Case {
        std::string redirect;  // of standard output, by the shell
        std::string cause;
    };
    const std::vector<Case> cases = {{">/dev/full", "No space left on device"},
                                     {">&-", "Bad file descriptor"}};
    const std::vector<std::vector<std::string>> commands = {
        {"versions"},
        {"--help"},
        WithDir({"get", "--build", "3", "--json"}),
        WithDir({"locate"}),
        WithDir({"set", "--build", "3", "--property", "3", "--color", "000000"}),
    };
    for (const Case& c : cases) {
        for (const std::vector<std::string>& command : commands) {
            std::vector<std::string> args = {"-c", "exec \"$0\" \"$@\" " + c.redirect, CliPath()};
            args.insert(args.end(), command.begin(), command.end());
            const ProcessResult result = test::RunProcess("/bin/sh", args);
            SCOPED_TRACE(c.redirect + " " + command.front() + ": " + result.err);
            EXPECT_EQ(result.exitStatus, 1);
            const std::string line = "huevane-cli: cannot write standard output: " + c.cause + "\n";
            ASSERT_GE(result.err.size(), line.size());
            EXPECT_EQ(result.err.substr(result.err.size() - line.size()), line);
        }
    }
}

TEST_F(CliOnWinePrefix, OutsideTextReachesTheTerminalEscaped) {
    // A registered path with escape sequences and a line break, as user.reg escapes them.
    WriteUserReg(kClientSection + R"(@="C:\\AIM\e]0;t\a\e[2J\nhuevane-cli: fake\\aim.exe")" + "\n");
    const ProcessResult locate = Cli(WithPrefix({"locate"}));
    EXPECT_EQ(locate.exitStatus, 1);
    EXPECT_EQ(locate.err.find('\x1b'), std::string::npos) << locate.err;
    EXPECT_EQ(std::count(locate.err.begin(), locate.err.end(), '\n'), 1) << locate.err;
    EXPECT_TRUE(Contains(locate.err, R"(C:\AIM\x1b]0;t\x07\x1b[2J\nhuevane-cli: fake)"))
        << locate.err;

    // An install directory of that name, given with --dir: set's report shows it escaped, and
    // locate gives it exact to a script (here a pipe), escaped to a terminal.
    const std::string odd = root_.File("AIM\x1b[2J\n");
    fs::create_directories(odd);
    WriteFileBytes(odd + "/buddyui.ocm", original_);
    const std::string shown = root_.File(R"(AIM\x1b[2J\n)");
    EXPECT_EQ(Cli({"--dir", odd, "locate"}).out, odd + "\n");
    const ProcessResult terminal = test::RunProcess(
        "/usr/bin/script", {"-qec", R"(exec "$CLI" --dir "$DIR" locate)", "/dev/null"},
        {{"CLI", CliPath()}, {"DIR", odd}});
    EXPECT_TRUE(Contains(terminal.out, shown + "\r\n")) << terminal.out;
    const ProcessResult set =
        Cli({"--dir", odd, "set", "--build", "3", "--property", "3", "--color", "000000"});
    EXPECT_EQ(set.out, "set 1 colour in " + shown + "/buddyui.ocm\n") << set.err;
}

TEST_F(CliOnInstall, OnlyWhoMayWriteTheFileReplacesIt) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root, to run huevane-cli as another user";
    }
    // nobody may write the directory, not the root-owned file in it.
    fs::permissions(root_.path(), fs::perms::all);
    fs::permissions(installDir_, fs::perms::all);
    fs::permissions(target_, fs::perms::owner_read | fs::perms::owner_write |
                                 fs::perms::group_read | fs::perms::others_read);
    const std::vector<std::string> asNobody = {"--reuid=nobody", "--regid=nogroup",
                                               "--clear-groups", CliPath()};
    std::vector<std::string> args = asNobody;
    for (const std::string& arg :
         WithDir({"set", "--build", "3", "--property", "3", "--color", "000000"})) {
        args.push_back(arg);
    }
    const ProcessResult refused = test::RunProcess("/usr/bin/setpriv", args);
    EXPECT_EQ(refused.exitStatus, 1) << refused.err;
    EXPECT_TRUE(Contains(refused.err, "permission denied")) << refused.err;
    EXPECT_EQ(ReadFileBytes(target_), original_);
    struct stat st {};
    ASSERT_EQ(::stat(target_.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 0u);
    EXPECT_EQ(EntryNames(installDir_), (std::set<std::string>{"buddyui.ocm"}));
}

#else

TEST_F(CliOnInstall, LocatesAndDetectsThroughTheRegistry) {
    WriteFileBytes(root_.File("AIM/aim.exe"), test::BuildPeWithVersion({5, 9, 3861, 0}));
    const test::RegistryValueGuard registered(std::string(client::kClientKeyPath),
                                              installDir_ + "\\aim.exe");
    const ProcessResult locate = Cli({"locate"});
    EXPECT_EQ(locate.exitStatus, 0) << locate.err;
    EXPECT_TRUE(Contains(locate.out, installDir_ + "\n")) << locate.out;
    const ProcessResult detect = Cli({"detect"});
    EXPECT_TRUE(Contains(detect.out, "build 5.9.3861: version 15")) << detect.out;
    const ProcessResult set = Cli({"set", "--property", "5", "--color", "#010203"});
    EXPECT_EQ(set.exitStatus, 0) << set.err;
    EXPECT_EQ(ReadFileBytes(target_).substr(0xC7A4, 3), "\x01\x02\x03");
}

TEST_F(CliOnInstall, OutputThatCannotBeWrittenIsAnError) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"versions"}, WithDir({"get", "--build", "3", "--json"})}) {
        const ProcessResult result =
            test::RunProcess(CliPath(), args, {}, test::StandardOutput::kReadOnly);
        SCOPED_TRACE(args.back() + ": " + result.err);
        EXPECT_EQ(result.exitStatus, 1);
        EXPECT_EQ(result.err.rfind("huevane-cli: cannot write standard output: ", 0), 0u);
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1);
        EXPECT_TRUE(result.out.empty());
    }
}

TEST_F(CliOnInstall, ArgumentsAndOutputInAnyScript) {
    // Cyrillic and CJK together, which no code page holds both: "Папка 日本".
    const std::string name = "\xD0\x9F\xD0\xB0\xD0\xBF\xD0\xBA\xD0\xB0 \xE6\x97\xA5\xE6\x9C\xAC";
    const std::string dir = root_.path() + "\\" + name;
    // Standard output and error go to files here: they get the UTF-8 bytes.
    const ProcessResult locate = Cli({"--dir", dir, "locate"});
    EXPECT_EQ(locate.exitStatus, 0) << locate.err;
    EXPECT_EQ(locate.out, dir + "\n");
    EXPECT_TRUE(Contains(Cli({"--dir", dir, "locate", "--json"}).out, name + "\", ")) << name;
    const ProcessResult get = Cli({"--dir", dir, "get", "--build", "3"});
    EXPECT_EQ(get.exitStatus, 1);
    EXPECT_TRUE(Contains(get.err, name)) << get.err;
}

#endif

}  // namespace
}  // namespace huevane
