#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_system.h"

namespace huevane {

// The client's module file, found in the install directory whatever its letter case.
inline constexpr std::string_view kTargetFileName = "buddyui.ocm";

// Puts the bytes of strColor that fall inside chunk, a piece of the file starting at file
// offset chunkOffset, where the 1-based position lngSpot puts them.
void PatchChunk(std::span<char> chunk, std::uint64_t chunkOffset, std::string_view strColor,
                std::int32_t lngSpot);

// Rewrites buddyui.ocm in installDir with strColor at the 1-based position lngSpot; bytes that
// would fall past the end are dropped. Raises error 5 when lngSpot is not inside the file. The
// file is replaced in one atomic step, so on any error it stays exactly as it was.
void UpdateBuddyUi(FileSystem& fs, const std::string& installDir, std::string_view strColor,
                   std::int32_t lngSpot);

// One colour to write: the three bytes and their 1-based position.
struct ColorPatch {
    std::string strColor;
    std::int32_t lngSpot;
};

// Writes every patch into the file at path in one atomic replacement: all of them or, on any
// error, none. Raises error 5 when a position is not inside the file.
void PatchColors(FileSystem& fs, const std::string& path, const std::vector<ColorPatch>& patches);

}  // namespace huevane
