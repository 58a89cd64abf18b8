// POSIX file operations: new files are fsync'ed, renamed over the target, and the directory is
// fsync'ed so the rename survives a power loss.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "core/run_error.h"
#include "platform/native_file_system.h"

namespace huevane::platform {
namespace {

RunError ErrorFromErrno(int err) {
    switch (err) {
        case ENOENT:
            return RunError(ErrorNumber::kFileNotFound);
        case ENOTDIR:
            return RunError(ErrorNumber::kPathNotFound);
        case EACCES:
        case EPERM:
        case EROFS:
            return RunError(ErrorNumber::kPermissionDenied);
        case ENOSPC:
        case EDQUOT:
            return RunError(ErrorNumber::kDiskFull);
        case EISDIR:
            return RunError(ErrorNumber::kPathFileAccess);
        case ENAMETOOLONG:
            return RunError(ErrorNumber::kBadFileName);
        default:
            return RunError(ErrorNumber::kDeviceIo);
    }
}

[[noreturn]] void ThrowLastError() {
    throw ErrorFromErrno(errno);
}

class Descriptor {
public:
    explicit Descriptor(int fd) noexcept : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const noexcept { return fd_; }

private:
    int fd_;
};

std::string DirectoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

class PosixReadableFile final : public ReadableFile {
public:
    explicit PosixReadableFile(int fd) noexcept : fd_(fd) {}

    std::uint64_t Size() override {
        struct stat st {};
        if (::fstat(fd_.get(), &st) != 0) {
            ThrowLastError();
        }
        return static_cast<std::uint64_t>(st.st_size);
    }

    std::size_t Read(std::span<char> buffer) override {
        for (;;) {
            const ssize_t n = ::read(fd_.get(), buffer.data(), buffer.size());
            if (n >= 0) {
                return static_cast<std::size_t>(n);
            }
            if (errno != EINTR) {
                ThrowLastError();
            }
        }
    }

private:
    Descriptor fd_;
};

class PosixNewFile final : public NewFile {
public:
    PosixNewFile(int fd, std::string&& path) : fd_(fd), path_(std::move(path)) {}

    const std::string& path() const override { return path_; }

    void Write(std::string_view bytes) override {
        while (!bytes.empty()) {
            const ssize_t n = ::write(fd_.get(), bytes.data(), bytes.size());
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0) {
                ThrowLastError();
            }
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
    }

    void Flush() override {
        if (::fsync(fd_.get()) != 0) {
            ThrowLastError();
        }
    }

private:
    Descriptor fd_;
    std::string path_;
};

class PosixFileSystem final : public FileSystem {
public:
    std::string JoinPath(const std::string& dir, const std::string& name) const override {
        if (!dir.empty() && dir.back() == '/') {
            return dir + name;
        }
        return dir + "/" + name;
    }

    std::vector<std::string> ListDirectory(const std::string& dir) override {
        DIR* handle = ::opendir(dir.c_str());
        if (handle == nullptr) {
            throw RunError(ErrorNumber::kPathNotFound);
        }
        std::vector<std::string> names;
        while (const dirent* entry = ::readdir(handle)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") {
                names.push_back(name);
            }
        }
        ::closedir(handle);
        return names;
    }

    std::unique_ptr<ReadableFile> OpenRead(const std::string& path) override {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            ThrowLastError();
        }
        auto file = std::make_unique<PosixReadableFile>(fd);
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            throw RunError(ErrorNumber::kPathFileAccess);
        }
        return file;
    }

    std::unique_ptr<NewFile> CreateNewBeside(const std::string& destination) override {
        std::string pattern =
            JoinPath(DirectoryOf(destination), "." + NameOf(destination) + ".XXXXXX");
        const int fd = ::mkstemp(pattern.data());
        if (fd < 0) {
            ThrowLastError();
        }
        auto file = std::make_unique<PosixNewFile>(fd, std::string(pattern));
        // The replacement keeps the permissions the destination had.
        struct stat st {};
        if (::stat(destination.c_str(), &st) == 0) {
            if (::fchmod(fd, st.st_mode & 07777) != 0) {
                const int err = errno;
                file.reset();
                ::unlink(pattern.c_str());
                throw ErrorFromErrno(err);
            }
        }
        return file;
    }

    void Replace(const std::string& newPath, const std::string& destination) override {
        // rename() would happily replace a file without write permission (and root ignores
        // permissions altogether), so a read-only destination is refused here, as on Windows.
        struct stat st {};
        if (::stat(destination.c_str(), &st) == 0 &&
            (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
            throw RunError(ErrorNumber::kPermissionDenied);
        }
        if (::rename(newPath.c_str(), destination.c_str()) != 0) {
            ThrowLastError();
        }
        const Descriptor dir(
            ::open(DirectoryOf(destination).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (dir.get() >= 0) {
            ::fsync(dir.get());  // the rename has happened; a failed directory sync cannot undo it
        }
    }

    void Remove(const std::string& path) noexcept override { ::unlink(path.c_str()); }
};

}  // namespace

std::unique_ptr<FileSystem> MakeNativeFileSystem() {
    return std::make_unique<PosixFileSystem>();
}

}  // namespace huevane::platform
