#include "client/client_location.h"
#include "core/run_error.h"
#include "client/windows_path.h"
#include "client/install_dir.h"
#include "platform/registry.h"

namespace huevane::cli {

ClientLocation LocateClient(const std::optional<std::string>& dir,
                            const std::optional<std::string>& prefix, FileSystem& /*fs*/) {
    if (prefix) {
        throw RunError::Usage(
            "--prefix is for Wine installs; on Windows the registry tells the path");
    }
    if (dir) {
        return {*dir, "", "--dir"};
    }
    const std::unique_ptr<platform::RegistryApi> registry = platform::MakeWindowsRegistry();
    const std::optional<std::string> executable = platform::ReadRegistryText(
        *registry, platform::kCurrentUserRoot, std::string(platform::kClientKeyPath), "");
    if (!executable) {
        throw RunError::Described(
            "the client is not registered: no default value in HKEY_CURRENT_USER\\" +
            std::string(platform::kClientKeyPath));
    }
    const std::string registered = NormalizeWindowsPath(*executable);
    return {platform::CutToDirectory(registered), registered,
            "registry: HKEY_CURRENT_USER\\" + std::string(platform::kClientKeyPath)};
}

}  // namespace huevane::cli
