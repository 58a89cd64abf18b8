#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_system.h"

namespace huevane {

// The entry of dir named `name` regardless of ASCII letter case: the exact spelling when it
// exists, else the first match in byte order (see core/entry_choice.h). Only ASCII letters fold:
// the names looked for are the program's own (buddyui.ocm, aim.exe, BUIBackup.ocm), all ASCII,
// and Wine's case rule (client/file_name_case.h) folds no other character to an ASCII one, so
// for them the two agree. Raises error 76 for a missing dir.
// In a directory that may be entered but not listed, only the exact spelling is found; where
// that is not there either, the error is the directory's (70).
std::optional<std::string> FindEntryIgnoringCase(FileSystem& fs, const std::string& dir,
                                                 std::string_view name);

// The path of the existing file dir/name (any letter case); raises error 53 when there is none.
std::string ExistingFilePath(FileSystem& fs, const std::string& dir, std::string_view name);

// The path of dir/name under the spelling it already has, or as given when it does not exist.
std::string FilePathFor(FileSystem& fs, const std::string& dir, std::string_view name);

// Sees each chunk of a file on its way to the new copy, with the chunk's offset in the file.
using ChunkEditor = std::function<void(std::span<char> chunk, std::uint64_t offset)>;

// Looks, before anything is written, at the size of the bytes about to be written and at the
// file they will replace (nullopt when there is none yet); throws to stop the rewrite.
using RewriteCheck =
    std::function<void(std::uint64_t size, const std::optional<FileIdentity>& destination)>;

// Where a rewrite keeps a copy of the file as it was just before it changed it, and which of the
// two files a failure concerns.
struct BackupCopy {
    std::string path;
    bool failed = false;       // the error raised was the backup's
    bool fileChanged = false;  // ... and came after the file itself was replaced
};

// Streams the file at path into a new file beside it, passing every chunk through edit (when
// given), flushes it to disk and swaps it in. Symbolic links are followed: the file they point
// to is rewritten and the link stays. The file is locked against other writers from before it
// is read until it is replaced, and a file that another program changed meanwhile is left as
// that program wrote it (error 55). On any failure the file is as it was and the new file is
// gone. Streaming keeps memory flat whatever the file's size. A file that grows or shrinks
// while it is read raises error 57 with ErrorCause::kChangedWhileCopied.
//
// With backup, the same bytes that are read for the rewrite also go into a new file beside
// backup->path, which replaces the backup once the file itself has been replaced: the backup is
// the file exactly as this rewrite found it under the lock, and a rewrite that fails or is
// refused by check leaves the old backup untouched. The backup's own lock is taken after the
// file's.
//
// Once the lock is held, the new files that dead runs left beside the file are removed, but
// never a file that is one of keep or the backup (the other files of this run).
void RewriteInPlace(FileSystem& fs, const std::string& path, const ChunkEditor& edit = {},
                    const RewriteCheck& check = {}, const std::vector<std::string>& keep = {},
                    BackupCopy* backup = nullptr);

// Copies source over destination in the same way. Refuses (error 75) when both name one file.
// The source is never taken for a leftover.
void CopyFileAtomically(FileSystem& fs, const std::string& source, const std::string& destination,
                        const RewriteCheck& check = {}, const std::vector<std::string>& keep = {});

}  // namespace huevane
