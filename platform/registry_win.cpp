// The registry operations of advapi32, with ANSI texts.
#include <windows.h>

#include "platform/registry.h"

namespace huevane::platform {
namespace {

// Handles travel through RegistryApi as integers, so that other registries can make them up.
HKEY ToKey(RegistryHandle handle) {
    return reinterpret_cast<HKEY>(handle);  // NOLINT(performance-no-int-to-ptr)
}

// Predefined roots are sign-extended 32-bit values, as HKEY_CURRENT_USER is defined.
HKEY RootKey(std::uint32_t root) {
    return ToKey(static_cast<RegistryHandle>(static_cast<LONG_PTR>(static_cast<LONG>(root))));
}

class WindowsRegistry final : public RegistryApi {
public:
    std::uint32_t OpenKey(std::uint32_t root, const std::string& keyPath,
                          RegistryHandle& handle) override {
        HKEY key = nullptr;
        const LONG result = RegOpenKeyA(RootKey(root), keyPath.c_str(), &key);
        handle = result == ERROR_SUCCESS ? reinterpret_cast<RegistryHandle>(key) : kEmptyHandle;
        return static_cast<std::uint32_t>(result);
    }

    std::uint32_t QueryValue(RegistryHandle handle, const std::string& valueName,
                             std::uint32_t& type, char* data, std::uint32_t& length) override {
        DWORD valueType = 0;
        DWORD size = length;
        const LONG result = RegQueryValueExA(ToKey(handle), valueName.c_str(), nullptr, &valueType,
                                             reinterpret_cast<BYTE*>(data), &size);
        type = valueType;
        length = size;
        return static_cast<std::uint32_t>(result);
    }

    std::uint32_t CloseKey(RegistryHandle handle) override {
        return static_cast<std::uint32_t>(RegCloseKey(ToKey(handle)));
    }
};

}  // namespace

std::unique_ptr<RegistryApi> MakeWindowsRegistry() {
    return std::make_unique<WindowsRegistry>();
}

}  // namespace huevane::platform
