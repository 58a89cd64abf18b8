#include "ui/keyboard_swatch.h"

namespace huevane::ui {
namespace {

// The label's own window procedure, kept in the property list of each swatch.
constexpr char kLabelProcProperty[] = "HuevaneLabelProc";

bool IsActivationKey(WPARAM key) {
    return key == VK_RETURN || key == VK_SPACE;
}

void DrawFocus(HWND swatch) {
    RECT r{};
    GetClientRect(swatch, &r);
    InflateRect(&r, -2, -2);
    HDC dc = GetDC(swatch);
    DrawFocusRect(dc, &r);
    ReleaseDC(swatch, dc);
}

LRESULT CALLBACK SwatchProc(HWND swatch, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto labelProc = reinterpret_cast<WNDPROC>(GetPropA(swatch, kLabelProcProperty));
    switch (message) {
        case WM_GETDLGCODE: {
            // The dialog keys would take Enter for a default button that this window lacks.
            const auto* msg = reinterpret_cast<const MSG*>(lParam);
            if (msg != nullptr && (msg->message == WM_KEYDOWN || msg->message == WM_CHAR) &&
                (IsActivationKey(msg->wParam) || msg->wParam == '\r' || msg->wParam == ' ')) {
                return DLGC_WANTMESSAGE;
            }
            break;
        }
        case WM_KEYDOWN:
            if (IsActivationKey(wParam) && (lParam & (1L << 30)) == 0) {  // not a repeat
                SendMessageA(GetParent(swatch), WM_COMMAND,
                             MAKEWPARAM(GetDlgCtrlID(swatch), STN_DBLCLK),
                             reinterpret_cast<LPARAM>(swatch));
                return 0;
            }
            break;
        case WM_CHAR:
            if (wParam == '\r' || wParam == ' ') {
                return 0;
            }
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateRect(swatch, nullptr, TRUE);
            break;
        case WM_PAINT: {
            const LRESULT result = CallWindowProcA(labelProc, swatch, message, wParam, lParam);
            if (GetFocus() == swatch) {
                DrawFocus(swatch);
            }
            return result;
        }
        case WM_NCDESTROY:
            RemovePropA(swatch, kLabelProcProperty);
            break;
        default:
            break;
    }
    return CallWindowProcA(labelProc, swatch, message, wParam, lParam);
}

}  // namespace

void MakeSwatchKeyboardReachable(HWND swatch) {
    const LONG_PTR labelProc =
        SetWindowLongPtrA(swatch, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SwatchProc));
    SetPropA(swatch, kLabelProcProperty, reinterpret_cast<HANDLE>(labelProc));
}

}  // namespace huevane::ui
