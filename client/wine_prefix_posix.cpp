#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "client/client_location.h"
#include "client/file_name_case.h"
#include "client/windows_path.h"
#include "client/wine_prefix.h"
#include "core/ascii_case.h"
#include "core/clipped_text.h"
#include "core/entry_choice.h"
#include "core/run_error.h"
#include "core/utf8_text.h"

namespace huevane::client {
namespace {

namespace fs = std::filesystem;

// A name as Wine compares it: its characters in Wine's upper case, each byte that is no UTF-8
// (in a name on the disk) as U+FFFD. Not ASCII folding: Wine folds é and É, Ж and ж too.
std::u32string WineFoldedName(std::string_view name) {
    std::u32string folded;
    for (std::size_t pos = 0; pos < name.size();) {
        const Utf8Char c = NextUtf8Char(name, pos);
        folded += c.valid ? WineUpperCase(c.code) : char32_t{0xFFFD};
        pos += c.length;
    }
    return folded;
}

// The entry of dir that Wine opens for name: the exact spelling first, which opens even in a
// folder that cannot be listed, else one that differs in letter case by Wine's rule (the first
// in byte order, where Wine takes the first the directory lists). nullopt for none.
std::optional<std::string> FindEntryAsWineDoes(const fs::path& dir, std::string_view name) {
    std::error_code ec;
    if (fs::exists(dir / fs::path(name), ec)) {
        return std::string(name);
    }
    std::vector<std::string> entries;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        entries.push_back(it->path().filename().string());
    }
    const std::u32string wanted = WineFoldedName(name);
    return ChooseEntry(entries, name, [&wanted](std::string_view entry) {
        return WineFoldedName(entry) == wanted;
    });
}

// A component as Win32 hands it to the file system: one trailing dot goes, and from the last
// component of a path opened as itself all trailing dots and spaces ("aim.exe. " is aim.exe).
std::string_view TrimmedAsWin32Does(std::string_view component, bool openedItself) {
    if (!openedItself) {
        return component.ends_with('.') ? component.substr(0, component.size() - 1) : component;
    }
    const std::size_t end = component.find_last_not_of(". ");
    return component.substr(0, end == std::string_view::npos ? 0 : end + 1);
}

// Whether Wine refuses a component as a file name: "." and ".." that trimming left (of "..."),
// control characters, and the characters Windows forbids in names.
bool IsRefusedName(std::string_view name) {
    constexpr std::string_view kForbidden = "*?<>|\"";
    return name == "." || name == ".." || std::any_of(name.begin(), name.end(), [&](char c) {
               return static_cast<unsigned char>(c) < 0x20 ||
                      kForbidden.find(c) != std::string_view::npos;
           });
}

}  // namespace

std::string DefaultWinePrefix() {
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix != nullptr && *prefix != '\0') {
        if (*prefix != '/') {
            throw ClientNotFound(ClientNotFound::Why::kRelativeWinePrefix, prefix);
        }
        return prefix;
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0') {
        throw ClientNotFound(ClientNotFound::Why::kNoDefaultPrefix, "");
    }
    return std::string(home) + "/.wine";
}

std::string MapWindowsPath(const std::string& prefix, std::string_view registeredPath,
                           OpenedAs openedAs) {
    const std::string shown = Clipped(registeredPath);
    // Wine names its files in UTF-8, and no UTF-8 holds a surrogate without its partner.
    if (!IsValidUtf8(registeredPath)) {
        throw RunError::Described("no file under Wine can have the path " + shown +
                                  " (it holds a lone surrogate)");
    }
    const std::string normalized = NormalizeWindowsPath(registeredPath);
    const std::string_view windowsPath = normalized;
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
    // NormalizeWindowsPath leaves "C:\" or "C:\a\b": no empty components.
    std::string_view rest = windowsPath.substr(std::min<std::size_t>(3, windowsPath.size()));
    while (!rest.empty()) {
        const std::size_t end = rest.find('\\');
        const bool last = end == std::string_view::npos;
        const std::string_view component =
            TrimmedAsWin32Does(rest.substr(0, end), last && openedAs == OpenedAs::kItself);
        rest.remove_prefix(last ? rest.size() : end + 1);
        if (IsRefusedName(component)) {
            throw RunError::Described("no file under Wine can have the path " + shown + " ('" +
                                      Clipped(component) + "' is no valid name)");
        }
        if (component.empty()) {
            continue;  // a last component of dots and spaces: the folder before it
        }
        const std::optional<std::string> entry = FindEntryAsWineDoes(host, component);
        if (!entry) {
            throw RunError::Described("no such path: " + shown + " (nothing named '" +
                                      Clipped(component) + "' in " + Clipped(host.string()) + ")");
        }
        host /= *entry;
    }
    return host.string();
}

}  // namespace huevane::client
