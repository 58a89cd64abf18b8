#include <windows.h>

#include <string>

#include "platform/program_dir.h"

namespace huevane::platform {

std::string ProgramDirectory() {
    // Paths may exceed MAX_PATH; grow the buffer until the whole path fits.
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const auto capacity = static_cast<DWORD>(path.size());
        const DWORD written = GetModuleFileNameA(nullptr, path.data(), capacity);
        if (written == 0) {
            return {};
        }
        if (written < capacity) {
            path.resize(written);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t lastBackslash = path.rfind('\\');
    return lastBackslash == std::string::npos ? std::string() : path.substr(0, lastBackslash);
}

}  // namespace huevane::platform
