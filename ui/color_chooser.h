#pragma once

#include <windows.h>

#include <array>

#include "ui/system_dialogs.h"

namespace huevane::ui {

// The main window's colour chooser: it opens on the colour it is handed, takes the colour the
// user confirms, and keeps the dialog's custom colours for as long as the window lives.
class ColorChooser {
public:
    // Opens the dialog with the chooser's colour selected (CC_RGBINIT is 1).
    static constexpr DWORD kOpenWithCurrentColor = CC_RGBINIT;

    void set_flags(DWORD flags) { flags_ = flags; }
    void set_color(COLORREF color) { color_ = color; }
    // Shows the modal dialog; true when the user confirmed a colour, which color() then holds.
    // A cancelled dialog leaves color() as it was.
    bool ShowColor(HWND owner, SystemDialogs& dialogs);
    COLORREF color() const { return color_; }

private:
    DWORD flags_ = 0;
    COLORREF color_ = RGB(0, 0, 0);
    std::array<COLORREF, 16> customColors_ = [] {
        std::array<COLORREF, 16> colors{};
        colors.fill(RGB(255, 255, 255));
        return colors;
    }();
};

}  // namespace huevane::ui
