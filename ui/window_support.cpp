#include "ui/window_support.h"

#include "res/resource.h"

namespace huevane::ui {

bool RegisterWindowClass(const char* className, WNDPROC windowProc) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(instance, className, &existing)) {
        return true;
    }
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_HUEVANE));
    wc.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_HUEVANE), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = className;
    return RegisterClassExA(&wc) != 0;
}

RECT CenteredWindowRect(int clientWidthTwips, int clientHeightTwips, DWORD style, DWORD exStyle,
                        Dpi dpi) {
    RECT frame{0, 0, TwipsToPixels(clientWidthTwips, dpi.x),
               TwipsToPixels(clientHeightTwips, dpi.y)};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    return RECT{left, top, left + width, top + height};
}

HWND CreateControl(HWND parent, const ControlSpec& control, Dpi dpi) {
    const RECT r = ToPixels(control.place, dpi);
    // Controls overlap in places; each one paints only where no control above it lies.
    return CreateWindowExA(control.exStyle, control.className, control.text,
                           WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | control.style, r.left, r.top,
                           r.right - r.left, r.bottom - r.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
                           GetModuleHandleA(nullptr), nullptr);
}

void PressFocusedButton(HWND window) {
    HWND focus = GetFocus();
    if (focus == nullptr || !IsChild(window, focus)) {
        return;
    }
    const UINT code = static_cast<UINT>(SendMessageA(focus, WM_GETDLGCODE, 0, 0));
    if (code & (DLGC_UNDEFPUSHBUTTON | DLGC_DEFPUSHBUTTON)) {
        SendMessageA(focus, BM_CLICK, 0, 0);
    }
}

void FocusKeeper::OnActivate(HWND window, WPARAM state, HWND firstControl) {
    if (LOWORD(state) == WA_INACTIVE) {
        HWND focus = GetFocus();
        saved_ = (focus != nullptr && IsChild(window, focus)) ? focus : nullptr;
        return;
    }
    if (HIWORD(state) != 0) {
        return;  // activated while minimised
    }
    SetFocus(saved_ != nullptr && IsWindow(saved_) ? saved_ : firstControl);
}

}  // namespace huevane::ui
