#include "cli/read_bytes.h"

#include <span>

namespace huevane::cli {

std::string ReadBytesAt(ReadableFile& file, std::uint64_t offset, std::size_t count) {
    std::string bytes(count, '\0');
    file.Seek(offset);
    std::size_t got = 0;
    while (got < count) {
        const std::size_t n = file.Read(std::span<char>(bytes.data() + got, count - got));
        if (n == 0) {
            break;
        }
        got += n;
    }
    bytes.resize(got);
    return bytes;
}

}  // namespace huevane::cli
