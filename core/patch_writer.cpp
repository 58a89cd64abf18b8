#include "core/patch_writer.h"

#include <algorithm>

#include "core/file_ops.h"
#include "core/run_error.h"

namespace huevane {

void PatchChunk(std::span<char> chunk, std::uint64_t chunkOffset, std::string_view strColor,
                std::int32_t lngSpot) {
    if (lngSpot < 1) {
        return;
    }
    const std::uint64_t first = static_cast<std::uint64_t>(lngSpot) - 1;
    for (std::size_t i = 0; i < strColor.size(); ++i) {
        const std::uint64_t at = first + i;
        if (at >= chunkOffset && at - chunkOffset < chunk.size()) {
            chunk[static_cast<std::size_t>(at - chunkOffset)] = strColor[i];
        }
    }
}

void PatchColors(FileSystem& fs, const std::string& path, const std::vector<ColorPatch>& patches) {
    std::unique_ptr<ReadableFile> source = fs.OpenRead(path);
    const std::uint64_t size = source->Size();
    const bool outside = std::any_of(patches.begin(), patches.end(), [size](const ColorPatch& p) {
        return p.lngSpot < 1 || static_cast<std::uint64_t>(p.lngSpot) > size;
    });
    if (outside) {
        throw RunError(ErrorNumber::kInvalidArgument);
    }
    RewriteInPlace(fs, std::move(source), path, [&](std::span<char> chunk, std::uint64_t offset) {
        for (const ColorPatch& patch : patches) {
            PatchChunk(chunk, offset, patch.strColor, patch.lngSpot);
        }
    });
}

void UpdateBuddyUi(FileSystem& fs, const std::string& installDir, std::string_view strColor,
                   std::int32_t lngSpot) {
    PatchColors(fs, ExistingFilePath(fs, installDir, kTargetFileName),
                {ColorPatch{std::string(strColor), lngSpot}});
}

}  // namespace huevane
