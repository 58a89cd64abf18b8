// Feeds arbitrary bytes to the PE version reader. Besides what the sanitizers catch, a version
// once found must not change when more bytes follow: the reader looks only at what the headers
// point at, so bytes past everything it read cannot matter.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <vector>

#include "core/pe_version.h"

namespace {

using huevane::pe::ReadFileVersion;

void Check(bool holds, const char* promise) {
    if (!holds) {
        std::fprintf(stderr, "broken promise: %s\n", promise);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const unsigned char> image(data, size);
    const auto version = ReadFileVersion(image);
    Check(ReadFileVersion(image) == version, "the same bytes give the same answer");
    if (version) {
        std::vector<unsigned char> longer(image.begin(), image.end());
        longer.insert(longer.end(), 64, 0xFF);
        Check(ReadFileVersion(longer) == version, "trailing bytes change nothing");
    }
    return 0;
}
