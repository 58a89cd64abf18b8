#include "ui/secondary_owner.h"

namespace huevane::ui {
namespace {

constexpr char kOwnerClass[] = "HuevaneOwner";

}  // namespace

HWND SecondaryOwner::hwnd() {
    if (hwnd_ != nullptr) {
        return hwnd_;
    }
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (!GetClassInfoExA(instance, kOwnerClass, &existing)) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = instance;
        wc.lpszClassName = kOwnerClass;
        RegisterClassExA(&wc);
    }
    hwnd_ = CreateWindowExA(0, kOwnerClass, "Huevane", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                            instance, nullptr);
    return hwnd_;
}

SecondaryOwner::~SecondaryOwner() {
    if (hwnd_ != nullptr) {
        DestroyWindow(hwnd_);
    }
}

}  // namespace huevane::ui
