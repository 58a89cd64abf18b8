#include "cli/error_messages.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "client/client_location.h"
#include "client/install_dir.h"
#include "core/catalogue.h"
#include "core/clipped_text.h"
#include "core/patch_writer.h"
#include "formats/list_lookup.h"
#include "formats/theme_file.h"

namespace huevane::cli {
namespace {

// Each run-time error number in plain words, for a step on a file.
const char* NumberText(ErrorNumber number) {
    switch (number) {
        case ErrorNumber::kInvalidArgument:
            return "the request is not valid";
        case ErrorNumber::kOverflow:
            return "a number is too large";
        case ErrorNumber::kTypeMismatch:
            return "a value is of the wrong kind";
        case ErrorNumber::kBadFileName:
            return "not a valid file name, or too long a one";
        case ErrorNumber::kFileNotFound:
            return "no such file";
        case ErrorNumber::kFileAlreadyOpen:
            return "it is in use by another program";
        case ErrorNumber::kDeviceIo:
            return "the device failed to read or write";
        case ErrorNumber::kDiskFull:
            return "the disk is full";
        case ErrorNumber::kPermissionDenied:
            return "permission denied";
        case ErrorNumber::kPathFileAccess:
            return "not a regular file";
        case ErrorNumber::kPathNotFound:
            return "part of its path is missing or is not a directory";
    }
    return "failed";
}

// A path that can be listed is a directory.
bool IsDirectory(FileSystem& fs, const std::string& path) {
    try {
        fs.ListDirectory(path);
        return true;
    } catch (const RunError&) {
        return false;
    }
}

RunError Described(std::string message) {
    return RunError::Described(std::move(message));
}

// The client's registry key, as the messages name it.
std::string ClientKey() {
    return "HKEY_CURRENT_USER\\" + std::string(client::kClientKeyPath);
}

std::string ClientNotFoundText(const client::ClientNotFound& e) {
    using Why = client::ClientNotFound::Why;
    const std::string path = Clipped(e.path());
    switch (e.why()) {
        case Why::kPrefixOnWindows:
            return "--prefix is for Wine installs; on Windows the registry tells the path";
        case Why::kNotInRegistry:
            return "the client is not registered: no default value in " + ClientKey();
        case Why::kRelativeWinePrefix:
            return "WINEPREFIX must be an absolute path, not " + path;
        case Why::kNoDefaultPrefix:
            return "neither WINEPREFIX nor HOME is set";
        case Why::kNoWinePrefix:
            return "no Wine prefix at " + path;
        case Why::kNoUserReg:
            return "no user.reg in the Wine prefix " + path;
        case Why::kUserRegNotAFile:
            return path + " is not a regular file";
        case Why::kUserRegUnreadable:
            return "cannot read " + path + ": " + Reason(*e.readError());
        case Why::kNotAWineRegistry:
            return path + " is not a Wine registry file";
        case Why::kNoKey:
            return "the client is not registered: no key " + ClientKey() + " in " + path;
        case Why::kNoDefaultValue:
            return "the key " + ClientKey() + " has no default value in " + path;
        case Why::kRegisteredPathNotText:
            return "the registered client path in " + path + " is not text";
    }
    return "the client is not found";
}

// The message of a failure, without the program's name.
std::string MessageOf(const RunError& e) {
    if (const auto* notFound = dynamic_cast<const client::ClientNotFound*>(&e)) {
        return ClientNotFoundText(*notFound);
    }
    return Reason(e);
}

// The end of each message that refuses a theme for its size.
std::string ThemeLimitText() {
    return std::string("; a theme is at most ") + kMaxThemeText;
}

}  // namespace

std::string ErrorLine(const RunError& e) {
    const bool pointToHelp =
        e.cause() == ErrorCause::kUsage && dynamic_cast<const HintedUsageError*>(&e) == nullptr;
    return "huevane-cli: " + Escaped(MessageOf(e)) + (pointToHelp ? " (try --help)" : "") + "\n";
}

std::string ErrorLine(const std::exception& e) {
    return "huevane-cli: " + Escaped(e.what()) + "\n";
}

std::string OutputFailureLine(const RunError& e) {
    return "huevane-cli: cannot write standard output: " + Clipped(e.what()) + "\n";
}

std::string Reason(const RunError& e) {
    switch (e.cause()) {
        case ErrorCause::kChangedWhileCopied:
            return "changed while it was being copied; nothing was written";
        case ErrorCause::kLinkTooLong:
            return "a symbolic link leads to a path too long to follow; the link is left as it is";
        case ErrorCause::kSystem:
        case ErrorCause::kDescribed:
        case ErrorCause::kUsage:
            if (!e.text().empty()) {
                return e.text();
            }
            break;
        case ErrorCause::kNumber:
            break;
    }
    return NumberText(e.number());
}

std::string Reason(const RunError& e, FileSystem& fs, const std::string& path) {
    if (e.cause() == ErrorCause::kNumber && e.number() == ErrorNumber::kPathFileAccess &&
        IsDirectory(fs, path)) {
        return "is a directory";
    }
    return Reason(e);
}

RunError FileFailure(FileAction action, const std::string& path, const RunError& e,
                     FileSystem& fs) {
    switch (action) {
        case FileAction::kList:
            return Described("cannot list " + Clipped(path) + ": " + Reason(e));
        case FileAction::kRead:
            return Described("cannot read " + Clipped(path) + ": " + Reason(e, fs, path));
        case FileAction::kLookAt:
            return Described("cannot look at " + Clipped(path) + ": " + Reason(e));
        case FileAction::kFindTarget:
            if (e.number() == ErrorNumber::kFileNotFound ||
                e.number() == ErrorNumber::kPathNotFound) {
                return NotInDirectory(kTargetFileName, path);
            }
            return Described("cannot look for " + std::string(kTargetFileName) + " in " +
                             Clipped(path) + ": " + Reason(e));
    }
    return Described(Reason(e, fs, path));
}

RunError EmptyValue(const OptionEntry& option) {
    return RunError::Usage(std::string(option.name) + " needs " + std::string(option.needs));
}

HintedUsageError UnknownBuild(std::string_view text) {
    return {"unknown build " + Clipped(text), "see 'huevane-cli versions'"};
}

HintedUsageError UnknownProperty(std::string_view text) {
    return {"unknown property " + Clipped(text), "see 'huevane-cli properties'"};
}

HintedUsageError BadColour(std::string_view text) {
    return {"bad colour " + Clipped(text), "use #RRGGBB, RRGGBB or R,G,B"};
}

RunError PropertyGivenTwice(std::int16_t property) {
    return RunError::Usage("property " + std::string(PropertyText(property)) + " given twice");
}

RunError NotInDirectory(std::string_view name, const std::string& dir) {
    return Described("no " + std::string(name) + " in " + Clipped(dir));
}

RunError ExecutableNotKnown() {
    return Described("the client's executable is not known (not found)");
}

RunError NoVersionResource(const std::string& executable) {
    return Described("no version resource in " + Clipped(executable));
}

RunError BuildOutsideRanges(std::string_view build) {
    return Described("build " + Clipped(build) + " is in none of the known version ranges");
}

RunError BuildNotTold(const RunError& why) {
    return Described("cannot tell the client's build (" + Reason(why) + "); give --build");
}

RunError BuildDisagrees(std::string_view given, std::int16_t version, const BuildNumber& detected,
                        std::int16_t detectedVersion, Access access) {
    return Described("--build " + Clipped(given) + " (" + std::string(VersionText(version)) +
                     ") disagrees with the client's build " + BuildNumberText(detected) + " (" +
                     std::string(VersionText(detectedVersion)) + "); add --force to " +
                     (access == Access::kWrite ? "write" : "read") + " anyway");
}

RunError Unavailable() {
    return Described(std::string(kUnavailableText));
}

RunError TooShortToHold(const std::string& target, std::int16_t property, std::uint64_t fileSize,
                        std::uint64_t needed) {
    return Described(Clipped(target) + " is too short to hold " +
                     std::string(PropertyText(property)) + ": it has " + std::to_string(fileSize) +
                     " bytes, " + std::to_string(needed) + " are needed");
}

RunError ThemeInputUnreadable() {
    return Described("cannot read the theme from standard input");
}

RunError ThemeInputTooLarge() {
    return Described("the theme on standard input is over " + std::to_string(kMaxThemeBytes) +
                     " bytes" + ThemeLimitText());
}

RunError ThemeTooLarge(const std::string& fileName, std::uint64_t size) {
    return Described(Clipped(fileName) + " is " + std::to_string(size) + " bytes" +
                     ThemeLimitText());
}

RunError ThemeGrew(const std::string& fileName) {
    return Described(Clipped(fileName) + " is over " + std::to_string(kMaxThemeBytes) + " bytes" +
                     ThemeLimitText());
}

RunError BackupIsTarget(const std::string& backup, const std::string& target) {
    return Described("--backup " + Clipped(backup) + " is " + Clipped(target) +
                     " itself; name another file");
}

RunError WriteFailure(const std::string& target, const BackupCopy& backup, const RunError& e,
                      FileSystem& fs) {
    if (const auto* tooShort = dynamic_cast<const FileTooShort*>(&e)) {
        return Described(Clipped(target) + " has " + std::to_string(tooShort->size()) + " bytes, " +
                         std::to_string(tooShort->needed()) +
                         " are needed for the colours of this version (it is unchanged)");
    }
    if (backup.fileChanged) {
        return Described("set the colours in " + Clipped(target) +
                         ", but cannot replace the backup " + Clipped(backup.path) + ": " +
                         Reason(e, fs, backup.path) + " (it is as it was)");
    }
    if (backup.failed) {
        return Described("cannot make the backup " + Clipped(backup.path) + ": " +
                         Reason(e, fs, backup.path) + " (nothing was changed)");
    }
    return Described("cannot rewrite " + Clipped(target) + ": " + Reason(e, fs, target) +
                     " (it is unchanged)");
}

RunError NotABackup(const std::string& backup, std::uint64_t backupSize, const std::string& target,
                    std::uint64_t targetSize) {
    return Described(Clipped(backup) + " has " + std::to_string(backupSize) + " bytes and " +
                     Clipped(target) + " has " + std::to_string(targetSize) +
                     ": not a backup of it");
}

RunError RestoreFailure(const std::string& target, const std::string& backup, const RunError& e,
                        FileSystem& fs) {
    return Described("cannot restore " + Clipped(target) + " from " + Clipped(backup) + ": " +
                     Reason(e, fs, backup));
}

}  // namespace huevane::cli
