#include "ui/wine_fonts.h"

#include <windows.h>

#include <optional>
#include <string>
#include <utility>

namespace huevane::ui {
namespace {

// Far more than any font file of Wine's.
constexpr LONGLONG kMaxFontFileBytes = LONGLONG{16} << 20;

// Where Linux distributions put the TrueType fonts that come with Wine, as Wine's Z: drive
// sees them: Debian's fonts-wine first.
constexpr const wchar_t* kWineFontDirs[] = {
    L"Z:\\usr\\share\\wine\\fonts\\",
    L"Z:\\usr\\share\\fonts\\wine-tahoma-fonts\\",
    L"Z:\\usr\\share\\fonts\\truetype\\wine\\",
};
constexpr const wchar_t* kTahomaFiles[] = {L"tahoma.ttf", L"tahomabd.ttf"};

bool RunsUnderWine() {
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

int CALLBACK NoteFamily(const LOGFONTW* /*font*/, const TEXTMETRICW* /*metrics*/, DWORD /*type*/,
                        LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool TahomaInstalled() {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(wanted.lfFaceName, L"Tahoma", LF_FACESIZE);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &wanted, NoteFamily, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

// Loads the font file at path for this process alone. From memory: AddFontResourceEx under
// Wine opens the path itself, and would wait for good for a writer to a FIFO there.
bool LoadPrivateFont(const std::wstring& path) {
    const std::optional<std::string> bytes = ReadFontFile(path);
    DWORD fonts = 0;
    return bytes &&
           AddFontMemResourceEx(const_cast<char*>(bytes->data()), static_cast<DWORD>(bytes->size()),
                                nullptr, &fonts) != nullptr;
}

void LoadWineTahoma() {
    for (const wchar_t* dir : kWineFontDirs) {
        int loaded = 0;
        for (const wchar_t* file : kTahomaFiles) {
            loaded += LoadPrivateFont(std::wstring(dir) + file) ? 1 : 0;
        }
        if (loaded > 0) {
            return;
        }
    }
}

}  // namespace

std::optional<std::string> ReadFontFile(const std::wstring& path) {
    // Wine gives a FIFO or a device no attributes, so that they are not even opened here.
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) {
        return std::nullopt;
    }
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    std::optional<std::string> bytes;
    LARGE_INTEGER size{};
    if (GetFileType(file) == FILE_TYPE_DISK && GetFileSizeEx(file, &size) &&
        size.QuadPart <= kMaxFontFileBytes) {
        std::string read(static_cast<std::size_t>(size.QuadPart), '\0');
        DWORD got = 0;
        if (ReadFile(file, read.data(), static_cast<DWORD>(read.size()), &got, nullptr) &&
            got == read.size()) {
            bytes = std::move(read);
        }
    }
    CloseHandle(file);
    return bytes;
}

void EnsureTahoma() {
    static bool checked = false;  // only the window thread calls this
    if (checked) {
        return;
    }
    checked = true;
    if (RunsUnderWine() && !TahomaInstalled()) {
        LoadWineTahoma();
    }
}

}  // namespace huevane::ui
