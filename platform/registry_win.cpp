// The registry operations of advapi32, through its wide-character functions: names and string
// values travel as UTF-8.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "platform/win_text.h"

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

bool IsText(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

class WindowsRegistry final : public RegistryApi {
public:
    std::uint32_t OpenKey(std::uint32_t root, const std::string& keyPath,
                          RegistryHandle& handle) override {
        HKEY key = nullptr;
        const LONG result = RegOpenKeyW(RootKey(root), Wide(keyPath).c_str(), &key);
        handle = result == ERROR_SUCCESS ? reinterpret_cast<RegistryHandle>(key) : kEmptyHandle;
        return static_cast<std::uint32_t>(result);
    }

    std::uint32_t QueryValue(RegistryHandle handle, const std::string& valueName,
                             std::uint32_t& type, char* data, std::uint32_t& length) override {
        // Room for length characters of text, which is length bytes of anything else.
        std::vector<wchar_t> units(length);
        DWORD valueType = 0;
        DWORD size = length * sizeof(wchar_t);
        const LONG result =
            RegQueryValueExW(ToKey(handle), Wide(valueName).c_str(), nullptr, &valueType,
                             reinterpret_cast<BYTE*>(units.data()), &size);
        type = valueType;
        if (result != ERROR_SUCCESS) {
            length = size;
            return static_cast<std::uint32_t>(result);
        }
        if (!IsText(valueType)) {
            if (size > length) {
                length = size;
                return ERROR_MORE_DATA;
            }
            std::memcpy(data, units.data(), size);
            length = size;
            return ERROR_SUCCESS;
        }
        std::wstring text(units.data(), size / sizeof(wchar_t));
        if (text.empty() || text.back() != L'\0') {
            text += L'\0';  // stored without its terminating zero
        }
        const std::string utf8 = Utf8(text);
        std::memcpy(data, utf8.data(), utf8.size());
        length = static_cast<std::uint32_t>(utf8.size());
        return ERROR_SUCCESS;
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
