#include <windows.h>

#include <string>

#include "platform/program_dir.h"
#include "platform/win_text.h"

namespace huevane::platform {

std::string ProgramDirectory() {
    // Paths may exceed MAX_PATH; grow the buffer until the whole path fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const auto capacity = static_cast<DWORD>(path.size());
        const DWORD written = GetModuleFileNameW(nullptr, path.data(), capacity);
        if (written == 0) {
            return {};
        }
        if (written < capacity) {
            path.resize(written);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t lastBackslash = path.rfind(L'\\');
    return lastBackslash == std::wstring::npos
               ? std::string()
               : Utf8(std::wstring_view(path).substr(0, lastBackslash));
}

}  // namespace huevane::platform
