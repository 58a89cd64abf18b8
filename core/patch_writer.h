#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/colour.h"
#include "core/file_system.h"
#include "core/run_error.h"
#include "core/safe_rewrite.h"

namespace huevane {

// The client's module file, found in the install directory whatever its letter case.
inline constexpr std::string_view kTargetFileName = "buddyui.ocm";

// Puts the bytes of strColor that fall inside chunk, a piece of the file starting at file
// offset chunkOffset, where the 1-based position lngSpot puts them.
void PatchChunk(std::span<char> chunk, std::uint64_t chunkOffset, std::string_view strColor,
                std::int32_t lngSpot);

// Rewrites buddyui.ocm in installDir with strColor at the 1-based position lngSpot; bytes that
// would fall past the end are dropped. Raises error 5 when lngSpot is not inside the file. The
// file is replaced in one atomic step, so on any error it stays exactly as it was. With backup,
// the file as it was just before goes there too (see PatchColors).
void UpdateBuddyUi(FileSystem& fs, const std::string& installDir, std::string_view strColor,
                   std::int32_t lngSpot, BackupCopy* backup = nullptr);

// One colour to write: the three bytes and their 1-based position.
struct ColorPatch {
    std::string strColor;
    std::int32_t lngSpot;
};

// The patch that writes colour into the place of property on the build of version; nullopt
// when that build has no such colour (or either index is outside its list).
std::optional<ColorPatch> PatchFor(std::int16_t version, std::int16_t property, Rgb colour);

// How much of each colour must lie inside the file.
enum class ColorFit {
    kFirstByte,    // bytes past the end are dropped, as the window program has always done
    kWholeColour,  // all or nothing
};

// Error 5 for a colour that does not fit in the file, with the sizes that tell why.
class FileTooShort : public RunError {
public:
    FileTooShort(std::uint64_t size, std::uint64_t needed) noexcept
        : RunError(ErrorNumber::kInvalidArgument), size_(size), needed_(needed) {}
    std::uint64_t size() const noexcept { return size_; }
    std::uint64_t needed() const noexcept { return needed_; }

private:
    std::uint64_t size_;
    std::uint64_t needed_;
};

// Writes every patch into the file at path in one atomic replacement: all of them or, on any
// error, none. Raises FileTooShort when a colour does not fit as fit asks, and error 5 for a
// position before the start of the file. With backup, the file as it was just before the
// patches goes there, as RewriteInPlace says; a refused or failed patch leaves it as it was.
void PatchColors(FileSystem& fs, const std::string& path, const std::vector<ColorPatch>& patches,
                 ColorFit fit = ColorFit::kFirstByte, BackupCopy* backup = nullptr);

}  // namespace huevane
