#pragma once

#include <cstdint>
#include <string>

#include "core/file_system.h"

namespace huevane::cli {

// Up to count bytes of file from offset on; fewer where the file ends.
std::string ReadBytesAt(ReadableFile& file, std::uint64_t offset, std::size_t count);

}  // namespace huevane::cli
