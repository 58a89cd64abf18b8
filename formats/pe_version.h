#pragma once

#include <cstdint>
#include <optional>

#include "core/file_system.h"

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
// Reads only the headers and the resource data they point at, a block at a time, so a file of
// any size takes a few KiB. Every offset is checked against the file's size: a malformed image,
// one without a version resource, or one shorter than it claims gives nullopt. Throws only what
// file's Seek and Read throw (RunError).
std::optional<FileVersion> ReadFileVersion(ReadableFile& file);

}  // namespace huevane::pe
