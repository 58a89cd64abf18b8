#pragma once

#include <optional>
#include <string>

namespace huevane::test {

// Sets the default value of an HKEY_CURRENT_USER key for the life of the object, and puts
// back what was there before.
class RegistryValueGuard {
public:
    RegistryValueGuard(const std::string& keyPath, const std::string& value);
    RegistryValueGuard(const RegistryValueGuard&) = delete;
    RegistryValueGuard& operator=(const RegistryValueGuard&) = delete;
    ~RegistryValueGuard();

private:
    std::string keyPath_;
    std::optional<std::string> previous_;
    bool keyExisted_ = false;
};

}  // namespace huevane::test
