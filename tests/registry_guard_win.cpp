#include <windows.h>

#include <array>

#include "tests/registry_guard.h"

namespace huevane::test {
namespace {

void SetDefaultValue(HKEY key, const std::string& value) {
    const DWORD size = static_cast<DWORD>(value.size()) + 1;  // with the terminating zero
    RegSetValueExA(key, "", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), size);
}

}  // namespace

RegistryValueGuard::RegistryValueGuard(const std::string& keyPath, const std::string& value)
    : keyPath_(keyPath) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
        keyExisted_ = true;
        std::array<char, 2048> data{};
        DWORD size = static_cast<DWORD>(data.size());
        DWORD type = 0;
        if (RegQueryValueExA(key, "", nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                             &size) == ERROR_SUCCESS) {
            previous_ = std::string(data.data());
        }
        RegCloseKey(key);
    }
    RegCreateKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                    nullptr);
    SetDefaultValue(key, value);
    RegCloseKey(key);
}

RegistryValueGuard::~RegistryValueGuard() {
    if (!keyExisted_) {
        RegDeleteKeyA(HKEY_CURRENT_USER, keyPath_.c_str());
        return;
    }
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath_.c_str(), 0, KEY_WRITE, &key) != ERROR_SUCCESS) {
        return;
    }
    if (previous_) {
        SetDefaultValue(key, *previous_);
    } else {
        RegDeleteValueA(key, "");
    }
    RegCloseKey(key);
}

}  // namespace huevane::test
