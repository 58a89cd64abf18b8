#pragma once

#include <windows.h>

#include "ui/twips.h"

namespace huevane::ui {

// The window procedure of a window class whose windows are objects of type Window: the object
// pointer arrives with WM_NCCREATE, and every message goes to Window::HandleMessage.
template <typename Window>
LRESULT CALLBACK WindowProcFor(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        auto* window = static_cast<Window*>(create->lpCreateParams);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
        window->Attach(hwnd);
    }
    auto* window = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (window == nullptr) {
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    const LRESULT result = window->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        window->Attach(nullptr);
    }
    return result;
}

// Registers a window class with the button-face background and the application icon, once.
bool RegisterWindowClass(const char* className, WNDPROC windowProc);

// The window rectangle, centred on the screen, that gives a client area of the given twips.
RECT CenteredWindowRect(int clientWidthTwips, int clientHeightTwips, DWORD style, DWORD exStyle,
                        Dpi dpi);

// One child control, placed in twips relative to the parent's client area.
struct ControlSpec {
    int id;
    const char* className;
    const char* text;
    DWORD style;
    TwipRect place;
    DWORD exStyle = 0;
};

HWND CreateControl(HWND parent, const ControlSpec& control, Dpi dpi);

// Enter arrives as IDOK; when a push button of window has the focus, press that button, as in a
// dialog. Buttons are never the default, so Enter elsewhere does nothing.
void PressFocusedButton(HWND window);

// Keeps the keyboard focus of a top-level window across deactivation, as dialogs do.
class FocusKeeper {
public:
    // Call on WM_ACTIVATE; firstControl gets the focus when none was saved.
    void OnActivate(HWND window, WPARAM state, HWND firstControl);

private:
    HWND saved_ = nullptr;
};

}  // namespace huevane::ui
