#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace huevane {

// Which file a path names, and the state it was in: two paths name the same file when device
// and index agree; a file is unchanged while size and modification time agree too.
struct FileIdentity {
    std::uint64_t device = 0;  // device, or volume serial number on Windows
    std::uint64_t index = 0;   // inode, or file index on Windows
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // in the platform's finest unit

    bool SameFile(const FileIdentity& other) const {
        return device == other.device && index == other.index;
    }
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// An open regular file, read from the start.
class ReadableFile {
public:
    virtual ~ReadableFile() = default;
    virtual std::uint64_t Size() = 0;
    // The file as it was opened.
    virtual FileIdentity Identity() = 0;
    // Moves the read position to offset, counted from the start of the file.
    virtual void Seek(std::uint64_t offset) = 0;
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

// Keeps other writers of one file out until it is destroyed, or until the process dies.
class FileLock {
public:
    virtual ~FileLock() = default;
};

// The file operations the patcher needs. Each throws RunError when it fails; tests put a
// fault-injecting file system in front of the real one.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual std::string JoinPath(const std::string& dir, const std::string& name) const = 0;
    // Names of the entries of dir, without "." and ".."; error 76 when there is no such
    // directory, 70 when this user may not list it.
    virtual std::vector<std::string> ListDirectory(const std::string& dir) = 0;
    // Opens a regular file for reading; anything else (a FIFO, a device, a directory) raises
    // error 75 at once, without waiting for a writer.
    virtual std::unique_ptr<ReadableFile> OpenRead(const std::string& path) = 0;
    // The identity of the file path names, links followed; nullopt when there is none.
    virtual std::optional<FileIdentity> Identify(const std::string& path) = 0;
    // The path of the file that path names once its symbolic links are followed; path itself
    // where there are none to follow, or nothing there yet.
    virtual std::string ResolveLinks(const std::string& path) = 0;
    // Locks the existing regular file at path against the other writers of this program,
    // waiting a few seconds for one that holds it (then error 55). Raises error 70 when this
    // user may not write the file. nullptr when there is no file at path.
    virtual std::unique_ptr<FileLock> LockForWriting(const std::string& path) = 0;
    // Paths of what runs that died while rewriting destination may have left beside it: regular
    // files named as CreateNewBeside names them (see core/new_file_name.h) and, where files
    // have owners, owned by this user. Nothing else, whatever its name.
    virtual std::vector<std::string> FindLeftovers(const std::string& destination) = 0;
    // A new, empty file in the destination's directory, named as core/new_file_name.h says,
    // with the destination's permissions (and owner, where the process may set it).
    virtual std::unique_ptr<NewFile> CreateNewBeside(const std::string& destination) = 0;
    // Atomically puts the closed file at newPath in the destination's place. lock is the
    // destination's (or nullptr); it is let go once the new file is in place, or just before
    // where the platform cannot replace a file that is held open.
    virtual void Replace(const std::string& newPath, const std::string& destination,
                         std::unique_ptr<FileLock> lock) = 0;
    // Best-effort removal of a file this program created.
    virtual void Remove(const std::string& path) noexcept = 0;

    // notice runs, on the waiting thread, each time a step begins to wait for another program
    // to let go of a file, so that whoever started the step can say that it waits.
    virtual void SetWaitNotice(std::function<void()> notice) { waitNotice_ = std::move(notice); }

protected:
    void NoticeWait() const {
        if (waitNotice_) {
            waitNotice_();
        }
    }

private:
    std::function<void()> waitNotice_;
};

}  // namespace huevane
