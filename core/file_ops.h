#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/file_system.h"

namespace huevane {

// The entry of dir named `name` regardless of letter case: the exact spelling when it exists,
// else the first case-insensitive match in sorted order. Raises error 76 for a missing dir.
std::optional<std::string> FindEntryIgnoringCase(FileSystem& fs, const std::string& dir,
                                                 std::string_view name);

// The path of the existing file dir/name (any letter case); raises error 53 when there is none.
std::string ExistingFilePath(FileSystem& fs, const std::string& dir, std::string_view name);

// The path of dir/name under the spelling it already has, or as given when it does not exist.
std::string FilePathFor(FileSystem& fs, const std::string& dir, std::string_view name);

// Sees each chunk of a file on its way to the new copy, with the chunk's offset in the file.
using ChunkEditor = std::function<void(std::span<char> chunk, std::uint64_t offset)>;

// Streams source into a new file beside destination, passing every chunk through edit (when
// given), flushes it to disk and swaps it in. On any failure the destination is as it was and
// the new file is gone. Streaming keeps memory flat whatever the file's size.
void RewriteInPlace(FileSystem& fs, std::unique_ptr<ReadableFile> source,
                    const std::string& destination, const ChunkEditor& edit = {});

// The whole content of a file; for reading, not for rewriting.
std::string ReadWholeFile(FileSystem& fs, const std::string& path);

// Copies source over destination with RewriteInPlace.
void CopyFileAtomically(FileSystem& fs, const std::string& source, const std::string& destination);

}  // namespace huevane
