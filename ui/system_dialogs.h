#pragma once

#include <windows.h>
#include <commdlg.h>

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
        return ChooseColorA(&request) != FALSE;
    }
    int MessageBoxDialog(HWND owner, const char* text, const char* caption, UINT style) override {
        return MessageBoxA(owner, text, caption, style);
    }
};

}  // namespace huevane::ui
