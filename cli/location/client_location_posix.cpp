#include <filesystem>

#include "cli/cli_error.h"
#include "cli/location/client_location.h"
#include "cli/formats/clipped_text.h"
#include "core/run_error.h"
#include "cli/formats/user_reg.h"
#include "cli/location/windows_path.h"
#include "platform/install_dir.h"
#include "cli/location/wine_prefix.h"

namespace huevane::cli {
namespace {

// The default value of key in the prefix's user.reg, read as a stream.
userreg::Lookup LookUpInUserReg(FileSystem& fs, const std::string& prefix, const std::string& key) {
    const std::string path = prefix + "/user.reg";
    try {
        const std::unique_ptr<ReadableFile> file = fs.OpenRead(path);
        return userreg::FindDefaultValue(*file, key);
    } catch (const RunError& e) {
        switch (e.number()) {
            case ErrorNumber::kFileNotFound:
                Fail("no user.reg in the Wine prefix " + Clipped(prefix));
            case ErrorNumber::kPathFileAccess:
                Fail(Clipped(path) + " is not a regular file");
            case ErrorNumber::kPermissionDenied:
                Fail("cannot read " + Clipped(path) + ": permission denied");
            default:
                Fail("cannot read " + Clipped(path) + ": " + e.what());
        }
    }
}

}  // namespace

ClientLocation LocateClient(const std::optional<std::string>& dir,
                            const std::optional<std::string>& prefixOption, FileSystem& fs) {
    if (dir) {
        return {*dir, "", "--dir"};
    }
    const std::string prefix = prefixOption ? *prefixOption : DefaultWinePrefix();
    std::error_code ec;
    if (!std::filesystem::is_directory(prefix, ec)) {
        Fail("no Wine prefix at " + Clipped(prefix));
    }
    const std::string key(platform::kClientKeyPath);
    const userreg::Lookup found = LookUpInUserReg(fs, prefix, key);
    const std::string userReg = Clipped(prefix + "/user.reg");
    switch (found.status) {
        case userreg::LookupStatus::kBadHeader:
            Fail(userReg + " is not a Wine registry file");
        case userreg::LookupStatus::kNoKey:
            Fail("the client is not registered: no key HKEY_CURRENT_USER\\" + key + " in " +
                 userReg);
        case userreg::LookupStatus::kNoValue:
            Fail("the key HKEY_CURRENT_USER\\" + key + " has no default value in " + userReg);
        case userreg::LookupStatus::kFound:
            break;
    }
    if (found.type != userreg::ValueType::kString &&
        found.type != userreg::ValueType::kExpandString) {
        Fail("the registered client path in " + userReg + " is not text");
    }
    // Wine's spelling: "/" separates as "\\" does, and ".." stops at the drive's root.
    const std::string registered = NormalizeWindowsPath(found.text);
    const std::string windowsDir = platform::CutToDirectory(registered);
    // The client's files are opened in its folder, which Windows then trims as it trims any
    // folder of a path ("C:\\AIM." of "C:\\AIM.\\buddyui.ocm" is C:\\AIM).
    const std::string installDir = MapWindowsPath(prefix, windowsDir, OpenedAs::kFolderOfFiles);
    std::string executable;  // the directory is enough where the executable cannot be found
    try {
        executable = MapWindowsPath(prefix, registered, OpenedAs::kItself);
    } catch (const RunError&) {
    }
    return {installDir, executable, userReg + ": " + Clipped(found.text)};
}

}  // namespace huevane::cli
