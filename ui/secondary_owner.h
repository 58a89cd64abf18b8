#pragma once

#include <windows.h>

namespace huevane::ui {

// A hidden top-level window that owns the program's secondary windows: an owned window stays
// out of the task bar, and since the main window is not its owner, either can be in front.
// The window is made when it is first asked for, so that start-up does not pay for it.
class SecondaryOwner {
public:
    SecondaryOwner() = default;
    SecondaryOwner(const SecondaryOwner&) = delete;
    SecondaryOwner& operator=(const SecondaryOwner&) = delete;
    ~SecondaryOwner();

    // The window, made on the first call.
    HWND hwnd();

private:
    HWND hwnd_ = nullptr;
};

}  // namespace huevane::ui
