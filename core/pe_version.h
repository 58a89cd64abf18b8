#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace huevane::pe {

// The file version of VS_FIXEDFILEINFO: dwFileVersionMS = major.minor, LS = build.revision.
struct FileVersion {
    std::uint16_t major = 0;
    std::uint16_t minor = 0;
    std::uint16_t build = 0;
    std::uint16_t revision = 0;
    friend bool operator==(const FileVersion&, const FileVersion&) = default;
};

// Reads the file version from the version resource (RT_VERSION) of a PE image (32- or 64-bit).
// Every offset is checked against the image: a malformed image, or one without a version
// resource, gives nullopt. Never throws, never reads outside image.
std::optional<FileVersion> ReadFileVersion(std::span<const unsigned char> image) noexcept;

}  // namespace huevane::pe
