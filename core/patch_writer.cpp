#include "core/patch_writer.h"

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

void UpdateBuddyUi(FileSystem& fs, const std::string& installDir, std::string_view strColor,
                   std::int32_t lngSpot) {
    const std::string path = ExistingFilePath(fs, installDir, kTargetFileName);
    std::unique_ptr<ReadableFile> source = fs.OpenRead(path);
    if (lngSpot < 1 || static_cast<std::uint64_t>(lngSpot) > source->Size()) {
        throw RunError(ErrorNumber::kInvalidArgument);
    }
    RewriteInPlace(fs, std::move(source), path, [&](std::span<char> chunk, std::uint64_t offset) {
        PatchChunk(chunk, offset, strColor, lngSpot);
    });
}

}  // namespace huevane
