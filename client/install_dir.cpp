#include "client/install_dir.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <optional>
#include <utility>

#include "core/byte_order.h"

namespace huevane::client {
namespace {

using platform::RegistryApi;
using platform::RegistryHandle;

constexpr std::uint32_t kRegDword = 4;
constexpr std::size_t kReceiveBufferSize = 2048;  // characters, the terminating zero with them
constexpr std::size_t kMinDwordDigits = 3;

using ReceiveBuffer = std::array<char, kReceiveBufferSize * platform::kUtf8BytesPerCharacter>;

std::string DwordText(const ReceiveBuffer& buffer) {
    const auto number =
        NumberFromBytes<std::uint32_t>(std::string_view(buffer.data(), buffer.size()));
    std::array<char, 10> digits{};  // 4294967295 has ten
    const char* const end = std::to_chars(digits.data(), digits.data() + digits.size(), number).ptr;
    const auto count = static_cast<std::size_t>(end - digits.data());
    std::string text(kMinDwordDigits - std::min(count, kMinDwordDigits), '0');
    text.append(digits.data(), count);
    return text;
}

// The first length - 1 bytes: a string value without its terminating zero. Zero bytes inside
// the data stay; nothing is read past the buffer's kReceiveBufferSize characters, however many
// bytes of UTF-8 they take.
std::string DataText(const ReceiveBuffer& buffer, std::uint32_t length) {
    const std::size_t count = length == 0 ? 0 : std::min<std::size_t>(length - 1, buffer.size());
    std::size_t end = 0;
    for (std::size_t characters = 0; end < count; ++end) {
        const bool continuation = (static_cast<unsigned char>(buffer[end]) & 0xC0U) == 0x80U;
        if (!continuation && characters++ == kReceiveBufferSize) {
            break;
        }
    }
    return {buffer.data(), end};
}

// The value's data as text, or nothing when the query fails.
std::optional<std::string> QueryText(RegistryApi& api, RegistryHandle handle,
                                     const std::string& valueName) {
    ReceiveBuffer buffer;
    buffer.fill(' ');
    std::uint32_t type = 0;
    auto length = static_cast<std::uint32_t>(kReceiveBufferSize);
    if (api.QueryValue(handle, valueName, type, buffer.data(), length) != 0) {
        return std::nullopt;
    }
    return type == kRegDword ? DwordText(buffer) : DataText(buffer, length);
}

}  // namespace

// Each registry step runs on its own: one that throws is skipped and the next still runs, so
// an opened key is always closed and the caller never sees an exception.
std::optional<std::string> ReadRegistryText(RegistryApi& api, std::uint32_t root,
                                            const std::string& keyPath,
                                            const std::string& valueName) noexcept {
    RegistryHandle handle = platform::kEmptyHandle;
    try {
        api.OpenKey(root, keyPath, handle);  // a failed open shows up as a failed query
    } catch (...) {
    }

    std::optional<std::string> text;
    try {
        text = QueryText(api, handle, valueName);
    } catch (...) {
    }

    try {
        api.CloseKey(handle);
    } catch (...) {
    }
    return text;
}

std::string CutToDirectory(std::string_view path) {
    const std::size_t lastBackslash = path.rfind('\\');
    return std::string(lastBackslash == std::string_view::npos ? path
                                                               : path.substr(0, lastBackslash));
}

std::string LookupInstallDir(RegistryApi& api) {
    return LookupRegisteredClient(api).installDir;
}

RegisteredClient LookupRegisteredClient(RegistryApi& api) {
    const std::string registered =
        modColors::GetRegString(api, platform::kCurrentUserRoot, std::string(kClientKeyPath), "");
    return {CutToDirectory(registered),
            registered == kInstallDirNotFound ? std::string() : registered};
}

}  // namespace huevane::client

namespace huevane::modColors {

std::string GetRegString(platform::RegistryApi& api, std::uint32_t root, const std::string& keyPath,
                         const std::string& valueName) noexcept {
    try {
        return client::ReadRegistryText(api, root, keyPath, valueName).value_or("Not Found");
    } catch (...) {  // only a copy that cannot get memory
        return "Not Found";
    }
}

}  // namespace huevane::modColors
