#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/file_system.h"

namespace huevane {

// The client's module file, found in the install directory whatever its letter case.
inline constexpr std::string_view kTargetFileName = "buddyui.ocm";

// Puts strColor at the 1-based position lngSpot of the image; bytes past the end are dropped.
// Raises error 5 when lngSpot is not inside the image.
void PatchImage(std::string& image, std::string_view strColor, std::int32_t lngSpot);

// Rewrites buddyui.ocm in installDir with strColor at lngSpot. The file is replaced in one
// atomic step, so on any error it stays exactly as it was.
void UpdateBuddyUi(FileSystem& fs, const std::string& installDir, std::string_view strColor,
                   std::int32_t lngSpot);

}  // namespace huevane
