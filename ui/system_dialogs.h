#pragma once

#include <windows.h>
#include <commdlg.h>

#include "platform/lazy_proc.h"

namespace huevane::ui {

// The system's modal dialogs, behind a seam so tests can answer them without a person.
class SystemDialogs {
public:
    virtual ~SystemDialogs() = default;
    // ChooseColor: true when the user confirmed; request.rgbResult then holds the colour.
    virtual bool ChooseColorDialog(CHOOSECOLORA& request) = 0;
    virtual int MessageBoxDialog(HWND owner, const char* text, const char* caption, UINT style) = 0;
};

// The real dialogs of comdlg32 and user32.
class Win32Dialogs final : public SystemDialogs {
public:
    bool ChooseColorDialog(CHOOSECOLORA& request) override {
        static const auto chooseColor =
            platform::LazyProc<decltype(&ChooseColorA)>("comdlg32.dll", "ChooseColorA");
        return chooseColor != nullptr && chooseColor(&request) != FALSE;
    }
    int MessageBoxDialog(HWND owner, const char* text, const char* caption, UINT style) override {
        return MessageBoxA(owner, text, caption, style);
    }
};

}  // namespace huevane::ui
