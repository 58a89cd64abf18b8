#include "cli/client_choice.h"

#include "cli/command_values.h"
#include "cli/error_messages.h"
#include "cli/file_step.h"
#include "client/client_build.h"
#include "core/patch_writer.h"
#include "core/safe_rewrite.h"

namespace huevane::cli {

const client::ClientLocation& ClientChoice::Location() {
    if (!location_) {
        location_ = client::LocateClient(args_.dir, args_.prefix, fs_);
    }
    return *location_;
}

std::string ClientChoice::Target() {
    const std::string& dir = Location().installDir;
    return OnFile(fs_, FileAction::kFindTarget, dir,
                  [&] { return ExistingFilePath(fs_, dir, kTargetFileName); });
}

// The registered executable, or with --dir the one beside buddyui.ocm, its name in any letter
// case.
std::string ClientChoice::Executable() {
    const client::ClientLocation& location = Location();
    if (!location.executable.empty()) {
        return location.executable;
    }
    if (!args_.dir) {
        throw ExecutableNotKnown();
    }
    const std::string& dir = location.installDir;
    const std::optional<std::string> name = OnFile(fs_, FileAction::kList, dir, [&] {
        return FindEntryIgnoringCase(fs_, dir, kClientExecutableName);
    });
    if (!name) {
        throw NotInDirectory(kClientExecutableName, dir);
    }
    return fs_.JoinPath(dir, *name);
}

DetectedBuild ClientChoice::Detect() {
    const std::string executable = Executable();
    const std::optional<ClientBuild> found = OnFile(
        fs_, FileAction::kRead, executable, [&] { return ReadClientBuild(fs_, executable); });
    if (!found) {
        throw NoVersionResource(executable);
    }
    if (!found->version) {
        throw BuildOutsideRanges(BuildNumberText(found->build));
    }
    return {*found->version, found->build};
}

std::int16_t ClientChoice::Version(Access access, std::optional<std::int16_t> themeVersion) {
    if (!args_.build) {
        return DetectedVersionOr(themeVersion);
    }
    const std::int16_t version = ParseBuild(*args_.build);
    if (!args_.force) {
        RefuseDisagreement(version, access);
    }
    return version;
}

std::int16_t ClientChoice::DetectedVersionOr(std::optional<std::int16_t> themeVersion) {
    Location();  // a client that cannot be found says so itself, not as a build unknown
    try {
        return Detect().version;
    } catch (const RunError& e) {
        if (themeVersion) {
            return *themeVersion;
        }
        throw BuildNotTold(e);
    }
}

void ClientChoice::RefuseDisagreement(std::int16_t version, Access access) {
    Location();  // a client that cannot be found says so itself
    std::optional<DetectedBuild> detected;
    try {
        detected = Detect();
    } catch (const RunError&) {
        return;  // nothing to disagree with
    }
    if (detected->version != version) {
        throw BuildDisagrees(*args_.build, version, detected->build, detected->version, access);
    }
}

}  // namespace huevane::cli
