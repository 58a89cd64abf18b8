// POSIX file operations: new files are fsync'ed, renamed over the target, and the directory is
// fsync'ed so the rename survives a power loss. Writers lock the target with an open file
// description lock (fcntl), which Wine's own file locks also honour, and which the kernel lets
// go when the process dies.
#include <dirent.h>
#include <pthread.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "core/new_file_name.h"
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
        case ENXIO:  // a socket, or a device with nothing behind it
            return RunError(ErrorNumber::kPathFileAccess);
        case ENAMETOOLONG:
            return RunError(ErrorNumber::kBadFileName);
        default:
            return {ErrorNumber::kDeviceIo, std::strerror(err)};  // in the system's words
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
    int release() noexcept { return std::exchange(fd_, -1); }

private:
    int fd_;
};

// How long a writer waits for another one to finish with the file before giving up.
constexpr auto kLockWait = std::chrono::seconds(10);
constexpr auto kLockPoll = std::chrono::milliseconds(50);

// How many links ResolveLinks follows in a row before it takes them for a loop, as the kernel.
constexpr int kMaxLinks = 40;

// The signals that end huevane-cli, and after which it removes its new files.
constexpr std::array<int, 3> kFatalSignals = {SIGINT, SIGTERM, SIGHUP};

sigset_t FatalSignals() {
    sigset_t fatal;
    sigemptyset(&fatal);
    for (const int signalNumber : kFatalSignals) {
        sigaddset(&fatal, signalNumber);
    }
    return fatal;
}

// Keeps the fatal signals away from this thread while it lives.
class FatalSignalsBlocked {
public:
    FatalSignalsBlocked() noexcept {
        const sigset_t fatal = FatalSignals();
        ::pthread_sigmask(SIG_BLOCK, &fatal, &before_);
    }
    FatalSignalsBlocked(const FatalSignalsBlocked&) = delete;
    FatalSignalsBlocked& operator=(const FatalSignalsBlocked&) = delete;
    ~FatalSignalsBlocked() { ::pthread_sigmask(SIG_SETMASK, &before_, nullptr); }

private:
    sigset_t before_{};
};

// What the signal handler needs to know: the new files being written, and whether a file has
// been replaced yet. It changes with the fatal signals blocked, so that the handler of
// huevane-cli, which has one thread, never finds it half changed: creating a new file and
// noting it are one step, and so are replacing a file and forgetting its new file. The mutex
// is for programs that write on several threads.
class InterruptState {
public:
    // From now on, until a file is replaced, an interrupt ends the run with notice.
    void Start(std::string_view notice) {
        const FatalSignalsBlocked blocked;
        notice_ = notice;
        replaced_ = 0;
    }

    // mkstemp(pattern), noting the file it makes; raises RunError where it makes none.
    int Create(std::string& pattern) {
        const FatalSignalsBlocked blocked;
        const std::lock_guard<std::mutex> held(mutex_);
        // Memory first, so that the file, once made, is noted.
        paths_.reserve(paths_.size() + 1);
        std::string noted = pattern;
        const int fd = ::mkstemp(pattern.data());
        if (fd < 0) {
            ThrowLastError();
        }
        noted.assign(pattern);
        paths_.push_back(std::move(noted));
        return fd;
    }

    // rename(from, to); from is then no new file any more, and a signal lets the run finish.
    bool Rename(const std::string& from, const std::string& to) {
        const FatalSignalsBlocked blocked;
        const std::lock_guard<std::mutex> held(mutex_);
        if (::rename(from.c_str(), to.c_str()) != 0) {
            return false;
        }
        std::erase(paths_, from);
        replaced_ = 1;
        return true;
    }

    void Remove(const std::string& path) noexcept {
        const FatalSignalsBlocked blocked;
        const std::lock_guard<std::mutex> held(mutex_);
        ::unlink(path.c_str());
        std::erase(paths_, path);
    }

    // In the signal handler. Before anything is replaced: removes the new files, says so and
    // ends the process by the signal. After that the run goes on to its end, to finish what it
    // began.
    void Interrupt(int signalNumber) noexcept {
        if (replaced_ != 0) {
            return;
        }
        for (const std::string& path : paths_) {
            ::unlink(path.c_str());
        }
        [[maybe_unused]] const ssize_t written =
            ::write(STDERR_FILENO, notice_.data(), notice_.size());
        ::signal(signalNumber, SIG_DFL);
        ::raise(signalNumber);  // delivered once the handler returns
    }

private:
    std::mutex mutex_;
    std::vector<std::string> paths_;
    volatile std::sig_atomic_t replaced_ = 0;
    std::string notice_;
};

// Never destroyed: a signal may come while the process exits.
InterruptState& g_interrupt = *new InterruptState;

extern "C" void EndOnSignal(int signalNumber) {
    g_interrupt.Interrupt(signalNumber);
}

FileIdentity IdentityOf(const struct stat& st) {
#ifdef __APPLE__
    const struct timespec& modified = st.st_mtimespec;
#else
    const struct timespec& modified = st.st_mtim;
#endif
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
            static_cast<std::uint64_t>(st.st_size),
            static_cast<std::int64_t>(modified.tv_sec) * 1000000000 + modified.tv_nsec};
}

// Takes the writers' lock on fd without waiting; false when another holds it.
bool TryLock(int fd) {
#ifdef F_OFD_SETLK
    struct flock range {};
    range.l_type = F_WRLCK;
    range.l_whence = SEEK_SET;  // from the start to the end, however long the file grows
    if (::fcntl(fd, F_OFD_SETLK, &range) == 0) {
        return true;
    }
#else
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        return true;
    }
#endif
    if (errno == EAGAIN || errno == EACCES || errno == EWOULDBLOCK) {
        return false;
    }
    ThrowLastError();
}

class PosixFileLock final : public FileLock {
public:
    explicit PosixFileLock(int fd) noexcept : fd_(fd) {}

private:
    Descriptor fd_;  // closing it lets go of the lock
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

    std::uint64_t Size() override { return Identity().size; }

    FileIdentity Identity() override {
        struct stat st {};
        if (::fstat(fd_.get(), &st) != 0) {
            ThrowLastError();
        }
        return IdentityOf(st);
    }

    void Seek(std::uint64_t offset) override {
        if (::lseek(fd_.get(), static_cast<off_t>(offset), SEEK_SET) < 0) {
            ThrowLastError();
        }
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
            if (errno == ENOENT || errno == ENOTDIR) {
                throw RunError(ErrorNumber::kPathNotFound);
            }
            ThrowLastError();
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
        // Non-blocking, so that a FIFO cannot keep open() waiting for a writer.
        const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) {
            ThrowLastError();
        }
        auto file = std::make_unique<PosixReadableFile>(fd);
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            throw RunError(ErrorNumber::kPathFileAccess);
        }
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        return file;
    }

    std::optional<FileIdentity> Identify(const std::string& path) override {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0) {
            if (errno == ENOENT || errno == ENOTDIR) {
                return std::nullopt;
            }
            ThrowLastError();
        }
        return IdentityOf(st);
    }

    // Follows the links of the last component one at a time, each relative to the directory it
    // is in, as the kernel does: a link to a file not made yet leads to where it will be made,
    // and no path grows longer than it has to (realpath() gives up on a directory deeper than
    // PATH_MAX). A link that cannot be followed is an error, never taken for a file.
    std::string ResolveLinks(const std::string& path) override {
        std::string current = path;
        for (int hops = 0; hops <= kMaxLinks; ++hops) {
            struct stat st {};
            if (::lstat(current.c_str(), &st) != 0) {
                if (errno == ENOENT || errno == ENOTDIR) {
                    return current;  // nothing there yet
                }
                if (errno == ENAMETOOLONG && hops > 0) {
                    throw RunError(ErrorNumber::kBadFileName, ErrorCause::kLinkTooLong);
                }
                ThrowLastError();
            }
            if (!S_ISLNK(st.st_mode)) {
                return current;
            }
            std::string target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1,
                               '\0');
            const ssize_t length = ::readlink(current.c_str(), target.data(), target.size());
            if (length < 0) {
                ThrowLastError();
            }
            if (static_cast<std::size_t>(length) >= target.size()) {
                continue;  // the link changed meanwhile: read it again
            }
            target.resize(static_cast<std::size_t>(length));
            current = target.front() == '/' ? target : JoinPath(DirectoryOf(current), target);
        }
        throw ErrorFromErrno(ELOOP);
    }

    std::unique_ptr<FileLock> LockForWriting(const std::string& path) override {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0) {
            if (errno == ENOENT) {
                return nullptr;
            }
            ThrowLastError();
        }
        if (!S_ISREG(st.st_mode)) {
            throw RunError(ErrorNumber::kPathFileAccess);  // never open a FIFO or a device
        }
        if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
            // Replace() refuses it, root or not: say so before anything is written.
            throw RunError(ErrorNumber::kPermissionDenied);
        }
        const auto deadline = std::chrono::steady_clock::now() + kLockWait;
        bool noticed = false;
        for (;;) {
            // Opening for writing asks the system whether this user may write the file, with
            // the rights it would apply to a direct write; rename() would only ask about the
            // directory.
            Descriptor fd(::open(path.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
            if (fd.get() < 0) {
                if (errno == ENOENT) {
                    return nullptr;
                }
                ThrowLastError();
            }
            struct stat held {};
            if (::fstat(fd.get(), &held) != 0 || !S_ISREG(held.st_mode)) {
                throw RunError(ErrorNumber::kPathFileAccess);
            }
            if (TryLock(fd.get())) {
                // The writer we waited for has put a new file in place: lock that one instead.
                struct stat now {};
                if (::stat(path.c_str(), &now) == 0 && now.st_dev == held.st_dev &&
                    now.st_ino == held.st_ino) {
                    return std::make_unique<PosixFileLock>(fd.release());
                }
                continue;
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                throw RunError(ErrorNumber::kFileAlreadyOpen);
            }
            if (!noticed) {
                noticed = true;
                NoticeWait();
            }
            std::this_thread::sleep_for(kLockPoll);
        }
    }

    std::vector<std::string> FindLeftovers(const std::string& destination) override {
        const std::string dir = DirectoryOf(destination);
        const std::string name = NameOf(destination);
        std::vector<std::string> found;
        DIR* handle = ::opendir(dir.c_str());
        if (handle == nullptr) {
            return found;
        }
        while (const dirent* entry = ::readdir(handle)) {
            struct stat st {};
            if (IsNewFileName(entry->d_name, name, false) &&
                ::fstatat(::dirfd(handle), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
                S_ISREG(st.st_mode) && st.st_uid == ::geteuid()) {
                found.push_back(JoinPath(dir, entry->d_name));
            }
        }
        ::closedir(handle);
        return found;
    }

    std::unique_ptr<NewFile> CreateNewBeside(const std::string& destination) override {
        std::string pattern =
            JoinPath(DirectoryOf(destination),
                     NewFileStem(NameOf(destination)) + std::string(kNewFileUniqueLetters, 'X'));
        const int fd = g_interrupt.Create(pattern);
        auto file = std::make_unique<PosixNewFile>(fd, std::string(pattern));
        // The replacement keeps the destination's permissions, and its owner and group as far
        // as this process may give them away (root may, others only to a group of their own).
        struct stat st {};
        if (::stat(destination.c_str(), &st) == 0) {
            if (::fchown(fd, st.st_uid, st.st_gid) != 0) {
                [[maybe_unused]] const int ignored =
                    ::fchown(fd, static_cast<uid_t>(-1), st.st_gid);
            }
            if (::fchmod(fd, st.st_mode & 07777) != 0) {
                const int chmodError = errno;
                file.reset();
                Remove(pattern);
                throw ErrorFromErrno(chmodError);
            }
        }
        return file;
    }

    void Replace(const std::string& newPath, const std::string& destination,
                 std::unique_ptr<FileLock> lock) override {
        // Even root may not replace a file that nobody may write, as on Windows.
        struct stat st {};
        if (::stat(destination.c_str(), &st) == 0 &&
            (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
            throw RunError(ErrorNumber::kPermissionDenied);
        }
        if (!g_interrupt.Rename(newPath, destination)) {
            ThrowLastError();
        }
        const Descriptor dir(
            ::open(DirectoryOf(destination).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (dir.get() >= 0) {
            ::fsync(dir.get());  // the rename has happened; a failed directory sync cannot undo it
        }
        lock.reset();  // only now may the next writer read the file
    }

    void Remove(const std::string& path) noexcept override { g_interrupt.Remove(path); }
};

}  // namespace

std::unique_ptr<FileSystem> MakeNativeFileSystem() {
    return std::make_unique<PosixFileSystem>();
}

void StopOnInterrupt(std::string_view notice) {
    g_interrupt.Start(notice);
    for (const int signalNumber : kFatalSignals) {
        struct sigaction action {};
        ::sigaction(signalNumber, nullptr, &action);
        if (action.sa_handler == SIG_IGN) {
            continue;  // started under nohup, or in the background of a shell without job control
        }
        action = {};
        action.sa_handler = EndOnSignal;
        action.sa_mask = FatalSignals();
        action.sa_flags = SA_RESTART;  // a signal let pass breaks off no read or write
        ::sigaction(signalNumber, &action, nullptr);
    }
}

}  // namespace huevane::platform
