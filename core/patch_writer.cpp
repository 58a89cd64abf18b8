#include "core/patch_writer.h"

#include <algorithm>

#include "core/file_ops.h"
#include "core/run_error.h"

namespace huevane {

void PatchImage(std::string& image, std::string_view strColor, std::int32_t lngSpot) {
    if (lngSpot < 1 || static_cast<std::size_t>(lngSpot) > image.size()) {
        throw RunError(ErrorNumber::kInvalidArgument);
    }
    const std::size_t start = static_cast<std::size_t>(lngSpot) - 1;
    const std::size_t count = std::min(strColor.size(), image.size() - start);
    image.replace(start, count, strColor.substr(0, count));
}

void UpdateBuddyUi(FileSystem& fs, const std::string& installDir, std::string_view strColor,
                   std::int32_t lngSpot) {
    const std::string path = ExistingFilePath(fs, installDir, kTargetFileName);
    std::string image = ReadWholeFile(fs, path);
    PatchImage(image, strColor, lngSpot);
    WriteFileAtomically(fs, path, image);
}

}  // namespace huevane
