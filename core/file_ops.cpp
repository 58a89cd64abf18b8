#include "core/file_ops.h"

#include <algorithm>
#include <vector>

#include "core/ascii_case.h"
#include "core/run_error.h"

namespace huevane {
namespace {

constexpr std::size_t kChunkSize = std::size_t{1} << 20;

}  // namespace

std::optional<std::string> FindEntryIgnoringCase(FileSystem& fs, const std::string& dir,
                                                 std::string_view name) {
    std::vector<std::string> entries = fs.ListDirectory(dir);
    std::sort(entries.begin(), entries.end());
    std::optional<std::string> found;
    for (const std::string& entry : entries) {
        if (entry == name) {
            return entry;
        }
        if (!found && EqualsIgnoringCase(entry, name)) {
            found = entry;
        }
    }
    return found;
}

std::string ExistingFilePath(FileSystem& fs, const std::string& dir, std::string_view name) {
    const std::optional<std::string> entry = FindEntryIgnoringCase(fs, dir, name);
    if (!entry) {
        throw RunError(ErrorNumber::kFileNotFound);
    }
    return fs.JoinPath(dir, *entry);
}

std::string FilePathFor(FileSystem& fs, const std::string& dir, std::string_view name) {
    const std::optional<std::string> entry = FindEntryIgnoringCase(fs, dir, name);
    return fs.JoinPath(dir, entry ? *entry : std::string(name));
}

void RewriteInPlace(FileSystem& fs, std::unique_ptr<ReadableFile> source,
                    const std::string& destination, const ChunkEditor& edit) {
    const std::uint64_t expectedSize = source->Size();
    std::unique_ptr<NewFile> copy = fs.CreateNewBeside(destination);
    const std::string newPath = copy->path();
    try {
        std::vector<char> buffer(kChunkSize);
        std::uint64_t offset = 0;
        while (const std::size_t count = source->Read(buffer)) {
            const std::span<char> chunk(buffer.data(), count);
            if (edit) {
                edit(chunk, offset);
            }
            copy->Write(std::string_view(chunk.data(), chunk.size()));
            offset += count;
        }
        if (offset != expectedSize) {
            throw RunError(ErrorNumber::kDeviceIo);  // someone changed the file while we read it
        }
        copy->Flush();
        // Windows renames neither an open file nor over one that is open without sharing.
        copy.reset();
        source.reset();
        fs.Replace(newPath, destination);
    } catch (...) {
        copy.reset();
        fs.Remove(newPath);
        throw;
    }
}

std::string ReadWholeFile(FileSystem& fs, const std::string& path) {
    const std::unique_ptr<ReadableFile> file = fs.OpenRead(path);
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(file->Size()));
    std::vector<char> buffer(kChunkSize);
    while (const std::size_t count = file->Read(buffer)) {
        bytes.append(buffer.data(), count);
    }
    return bytes;
}

void CopyFileAtomically(FileSystem& fs, const std::string& source, const std::string& destination) {
    RewriteInPlace(fs, fs.OpenRead(source), destination);
}

}  // namespace huevane
