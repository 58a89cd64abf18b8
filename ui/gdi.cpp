#include "ui/gdi.h"

namespace huevane::ui {
namespace {

constexpr int kTahomaCentipoints = 825;

BOOL CALLBACK SetFontProc(HWND child, LPARAM font) {
    SendMessageA(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
    return TRUE;
}

}  // namespace

HFONT CreateTahoma(FontStyle style, Dpi dpi) {
    return CreateTahomaOfHeight(style, FontHeightFromCentipoints(kTahomaCentipoints, dpi));
}

HFONT CreateTahomaOfHeight(FontStyle style, int height) {
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfWeight = style == FontStyle::kRegular ? FW_NORMAL : FW_BOLD;
    lf.lfUnderline = style == FontStyle::kBoldUnderlined ? TRUE : FALSE;
    lf.lfCharSet = ANSI_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynA(lf.lfFaceName, "Tahoma", LF_FACESIZE);
    return CreateFontIndirectA(&lf);
}

void SetFontOfChildren(HWND parent, HFONT font) {
    EnumChildWindows(parent, SetFontProc, reinterpret_cast<LPARAM>(font));
}

}  // namespace huevane::ui
