#include "platform/win_text.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <string>

#include "core/ascii_case.h"
#include "core/utf16.h"

namespace huevane::platform {
namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16");

// The wide functions take MAX_PATH - 12 for a directory they create, MAX_PATH for a file.
constexpr std::size_t kLongestPlainPath = MAX_PATH - 12;

std::wstring FullPath(const std::wstring& path) {
    std::wstring full = TextOfSize([&](wchar_t* buffer, std::uint32_t size) {
        return GetFullPathNameW(path.c_str(), size, buffer, nullptr);
    });
    return full.empty() ? path : full;  // the open that follows says what is wrong with it
}

bool StartsWith(std::wstring_view text, std::wstring_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

std::wstring Wide(std::string_view utf8) {
    const std::u16string units = Utf8ToUtf16(utf8);
    return {units.begin(), units.end()};
}

std::string Utf8(std::wstring_view wide) {
    const std::u16string units(wide.begin(), wide.end());
    return Utf16ToUtf8(units);
}

std::wstring WidePath(const std::string& path) {
    std::wstring wide = Wide(path);
    if (StartsWith(wide, L"\\\\?\\") || StartsWith(wide, L"\\\\.\\")) {
        return wide;  // already spelled for the system
    }
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    const bool absolute =
        StartsWith(wide, L"\\\\") || (wide.size() >= 3 && wide[1] == L':' && wide[2] == L'\\');
    if (absolute && wide.size() < kLongestPlainPath) {
        return wide;
    }
    // The full path is what the system makes of a plain path (".", "..", trailing dots and
    // spaces); "\\?\" would take the path as it stands.
    const std::wstring full = FullPath(wide);
    if (full.size() < kLongestPlainPath || StartsWith(full, L"\\\\?\\") ||
        StartsWith(full, L"\\\\.\\")) {
        return wide;
    }
    if (StartsWith(full, L"\\\\")) {
        return L"\\\\?\\UNC\\" + full.substr(2);
    }
    return L"\\\\?\\" + full;
}

bool NamesDevice(std::string_view path) {
    if (path.substr(0, 4) == "\\\\.\\" || path.substr(0, 4) == "//./") {
        return true;
    }
    const std::size_t sep = path.find_last_of("\\/:");
    std::string_view name = sep == std::string_view::npos ? path : path.substr(sep + 1);
    name = name.substr(0, name.find('.'));
    while (!name.empty() && (name.back() == ' ')) {
        name.remove_suffix(1);
    }
    static constexpr std::array<std::string_view, 6> kPlain = {"CON", "PRN",    "AUX",
                                                               "NUL", "CONIN$", "CONOUT$"};
    for (const std::string_view device : kPlain) {
        if (EqualsIgnoringCase(name, device)) {
            return true;
        }
    }
    // COM1 to COM9 and LPT1 to LPT9, also with the superscript digits ¹ ² ³.
    if (name.size() < 4 || !(EqualsIgnoringCase(name.substr(0, 3), "COM") ||
                             EqualsIgnoringCase(name.substr(0, 3), "LPT"))) {
        return false;
    }
    const std::string_view digit = name.substr(3);
    return (digit.size() == 1 && digit[0] >= '1' && digit[0] <= '9') || digit == "\xC2\xB9" ||
           digit == "\xC2\xB2" || digit == "\xC2\xB3";
}

std::string SystemErrorText(std::uint32_t code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text;
    if (length > 0 && buffer != nullptr) {
        text = Utf8(std::wstring_view(buffer, length));
    }
    LocalFree(buffer);
    // Some texts run over several lines; a message of this program is one.
    std::string line;
    for (const char c : text) {
        if (c != '\r' && c != '\n') {
            line += c;
        } else if (!line.empty() && line.back() != ' ') {
            line += ' ';
        }
    }
    while (!line.empty() && line.back() == ' ') {
        line.pop_back();
    }
    return line.empty() ? "Windows error " + std::to_string(code) : line;
}

}  // namespace huevane::platform
