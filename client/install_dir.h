#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/registry.h"

namespace huevane {

// The install directory when the registry names none (the client is not registered).
inline constexpr std::string_view kInstallDirNotFound = "Not Found";

}  // namespace huevane

namespace huevane::client {

// The value valueName of the key keyPath below root as text, as GetRegString reads it, or
// nothing when the value cannot be read. Never throws.
std::optional<std::string> ReadRegistryText(platform::RegistryApi& api, std::uint32_t root,
                                            const std::string& keyPath,
                                            const std::string& valueName) noexcept;

}  // namespace huevane::client

namespace huevane::modColors {

// The value valueName of the key keyPath below root as text: a REG_DWORD as decimal digits, at
// least three ("007"), any other type as its data without the last byte (a string's terminating
// zero). "Not Found" when the value cannot be read, which the window program takes as its install
// directory. Open, query and close are each called once, in that order, and close runs on every
// path. Never throws.
std::string GetRegString(platform::RegistryApi& api, std::uint32_t root, const std::string& keyPath,
                         const std::string& valueName) noexcept;

}  // namespace huevane::modColors

namespace huevane::client {

// Where the client registers the full path of its executable, as the key's default value.
inline constexpr std::string_view kClientKeyPath =
    R"(Software\America Online\AOL Instant Messenger (TM)\CurrentVersion\AppPath)";

// path up to, not including, its last backslash; a path without one comes back unchanged.
// Forward slashes do not separate.
std::string CutToDirectory(std::string_view path);

// The client's install directory without a trailing backslash, read from the current user's
// registry; "Not Found" when the registry holds no path.
std::string LookupInstallDir(platform::RegistryApi& api);

// The client as one reading of the current user's registry names it.
struct RegisteredClient {
    std::string installDir;  // as LookupInstallDir gives it
    std::string executable;  // the registered path as it stands; empty when there is none
};
RegisteredClient LookupRegisteredClient(platform::RegistryApi& api);

}  // namespace huevane::client
