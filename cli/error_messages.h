#pragma once
// The words of huevane-cli's failures: each function makes the error to raise, or the line to
// write. Elsewhere only the argument parser words its usage errors, the theme reader the
// mistakes in a theme, and the Wine prefix code (client/wine_prefix_posix.cpp) its failures.

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "cli/cli_error.h"
#include "cli/command_context.h"
#include "cli/command_table.h"
#include "core/build_number.h"
#include "core/file_system.h"
#include "core/run_error.h"
#include "core/safe_rewrite.h"

namespace huevane::cli {

// The line on standard error for a failure that ended huevane-cli: "huevane-cli: " and the
// message, escaped once more so that it can never span lines or reach the terminal raw.
std::string ErrorLine(const RunError& e);
std::string ErrorLine(const std::exception& e);

// The line for output that did not arrive whole.
std::string OutputFailureLine(const RunError& e);

// Said when an interrupt stops huevane-cli before it replaced a file.
inline constexpr std::string_view kInterruptedLine =
    "huevane-cli: interrupted (nothing was changed)\n";

// Why a file step failed, in words a user can act on: the cause where one was noted, else the
// system's own words, else the error number in plain words (never its old run-time name).
std::string Reason(const RunError& e);

// The same for a step on the file at path, naming a directory where a file was expected.
std::string Reason(const RunError& e, FileSystem& fs, const std::string& path);

// What a step did to a file or directory, for "cannot read PATH: why".
enum class FileAction {
    kList,        // a directory
    kRead,        // a file
    kLookAt,      // whatever path names
    kFindTarget,  // buddyui.ocm in a directory: its absence is "no buddyui.ocm in DIR"
};

RunError FileFailure(FileAction action, const std::string& path, const RunError& e, FileSystem& fs);

// An option given an empty value, which no message could show.
RunError EmptyValue(const OptionEntry& option);
// A value that names none of the entries of the program's lists, or no colour.
HintedUsageError UnknownBuild(std::string_view text);
HintedUsageError UnknownProperty(std::string_view text);
HintedUsageError BadColour(std::string_view text);
RunError PropertyGivenTwice(std::int16_t property);

// The client's build.
RunError NotInDirectory(std::string_view name, const std::string& dir);  // no aim.exe in DIR
RunError ExecutableNotKnown();
RunError NoVersionResource(const std::string& executable);
RunError BuildOutsideRanges(std::string_view build);
RunError BuildNotTold(const RunError& why);
RunError BuildDisagrees(std::string_view given, std::int16_t version, const BuildNumber& detected,
                        std::int16_t detectedVersion, Access access);
RunError Unavailable();  // a property that the build lacks

// Reading the colours.
RunError TooShortToHold(const std::string& target, std::int16_t property, std::uint64_t fileSize,
                        std::uint64_t needed);

// A theme for set --from.
RunError ThemeInputUnreadable();
RunError ThemeInputTooLarge();
RunError ThemeTooLarge(const std::string& fileName, std::uint64_t size);
RunError ThemeGrew(const std::string& fileName);  // past the limit while it was read

// Writing the colours, and the backup.
RunError BackupIsTarget(const std::string& backup, const std::string& target);
RunError WriteFailure(const std::string& target, const BackupCopy& backup, const RunError& e,
                      FileSystem& fs);
RunError NotABackup(const std::string& backup, std::uint64_t backupSize, const std::string& target,
                    std::uint64_t targetSize);
RunError RestoreFailure(const std::string& target, const std::string& backup, const RunError& e,
                        FileSystem& fs);

}  // namespace huevane::cli
