#include "ui/wine_fonts.h"

#include <windows.h>

namespace huevane::ui {
namespace {

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

void LoadWineTahoma() {
    for (const wchar_t* dir : kWineFontDirs) {
        int loaded = 0;
        for (const wchar_t* file : kTahomaFiles) {
            wchar_t path[MAX_PATH] = {};
            lstrcpynW(path, dir, MAX_PATH);
            lstrcatW(path, file);
            loaded += AddFontResourceExW(path, FR_PRIVATE, nullptr) > 0 ? 1 : 0;
        }
        if (loaded > 0) {
            return;
        }
    }
}

}  // namespace

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
