#include "platform/final_path_win.h"

#include <windows.h>

#include <array>
#include <string_view>

#include "platform/lazy_proc.h"

namespace huevane::platform {

std::string FinalPathOf(const std::string& path) {
    // Windows Vista on; Windows XP has no symbolic links to files to follow.
    using FinalPathFunction = DWORD(WINAPI*)(HANDLE, LPSTR, DWORD, DWORD);
    static const auto finalPath =
        LazyProc<FinalPathFunction>("kernel32.dll", "GetFinalPathNameByHandleA");
    if (finalPath == nullptr) {
        return path;
    }
    const HANDLE h = CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return path;
    }
    std::array<char, MAX_PATH * 4> buffer{};
    const DWORD length = finalPath(h, buffer.data(), static_cast<DWORD>(buffer.size()),
                                   FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    CloseHandle(h);
    if (length == 0 || length >= buffer.size()) {
        return path;
    }
    const std::string_view resolved(buffer.data(), length);
    constexpr std::string_view kUnc = "\\\\?\\UNC\\";
    constexpr std::string_view kLocal = "\\\\?\\";
    if (resolved.substr(0, kUnc.size()) == kUnc) {
        return "\\\\" + std::string(resolved.substr(kUnc.size()));
    }
    if (resolved.substr(0, kLocal.size()) == kLocal) {
        return std::string(resolved.substr(kLocal.size()));
    }
    return std::string(resolved);
}

}  // namespace huevane::platform
