// Win32 file operations: new files are flushed with FlushFileBuffers and swapped in with
// MoveFileEx(MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH).
#include <windows.h>

#include <algorithm>
#include <array>
#include <string>

#include "core/run_error.h"
#include "platform/native_file_system.h"

namespace huevane::platform {
namespace {

// Virus scanners and indexers hold files open briefly; a file still busy after this is in use.
constexpr int kBusyRetries = 5;
constexpr DWORD kBusyRetryDelayMs = 50;

RunError ErrorFromCode(DWORD code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
            return RunError(ErrorNumber::kFileNotFound);
        case ERROR_PATH_NOT_FOUND:
        case ERROR_BAD_NETPATH:
            return RunError(ErrorNumber::kPathNotFound);
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_WRITE_PROTECT:
            return RunError(ErrorNumber::kPermissionDenied);
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return RunError(ErrorNumber::kDiskFull);
        case ERROR_INVALID_NAME:
        case ERROR_FILENAME_EXCED_RANGE:
            return RunError(ErrorNumber::kBadFileName);
        default:
            return RunError(ErrorNumber::kDeviceIo);
    }
}

[[noreturn]] void ThrowLastError() {
    throw ErrorFromCode(GetLastError());
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

private:
    HANDLE h_;
};

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
        WIN32_FIND_DATAA data{};
        const HANDLE find = FindFirstFileA(JoinPath(dir, "*").c_str(), &data);
        std::vector<std::string> names;
        if (find == INVALID_HANDLE_VALUE) {
            if (GetLastError() == ERROR_FILE_NOT_FOUND) {
                return names;  // an empty drive root has not even "." and ".."
            }
            throw RunError(ErrorNumber::kPathNotFound);
        }
        do {
            const std::string name = data.cFileName;
            if (name != "." && name != "..") {
                names.push_back(name);
            }
        } while (FindNextFileA(find, &data));
        FindClose(find);
        return names;
    }

    std::unique_ptr<ReadableFile> OpenRead(const std::string& path) override {
        HANDLE h = INVALID_HANDLE_VALUE;
        const bool opened = RetryWhileBusy(
            [&] {
                h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
                return h != INVALID_HANDLE_VALUE;
            },
            false);
        if (!opened) {
            ThrowLastError();
        }
        return std::make_unique<WinReadableFile>(h);
    }

    std::unique_ptr<NewFile> CreateNewBeside(const std::string& destination) override {
        std::array<char, MAX_PATH> buffer{};
        if (GetTempFileNameA(DirectoryOf(destination).c_str(), "hue", 0, buffer.data()) == 0) {
            ThrowLastError();
        }
        const char* path = buffer.data();
        const HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            const DWORD code = GetLastError();
            DeleteFileA(path);
            throw ErrorFromCode(code);
        }
        return std::make_unique<WinNewFile>(h, std::string(path));
    }

    void Replace(const std::string& newPath, const std::string& destination) override {
        const DWORD attributes = GetFileAttributesA(destination.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES) {
            if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
                throw RunError(ErrorNumber::kPathFileAccess);
            }
            if (attributes & FILE_ATTRIBUTE_READONLY) {
                throw RunError(ErrorNumber::kPermissionDenied);
            }
        }
        // A module that the client has loaded refuses replacement with access denied until the
        // client exits; the retries only ride out short-lived holders.
        const bool moved = RetryWhileBusy(
            [&] {
                return MoveFileExA(newPath.c_str(), destination.c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
            },
            true);
        if (!moved) {
            ThrowLastError();
        }
    }

    void Remove(const std::string& path) noexcept override { DeleteFileA(path.c_str()); }
};

}  // namespace

std::unique_ptr<FileSystem> MakeNativeFileSystem() {
    return std::make_unique<WinFileSystem>();
}

}  // namespace huevane::platform
