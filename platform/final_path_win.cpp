#include "platform/final_path_win.h"

#include <windows.h>

#include <string_view>

#include "platform/lazy_proc.h"
#include "platform/win_text.h"

namespace huevane::platform {

std::string FinalPathOf(const std::string& path) {
    // Windows Vista on; Windows XP has no symbolic links to files to follow.
    using FinalPathFunction = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
    static const auto finalPath =
        LazyProc<FinalPathFunction>("kernel32.dll", "GetFinalPathNameByHandleW");
    if (finalPath == nullptr) {
        return path;
    }
    const HANDLE h = CreateFileW(WidePath(path).c_str(), FILE_READ_ATTRIBUTES,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return path;
    }
    const std::wstring wide = TextOfSize([&](wchar_t* buffer, std::uint32_t size) {
        return static_cast<std::uint32_t>(
            finalPath(h, buffer, size, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS));
    });
    CloseHandle(h);
    if (wide.empty()) {
        return path;
    }
    const std::string utf8 = Utf8(wide);
    const std::string_view resolved(utf8);
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
