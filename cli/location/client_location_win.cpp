#include "cli/cli_error.h"
#include "cli/location/client_location.h"
#include "cli/location/windows_path.h"
#include "platform/install_dir.h"
#include "platform/registry.h"

namespace huevane::cli {

ClientLocation LocateClient(const std::optional<std::string>& dir,
                            const std::optional<std::string>& prefix, FileSystem& /*fs*/) {
    if (prefix) {
        UsageError("--prefix is for Wine installs; on Windows the registry tells the path");
    }
    if (dir) {
        return {*dir, "", "--dir"};
    }
    const std::unique_ptr<platform::RegistryApi> registry = platform::MakeWindowsRegistry();
    const std::optional<std::string> executable = platform::ReadRegistryText(
        *registry, platform::kCurrentUserRoot, std::string(platform::kClientKeyPath), "");
    if (!executable) {
        Fail("the client is not registered: no default value in HKEY_CURRENT_USER\\" +
             std::string(platform::kClientKeyPath));
    }
    const std::string registered = NormalizeWindowsPath(*executable);
    return {platform::CutToDirectory(registered), registered,
            "registry: HKEY_CURRENT_USER\\" + std::string(platform::kClientKeyPath)};
}

}  // namespace huevane::cli
