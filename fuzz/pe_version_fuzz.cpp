// Feeds arbitrary bytes to the PE version reader. Besides what the sanitizers catch, a version
// once found must not change when more bytes follow: the reader looks only at what the headers
// point at, so bytes past everything it read cannot matter.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "formats/pe_version.h"
#include "tests/memory_file.h"

namespace {

using huevane::pe::FileVersion;

std::optional<FileVersion> ReadFileVersion(std::string_view bytes) {
    huevane::MemoryFile file(bytes);
    return huevane::pe::ReadFileVersion(file);
}

void Check(bool holds, const char* promise) {
    if (!holds) {
        std::fprintf(stderr, "broken promise: %s\n", promise);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view image(reinterpret_cast<const char*>(data), size);
    const auto version = ReadFileVersion(image);
    Check(ReadFileVersion(image) == version, "the same bytes give the same answer");
    if (version) {
        const std::string longer = std::string(image) + std::string(64, '\xFF');
        Check(ReadFileVersion(longer) == version, "trailing bytes change nothing");
    }
    return 0;
}
