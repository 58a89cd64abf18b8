#pragma once

// Text between this program, which keeps it as UTF-8, and the wide-character Windows API.
#include <cstdint>
#include <string>
#include <string_view>

namespace huevane::platform {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

// The text a system function writes that, like GetFullPathNameW, takes a buffer's size in
// characters and returns the length it wrote, or the size it needs when the buffer is too
// small, or 0 on failure (then the empty text, with the error left for GetLastError).
template <typename Call>
std::wstring TextOfSize(Call call) {
    std::wstring text(260, L'\0');
    for (;;) {
        const std::uint32_t length = call(text.data(), static_cast<std::uint32_t>(text.size()));
        if (length == 0) {
            return {};
        }
        if (length < text.size()) {
            text.resize(length);
            return text;
        }
        text.resize(length);
    }
}

// path for the wide file functions: a path that is too long for them as it stands becomes its
// full path behind "\\?\" ("\\?\UNC\" for a share), which lifts the 260-character limit; any
// other path keeps its spelling.
std::wstring WidePath(const std::string& path);

// Whether path names a device such as NUL, CON, COM1 or LPT1, which Windows finds in every
// directory and with any extension ("C:\x\nul.txt").
bool NamesDevice(std::string_view path);

// The system's own description of a Windows error code, as one line (its line ends go);
// "Windows error N" when the system has none.
std::string SystemErrorText(std::uint32_t code);

}  // namespace huevane::platform
