#include <windows.h>

#include "tests/registry_guard.h"

namespace huevane::test {

RegistryValueGuard::RegistryValueGuard(const std::string& keyPath, const std::string& value)
    : keyPath_(keyPath) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
        keyExisted_ = true;
        char data[2048] = {};
        DWORD size = sizeof data;
        DWORD type = 0;
        if (RegQueryValueExA(key, "", nullptr, &type, reinterpret_cast<BYTE*>(data), &size) ==
            ERROR_SUCCESS) {
            previous_ = std::string(data);
        }
        RegCloseKey(key);
    }
    RegCreateKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                    nullptr);
    RegSetValueExA(key, "", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
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
        RegSetValueExA(key, "", 0, REG_SZ, reinterpret_cast<const BYTE*>(previous_->c_str()),
                       static_cast<DWORD>(previous_->size() + 1));
    } else {
        RegDeleteValueA(key, "");
    }
    RegCloseKey(key);
}

}  // namespace huevane::test
