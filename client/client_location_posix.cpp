#include <filesystem>

#include "client/client_location.h"
#include "client/install_dir.h"
#include "client/windows_path.h"
#include "client/wine_prefix.h"
#include "core/clipped_text.h"
#include "core/run_error.h"
#include "formats/user_reg.h"

namespace huevane::client {
namespace {

// The default value of key in the prefix's user.reg, read as a stream.
userreg::Lookup LookUpInUserReg(FileSystem& fs, const std::string& prefix, const std::string& key) {
    using Why = ClientNotFound::Why;
    const std::string path = prefix + "/user.reg";
    try {
        const std::unique_ptr<ReadableFile> file = fs.OpenRead(path);
        return userreg::FindDefaultValue(*file, key);
    } catch (const RunError& e) {
        switch (e.number()) {
            case ErrorNumber::kFileNotFound:
                throw ClientNotFound(Why::kNoUserReg, prefix);
            case ErrorNumber::kPathFileAccess:
                throw ClientNotFound(Why::kUserRegNotAFile, path);
            default:
                throw ClientNotFound(Why::kUserRegUnreadable, path, e);
        }
    }
}

// Raises ClientNotFound unless found holds the registered path as text.
void RefuseAnythingButText(const userreg::Lookup& found, const std::string& userReg) {
    using Why = ClientNotFound::Why;
    switch (found.status) {
        case userreg::LookupStatus::kBadHeader:
            throw ClientNotFound(Why::kNotAWineRegistry, userReg);
        case userreg::LookupStatus::kNoKey:
            throw ClientNotFound(Why::kNoKey, userReg);
        case userreg::LookupStatus::kNoValue:
            throw ClientNotFound(Why::kNoDefaultValue, userReg);
        case userreg::LookupStatus::kFound:
            break;
    }
    if (found.type != userreg::ValueType::kString &&
        found.type != userreg::ValueType::kExpandString) {
        throw ClientNotFound(Why::kRegisteredPathNotText, userReg);
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
        throw ClientNotFound(ClientNotFound::Why::kNoWinePrefix, prefix);
    }
    const userreg::Lookup found = LookUpInUserReg(fs, prefix, std::string(kClientKeyPath));
    const std::string userReg = prefix + "/user.reg";
    RefuseAnythingButText(found, userReg);
    // Wine's spelling: "/" separates as "\\" does, and ".." stops at the drive's root.
    const std::string registered = NormalizeWindowsPath(found.text);
    const std::string windowsDir = CutToDirectory(registered);
    // The client's files are opened in its folder, which Windows then trims as it trims any
    // folder of a path ("C:\\AIM." of "C:\\AIM.\\buddyui.ocm" is C:\\AIM).
    const std::string installDir = MapWindowsPath(prefix, windowsDir, OpenedAs::kFolderOfFiles);
    std::string executable;  // the directory is enough where the executable cannot be found
    try {
        executable = MapWindowsPath(prefix, registered, OpenedAs::kItself);
    } catch (const RunError&) {
    }
    return {installDir, executable, Clipped(userReg) + ": " + Clipped(found.text)};
}

}  // namespace huevane::client
