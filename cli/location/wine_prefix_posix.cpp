#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/ascii_case.h"
#include "core/run_error.h"
#include "cli/formats/clipped_text.h"
#include "cli/location/windows_path.h"
#include "cli/location/wine_prefix.h"

namespace huevane::cli {
namespace {

namespace fs = std::filesystem;

// The entry of dir spelled name in any letter case: the exact spelling first.
std::string FindEntry(const fs::path& dir, std::string_view name) {
    std::error_code ec;
    if (fs::exists(dir / fs::path(name), ec)) {
        return std::string(name);
    }
    std::string found;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        if (EqualsIgnoringCase(entry, name) && (found.empty() || entry < found)) {
            found = entry;
        }
    }
    return found;
}

}  // namespace

std::string DefaultWinePrefix() {
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix != nullptr && *prefix != '\0') {
        if (*prefix != '/') {
            throw RunError::Described("WINEPREFIX must be an absolute path, not " +
                                      Clipped(prefix));
        }
        return prefix;
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0') {
        throw RunError::Described("neither WINEPREFIX nor HOME is set");
    }
    return std::string(home) + "/.wine";
}

std::string MapWindowsPath(const std::string& prefix, std::string_view registeredPath) {
    const std::string normalized = NormalizeWindowsPath(registeredPath);
    const std::string_view windowsPath = normalized;
    const std::string shown = Clipped(registeredPath);
    if (windowsPath.size() < 2 || windowsPath[1] != ':' ||
        !std::isalpha(static_cast<unsigned char>(windowsPath[0]))) {
        throw RunError::Described("not a path on a drive: " + shown);
    }
    const std::string drive = std::string(1, AsciiLower(windowsPath[0])) + ":";
    fs::path host = fs::path(prefix) / "dosdevices" / drive;
    std::error_code ec;
    if (!fs::is_directory(host, ec)) {
        throw RunError::Described("drive " + drive + " is not mapped in " + Clipped(prefix) +
                                  "/dosdevices");
    }
    std::string_view rest = windowsPath.substr(2);
    while (!rest.empty()) {
        const std::size_t start = rest.find_first_not_of("\\/");
        if (start == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(start);
        const std::size_t end = rest.find_first_of("\\/");
        const std::string_view component = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end);
        const std::string entry = FindEntry(host, component);
        if (entry.empty()) {
            throw RunError::Described("no such path: " + shown + " (nothing named '" +
                                      Clipped(component) + "' in " + Clipped(host.string()) + ")");
        }
        host /= entry;
    }
    return host.string();
}

}  // namespace huevane::cli
