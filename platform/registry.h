#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace huevane::platform {

// An open registry key; 0 is the empty handle that an open which failed leaves behind.
using RegistryHandle = std::uintptr_t;
inline constexpr RegistryHandle kEmptyHandle = 0;

// The predefined root handle HKEY_CURRENT_USER.
inline constexpr std::uint32_t kCurrentUserRoot = 0x80000001;

// The most bytes of UTF-8 that one character (UTF-16 code unit) of a Windows string takes.
inline constexpr std::uint32_t kUtf8BytesPerCharacter = 3;

// The three registry operations the install directory lookup needs. Each returns the Windows
// result code, 0 meaning success.
class RegistryApi {
public:
    RegistryApi() = default;
    RegistryApi(const RegistryApi&) = delete;
    RegistryApi& operator=(const RegistryApi&) = delete;
    RegistryApi(RegistryApi&&) = delete;
    RegistryApi& operator=(RegistryApi&&) = delete;
    virtual ~RegistryApi() = default;

    // Opens keyPath below root. On failure handle is left at kEmptyHandle.
    virtual std::uint32_t OpenKey(std::uint32_t root, const std::string& keyPath,
                                  RegistryHandle& handle) = 0;

    // Reads the value valueName ("" for the key's default value) into data. On entry length is
    // the capacity: that many characters of a string value, that many bytes of any other, and
    // data has room for kUtf8BytesPerCharacter bytes per character. On success data holds the
    // value from its start (a string as UTF-8), type its type code and length its byte count.
    // Fails for the empty handle, a missing value and a value longer than the capacity.
    virtual std::uint32_t QueryValue(RegistryHandle handle, const std::string& valueName,
                                     std::uint32_t& type, char* data, std::uint32_t& length) = 0;

    // Releases handle; also called with the empty handle.
    virtual std::uint32_t CloseKey(RegistryHandle handle) = 0;
};

#ifdef _WIN32
// The registry of advapi32 (RegOpenKeyW, RegQueryValueExW, RegCloseKey); texts are UTF-8.
std::unique_ptr<RegistryApi> MakeWindowsRegistry();
#endif

}  // namespace huevane::platform
