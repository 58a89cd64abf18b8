#include <windows.h>

#include <vector>

#include "platform/win_text.h"
#include "tests/registry_guard.h"

namespace huevane::test {
namespace {

using platform::Utf8;
using platform::Wide;

// Through the wide functions, so that a path in any script is stored as it is.
void SetDefaultValue(HKEY key, const std::string& value) {
    const std::wstring text = Wide(value);
    const DWORD size = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));  // with the zero
    RegSetValueExW(key, L"", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), size);
}

}  // namespace

RegistryValueGuard::RegistryValueGuard(const std::string& keyPath, const std::string& value)
    : keyPath_(keyPath) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(keyPath).c_str(), 0, KEY_READ, &key) ==
        ERROR_SUCCESS) {
        keyExisted_ = true;
        std::vector<wchar_t> data(32768);
        DWORD size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
        DWORD type = 0;
        if (RegQueryValueExW(key, L"", nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                             &size) == ERROR_SUCCESS) {
            previous_ = Utf8(data.data());
        }
        RegCloseKey(key);
    }
    RegCreateKeyExW(HKEY_CURRENT_USER, Wide(keyPath).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                    &key, nullptr);
    SetDefaultValue(key, value);
    RegCloseKey(key);
}

RegistryValueGuard::~RegistryValueGuard() {
    if (!keyExisted_) {
        RegDeleteKeyW(HKEY_CURRENT_USER, Wide(keyPath_).c_str());
        return;
    }
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(keyPath_).c_str(), 0, KEY_WRITE, &key) !=
        ERROR_SUCCESS) {
        return;
    }
    if (previous_) {
        SetDefaultValue(key, *previous_);
    } else {
        RegDeleteValueW(key, L"");
    }
    RegCloseKey(key);
}

}  // namespace huevane::test
