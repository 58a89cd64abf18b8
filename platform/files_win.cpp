// Win32 file operations: new files are flushed with FlushFileBuffers and swapped in with
// MoveFileEx(MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH). Writers lock one byte far past
// the end of the target with LockFileEx, so readers are never in the way, and the system lets go
// of the lock when the process dies.
#include <windows.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/new_file_name.h"
#include "core/run_error.h"
#include "platform/final_path_win.h"
#include "platform/native_file_system.h"
#include "platform/win_text.h"

namespace huevane::platform {
namespace {

// Virus scanners and indexers hold files open briefly; a file still busy after this is in use.
constexpr int kBusyRetries = 5;
constexpr DWORD kBusyRetryDelayMs = 50;

// The run-time error nearest to a Windows error code. Codes without a match are device errors;
// SystemErrorText() gives the system's own words for them.
RunError ErrorFromWin32(DWORD code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
            return RunError(ErrorNumber::kFileNotFound);
        case ERROR_PATH_NOT_FOUND:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
        case ERROR_INVALID_DRIVE:
        case ERROR_DIRECTORY:
            return RunError(ErrorNumber::kPathNotFound);
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            // Another program has the file open without sharing it: in use, not forbidden.
            return RunError(ErrorNumber::kFileAlreadyOpen);
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
        case ERROR_USER_MAPPED_FILE:
            return RunError(ErrorNumber::kPermissionDenied);
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return RunError(ErrorNumber::kDiskFull);
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_FILENAME_EXCED_RANGE:
            return RunError(ErrorNumber::kBadFileName);
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
        case ERROR_CANT_ACCESS_FILE:
        case ERROR_CANT_RESOLVE_FILENAME:
            return RunError(ErrorNumber::kPathFileAccess);
        default:
            // No number of ours says it: the system's own words, never a wrong one.
            return RunError(ErrorNumber::kDeviceIo, SystemErrorText(code));
    }
}

[[noreturn]] void ThrowLastError() {
    throw ErrorFromWin32(GetLastError());
}

// path for the wide file functions; a device such as NUL or COM1 is no file to read or replace,
// and is refused before the system is asked about it.
std::wstring FilePath(const std::string& path) {
    if (NamesDevice(path)) {
        throw RunError(ErrorNumber::kPathFileAccess);
    }
    return WidePath(path);
}

bool IsBusy(DWORD code) {
    return code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION;
}

// Runs attempt() until it succeeds or fails for a reason other than a busy file, or until the
// retries are used up. attempt() returns false with GetLastError() set on failure.
template <typename Attempt>
bool RetryWhileBusy(Attempt attempt, bool retryAccessDenied) {
    for (int tries = 0;; ++tries) {
        if (attempt()) {
            return true;
        }
        const DWORD code = GetLastError();
        const bool busy = IsBusy(code) || (retryAccessDenied && code == ERROR_ACCESS_DENIED);
        if (!busy || tries == kBusyRetries) {
            SetLastError(code);
            return false;
        }
        Sleep(kBusyRetryDelayMs);
    }
}

// How long a writer waits for another one to finish with the file, polling at this interval.
constexpr DWORD kLockWaitMs = 10000;
constexpr DWORD kLockPollMs = 50;

// The byte the writers lock: far past the end of any real file, so that the lock keeps out
// other writers and never stands in the way of reading.
constexpr DWORD kLockOffsetHigh = 0x40000000;

// Attributes the replacement takes over from the file it replaces.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// What the console control handler, which runs on a thread of its own, needs to know: the new
// files being written, and whether a file has been replaced yet. Its lock makes creating a new
// file and noting it one step, and replacing a file and forgetting its new file another; the
// handler takes the lock for good before it ends the process, so that nothing is created or
// replaced behind its back, and it allocates nothing.
class InterruptState {
public:
    InterruptState() noexcept { InitializeCriticalSection(&lock_); }
    InterruptState(const InterruptState&) = delete;
    InterruptState& operator=(const InterruptState&) = delete;

    // From now on, until a file is replaced, an interrupt ends the run with notice.
    void Start(std::string_view notice) {
        const Held held(lock_);
        replaced_ = false;
        console_ = Wide(notice);
        bytes_.clear();
        for (const char c : notice) {
            if (c == '\n') {
                bytes_ += '\r';
            }
            bytes_ += c;
        }
    }

    // Runs create(path), which returns a handle or INVALID_HANDLE_VALUE, and notes the file it
    // made.
    template <typename Make>
    HANDLE Create(std::wstring path, const Make& create) {
        const Held held(lock_);
        paths_.reserve(paths_.size() + 1);  // so that the file, once made, is noted
        const HANDLE h = create(path);
        if (h != INVALID_HANDLE_VALUE) {
            paths_.push_back(std::move(path));
        }
        return h;
    }

    // Puts from in to's place, or returns false with the last error set. from is then no new
    // file any more, and an interrupt lets the run finish.
    bool Replace(const std::wstring& from, const std::wstring& to) {
        const Held held(lock_);
        if (!MoveFileExW(from.c_str(), to.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return false;
        }
        std::erase(paths_, from);
        replaced_ = true;
        return true;
    }

    void Remove(const std::wstring& path) noexcept {
        const Held held(lock_);
        DeleteFileW(path.c_str());
        std::erase(paths_, path);
    }

    // Before anything is replaced: removes the new files, says so and ends the process as an
    // interrupt ends it. After that the run goes on to its end, to finish what it began.
    BOOL Interrupt() noexcept {
        EnterCriticalSection(&lock_);
        if (replaced_) {
            LeaveCriticalSection(&lock_);
            return TRUE;
        }
        for (const std::wstring& path : paths_) {
            // Open with delete sharing: it goes when the ending process closes it.
            DeleteFileW(path.c_str());
        }
        const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
        DWORD mode = 0;
        DWORD written = 0;
        if (GetConsoleMode(err, &mode)) {
            WriteConsoleW(err, console_.data(), static_cast<DWORD>(console_.size()), &written,
                          nullptr);
        } else {
            WriteFile(err, bytes_.data(), static_cast<DWORD>(bytes_.size()), &written, nullptr);
        }
        // Not ExitProcess: the main thread may be stopped anywhere, holding any lock.
        TerminateProcess(GetCurrentProcess(), STATUS_CONTROL_C_EXIT);
        return TRUE;
    }

private:
    class Held {
    public:
        explicit Held(CRITICAL_SECTION& lock) noexcept : lock_(lock) {
            EnterCriticalSection(&lock_);
        }
        Held(const Held&) = delete;
        Held& operator=(const Held&) = delete;
        ~Held() { LeaveCriticalSection(&lock_); }

    private:
        CRITICAL_SECTION& lock_;
    };

    CRITICAL_SECTION lock_;
    std::vector<std::wstring> paths_;
    bool replaced_ = false;
    std::wstring console_;  // the notice for a console
    std::string bytes_;     // for a file or a pipe: UTF-8 with CRLF, as huevane-cli writes
};

// Never destroyed: an interrupt may come while the process exits.
InterruptState& g_interrupt = *new InterruptState;

BOOL WINAPI EndOnConsoleEvent(DWORD /*event*/) {
    return g_interrupt.Interrupt();
}

class Handle {
public:
    explicit Handle(HANDLE h) noexcept : h_(h) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() {
        if (h_ != INVALID_HANDLE_VALUE) {
            CloseHandle(h_);
        }
    }
    HANDLE get() const noexcept { return h_; }
    HANDLE release() noexcept { return std::exchange(h_, INVALID_HANDLE_VALUE); }

private:
    HANDLE h_;
};

FileIdentity IdentityOf(const BY_HANDLE_FILE_INFORMATION& info) {
    return {info.dwVolumeSerialNumber,
            (std::uint64_t{info.nFileIndexHigh} << 32U) | info.nFileIndexLow,
            (std::uint64_t{info.nFileSizeHigh} << 32U) | info.nFileSizeLow,
            static_cast<std::int64_t>((std::uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32U) |
                                      info.ftLastWriteTime.dwLowDateTime)};
}

FileIdentity IdentityOfHandle(HANDLE h) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(h, &info)) {
        ThrowLastError();
    }
    return IdentityOf(info);
}

// The writers of one file also hold a named mutex, whose name comes from the file's full path:
// Windows replaces no file that is held open, so the file's own lock has to go just before the
// replace, and the mutex keeps this program's other writers (and their clean-up of leftover new
// files) out of that gap. The system releases it if the holder dies.
class WritersMutex {
public:
    // Waits up to timeoutMs for the mutex of path, calling onWait first when it has to; error 55
    // when another writer keeps it.
    WritersMutex(const std::string& path, DWORD timeoutMs, const std::function<void()>& onWait)
        : h_(Create(path)) {
        DWORD waited = WaitForSingleObject(h_.get(), 0);
        if (waited == WAIT_TIMEOUT) {
            onWait();
            waited = WaitForSingleObject(h_.get(), timeoutMs);
        }
        if (waited == WAIT_TIMEOUT) {
            throw RunError(ErrorNumber::kFileAlreadyOpen);
        }
        if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
            ThrowLastError();
        }
    }
    WritersMutex(const WritersMutex&) = delete;
    WritersMutex& operator=(const WritersMutex&) = delete;
    ~WritersMutex() { ReleaseMutex(h_.get()); }

private:
    static HANDLE Create(const std::string& path) {
        // One spelling for every way of naming the file: full, long, upper case. The hash is
        // of the UTF-8 bytes, so an ASCII path keeps the name that earlier versions gave it.
        std::wstring name = LongName(FullName(FilePath(path)));
        if (name.starts_with(L"\\\\?\\UNC\\")) {
            name = L"\\\\" + name.substr(8);
        } else if (name.starts_with(L"\\\\?\\")) {
            name = name.substr(4);
        }
        if (!name.empty()) {
            std::wstring upper(name.size(), L'\0');
            if (LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, name.c_str(),
                             static_cast<int>(name.size()), upper.data(),
                             static_cast<int>(upper.size())) == static_cast<int>(name.size())) {
                name = std::move(upper);
            }
        }
        std::uint64_t hash = 14695981039346656037ULL;  // FNV-1a
        for (const char c : Utf8(name)) {
            hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
        }
        std::array<char, 64> mutexName{};
        std::snprintf(mutexName.data(), mutexName.size(), "Local\\Huevane-writer-%08lx%08lx",
                      static_cast<unsigned long>(hash >> 32U), static_cast<unsigned long>(hash));
        HANDLE h = CreateMutexW(nullptr, FALSE, Wide(mutexName.data()).c_str());
        if (h == nullptr) {
            ThrowLastError();
        }
        return h;
    }

    static std::wstring FullName(const std::wstring& path) {
        std::wstring full = TextOfSize([&](wchar_t* buffer, std::uint32_t size) {
            return GetFullPathNameW(path.c_str(), size, buffer, nullptr);
        });
        if (full.empty()) {
            ThrowLastError();
        }
        return full;
    }

    // The long form of a path whose short (8.3) form may have been given; as it is when the
    // file does not exist yet.
    static std::wstring LongName(const std::wstring& path) {
        std::wstring longName = TextOfSize([&](wchar_t* buffer, std::uint32_t size) {
            return GetLongPathNameW(path.c_str(), buffer, size);
        });
        return longName.empty() ? path : longName;
    }

    Handle h_;
};

class WinFileLock final : public FileLock {
public:
    WinFileLock(std::unique_ptr<WritersMutex> mutex, HANDLE file) noexcept
        : mutex_(std::move(mutex)), file_(file) {}
    // Lets go of the file's own lock, keeping the mutex.
    void ReleaseFile() noexcept { CloseHandle(file_.release()); }

private:
    std::unique_ptr<WritersMutex> mutex_;
    Handle file_;  // closing it lets go of the file's lock
};

std::string NameOf(const std::string& path) {
    const std::size_t sep = path.find_last_of("\\/:");
    return sep == std::string::npos ? path : path.substr(sep + 1);
}

// Six letters and digits that differ from call to call and from process to process.
std::string UniqueLetters() {
    static std::atomic<unsigned> counter{0};
    static constexpr std::string_view kLetters =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    std::uint64_t bits = static_cast<std::uint64_t>(now.QuadPart) * 0x9E3779B97F4A7C15ULL ^
                         (std::uint64_t{GetCurrentProcessId()} << 20U) ^ (counter++ * 7919ULL);
    std::string letters;
    for (std::size_t i = 0; i < kNewFileUniqueLetters; ++i) {
        letters += kLetters[static_cast<std::size_t>(bits % kLetters.size())];
        bits /= kLetters.size();
    }
    return letters;
}

std::string DirectoryOf(const std::string& path) {
    const std::size_t sep = path.find_last_of("\\/");
    if (sep == std::string::npos) {
        return ".";
    }
    return path.substr(0, sep == 0 || path[sep - 1] == ':' ? sep + 1 : sep);
}

class WinReadableFile final : public ReadableFile {
public:
    explicit WinReadableFile(HANDLE h) noexcept : h_(h) {}

    std::uint64_t Size() override {
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(h_.get(), &size)) {
            ThrowLastError();
        }
        return static_cast<std::uint64_t>(size.QuadPart);
    }

    FileIdentity Identity() override { return IdentityOfHandle(h_.get()); }

    void Seek(std::uint64_t offset) override {
        LARGE_INTEGER distance{};
        distance.QuadPart = static_cast<LONGLONG>(offset);
        if (!SetFilePointerEx(h_.get(), distance, nullptr, FILE_BEGIN)) {
            ThrowLastError();
        }
    }

    std::size_t Read(std::span<char> buffer) override {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(buffer.size(), 1u << 30));
        DWORD got = 0;
        if (!ReadFile(h_.get(), buffer.data(), want, &got, nullptr)) {
            ThrowLastError();
        }
        return got;
    }

private:
    Handle h_;
};

class WinNewFile final : public NewFile {
public:
    WinNewFile(HANDLE h, std::string&& path) : h_(h), path_(std::move(path)) {}

    const std::string& path() const override { return path_; }

    void Write(std::string_view bytes) override {
        while (!bytes.empty()) {
            const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
            DWORD wrote = 0;
            if (!WriteFile(h_.get(), bytes.data(), want, &wrote, nullptr)) {
                ThrowLastError();
            }
            if (wrote == 0) {
                throw RunError(ErrorNumber::kDiskFull);
            }
            bytes.remove_prefix(wrote);
        }
    }

    void Flush() override {
        if (!FlushFileBuffers(h_.get())) {
            ThrowLastError();
        }
    }

private:
    Handle h_;
    std::string path_;
};

class WinFileSystem final : public FileSystem {
public:
    std::string JoinPath(const std::string& dir, const std::string& name) const override {
        if (!dir.empty() && (dir.back() == '\\' || dir.back() == '/')) {
            return dir + name;
        }
        return dir + "\\" + name;
    }

    std::vector<std::string> ListDirectory(const std::string& dir) override {
        WIN32_FIND_DATAW data{};
        const HANDLE find = FindFirstFileW(WidePath(JoinPath(dir, "*")).c_str(), &data);
        std::vector<std::string> names;
        if (find == INVALID_HANDLE_VALUE) {
            const DWORD code = GetLastError();
            if (code == ERROR_FILE_NOT_FOUND) {
                return names;  // an empty drive root has not even "." and ".."
            }
            if (code == ERROR_ACCESS_DENIED) {
                throw ErrorFromWin32(code);  // a file in it may still open by its exact name
            }
            throw RunError(ErrorNumber::kPathNotFound);
        }
        do {
            const std::string name = Utf8(data.cFileName);
            if (name != "." && name != "..") {
                names.push_back(name);
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
        return names;
    }

    std::unique_ptr<ReadableFile> OpenRead(const std::string& path) override {
        const std::wstring widePath = FilePath(path);
        const DWORD attributes = GetFileAttributesW(widePath.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            throw RunError(ErrorNumber::kPathFileAccess);
        }
        HANDLE h = INVALID_HANDLE_VALUE;
        // Write sharing lets a writer of this program, which holds the file open for writing
        // under its lock, read it; a change by anyone else shows in the file's identity.
        const bool opened = RetryWhileBusy(
            [&] {
                h = CreateFileW(widePath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
                return h != INVALID_HANDLE_VALUE;
            },
            false);
        if (!opened) {
            ThrowLastError();
        }
        auto file = std::make_unique<WinReadableFile>(h);
        if (GetFileType(h) != FILE_TYPE_DISK) {
            throw RunError(ErrorNumber::kPathFileAccess);  // a pipe, a console, a device
        }
        return file;
    }

    std::optional<FileIdentity> Identify(const std::string& path) override {
        const Handle h(CreateFileW(FilePath(path).c_str(), FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (h.get() == INVALID_HANDLE_VALUE) {
            const DWORD code = GetLastError();
            if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) {
                return std::nullopt;
            }
            throw ErrorFromWin32(code);
        }
        return IdentityOfHandle(h.get());
    }

    std::string ResolveLinks(const std::string& path) override {
        FilePath(path);  // a device such as NUL is refused before it is opened to be looked at
        return FinalPathOf(path);
    }

    std::unique_ptr<FileLock> LockForWriting(const std::string& path) override {
        const std::wstring widePath = FilePath(path);
        const DWORD attributes = GetFileAttributesW(widePath.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            const DWORD code = GetLastError();
            if (code == ERROR_FILE_NOT_FOUND) {
                return nullptr;
            }
            throw ErrorFromWin32(code);
        }
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            throw RunError(ErrorNumber::kPathFileAccess);
        }
        if (attributes & FILE_ATTRIBUTE_READONLY) {
            throw RunError(ErrorNumber::kPermissionDenied);
        }
        const DWORD startedMs = GetTickCount();
        bool noticed = false;
        const auto noticeWait = [&] {
            if (!noticed) {
                noticed = true;
                NoticeWait();
            }
        };
        auto mutex = std::make_unique<WritersMutex>(path, kLockWaitMs, noticeWait);
        for (DWORD waited = GetTickCount() - startedMs;; waited += kLockPollMs) {
            // Opening for writing asks the system whether this user may write the file. Without
            // delete sharing nobody can replace the file while it is held. A program that has
            // it open without sharing keeps it in use as long as a writer's lock would.
            const HANDLE opened = CreateFileW(widePath.c_str(), GENERIC_READ | GENERIC_WRITE,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (opened == INVALID_HANDLE_VALUE) {
                const DWORD code = GetLastError();
                if (!IsBusy(code)) {
                    throw ErrorFromWin32(code);
                }
            } else {
                Handle h(opened);
                if (GetFileType(h.get()) != FILE_TYPE_DISK) {
                    throw RunError(ErrorNumber::kPathFileAccess);
                }
                OVERLAPPED at{};
                at.OffsetHigh = kLockOffsetHigh;
                if (LockFileEx(h.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1,
                               0, &at)) {
                    return std::make_unique<WinFileLock>(std::move(mutex), h.release());
                }
                const DWORD code = GetLastError();
                if (code != ERROR_LOCK_VIOLATION && code != ERROR_IO_PENDING) {
                    throw ErrorFromWin32(code);
                }
            }
            if (waited >= kLockWaitMs) {
                throw RunError(ErrorNumber::kFileAlreadyOpen);
            }
            noticeWait();
            // Closed while waiting, so that the holder can put its new file in place.
            Sleep(kLockPollMs);
        }
    }

    std::vector<std::string> FindLeftovers(const std::string& destination) override {
        const std::string name = NameOf(destination);
        const std::string dir = DirectoryOf(destination);
        std::vector<std::string> found;
        WIN32_FIND_DATAW data{};
        const HANDLE find =
            FindFirstFileW(WidePath(JoinPath(dir, NewFileStem(name) + "*")).c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) {
            return found;
        }
        do {
            if ((data.dwFileAttributes &
                 (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0 &&
                IsNewFileName(Utf8(data.cFileName), name, true)) {
                found.push_back(JoinPath(dir, Utf8(data.cFileName)));
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
        return found;
    }

    std::unique_ptr<NewFile> CreateNewBeside(const std::string& destination) override {
        const DWORD existing = GetFileAttributesW(FilePath(destination).c_str());
        const DWORD attributes =
            existing == INVALID_FILE_ATTRIBUTES || (existing & kKeptAttributes) == 0
                ? FILE_ATTRIBUTE_NORMAL
                : existing & kKeptAttributes;
        const std::string stem =
            JoinPath(DirectoryOf(destination), NewFileStem(NameOf(destination)));
        for (int tries = 0;; ++tries) {
            const std::string path = stem + UniqueLetters();
            // Delete sharing lets the console control handler remove it while it is written.
            const HANDLE h = g_interrupt.Create(WidePath(path), [&](const std::wstring& wide) {
                return CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr,
                                   CREATE_NEW, attributes, nullptr);
            });
            if (h != INVALID_HANDLE_VALUE) {
                return std::make_unique<WinNewFile>(h, std::string(path));
            }
            const DWORD code = GetLastError();
            if ((code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) || tries == 100) {
                throw ErrorFromWin32(code);
            }
        }
    }

    void Replace(const std::string& newPath, const std::string& destination,
                 std::unique_ptr<FileLock> lock) override {
        // Windows cannot replace a file that is held open, the lock's handle included. This
        // program's other writers wait for the mutex that the lock keeps until the end; another
        // program that writes the file in this short gap is found out when the next writer comes
        // to replace it.
        if (auto* held = dynamic_cast<WinFileLock*>(lock.get())) {
            held->ReleaseFile();
        } else {
            lock.reset();
        }
        const std::wstring wideDestination = FilePath(destination);
        const DWORD attributes = GetFileAttributesW(wideDestination.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES) {
            if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
                throw RunError(ErrorNumber::kPathFileAccess);
            }
            if (attributes & FILE_ATTRIBUTE_READONLY) {
                throw RunError(ErrorNumber::kPermissionDenied);
            }
        }
        const std::wstring wideNewPath = WidePath(newPath);
        // A module that the client has loaded refuses replacement with access denied until the
        // client exits; the retries only ride out short-lived holders.
        const bool moved =
            RetryWhileBusy([&] { return g_interrupt.Replace(wideNewPath, wideDestination); }, true);
        if (!moved) {
            ThrowLastError();
        }
    }

    void Remove(const std::string& path) noexcept override { g_interrupt.Remove(WidePath(path)); }
};

}  // namespace

std::unique_ptr<FileSystem> MakeNativeFileSystem() {
    return std::make_unique<WinFileSystem>();
}

void StopOnInterrupt(std::string_view notice) {
    g_interrupt.Start(notice);
    SetConsoleCtrlHandler(EndOnConsoleEvent, TRUE);
}

}  // namespace huevane::platform
