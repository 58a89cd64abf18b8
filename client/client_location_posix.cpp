#include <filesystem>

#include "client/client_location.h"
#include "core/clipped_text.h"
#include "core/run_error.h"
#include "formats/user_reg.h"
#include "client/windows_path.h"
#include "client/install_dir.h"
#include "client/wine_prefix.h"

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
                throw RunError::Described("no user.reg in the Wine prefix " + Clipped(prefix));
            case ErrorNumber::kPathFileAccess:
                throw RunError::Described(Clipped(path) + " is not a regular file");
            case ErrorNumber::kPermissionDenied:
                throw RunError::Described("cannot read " + Clipped(path) + ": permission denied");
            default:
                throw RunError::Described("cannot read " + Clipped(path) + ": " + e.what());
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
        throw RunError::Described("no Wine prefix at " + Clipped(prefix));
    }
    const std::string key(platform::kClientKeyPath);
    const userreg::Lookup found = LookUpInUserReg(fs, prefix, key);
    const std::string userReg = Clipped(prefix + "/user.reg");
    switch (found.status) {
        case userreg::LookupStatus::kBadHeader:
            throw RunError::Described(userReg + " is not a Wine registry file");
        case userreg::LookupStatus::kNoKey:
            throw RunError::Described("the client is not registered: no key HKEY_CURRENT_USER\\" +
                                      key + " in " + userReg);
        case userreg::LookupStatus::kNoValue:
            throw RunError::Described("the key HKEY_CURRENT_USER\\" + key +
                                      " has no default value in " + userReg);
        case userreg::LookupStatus::kFound:
            break;
    }
    if (found.type != userreg::ValueType::kString &&
        found.type != userreg::ValueType::kExpandString) {
        throw RunError::Described("the registered client path in " + userReg + " is not text");
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
