#include "core/patch_writer.h"

#include <algorithm>

#include "core/catalogue.h"
#include "core/run_error.h"
#include "core/safe_rewrite.h"

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

std::optional<ColorPatch> PatchFor(std::int16_t version, std::int16_t property, Rgb colour) {
    const std::optional<std::uint32_t> offset = ColourOffset(version, property);
    if (!offset) {
        return std::nullopt;
    }
    return ColorPatch{ColourBytes(colour), static_cast<std::int32_t>(*offset + 1)};
}

void PatchColors(FileSystem& fs, const std::string& path, const std::vector<ColorPatch>& patches,
                 ColorFit fit, BackupCopy* backup) {
    const auto fits = [&](std::uint64_t size, const std::optional<FileIdentity>&) {
        std::uint64_t needed = 0;
        for (const ColorPatch& patch : patches) {
            if (patch.lngSpot < 1) {
                throw RunError(ErrorNumber::kInvalidArgument);
            }
            const std::uint64_t first = static_cast<std::uint64_t>(patch.lngSpot) - 1;
            needed = std::max(needed, first + (fit == ColorFit::kWholeColour
                                                   ? std::uint64_t{patch.strColor.size()}
                                                   : std::uint64_t{1}));
        }
        if (needed > size) {
            throw FileTooShort(size, needed);
        }
    };
    RewriteInPlace(
        fs, path,
        [&](std::span<char> chunk, std::uint64_t offset) {
            for (const ColorPatch& patch : patches) {
                PatchChunk(chunk, offset, patch.strColor, patch.lngSpot);
            }
        },
        fits, {}, backup);
}

void UpdateBuddyUi(FileSystem& fs, const std::string& installDir, std::string_view strColor,
                   std::int32_t lngSpot, BackupCopy* backup) {
    PatchColors(fs, ExistingFilePath(fs, installDir, kTargetFileName),
                {ColorPatch{std::string(strColor), lngSpot}}, ColorFit::kFirstByte, backup);
}

}  // namespace huevane
