#include "client/client_location.h"
#include "client/install_dir.h"
#include "client/windows_path.h"
#include "core/run_error.h"
#include "platform/registry.h"

namespace huevane::client {

ClientLocation LocateClient(const std::optional<std::string>& dir,
                            const std::optional<std::string>& prefix, FileSystem& /*fs*/) {
    if (prefix) {
        throw ClientNotFound(ClientNotFound::Why::kPrefixOnWindows, *prefix);
    }
    if (dir) {
        return {*dir, "", "--dir"};
    }
    const std::unique_ptr<platform::RegistryApi> registry = platform::MakeWindowsRegistry();
    const std::optional<std::string> executable =
        ReadRegistryText(*registry, platform::kCurrentUserRoot, std::string(kClientKeyPath), "");
    if (!executable) {
        throw ClientNotFound(ClientNotFound::Why::kNotInRegistry, "");
    }
    const std::string registered = NormalizeWindowsPath(*executable);
    return {CutToDirectory(registered), registered,
            "registry: HKEY_CURRENT_USER\\" + std::string(kClientKeyPath)};
}

}  // namespace huevane::client
