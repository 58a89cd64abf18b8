#include "core/file_ops.h"

#include <algorithm>

#include "core/run_error.h"

namespace huevane {
namespace {

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

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

std::string ReadWholeFile(FileSystem& fs, const std::string& path) {
    const std::unique_ptr<ReadableFile> file = fs.OpenRead(path);
    return file->ReadAll();
}

void WriteFileAtomically(FileSystem& fs, const std::string& destination, std::string_view bytes) {
    std::unique_ptr<NewFile> file = fs.CreateNewBeside(destination);
    const std::string newPath = file->path();
    try {
        file->Write(bytes);
        file->Flush();
        file.reset();  // Windows cannot rename a file that is still open.
        fs.Replace(newPath, destination);
    } catch (...) {
        file.reset();
        fs.Remove(newPath);
        throw;
    }
}

void CopyFileAtomically(FileSystem& fs, const std::string& source, const std::string& destination) {
    WriteFileAtomically(fs, destination, ReadWholeFile(fs, source));
}

}  // namespace huevane
