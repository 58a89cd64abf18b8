#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace huevane {

// An open file, read once from the start.
class ReadableFile {
public:
    virtual ~ReadableFile() = default;
    virtual std::uint64_t Size() = 0;
    // Reads the next bytes into buffer and returns how many; 0 at the end of the file.
    virtual std::size_t Read(std::span<char> buffer) = 0;
};

// A new file created beside the file it will replace. Destroying it closes the handle but
// leaves the file on disk: whoever created it replaces the destination with it or removes it.
class NewFile {
public:
    virtual ~NewFile() = default;
    virtual const std::string& path() const = 0;
    virtual void Write(std::string_view bytes) = 0;
    // Pushes the written bytes to the disk.
    virtual void Flush() = 0;
};

// The file operations the patcher needs. Each throws RunError when it fails; tests put a
// fault-injecting file system in front of the real one.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual std::string JoinPath(const std::string& dir, const std::string& name) const = 0;
    // Names of the entries of dir, without "." and "..".
    virtual std::vector<std::string> ListDirectory(const std::string& dir) = 0;
    virtual std::unique_ptr<ReadableFile> OpenRead(const std::string& path) = 0;
    // A new, empty file with a unique name in the destination's directory.
    virtual std::unique_ptr<NewFile> CreateNewBeside(const std::string& destination) = 0;
    // Atomically puts the closed file at newPath in the destination's place.
    virtual void Replace(const std::string& newPath, const std::string& destination) = 0;
    // Best-effort removal of a file this program created.
    virtual void Remove(const std::string& path) noexcept = 0;
};

}  // namespace huevane
