#pragma once

#include <optional>
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

std::string ReadWholeFile(FileSystem& fs, const std::string& path);

// Writes a new file beside destination, flushes it and swaps it in; on any failure the
// destination is as it was and the new file is gone.
void WriteFileAtomically(FileSystem& fs, const std::string& destination, std::string_view bytes);

// Copies source over destination with WriteFileAtomically.
void CopyFileAtomically(FileSystem& fs, const std::string& source, const std::string& destination);

}  // namespace huevane
