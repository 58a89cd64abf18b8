#include <unistd.h>

#include <string>

#include "platform/program_dir.h"

namespace huevane::platform {

std::string ProgramDirectory() {
    // readlink does not say whether it cut the path short; grow the buffer until it did not.
    std::string path(256, '\0');
    for (;;) {
        const ssize_t written = readlink("/proc/self/exe", path.data(), path.size());
        if (written <= 0) {
            return {};
        }
        if (static_cast<std::size_t>(written) < path.size()) {
            path.resize(static_cast<std::size_t>(written));
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t lastSlash = path.rfind('/');
    return lastSlash == std::string::npos ? std::string() : path.substr(0, lastSlash);
}

}  // namespace huevane::platform
