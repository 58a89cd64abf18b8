#include "ui/message_loop.h"

#include <cstring>

#include "ui/frm_about.h"
#include "ui/frm_main.h"

namespace huevane::ui {
namespace {

bool IsProgramWindow(HWND window) {
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    return std::strcmp(className, kMainWindowClass) == 0 ||
           std::strcmp(className, kAboutWindowClass) == 0;
}

}  // namespace

bool TranslateDialogKeys(MSG& msg) {
    if (msg.hwnd == nullptr) {
        return false;
    }
    HWND top = GetAncestor(msg.hwnd, GA_ROOT);
    return top != nullptr && IsProgramWindow(top) && IsDialogMessageA(top, &msg);
}

int RunMessageLoop() {
    MSG msg{};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!TranslateDialogKeys(msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace huevane::ui
